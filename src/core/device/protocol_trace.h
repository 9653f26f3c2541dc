#pragma once
// The protocol trace: every report that the transport tried to move, whether
// the system took it or not, and notes where a transfer was cut off. The
// transport hands each entry to a trace sink: a file (--trace) or, in tests, a
// vector that keeps them for inspection.
//
// File line format:
//   <ms since the trace began> <'>' sent | '<' read> <8 bytes hex>[ FAILED: <why>]
//   <ms> # <note>
// e.g. "1532 > 40 05 00 28 05 00 00 01". Times come from the transport's
// clock, so traces taken under a test clock are reproducible.
#include <array>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "core/device/hid_backend.h"

namespace korvex48 {

struct TraceEntry {
  enum class Kind { kSent, kRead, kNote };
  Kind kind = Kind::kSent;
  std::uint64_t at_us = 0;              // on the transport's clock
  std::array<std::uint8_t, 8> bytes{};  // kSent: as sent; kRead: as read, or as asked for
  HidError error = HidError::kNone;     // kNone: the system took the report
  std::string note;                     // kNote only
  bool ok() const { return error == HidError::kNone; }
};

class ProtocolTrace {
 public:
  virtual ~ProtocolTrace() = default;
  virtual void Record(const TraceEntry& entry) = 0;
};

// One line of the file format, with `ms` as its time.
std::string FormatTraceLine(std::uint64_t ms, const TraceEntry& entry);

// Writes lines to a file, flushed per line so a trace survives a crash of the
// program it explains.
class FileTrace final : public ProtocolTrace {
 public:
  // Called once, with one line for the user, when a line cannot be written.
  using WarnFn = std::function<void(const std::string& message)>;

  // Opens (truncates) `path`; nullptr and `error` set when it cannot be opened.
  // Times count from `start_us`.
  static std::unique_ptr<FileTrace> Open(const std::string& path, std::uint64_t start_us,
                                         std::string* error, WarnFn warn = {});
  // Writes to `out` (not owned, must outlive the trace).
  FileTrace(std::FILE* out, std::uint64_t start_us, WarnFn warn = {});
  ~FileTrace() override;
  FileTrace(const FileTrace&) = delete;
  FileTrace& operator=(const FileTrace&) = delete;

  void Record(const TraceEntry& entry) override;

 private:
  std::FILE* out_;
  bool owned_ = false;
  std::uint64_t start_us_;
  std::string path_;
  WarnFn warn_;
  bool warned_ = false;
};

// Keeps every entry.
class VectorTrace final : public ProtocolTrace {
 public:
  std::vector<TraceEntry> entries;

  void Record(const TraceEntry& entry) override { entries.push_back(entry); }
  void Clear() { entries.clear(); }

  // The reports tried, sent and read (taken or not), in order; notes left out.
  std::vector<TraceEntry> Reports() const;
  // The reports sent (taken or not), in order.
  std::vector<TraceEntry> SentEntries() const;
  // Their bytes.
  std::vector<std::array<std::uint8_t, 8>> SentReports() const;
  // The command reports (ID 0x40, taken or not) with command byte `code`.
  std::vector<std::array<std::uint8_t, 8>> Commands(std::uint8_t code) const;
  // Addresses of the memory writes (command 7), in order.
  std::vector<std::uint16_t> MemoryWriteAddresses() const;
  // The reports sent as lowercase hex, "40 05 00 28 84 00 00 01".
  std::vector<std::string> SentHex() const;
  // When each of those was sent, on the transport's clock.
  std::vector<std::uint64_t> SentTimes() const;
  // Reads asked for (taken or not).
  int Reads() const;
};

}  // namespace korvex48
