#pragma once
// A UserDialogs for tests: answers come from queues filled by the test, and
// every question is recorded. An empty queue answers "cancel".
#include <QColor>
#include <QString>
#include <QStringList>
#include <deque>
#include <optional>

#include "gui/user_dialogs.h"

namespace korvex48::gui {

class ScriptedDialogs final : public UserDialogs {
 public:
  void Message(const QString& text, const QString& caption) override {
    messages.append(text);
    captions.append(caption);
  }
  bool Confirm(const QString& text, const QString&) override {
    questions.append(text);
    return Take(confirm_answers).value_or(false);
  }
  // Recorded with the other questions, answered from the same queue.
  bool ConfirmIrreversible(const QString& text, const QString&) override {
    questions.append(text);
    irreversible.append(text);
    return Take(confirm_answers).value_or(false);
  }
  std::optional<QString> OpenFile(const QString& filter) override {
    filters.append(filter);
    return Take(open_answers);
  }
  std::optional<QString> SaveFile(const QString& filter) override {
    filters.append(filter);
    return Take(save_answers);
  }
  std::optional<QColor> PickColor(const QColor& initial) override {
    colour_requests.append(initial);
    return Take(colour_answers);
  }

  // Answers, consumed front first.
  std::deque<bool> confirm_answers;
  std::deque<QString> open_answers;
  std::deque<QString> save_answers;
  std::deque<QColor> colour_answers;

  // What was asked, in order.
  QStringList messages;
  QStringList captions;
  QStringList questions;
  QStringList irreversible;  // the questions asked with No as the default
  QStringList filters;
  QList<QColor> colour_requests;

 private:
  template <typename T>
  static std::optional<T> Take(std::deque<T>& queue) {
    if (queue.empty()) return std::nullopt;
    T value = std::move(queue.front());
    queue.pop_front();
    return value;
  }
};

}  // namespace korvex48::gui
