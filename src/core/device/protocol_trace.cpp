#include "core/device/protocol_trace.h"

#include <cerrno>
#include <cstring>

namespace korvex48 {

std::string FormatTraceLine(std::uint64_t ms, const TraceEntry& entry) {
  char buf[64];
  const char mark = entry.kind == TraceEntry::Kind::kSent   ? '>'
                    : entry.kind == TraceEntry::Kind::kRead ? '<'
                                                            : '#';
  const int n =
      std::snprintf(buf, sizeof buf, "%llu %c", static_cast<unsigned long long>(ms), mark);
  std::string line(buf, static_cast<std::size_t>(n));
  if (entry.kind == TraceEntry::Kind::kNote) return line + " " + entry.note;
  for (std::uint8_t b : entry.bytes) {
    std::snprintf(buf, sizeof buf, " %02X", b);
    line += buf;
  }
  if (!entry.ok()) line += std::string(" FAILED: ") + HidErrorText(entry.error);
  return line;
}

std::unique_ptr<FileTrace> FileTrace::Open(const std::string& path, std::uint64_t start_us,
                                           std::string* error, WarnFn warn) {
  std::FILE* f = std::fopen(path.c_str(), "w");
  if (!f) {
    if (error) *error = "cannot create the trace file " + path + ": " + std::strerror(errno);
    return nullptr;
  }
  auto trace = std::make_unique<FileTrace>(f, start_us, std::move(warn));
  trace->owned_ = true;
  trace->path_ = path;
  return trace;
}

FileTrace::FileTrace(std::FILE* out, std::uint64_t start_us, WarnFn warn)
    : out_(out), start_us_(start_us), warn_(std::move(warn)) {}

FileTrace::~FileTrace() {
  if (owned_) std::fclose(out_);
}

void FileTrace::Record(const TraceEntry& entry) {
  const std::uint64_t ms = entry.at_us >= start_us_ ? (entry.at_us - start_us_) / 1000 : 0;
  std::string line = FormatTraceLine(ms, entry);
  line += '\n';
  const bool written = std::fwrite(line.data(), 1, line.size(), out_) == line.size();
  if ((std::fflush(out_) == 0 && written) || warned_) return;
  // A full disk would otherwise give one warning per report.
  warned_ = true;
  if (warn_)
    warn_("the protocol trace " + (path_.empty() ? std::string() : path_ + " ") +
          "cannot be written: " + std::strerror(errno) + "; it ends here");
}

std::vector<TraceEntry> VectorTrace::Reports() const {
  std::vector<TraceEntry> out;
  for (const TraceEntry& e : entries)
    if (e.kind != TraceEntry::Kind::kNote) out.push_back(e);
  return out;
}

std::vector<std::array<std::uint8_t, 8>> VectorTrace::SentReports() const {
  std::vector<std::array<std::uint8_t, 8>> out;
  for (const TraceEntry& e : entries)
    if (e.kind == TraceEntry::Kind::kSent) out.push_back(e.bytes);
  return out;
}

std::vector<TraceEntry> VectorTrace::SentEntries() const {
  std::vector<TraceEntry> out;
  for (const TraceEntry& e : entries)
    if (e.kind == TraceEntry::Kind::kSent) out.push_back(e);
  return out;
}

std::vector<std::array<std::uint8_t, 8>> VectorTrace::Commands(std::uint8_t code) const {
  std::vector<std::array<std::uint8_t, 8>> out;
  for (const TraceEntry& e : entries)
    if (e.kind == TraceEntry::Kind::kSent && e.bytes[0] == 0x40 && e.bytes[1] == code)
      out.push_back(e.bytes);
  return out;
}

std::vector<std::uint16_t> VectorTrace::MemoryWriteAddresses() const {
  std::vector<std::uint16_t> out;
  for (const auto& r : Commands(0x07))
    out.push_back(static_cast<std::uint16_t>((r[2] << 8) | r[3]));
  return out;
}

std::vector<std::string> VectorTrace::SentHex() const {
  std::vector<std::string> out;
  for (const TraceEntry& e : entries) {
    if (e.kind != TraceEntry::Kind::kSent) continue;
    std::string line;
    char hex[4];
    for (std::uint8_t b : e.bytes) {
      std::snprintf(hex, sizeof hex, "%02x ", b);
      line += hex;
    }
    line.pop_back();
    out.push_back(line);
  }
  return out;
}

std::vector<std::uint64_t> VectorTrace::SentTimes() const {
  std::vector<std::uint64_t> out;
  for (const TraceEntry& e : entries)
    if (e.kind == TraceEntry::Kind::kSent) out.push_back(e.at_us);
  return out;
}

int VectorTrace::Reads() const {
  int n = 0;
  for (const TraceEntry& e : entries) n += e.kind == TraceEntry::Kind::kRead;
  return n;
}

}  // namespace korvex48
