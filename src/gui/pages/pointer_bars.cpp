#include "gui/pages/pointer_bars.h"

#include <QStringList>

#include "gui/skin_widgets.h"
#include "gui/step_bar.h"

namespace korvex48::gui {
namespace {

constexpr PointerSetting kSettings[] = {PointerSetting::kSpeed, PointerSetting::kDoubleClick,
                                        PointerSetting::kWheelLines};

// The names of one bar: `title` heads its tooltip and messages, `caption`
// is what the skin draws over it and so what a screen reader calls it, and
// `family` is the family of its control names (Img_Spd1, lbl_Spd1).
struct BarNames {
  const char* title;
  const char* caption;
  const char* family;
};

const BarNames& NamesOf(PointerSetting setting) {
  static constexpr BarNames kSpeed{"Pointer speed", "Pointer speed", "Spd"};
  static constexpr BarNames kDoubleClick{"Double-click time", "Double-click speed", "DbSpd"};
  static constexpr BarNames kWheelLines{"Wheel scroll lines", "Scroll lines", "ScrSpd"};
  switch (setting) {
    case PointerSetting::kSpeed:
      return kSpeed;
    case PointerSetting::kDoubleClick:
      return kDoubleClick;
    case PointerSetting::kWheelLines:
      break;
  }
  return kWheelLines;
}

QString Title(PointerSetting setting) { return QString::fromUtf8(NamesOf(setting).title); }
QString Caption(PointerSetting setting) { return QString::fromUtf8(NamesOf(setting).caption); }
QString Family(PointerSetting setting) { return QString::fromUtf8(NamesOf(setting).family); }

std::optional<int> ValueOf(const PointerValues& v, PointerSetting setting) {
  switch (setting) {
    case PointerSetting::kSpeed:
      return v.speed;
    case PointerSetting::kDoubleClick:
      return v.double_click;
    case PointerSetting::kWheelLines:
      break;
  }
  return v.wheel_lines;
}

QString Joined(const std::vector<std::string>& names) {
  QStringList list;
  for (const std::string& n : names) list << QString::fromStdString(n);
  return list.join(QStringLiteral(", "));
}

}  // namespace

PointerBars::PointerBars(const std::array<Bar, 3>& bars, QObject* parent)
    : QObject(parent), bars_(bars) {
  for (PointerSetting setting : kSettings) {
    const Bar& bar = bars_[static_cast<std::size_t>(setting)];
    for (int k = 1; k <= kPointerPositions; ++k) {
      const auto i = static_cast<std::size_t>(k - 1);
      connect(bar.segments[i], &PictureLabel::pressed, this,
              [this, setting, k] { Clicked(setting, k); });
      // The number lies over its segment and takes the click for it; Tab
      // goes to the bar as a whole.
      connect(bar.numbers[i], &TextLabel::clicked, this,
              [this, setting, k] { Clicked(setting, k); });
      bar.numbers[i]->setFocusPolicy(Qt::NoFocus);
    }
    new StepBar(
        QStringLiteral("Bar_") + Family(setting), Caption(setting),
        {bar.segments.begin(), bar.segments.end()},
        [this, setting] { return settings_ ? settings_->Position(setting) : 0; },
        bar.segments[0]->parentWidget());
  }
  Bind(nullptr);
}

void PointerBars::Bind(PointerSettings* settings) {
  settings_ = settings;
  for (const Bar& bar : bars_) {
    for (PictureLabel* segment : bar.segments) segment->setVisible(settings_ != nullptr);
    for (TextLabel* number : bar.numbers) number->setVisible(settings_ != nullptr);
  }
  if (settings_) Show();
}

void PointerBars::Refresh() {
  if (!settings_) return;
  settings_->Refresh();
  Show();
}

void PointerBars::Clicked(PointerSetting setting, int position) {
  if (!settings_) return;
  settings_->ChooseStep(setting, position);
  Show();
}

void PointerBars::Show() {
  if (!settings_) return;
  for (PointerSetting setting : kSettings) {
    const Bar& bar = bars_[static_cast<std::size_t>(setting)];
    const int lit = settings_->Position(setting);
    const QString tip = ToolTip(setting);
    for (int k = 1; k <= kPointerPositions; ++k) {
      const auto i = static_cast<std::size_t>(k - 1);
      bar.segments[i]->SetPicture(k <= lit ? QStringLiteral("Bar1_E") : QStringLiteral("Bar1_D"),
                                  false);
      bar.segments[i]->setToolTip(tip);
      bar.numbers[i]->setToolTip(tip);
    }
    if (auto* step_bar = bar.segments[0]->parentWidget()->findChild<StepBar*>(
            QStringLiteral("Bar_") + Family(setting), Qt::FindDirectChildrenOnly))
      step_bar->setAccessibleDescription(tip);
  }
}

QString PointerBars::ToolTip(PointerSetting setting) const {
  const PointerRoute& route = settings_->Route(setting);
  const std::optional<int> value = ValueOf(settings_->Values(), setting);
  QStringList lines;
  // The step the bar shows first, as a screen reader reads the bar; then
  // the desktop's own number for it.
  const int lit = settings_->Position(setting);
  QString first =
      lit > 0
          ? QStringLiteral("%1: step %2 of %3").arg(Title(setting)).arg(lit).arg(kPointerPositions)
          : QStringLiteral("%1: unknown").arg(Title(setting));
  if (lit > 0 && value) first += QStringLiteral(" (desktop value %1)").arg(*value);
  lines << first;
  if (!route.applied.empty()) lines << QStringLiteral("Applied to: %1").arg(Joined(route.applied));
  for (const auto& [name, reason] : route.failed)
    lines << QStringLiteral("Not applied to %1: %2")
                 .arg(QString::fromStdString(name), QString::fromStdString(reason));
  for (const std::string& name : route.no_place)
    lines << QStringLiteral("%1 has no %2 setting")
                 .arg(QString::fromStdString(name), Title(setting).toLower());
  const QString path = QString::fromStdString(settings_->StorePath());
  if (!route.store_error.empty())
    lines << QStringLiteral("Not stored in %1: %2")
                 .arg(path, QString::fromStdString(route.store_error));
  else if (route.stored)
    lines << QStringLiteral("Stored in %1: no desktop keeps it").arg(path);
  else if (route.from_store)
    lines << QStringLiteral("Read from %1: no desktop keeps it").arg(path);
  else if (route.from_desktop)
    lines << QStringLiteral("Read from the desktop");
  return lines.join(QLatin1Char('\n'));
}

}  // namespace korvex48::gui
