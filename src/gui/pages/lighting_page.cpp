#include "gui/pages/lighting_page.h"

#include <QLineEdit>
#include <algorithm>

#include "core/editing/page_editor.h"
#include "gui/control_access.h"
#include "gui/pages/choice_group.h"
#include "gui/pages/edit_message.h"
#include "gui/pages/faded.h"
#include "gui/step_bar.h"

namespace korvex48::gui {

LightingPage::LightingPage(EditorContext& context, QWidget* parent)
    : Page(context, QStringLiteral("LightingPage"), parent), mode_choices_(new QButtonGroup(this)) {
  panel_ = AddPicture(QStringLiteral("Img_P3"), QStringLiteral("L1_Back3"));

  for (int k = 1; k <= 10; ++k) {
    steps_[k - 1] = AddPicture(QStringLiteral("Img_Fall%1").arg(k), QStringLiteral("Bar1_D"));
    step_labels_[k - 1] = AddText(QStringLiteral("lbl_Fall%1").arg(k), 0, 0, 24, 14);
    step_labels_[k - 1]->setText(QString::number(k));
    // The digit and the step picture both choose the step.
    auto choose = [this, k] {
      if (!editor_) return;
      Finish(editor_->SetStepTime(k));
    };
    connect(steps_[k - 1], &PictureLabel::pressed, this, choose);
    connect(step_labels_[k - 1], &TextLabel::clicked, this, choose);
    // Tab goes to the bar as a whole.
    step_labels_[k - 1]->setFocusPolicy(Qt::NoFocus);
  }
  new StepBar(
      QStringLiteral("Bar_Fall"), QStringLiteral("Effect speed"), {steps_.begin(), steps_.end()},
      [this] { return editor_ ? StepOfFallTime(editor_->State().settings.lighting.fall_time) : 0; },
      this);

  static const char* const kModes[] = {"Off", "LED1", "LED2", "LED3", "LED4", "LED5"};
  static const char* const kModeTexts[] = {"Off", "LED 1", "LED 2", "LED 3", "LED 4", "LED 5"};
  for (int m = 0; m < 6; ++m) {
    const QString mode = QLatin1String(kModes[m]);
    ModeRow& row = modes_[m];
    row.mark = AddPicture(QStringLiteral("Img_") + mode, QStringLiteral("RdS_D"));
    row.label = AddText(QStringLiteral("lbl_") + mode, 0, 0, 110, 20);
    row.label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    row.label->setIndent(22);
    row.label->setText(QLatin1String(kModeTexts[m]));
    row.choice = AddChoice(QStringLiteral("rb_") + mode, mode_choices_);
    connect(row.label, &TextLabel::clicked, this, [this, m] {
      if (!editor_) return;
      Finish(editor_->SetLightingMode(m));
    });
  }

  for (int c = 1; c <= 7; ++c) {
    ColourRow& row = colours_[c - 1];
    row.frame = AddPicture(QStringLiteral("Img_Col%1").arg(c), QStringLiteral("Col_F"));
    row.swatch = AddSwatch(QStringLiteral("cs_Col%1").arg(c), row.frame->size());
    row.target = AddText(QStringLiteral("lbl_Col%1").arg(c));
    row.target->resize(row.frame->size());
    int i = 0;
    for (const char* part : {"R", "G", "B"}) {
      auto* edit = new QLineEdit(this);
      edit->setObjectName(QStringLiteral("Edt_Col%1%2").arg(c).arg(QLatin1String(part)));
      edit->setText(QStringLiteral("0"));
      edit->hide();
      row.fields[i++] = edit;
    }
    connect(row.target, &TextLabel::clicked, this, [this, c] { PickColour(c); });
  }
}

void LightingPage::Opened() { panel_->SetPicture(QStringLiteral("L%1_Back3").arg(ctx().language)); }

void LightingPage::ShowImage() {
  if (!editor_) return;
  const PageSettings& shown = editor_->State().settings;
  const Lighting& lighting = shown.lighting;
  const int chosen_mode = LightingModeChosen(shown, lighting.mode) ? lighting.mode : -1;
  ChooseOnly(mode_choices_, chosen_mode >= 0 ? modes_[chosen_mode].choice : nullptr);
  // Modes the LED kind does not offer are hidden with their pictures; a mode
  // value the kind does not offer selects nothing.
  for (int m = 0; m < 6; ++m) {
    ModeRow& row = modes_[m];
    const bool offered = !shown.led_kind_known || LightingModeOffered(lighting.kind, m);
    row.mark->setVisible(offered);
    row.label->setVisible(offered);
    const bool chosen = m == chosen_mode;
    row.mark->SetPicture(chosen ? QStringLiteral("RdS_E") : QStringLiteral("RdS_D"), false);
    SetChecked(row.label, chosen);
  }
  // The step time cannot be chosen while the lights are off.
  const bool steps_enabled = chosen_mode != 0;
  const int step = StepOfFallTime(lighting.fall_time);
  for (int k = 1; k <= 10; ++k) {
    steps_[k - 1]->setEnabled(steps_enabled);
    step_labels_[k - 1]->setEnabled(steps_enabled);
    SetFaded(steps_[k - 1], !steps_enabled);
    SetFaded(step_labels_[k - 1], !steps_enabled);
    steps_[k - 1]->SetPicture(k <= step ? QStringLiteral("Bar1_E") : QStringLiteral("Bar1_D"),
                              false);
  }
  const bool colours = shown.led_kind_known && LedKindHasColours(lighting.kind);
  for (int c = 1; c <= 7; ++c) {
    ColourRow& row = colours_[c - 1];
    const auto& stored = lighting.colours[static_cast<std::size_t>(c - 1)];
    int component[3] = {0, 0, 0};
    for (int i = 0; i < 3; ++i) {
      const std::uint8_t value = stored[static_cast<std::size_t>(i)];
      row.fields[i]->setText(QString::number(value));
      component[i] = ShownComponent(std::min<std::uint8_t>(value, 15));
    }
    SetSwatchColour(row.swatch, QColor(component[0], component[1], component[2]));
    row.frame->setVisible(colours);
    row.swatch->setVisible(colours);
    row.target->setVisible(colours);
  }
}

void LightingPage::Finish(const EditResult& result) {
  if (result.status == EditStatus::kRefused) ShowEditMessage(ctx(), result.message);
  ShowImage();
}

void LightingPage::PickColour(int colour) {
  if (!editor_) return;
  ColourRow& row = colours_[colour - 1];
  const std::optional<QColor> picked =
      ctx().dialogs.PickColor(row.swatch->palette().color(QPalette::Window));
  if (!picked) return;
  const EditResult result =
      editor_->SetLightColour(colour, picked->red(), picked->green(), picked->blue());
  Finish(result);
  // The swatch shows the colour as picked until the page is shown again.
  if (result.status == EditStatus::kApplied) SetSwatchColour(row.swatch, *picked);
}

}  // namespace korvex48::gui
