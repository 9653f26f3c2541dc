// Whole-image read, write and reset, and the moves between the working image,
// the page copy and the pages.
#include <span>

#include "core/app/app_core.h"

namespace korvex48 {
namespace {

constexpr std::uint16_t kCustomerIdAddressI2C = 249;
constexpr std::uint16_t kCustomerIdAddressFlash = 0x6000;
constexpr std::size_t kHalf = 256;

// Bits 7-6 of parameter byte 6 for a secondary storage kind.
std::optional<std::uint8_t> SecondaryBits(const std::string& secondary) {
  if (secondary == kStorageI2C) return 0b10;
  if (secondary == kStorageFlash) return 0b11;
  return std::nullopt;
}

}  // namespace

void AppCore::Btn_Read() {
  DeviceSession& s = Session();
  s.Loading = true;
  ui_.StopDevTimer();
  ui_.LockPages();
  ui_.Show();
  ui_.ProcessEvents();

  ui_.RefreshPcMacroList();
  commands_.ReadSection(kParameterBlock, 0, working_.parameters, true);
  commands_.ReadSection(kProfileBlock, 0, working_.profiles, true);

  const StorageLayout layout = Layout();
  switch (layout) {
    case StorageLayout::kPacked: {
      const std::uint16_t base = PackedAreaAddress(s.PrimaryStorage);
      std::span<std::uint8_t> area(working_.macro_area);
      commands_.ReadMemory(base, area.first(kHalf), true);
      commands_.ReadMemory(static_cast<std::uint16_t>(base + kHalf), area.last(kHalf), true);
      break;
    }
    case StorageLayout::kSlot:
      // A read whose command failed leaves that page (or the names) as it was.
      for (std::size_t i = 0; i < kMacroPageCount; ++i)
        commands_.ReadMemory(working_.page_addresses[i], working_.macro_pages[i], true);
      commands_.ReadMemory(kSlotNamesAddress, working_.macro_area, true);
      break;
    case StorageLayout::kNone:
      break;
  }
  TakeUpMacroStorage(layout, s.PrimaryStorage);

  DataBufToUI();
  ui_.ReadOsMouseParameters();
  s.NoDevicePage = false;
  ui_.RefreshStoragePages(layout);

  ui_.Hide();
  ui_.ProcessEvents();
  ui_.StartDevTimer();
  ui_.UnlockPages();
  s.Loading = false;
}

void AppCore::DataBufToUI() {
  CopyWorkingToPage(working_, page_);
  codes_.LoadFromProfileSection(working_.profiles);
  ui_.RefreshUI();
}

void AppCore::DataBufToMemo_OnClick(const PageState& page) {
  UIToDataBuf(page, page_.parameters);
  const std::uint8_t mark = LayoutMarkOf(Layout());
  if (mark != 0) page_.parameters[0] = mark;
  CalcParameterChecksum(page_.parameters);
  working_.parameters = page_.parameters;
  CalcProfileChecksum(page_.profiles);
  working_.profiles = page_.profiles;
}

void AppCore::WriteMacroStorage() {
  switch (macros_.Layout()) {
    case StorageLayout::kPacked: {
      const std::uint16_t base = macros_.PackedAreaBase();
      std::span<const std::uint8_t> area(working_.macro_area);
      commands_.WriteMemory(base, area.first(kHalf));
      commands_.WriteMemory(static_cast<std::uint16_t>(base + kHalf), area.last(kHalf));
      break;
    }
    case StorageLayout::kSlot: {
      std::span<const std::uint8_t> names(working_.macro_area);
      commands_.WriteMemory(kSlotNamesAddress, names.first(kHalf));
      commands_.WriteMemory(static_cast<std::uint16_t>(kSlotNamesAddress + kHalf),
                            names.last(kHalf));
      for (std::size_t i = 0; i < kMacroPageCount; ++i)
        commands_.WriteMemory(working_.page_addresses[i], working_.macro_pages[i]);
      break;
    }
    case StorageLayout::kNone:
      break;
  }
}

void AppCore::WriteCustomerId() {
  const StorageLayout layout = Layout();
  if (layout == StorageLayout::kNone) return;
  const std::uint16_t address =
      Session().PrimaryStorage == kStorageI2C ? kCustomerIdAddressI2C : kCustomerIdAddressFlash;
  commands_.WriteMemory(address, working_.customer_id);
  Session().CustomerId = working_.customer_id;
}

void AppCore::WriteWholeImage() {
  commands_.WriteSection(kParameterBlock, 0, working_.parameters);
  commands_.WriteSection(kProfileBlock, 0, working_.profiles);
  WriteMacroStorage();
  WriteCustomerId();
}

void AppCore::MemoToDataBuf_OnClick() {
  ui_.HideAllMenu();
  ui_.StopDevTimer();
  ui_.LockPages();
  TakeUpMacroStorage(Layout(), Session().PrimaryStorage);
  DataBufToUI();
  ui_.Show();
  ui_.ProcessEvents();
  WriteWholeImage();
  ui_.Hide();
  ui_.ProcessEvents();
  ui_.UnlockPages();
  ui_.StartDevTimer();
}

bool AppCore::Btn_Reset_0Click() {
  if (!DeviceUsable()) {
    ui_.ShowMessage({{"Str022"}, {}, MessageBoxKind::kOkBox, {}});
    return false;
  }
  DefaultParameter();
  return true;
}

void AppCore::DefaultParameter() {
  DeviceSession& s = Session();
  ui_.HideAllMenu();
  ui_.StopDevTimer();
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
  DataBufToUI();
  WriteWholeImage();

  ui_.Hide();
  ui_.ProcessEvents();
  ui_.UnlockPages();
  ui_.StartDevTimer();
}

}  // namespace korvex48
