// The real editor (EditorRig: a simulated mouse, read at once) on whatever
// platform Qt is given, for a script that looks at it from outside with
// screenshots. It prints "shown" once the window has been painted; each line
// read from stdin is a step, answered with its name when painted:
//   dialog  opens the key-combination dialog of the button labelled Key2
//   busy    shows the busy pop-up (as every transfer with the mouse does)
//   page N  shows page N (PageId: 4 Advanced, 5 Breathing Light, ...)
//   focus NAME  gives the control NAME the keyboard focus as Tab does
//   tab     presses Tab on the control that has the focus
//   quit    ends the program
// (a compositor without input devices takes no keys: the keys are the
// program's own, to show the focus frames on screenshots)
#include <QApplication>
#include <QSocketNotifier>
#include <QtTest>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <string>

#include "../editor_rig.h"
#include "gui/busy_popup.h"
#include "gui/main_window.h"
#include "gui/pages/button_commands.h"
#include "gui/pages/button_page.h"
#include "gui/pages/page_commands.h"
#include "gui/skin_widgets.h"

namespace {

using korvex48::gui::MainWindow;
using korvex48::gui::test::EditorRig;

// Painted and handed to the compositor: a few rounds of events after the
// last change.
void Settle(MainWindow& window) {
  window.repaint();
  for (int i = 0; i < 10; ++i) QTest::qWait(20);
}

void Answer(const char* line) {
  std::printf("%s\n", line);
  std::fflush(stdout);
}

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  EditorRig rig;
  MainWindow& window = rig.Window();
  Settle(window);
  Answer("shown");

  QSocketNotifier input(0, QSocketNotifier::Read);
  QObject::connect(&input, &QSocketNotifier::activated, &app, [&] {
    std::string step;
    if (!std::getline(std::cin, step) || step == "quit") {
      input.setEnabled(false);
      QCoreApplication::quit();
      return;
    }
    if (step == "dialog") {
      Q_EMIT window.Buttons()->KeyLabel(2)->clicked();
      rig.App().Commands().Buttons().OpenKeyCombinationDialog();
    } else if (step == "busy") {
      window.Busy()->Show();
    } else if (step.rfind("page ", 0) == 0) {
      window.ShowPage(static_cast<korvex48::gui::PageId>(std::atoi(step.c_str() + 5)));
    } else if (step.rfind("focus ", 0) == 0) {
      if (QWidget* control = rig.W(QString::fromStdString(step.substr(6))))
        control->setFocus(Qt::TabFocusReason);
    } else if (step == "tab") {
      QWidget* from = QApplication::focusWidget();
      QTest::keyClick(from ? from : &window, Qt::Key_Tab);
    }
    Settle(window);
    Answer(step.c_str());
  });
  return app.exec();
}
