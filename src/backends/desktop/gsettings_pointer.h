#pragma once
// GNOME's pointer settings (and Cinnamon's, which have the same keys) through
// GIO's GSettings: "speed", a double in -1..1, and "double-click" in
// milliseconds. There is no wheel-lines key.
#include <string>

#include "core/pointer/desktop_pointer.h"

typedef struct _GSettings GSettings;

namespace korvex48 {

class GSettingsPointer final : public DesktopPointer {
 public:
  // `schema_id` such as "org.gnome.desktop.peripherals.mouse"; `name` for the
  // tool tips. Nothing is opened before the first Read or Apply.
  GSettingsPointer(std::string schema_id, std::string name);
  ~GSettingsPointer() override;
  GSettingsPointer(const GSettingsPointer&) = delete;
  GSettingsPointer& operator=(const GSettingsPointer&) = delete;

  std::string Name() const override { return name_; }
  bool Holds(PointerSetting setting) const override;
  void Read(PointerValues& values) override;
  // Sets the keys and waits until the settings backend has them.
  std::string Apply(const PointerValues& values) override;

 private:
  // The settings object; nullptr (and `error_`) when the schema is not installed.
  GSettings* Settings();

  std::string schema_id_;
  std::string name_;
  GSettings* settings_ = nullptr;
  bool tried_ = false;
  std::string error_;
};

}  // namespace korvex48
