#include "core/app/mouse_doctor.h"

#include <algorithm>
#include <cstdio>

namespace korvex48 {
namespace {

std::string Hex4(std::uint16_t v) {
  char buf[8];
  std::snprintf(buf, sizeof buf, "%04x", v);
  return buf;
}

std::string Hex2(std::uint8_t v) {
  char buf[8];
  std::snprintf(buf, sizeof buf, "0x%02X", v);
  return buf;
}

std::string Ids(std::uint16_t vendor_id, std::uint16_t product_id) {
  return Hex4(vendor_id) + ":" + Hex4(product_id);
}

std::string Joined(const std::vector<std::string>& parts, const char* separator = ", ") {
  std::string text;
  for (const std::string& part : parts) text += (text.empty() ? "" : separator) + part;
  return text;
}

MouseCheck Check(std::string name, CheckState state, std::string summary, std::string fix = {}) {
  MouseCheck check;
  check.name = std::move(name);
  check.state = state;
  check.summary = std::move(summary);
  if (state == CheckState::kProblem) check.fix = std::move(fix);
  return check;
}

// The identifiers a node must have to be the mouse: the table's entries.
struct MouseIds {
  std::vector<std::pair<std::uint16_t, std::uint16_t>> entries;
  bool Match(std::uint16_t vendor_id, std::uint16_t product_id) const {
    return std::find(entries.begin(), entries.end(), std::make_pair(vendor_id, product_id)) !=
           entries.end();
  }
  std::pair<std::uint16_t, std::uint16_t> First() const {
    return entries.empty() ? std::make_pair(std::uint16_t{0}, std::uint16_t{0}) : entries[0];
  }
};

MouseIds IdsOf(const std::array<DeviceIdEntry, 2>& table) {
  MouseIds ids;
  for (const DeviceIdEntry& e : table)
    if (e.vendor_id != 0 && e.product_id != 0)
      ids.entries.emplace_back(static_cast<std::uint16_t>(e.vendor_id),
                               static_cast<std::uint16_t>(e.product_id));
  return ids;
}

// A node that may be the mouse but could not be opened.
struct BlockedNode {
  std::string path;
  HidError error;
};

const char* kPlugInFix =
    "plug the mouse in; when it is plugged in, try another USB port (the kernel log, "
    "'journalctl -k', shows whether it arrived)";

std::string UdevInstallFix(std::uint16_t vendor_id, std::uint16_t product_id) {
  return "install the rule: korvex48ctl udev-rules | sudo tee /etc/udev/rules.d/70-korvex48.rules "
         "(it holds " +
         UdevRuleText(vendor_id, product_id) +
         "), then run 'sudo udevadm control --reload-rules && sudo udevadm trigger' and plug the "
         "mouse in again";
}

std::string LayoutText(StorageLayout layout) {
  switch (layout) {
    case StorageLayout::kPacked:
      return "packed area";
    case StorageLayout::kSlot:
      return "names table and 32 pages";
    case StorageLayout::kNone:
      break;
  }
  return "no macro storage";
}

}  // namespace

bool MouseChecks::Usable() const {
  return !checks.empty() && std::all_of(checks.begin(), checks.end(), [](const MouseCheck& c) {
    return c.state == CheckState::kOk;
  });
}

const MouseCheck* MouseChecks::FirstProblem() const {
  for (const MouseCheck& c : checks)
    if (c.state == CheckState::kProblem) return &c;
  return nullptr;
}

const char* CheckStateName(CheckState state) {
  switch (state) {
    case CheckState::kOk:
      return "ok";
    case CheckState::kProblem:
      return "problem";
    case CheckState::kNotChecked:
      break;
  }
  return "not checked";
}

MouseChecks CheckMouseAccess(HidBackend& backend, const std::array<DeviceIdEntry, 2>& table,
                             const MachineFacts& facts) {
  const MouseIds ids = IdsOf(table);
  const auto [vendor_id, product_id] = ids.First();
  const std::string mouse = "the Korvex48 mouse " + Ids(vendor_id, product_id);

  MouseCheck nodes = Check("hidraw nodes", CheckState::kOk, {});
  std::vector<std::string> config;
  std::vector<BlockedNode> blocked;
  const std::vector<std::string> paths = backend.ListInterfaces();
  for (const std::string& path : paths) {
    HidError error = HidError::kNone;
    const DeviceHandle handle = backend.Open(path, &error);
    if (handle == kInvalidHandle) {
      const auto peeked = backend.PeekIdentifiers(path);
      std::string line = path + ": cannot be opened (" + std::string(HidErrorText(error)) + ")";
      if (peeked && !ids.Match(peeked->first, peeked->second)) {
        line += "; passed over: " + Ids(peeked->first, peeked->second) + " is another device";
      } else {
        line += peeked ? "; it is the mouse (" + Ids(peeked->first, peeked->second) + ")"
                       : "; its identifiers cannot be told without opening it: it may be the mouse";
        blocked.push_back({path, error});
      }
      nodes.details.push_back(std::move(line));
      continue;
    }
    HidInterfaceInfo info;
    const bool known = backend.QueryInfo(handle, &info);
    backend.Close(handle);
    if (!known) {
      nodes.details.push_back(path + ": passed over: its identifiers cannot be read");
      continue;
    }
    const std::string who = Ids(info.vendor_id, info.product_id);
    if (!ids.Match(info.vendor_id, info.product_id)) {
      nodes.details.push_back(path + ": passed over: " + who + " is another device");
    } else if (info.feature_report_length == 0) {
      nodes.details.push_back(path + ": passed over: " + who +
                              ", but its report descriptor has no feature reports (another "
                              "interface of the mouse)");
    } else if (info.feature_report_length != kReportLength) {
      nodes.details.push_back(path + ": passed over: " + who + ", but its report descriptor has " +
                              std::to_string(info.feature_report_length) +
                              "-byte feature reports, not 8 (another interface of the mouse)");
    } else {
      nodes.details.push_back(path + ": " + who +
                              ", 8-byte feature reports: the mouse's configuration interface");
      config.push_back(path);
    }
  }
  const std::string found = std::to_string(paths.size()) + " found";
  if (!config.empty()) {
    nodes.summary = found + "; the mouse's configuration interface is " + Joined(config);
  } else if (!blocked.empty()) {
    nodes.state = CheckState::kProblem;
    nodes.summary = found + "; none could be opened as the mouse's configuration interface";
    nodes.fix = "let this user open the mouse's nodes (see access)";
  } else {
    nodes.state = CheckState::kProblem;
    nodes.summary = paths.empty() ? "no hidraw nodes found"
                                  : found + "; none is " + mouse + " with 8-byte feature reports";
    nodes.fix = kPlugInFix;
  }

  const std::vector<std::string> rules = facts.InstalledUdevRules(vendor_id, product_id);
  MouseCheck access;
  if (!config.empty()) {
    access = Check("access", CheckState::kOk,
                   "this user may open " + Joined(config) + " for reading and writing");
  } else if (!blocked.empty()) {
    std::vector<std::string> denied, busy;
    for (const BlockedNode& b : blocked)
      (b.error == HidError::kPermission ? denied : busy).push_back(b.path);
    if (!denied.empty()) {
      std::string fix = rules.empty()
                            ? UdevInstallFix(vendor_id, product_id)
                            : "the udev rule is installed (" + Joined(rules) +
                                  "): run 'sudo udevadm control --reload-rules && sudo udevadm "
                                  "trigger' and plug the mouse in again; the rule gives the mouse "
                                  "to the user logged in at the seat, not to a remote login";
      access = Check("access", CheckState::kProblem, "no permission to open " + Joined(denied),
                     std::move(fix));
    } else {
      access = Check("access", CheckState::kProblem,
                     Joined(busy) + " cannot be opened (" +
                         std::string(HidErrorText(blocked.front().error)) + ")",
                     "close the program that has it open, or plug the mouse in again");
    }
  } else {
    access = Check("access", CheckState::kNotChecked, "no node of the mouse was found");
  }

  MouseCheck udev;
  const std::string searched = "searched " + Joined(facts.UdevRuleFolders());
  if (!rules.empty()) {
    udev = Check("udev rule", CheckState::kOk, "installed: " + Joined(rules));
  } else if (access.state == CheckState::kProblem) {
    udev = Check("udev rule", CheckState::kProblem, "not installed (" + searched + ")",
                 UdevInstallFix(vendor_id, product_id));
  } else if (access.state == CheckState::kOk) {
    udev = Check("udev rule", CheckState::kOk,
                 "not installed (" + searched +
                     "); not needed while this user may open the mouse, but other users need it");
  } else {
    udev = Check("udev rule", CheckState::kOk,
                 "not installed (" + searched + "); users other than root need it");
  }

  MouseChecks checks;
  checks.checks = {std::move(nodes), std::move(access), std::move(udev)};
  return checks;
}

MouseChecks RunMouseDoctor(AppCore& core, Connection& connection, Transport& transport,
                           const MachineFacts& facts, const std::string& version) {
  MouseChecks result = CheckMouseAccess(transport.Backend(), core.DeviceIdTable(), facts);
  std::vector<MouseCheck>& checks = result.checks;
  const bool found = checks[0].state == CheckState::kOk;
  const std::string not_found = "the mouse's configuration interface was not found";

  // Who holds the mouse: opening it claims it, as every program does before
  // it sends anything.
  bool opened = false;
  const OpenProblem* held = nullptr;
  if (found) {
    for (const DeviceIdEntry& entry : core.DeviceIdTable()) {
      if (entry.vendor_id == 0 || entry.product_id == 0) continue;
      opened = transport.OpenDevice(entry.vendor_id, entry.product_id);
      held = transport.HeldProblem();
      if (opened || held) break;
    }
  }
  if (!found) {
    checks.push_back(Check("holder", CheckState::kNotChecked, not_found));
  } else if (opened) {
    checks.push_back(Check("holder", CheckState::kOk, "no other program holds the mouse"));
  } else if (held) {
    checks.push_back(Check("holder", CheckState::kProblem, held->message,
                           "close that program, or wait until it is done, and try again"));
  } else {
    std::vector<std::string> why;
    for (const OpenProblem& p : transport.LastOpenProblems()) why.push_back(p.message);
    checks.push_back(Check(
        "holder", CheckState::kProblem,
        "the mouse could not be opened" + (why.empty() ? std::string() : ": " + Joined(why, "; ")),
        "plug the mouse in again"));
  }

  const std::string not_open = "the mouse is not open";
  DevInfoResult info;
  if (opened) info = connection.IdentifyMouse();
  const DeviceSession& s = core.Session();
  if (!opened) {
    checks.push_back(Check("device information", CheckState::kNotChecked, not_open));
  } else {
    const std::string kinds =
        s.PrimaryStorage + (s.SecondaryStorage.empty() ? "" : " + " + s.SecondaryStorage);
    const std::string variant = "chip variant " + std::to_string(info.variant);
    switch (info.outcome) {
      case DevInfoOutcome::kNotSent:
        checks.push_back(Check("device information", CheckState::kProblem,
                               "the mouse does not answer the device information request",
                               "plug the mouse in again"));
        break;
      case DevInfoOutcome::kUnknownPrimary:
        checks.push_back(Check("device information", CheckState::kProblem,
                               variant + ", an unknown primary storage kind",
                               "this mouse is not one korvex48 knows; attach 'korvex48ctl doctor "
                               "--report FILE' to a bug report"));
        break;
      case DevInfoOutcome::kNoSecondary:
        checks.push_back(Check("device information", CheckState::kProblem,
                               variant + ", storage " + kinds + " without a secondary kind",
                               "this mouse is not one korvex48 knows; attach 'korvex48ctl doctor "
                               "--report FILE' to a bug report"));
        break;
      case DevInfoOutcome::kStorageMismatch:
        checks.push_back(Check(
            "device information", CheckState::kProblem,
            variant + ", storage " + kinds + ", which this program's default image is not made for",
            "use the default image made for this mouse (--default-image)"));
        break;
      case DevInfoOutcome::kAccepted:
      case DevInfoOutcome::kReadIncomplete:
      case DevInfoOutcome::kRefused:
        checks.push_back(
            Check("device information", CheckState::kOk, variant + ", storage " + kinds));
        break;
    }
  }

  const bool identified = info.outcome == DevInfoOutcome::kAccepted ||
                          info.outcome == DevInfoOutcome::kReadIncomplete ||
                          info.outcome == DevInfoOutcome::kRefused;
  const std::string id_text = Hex2(info.customer_id[0]) + " " + Hex2(info.customer_id[1]);
  if (!opened || !identified) {
    checks.push_back(Check("customer identifier", CheckState::kNotChecked,
                           opened ? "the device information step did not end" : not_open));
  } else if (info.outcome == DevInfoOutcome::kRefused) {
    checks.push_back(Check("customer identifier", CheckState::kProblem,
                           id_text + " is not one this program accepts (it takes " +
                               Hex2(core.Defaults().customer_id[0]) + " " +
                               Hex2(core.Defaults().customer_id[1]) +
                               " and the reserve identifier of its settings)",
                           "this mouse was made for another product line: korvex48 does not "
                           "configure it"));
  } else {
    checks.push_back(Check("customer identifier", CheckState::kOk, id_text + ", accepted"));
  }

  const std::string unread = "the configuration was not read whole";
  if (core.ImageRead()) {
    const ConfigImage& image = core.Working();
    const auto section = [&](const char* name, std::span<const std::uint8_t> bytes) {
      const std::uint8_t stored = bytes.back();
      const std::uint8_t computed = SectionChecksum(bytes.first(bytes.size() - 1));
      checks.push_back(Check(name, CheckState::kOk,
                             stored == computed
                                 ? Hex2(stored) + ", as its bytes give"
                                 : Hex2(stored) + " stored, its bytes give " + Hex2(computed) +
                                       " (changes made one setting at a time leave it so; a "
                                       "profile save or load sets it again)"));
    };
    section("parameter checksum", image.parameters);
    section("profile checksum", image.profiles);
  } else {
    checks.push_back(Check("parameter checksum", CheckState::kNotChecked, unread));
    checks.push_back(Check("profile checksum", CheckState::kNotChecked, unread));
  }

  if (info.outcome == DevInfoOutcome::kAccepted && core.ImageRead()) {
    checks.push_back(
        Check("macro storage", CheckState::kOk, "read whole (" + LayoutText(core.Layout()) + ")"));
  } else if (info.outcome == DevInfoOutcome::kReadIncomplete) {
    checks.push_back(Check("macro storage", CheckState::kProblem,
                           "not read whole: " + core.LastTransferProblem(),
                           "plug the mouse in again; when it stays so, attach 'korvex48ctl "
                           "doctor --report FILE' to a bug report"));
  } else {
    checks.push_back(Check("macro storage", CheckState::kNotChecked,
                           opened ? "the mouse was not accepted" : not_open));
  }

  checks.push_back(Check("version", CheckState::kOk, version));
  return result;
}

}  // namespace korvex48
