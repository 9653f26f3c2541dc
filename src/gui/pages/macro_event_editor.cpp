#include "gui/pages/macro_event_editor.h"

#include <QAbstractItemView>
#include <QGraphicsOpacityEffect>
#include <QLabel>
#include <QMouseEvent>
#include <QRadioButton>
#include <QScrollBar>
#include <algorithm>

#include "core/macros/macro_events.h"
#include "gui/pages/macro_event_list.h"
#include "gui/pages/macro_widgets.h"
#include "gui/skin.h"
#include "gui/user_dialogs.h"

namespace korvex48::gui {
namespace {

constexpr const char* kInsertDelayRows[] = {"InsertRecDelay", "InsertDelayTime", "InsertNoDelay"};

// Room for five digits (a delay of up to 65535 ms).
constexpr int kValueFieldWidth = 52;
// The room between a caption (or the unit) and its field.
constexpr int kCaptionGap = 6;

// Controls that cannot be used while a key is recorded into the macro are
// drawn faded, pictures and texts alike (the skin's own colours hold no
// disabled look).
void ShowUsable(QWidget* w, bool usable) {
  w->setEnabled(usable);
  if (usable) {
    w->setGraphicsEffect(nullptr);
    return;
  }
  auto* faded = new QGraphicsOpacityEffect(w);
  faded->setOpacity(0.35);
  w->setGraphicsEffect(faded);
}

QPlainTextEdit* AddHolder(QWidget* parent, const QString& name) {
  auto* holder = new QPlainTextEdit(parent);
  holder->setObjectName(name);
  holder->setReadOnly(true);
  holder->hide();
  return holder;
}

}  // namespace

MacroEventEditor::MacroEventEditor(EditorContext& context, QWidget* page, PcMacroLibrary& library,
                                   std::function<int()> library_row,
                                   std::function<void()> library_changed)
    : QObject(page),
      ctx_(context),
      library_slots_(library),
      library_row_(std::move(library_row)),
      library_changed_(std::move(library_changed)) {
  list_ = AddMacroList(page, QStringLiteral("LB_macro"), 200, 300);
  delegate_ = new MacroEventDelegate(ctx_.skin, list_);
  list_->setItemDelegate(delegate_);
  list_->viewport()->installEventFilter(this);
  list_->installEventFilter(this);  // its command keys
  lines_box_ = AddHolder(page, QStringLiteral("mmo_macro"));
  hex_box_ = AddHolder(page, QStringLiteral("mmo_wrscript"));

  insert_base_ = new PictureLabel(ctx_.skin, QStringLiteral("Img_InsertBase"), page);
  insert_base_->SetPicture(QStringLiteral("InsertDelayBase"));
  insert_box_ = new QGroupBox(page);
  insert_box_->setObjectName(QStringLiteral("Gb_Insert"));
  insert_box_->setFlat(true);
  insert_box_->setStyleSheet(QStringLiteral("QGroupBox { border: none; }"));
  insert_box_->resize(insert_base_->size());
  choice_ = new QComboBox(insert_box_);
  choice_->setObjectName(QStringLiteral("CB_Insert"));
  choice_->resize(160, 22);
  for (int i = 0; i < kInsertChoiceCount; ++i) choice_->addItem(QString());
  auto* insert_group = new QButtonGroup(this);
  for (const char* name : kInsertDelayRows)
    AddOptionRow(insert_box_, insert_group, QLatin1String(name));
  insert_delay_ = AddValueField(insert_box_, QStringLiteral("Edt_InsertDelay"), kValueFieldWidth,
                                QStringLiteral("50"), MacroField::kDelay, false);
  for (const char* name :
       {"lbl_Delay", "lbl_s_A", "lbl_XAxisValue", "lbl_YAxisValue", "lbl_Repeat"}) {
    auto* label = new QLabel(insert_box_);
    label->setObjectName(QLatin1String(name));
    // A caption longer than its room breaks into a second line instead of
    // running under its field (ApplyLayout).
    label->setWordWrap(true);
    label->resize(name[4] == 's' ? 30 : 72, 18);
  }
  x_value_ = AddValueField(insert_box_, QStringLiteral("edt_XAxisValue"), kValueFieldWidth,
                           QStringLiteral("12"), MacroField::kAxis, true);
  y_value_ = AddValueField(insert_box_, QStringLiteral("edt_YAxisValue"), kValueFieldWidth,
                           QStringLiteral("12"), MacroField::kAxis, true);
  repeat_ = AddValueField(insert_box_, QStringLiteral("edt_Repeat"), kValueFieldWidth,
                          QStringLiteral("10"), MacroField::kRepeat, false);
  for (const char* name : {"InsertStart", "OK", "Cancel"}) {
    auto* picture =
        new PictureLabel(ctx_.skin, QStringLiteral("Img_") + QLatin1String(name), insert_box_);
    picture->SetPicture(QLatin1String(name) == QLatin1String("InsertStart")
                            ? QStringLiteral("MacroS_01")
                            : QStringLiteral("MacroBtnS_01"));
    auto* text = new TextLabel(QStringLiteral("Btn_") + QLatin1String(name), insert_box_);
    text->resize(picture->size());
    // The picture follows the pointer over its text button, and a click.
    const QString normal = picture->picture();
    const QString hover = QLatin1String(name) == QLatin1String("InsertStart")
                              ? QStringLiteral("MacroS_02")
                              : QStringLiteral("MacroBtnS_02");
    const QString clicked = QLatin1String(name) == QLatin1String("InsertStart")
                                ? QStringLiteral("MacroS_03")
                                : QStringLiteral("MacroBtnS_03");
    connect(text, &TextLabel::entered, picture, [picture, hover] { picture->SetPicture(hover); });
    connect(text, &TextLabel::left, picture, [picture, normal] { picture->SetPicture(normal); });
    connect(text, &TextLabel::clicked, picture,
            [picture, clicked] { picture->SetPicture(clicked); });
  }
  insert_start_ = insert_box_->findChild<TextLabel*>(QStringLiteral("Btn_InsertStart"));
  ok_ = insert_box_->findChild<TextLabel*>(QStringLiteral("Btn_OK"));
  cancel_ = insert_box_->findChild<TextLabel*>(QStringLiteral("Btn_Cancel"));

  popup_ = AddCommandPopup(page, QStringLiteral("Pnl_DevContent"),
                           {QStringLiteral("Btn_Del"), QStringLiteral("Btn_Insert")});
  connect(popup_->findChild<TextLabel*>(QStringLiteral("Btn_Del")), &TextLabel::clicked, this,
          &MacroEventEditor::DeleteSelected);
  connect(popup_->findChild<TextLabel*>(QStringLiteral("Btn_Insert")), &TextLabel::clicked, this,
          &MacroEventEditor::OpenInsertPanel);
  connect(ok_, &TextLabel::clicked, this, &MacroEventEditor::ConfirmInsert);
  connect(cancel_, &TextLabel::clicked, this, &MacroEventEditor::CancelInsert);
  connect(insert_start_, &TextLabel::clicked, this, &MacroEventEditor::insertRecordRequested);
  connect(choice_, &QComboBox::currentIndexChanged, this, &MacroEventEditor::ApplyChoice);
  for (int i = 0; i < 3; ++i) {
    const QString name = QLatin1String(kInsertDelayRows[i]);
    if (auto* text = insert_box_->findChild<TextLabel*>(QStringLiteral("IB_") + name))
      connect(text, &TextLabel::clicked, this, [this, i] { SetInsertDelayMode(i); });
    if (auto* mark = insert_box_->findChild<QRadioButton*>(QStringLiteral("LED_") + name))
      connect(mark, &QRadioButton::clicked, this, [this, i] { SetInsertDelayMode(i); });
  }
  SetInsertDelayMode(0);
  ShowInsertMode(false);
}

// ---- Showing -------------------------------------------------------------------

void MacroEventEditor::Clear(bool library) {
  library_ = library;
  lines_.clear();
  list_->clear();
  lines_box_->clear();
  hex_box_->clear();
}

void MacroEventEditor::Show(ByteView bytes, bool library) {
  Clear(library);
  lines_ = DecodeMacroLines(bytes);
  hex_box_->setPlainText(QString::fromStdString(BytesToHex(bytes)));
  Redraw();
  Q_EMIT delayHeaderShown(ParseDelayHeader(lines_.empty() ? std::string() : lines_[0]));
}

void MacroEventEditor::Redraw() {
  QStringList text;
  for (const std::string& line : lines_) text.append(QString::fromStdString(line));
  lines_box_->setPlainText(text.join(QLatin1Char('\n')));
  FillMacroEventList(list_, lines_);
}

void MacroEventEditor::SetLines(MacroLines lines, bool encode) {
  lines_ = std::move(lines);
  Redraw();
  if (list_->count() > 0) list_->setCurrentRow(list_->count() - 1);
  if (encode) Encode();
}

void MacroEventEditor::LinesInserted(const MacroLines& lines, std::size_t first_line,
                                     std::size_t count) {
  lines_ = lines;
  // Item k shows line k + 1; a header added with the first event has none.
  for (std::size_t i = 0; i < count; ++i) {
    const std::size_t line = first_line + i;
    if (line == 0 || line >= lines_.size()) continue;
    auto* item = new QListWidgetItem();
    SetMacroLine(item, QString::fromStdString(lines_[line]));
    list_->insertItem(static_cast<int>(line - 1), item);
    list_->setCurrentItem(item);
  }
  if (QListWidgetItem* current = list_->currentItem()) list_->scrollToItem(current);
}

void MacroEventEditor::LinesRemoved(const MacroLines& lines, std::size_t first_line,
                                    std::size_t count) {
  lines_ = lines;
  // Item k shows line k + 1; the header has no item.
  for (std::size_t i = count; i-- > 0;) {
    const std::size_t line = first_line + i;
    if (line == 0) continue;
    delete list_->takeItem(static_cast<int>(line - 1));
  }
}

bool MacroEventEditor::Encode() {
  const int row = library_row_ ? library_row_() : -1;
  if (!library_ || row < 0 || row >= static_cast<int>(kLibrarySlots)) return false;
  LibrarySlot& slot = library_slots_.MutableSlot(static_cast<std::size_t>(row));
  if (!EncodeMacroLinesInto(lines_, slot.events)) {
    ctx_.dialogs.Message(QString::fromUtf8(kMacroTooLongText.data(),
                                           static_cast<qsizetype>(kMacroTooLongText.size())));
    return false;
  }
  const Bytes bytes = EncodeMacroLines(lines_);
  hex_box_->setPlainText(QString::fromStdString(BytesToHex(bytes)));
  QStringList text;
  for (const std::string& line : lines_) text.append(QString::fromStdString(line));
  lines_box_->setPlainText(text.join(QLatin1Char('\n')));
  if (library_changed_) library_changed_();
  return true;
}

// ---- Delete ------------------------------------------------------------------------

void MacroEventEditor::DeleteSelected() {
  const int row = list_->currentRow();
  Q_EMIT hidePopupsRequested();
  if (!library_ || row < 0 || list_->selectedItems().isEmpty()) return;
  MacroLines changed = lines_;
  const DeleteResult result = DeleteMacroEvent(changed, static_cast<std::size_t>(row));
  if (!result.deleted) return;
  lines_ = std::move(changed);
  Redraw();
  if (result.selection >= 0) list_->setCurrentRow(result.selection);
  Encode();
}

// ---- Insert panel --------------------------------------------------------------------

void MacroEventEditor::OpenInsertPanel() {
  Q_EMIT hidePopupsRequested();
  if (!library_) return;
  remembered_top_ = list_->verticalScrollBar()->value();
  remembered_row_ = list_->currentRow();
  ShowInsertMode(true);
  choice_->setCurrentIndex(0);
  ApplyChoice(0);
}

void MacroEventEditor::ShowInsertMode(bool insert) {
  insert_mode_ = insert;
  insert_box_->setVisible(insert);
  insert_base_->setVisible(insert);
  if (insert) {
    insert_base_->raise();
    insert_box_->raise();
  }
  Q_EMIT insertModeChanged(insert);
}

InsertChoice MacroEventEditor::Choice() const {
  return static_cast<InsertChoice>(std::clamp(choice_->currentIndex(), 0, kInsertChoiceCount - 1));
}

void MacroEventEditor::ApplyChoice(int index) {
  if (index < 0) return;
  const auto choice = static_cast<InsertChoice>(index);
  const bool key = IsKeyChoice(choice);
  insert_base_->SetPicture(key ? QStringLiteral("InsertKeyBase")
                               : QStringLiteral("InsertDelayBase"));
  auto show = [this](const char* name, bool visible) {
    if (QWidget* w = insert_box_->findChild<QWidget*>(QLatin1String(name))) w->setVisible(visible);
  };
  const bool delay = choice == InsertChoice::kDelayFront || choice == InsertChoice::kDelayBack;
  const bool x = choice == InsertChoice::kXFront || choice == InsertChoice::kXBack;
  const bool y = choice == InsertChoice::kYFront || choice == InsertChoice::kYBack;
  const bool repeat = choice == InsertChoice::kRepeatStart || choice == InsertChoice::kRepeatStop;
  show("lbl_Delay", delay);
  show("Edt_InsertDelay", delay || key);
  show("lbl_s_A", delay || key);
  for (const char* row : kInsertDelayRows) {
    show((QStringLiteral("LED_") + QLatin1String(row)).toLatin1().constData(), key);
    show((QStringLiteral("IB_") + QLatin1String(row)).toLatin1().constData(), key);
  }
  show("Img_InsertStart", key);
  show("Btn_InsertStart", key);
  show("lbl_XAxisValue", x);
  show("edt_XAxisValue", x);
  show("lbl_YAxisValue", y);
  show("edt_YAxisValue", y);
  show("lbl_Repeat", repeat);
  show("edt_Repeat", repeat);
  // A repeat stop has no count: its pair is shown, but as out of use.
  ShowUsable(repeat_, choice != InsertChoice::kRepeatStop);
  if (QWidget* caption = insert_box_->findChild<QWidget*>(QStringLiteral("lbl_Repeat")))
    ShowUsable(caption, choice != InsertChoice::kRepeatStop);
  ok_->setText(ctx_.Text(key ? "Str421" : "Str420"));
  const QColor text = ToQColor(ctx_.layout.color_f_font);
  if (key) {
    SetInsertDelayMode(0);
  } else {
    SetFieldEditable(insert_delay_, true, text);
  }
  if (auto* unit = insert_box_->findChild<QLabel*>(QStringLiteral("lbl_s_A"))) {
    QPalette p = unit->palette();
    p.setColor(QPalette::WindowText, key ? kReadOnlyText : ToQColor(ctx_.layout.color_f));
    unit->setPalette(p);
  }
}

void MacroEventEditor::SetInsertDelayMode(int mode) {
  insert_delay_mode_ = mode;
  LightOptionRow(insert_box_, kInsertDelayRows, mode);
  SetFieldEditable(insert_delay_, mode == 1 || !IsKeyChoice(Choice()),
                   ToQColor(ctx_.layout.color_f_font));
}

void MacroEventEditor::SetInsertRecording(bool recording) {
  QStringList names = {QStringLiteral("CB_Insert"),  QStringLiteral("Img_OK"),
                       QStringLiteral("Btn_OK"),     QStringLiteral("Img_Cancel"),
                       QStringLiteral("Btn_Cancel"), QStringLiteral("Edt_InsertDelay"),
                       QStringLiteral("lbl_s_A")};
  for (const char* row : kInsertDelayRows)
    names << QStringLiteral("LED_") + QLatin1String(row)
          << QStringLiteral("IB_") + QLatin1String(row);
  for (const QString& name : names)
    if (QWidget* w = insert_box_->findChild<QWidget*>(name)) ShowUsable(w, !recording);
  insert_start_->setText(ctx_.Text(recording ? "Str401" : "Str400"));
}

void MacroEventEditor::ConfirmInsert() {
  const InsertChoice choice = Choice();
  if (IsKeyChoice(choice)) {
    // The keys went in while recording; they are kept now.
    Encode();
    CloseInsertPanel();
    return;
  }
  const int row = list_->currentRow();
  if (row < 0) return;
  InsertValues values;
  values.delay_ms = ClampFieldValue(MacroField::kDelay, insert_delay_->text().toStdString());
  values.x = ClampFieldValue(MacroField::kAxis, x_value_->text().toStdString());
  values.y = ClampFieldValue(MacroField::kAxis, y_value_->text().toStdString());
  values.repeat = ClampFieldValue(MacroField::kRepeat, repeat_->text().toStdString());
  MacroLines changed = lines_;
  const InsertResult result =
      InsertMacroEvent(changed, static_cast<std::size_t>(row), choice, values);
  switch (result.status) {
    case InsertStatus::kInserted:
      break;
    case InsertStatus::kTooLong:
      ctx_.dialogs.Message(QString::fromUtf8(kMacroTooLongText.data(),
                                             static_cast<qsizetype>(kMacroTooLongText.size())));
      return;
    case InsertStatus::kZeroMove:
      ctx_.dialogs.Message(
          QStringLiteral("A move of 0 does nothing: give a value from -127 to 127 "
                         "other than 0."));
      return;
    default:
      return;
  }
  lines_ = std::move(changed);
  Redraw();
  list_->setCurrentRow(static_cast<int>(result.event));
  CloseInsertPanel();
  Encode();
}

void MacroEventEditor::CloseInsertPanel() { ShowInsertMode(false); }

void MacroEventEditor::CancelInsert() {
  CloseInsertPanel();
  // Lines recorded into the panel but not confirmed are dropped: the macro
  // is shown again from its stored bytes.
  const int row = library_row_ ? library_row_() : -1;
  if (library_ && row >= 0 && row < static_cast<int>(kLibrarySlots)) {
    const std::size_t slot = static_cast<std::size_t>(row);
    const std::size_t length = library_slots_.EventLength(slot);
    if (length <= 1) {
      Clear(true);
    } else {
      Show(ByteView(library_slots_.Slot(slot).events).first(length), true);
    }
  }
  list_->verticalScrollBar()->setValue(remembered_top_);
  if (remembered_row_ >= 0 && remembered_row_ < list_->count())
    list_->setCurrentRow(remembered_row_);
}

// ---- Mouse on the list --------------------------------------------------------------------

bool MacroEventEditor::eventFilter(QObject* watched, QEvent* event) {
  const bool editable =
      list_->currentItem() && library_ && library_row_ && library_row_() >= 0 && !insert_mode_;
  switch (TakeListKey(list_, watched, event)) {
    case ListKey::kMenu:
      if (editable) Q_EMIT popupRequested(popup_, ListPopupPoint(list_));
      return true;
    case ListKey::kDelete:
      if (editable) DeleteSelected();
      return true;
    case ListKey::kInsert:
      if (editable) OpenInsertPanel();
      return true;
    case ListKey::kNone:
    case ListKey::kRename:
      break;
  }
  const std::optional<ListMouse> mouse = TakeListMouse(list_, watched, event);
  if (!mouse) return QObject::eventFilter(watched, event);
  switch (mouse->action) {
    case ListMouseAction::kPressedEmpty:
      Q_EMIT hidePopupsRequested();
      list_->setFocus();
      break;
    case ListMouseAction::kPressedRow:
    case ListMouseAction::kRightPressedRow:
      Q_EMIT hidePopupsRequested();
      break;
    case ListMouseAction::kRightReleased: {
      const int row = library_row_ ? library_row_() : -1;
      // Events can be deleted or inserted only in a library macro.
      if (mouse->item && library_ && row >= 0 && !insert_mode_)
        Q_EMIT popupRequested(popup_, mouse->global);
      break;
    }
    case ListMouseAction::kReleased:
      break;
  }
  return mouse->Eaten();
}

void MacroEventEditor::ApplyLayout(const LayoutTable& t, int bottom) {
  constexpr int kGap = 16;
  list_->setGeometry(t.macro_content.x, t.macro_content.y,
                     std::max(40, t.btn_start.x - kGap - t.macro_content.x),
                     std::max(40, bottom - t.macro_content.y));
  delegate_->SetRowHeight(t.macro_name_height);
  QFont font = list_->font();
  if (t.size_f > 0) font.setPointSize(t.size_f);
  list_->setFont(font);
  list_->doItemsLayout();
  SetFieldEditable(insert_delay_, !insert_delay_->isReadOnly(), ToQColor(t.color_f_font));

  // The tables place the fields; each caption takes the room from the
  // option rows' left edge to its field, and the unit follows the delay
  // field.
  const int left = std::max(0, t.insert_rec_delay.x - t.insert.x);
  const std::pair<const char*, QLineEdit*> captions[] = {{"lbl_Delay", insert_delay_},
                                                         {"lbl_XAxisValue", x_value_},
                                                         {"lbl_YAxisValue", y_value_},
                                                         {"lbl_Repeat", repeat_}};
  for (const auto& [name, field] : captions) {
    auto* caption = insert_box_->findChild<QLabel*>(QLatin1String(name));
    if (!caption) continue;
    const QRect f = field->geometry();
    const int width = std::max(20, f.x() - kCaptionGap - left);
    const int height = std::max(f.height(), caption->heightForWidth(width));
    caption->setGeometry(left, f.center().y() - height / 2, width, height);
    caption->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  }
  // The open choice list is a window of its own, which takes no colours from
  // the box: it gets the box's, with the event list's selection look.
  QPalette open = choice_->palette();
  for (auto role : {QPalette::Highlight, QPalette::HighlightedText})
    open.setColor(role, list_->palette().color(role));
  choice_->view()->setPalette(open);
  // The option rows end at the panel's edge, so that no click beside the
  // panel picks one.
  for (const char* row : kInsertDelayRows)
    if (QWidget* text =
            insert_box_->findChild<QWidget*>(QStringLiteral("IB_") + QLatin1String(row)))
      text->resize(std::max(0, insert_box_->width() - 2 - text->x()), text->height());
  if (auto* unit = insert_box_->findChild<QLabel*>(QStringLiteral("lbl_s_A"))) {
    const QRect f = insert_delay_->geometry();
    const int x = f.right() + 1 + kCaptionGap;
    unit->setGeometry(x, f.y(), std::max(0, insert_box_->width() - 2 - x), f.height());
  }
}

}  // namespace korvex48::gui
