#pragma once
// Messages and questions drawn in the skin inside the main window, like the
// editor's other dialogs (so that they open over it under X11 and Wayland
// alike, where a client cannot place a window of its own): a dark card in
// the middle of the window with the caption, the text and one or two
// buttons. A text longer than the window scrolls inside the card, which is
// never taller than the window. Screen readers read the card as an alert
// named by its caption, whose description is the text.
//
// While it is open the rest of the window takes no click and no key (Tab
// goes round the card's own controls); Escape answers as the last button
// does. When it closes, the focus goes back to the control that had it.
#include <QEventLoop>
#include <QPointer>
#include <QString>
#include <QWidget>

class QScrollArea;

namespace korvex48::gui {

class TextLabel;

class MessagePanel final : public QWidget {
  Q_OBJECT

 public:
  enum class Kind {
    kMessage,       // OK
    kQuestion,      // OK (the default) and Cancel
    kRiskyQuestion  // Yes and No (the default): for what cannot be taken back
  };

  // Shows the card over `window` and waits for the answer; true for OK or
  // Yes. `window` must be shown.
  static bool Ask(QWidget* window, Kind kind, const QString& caption, const QString& text);

  // The card, for tests that find the panel and answer it by its buttons.
  MessagePanel(QWidget* window, Kind kind, const QString& caption, const QString& text);
  void Open();

  // Emitted once, with the answer, when the user answers (the panel then
  // deletes itself).
 Q_SIGNALS:
  void answered(bool yes);

 protected:
  bool focusNextPrevChild(bool next) override;
  void keyPressEvent(QKeyEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;

 private:
  void Answer(bool yes);

  Kind kind_;
  QWidget* card_;
  QScrollArea* scroll_;
  TextLabel* yes_;
  TextLabel* no_ = nullptr;
  bool answered_ = false;
};

}  // namespace korvex48::gui
