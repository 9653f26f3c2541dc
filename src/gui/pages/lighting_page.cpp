#include "gui/pages/lighting_page.h"

#include <QLineEdit>

namespace korvex48::gui {

LightingPage::LightingPage(EditorContext& context, QWidget* parent)
    : Page(context, QStringLiteral("LightingPage"), parent), mode_choices_(new QButtonGroup(this)) {
  panel_ = AddPicture(QStringLiteral("Img_P3"), QStringLiteral("L1_Back3"));

  for (int k = 1; k <= 10; ++k) {
    AddPicture(QStringLiteral("Img_Fall%1").arg(k), QStringLiteral("Bar1_D"));
    AddText(QStringLiteral("lbl_Fall%1").arg(k), 0, 0, 24, 14);
  }

  const QStringList modes = {QStringLiteral("Off"),  QStringLiteral("LED1"),
                             QStringLiteral("LED2"), QStringLiteral("LED3"),
                             QStringLiteral("LED4"), QStringLiteral("LED5")};
  for (const QString& mode : modes) {
    AddPicture(QStringLiteral("Img_") + mode, QStringLiteral("RdS_D"));
    AddText(QStringLiteral("lbl_") + mode, 0, 0, 110, 20)
        ->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    AddChoice(QStringLiteral("rb_") + mode, mode_choices_);
  }

  for (int c = 1; c <= 7; ++c) {
    auto* frame = AddPicture(QStringLiteral("Img_Col%1").arg(c), QStringLiteral("Col_F"));
    AddSwatch(QStringLiteral("cs_Col%1").arg(c), frame->size());
    AddText(QStringLiteral("lbl_Col%1").arg(c))->resize(frame->size());
    for (const char* part : {"R", "G", "B"}) {
      auto* edit = new QLineEdit(this);
      edit->setObjectName(QStringLiteral("Edt_Col%1%2").arg(c).arg(QLatin1String(part)));
      edit->hide();
    }
  }
}

void LightingPage::Opened() { panel_->SetPicture(QStringLiteral("L%1_Back3").arg(ctx().language)); }

}  // namespace korvex48::gui
