#pragma once
// Every question the editor asks the user goes through this seam: messages
// and questions (drawn in the skin inside the main window, MessagePanel), the profile and firmware
// file dialogs and the colour dialog. The program uses QtUserDialogs; tests install a
// ScriptedDialogs that answers from a script and records what was asked.
#include <QColor>
#include <QString>
#include <QWidget>
#include <optional>

namespace korvex48::gui {

class UserDialogs {
 public:
  virtual ~UserDialogs() = default;

  // A plain message with an OK button. `caption` may be empty.
  virtual void Message(const QString& text, const QString& caption = {}) = 0;
  // A question with OK and Cancel; true for OK.
  virtual bool Confirm(const QString& text, const QString& caption = {}) = 0;
  // A question before something that cannot be taken back, with Yes and No;
  // No is the default, the answer of Return and Escape. true for Yes.
  virtual bool ConfirmIrreversible(const QString& text, const QString& caption = {}) = 0;
  // The file to read, or nullopt when the user cancelled. `filter` is in Qt's
  // form, for example "LoadFile(*.bin)".
  virtual std::optional<QString> OpenFile(const QString& filter) = 0;
  // The name the user chose to write, or nullopt when the user cancelled.
  // Nothing is asked about existing files: the callers append ".bin" to the
  // chosen name and ask (Confirm) about the real target. A name chosen under
  // the text filter gets ".json" when it has no such suffix.
  virtual std::optional<QString> SaveFile(const QString& filter) = 0;
  // A colour, or nullopt when the user cancelled.
  virtual std::optional<QColor> PickColor(const QColor& initial) = 0;
};

// The filters of the profile and firmware dialogs.
inline const QString kLoadFileFilter = QStringLiteral("LoadFile(*.bin)");
inline const QString kSaveFileFilter = QStringLiteral("SaveFile(*.bin)");
// Save and Load Profile also offer the configuration's text form
// (korvex48-config(5)), after the binary profile, which stays the default.
inline const QString kConfigTextFilter = QStringLiteral("Configuration text (*.json)");
inline const QString kProfileLoadFilter =
    kLoadFileFilter + QStringLiteral(";;") + kConfigTextFilter;
inline const QString kProfileSaveFilter =
    kSaveFileFilter + QStringLiteral(";;") + kConfigTextFilter;

// The real dialogs, modal over `parent`. Messages and questions are drawn
// inside `parent` once it is shown (before, as message boxes of their own).
class QtUserDialogs final : public UserDialogs {
 public:
  explicit QtUserDialogs(QWidget* parent) : parent_(parent) {}
  void SetParent(QWidget* parent) { parent_ = parent; }
  void Message(const QString& text, const QString& caption) override;
  bool Confirm(const QString& text, const QString& caption) override;
  bool ConfirmIrreversible(const QString& text, const QString& caption) override;
  std::optional<QString> OpenFile(const QString& filter) override;
  std::optional<QString> SaveFile(const QString& filter) override;
  std::optional<QColor> PickColor(const QColor& initial) override;

 private:
  QWidget* parent_;
};

}  // namespace korvex48::gui
