#pragma once
// Binds the button, Advanced and Breathing Light pages to the page editor and
// adds the rules of the page commands to navigation: Main Control, Alternate
// Key and Reset Control select profile 1, 2 or 3 (with their checks and the
// write of parameter byte 33); the other page buttons need an open mouse.
// It also keeps the editor in step with the images the window takes in and
// with the loss of the mouse, reads the page state a profile save packs, and
// when the mouse refused a live write shows its bytes again with a short
// notice.
//
// Create it after the window and the editor, and destroy it before them.
#include <QObject>
#include <QPointer>
#include <memory>

#include "core/editing/page_editor.h"
#include "gui/main_window.h"

namespace korvex48::gui {

class ButtonCommands;
class RefusalNotice;

class PageCommands final : public QObject, public PageRules {
  Q_OBJECT

 public:
  PageCommands(MainWindow& window, PageEditor& editor);
  ~PageCommands() override;

  // PageRules.
  // Main Control, Alternate Key, Reset Control select their profile; the
  // other pages need an open mouse.
  bool BeforePageChange(PageId page) override;
  // What the editor's own reopening at the end of the read gave.
  bool BeforePageReopen(PageId page) override;
  void AfterPageChange(PageId page) override;
  void BeforeShowImage() override;
  std::optional<PageId> ActiveProfilePage() const override;

  // The button labels' menus and the key-combination dialog.
  ButtonCommands& Buttons() { return *buttons_; }
  // The window's short notice (refused writes, undo and redo).
  RefusalNotice& Notice() { return *notice_; }

 private:
  // The button pages show the profile named by parameter byte 33.
  void ShowActiveProfilePage();
  void ShowMouseState(int refused);
  void BindLaterPages();

  QPointer<MainWindow> window_;
  PageEditor& editor_;
  RefusalNotice* notice_;
  std::unique_ptr<ButtonCommands> buttons_;
};

}  // namespace korvex48::gui
