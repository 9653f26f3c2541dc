// The checks read every udev rules file on the machine to tell whether one
// gives the mouse to the user: any line gives an answer, never a read past
// it, and a line names the mouse only when both identifiers are in it.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "backends/hidraw/machine_facts.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view line(reinterpret_cast<const char*>(data), size);
  if (!korvex48::UdevRuleLineNames(line, 0x1234, 0xABCD)) return 0;
  std::string lower(line);
  for (char& c : lower)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  if (lower.find("\"1234\"") == std::string::npos || lower.find("\"abcd\"") == std::string::npos)
    std::abort();
  return 0;
}
