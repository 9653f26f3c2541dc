#include "gui/control_access.h"

#include <QAccessibleWidget>
#include <QLabel>
#include <QPoint>
#include <algorithm>
#include <cmath>
#include <vector>

#include "gui/skin_widgets.h"
#include "gui/step_bar.h"

namespace korvex48::gui {
namespace {

const char* const kRoleProperty = "korvex48AccessibleRole";
const char* const kCheckedProperty = "korvex48AccessibleChecked";
const char* const kCurrentProperty = "korvex48AccessibleCurrent";
const char* const kSubmenuProperty = "korvex48AccessibleSubmenu";
const char* const kOpenProperty = "korvex48AccessibleOpen";
const char* const kNameFormatProperty = "korvex48AccessibleNameFormat";
const char* const kTabPlaceProperty = "korvex48TabPlace";
const char* const kTabLastProperty = "korvex48TabLast";

// The state every control of ours adds to QAccessibleWidget's: focusable
// while Tab reaches it, and chosen or not for choices.
QAccessible::State ControlState(QAccessible::State s, const QWidget* control) {
  s.focusable = (control->focusPolicy() & Qt::TabFocus) != 0;
  const QAccessible::Role role = RoleOf(control);
  if (role == QAccessible::RadioButton || role == QAccessible::CheckBox) {
    s.checkable = true;
    s.checked = control->property(kCheckedProperty).toBool();
  }
  if (role == QAccessible::PageTab) {
    s.selectable = true;
    s.selected = control->property(kCurrentProperty).toBool();
  }
  if (role == QAccessible::MenuItem) {
    s.focusable = true;
    s.selectable = true;
    const bool current = control->property(kCurrentProperty).toBool();
    s.focused = current;
    s.selected = current;
    if (control->property(kSubmenuProperty).toBool()) {
      s.hasPopup = true;
      s.expandable = true;
      s.expanded = control->property(kOpenProperty).toBool();
      s.collapsed = !s.expanded;
    }
  }
  return s;
}

// The text a label shows, without the " * " the function menus put before
// their entries.
QString ShownText(const QWidget* widget) {
  const auto* label = qobject_cast<const QLabel*>(widget);
  if (!label) return {};
  QString text = label->text().trimmed();
  if (text.startsWith(QLatin1String("* "))) text = text.mid(2).trimmed();
  return text;
}

// Any other widget given a role with SetRole: a menu, a menu entry, a
// message card or a notice, named by its accessible name or its text.
class AccessibleRoleWidget final : public QAccessibleWidget {
 public:
  explicit AccessibleRoleWidget(QWidget* widget) : QAccessibleWidget(widget, RoleOf(widget)) {}

  QString text(QAccessible::Text t) const override {
    if (t == QAccessible::Name) {
      if (!widget()->accessibleName().isEmpty()) return widget()->accessibleName();
      return ShownText(widget());
    }
    return QAccessibleWidget::text(t);
  }
  QAccessible::Role role() const override { return RoleOf(widget()); }
  QAccessible::State state() const override {
    QAccessible::State s = ControlState(QAccessibleWidget::state(), widget());
    if (role() == QAccessible::AlertMessage || role() == QAccessible::PopupMenu)
      s.focusable = false;
    return s;
  }
  QStringList actionNames() const override {
    if (role() != QAccessible::MenuItem) return QAccessibleWidget::actionNames();
    return {pressAction()};
  }
  void doAction(const QString& action) override {
    // A menu entry's press is its click.
    if (role() == QAccessible::MenuItem && action == pressAction() && widget()->isEnabled() &&
        widget()->metaObject()->indexOfSignal("clicked()") >= 0)
      QMetaObject::invokeMethod(widget(), "clicked", Qt::DirectConnection);
  }
};

// A text label as a screen reader sees it: a control of its role whose press
// action clicks it.
class AccessibleTextLabel final : public QAccessibleWidget {
 public:
  explicit AccessibleTextLabel(TextLabel* label)
      : QAccessibleWidget(label, RoleOf(label)), label_(label) {}

  QString text(QAccessible::Text t) const override {
    if (t != QAccessible::Name) return QAccessibleWidget::text(t);
    if (!label_->accessibleName().isEmpty()) return label_->accessibleName();
    // While the caption runs under the pointer, the caption itself.
    const QVariant fit = label_->property("fitText");
    const QString caption = (fit.isValid() ? fit.toString() : label_->text()).trimmed();
    const QVariant format = label_->property(kNameFormatProperty);
    if (format.isValid()) return format.toString().replace(QLatin1String("%2"), caption);
    return caption;
  }
  // Read at each call: the role may be given after the interface was made.
  QAccessible::Role role() const override { return RoleOf(label_); }
  // The step numbers of the bars click too but leave Tab to their bar.
  QAccessible::State state() const override {
    return ControlState(QAccessibleWidget::state(), label_);
  }
  QStringList actionNames() const override { return {pressAction()}; }
  void doAction(const QString& action) override {
    if (action == pressAction() && label_->isEnabled()) Q_EMIT label_->clicked();
  }

 private:
  TextLabel* label_;
};

// A picture pressed by keys (PictureLabel::SetKeyboardPress), named by its
// accessible name; its press action presses it.
class AccessiblePicture final : public QAccessibleWidget {
 public:
  explicit AccessiblePicture(PictureLabel* picture)
      : QAccessibleWidget(picture, RoleOf(picture)), picture_(picture) {}

  QAccessible::Role role() const override { return RoleOf(picture_); }
  QAccessible::State state() const override {
    return ControlState(QAccessibleWidget::state(), picture_);
  }
  QStringList actionNames() const override { return {pressAction()}; }
  void doAction(const QString& action) override {
    if (action == pressAction() && picture_->isEnabled()) Q_EMIT picture_->pressed();
  }

 private:
  PictureLabel* picture_;
};

// A bar of steps as a screen reader sees it: a slider named by what it sets,
// whose value is the lit step (read as the value the page shows for it) and
// which is set, increased and decreased as its keys do.
class AccessibleStepBar final : public QAccessibleWidget, public QAccessibleValueInterface {
 public:
  explicit AccessibleStepBar(StepBar* bar)
      : QAccessibleWidget(bar, QAccessible::Slider), bar_(bar) {}

  void* interface_cast(QAccessible::InterfaceType t) override {
    if (t == QAccessible::ValueInterface) return static_cast<QAccessibleValueInterface*>(this);
    return QAccessibleWidget::interface_cast(t);
  }
  QString text(QAccessible::Text t) const override {
    if (t == QAccessible::Value) return bar_->ValueText();
    // Readers that read no value text hear it in the description.
    if (t == QAccessible::Description && bar_->accessibleDescription().isEmpty())
      return bar_->ValueText();
    return QAccessibleWidget::text(t);
  }
  QAccessible::State state() const override {
    QAccessible::State s = QAccessibleWidget::state();
    s.focusable = true;
    return s;
  }

  // The value as the page shows it (2000 for a DPI bar), not the step.
  QVariant currentValue() const override {
    const int position = bar_->Position();
    return position < 1 ? QVariant(0) : QVariant(bar_->NumericValue(position));
  }
  // A value set from outside chooses the step nearest to it; one that is no
  // number chooses nothing, as every step writes to the mouse.
  void setCurrentValue(const QVariant& value) override {
    bool number = false;
    const double wanted = value.toDouble(&number);
    if (!number) return;
    int best = 1;
    for (int step = 2; step <= bar_->Steps(); ++step)
      if (std::abs(bar_->NumericValue(step) - wanted) < std::abs(bar_->NumericValue(best) - wanted))
        best = step;
    if (best != bar_->Position()) bar_->Choose(best);
  }
  QVariant maximumValue() const override { return bar_->NumericValue(bar_->Steps()); }
  QVariant minimumValue() const override { return bar_->NumericValue(1); }
  QVariant minimumStepSize() const override {
    return bar_->HasNumericValue() ? QVariant(0) : QVariant(1);
  }

  QStringList actionNames() const override { return {increaseAction(), decreaseAction()}; }
  void doAction(const QString& action) override {
    const int now = bar_->Position();
    if (action == increaseAction() && now < bar_->Steps()) bar_->Choose(now + 1);
    if (action == decreaseAction() && now > 1) bar_->Choose(now - 1);
  }

 private:
  StepBar* bar_;
};

QAccessibleInterface* ControlFactory(const QString& class_name, QObject* object) {
  if (class_name == QLatin1String("korvex48::gui::TextLabel"))
    if (auto* label = qobject_cast<TextLabel*>(object)) return new AccessibleTextLabel(label);
  if (class_name == QLatin1String("korvex48::gui::StepBar"))
    if (auto* bar = qobject_cast<StepBar*>(object)) return new AccessibleStepBar(bar);
  // Only the pictures that are controls of their own; the others are looks.
  if (class_name == QLatin1String("korvex48::gui::PictureLabel"))
    if (auto* picture = qobject_cast<PictureLabel*>(object))
      if (picture->focusPolicy() & Qt::TabFocus) return new AccessiblePicture(picture);
  // The most derived class is asked first: a role given by SetRole wins
  // over what Qt would make of the widget.
  if (auto* widget = qobject_cast<QWidget*>(object))
    if (widget->property(kRoleProperty).isValid() &&
        class_name == QLatin1String(widget->metaObject()->className()))
      return new AccessibleRoleWidget(widget);
  return nullptr;
}

// Roles and names by objectName: `prefix` followed by one of the numbers
// first..last (none when both are 0) and then `suffix`. The first match wins.
struct Description {
  const char* prefix;
  int first, last;
  const char* suffix;
  QAccessible::Role role;
  // For labels without a caption; nullptr: the caption. "%1" is the number
  // in the objectName; "%2" the caption (read when asked: it changes).
  const char* name;
};
const Description kDescriptions[] = {
    // The page buttons of the navigation bar: tabs, the current page's
    // selected (SetCurrentPage).
    {"Btn_Main_", 1, 5, "", QAccessible::PageTab, nullptr},
    {"Btn_Switch_", 1, 5, "", QAccessible::PageTab, nullptr},
    {"Btn_Fixed_", 1, 5, "", QAccessible::PageTab, nullptr},
    {"Btn_Adv_", 1, 5, "", QAccessible::PageTab, nullptr},
    {"Btn_Breath_", 1, 5, "", QAccessible::PageTab, nullptr},
    {"Btn_Macro_", 1, 5, "", QAccessible::PageTab, nullptr},
    {"Btn_Update_", 1, 5, "", QAccessible::PageTab, nullptr},
    {"Key", 1, 12, "", QAccessible::ButtonMenu, "Button %1: %2"},
    {"Btn_Web_", 1, 5, "", QAccessible::Link, "Web page"},
    {"IB_Close", 0, 0, "", QAccessible::Button, "Close"},
    {"lbl_Rep", 1, 4, "", QAccessible::RadioButton, nullptr},
    {"lbl_Off", 0, 0, "", QAccessible::RadioButton, nullptr},
    {"lbl_LED", 1, 5, "", QAccessible::RadioButton, nullptr},
    {"IB_RecDelay", 0, 0, "", QAccessible::RadioButton, nullptr},
    {"IB_DelayTime", 0, 0, "", QAccessible::RadioButton, nullptr},
    {"IB_NoDelay", 0, 0, "", QAccessible::RadioButton, nullptr},
    {"IB_InsertRecDelay", 0, 0, "", QAccessible::RadioButton, nullptr},
    {"IB_InsertDelayTime", 0, 0, "", QAccessible::RadioButton, nullptr},
    {"IB_InsertNoDelay", 0, 0, "", QAccessible::RadioButton, nullptr},
    {"lbl_Fire", 1, 3, "Continue", QAccessible::CheckBox, "Fire key %1 continuous fire"},
    {"lbl_DPI", 1, 8, "Col", QAccessible::Button, "DPI level %1 colour"},
    {"lbl_Col", 1, 7, "", QAccessible::Button, "Lighting colour %1"},
    {"lbl_Spd", 1, 10, "", QAccessible::RadioButton, nullptr},
    {"lbl_DbSpd", 1, 10, "", QAccessible::RadioButton, nullptr},
    {"lbl_ScrSpd", 1, 10, "", QAccessible::RadioButton, nullptr},
    {"lbl_Fall", 1, 10, "", QAccessible::RadioButton, nullptr},
};

// The number in `name` when it matches `d` (0 for a description without
// numbers), -1 when it does not match.
int Matches(const Description& d, const QString& name) {
  const QLatin1String prefix(d.prefix), suffix(d.suffix);
  if (!name.startsWith(prefix) || !name.endsWith(suffix)) return -1;
  if (name.size() < prefix.size() + suffix.size()) return -1;
  const QStringView middle =
      QStringView(name).mid(prefix.size(), name.size() - prefix.size() - suffix.size());
  if (d.first == 0) return middle.isEmpty() ? 0 : -1;
  bool number = false;
  const int n = middle.toInt(&number);
  return number && !middle.startsWith(u'0') && !middle.startsWith(u'+') && n >= d.first &&
                 n <= d.last
             ? n
             : -1;
}

}  // namespace

void InstallControlAccessibility() {
  static const bool installed = [] {
    QAccessible::installFactory(ControlFactory);
    return true;
  }();
  (void)installed;
}

void SetRole(QWidget* label, QAccessible::Role role) {
  label->setProperty(kRoleProperty, static_cast<int>(role));
}

QAccessible::Role RoleOf(const QWidget* label) {
  const QVariant role = label->property(kRoleProperty);
  return role.isValid() ? static_cast<QAccessible::Role>(role.toInt()) : QAccessible::Button;
}

void SetChecked(QWidget* control, bool checked) {
  if (control->property(kCheckedProperty).toBool() == checked) return;
  control->setProperty(kCheckedProperty, checked);
  if (!QAccessible::isActive()) return;
  QAccessible::State changed;
  changed.checked = true;
  QAccessibleStateChangeEvent event(control, changed);
  QAccessible::updateAccessibility(&event);
}

void SetCurrentEntry(QWidget* entry, bool current) {
  if (entry->property(kCurrentProperty).toBool() == current) return;
  entry->setProperty(kCurrentProperty, current);
  if (!QAccessible::isActive()) return;
  QAccessible::State changed;
  changed.focused = true;
  changed.selected = true;
  QAccessibleStateChangeEvent state(entry, changed);
  QAccessible::updateAccessibility(&state);
  if (current) {
    QAccessibleEvent focus(entry, QAccessible::Focus);
    QAccessible::updateAccessibility(&focus);
  }
}

void SetTabPlace(QWidget* control, int group, int rank) {
  control->setProperty(kTabPlaceProperty, QPoint(group, rank));
}

void SetTabLast(QWidget* control) { control->setProperty(kTabLastProperty, true); }

void SetCurrentPage(QWidget* page_button, bool current) {
  if (page_button->property(kCurrentProperty).toBool() == current) return;
  page_button->setProperty(kCurrentProperty, current);
  if (!QAccessible::isActive()) return;
  QAccessible::State changed;
  changed.selected = true;
  QAccessibleStateChangeEvent state(page_button, changed);
  QAccessible::updateAccessibility(&state);
}

void SetOpensSubmenu(QWidget* entry, bool opens) { entry->setProperty(kSubmenuProperty, opens); }

void SetSubmenuOpen(QWidget* entry, bool open) {
  if (entry->property(kOpenProperty).toBool() == open) return;
  entry->setProperty(kOpenProperty, open);
  if (!QAccessible::isActive()) return;
  QAccessible::State changed;
  changed.expanded = true;
  changed.collapsed = true;
  QAccessibleStateChangeEvent state(entry, changed);
  QAccessible::updateAccessibility(&state);
}

void AnnounceMenu(QWidget* menu, bool opened) {
  if (!QAccessible::isActive()) return;
  QAccessibleEvent event(menu, opened ? QAccessible::PopupMenuStart : QAccessible::PopupMenuEnd);
  QAccessible::updateAccessibility(&event);
}

void AnnounceAlert(QWidget* notice) {
  if (!QAccessible::isActive()) return;
  QAccessibleEvent event(notice, QAccessible::Alert);
  QAccessible::updateAccessibility(&event);
}

void DescribeControls(QWidget* root) {
  for (TextLabel* label : root->findChildren<TextLabel*>()) {
    const QString name = label->objectName();
    for (const Description& d : kDescriptions) {
      const int n = Matches(d, name);
      if (n < 0) continue;
      SetRole(label, d.role);
      if (!d.name) break;
      QString text = QLatin1String(d.name);
      if (n > 0 && text.contains(QLatin1String("%1"))) text = text.arg(n);
      if (text.contains(QLatin1String("%2")))
        label->setProperty(kNameFormatProperty, text);
      else if (label->accessibleName().isEmpty())
        label->setAccessibleName(text);
      break;
    }
  }
  // The marks beside the delay options show the choice too: named as the
  // option's text (a screen reader reads the text's own state).
  for (QWidget* mark : root->findChildren<QWidget*>()) {
    const QString name = mark->objectName();
    if (!name.startsWith(QLatin1String("LED_"))) continue;
    if (auto* text = mark->parentWidget()->findChild<QLabel*>(QStringLiteral("IB_") + name.mid(4),
                                                              Qt::FindDirectChildrenOnly))
      mark->setAccessibleName(text->text().trimmed());
  }
  // Lists, pop-ups and fields have no caption of their own.
  for (const auto& [name, text] :
       {std::pair{"LB_PCMacroName", "Macro library"},
        std::pair{"LB_MacroName", "Macros on the mouse"},
        std::pair{"LB_macro", "Events of the macro"},
        std::pair{"Pnl_PCMacro", "Macro library commands"},
        std::pair{"Pnl_DevMacro", "Commands for the macros on the mouse"},
        std::pair{"Pnl_DevContent", "Event commands"},
        std::pair{"Edt_Delay", "Delay time in milliseconds"},
        std::pair{"Edt_InsertDelay", "Delay time in milliseconds"},
        std::pair{"edt_XAxisValue", "X-Axis"}, std::pair{"edt_YAxisValue", "Y-Axis"},
        std::pair{"edt_Repeat", "Repeat count"}, std::pair{"CB_Insert", "What to insert"}})
    if (QWidget* list = root->findChild<QWidget*>(QLatin1String(name)))
      if (list->accessibleName().isEmpty()) list->setAccessibleName(QLatin1String(text));
  for (StepBar* bar : root->findChildren<StepBar*>()) bar->Follow();
  std::vector<QWidget*> controls;
  for (QWidget* w : root->findChildren<QWidget*>())
    // Not the lists of drop-down boxes: windows of their own, which would
    // break the chain where they fall.
    if ((w->focusPolicy() & Qt::TabFocus) && w->window() == root->window()) controls.push_back(w);
  auto place = [root](const QWidget* w) { return w->mapTo(root, QPoint(0, 0)); };
  // Rows as the eye sees them: controls whose tops lie within a few pixels
  // of a row's first are on that row (the web button sits a pixel above the
  // buttons beside it), each row left to right.
  constexpr int kRowSlack = 6;
  std::stable_sort(controls.begin(), controls.end(),
                   [&](const QWidget* a, const QWidget* b) { return place(a).y() < place(b).y(); });
  std::vector<int> row_of(controls.size());
  for (std::size_t i = 0, row_top = 0; i < controls.size(); ++i) {
    if (i > 0 && place(controls[i]).y() - place(controls[row_top]).y() > kRowSlack) row_top = i;
    row_of[i] = place(controls[row_top]).y();
  }
  std::vector<std::size_t> order(controls.size());
  for (std::size_t i = 0; i < order.size(); ++i) order[i] = i;
  std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
    if (row_of[a] != row_of[b]) return row_of[a] < row_of[b];
    return place(controls[a]).x() < place(controls[b]).x();
  });
  {
    std::vector<QWidget*> sorted;
    for (std::size_t i : order) sorted.push_back(controls[i]);
    controls = std::move(sorted);
  }
  // The window's own buttons (Reset, Exit) come last, after the page and
  // its navigation bar: the first Tab of a start never lands on them.
  std::stable_partition(controls.begin(), controls.end(),
                        [](const QWidget* w) { return !w->property(kTabLastProperty).toBool(); });
  // Controls placed by column take the slots their kind holds in reading
  // order, in their own order (one set per parent: a page).
  std::vector<QWidget*> parents;
  for (QWidget* w : controls)
    if (w->property(kTabPlaceProperty).isValid() &&
        std::find(parents.begin(), parents.end(), w->parentWidget()) == parents.end())
      parents.push_back(w->parentWidget());
  for (QWidget* parent : parents) {
    std::vector<std::size_t> slots;
    std::vector<QWidget*> placed;
    for (std::size_t i = 0; i < controls.size(); ++i)
      if (controls[i]->parentWidget() == parent &&
          controls[i]->property(kTabPlaceProperty).isValid()) {
        slots.push_back(i);
        placed.push_back(controls[i]);
      }
    std::stable_sort(placed.begin(), placed.end(), [](const QWidget* a, const QWidget* b) {
      const QPoint pa = a->property(kTabPlaceProperty).toPoint();
      const QPoint pb = b->property(kTabPlaceProperty).toPoint();
      return pa.x() != pb.x() ? pa.x() < pb.x() : pa.y() < pb.y();
    });
    for (std::size_t k = 0; k < slots.size(); ++k) controls[slots[k]] = placed[k];
  }
  for (std::size_t i = 1; i < controls.size(); ++i)
    QWidget::setTabOrder(controls[i - 1], controls[i]);
}

}  // namespace korvex48::gui
