#pragma once
// The Advanced page: fire keys, report rate, the operating system's mouse
// settings, the DPI levels and the AIM DPI. The shell creates and names every
// control; showing and editing the settings is added by the pages' logic.
#include <QButtonGroup>
#include <QLineEdit>

#include "gui/pages/page.h"

namespace korvex48::gui {

class AdvancedPage : public Page {
  Q_OBJECT

 public:
  AdvancedPage(EditorContext& context, QWidget* parent);
  void Opened() override;

  QButtonGroup* DpiChoices() const { return dpi_choices_; }          // rb_DPI1..8
  QButtonGroup* ReportRateChoices() const { return rate_choices_; }  // rb_Rep1..4

 private:
  PictureLabel* panel_;
  QButtonGroup* dpi_choices_;
  QButtonGroup* rate_choices_;
};

}  // namespace korvex48::gui
