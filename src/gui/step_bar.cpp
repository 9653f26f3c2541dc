#include "gui/step_bar.h"

#include <QAccessible>
#include <QEvent>
#include <QKeyEvent>
#include <QPainter>
#include <algorithm>

#include "gui/control_access.h"
#include "gui/skin_widgets.h"

namespace korvex48::gui {
namespace {

// Room around the steps for the focus frame, which then surrounds them
// instead of covering their edge pixels.
constexpr int kFrameRoom = 2;

}  // namespace

StepBar::StepBar(const QString& object_name, const QString& name, std::vector<PictureLabel*> steps,
                 std::function<int()> position, QWidget* parent)
    : QWidget(parent), steps_(std::move(steps)), position_(std::move(position)) {
  setObjectName(object_name);
  setAccessibleName(name);
  setAttribute(Qt::WA_TranslucentBackground);
  // Clicks belong to the steps below.
  setAttribute(Qt::WA_TransparentForMouseEvents);
  setFocusPolicy(Qt::TabFocus);
  InstallControlAccessibility();
  for (PictureLabel* step : steps_) step->installEventFilter(this);
  Follow();
}

QString StepBar::ValueText() const {
  const int position = Position();
  if (position < 1) return {};
  return value_text_ ? value_text_(position) : QString::number(position);
}

void StepBar::Choose(int step) {
  if (!isEnabled() || steps_.empty()) return;
  step = std::clamp(step, 1, Steps());
  Q_EMIT steps_[static_cast<std::size_t>(step - 1)]->pressed();
  if (QAccessible::isActive()) {
    QAccessibleValueChangeEvent changed(this, NumericValue(std::max(1, Position())));
    QAccessible::updateAccessibility(&changed);
  }
}

void StepBar::keyPressEvent(QKeyEvent* event) {
  const int now = Position();
  int step = 0;
  switch (event->key()) {
    case Qt::Key_Left:
    case Qt::Key_Down:
      step = now - 1;
      break;
    case Qt::Key_Right:
    case Qt::Key_Up:
      step = now + 1;
      break;
    case Qt::Key_Home:
      step = 1;
      break;
    case Qt::Key_End:
      step = Steps();
      break;
    default:
      QWidget::keyPressEvent(event);
      return;
  }
  event->accept();
  // At an end the key does nothing: no report for a step already lit.
  if (std::clamp(step, 1, Steps()) != now) Choose(step);
}

void StepBar::paintEvent(QPaintEvent*) {
  if (!hasFocus()) return;
  QPainter painter(this);
  DrawFocusFrame(painter, rect());
}

bool StepBar::eventFilter(QObject* watched, QEvent* event) {
  switch (event->type()) {
    case QEvent::Move:
    case QEvent::Resize:
    case QEvent::EnabledChange:
    case QEvent::ShowToParent:
    case QEvent::HideToParent:
      Follow();
      break;
    default:
      break;
  }
  return QWidget::eventFilter(watched, event);
}

void StepBar::Follow() {
  if (steps_.empty()) return;
  QRect covered;
  for (const PictureLabel* step : steps_) covered |= step->geometry();
  setGeometry(covered.adjusted(-kFrameRoom, -kFrameRoom, kFrameRoom, kFrameRoom));
  const PictureLabel* first = steps_.front();
  setEnabled(first->isEnabled());
  setVisible(!first->isHidden());
}

}  // namespace korvex48::gui
