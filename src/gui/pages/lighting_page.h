#pragma once
// The Breathing Light page: lighting mode, step time and the seven colours.
#include <QButtonGroup>

#include "gui/pages/page.h"

namespace korvex48::gui {

class LightingPage : public Page {
  Q_OBJECT

 public:
  LightingPage(EditorContext& context, QWidget* parent);
  void Opened() override;

  QButtonGroup* ModeChoices() const { return mode_choices_; }  // rb_Off, rb_LED1..5

 private:
  PictureLabel* panel_;
  QButtonGroup* mode_choices_;
};

}  // namespace korvex48::gui
