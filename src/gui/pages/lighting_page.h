#pragma once
// The Breathing Light page: lighting mode, step time and the seven colours,
// shown from the editor's state; clicks go to the editor's operations. The
// hidden rb_Off, rb_LED1..5 and Edt_ColkR/G/B only mirror that state;
// nothing reads them back.
#include <QButtonGroup>
#include <QLineEdit>
#include <array>

#include "gui/pages/page.h"

namespace korvex48 {
class PageEditor;
struct EditResult;
}  // namespace korvex48

namespace korvex48::gui {

class LightingPage : public Page {
  Q_OBJECT

 public:
  LightingPage(EditorContext& context, QWidget* parent);
  void Opened() override;
  // LED kind, mode, step time and colours from the editor (RefreshUI).
  void ShowImage() override;

  void Bind(PageEditor* editor) { editor_ = editor; }
  QButtonGroup* ModeChoices() const { return mode_choices_; }  // rb_Off, rb_LED1..5

 private:
  PictureLabel* panel_;
  QButtonGroup* mode_choices_;
  PageEditor* editor_ = nullptr;

  struct ModeRow {
    PictureLabel* mark = nullptr;
    TextLabel* label = nullptr;
    QRadioButton* choice = nullptr;
  };
  struct ColourRow {
    PictureLabel* frame = nullptr;
    QLabel* swatch = nullptr;
    TextLabel* target = nullptr;
    std::array<QLineEdit*, 3> fields{};
  };
  std::array<ModeRow, 6> modes_{};  // Off, LED1..LED5
  std::array<PictureLabel*, 10> steps_{};
  std::array<TextLabel*, 10> step_labels_{};
  std::array<ColourRow, 7> colours_{};

  void Finish(const EditResult& result);
  void PickColour(int colour);
};

}  // namespace korvex48::gui
