// Whole-image read, write and reset.
#include "core/app/image_flows.h"

#include "core/app/connection.h"

namespace korvex48 {
namespace {

// Bits 7-6 of parameter byte 6 for a secondary storage kind.
std::optional<std::uint8_t> SecondaryBits(const std::string& secondary) {
  if (secondary == kStorageI2C) return 0b10;
  if (secondary == kStorageFlash) return 0b11;
  return std::nullopt;
}

}  // namespace

ImageFlows::ImageFlows(AppCore& core)
    : core_(core), transport_(core.transport_), commands_(core.commands_), ui_(core.ui_) {}

bool ImageFlows::ReadConfiguration() {
  DeviceSession& s = core_.MutableSession();
  s.Loading = true;
  core_.reread_pending_ = false;
  ui_.StopPolling();
  ui_.LockPages();
  ui_.Show();
  ui_.ProcessEvents();

  // Read into a copy: bytes of failed replies read as 0xFF, and an image made
  // of them must never reach the pages, a file or the mouse.
  ConfigImage read = core_.working_;
  int replies = 0;
  int failed = 0;
  // The transport's reason for the first failed reply, when it gave one (a
  // short reply has none, and a later good reply clears it).
  HidError first_error = HidError::kNone;
  // A read whose command was not sent counts all its replies as failed, so its
  // result adds nothing to these counts and is dropped.
  auto count = [&] {
    replies += commands_.LastReadReplies();
    failed += commands_.LastReadFailures();
    if (commands_.LastReadFailures() > 0 && first_error == HidError::kNone)
      first_error = transport_.LastError();
  };
  (void)commands_.ReadSection(kParameterBlock, 0, read.parameters, true);
  count();
  (void)commands_.ReadSection(kProfileBlock, 0, read.profiles, true);
  count();

  const StorageLayout layout = core_.Layout();
  core_.ReadMacroStorage(read, replies, failed);

  if (failed > 0) {
    core_.ForgetRead();
    // A mouse that left the bus answers no more: that is what the user needs
    // to hear, not how many replies went missing.
    const bool unplugged = transport_.DeviceGone();
    core_.transfer_problem_ = unplugged ? "the mouse was unplugged while its configuration was read"
                                        : "the mouse did not answer " + std::to_string(failed) +
                                              " of " + std::to_string(replies) +
                                              " reports of the configuration read";
    core_.reread_pending_ = !unplugged;
    core_.ShowNoDevicePages();
    ui_.Hide();
    ui_.ProcessEvents();
    ui_.StartPolling();
    ui_.UnlockPages();
    // `Loading` stays set: nothing may be written to this mouse until it was
    // read whole.
    if (!core_.read_failure_shown_) {
      core_.read_failure_shown_ = true;
      if (unplugged)
        ui_.ShowMessage({{},
                         "The mouse was unplugged while its configuration was read.",
                         MessageBoxKind::kPlain,
                         {}});
      else
        ui_.ShowMessage(
            {{},
             "The mouse did not answer " + std::to_string(failed) + " of " +
                 std::to_string(replies) + " reports; its configuration is read again.",
             MessageBoxKind::kPlain,
             first_error == HidError::kNone ? std::string() : HidErrorText(first_error)});
    }
    return false;
  }
  // The core's state first (images, macro table, the page editor through the
  // listener), then the front end hears of it and only shows it. `Loading`
  // stays set until the end: nothing the front end runs while it shows the
  // read may write to the mouse.
  core_.working_ = read;
  core_.image_read_ = true;
  core_.read_failure_shown_ = false;
  core_.transfer_problem_.clear();
  core_.AdoptMacroStorage(layout, s.PrimaryStorage);
  core_.TakeInWorkingImage();
  s.NoDevicePage = false;
  if (core_.listener_) core_.listener_->ConfigurationRead();

  ui_.RefreshDeviceMacroLists();
  ui_.RefreshUI();
  ui_.RefreshPcMacroList();
  ui_.ReadOsMouseParameters();
  ui_.RefreshStoragePages(layout);

  ui_.Hide();
  ui_.ProcessEvents();
  ui_.StartPolling();
  ui_.UnlockPages();
  s.Loading = false;
  core_.CheckUnfinishedChange();
  return true;
}

bool ImageFlows::WriteCustomerId() {
  const StorageLayout layout = core_.Layout();
  if (layout == StorageLayout::kNone) return true;
  if (!core_.Wrote(commands_.WriteMemory(CustomerIdAddress(core_.Session().PrimaryStorage),
                                         core_.working_.customer_id)))
    return false;
  core_.MutableSession().CustomerId = core_.working_.customer_id;
  return true;
}

bool ImageFlows::WriteWholeImage() {
  core_.BeginWrites();
  const bool ok =
      core_.Wrote(commands_.WriteSection(kParameterBlock, 0, core_.working_.parameters)) &&
      core_.Wrote(commands_.WriteSection(kProfileBlock, 0, core_.working_.profiles)) &&
      core_.WriteMacroStorage() && WriteCustomerId();
  core_.image_read_ = ok;
  return ok;
}

bool ImageFlows::EndWholeImageWrite(bool ok) {
  ui_.Hide();
  ui_.ProcessEvents();
  ui_.UnlockPages();
  ui_.StartPolling();
  if (!ok) {
    core_.WriteStopped();
    // A write the mouse took none of changed nothing.
    if (core_.writes_taken_ > 0) core_.ChangeWasCut(false);
  }
  return ok;
}

bool ImageFlows::WriteConfiguration() {
  ui_.CloseMenus();
  ui_.StopPolling();
  ui_.LockPages();
  core_.TakeUpMacroStorage(core_.Layout(), core_.Session().PrimaryStorage);
  core_.ShowWorkingImage();
  ui_.Show();
  ui_.ProcessEvents();
  return EndWholeImageWrite(WriteWholeImage());
}

bool ImageFlows::ResetMouse() {
  if (!core_.DeviceUsable()) {
    ui_.ShowMessage({{"Str022"}, {}, MessageBoxKind::kOkBox, {}});
    return false;
  }
  return WriteDefaults();
}

ConfigImage ImageFlows::DefaultsImage() const {
  const DeviceSession& s = core_.Session();
  const StorageLayout layout = core_.Layout();
  ConfigImage defaults;
  ReadImageSections(core_.default_image_,
                    layout == StorageLayout::kSlot ? StorageKind::kFlash : StorageKind::kI2C,
                    defaults);
  ConfigImage image = core_.working_;
  image.parameters = defaults.parameters;
  image.profiles = defaults.profiles;
  image.customer_id = defaults.customer_id;
  // The default image describes a packed-layout mouse. Written as it is into
  // a mouse with "Flash" primary storage, its byte 6 would tell the mouse a
  // different secondary kind and its marker a different layout, and the next
  // connection would read the macro pages as a packed area. Keep the mouse's
  // own storage bits and mark, with a checksum that fits.
  if (s.PrimaryStorage == kStorageFlash) {
    const ParameterSection before = image.parameters;
    if (auto bits = SecondaryBits(s.SecondaryStorage))
      image.parameters[6] = static_cast<std::uint8_t>((image.parameters[6] & 0x3F) | (*bits << 6));
    if (const std::uint8_t mark = LayoutMarkOf(layout); mark != 0) image.parameters[0] = mark;
    if (image.parameters != before) CalcParameterChecksum(image.parameters);
  }
  if (layout == StorageLayout::kSlot) {
    image.macro_area = defaults.macro_area;
    image.macro_pages = defaults.macro_pages;
  } else if (layout == StorageLayout::kPacked) {
    image.macro_area = defaults.macro_area;
  }
  return image;
}

bool ImageFlows::WriteDefaults() {
  const ConfigImage defaults = DefaultsImage();
  if (!core_.BeginChange({"reset", ""}, &defaults)) return false;
  DeviceSession& s = core_.MutableSession();
  ui_.CloseMenus();
  ui_.StopPolling();
  ui_.LockPages();
  ui_.Show();
  ui_.ProcessEvents();

  const StorageLayout layout = core_.Layout();
  core_.working_ = defaults;
  if (layout == StorageLayout::kSlot) ui_.ClearMacroEditor();
  core_.TakeUpMacroStorage(layout, s.PrimaryStorage);

  ui_.Show();
  ui_.ProcessEvents();
  core_.ShowWorkingImage();
  const bool ok = EndWholeImageWrite(WriteWholeImage());
  core_.EndChange(ok);
  return ok;
}

}  // namespace korvex48
