#include "editor_rig.h"

#include <QAbstractButton>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QtTest>

#include "gui/main_window.h"
#include "gui/skin_widgets.h"

namespace korvex48::gui::test {

EditorRig::EditorRig(const EditorRigOptions& options) : mouse(options.storage, clock) {
  if (options.prepare) options.prepare(mouse);
  if (options.prepare_library) options.prepare_library(LibraryPath());
  EditorAppConfig config;
  config.device.default_image_file = options.default_image.toStdString();
  config.library_path = LibraryPath().toStdString();
  config.dialogs = &dialogs;
  config.clock = &clock;
  config.backend = &mouse;
  config.languages = options.languages;
  config.pointer_desktops = options.pointer_desktops;
  config.pointer_store = PointerStorePath().toStdString();
  // Each editor keeps its backups apart, in the rig's folder.
  config.backup_folder = dir.filePath(QStringLiteral("backups")).toStdString();
  if (options.ui_log) config.ui_log_file = dir.filePath(QStringLiteral("ui.log")).toStdString();
  std::string error;
  app = EditorApp::Create(config, &error);
  if (!app) qFatal("editor: %s", error.c_str());
  app->Link().SetTrace(&trace);
  Window().show();
  if (!QTest::qWaitForWindowExposed(&Window())) qFatal("window not exposed");
  if (options.connect) Poll();
  start_messages = dialogs.messages;
  dialogs.messages.clear();
  ClearSent();
}

EditorRig::~EditorRig() = default;

QStringList EditorRig::Sent() const {
  QStringList out;
  for (const std::string& line : trace.SentHex()) out.append(QString::fromStdString(line));
  return out;
}

QStringList EditorRig::UiLog() const {
  QFile file(dir.filePath(QStringLiteral("ui.log")));
  if (!file.open(QIODevice::ReadOnly)) return {};
  return QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

QWidget* EditorRig::W(const QString& name) const { return app->Window().Controls().Find(name); }

QString EditorRig::Picture(const QString& name) const {
  auto* p = qobject_cast<PictureLabel*>(W(name));
  return p ? p->picture() : QStringLiteral("<missing>");
}

QString EditorRig::Text(const QString& name) const {
  if (auto* l = qobject_cast<QLabel*>(W(name))) return l->text();
  auto* e = qobject_cast<QLineEdit*>(W(name));
  return e ? e->text() : QStringLiteral("<missing>");
}

bool EditorRig::Checked(const QString& name) const {
  auto* b = qobject_cast<QAbstractButton*>(W(name));
  return b && b->isChecked();
}

QStringList EditorRig::Rows(const QString& name) const {
  QStringList rows;
  if (auto* list = Get<QListWidget>(name))
    for (int i = 0; i < list->count(); ++i) rows.append(list->item(i)->text());
  return rows;
}

void EditorRig::Click(const QString& name, Qt::MouseButton button) {
  QWidget* w = W(name);
  QVERIFY2(w, qPrintable(name + QStringLiteral(" missing")));
  QVERIFY2(w->isVisible(), qPrintable(name + QStringLiteral(" hidden")));
  QTest::mouseClick(w, button, {}, w->rect().center());
}

void EditorRig::ClickRow(const QString& name, int row, Qt::MouseButton button) {
  auto* list = Get<QListWidget>(name);
  QVERIFY2(list && list->isVisible(), qPrintable(name));
  QVERIFY2(row >= 0 && row < list->count(), qPrintable(name));
  list->scrollToItem(list->item(row));
  const QRect at = list->visualItemRect(list->item(row));
  QTest::mouseClick(list->viewport(), button, {}, at.center());
}

}  // namespace korvex48::gui::test
