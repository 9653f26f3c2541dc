#include "core/device/protocol_trace.h"

#include <cerrno>
#include <cstring>

namespace korvex48 {

ProtocolTrace::ProtocolTrace(std::FILE* out, Clock& clock)
    : out_(out), clock_(clock), start_us_(clock.NowMicroseconds()) {}

std::unique_ptr<ProtocolTrace> ProtocolTrace::OpenFile(const std::string& path, Clock& clock,
                                                       std::string* error) {
  std::FILE* f = std::fopen(path.c_str(), "w");
  if (!f) {
    if (error) *error = "cannot create the trace file " + path + ": " + std::strerror(errno);
    return nullptr;
  }
  auto trace = std::make_unique<ProtocolTrace>(f, clock);
  trace->owned_ = true;
  return trace;
}

ProtocolTrace::~ProtocolTrace() {
  if (owned_) std::fclose(out_);
}

std::string ProtocolTrace::FormatLine(std::uint64_t ms, char direction,
                                      std::span<const std::uint8_t> report) {
  char buf[64];
  int n = std::snprintf(buf, sizeof buf, "%llu %c", static_cast<unsigned long long>(ms), direction);
  std::string line(buf, static_cast<std::size_t>(n));
  for (std::size_t i = 0; i < 8; ++i) {
    std::snprintf(buf, sizeof buf, " %02X", i < report.size() ? report[i] : 0);
    line += buf;
  }
  return line;
}

void ProtocolTrace::Line(char direction, std::span<const std::uint8_t> report) {
  const std::uint64_t ms = (clock_.NowMicroseconds() - start_us_) / 1000;
  std::string line = FormatLine(ms, direction, report);
  line += '\n';
  // Flushed per line so a trace survives a crash of the program it explains.
  std::fwrite(line.data(), 1, line.size(), out_);
  std::fflush(out_);
}

}  // namespace korvex48
