#include "backends/desktop/gio_library.h"

#include <dlfcn.h>

#include <map>
#include <mutex>

namespace korvex48 {
namespace {

struct Loaded {
  GioLibrary functions{};
  bool ok = false;
  std::string error;
};

// Resolves `name` into `function`; false (dlerror() then says why) when the
// library has no such symbol.
template <typename Function>
bool Resolve(void* handle, const char* name, Function& function) {
  function = reinterpret_cast<Function>(dlsym(handle, name));
  return function != nullptr;
}

Loaded Load(const std::string& file) {
  Loaded loaded;
  // RTLD_LOCAL: GIO's symbols stay out of the global namespace, where a
  // plug-in Qt loads later could bind to them by accident.
  void* handle = dlopen(file.c_str(), RTLD_NOW | RTLD_LOCAL);
  GioLibrary& f = loaded.functions;
  // dlsym through the handle also searches the library's dependencies
  // (libglib, libgobject). A library that lacks a function stays loaded:
  // unloading GLib's libraries is not safe, and a real GIO has them all.
  loaded.ok =
      handle &&
      Resolve(handle, "g_settings_schema_source_get_default", f.schema_source_get_default) &&
      Resolve(handle, "g_settings_schema_source_lookup", f.schema_source_lookup) &&
      Resolve(handle, "g_settings_schema_has_key", f.schema_has_key) &&
      Resolve(handle, "g_settings_schema_unref", f.schema_unref) &&
      Resolve(handle, "g_settings_new_full", f.settings_new_full) &&
      Resolve(handle, "g_settings_get_double", f.get_double) &&
      Resolve(handle, "g_settings_get_int", f.get_int) &&
      Resolve(handle, "g_settings_set_double", f.set_double) &&
      Resolve(handle, "g_settings_set_int", f.set_int) &&
      Resolve(handle, "g_settings_sync", f.sync) &&
      Resolve(handle, "g_bus_get_sync", f.bus_get_sync) &&
      Resolve(handle, "g_dbus_connection_emit_signal", f.emit_signal) &&
      Resolve(handle, "g_dbus_connection_flush_sync", f.flush_sync) &&
      Resolve(handle, "g_variant_type_new", f.variant_type_new) &&
      Resolve(handle, "g_variant_type_free", f.variant_type_free) &&
      Resolve(handle, "g_variant_builder_init", f.builder_init) &&
      Resolve(handle, "g_variant_builder_add", f.builder_add) &&
      Resolve(handle, "g_variant_builder_add_value", f.builder_add_value) &&
      Resolve(handle, "g_variant_builder_end", f.builder_end) &&
      Resolve(handle, "g_variant_new", f.variant_new) &&
      Resolve(handle, "g_variant_new_fixed_array", f.variant_new_fixed_array) &&
      Resolve(handle, "g_error_free", f.error_free) &&
      Resolve(handle, "g_object_unref", f.object_unref);
  if (!loaded.ok) {
    const char* why = dlerror();
    loaded.error = "GIO (" + file + ") cannot be loaded: " + (why ? why : "unknown error");
  }
  return loaded;
}

}  // namespace

const GioLibrary* LoadGioLibrary(const std::string& file, std::string& error) {
  static std::mutex mutex;
  // Never destroyed: a GSettingsPointer that outlives static destruction
  // still releases its settings through the table.
  static auto* loaded = new std::map<std::string, Loaded>;
  const std::lock_guard<std::mutex> lock(mutex);
  auto [it, fresh] = loaded->try_emplace(file);
  if (fresh) it->second = Load(file);
  if (!it->second.ok) {
    error = it->second.error;
    return nullptr;
  }
  return &it->second.functions;
}

}  // namespace korvex48
