#include "core/device/interface_holder.h"

#include <algorithm>
#include <charconv>
#include <vector>

namespace korvex48 {
namespace {

constexpr std::size_t kMaxProgramName = 64;

std::vector<std::string_view> Fields(std::string_view line) {
  std::vector<std::string_view> fields;
  std::size_t i = 0;
  while (i < line.size()) {
    while (i < line.size() && (line[i] == ' ' || line[i] == '\t')) ++i;
    const std::size_t start = i;
    while (i < line.size() && line[i] != ' ' && line[i] != '\t') ++i;
    if (i > start) fields.push_back(line.substr(start, i - start));
  }
  return fields;
}

template <typename T>
bool Number(std::string_view text, T* out, int base) {
  if (text.empty()) return false;
  auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), *out, base);
  return ec == std::errc() && end == text.data() + text.size();
}

// "00:2f:1234" (hex, hex, decimal).
bool SameFile(std::string_view text, const LockedFile& file) {
  const std::size_t first = text.find(':');
  if (first == std::string_view::npos) return false;
  const std::size_t second = text.find(':', first + 1);
  if (second == std::string_view::npos) return false;
  std::uint32_t major = 0, minor = 0;
  std::uint64_t inode = 0;
  return Number(text.substr(0, first), &major, 16) &&
         Number(text.substr(first + 1, second - first - 1), &minor, 16) &&
         Number(text.substr(second + 1), &inode, 10) && major == file.major &&
         minor == file.minor && inode == file.inode;
}

}  // namespace

std::string HeldMouseText(const InterfaceHolder& holder) {
  std::string text =
      "the mouse is in use by " + (holder.program.empty() ? "another program" : holder.program);
  if (holder.pid > 0) text += " (pid " + std::to_string(holder.pid) + ")";
  return text;
}

std::optional<int> FlockHolderPid(std::string_view proc_locks, const LockedFile& file) {
  while (!proc_locks.empty()) {
    const std::size_t end = std::min(proc_locks.find('\n'), proc_locks.size());
    const std::vector<std::string_view> f = Fields(proc_locks.substr(0, end));
    proc_locks.remove_prefix(std::min(end + 1, proc_locks.size()));
    // "N:" FLOCK ADVISORY|MANDATORY READ|WRITE PID DEV:INODE START END
    if (f.size() < 6 || f[1] != "FLOCK") continue;
    int pid = 0;
    if (Number(f[4], &pid, 10) && pid > 0 && SameFile(f[5], file)) return pid;
  }
  return std::nullopt;
}

std::string ProgramNameOfCommandLine(std::span<const std::uint8_t> cmdline) {
  const auto nul = std::find(cmdline.begin(), cmdline.end(), std::uint8_t{0});
  std::string first(cmdline.begin(), nul);
  const std::size_t slash = first.rfind('/');
  if (slash != std::string::npos) first.erase(0, slash + 1);
  // Only printable ASCII: the name goes into a line for a terminal.
  std::string name;
  for (char c : first) {
    if (name.size() == kMaxProgramName) break;
    if (c > ' ' && c < 0x7F) name += c;
  }
  return name;
}

}  // namespace korvex48
