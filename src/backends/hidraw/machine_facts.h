#pragma once
// What the checks of a first plug-in (mouse_doctor.h) need from a Linux
// machine: where udev rules live and whether one of them gives the mouse to
// the user.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/app/mouse_doctor.h"

namespace korvex48 {

class LinuxMachineFacts final : public MachineFacts {
 public:
  // /etc/udev/rules.d, /run/udev/rules.d, /usr/lib/udev/rules.d,
  // /lib/udev/rules.d and the install prefix's lib/udev/rules.d.
  LinuxMachineFacts();
  explicit LinuxMachineFacts(std::vector<std::string> folders) : folders_(std::move(folders)) {}

  std::vector<std::string> UdevRuleFolders() const override { return folders_; }
  // Files named *.rules with a rule line (not a comment) that matches
  // ATTRS{idVendor} and ATTRS{idProduct} (or ATTR) to these identifiers, in
  // lower or upper case hex. A file reached through two folders (/lib and
  // /usr/lib on a merged system) is named once.
  std::vector<std::string> InstalledUdevRules(std::uint16_t vendor_id,
                                              std::uint16_t product_id) const override;

 private:
  std::vector<std::string> folders_;
};

// Whether one line of a rules file names these identifiers (see above).
bool UdevRuleLineNames(std::string_view line, std::uint16_t vendor_id, std::uint16_t product_id);

}  // namespace korvex48
