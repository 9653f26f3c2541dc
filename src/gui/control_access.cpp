#include "gui/control_access.h"

#include <QAccessibleWidget>
#include <algorithm>
#include <vector>

#include "gui/skin_widgets.h"
#include "gui/step_bar.h"

namespace korvex48::gui {
namespace {

const char* const kRoleProperty = "korvex48AccessibleRole";
const char* const kCheckedProperty = "korvex48AccessibleChecked";

// The state every control of ours adds to QAccessibleWidget's: focusable
// while Tab reaches it, and chosen or not for choices.
QAccessible::State ControlState(QAccessible::State s, const QWidget* control) {
  s.focusable = (control->focusPolicy() & Qt::TabFocus) != 0;
  const QAccessible::Role role = RoleOf(control);
  if (role == QAccessible::RadioButton || role == QAccessible::CheckBox) {
    s.checkable = true;
    s.checked = control->property(kCheckedProperty).toBool();
  }
  return s;
}

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
    return (fit.isValid() ? fit.toString() : label_->text()).trimmed();
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
    return QAccessibleWidget::text(t);
  }
  QAccessible::State state() const override {
    QAccessible::State s = QAccessibleWidget::state();
    s.focusable = true;
    return s;
  }

  QVariant currentValue() const override { return bar_->Position(); }
  void setCurrentValue(const QVariant& value) override {
    if (value.toInt() != bar_->Position()) bar_->Choose(value.toInt());
  }
  QVariant maximumValue() const override { return bar_->Steps(); }
  QVariant minimumValue() const override { return 1; }
  QVariant minimumStepSize() const override { return 1; }

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
  return nullptr;
}

// Roles and names by objectName: `prefix` followed by one of the numbers
// first..last (none when both are 0) and then `suffix`. The first match wins.
struct Description {
  const char* prefix;
  int first, last;
  const char* suffix;
  QAccessible::Role role;
  const char* name;  // for labels without a caption; nullptr: the caption
};
const Description kDescriptions[] = {
    {"Key", 1, 12, "", QAccessible::ButtonMenu, nullptr},
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
    {"lbl_Fire", 1, 3, "Continue", QAccessible::CheckBox, "Continuous fire"},
    {"lbl_Spd", 1, 10, "", QAccessible::RadioButton, nullptr},
    {"lbl_DbSpd", 1, 10, "", QAccessible::RadioButton, nullptr},
    {"lbl_ScrSpd", 1, 10, "", QAccessible::RadioButton, nullptr},
    {"lbl_Fall", 1, 10, "", QAccessible::RadioButton, nullptr},
};

bool Matches(const Description& d, const QString& name) {
  const QLatin1String prefix(d.prefix), suffix(d.suffix);
  if (!name.startsWith(prefix) || !name.endsWith(suffix)) return false;
  const QStringView middle =
      QStringView(name).mid(prefix.size(), name.size() - prefix.size() - suffix.size());
  if (d.first == 0) return middle.isEmpty();
  bool number = false;
  const int n = middle.toInt(&number);
  return number && !middle.startsWith(u'0') && !middle.startsWith(u'+') && n >= d.first &&
         n <= d.last;
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

void DescribeControls(QWidget* root) {
  for (TextLabel* label : root->findChildren<TextLabel*>()) {
    const QString name = label->objectName();
    for (const Description& d : kDescriptions) {
      if (!Matches(d, name)) continue;
      SetRole(label, d.role);
      if (d.name && label->accessibleName().isEmpty())
        label->setAccessibleName(QLatin1String(d.name));
      break;
    }
  }
  // Lists have no caption of their own.
  for (const auto& [name, text] : {std::pair{"LB_PCMacroName", "Macro library"},
                                   std::pair{"LB_MacroName", "Macros on the mouse"},
                                   std::pair{"LB_macro", "Events of the macro"}})
    if (QWidget* list = root->findChild<QWidget*>(QLatin1String(name)))
      if (list->accessibleName().isEmpty()) list->setAccessibleName(QLatin1String(text));
  for (StepBar* bar : root->findChildren<StepBar*>()) bar->Follow();
  std::vector<QWidget*> controls;
  for (QWidget* w : root->findChildren<QWidget*>())
    // Not the lists of drop-down boxes: windows of their own, which would
    // break the chain where they fall.
    if ((w->focusPolicy() & Qt::TabFocus) && w->window() == root->window()) controls.push_back(w);
  auto place = [root](const QWidget* w) { return w->mapTo(root, QPoint(0, 0)); };
  std::stable_sort(controls.begin(), controls.end(), [&](const QWidget* a, const QWidget* b) {
    const QPoint pa = place(a), pb = place(b);
    return pa.y() != pb.y() ? pa.y() < pb.y() : pa.x() < pb.x();
  });
  for (std::size_t i = 1; i < controls.size(); ++i)
    QWidget::setTabOrder(controls[i - 1], controls[i]);
}

}  // namespace korvex48::gui
