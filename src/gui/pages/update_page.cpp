#include "gui/pages/update_page.h"

namespace korvex48::gui {

UpdatePage::UpdatePage(EditorContext& context, QWidget* parent)
    : Page(context, QStringLiteral("UpdatePage"), parent) {
  AddPicture(QStringLiteral("Img_P5"), QStringLiteral("Update"));
  AddLabel(QStringLiteral("lbl_BINPath"), 0, 0, 200, 20);
  auto* path = AddLabel(QStringLiteral("lbl_LoadBIN"), 0, 0, 420, 20);
  path->setTextInteractionFlags(Qt::TextSelectableByMouse);
  for (const char* name : {"LoadBIN", "Program"}) {
    auto* picture =
        AddPicture(QStringLiteral("Img_") + QLatin1String(name), QStringLiteral("KeyS_01"));
    AddText(QStringLiteral("Btn_") + QLatin1String(name))->resize(picture->size());
  }
}

}  // namespace korvex48::gui
