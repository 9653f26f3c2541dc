#include "gui/pages/advanced_page.h"

#include "core/buttons/fire_aim.h"
#include "core/config/setting_values.h"
#include "core/editing/page_editor.h"
#include "gui/char_set_validator.h"
#include "gui/control_access.h"
#include "gui/pages/choice_group.h"
#include "gui/pages/edit_message.h"
#include "gui/pages/faded.h"
#include "gui/pages/pointer_bars.h"
#include "gui/step_bar.h"

namespace korvex48::gui {
namespace {

// Texts of choice labels start right of the choice mark they lie over.
constexpr int kChoiceIndent = 21;

// Steps 1..lit on ("Bar2_E"), the others off.
template <std::size_t N>
void ShowSteps(const std::array<PictureLabel*, N>& steps, int lit) {
  for (std::size_t k = 0; k < N; ++k)
    steps[k]->SetPicture(
        static_cast<int>(k) < lit ? QStringLiteral("Bar2_E") : QStringLiteral("Bar2_D"), false);
}

// Text of DPI value index 0..11 in the active language (Str300..Str311).
QString DpiValueText(const EditorContext& context, int index) {
  const std::string key = "Str" + std::to_string(300 + index);
  return context.Text(key.c_str());
}

QLineEdit* AddEdit(QWidget* parent, const QString& name, int w) {
  auto* edit = new QLineEdit(parent);
  edit->setObjectName(name);
  edit->resize(w, 22);
  edit->setFrame(false);
  edit->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  return edit;
}

}  // namespace

AdvancedPage::AdvancedPage(EditorContext& context, QWidget* parent)
    : Page(context, QStringLiteral("AdvancedPage"), parent),
      dpi_choices_(new QButtonGroup(this)),
      rate_choices_(new QButtonGroup(this)) {
  panel_ = AddPicture(QStringLiteral("Img_P2"), QStringLiteral("L1_Back2"));

  // Fire keys 1..3: repeat count, delay, and the "continue" check mark.
  for (int f = 1; f <= 3; ++f) {
    FireRow& row = fire_[f - 1];
    row.repeat = AddEdit(this, QStringLiteral("Edt_Repeat%1").arg(f), 40);
    row.delay = AddEdit(this, QStringLiteral("Edt_DelayTime%1").arg(f), 48);
    row.repeat->setMaxLength(2);
    row.delay->setMaxLength(4);
    // Digits only (Backspace and editing keys pass as usual).
    for (QLineEdit* edit : {row.repeat, row.delay})
      edit->setValidator(new CharSetValidator(CharSetValidator::kDigits, edit));
    row.repeat->setText(QStringLiteral("2"));
    row.delay->setText(QStringLiteral("16"));
    row.repeat->setAccessibleName(QStringLiteral("Fire key %1 count").arg(f));
    row.delay->setAccessibleName(QStringLiteral("Fire key %1 delay in milliseconds").arg(f));
    row.mark = AddPicture(QStringLiteral("Img_Fire%1Continue").arg(f), QStringLiteral("CbS_D"));
    auto* toggle = row.toggle = AddText(QStringLiteral("lbl_Fire%1Continue").arg(f), 0, 0, 20, 16);
    row.check = AddCheck(QStringLiteral("cb_Fire%1Continue").arg(f));
    connect(row.repeat, &QLineEdit::textEdited, this, [this, f] {
      QLineEdit* edit = fire_[f - 1].repeat;
      const QString fixed =
          QString::fromStdString(NormalizeRepeatField(edit->text().toStdString()));
      if (fixed != edit->text()) edit->setText(fixed);
      ApplyFire(f);
    });
    connect(row.delay, &QLineEdit::textEdited, this, [this, f] {
      if (!fire_[f - 1].delay->text().isEmpty()) ApplyFire(f);
    });
    connect(row.delay, &QLineEdit::editingFinished, this, [this, f] {
      QLineEdit* edit = fire_[f - 1].delay;
      const QString fixed =
          QString::fromStdString(NormalizeDelayFieldOnLeave(edit->text().toStdString()));
      if (fixed == edit->text()) return;
      edit->setText(fixed);
      ApplyFire(f);
    });
    connect(toggle, &TextLabel::clicked, this, [this, f] {
      FireRow& r = fire_[f - 1];
      r.check->setChecked(!r.check->isChecked());
      r.mark->SetPicture(r.check->isChecked() ? QStringLiteral("CbS_E") : QStringLiteral("CbS_D"));
      SetChecked(r.toggle, r.check->isChecked());
      ApplyFire(f);
    });
  }

  // Report rate choices.
  static const char* const kRates[] = {"125 Hz", "250 Hz", "500 Hz", "1000 Hz"};
  for (int r = 1; r <= 4; ++r) {
    rate_marks_[r - 1] = AddPicture(QStringLiteral("Img_Rep%1").arg(r), QStringLiteral("RdS_D"));
    auto* label = rate_labels_[r - 1] = AddText(QStringLiteral("lbl_Rep%1").arg(r), 0, 0, 72, 20);
    label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    label->setIndent(kChoiceIndent);
    label->setText(QLatin1String(kRates[r - 1]));
    rate_rbs_[r - 1] = AddChoice(QStringLiteral("rb_Rep%1").arg(r), rate_choices_);
    connect(label, &TextLabel::clicked, this, [this, r] {
      if (!editor_) return;
      // The editor may restart the mouse and take it in anew; the page shows
      // whatever state that left.
      Finish(editor_->SetReportRate(r));
    });
  }

  // Pointer speed, double-click speed and wheel scroll lines: ten steps each.
  std::array<PointerBars::Bar, 3> bars;
  int b = 0;
  for (const char* family : {"Spd", "DbSpd", "ScrSpd"}) {
    PointerBars::Bar& bar = bars[static_cast<std::size_t>(b++)];
    for (int k = 1; k <= 10; ++k) {
      const auto i = static_cast<std::size_t>(k - 1);
      bar.segments[i] = AddPicture(QStringLiteral("Img_%1%2").arg(QLatin1String(family)).arg(k),
                                   QStringLiteral("Bar1_D"));
      bar.numbers[i] =
          AddText(QStringLiteral("lbl_%1%2").arg(QLatin1String(family)).arg(k), 0, 0, 24, 14);
      bar.numbers[i]->setText(QString::number(k));
    }
  }
  pointer_ = new PointerBars(bars, this);

  // DPI levels 1..8.
  for (int d = 1; d <= 8; ++d) {
    DpiRow& row = dpi_[d - 1];
    row.frame = AddPicture(QStringLiteral("Img_DPI%1Col").arg(d), QStringLiteral("Col_F"));
    row.swatch = AddSwatch(QStringLiteral("cs_DPI%1Col").arg(d), row.frame->size());
    row.target = AddText(QStringLiteral("lbl_DPI%1Col").arg(d));
    row.target->resize(row.frame->size());
    row.mark = AddPicture(QStringLiteral("Img_DPI%1").arg(d), QStringLiteral("CbS_D"));
    // The choice of the level in use has no text over it.
    row.mark->SetKeyboardPress();
    SetRole(row.mark, QAccessible::RadioButton);
    row.mark->setAccessibleName(QStringLiteral("DPI level %1 in use").arg(d));
    row.choice = AddChoice(QStringLiteral("rb_DPI%1").arg(d), dpi_choices_);
    row.name = AddText(QStringLiteral("lbl_DPI%1").arg(d), 0, 0, 46, 16);
    row.name->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    row.name->setText(QStringLiteral("DPI %1").arg(d));
    row.value = AddLabel(QStringLiteral("lbl_DPI%1Value").arg(d), 0, 0, 48, 16);
    row.value->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    for (int k = 1; k <= 12; ++k) {
      row.steps[k - 1] =
          AddPicture(QStringLiteral("Img_DPI%1_%2").arg(d).arg(k), QStringLiteral("Bar2_D"));
      connect(row.steps[k - 1], &PictureLabel::pressed, this, [this, d, k] {
        if (!editor_) return;
        Finish(editor_->SetDpiValue(d, k));
      });
    }
    auto* bar = new StepBar(
        QStringLiteral("Bar_DPI%1").arg(d), QStringLiteral("DPI level %1 value").arg(d),
        {row.steps.begin(), row.steps.end()}, [this, d] { return DpiStep(d); }, this);
    // Read as the page shows the value ("2000 DPI"), as a number too.
    bar->SetValueText(
        [this](int step) { return DpiValueText(ctx(), step - 1) + QStringLiteral(" DPI"); });
    bar->SetNumericValue([](int step) { return DpiValueOfIndex(step - 1); });
    int c = 0;
    for (const char* part : {"R", "G", "B"}) {
      auto* edit =
          AddEdit(this, QStringLiteral("edt_DPI%1Col%2").arg(d).arg(QLatin1String(part)), 30);
      edit->setText(QStringLiteral("0"));
      edit->hide();
      row.colour[c++] = edit;
    }
    // The swatch and the frame stay under the click target.
    row.target->raise();
    connect(row.name, &TextLabel::clicked, this, [this, d] {
      if (!editor_) return;
      Finish(editor_->ToggleDpiLevel(d));
    });
    connect(row.mark, &PictureLabel::pressed, this, [this, d] {
      if (!editor_) return;
      Finish(editor_->SelectActiveDpiLevel(d));
    });
    connect(row.target, &TextLabel::clicked, this, [this, d] { PickDpiColour(d); });
  }

  // AIM DPI.
  auto* aim = AddLabel(QStringLiteral("lbl_AIMDPI"), 0, 0, 46, 16);
  aim->setText(QStringLiteral("AIM"));
  aim_value_ = AddLabel(QStringLiteral("lbl_AIMDPIValue"), 0, 0, 48, 16);
  aim_value_->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  aim_value_->setText(QStringLiteral("200"));
  for (int k = 1; k <= 12; ++k) {
    aim_steps_[k - 1] = AddPicture(QStringLiteral("Img_AIMDPI_%1").arg(k),
                                   k == 1 ? QStringLiteral("Bar2_E") : QStringLiteral("Bar2_D"));
    connect(aim_steps_[k - 1], &PictureLabel::pressed, this, [this, k] {
      if (!editor_) return;
      // The display follows the click first; a refusal puts it back to 200.
      ShowSteps(aim_steps_, k);
      Finish(editor_->SetAimStep(k));
    });
  }
  auto* aim_bar = new StepBar(
      QStringLiteral("Bar_AIMDPI"), QStringLiteral("AIM DPI value"),
      {aim_steps_.begin(), aim_steps_.end()},
      [this] { return editor_ ? std::clamp(editor_->State().aim_step, 1, 12) : 0; }, this);
  aim_bar->SetValueText(
      [this](int step) { return DpiValueText(ctx(), step - 1) + QStringLiteral(" DPI"); });
  aim_bar->SetNumericValue([](int step) { return DpiValueOfIndex(step - 1); });
  PlaceInTabOrder();
}

void AdvancedPage::PlaceInTabOrder() {
  // Tab follows the page's columns: the whole DPI column (per level its
  // colour, the mark of the level in use, its caption and its bar; then the
  // AIM DPI), then the report rate, the fire keys and the pointer bars.
  enum Group { kDpi, kRate, kFire, kPointer };
  for (int d = 1; d <= 8; ++d) {
    const DpiRow& row = dpi_[d - 1];
    SetTabPlace(row.target, kDpi, d * 10);
    SetTabPlace(row.mark, kDpi, d * 10 + 1);
    SetTabPlace(row.name, kDpi, d * 10 + 2);
    if (QWidget* bar = findChild<QWidget*>(QStringLiteral("Bar_DPI%1").arg(d)))
      SetTabPlace(bar, kDpi, d * 10 + 3);
  }
  if (QWidget* aim = findChild<QWidget*>(QStringLiteral("Bar_AIMDPI"))) SetTabPlace(aim, kDpi, 100);
  for (int r = 1; r <= 4; ++r) SetTabPlace(rate_labels_[r - 1], kRate, r);
  for (int f = 1; f <= 3; ++f) {
    const FireRow& row = fire_[f - 1];
    SetTabPlace(row.repeat, kFire, f * 10);
    SetTabPlace(row.delay, kFire, f * 10 + 1);
    SetTabPlace(row.toggle, kFire, f * 10 + 2);
  }
  int rank = 0;
  for (const char* bar : {"Bar_Spd", "Bar_DbSpd", "Bar_ScrSpd"})
    if (QWidget* w = findChild<QWidget*>(QLatin1String(bar))) SetTabPlace(w, kPointer, ++rank);
}

int AdvancedPage::DpiStep(int level) const {
  if (!editor_) return 0;
  const std::uint8_t index =
      editor_->State().settings.dpi_levels[static_cast<std::size_t>(level - 1)].value_index;
  return index < 12 ? index + 1 : 0;
}

void AdvancedPage::Opened() { panel_->SetPicture(QStringLiteral("L%1_Back2").arg(ctx().language)); }

void AdvancedPage::ApplyLanguage() {
  // The value texts are the language's (Str300..Str311).
  if (editor_) {
    ShowDpi();
    ShowAim();
  }
}

void AdvancedPage::ShowImage() {
  if (!editor_) return;
  ShowDpi();
  ShowReportRate();
  ShowFireKeys();
  ShowAim();
}

void AdvancedPage::ShowDpi() {
  const PageSettings& shown = editor_->State().settings;
  const LayoutTable& t = ctx().layout;
  const bool colours = shown.led_kind_known && LedKindHasColours(shown.lighting.kind);
  const int count = std::clamp(shown.dpi_level_count, 1, 8);
  const int active_level = shown.dpi_active_level;
  ChooseOnly(dpi_choices_, active_level >= 1 && active_level <= 8
                               ? static_cast<QAbstractButton*>(dpi_[active_level - 1].choice)
                               : nullptr);
  for (int d = 1; d <= 8; ++d) {
    DpiRow& row = dpi_[d - 1];
    const DpiLevel& level = shown.dpi_levels[static_cast<std::size_t>(d - 1)];
    const bool enabled = d <= count;
    SetTextStyle(row.name, 0, ToQColor(enabled ? t.color_d_selected : t.color_d_not_selected));
    row.mark->setEnabled(enabled);
    for (PictureLabel* step : row.steps) step->setEnabled(enabled);
    row.target->setEnabled(enabled);
    for (QWidget* w : std::initializer_list<QWidget*>{row.mark, row.frame, row.swatch, row.value})
      SetFaded(w, !enabled);
    for (PictureLabel* step : row.steps) SetFaded(step, !enabled);
    const bool active = d == active_level;
    row.mark->SetPicture(active ? QStringLiteral("CbS_E") : QStringLiteral("CbS_D"), false);
    SetChecked(row.mark, active);
    // A level without a value of the list (none yet, or a nibble of 12..14)
    // shows no bar and no text.
    const int step = DpiStep(d);
    ShowSteps(row.steps, step);
    row.value->setText(step > 0 ? DpiValueText(ctx(), step - 1) : QString());
    int component[3] = {0, 0, 0};
    for (int c = 0; c < 3; ++c) {
      const std::uint8_t nibble = level.colour[static_cast<std::size_t>(c)] & 0x0F;
      row.colour[c]->setText(QString::number(nibble));
      component[c] = ShownComponent(nibble);
    }
    SetSwatchColour(row.swatch, QColor(component[0], component[1], component[2]));
    row.frame->setVisible(colours);
    row.swatch->setVisible(colours);
    row.target->setVisible(colours);
  }
}

void AdvancedPage::ShowReportRate() {
  const int choice = ReportRateChoiceOfHz(editor_->State().settings.report_rate_hz).value_or(0);
  ChooseOnly(rate_choices_, choice >= 1 && choice <= 4 ? rate_rbs_[choice - 1] : nullptr);
  for (int r = 1; r <= 4; ++r) {
    rate_marks_[r - 1]->SetPicture(r == choice ? QStringLiteral("RdS_E") : QStringLiteral("RdS_D"),
                                   false);
    SetChecked(rate_labels_[r - 1], r == choice);
  }
}

void AdvancedPage::ShowFireKeys() {
  for (int f = 1; f <= 3; ++f) {
    const FireKeySettings& fire = editor_->State().fire[static_cast<std::size_t>(f - 1)];
    FireRow& row = fire_[f - 1];
    row.repeat->setText(QString::number(fire.repeatCount));
    row.delay->setText(QString::number(fire.delay));
    row.check->setChecked(fire.continuous);
    row.mark->SetPicture(fire.continuous ? QStringLiteral("CbS_E") : QStringLiteral("CbS_D"),
                         false);
    SetChecked(row.toggle, fire.continuous);
  }
}

void AdvancedPage::ShowAim() {
  const int step = std::clamp(editor_->State().aim_step, 1, 12);
  ShowSteps(aim_steps_, step);
  aim_value_->setText(DpiValueText(ctx(), step - 1));
}

void AdvancedPage::Finish(const EditResult& result) {
  if (result.status == EditStatus::kRefused) ShowEditMessage(ctx(), result.message);
  // The editor's state is the truth; the page shows it again whatever the
  // click did (a refusal puts the control back).
  ShowImage();
}

void AdvancedPage::ApplyFire(int f) {
  if (!editor_) return;
  FireRow& row = fire_[f - 1];
  FireKeySettings settings;
  settings.repeatCount = row.repeat->text().toInt();
  settings.delay = row.delay->text().toInt();
  settings.continuous = row.check->isChecked();
  // Values out of range (a count of 0, a delay above 4094 still being typed)
  // change only the field, and so does any edit with no mouse: the editor
  // refuses the one and keeps the other to itself.
  editor_->SetFireKey(f, settings);
}

void AdvancedPage::PickDpiColour(int level) {
  if (!editor_) return;
  DpiRow& row = dpi_[level - 1];
  const QColor shown = row.swatch->palette().color(QPalette::Window);
  const std::optional<QColor> picked = ctx().dialogs.PickColor(shown);
  if (!picked) return;
  const EditResult result =
      editor_->SetDpiColour(level, picked->red(), picked->green(), picked->blue());
  Finish(result);
  // The swatch shows the colour as picked until the level is shown again.
  if (result.status == EditStatus::kApplied) SetSwatchColour(row.swatch, *picked);
}

}  // namespace korvex48::gui
