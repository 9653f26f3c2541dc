#include "gui/pages/page.h"

namespace korvex48::gui {

Page::Page(EditorContext& context, const QString& object_name, QWidget* parent)
    : QWidget(parent), context_(context) {
  setObjectName(object_name);
  setGeometry(0, 0, 800, 600);
  setAttribute(Qt::WA_TranslucentBackground);
}

PictureLabel* Page::AddPicture(const QString& name, const QString& picture, int x, int y) {
  auto* label = new PictureLabel(context_.skin, name, this);
  label->move(x, y);
  label->SetPicture(picture);
  return label;
}

TextLabel* Page::AddText(const QString& name, int x, int y, int w, int h) {
  auto* label = new TextLabel(name, this);
  label->setGeometry(x, y, w, h);
  return label;
}

QLabel* Page::AddLabel(const QString& name, int x, int y, int w, int h) {
  auto* label = new QLabel(this);
  label->setObjectName(name);
  label->setGeometry(x, y, w, h);
  return label;
}

QLabel* Page::AddSwatch(const QString& name, QSize size) {
  return AddLabel(name, 0, 0, size.width(), size.height());
}

void Page::SetSwatchColour(QLabel* swatch, const QColor& colour) {
  QPalette palette = swatch->palette();
  palette.setColor(QPalette::Window, colour);
  swatch->setPalette(palette);
  swatch->setAutoFillBackground(colour.isValid());
}

QRadioButton* Page::AddChoice(const QString& name, QButtonGroup* group) {
  auto* choice = new QRadioButton(this);
  choice->setObjectName(name);
  choice->setAutoExclusive(false);
  group->addButton(choice);
  choice->hide();
  return choice;
}

QCheckBox* Page::AddCheck(const QString& name) {
  auto* check = new QCheckBox(this);
  check->setObjectName(name);
  check->hide();
  return check;
}

}  // namespace korvex48::gui
