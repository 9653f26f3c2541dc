#pragma once
// Why Add to Mouse left the mouse's macros as they were, as the message the
// Macro page shows: every refusal says so, except those the core already
// showed (Str103, a write that stopped).
#include <optional>
#include <string>

#include "core/app/app_core.h"
#include "core/app/app_ui.h"

namespace korvex48::gui {

// nullopt for kDone and for the refusals whose message was already shown;
// `name` is the library macro as listed, `layout` the mouse's macro layout.
std::optional<AppMessage> AddToMouseRefusal(MacroCommandResult result, const std::string& name,
                                            StorageLayout layout);

}  // namespace korvex48::gui
