#pragma once
// The profile files (a whole image in a file, saved from and loaded into the
// mouse) and the export of the device macro storage. Nothing built from an
// image the mouse did not send whole is saved.
#include <string>

#include "core/app/app_core.h"
#include "core/app/image_flows.h"

namespace korvex48 {

class ProfileFiles {
 public:
  // `core` and `images` (which writes a loaded file to the mouse) must
  // outlive the flow.
  ProfileFiles(AppCore& core, ImageFlows& images) : core_(core), images_(images) {}
  ProfileFiles(const ProfileFiles&) = delete;
  ProfileFiles& operator=(const ProfileFiles&) = delete;

  // Shows Str022 and returns false when no mouse is open (the file commands
  // call it before their dialogs).
  bool RequireOpenDevice();
  // "Save Profile" to `path`, exactly as named (the editor appends ".bin"
  // itself, ProfileFileTarget): Str022 without an open mouse and a message
  // when its configuration was not read whole, nothing written then;
  // otherwise the image prepared with `parameters` (PrepareImageForSave)
  // and written. Front ends save through PageEditor::SaveProfile.
  FileCommandResult SaveProfileFile(const std::string& path, const ParameterSection& parameters);
  // "Load Profile": layout test, then the whole-image write. A refused or
  // unreadable file leaves the images, pages and mouse unchanged.
  FileCommandResult LoadProfile(const std::string& path);
  // "Export All": the device macro storage to `chosen` + ".bin".
  FileCommandResult ExportDeviceMacros(const std::string& chosen);

 private:
  AppCore& core_;
  ImageFlows& images_;
};

}  // namespace korvex48
