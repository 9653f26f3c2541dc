#pragma once
// One of the five page groups gbPage1..gbPage5. Each group carries its own
// background Img_Base_<k> and its own copy k of the navigation bar (picture
// Img_<name>_<k> under text label Btn_<name>_<k>), so the bar looks the same
// whichever group is shown. The group's page lies between the background and
// the bar; the blocker Disable_All_<k> lies above everything.
#include <QLabel>
#include <QString>
#include <QStringList>
#include <QWidget>

#include "gui/skin_widgets.h"

namespace korvex48::gui {

class Skin;

// The navigation controls by their name part: Btn_<name>_<k>, Img_<name>_<k>.
const QStringList& NavigationNames();
// The page and profile buttons (hover family B): Main .. Update, Save, Load.
const QStringList& PageButtonNames();
// The language buttons (hover family D).
const QStringList& LanguageButtonNames();

class PageGroup : public QWidget {
  Q_OBJECT

 public:
  PageGroup(const Skin& skin, int index, QWidget* parent);

  int Index() const { return index_; }
  // Puts `page` between the background and the navigation bar.
  void SetPage(QWidget* page);
  QWidget* Page() const { return page_; }

  PictureLabel* Background() const { return background_; }
  PictureLabel* NavPicture(const QString& name) const;
  TextLabel* NavLabel(const QString& name) const;
  QLabel* Blocker() const { return blocker_; }
  // The backups button (Img_Backups_N, Btn_Backups_N, named "Backups" in the
  // navigation signals): no layout table places it, so it takes the next
  // free place right of the buttons in Load's row, with Load's look. Called
  // after every layout.
  void PlaceBackupsButton();

 Q_SIGNALS:
  void navClicked(const QString& name);
  void navEntered(const QString& name, int index);
  void navLeft(const QString& name, int index);
  // A press on the background (or on nothing that takes presses).
  void backgroundPressed();

 protected:
  void mousePressEvent(QMouseEvent* event) override;

 private:
  int index_;
  PictureLabel* background_;
  QWidget* page_ = nullptr;
  QLabel* blocker_;
};

}  // namespace korvex48::gui
