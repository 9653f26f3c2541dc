#include "gui/focus_return.h"

#include <QApplication>
#include <QEvent>
#include <QPointer>

namespace korvex48::gui {
namespace {

bool Reachable(const QWidget* w) {
  return w && w->isVisible() && w->isEnabled() && (w->focusPolicy() & Qt::TabFocus);
}

bool Focusable(const QWidget* w) { return w && w->isVisible() && w->isEnabled(); }

class FocusReturn final : public QObject {
 public:
  explicit FocusReturn(QWidget* popup) : QObject(popup), popup_(popup) {
    setObjectName(QStringLiteral("FocusReturn"));
    popup->installEventFilter(this);
    if (popup->isVisible()) Remember();
  }

  // The control to give the focus to now: the opener, or, when it is gone,
  // the opener of the pop-up it lay in.
  QWidget* Target() const {
    QWidget* target = opener_;
    for (int depth = 0; depth < 8 && target && !Focusable(target); ++depth) {
      const FocusReturn* outer = nullptr;
      for (QWidget* up = target; up && !outer; up = up->parentWidget())
        outer =
            up->findChild<FocusReturn*>(QStringLiteral("FocusReturn"), Qt::FindDirectChildrenOnly);
      if (!outer || outer == this) return nullptr;
      target = outer->opener_;
    }
    return Focusable(target) ? target : nullptr;
  }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (watched != popup_) return false;
    if (event->type() == QEvent::Show) Remember();
    // Sent before Qt moves the focus on from a hidden control, so that
    // nothing else is ever focused on the way.
    if (event->type() == QEvent::Hide) GiveBack();
    return false;
  }

 private:
  void Remember() {
    QWidget* focused = QApplication::focusWidget();
    if (!focused) focused = popup_->window()->focusWidget();
    if (focused && focused != popup_ && !popup_->isAncestorOf(focused)) opener_ = focused;
  }

  void GiveBack() {
    QWidget* focused = popup_->window()->focusWidget();
    if (focused && focused != popup_ && !popup_->isAncestorOf(focused) && Focusable(focused))
      return;  // the user has moved on
    if (QWidget* target = Target()) {
      target->setFocus(Qt::PopupFocusReason);
      return;
    }
    QWidget* window = popup_->window();
    // The window's own choice of first control (the page on show), if it
    // offers one; else the first control anywhere in it.
    bool done = false;
    if (window->metaObject()->indexOfMethod("FocusPage()") >= 0)
      QMetaObject::invokeMethod(window, "FocusPage", Qt::DirectConnection,
                                Q_RETURN_ARG(bool, done));
    if (!done) window->setFocus(Qt::PopupFocusReason);
  }

  QWidget* popup_;
  QPointer<QWidget> opener_;
};

FocusReturn* FocusReturnOf(const QWidget* popup) {
  return popup->findChild<FocusReturn*>(QStringLiteral("FocusReturn"), Qt::FindDirectChildrenOnly);
}

}  // namespace

void ReturnFocusOnClose(QWidget* popup) {
  if (!FocusReturnOf(popup)) new FocusReturn(popup);
}

QWidget* FocusReturnTarget(const QWidget* popup) {
  const FocusReturn* r = FocusReturnOf(popup);
  return r ? r->Target() : nullptr;
}

bool FocusFirstControl(QWidget* area, Qt::FocusReason reason) {
  QWidget* window = area->window();
  QWidget* w = window;
  for (int guard = 0; guard < 2000; ++guard) {
    w = w->nextInFocusChain();
    if (!w || w == window) break;
    if ((w == area || area->isAncestorOf(w)) && Reachable(w)) {
      w->setFocus(reason);
      return true;
    }
  }
  return false;
}

}  // namespace korvex48::gui
