#include "core/device/command_set.h"

#include <algorithm>

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

bool CommandSet::ReadSection(std::uint8_t block, std::uint8_t offset, std::span<std::uint8_t> dest,
                             bool busy) {
  last_read_complete_ = false;
  if (dest.empty() || dest.size() > 255) return false;
  std::fill(dest.begin(), dest.end(), 0xFF);
  const LiveWriteQueue::Transfer transfer(live_);
  if (!transport_.SendCommand(kCmdReadSection, block, offset, 0x00, Low(dest.size()))) return false;
  const bool sent = ReadReplies(dest, busy);
  if (last_read_complete_) live_.MouseHolds(block, offset, dest);
  return sent;
}

bool CommandSet::ReadReplies(std::span<std::uint8_t> dest, bool busy) {
  bool complete = true;
  for (std::size_t at = 0; at < dest.size(); at += kReplyPayload) {
    if (busy) ShowBusy();
    complete = transport_.ReadReply() && complete;
    const std::size_t n = std::min<std::size_t>(kReplyPayload, dest.size() - at);
    std::copy_n(transport_.Reply().begin(), n, dest.begin() + static_cast<std::ptrdiff_t>(at));
  }
  last_read_complete_ = complete;
  return true;
}

bool CommandSet::WriteSection(std::uint8_t block, std::uint8_t start,
                              std::span<const std::uint8_t> source) {
  if (transport_.Session().CommandHandle == kInvalidHandle) return false;
  if (block != kParameterBlock && block != kProfileBlock) return true;
  const std::size_t chunk = block == kParameterBlock ? 3 : 4;
  const LiveWriteQueue::Transfer transfer(live_);
  for (std::size_t k = 0; k < Chunks(source.size(), chunk); ++k) {
    ShowBusy();
    Report report{
        kCommandReportId, kCmdWriteSection, block, Low(start + chunk * k), 0xFF, 0xFF, 0xFF, 0xFF};
    const std::size_t at = chunk * k;
    const std::size_t n = std::min(chunk, source.size() - at);
    std::copy_n(source.begin() + static_cast<std::ptrdiff_t>(at), n, report.begin() + 4);
    if (block == kParameterBlock) report[7] = 0x03;
    if (transport_.SendCommandReport(report))
      live_.MouseHolds(block, start + at, std::span<const std::uint8_t>(report).subspan(4, n));
  }
  return true;
}

bool CommandSet::ReadMemory(std::uint16_t address, std::span<std::uint8_t> dest, bool busy) {
  last_read_complete_ = false;
  if (dest.size() > kMaxTransfer) return false;
  if (!busy) std::fill(dest.begin(), dest.end(), 0xFF);
  const LiveWriteQueue::Transfer transfer(live_);
  if (!transport_.SendCommand(kCmdReadMemory, High(address), Low(address), High(dest.size()),
                              Low(dest.size())))
    return false;
  return ReadReplies(dest, busy);
}

bool CommandSet::WriteMemory(std::uint16_t address, std::span<const std::uint8_t> source) {
  if (source.size() > kMaxTransfer) return false;
  const LiveWriteQueue::Transfer transfer(live_);
  if (!transport_.SendCommand(kCmdWriteMemory, High(address), Low(address), High(source.size()),
                              Low(source.size())))
    return false;
  for (std::size_t at = 0; at < source.size(); at += kReplyPayload) {
    ShowBusy();
    ReplyBytes staging;
    staging.fill(0xFF);
    const std::size_t n = std::min<std::size_t>(kReplyPayload, source.size() - at);
    std::copy_n(source.begin() + static_cast<std::ptrdiff_t>(at), n, staging.begin());
    transport_.SendData(staging);
  }
  return true;
}

bool CommandSet::ReadDeviceInformation(ReplyBytes* reply) {
  last_read_complete_ = false;
  const LiveWriteQueue::Transfer transfer(live_);
  if (!transport_.SendCommand(kCmdDeviceInfo, 0, 0, 0, 0)) return false;
  last_read_complete_ = transport_.ReadReply();
  if (reply) *reply = transport_.Reply();
  return true;
}

bool CommandSet::Restart() {
  const LiveWriteQueue::Transfer transfer(live_);
  return transport_.SendCommand(kCmdRestart, 0, 0, 0, 0);
}

}  // namespace korvex48
