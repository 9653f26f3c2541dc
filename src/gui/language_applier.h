#pragma once
// Sets the texts of the main window's controls from a language table: the
// five copies of the navigation labels, the function-menu items, the macro
// and update page labels and the insert choices. The twelve button labels
// Key1..Key12 are the button page's: it names them again from their codes.
#include "core/ui/language.h"

namespace korvex48::gui {

class ControlIndex;

// Applies language `index` (1..3) of `languages` to the controls of
// `controls`; absent controls are skipped (and kept in the index's
// Missing()). The selected item of CB_Insert is kept.
void ApplyLanguage(const LanguageSet& languages, int index, const ControlIndex& controls);

}  // namespace korvex48::gui
