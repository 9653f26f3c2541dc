#pragma once
// The window's part of the flows, for a terminal: messages are kept for the
// command to report, and the busy pop-up drives a progress bar on stderr. It
// is also the transport's issue sink: a trace file that fails is reported at
// once; nodes that could not be opened are kept, for the command's own
// failure line or, when the mouse was found anyway, for a warning.
#include <chrono>
#include <string>
#include <vector>

#include "core/app/app_ui.h"
#include "core/device/transport_issues.h"

namespace korvex48::cli {

class CliUi final : public NullAppUi, public TransportIssueSink {
 public:
  std::vector<AppMessage> messages;

  void Report(const TransportIssue& issue) override;
  // Prints the open problems kept so far as warnings, and forgets them.
  void PrintOpenProblems();
  // Forgets them (before the mouse is searched again).
  void ForgetOpenProblems() { open_problems_.clear(); }

  // A bar for a transfer of about `expected` reports; drawn only when stderr
  // is a terminal and the transfer has run for more than half a second.
  void BeginProgress(std::string label, int expected);
  void EndProgress();

  void Show() override;
  void ShowMessage(const AppMessage& message) override { messages.push_back(message); }

 private:
  void Draw(bool final);
  std::vector<TransportIssue> open_problems_;
  bool active_ = false;
  bool drawn_ = false;
  bool terminal_ = false;
  std::string label_;
  int expected_ = 1;
  int done_ = 0;
  std::chrono::steady_clock::time_point start_;
  std::chrono::steady_clock::time_point last_draw_;
};

}  // namespace korvex48::cli
