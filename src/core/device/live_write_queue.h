#pragma once
// The live writes of the pages, one at a time and in the order of the edits.
//
// A live write is one command 5 report (up to 3 parameter bytes or 4 profile
// bytes) followed by 100 ms in which the mouse takes it in. While those 100 ms
// pass, window events keep running, so the user may make the next edit before
// the first one reached the mouse. Every edit therefore changes the image at
// once and hands its writes to this queue; the queue sends them in order, one
// report per 100 ms, and never lets a report start inside another transfer:
//
// - A write submitted while the queue is sending (from an event that ran in a
//   wait), while an edit holds the queue, or during a block transfer is only
//   queued; whoever is sending, or the end of the hold or the transfer,
//   sends it.
// - A queued write whose bytes are all rewritten by a later write of the same
//   kind is dropped: the later one carries the newer bytes, and it goes last.
//   Nudges (the byte 38 write that makes the mouse apply a DPI value) are only
//   dropped by later nudges.
// - Block transfers of the command set run inside a Transfer, which first
//   sends whatever is queued (keeping the 100 ms after each write), so the
//   mouse gets the edits before the transfer, never between its reports.
//
// The queue also keeps what the mouse holds of both sections as far as the
// command set has seen (complete reads, accepted writes). A write the mouse
// refuses is reported when the last Hold ends and the queue is idle, with
// what the mouse holds at the refused bytes, so the pages can show the
// mouse's bytes again. Refusals of writes sent outside a Hold wait for the
// next one.
#include <array>
#include <cstdint>
#include <deque>
#include <functional>
#include <optional>
#include <span>
#include <vector>

#include "core/device/busy_ui.h"
#include "core/device/transport.h"

namespace korvex48 {

enum class LiveWriteKind {
  kValue,  // a setting's bytes: what the mouse keeps
  kNudge,  // a passing value sent only to make the mouse apply another one
};

struct LiveWrite {
  std::uint8_t block = 0;   // kParameterBlock or kProfileBlock
  std::uint8_t offset = 0;  // within the section
  std::array<std::uint8_t, 4> bytes{};
  int count = 1;  // bytes used: 1..3 for the parameter block, 4 for profiles
  LiveWriteKind kind = LiveWriteKind::kValue;
  friend bool operator==(const LiveWrite&, const LiveWrite&) = default;
};

// One byte of a section and what the mouse holds there.
struct MouseByte {
  std::uint8_t block = 0;
  std::uint8_t offset = 0;
  std::uint8_t value = 0;
  friend bool operator==(const MouseByte&, const MouseByte&) = default;
};

// What the queue reports once it is idle after the mouse refused writes.
struct LiveWriteRefusal {
  int refused = 0;  // reports the mouse did not accept
  // The refused bytes whose content on the mouse is known: the pages show
  // these values again where the image differs.
  std::vector<MouseByte> mouse_holds;
};

class LiveWriteQueue {
 public:
  static constexpr std::uint64_t kSettleMicroseconds = 100'000;
  // Window events run at least this often while a write settles.
  static constexpr std::uint64_t kEventSliceMicroseconds = 10'000;

  explicit LiveWriteQueue(Transport& transport, BusyUi& busy = NoBusyUi());
  LiveWriteQueue(const LiveWriteQueue&) = delete;
  LiveWriteQueue& operator=(const LiveWriteQueue&) = delete;

  void SetBusyUi(BusyUi& busy) { busy_ = &busy; }

  // Queues `write` (dropping queued writes it rewrites) and, unless the queue
  // is sending, held or inside a transfer, sends everything queued before
  // returning. False when there is no CommandHandle (nothing queued), or when
  // the write was sent here and the mouse refused it.
  [[nodiscard]] bool Submit(const LiveWrite& write);

  // While a Hold lives, submitted writes are only queued; the last Hold to
  // end sends them and then reports refusals (see SetRefusalHandler).
  class Hold {
   public:
    explicit Hold(LiveWriteQueue& queue) : queue_(&queue) { ++queue_->holds_; }
    ~Hold() { queue_->Release(); }
    Hold(const Hold&) = delete;
    Hold& operator=(const Hold&) = delete;

   private:
    LiveWriteQueue* queue_;
  };

  // Brackets a block transfer of the command set. At its start queued writes
  // are sent first (without running window events), and the transfer waits
  // for the rest of the last write's 100 ms; writes submitted while it runs
  // are sent once the outermost transfer ends.
  class Transfer {
   public:
    explicit Transfer(LiveWriteQueue& queue) : queue_(&queue) { queue_->BeginTransfer(); }
    ~Transfer() { queue_->EndTransfer(); }
    Transfer(const Transfer&) = delete;
    Transfer& operator=(const Transfer&) = delete;

   private:
    LiveWriteQueue* queue_;
  };

  // The mouse was lost or replaced: queued writes, refusals and what the
  // mouse was known to hold are dropped.
  void Clear();

  // The mouse holds `bytes` from `offset` of `block` (a complete read or an
  // accepted write); bytes past the section end are ignored.
  void MouseHolds(std::uint8_t block, std::size_t offset, std::span<const std::uint8_t> bytes);
  // What the mouse holds at a byte, when known.
  std::optional<std::uint8_t> MouseByteAt(std::uint8_t block, std::size_t offset) const;

  // Called when the last Hold ends, nothing is queued or being sent, and the
  // mouse refused writes since the last report.
  void SetRefusalHandler(std::function<void(const LiveWriteRefusal&)> handler) {
    on_refusal_ = std::move(handler);
  }

  bool Idle() const { return pending_.empty() && !sending_; }
  std::size_t QueuedWrites() const { return pending_.size(); }
  // Reports the mouse refused since the queue was made.
  int RefusedTotal() const { return refused_total_; }

 private:
  struct Entry {
    std::uint64_t id = 0;
    LiveWrite write;
  };

  void BeginTransfer();
  void EndTransfer();
  void Release();
  void Drain();
  void SendOne(const Entry& entry);
  void SettleWithEvents();
  void SettleQuietly();
  void ReportRefusals();
  std::vector<std::optional<std::uint8_t>>& Known(std::uint8_t block);

  Transport& transport_;
  BusyUi* busy_;
  std::deque<Entry> pending_;
  std::uint64_t next_id_ = 1;
  bool sending_ = false;
  int holds_ = 0;
  int transfers_ = 0;
  std::optional<std::uint64_t> last_sent_us_;
  std::vector<std::optional<std::uint8_t>> parameters_;
  std::vector<std::optional<std::uint8_t>> profiles_;
  std::vector<Entry> refused_;
  int refused_total_ = 0;
  std::function<void(const LiveWriteRefusal&)> on_refusal_;
};

}  // namespace korvex48
