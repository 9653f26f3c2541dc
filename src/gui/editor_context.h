#pragma once
// What every page of the main window works with: the skin, the dialog seam,
// the language and layout tables and the product settings. One instance,
// owned by the MainWindow; pages keep a reference.
#include <QColor>
#include <QString>
#include <functional>
#include <string>

#include "core/ui/language.h"
#include "core/ui/layout_table.h"
#include "core/ui/settings_table.h"

namespace korvex48 {
class UndoHistory;
}

namespace korvex48::gui {

class Skin;
class UserDialogs;

struct EditorContext {
  EditorContext(const Skin& skin_in, UserDialogs& dialogs_in, LanguageSet languages_in,
                ProductSettings settings_in)
      : skin(skin_in),
        dialogs(dialogs_in),
        languages(std::move(languages_in)),
        settings(std::move(settings_in)) {}

  const Skin& skin;
  UserDialogs& dialogs;
  const LanguageSet languages;
  const ProductSettings settings;

  // Told of every message box the pages show, by its text keys joined with
  // "+" or its literal text (the editor's --ui-log); may be empty.
  std::function<void(const std::string&)> message_shown;

  // The undo history of the mouse's changes, which the pages' changes made
  // through the flows (device macros added or deleted) are bracketed with
  // (UndoHistory::Begin); null while no editor is bound.
  UndoHistory* history = nullptr;

  // Language index 1..3 and the layout table of that language.
  int language = 1;
  LayoutTable layout;

  // The active language's text of `key` ("Str210"), as a QString.
  QString Text(const char* key) const {
    return QString::fromStdString(languages.Get(language).Text(key));
  }
  const LanguageTable& Texts() const { return languages.Get(language); }
};

// A layout colour as a QColor.
inline QColor ToQColor(const LayoutColor& c) { return QColor(c.r, c.g, c.b); }

}  // namespace korvex48::gui
