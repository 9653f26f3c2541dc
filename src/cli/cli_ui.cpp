#include "cli/cli_ui.h"

#include <unistd.h>

#include <algorithm>
#include <cstdio>

#include "core/common/unicode_text.h"

namespace korvex48::cli {
namespace {

constexpr auto kQuietTime = std::chrono::milliseconds(500);
constexpr auto kRedrawEvery = std::chrono::milliseconds(100);
constexpr int kBarWidth = 30;

}  // namespace

void CliUi::BeginProgress(std::string label, int expected) {
  active_ = true;
  drawn_ = false;
  terminal_ = isatty(STDERR_FILENO) == 1;
  label_ = std::move(label);
  expected_ = std::max(expected, 1);
  done_ = 0;
  start_ = last_draw_ = std::chrono::steady_clock::now();
}

void CliUi::EndProgress() {
  if (active_ && drawn_) Draw(true);
  active_ = false;
}

void CliUi::Show() {
  if (!active_) return;
  ++done_;
  if (!terminal_) return;
  const auto now = std::chrono::steady_clock::now();
  if (now - start_ < kQuietTime || now - last_draw_ < kRedrawEvery) return;
  last_draw_ = now;
  Draw(false);
}

void CliUi::Draw(bool final) {
  // Estimates can be short; the bar waits at 99 % until the transfer ends.
  const int percent = final ? 100 : std::min(99, done_ * 100 / expected_);
  const int filled = percent * kBarWidth / 100;
  std::string bar(static_cast<std::size_t>(filled), '#');
  bar.append(static_cast<std::size_t>(kBarWidth - filled), '.');
  std::fprintf(stderr, "\r%s [%s] %3d%%%s", label_.c_str(), bar.c_str(), percent,
               final ? "\n" : "");
  std::fflush(stderr);
  drawn_ = true;
}

void CliUi::Report(const TransportIssue& issue) {
  switch (issue.kind) {
    case TransportIssue::Kind::kCannotOpen:
      open_problems_.push_back(issue);
      return;
    case TransportIssue::Kind::kDeviceGone:
      // The command that was cut off says so in its own failure line.
      return;
    case TransportIssue::Kind::kTraceFailed:
      break;
  }
  if (active_ && drawn_) std::fputc('\n', stderr);
  std::fprintf(stderr, "korvex48ctl: warning: %s\n", EscapeForTerminal(issue.message).c_str());
}

void CliUi::PrintOpenProblems() {
  for (const TransportIssue& issue : open_problems_)
    std::fprintf(stderr, "korvex48ctl: warning: %s\n", EscapeForTerminal(issue.message).c_str());
  open_problems_.clear();
}

}  // namespace korvex48::cli
