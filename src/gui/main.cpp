// Program entry of the editor: options, the single-instance rule, the main
// window and the event loop.
#include <QApplication>
#include <QIcon>
#include <cstdio>
#include <string>
#include <vector>

#include "backends/device_factory.h"
#include "core/app/app_core.h"
#include "core/device/command_set.h"
#include "core/performance/page_editor.h"
#include "gui/main_window.h"
#include "gui/options.h"
#include "gui/pages/page_commands.h"
#include "gui/single_instance.h"
#include "gui/skin.h"
#include "gui/window_app_ui.h"

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
  QApplication app(argc, argv);  // takes Qt's own options out of argv
  QApplication::setApplicationName(QStringLiteral("korvex48"));
  QApplication::setApplicationVersion(QStringLiteral(KORVEX48_VERSION));
  QGuiApplication::setDesktopFileName(QStringLiteral("korvex48"));

  std::vector<std::string> args;
  const QStringList arguments = QApplication::arguments();
  for (qsizetype i = 1; i < arguments.size(); ++i) args.push_back(arguments[i].toStdString());
  OptionsResult parsed = ParseGuiOptions(args);
  if (!parsed.options) {
    std::fprintf(stderr, "korvex48: %s\n%s", parsed.error.c_str(), GuiUsage().c_str());
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

  SingleInstance instance(kWindowTitle);
  if (!instance.Claim()) return 0;  // the running editor raises itself

  std::string error;
  std::unique_ptr<MainWindow> window = MainWindow::Create(nullptr, nullptr, &error);
  if (!window) {
    std::fprintf(stderr, "korvex48: cannot start: %s\n", error.c_str());
    return 1;
  }
  window->Context().library_path = options.library_path;
  QObject::connect(&instance, &SingleInstance::raiseRequested, window.get(),
                   &MainWindow::RestoreAndRaise);

  // The mouse: a simulated one or hidraw, as the options say. Nothing is
  // searched during the start; the first poll comes with the first DevTimer
  // tick.
  DeviceLink link = MakeDeviceLink(options.device, window->Session(), DefaultClock(), &error);
  if (!link.transport) {
    std::fprintf(stderr, "korvex48: %s\n", error.c_str());
    return 1;
  }
  WindowAppUi ui(*window);
  CommandSet commands(*link.transport, ui);
  AppCore core(*link.transport, commands, ui);
  MainWindow* shown = window.get();
  core.SetTextLookup([shown](std::string_view key) { return shown->Context().Texts().Text(key); });
  core.SetReserveIds(window->Context().settings.rev_manu_id, window->Context().settings.rev_pro_id);
  core.Start();
  // The pages show and edit the image through the page editor.
  PageEditor editor(core, commands);
  PageCommands page_commands(*window, editor);
  window->ShowImage();
  QObject::connect(&window->DevTimer(), &QTimer::timeout, window.get(),
                   [&core] { core.DevTimerTimer(); });
  window->DevTimer().start();
  window->setWindowIcon(QIcon(window->Context().skin.Pixmap(QStringLiteral("korvex48"))));
  window->show();
  return app.exec();
}
