#include "core/editing/engine.h"

namespace korvex48 {
namespace {

// The core with its options taken and started, before the editor is made on it.
AppCore& Started(AppCore& core, const EngineOptions& options, BackupJournal* journal) {
  core.SetChangeGuard(journal);
  core.SetTextLookup(options.text);
  core.SetReserveIds(options.reserve_manu_id, options.reserve_pro_id);
  if (!options.default_image.empty()) core.SetDefaultImage(options.default_image);
  core.Start();
  return core;
}

}  // namespace

Engine::Engine(Transport& transport, AppUi& ui, Clock& clock, const EngineOptions& options)
    : journal_(options.backup_folder.empty()
                   ? nullptr
                   : std::make_unique<BackupJournal>(options.backup_folder)),
      commands_(transport, ui),
      core_(transport, commands_, ui, clock),
      images_(core_),
      connection_(core_, images_),
      files_(core_, images_),
      macro_flows_(core_),
      firmware_(core_, connection_),
      editor_(Started(core_, options, journal_.get()), commands_, connection_, files_,
              macro_flows_) {}

}  // namespace korvex48
