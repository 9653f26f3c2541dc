#include "core/editing/undo_history.h"

#include "core/config/config_diff.h"
#include "core/editing/page_editor.h"

namespace korvex48 {

std::string DescribeChange(const Configuration& from, const Configuration& to) {
  const std::vector<std::string> lines = ConfigurationDifferences(from, to);
  if (lines.empty()) return "nothing";
  std::string text = lines.front();
  if (lines.size() == 2) text += " and 1 more change";
  if (lines.size() > 2) text += " and " + std::to_string(lines.size() - 1) + " more changes";
  return text;
}

UndoHistory::Change::~Change() {
  if (history_) history_->End();
}

std::optional<Configuration> UndoHistory::MouseValue() const {
  // Only a whole read tells what the mouse holds.
  const AppCore& core = editor_.Core();
  if (!core.DeviceUsable() || !core.ImageRead()) return std::nullopt;
  return editor_.CurrentConfiguration();
}

UndoHistory::Change UndoHistory::Begin(std::string control, std::string name) {
  if (depth_++ == 0 && !applying_) {
    before_ = MouseValue();
    control_ = std::move(control);
    name_ = std::move(name);
  }
  return Change(this);
}

void UndoHistory::End() {
  if (--depth_ > 0 || applying_ || !before_) return;
  const Configuration before = std::move(*before_);
  before_.reset();
  const std::optional<Configuration> after = MouseValue();
  if (!after || *after == before) return;

  if (!control_.empty() && control_ == open_control_ && !undo_.empty() &&
      undo_.back().after == before) {
    // The same control again: one step from where it started.
    Step& step = undo_.back();
    step.after = *after;
    if (step.after == step.before) {
      undo_.pop_back();
      open_control_.clear();
    }
    Changed();
    return;
  }
  undo_.push_back({before, *after, control_, name_});
  redo_.clear();
  open_control_ = control_;
  Changed();
}

std::string UndoHistory::NextUndo() const {
  if (undo_.empty()) return {};
  const Step& step = undo_.back();
  return step.name.empty() ? DescribeChange(step.after, step.before) : step.name;
}

std::string UndoHistory::NextRedo() const {
  if (redo_.empty()) return {};
  const Step& step = redo_.back();
  return step.name.empty() ? DescribeChange(step.before, step.after) : step.name;
}

UndoResult UndoHistory::Undo() { return Move(undo_, redo_, true); }
UndoResult UndoHistory::Redo() { return Move(redo_, undo_, false); }

UndoResult UndoHistory::Move(std::vector<Step>& from, std::vector<Step>& to, bool undo) {
  UndoResult result;
  const std::string verb = undo ? "undo" : "redo";
  if (from.empty()) {
    result.notice = "Nothing to " + verb + ".";
    return result;
  }
  if (depth_ > 0 || applying_) {
    result.notice = "Not " + verb + "ne: another change is still being sent to the mouse.";
    return result;
  }
  const Step& step = from.back();
  const Configuration& target = undo ? step.before : step.after;
  const std::string what = undo ? NextUndo() : NextRedo();

  const int refused_before = editor_.RefusedWrites();
  applying_ = true;
  const ConfigApplyResult applied = editor_.ApplyConfiguration(target);
  applying_ = false;
  const std::optional<Configuration> now = MouseValue();
  open_control_.clear();

  if (applied.status != ConfigApplyStatus::kApplied || editor_.RefusedWrites() > refused_before ||
      !now || *now != target) {
    std::string why = applied.problem;
    if (why.empty()) {
      why = editor_.RefusedWrites() > refused_before ? "the mouse did not take the change"
                                                     : "the mouse does not hold it";
    }
    result.notice = "Not " + verb + "ne: " + what + " (" + why + ").";
    return result;
  }
  to.push_back(std::move(from.back()));
  from.pop_back();
  result.done = true;
  result.notice = (undo ? "Undone: " : "Redone: ") + what;
  Changed();
  return result;
}

void UndoHistory::MouseRead() {
  if (depth_ > 0 || applying_) return;
  Clear();
}

void UndoHistory::Clear() {
  const bool had = !undo_.empty() || !redo_.empty();
  undo_.clear();
  redo_.clear();
  open_control_.clear();
  if (had) Changed();
}

}  // namespace korvex48
