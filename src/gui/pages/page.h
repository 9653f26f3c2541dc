#pragma once
// Base of the page classes. A page is a transparent 800 x 600 widget lying in
// its page group over the group's background; its controls use window
// coordinates, so the layout tables place them directly.
//
// How a page is filled:
//   - create every control in the constructor with its objectName, through
//     AddPicture (skin pictures), AddText (labels used as buttons), AddLabel,
//     AddChoice (hidden rb_ selectors) and AddCheck (hidden cb_ boxes);
//   - gui::ApplyLayout (layout_applier.h) places the controls named in the
//     layout tables; a page overrides ApplyLayout only for controls the
//     tables do not place;
//   - gui::ApplyLanguage (language_applier.h) sets the texts of the controls
//     the language table names; a page overrides ApplyLanguage for its own
//     stored texts;
//   - ShowImage() fills the controls from the page editor's state and the
//     core's page copy (called after a whole-image read, the defaults and a
//     profile load);
//   - Opened() runs when the page becomes the current page.
#include <QButtonGroup>
#include <QCheckBox>
#include <QLabel>
#include <QRadioButton>
#include <QString>
#include <QWidget>

#include "gui/editor_context.h"
#include "gui/skin_widgets.h"

namespace korvex48::gui {

class Page : public QWidget {
  Q_OBJECT

 public:
  Page(EditorContext& context, const QString& object_name, QWidget* parent);

  // The page's own placement beyond the layout table (default: nothing).
  virtual void ApplyLayout() {}
  // The page's own texts beyond the language table's control texts.
  virtual void ApplyLanguage() {}
  // Shows the page copy of the image on the controls.
  virtual void ShowImage() {}
  // The page became the current page (its panel picture follows the language).
  virtual void Opened() {}

 protected:
  EditorContext& ctx() { return context_; }
  const EditorContext& ctx() const { return context_; }

  PictureLabel* AddPicture(const QString& name, const QString& picture, int x = 0, int y = 0);
  TextLabel* AddText(const QString& name, int x = 0, int y = 0, int w = 80, int h = 20);
  QLabel* AddLabel(const QString& name, int x = 0, int y = 0, int w = 80, int h = 20);
  // A colour swatch (cs_...); transparent (the frame's hatch shows) until
  // SetSwatchColour gives it a colour.
  QLabel* AddSwatch(const QString& name, QSize size);
  static void SetSwatchColour(QLabel* swatch, const QColor& colour);
  // Hidden selectors holding page state, exclusive within `group` (one
  // QButtonGroup per family of choices).
  QRadioButton* AddChoice(const QString& name, QButtonGroup* group);
  QCheckBox* AddCheck(const QString& name);

 private:
  EditorContext& context_;
};

}  // namespace korvex48::gui
