#pragma once
// The editor as one object: the main window over the mouse the options name,
// wired in the start-up order of the connection flows. The window's creation
// loads the tables and applies language 1; then the core takes the default
// image (its identifiers, customer identifier and storage kind) and fills the
// pages from it. No device is searched during the start: the first PollTimer
// tick, 3.5 s later, sees the HID count rise and opens the mouse after the
// 2.1 s wait of the poll step.
//
// This is the only place that creates the pages' logic and connects it to the
// window. main() makes one and runs the event loop; the GUI tests make theirs
// the same way, on the offscreen platform with a fake clock, a simulated mouse
// (given as the backend) and scripted dialogs.
#include <QFile>
#include <QObject>
#include <QString>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "backends/device_factory.h"
#include "backends/hidraw/machine_facts.h"
#include "core/app/app_core.h"
#include "core/common/clock.h"
#include "core/device/command_set.h"
#include "core/device/device_options.h"
#include "core/editing/engine.h"
#include "core/pointer/pointer_settings.h"
#include "gui/main_window.h"
#include "gui/pages/page_commands.h"
#include "gui/window_app_ui.h"

namespace korvex48::gui {

class MacroCommands;
class SingleInstance;
class UndoControls;
class UserDialogs;

// The transport's problems in the editor: logged as warnings; what the user
// must know comes as messages from the flows.
class LoggedIssues final : public TransportIssueSink {
 public:
  void Report(const TransportIssue& issue) override;
};

struct EditorAppConfig {
  DeviceOptions device;
  std::string library_path;        // Macro.bin to use; empty: the default place
  std::string ui_log_file;         // one line per UI event (see UiLog); empty: none
  UserDialogs* dialogs = nullptr;  // nullptr: the Qt dialogs
  Clock* clock = nullptr;          // nullptr: DefaultClock()
  // The mouse to talk to, not owned; nullptr: what `device` names. The
  // trace file of `device` still applies.
  HidBackend* backend = nullptr;
  std::optional<LanguageSet> languages;  // nullopt: the shipped language tables
  // The desktops the pointer bars reach (nullopt: the session's own and the
  // editor's window) and the file that keeps their values (empty:
  // PointerSettings::DefaultStorePath()).
  std::optional<std::vector<DesktopPointer*>> pointer_desktops;
  std::string pointer_store;
  // The pages of groups 2..5, the macro library and the pointer bars' binding
  // wait until the window has been painted for the first time (the program
  // itself); false makes them with the window.
  bool later_pages = false;
  // Where the backups of larger changes go; empty: DefaultBackupFolder().
  std::string backup_folder;
};

// Reads a default device image given by --default-image: at most 1 MiB, at
// least the 768 bytes of an image. nullopt with `error` otherwise.
std::optional<std::vector<std::uint8_t>> ReadDefaultImageFile(const std::string& path,
                                                              std::string* error);

class EditorApp final : public QObject {
  Q_OBJECT

 public:
  // Builds and starts everything but shows nothing and polls nothing yet;
  // nullptr with `error` when a table, the default image file, the state file
  // of the simulated mouse or the trace file cannot be used.
  static std::unique_ptr<EditorApp> Create(const EditorAppConfig& config, std::string* error);
  ~EditorApp() override;

  // Shows the window and starts PollTimer (its first tick 3500 ms later).
  void Show();
  // A second start announced through `instance` restores and raises the
  // window. `instance` must outlive the editor.
  void RaiseOnRequest(SingleInstance& instance);

  MainWindow& Window() { return *window_; }
  AppCore& Core() { return engine_->Core(); }
  Engine& GetEngine() { return *engine_; }
  PageEditor& Editor() { return engine_->Editor(); }
  PageCommands& Commands() { return *page_commands_; }
  PointerSettings& Pointer() { return *pointer_; }
  Transport& Link() { return *link_.transport; }
  // The simulated mouse (--simulate), else nullptr.
  SimulatedMouse* Simulated() { return link_.simulated; }
  // One PollTimer tick; what it did is also logged ("poll ...").
  PollOutcome Poll();
  // True when a mouse was accepted and read, and is still open.
  bool MouseShown() const;

  // The navigation bar's commands.
  void SaveProfile();
  void LoadProfile();
  void Reset();
  // The backups dialog; `cut`: a change that did not finish, offered to be
  // finished or undone.
  void OpenBackups(std::optional<CutReport> cut);
  // Makes the mouse hold the profile file `path` (a backup or a change's
  // target) through ApplyImage, backed up first as `label`.
  void RestoreFile(const std::string& path, const ChangeLabel& label);

  // Appends `line` to the UI log when there is one. Lines: "page <Nav>
  // <group objectName>", "language <k>", "message <keys or text>", "poll
  // <outcome>", "saved <path>", "loaded <path>".
  void UiLog(const QString& line);

 private:
  EditorApp() = default;
  void Wire();
  void MakePointerSettings(const EditorAppConfig& config);
  bool eventFilter(QObject* watched, QEvent* event) override;
  void ShowFileError(const FileError& error);
  // The text form of the configuration (korvex48-config(5)), chosen by the
  // file's name when saving and by its content when loading.
  void SaveConfigurationText(const QString& path);
  void LoadConfigurationText(const QString& path);

  Clock* clock_ = nullptr;
  std::unique_ptr<MainWindow> window_;
  LoggedIssues issues_;  // before link_: the transport reports into it until it goes
  DeviceLink link_;
  std::unique_ptr<WindowAppUi> ui_;
  // What the no-device look's access checks ask the system (hidraw only);
  // before engine_, which keeps a pointer to it.
  LinuxMachineFacts machine_facts_;
  std::unique_ptr<Engine> engine_;
  std::unique_ptr<PageCommands> page_commands_;
  std::unique_ptr<UndoControls> undo_controls_;
  std::unique_ptr<MacroCommands> macro_commands_;
  std::unique_ptr<QFile> ui_log_;
  std::vector<std::unique_ptr<DesktopPointer>> desktops_;
  std::unique_ptr<PointerSettings> pointer_;
};

// Text of a poll outcome for logs ("unchanged", "lost", "opened accepted", ...).
QString PollOutcomeText(PollOutcome outcome, const DevInfoResult& info);

}  // namespace korvex48::gui
