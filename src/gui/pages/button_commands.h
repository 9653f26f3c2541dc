#pragma once
// The button page's clicks: a click on a button label opens the function
// menus (OpenFunctionMenu); an entry, User-defined with its key-combination
// dialog, or a device macro gives the button its function through the page
// editor, which holds the rules (last Left Key, the switch key copied into
// profiles 2 and 3, profile 3 never edited) and sends the writes.
//
// Owned by PageCommands; create it after the window and the editor and
// destroy it before them.
#include <QObject>
#include <QPointer>
#include <QString>

namespace korvex48 {
class PageEditor;
}

namespace korvex48::gui {

class ButtonMenus;
class MainWindow;
class KeyCombinationDialog;

class ButtonCommands final : public QObject {
  Q_OBJECT

 public:
  ButtonCommands(MainWindow& window, PageEditor& editor);
  ~ButtonCommands() override;

  // A click on label Key<button> (1..12).
  void OpenFunctionMenu(int button);
  // Closes every pop-up of the window (the menus here, the macro page's own).
  void CloseMenus();
  // A function entry by its tag.
  void ChooseMenuFunction(int tag);
  // User-defined: opens a new key-combination dialog, unless the button holds
  // the last Left Key of the profile.
  void OpenKeyCombinationDialog();
  // The dialog's Confirm.
  void ApplyAssemblyKey(const QString& text, const QString& code);
  // A row of LB_Name.
  void AssignDeviceMacroToButton(int row);

  int CurrentButton() const { return current_; }
  // The open key-combination dialog, or nullptr.
  KeyCombinationDialog* Dialog() const;
  // The function menus (made now if the window has not made them yet).
  ButtonMenus& Menus() const;

 private:
  void BindMenus();
  int SelectedProfile() const;
  void ShowResult();

  MainWindow& window_;
  PageEditor& editor_;
  int current_ = 1;
  QPointer<KeyCombinationDialog> dialog_;
};

}  // namespace korvex48::gui
