#include "gui/pages/macro_recorder_panel.h"

#include <QCursor>
#include <QRadioButton>
#include <algorithm>

#include "core/buttons/evdev_keys.h"
#include "gui/pages/macro_event_editor.h"
#include "gui/pages/macro_widgets.h"

namespace korvex48::gui {
namespace {

constexpr const char* kDelayRows[] = {"RecDelay", "DelayTime", "NoDelay"};

std::optional<MouseButton> ButtonOf(int number) {
  switch (number) {
    case 1:
      return MouseButton::kLeft;
    case 2:
      return MouseButton::kMiddle;
    case 3:
      return MouseButton::kRight;
    case 8:
      return MouseButton::kBackward;
    case 9:
      return MouseButton::kForward;
    default:
      return std::nullopt;  // wheel steps and other buttons are not recorded
  }
}

}  // namespace

MacroRecorderPanel::MacroRecorderPanel(EditorContext& context, QWidget* page,
                                       MacroEventEditor& editor, std::function<int()> library_row)
    : QObject(page), ctx_(context), editor_(editor), library_row_(std::move(library_row)) {
  start_picture_ = new PictureLabel(ctx_.skin, QStringLiteral("Img_Start"), page);
  start_picture_->SetPicture(QStringLiteral("MacroS_01"));
  start_ = new TextLabel(QStringLiteral("Btn_Start"), page);
  start_->resize(start_picture_->size());
  connect(start_, &TextLabel::entered, start_picture_,
          [this] { start_picture_->SetPicture(QStringLiteral("MacroS_02")); });
  connect(start_, &TextLabel::left, start_picture_,
          [this] { start_picture_->SetPicture(QStringLiteral("MacroS_01")); });
  connect(start_, &TextLabel::clicked, this, &MacroRecorderPanel::ToggleWhole);

  scope_ = new QLabel(page);
  scope_->setObjectName(QStringLiteral("lbl_RecordScope"));
  scope_->setText(QStringLiteral("records while this window has the focus"));
  scope_->setWordWrap(true);
  scope_->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  scope_->hide();

  delay_box_ = new QGroupBox(page);
  delay_box_->setObjectName(QStringLiteral("Gb_Delay"));
  delay_box_->setFlat(true);
  delay_box_->setStyleSheet(QStringLiteral("QGroupBox { border: none; }"));
  delay_box_->resize(200, 140);
  auto* group = new QButtonGroup(this);
  for (const char* name : kDelayRows) AddOptionRow(delay_box_, group, QLatin1String(name));
  delay_edit_ = AddValueField(delay_box_, QStringLiteral("Edt_Delay"), 50, QStringLiteral("50"),
                              MacroField::kDelay, false);
  for (int i = 0; i < 3; ++i) {
    const QString name = QLatin1String(kDelayRows[i]);
    if (auto* text = delay_box_->findChild<TextLabel*>(QStringLiteral("IB_") + name))
      connect(text, &TextLabel::clicked, this, [this, i] { SetDelayMode(i); });
    if (auto* mark = delay_box_->findChild<QRadioButton*>(QStringLiteral("LED_") + name))
      connect(mark, &QRadioButton::clicked, this, [this, i] { SetDelayMode(i); });
  }
  connect(&editor_, &MacroEventEditor::insertRecordRequested, this,
          &MacroRecorderPanel::ToggleInsert);
  connect(&editor_, &MacroEventEditor::delayHeaderShown, this, &MacroRecorderPanel::ShowHeader);
  SetDelayMode(0);
  // Whether only this window's input is recorded is known before the first
  // recording: the note shows from the start.
  Input();
}

MacroRecorderPanel::~MacroRecorderPanel() {
  if (input_) input_->Stop();
}

void MacroRecorderPanel::SetInput(std::unique_ptr<RecordInput> input) {
  if (input_) input_->Stop();
  input_ = std::move(input);
  if (!input_) return;
  connect(input_.get(), &RecordInput::key, this, &MacroRecorderPanel::OnKey);
  connect(input_.get(), &RecordInput::button, this, &MacroRecorderPanel::OnButton);
  scope_->setVisible(!input_->Global() && !delay_box_->isHidden());
}

RecordInput* MacroRecorderPanel::Input() {
  if (!input_) SetInput(MakeRecordInput());
  return input_.get();
}

// ---- Delay options ------------------------------------------------------------------

void MacroRecorderPanel::SetDelayMode(int mode) {
  delay_mode_ = mode;
  LightOptionRow(delay_box_, kDelayRows, mode);
  SetFieldEditable(delay_edit_, mode == 1, ToQColor(ctx_.layout.color_f_font));
}

void MacroRecorderPanel::ShowHeader(const DelayHeader& header) {
  switch (header.mode) {
    case korvex48::DelayMode::kRecorded:
      SetDelayMode(0);
      break;
    case korvex48::DelayMode::kFixed:
      delay_edit_->setText(QString::number(std::clamp<std::uint32_t>(header.fixed_ms, 1, 65535)));
      SetDelayMode(1);
      break;
    case korvex48::DelayMode::kNone:
      SetDelayMode(2);
      break;
  }
}

RecorderSettings MacroRecorderPanel::Settings(bool insert) const {
  const int mode = insert ? editor_.InsertDelayMode() : delay_mode_;
  const QLineEdit* edit = insert ? editor_.InsertDelayEdit() : delay_edit_;
  RecorderSettings s;
  s.mode = mode == 0   ? korvex48::DelayMode::kRecorded
           : mode == 1 ? korvex48::DelayMode::kFixed
                       : korvex48::DelayMode::kNone;
  s.fixed_ms =
      static_cast<std::uint32_t>(ClampFieldValue(MacroField::kDelay, edit->text().toStdString()));
  return s;
}

// ---- Start and stop --------------------------------------------------------------------

void MacroRecorderPanel::ToggleWhole() {
  start_picture_->SetPicture(QStringLiteral("MacroS_03"));
  if (library_row_() < 0) return;
  if (recorder_.Recording()) {
    if (!insert_) Stop();
    return;
  }
  Start(false);
}

void MacroRecorderPanel::ToggleInsert() {
  if (recorder_.Recording()) {
    if (insert_) Stop();
    return;
  }
  const int event = editor_.List()->currentRow();
  if (library_row_() < 0 || event < 0 || !editor_.ShowsLibraryMacro()) return;
  Start(true);
}

void MacroRecorderPanel::Start(bool insert) {
  RecordInput* input = Input();
  insert_ = insert;
  const RecorderSettings settings = Settings(insert);
  if (insert) {
    const int event = editor_.List()->currentRow();
    recorder_.StartInsert(editor_.Lines(), static_cast<std::size_t>(event),
                          editor_.Choice() == InsertChoice::kKeyFront, settings);
    editor_.SetInsertRecording(true);
  } else {
    recorder_.StartWhole(settings);
    editor_.Clear(true);
    start_->setText(ctx_.Text("Str401"));
    delay_box_->setEnabled(false);
    SetFieldEditable(delay_edit_, false, ToQColor(ctx_.layout.color_f_font));
    editor_.List()->setEnabled(false);
  }
  if (!input->Start()) {
    recorder_.Stop();
    Stop(false);
    return;
  }
  Q_EMIT recordingChanged(true);
}

void MacroRecorderPanel::Stop(bool by_input) {
  if (input_) input_->Stop();
  // The key or click that stopped the recording may have reached the
  // recorder first (the desktop's input is seen before the window's): it is
  // taken back.
  const RecordStep tail = by_input ? recorder_.StopByLastPress() : recorder_.Stop();
  if (insert_) {
    // The inserted lines wait for OK (kept) or Cancel (dropped).
    if (tail.removed > 0) editor_.LinesRemoved(recorder_.Lines(), tail.removed_first, tail.removed);
    if (tail.added > 0) editor_.LinesInserted(recorder_.Lines(), tail.first_line, tail.added);
    editor_.SetInsertRecording(false);
  } else {
    start_->setText(ctx_.Text("Str400"));
    delay_box_->setEnabled(true);
    SetDelayMode(delay_mode_);
    editor_.List()->setEnabled(true);
    editor_.SetLines(recorder_.Lines(), true);
  }
  insert_ = false;
  Q_EMIT recordingChanged(false);
}

void MacroRecorderPanel::StopAny(bool by_input) {
  if (recorder_.Recording()) Stop(by_input);
}

// ---- Events ---------------------------------------------------------------------------

void MacroRecorderPanel::Apply(const RecordStep& step) {
  if (step.added > 0) editor_.LinesInserted(recorder_.Lines(), step.first_line, step.added);
  if (step.stopped) Stop(false);
}

void MacroRecorderPanel::OnKey(int scan_code, bool down, quint32 time_ms) {
  if (!recorder_.Recording()) return;
  const int vk = VirtualKeyOfEvdevCode(scan_code);
  if (vk == 0) return;
  Apply(recorder_.Key(vk, down, time_ms));
}

void MacroRecorderPanel::OnButton(int number, bool down, quint32 time_ms) {
  if (!recorder_.Recording()) return;
  const std::optional<MouseButton> b = ButtonOf(number);
  if (!b) return;
  Apply(recorder_.Button(*b, down, time_ms, PointerOverRecordButton()));
}

bool MacroRecorderPanel::PointerOverRecordButton() const {
  const QWidget* button = insert_ ? static_cast<QWidget*>(editor_.InsertStartButton()) : start_;
  if (!button || !button->isVisible()) return false;
  const QRect area(button->mapToGlobal(QPoint(0, 0)), button->size());
  return area.contains(QCursor::pos());
}

// ---- Look -------------------------------------------------------------------------------

void MacroRecorderPanel::SetEnabled(bool enabled) { start_->setEnabled(enabled); }

void MacroRecorderPanel::ShowDelayBox(bool shown) {
  delay_box_->setVisible(shown);
  // The insert panel lies over the note's place while it is open.
  scope_->setVisible(shown && input_ && !input_->Global());
}

void MacroRecorderPanel::ApplyLayout(const LayoutTable& t) {
  // Beside the record button, in the room up to the page's right edge, as
  // high as the button: clear of the button and of the delay options
  // below it, and whole (its height fits the lines its width wraps to).
  const int left = t.btn_start.x + start_picture_->width() + 6;
  const int width = std::max(60, scope_->parentWidget()->width() - 18 - left);
  QFont font = scope_->font();
  font.setPointSize(8);
  scope_->setFont(font);
  const int height = std::max(start_picture_->height(), scope_->heightForWidth(width) + 2);
  scope_->setGeometry(left, t.btn_start.y + (start_picture_->height() - height) / 2, width, height);
  SetFieldEditable(delay_edit_, !delay_edit_->isReadOnly(), ToQColor(t.color_f_font));
}

}  // namespace korvex48::gui
