// Checks the #include lines of the toolkit-free core against its declared
// subsystem graph: a subsystem includes only its own headers and those of the
// subsystems it declares, spelled "core/<subsystem>/<file>", and from outside
// the project only the C++ standard library (no Qt, no platform headers).
#pragma once

#include <filesystem>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace korvex48::core_includes {

// Subsystem name -> the subsystems it declares as direct dependencies.
using Graph = std::map<std::string, std::set<std::string>>;

// Parses the table src/core/CMakeLists.txt writes (subsystems.txt): one line
// "<name>: <dep> <dep>..." per subsystem, each dependency declared on an
// earlier line (so the graph has no cycle). Blank lines are ignored. On a
// malformed table returns nothing and sets *error to "line N: why".
std::optional<Graph> ParseGraph(std::string_view text, std::string* error);

enum class HeaderKind {
  kStandard,    // a C++ standard library header
  kQt,          // <QString>, <QtCore/...>, <qglobal.h>
  kPlatform,    // <sys/...>, <linux/...>, POSIX and other system headers
  kCHeader,     // a C header whose C++ form exists (<stdint.h> for <cstdint>)
  kHeaderOnly,  // a header-only library one subsystem may use (kHeaderOnlyLibraries)
  kOther,       // any other library
};

// Sorts an angle-bracket include name (without the brackets).
HeaderKind ClassifyHeader(std::string_view name);

// Header-only libraries the core may include: they link nothing and are
// packaged on every supported system, so the core still links the standard
// library only. Each is allowed in the one subsystem named here, so a second
// user is a decision made in this table, not an accident.
struct HeaderOnlyLibrary {
  std::string_view folder;     // <folder/...>
  std::string_view subsystem;  // the subsystem that may include it
};
inline constexpr HeaderOnlyLibrary kHeaderOnlyLibraries[] = {
    {"nlohmann", "config"},  // JSON for the configuration's text form
};

struct Finding {
  std::string file;     // relative to the checked core folder, '/'-separated
  int line = 0;         // 1-based; 0 when the finding is about the whole file
  std::string include;  // as written, with its quotes or brackets; empty for a whole file
  std::string reason;
};

// "<prefix>/<file>:<line>: #include <include>: <reason>".
std::string Format(const Finding& finding, const std::filesystem::path& prefix);

// Checks the #include lines of one file of subsystem `subsystem`. Lines are
// read as written: an include inside #if or a block comment counts too.
// Adds the number of #include lines to *includes when given.
std::vector<Finding> CheckFile(const std::string& file, std::string_view subsystem,
                               std::string_view text, const Graph& graph, int* includes = nullptr);

struct TreeResult {
  std::vector<Finding> findings;  // by file, then by line
  int files = 0;
  int includes = 0;
};

// Checks every C and C++ source file under core_dir, whose first folder names
// its subsystem.
TreeResult CheckTree(const std::filesystem::path& core_dir, const Graph& graph);

}  // namespace korvex48::core_includes
