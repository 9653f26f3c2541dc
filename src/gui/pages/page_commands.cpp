#include "gui/pages/page_commands.h"

#include <QRadioButton>
#include <algorithm>

#include "core/editing/page_editor.h"
#include "gui/caption_marquee.h"
#include "gui/pages/advanced_page.h"
#include "gui/pages/button_commands.h"
#include "gui/pages/button_page.h"
#include "gui/pages/edit_message.h"
#include "gui/pages/lighting_page.h"
#include "gui/refusal_notice.h"

namespace korvex48::gui {

PageCommands::PageCommands(MainWindow& window, PageEditor& editor)
    : window_(&window), editor_(editor), notice_(new RefusalNotice(&window)) {
  window.Buttons()->Bind(&editor);
  // Pages made after the window are bound once they exist.
  if (window.LaterPagesBuilt()) {
    BindLaterPages();
  } else {
    connect(&window, &MainWindow::laterPagesBuilt, this, &PageCommands::BindLaterPages);
  }
  window.SetPageRules(this);
  // The caption of the button label under the pointer runs (enabled labels
  // only; the marquee checks).
  connect(window.Buttons(), &ButtonPage::keyEntered, this,
          [this](QLabel* label) { window_->Marquee().Enter(label); });
  connect(window.Buttons(), &ButtonPage::keyLeft, this, [this] { window_->Marquee().Leave(); });
  editor.SetRefusalListener(
      [this](const LiveWriteRefusal& refusal) { ShowMouseState(refusal.refused); });
  buttons_ = std::make_unique<ButtonCommands>(window, editor);
}

PageCommands::~PageCommands() {
  buttons_.reset();
  editor_.SetRefusalListener({});
  if (!window_) return;
  window_->SetPageRules(nullptr);
  window_->Buttons()->Bind(nullptr);
  if (!window_->LaterPagesBuilt()) return;
  window_->Advanced()->Bind(nullptr);
  window_->Lighting()->Bind(nullptr);
}

void PageCommands::BindLaterPages() {
  window_->Advanced()->Bind(&editor_);
  window_->Lighting()->Bind(&editor_);
}

bool PageCommands::BeforePageChange(PageId page) {
  if (GroupOf(page) == 1) {
    const EditResult result = editor_.SelectProfile(static_cast<int>(page));
    if (result.status == EditStatus::kRefused) ShowEditMessage(window_->Context(), result.message);
    return result.status == EditStatus::kApplied;
  }
  if (!editor_.Core().Session().HandlesValid()) {
    AppMessage message;
    message.keys = {"Str022"};
    message.kind = MessageBoxKind::kOkBox;
    ShowEditMessage(window_->Context(), message);
    return false;
  }
  return true;
}

bool PageCommands::BeforePageReopen(PageId) {
  // The editor opened the active profile's page again as the read ended; the
  // window only shows how that went.
  const EditResult& result = editor_.ReopenedAfterRead();
  if (result.status == EditStatus::kRefused) ShowEditMessage(window_->Context(), result.message);
  return result.status == EditStatus::kApplied;
}

void PageCommands::AfterPageChange(PageId) {
  // The selected profile's names, and the fire settings and AIM DPI its
  // codes carry.
  window_->Buttons()->ShowLabels();
  // A page made later shows them when it is made.
  if (!window_->LaterPagesBuilt()) return;
  window_->Advanced()->ShowFireKeys();
  window_->Advanced()->ShowAim();
}

void PageCommands::BeforeShowImage() { ShowActiveProfilePage(); }

std::optional<PageId> PageCommands::ActiveProfilePage() const {
  return static_cast<PageId>(std::clamp(editor_.State().settings.active_profile, 1, 3));
}

void PageCommands::ShowMouseState(int refused) {
  if (!window_) return;
  // The editor has put the mouse's bytes back into the image and its state.
  ShowActiveProfilePage();
  window_->Buttons()->ShowImage();
  window_->Advanced()->ShowImage();
  window_->Lighting()->ShowImage();
  notice_->ShowRefusal(refused, editor_.Core().MouseUnplugged());
}

void PageCommands::ShowActiveProfilePage() {
  // The button pages show the profile named by parameter byte 33, with the
  // navigation as the page command leaves it (no checks, no write).
  if (GroupOf(window_->CurrentPage()) != 1) return;
  const int profile = std::clamp(editor_.State().settings.active_profile, 1, 3);
  if (auto* choice = window_->Controls().Get<QRadioButton>(QStringLiteral("rb_%1").arg(profile)))
    choice->setChecked(true);
  const auto page = static_cast<PageId>(profile);
  // While the pages wait for the mouse, the end of the read opens that page.
  if (!window_->NoDeviceLook() && window_->CurrentPage() != page) window_->ShowPage(page);
}

}  // namespace korvex48::gui
