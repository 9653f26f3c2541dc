#pragma once
// The checks of a first plug-in: why a mouse does not show up, or that it is
// usable. One list of checks, each ok or a problem with its fix, for
// `korvex48ctl doctor` and for the editor's no-device look, which names the
// first problem. Every check reads only: nothing is sent to the mouse but the
// device-information probe and the reads of its configuration.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "core/app/app_core.h"
#include "core/app/connection.h"
#include "core/device/transport.h"

namespace korvex48 {

// What only the system can tell the checks (the backends answer it).
class MachineFacts {
 public:
  virtual ~MachineFacts() = default;
  // The folders searched for the udev rule, in the order searched.
  virtual std::vector<std::string> UdevRuleFolders() const = 0;
  // The rule files in those folders that name the mouse with these
  // identifiers (any rule that gives it to the user); empty when none does.
  virtual std::vector<std::string> InstalledUdevRules(std::uint16_t vendor_id,
                                                      std::uint16_t product_id) const = 0;
};

enum class CheckState {
  kOk,
  kProblem,
  kNotChecked,  // an earlier problem leaves nothing to check
};

struct MouseCheck {
  std::string name;  // "hidraw nodes", "access", ... (stable: scripts read it)
  CheckState state = CheckState::kNotChecked;
  std::string summary;  // one line: what was found
  std::string fix;      // kProblem: what the user does about it
  // More lines where one is not enough (each node and why it was passed
  // over).
  std::vector<std::string> details;
};

struct MouseChecks {
  std::vector<MouseCheck> checks;
  // No problem, and every check ran.
  bool Usable() const;
  // The first problem; nullptr when there is none.
  const MouseCheck* FirstProblem() const;
};

// "ok", "problem", "not checked".
const char* CheckStateName(CheckState state);

// The checks that need no report: the HID nodes found and which of them is
// the mouse's configuration interface (by the identifiers in `ids`), whether
// this user may open it, and whether the udev rule is installed. Each node
// is opened and closed again at once (nothing is sent to it).
MouseChecks CheckMouseAccess(HidBackend& backend, const std::array<DeviceIdEntry, 2>& ids,
                             const MachineFacts& facts);

// Every check: those of CheckMouseAccess, then the mouse opened (and claimed)
// through `transport` and identified through `connection`, which reads an
// accepted mouse whole: who holds it, the device information, the customer
// identifier, both sections' checksums, the macro storage, and `version`
// (the program's name and version). The mouse stays open afterwards.
MouseChecks RunMouseDoctor(AppCore& core, Connection& connection, Transport& transport,
                           const MachineFacts& facts, const std::string& version);

}  // namespace korvex48
