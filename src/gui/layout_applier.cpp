#include "gui/layout_applier.h"

#include <QColor>
#include <QLineEdit>
#include <QListWidget>
#include <QWidget>

#include "gui/control_index.h"
#include "gui/editor_context.h"
#include "gui/skin_widgets.h"

namespace korvex48::gui {
namespace {

constexpr int kGroups = 5;
// The swatch lies inside its frame picture, leaving the frame's rim visible.
constexpr int kSwatchInset = 3;

class Applier {
 public:
  Applier(const LayoutTable& t, const ProductSettings& s, const ControlIndex& c)
      : t_(t), s_(s), c_(c) {}

  void Run() {
    Navigation();
    MainPage();
    AdvancedPage();
    LightingPage();
    MacroPage();
    UpdatePage();
  }

 private:
  QWidget* W(const QString& name) const { return c_.Find(name); }

  // Table positions are window coordinates, also for the controls inside the
  // boxes Gb_Delay and Gb_Insert (which are placed before their contents).
  static QPoint InParent(QWidget* w, int x, int y) {
    QPoint p(x, y);
    for (QWidget* up = w->parentWidget(); up && !up->isWindow(); up = up->parentWidget())
      p -= up->pos();
    return p;
  }

  void Move(const QString& name, int x, int y) const {
    if (QWidget* w = W(name)) w->move(InParent(w, x, y));
  }
  void Move(const QString& name, LayoutPoint p) const { Move(name, p.x, p.y); }

  void Show(const QString& name, bool shown) const {
    if (QWidget* w = W(name)) w->setVisible(shown);
  }

  void Style(const QString& name, int size, const QColor& color) const {
    if (QWidget* w = W(name)) SetTextStyle(w, size, color);
  }

  void FontSize(const QString& name, int size) const {
    if (QWidget* w = W(name)) SetTextStyle(w, size, w->palette().color(QPalette::WindowText));
  }

  void Colors(const QString& name, const QColor& font, const QColor& back) const {
    QWidget* w = W(name);
    if (!w) return;
    QPalette p = w->palette();
    for (auto role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
      p.setColor(role, font);
    for (auto role : {QPalette::Window, QPalette::Base, QPalette::Button}) p.setColor(role, back);
    w->setPalette(p);
    w->setAutoFillBackground(true);
  }

  QSize PictureSize(const QString& name) const {
    auto* picture = qobject_cast<PictureLabel*>(W(name));
    return picture ? picture->PictureSize() : QSize();
  }

  // Picture and label both at p; the label takes the picture's size, less
  // `inset` pixels on every side (colour swatches leave the frame's rim).
  void PicturePair(const QString& picture, const QString& label, LayoutPoint p,
                   int inset = 0) const {
    Move(picture, p);
    QWidget* l = W(label);
    if (!l) return;
    QSize size = PictureSize(picture);
    const QPoint at = InParent(l, p.x, p.y);
    if (size.isValid())
      l->setGeometry(QRect(at, size).adjusted(inset, inset, -inset, -inset));
    else
      l->move(at);
  }

  void Navigation() const {
    const QColor color_a = ToQColor(t_.color_a);
    const QColor color_b = ToQColor(t_.color_b);
    static const char* const kBNames[13] = {nullptr,  "Main",  "Switch", "Fixed", "Adv",
                                            "Breath", "Save",  "Load",   "Lang1", "Lang2",
                                            "Lang3",  "Macro", "Update"};
    for (int n = 1; n <= kGroups; ++n) {
      auto sfx = [n](const char* name) {
        return QStringLiteral("%1_%2").arg(QLatin1String(name)).arg(n);
      };
      // Reset and Exit.
      const std::pair<const char*, const LayoutToggle*> a[] = {{"Reset", &t_.btn_a3},
                                                               {"Exit", &t_.btn_a4}};
      for (const auto& [name, toggle] : a) {
        const QString img = QStringLiteral("Img_") + sfx(name);
        const QString btn = QStringLiteral("Btn_") + sfx(name);
        Style(btn, t_.size_a, color_a);
        bool shown = toggle->ShownAsButton();
        Show(img, shown);
        Show(btn, shown);
        if (shown) PicturePair(img, btn, toggle->Pos());
      }
      // Page, profile and language buttons.
      for (int k = 1; k <= 12; ++k) {
        const QString img = QStringLiteral("Img_") + sfx(kBNames[k]);
        const QString btn = QStringLiteral("Btn_") + sfx(kBNames[k]);
        if (k != 12) Style(btn, t_.size_b, color_b);
        const LayoutToggle& toggle = t_.btn_b[k];
        bool shown = toggle.ShownAsButton();
        Show(img, shown);
        Show(btn, shown);
        if (!shown) continue;
        Move(img, toggle.Pos());
        if (QWidget* label = W(btn)) {
          QSize size = PictureSize(img);
          const QPoint at = InParent(label, toggle.x + t_.btn_space_f, toggle.y);
          label->setGeometry(at.x(), at.y(),
                             std::max(0, size.width() - t_.btn_space_f - t_.btn_space_b),
                             size.height());
        }
      }
      // Web button, placed by the product settings.
      PicturePair(QStringLiteral("Img_") + sfx("Web"), QStringLiteral("Btn_") + sfx("Web"),
                  {s_.web_x, s_.web_y});
    }
  }

  void MainPage() const {
    const QColor color_c = ToQColor(t_.color_c);
    for (int m = 1; m <= 12; ++m) Style(QStringLiteral("Key%1").arg(m), t_.size_c, color_c);
    Move(QStringLiteral("Img_P1"), t_.p1);
    const LedType led = s_.Led();
    for (int j = 1; j <= 12; ++j) {
      const int m = KeyLabelForEntry(led, j);
      if (m == 0) continue;
      const QString img = QStringLiteral("Img_Key%1").arg(m);
      const QString key = QStringLiteral("Key%1").arg(m);
      const LayoutToggle& toggle = t_.key[j];
      bool shown = toggle.ShownAsKey();
      Show(img, shown);
      Show(key, shown);
      if (shown) PicturePair(img, key, toggle.Pos());
    }
    if (QWidget* w = W(QStringLiteral("Disable")))
      w->setGeometry(
          QRect(InParent(w, t_.disable_x, t_.disable_y), QSize(t_.disable_w, t_.disable_h)));
  }

  void Steps(const QString& family, LayoutPoint at, int count, bool labels, int size,
             const QColor& color) const {
    const QSize step = PictureSize(QStringLiteral("Img_") + family + QStringLiteral("1"));
    for (int k = 1; k <= count; ++k) {
      int x = at.x + (k - 1) * step.width();
      Move(QStringLiteral("Img_%1%2").arg(family).arg(k), x, at.y);
      if (labels) {
        const QString label = QStringLiteral("lbl_%1%2").arg(family).arg(k);
        Move(label, x - 4, at.y + 8);
        Style(label, size, color);
      }
    }
  }

  void DpiSteps(const QString& prefix, LayoutPoint at) const {
    const QSize step = PictureSize(prefix + QStringLiteral("1"));
    for (int k = 1; k <= 12; ++k) {
      if (t_.DpiStepsSideBySide())
        Move(prefix + QString::number(k), at.x + (k - 1) * step.width(), at.y);
      else
        Move(prefix + QString::number(k), at.x, at.y - (k - 1) * step.height());
    }
  }

  void AdvancedPage() const {
    const QColor not_selected = ToQColor(t_.color_d_not_selected);
    const QColor back = ToQColor(t_.color_d_back);
    Move(QStringLiteral("Img_P2"), t_.p2);
    for (int f = 1; f <= 3; ++f) {
      const QString repeat = QStringLiteral("Edt_Repeat%1").arg(f);
      const QString delay = QStringLiteral("Edt_DelayTime%1").arg(f);
      Move(repeat, t_.fk[f].cnt);
      Move(delay, t_.fk[f].delay);
      Move(QStringLiteral("Img_Fire%1Continue").arg(f), t_.fk[f].cont);
      Move(QStringLiteral("lbl_Fire%1Continue").arg(f), t_.fk[f].cont.x - 2, t_.fk[f].cont.y);
    }
    // The table colours the first fire key's fields; the others follow them
    // so the three rows look alike.
    for (int f = 1; f <= 3; ++f) {
      Colors(QStringLiteral("Edt_Repeat%1").arg(f), not_selected, back);
      Colors(QStringLiteral("Edt_DelayTime%1").arg(f), not_selected, back);
    }
    for (int r = 1; r <= 4; ++r) {
      Move(QStringLiteral("Img_Rep%1").arg(r), t_.rep[r]);
      Move(QStringLiteral("lbl_Rep%1").arg(r), t_.rep[r].x - 4, t_.rep[r].y - 2);
    }
    Steps(QStringLiteral("Spd"), t_.spd, 10, true, t_.size_d, not_selected);
    Steps(QStringLiteral("DbSpd"), t_.db_spd, 10, true, t_.size_d, not_selected);
    Steps(QStringLiteral("ScrSpd"), t_.scr_spd, 10, true, t_.size_d, not_selected);
    for (int d = 1; d <= 8; ++d) {
      const LayoutDpi& dpi = t_.dpi[d];
      const QString frame = QStringLiteral("Img_DPI%1Col").arg(d);
      PicturePair(frame, QStringLiteral("cs_DPI%1Col").arg(d), dpi.color, kSwatchInset);
      PicturePair(frame, QStringLiteral("lbl_DPI%1Col").arg(d), dpi.color);
      Move(QStringLiteral("Img_DPI%1").arg(d), dpi.check);
      Move(QStringLiteral("lbl_DPI%1").arg(d), dpi.label);
      Move(QStringLiteral("lbl_DPI%1Value").arg(d), dpi.value);
      DpiSteps(QStringLiteral("Img_DPI%1_").arg(d), dpi.steps);
      // The table names levels 1..4 only; levels 5..8 get the same fonts so
      // the eight rows look alike.
      FontSize(QStringLiteral("lbl_DPI%1").arg(d), t_.size_d + 1);
      Style(QStringLiteral("lbl_DPI%1Value").arg(d), t_.size_d, not_selected);
    }
    Move(QStringLiteral("lbl_AIMDPI"), t_.aim_dpi.label);
    Move(QStringLiteral("lbl_AIMDPIValue"), t_.aim_dpi.value);
    DpiSteps(QStringLiteral("Img_AIMDPI_"), t_.aim_dpi.steps);
  }

  void LightingPage() const {
    const QColor color_e = ToQColor(t_.color_e);
    Move(QStringLiteral("Img_P3"), t_.p3);
    Steps(QStringLiteral("Fall"), t_.step_time, 10, true, t_.size_e, color_e);
    Move(QStringLiteral("Img_Off"), t_.led_off);
    Move(QStringLiteral("lbl_Off"), t_.led_off.x - 4, t_.led_off.y - 2);
    for (int l = 1; l <= 5; ++l) {
      Move(QStringLiteral("Img_LED%1").arg(l), t_.led_mode[l]);
      Move(QStringLiteral("lbl_LED%1").arg(l), t_.led_mode[l].x - 4, t_.led_mode[l].y - 2);
    }
    for (int c = 1; c <= 7; ++c) {
      const QString frame = QStringLiteral("Img_Col%1").arg(c);
      PicturePair(frame, QStringLiteral("cs_Col%1").arg(c), t_.led_color[c], kSwatchInset);
      PicturePair(frame, QStringLiteral("lbl_Col%1").arg(c), t_.led_color[c]);
      for (const char* part : {"R", "G", "B"})
        Style(QStringLiteral("Edt_Col%1%2").arg(c).arg(QLatin1String(part)), 0, color_e);
    }
  }

  void MacroPage() const {
    const QColor color_f = ToQColor(t_.color_f);
    const QColor font = ToQColor(t_.color_f_font);
    const QColor back = ToQColor(t_.color_f_back);
    for (const char* name : {"LB_PCMacroName",   "LB_MacroName",      "Edt_Delay",
                             "Edt_InsertDelay",  "CB_Insert",         "lbl_Delay",
                             "lbl_s_A",          "IB_InsertRecDelay", "IB_InsertDelayTime",
                             "IB_InsertNoDelay", "Btn_Start",         "Btn_InsertStart",
                             "Btn_OK",           "Btn_Cancel",        "Btn_NewMacro",
                             "Btn_NewName",      "Btn_DelPCMacro",    "Btn_ImportOne",
                             "Btn_Import",       "Btn_ExportOne",     "Btn_Export",
                             "Btn_AddMacro",     "Btn_DelMacro",      "Btn_DevExport",
                             "Btn_Del",          "Btn_Insert"})
      FontSize(QLatin1String(name), t_.size_f);
    for (const char* name :
         {"Btn_Start", "Btn_InsertStart", "Btn_OK", "Btn_Cancel", "CB_Insert", "IB_InsertRecDelay",
          "IB_InsertDelayTime", "IB_InsertNoDelay", "lbl_Delay", "lbl_s_A", "IB_RecDelay",
          "IB_DelayTime", "IB_NoDelay", "lbl_XAxisValue", "lbl_YAxisValue", "lbl_Repeat"})
      Style(QLatin1String(name), 0, color_f);
    for (const char* name : {"LB_PCMacroName", "LB_MacroName", "LB_macro", "Edt_Delay",
                             "Edt_InsertDelay", "edt_XAxisValue", "edt_YAxisValue", "edt_Repeat",
                             "CB_Insert", "Pnl_PCMacro", "Pnl_DevMacro", "Pnl_DevContent"})
      Colors(QLatin1String(name), font, back);
    Move(QStringLiteral("Img_P4"), t_.p4);
    Move(QStringLiteral("LB_PCMacroName"), t_.pc_macro_name);
    Move(QStringLiteral("LB_MacroName"), t_.mse_macro_name);
    Move(QStringLiteral("LB_macro"), t_.macro_content);
    for (const char* name : {"LB_PCMacroName", "LB_MacroName", "LB_macro"}) {
      if (auto* list = c_.Get<QListWidget>(QLatin1String(name))) {
        list->setUniformItemSizes(true);
        list->setProperty("rowHeight", t_.macro_name_height);
      }
    }
    PicturePair(QStringLiteral("Img_Start"), QStringLiteral("Btn_Start"), t_.btn_start);
    Move(QStringLiteral("Gb_Delay"), t_.delay_time);
    Rows(QStringLiteral(""), t_.rec_delay, {"RecDelay", "DelayTime", "NoDelay"});
    Move(QStringLiteral("Edt_Delay"), t_.delay_edit);
    Move(QStringLiteral("Gb_Insert"), t_.insert);
    Move(QStringLiteral("Img_InsertBase"), t_.insert);
    Move(QStringLiteral("CB_Insert"), t_.insert_list);
    Rows(QStringLiteral("Insert"), t_.insert_rec_delay, {"RecDelay", "DelayTime", "NoDelay"});
    const LayoutPoint e = t_.insert_delay_edit;
    Move(QStringLiteral("Edt_InsertDelay"), e);
    Move(QStringLiteral("lbl_Delay"), e.x - 74, e.y + 2);
    Move(QStringLiteral("lbl_s_A"), e.x + 44, e.y + 2);
    const LayoutPoint a = t_.insert_axis_edit;
    for (const char* name : {"edt_XAxisValue", "edt_YAxisValue", "edt_Repeat"})
      Move(QLatin1String(name), a);
    for (const char* name : {"lbl_XAxisValue", "lbl_YAxisValue", "lbl_Repeat"})
      Move(QLatin1String(name), a.x - 74, a.y + 2);
    PicturePair(QStringLiteral("Img_InsertStart"), QStringLiteral("Btn_InsertStart"),
                t_.insert_btn_start);
    PicturePair(QStringLiteral("Img_OK"), QStringLiteral("Btn_OK"), t_.insert_btn_ok);
    PicturePair(QStringLiteral("Img_Cancel"), QStringLiteral("Btn_Cancel"), t_.insert_btn_cancel);
  }

  void Rows(const QString& infix, const LayoutRows& rows,
            std::initializer_list<const char*> names) const {
    int i = 0;
    for (const char* name : names) {
      Move(QStringLiteral("LED_") + infix + QLatin1String(name), rows.x, rows.y + i * rows.h);
      Move(QStringLiteral("IB_") + infix + QLatin1String(name), rows.x - 2, rows.y + i * rows.h);
      ++i;
    }
  }

  void UpdatePage() const {
    const QColor color_i = ToQColor(t_.color_i);
    Style(QStringLiteral("Btn_LoadBIN"), t_.size_i, color_i);
    Style(QStringLiteral("Btn_Program"), t_.size_i, color_i);
    FontSize(QStringLiteral("lbl_LoadBIN"), t_.size_i);
    Move(QStringLiteral("Img_P5"), t_.p5);
    Move(QStringLiteral("lbl_BINPath"), t_.lbl_bin_path);
    Move(QStringLiteral("lbl_LoadBIN"), t_.lbl_load_bin);
    PicturePair(QStringLiteral("Img_LoadBIN"), QStringLiteral("Btn_LoadBIN"), t_.btn_load_bin);
    PicturePair(QStringLiteral("Img_Program"), QStringLiteral("Btn_Program"), t_.btn_program);
  }

  const LayoutTable& t_;
  const ProductSettings& s_;
  const ControlIndex& c_;
};

}  // namespace

void ApplyLayout(const LayoutTable& layout, const ProductSettings& settings,
                 const ControlIndex& controls) {
  Applier(layout, settings, controls).Run();
}

}  // namespace korvex48::gui
