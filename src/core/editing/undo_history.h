#pragma once
// Undo and redo of the user's changes to the mouse, as whole configurations.
//
// A step is the value the mouse held before a change and the value it held
// after it. An undo makes the mouse hold the value before again through
// PageEditor::ApplyConfiguration: only what differs is sent, device macros
// through the device macro save, whose order leaves every button on its macro
// or its fallback at any cut; a redo makes it hold the value after.
//
// A change is bracketed by a Change (Begin): the value is taken as it starts
// and again as it ends, after the live writes went out and the bytes the
// mouse refused were put back. A change that leaves the value as it was
// (refused, or nothing to change) is no step. Changes made while another one
// runs (inside the 100 ms of its live writes) belong to the outer one. The
// changes of one control in a row (the steps of a bar, the digits of a typed
// number) are one step: a Change names its control, and a change of the same
// control right after the last step's is folded into that step.
//
// The history belongs to the mouse that was read: a whole read that is no
// part of a change or of an undo (another mouse, or the mouse found again)
// starts it over. Without a whole read of the mouse nothing is recorded.
#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "core/config/configuration.h"

namespace korvex48 {

class PageEditor;

struct UndoResult {
  bool done = false;   // the mouse now holds the value of the other side
  std::string notice;  // one line: what was undone or redone, or why not
};

class UndoHistory {
 public:
  // `editor` must outlive the history.
  explicit UndoHistory(PageEditor& editor) : editor_(editor) {}
  UndoHistory(const UndoHistory&) = delete;
  UndoHistory& operator=(const UndoHistory&) = delete;

  // An open change; it ends when this goes. A default one belongs to no
  // history and does nothing.
  class Change {
   public:
    Change() = default;
    Change(Change&& other) noexcept : history_(other.history_) { other.history_ = nullptr; }
    Change(const Change&) = delete;
    Change& operator=(const Change&) = delete;
    Change& operator=(Change&&) = delete;
    ~Change();

   private:
    friend class UndoHistory;
    explicit Change(UndoHistory* history) : history_(history) {}
    UndoHistory* history_ = nullptr;
  };

  // Opens a change. `control` names the control it comes from when its
  // changes in a row are one step ("dpi value 3"), else empty. `name` is what
  // the notice calls it ("device macro deleted"); empty: the notice names the
  // first difference of the configurations.
  [[nodiscard]] Change Begin(std::string control = {}, std::string name = {});

  bool CanUndo() const { return !undo_.empty(); }
  bool CanRedo() const { return !redo_.empty(); }
  std::size_t UndoSteps() const { return undo_.size(); }
  std::size_t RedoSteps() const { return redo_.size(); }
  // What the next undo or redo would say it did ("dpi level 3: 1600 ->
  // 1000"); empty when there is none.
  std::string NextUndo() const;
  std::string NextRedo() const;

  // The last step back, or the last undone step again. The stacks change
  // only when the mouse took all of it; otherwise the notice says why not.
  UndoResult Undo();
  UndoResult Redo();

  // A whole read of the mouse ended (PageEditor tells it): outside a change
  // or an undo, the history starts over.
  void MouseRead();
  // Forgets every step.
  void Clear();

  // Called whenever the steps changed (a new step, an undo, a redo, a clear).
  void SetListener(std::function<void()> listener) { listener_ = std::move(listener); }

 private:
  struct Step {
    Configuration before;
    Configuration after;
    std::string control;
    std::string name;
  };

  std::optional<Configuration> MouseValue() const;
  void End();
  UndoResult Move(std::vector<Step>& from, std::vector<Step>& to, bool undo);
  void Changed() {
    if (listener_) listener_();
  }

  PageEditor& editor_;
  std::vector<Step> undo_;
  std::vector<Step> redo_;
  int depth_ = 0;          // open changes
  bool applying_ = false;  // an undo or redo runs
  // The outermost open change.
  std::optional<Configuration> before_;
  std::string control_;
  std::string name_;
  // The control of the last step, while the next change of that control
  // folds into it.
  std::string open_control_;
  std::function<void()> listener_;
};

// One line for the notice: the configuration's differences from `from` to
// `to` named by their first ("dpi level 3: 1600 -> 1000"), with how many
// more there are.
std::string DescribeChange(const Configuration& from, const Configuration& to);

}  // namespace korvex48
