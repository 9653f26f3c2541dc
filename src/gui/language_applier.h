#pragma once
// Sets the texts of the main window's controls from a language table: the
// five copies of the navigation labels, the function-menu items, the macro
// and update page labels, the insert choices, and re-translates the twelve
// button labels Key1..Key12 through the reverse lookup.
#include "core/ui/language.h"

namespace korvex48::gui {

class ControlIndex;

// Applies language `index` (1..3) of `languages` to the controls of
// `controls`; absent controls are skipped. The selected item of CB_Insert is
// kept. Key<m> captions that are the text of some language key (Str100 and
// up) become that key's text in the new language; other captions (a key
// combination the user built) stay.
void ApplyLanguage(const LanguageSet& languages, int index, const ControlIndex& controls);

}  // namespace korvex48::gui
