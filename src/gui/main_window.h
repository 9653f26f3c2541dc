#pragma once
// The editor's borderless, picture-skinned 800 x 600 main window. It stays
// thin: it composes the five page groups, the page classes, the skin, the
// layout and language appliers and the busy pop-up, and routes the
// navigation bar. What a page change, Save, Load, Reset or Update does to the
// mouse is decided by the connection flows through PageRules and the
// command signals.
#include <QPointer>
#include <QRadioButton>
#include <QTimer>
#include <QWidget>
#include <array>
#include <memory>
#include <optional>
#include <string>

#include "gui/caption_marquee.h"
#include "gui/control_index.h"
#include "gui/editor_context.h"
#include "gui/page_id.h"

namespace korvex48::gui {

class AdvancedPage;
class ButtonPage;
class LightingPage;
class MacroPage;
class Page;
class PageGroup;
class Skin;
class BusyPopup;
class UpdatePage;
class UserDialogs;

// The rules the connection flows add to navigation. The default allows
// every page change and does nothing else.
class PageRules {
 public:
  virtual ~PageRules() = default;
  // Called when a page button is clicked, before anything changes; false
  // keeps the current page (the rules have told the user why).
  virtual bool BeforePageChange(PageId) { return true; }
  // The same when the program opens the page of the active profile again at
  // the end of a read, which is no click of the user's (the core has decided
  // already; the rules only show its answer).
  virtual bool BeforePageReopen(PageId page) { return BeforePageChange(page); }
  // Called after a button page became current, before its group is shown
  // (profile selection, showing that profile's buttons).
  virtual void AfterPageChange(PageId) {}
  // An image was taken in; called before the pages show it (RefreshUI).
  virtual void BeforeShowImage() {}
  // The button page of the active profile, which the end of a read opens
  // again; nullopt: the button page shown last.
  virtual std::optional<PageId> ActiveProfilePage() const { return std::nullopt; }
};

// The window's title, also the name of the single-instance socket.
inline const QString kWindowTitle = QStringLiteral("Korvex48 Gaming Mouse v1.0");

class MainWindow : public QWidget {
  Q_OBJECT

 public:
  // Loads the tables, builds the window and applies language 1. Returns
  // nullptr with a message in `error` when a table is missing or invalid (a
  // configuration error that stops the start). `dialogs` and `skin` are kept
  // by reference and must outlive the window; nullptr picks the Qt dialogs
  // and the embedded pictures. `languages` replaces the shipped language
  // tables. With kLater only the button pages are made, without their
  // function menus: the window is on the screen sooner, and BuildLaterPages()
  // makes the rest.
  enum class PagesBuilt { kAtOnce, kLater };
  static std::unique_ptr<MainWindow> Create(UserDialogs* dialogs, const Skin* skin,
                                            std::string* error,
                                            std::optional<LanguageSet> languages = {},
                                            PagesBuilt pages = PagesBuilt::kAtOnce);
  ~MainWindow() override;
  // The pictures the first paint of a window made by Create() shows: the
  // background, which also gives the window its shape, and the first page's
  // panel (for Skin::DecodeAhead).
  static QStringList FirstPaintPictures();

  // --- state ---
  EditorContext& Context() { return *context_; }
  // The pages show the no-device appearance (ShowNoDevicePages) until a
  // whole-image read ends (RefreshStoragePages) or a page is made current;
  // page buttons do nothing meanwhile. The connection flows set the same in
  // the core's session before they change the window.
  bool NoDeviceLook() const { return no_device_look_; }
  PageId CurrentPage() const { return current_page_; }
  int Language() const { return context_->language; }
  const ControlIndex& Controls() const { return *controls_; }
  // The application title (language key Title) of the current language. The
  // window title itself stays kWindowTitle, which other instances look for.
  const QString& ApplicationTitle() const { return app_title_; }

  // --- parts ---
  PageGroup* Group(int k) const { return groups_.at(k - 1); }  // k = 1..5
  ButtonPage* Buttons() const { return button_page_; }
  // The pages of groups 2..5, made first when asked for (see BuildLaterPages).
  AdvancedPage* Advanced() const { return LaterPages().advanced_page_; }
  LightingPage* Lighting() const { return LaterPages().lighting_page_; }
  MacroPage* Macros() const { return LaterPages().macro_page_; }
  UpdatePage* Update() const { return LaterPages().update_page_; }
  // Whether the pages of groups 2..5 exist (always, unless made kLater).
  bool LaterPagesBuilt() const { return advanced_page_ != nullptr; }
  // Makes the button function menus and the pages of groups 2..5 if they are
  // missing (Menus() of the button page is nullptr before this): they get the
  // layout and texts of the language on show, then laterPagesBuilt() binds
  // their logic, then they show the image. Showing one of them calls this.
  void BuildLaterPages();
  // Height of the main function menu Pnl_Main for the mouse's chip variant:
  // given to the menu at once when it exists, else when it is made (the
  // window makes nothing for it).
  void SetMainMenuHeight(int pixels);
  BusyPopup* Busy() const { return busy_.get(); }
  CaptionMarquee& Marquee() { return marquee_; }
  // nullptr restores the default rules.
  void SetPageRules(PageRules* rules) { rules_ = rules ? rules : &default_rules_; }

  // --- navigation ---
  // A click on a page button: the rules (Str022 without a mouse), then
  // NoDeviceLook, then the change.
  void RequestPage(PageId page);
  // As RequestPage, for the page the program opens again at the end of a
  // read (BeforePageReopen).
  void ReopenPage(PageId page);
  // Makes `page` current without asking the rules (used by the flows, e.g.
  // after a whole-image read re-opens the active profile's page).
  void ShowPage(PageId page);
  // The language buttons: pictures, layout org<k>, texts lang<k>.
  void SwitchLanguage(int k);
  // Shows the group of the current page (group 1 while NoDeviceLook is set).
  void ShowCurrentGroup();
  // Every page and profile button picture to its normal look.
  void ResetPageButtonPictures();
  // The no-device appearance: NoDeviceLook set, group 1, Main selected.
  void ShowNoDevicePages();
  // Update buttons shown only for a "Flash" + "Flash" mouse.
  void SetUpdateButtonsVisible(bool visible);
  // The page blockers Disable_All_1..5 around whole-image transfers.
  void LockPages();
  void UnlockPages();
  // Fills every page from the page copy of the image.
  void ShowImage();

  // The end of every whole-image read: Update buttons by the storage, group
  // 1 for a button page (whose click handler runs again for the active
  // profile), NoDeviceLook cleared.
  void RefreshStoragePages(bool update_buttons);
  // Device polling, every 3500 ms; the connection flows stop it around
  // whole-image transfers.
  QTimer& DevicePolling() { return dev_timer_; }

  // A second start asked for the window: restore, raise, activate.
  void RestoreAndRaise();

  // Gives the keyboard focus to the first control of the page on show (the
  // navigation bar's first when the page has none that takes it now), as
  // after a page change. Dialogs and pop-ups closing with nothing left to
  // give the focus back to call it too (focus_return.h).
  Q_INVOKABLE bool FocusPage();

 Q_SIGNALS:
  // Navigation commands the flows carry out.
  void saveProfileRequested();
  void loadProfileRequested();
  void resetRequested();
  // The backups button: the backups dialog is to open.
  void backupsRequested();
  // Close every open pop-up menu (CloseMenus): background presses and
  // clicks on the page panels.
  void popupsClosed();
  void pageChanged(PageId page);
  // The pages of groups 2..5 were made after the window (PagesBuilt::kLater).
  void laterPagesBuilt();
  void languageChanged(int k);
  // The window is closing (Exit, or the window manager): the program ends
  // and the mouse is let go. Nothing is saved.
  void closing();

 protected:
  void closeEvent(QCloseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  MainWindow(std::unique_ptr<EditorContext> context, const Skin& skin, UserDialogs* own_dialogs);
  bool ApplyLayoutAndLanguage(int k, std::string* error);
  void MakeLaterPages();
  MainWindow& LaterPages() const {
    auto& self = const_cast<MainWindow&>(*this);
    self.BuildLaterPages();
    return self;
  }
  void UpdateShape();
  void ConnectGroup(PageGroup* group);
  void OnNavClicked(const QString& name);
  void OnNavEntered(const QString& name, int index);
  void OnNavLeft(const QString& name, int index);
  void SetNavPictures(const QString& name, const QString& picture);
  void SelectCurrentLanguagePictures();
  // The button page of the active profile (PageRules::ActiveProfilePage).
  PageId ProfilePageChosen() const;
  void StartMove();
  void ConnectPageHovers();
  // FocusPage when the focused control is no longer shown.
  void KeepFocusShown();

  std::unique_ptr<UserDialogs> own_dialogs_;
  std::unique_ptr<EditorContext> context_;
  const Skin& skin_;
  bool no_device_look_ = false;
  std::optional<int> main_menu_height_;
  // The Update buttons show only after a whole read of a "Flash" + "Flash"
  // mouse; the layout tables alone would show them on every language switch.
  bool update_buttons_shown_ = false;
  std::array<PageGroup*, 5> groups_{};
  ButtonPage* button_page_ = nullptr;
  AdvancedPage* advanced_page_ = nullptr;
  LightingPage* lighting_page_ = nullptr;
  MacroPage* macro_page_ = nullptr;
  UpdatePage* update_page_ = nullptr;
  std::array<QRadioButton*, kPageCount> page_choices_{};  // rb_1..rb_7
  std::array<QRadioButton*, 3> language_choices_{};       // rb_Lang1..rb_Lang3
  std::unique_ptr<ControlIndex> controls_;
  std::unique_ptr<BusyPopup> busy_;
  CaptionMarquee marquee_;
  QTimer dev_timer_;
  PageRules default_rules_;
  PageRules* rules_ = &default_rules_;
  PageId current_page_ = PageId::kMain;
  QString app_title_;
  QString shape_picture_;
  // Moving the window by hand when the platform cannot (StartMove).
  bool dragging_ = false;
  QPoint drag_offset_;
};

}  // namespace korvex48::gui
