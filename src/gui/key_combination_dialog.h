#pragma once
// The key-combination dialog KeyCombinationDialog: a shaped 354 x 179 panel over the main
// window (centred, 40 pixels below the centre), above its other controls and
// not modal. It is drawn inside the main window rather than as a window of
// its own, so it opens in its place under X11 and Wayland alike. Keys
// pressed in the read-only field Edt_Assembly are taken by the physical key
// (its evdev code: the native scan code Qt passes is the XKB key code, evdev
// + 8, on both), never by the character the layout gives it; the four boxes
// CB_Ctrl .. CB_Win add the modifiers. The key logic is the core's
// AssemblyKeyModel; the dialog forwards to it and shows its text.
#include <QCheckBox>
#include <QLineEdit>
#include <QPointer>
#include <QWidget>
#include <array>

#include "core/buttons/assembly_key.h"

namespace korvex48::gui {

struct EditorContext;
class PictureLabel;
class TextLabel;

class KeyCombinationDialog : public QWidget {
  Q_OBJECT

 public:
  static constexpr int kWidth = 354;
  static constexpr int kHeight = 179;

  // FormCreate: an empty dialog with the texts of the active language, drawn
  // in `owner`. It deletes itself when closed. Call Open() to show it.
  KeyCombinationDialog(EditorContext& context, QWidget* owner);

  // Shows the dialog without blocking the main window, focus in the field.
  void Open();

  // Top-left corner over `owner` (in the coordinates `owner` is given in):
  // left = owner left + (owner width − 354) / 2,
  // top = owner top + (owner height − 179) / 2 + 40.
  static QPoint PlaceOver(const QRect& owner);

  // Edt_AssemblyKeyDown: a key with evdev code `evdev` (a negative or unknown
  // code is the key "None") and the modifiers held.
  void KeyDown(int evdev, Qt::KeyboardModifiers held);

  const AssemblyKeyModel& Model() const { return model_; }

 Q_SIGNALS:
  // confirmed: the field text and the keyboard code ("02...").
  void confirmed(const QString& text, const QString& code);
  // cleared (Clear): the main window forgets any result.
  void cleared();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void paintEvent(QPaintEvent* event) override;

 private:
  void ModifierClicked(AssemblyModifier m, bool ticked);
  void Confirm();
  void ClearAll();
  void ShowField();
  void CBSetFocus();

  QPointer<QWidget> owner_;
  AssemblyKeyModel model_;
  QLineEdit* field_;
  std::array<QCheckBox*, 4> boxes_{};
};

}  // namespace korvex48::gui
