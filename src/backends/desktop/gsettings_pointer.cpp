#include "backends/desktop/gsettings_pointer.h"

#include <gio/gio.h>

namespace korvex48 {
namespace {

constexpr const char* kSpeedKey = "speed";
constexpr const char* kDoubleClickKey = "double-click";

}  // namespace

GSettingsPointer::GSettingsPointer(std::string schema_id, std::string name)
    : schema_id_(std::move(schema_id)), name_(std::move(name)) {}

GSettingsPointer::~GSettingsPointer() {
  if (settings_) g_object_unref(settings_);
}

bool GSettingsPointer::Holds(PointerSetting setting) const {
  return setting == PointerSetting::kSpeed || setting == PointerSetting::kDoubleClick;
}

GSettings* GSettingsPointer::Settings() {
  if (tried_) return settings_;
  tried_ = true;
  // g_settings_new() aborts the process for a schema that is not installed:
  // look it up first.
  GSettingsSchemaSource* source = g_settings_schema_source_get_default();
  GSettingsSchema* schema =
      source ? g_settings_schema_source_lookup(source, schema_id_.c_str(), TRUE) : nullptr;
  if (!schema) {
    error_ = "the settings schema " + schema_id_ + " is not installed";
    return nullptr;
  }
  if (!g_settings_schema_has_key(schema, kSpeedKey) ||
      !g_settings_schema_has_key(schema, kDoubleClickKey)) {
    error_ = "the settings schema " + schema_id_ + " has no speed or double-click key";
  } else {
    settings_ = g_settings_new_full(schema, nullptr, nullptr);
  }
  g_settings_schema_unref(schema);
  return settings_;
}

void GSettingsPointer::Read(PointerValues& values) {
  GSettings* settings = Settings();
  if (!settings) return;
  const int position = PositionOfGnomeSpeed(g_settings_get_double(settings, kSpeedKey));
  values.speed = PointerValueOf(PointerSetting::kSpeed, position);
  values.double_click = g_settings_get_int(settings, kDoubleClickKey);
}

std::string GSettingsPointer::Apply(const PointerValues& values) {
  GSettings* settings = Settings();
  if (!settings) return error_;
  bool ok = true;
  if (values.speed) {
    // A stored speed between two positions goes to the nearest one below.
    int position = 1;
    for (int p = 1; p <= kPointerPositions; ++p)
      if (PointerValueOf(PointerSetting::kSpeed, p) <= *values.speed) position = p;
    ok = g_settings_set_double(settings, kSpeedKey, GnomeSpeedOfPosition(position)) && ok;
  }
  if (values.double_click)
    ok = g_settings_set_int(settings, kDoubleClickKey, *values.double_click) && ok;
  g_settings_sync();
  return ok ? std::string() : "the settings are read-only";
}

}  // namespace korvex48
