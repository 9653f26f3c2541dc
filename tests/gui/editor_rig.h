#pragma once
// The real editor for widget tests: EditorApp::Create over a simulated mouse
// whose reports are traced, on a fake clock that can also play the user
// inside the waits (ScriptedClock), with scripted dialogs and a private PC
// macro library. The window is shown; PollTimer is not started, so
// polling happens only when a test calls Poll().
//
//   EditorRig rig(EditorRigOptions().WithMouse([](SimulatedMouse& m) { ... }));
//   rig.Click("Btn_Switch_1");
//   QCOMPARE(rig.Sent(), QStringList{"40 05 00 21 01 00 00 01"});
#include <QListWidget>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <functional>
#include <memory>
#include <optional>

#include "../support/scripted_clock.h"
#include "core/common/clock.h"
#include "core/device/protocol_trace.h"
#include "core/device/simulated_mouse.h"
#include "core/ui/language.h"
#include "gui/editor_app.h"
#include "gui/scripted_dialogs.h"

namespace korvex48::gui::test {

// The default device image of a "Flash" + "Flash" mouse.
inline const QString kFlashFlashImage =
    QStringLiteral(KORVEX48_SOURCE_DIR "/resources/image/KORVEX48DATA-flash-flash");

struct EditorRigOptions {
  SimulatedStorage storage = SimulatedStorage::kI2C;
  // Default image file (e.g. kFlashFlashImage); empty: the built-in one.
  QString default_image;
  // Changes the mouse before the editor starts.
  std::function<void(SimulatedMouse&)> prepare;
  // Runs before the editor starts, with the path of its library file.
  std::function<void(const QString&)> prepare_library;
  // The first poll finds and reads the mouse.
  bool connect = true;
  // Language tables instead of the shipped ones.
  std::optional<LanguageSet> languages;
  // The desktops the pointer bars reach (none by default); their values are
  // kept in the rig's folder (PointerStorePath()).
  std::vector<DesktopPointer*> pointer_desktops;
  // The editor writes its --ui-log to the rig's folder (UiLog()).
  bool ui_log = false;

  // Setters for one-line rigs: EditorRig rig(EditorRigOptions().WithMouse(f)).
  EditorRigOptions& WithStorage(SimulatedStorage kind) {
    storage = kind;
    return *this;
  }
  EditorRigOptions& WithDefaultImage(const QString& path) {
    default_image = path;
    return *this;
  }
  EditorRigOptions& WithMouse(std::function<void(SimulatedMouse&)> f) {
    prepare = std::move(f);
    return *this;
  }
  EditorRigOptions& WithLibrary(std::function<void(const QString&)> f) {
    prepare_library = std::move(f);
    return *this;
  }
  EditorRigOptions& WithLanguages(LanguageSet set) {
    languages = std::move(set);
    return *this;
  }
  EditorRigOptions& WithPointerDesktops(std::vector<DesktopPointer*> desktops) {
    pointer_desktops = std::move(desktops);
    return *this;
  }
  EditorRigOptions& WithUiLog() {
    ui_log = true;
    return *this;
  }
  EditorRigOptions& Unconnected() {
    connect = false;
    return *this;
  }
};

class EditorRig {
 public:
  // Builds, shows and (with `connect`) connects the editor; then empties the
  // trace and the dialogs' messages (`start_messages` keeps the latter).
  explicit EditorRig(const EditorRigOptions& options = {});
  ~EditorRig();

  EditorApp& App() { return *app; }
  MainWindow& Window() { return app->Window(); }
  AppCore& Core() { return app->Core(); }
  ImageFlows& Images() { return app->GetEngine().Images(); }
  DeviceMacroFlows& MacroFlows() { return app->GetEngine().MacroFlows(); }
  PageEditor& Editor() { return app->Editor(); }
  SimulatedMouse& Mouse() { return mouse; }
  QString LibraryPath() const { return dir.filePath(QStringLiteral("Macro.bin")); }
  QString PointerStorePath() const { return dir.filePath(QStringLiteral("pointer.conf")); }
  // The lines of the --ui-log so far (WithUiLog()).
  QStringList UiLog() const;
  // The reports sent (taken or not) since the start or ClearSent(), as
  // "40 05 00 21 02 00 00 01"; their times are trace.SentTimes().
  QStringList Sent() const;
  void ClearSent() { trace.Clear(); }
  // One PollTimer tick.
  PollOutcome Poll() { return app->Poll(); }

  // Controls by objectName (nullptr when missing), and what they show.
  QWidget* W(const QString& name) const;
  template <typename T>
  T* Get(const QString& name) const {
    return qobject_cast<T*>(W(name));
  }
  QString Picture(const QString& name) const;  // "<missing>" when not a picture
  QString Text(const QString& name) const;     // a label's or line edit's text
  bool Checked(const QString& name) const;
  QStringList Rows(const QString& list) const;  // the items of a list

  // The user's clicks: on the middle of a shown control (fails the test when
  // it is missing or hidden), and on row `row` of a list.
  void Click(const QString& name, Qt::MouseButton button = Qt::LeftButton);
  void RightClick(const QString& name) { Click(name, Qt::RightButton); }
  void ClickRow(const QString& list, int row, Qt::MouseButton button = Qt::LeftButton);

  QTemporaryDir dir;
  korvex48::testing::ScriptedClock clock;
  ScriptedDialogs dialogs;
  SimulatedMouse mouse;
  VectorTrace trace;  // every report the editor's transport tried
  QStringList start_messages;
  std::unique_ptr<EditorApp> app;
};

}  // namespace korvex48::gui::test
