#include "gui/skin_widgets.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <algorithm>

#include "gui/control_access.h"
#include "gui/skin.h"

namespace korvex48::gui {

PictureLabel::PictureLabel(const Skin& skin, const QString& object_name, QWidget* parent)
    : QWidget(parent), skin_(skin) {
  setObjectName(object_name);
  setAttribute(Qt::WA_TranslucentBackground);
}

void PictureLabel::SetPicture(const QString& name, bool resize) {
  if (name == picture_) return;
  picture_ = name;
  if (resize && !name.isEmpty()) this->resize(skin_.Size(name));
  update();
}

QSize PictureLabel::PictureSize() const {
  return picture_.isEmpty() ? QSize() : skin_.Size(picture_);
}

void PictureLabel::paintEvent(QPaintEvent*) {
  if (picture_.isEmpty()) return;
  QPainter painter(this);
  painter.drawPixmap(0, 0, skin_.Pixmap(picture_, devicePixelRatioF()));
  if (hasFocus()) DrawFocusFrame(painter, rect());
}

void PictureLabel::SetKeyboardPress() {
  setFocusPolicy(Qt::TabFocus);
  InstallControlAccessibility();
}

void PictureLabel::keyPressEvent(QKeyEvent* event) {
  const int key = event->key();
  if ((key == Qt::Key_Space || key == Qt::Key_Return || key == Qt::Key_Enter) &&
      !event->isAutoRepeat() && (focusPolicy() & Qt::TabFocus)) {
    event->accept();
    Q_EMIT pressed();
    return;
  }
  QWidget::keyPressEvent(event);
}

void PictureLabel::mousePressEvent(QMouseEvent* event) {
  if (!takes_presses_) {
    event->ignore();
    return;
  }
  event->accept();
  Q_EMIT pressed();
}

TextLabel::TextLabel(const QString& object_name, QWidget* parent) : QLabel(parent) {
  setObjectName(object_name);
  setAlignment(Qt::AlignCenter);
  setAttribute(Qt::WA_TranslucentBackground);
  setAttribute(Qt::WA_Hover);
  setCursor(Qt::PointingHandCursor);
  // Reached with Tab, not taken by a click: the focus frame shows only for
  // keyboard users.
  setFocusPolicy(Qt::TabFocus);
  InstallControlAccessibility();
}

void TextLabel::setText(const QString& text) {
  // QLabel makes its document only for labels that take the focus; about
  // three hundred labels would hold 3 MB of documents never used.
  const Qt::FocusPolicy policy = focusPolicy();
  setFocusPolicy(Qt::NoFocus);
  QLabel::setText(text);
  setFocusPolicy(policy);
}

bool TextLabel::event(QEvent* event) {
  switch (event->type()) {
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::ShortcutOverride:
    case QEvent::FocusIn:
    case QEvent::FocusOut:
    case QEvent::FocusAboutToChange:
      return QLabel::event(event);
    default:
      break;
  }
  // QLabel makes the document when it is shown or polished, too.
  const Qt::FocusPolicy policy = focusPolicy();
  setFocusPolicy(Qt::NoFocus);
  const bool handled = QLabel::event(event);
  setFocusPolicy(policy);
  return handled;
}

void TextLabel::focusInEvent(QFocusEvent* event) { QWidget::focusInEvent(event); }

void TextLabel::focusOutEvent(QFocusEvent* event) { QWidget::focusOutEvent(event); }

void TextLabel::keyPressEvent(QKeyEvent* event) {
  switch (event->key()) {
    case Qt::Key_Space:
    case Qt::Key_Return:
    case Qt::Key_Enter:
      if (event->isAutoRepeat()) break;
      event->accept();
      Q_EMIT clicked();
      return;
    default:
      break;
  }
  QLabel::keyPressEvent(event);
}

void TextLabel::mousePressEvent(QMouseEvent* event) { event->accept(); }

void TextLabel::mouseReleaseEvent(QMouseEvent* event) {
  event->accept();
  if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
    Q_EMIT clicked();
}

void TextLabel::enterEvent(QEnterEvent* event) {
  QLabel::enterEvent(event);
  Q_EMIT entered();
}

void TextLabel::leaveEvent(QEvent* event) {
  QLabel::leaveEvent(event);
  Q_EMIT left();
}

void TextLabel::paintEvent(QPaintEvent*) {
  constexpr qreal kSmallestPoints = 7.0;
  QPainter painter(this);
  QRect room = contentsRect().adjusted(margin(), margin(), -margin(), -margin());
  if (indent() > 0 && (alignment() & Qt::AlignLeft)) room.adjust(indent(), 0, 0, 0);
  const QVariant fit_text = property("fitText");
  const QString fit = fit_text.isValid() ? fit_text.toString() : text();
  QFont font = this->font();
  while (QFontMetrics(font).horizontalAdvance(fit) > room.width() &&
         font.pointSizeF() > kSmallestPoints)
    font.setPointSizeF(std::max(kSmallestPoints, font.pointSizeF() - 0.5));
  painter.setFont(font);
  painter.setPen(
      palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::WindowText));
  painter.drawText(room, static_cast<int>(alignment()), text());
  if (hasFocus()) DrawFocusFrame(painter, rect());
}

void DrawFocusFrame(QPainter& painter, const QRect& control) {
  // The skin's accent colour, one pixel inside the control's edge.
  painter.setPen(QColor(0, 229, 255));
  painter.setBrush(Qt::NoBrush);
  painter.drawRect(control.adjusted(1, 1, -2, -2));
}

void SetTextStyle(QWidget* widget, int point_size, const QColor& color) {
  QFont font = widget->font();
  if (point_size > 0) font.setPointSize(point_size);
  widget->setFont(font);
  QPalette palette = widget->palette();
  palette.setColor(QPalette::WindowText, color);
  palette.setColor(QPalette::Text, color);
  palette.setColor(QPalette::ButtonText, color);
  widget->setPalette(palette);
}

}  // namespace korvex48::gui
