#include "gui/pages/macro_page.h"

#include <algorithm>

#include "core/app/app_core.h"
#include "core/editing/undo_history.h"
#include "gui/pages/add_to_mouse_refusal.h"
#include "gui/pages/edit_message.h"
#include "gui/pages/macro_device_list.h"
#include "gui/pages/macro_event_editor.h"
#include "gui/pages/macro_library_list.h"
#include "gui/pages/macro_recorder_panel.h"
#include "gui/pages/macro_widgets.h"

namespace korvex48::gui {

MacroPage::MacroPage(EditorContext& context, QWidget* parent)
    : Page(context, QStringLiteral("MacroPage"), parent) {
  panel_ = AddPicture(QStringLiteral("Img_P4"), QStringLiteral("L1_Back4"));
  library_ = new MacroLibraryList(ctx(), this);
  device_ = new MacroDeviceList(ctx(), this);
  editor_ = new MacroEventEditor(
      ctx(), this, library_->Library(), [this] { return library_->SelectedRow(); },
      [this] { library_->Save(); });
  recorder_ =
      new MacroRecorderPanel(ctx(), this, *editor_, [this] { return library_->SelectedRow(); });
  // Saving the macro storage is part of every command that changes it; the
  // separate save button is kept for the logic that names it, unplaced.
  AddPicture(QStringLiteral("Img_SaveMacro"), QStringLiteral("MacroS_01"))->hide();
  AddText(QStringLiteral("Btn_SaveMacro"))->hide();

  connect(library_, &MacroLibraryList::popupRequested, this, &MacroPage::OpenPopup);
  connect(device_, &MacroDeviceList::popupRequested, this, &MacroPage::OpenPopup);
  connect(editor_, &MacroEventEditor::popupRequested, this, &MacroPage::OpenPopup);
  connect(library_, &MacroLibraryList::hidePopupsRequested, this, &MacroPage::ClearMacro);
  connect(device_, &MacroDeviceList::hidePopupsRequested, this, &MacroPage::ClearMacro);
  connect(editor_, &MacroEventEditor::hidePopupsRequested, this, &MacroPage::ClearMacro);

  connect(library_, &MacroLibraryList::rowOpened, this, &MacroPage::ShowLibraryMacro);
  connect(device_, &MacroDeviceList::rowOpened, this, &MacroPage::ShowDeviceMacro);
  // A press in one name list lets go of the other's row.
  connect(library_, &MacroLibraryList::pressed, device_->List(), &QListWidget::clearSelection);
  connect(device_, &MacroDeviceList::pressed, library_->List(), &QListWidget::clearSelection);
  connect(library_, &MacroLibraryList::editorCleared, this, &MacroPage::ClearEditor);
  connect(library_, &MacroLibraryList::addToMouseRequested, this, &MacroPage::AddToMouse);
  connect(editor_, &MacroEventEditor::insertModeChanged, this, &MacroPage::UpdateEnabled);
  connect(recorder_, &MacroRecorderPanel::recordingChanged, this, &MacroPage::UpdateEnabled);
  connect(findChild<TextLabel*>(QStringLiteral("Btn_SaveMacro")), &TextLabel::clicked, this,
          [this] {
            if (DeviceMacroFlows* flows = device_->Flows()) flows->SaveDeviceMacros();
          });
  UpdateEnabled();
}

void MacroPage::AddToMouse(int row) {
  ClearEditor();
  AppCore* core = device_->Core();
  DeviceMacroFlows* flows = device_->Flows();
  const QListWidgetItem* added = library_->List()->item(row);
  const UndoHistory::Change change =
      ctx().history ? ctx().history->Begin(
                          {}, "device macro \"" +
                                  (added ? added->text() : QString()).toStdString() + "\" added")
                    : UndoHistory::Change();
  const MacroCommandResult result =
      flows ? flows->AddMacroToMouse(library_->Library(), static_cast<std::size_t>(row),
                                     device_->CurrentButtonView())
            : MacroCommandResult::kNoDevice;
  device_->List()->scrollToBottom();
  const QListWidgetItem* item = library_->List()->item(row);
  const QString name = item ? item->text() : QString();
  const std::optional<AppMessage> why =
      AddToMouseRefusal(result, name.toStdString(), core ? core->Layout() : StorageLayout::kNone);
  if (why) ShowEditMessage(ctx(), *why);
}

void MacroPage::UpdateEnabled() {
  const bool insert = editor_->InsertMode();
  const bool recording = recorder_->Recording();
  // While a recording runs the macro it records into cannot change; while
  // the insert panel is open only its own commands act.
  device_->List()->setEnabled(!insert && !recording);
  library_->List()->setEnabled(!insert && !recording);
  recorder_->SetEnabled(!insert);
  recorder_->ShowDelayBox(!insert);
}

void MacroPage::OpenPopup(QWidget* popup, QPoint global) {
  ClearMacro();
  OpenPopupAt(this, popup, global);
}

void MacroPage::Bind(AppCore* core, DeviceMacroFlows* macro_flows, ProfileFiles* files,
                     std::function<ButtonView()> button_view) {
  device_->Bind(core, macro_flows, files, std::move(button_view));
}

// ---- Library -------------------------------------------------------------------

LibraryLoadResult MacroPage::LoadLibrary(const std::string& path) { return library_->Load(path); }
PcMacroLibrary& MacroPage::Library() { return library_->Library(); }
const PcMacroLibrary& MacroPage::Library() const { return library_->Library(); }
void MacroPage::ShowLibrary() { library_->Refresh(); }

// ---- Device macros ----------------------------------------------------------------

void MacroPage::ShowDeviceMacros() { device_->Refresh(); }

void MacroPage::ClearDeviceLists() {
  recorder_->StopAny(false);  // the mouse went: no input of the user's stopped it
  device_->List()->clear();
  ClearEditor();
}

// ---- Editor --------------------------------------------------------------------------

void MacroPage::ClearEditor() {
  ClearMacro();
  editor_->Clear(false);
}

void MacroPage::ClearMacro() {
  library_->Popup()->hide();
  device_->Popup()->hide();
  editor_->Popup()->hide();
}

void MacroPage::ShowDeviceMacro(int row) {
  ClearEditor();
  const ByteView bytes = device_->MacroBytes(row);
  if (!bytes.empty()) editor_->Show(bytes, false);
}

void MacroPage::ShowLibraryMacro(int row) {
  ClearEditor();
  if (row < 0 || static_cast<std::size_t>(row) >= kLibrarySlots) return;
  const auto slot = static_cast<std::size_t>(row);
  const PcMacroLibrary& library = library_->Library();
  // The row is the macro being edited even while it has no events yet.
  const std::size_t length = library.EventLength(slot);
  if (length <= 1) {
    editor_->Clear(true);
    return;
  }
  editor_->Show(ByteView(library.Slot(slot).events).first(length), true);
}

const MacroLines& MacroPage::Lines() const { return editor_->Lines(); }
bool MacroPage::ShowsLibraryMacro() const { return editor_->ShowsLibraryMacro(); }
void MacroPage::ShowInsertMode(bool insert) { editor_->ShowInsertMode(insert); }
bool MacroPage::InsertMode() const { return editor_->InsertMode(); }

// ---- Layout ----------------------------------------------------------------------------

void MacroPage::ApplyLayout() {
  // The tables place the three lists; their sizes follow the panel: each list
  // runs to its right-hand neighbour (leaving a gap) and down to the
  // neighbour below or the panel's bottom edge, matching the frames drawn on
  // the panel picture.
  constexpr int kGap = 16;
  constexpr int kHeadingRoom = 26;
  constexpr int kBottomInset = 14;
  const LayoutTable& t = ctx().layout;
  const int bottom = t.p4.y + panel_->PictureSize().height() - kBottomInset;
  auto place = [](QListWidget* list, int x, int y, int w, int h) {
    list->setGeometry(x, y, std::max(40, w), std::max(40, h));
  };
  place(library_->List(), t.pc_macro_name.x, t.pc_macro_name.y,
        t.macro_content.x - kGap - t.pc_macro_name.x,
        t.mse_macro_name.y - kHeadingRoom - 8 - t.pc_macro_name.y);
  place(device_->List(), t.mse_macro_name.x, t.mse_macro_name.y,
        t.macro_content.x - kGap - t.mse_macro_name.x, bottom - t.mse_macro_name.y);
  editor_->ApplyLayout(t, bottom);
  for (QListWidget* list : {library_->List(), device_->List()})
    for (int i = 0; i < list->count(); ++i)
      list->item(i)->setSizeHint(QSize(0, t.macro_name_height));
  recorder_->ApplyLayout(t);
}

void MacroPage::ShowImage() { ShowDeviceMacros(); }

void MacroPage::Opened() {
  panel_->SetPicture(QStringLiteral("L%1_Back4").arg(ctx().language));
  ShowInsertMode(InsertMode());
}

}  // namespace korvex48::gui
