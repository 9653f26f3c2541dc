#include "gui/gui_bench.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>
#include <algorithm>
#include <functional>
#include <vector>

#include "gui/editor_app.h"
#include "gui/page_group.h"

namespace korvex48::gui {
namespace {

constexpr int kMouseWaitMs = 30000;
constexpr int kPageRounds = 20;
constexpr int kLanguageRounds = 10;

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
  window.DevTimer().stop();

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

  Print(out, "page_change_ms", page_ms);
  Print(out, "language_switch_ms", language_ms);
  std::fflush(out);
  return 0;
}

}  // namespace korvex48::gui
