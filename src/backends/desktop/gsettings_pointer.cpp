#include "backends/desktop/gsettings_pointer.h"

#include "backends/desktop/gio_library.h"

namespace korvex48 {
namespace {

constexpr const char* kSpeedKey = "speed";
constexpr const char* kDoubleClickKey = "double-click";

}  // namespace

GSettingsPointer::GSettingsPointer(std::string schema_id, std::string name)
    : GSettingsPointer(std::move(schema_id), std::move(name), kGioLibraryFile) {}

GSettingsPointer::GSettingsPointer(std::string schema_id, std::string name, std::string gio_file)
    : schema_id_(std::move(schema_id)), name_(std::move(name)), gio_file_(std::move(gio_file)) {}

GSettingsPointer::~GSettingsPointer() {
  if (settings_) gio_->object_unref(settings_);
}

bool GSettingsPointer::Holds(PointerSetting setting) const {
  return setting == PointerSetting::kSpeed || setting == PointerSetting::kDoubleClick;
}

GSettings* GSettingsPointer::Settings() {
  if (tried_) return settings_;
  tried_ = true;
  gio_ = LoadGioLibrary(gio_file_, error_);
  if (!gio_) return nullptr;
  // g_settings_new() aborts the process for a schema that is not installed:
  // look it up first.
  GSettingsSchemaSource* source = gio_->schema_source_get_default();
  GSettingsSchema* schema =
      source ? gio_->schema_source_lookup(source, schema_id_.c_str(), TRUE) : nullptr;
  if (!schema) {
    error_ = "the settings schema " + schema_id_ + " is not installed";
    return nullptr;
  }
  if (!gio_->schema_has_key(schema, kSpeedKey) || !gio_->schema_has_key(schema, kDoubleClickKey)) {
    error_ = "the settings schema " + schema_id_ + " has no speed or double-click key";
  } else {
    settings_ = gio_->settings_new_full(schema, nullptr, nullptr);
  }
  gio_->schema_unref(schema);
  return settings_;
}

void GSettingsPointer::Read(PointerValues& values) {
  GSettings* settings = Settings();
  if (!settings) return;
  const int position = PositionOfGnomeSpeed(gio_->get_double(settings, kSpeedKey));
  values.speed = PointerValueOf(PointerSetting::kSpeed, position);
  values.double_click = gio_->get_int(settings, kDoubleClickKey);
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
    ok = gio_->set_double(settings, kSpeedKey, GnomeSpeedOfPosition(position)) && ok;
  }
  if (values.double_click)
    ok = gio_->set_int(settings, kDoubleClickKey, *values.double_click) && ok;
  gio_->sync();
  return ok ? std::string() : "the settings are read-only";
}

}  // namespace korvex48
