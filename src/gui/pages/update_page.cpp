#include "gui/pages/update_page.h"

#include <QPainter>

#include "core/app/firmware_flow.h"
#include "gui/pages/edit_message.h"
#include "gui/user_dialogs.h"

namespace korvex48::gui {
namespace {

// The chosen file's full path; a path wider than the field is drawn with its
// middle left out (the whole path stays the label's text and its tool tip).
class PathLabel final : public QLabel {
 public:
  explicit PathLabel(QWidget* parent) : QLabel(parent) {}

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter painter(this);
    painter.setPen(palette().color(QPalette::WindowText));
    const QRect room = contentsRect();
    painter.drawText(room, Qt::AlignLeft | Qt::AlignVCenter,
                     fontMetrics().elidedText(text(), Qt::ElideMiddle, room.width()));
  }
};

}  // namespace

UpdatePage::UpdatePage(EditorContext& context, QWidget* parent)
    : Page(context, QStringLiteral("UpdatePage"), parent) {
  AddPicture(QStringLiteral("Img_P5"), QStringLiteral("Update"));
  AddLabel(QStringLiteral("lbl_BINPath"), 0, 0, 300, 20);
  path_ = new PathLabel(this);
  path_->setObjectName(QStringLiteral("lbl_LoadBIN"));
  // The field drawn on the panel runs from the label's place to the buttons.
  path_->setGeometry(0, 0, 496, 20);
  progress_ = new QProgressBar(this);
  progress_->setObjectName(QStringLiteral("pb_Program"));
  progress_->setTextVisible(false);
  progress_->setStyleSheet(
      QStringLiteral("QProgressBar { background: #0e131a; border: 1px solid #2e3a48; }"
                     "QProgressBar::chunk { background: #00e5ff; }"));
  progress_->hide();
  for (const char* name : {"LoadBIN", "Program"}) {
    auto* picture =
        AddPicture(QStringLiteral("Img_") + QLatin1String(name), QStringLiteral("KeyS_01"));
    auto* label = AddText(QStringLiteral("Btn_") + QLatin1String(name));
    label->resize(picture->size());
    connect(label, &TextLabel::clicked, this, [this, name] {
      if (QLatin1String(name) == QLatin1String("LoadBIN"))
        LoadFile();
      else
        Program();
    });
  }
}

void UpdatePage::ApplyLayout() {
  progress_->setGeometry(path_->x(), path_->y() + path_->height() + 10, path_->width(), 10);
}

void UpdatePage::PageOpened() {
  path_->clear();
  path_->setToolTip(QString());
  patch_.ClearLoaded();
}

void UpdatePage::LoadFile() {
  const std::optional<QString> chosen = ctx().dialogs.OpenFile(kLoadFileFilter);
  if (!chosen) return;
  FileError error;
  const FirmwarePatch::LoadStatus status = patch_.LoadFile(chosen->toStdString(), &error);
  if (status == FirmwarePatch::LoadStatus::kLoaded) {
    path_->setText(*chosen);
    path_->setToolTip(*chosen);
    return;
  }
  // A refused file leaves no path on show and no patch from an earlier file
  // behind it: Update must not program something the field does not name.
  path_->clear();
  path_->setToolTip(QString());
  patch_.ClearLoaded();
  if (status == FirmwarePatch::LoadStatus::kUnreadable) {
    ctx().dialogs.Message(QString::fromStdString(error.path + ": " + error.message));
  } else {
    // A file that ends within the patch code would program stale bytes.
    ctx().dialogs.Message(*chosen +
                          QStringLiteral(": no whole patch code at offset 0x8000 (a firmware "
                                         "file has at least 33792 bytes)"));
  }
}

void UpdatePage::Program() {
  if (!firmware_) return;
  if (!patch_.Loaded()) {
    ctx().dialogs.Message(
        QStringLiteral("No firmware file is loaded: choose one with Load File first."));
    return;
  }
  // The patch code, then its descriptor, as one bar.
  programming_ = true;
  written_before_ = last_done_ = last_total_ = 0;
  progress_->setRange(0, static_cast<int>(kPatchCodeSize + PatchDescriptor().size()));
  progress_->show();
  progress_->setValue(0);
  const FirmwareResult result = firmware_->ProgramFirmware(patch_);
  programming_ = false;
  progress_->hide();
  if (result == FirmwareResult::kNothing) {
    ShowEditMessage(ctx(), AppMessage{{"Str022"}, {}, MessageBoxKind::kOkBox, {}});
  } else if (result == FirmwareResult::kNotFlash) {
    ctx().dialogs.Message(QStringLiteral(
        "This mouse takes no firmware patch: only a \"Flash\" + \"Flash\" mouse does."));
  }
}

void UpdatePage::ShowProgress(std::size_t done, std::size_t total) {
  if (!programming_) return;
  if (done < last_done_ || total != last_total_) written_before_ += last_done_;
  last_done_ = done;
  last_total_ = total;
  progress_->setValue(std::min(progress_->maximum(), static_cast<int>(written_before_ + done)));
}

}  // namespace korvex48::gui
