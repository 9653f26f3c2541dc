#include "include_checker.h"

#include <algorithm>
#include <fstream>
#include <iterator>
#include <sstream>

namespace korvex48::core_includes {
namespace {

// The headers of the C++ standard library (C++20, and C++23's where the
// compiler has them).
constexpr std::string_view kStandardHeaders[] = {
    "algorithm",
    "any",
    "array",
    "atomic",
    "barrier",
    "bit",
    "bitset",
    "cassert",
    "cctype",
    "cerrno",
    "cfenv",
    "cfloat",
    "charconv",
    "chrono",
    "cinttypes",
    "climits",
    "clocale",
    "cmath",
    "codecvt",
    "compare",
    "complex",
    "concepts",
    "condition_variable",
    "coroutine",
    "csetjmp",
    "csignal",
    "cstdarg",
    "cstddef",
    "cstdint",
    "cstdio",
    "cstdlib",
    "cstring",
    "ctime",
    "cuchar",
    "cwchar",
    "cwctype",
    "deque",
    "exception",
    "execution",
    "expected",
    "filesystem",
    "flat_map",
    "flat_set",
    "format",
    "forward_list",
    "fstream",
    "functional",
    "future",
    "generator",
    "initializer_list",
    "iomanip",
    "ios",
    "iosfwd",
    "iostream",
    "istream",
    "iterator",
    "latch",
    "limits",
    "list",
    "locale",
    "map",
    "mdspan",
    "memory",
    "memory_resource",
    "mutex",
    "new",
    "numbers",
    "numeric",
    "optional",
    "ostream",
    "print",
    "queue",
    "random",
    "ranges",
    "ratio",
    "regex",
    "scoped_allocator",
    "semaphore",
    "set",
    "shared_mutex",
    "source_location",
    "span",
    "spanstream",
    "sstream",
    "stack",
    "stacktrace",
    "stdexcept",
    "stdfloat",
    "stop_token",
    "streambuf",
    "string",
    "string_view",
    "syncstream",
    "system_error",
    "thread",
    "tuple",
    "type_traits",
    "typeindex",
    "typeinfo",
    "unordered_map",
    "unordered_set",
    "utility",
    "valarray",
    "variant",
    "vector",
    "version",
};

// POSIX and glibc headers without a folder, the ones a device or file layer
// would reach for. Headers in a folder (<sys/...>, <linux/...>) are caught by
// the folder.
constexpr std::string_view kPlatformHeaders[] = {
    "unistd.h",  "fcntl.h",  "dirent.h",  "dlfcn.h",   "errno.h",     "poll.h",
    "pthread.h", "pwd.h",    "signal.h",  "termios.h", "libudev.h",   "syslog.h",
    "glob.h",    "grp.h",    "spawn.h",   "sched.h",   "semaphore.h", "mntent.h",
    "libgen.h",  "malloc.h", "windows.h", "alloca.h",  "endian.h",    "features.h",
};

bool Contains(const auto& list, std::string_view name) {
  return std::find(std::begin(list), std::end(list), name) != std::end(list);
}

std::string_view Trim(std::string_view s) {
  const auto first = s.find_first_not_of(" \t\r");
  if (first == std::string_view::npos) return {};
  const auto last = s.find_last_not_of(" \t\r");
  return s.substr(first, last - first + 1);
}

std::vector<std::string_view> Words(std::string_view s) {
  std::vector<std::string_view> words;
  while (!(s = Trim(s)).empty()) {
    const auto end = std::min(s.find_first_of(" \t\r"), s.size());
    words.push_back(s.substr(0, end));
    s.remove_prefix(end);
  }
  return words;
}

// Whether `to` can be reached from `from` along declared dependencies.
bool Reaches(const Graph& graph, const std::string& from, const std::string& to) {
  std::vector<std::string> stack{from};
  std::set<std::string> seen;
  while (!stack.empty()) {
    const std::string at = stack.back();
    stack.pop_back();
    if (at == to) return true;
    if (!seen.insert(at).second) continue;
    if (auto it = graph.find(at); it != graph.end())
      stack.insert(stack.end(), it->second.begin(), it->second.end());
  }
  return false;
}

// The reason a "core/..." include breaks the rules, or empty when it keeps them.
std::string CheckCoreInclude(std::string_view path, std::string_view subsystem,
                             const Graph& graph) {
  path.remove_prefix(5);  // "core/"
  const auto slash = path.find('/');
  if (slash == std::string_view::npos || slash == 0 || slash + 1 == path.size())
    return "a core header is spelled \"core/<subsystem>/<file>\"";
  const std::string target(path.substr(0, slash));
  for (std::string_view rest = path; !rest.empty();) {
    const auto end = std::min(rest.find('/'), rest.size());
    const std::string_view part = rest.substr(0, end);
    if (part == ".." || part == ".") return "a core header path has no \".\" or \"..\" parts";
    rest.remove_prefix(std::min(end + 1, rest.size()));
  }
  if (!graph.contains(target)) return "no core subsystem is named " + target;
  if (target == subsystem) return {};
  const std::string self(subsystem);
  const auto own = graph.find(self);
  if (own == graph.end()) return "folder " + self + " is no declared subsystem";
  if (own->second.contains(target)) return {};
  if (Reaches(graph, target, self)) return "upward include: " + target + " depends on " + self;
  return self + " does not declare a dependency on " + target + " (src/core/CMakeLists.txt)";
}

std::string CheckSystemInclude(std::string_view name, std::string_view subsystem) {
  switch (ClassifyHeader(name)) {
    case HeaderKind::kStandard:
      return {};
    case HeaderKind::kHeaderOnly:
      for (const HeaderOnlyLibrary& library : kHeaderOnlyLibraries) {
        if (name.substr(0, name.find('/')) == library.folder && subsystem != library.subsystem)
          return "header-only library " + std::string(library.folder) + " is for subsystem " +
                 std::string(library.subsystem) + " only";
      }
      return {};
    case HeaderKind::kQt:
      return "Qt header in the toolkit-free core";
    case HeaderKind::kPlatform:
      return "platform header in the core (it belongs in a backend)";
    case HeaderKind::kCHeader:
      return "C header: the core uses <c" + std::string(name.substr(0, name.size() - 2)) + ">";
    case HeaderKind::kOther:
      break;
  }
  return "not a C++ standard library header: the core links the standard library only";
}

bool IsSourceFile(const std::filesystem::path& path) {
  static constexpr std::string_view kExtensions[] = {".h",   ".hh", ".hpp", ".hxx", ".inc",
                                                     ".ipp", ".c",  ".cc",  ".cpp", ".cxx"};
  return Contains(kExtensions, path.extension().string());
}

}  // namespace

std::optional<Graph> ParseGraph(std::string_view text, std::string* error) {
  Graph graph;
  int number = 0;
  auto fail = [&](const std::string& why) {
    if (error) *error = "line " + std::to_string(number) + ": " + why;
    return std::nullopt;
  };
  while (!text.empty()) {
    ++number;
    const auto end = std::min(text.find('\n'), text.size());
    const std::string_view line = Trim(text.substr(0, end));
    text.remove_prefix(std::min(end + 1, text.size()));
    if (line.empty()) continue;
    const auto colon = line.find(':');
    if (colon == std::string_view::npos) return fail("expected \"<name>: <dep>...\"");
    const std::vector<std::string_view> names = Words(line.substr(0, colon));
    if (names.size() != 1) return fail("expected one subsystem name before ':'");
    const std::string name(names.front());
    if (graph.contains(name)) return fail(name + " is declared twice");
    std::set<std::string> deps;
    for (std::string_view dep : Words(line.substr(colon + 1))) {
      if (!graph.contains(std::string(dep)))
        return fail(name + " depends on " + std::string(dep) + ", which is not declared before it");
      deps.emplace(dep);
    }
    graph.emplace(name, std::move(deps));
  }
  return graph;
}

HeaderKind ClassifyHeader(std::string_view name) {
  if (Contains(kStandardHeaders, name)) return HeaderKind::kStandard;
  const bool in_folder = name.find('/') != std::string_view::npos;
  const std::string_view first = name.substr(0, name.find('/'));
  // <QString>, <QtCore/qobject.h>, <qtconfig.h>, and Qt's lower-case <qglobal.h> forms.
  if (first.starts_with('Q') || first.starts_with("qt") ||
      (!in_folder && name.starts_with('q') && name.ends_with(".h")))
    return HeaderKind::kQt;
  for (const HeaderOnlyLibrary& library : kHeaderOnlyLibraries)
    if (in_folder && first == library.folder) return HeaderKind::kHeaderOnly;
  if (in_folder) {
    static constexpr std::string_view kPlatformFolders[] = {
        "sys",  "linux", "asm", "asm-generic", "bits", "netinet",
        "arpa", "net",   "X11", "gio",         "glib"};
    return Contains(kPlatformFolders, first) ? HeaderKind::kPlatform : HeaderKind::kOther;
  }
  if (Contains(kPlatformHeaders, name)) return HeaderKind::kPlatform;
  if (name.ends_with(".h") &&
      Contains(kStandardHeaders, "c" + std::string(name.substr(0, name.size() - 2))))
    return HeaderKind::kCHeader;
  return HeaderKind::kOther;
}

std::string Format(const Finding& finding, const std::filesystem::path& prefix) {
  std::string text = (prefix / finding.file).generic_string();
  if (finding.line > 0) text += ":" + std::to_string(finding.line);
  text += ": ";
  if (!finding.include.empty()) text += "#include " + finding.include + ": ";
  return text + finding.reason;
}

std::vector<Finding> CheckFile(const std::string& file, std::string_view subsystem,
                               std::string_view text, const Graph& graph, int* includes) {
  std::vector<Finding> findings;
  int number = 0;
  while (!text.empty()) {
    ++number;
    const auto end = std::min(text.find('\n'), text.size());
    std::string_view line = Trim(text.substr(0, end));
    text.remove_prefix(std::min(end + 1, text.size()));
    if (!line.starts_with('#')) continue;
    line = Trim(line.substr(1));
    if (!line.starts_with("include")) continue;
    line.remove_prefix(7);
    if (line.starts_with("_next")) line.remove_prefix(5);
    line = Trim(line);
    if (includes) ++*includes;

    const char open = line.empty() ? '\0' : line.front();
    const char close = open == '<' ? '>' : '"';
    const auto closing = open == '<' || open == '"' ? line.find(close, 1) : std::string_view::npos;
    if (closing == std::string_view::npos) {
      findings.push_back({file, number, std::string(line),
                          "computed or malformed include: write the header's name"});
      continue;
    }
    const std::string_view name = line.substr(1, closing - 1);
    const std::string written(line.substr(0, closing + 1));
    std::string reason;
    if (name.starts_with("core/"))
      reason = CheckCoreInclude(name, subsystem, graph);
    else if (open == '"')
      reason = "a core header is spelled \"core/<subsystem>/<file>\"";
    else
      reason = CheckSystemInclude(name, subsystem);
    if (!reason.empty()) findings.push_back({file, number, written, std::move(reason)});
  }
  return findings;
}

TreeResult CheckTree(const std::filesystem::path& core_dir, const Graph& graph) {
  TreeResult result;
  std::vector<std::filesystem::path> files;
  std::error_code ec;
  for (auto it = std::filesystem::recursive_directory_iterator(core_dir, ec);
       !ec && it != std::filesystem::recursive_directory_iterator(); it.increment(ec)) {
    if (it->is_regular_file() && IsSourceFile(it->path())) files.push_back(it->path());
  }
  if (ec) {
    result.findings.push_back({".", 0, {}, "cannot list the folder: " + ec.message()});
    return result;
  }
  std::sort(files.begin(), files.end());

  for (const auto& path : files) {
    const std::filesystem::path relative = path.lexically_relative(core_dir);
    const std::string file = relative.generic_string();
    const std::string subsystem = relative.begin()->string();
    ++result.files;
    if (std::next(relative.begin()) == relative.end()) {
      result.findings.push_back({file, 0, {}, "a core file lives in a subsystem's folder"});
      continue;
    }
    if (!graph.contains(subsystem)) {
      result.findings.push_back(
          {file,
           0,
           {},
           "folder " + subsystem + " is no subsystem declared in src/core/CMakeLists.txt"});
      continue;
    }
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    if (in.is_open()) text << in.rdbuf();
    if (!in.is_open() || in.bad()) {
      result.findings.push_back({file, 0, {}, "cannot read the file"});
      continue;
    }
    for (Finding& finding : CheckFile(file, subsystem, text.str(), graph, &result.includes))
      result.findings.push_back(std::move(finding));
  }
  return result;
}

}  // namespace korvex48::core_includes
