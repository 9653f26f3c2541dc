#pragma once
// The mouse's command set over the transport: short writes into the two
// configuration sections, block reads of them, reads and writes of the device
// memory, device information and restart. Every operation returns false at
// once, sending nothing and leaving the busy pop-up alone, when the session
// has no CommandHandle.
//
// Reads: the command decides the result; a reply that fails later leaves 0xFF
// bytes in the data, and LastReadComplete() / LastReadFailures() tell the
// caller, who must not take such data as the mouse's. Writes: every report is
// checked, and a write stops at the first report the mouse did not take (the
// trace notes where), so the caller can say what the mouse now holds. Pad
// bytes of partial chunks are 0xFF; the mouse uses only the announced lengths.
#include <cstddef>
#include <cstdint>
#include <span>

#include "core/device/busy_ui.h"
#include "core/device/live_write_queue.h"
#include "core/device/transport.h"

namespace korvex48 {

// Device blocks.
inline constexpr std::uint8_t kParameterBlock = 0;  // 104 bytes
inline constexpr std::uint8_t kProfileBlock = 1;    // 145 bytes

// Command codes (report byte 1).
inline constexpr std::uint8_t kCmdWriteSection = 0x05;
inline constexpr std::uint8_t kCmdReadSection = 0x06;
inline constexpr std::uint8_t kCmdWriteMemory = 0x07;
inline constexpr std::uint8_t kCmdReadMemory = 0x09;
inline constexpr std::uint8_t kCmdDeviceInfo = 0x0D;
inline constexpr std::uint8_t kCmdRestart = 0x0E;

// Device-information reply bytes.
inline constexpr int kInfoPrimaryStorage = 2;  // 0x80 "Flash", 0xC0 "I2C"
inline constexpr int kInfoVariant = 3;         // chip variant: 1, 4, 16, 17, 22 known
inline constexpr std::uint8_t kPrimaryFlash = 0x80;
inline constexpr std::uint8_t kPrimaryI2C = 0xC0;

// Sleep after each live write, in milliseconds.
inline constexpr int kLiveWriteSettleMs = 100;

// Bytes a section write carries per report: 3 into the parameter block, 4
// into the profile block.
inline constexpr std::size_t kParameterWriteChunk = 3;
inline constexpr std::size_t kProfileWriteChunk = 4;

// How often each transfer below shows the busy pop-up (once per report after
// its command), which is what a front end counts its progress by. A read of
// `bytes` with the pop-up: one per reply.
constexpr int ReadReplyCount(std::size_t bytes) {
  return static_cast<int>((bytes + kReplyPayload - 1) / kReplyPayload);
}
// A section write of `bytes` into `block`: one per report.
constexpr int SectionWriteReportCount(std::uint8_t block, std::size_t bytes) {
  const std::size_t chunk = block == kParameterBlock ? kParameterWriteChunk : kProfileWriteChunk;
  return static_cast<int>((bytes + chunk - 1) / chunk);
}
// A memory write of `bytes`: one per data report.
constexpr int MemoryWriteDataReportCount(std::size_t bytes) { return ReadReplyCount(bytes); }

class CommandSet {
 public:
  // `busy` defaults to the silent NoBusyUi(). Waits use the transport's clock.
  explicit CommandSet(Transport& transport, BusyUi& busy = NoBusyUi());

  void SetBusyUi(BusyUi& busy) {
    busy_ = &busy;
    live_.SetBusyUi(busy);
  }
  Transport& GetTransport() { return transport_; }
  // The queue every live write goes through; the block transfers below let it
  // send what it holds before they start.
  LiveWriteQueue& LiveWrites() { return live_; }

  // Live write of `count` (1..3) parameter bytes d0..d2 at `offset`
  // (0x40 0x05 0x00 offset d0 d1 d2 count) through the live-write queue: the
  // busy pop-up shows, the report goes out after the writes queued before it
  // and is followed by 100 ms. False without a CommandHandle or when the
  // mouse refused the report; true when it was accepted, or only queued
  // because another write is settling (LiveWriteQueue reports refusals).
  [[nodiscard]] bool WriteParameterBytes(std::uint8_t offset, std::uint8_t d0, std::uint8_t d1,
                                         std::uint8_t d2, int count,
                                         LiveWriteKind kind = LiveWriteKind::kValue);
  // Live write of four profile bytes at `offset` (0x40 0x05 0x01 offset d0..d3).
  [[nodiscard]] bool WriteProfileBytes(std::uint8_t offset, std::uint8_t d0, std::uint8_t d1,
                                       std::uint8_t d2, std::uint8_t d3);

  // Reads dest.size() (1..255) bytes of `block` from `offset`: command 6, then
  // one reply per 7 bytes. `dest` is filled with 0xFF first. With `busy`, the
  // pop-up is shown (and events processed) before every reply; it is not
  // hidden here. True when the command was sent.
  [[nodiscard]] bool ReadSection(std::uint8_t block, std::uint8_t offset,
                                 std::span<std::uint8_t> dest, bool busy);

  // Writes `source` into `block` from `start`: block 0 as 3-byte reports
  // (count byte 3), block 1 as 4-byte reports, offsets start + 3k / 4k
  // (wrapping at 256). The pop-up is shown before every report. Reports are
  // not paced; another block sends nothing. True when every report was
  // taken; false at the first one that was not (nothing more is sent).
  [[nodiscard]] bool WriteSection(std::uint8_t block, std::uint8_t start,
                                  std::span<const std::uint8_t> source);

  // Reads dest.size() (0..65535) bytes of device memory at `address`:
  // command 9, then one reply per 7 bytes. The quiet variant fills `dest`
  // with 0xFF first; the busy one shows the pop-up before every reply. True
  // when the command was sent.
  [[nodiscard]] bool ReadMemory(std::uint16_t address, std::span<std::uint8_t> dest, bool busy);

  // Writes `source` (0..65535 bytes) to device memory at `address`: command
  // 7, then one 0x41 data report per 7 bytes, the pop-up shown before each.
  // True when every report was taken; false at the first one that was not
  // (nothing more is sent).
  [[nodiscard]] bool WriteMemory(std::uint16_t address, std::span<const std::uint8_t> source);

  // Command 13 and one reply into `reply` (0xFF bytes when the reply failed).
  // False when the command could not be sent.
  [[nodiscard]] bool ReadDeviceInformation(ReplyBytes* reply);

  // Command 14: the mouse leaves the bus and comes back about a second later.
  [[nodiscard]] bool Restart();

  // Whether the last ReadSection, ReadMemory or ReadDeviceInformation got
  // every reply it asked for (false when its command was not sent). The data
  // of an incomplete read hold 0xFF bytes where replies failed.
  bool LastReadComplete() const { return last_read_complete_; }
  // Reports of the last read that brought no data (its command, when that
  // failed, counts for all its replies), and how many replies it asked for.
  int LastReadFailures() const { return last_read_failures_; }
  int LastReadReplies() const { return last_read_replies_; }

  // Reports of the last section or memory write that the mouse took, and how
  // many the write has in all (the command and the data reports).
  int LastWriteTaken() const { return last_write_taken_; }
  int LastWriteReports() const { return last_write_reports_; }

 private:
  void ShowBusy();
  bool ReadReplies(std::span<std::uint8_t> dest, bool busy);
  void BeginRead(std::size_t length);
  bool WriteCut(const char* what, std::size_t address);

  Transport& transport_;
  BusyUi* busy_;
  LiveWriteQueue live_;
  bool last_read_complete_ = false;
  int last_read_failures_ = 0;
  int last_read_replies_ = 0;
  int last_write_taken_ = 0;
  int last_write_reports_ = 0;
};

}  // namespace korvex48
