#pragma once
// The Advanced page: fire keys, report rate, the operating system's mouse
// settings, the DPI levels and the AIM DPI. The page shows the editor's state
// and the page copy of the image; its clicks go to the editor's operations.
// The hidden controls rb_DPIn, edt_DPInColR/G/B and rb_Repn only mirror the
// editor's state; nothing reads them back. A fire key's count and delay
// fields and its continuous mark (cb_FirenContinue) are what the user enters:
// a change hands all three to the editor, which refuses a count or delay
// still being typed.
#include <QButtonGroup>
#include <QLineEdit>
#include <array>

#include "gui/pages/page.h"

namespace korvex48 {
class PageEditor;
struct EditResult;
}  // namespace korvex48

namespace korvex48::gui {

class PointerBars;

class AdvancedPage : public Page {
  Q_OBJECT

 public:
  AdvancedPage(EditorContext& context, QWidget* parent);
  void Opened() override;
  // DPI levels, report rate, fire keys and AIM DPI from the editor (RefreshUI).
  void ShowImage() override;
  void ApplyLanguage() override;

  void Bind(PageEditor* editor) { editor_ = editor; }
  void ShowDpi();
  void ShowReportRate();
  void ShowFireKeys();
  void ShowAim();
  // The desktop's pointer speed, double-click time and wheel lines.
  PointerBars* Pointer() const { return pointer_; }

  QButtonGroup* DpiChoices() const { return dpi_choices_; }          // rb_DPI1..8
  QButtonGroup* ReportRateChoices() const { return rate_choices_; }  // rb_Rep1..4

 private:
  PictureLabel* panel_;
  QButtonGroup* dpi_choices_;
  QButtonGroup* rate_choices_;
  PageEditor* editor_ = nullptr;
  PointerBars* pointer_ = nullptr;

  struct DpiRow {
    TextLabel* name = nullptr;       // lbl_DPIn
    PictureLabel* mark = nullptr;    // Img_DPIn
    QRadioButton* choice = nullptr;  // rb_DPIn
    QLabel* value = nullptr;         // lbl_DPInValue
    std::array<PictureLabel*, 12> steps{};
    PictureLabel* frame = nullptr;       // Img_DPInCol
    QLabel* swatch = nullptr;            // cs_DPInCol
    TextLabel* target = nullptr;         // lbl_DPInCol
    std::array<QLineEdit*, 3> colour{};  // edt_DPInColR/G/B
  };
  struct FireRow {
    QLineEdit* repeat = nullptr;
    QLineEdit* delay = nullptr;
    PictureLabel* mark = nullptr;
    TextLabel* toggle = nullptr;  // lbl_FirenContinue
    QCheckBox* check = nullptr;
  };
  std::array<DpiRow, 8> dpi_{};
  std::array<FireRow, 3> fire_{};
  std::array<PictureLabel*, 4> rate_marks_{};
  std::array<QRadioButton*, 4> rate_rbs_{};
  std::array<TextLabel*, 4> rate_labels_{};
  std::array<PictureLabel*, 12> aim_steps_{};
  QLabel* aim_value_ = nullptr;

  // The lit step of DPI level `level` (1..12), 0 when it has no value.
  int DpiStep(int level) const;
  void Finish(const EditResult& result);
  void ApplyFire(int f);
  void PickDpiColour(int level);
  void PlaceInTabOrder();
};

}  // namespace korvex48::gui
