#include "core/device/live_write_queue.h"

#include <algorithm>

#include "core/device/command_set.h"
#include "core/image/config_image.h"

namespace korvex48 {

LiveWriteQueue::LiveWriteQueue(Transport& transport, BusyUi& busy)
    : transport_(transport),
      busy_(&busy),
      parameters_(kParameterSectionSize),
      profiles_(kProfileSectionSize) {}

bool LiveWriteQueue::Submit(const LiveWrite& write) {
  if (transport_.Session().CommandHandle == kInvalidHandle) return false;
  // A queued write whose every byte this one rewrites would only put bytes on
  // the mouse that this one replaces: it goes, and this one goes last.
  std::erase_if(pending_, [&write](const Entry& q) {
    const LiveWrite& w = q.write;
    return w.block == write.block && w.kind == write.kind && w.offset >= write.offset &&
           w.offset + w.count <= write.offset + write.count;
  });
  const std::uint64_t id = next_id_++;
  pending_.push_back({id, write});
  if (sending_ || holds_ > 0 || transfers_ > 0) return true;
  Drain();
  return std::none_of(refused_.begin(), refused_.end(),
                      [id](const Entry& q) { return q.id == id; });
}

void LiveWriteQueue::Release() {
  if (--holds_ > 0) return;
  if (sending_ || transfers_ > 0) return;
  if (!pending_.empty()) Drain();
  // An edit that ran inside the drain's waits may hold the queue again.
  if (holds_ == 0 && Idle() && transfers_ == 0) ReportRefusals();
}

void LiveWriteQueue::Drain() {
  sending_ = true;
  busy_->Show();
  for (;;) {
    // The rest of the previous write's 100 ms, with window events running:
    // an edit made now only queues its writes.
    SettleWithEvents();
    if (pending_.empty()) break;
    const Entry next = pending_.front();
    pending_.pop_front();
    SendOne(next);
  }
  busy_->Hide();
  sending_ = false;
  // Events that came in as the pop-up closed; an edit among them sends its
  // own writes.
  busy_->ProcessEvents();
}

void LiveWriteQueue::SendOne(const Entry& entry) {
  const LiveWrite& w = entry.write;
  // A mouse that left the bus takes nothing; the loss flow tells the user.
  if (transport_.Session().CommandHandle == kInvalidHandle) return;
  Report report{kCommandReportId, kCmdWriteSection, w.block,    w.offset,
                w.bytes[0],       w.bytes[1],       w.bytes[2], w.bytes[3]};
  if (w.block == kParameterBlock) report[7] = static_cast<std::uint8_t>(w.count);
  const bool accepted = transport_.SendCommandReport(report);
  last_sent_us_ = transport_.GetClock().NowMicroseconds();
  const auto count = static_cast<std::size_t>(std::clamp(w.count, 0, 4));
  if (accepted) {
    MouseHolds(w.block, w.offset, std::span<const std::uint8_t>(w.bytes).first(count));
  } else {
    refused_.push_back(entry);
    ++refused_total_;
  }
}

void LiveWriteQueue::SettleWithEvents() {
  Clock& clock = transport_.GetClock();
  // A transfer started from an event may send in between: the deadline
  // follows the last write, whoever sent it.
  while (last_sent_us_) {
    const std::uint64_t now = clock.NowMicroseconds();
    const std::uint64_t until = *last_sent_us_ + kSettleMicroseconds;
    if (now >= until) break;
    clock.SleepMicroseconds(std::min(kEventSliceMicroseconds, until - now));
    busy_->ProcessEvents();
  }
}

void LiveWriteQueue::SettleQuietly() {
  if (!last_sent_us_) return;
  Clock& clock = transport_.GetClock();
  const std::uint64_t now = clock.NowMicroseconds();
  const std::uint64_t until = *last_sent_us_ + kSettleMicroseconds;
  if (now < until) clock.SleepMicroseconds(until - now);
}

void LiveWriteQueue::BeginTransfer() {
  if (transfers_++ > 0) return;
  // Window events do not run here: the transfer was asked for now, and the
  // edits made so far reach the mouse before it.
  while (!pending_.empty()) {
    SettleQuietly();
    const Entry next = pending_.front();
    pending_.pop_front();
    SendOne(next);
  }
  SettleQuietly();
}

void LiveWriteQueue::EndTransfer() {
  if (--transfers_ > 0) return;
  if (!sending_ && holds_ == 0 && !pending_.empty()) Drain();
}

void LiveWriteQueue::Clear() {
  pending_.clear();
  refused_.clear();
  std::fill(parameters_.begin(), parameters_.end(), std::nullopt);
  std::fill(profiles_.begin(), profiles_.end(), std::nullopt);
}

std::vector<std::optional<std::uint8_t>>& LiveWriteQueue::Known(std::uint8_t block) {
  return block == kParameterBlock ? parameters_ : profiles_;
}

void LiveWriteQueue::MouseHolds(std::uint8_t block, std::size_t offset,
                                std::span<const std::uint8_t> bytes) {
  if (block != kParameterBlock && block != kProfileBlock) return;
  std::vector<std::optional<std::uint8_t>>& known = Known(block);
  for (std::size_t i = 0; i < bytes.size() && offset + i < known.size(); ++i)
    known[offset + i] = bytes[i];
}

std::optional<std::uint8_t> LiveWriteQueue::MouseByteAt(std::uint8_t block,
                                                        std::size_t offset) const {
  if (block != kParameterBlock && block != kProfileBlock) return std::nullopt;
  const auto& known = block == kParameterBlock ? parameters_ : profiles_;
  return offset < known.size() ? known[offset] : std::nullopt;
}

void LiveWriteQueue::ReportRefusals() {
  if (refused_.empty()) return;
  LiveWriteRefusal report;
  report.refused = static_cast<int>(refused_.size());
  for (const Entry& q : refused_) {
    const LiveWrite& w = q.write;
    // A nudge's byte is rewritten by the write that follows it.
    if (w.kind == LiveWriteKind::kNudge) continue;
    for (int i = 0; i < std::clamp(w.count, 0, 4); ++i) {
      const auto offset = static_cast<std::uint8_t>(w.offset + i);
      const std::optional<std::uint8_t> held = MouseByteAt(w.block, offset);
      if (!held) continue;
      const MouseByte byte{w.block, offset, *held};
      if (std::find(report.mouse_holds.begin(), report.mouse_holds.end(), byte) ==
          report.mouse_holds.end())
        report.mouse_holds.push_back(byte);
    }
  }
  refused_.clear();
  if (on_refusal_) on_refusal_(report);
}

}  // namespace korvex48
