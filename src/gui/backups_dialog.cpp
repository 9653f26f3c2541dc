#include "gui/backups_dialog.h"

#include <QKeyEvent>
#include <QLabel>

#include "gui/control_access.h"
#include "gui/skin.h"
#include "gui/skin_widgets.h"

namespace korvex48::gui {
namespace {

constexpr int kWidth = 520;
constexpr int kHeight = 320;
const QRect kClose(488, 6, 24, 24);
const QRect kList(16, 40, 488, 170);
const QRect kLost(16, 214, 488, 56);
const QRect kRestore(40, 278, 130, 30);
const QRect kFinish(195, 278, 130, 30);
const QRect kCloseButton(350, 278, 130, 30);

QString EntryText(const BackupEntry& e) {
  QString text = QString::fromStdString(e.time) + QStringLiteral("   before ") +
                 QString::fromStdString(e.change);
  if (e.Unfinished()) text += QStringLiteral("   (did not finish)");
  return text;
}

}  // namespace

BackupsDialog::BackupsDialog(EditorContext& context, QWidget* owner,
                             std::vector<BackupEntry> entries, std::optional<CutReport> cut)
    : QWidget(owner) {
  setObjectName(QStringLiteral("BackupsDialog"));
  setAttribute(Qt::WA_DeleteOnClose);
  setAttribute(Qt::WA_StyledBackground);
  setWindowTitle(QStringLiteral("Backups"));
  setFixedSize(kWidth, kHeight);
  // The skin's dialog colours: the panel of the name dialog's picture, its
  // frame in the layout's accent colour.
  const QColor text = ToQColor(context.layout.color_f);
  const QColor accent = text.isValid() ? text : QColor(0xe6, 0xed, 0xf3);
  setStyleSheet(QStringLiteral("#BackupsDialog { background: #161b22; border: 1px solid %1; }"
                               "QListWidget { background: #0d1117; color: #e6edf3;"
                               " border: 1px solid #30363d; }"
                               "QListWidget::item:selected { background: #1f6feb; }")
                    .arg(accent.name()));

  auto* caption = new QLabel(QStringLiteral("Backups of the mouse's configuration"), this);
  caption->setObjectName(QStringLiteral("lbl_Backups"));
  caption->setGeometry(16, 8, 440, 24);
  SetTextStyle(caption, 11, accent);

  list_ = new QListWidget(this);
  list_->setObjectName(QStringLiteral("LB_Backups"));
  list_->setGeometry(kList);
  list_->setAccessibleName(QStringLiteral("Backups, newest first"));
  for (const BackupEntry& e : entries) list_->addItem(EntryText(e));
  if (list_->count() > 0) list_->setCurrentRow(0);

  auto* lost = new QLabel(this);
  lost->setObjectName(QStringLiteral("lbl_BackupsLost"));
  lost->setGeometry(kLost);
  lost->setWordWrap(true);
  SetTextStyle(lost, 9, QColor(0xf0, 0xb4, 0x29));
  if (cut) {
    QString line = QString::fromStdString(cut->change) + QStringLiteral(" did not finish: ") +
                   QString::fromStdString(cut->LostLine()) + QLatin1Char('.');
    lost->setText(line);
    lost->setAccessibleName(line);
  } else if (list_->count() == 0) {
    lost->setText(
        QStringLiteral("No backups yet: one is made before every change of more than one "
                       "report."));
  } else {
    lost->setText(
        QStringLiteral("Restore puts the selected backup back on the mouse; the mouse "
                       "is backed up first."));
  }

  auto button = [&](const char* picture_name, const char* label_name, const QRect& at,
                    const QString& caption_text) {
    auto* hover = new PictureLabel(context.skin, QLatin1String(picture_name), this);
    hover->SetPicture(QStringLiteral("Dialog_BtnHover"), false);
    hover->setGeometry(at);
    hover->hide();
    auto* label = new TextLabel(QLatin1String(label_name), this);
    label->setGeometry(at);
    label->setAlignment(Qt::AlignCenter);
    label->setText(caption_text);
    label->setAccessibleName(caption_text);
    SetTextStyle(label, 10, QColor(0xe6, 0xed, 0xf3));
    connect(label, &TextLabel::entered, hover, &QWidget::show);
    connect(label, &TextLabel::left, hover, &QWidget::hide);
    return label;
  };
  TextLabel* restore = button("Img_Restore", "IB_Restore", kRestore, QStringLiteral("Restore"));
  connect(restore, &TextLabel::clicked, this, &BackupsDialog::RestoreSelected);
  if (cut && cut->can_finish) {
    TextLabel* finish =
        button("Img_Finish", "IB_Finish", kFinish, QStringLiteral("Finish the change"));
    connect(finish, &TextLabel::clicked, this, [this] {
      close();
      Q_EMIT finishRequested();
    });
  }
  TextLabel* close_button =
      button("Img_CloseBackups", "IB_CloseBackups", kCloseButton, QStringLiteral("Close"));
  connect(close_button, &TextLabel::clicked, this, &QWidget::close);
  auto* close_area = new TextLabel(QStringLiteral("IB_Close"), this);
  close_area->setGeometry(kClose);
  close_area->setText(QStringLiteral("x"));
  close_area->setAccessibleName(QStringLiteral("Close"));
  SetTextStyle(close_area, 11, accent);
  connect(close_area, &TextLabel::clicked, this, &QWidget::close);
  // With nothing to restore there is no Restore to offer.
  restore->setVisible(list_->count() > 0);
  DescribeControls(this);
}

void BackupsDialog::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Escape) {
    event->accept();
    close();
    return;
  }
  if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && list_->hasFocus()) {
    event->accept();
    RestoreSelected();
    return;
  }
  QWidget::keyPressEvent(event);
}

void BackupsDialog::Open() {
  if (QWidget* main = parentWidget())
    move((main->width() - width()) / 2, (main->height() - height()) / 2);
  show();
  raise();
  activateWindow();
  list_->setFocus();
}

void BackupsDialog::RestoreSelected() {
  const int row = list_->currentRow();
  if (row < 0) return;
  close();
  Q_EMIT restoreRequested(row);
}

}  // namespace korvex48::gui
