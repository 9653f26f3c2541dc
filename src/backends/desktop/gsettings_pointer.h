#pragma once
// GNOME's pointer settings (and Cinnamon's, which have the same keys) through
// GIO's GSettings: "speed", a double in -1..1, and "double-click" in
// milliseconds. There is no wheel-lines key. GIO is loaded at the first Read
// or Apply (gio_library.h), so a desktop that never asks pays nothing for it.
#include <string>

#include "core/pointer/desktop_pointer.h"

typedef struct _GSettings GSettings;

namespace korvex48 {

struct GioLibrary;

class GSettingsPointer final : public DesktopPointer {
 public:
  // `schema_id` such as "org.gnome.desktop.peripherals.mouse"; `name` for the
  // tool tips. Nothing is loaded or opened before the first Read or Apply.
  GSettingsPointer(std::string schema_id, std::string name);
  // The same with GIO loaded from `gio_file` (tests name one that is missing).
  GSettingsPointer(std::string schema_id, std::string name, std::string gio_file);
  ~GSettingsPointer() override;
  GSettingsPointer(const GSettingsPointer&) = delete;
  GSettingsPointer& operator=(const GSettingsPointer&) = delete;

  std::string Name() const override { return name_; }
  bool Holds(PointerSetting setting) const override;
  void Read(PointerValues& values) override;
  // Sets the keys and waits until the settings backend has them.
  std::string Apply(const PointerValues& values) override;

 private:
  // The settings object; nullptr (and `error_`) when GIO cannot be loaded or
  // the schema is not installed.
  GSettings* Settings();

  std::string schema_id_;
  std::string name_;
  std::string gio_file_;
  const GioLibrary* gio_ = nullptr;
  GSettings* settings_ = nullptr;
  bool tried_ = false;
  std::string error_;
};

}  // namespace korvex48
