// Program entry of the editor: options, the single-instance rule, the editor
// and the event loop.
#include <QApplication>
#include <QIcon>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "core/common/unicode_text.h"
#include "core/device/simulated_mouse.h"
#include "gui/editor_app.h"
#include "gui/gui_bench.h"
#include "gui/options.h"
#include "gui/scripted_dialogs.h"
#include "gui/session_bus.h"
#include "gui/single_instance.h"
#include "gui/skin.h"

int main(int argc, char** argv) {
  using namespace korvex48;
  using namespace korvex48::gui;
  // --help and --version need no display: answer them before Qt starts.
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--help" || arg == "-h") {
      std::fputs(GuiUsage().c_str(), stdout);
      return 0;
    }
    if (arg == "--version") {
      std::printf("korvex48 %s\n", KORVEX48_VERSION);
      return 0;
    }
  }
  // No session bus is started on the way to the first paint (session_bus.h).
  NameSessionBusBeforeStart();
  // While the toolkit connects to the display, another core decodes the
  // pictures of the first paint.
  EmbeddedSkin().DecodeAhead(MainWindow::FirstPaintPictures());
  QApplication app(argc, argv);  // takes Qt's own options out of argv
  QApplication::setApplicationName(QStringLiteral("korvex48"));
  QApplication::setApplicationVersion(QStringLiteral(KORVEX48_VERSION));
  QGuiApplication::setDesktopFileName(QStringLiteral("korvex48"));

  std::vector<std::string> args;
  const QStringList arguments = QApplication::arguments();
  for (qsizetype i = 1; i < arguments.size(); ++i) args.push_back(arguments[i].toStdString());
  OptionsResult parsed = ParseGuiOptions(args);
  if (!parsed.options) {
    std::fprintf(stderr, "korvex48: %s\n%s", EscapeForTerminal(parsed.error).c_str(),
                 GuiUsage().c_str());
    return 2;
  }
  const GuiOptions& options = *parsed.options;
  if (options.help) {
    std::fputs(GuiUsage().c_str(), stdout);
    return 0;
  }
  if (options.version) {
    std::printf("korvex48 %s\n", KORVEX48_VERSION);
    return 0;
  }

  // A benchmark run is a process of its own beside a running editor, and
  // answers every question itself.
  SingleInstance instance(kWindowTitle);
  if (!options.bench) {
    switch (instance.Claim()) {
      case SingleInstance::Outcome::kListening:
        break;
      case SingleInstance::Outcome::kRaisedOther:
        return 0;  // the running editor raises itself
      case SingleInstance::Outcome::kOtherSilent:
        std::fprintf(stderr, "korvex48: an editor is already running: %s\n",
                     EscapeForTerminal(instance.Error().toStdString()).c_str());
        return 1;
      case SingleInstance::Outcome::kLockPathTaken:
        std::fprintf(stderr, "korvex48: cannot tell whether an editor runs: %s\n",
                     EscapeForTerminal(instance.Error().toStdString()).c_str());
        return 1;
      case SingleInstance::Outcome::kNoSocket:
        // Better an editor that a second start cannot find than none.
        std::fprintf(stderr, "korvex48: starting without the single-instance socket: %s\n",
                     EscapeForTerminal(instance.Error().toStdString()).c_str());
        break;
    }
  }
  ScriptedDialogs bench_dialogs;

  EditorAppConfig config;
  config.device = options.device;
  // The simulated mouse takes only the report shapes a real mouse is known to
  // take: one it refuses is named in the log (the change then fails on it).
  korvex48::SimulatedMouse::SetRefusedShapeHook([](std::string_view shape) {
    std::fprintf(stderr, "korvex48: the simulated mouse refused a %s\n",
                 korvex48::EscapeForTerminal(shape).c_str());
  });
  config.library_path = options.library_path;
  config.ui_log_file = options.ui_log_file;
  config.later_pages = true;
  if (options.bench) config.dialogs = &bench_dialogs;
  std::string error;
  std::unique_ptr<EditorApp> editor = EditorApp::Create(config, &error);
  if (!editor) {
    std::fprintf(stderr, "korvex48: cannot start: %s\n", EscapeForTerminal(error).c_str());
    return 1;
  }
  MainWindow& window = editor->Window();
  editor->RaiseOnRequest(instance);
  // The first paint does not need the icon: it is decoded once the event loop runs.
  QMetaObject::invokeMethod(
      &window,
      [&window] {
        window.setWindowIcon(QIcon(window.Context().skin.Pixmap(QStringLiteral("korvex48"))));
      },
      Qt::QueuedConnection);

  if (options.bench) {
    const int status = RunBench(*editor, stdout);
    for (const QString& message : bench_dialogs.messages)
      std::fprintf(stderr, "korvex48: --bench: message: %s\n", qPrintable(message));
    return status;
  }
  editor->Show();
  return app.exec();
}
