// Construction, start-up from the default image, and shared state helpers.
#include "core/app/app_core.h"

namespace korvex48 {

AppCore::AppCore(Transport& transport, CommandSet& commands, AppUi& ui, Clock& clock)
    : transport_(transport), commands_(commands), ui_(ui), clock_(clock) {
  commands_.SetBusyUi(ui_);
  const auto image = DefaultImageBytes();
  default_image_.assign(image.begin(), image.end());
}

void AppCore::SetDefaultImage(std::span<const std::uint8_t> image) {
  default_image_.assign(image.begin(), image.end());
}

void AppCore::SetReserveIds(int manu, int pro) {
  rev_manu_id_ = manu;
  rev_pro_id_ = pro;
}

void AppCore::Start() {
  ImageHead head{};
  ReadImageHead(default_image_, head);
  defaults_ = DefaultIdentifiersOf(head);
  id_table_[0] = {defaults_.vendor_id, defaults_.product_id};
  id_table_[1] = {};
  TakeDefaultImage();
}

void AppCore::TakeDefaultImage() {
  ConfigImage defaults;
  ReadImageSections(default_image_, defaults_.storage_kind, defaults);
  working_.parameters = defaults.parameters;
  working_.profiles = defaults.profiles;
  switch (defaults_.storage_kind) {
    case StorageKind::kI2C:
      working_.macro_area = defaults.macro_area;
      TakeUpMacroStorage(StorageLayout::kPacked, kStorageI2C);
      break;
    case StorageKind::kFlash:
      working_.macro_area = defaults.macro_area;
      working_.macro_pages = defaults.macro_pages;
      TakeUpMacroStorage(StorageLayout::kSlot, kStorageFlash);
      break;
    case StorageKind::kNone:
      TakeUpMacroStorage(StorageLayout::kNone, "");
      break;
  }
  ShowWorkingImage();
}

StorageLayout AppCore::Layout() const {
  return StorageLayoutOf(Session().PrimaryStorage, Session().SecondaryStorage);
}

bool AppCore::DeviceUsable() const { return Session().HandlesValid() && !Session().Loading; }

KeyNameSources AppCore::NameSources() const {
  KeyNameSources sources;
  sources.text = text_;
  sources.fireIdentity = FireIdentityCounts::FromParameterByte(page_.parameters[1]);
  sources.deviceMacros = refs_;
  return sources;
}

void AppCore::MacrosChanged() {
  macros_.StoreTo(working_);
  refs_ = macros_.Refs();
}

void AppCore::AdoptMacroStorage(StorageLayout layout, std::string_view primary) {
  macros_.SetStorage(layout, primary);
  macros_.TakeUp(working_);
  MacrosChanged();
}

void AppCore::TakeUpMacroStorage(StorageLayout layout, std::string_view primary) {
  AdoptMacroStorage(layout, primary);
  ui_.RefreshDeviceMacroLists();
}

void AppCore::ShowNoDeviceLook() {
  DeviceSession& s = MutableSession();
  ui_.ShowNoDeviceOverlay();
  ui_.CloseMenus();
  ui_.StopLabelRun();
  ui_.ProcessEvents();
  ShowNoDevicePages();
  if (listener_) listener_->DeviceGone();
  ui_.ClearDeviceState();
  s.SecondaryStorage.clear();
  s.PrimaryStorage.clear();
}

void AppCore::ShowNoDevicePages() {
  MutableSession().NoDevicePage = true;
  if (listener_) listener_->DeviceGone();
  ui_.ShowNoDevicePages();
}

}  // namespace korvex48
