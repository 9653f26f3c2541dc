#include "gui/pages/macro_page.h"

#include <algorithm>

namespace korvex48::gui {
namespace {

// A delay option row: the mark LED_<name> and its text IB_<name>.
void AddOptionRow(Page* page, QWidget* parent, QButtonGroup* group, const QString& name) {
  auto* mark = new QRadioButton(parent);
  mark->setObjectName(QStringLiteral("LED_") + name);
  mark->setAutoExclusive(false);
  group->addButton(mark);
  mark->resize(16, 16);
  auto* text = new TextLabel(QStringLiteral("IB_") + name, parent);
  text->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  text->resize(150, 18);
  auto* choice = new QRadioButton(parent);
  choice->setObjectName(QStringLiteral("rb_") + name);
  choice->hide();
  Q_UNUSED(page);
}

QLineEdit* AddEdit(QWidget* parent, const QString& name, int w) {
  auto* edit = new QLineEdit(parent);
  edit->setObjectName(name);
  edit->resize(w, 22);
  edit->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  return edit;
}

QListWidget* AddList(QWidget* parent, const QString& name, int w, int h) {
  auto* list = new QListWidget(parent);
  list->setObjectName(name);
  list->resize(w, h);
  list->setFrameShape(QFrame::NoFrame);
  return list;
}

}  // namespace

MacroPage::MacroPage(EditorContext& context, QWidget* parent)
    : Page(context, QStringLiteral("MacroPage"), parent) {
  panel_ = AddPicture(QStringLiteral("Img_P4"), QStringLiteral("L1_Back4"));

  AddList(this, QStringLiteral("LB_PCMacroName"), 150, 300);
  AddList(this, QStringLiteral("LB_MacroName"), 150, 120);
  AddList(this, QStringLiteral("LB_macro"), 200, 300);

  auto* start = AddPicture(QStringLiteral("Img_Start"), QStringLiteral("MacroS_01"));
  AddText(QStringLiteral("Btn_Start"))->resize(start->size());

  // Delay options of recording.
  delay_box_ = new QGroupBox(this);
  delay_box_->setObjectName(QStringLiteral("Gb_Delay"));
  delay_box_->setFlat(true);
  delay_box_->resize(200, 140);
  auto* delay_group = new QButtonGroup(this);
  for (const char* name : {"RecDelay", "DelayTime", "NoDelay"})
    AddOptionRow(this, delay_box_, delay_group, QLatin1String(name));
  AddEdit(delay_box_, QStringLiteral("Edt_Delay"), 50);

  // Insert panel of the macro editor.
  insert_base_ = AddPicture(QStringLiteral("Img_InsertBase"), QStringLiteral("InsertDelayBase"));
  insert_box_ = new QGroupBox(this);
  insert_box_->setObjectName(QStringLiteral("Gb_Insert"));
  insert_box_->setFlat(true);
  insert_box_->resize(insert_base_->size());
  auto* insert_list = new QComboBox(insert_box_);
  insert_list->setObjectName(QStringLiteral("CB_Insert"));
  insert_list->resize(170, 22);
  for (int i = 0; i < 10; ++i) insert_list->addItem(QString());
  auto* insert_group = new QButtonGroup(this);
  for (const char* name : {"InsertRecDelay", "InsertDelayTime", "InsertNoDelay"})
    AddOptionRow(this, insert_box_, insert_group, QLatin1String(name));
  AddEdit(insert_box_, QStringLiteral("Edt_InsertDelay"), 40);
  for (const char* name :
       {"lbl_Delay", "lbl_s_A", "lbl_XAxisValue", "lbl_YAxisValue", "lbl_Repeat"}) {
    auto* label = new QLabel(insert_box_);
    label->setObjectName(QLatin1String(name));
    label->resize(name[4] == 's' ? 30 : 72, 18);
  }
  for (const char* name : {"edt_XAxisValue", "edt_YAxisValue", "edt_Repeat"})
    AddEdit(insert_box_, QLatin1String(name), 60)->hide();
  for (const char* name : {"InsertStart", "OK", "Cancel"}) {
    auto* picture =
        new PictureLabel(ctx().skin, QStringLiteral("Img_") + QLatin1String(name), insert_box_);
    picture->SetPicture(QLatin1String(name) == QLatin1String("InsertStart")
                            ? QStringLiteral("MacroS_01")
                            : QStringLiteral("MacroBtnS_01"));
    auto* text = new TextLabel(QStringLiteral("Btn_") + QLatin1String(name), insert_box_);
    text->resize(picture->size());
  }

  // Command pop-ups of the three lists.
  AddCommandPanel(QStringLiteral("Pnl_PCMacro"),
                  {QStringLiteral("Btn_NewMacro"), QStringLiteral("Btn_NewName"),
                   QStringLiteral("Btn_DelPCMacro"), QStringLiteral("Btn_ImportOne"),
                   QStringLiteral("Btn_Import"), QStringLiteral("Btn_ExportOne"),
                   QStringLiteral("Btn_Export"), QStringLiteral("Btn_AddMacro")});
  AddCommandPanel(QStringLiteral("Pnl_DevMacro"),
                  {QStringLiteral("Btn_DelMacro"), QStringLiteral("Btn_DevExport")});
  AddCommandPanel(QStringLiteral("Pnl_DevContent"),
                  {QStringLiteral("Btn_Del"), QStringLiteral("Btn_Insert")});

  ShowInsertMode(false);
}

QWidget* MacroPage::AddCommandPanel(const QString& name, const QStringList& commands) {
  // Labels of 112 x 20, one under the other.
  auto* panel = new QWidget(this);
  panel->setObjectName(name);
  panel->setAutoFillBackground(true);
  panel->resize(112, 20 * static_cast<int>(commands.size()));
  int y = 0;
  for (const QString& command : commands) {
    auto* label = new TextLabel(command, panel);
    label->setGeometry(0, y, 112, 20);
    label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    label->setIndent(6);
    y += 20;
  }
  panel->hide();
  return panel;
}

void MacroPage::ShowInsertMode(bool insert) {
  insert_mode_ = insert;
  delay_box_->setVisible(!insert);
  insert_box_->setVisible(insert);
  insert_base_->setVisible(insert);
}

void MacroPage::ApplyLayout() {
  // The tables place the three lists; their sizes follow the panel: each list
  // runs to its right-hand neighbour (leaving a gap) and down to the
  // neighbour below or the panel's bottom edge, matching the frames drawn on
  // the panel picture.
  constexpr int kGap = 16;
  constexpr int kHeadingRoom = 26;
  constexpr int kBottomInset = 14;
  const LayoutTable& t = ctx().layout;
  const int bottom = t.p4.y + panel_->PictureSize().height() - kBottomInset;
  auto place = [this](const char* name, int x, int y, int w, int h) {
    if (auto* list = findChild<QListWidget*>(QLatin1String(name)))
      list->setGeometry(x, y, std::max(40, w), std::max(40, h));
  };
  place("LB_PCMacroName", t.pc_macro_name.x, t.pc_macro_name.y,
        t.macro_content.x - kGap - t.pc_macro_name.x,
        t.mse_macro_name.y - kHeadingRoom - 8 - t.pc_macro_name.y);
  place("LB_MacroName", t.mse_macro_name.x, t.mse_macro_name.y,
        t.macro_content.x - kGap - t.mse_macro_name.x, bottom - t.mse_macro_name.y);
  place("LB_macro", t.macro_content.x, t.macro_content.y, t.btn_start.x - kGap - t.macro_content.x,
        bottom - t.macro_content.y);
}

void MacroPage::Opened() {
  panel_->SetPicture(QStringLiteral("L%1_Back4").arg(ctx().language));
  ShowInsertMode(insert_mode_);
}

}  // namespace korvex48::gui
