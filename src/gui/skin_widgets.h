#pragma once
// The two building blocks of every skinned control: a picture drawn from the
// skin by name, and a transparent text label lying over it that acts as the
// button (clicks and hover).
#include <QLabel>
#include <QRect>
#include <QString>
#include <QWidget>

class QPainter;

namespace korvex48::gui {

class Skin;

// A picture of the skin. The picture is fetched (and so decoded) only when the
// control is painted, which keeps pictures of hidden pages undecoded. The
// current picture name is the `picture` property, so tests and state checks
// read the look (for example "SetS_02" = selected) without comparing pixels.
class PictureLabel : public QWidget {
  Q_OBJECT
  Q_PROPERTY(QString picture READ picture WRITE SetPicture)

 public:
  PictureLabel(const Skin& skin, const QString& object_name, QWidget* parent);

  const QString& picture() const { return picture_; }
  // Sets the picture and, when `resize` is true, the control's size to it.
  void SetPicture(const QString& name) { SetPicture(name, true); }
  void SetPicture(const QString& name, bool resize);
  // The size of the current picture (without decoding it).
  QSize PictureSize() const;

  // Presses on a picture are taken (true) unless the picture is a page
  // background, whose presses go on to the page group to move the window.
  void SetTakesPresses(bool takes) { takes_presses_ = takes; }
  // Makes a picture that no text label lies over a control of its own for
  // the keyboard: reached with Tab, framed while it has the focus, pressed
  // with Space or Return as a click presses it. Screen readers see it through
  // control_access.h, with the role given by SetRole and its accessible name.
  void SetKeyboardPress();

 Q_SIGNALS:
  void pressed();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  const Skin& skin_;
  QString picture_;
  bool takes_presses_ = true;
};

// A transparent text label used as a button: emits clicked() on a left-button
// release inside it or on Space or Return while it has the focus (it is
// reached with Tab and then framed in the accent colour), and entered()/left()
// for the hover looks. Screen readers see it through control_access.h. A caption
// wider than the label is drawn with a smaller font (down to 7 points) so the
// longest texts of every language stay whole; while the caption runs (the
// hover marquee) the font chosen for the caption itself is kept, set through
// the dynamic property "fitText".
class TextLabel : public QLabel {
  Q_OBJECT

 public:
  TextLabel(const QString& object_name, QWidget* parent);

  // QLabel::setText, without the text document QLabel keeps for every label
  // that takes the focus (for selection and links, which these labels never
  // have: they draw their text themselves; event() keeps it away too). Call
  // it through a TextLabel*; QLabel::setText works too, at the cost of that
  // document.
  void setText(const QString& text);

 Q_SIGNALS:
  void clicked();
  void entered();
  void left();

 protected:
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  // Space and Return click a label that has the keyboard focus.
  void keyPressEvent(QKeyEvent* event) override;
  bool event(QEvent* event) override;
  // Only the frame: QLabel's would make the text document too.
  void focusInEvent(QFocusEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;
  void enterEvent(QEnterEvent* event) override;
  void leaveEvent(QEvent* event) override;
  void paintEvent(QPaintEvent* event) override;
};

// The frame a control that has the keyboard focus draws over itself, in the
// skin's accent colour; `control` is the control's rect().
void DrawFocusFrame(QPainter& painter, const QRect& control);

// Sets the font size (points) and colour of a text control, as the layout
// tables give them.
void SetTextStyle(QWidget* widget, int point_size, const QColor& color);

}  // namespace korvex48::gui
