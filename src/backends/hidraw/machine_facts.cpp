#include "backends/hidraw/machine_facts.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <set>

namespace korvex48 {
namespace {

constexpr std::uintmax_t kMaxRulesFile = 1u << 20;

std::string Lower(std::string_view text) {
  std::string out(text);
  for (char& c : out) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return out;
}

// The value compared to the attribute `name` (ATTRS{name}=="value" or
// ATTR{name}=="value"), lower case; empty when the line has no such match.
std::string MatchedValue(const std::string& line, std::string_view name) {
  const std::string key = "{" + std::string(name) + "}";
  for (std::size_t at = line.find(key); at != std::string::npos; at = line.find(key, at + 1)) {
    std::size_t i = at + key.size();
    while (i < line.size() && line[i] == ' ') ++i;
    if (line.compare(i, 2, "==") != 0) continue;
    i += 2;
    while (i < line.size() && line[i] == ' ') ++i;
    if (i >= line.size() || line[i] != '"') continue;
    const std::size_t end = line.find('"', i + 1);
    if (end == std::string::npos) continue;
    return line.substr(i + 1, end - i - 1);
  }
  return {};
}

}  // namespace

LinuxMachineFacts::LinuxMachineFacts()
    : folders_({"/etc/udev/rules.d", "/run/udev/rules.d", "/usr/lib/udev/rules.d",
                "/lib/udev/rules.d"}) {
#ifdef KORVEX48_INSTALL_PREFIX
  const std::string installed = std::string(KORVEX48_INSTALL_PREFIX) + "/lib/udev/rules.d";
  if (std::find(folders_.begin(), folders_.end(), installed) == folders_.end())
    folders_.push_back(installed);
#endif
}

bool UdevRuleLineNames(std::string_view line, std::uint16_t vendor_id, std::uint16_t product_id) {
  const std::string lower = Lower(line);
  const std::size_t first = lower.find_first_not_of(" \t");
  if (first == std::string::npos || lower[first] == '#') return false;
  char vendor[8], product[8];
  std::snprintf(vendor, sizeof vendor, "%04x", vendor_id);
  std::snprintf(product, sizeof product, "%04x", product_id);
  return MatchedValue(lower, "idvendor") == vendor && MatchedValue(lower, "idproduct") == product;
}

std::vector<std::string> LinuxMachineFacts::InstalledUdevRules(std::uint16_t vendor_id,
                                                               std::uint16_t product_id) const {
  std::vector<std::string> found;
  std::set<std::filesystem::path> seen;
  for (const std::string& folder : folders_) {
    std::error_code ec;
    std::vector<std::filesystem::path> files;
    for (const auto& entry : std::filesystem::directory_iterator(folder, ec))
      if (entry.path().extension() == ".rules") files.push_back(entry.path());
    std::sort(files.begin(), files.end());
    for (const std::filesystem::path& file : files) {
      if (!std::filesystem::is_regular_file(file, ec) ||
          std::filesystem::file_size(file, ec) > kMaxRulesFile || ec)
        continue;
      const std::filesystem::path real = std::filesystem::canonical(file, ec);
      if (ec || !seen.insert(real).second) continue;
      std::ifstream in(file);
      std::string line;
      while (std::getline(in, line)) {
        if (UdevRuleLineNames(line, vendor_id, product_id)) {
          found.push_back(file.string());
          break;
        }
      }
    }
  }
  return found;
}

}  // namespace korvex48
