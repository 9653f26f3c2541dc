// The USB report rate (bits 5-4 of parameter byte 6), and the restart that a
// higher rate needs before the mouse reports at it.
#include "core/editing/page_editor.h"

namespace korvex48 {
namespace {

constexpr std::uint8_t kRateByte = 6;

// Whether going to `hz` from the rate last taken in needs the restart: any
// rate above it, except that with nothing taken in only 1000 Hz does, and
// 125 Hz never does.
bool NeedsRestart(int hz, int taken_in) {
  switch (hz) {
    case 1000:
      return taken_in != 1000;
    case 500:
      return taken_in == 125 || taken_in == 250;
    case 250:
      return taken_in == 125;
    default:
      return false;
  }
}

}  // namespace

EditResult PageEditor::SetReportRate(int choice) {
  // One step with the restart and the read that follow it.
  const UndoHistory::Change change = history_.Begin();
  EditResult result;
  const int hz = ReportRateHz(choice);
  if (hz == 0) {
    return EditResult::Unavailable("report rate must be 125, 250, 500 or 1000 Hz");
  }
  state_.settings.report_rate_hz = hz;
  if (core_.Session().Loading) return result;

  const int refused_before = refused_writes_;
  {
    // The rate reaches the mouse (after the edits before it) before any
    // restart.
    const LiveWriteQueue::Hold hold = Edit();
    const auto byte = static_cast<std::uint8_t>((core_.Page().parameters[kRateByte] & 0xCF) |
                                                ((choice - 1) << 4));
    core_.SetPageParameter(kRateByte, byte);
    result.sent = WriteParameter(kRateByte, {byte});
  }
  // A rate the mouse refused is not worth a restart; the page shows the
  // mouse's rate again.
  if (refused_writes_ > refused_before) return result;
  if (NeedsRestart(hz, state_.rate_taken_in)) state_.reconnect_pending = true;
  if (!state_.reconnect_pending || !Live()) return result;

  state_.reconnect_pending = false;
  // The state follows: cleared when the mouse left, taken in again when it
  // came back and was read (the core tells the editor both).
  const RestartResult restart = connection_.RestartAndFindAgain(
      "The new report rate was written, but the restart it needs did not happen: the mouse "
      "refused the restart command.");
  if (restart == RestartResult::kRefused) {
    // The mouse still has the rate it had: the next change tries again.
    state_.reconnect_pending = true;
    result.restart_refused = true;
    return result;
  }
  result.restarted = true;
  return result;
}

}  // namespace korvex48
