#pragma once
// A row of step pictures (a DPI level's twelve steps, the pointer bars' ten,
// the step time's ten) as one keyboard control, as a slider would be: one Tab
// stop for the whole bar, Left/Down and Right/Up move one step, Home and End
// go to the ends. The bar is a transparent widget lying over its steps; mouse
// presses pass through it to the steps. A key step is a press on that step's
// picture, so it does exactly what a click on the step does. The bar follows
// its steps: it covers them (with the focus frame's room around them) and is
// enabled and shown as its first step is, so Tab skips the bar of a disabled
// level. Screen readers see it as a slider (control_access.h).
#include <QString>
#include <QWidget>
#include <functional>
#include <vector>

namespace korvex48::gui {

class PictureLabel;

class StepBar : public QWidget {
  Q_OBJECT

 public:
  // `steps`: the step pictures from step 1 on, siblings of the bar (the bar
  // is made in their parent). `position`: the step shown lit now, 0 for none.
  // `name`: what the bar sets, for screen readers, as the caption over the bar reads ("Effect
  // speed").
  StepBar(const QString& object_name, const QString& name, std::vector<PictureLabel*> steps,
          std::function<int()> position, QWidget* parent);

  int Steps() const { return static_cast<int>(steps_.size()); }
  int Position() const { return position_(); }
  // The value the lit step stands for, as the page shows it ("1600"); the
  // step's number unless SetValueText gave another text.
  QString ValueText() const;
  // `text(step)` gives the shown value of a step (1..Steps()).
  void SetValueText(std::function<QString(int)> text) { value_text_ = std::move(text); }
  // The number a step stands for (2000 for "2000 DPI"), which a screen
  // reader gets as the bar's value; without it, the step's number.
  void SetNumericValue(std::function<double(int)> number) { number_ = std::move(number); }
  double NumericValue(int step) const { return number_ ? number_(step) : step; }
  bool HasNumericValue() const { return static_cast<bool>(number_); }

  // Chooses `step` (clamped to 1..Steps()) as a press on its picture does;
  // nothing when the bar is disabled.
  void Choose(int step);

  // Covers the steps again and takes their enabled and shown state. Steps
  // that were never shown tell their moves only once shown, so the Tab
  // order (DescribeControls) calls this before it reads where the bar lies.
  void Follow();

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void paintEvent(QPaintEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  std::vector<PictureLabel*> steps_;
  std::function<int()> position_;
  std::function<QString(int)> value_text_;
  std::function<double(int)> number_;
};

}  // namespace korvex48::gui
