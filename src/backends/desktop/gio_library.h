#pragma once
// The functions of GIO the desktop backends call (GSettings for GNOME and
// Cinnamon, the session bus for KDE's change signals), loaded at run time
// instead of linked. Most starts never call them, and linking libgio pulls
// libgobject, libgmodule, libffi, libmount, libblkid and libselinux into
// every one.
//
// Contract: the first LoadGioLibrary of a file dlopens it and resolves every
// function below; later calls with the same file give the same result without
// trying again. A loaded library is never unloaded: GSettings and GDBus leave
// threads and registered types behind. Thread-safe.
#include <gio/gio.h>

#include <string>

namespace korvex48 {

inline constexpr const char* kGioLibraryFile = "libgio-2.0.so.0";

struct GioLibrary {
  // GSettings
  decltype(&g_settings_schema_source_get_default) schema_source_get_default;
  decltype(&g_settings_schema_source_lookup) schema_source_lookup;
  decltype(&g_settings_schema_has_key) schema_has_key;
  decltype(&g_settings_schema_unref) schema_unref;
  decltype(&g_settings_new_full) settings_new_full;
  decltype(&g_settings_get_double) get_double;
  decltype(&g_settings_get_int) get_int;
  decltype(&g_settings_set_double) set_double;
  decltype(&g_settings_set_int) set_int;
  decltype(&g_settings_sync) sync;
  // The session bus and the GVariants of its signals
  decltype(&g_bus_get_sync) bus_get_sync;
  decltype(&g_dbus_connection_emit_signal) emit_signal;
  decltype(&g_dbus_connection_flush_sync) flush_sync;
  decltype(&g_variant_type_new) variant_type_new;
  decltype(&g_variant_type_free) variant_type_free;
  decltype(&g_variant_builder_init) builder_init;
  decltype(&g_variant_builder_add) builder_add;
  decltype(&g_variant_builder_add_value) builder_add_value;
  decltype(&g_variant_builder_end) builder_end;
  decltype(&g_variant_new) variant_new;
  decltype(&g_variant_new_fixed_array) variant_new_fixed_array;
  decltype(&g_error_free) error_free;
  // Both
  decltype(&g_object_unref) object_unref;
};

// The functions of `file` (kGioLibraryFile but in tests); nullptr when the
// library or one of the functions is missing, with `error` saying so.
const GioLibrary* LoadGioLibrary(const std::string& file, std::string& error);

}  // namespace korvex48
