#pragma once
// The three bars of the Advanced page that show and set the desktop's pointer
// speed (Img_Spd1..10), double-click time (Img_DbSpd1..10) and wheel lines
// (Img_ScrSpd1..10), each reached with Tab as one control (Bar_Spd, Bar_DbSpd,
// Bar_ScrSpd, a StepBar). Segments 1..position show "Bar1_E", the others "Bar1_D";
// each bar's tool tip says where its value came from and went. Until settings
// are bound the bars are hidden: they would do nothing.
#include <QObject>
#include <QString>
#include <array>

#include "core/pointer/pointer_settings.h"

namespace korvex48::gui {

class PictureLabel;
class TextLabel;

class PointerBars final : public QObject {
  Q_OBJECT

 public:
  struct Bar {
    std::array<PictureLabel*, kPointerPositions> segments{};  // Img_<family>1..10
    std::array<TextLabel*, kPointerPositions> numbers{};      // lbl_<family>1..10
  };
  // In the order of PointerSetting: speed, double-click, wheel lines.
  PointerBars(const std::array<Bar, 3>& bars, QObject* parent);

  // `settings` must outlive the bars; nullptr hides them.
  void Bind(PointerSettings* settings);
  // Reads the values again (start, whole-image read) and shows them.
  void Refresh();
  // Shows the positions and tool tips of the bound settings.
  void Show();

 private:
  void Clicked(PointerSetting setting, int position);
  QString ToolTip(PointerSetting setting) const;

  std::array<Bar, 3> bars_;
  PointerSettings* settings_ = nullptr;
};

}  // namespace korvex48::gui
