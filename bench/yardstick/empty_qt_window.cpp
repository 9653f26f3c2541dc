// The yardstick of scripts/bench-gui.sh: an empty 800 x 600 Qt Widgets
// window, started and measured in turn with the editor, built with the same
// compiler, build type and flags, so that the editor's start-up time and
// memory are judged against what Qt itself costs on this machine and load.
#include <QApplication>
#include <QWidget>

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QWidget window;
  window.setWindowTitle(QStringLiteral("empty"));
  window.resize(800, 600);
  window.show();
  return app.exec();
}
