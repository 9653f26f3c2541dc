#include "backends/desktop/kde_pointer.h"

#include <gio/gio.h>

#include <cstdlib>
#include <filesystem>
#include <system_error>

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

GVariant* ChangedKeys() {
  GVariantType* type = g_variant_type_new("a{saay}");
  GVariantType* names_type = g_variant_type_new("aay");
  GVariantBuilder names;
  g_variant_builder_init(&names, names_type);
  for (const char* key : {kDoubleClickKey, kWheelKey}) {
    GVariantType* bytes_type = g_variant_type_new("y");
    g_variant_builder_add_value(
        &names, g_variant_new_fixed_array(bytes_type, key, std::char_traits<char>::length(key), 1));
    g_variant_type_free(bytes_type);
  }
  GVariantBuilder groups;
  g_variant_builder_init(&groups, type);
  g_variant_builder_add(&groups, "{s@aay}", kGroup, g_variant_builder_end(&names));
  GVariant* result = g_variant_new("(@a{saay})", g_variant_builder_end(&groups));
  g_variant_type_free(names_type);
  g_variant_type_free(type);
  return result;
}

void Announce() {
  GError* error = nullptr;
  GDBusConnection* bus = g_bus_get_sync(G_BUS_TYPE_SESSION, nullptr, &error);
  if (!bus) {
    g_error_free(error);
    return;
  }
  g_dbus_connection_emit_signal(bus, nullptr, "/KGlobalSettings", "org.kde.KGlobalSettings",
                                "notifyChange",
                                g_variant_new("(ii)", kSettingsChanged, kSettingsMouse), nullptr);
  g_dbus_connection_emit_signal(bus, nullptr, "/kdeglobals", "org.kde.kconfig.notify",
                                "ConfigChanged", ChangedKeys(), nullptr);
  g_dbus_connection_flush_sync(bus, nullptr, nullptr);
  g_object_unref(bus);
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
