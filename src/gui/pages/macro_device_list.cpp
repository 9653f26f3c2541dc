#include "gui/pages/macro_device_list.h"

#include <QMouseEvent>
#include <QSignalBlocker>
#include <algorithm>

#include "core/editing/undo_history.h"
#include "gui/pages/macro_widgets.h"
#include "gui/skin_widgets.h"
#include "gui/user_dialogs.h"

namespace korvex48::gui {

MacroDeviceList::MacroDeviceList(EditorContext& context, QWidget* page)
    : QObject(page), ctx_(context) {
  list_ = AddMacroList(page, QStringLiteral("LB_MacroName"), 150, 120);
  list_->viewport()->installEventFilter(this);
  list_->installEventFilter(this);  // its command keys
  popup_ = AddCommandPopup(page, QStringLiteral("Pnl_DevMacro"),
                           {QStringLiteral("Btn_DelMacro"), QStringLiteral("Btn_DevExport")});
  connect(popup_->findChild<TextLabel*>(QStringLiteral("Btn_DelMacro")), &TextLabel::clicked, this,
          &MacroDeviceList::DeleteSelected);
  connect(popup_->findChild<TextLabel*>(QStringLiteral("Btn_DevExport")), &TextLabel::clicked, this,
          &MacroDeviceList::ExportAll);
  connect(list_, &QListWidget::itemClicked, this,
          [this](QListWidgetItem* item) { Q_EMIT rowOpened(list_->row(item)); });
  // The focus alone makes the first row current without selecting it: that
  // opens nothing, or the editor would show a macro no list selects.
  connect(list_, &QListWidget::currentRowChanged, this, [this](int row) {
    const QListWidgetItem* item = list_->item(row);
    if (list_->hasFocus() && item && item->isSelected()) Q_EMIT rowOpened(row);
  });
}

void MacroDeviceList::Bind(AppCore* core, DeviceMacroFlows* macro_flows, ProfileFiles* files,
                           std::function<ButtonView()> button_view) {
  core_ = core;
  macro_flows_ = macro_flows;
  files_ = files;
  button_view_ = std::move(button_view);
  Refresh();
}

void MacroDeviceList::Refresh() {
  list_->clear();
  if (!core_) return;
  const int height = ctx_.layout.macro_name_height;
  for (const std::string& name : core_->Macros().Names()) {
    auto* item = new QListWidgetItem(QString::fromStdString(name), list_);
    item->setSizeHint(QSize(0, height));
  }
  list_->scrollToBottom();
}

ByteView MacroDeviceList::MacroBytes(int row) const {
  if (!core_ || row < 0 || static_cast<std::size_t>(row) >= core_->Macros().Count()) return {};
  const ByteView bytes = core_->Macros().EventBytes(static_cast<std::size_t>(row));
  // The end byte only: a macro without events.
  return bytes.size() <= 1 ? ByteView{} : bytes;
}

void MacroDeviceList::DeleteSelected() {
  const int row = list_->currentRow();
  if (!core_ || row < 0 || list_->selectedItems().isEmpty()) return;
  Q_EMIT hidePopupsRequested();
  const UndoHistory::Change change =
      ctx_.history
          ? ctx_.history->Begin(
                {}, "device macro \"" + list_->item(row)->text().toStdString() + "\" deleted")
          : UndoHistory::Change();
  int selection = -1;
  if (macro_flows_->DeleteDeviceMacro(static_cast<std::size_t>(row), CurrentButtonView(),
                                      &selection) == MacroCommandResult::kDone &&
      selection >= 0) {
    // Selected for the user, not opened: the editor stays cleared.
    const QSignalBlocker quiet(list_);
    list_->setCurrentRow(selection);
  }
}

void MacroDeviceList::ExportAll() {
  if (!files_) return;
  Q_EMIT hidePopupsRequested();
  const std::optional<QString> chosen = ctx_.dialogs.SaveFile(kSaveFileFilter);
  if (!chosen || chosen->isEmpty()) return;
  const FileCommandResult result = files_->ExportDeviceMacros(chosen->toStdString());
  if (!result.ok() && result.status == FileCommandStatus::kFileError)
    ctx_.dialogs.Message(QString::fromStdString(result.error.path + ": " + result.error.message));
}

bool MacroDeviceList::eventFilter(QObject* watched, QEvent* event) {
  switch (TakeListKey(list_, watched, event)) {
    case ListKey::kMenu:
      if (list_->currentItem()) Q_EMIT popupRequested(popup_, ListPopupPoint(list_));
      return true;
    case ListKey::kDelete:
      DeleteSelected();
      return true;
    case ListKey::kNone:
    case ListKey::kRename:
    case ListKey::kInsert:
      break;
  }
  const std::optional<ListMouse> mouse = TakeListMouse(list_, watched, event);
  if (!mouse) return QObject::eventFilter(watched, event);
  switch (mouse->action) {
    case ListMouseAction::kPressedEmpty:
      Q_EMIT pressed();
      Q_EMIT hidePopupsRequested();
      break;
    case ListMouseAction::kPressedRow:
      Q_EMIT pressed();
      break;
    case ListMouseAction::kRightPressedRow:
      Q_EMIT pressed();
      Q_EMIT rowOpened(list_->row(mouse->item));
      break;
    case ListMouseAction::kRightReleased:
      if (mouse->item) Q_EMIT popupRequested(popup_, mouse->global);
      break;
    case ListMouseAction::kReleased:
      break;
  }
  return mouse->Eaten();
}

}  // namespace korvex48::gui
