#pragma once
// Looking up a text of the active language by its key ("Title", "Str210", ...).
// Texts are UTF-8 inside the program; the language tables are converted on load.
#include <functional>
#include <string>
#include <string_view>

namespace korvex48 {

// Returns the text stored under `key` in the active language table, or an empty
// string when the key is missing.
using TextLookup = std::function<std::string(std::string_view key)>;

}  // namespace korvex48
