#pragma once
// What the core tells the view of its images that it keeps current itself
// (the page editor's state), each before the front end's AppUi hears of the
// same event: front ends only show what changed and never hand an image back.
#include "core/buttons/key_code_table.h"

namespace korvex48 {

class CoreListener {
 public:
  virtual ~CoreListener() = default;
  // The working image was taken into the page copy and the code table
  // (before AppUi::RefreshUI).
  virtual void ImageTakenIn() = 0;
  // A whole-image read of the mouse ended complete and was taken in (after
  // ImageTakenIn, before the front end hears of the read): the page of the
  // active profile is opened again.
  virtual void ConfigurationRead() = 0;
  // The shown profile's button labels are now `labels`: codes that named a
  // deleted device macro fell back (before AppUi::RefreshKeyLabels).
  virtual void LabelsChanged(const ButtonTexts& labels) = 0;
  // The pages show the no-device look, or the mouse was lost (before
  // AppUi::ShowNoDevicePages and AppUi::ClearDeviceState).
  virtual void DeviceGone() = 0;
};

}  // namespace korvex48
