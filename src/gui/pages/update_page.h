#pragma once
// The Update page: the firmware file path, Load File and Update.
#include "gui/pages/page.h"

namespace korvex48::gui {

class UpdatePage : public Page {
  Q_OBJECT

 public:
  UpdatePage(EditorContext& context, QWidget* parent);
};

}  // namespace korvex48::gui
