#include "core/device/command_set.h"

#include <algorithm>
#include <cstdio>
#include <string>

namespace korvex48 {

namespace {

constexpr std::size_t kMaxTransfer = 0xFFFF;

std::size_t Chunks(std::size_t length, std::size_t chunk) { return (length + chunk - 1) / chunk; }

std::uint8_t High(std::size_t v) { return static_cast<std::uint8_t>((v >> 8) & 0xFF); }
std::uint8_t Low(std::size_t v) { return static_cast<std::uint8_t>(v & 0xFF); }

}  // namespace

CommandSet::CommandSet(Transport& transport, BusyUi& busy)
    : transport_(transport), busy_(&busy), live_(transport, busy) {}

void CommandSet::ShowBusy() {
  busy_->Show();
  busy_->ProcessEvents();
}

bool CommandSet::WriteParameterBytes(std::uint8_t offset, std::uint8_t d0, std::uint8_t d1,
                                     std::uint8_t d2, int count, LiveWriteKind kind) {
  if (transport_.Session().CommandHandle == kInvalidHandle || count < 1 || count > 3) return false;
  return live_.Submit({kParameterBlock, offset, {d0, d1, d2, 0}, count, kind});
}

bool CommandSet::WriteProfileBytes(std::uint8_t offset, std::uint8_t d0, std::uint8_t d1,
                                   std::uint8_t d2, std::uint8_t d3) {
  if (transport_.Session().CommandHandle == kInvalidHandle) return false;
  return live_.Submit({kProfileBlock, offset, {d0, d1, d2, d3}, 4, LiveWriteKind::kValue});
}

void CommandSet::BeginRead(std::size_t length) {
  last_read_complete_ = false;
  last_read_replies_ = static_cast<int>(Chunks(length, kReplyPayload));
  last_read_failures_ = last_read_replies_;
}

bool CommandSet::WriteCut(const char* what, std::size_t address) {
  char where[80];
  std::snprintf(where, sizeof where, "%s at %04zX cut off after %d of %d reports: ", what, address,
                last_write_taken_, last_write_reports_);
  transport_.TraceNote(where + std::string(HidErrorText(transport_.LastError())));
  return false;
}

bool CommandSet::ReadSection(std::uint8_t block, std::uint8_t offset, std::span<std::uint8_t> dest,
                             bool busy) {
  BeginRead(dest.size());
  if (dest.empty() || dest.size() > 255) return false;
  std::fill(dest.begin(), dest.end(), 0xFF);
  const LiveWriteQueue::Transfer transfer(live_);
  if (!transport_.SendCommand(kCmdReadSection, block, offset, 0x00, Low(dest.size()))) return false;
  const bool sent = ReadReplies(dest, busy);
  if (last_read_complete_) live_.MouseHolds(block, offset, dest);
  return sent;
}

bool CommandSet::ReadReplies(std::span<std::uint8_t> dest, bool busy) {
  int failures = 0;
  for (std::size_t at = 0; at < dest.size(); at += kReplyPayload) {
    if (busy) ShowBusy();
    if (!transport_.ReadReply()) ++failures;
    const std::size_t n = std::min<std::size_t>(kReplyPayload, dest.size() - at);
    std::copy_n(transport_.Reply().begin(), n, dest.begin() + static_cast<std::ptrdiff_t>(at));
  }
  last_read_failures_ = failures;
  last_read_complete_ = failures == 0;
  return true;
}

bool CommandSet::WriteSection(std::uint8_t block, std::uint8_t start,
                              std::span<const std::uint8_t> source) {
  const std::size_t chunk = block == kParameterBlock ? kParameterWriteChunk : kProfileWriteChunk;
  last_write_taken_ = 0;
  last_write_reports_ = static_cast<int>(Chunks(source.size(), chunk));
  if (transport_.Session().CommandHandle == kInvalidHandle) return false;
  if (block != kParameterBlock && block != kProfileBlock) {
    last_write_reports_ = 0;
    return true;
  }
  const LiveWriteQueue::Transfer transfer(live_);
  for (std::size_t k = 0; k < Chunks(source.size(), chunk); ++k) {
    ShowBusy();
    Report report{
        kCommandReportId, kCmdWriteSection, block, Low(start + chunk * k), 0xFF, 0xFF, 0xFF, 0xFF};
    const std::size_t at = chunk * k;
    const std::size_t n = std::min(chunk, source.size() - at);
    std::copy_n(source.begin() + static_cast<std::ptrdiff_t>(at), n, report.begin() + 4);
    if (block == kParameterBlock) report[7] = 0x03;
    if (!transport_.SendCommandReport(report))
      return WriteCut(
          block == kParameterBlock ? "parameter section write" : "profile section write", start);
    live_.MouseHolds(block, start + at, std::span<const std::uint8_t>(report).subspan(4, n));
    ++last_write_taken_;
  }
  return true;
}

bool CommandSet::ReadMemory(std::uint16_t address, std::span<std::uint8_t> dest, bool busy) {
  BeginRead(dest.size());
  if (dest.size() > kMaxTransfer) return false;
  if (!busy) std::fill(dest.begin(), dest.end(), 0xFF);
  const LiveWriteQueue::Transfer transfer(live_);
  if (!transport_.SendCommand(kCmdReadMemory, High(address), Low(address), High(dest.size()),
                              Low(dest.size())))
    return false;
  return ReadReplies(dest, busy);
}

bool CommandSet::WriteMemory(std::uint16_t address, std::span<const std::uint8_t> source) {
  last_write_taken_ = 0;
  last_write_reports_ = 1 + static_cast<int>(Chunks(source.size(), kReplyPayload));
  if (source.size() > kMaxTransfer) return false;
  const LiveWriteQueue::Transfer transfer(live_);
  if (!transport_.SendCommand(kCmdWriteMemory, High(address), Low(address), High(source.size()),
                              Low(source.size())))
    return transport_.Session().CommandHandle == kInvalidHandle ? false
                                                                : WriteCut("memory write", address);
  ++last_write_taken_;
  for (std::size_t at = 0; at < source.size(); at += kReplyPayload) {
    ShowBusy();
    ReplyBytes staging;
    staging.fill(0xFF);
    const std::size_t n = std::min<std::size_t>(kReplyPayload, source.size() - at);
    std::copy_n(source.begin() + static_cast<std::ptrdiff_t>(at), n, staging.begin());
    // The mouse takes the announced length whatever comes: a write cut off
    // here leaves the rest of the range as it was.
    if (!transport_.SendData(staging)) return WriteCut("memory write", address);
    ++last_write_taken_;
    busy_->Progress(at + n, source.size());
  }
  return true;
}

bool CommandSet::ReadDeviceInformation(ReplyBytes* reply) {
  BeginRead(kReplyPayload);
  const LiveWriteQueue::Transfer transfer(live_);
  if (!transport_.SendCommand(kCmdDeviceInfo, 0, 0, 0, 0)) return false;
  last_read_complete_ = transport_.ReadReply();
  last_read_failures_ = last_read_complete_ ? 0 : 1;
  if (reply) *reply = transport_.Reply();
  return true;
}

bool CommandSet::Restart() {
  const LiveWriteQueue::Transfer transfer(live_);
  return transport_.SendCommand(kCmdRestart, 0, 0, 0, 0);
}

}  // namespace korvex48
