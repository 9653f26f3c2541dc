#include "gui/gui_bench.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>
#include <algorithm>
#include <functional>
#include <memory>
#include <vector>

#include "gui/editor_app.h"
#include "gui/key_combination_dialog.h"
#include "gui/page_group.h"
#include "gui/pages/button_commands.h"
#include "gui/pages/button_menus.h"
#include "gui/pages/button_page.h"
#include "gui/pages/macro_library_list.h"
#include "gui/pages/macro_page.h"
#include "gui/pages/macro_recorder_panel.h"
#include "gui/record_input.h"
#include "gui/skin_widgets.h"

namespace korvex48::gui {
namespace {

constexpr int kMouseWaitMs = 30000;
constexpr int kPageRounds = 20;
constexpr int kLanguageRounds = 10;
constexpr int kMenuRounds = 30;
constexpr int kDialogRounds = 10;

void RunEventsFor(int ms) {
  QEventLoop loop;
  QTimer::singleShot(ms, &loop, &QEventLoop::quit);
  loop.exec();
}

double TimedMs(QWidget& window, const std::function<void()>& change) {
  QElapsedTimer timer;
  timer.start();
  change();
  window.repaint();
  return static_cast<double>(timer.nsecsElapsed()) / 1e6;
}

void Print(std::FILE* out, const char* name, std::vector<double> samples) {
  std::sort(samples.begin(), samples.end());
  const double median = samples.empty() ? 0.0 : samples[samples.size() / 2];
  const double worst = samples.empty() ? 0.0 : samples.back();
  std::fprintf(out, "%s %.3f %.3f\n", name, median, worst);
}

// Keys as if typed, for timing the recorder without a keyboard.
class BenchInput final : public RecordInput {
 public:
  bool Start() override { return true; }
  void Stop() override {}
  bool Global() const override { return true; }
  void Send(int scan_code, bool down, quint32 time_ms) { Q_EMIT key(scan_code, down, time_ms); }
};

// A key event to its line drawn in LB_macro while recording, and a library
// command's rewrite of Macro.bin.
void BenchMacros(EditorApp& app, std::FILE* out) {
  MainWindow& window = app.Window();
  window.RequestPage(PageId::kMacro);
  MacroPage& page = *window.Macros();
  MacroLibraryList& library = page.LibraryList();
  auto owned = std::make_unique<BenchInput>();
  BenchInput* input = owned.get();
  page.Recorder().SetInput(std::move(owned));
  library.List()->setCurrentRow(0);
  page.ShowLibraryMacro(0);
  std::vector<double> key_ms;
  page.Recorder().ToggleWhole();
  quint32 t = 1000;
  for (int i = 0; i < 40 && page.Recorder().Recording(); ++i) {
    const int scan = 30 + i / 2 % 9;  // A S D F ...
    t += 37;
    key_ms.push_back(TimedMs(window, [&] { input->Send(scan, i % 2 == 0, t); }));
  }
  if (page.Recorder().Recording()) page.Recorder().ToggleWhole();

  std::vector<double> save_ms;
  for (int i = 0; i < 20; ++i) {
    QElapsedTimer timer;
    timer.start();
    library.Save();
    save_ms.push_back(static_cast<double>(timer.nsecsElapsed()) / 1e6);
  }
  Print(out, "record_key_to_line_ms", key_ms);
  Print(out, "library_save_ms", save_ms);
}

}  // namespace

int RunBench(EditorApp& app, std::FILE* out) {
  MainWindow& window = app.Window();
  app.Show();
  QElapsedTimer waited;
  waited.start();
  while (!app.MouseShown()) {
    if (waited.elapsed() > kMouseWaitMs) {
      std::fprintf(stderr, "korvex48: --bench: the simulated mouse was not shown within %d s\n",
                   kMouseWaitMs / 1000);
      return 1;
    }
    RunEventsFor(50);
  }
  // Polling would only add noise to the figures.
  window.DevicePolling().stop();

  std::vector<PageId> pages = {PageId::kMain,  PageId::kAdv,    PageId::kBreath,
                               PageId::kMacro, PageId::kSwitch, PageId::kFixed};
  if (!window.Group(1)->NavLabel(QStringLiteral("Update"))->isHidden())
    pages.push_back(PageId::kUpdate);
  std::vector<double> page_ms;
  for (int round = 0; round < kPageRounds; ++round) {
    for (PageId page : pages) {
      page_ms.push_back(TimedMs(window, [&] {
        if (GroupOf(page) == 1)
          window.ShowPage(page);
        else
          window.RequestPage(page);
      }));
    }
  }
  window.ShowPage(PageId::kMain);

  std::vector<double> language_ms;
  for (int round = 0; round < kLanguageRounds; ++round)
    for (int k : {2, 3, 1})
      language_ms.push_back(TimedMs(window, [&] { window.SwitchLanguage(k); }));

  // A click on a button label up to the menu drawn, the first opening
  // (nothing of the menus painted or laid out before) included; then the
  // key-combination dialog from its entry up to its first paint.
  window.ShowPage(PageId::kMain);
  ButtonCommands& buttons = app.Commands().Buttons();
  ButtonMenus& menus = buttons.Menus();
  std::vector<double> menu_ms;
  for (int round = 0; round < kMenuRounds; ++round) {
    const int button = 1 + round % 12;
    TextLabel* label = window.Buttons()->KeyLabel(button);
    if (!label->isEnabled()) continue;
    menu_ms.push_back(TimedMs(window, [&] { Q_EMIT label->clicked(); }));
    menus.HideAll();
  }
  std::vector<double> dialog_ms;
  for (int round = 0; round < kDialogRounds; ++round) {
    Q_EMIT window.Buttons()->KeyLabel(2)->clicked();
    QElapsedTimer timer;
    timer.start();
    buttons.OpenKeyCombinationDialog();
    if (KeyCombinationDialog* dialog = buttons.Dialog()) {
      dialog->repaint();
      dialog_ms.push_back(static_cast<double>(timer.nsecsElapsed()) / 1e6);
      dialog->close();
    }
    RunEventsFor(5);
  }

  Print(out, "page_change_ms", page_ms);
  Print(out, "language_switch_ms", language_ms);
  Print(out, "menu_open_ms", menu_ms);
  Print(out, "dialog_open_ms", dialog_ms);
  BenchMacros(app, out);
  std::fflush(out);
  return 0;
}

}  // namespace korvex48::gui
