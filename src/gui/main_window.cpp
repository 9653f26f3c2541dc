#include "gui/main_window.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCloseEvent>
#include <QComboBox>
#include <QCursor>
#include <QDesktopServices>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScreen>
#include <QUrl>
#include <QWindow>

#include "gui/busy_popup.h"
#include "gui/control_access.h"
#include "gui/focus_return.h"
#include "gui/language_applier.h"
#include "gui/layout_applier.h"
#include "gui/page_group.h"
#include "gui/pages/advanced_page.h"
#include "gui/pages/button_page.h"
#include "gui/pages/lighting_page.h"
#include "gui/pages/macro_page.h"
#include "gui/pages/update_page.h"
#include "gui/skin.h"
#include "gui/user_dialogs.h"

namespace korvex48::gui {
namespace {

bool IsPageButton(const QString& name) {
  return name == QLatin1String("Main") || name == QLatin1String("Switch") ||
         name == QLatin1String("Fixed") || name == QLatin1String("Adv") ||
         name == QLatin1String("Breath") || name == QLatin1String("Macro") ||
         name == QLatin1String("Update");
}

PageId PageOfNav(const QString& name) {
  for (int p = 1; p <= kPageCount; ++p)
    if (NavNameOf(static_cast<PageId>(p)) == name) return static_cast<PageId>(p);
  return PageId::kMain;
}

// The hover families of the controls that are not part of the navigation bar:
// picture looks of Btn_LoadBIN / Btn_Program (family E) and the command
// labels of the macro pop-ups (family H).
constexpr const char* kFamilyE[] = {"LoadBIN", "Program"};
constexpr const char* kFamilyH[] = {"Btn_NewMacro",  "Btn_NewName",  "Btn_DelPCMacro",
                                    "Btn_ImportOne", "Btn_Import",   "Btn_ExportOne",
                                    "Btn_Export",    "Btn_AddMacro", "Btn_DelMacro",
                                    "Btn_DevExport", "Btn_Del",      "Btn_Insert"};

}  // namespace

std::unique_ptr<MainWindow> MainWindow::Create(UserDialogs* dialogs, const Skin* skin,
                                               std::string* error,
                                               std::optional<LanguageSet> languages,
                                               PagesBuilt pages) {
  std::string reason;
  if (!languages) languages = LanguageSet::LoadShipped(&reason);
  if (!languages) {
    if (error) *error = "language tables: " + reason;
    return nullptr;
  }
  auto settings = LoadShippedSettings(&reason);
  if (!settings) {
    if (error) *error = "settings table ORG: " + reason;
    return nullptr;
  }
  const Skin& used_skin = skin ? *skin : EmbeddedSkin();
  std::unique_ptr<UserDialogs> own;
  if (!dialogs) {
    own = std::make_unique<QtUserDialogs>(nullptr);
    dialogs = own.get();
  }
  auto context = std::make_unique<EditorContext>(used_skin, *dialogs, std::move(*languages),
                                                 std::move(*settings));
  std::unique_ptr<MainWindow> window(new MainWindow(std::move(context), used_skin, own.release()));
  if (pages == PagesBuilt::kAtOnce) window->MakeLaterPages();
  if (!window->ApplyLayoutAndLanguage(1, error)) return nullptr;
  return window;
}

QStringList MainWindow::FirstPaintPictures() {
  return {QStringLiteral("L1_BackGround"), QStringLiteral("L1_Back1")};
}

MainWindow::MainWindow(std::unique_ptr<EditorContext> context, const Skin& skin,
                       UserDialogs* own_dialogs)
    : QWidget(nullptr, Qt::Window | Qt::FramelessWindowHint),
      own_dialogs_(own_dialogs),
      context_(std::move(context)),
      skin_(skin) {
  setObjectName(QStringLiteral("MainWindow"));
  // Set before the window is shown: without a window manager the title given
  // at map time is the one other programs find.
  setWindowTitle(kWindowTitle);
  setFixedSize(800, 600);
  // The background is drawn with alpha where its key colour is, which shapes
  // the window wherever a compositor blends it (Wayland, composited X11); the
  // mask of the same pixels (UpdateShape) cuts it on an X server without one
  // and keeps the see-through corners from taking clicks everywhere.
  setAttribute(Qt::WA_TranslucentBackground);
  // The background pictures cover the rest. Controls and the dialogs
  // opened over the window inherit a dark scheme that fits the skin (the key
  // colour itself is never used as a widget colour, or message boxes and
  // indicators would turn dark red).
  QPalette palette = this->palette();
  const QColor text(222, 228, 236);
  palette.setColor(QPalette::Window, QColor(20, 23, 28));
  for (auto role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
    palette.setColor(role, text);
  palette.setColor(QPalette::Disabled, QPalette::WindowText, QColor(110, 116, 126));
  palette.setColor(QPalette::Base, QColor(16, 19, 24));
  palette.setColor(QPalette::AlternateBase, QColor(24, 28, 34));
  palette.setColor(QPalette::Button, QColor(30, 34, 42));
  palette.setColor(QPalette::Highlight, QColor(0, 168, 204));
  palette.setColor(QPalette::HighlightedText, Qt::white);
  palette.setColor(QPalette::PlaceholderText, QColor(110, 116, 126));
  setPalette(palette);
  if (QScreen* screen = QGuiApplication::primaryScreen()) {
    const QRect area = screen->geometry();
    move(area.left() + (area.width() - 800) / 2, area.top() + (area.height() - 600) / 2);
  }
  if (auto* qt_dialogs = dynamic_cast<QtUserDialogs*>(own_dialogs_.get()))
    qt_dialogs->SetParent(this);

  for (int k = 1; k <= 5; ++k) {
    groups_[k - 1] = new PageGroup(skin_, k, this);
    ConnectGroup(groups_[k - 1]);
  }
  button_page_ = new ButtonPage(*context_, nullptr);
  groups_[0]->SetPage(button_page_);

  // Hidden selectors of the page and the language, read by the page logic.
  auto* pages = new QButtonGroup(this);
  for (int p = 1; p <= kPageCount; ++p) {
    auto* choice = new QRadioButton(this);
    choice->setObjectName(QStringLiteral("rb_%1").arg(p));
    choice->setAutoExclusive(false);
    choice->hide();
    pages->addButton(choice);
    page_choices_[p - 1] = choice;
  }
  auto* languages = new QButtonGroup(this);
  for (int k = 1; k <= 3; ++k) {
    auto* choice = new QRadioButton(this);
    choice->setObjectName(QStringLiteral("rb_Lang%1").arg(k));
    choice->setAutoExclusive(false);
    choice->hide();
    languages->addButton(choice);
    language_choices_[k - 1] = choice;
  }
  page_choices_[0]->setChecked(true);
  language_choices_[0]->setChecked(true);

  controls_ = std::make_unique<ControlIndex>(this);
  if (auto* picture = controls_->Get<PictureLabel>(QStringLiteral("Img_P1")))
    connect(picture, &PictureLabel::pressed, this, &MainWindow::popupsClosed);

  for (int k = 2; k <= 5; ++k) groups_[k - 1]->hide();
  SetNavPictures(QStringLiteral("Main"), QStringLiteral("SetS_02"));
  SelectCurrentLanguagePictures();

  busy_ = std::make_unique<BusyPopup>(skin_, this);
  dev_timer_.setObjectName(QStringLiteral("DevTimer"));
  dev_timer_.setInterval(3500);
}

MainWindow::~MainWindow() = default;

void MainWindow::MakeLaterPages() {
  button_page_->MakeMenus();
  // The menus lie on group 1, above its page and navigation bar.
  controls_->Add(groups_[0]);
  advanced_page_ = new AdvancedPage(*context_, nullptr);
  lighting_page_ = new LightingPage(*context_, nullptr);
  macro_page_ = new MacroPage(*context_, nullptr);
  update_page_ = new UpdatePage(*context_, nullptr);
  groups_[1]->SetPage(advanced_page_);
  groups_[2]->SetPage(lighting_page_);
  groups_[3]->SetPage(macro_page_);
  groups_[4]->SetPage(update_page_);
  for (int k = 2; k <= 5; ++k) controls_->Add(groups_[k - 1]);
  ConnectPageHovers();
  for (const char* panel : {"Img_P2", "Img_P3", "Img_P4"})
    if (auto* picture = controls_->Get<PictureLabel>(QLatin1String(panel)))
      connect(picture, &PictureLabel::pressed, this, &MainWindow::popupsClosed);
}

void MainWindow::BuildLaterPages() {
  if (advanced_page_) return;
  MakeLaterPages();
  // As a language switch to the language on show lays out and names every
  // control, the pages made now get the layout and texts of the others.
  std::string error;
  if (!ApplyLayoutAndLanguage(context_->language, &error))
    context_->dialogs.Message(QString::fromStdString(error));
  if (main_menu_height_) SetMainMenuHeight(*main_menu_height_);
  Q_EMIT laterPagesBuilt();
  for (Page* page : {static_cast<Page*>(advanced_page_), static_cast<Page*>(lighting_page_),
                     static_cast<Page*>(macro_page_), static_cast<Page*>(update_page_)})
    page->ShowImage();
}

void MainWindow::SetMainMenuHeight(int pixels) {
  main_menu_height_ = pixels;
  if (QWidget* menu = controls_->Find(QStringLiteral("Pnl_Main")))
    menu->resize(menu->width(), pixels);
}

bool MainWindow::ApplyLayoutAndLanguage(int k, std::string* error) {
  std::string reason;
  auto layout = LoadShippedLayout(k, &reason);
  if (!layout) {
    if (error) *error = "layout table org" + std::to_string(k) + ": " + reason;
    return false;
  }
  context_->language = k;
  context_->layout = std::move(*layout);
  marquee_.Stop();

  // Backgrounds of the five groups and the panel of the page on show; the
  // other panels follow when their page is opened.
  const QString background = QStringLiteral("L%1_BackGround").arg(k);
  for (PageGroup* group : groups_) group->Background()->SetPicture(background);
  for (Page* page : {static_cast<Page*>(button_page_), static_cast<Page*>(advanced_page_),
                     static_cast<Page*>(lighting_page_), static_cast<Page*>(macro_page_)})
    if (page && (page->parentWidget()->isVisibleTo(this) || page == button_page_)) page->Opened();

  gui::ApplyLayout(context_->layout, context_->settings, *controls_);
  for (PageGroup* group : groups_) group->PlaceBackupsButton();
  SetUpdateButtonsVisible(update_buttons_shown_);
  gui::ApplyLanguage(context_->languages, k, *controls_);
  for (Page* page : {static_cast<Page*>(button_page_), static_cast<Page*>(advanced_page_),
                     static_cast<Page*>(lighting_page_), static_cast<Page*>(macro_page_),
                     static_cast<Page*>(update_page_)}) {
    if (!page) continue;  // made later, with the layout on show then
    page->ApplyLayout();
    page->ApplyLanguage();
  }
  app_title_ = context_->Text("Title");
  UpdateShape();
  // Places and captions changed: roles, names and the reading order again.
  DescribeControls(this);
  return true;
}

void MainWindow::UpdateShape() {
  const QString picture = groups_[0]->Background()->picture();
  if (picture == shape_picture_) return;
  shape_picture_ = picture;
  setMask(skin_.Shape(picture));
}

void MainWindow::ConnectGroup(PageGroup* group) {
  connect(group, &PageGroup::navClicked, this, &MainWindow::OnNavClicked);
  connect(group, &PageGroup::navEntered, this, &MainWindow::OnNavEntered);
  connect(group, &PageGroup::navLeft, this, &MainWindow::OnNavLeft);
  connect(group, &PageGroup::backgroundPressed, this, &MainWindow::StartMove);
}

void MainWindow::StartMove() {
  Q_EMIT popupsClosed();
  if (QWidget* grabber = QWidget::mouseGrabber()) grabber->releaseMouse();
  QWindow* handle = windowHandle();
  if (handle && handle->startSystemMove()) return;
  // No window manager to hand the move to (a bare X server): the window
  // follows the pointer itself until the button is released. Wayland always
  // takes the request, as a client cannot place its own window there.
  drag_offset_ = QCursor::pos() - pos();
  dragging_ = true;
  grabMouse();
}

void MainWindow::keyPressEvent(QKeyEvent* event) {
  // Escape closes the open pop-up panels, as a press on the background does.
  if (event->key() == Qt::Key_Escape) {
    event->accept();
    Q_EMIT popupsClosed();
    return;
  }
  QWidget::keyPressEvent(event);
}

void MainWindow::mouseMoveEvent(QMouseEvent* event) {
  if (!dragging_) return QWidget::mouseMoveEvent(event);
  move(event->globalPosition().toPoint() - drag_offset_);
}

void MainWindow::mouseReleaseEvent(QMouseEvent* event) {
  if (!dragging_) return QWidget::mouseReleaseEvent(event);
  dragging_ = false;
  releaseMouse();
}

void MainWindow::SetNavPictures(const QString& name, const QString& picture) {
  for (PageGroup* group : groups_)
    if (PictureLabel* p = group->NavPicture(name)) p->SetPicture(picture, false);
  // The page whose button shows selected is the current one for a screen
  // reader too.
  if (IsPageButton(name)) {
    const QString shown = NavNameOf(no_device_look_ ? PageId::kMain : current_page_);
    for (PageGroup* group : groups_)
      for (int p = 1; p <= kPageCount; ++p) {
        const QString page = NavNameOf(static_cast<PageId>(p));
        if (TextLabel* label = group->NavLabel(page)) SetCurrentPage(label, page == shown);
      }
  }
}

void MainWindow::OnNavClicked(const QString& name) {
  if (IsPageButton(name)) {
    RequestPage(PageOfNav(name));
  } else if (name == QLatin1String("Save")) {
    SetNavPictures(name, QStringLiteral("SetS_02"));
    Q_EMIT saveProfileRequested();
  } else if (name == QLatin1String("Load")) {
    SetNavPictures(name, QStringLiteral("SetS_02"));
    Q_EMIT loadProfileRequested();
  } else if (name == QLatin1String("Reset")) {
    SetNavPictures(name, QStringLiteral("BtnS_03"));
    Q_EMIT resetRequested();
  } else if (name == QLatin1String("Backups")) {
    Q_EMIT backupsRequested();
  } else if (name == QLatin1String("Exit")) {
    close();
  } else if (name == QLatin1String("Web")) {
    SetNavPictures(name, QStringLiteral("WebS_02"));
    const QUrl url = QUrl::fromUserInput(QString::fromStdString(context_->settings.web));
    if (url.isValid() && !url.isEmpty()) QDesktopServices::openUrl(url);
  } else if (name.startsWith(QLatin1String("Lang"))) {
    SwitchLanguage(name.mid(4).toInt());
  }
}

void MainWindow::OnNavEntered(const QString& name, int index) {
  PageGroup* group = Group(index);
  if (name == QLatin1String("Reset") || name == QLatin1String("Exit")) {
    SetNavPictures(name, QStringLiteral("BtnS_02"));
  } else if (name == QLatin1String("Web")) {
    SetNavPictures(name, QStringLiteral("WebS_03"));
    return;  // the web button has a picture only
  } else {
    group->NavPicture(name)->SetPicture(QStringLiteral("SetS_03"), false);
  }
  marquee_.Enter(group->NavLabel(name));
}

void MainWindow::OnNavLeft(const QString& name, int index) {
  marquee_.Leave();
  if (name == QLatin1String("Reset") || name == QLatin1String("Exit")) {
    SetNavPictures(name, QStringLiteral("BtnS_01"));
  } else if (name == QLatin1String("Web")) {
    SetNavPictures(name, QStringLiteral("WebS_01"));
  } else if (name.startsWith(QLatin1String("Lang"))) {
    Group(index)->NavPicture(name)->SetPicture(QStringLiteral("SetS_01"), false);
    SelectCurrentLanguagePictures();
  } else {
    Group(index)->NavPicture(name)->SetPicture(QStringLiteral("SetS_01"), false);
    // The no-device look keeps Main selected; leaving a button must not
    // take that away.
    SetNavPictures(NavNameOf(no_device_look_ ? PageId::kMain : current_page_),
                   QStringLiteral("SetS_02"));
  }
}

void MainWindow::ConnectPageHovers() {
  for (const char* name : kFamilyE) {
    auto* label = controls_->Get<TextLabel>(QStringLiteral("Btn_") + QLatin1String(name));
    auto* picture = controls_->Get<PictureLabel>(QStringLiteral("Img_") + QLatin1String(name));
    if (!label || !picture) continue;
    connect(label, &TextLabel::entered, this, [this, label, picture] {
      picture->SetPicture(QStringLiteral("KeyS_02"), false);
      marquee_.Enter(label);
    });
    connect(label, &TextLabel::left, this, [this, picture] {
      marquee_.Leave();
      picture->SetPicture(QStringLiteral("KeyS_01"), false);
    });
  }
  for (const char* name : kFamilyH) {
    auto* label = controls_->Get<TextLabel>(QLatin1String(name));
    if (!label) continue;
    connect(label, &TextLabel::entered, this, [this, label] {
      QPalette p = label->palette();
      p.setColor(QPalette::WindowText, Qt::white);
      p.setColor(QPalette::Window, label->palette().color(QPalette::Highlight));
      label->setPalette(p);
      label->setAutoFillBackground(true);
    });
    connect(label, &TextLabel::left, this, [this, label] {
      const LayoutTable& t = context_->layout;
      QPalette p = label->palette();
      p.setColor(QPalette::WindowText, ToQColor(t.color_f_font));
      p.setColor(QPalette::Window, ToQColor(t.color_f_back));
      label->setPalette(p);
    });
  }
}

void MainWindow::RequestPage(PageId page) {
  // The rules speak first: after the mouse was lost a page button says there
  // is no device (Str022); while the pages wait for the mouse to be read
  // again nothing else happens.
  if (!rules_->BeforePageChange(page)) return;
  if (no_device_look_) return;
  ShowPage(page);
  // Whether chosen with the mouse or the keys, the new page's first control
  // takes the focus: the button pressed may lie in a group now hidden.
  FocusPage();
}

void MainWindow::ReopenPage(PageId page) {
  if (!rules_->BeforePageReopen(page)) return;
  if (no_device_look_) return;
  ShowPage(page);
}

void MainWindow::ShowPage(PageId page) {
  if (GroupOf(page) != 1) BuildLaterPages();
  Q_EMIT popupsClosed();
  ResetPageButtonPictures();
  current_page_ = page;
  page_choices_[static_cast<int>(page) - 1]->setChecked(true);
  if (GroupOf(page) == 1) rules_->AfterPageChange(page);
  ShowCurrentGroup();
  // Profile 3 is shown but cannot be changed; the other button pages are
  // free unless there is no mouse.
  if (GroupOf(page) == 1) button_page_->DisableOverlay()->setVisible(page == PageId::kFixed);
  SetNavPictures(NavNameOf(page), QStringLiteral("SetS_02"));
  if (auto* shown = qobject_cast<Page*>(Group(GroupOf(page))->Page())) shown->Opened();
  Q_EMIT pageChanged(page);
}

void MainWindow::ShowCurrentGroup() {
  const int shown = no_device_look_ ? 1 : GroupOf(current_page_);
  if (shown != 1) BuildLaterPages();
  for (int k = 1; k <= 5; ++k) {
    if (k == shown)
      groups_[k - 1]->show();
    else
      groups_[k - 1]->hide();
  }
  if (!no_device_look_ && current_page_ == PageId::kMacro)
    macro_page_->ShowInsertMode(macro_page_->InsertMode());
  KeepFocusShown();
}

void MainWindow::KeepFocusShown() {
  // A control of a hidden group keeps the focus unseen; Qt would pass it to
  // whatever control follows in the Tab chain.
  QWidget* focused = focusWidget();
  if (focused && focused != this && !focused->isVisible()) FocusPage();
}

bool MainWindow::FocusPage() {
  PageGroup* group = Group(no_device_look_ ? 1 : GroupOf(current_page_));
  if (QWidget* page = group->Page(); page && FocusFirstControl(page)) return true;
  return FocusFirstControl(group);
}

void MainWindow::ResetPageButtonPictures() {
  for (const QString& name : PageButtonNames()) SetNavPictures(name, QStringLiteral("SetS_01"));
  no_device_look_ = false;
}

void MainWindow::SelectCurrentLanguagePictures() {
  for (int k = 1; k <= 3; ++k)
    SetNavPictures(QStringLiteral("Lang%1").arg(k),
                   k == context_->language ? QStringLiteral("SetS_02") : QStringLiteral("SetS_01"));
}

void MainWindow::SwitchLanguage(int k) {
  if (k < 1 || k > 3) return;
  language_choices_[k - 1]->setChecked(true);
  auto* insert = controls_->Get<QComboBox>(QStringLiteral("CB_Insert"));
  const int selected = insert ? insert->currentIndex() : -1;
  std::string error;
  const int previous = context_->language;
  context_->language = k;
  SelectCurrentLanguagePictures();
  if (!ApplyLayoutAndLanguage(k, &error)) {
    // The shipped tables are checked by the tests; should one still fail,
    // keep the window usable in the language it had.
    context_->dialogs.Message(QString::fromStdString(error));
    context_->language = previous;
    SelectCurrentLanguagePictures();
    language_choices_[previous - 1]->setChecked(true);
    return;
  }
  if (insert) insert->setCurrentIndex(selected);
  ShowCurrentGroup();
  if (auto* shown = qobject_cast<Page*>(Group(GroupOf(current_page_))->Page())) shown->Opened();
  // The pointer rests on the language button whose caption just changed.
  if (QLabel* hovered = marquee_.Label()) marquee_.Recaption(hovered->text());
  Q_EMIT languageChanged(k);
}

void MainWindow::ShowNoDevicePages() {
  no_device_look_ = true;
  // Until a mouse is read whole nothing says it can take a firmware patch.
  SetUpdateButtonsVisible(false);
  for (int k = 1; k <= 5; ++k) groups_[k - 1]->setVisible(k == 1);
  for (const QString& name : PageButtonNames()) SetNavPictures(name, QStringLiteral("SetS_01"));
  SetNavPictures(QStringLiteral("Main"), QStringLiteral("SetS_02"));
  KeepFocusShown();
}

void MainWindow::RefreshStoragePages(bool update_buttons) {
  SetUpdateButtonsVisible(update_buttons);
  no_device_look_ = false;
  // A reconnect while another page is open keeps that page (showing group 1
  // under its selected button would leave the bar and the page disagreeing).
  if (current_page_ == PageId::kUpdate && !update_buttons)
    ReopenPage(PageId::kMain);
  else if (GroupOf(current_page_) == 1)
    ReopenPage(ProfilePageChosen());
  else {
    // The no-device look selected Main; the bar shows the page kept.
    ResetPageButtonPictures();
    SetNavPictures(NavNameOf(current_page_), QStringLiteral("SetS_02"));
    ShowCurrentGroup();
  }
  QCoreApplication::processEvents();
}

PageId MainWindow::ProfilePageChosen() const {
  // The rules know the active profile; rb_1..rb_3 only show it.
  if (const std::optional<PageId> page = rules_->ActiveProfilePage()) return *page;
  return GroupOf(current_page_) == 1 ? current_page_ : PageId::kMain;
}

void MainWindow::SetUpdateButtonsVisible(bool visible) {
  update_buttons_shown_ = visible;
  const bool enabled = context_->layout.btn_b[12].ShownAsButton();
  for (PageGroup* group : groups_) {
    group->NavPicture(QStringLiteral("Update"))->setVisible(visible && enabled);
    group->NavLabel(QStringLiteral("Update"))->setVisible(visible && enabled);
  }
}

void MainWindow::LockPages() {
  // The pop-ups lie above the pages' controls, but not above the blockers;
  // open ones close, so that no key picks an entry during a transfer either.
  Q_EMIT popupsClosed();
  for (PageGroup* group : groups_) {
    group->Blocker()->show();
    group->Blocker()->raise();
  }
}

void MainWindow::UnlockPages() {
  for (PageGroup* group : groups_) group->Blocker()->hide();
}

void MainWindow::ShowImage() {
  rules_->BeforeShowImage();
  for (Page* page : {static_cast<Page*>(button_page_), static_cast<Page*>(advanced_page_),
                     static_cast<Page*>(lighting_page_), static_cast<Page*>(macro_page_),
                     static_cast<Page*>(update_page_)})
    if (page) page->ShowImage();  // pages made later show the image then
}

void MainWindow::RestoreAndRaise() {
  setWindowState((windowState() & ~Qt::WindowMinimized) | Qt::WindowActive);
  show();
  raise();
  activateWindow();
}

void MainWindow::closeEvent(QCloseEvent* event) {
  // Nothing is saved at exit (the macro library is always current).
  Q_EMIT closing();
  event->accept();
  busy_->hide();
  QCoreApplication::quit();
}

}  // namespace korvex48::gui
