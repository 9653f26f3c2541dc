#pragma once
// The core as one object, built the same way by every front end (the editor,
// korvex48ctl) and by the test rigs: the command set over the transport, the
// state the flows share (AppCore) started from the default image, one object
// per flow, and the page editor on top, which the core keeps current itself. Front ends implement
// AppUi to show what happens and call the core and the editor; they never hand an image back.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "core/app/app_core.h"
#include "core/app/app_ui.h"
#include "core/app/connection.h"
#include "core/app/device_macro_flows.h"
#include "core/app/firmware_flow.h"
#include "core/app/image_flows.h"
#include "core/app/profile_files.h"
#include "core/backups/backup_journal.h"
#include "core/device/command_set.h"
#include "core/device/transport.h"
#include "core/editing/page_editor.h"

namespace korvex48 {

struct EngineOptions {
  // The language the flows name things in (the macro flows compare names).
  TextLookup text;
  // Another default device image than the embedded one (a product with
  // "Flash" storage, tests); empty: the embedded image.
  std::vector<std::uint8_t> default_image;
  // The second accepted customer identifier (settings Rev_Manu_ID, Rev_Pro_ID).
  int reserve_manu_id = 0;
  int reserve_pro_id = 0;
  // Where the backups of larger changes go (DefaultBackupFolder() for the
  // front ends); empty: none are made, as for programs that only drive the
  // core.
  std::string backup_folder;
};

class Engine {
 public:
  // `transport`, `ui` and `clock` must outlive the engine. The command set
  // shows its busy pop-up through `ui`. On return the core has taken the
  // default image (identifiers, storage kind, the pages' image) and the
  // editor's state shows it; no device is searched.
  Engine(Transport& transport, AppUi& ui, Clock& clock, const EngineOptions& options);
  Engine(const Engine&) = delete;
  Engine& operator=(const Engine&) = delete;

  // The state the flows share: images, code table, macro table, connection
  // state, read-only but for the page copy edits of the editor.
  AppCore& Core() { return core_; }
  const AppCore& Core() const { return core_; }
  // The flows, one object each.
  Connection& MouseConnection() { return connection_; }
  ImageFlows& Images() { return images_; }
  ProfileFiles& Files() { return files_; }
  DeviceMacroFlows& MacroFlows() { return macro_flows_; }
  FirmwareFlow& Firmware() { return firmware_; }
  PageEditor& Editor() { return editor_; }
  const PageEditor& Editor() const { return editor_; }
  CommandSet& Commands() { return commands_; }
  // The backups and journals of larger changes; nullptr when the options
  // named no folder.
  BackupJournal* Journal() { return journal_.get(); }

 private:
  std::unique_ptr<BackupJournal> journal_;
  CommandSet commands_;
  AppCore core_;
  ImageFlows images_;
  Connection connection_;
  ProfileFiles files_;
  DeviceMacroFlows macro_flows_;
  FirmwareFlow firmware_;
  PageEditor editor_;
};

}  // namespace korvex48
