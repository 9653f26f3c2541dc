#include "backends/desktop/kde_pointer.h"

#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "backends/desktop/gio_library.h"
#include "core/common/file_io.h"
#include "core/pointer/key_file.h"
#include "core/ui/table.h"

namespace korvex48 {
namespace {

constexpr const char* kGroup = "KDE";
constexpr const char* kDoubleClickKey = "DoubleClickInterval";
constexpr const char* kWheelKey = "WheelScrollLines";

// KGlobalSettings' "settings changed" for the mouse category, and KConfig's
// notification of the changed keys: KDE programs follow either.
constexpr int kSettingsChanged = 3;
constexpr int kSettingsMouse = 0;

std::optional<KeyFile> Load(const std::string& path, std::string* error) {
  std::error_code ec;
  if (!std::filesystem::exists(path, ec)) return KeyFile::Parse({});
  FileError file_error;
  const auto bytes = ReadWholeFile(path, &file_error, KeyFile::kMaxBytes);
  if (!bytes) {
    *error = path + ": " + file_error.message;
    return std::nullopt;
  }
  auto file = KeyFile::Parse(*bytes);
  if (!file) *error = path + ": not a settings file";
  return file;
}

GVariant* ChangedKeys(const GioLibrary& gio) {
  GVariantType* type = gio.variant_type_new("a{saay}");
  GVariantType* names_type = gio.variant_type_new("aay");
  GVariantBuilder names;
  gio.builder_init(&names, names_type);
  for (const char* key : {kDoubleClickKey, kWheelKey}) {
    GVariantType* bytes_type = gio.variant_type_new("y");
    gio.builder_add_value(&names, gio.variant_new_fixed_array(
                                      bytes_type, key, std::char_traits<char>::length(key), 1));
    gio.variant_type_free(bytes_type);
  }
  GVariantBuilder groups;
  gio.builder_init(&groups, type);
  gio.builder_add(&groups, "{s@aay}", kGroup, gio.builder_end(&names));
  GVariant* result = gio.variant_new("(@a{saay})", gio.builder_end(&groups));
  gio.variant_type_free(names_type);
  gio.variant_type_free(type);
  return result;
}

// Without GIO, as without a session bus, the KDE programs see the new values
// at their next start.
void Announce() {
  std::string why;
  const GioLibrary* gio = LoadGioLibrary(kGioLibraryFile, why);
  if (!gio) return;
  GError* error = nullptr;
  GDBusConnection* bus = gio->bus_get_sync(G_BUS_TYPE_SESSION, nullptr, &error);
  if (!bus) {
    gio->error_free(error);
    return;
  }
  gio->emit_signal(bus, nullptr, "/KGlobalSettings", "org.kde.KGlobalSettings", "notifyChange",
                   gio->variant_new("(ii)", kSettingsChanged, kSettingsMouse), nullptr);
  gio->emit_signal(bus, nullptr, "/kdeglobals", "org.kde.kconfig.notify", "ConfigChanged",
                   ChangedKeys(*gio), nullptr);
  gio->flush_sync(bus, nullptr, nullptr);
  gio->object_unref(bus);
}

}  // namespace

std::string KdePointer::KdeGlobalsPath() {
  const char* xdg = std::getenv("XDG_CONFIG_HOME");
  if (xdg && *xdg) return std::string(xdg) + "/kdeglobals";
  const char* home = std::getenv("HOME");
  return std::string(home && *home ? home : ".") + "/.config/kdeglobals";
}

bool KdePointer::Holds(PointerSetting setting) const {
  return setting == PointerSetting::kDoubleClick || setting == PointerSetting::kWheelLines;
}

void KdePointer::Read(PointerValues& values) {
  std::string error;
  const std::optional<KeyFile> file = Load(path_, &error);
  if (!file) return;
  if (const auto text = file->Get(kGroup, kDoubleClickKey))
    if (const auto v = ParseDecimal(*text)) values.double_click = *v;
  if (const auto text = file->Get(kGroup, kWheelKey))
    if (const auto v = ParseDecimal(*text)) values.wheel_lines = *v;
}

std::string KdePointer::Apply(const PointerValues& values) {
  if (!values.double_click && !values.wheel_lines) return {};
  std::string error;
  std::optional<KeyFile> file = Load(path_, &error);
  if (!file) return error;  // a file we cannot read is not replaced
  if (values.double_click) file->Set(kGroup, kDoubleClickKey, std::to_string(*values.double_click));
  if (values.wheel_lines) file->Set(kGroup, kWheelKey, std::to_string(*values.wheel_lines));
  const std::string text = file->Text();
  FileError file_error;
  const std::filesystem::path parent = std::filesystem::path(path_).parent_path();
  if (!parent.empty() && !EnsureDirectory(parent.string()))
    return parent.string() + ": cannot create the folder";
  if (!WriteFileAtomically(
          path_, ByteView(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()),
          &file_error))
    return path_ + ": " + file_error.message;
  Announce();
  return {};
}

}  // namespace korvex48
