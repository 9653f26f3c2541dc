#include "gui/pages/advanced_page.h"

namespace korvex48::gui {
namespace {

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
    AddEdit(this, QStringLiteral("Edt_Repeat%1").arg(f), 40);
    AddEdit(this, QStringLiteral("Edt_DelayTime%1").arg(f), 40);
    AddPicture(QStringLiteral("Img_Fire%1Continue").arg(f), QStringLiteral("CbS_D"));
    AddText(QStringLiteral("lbl_Fire%1Continue").arg(f), 0, 0, 20, 20);
    AddCheck(QStringLiteral("cb_Fire%1Continue").arg(f));
  }

  // Report rate choices.
  for (int r = 1; r <= 4; ++r) {
    AddPicture(QStringLiteral("Img_Rep%1").arg(r), QStringLiteral("RdS_D"));
    AddText(QStringLiteral("lbl_Rep%1").arg(r), 0, 0, 70, 20)
        ->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    AddChoice(QStringLiteral("rb_Rep%1").arg(r), rate_choices_);
  }

  // Pointer speed, double-click speed and wheel scroll lines: ten steps each.
  for (const char* family : {"Spd", "DbSpd", "ScrSpd"}) {
    for (int k = 1; k <= 10; ++k) {
      AddPicture(QStringLiteral("Img_%1%2").arg(QLatin1String(family)).arg(k),
                 QStringLiteral("Bar1_D"));
      AddText(QStringLiteral("lbl_%1%2").arg(QLatin1String(family)).arg(k), 0, 0, 24, 14);
    }
  }

  // DPI levels 1..8.
  for (int d = 1; d <= 8; ++d) {
    auto* frame = AddPicture(QStringLiteral("Img_DPI%1Col").arg(d), QStringLiteral("Col_F"));
    AddSwatch(QStringLiteral("cs_DPI%1Col").arg(d), frame->size());
    AddText(QStringLiteral("lbl_DPI%1Col").arg(d))->resize(frame->size());
    AddPicture(QStringLiteral("Img_DPI%1").arg(d), QStringLiteral("CbS_D"));
    AddChoice(QStringLiteral("rb_DPI%1").arg(d), dpi_choices_);
    AddText(QStringLiteral("lbl_DPI%1").arg(d), 0, 0, 60, 20);
    AddLabel(QStringLiteral("lbl_DPI%1Value").arg(d), 0, 0, 50, 20);
    for (int k = 1; k <= 12; ++k)
      AddPicture(QStringLiteral("Img_DPI%1_%2").arg(d).arg(k), QStringLiteral("Bar2_D"));
    for (const char* c : {"R", "G", "B"}) {
      auto* edit = AddEdit(this, QStringLiteral("edt_DPI%1Col%2").arg(d).arg(QLatin1String(c)), 30);
      edit->hide();
    }
  }

  // AIM DPI.
  AddLabel(QStringLiteral("lbl_AIMDPI"), 0, 0, 60, 20);
  AddLabel(QStringLiteral("lbl_AIMDPIValue"), 0, 0, 50, 20);
  for (int k = 1; k <= 12; ++k)
    AddPicture(QStringLiteral("Img_AIMDPI_%1").arg(k), QStringLiteral("Bar2_D"));
}

void AdvancedPage::Opened() { panel_->SetPicture(QStringLiteral("L%1_Back2").arg(ctx().language)); }

}  // namespace korvex48::gui
