#include "gui/pages/macro_page.h"

#include <QFrame>
#include <QMouseEvent>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QScrollBar>
#include <algorithm>

#include "core/app/app_core.h"
#include "gui/pages/macro_event_list.h"
#include "gui/user_dialogs.h"

namespace korvex48::gui {
namespace {

// Grey text of a delay field that cannot be edited (recorded or no delay).
const QColor kReadOnlyText(0x72, 0x71, 0x71);

// The delay option rows: recorded delay, fixed delay, no delay.
constexpr const char* kDelayRows[] = {"RecDelay", "DelayTime", "NoDelay"};
constexpr const char* kInsertDelayRows[] = {"InsertRecDelay", "InsertDelayTime", "InsertNoDelay"};

// A delay option row: the mark LED_<name>, its text IB_<name> and the hidden
// choice rb_<name> holding the option.
void AddOptionRow(QWidget* parent, QButtonGroup* group, const QString& name) {
  auto* mark = new QRadioButton(parent);
  mark->setObjectName(QStringLiteral("LED_") + name);
  mark->setAutoExclusive(false);
  mark->setFocusPolicy(Qt::NoFocus);
  group->addButton(mark);
  mark->resize(16, 16);
  auto* text = new TextLabel(QStringLiteral("IB_") + name, parent);
  text->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  text->resize(170, 18);
  auto* choice = new QRadioButton(parent);
  choice->setObjectName(QStringLiteral("rb_") + name);
  choice->hide();
}

QLineEdit* AddEdit(QWidget* parent, const QString& name, int w, const QString& value,
                   const QString& pattern) {
  auto* edit = new QLineEdit(parent);
  edit->setObjectName(name);
  edit->resize(w, 22);
  edit->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  edit->setMaxLength(5);
  edit->setText(value);
  edit->setValidator(new QRegularExpressionValidator(QRegularExpression(pattern), edit));
  return edit;
}

// Keeps a number field inside [low, high] when editing ends; an empty or
// unreadable value counts as 0.
void ClampOnEdit(QLineEdit* edit, int low, int high) {
  QObject::connect(edit, &QLineEdit::editingFinished, edit, [edit, low, high] {
    bool ok = false;
    const int value = edit->text().toInt(&ok);
    const int kept = std::clamp(ok ? value : 0, low, high);
    if (!ok || kept != value) edit->setText(QString::number(kept));
  });
}

QListWidget* AddList(QWidget* parent, const QString& name, int w, int h) {
  auto* list = new QListWidget(parent);
  list->setObjectName(name);
  list->resize(w, h);
  list->setFrameShape(QFrame::NoFrame);
  list->setSelectionMode(QAbstractItemView::SingleSelection);
  list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  list->setUniformItemSizes(true);
  // A slim dark scroll bar in the skin's colours instead of the light
  // default one with arrow buttons.
  list->verticalScrollBar()->setStyleSheet(QStringLiteral(
      "QScrollBar:vertical { background: #0b0e13; width: 10px; margin: 0; }"
      "QScrollBar::handle:vertical { background: #2a3442; min-height: 24px;"
      " border-radius: 4px; margin: 1px; }"
      "QScrollBar::handle:vertical:hover { background: #00a8cc; }"
      "QScrollBar::add-line:vertical, QScrollBar::sub-line:vertical { height: 0; }"
      "QScrollBar::add-page:vertical, QScrollBar::sub-page:vertical { background: none; }"));
  return list;
}

QPlainTextEdit* AddHolder(QWidget* parent, const QString& name) {
  auto* holder = new QPlainTextEdit(parent);
  holder->setObjectName(name);
  holder->setReadOnly(true);
  holder->hide();
  return holder;
}

// The read-only look of a delay field, or the editable one (the layout's
// list colours).
void SetEditable(QLineEdit* edit, bool editable, const QColor& text) {
  edit->setReadOnly(!editable);
  QPalette p = edit->palette();
  p.setColor(QPalette::Text, editable ? text : kReadOnlyText);
  edit->setPalette(p);
}

}  // namespace

MacroPage::MacroPage(EditorContext& context, QWidget* parent)
    : Page(context, QStringLiteral("MacroPage"), parent) {
  panel_ = AddPicture(QStringLiteral("Img_P4"), QStringLiteral("L1_Back4"));

  library_list_ = AddList(this, QStringLiteral("LB_PCMacroName"), 150, 300);
  device_list_ = AddList(this, QStringLiteral("LB_MacroName"), 150, 120);
  event_list_ = AddList(this, QStringLiteral("LB_macro"), 200, 300);
  event_delegate_ = new MacroEventDelegate(ctx().skin, event_list_);
  event_list_->setItemDelegate(event_delegate_);
  for (QListWidget* list : {library_list_, device_list_, event_list_})
    list->viewport()->installEventFilter(this);
  lines_box_ = AddHolder(this, QStringLiteral("mmo_macro"));
  hex_box_ = AddHolder(this, QStringLiteral("mmo_wrscript"));

  auto* start = AddPicture(QStringLiteral("Img_Start"), QStringLiteral("MacroS_01"));
  AddText(QStringLiteral("Btn_Start"))->resize(start->size());
  // Saving the macro storage is part of every command that changes it; the
  // separate save button is kept for the logic that names it, unplaced.
  auto* save = AddPicture(QStringLiteral("Img_SaveMacro"), QStringLiteral("MacroS_01"));
  save->hide();
  AddText(QStringLiteral("Btn_SaveMacro"))->hide();

  // Delay options of recording.
  delay_box_ = new QGroupBox(this);
  delay_box_->setObjectName(QStringLiteral("Gb_Delay"));
  delay_box_->setFlat(true);
  delay_box_->setStyleSheet(QStringLiteral("QGroupBox { border: none; }"));
  delay_box_->resize(200, 140);
  auto* delay_group = new QButtonGroup(this);
  for (const char* name : kDelayRows) AddOptionRow(delay_box_, delay_group, QLatin1String(name));
  delay_edit_ = AddEdit(delay_box_, QStringLiteral("Edt_Delay"), 50, QStringLiteral("50"),
                        QStringLiteral("[0-9]*"));

  // Insert panel of the macro editor.
  insert_base_ = AddPicture(QStringLiteral("Img_InsertBase"), QStringLiteral("InsertDelayBase"));
  insert_box_ = new QGroupBox(this);
  insert_box_->setObjectName(QStringLiteral("Gb_Insert"));
  insert_box_->setFlat(true);
  insert_box_->setStyleSheet(QStringLiteral("QGroupBox { border: none; }"));
  insert_box_->resize(insert_base_->size());
  auto* insert_list = new QComboBox(insert_box_);
  insert_list->setObjectName(QStringLiteral("CB_Insert"));
  insert_list->resize(160, 22);
  for (int i = 0; i < 10; ++i) insert_list->addItem(QString());
  auto* insert_group = new QButtonGroup(this);
  for (const char* name : kInsertDelayRows)
    AddOptionRow(insert_box_, insert_group, QLatin1String(name));
  insert_delay_edit_ = AddEdit(insert_box_, QStringLiteral("Edt_InsertDelay"), 40,
                               QStringLiteral("50"), QStringLiteral("[0-9]*"));
  for (const char* name :
       {"lbl_Delay", "lbl_s_A", "lbl_XAxisValue", "lbl_YAxisValue", "lbl_Repeat"}) {
    auto* label = new QLabel(insert_box_);
    label->setObjectName(QLatin1String(name));
    label->resize(name[4] == 's' ? 30 : 72, 18);
  }
  // The number fields take digits and "-" only.
  const QString signed_digits = QStringLiteral("[-0-9]*");
  auto* x_value = AddEdit(insert_box_, QStringLiteral("edt_XAxisValue"), 60, QStringLiteral("12"),
                          signed_digits);
  auto* y_value = AddEdit(insert_box_, QStringLiteral("edt_YAxisValue"), 60, QStringLiteral("12"),
                          signed_digits);
  auto* repeat =
      AddEdit(insert_box_, QStringLiteral("edt_Repeat"), 60, QStringLiteral("10"), signed_digits);
  for (QLineEdit* edit : {x_value, y_value, repeat}) edit->hide();
  ClampOnEdit(x_value, -127, 127);
  ClampOnEdit(y_value, -127, 127);
  ClampOnEdit(repeat, 1, 255);
  ClampOnEdit(delay_edit_, 1, 65535);
  ClampOnEdit(insert_delay_edit_, 1, 65535);
  for (const char* name : {"InsertStart", "OK", "Cancel"}) {
    auto* picture =
        new PictureLabel(ctx().skin, QStringLiteral("Img_") + QLatin1String(name), insert_box_);
    picture->SetPicture(QLatin1String(name) == QLatin1String("InsertStart")
                            ? QStringLiteral("MacroS_01")
                            : QStringLiteral("MacroBtnS_01"));
    auto* text = new TextLabel(QStringLiteral("Btn_") + QLatin1String(name), insert_box_);
    text->resize(picture->size());
  }

  // Command pop-ups of the three lists.
  pc_panel_ = AddCommandPanel(QStringLiteral("Pnl_PCMacro"),
                              {QStringLiteral("Btn_NewMacro"), QStringLiteral("Btn_NewName"),
                               QStringLiteral("Btn_DelPCMacro"), QStringLiteral("Btn_ImportOne"),
                               QStringLiteral("Btn_Import"), QStringLiteral("Btn_ExportOne"),
                               QStringLiteral("Btn_Export"), QStringLiteral("Btn_AddMacro")});
  device_panel_ =
      AddCommandPanel(QStringLiteral("Pnl_DevMacro"),
                      {QStringLiteral("Btn_DelMacro"), QStringLiteral("Btn_DevExport")});
  content_panel_ = AddCommandPanel(QStringLiteral("Pnl_DevContent"),
                                   {QStringLiteral("Btn_Del"), QStringLiteral("Btn_Insert")});

  ConnectCommands();
  SetDelayMode(0);
  SetInsertDelayMode(0);
  ShowInsertMode(false);
}

QWidget* MacroPage::AddCommandPanel(const QString& name, const QStringList& commands) {
  // Labels of 112 x 20, one under the other, inside a one-pixel frame.
  auto* panel = new QFrame(this);
  panel->setObjectName(name);
  panel->setAutoFillBackground(true);
  panel->setFrameShape(QFrame::Box);
  panel->setLineWidth(1);
  panel->resize(112 + 2, 20 * static_cast<int>(commands.size()) + 2);
  int y = 1;
  for (const QString& command : commands) {
    auto* label = new TextLabel(command, panel);
    label->setGeometry(1, y, 112, 20);
    label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    label->setIndent(8);
    y += 20;
  }
  panel->hide();
  return panel;
}

void MacroPage::ConnectCommands() {
  auto on_click = [this](const char* name, auto handler) {
    if (auto* label = findChild<TextLabel*>(QLatin1String(name)))
      connect(label, &TextLabel::clicked, this, handler);
  };
  on_click("Btn_DelMacro", [this] { DeleteDeviceMacro(); });
  on_click("Btn_DevExport", [this] { ExportDeviceMacros(); });
  on_click("Btn_AddMacro", [this] { AddToMouse(); });
  on_click("Btn_SaveMacro", [this] {
    if (core_ && button_view_) core_->Btn_SaveMacroClick(button_view_());
  });
  // The library and event commands are carried out by the editing logic;
  // until then a click only closes the pop-up.
  for (const char* name : {"Btn_NewMacro", "Btn_NewName", "Btn_DelPCMacro", "Btn_ImportOne",
                           "Btn_Import", "Btn_ExportOne", "Btn_Export", "Btn_Del", "Btn_Insert"})
    on_click(name, [this] { ClearMacro(); });

  // Delay options: the text and the mark both choose.
  for (int i = 0; i < 3; ++i) {
    if (auto* text = findChild<TextLabel*>(QStringLiteral("IB_") + QLatin1String(kDelayRows[i])))
      connect(text, &TextLabel::clicked, this, [this, i] { SetDelayMode(i); });
    if (auto* mark =
            findChild<QRadioButton*>(QStringLiteral("LED_") + QLatin1String(kDelayRows[i])))
      connect(mark, &QRadioButton::clicked, this, [this, i] { SetDelayMode(i); });
    if (auto* text =
            findChild<TextLabel*>(QStringLiteral("IB_") + QLatin1String(kInsertDelayRows[i])))
      connect(text, &TextLabel::clicked, this, [this, i] { SetInsertDelayMode(i); });
    if (auto* mark =
            findChild<QRadioButton*>(QStringLiteral("LED_") + QLatin1String(kInsertDelayRows[i])))
      connect(mark, &QRadioButton::clicked, this, [this, i] { SetInsertDelayMode(i); });
  }

  // A left click opens the row; so do the arrow keys while the list has the
  // focus.
  connect(library_list_, &QListWidget::itemClicked, this,
          [this](QListWidgetItem* item) { ShowLibraryMacro(library_list_->row(item)); });
  connect(device_list_, &QListWidget::itemClicked, this,
          [this](QListWidgetItem* item) { ShowDeviceMacro(device_list_->row(item)); });
  connect(library_list_, &QListWidget::currentRowChanged, this, [this](int row) {
    if (library_list_->hasFocus() && row >= 0) ShowLibraryMacro(row);
  });
  connect(device_list_, &QListWidget::currentRowChanged, this, [this](int row) {
    if (device_list_->hasFocus() && row >= 0) ShowDeviceMacro(row);
  });
}

void MacroPage::Bind(AppCore* core, std::function<ButtonView()> button_view) {
  core_ = core;
  button_view_ = std::move(button_view);
  ShowDeviceMacros();
}

ButtonView MacroPage::CurrentButtonView() const {
  return button_view_ ? button_view_() : ButtonView{};
}

// ---- Library -----------------------------------------------------------------

LibraryLoadResult MacroPage::LoadLibrary(const std::string& path) {
  FileError error;
  const LibraryLoadResult result = LoadLibraryFile(library_, path, &error);
  if (result == LibraryLoadResult::kReadFailed || result == LibraryLoadResult::kCreateFailed)
    ctx().dialogs.Message(QString::fromStdString(error.path + ": " + error.message));
  return result;
}

void MacroPage::ShowLibrary() {
  library_list_->clear();
  const int height = ctx().layout.macro_name_height;
  for (std::size_t i = 0; i < kLibrarySlots && library_.IsOccupied(i); ++i) {
    auto* item = new QListWidgetItem(QString::fromStdString(library_.MacroText(i)), library_list_);
    item->setSizeHint(QSize(0, height));
  }
  library_list_->scrollToBottom();
  if (QWidget* add = findChild<QWidget*>(QStringLiteral("Btn_NewMacro")))
    add->setEnabled(library_list_->count() < static_cast<int>(kLibrarySlots));
}

// ---- Device macros -------------------------------------------------------------

void MacroPage::ShowDeviceMacros() {
  device_list_->clear();
  if (!core_) return;
  const int height = ctx().layout.macro_name_height;
  for (const std::string& name : core_->Macros().Names()) {
    auto* item = new QListWidgetItem(QString::fromStdString(name), device_list_);
    item->setSizeHint(QSize(0, height));
  }
  device_list_->scrollToBottom();
}

void MacroPage::ClearDeviceLists() {
  device_list_->clear();
  ClearEditor();
}

// ---- Editor ----------------------------------------------------------------------

void MacroPage::ClearEditor() {
  ClearMacro();
  event_list_->clear();
  lines_.clear();
  lines_box_->clear();
  hex_box_->clear();
}

void MacroPage::ClearMacro() {
  pc_panel_->hide();
  device_panel_->hide();
  content_panel_->hide();
}

void MacroPage::ShowDeviceMacro(int row) {
  ClearEditor();
  if (!core_ || row < 0 || static_cast<std::size_t>(row) >= core_->Macros().Count()) return;
  const ByteView bytes = core_->Macros().EventBytes(static_cast<std::size_t>(row));
  // The end byte only: a macro without events.
  if (bytes.size() <= 1) return;
  ShowLines(DecodeMacroLines(bytes), bytes, false);
}

void MacroPage::ShowLibraryMacro(int row) {
  ClearEditor();
  if (row < 0 || static_cast<std::size_t>(row) >= kLibrarySlots) return;
  const auto slot = static_cast<std::size_t>(row);
  // The row is the macro being edited even while it has no events yet.
  library_source_ = true;
  const std::size_t length = library_.EventLength(slot);
  if (length <= 1) return;
  const ByteView bytes = ByteView(library_.Slot(slot).events).first(length);
  ShowLines(DecodeMacroLines(bytes), bytes, true);
}

void MacroPage::ShowLines(MacroLines lines, ByteView bytes, bool library) {
  library_source_ = library;
  lines_ = std::move(lines);
  QStringList text;
  for (const std::string& line : lines_) text.append(QString::fromStdString(line));
  lines_box_->setPlainText(text.join(QLatin1Char('\n')));
  hex_box_->setPlainText(QString::fromStdString(BytesToHex(bytes)));
  FillMacroEventList(event_list_, lines_);
  const DelayHeader header = ParseDelayHeader(lines_.empty() ? std::string() : lines_[0]);
  switch (header.mode) {
    case DelayMode::kRecorded:
      SetDelayMode(0);
      break;
    case DelayMode::kFixed:
      delay_edit_->setText(QString::number(std::min<std::uint32_t>(header.fixed_ms, 65535)));
      SetDelayMode(1);
      break;
    case DelayMode::kNone:
      SetDelayMode(2);
      break;
  }
}

void MacroPage::SetDelayMode(int mode) {
  for (int i = 0; i < 3; ++i) {
    const QString name = QLatin1String(kDelayRows[i]);
    if (auto* mark = findChild<QRadioButton*>(QStringLiteral("LED_") + name))
      mark->setChecked(i == mode);
    if (auto* choice = findChild<QRadioButton*>(QStringLiteral("rb_") + name))
      choice->setChecked(i == mode);
  }
  SetEditable(delay_edit_, mode == 1, ToQColor(ctx().layout.color_f_font));
}

void MacroPage::SetInsertDelayMode(int mode) {
  for (int i = 0; i < 3; ++i) {
    const QString name = QLatin1String(kInsertDelayRows[i]);
    if (auto* mark = findChild<QRadioButton*>(QStringLiteral("LED_") + name))
      mark->setChecked(i == mode);
    if (auto* choice = findChild<QRadioButton*>(QStringLiteral("rb_") + name))
      choice->setChecked(i == mode);
  }
  SetEditable(insert_delay_edit_, mode == 1, ToQColor(ctx().layout.color_f_font));
}

// ---- Pop-ups -------------------------------------------------------------------------

void MacroPage::OpenPanel(QWidget* panel, QPoint global) {
  ClearMacro();
  // The pop-up opens at the pointer, kept inside the page.
  QPoint at = mapFromGlobal(global);
  at.setX(std::clamp(at.x(), 0, std::max(0, width() - panel->width())));
  at.setY(std::clamp(at.y(), 0, std::max(0, height() - panel->height())));
  panel->move(at);
  panel->show();
  panel->raise();
}

bool MacroPage::eventFilter(QObject* watched, QEvent* event) {
  QListWidget* list = nullptr;
  for (QListWidget* candidate : {library_list_, device_list_, event_list_})
    if (watched == candidate->viewport()) list = candidate;
  if (!list ||
      (event->type() != QEvent::MouseButtonPress && event->type() != QEvent::MouseButtonRelease &&
       event->type() != QEvent::MouseButtonDblClick))
    return Page::eventFilter(watched, event);

  auto* mouse = static_cast<QMouseEvent*>(event);
  const QPoint pos = mouse->position().toPoint();
  QListWidgetItem* item = list->itemAt(pos);

  if (event->type() != QEvent::MouseButtonRelease) {
    // A press in one name list lets go of the other's row.
    if (list == library_list_) device_list_->clearSelection();
    if (list == device_list_) library_list_->clearSelection();
    if (list == event_list_ && mouse->button() == Qt::LeftButton) ClearMacro();
    if (!item) {
      // Below the last row: nothing is selected any more.
      list->clearSelection();
      list->setCurrentRow(-1, QItemSelectionModel::NoUpdate);
      ClearMacro();
      event_list_->setFocus();
      return true;
    }
    if (mouse->button() == Qt::RightButton) {
      // A right press picks the row under the pointer as a left click does.
      list->setCurrentItem(item);
      if (list == library_list_) ShowLibraryMacro(list->row(item));
      if (list == device_list_) ShowDeviceMacro(list->row(item));
      return true;
    }
    return false;
  }

  if (mouse->button() != Qt::RightButton) return false;
  const QPoint global = mouse->globalPosition().toPoint();
  if (list == library_list_ && item) OpenPanel(pc_panel_, global);
  if (list == device_list_ && item) OpenPanel(device_panel_, global);
  // Events can be deleted or inserted only in a library macro.
  if (list == event_list_ && item && library_source_ && library_list_->currentRow() >= 0)
    OpenPanel(content_panel_, global);
  return true;
}

// ---- Commands carried out by the core ---------------------------------------------------

void MacroPage::DeleteDeviceMacro() {
  const int row = device_list_->currentRow();
  if (!core_ || row < 0 || device_list_->selectedItems().isEmpty()) return;
  ClearMacro();
  int selection = -1;
  if (core_->Btn_DelMacroClick(static_cast<std::size_t>(row), CurrentButtonView(), &selection) ==
          MacroCommandResult::kDone &&
      selection >= 0)
    device_list_->setCurrentRow(selection);
}

void MacroPage::ExportDeviceMacros() {
  if (!core_) return;
  const std::optional<QString> chosen = ctx().dialogs.SaveFile(kSaveFileFilter);
  if (!chosen) return;
  ClearMacro();
  const FileCommandResult result = core_->Btn_DevExportClick(chosen->toStdString());
  if (!result.ok())
    ctx().dialogs.Message(QString::fromStdString(result.error.path + ": " + result.error.message));
}

void MacroPage::AddToMouse() {
  const int row = library_list_->currentRow();
  if (!core_ || row < 0 || library_list_->selectedItems().isEmpty()) return;
  ClearMacro();
  core_->Btn_AddMacroClick(library_, static_cast<std::size_t>(row), CurrentButtonView());
  device_list_->scrollToBottom();
}

// ---- Layout ---------------------------------------------------------------------------------

void MacroPage::ShowInsertMode(bool insert) {
  insert_mode_ = insert;
  delay_box_->setVisible(!insert);
  insert_box_->setVisible(insert);
  insert_base_->setVisible(insert);
}

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
  place(library_list_, t.pc_macro_name.x, t.pc_macro_name.y,
        t.macro_content.x - kGap - t.pc_macro_name.x,
        t.mse_macro_name.y - kHeadingRoom - 8 - t.pc_macro_name.y);
  place(device_list_, t.mse_macro_name.x, t.mse_macro_name.y,
        t.macro_content.x - kGap - t.mse_macro_name.x, bottom - t.mse_macro_name.y);
  place(event_list_, t.macro_content.x, t.macro_content.y, t.btn_start.x - kGap - t.macro_content.x,
        bottom - t.macro_content.y);

  // Row heights, and the event list's font as the name lists have it.
  event_delegate_->SetRowHeight(t.macro_name_height);
  QFont font = event_list_->font();
  if (t.size_f > 0) font.setPointSize(t.size_f);
  event_list_->setFont(font);
  for (QListWidget* list : {library_list_, device_list_})
    for (int i = 0; i < list->count(); ++i)
      list->item(i)->setSizeHint(QSize(0, t.macro_name_height));
  event_list_->doItemsLayout();

  // The layout colours the delay fields; the read-only look is kept.
  SetEditable(delay_edit_, !delay_edit_->isReadOnly(), ToQColor(t.color_f_font));
  SetEditable(insert_delay_edit_, !insert_delay_edit_->isReadOnly(), ToQColor(t.color_f_font));
}

void MacroPage::ShowImage() { ShowDeviceMacros(); }

void MacroPage::Opened() {
  panel_->SetPicture(QStringLiteral("L%1_Back4").arg(ctx().language));
  ShowInsertMode(insert_mode_);
}

}  // namespace korvex48::gui
