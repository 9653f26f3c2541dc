#pragma once
// Shows the message an editing operation returned (a rule refused the click):
// the language texts of its keys one per line, or its literal text; plain
// boxes carry the application title, OK boxes no caption.
#include <QString>

#include "core/app/app_ui.h"
#include "gui/editor_context.h"
#include "gui/user_dialogs.h"

namespace korvex48::gui {

inline void ShowEditMessage(EditorContext& context, const AppMessage& message) {
  QString text = QString::fromStdString(message.Text(context.Texts().Lookup()));
  if (text.isEmpty()) return;
  if (context.message_shown) context.message_shown(message.Describe());
  text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
  const QString caption =
      message.kind == MessageBoxKind::kPlain ? context.Text("Title") : QString();
  context.dialogs.Message(text, caption);
}

}  // namespace korvex48::gui
