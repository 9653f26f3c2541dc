#pragma once
// What keeps a larger change of the mouse undoable: before the first report
// of a change of more than one report, the mouse's whole configuration as
// read is kept (a backup) together with what the change means to reach (its
// journal); a change that went through is marked finished, and one that was
// cut is named for the user with what the mouse lost. The flows call it
// through AppCore (BeginChange, EndChange, ChangeWasCut); the Engine hands
// the core the implementation (core/backups).
#include <optional>
#include <string>
#include <vector>

#include "core/image/config_image.h"

namespace korvex48 {

// A change as the backups list it: `kind` names the flow ("load-profile",
// "reset", "macro-delete", "macro-add", "apply", "firmware", "restore"),
// `detail` what it was given (a file, a macro's name); may be empty.
struct ChangeLabel {
  std::string kind;
  std::string detail;
  // "kind detail", or the kind alone.
  std::string Text() const { return detail.empty() ? kind : kind + " " + detail; }
};

// A change that did not finish: what the mouse lost and what can be done.
struct CutReport {
  std::string change;  // ChangeLabel::Text() of the change
  // Each macro and button the mouse no longer holds as the user had them
  // ("macro 2 \"BBBB\"", "profile 2 button 3 (macro:BBBB)"); empty with
  // `known` when it lost nothing.
  std::vector<std::string> lost;
  // false: the mouse could not be read after the cut, and `lost` names what
  // the change was to replace, which the mouse may no longer hold.
  bool known = true;
  // The journal holds the configuration the change meant to reach, so the
  // change can be finished.
  bool can_finish = false;
  // Where the backup is (its folder).
  std::string backup;
  // One line, lower case, no full stop: "the mouse no longer holds macro 2
  // \"BBBB\" and profile 2 button 3 (macro:BBBB) as you had them".
  std::string LostLine() const;
};

class ChangeGuard {
 public:
  virtual ~ChangeGuard() = default;
  // Keeps `before` (the mouse's configuration as read, of `layout` and
  // primary storage `primary`) and, when given, `target` (what the mouse is
  // to hold after the change). False, with `problem` set, when that could
  // not be written: the change must not start.
  virtual bool Begin(const ChangeLabel& label, const ConfigImage& before, const ConfigImage* target,
                     StorageLayout layout, const std::string& primary, std::string* problem) = 0;
  // The change that began last went through.
  virtual void Finished() = 0;
  // The change that began last was cut; `now` is what the mouse holds as
  // read again (nullptr: it could not be read). nullopt when the mouse holds
  // just what it held before: nothing of the change reached it.
  virtual std::optional<CutReport> Cut(const ConfigImage* now) = 0;
  // After a whole read of the mouse: when the newest backup's journal says
  // its change did not finish and the mouse holds neither what it held before
  // nor what the change meant to reach, what it lost; nullopt otherwise (a
  // journal the mouse shows finished, or undone, is closed).
  virtual std::optional<CutReport> Unfinished(const ConfigImage& now, StorageLayout layout,
                                              const std::string& primary) = 0;
};

}  // namespace korvex48
