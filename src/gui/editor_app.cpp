#include "gui/editor_app.h"

#include <QEvent>
#include <QFile>
#include <QFileInfo>
#include <QTimer>
#include <QWindow>
#include <QtGlobal>

#include "backends/desktop/desktop_pointers.h"
#include "core/backups/backup_journal.h"
#include "core/common/file_io.h"
#include "core/common/unicode_text.h"
#include "core/config/config_text.h"
#include "core/files/profile_file.h"
#include "gui/backups_dialog.h"
#include "gui/page_group.h"
#include "gui/pages/advanced_page.h"
#include "gui/pages/macro_commands.h"
#include "gui/pages/pointer_bars.h"
#include "gui/pages/update_page.h"
#include "gui/single_instance.h"
#include "gui/undo_controls.h"
#include "gui/user_dialogs.h"
#include "gui/window_pointer.h"

namespace korvex48::gui {
namespace {

constexpr std::size_t kMinDefaultImageBytes = 768;
constexpr std::size_t kMaxDefaultImageBytes = 1u << 20;
// Neither form of a configuration comes near this.
constexpr std::size_t kMaxConfigTextBytes = 1u << 20;
constexpr const char* kUnreadConfigurationText =
    "The mouse's configuration was not read whole: nothing was saved.";
// What Reset erases, asked before it does.
const QString kResetQuestion = QStringLiteral(
    "Reset the mouse to its defaults?\n\nThis erases, on the mouse, the functions of the "
    "buttons in all three profiles, the DPI levels, the report rate, the lighting and every "
    "macro stored on the mouse. It cannot be undone.");

// The first bytes of a file, enough to tell the text form from a binary
// profile; empty when it cannot be read (the load that follows says why).
std::string FirstBytes(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return {};
  return file.read(64).toStdString();
}

}  // namespace

std::optional<std::vector<std::uint8_t>> ReadDefaultImageFile(const std::string& path,
                                                              std::string* error) {
  FileError file_error;
  auto image = ReadWholeFile(path, &file_error, kMaxDefaultImageBytes);
  if (!image) {
    if (error) *error = file_error.path + ": " + file_error.message;
    return std::nullopt;
  }
  if (image->size() < kMinDefaultImageBytes) {
    if (error) *error = path + ": a default image has 768 bytes or more";
    return std::nullopt;
  }
  return image;
}

QString PollOutcomeText(PollOutcome outcome, const DevInfoResult& info) {
  switch (outcome) {
    case PollOutcome::kBusy:
      return QStringLiteral("busy");
    case PollOutcome::kUnchanged:
      return QStringLiteral("unchanged");
    case PollOutcome::kLost:
      return QStringLiteral("lost");
    case PollOutcome::kNotFound:
      return QStringLiteral("not-found");
    case PollOutcome::kHeld:
      return QStringLiteral("held");
    case PollOutcome::kOpened:
      break;
  }
  switch (info.outcome) {
    case DevInfoOutcome::kNotSent:
      return QStringLiteral("opened not-sent");
    case DevInfoOutcome::kUnknownPrimary:
      return QStringLiteral("opened unknown-primary");
    case DevInfoOutcome::kNoSecondary:
      return QStringLiteral("opened no-secondary");
    case DevInfoOutcome::kStorageMismatch:
      return QStringLiteral("opened storage-mismatch");
    case DevInfoOutcome::kRefused:
      return QStringLiteral("opened refused");
    case DevInfoOutcome::kAccepted:
      return QStringLiteral("opened accepted");
    case DevInfoOutcome::kReadIncomplete:
      return QStringLiteral("opened read-incomplete");
  }
  return QStringLiteral("opened");
}

void LoggedIssues::Report(const TransportIssue& issue) {
  qWarning("korvex48: %s", EscapeForTerminal(issue.message).c_str());
}

std::unique_ptr<EditorApp> EditorApp::Create(const EditorAppConfig& config, std::string* error) {
  std::unique_ptr<EditorApp> app(new EditorApp);
  app->clock_ = config.clock ? config.clock : &DefaultClock();

  std::optional<std::vector<std::uint8_t>> default_image;
  if (!config.device.default_image_file.empty()) {
    default_image = ReadDefaultImageFile(config.device.default_image_file, error);
    if (!default_image) return nullptr;
  }
  if (!config.ui_log_file.empty()) {
    app->ui_log_ = std::make_unique<QFile>(QString::fromStdString(config.ui_log_file));
    if (!app->ui_log_->open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Text)) {
      if (error) *error = config.ui_log_file + ": " + app->ui_log_->errorString().toStdString();
      return nullptr;
    }
  }

  // Tables, skin and language 1.
  app->window_ = MainWindow::Create(
      config.dialogs, nullptr, error, config.languages,
      config.later_pages ? MainWindow::PagesBuilt::kLater : MainWindow::PagesBuilt::kAtOnce);
  if (!app->window_) return nullptr;
  MainWindow& window = *app->window_;

  // The mouse as the options say; nothing is searched yet.
  app->link_ = MakeDeviceLink(config.device, *app->clock_, error, config.backend, &app->issues_);
  if (!app->link_.transport) return nullptr;
  app->ui_ = std::make_unique<WindowAppUi>(window);
  EngineOptions options;
  MainWindow* shown = app->window_.get();
  options.text = [shown](std::string_view key) { return shown->Context().Texts().Text(key); };
  options.reserve_manu_id = window.Context().settings.rev_manu_id;
  options.reserve_pro_id = window.Context().settings.rev_pro_id;
  if (default_image) options.default_image = std::move(*default_image);
  options.backup_folder =
      config.backup_folder.empty() ? DefaultBackupFolder() : config.backup_folder;
  // Default identifiers, customer identifier and storage kind, the device
  // identifier table, the working image from the default image, and the page
  // editor's state taken from it.
  app->engine_ = std::make_unique<Engine>(*app->link_.transport, *app->ui_, *app->clock_, options);
  AppCore& core = app->engine_->Core();
  // A real mouse that does not show up: the no-device look names why.
  if (!config.device.simulate && !config.backend)
    app->engine_->MouseConnection().SetMachineFacts(&app->machine_facts_);

  // The pages show and edit the image through the page editor.
  app->page_commands_ = std::make_unique<PageCommands>(window, app->engine_->Editor());
  // Undo and redo of the mouse's changes; the pages bracket the changes they
  // make through the flows with the same history.
  UndoHistory& history = app->engine_->Editor().History();
  app->undo_controls_ =
      std::make_unique<UndoControls>(window, history, *app->ui_, app->page_commands_->Notice());
  window.Context().history = &history;
  // The PC macro library (created from the default library on a first
  // start), the Macro and Update pages.
  app->macro_commands_ = std::make_unique<MacroCommands>(
      window, core, app->engine_->MacroFlows(), app->engine_->Firmware(), app->engine_->Files(),
      app->engine_->Editor(), *app->ui_, config.library_path);
  window.ShowImage();
  app->MakePointerSettings(config);
  app->Wire();
  return app;
}

void EditorApp::MakePointerSettings(const EditorAppConfig& config) {
  std::vector<DesktopPointer*> desktops;
  if (config.pointer_desktops) {
    desktops = *config.pointer_desktops;
  } else {
    // Nothing is opened here: each desktop connects at its first read.
    desktops_ = MakeDesktopPointers(SessionDesktopKinds());
    desktops_.push_back(std::make_unique<WindowPointer>());
    for (const auto& d : desktops_) desktops.push_back(d.get());
  }
  pointer_ = std::make_unique<PointerSettings>(
      config.pointer_store.empty() ? PointerSettings::DefaultStorePath() : config.pointer_store,
      std::move(desktops));
  if (window_->LaterPagesBuilt()) {
    window_->Advanced()->Pointer()->Bind(pointer_.get());
  } else {
    connect(window_.get(), &MainWindow::laterPagesBuilt, this,
            [this] { window_->Advanced()->Pointer()->Bind(pointer_.get()); });
  }
  window_->installEventFilter(this);  // see eventFilter
}

EditorApp::~EditorApp() {
  // The window's hooks and rules point into the objects below.
  if (window_) window_->DevicePolling().stop();
  macro_commands_.reset();
  if (window_ && window_->LaterPagesBuilt()) window_->Advanced()->Pointer()->Bind(nullptr);
  if (ui_) ui_->GetHooks() = {};
  if (window_) window_->Context().message_shown = nullptr;
  if (window_) window_->Context().history = nullptr;
  undo_controls_.reset();
  page_commands_.reset();
  engine_.reset();
}

void EditorApp::Wire() {
  MainWindow& window = *window_;
  connect(&window.DevicePolling(), &QTimer::timeout, this, [this] { Poll(); });
  connect(&window, &MainWindow::saveProfileRequested, this, &EditorApp::SaveProfile);
  connect(&window, &MainWindow::loadProfileRequested, this, &EditorApp::LoadProfile);
  connect(&window, &MainWindow::resetRequested, this, &EditorApp::Reset);
  connect(&window, &MainWindow::backupsRequested, this, [this] { OpenBackups(std::nullopt); });
  connect(&window, &MainWindow::closing, this,
          [this] { engine_->MouseConnection().ReleaseDevice(); });
  connect(&window, &MainWindow::pageChanged, this, [this](PageId page) {
    const int group = GroupOf(page);
    UiLog(QStringLiteral("page %1 %2").arg(NavNameOf(page), window_->Group(group)->objectName()));
  });
  connect(&window, &MainWindow::languageChanged, this,
          [this](int k) { UiLog(QStringLiteral("language %1").arg(k)); });
  WindowAppUi::Hooks& hooks = ui_->GetHooks();
  hooks.offer_recovery = [this](const CutReport& cut) { OpenBackups(cut); };
  // Bars not made yet are read when the window has been painted (see
  // eventFilter): a read of the mouse makes no pages.
  hooks.read_os_mouse_parameters = [this] {
    if (window_->LaterPagesBuilt()) window_->Advanced()->Pointer()->Refresh();
  };
  hooks.write_progress = [this](std::size_t done, std::size_t total) {
    window_->Update()->ShowProgress(done, total);
  };
  hooks.message_shown = [this](const AppMessage& message) {
    UiLog(QStringLiteral("message ") + QString::fromStdString(message.Describe()));
  };
  // The pages' own refusals (Str022 of a page button, say) are logged alike.
  window.Context().message_shown = [this](const std::string& described) {
    UiLog(QStringLiteral("message ") + QString::fromStdString(described));
  };
}

void EditorApp::Show() {
  window_->show();
  // Keys go to the page from the start (not to whatever control Tab would
  // reach first).
  window_->FocusPage();
  window_->DevicePolling().start();
}

bool EditorApp::eventFilter(QObject* watched, QEvent* event) {
  // The desktop's settings may take a bus or a server round trip: they are
  // read once the window is on the screen (its first expose), however it
  // was shown; the pages not on show are made then too. Both wait for the
  // next turn of the event loop, after the expose has painted the window.
  if (watched == window_.get() && event->type() == QEvent::Show) {
    window_->removeEventFilter(this);
    if (QWindow* handle = window_->windowHandle()) handle->installEventFilter(this);
  } else if (auto* handle = qobject_cast<QWindow*>(watched);
             handle && event->type() == QEvent::Expose && handle->isExposed()) {
    handle->removeEventFilter(this);
    QTimer::singleShot(0, window_.get(), [this] {
      window_->BuildLaterPages();
      window_->Advanced()->Pointer()->Refresh();
    });
  }
  return QObject::eventFilter(watched, event);
}

void EditorApp::RaiseOnRequest(SingleInstance& instance) {
  connect(&instance, &SingleInstance::raiseRequested, window_.get(), &MainWindow::RestoreAndRaise);
}

PollOutcome EditorApp::Poll() {
  const PollOutcome outcome = engine_->MouseConnection().Poll();
  if (outcome != PollOutcome::kUnchanged && outcome != PollOutcome::kBusy)
    UiLog(QStringLiteral("poll ") + PollOutcomeText(outcome, engine_->Core().LastDevInfo()));
  return outcome;
}

bool EditorApp::MouseShown() const {
  const DeviceSession& s = engine_->Core().Session();
  return s.HandlesValid() && !s.Loading && !s.NoDevicePage &&
         engine_->Core().LastDevInfo().outcome == DevInfoOutcome::kAccepted;
}

void EditorApp::ShowFileError(const FileError& error) {
  QString text = QString::fromStdString(error.path);
  if (!error.message.empty()) text += QStringLiteral("\n") + QString::fromStdString(error.message);
  window_->Context().dialogs.Message(text, window_->ApplicationTitle());
}

void EditorApp::SaveProfile() {
  ui_->CloseMenus();
  // Saving talks only to the file: a refused mouse (Loading) may be saved.
  if (!engine_->Core().Session().HandlesValid()) {
    ui_->ShowMessage({{"Str022"}, {}, MessageBoxKind::kOkBox, {}});
    return;
  }
  UserDialogs& dialogs = window_->Context().dialogs;
  const std::optional<QString> chosen = dialogs.SaveFile(kProfileSaveFilter);
  if (!chosen || chosen->isEmpty()) return;
  if (chosen->endsWith(QStringLiteral(".json"), Qt::CaseInsensitive)) {
    SaveConfigurationText(*chosen);
    return;
  }
  // ".bin" is always appended, so the dialog cannot know the real target:
  // the question about replacing a file is asked here, for that target.
  const QString target = QString::fromStdString(ProfileFileTarget(chosen->toStdString()));
  if (QFileInfo::exists(target) &&
      !dialogs.Confirm(QStringLiteral("%1 already exists.\nDo you want to replace it?")
                           .arg(QFileInfo(target).fileName()),
                       window_->ApplicationTitle()))
    return;
  const FileCommandResult result = engine_->Editor().SaveProfile(target.toStdString());
  if (result.status == FileCommandStatus::kFileError) {
    ShowFileError(result.error);
    return;
  }
  if (result.ok()) UiLog(QStringLiteral("saved ") + QString::fromStdString(result.path));
}

void EditorApp::LoadProfile() {
  ui_->CloseMenus();
  if (!engine_->Files().RequireOpenDevice()) return;
  const std::optional<QString> path = window_->Context().dialogs.OpenFile(kProfileLoadFilter);
  if (!path || path->isEmpty()) return;
  // One step of the undo history, whatever the load writes.
  const UndoHistory::Change change = engine_->Editor().History().Begin(
      {}, "Load Profile " + QFileInfo(*path).fileName().toStdString());
  if (LooksLikeConfigurationText(FirstBytes(*path))) {
    LoadConfigurationText(*path);
    return;
  }
  const FileCommandResult result = engine_->Files().LoadProfile(path->toStdString());
  if (result.status == FileCommandStatus::kFileError) {
    ShowFileError(result.error);
    return;
  }
  if (result.ok()) UiLog(QStringLiteral("loaded ") + QString::fromStdString(result.path));
}

void EditorApp::SaveConfigurationText(const QString& path) {
  UserDialogs& dialogs = window_->Context().dialogs;
  if (!engine_->Core().ImageRead()) {
    ui_->ShowMessage({{},
                      kUnreadConfigurationText,
                      MessageBoxKind::kPlain,
                      engine_->Core().LastTransferProblem()});
    return;
  }
  if (QFileInfo::exists(path) &&
      !dialogs.Confirm(QStringLiteral("%1 already exists.\nDo you want to replace it?")
                           .arg(QFileInfo(path).fileName()),
                       window_->ApplicationTitle()))
    return;
  // What the pages show, as the binary save writes it.
  const std::string text = ConfigurationToText(engine_->Editor().SavedConfiguration());
  FileError error;
  if (!WriteFileAtomically(
          path.toStdString(),
          std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()), &error)) {
    ShowFileError(error);
    return;
  }
  UiLog(QStringLiteral("saved ") + path);
}

void EditorApp::LoadConfigurationText(const QString& path) {
  UserDialogs& dialogs = window_->Context().dialogs;
  FileError error;
  const auto bytes = ReadWholeFile(path.toStdString(), &error, kMaxConfigTextBytes);
  if (!bytes) {
    ShowFileError(error);
    return;
  }
  TextProblem problem;
  const std::optional<Configuration> config = ConfigurationFromText(
      std::string_view(reinterpret_cast<const char*>(bytes->data()), bytes->size()), &problem);
  if (!config) {
    dialogs.Message(
        QFileInfo(path).fileName() + QStringLiteral("\n") + QString::fromStdString(problem.Line()),
        window_->ApplicationTitle());
    return;
  }
  const ConfigApplyResult result =
      engine_->Editor().ApplyConfiguration(*config, false, {"load-profile", path.toStdString()});
  ui_->RefreshUI();
  switch (result.status) {
    case ConfigApplyStatus::kApplied:
      break;
    case ConfigApplyStatus::kWriteFailed:
      return;  // the macro save has told the user
    case ConfigApplyStatus::kNoBackup:
      return;  // the core has told the user
    case ConfigApplyStatus::kNoDevice:
    case ConfigApplyStatus::kRefused:
      dialogs.Message(QFileInfo(path).fileName() + QStringLiteral("\n") +
                          QString::fromStdString(result.problem),
                      window_->ApplicationTitle());
      return;
  }
  // The connection has told the user that the mouse refused the restart: the
  // change did not all happen, so no list of what changed follows.
  if (result.restart_refused) return;
  QString text = result.differences.empty()
                     ? QStringLiteral("The mouse already holds this configuration.")
                     : QStringLiteral("Changed on the mouse:");
  for (const std::string& line : result.differences)
    text += QStringLiteral("\n") + QString::fromStdString(line);
  dialogs.Message(text, window_->ApplicationTitle());
  UiLog(QStringLiteral("loaded ") + path);
}

void EditorApp::OpenBackups(std::optional<CutReport> cut) {
  ui_->CloseMenus();
  BackupJournal* journal = engine_->Journal();
  if (!journal) return;
  const std::vector<BackupEntry> entries = journal->Store().List();
  auto* dialog = new BackupsDialog(window_->Context(), window_.get(), entries, std::move(cut));
  connect(dialog, &BackupsDialog::restoreRequested, this, [this, entries](int row) {
    const BackupEntry& e = entries[static_cast<std::size_t>(row)];
    RestoreFile(e.BeforeFile(),
                {"restore", std::to_string(row + 1) + " (before " + e.change + ")"});
  });
  connect(dialog, &BackupsDialog::finishRequested, this, [this, entries] {
    if (entries.empty()) return;
    RestoreFile(entries.front().TargetFile(),
                {"restore", "--finish (" + entries.front().change + ")"});
  });
  dialog->Open();
  UiLog(QStringLiteral("backups"));
}

void EditorApp::RestoreFile(const std::string& path, const ChangeLabel& label) {
  UserDialogs& dialogs = window_->Context().dialogs;
  if (!engine_->Files().RequireOpenDevice()) return;
  // A whole-image write that stopped left the configuration unknown: it is
  // read whole first, as a restore changes only what differs.
  if (!engine_->Core().ImageRead() && !engine_->Images().ReadConfiguration()) return;
  std::string problem;
  const std::optional<ConfigImage> image =
      BackupImage(path, engine_->Editor().MouseImage(), engine_->Core().Layout(), &problem);
  if (!image) {
    dialogs.Message(QString::fromStdString(problem), window_->ApplicationTitle());
    return;
  }
  const ConfigApplyResult result = engine_->Editor().ApplyImage(*image, false, label);
  ui_->RefreshUI();
  switch (result.status) {
    case ConfigApplyStatus::kApplied:
      break;
    case ConfigApplyStatus::kWriteFailed:
    case ConfigApplyStatus::kNoBackup:
      return;  // the core has told the user
    case ConfigApplyStatus::kNoDevice:
    case ConfigApplyStatus::kRefused:
      dialogs.Message(QString::fromStdString(result.problem), window_->ApplicationTitle());
      return;
  }
  QString text = result.differences.empty() ? QStringLiteral("The mouse holds the backup.")
                                            : QStringLiteral("Changed on the mouse:");
  for (const std::string& line : result.differences)
    text += QStringLiteral("\n") + QString::fromStdString(line);
  dialogs.Message(text, window_->ApplicationTitle());
  UiLog(QStringLiteral("restored ") + QString::fromStdString(path));
}

void EditorApp::Reset() {
  // One key on a focused Reset must not wipe the mouse: it asks first, with
  // No as the answer of Return. Without a mouse the reset says so itself.
  if (engine_->Core().DeviceUsable() &&
      !window_->Context().dialogs.ConfirmIrreversible(kResetQuestion, window_->ApplicationTitle()))
    return;
  const UndoHistory::Change change = engine_->Editor().History().Begin({}, "Reset");
  if (engine_->Images().ResetMouse()) UiLog(QStringLiteral("reset"));
}

void EditorApp::UiLog(const QString& line) {
  if (!ui_log_) return;
  ui_log_->write((line + QLatin1Char('\n')).toUtf8());
  ui_log_->flush();
}

}  // namespace korvex48::gui
