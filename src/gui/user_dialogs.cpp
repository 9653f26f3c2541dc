#include "gui/user_dialogs.h"

#include <QColorDialog>
#include <QFileDialog>
#include <QMessageBox>

#include "gui/message_panel.h"

namespace korvex48::gui {

void QtUserDialogs::Message(const QString& text, const QString& caption) {
  if (parent_ && parent_->isVisible())
    MessagePanel::Ask(parent_, MessagePanel::Kind::kMessage, caption, text);
  else
    QMessageBox::information(parent_, caption, text, QMessageBox::Ok);
}

bool QtUserDialogs::Confirm(const QString& text, const QString& caption) {
  if (parent_ && parent_->isVisible())
    return MessagePanel::Ask(parent_, MessagePanel::Kind::kQuestion, caption, text);
  return QMessageBox::question(parent_, caption, text, QMessageBox::Ok | QMessageBox::Cancel,
                               QMessageBox::Ok) == QMessageBox::Ok;
}

bool QtUserDialogs::ConfirmIrreversible(const QString& text, const QString& caption) {
  if (parent_ && parent_->isVisible())
    return MessagePanel::Ask(parent_, MessagePanel::Kind::kRiskyQuestion, caption, text);
  return QMessageBox::question(parent_, caption, text, QMessageBox::Yes | QMessageBox::No,
                               QMessageBox::No) == QMessageBox::Yes;
}

std::optional<QString> QtUserDialogs::OpenFile(const QString& filter) {
  QString path = QFileDialog::getOpenFileName(parent_, {}, {}, filter);
  if (path.isEmpty()) return std::nullopt;
  return path;
}

std::optional<QString> QtUserDialogs::SaveFile(const QString& filter) {
  // The callers write to the chosen name with ".bin" appended, so the
  // dialog neither adds a suffix nor asks about the chosen name itself: the
  // question belongs to the file that will really be replaced.
  QFileDialog dialog(parent_, {}, {}, filter);
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setOption(QFileDialog::DontConfirmOverwrite, true);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
  QString chosen = dialog.selectedFiles().first();
  if (dialog.selectedNameFilter() == kConfigTextFilter &&
      !chosen.endsWith(QStringLiteral(".json"), Qt::CaseInsensitive))
    chosen += QStringLiteral(".json");
  return chosen;
}

std::optional<QColor> QtUserDialogs::PickColor(const QColor& initial) {
  QColor color = QColorDialog::getColor(initial, parent_);
  if (!color.isValid()) return std::nullopt;
  return color;
}

}  // namespace korvex48::gui
