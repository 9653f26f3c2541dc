#pragma once
// The page of the three button pages (Main Control, Alternate Key, Reset
// Control share page group 1): the mouse drawing panel Img_P1 and the twelve
// button labels Key1..Key12 over their pictures Img_Key1..Img_Key12, and the
// overlay Disable that keeps profile 3 (and the pages without a mouse) from
// being edited, and the function menus the labels open.
#include <array>

#include "gui/pages/page.h"

namespace korvex48 {
class PageEditor;
}

namespace korvex48::gui {

class ButtonMenus;

class ButtonPage : public Page {
  Q_OBJECT

 public:
  ButtonPage(EditorContext& context, QWidget* parent);

  void Opened() override;
  // Shows the labels of the active profile (RefreshUI).
  void ShowImage() override;
  // After the language applier re-translated the labels: the editor's labels
  // follow, so the rules compare names in the new language (a key
  // combination, which has no language text, stays as built).
  void ApplyLanguage() override;

  // The editor whose state the page shows; nullptr shows nothing.
  void Bind(PageEditor* editor) { editor_ = editor; }
  // Labels Key1..Key12 from the editor: names, and which can be clicked.
  void ShowLabels();
  // The faded text of labels that cannot be clicked, from the layout colour.
  void ShowDisabledLook();

  TextLabel* KeyLabel(int m) const { return keys_.at(m - 1); }  // m = 1..12
  PictureLabel* KeyPicture(int m) const { return key_pictures_.at(m - 1); }
  QLabel* DisableOverlay() const { return disable_; }
  // The function menus that open from the labels (above the overlay).
  // The function menus (hidden panels over the page), made by MakeMenus():
  // nullptr before.
  ButtonMenus* Menus() const { return menus_; }
  void MakeMenus();

 Q_SIGNALS:
  // A button label was clicked (m = 1..12); the button page logic opens its menu.
  void keyClicked(int m);
  // The pointer entered or left an enabled or disabled button label (the
  // window runs its caption while it rests there).
  void keyEntered(QLabel* label);
  void keyLeft();

 private:
  PictureLabel* panel_;
  std::array<TextLabel*, 12> keys_{};
  std::array<PictureLabel*, 12> key_pictures_{};
  QLabel* disable_;
  ButtonMenus* menus_ = nullptr;
  PageEditor* editor_ = nullptr;
};

}  // namespace korvex48::gui
