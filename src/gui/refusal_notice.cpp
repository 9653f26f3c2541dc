#include "gui/refusal_notice.h"

#include "gui/control_access.h"

namespace korvex48::gui {
namespace {

constexpr int kWidth = 520;
constexpr int kHeight = 26;
// Over the foot of the page, clear of the navigation bar.
constexpr int kBottomMargin = 122;

}  // namespace

RefusalNotice::RefusalNotice(QWidget* window) : QLabel(window) {
  setObjectName(QStringLiteral("lbl_RefusalNotice"));
  setAttribute(Qt::WA_TransparentForMouseEvents);
  setFocusPolicy(Qt::NoFocus);
  setAlignment(Qt::AlignCenter);
  // Read out as it shows, though it never takes the focus.
  InstallControlAccessibility();
  SetRole(this, QAccessible::AlertMessage);
  setTextFormat(Qt::PlainText);  // undo notices name macros, whatever their names hold
  const int width = window ? window->width() : 800;
  const int height = window ? window->height() : 600;
  setGeometry((width - kWidth) / 2, height - kBottomMargin - kHeight, kWidth, kHeight);
  hide();
  hide_timer_.setSingleShot(true);
  hide_timer_.setInterval(kShownMs);
  connect(&hide_timer_, &QTimer::timeout, this, &QWidget::hide);
}

void RefusalNotice::ShowRefusal(int refused, bool unplugged) {
  ShowNotice(unplugged ? QStringLiteral("The mouse was unplugged: the change did not reach it.")
             : refused > 1
                 ? QStringLiteral("The mouse did not take %1 changes; the page shows what it "
                                  "holds.")
                       .arg(refused)
                 : QStringLiteral("The mouse did not take the change; the page shows what "
                                  "it holds."),
             true);
}

void RefusalNotice::ShowNotice(const QString& text, bool refused) {
  if (refused != refused_look_ || styleSheet().isEmpty()) {
    refused_look_ = refused;
    setStyleSheet(refused
                      ? QStringLiteral("QLabel { color: white; background-color: rgba(150, 20, 20, "
                                       "220); border-radius: 6px; }")
                      : QStringLiteral("QLabel { color: white; background-color: rgba(0, 92, 110, "
                                       "230); border-radius: 6px; }"));
  }
  setText(text);
  raise();
  show();
  AnnounceAlert(this);
  hide_timer_.start();
}

}  // namespace korvex48::gui
