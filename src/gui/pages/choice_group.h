#pragma once
// Sets the hidden choices of one family: `chosen` checked, every other
// unchecked, or none at all when `chosen` is nullptr (an exclusive group
// alone never lets its last checked choice go).
#include <QAbstractButton>
#include <QButtonGroup>

namespace korvex48::gui {

inline void ChooseOnly(QButtonGroup* group, QAbstractButton* chosen) {
  const bool exclusive = group->exclusive();
  group->setExclusive(false);
  for (QAbstractButton* button : group->buttons()) button->setChecked(button == chosen);
  group->setExclusive(exclusive);
}

}  // namespace korvex48::gui
