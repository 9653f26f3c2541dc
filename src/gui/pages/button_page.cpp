#include "gui/pages/button_page.h"

#include "core/editing/page_editor.h"
#include "gui/pages/button_menus.h"

namespace korvex48::gui {

ButtonPage::ButtonPage(EditorContext& context, QWidget* parent)
    : Page(context, QStringLiteral("ButtonPage"), parent) {
  panel_ = AddPicture(QStringLiteral("Img_P1"), QStringLiteral("L1_Back1"));
  for (int m = 1; m <= 12; ++m) {
    auto* picture = AddPicture(QStringLiteral("Img_Key%1").arg(m), QStringLiteral("KeyS_01"));
    auto* label = AddText(QStringLiteral("Key%1").arg(m));
    label->resize(picture->size());
    // Long names (key combinations) stay clear of the picture's end marks.
    label->setContentsMargins(6, 0, 6, 0);
    connect(label, &TextLabel::clicked, this, [this, m] { Q_EMIT keyClicked(m); });
    connect(label, &TextLabel::entered, this, [this, picture, label] {
      picture->SetPicture(QStringLiteral("KeyS_02"), false);
      Q_EMIT keyEntered(label);
    });
    connect(label, &TextLabel::left, this, [this, picture] {
      Q_EMIT keyLeft();
      picture->SetPicture(QStringLiteral("KeyS_01"), false);
    });
    key_pictures_[m - 1] = picture;
    keys_[m - 1] = label;
  }
  // Lies above the labels and takes their clicks while shown.
  disable_ = AddLabel(QStringLiteral("Disable"), 86, 104, 587, 377);
  disable_->setAttribute(Qt::WA_NoMousePropagation);
  disable_->hide();
  disable_->raise();
}

void ButtonPage::MakeMenus() {
  if (!menus_) menus_ = new ButtonMenus(this);
}

void ButtonPage::Opened() { panel_->SetPicture(QStringLiteral("L%1_Back1").arg(ctx().language)); }

void ButtonPage::ShowImage() { ShowLabels(); }

void ButtonPage::ShowDisabledLook() {
  // Labels that cannot be clicked (the switch and reset keys, profile 3)
  // show their names faded.
  for (TextLabel* label : keys_) {
    QPalette palette = label->palette();
    QColor faded = palette.color(QPalette::Active, QPalette::WindowText);
    faded.setAlpha(100);
    palette.setColor(QPalette::Disabled, QPalette::WindowText, faded);
    label->setPalette(palette);
  }
}

void ButtonPage::ShowLabels() {
  if (!editor_) return;
  const EditorState& state = editor_->State();
  for (int m = 1; m <= 12; ++m) {
    TextLabel* label = keys_[m - 1];
    label->setText(QString::fromStdString(state.labels[m - 1]));
    label->setEnabled(state.clickable[m - 1]);
  }
}

void ButtonPage::ApplyLanguage() {
  ShowDisabledLook();  // the layout has just set the labels' colours
  if (!editor_) return;
  editor_->RetranslateLabels();
  ShowLabels();
}

}  // namespace korvex48::gui
