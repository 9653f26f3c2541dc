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
  positions_[Index(setting)] = NearestPointerPosition(setting, *value);
}

void PointerSettings::Refresh() {
  for (PointerSetting s : kSettings) {
    PointerRoute& route = routes_[Index(s)];
    route = PointerRoute{};
    for (DesktopPointer* desktop : desktops_)
      if (!desktop->Holds(s)) route.no_place.push_back(desktop->Name());
  }
  // The desktops that keep their values first, in their order; what only
  // the editor's window knows counts after the file.
  PointerValues kept;
  PointerValues passing;
  for (DesktopPointer* desktop : desktops_) {
    PointerValues mine;
    desktop->Read(mine);
    PointerValues& into = desktop->KeepsValues() ? kept : passing;
    for (const Field& field : kFields)
      if (!(into.*field.member)) into.*field.member = mine.*field.member;
  }
  // A value of the file that is not a decimal number is passed over; the
  // others count.
  PointerValues stored;
  if (Exists(store_path_)) {
    std::string error;
    if (const std::optional<KeyFile> file = LoadStore(store_path_, &error)) {
      for (const Field& field : kFields)
        if (const auto text = file->Get(field.group, field.key))
          if (const auto v = ParseDecimal(*text)) stored.*field.member = *v;
    } else {
      for (PointerRoute& route : routes_) route.store_error = error;
    }
  }
  for (auto member :
       {&PointerValues::mouse_speed, &PointerValues::threshold1, &PointerValues::threshold2}) {
    if (kept.*member)
      values_.*member = kept.*member;
    else if (stored.*member)
      values_.*member = stored.*member;
    else if (passing.*member)
      values_.*member = passing.*member;
  }
  for (PointerSetting s : kSettings) {
    const auto member = MemberOf(s);
    PointerRoute& route = routes_[Index(s)];
    if (kept.*member) {
      route.from_desktop = true;
      Take(s, kept.*member);
    } else if (stored.*member) {
      route.from_store = true;
      Take(s, stored.*member);
    } else if (passing.*member) {
      route.from_desktop = true;
      Take(s, passing.*member);
    }
  }
}

void PointerSettings::ChooseStep(PointerSetting setting, int position) {
  const std::optional<int> value = PointerValueOf(setting, position);
  if (!value) return;
  positions_[Index(setting)] = position;
  values_.*MemberOf(setting) = *value;
  PointerRoute& route = routes_[Index(setting)];
  route = PointerRoute{};
  if (!Apply(setting)) Store(setting);
}

bool PointerSettings::Apply(PointerSetting setting) {
  PointerValues one;
  one.*MemberOf(setting) = values_.*MemberOf(setting);
  if (setting == PointerSetting::kSpeed) {
    one.mouse_speed = values_.mouse_speed;
    one.threshold1 = values_.threshold1;
    one.threshold2 = values_.threshold2;
  }
  PointerRoute& route = routes_[Index(setting)];
  bool kept = false;
  for (DesktopPointer* desktop : desktops_) {
    if (!desktop->Holds(setting)) {
      route.no_place.push_back(desktop->Name());
      continue;
    }
    const std::string error = desktop->Apply(one);
    if (error.empty()) {
      route.applied.push_back(desktop->Name());
      kept = kept || desktop->KeepsValues();
    } else {
      route.failed.emplace_back(desktop->Name(), error);
    }
  }
  return kept;
}

void PointerSettings::Store(PointerSetting setting) {
  PointerRoute& route = routes_[Index(setting)];
  std::string error;
  std::optional<KeyFile> file = LoadStore(store_path_, &error);
  if (file) {
    for (const Field& field : kFields)
      if (field.member == MemberOf(setting))
        file->Set(field.group, field.key, std::to_string(*(values_.*field.member)));
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
  route.store_error = error;
  route.stored = error.empty();
}

}  // namespace korvex48
