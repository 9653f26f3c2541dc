#include "gui/key_combination_dialog.h"

#include <QKeyEvent>
#include <QPainter>
#include <algorithm>

#include "core/buttons/evdev_keys.h"
#include "gui/control_access.h"
#include "gui/editor_context.h"
#include "gui/focus_return.h"
#include "gui/skin.h"
#include "gui/skin_widgets.h"

namespace korvex48::gui {
namespace {

const QString kBackground = QStringLiteral("Dialog_Assembly");
const QString kHover = QStringLiteral("Dialog_BtnHover");

// Where the background picture draws its controls.
const QRect kTitle(16, 6, 280, 24);
const QRect kClose(324, 6, 24, 24);
const QRect kField(22, 47, 310, 27);
constexpr int kChecksY = 88;
constexpr int kCheckLeft = 28;
constexpr int kCheckStep = 76;
const QRect kConfirm(52, 134, 110, 30);
const QRect kCancel(192, 134, 110, 30);

const QString kFieldStyle = QStringLiteral(
    "QLineEdit { background: transparent; border: none; color: rgb(226,236,246);"
    " selection-background-color: rgb(0,128,128); }");
const QString kBoxStyle = QStringLiteral(
    "QCheckBox { color: rgb(226,236,246); spacing: 6px; }"
    "QCheckBox::indicator { width: 11px; height: 11px; border: 1px solid rgb(128,146,164);"
    " background: rgb(9,12,16); }"
    "QCheckBox::indicator:hover { border-color: rgb(0,229,255); }"
    "QCheckBox::indicator:checked { background: rgb(0,229,255); border-color: rgb(0,229,255); }");

constexpr AssemblyModifier kModifiers[] = {AssemblyModifier::kCtrl, AssemblyModifier::kShift,
                                           AssemblyModifier::kAlt, AssemblyModifier::kWin};

QString Latin1(std::string_view text) {
  return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

// A command label with its hover picture (shown only under the pointer).
TextLabel* AddCommand(QWidget* parent, const Skin& skin, const QString& name,
                      const QString& picture_name, const QRect& at, const QString& text) {
  auto* picture = new PictureLabel(skin, picture_name, parent);
  picture->SetPicture(kHover);
  picture->move(at.topLeft());
  picture->hide();
  auto* label = new TextLabel(name, parent);
  label->setGeometry(at);
  label->setText(text);
  QObject::connect(label, &TextLabel::entered, picture, &QWidget::show);
  QObject::connect(label, &TextLabel::left, picture, &QWidget::hide);
  return label;
}

}  // namespace

KeyCombinationDialog::KeyCombinationDialog(EditorContext& context, QWidget* owner)
    : QWidget(owner), owner_(owner) {
  setObjectName(QStringLiteral("TForm2"));
  setAttribute(Qt::WA_DeleteOnClose);
  setFixedSize(kWidth, kHeight);
  setWindowTitle(context.Text("Str500"));
  const Skin& skin = context.skin;
  // The maroon form colour around the picture's shape is see-through.
  if (skin.Size(kBackground) == size()) setMask(skin.Shape(kBackground));
  auto* background = new PictureLabel(skin, QStringLiteral("Img_Assembly"), this);
  background->SetPicture(kBackground);
  background->lower();

  auto* title = new QLabel(context.Text("Str500"), this);
  title->setObjectName(QStringLiteral("lbl_Assembly"));
  title->setGeometry(kTitle);
  QFont bold = title->font();
  bold.setBold(true);
  title->setFont(bold);
  title->setStyleSheet(QStringLiteral("color: rgb(226,236,246);"));

  field_ = new QLineEdit(this);
  field_->setObjectName(QStringLiteral("Edt_Assembly"));
  field_->setGeometry(kField);
  field_->setReadOnly(true);
  field_->setStyleSheet(kFieldStyle);
  field_->setContextMenuPolicy(Qt::NoContextMenu);
  field_->installEventFilter(this);

  const char* box_names[] = {"CB_Ctrl", "CB_Shift", "CB_Alt", "CB_Win"};
  for (std::size_t i = 0; i < boxes_.size(); ++i) {
    const AssemblyModifier m = kModifiers[i];
    auto* box = new QCheckBox(Latin1(AssemblyModifierName(m)), this);
    box->setObjectName(QLatin1String(box_names[i]));
    box->setStyleSheet(kBoxStyle);
    box->setFocusPolicy(Qt::TabFocus);
    box->move(kCheckLeft + static_cast<int>(i) * kCheckStep, kChecksY);
    box->adjustSize();
    connect(box, &QCheckBox::clicked, this, [this, m](bool ticked) { ModifierClicked(m, ticked); });
    boxes_[i] = box;
  }

  TextLabel* confirm = AddCommand(this, skin, QStringLiteral("IB_Confirm"),
                                  QStringLiteral("Img_Confirm"), kConfirm, context.Text("Str501"));
  TextLabel* cancel = AddCommand(this, skin, QStringLiteral("IB_Cancel"),
                                 QStringLiteral("Img_Cancel"), kCancel, context.Text("Str502"));
  auto* close_mark = new TextLabel(QStringLiteral("IB_Close"), this);
  close_mark->setGeometry(kClose);
  for (TextLabel* label : {confirm, cancel})
    label->setStyleSheet(QStringLiteral("color: rgb(226,236,246);"));
  connect(confirm, &TextLabel::clicked, this, &KeyCombinationDialog::Confirm);
  connect(cancel, &TextLabel::clicked, this, &KeyCombinationDialog::ClearAll);
  connect(close_mark, &TextLabel::clicked, this, &QWidget::close);

  field_->setAccessibleName(context.Text("Str500"));
  field_->setAccessibleDescription(
      QStringLiteral("Press the keys to assign; Ctrl+Tab leaves the field"));
  DescribeControls(this);
  ReturnFocusOnClose(this);
  if (owner_) move(PlaceOver(owner_->rect()));
}

void KeyCombinationDialog::keyPressEvent(QKeyEvent* event) {
  // Escape closes the dialog from its boxes and buttons (in the field it is
  // a key like any other).
  if (event->key() == Qt::Key_Escape) {
    event->accept();
    close();
    return;
  }
  QWidget::keyPressEvent(event);
}

QPoint KeyCombinationDialog::PlaceOver(const QRect& owner) {
  return {owner.left() + (owner.width() - kWidth) / 2,
          owner.top() + (owner.height() - kHeight) / 2 + 40};
}

void KeyCombinationDialog::Open() {
  if (owner_) move(PlaceOver(owner_->rect()));
  show();
  raise();
  activateWindow();
  CBSetFocus();
}

void KeyCombinationDialog::paintEvent(QPaintEvent*) {
  // Under the picture (and where it is missing): the skin's card colour.
  QPainter painter(this);
  painter.fillRect(rect(), QColor(16, 21, 28));
}

bool KeyCombinationDialog::eventFilter(QObject* watched, QEvent* event) {
  if (watched == field_ && event->type() == QEvent::KeyPress) {
    // Every key, Tab and Esc too, is a key for the combination: the field
    // never inserts characters. Ctrl+Tab and Ctrl+Shift+Tab (keys the
    // combination ignores anyway, as Ctrl is held) leave it for the boxes
    // and buttons, as in other fields that take Tab.
    const auto* key = static_cast<QKeyEvent*>(event);
    if ((key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab) &&
        key->modifiers().testFlag(Qt::ControlModifier)) {
      focusNextPrevChild(key->key() == Qt::Key_Tab &&
                         !key->modifiers().testFlag(Qt::ShiftModifier));
      return true;
    }
    KeyDown(EvdevCodeOfXkbKeycode(key->nativeScanCode()), key->modifiers());
    return true;
  }
  return QWidget::eventFilter(watched, event);
}

void KeyCombinationDialog::KeyDown(int evdev, Qt::KeyboardModifiers held) {
  model_.KeyDown(VirtualKeyOfEvdevCode(evdev), held.testFlag(Qt::ShiftModifier),
                 held.testFlag(Qt::AltModifier), held.testFlag(Qt::ControlModifier));
  ShowField();
}

void KeyCombinationDialog::ModifierClicked(AssemblyModifier m, bool ticked) {
  model_.SetModifier(m, ticked);
  ShowField();
  // A box ticked from the keyboard keeps the focus, so that Tab goes on to
  // the next box (in the field Tab would be a key); a click on a box leaves
  // the focus in the field, ready for the key.
  const bool box_focused = std::any_of(boxes_.begin(), boxes_.end(),
                                       [](const QCheckBox* box) { return box->hasFocus(); });
  if (!box_focused) CBSetFocus();
}

void KeyCombinationDialog::Confirm() {
  const AssemblyResult result = model_.Confirm();
  Q_EMIT confirmed(QString::fromStdString(result.text), QString::fromStdString(result.code));
  close();
}

void KeyCombinationDialog::ClearAll() {
  model_.Clear();
  for (QCheckBox* box : boxes_) box->setChecked(false);
  ShowField();
  Q_EMIT cleared();
  CBSetFocus();
}

void KeyCombinationDialog::ShowField() {
  field_->setText(QString::fromStdString(model_.FieldText()));
}

void KeyCombinationDialog::CBSetFocus() { field_->setFocus(Qt::OtherFocusReason); }

}  // namespace korvex48::gui
