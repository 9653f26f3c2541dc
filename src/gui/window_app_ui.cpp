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

namespace {

// A line over the middle of the page content, which the no-device look
// covers; `row` 0 is the middle, 1 the line below it. Shown as a sentence.
void ShowNoDeviceLine(QWidget& window, QLabel*& label, const char* name, int row,
                      const std::string& line) {
  if (line.empty()) {
    if (label) label->hide();
    return;
  }
  if (!label) {
    constexpr int kWidth = 520, kHeight = 26, kReasonHeight = 60;
    label = new QLabel(&window);
    label->setObjectName(QString::fromLatin1(name));
    label->setAttribute(Qt::WA_TransparentForMouseEvents);
    label->setAlignment(Qt::AlignCenter);
    label->setWordWrap(row > 0);
    label->setStyleSheet(QStringLiteral(
        "QLabel { color: white; background-color: rgba(40, 40, 40, 220); border-radius: 6px; }"));
    const int height = row > 0 ? kReasonHeight : kHeight;
    label->setGeometry((window.width() - kWidth) / 2,
                       (window.height() - kHeight) / 2 + row * (kHeight + 6), kWidth, height);
  }
  QString text = QString::fromStdString(line);
  text[0] = text[0].toUpper();
  label->setText(text + QLatin1Char('.'));
  label->raise();
  label->show();
}

}  // namespace

// "the mouse is in use by ..."
void WindowAppUi::ShowMouseHeld(const std::string& line) {
  ShowNoDeviceLine(window_, held_line_, "lbl_MouseHeld", 0, line);
}

// "access: no permission to open /dev/hidraw4. Run korvex48ctl doctor ..."
void WindowAppUi::ShowNoDeviceReason(const std::string& line) {
  ShowNoDeviceLine(window_, reason_line_, "lbl_NoDeviceReason", 1, line);
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
