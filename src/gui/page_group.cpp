#include "gui/page_group.h"

#include <QMouseEvent>
#include <algorithm>

#include "gui/control_access.h"
#include "gui/skin.h"

namespace korvex48::gui {

const QStringList& NavigationNames() {
  static const QStringList names = {
      QStringLiteral("Main"),   QStringLiteral("Switch"), QStringLiteral("Fixed"),
      QStringLiteral("Adv"),    QStringLiteral("Breath"), QStringLiteral("Macro"),
      QStringLiteral("Update"), QStringLiteral("Save"),   QStringLiteral("Load"),
      QStringLiteral("Lang1"),  QStringLiteral("Lang2"),  QStringLiteral("Lang3"),
      QStringLiteral("Reset"),  QStringLiteral("Exit"),   QStringLiteral("Web")};
  return names;
}

const QStringList& PageButtonNames() {
  static const QStringList names = {
      QStringLiteral("Main"),   QStringLiteral("Switch"), QStringLiteral("Fixed"),
      QStringLiteral("Adv"),    QStringLiteral("Breath"), QStringLiteral("Macro"),
      QStringLiteral("Update"), QStringLiteral("Save"),   QStringLiteral("Load")};
  return names;
}

const QStringList& LanguageButtonNames() {
  static const QStringList names = {QStringLiteral("Lang1"), QStringLiteral("Lang2"),
                                    QStringLiteral("Lang3")};
  return names;
}

namespace {

QString NormalLook(const QString& name) {
  if (name == QLatin1String("Reset") || name == QLatin1String("Exit"))
    return QStringLiteral("BtnS_01");
  if (name == QLatin1String("Web")) return QStringLiteral("WebS_01");
  return QStringLiteral("SetS_01");
}

}  // namespace

PageGroup::PageGroup(const Skin& skin, int index, QWidget* parent)
    : QWidget(parent), index_(index) {
  setObjectName(QStringLiteral("gbPage%1").arg(index));
  setGeometry(0, 0, 800, 600);
  background_ = new PictureLabel(skin, QStringLiteral("Img_Base_%1").arg(index), this);
  background_->SetPicture(QStringLiteral("L1_BackGround"));
  background_->SetTakesPresses(false);

  for (const QString& name : NavigationNames()) {
    auto* picture = new PictureLabel(skin, QStringLiteral("Img_%1_%2").arg(name).arg(index), this);
    picture->SetPicture(NormalLook(name));
    auto* label = new TextLabel(QStringLiteral("Btn_%1_%2").arg(name).arg(index), this);
    label->resize(picture->size());
    if (name == QLatin1String("Update")) {
      // The layout tables leave this label's font alone: its designed font
      // matches the other navigation labels of the shipped tables.
      QFont font = label->font();
      font.setPointSize(11);
      label->setFont(font);
    }
    // The window's own commands lie at its top right, but come last with
    // Tab: after the page and its navigation bar.
    if (name == QLatin1String("Reset") || name == QLatin1String("Exit")) SetTabLast(label);
    connect(label, &TextLabel::clicked, this, [this, name] { Q_EMIT navClicked(name); });
    connect(label, &TextLabel::entered, this, [this, name] { Q_EMIT navEntered(name, index_); });
    connect(label, &TextLabel::left, this, [this, name] { Q_EMIT navLeft(name, index_); });
  }

  {
    const QString name = QStringLiteral("Backups");
    auto* picture = new PictureLabel(skin, QStringLiteral("Img_Backups_%1").arg(index), this);
    picture->SetPicture(NormalLook(name));
    auto* label = new TextLabel(QStringLiteral("Btn_Backups_%1").arg(index), this);
    label->resize(picture->size());
    label->setText(QStringLiteral("Backups"));
    label->setAccessibleName(QStringLiteral("Backups"));
    connect(label, &TextLabel::clicked, this, [this, name] { Q_EMIT navClicked(name); });
    connect(label, &TextLabel::entered, this, [this, name] { Q_EMIT navEntered(name, index_); });
    connect(label, &TextLabel::left, this, [this, name] { Q_EMIT navLeft(name, index_); });
  }

  // Transparent; while shown it swallows every click on the group.
  blocker_ = new QLabel(this);
  blocker_->setObjectName(QStringLiteral("Disable_All_%1").arg(index));
  blocker_->setGeometry(0, 0, 800, 600);
  blocker_->setAttribute(Qt::WA_NoMousePropagation);
  blocker_->hide();
}

void PageGroup::SetPage(QWidget* page) {
  page_ = page;
  page->setParent(this);
  page->setGeometry(0, 0, 800, 600);
  page->stackUnder(background_);
  background_->stackUnder(page);
  // Above the page: every navigation control and the blocker.
  for (const QString& name : NavigationNames()) {
    NavPicture(name)->raise();
    NavLabel(name)->raise();
  }
  NavPicture(QStringLiteral("Backups"))->raise();
  NavLabel(QStringLiteral("Backups"))->raise();
  blocker_->raise();
}

void PageGroup::PlaceBackupsButton() {
  PictureLabel* load = NavPicture(QStringLiteral("Load"));
  TextLabel* load_label = NavLabel(QStringLiteral("Load"));
  PictureLabel* picture = NavPicture(QStringLiteral("Backups"));
  TextLabel* label = NavLabel(QStringLiteral("Backups"));
  if (!load || !load_label || !picture || !label) return;
  int right = load->x();
  for (const QString& name : NavigationNames()) {
    const PictureLabel* p = NavPicture(name);
    if (p && !p->isHidden() && p->y() == load->y()) right = std::max(right, p->x());
  }
  // The gap the tables leave between Save and Load.
  constexpr int kGap = 4;
  const int dx = right + load->width() + kGap - load->x();
  picture->setGeometry(load->geometry().translated(dx, 0));
  label->setGeometry(load_label->geometry().translated(dx, 0));
  label->setFont(load_label->font());
  label->setStyleSheet(load_label->styleSheet());
  label->setPalette(load_label->palette());
}

PictureLabel* PageGroup::NavPicture(const QString& name) const {
  return findChild<PictureLabel*>(QStringLiteral("Img_%1_%2").arg(name).arg(index_),
                                  Qt::FindDirectChildrenOnly);
}

TextLabel* PageGroup::NavLabel(const QString& name) const {
  return findChild<TextLabel*>(QStringLiteral("Btn_%1_%2").arg(name).arg(index_),
                               Qt::FindDirectChildrenOnly);
}

void PageGroup::mousePressEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) {
    event->accept();
    Q_EMIT backgroundPressed();
    return;
  }
  QWidget::mousePressEvent(event);
}

}  // namespace korvex48::gui
