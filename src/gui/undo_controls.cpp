#include "gui/undo_controls.h"

#include <QKeySequence>
#include <QShortcut>

#include "gui/control_access.h"
#include "gui/main_window.h"
#include "gui/refusal_notice.h"
#include "gui/skin_widgets.h"
#include "gui/window_app_ui.h"

namespace korvex48::gui {
namespace {

PictureLabel* MakeControl(MainWindow& window, const QString& name, const QString& accessible,
                          int x) {
  auto* control = new PictureLabel(window.Context().skin, name, &window);
  control->SetPicture(accessible == QLatin1String("Undo") ? QStringLiteral("UndoS_D")
                                                          : QStringLiteral("RedoS_D"));
  control->move(x, UndoControls::kY);
  control->SetKeyboardPress();
  SetRole(control, QAccessible::Button);
  control->setAccessibleName(accessible);
  control->show();
  control->raise();
  return control;
}

void AddShortcut(MainWindow& window, const QKeySequence& keys, QObject* receiver,
                 const std::function<void()>& run) {
  auto* shortcut = new QShortcut(keys, &window);
  shortcut->setContext(Qt::WindowShortcut);
  QObject::connect(shortcut, &QShortcut::activated, receiver, run);
}

}  // namespace

UndoControls::UndoControls(MainWindow& window, UndoHistory& history, WindowAppUi& ui,
                           RefusalNotice& notice)
    : window_(&window),
      history_(history),
      ui_(ui),
      notice_(notice),
      undo_(MakeControl(window, QStringLiteral("Img_Undo"), QStringLiteral("Undo"), kUndoX)),
      redo_(MakeControl(window, QStringLiteral("Img_Redo"), QStringLiteral("Redo"), kRedoX)) {
  connect(undo_, &PictureLabel::pressed, this, &UndoControls::Undo);
  connect(redo_, &PictureLabel::pressed, this, &UndoControls::Redo);
  AddShortcut(window, QKeySequence(Qt::CTRL | Qt::Key_Z), this, [this] { Undo(); });
  AddShortcut(window, QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), this, [this] { Redo(); });
  AddShortcut(window, QKeySequence(Qt::CTRL | Qt::Key_Y), this, [this] { Redo(); });
  history_.SetListener([this] { UpdateLooks(); });
  UpdateLooks();
}

UndoControls::~UndoControls() {
  history_.SetListener({});
  if (!window_) return;
  delete undo_;
  delete redo_;
}

void UndoControls::Undo() {
  if (!history_.CanUndo()) return;
  Show(history_.Undo());
}

void UndoControls::Redo() {
  if (!history_.CanRedo()) return;
  Show(history_.Redo());
}

void UndoControls::Show(const UndoResult& result) {
  if (!window_) return;
  // The pages, the labels and the macro lists show what the mouse holds now.
  ui_.RefreshUI();
  ui_.RefreshDeviceMacroLists();
  notice_.ShowNotice(QString::fromStdString(result.notice), !result.done);
  UpdateLooks();
}

void UndoControls::UpdateLooks() {
  if (!window_) return;
  const bool can_undo = history_.CanUndo();
  const bool can_redo = history_.CanRedo();
  undo_->SetPicture(can_undo ? QStringLiteral("UndoS_E") : QStringLiteral("UndoS_D"));
  redo_->SetPicture(can_redo ? QStringLiteral("RedoS_E") : QStringLiteral("RedoS_D"));
  undo_->setEnabled(can_undo);
  redo_->setEnabled(can_redo);
  const QString next_undo = QString::fromStdString(history_.NextUndo());
  const QString next_redo = QString::fromStdString(history_.NextRedo());
  undo_->setAccessibleDescription(next_undo);
  redo_->setAccessibleDescription(next_redo);
  undo_->setToolTip(can_undo ? QStringLiteral("Undo %1 (Ctrl+Z)").arg(next_undo)
                             : QStringLiteral("Nothing to undo"));
  redo_->setToolTip(can_redo ? QStringLiteral("Redo %1 (Ctrl+Shift+Z)").arg(next_redo)
                             : QStringLiteral("Nothing to redo"));
}

}  // namespace korvex48::gui
