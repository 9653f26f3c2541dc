#include "gui/pages/macro_name_dialog.h"

#include <QKeyEvent>
#include <QLabel>
#include <QValidator>

#include "core/macros/macro_names.h"
#include "gui/control_access.h"
#include "gui/focus_return.h"
#include "gui/skin.h"
#include "gui/skin_widgets.h"

namespace korvex48::gui {
namespace {

constexpr int kWidth = 354;
constexpr int kHeight = 179;
// Areas of the background picture: the close mark, the edit well and the two
// text buttons.
const QRect kClose(324, 6, 24, 24);
const QRect kField(20, 58, 314, 30);
const QRect kConfirm(52, 134, 110, 30);
const QRect kCancel(192, 134, 110, 30);

class NameLengthValidator final : public QValidator {
 public:
  using QValidator::QValidator;
  State validate(QString& input, int&) const override {
    return input.size() > static_cast<qsizetype>(kMacroNameUnits) ? Invalid : Acceptable;
  }
};

}  // namespace

MacroNameDialog::MacroNameDialog(EditorContext& context, QWidget* owner) : QWidget(owner) {
  setObjectName(QStringLiteral("TForm3"));
  setAttribute(Qt::WA_DeleteOnClose);
  setWindowTitle(context.Text("Str510"));
  setFixedSize(kWidth, kHeight);

  auto* back = new PictureLabel(context.skin, QStringLiteral("Img_Assembly"), this);
  back->SetPicture(QStringLiteral("Dialog_MacroName"), false);
  back->setGeometry(0, 0, kWidth, kHeight);
  back->SetTakesPresses(false);
  // The picture's dark red (0x800000) is cut out of the panel.
  if (context.skin.Has(QStringLiteral("Dialog_MacroName")))
    setMask(context.skin.Shape(QStringLiteral("Dialog_MacroName")));

  const QColor text = ToQColor(context.layout.color_f);
  auto* caption = new QLabel(context.Text("Str510"), this);
  caption->setObjectName(QStringLiteral("lbl_MacroName"));
  caption->setGeometry(20, 8, 280, 24);
  SetTextStyle(caption, 11, text.isValid() ? text : QColor(Qt::white));

  edit_ = new QLineEdit(this);
  edit_->setObjectName(QStringLiteral("Edt_MacroName"));
  // At most 8 code units, as the stored name holds them. A validator rather
  // than a maximum length: a longer text pasted in is refused whole, where a
  // maximum length would cut it without a word.
  edit_->setValidator(new NameLengthValidator(edit_));
  edit_->setFrame(false);
  edit_->setGeometry(kField.adjusted(6, 3, -6, -5));
  edit_->setStyleSheet(QStringLiteral("QLineEdit { background: transparent; color: #e6edf3; }"));
  QFont font = edit_->font();
  font.setPointSize(12);
  edit_->setFont(font);

  auto button = [&](const char* picture_name, const char* label_name, const QRect& at,
                    const char* key) {
    auto* hover = new PictureLabel(context.skin, QLatin1String(picture_name), this);
    hover->SetPicture(QStringLiteral("Dialog_BtnHover"), false);
    hover->setGeometry(at);
    hover->hide();
    auto* label = new TextLabel(QLatin1String(label_name), this);
    label->setGeometry(at);
    label->setAlignment(Qt::AlignCenter);
    label->setText(context.Text(key));
    SetTextStyle(label, 10, QColor(0xe6, 0xed, 0xf3));
    connect(label, &TextLabel::entered, hover, &QWidget::show);
    connect(label, &TextLabel::left, hover, &QWidget::hide);
    return label;
  };
  TextLabel* confirm = button("Img_Confirm", "IB_Confirm", kConfirm, "Str511");
  TextLabel* cancel = button("Img_Cancel", "IB_Cancel", kCancel, "Str512");
  auto* close_area = new TextLabel(QStringLiteral("IB_Close"), this);
  close_area->setGeometry(kClose);
  connect(confirm, &TextLabel::clicked, this, &MacroNameDialog::Confirm);
  connect(cancel, &TextLabel::clicked, edit_, &QLineEdit::clear);
  connect(close_area, &TextLabel::clicked, this, &QWidget::close);
  connect(edit_, &QLineEdit::returnPressed, this, &MacroNameDialog::Confirm);
  edit_->setAccessibleName(context.Text("Str510"));
  DescribeControls(this);
  ReturnFocusOnClose(this);
}

void MacroNameDialog::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Escape) {  // as the close mark
    event->accept();
    close();
    return;
  }
  QWidget::keyPressEvent(event);
}

void MacroNameDialog::Open() {
  if (QWidget* main = parentWidget())
    move((main->width() - width()) / 2, (main->height() - height()) / 2);
  show();
  raise();
  activateWindow();
  edit_->setFocus();
}

void MacroNameDialog::Confirm() {
  const QString name = edit_->text();
  close();
  Q_EMIT confirmed(name);
}

}  // namespace korvex48::gui
