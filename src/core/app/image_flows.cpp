// Whole-image read, write and reset, and the moves between the working image,
// the page copy and the pages.
#include <cctype>
#include <span>

#include "core/app/app_core.h"
#include "core/app/connection.h"

namespace korvex48 {
namespace {

constexpr std::size_t kHalf = 256;

// Bits 7-6 of parameter byte 6 for a secondary storage kind.
std::optional<std::uint8_t> SecondaryBits(const std::string& secondary) {
  if (secondary == kStorageI2C) return 0b10;
  if (secondary == kStorageFlash) return 0b11;
  return std::nullopt;
}

}  // namespace

bool AppCore::ReadConfiguration() {
  DeviceSession& s = MutableSession();
  s.Loading = true;
  reread_pending_ = false;
  ui_.StopPolling();
  ui_.LockPages();
  ui_.Show();
  ui_.ProcessEvents();

  // Read into a copy: bytes of failed replies read as 0xFF, and an image made
  // of them must never reach the pages, a file or the mouse.
  ConfigImage read = working_;
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

  const StorageLayout layout = Layout();
  ReadMacroStorage(read, replies, failed);

  if (failed > 0) {
    ForgetRead();
    // A mouse that left the bus answers no more: that is what the user needs
    // to hear, not how many replies went missing.
    const bool unplugged = transport_.DeviceGone();
    transfer_problem_ = unplugged
                            ? "the mouse was unplugged while its configuration was read"
                            : "the mouse did not answer " + std::to_string(failed) + " of " +
                                  std::to_string(replies) + " reports of the configuration read";
    reread_pending_ = !unplugged;
    ShowNoDevicePages();
    ui_.Hide();
    ui_.ProcessEvents();
    ui_.StartPolling();
    ui_.UnlockPages();
    // `Loading` stays set: nothing may be written to this mouse until it was
    // read whole.
    if (!read_failure_shown_) {
      read_failure_shown_ = true;
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
  working_ = read;
  image_read_ = true;
  read_failure_shown_ = false;
  transfer_problem_.clear();
  AdoptMacroStorage(layout, s.PrimaryStorage);
  TakeInWorkingImage();
  s.NoDevicePage = false;
  if (listener_) listener_->ConfigurationRead();

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
  return true;
}

void AppCore::ReadMacroStorage(ConfigImage& read, int& replies, int& failed) {
  // A read whose command was not sent counts all its replies as failed.
  auto count = [&] {
    replies += commands_.LastReadReplies();
    failed += commands_.LastReadFailures();
  };
  switch (Layout()) {
    case StorageLayout::kPacked: {
      const std::uint16_t base = PackedAreaAddress(Session().PrimaryStorage);
      std::span<std::uint8_t> area(read.macro_area);
      (void)commands_.ReadMemory(base, area.first(kHalf), true);
      count();
      (void)commands_.ReadMemory(static_cast<std::uint16_t>(base + kHalf), area.last(kHalf), true);
      count();
      break;
    }
    case StorageLayout::kSlot:
      for (std::size_t i = 0; i < kMacroPageCount; ++i) {
        (void)commands_.ReadMemory(read.page_addresses[i], read.macro_pages[i], true);
        count();
      }
      (void)commands_.ReadMemory(kSlotNamesAddress, read.macro_area, true);
      count();
      break;
    case StorageLayout::kNone:
      break;
  }
}

void AppCore::ForgetRead() {
  image_read_ = false;
  reread_pending_ = false;
}

void AppCore::TakeInWorkingImage() {
  CopyWorkingToPage(working_, page_);
  codes_.LoadFromProfileSection(working_.profiles);
  if (listener_) listener_->ImageTakenIn();
}

void AppCore::ShowWorkingImage() {
  TakeInWorkingImage();
  ui_.RefreshUI();
}

void AppCore::PrepareImageForSave(const ParameterSection& parameters) {
  page_.parameters = parameters;
  const std::uint8_t mark = LayoutMarkOf(Layout());
  if (mark != 0) page_.parameters[0] = mark;
  CalcParameterChecksum(page_.parameters);
  working_.parameters = page_.parameters;
  CalcProfileChecksum(page_.profiles);
  working_.profiles = page_.profiles;
}

void AppCore::BeginWrites() {
  writes_taken_ = 0;
  transfer_problem_.clear();
}

bool AppCore::Wrote(bool ok) {
  writes_taken_ += commands_.LastWriteTaken();
  if (!ok && transfer_problem_.empty() && transport_.LastError() == HidError::kGone) {
    transfer_problem_ =
        "the mouse was unplugged after it took " + std::to_string(writes_taken_) + " reports";
  } else if (!ok && transfer_problem_.empty()) {
    transfer_problem_ =
        "the mouse took " + std::to_string(writes_taken_) + " reports, then stopped";
    if (transport_.LastError() != HidError::kNone)
      transfer_problem_ += std::string(": ") + HidErrorText(transport_.LastError());
  }
  return ok;
}

std::string AppCore::StoppedWriteText() const {
  if (writes_taken_ == 0)
    return "the mouse took none of the reports: its configuration was not changed";
  // The working image is what the user chose; the mouse holds part of it.
  return "the mouse's configuration is incomplete: load a profile or reset";
}

void AppCore::WriteStopped() {
  std::string text = StoppedWriteText();
  text[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(text[0])));
  ui_.ShowMessage({{}, text + ".", MessageBoxKind::kPlain, transfer_problem_});
}

bool AppCore::WriteMacroStorage() {
  switch (macros_.Layout()) {
    case StorageLayout::kPacked: {
      const std::uint16_t base = macros_.PackedAreaBase();
      std::span<const std::uint8_t> area(working_.macro_area);
      return Wrote(commands_.WriteMemory(base, area.first(kHalf))) &&
             Wrote(
                 commands_.WriteMemory(static_cast<std::uint16_t>(base + kHalf), area.last(kHalf)));
    }
    case StorageLayout::kSlot: {
      std::span<const std::uint8_t> names(working_.macro_area);
      if (!Wrote(commands_.WriteMemory(kSlotNamesAddress, names.first(kHalf))) ||
          !Wrote(commands_.WriteMemory(static_cast<std::uint16_t>(kSlotNamesAddress + kHalf),
                                       names.last(kHalf))))
        return false;
      for (std::size_t i = 0; i < kMacroPageCount; ++i)
        if (!Wrote(commands_.WriteMemory(working_.page_addresses[i], working_.macro_pages[i])))
          return false;
      return true;
    }
    case StorageLayout::kNone:
      break;
  }
  return true;
}

bool AppCore::WriteCustomerId() {
  const StorageLayout layout = Layout();
  if (layout == StorageLayout::kNone) return true;
  if (!Wrote(
          commands_.WriteMemory(CustomerIdAddress(Session().PrimaryStorage), working_.customer_id)))
    return false;
  MutableSession().CustomerId = working_.customer_id;
  return true;
}

bool AppCore::WriteWholeImage() {
  BeginWrites();
  const bool ok = Wrote(commands_.WriteSection(kParameterBlock, 0, working_.parameters)) &&
                  Wrote(commands_.WriteSection(kProfileBlock, 0, working_.profiles)) &&
                  WriteMacroStorage() && WriteCustomerId();
  image_read_ = ok;
  return ok;
}

bool AppCore::EndWholeImageWrite(bool ok) {
  ui_.Hide();
  ui_.ProcessEvents();
  ui_.UnlockPages();
  ui_.StartPolling();
  if (!ok) WriteStopped();
  return ok;
}

bool AppCore::WriteConfiguration() {
  ui_.CloseMenus();
  ui_.StopPolling();
  ui_.LockPages();
  TakeUpMacroStorage(Layout(), Session().PrimaryStorage);
  ShowWorkingImage();
  ui_.Show();
  ui_.ProcessEvents();
  return EndWholeImageWrite(WriteWholeImage());
}

bool AppCore::ResetMouse() {
  if (!DeviceUsable()) {
    ui_.ShowMessage({{"Str022"}, {}, MessageBoxKind::kOkBox, {}});
    return false;
  }
  return WriteDefaults();
}

bool AppCore::WriteDefaults() {
  DeviceSession& s = MutableSession();
  ui_.CloseMenus();
  ui_.StopPolling();
  ui_.LockPages();
  ui_.Show();
  ui_.ProcessEvents();

  const StorageLayout layout = Layout();
  ConfigImage defaults;
  ReadImageSections(default_image_,
                    layout == StorageLayout::kSlot ? StorageKind::kFlash : StorageKind::kI2C,
                    defaults);
  working_.parameters = defaults.parameters;
  working_.profiles = defaults.profiles;
  working_.customer_id = defaults.customer_id;
  // The default image describes a packed-layout mouse. Written as it is into
  // a mouse with "Flash" primary storage, its byte 6 would tell the mouse a
  // different secondary kind and its marker a different layout, and the next
  // connection would read the macro pages as a packed area. Keep the mouse's
  // own storage bits and mark, with a checksum that fits.
  if (s.PrimaryStorage == kStorageFlash) {
    const ParameterSection before = working_.parameters;
    if (auto bits = SecondaryBits(s.SecondaryStorage))
      working_.parameters[6] =
          static_cast<std::uint8_t>((working_.parameters[6] & 0x3F) | (*bits << 6));
    if (const std::uint8_t mark = LayoutMarkOf(layout); mark != 0) working_.parameters[0] = mark;
    if (working_.parameters != before) CalcParameterChecksum(working_.parameters);
  }
  if (layout == StorageLayout::kSlot) {
    working_.macro_area = defaults.macro_area;
    working_.macro_pages = defaults.macro_pages;
    ui_.ClearMacroEditor();
  } else if (layout == StorageLayout::kPacked) {
    working_.macro_area = defaults.macro_area;
  }
  TakeUpMacroStorage(layout, s.PrimaryStorage);

  ui_.Show();
  ui_.ProcessEvents();
  ShowWorkingImage();
  return EndWholeImageWrite(WriteWholeImage());
}

}  // namespace korvex48
