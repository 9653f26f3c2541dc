#include "core/pointer/pointer_settings.h"

#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "core/common/file_io.h"
#include "core/pointer/key_file.h"
#include "core/ui/table.h"

namespace korvex48 {
namespace {

// The groups of the settings file follow the two places the values come from:
// the mouse's own settings and the desktop's (wheel lines).
constexpr std::string_view kMouseGroup = "Mouse";
constexpr std::string_view kDesktopGroup = "Desktop";

struct Field {
  std::string_view group;
  std::string_view key;
  std::optional<int> PointerValues::*member;
};

// In the order the values are read.
constexpr Field kFields[] = {
    {kMouseGroup, "MouseSensitivity", &PointerValues::speed},
    {kMouseGroup, "MouseSpeed", &PointerValues::mouse_speed},
    {kMouseGroup, "MouseThreshold1", &PointerValues::threshold1},
    {kMouseGroup, "MouseThreshold2", &PointerValues::threshold2},
    {kMouseGroup, "DoubleClickSpeed", &PointerValues::double_click},
    {kDesktopGroup, "WheelScrollLines", &PointerValues::wheel_lines},
};

constexpr PointerSetting kSettings[] = {PointerSetting::kSpeed, PointerSetting::kDoubleClick,
                                        PointerSetting::kWheelLines};

std::optional<int> PointerValues::*MemberOf(PointerSetting setting) {
  switch (setting) {
    case PointerSetting::kSpeed:
      return &PointerValues::speed;
    case PointerSetting::kDoubleClick:
      return &PointerValues::double_click;
    case PointerSetting::kWheelLines:
      break;
  }
  return &PointerValues::wheel_lines;
}

bool Exists(const std::string& path) {
  std::error_code ec;
  return std::filesystem::exists(path, ec);
}

// The file as it is on disk; an empty file when there is none, nullopt (and
// `error`) when it is there but cannot be read as a key file.
std::optional<KeyFile> LoadStore(const std::string& path, std::string* error) {
  if (!Exists(path)) return KeyFile::Parse({});
  FileError file_error;
  const auto bytes = ReadWholeFile(path, &file_error, KeyFile::kMaxBytes);
  if (!bytes) {
    *error = file_error.message;
    return std::nullopt;
  }
  auto file = KeyFile::Parse(*bytes);
  if (!file) *error = "not a settings file";
  return file;
}

}  // namespace

PointerSettings::PointerSettings(std::string store_path, std::vector<DesktopPointer*> desktops)
    : store_path_(std::move(store_path)), desktops_(std::move(desktops)) {}

std::string PointerSettings::DefaultStorePath() {
  const char* xdg = std::getenv("XDG_CONFIG_HOME");
  if (xdg && *xdg) return std::string(xdg) + "/korvex48/pointer.conf";
  const char* home = std::getenv("HOME");
  return std::string(home && *home ? home : ".") + "/.config/korvex48/pointer.conf";
}

void PointerSettings::Take(PointerSetting setting, std::optional<int> value) {
  if (!value) return;
  values_.*MemberOf(setting) = *value;
  if (const auto position = PointerPositionOf(setting, *value))
    positions_[Index(setting)] = *position;
}

void PointerSettings::Refresh() {
  for (PointerSetting s : kSettings) {
    PointerRoute& route = routes_[Index(s)];
    route = PointerRoute{};
    for (DesktopPointer* desktop : desktops_)
      if (!desktop->Holds(s)) route.no_place.push_back(desktop->Name());
  }
  if (Exists(store_path_)) {
    std::string error;
    const std::optional<KeyFile> file = LoadStore(store_path_, &error);
    if (!file) {
      for (PointerRoute& route : routes_) route.store_error = error;
      return;
    }
    // A value that is not a decimal number is passed over; the others count.
    PointerValues read;
    for (const Field& field : kFields)
      if (const auto text = file->Get(field.group, field.key))
        if (const auto v = ParseDecimal(*text)) read.*field.member = *v;
    for (auto member :
         {&PointerValues::mouse_speed, &PointerValues::threshold1, &PointerValues::threshold2})
      if (read.*member) values_.*member = read.*member;
    for (PointerSetting s : kSettings) Take(s, read.*MemberOf(s));
    return;
  }
  PointerValues read;
  for (DesktopPointer* desktop : desktops_) {
    PointerValues mine;
    desktop->Read(mine);
    for (const Field& field : kFields)
      if (!(read.*field.member)) read.*field.member = mine.*field.member;
  }
  for (auto member :
       {&PointerValues::mouse_speed, &PointerValues::threshold1, &PointerValues::threshold2})
    if (read.*member) values_.*member = read.*member;
  for (PointerSetting s : kSettings) {
    routes_[Index(s)].from_desktop = (read.*MemberOf(s)).has_value();
    Take(s, read.*MemberOf(s));
  }
}

void PointerSettings::Click(PointerSetting setting, int position) {
  if (position < 1 || position > kPointerPositions) return;
  positions_[Index(setting)] = position;
  for (PointerSetting s : kSettings)
    if (const auto value = PointerValueOf(s, positions_[Index(s)])) values_.*MemberOf(s) = *value;
  Store();
  Apply();
}

void PointerSettings::Store() {
  for (PointerRoute& route : routes_) {
    route.stored = false;
    route.store_error.clear();
  }
  std::string error;
  std::optional<KeyFile> file = LoadStore(store_path_, &error);
  if (file) {
    for (const Field& field : kFields) {
      const std::optional<int>& value = values_.*field.member;
      if (!value) continue;
      bool write = false;
      for (PointerSetting s : kSettings)
        if (MemberOf(s) == field.member) write = Position(s) != 0;
      // The acceleration values are never changed, only kept when the file
      // is made from the desktop's.
      if (!write && !file->Get(field.group, field.key) &&
          (field.member == &PointerValues::mouse_speed ||
           field.member == &PointerValues::threshold1 ||
           field.member == &PointerValues::threshold2))
        write = true;
      if (write) file->Set(field.group, field.key, std::to_string(*value));
    }
    const std::string text = file->Text();
    FileError file_error;
    const std::filesystem::path parent = std::filesystem::path(store_path_).parent_path();
    if (!parent.empty() && !EnsureDirectory(parent.string())) {
      error = parent.string() + ": cannot create the folder";
    } else if (!WriteFileAtomically(
                   store_path_,
                   ByteView(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()),
                   &file_error)) {
      error = file_error.message;
    }
  }
  for (PointerSetting s : kSettings) {
    PointerRoute& route = routes_[Index(s)];
    route.store_error = error;
    route.stored = error.empty() && Position(s) != 0;
  }
}

void PointerSettings::Apply() {
  for (PointerRoute& route : routes_) {
    route.applied.clear();
    route.failed.clear();
    route.no_place.clear();
    route.from_desktop = false;
  }
  for (DesktopPointer* desktop : desktops_) {
    const std::string error = desktop->Apply(values_);
    for (PointerSetting s : kSettings) {
      PointerRoute& route = routes_[Index(s)];
      if (!desktop->Holds(s))
        route.no_place.push_back(desktop->Name());
      else if (!(values_.*MemberOf(s)))
        continue;
      else if (error.empty())
        route.applied.push_back(desktop->Name());
      else
        route.failed.emplace_back(desktop->Name(), error);
    }
  }
}

}  // namespace korvex48
