#include "gui/pages/macro_library_list.h"

#include <QFileInfo>
#include <QMouseEvent>
#include <filesystem>

#include "core/common/unicode_text.h"
#include "gui/pages/macro_name_dialog.h"
#include "gui/pages/macro_widgets.h"
#include "gui/skin_widgets.h"
#include "gui/user_dialogs.h"

namespace korvex48::gui {

MacroLibraryList::MacroLibraryList(EditorContext& context, QWidget* page)
    : QObject(page), ctx_(context) {
  list_ = AddMacroList(page, QStringLiteral("LB_PCMacroName"), 150, 300);
  list_->viewport()->installEventFilter(this);
  list_->installEventFilter(this);  // its command keys
  notice_ = new QLabel(list_->viewport());
  notice_->setObjectName(QStringLiteral("lbl_LibraryUnusable"));
  notice_->setWordWrap(true);
  notice_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  SetTextStyle(notice_, 9, QColor(0xe6, 0xed, 0xf3));
  notice_->hide();
  popup_ = AddCommandPopup(page, QStringLiteral("Pnl_PCMacro"),
                           {QStringLiteral("Btn_NewMacro"), QStringLiteral("Btn_NewName"),
                            QStringLiteral("Btn_DelPCMacro"), QStringLiteral("Btn_ImportOne"),
                            QStringLiteral("Btn_Import"), QStringLiteral("Btn_ExportOne"),
                            QStringLiteral("Btn_Export"), QStringLiteral("Btn_AddMacro")});
  auto on = [this](const char* name, void (MacroLibraryList::*handler)()) {
    connect(popup_->findChild<TextLabel*>(QLatin1String(name)), &TextLabel::clicked, this, handler);
  };
  on("Btn_NewMacro", &MacroLibraryList::NewMacro);
  on("Btn_NewName", &MacroLibraryList::Rename);
  on("Btn_DelPCMacro", &MacroLibraryList::DeleteSelected);
  on("Btn_ImportOne", &MacroLibraryList::ImportOne);
  on("Btn_Import", &MacroLibraryList::ImportAll);
  on("Btn_ExportOne", &MacroLibraryList::ExportOne);
  on("Btn_Export", &MacroLibraryList::ExportAll);
  connect(popup_->findChild<TextLabel*>(QStringLiteral("Btn_AddMacro")), &TextLabel::clicked, this,
          [this] {
            const int row = SelectedRow();
            Q_EMIT hidePopupsRequested();
            if (row >= 0) Q_EMIT addToMouseRequested(row);
          });
  // A left click opens the row; so do the arrow keys while the list has the
  // focus.
  connect(list_, &QListWidget::itemClicked, this,
          [this](QListWidgetItem* item) { Q_EMIT rowOpened(list_->row(item)); });
  // The focus alone makes the first row current without selecting it: that
  // opens nothing, or the editor would show a macro no list selects.
  connect(list_, &QListWidget::currentRowChanged, this, [this](int row) {
    const QListWidgetItem* item = list_->item(row);
    if (list_->hasFocus() && item && item->isSelected()) Q_EMIT rowOpened(row);
  });
}

int MacroLibraryList::SelectedRow() const {
  return list_->selectedItems().isEmpty() ? -1 : list_->currentRow();
}

void MacroLibraryList::Select(int row) {
  if (row < 0 || row >= list_->count()) return;
  list_->setCurrentRow(row);
  list_->scrollToItem(list_->item(row));
}

// ---- The file -------------------------------------------------------------------

LibraryLoadResult MacroLibraryList::Load(const std::string& path) {
  path_ = path;
  FileError error;
  const LibraryLoadResult result = LoadLibraryFile(library_, path, &error);
  if (result == LibraryLoadResult::kReadFailed || result == LibraryLoadResult::kCreateFailed ||
      result == LibraryLoadResult::kRefused)
    ShowFileError(error);
  unusable_.clear();
  if (result == LibraryLoadResult::kReadFailed) {
    // Writing now would put an empty library over the user's macros.
    unusable_ = QStringLiteral(
                    "The macro library could not be read (%1: %2). It is left as it is: "
                    "nothing can be added, changed or exported until it can be read "
                    "at the next start.")
                    .arg(QString::fromStdString(EscapeForTerminal(error.path)),
                         QString::fromStdString(error.message));
  }
  notice_->setText(unusable_);
  notice_->setVisible(!unusable_.isEmpty());
  PlaceNotice();
  UpdateCommands();
  return result;
}

void MacroLibraryList::PlaceNotice() {
  notice_->setGeometry(list_->viewport()->rect().adjusted(4, 4, -4, -4));
}

void MacroLibraryList::UpdateCommands() {
  const bool usable = unusable_.isEmpty();
  for (const char* name : {"Btn_NewName", "Btn_DelPCMacro", "Btn_ImportOne", "Btn_Import",
                           "Btn_ExportOne", "Btn_Export"})
    if (QWidget* command = popup_->findChild<QWidget*>(QLatin1String(name)))
      command->setEnabled(usable);
  if (QWidget* add = popup_->findChild<QWidget*>(QStringLiteral("Btn_NewMacro")))
    add->setEnabled(usable && list_->count() < static_cast<int>(kLibrarySlots));
}

bool MacroLibraryList::Save() {
  if (!unusable_.isEmpty()) return false;
  FileError error;
  if (SaveLibraryFile(library_, path_, &error)) return true;
  ShowFileError(error);
  return false;
}

void MacroLibraryList::ShowFileError(const FileError& error) {
  ctx_.dialogs.Message(QString::fromStdString(error.path + ": " + error.message));
}

void MacroLibraryList::Refresh() {
  list_->clear();
  const int height = ctx_.layout.macro_name_height;
  for (std::size_t i = 0; i < kLibrarySlots && library_.IsOccupied(i); ++i) {
    auto* item = new QListWidgetItem(QString::fromStdString(library_.MacroText(i)), list_);
    item->setSizeHint(QSize(0, height));
  }
  list_->scrollToBottom();
  UpdateCommands();
}

// ---- New and Rename -------------------------------------------------------------------

void MacroLibraryList::NewMacro() {
  Q_EMIT hidePopupsRequested();
  if (!unusable_.isEmpty() || list_->count() >= static_cast<int>(kLibrarySlots)) return;
  Q_EMIT editorCleared();
  OpenNameDialog(Naming::kNew);
}

void MacroLibraryList::Rename() {
  if (!unusable_.isEmpty() || SelectedRow() < 0) return;
  Q_EMIT hidePopupsRequested();
  OpenNameDialog(Naming::kRename);
}

void MacroLibraryList::OpenNameDialog(Naming mode) {
  naming_ = mode;
  // One dialog at a time: a new command replaces the open one.
  if (dialog_) dialog_->close();
  QWidget* window = list_->window();
  dialog_ = new MacroNameDialog(ctx_, window);
  connect(dialog_, &MacroNameDialog::confirmed, this, &MacroLibraryList::ApplyName);
  dialog_->Open();
}

void MacroLibraryList::ApplyName(const QString& name) {
  if (name.isEmpty() || naming_ == Naming::kNone || !unusable_.isEmpty()) return;
  const Naming mode = naming_;
  naming_ = Naming::kNone;
  // The rule of every name that comes in, on the code units the field holds
  // (a lone surrogate would not survive the way to UTF-8).
  const MacroNameProblem problem = CheckMacroName(name.toStdU16String());
  if (problem != MacroNameProblem::kNone) {
    ctx_.dialogs.Message(QString::fromStdString(MacroNameProblemText(problem)));
    return;
  }
  const std::string text = name.toStdString();
  NameResult result = NameResult::kNoSuchMacro;
  std::size_t slot = 0;
  if (mode == Naming::kRename) {
    const int row = SelectedRow();
    if (row < 0) return;
    slot = static_cast<std::size_t>(row);
    result = library_.Rename(slot, text);
  } else {
    result = library_.AddNew(text, &slot);
  }
  switch (result) {
    case NameResult::kDone:
      break;
    case NameResult::kDuplicate:
      ctx_.dialogs.Message(ctx_.Text("Str106"));
      return;
    default:
      return;
  }
  Save();
  Refresh();
  Select(static_cast<int>(slot));
  if (mode == Naming::kNew) Q_EMIT rowOpened(static_cast<int>(slot));
}

// ---- Delete ---------------------------------------------------------------------------

void MacroLibraryList::DeleteSelected() {
  const int row = SelectedRow();
  if (!unusable_.isEmpty() || row < 0) return;
  Q_EMIT hidePopupsRequested();
  Q_EMIT editorCleared();
  library_.Delete(static_cast<std::size_t>(row));
  Save();
  Refresh();
  if (list_->count() > 0) {
    Select(row > 0 ? row - 1 : 0);
  } else {
    list_->setCurrentRow(-1);
  }
}

// ---- Files ------------------------------------------------------------------------------

bool MacroLibraryList::MayReplace(const std::string& path) {
  std::error_code ec;
  if (!std::filesystem::exists(path, ec)) return true;
  return ctx_.dialogs.Confirm(QStringLiteral("%1 already exists.\nDo you want to replace it?")
                                  .arg(QFileInfo(QString::fromStdString(path)).fileName()));
}

void MacroLibraryList::ImportOne() {
  const std::size_t n = library_.Count();
  if (!unusable_.isEmpty() || n >= kLibrarySlots - 1)
    return;  // the hundredth slot is never filled this way
  const std::optional<QString> chosen = ctx_.dialogs.OpenFile(kLoadFileFilter);
  Q_EMIT hidePopupsRequested();
  if (!chosen || chosen->isEmpty()) return;
  FileError error;
  const std::optional<Bytes> record = ReadMacroRecordFile(chosen->toStdString(), &error);
  if (!record) {
    ShowFileError(error);
    return;
  }
  Q_EMIT editorCleared();
  switch (library_.ImportOne(*record)) {
    case ImportOneResult::kImported:
      break;
    case ImportOneResult::kDuplicate:
      ctx_.dialogs.Message(ctx_.Text("Str106"));
      return;
    case ImportOneResult::kBadName:
      ctx_.dialogs.Message(*chosen + QStringLiteral(": ") +
                           QString::fromStdString(MacroNameProblemText(
                               CheckStoredMacroName(ByteView(*record).first(kMacroNameBytes)))));
      return;
    default:
      return;
  }
  Save();
  Refresh();
  Select(static_cast<int>(n));
}

void MacroLibraryList::ImportAll() {
  if (!unusable_.isEmpty()) return;
  const std::optional<QString> chosen = ctx_.dialogs.OpenFile(kLoadFileFilter);
  Q_EMIT hidePopupsRequested();
  if (!chosen || chosen->isEmpty()) return;
  FileError error;
  if (!ImportAllFromFile(library_, chosen->toStdString(), &error)) {
    ShowFileError(error);
    return;
  }
  Q_EMIT editorCleared();
  Refresh();
  Save();
}

void MacroLibraryList::ExportOne() {
  const int row = SelectedRow();
  if (!unusable_.isEmpty() || row < 0) return;
  Q_EMIT hidePopupsRequested();
  const std::optional<QString> chosen = ctx_.dialogs.SaveFile(kSaveFileFilter);
  if (!chosen || chosen->isEmpty()) return;
  const std::string target = ExportFilePath(chosen->toStdString());
  if (!MayReplace(target)) return;
  FileError error;
  if (!ExportOneToFile(library_, static_cast<std::size_t>(row), target, &error))
    ShowFileError(error);
}

void MacroLibraryList::ExportAll() {
  Q_EMIT hidePopupsRequested();
  // An empty stand-in exported as the library would be a silent substitute.
  if (!unusable_.isEmpty()) return;
  const std::optional<QString> chosen = ctx_.dialogs.SaveFile(kSaveFileFilter);
  if (!chosen || chosen->isEmpty()) return;
  const std::string target = ExportFilePath(chosen->toStdString());
  if (!MayReplace(target)) return;
  FileError error;
  if (!ExportAllToFile(library_, target, &error)) ShowFileError(error);
}

// ---- Mouse on the list ---------------------------------------------------------------------

bool MacroLibraryList::eventFilter(QObject* watched, QEvent* event) {
  if (watched == list_->viewport() && event->type() == QEvent::Resize) PlaceNotice();
  switch (TakeListKey(list_, watched, event)) {
    case ListKey::kNone:
      break;
    case ListKey::kMenu:
      // As a right click on the current row (New Macro and Import All need
      // none).
      Q_EMIT popupRequested(popup_, ListPopupPoint(list_));
      return true;
    case ListKey::kDelete:
      DeleteSelected();
      return true;
    case ListKey::kRename:
      Rename();
      return true;
    case ListKey::kInsert:
      NewMacro();
      return true;
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
      // The pop-up also opens below the last row (New Macro, Import All).
      Q_EMIT popupRequested(popup_, mouse->global);
      break;
    case ListMouseAction::kReleased:
      break;
  }
  return mouse->Eaten();
}

}  // namespace korvex48::gui
