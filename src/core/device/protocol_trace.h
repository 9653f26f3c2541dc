#pragma once
// A protocol trace: one line per report that crossed to or from the mouse,
//   <milliseconds since the trace began> <'>' sent | '<' read> <8 bytes hex>
// e.g. "1532 > 40 05 00 28 05 00 00 01". Times come from the transport's
// clock, so traces taken under a test clock are reproducible.
#include <cstdint>
#include <cstdio>
#include <memory>
#include <span>
#include <string>

#include "core/common/clock.h"

namespace korvex48 {

class ProtocolTrace {
 public:
  // Writes to `out` (not owned, must outlive the trace).
  ProtocolTrace(std::FILE* out, Clock& clock);
  // Opens (truncates) `path`; nullptr and `error` set when it cannot be opened.
  static std::unique_ptr<ProtocolTrace> OpenFile(const std::string& path, Clock& clock,
                                                 std::string* error);
  ~ProtocolTrace();
  ProtocolTrace(const ProtocolTrace&) = delete;
  ProtocolTrace& operator=(const ProtocolTrace&) = delete;

  void Sent(std::span<const std::uint8_t> report) { Line('>', report); }
  void Read(std::span<const std::uint8_t> report) { Line('<', report); }

  // The line format on its own (8 bytes shown; missing bytes as 00).
  static std::string FormatLine(std::uint64_t ms, char direction,
                                std::span<const std::uint8_t> report);

 private:
  void Line(char direction, std::span<const std::uint8_t> report);
  std::FILE* out_;
  bool owned_ = false;
  Clock& clock_;
  std::uint64_t start_us_;
};

}  // namespace korvex48
