#include "gui/message_panel.h"

#include <QAccessible>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollArea>
#include <QScrollBar>
#include <algorithm>
#include <vector>

#include "gui/control_access.h"
#include "gui/focus_return.h"
#include "gui/skin_widgets.h"

namespace korvex48::gui {
namespace {

// The skin's colours, as the function menus draw them.
const QColor kCard(16, 21, 28);
const QColor kRule(44, 57, 72);
const QColor kAccent(0, 229, 255);
const QColor kWell(9, 12, 16);

constexpr int kCardWidth = 440;
constexpr int kMargin = 16;        // inside the card
constexpr int kWindowMargin = 12;  // between the card and the window's edge
constexpr int kCaptionHeight = 28;
constexpr int kButtonWidth = 110;
constexpr int kButtonHeight = 30;
constexpr int kButtonGap = 30;

// The card itself: painted in the skin's colours, and the object a screen
// reader announces.
class Card final : public QWidget {
 public:
  using QWidget::QWidget;

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter painter(this);
    painter.fillRect(rect(), kCard);
    painter.setPen(kRule);
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
    painter.fillRect(QRect(0, 0, width() * 2 / 5, 2), kAccent);
    // The buttons as the skin's buttons: a dark well with a rule.
    for (const TextLabel* button : findChildren<TextLabel*>(Qt::FindDirectChildrenOnly)) {
      const QRect well = button->geometry().adjusted(0, 0, -1, -1);
      painter.fillRect(well, kWell);
      painter.setPen(kRule);
      painter.drawRect(well);
    }
  }
};

}  // namespace

MessagePanel::MessagePanel(QWidget* window, Kind kind, const QString& caption, const QString& text)
    : QWidget(window), kind_(kind) {
  setObjectName(QStringLiteral("MessagePanel"));
  InstallControlAccessibility();
  // Covers the window: presses beside the card reach nothing beneath it.
  setGeometry(window->rect());
  setFocusPolicy(Qt::NoFocus);

  card_ = new Card(this);
  card_->setObjectName(QStringLiteral("Dlg_Message"));
  SetRole(card_, QAccessible::AlertMessage);
  card_->setAccessibleName(caption.isEmpty() ? window->windowTitle() : caption);
  card_->setAccessibleDescription(text);

  auto* title = new QLabel(caption.isEmpty() ? window->windowTitle() : caption, card_);
  title->setObjectName(QStringLiteral("lbl_MessageCaption"));
  QFont bold = title->font();
  bold.setBold(true);
  title->setFont(bold);
  title->setStyleSheet(QStringLiteral("color: rgb(226,236,246);"));
  title->setGeometry(kMargin, 6, kCardWidth - 2 * kMargin, kCaptionHeight - 6);

  auto* body = new QLabel(text);
  body->setObjectName(QStringLiteral("lbl_MessageText"));
  body->setWordWrap(true);
  body->setTextFormat(Qt::PlainText);
  body->setTextInteractionFlags(Qt::TextSelectableByMouse);
  body->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  body->setStyleSheet(QStringLiteral("color: rgb(226,236,246); background: transparent;"));
  scroll_ = new QScrollArea(card_);
  scroll_->setObjectName(QStringLiteral("Scr_Message"));
  scroll_->setFrameShape(QFrame::NoFrame);
  scroll_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  scroll_->setWidgetResizable(true);
  scroll_->setStyleSheet(
      QStringLiteral("QScrollArea, QScrollArea > QWidget > QWidget { background: transparent; }"
                     "QScrollBar:vertical { background: rgb(9,12,16); width: 8px; }"
                     "QScrollBar::handle:vertical { background: rgb(0,150,175); min-height: 20px; }"
                     "QScrollBar::add-line, QScrollBar::sub-line { height: 0; }"));
  scroll_->setWidget(body);
  scroll_->setAccessibleName(caption.isEmpty() ? window->windowTitle() : caption);

  auto make_button = [this](const char* name, const QString& label) {
    auto* button = new TextLabel(QLatin1String(name), card_);
    button->setText(label);
    SetTextStyle(button, 10, QColor(226, 236, 246));
    button->resize(kButtonWidth, kButtonHeight);
    return button;
  };
  switch (kind) {
    case Kind::kMessage:
      yes_ = make_button("IB_Confirm", QStringLiteral("OK"));
      break;
    case Kind::kQuestion:
      yes_ = make_button("IB_Confirm", QStringLiteral("OK"));
      no_ = make_button("IB_Cancel", QStringLiteral("Cancel"));
      break;
    case Kind::kRiskyQuestion:
      yes_ = make_button("IB_Confirm", QStringLiteral("Yes"));
      no_ = make_button("IB_Cancel", QStringLiteral("No"));
      break;
  }
  connect(yes_, &TextLabel::clicked, this, [this] { Answer(true); });
  if (no_) connect(no_, &TextLabel::clicked, this, [this] { Answer(false); });

  // The text's height at the card's width decides the card's; a longer text
  // scrolls, and the card keeps inside the window.
  const int text_width =
      kCardWidth - 2 * kMargin - scroll_->verticalScrollBar()->sizeHint().width();
  const int text_height = body->heightForWidth(text_width);
  const int room = window->height() - 2 * kWindowMargin;
  const int chrome = kCaptionHeight + kMargin + kButtonHeight + 2 * kMargin;
  const int shown = std::clamp(text_height + 4, 24, std::max(24, room - chrome));
  const bool scrolls = text_height + 4 > shown;
  scroll_->setFocusPolicy(scrolls ? Qt::StrongFocus : Qt::NoFocus);
  scroll_->setGeometry(kMargin, kCaptionHeight + 4, kCardWidth - 2 * kMargin, shown);
  const int buttons_top = scroll_->geometry().bottom() + 1 + kMargin;
  const int buttons = no_ ? 2 : 1;
  int x = (kCardWidth - buttons * kButtonWidth - (buttons - 1) * kButtonGap) / 2;
  for (TextLabel* button : {yes_, no_}) {
    if (!button) continue;
    button->move(x, buttons_top);
    x += kButtonWidth + kButtonGap;
  }
  card_->resize(kCardWidth, buttons_top + kButtonHeight + kMargin);
  card_->move((width() - card_->width()) / 2, (height() - card_->height()) / 2);
  hide();
}

void MessagePanel::Open() {
  ReturnFocusOnClose(this);
  show();
  raise();
  // The default answer has the focus: OK, or No for what cannot be undone.
  (kind_ == Kind::kRiskyQuestion ? no_ : yes_)->setFocus(Qt::PopupFocusReason);
  if (QAccessible::isActive()) {
    QAccessibleEvent alert(card_, QAccessible::Alert);
    QAccessible::updateAccessibility(&alert);
  }
}

bool MessagePanel::Ask(QWidget* window, Kind kind, const QString& caption, const QString& text) {
  QPointer<MessagePanel> panel = new MessagePanel(window, kind, caption, text);
  QEventLoop loop;
  bool answer = false;
  connect(panel.data(), &MessagePanel::answered, &loop, [&](bool yes) {
    answer = yes;
    loop.quit();
  });
  // The window closing (or the program ending) answers as Escape would.
  connect(panel.data(), &QObject::destroyed, &loop, &QEventLoop::quit);
  panel->Open();
  loop.exec(QEventLoop::DialogExec);
  if (panel) panel->deleteLater();
  return answer;
}

void MessagePanel::Answer(bool yes) {
  if (answered_) return;
  answered_ = true;
  hide();  // gives the focus back
  Q_EMIT answered(yes);
  deleteLater();
}

bool MessagePanel::focusNextPrevChild(bool next) {
  // Tab goes round the card's own controls only.
  std::vector<QWidget*> ring;
  if (scroll_->focusPolicy() != Qt::NoFocus) ring.push_back(scroll_);
  ring.push_back(yes_);
  if (no_) ring.push_back(no_);
  QWidget* focused = focusWidget();
  auto at = std::find_if(ring.begin(), ring.end(), [focused](QWidget* w) {
    return w == focused || w->isAncestorOf(focused);
  });
  const int n = static_cast<int>(ring.size());
  const int i = at == ring.end() ? (next ? -1 : 0) : static_cast<int>(at - ring.begin());
  ring[static_cast<std::size_t>(((next ? i + 1 : i - 1) % n + n) % n)]->setFocus(
      next ? Qt::TabFocusReason : Qt::BacktabFocusReason);
  return true;
}

void MessagePanel::keyPressEvent(QKeyEvent* event) {
  switch (event->key()) {
    case Qt::Key_Escape:
      Answer(no_ == nullptr);
      break;
    case Qt::Key_Left:
    case Qt::Key_Right:
      if (no_) (yes_->hasFocus() ? no_ : yes_)->setFocus(Qt::TabFocusReason);
      break;
    default:
      // Every other key stays in the card: nothing beneath it acts meanwhile.
      break;
  }
  event->accept();
}

void MessagePanel::mousePressEvent(QMouseEvent* event) { event->accept(); }

}  // namespace korvex48::gui
