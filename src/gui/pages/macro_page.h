#pragma once
// The Macro page: the PC library list, the device macro list, the event list
// of the selected macro, recording (Record/Stop with its delay options), the
// insert panel, and the command pop-ups of the three lists.
#include <QButtonGroup>
#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QListWidget>

#include "gui/pages/page.h"

namespace korvex48::gui {

class MacroPage : public Page {
  Q_OBJECT

 public:
  MacroPage(EditorContext& context, QWidget* parent);
  void Opened() override;
  void ApplyLayout() override;

  // Shows the delay options (normal) or the insert panel (insert mode).
  void ShowInsertMode(bool insert);
  bool InsertMode() const { return insert_mode_; }

 private:
  QWidget* AddCommandPanel(const QString& name, const QStringList& commands);

  PictureLabel* panel_;
  QGroupBox* delay_box_;
  QGroupBox* insert_box_;
  PictureLabel* insert_base_;
  bool insert_mode_ = false;
};

}  // namespace korvex48::gui
