#include "gui/window_app_ui.h"

#include <QCoreApplication>
#include <QLabel>
#include <QListWidget>
#include <QTimer>

#include "gui/busy_popup.h"
#include "gui/main_window.h"
#include "gui/pages/button_page.h"
#include "gui/user_dialogs.h"

namespace korvex48::gui {

void WindowAppUi::Show() { window_.Busy()->Show(); }
void WindowAppUi::Hide() { window_.Busy()->Hide(); }
void WindowAppUi::ProcessEvents() { QCoreApplication::processEvents(); }
void WindowAppUi::Progress(std::size_t done, std::size_t total) {
  if (hooks_.write_progress) hooks_.write_progress(done, total);
}

void WindowAppUi::ShowMessage(const AppMessage& message) {
  if (hooks_.message_shown) hooks_.message_shown(message);
  const EditorContext& context = window_.Context();
  QString text = QString::fromStdString(message.Text(context.Texts().Lookup()));
  // Lines are joined by "\r" in the texts; Qt breaks lines at "\n".
  text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
  if (!message.detail.empty())
    text += QStringLiteral("\n\n") + QString::fromStdString(message.detail);
  const QString caption =
      message.kind == MessageBoxKind::kPlain ? window_.ApplicationTitle() : QString();
  context.dialogs.Message(text, caption);
}

void WindowAppUi::LockPages() { window_.LockPages(); }
void WindowAppUi::UnlockPages() { window_.UnlockPages(); }
void WindowAppUi::StopPolling() { window_.DevicePolling().stop(); }
void WindowAppUi::StartPolling() { window_.DevicePolling().start(); }
// The page editor has taken the image in already: the pages show it.
void WindowAppUi::RefreshUI() { window_.ShowImage(); }
void WindowAppUi::RefreshKeyLabels(const ButtonTexts&) { window_.Buttons()->ShowLabels(); }
void WindowAppUi::RefreshDeviceMacroLists() { Call(hooks_.refresh_device_macro_lists); }
void WindowAppUi::ClearMacroEditor() { Call(hooks_.clear_macro_editor); }
void WindowAppUi::RefreshPcMacroList() { Call(hooks_.refresh_pc_macro_list); }
void WindowAppUi::ReadOsMouseParameters() { Call(hooks_.read_os_mouse_parameters); }
void WindowAppUi::ShowNoDevicePages() { window_.ShowNoDevicePages(); }

void WindowAppUi::ShowMouseHeld(const std::string& line) {
  if (line.empty()) {
    if (held_line_) held_line_->hide();
    return;
  }
  if (!held_line_) {
    constexpr int kWidth = 520, kHeight = 26;
    held_line_ = new QLabel(&window_);
    held_line_->setObjectName(QStringLiteral("lbl_MouseHeld"));
    held_line_->setAttribute(Qt::WA_TransparentForMouseEvents);
    held_line_->setAlignment(Qt::AlignCenter);
    held_line_->setStyleSheet(QStringLiteral(
        "QLabel { color: white; background-color: rgba(40, 40, 40, 220); border-radius: 6px; }"));
    // Over the middle of the page content, which the no-device look covers.
    held_line_->setGeometry((window_.width() - kWidth) / 2, (window_.height() - kHeight) / 2,
                            kWidth, kHeight);
  }
  // "the mouse is in use by ..." as a sentence.
  QString text = QString::fromStdString(line);
  text[0] = text[0].toUpper();
  held_line_->setText(text + QLatin1Char('.'));
  held_line_->raise();
  held_line_->show();
}

void WindowAppUi::RefreshStoragePages(StorageLayout layout) {
  window_.RefreshStoragePages(layout == StorageLayout::kSlot);
}

void WindowAppUi::CloseMenus() { Q_EMIT window_.popupsClosed(); }

void WindowAppUi::SetMainMenuHeight(int pixels) { window_.SetMainMenuHeight(pixels); }

void WindowAppUi::ShowNoDeviceOverlay() { window_.Buttons()->DisableOverlay()->show(); }
void WindowAppUi::StopLabelRun() { window_.Marquee().Stop(); }

void WindowAppUi::ClearDeviceState() {
  Call(hooks_.clear_device_lists);
  for (const char* name : {"LB_MacroName", "LB_Name", "LB_macro"})
    if (auto* list = window_.Controls().Get<QListWidget>(QLatin1String(name))) list->clear();
}

void WindowAppUi::OfferRecovery(const CutReport& cut) {
  // The offer runs flows of its own: never inside the flow that called.
  QTimer::singleShot(0, &window_, [this, cut] {
    if (hooks_.offer_recovery) hooks_.offer_recovery(cut);
  });
}

}  // namespace korvex48::gui
