#pragma once
// The configuration as text: a JSON document with "schema": 2 that holds the
// whole configuration, so that the file alone re-creates it (see
// korvex48-config(5)). Button functions carry the names the button menus show
// in the first language ("Right Key", "Fire Key2", "Ctrl+Shift+A",
// "macro:Copy"); macro events are readable lines (macro_text.h).
#include <optional>
#include <string>
#include <string_view>

#include "core/config/configuration.h"

namespace korvex48 {

inline constexpr int kConfigTextSchema = 2;

// The document, indented two spaces, ending in a newline. Every value reads
// back to the same configuration.
std::string ConfigurationToText(const Configuration& config);

// Where a document went wrong: `place` is the path of the value
// ("profiles[2].buttons[4].function", 0-based as in jq) or "line 3, column 7"
// for a syntax error; `message` says what is wrong.
struct TextProblem {
  std::string place;
  std::string message;
  // "place: message", or the message alone.
  std::string Line() const;
};

// Reads a document. Every key must be known and every value in range; a
// missing key is an error as well (a document always describes a whole
// configuration). nullopt with `problem` set on the first error.
std::optional<Configuration> ConfigurationFromText(std::string_view text, TextProblem* problem);

// Whether bytes look like the text form rather than a binary profile: the
// first byte that is no blank is '{'.
bool LooksLikeConfigurationText(std::string_view bytes);

// The name of a button function in the text form ("Right Key", "Fire Key2",
// "macro:Copy", "code:0A000000"; "None" for no function). `macros` names
// device macros.
std::string ButtonFunctionName(const ButtonFunction& function,
                               const std::vector<DeviceMacro>& macros);

}  // namespace korvex48
