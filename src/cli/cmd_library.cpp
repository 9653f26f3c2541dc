// library ...: the macro library kept on the PC (Macro.bin), no mouse needed.
#include <cstdio>

#include "cli/commands.h"
#include "cli/json_writer.h"
#include "core/common/unicode_text.h"
#include "core/library/library_files.h"
#include "core/macros/macro_names.h"

namespace korvex48::cli {
namespace {

class Library {
 public:
  explicit Library(const GlobalOptions& options) : path_(options.library_path) {
    LoadCommandLineLibrary(options, lib_);
  }
  PcMacroLibrary& Get() { return lib_; }
  void Save() {
    FileError error;
    if (!SaveLibraryFile(lib_, path_, &error))
      Fail(kExitFile, "cannot write the macro library " + error.path + ": " + error.message);
  }
  // Row 1..Count() as a slot index.
  std::size_t Row(const std::string& text) {
    const int n = ParseInt(text, 1, static_cast<int>(kLibrarySlots), "library row");
    if (static_cast<std::size_t>(n) > lib_.Count())
      UsageError("the library has " + std::to_string(lib_.Count()) + " macros, not " +
                 std::to_string(n));
    return static_cast<std::size_t>(n - 1);
  }

 private:
  std::string path_;
  PcMacroLibrary lib_;
};

MacroLines LinesOf(const PcMacroLibrary& lib, std::size_t slot) {
  const std::size_t n = lib.EventLength(slot);
  if (n <= 1) return {};
  return DecodeMacroLines(ByteView(lib.Slot(slot).events).first(std::min<std::size_t>(n, 256)));
}

// The name rule of every way a name comes in; a refused name is never cut.
void CheckName(const std::string& name) {
  const MacroNameProblem problem = CheckMacroName(name);
  if (problem != MacroNameProblem::kNone)
    UsageError(MacroNameProblemText(problem) + ", not \"" + EscapeForTerminal(name) + "\"");
}

[[noreturn]] void Duplicate() {
  Fail(kExitRefused, MessageLine({{"Str106"}, {}, MessageBoxKind::kPlain, {}}));
}

}  // namespace

void LoadCommandLineLibrary(const GlobalOptions& options, PcMacroLibrary& library) {
  const bool named = !options.library_path.empty();
  FileError error;
  switch (LoadLibraryFile(library, options.library_path, &error,
                          named ? LibraryOpening::kNamedByUser : LibraryOpening::kProgramLibrary)) {
    case LibraryLoadResult::kReadFailed:
      Fail(kExitFile, "cannot use the macro library " + error.path + ": " + error.message);
    case LibraryLoadResult::kRefused:
      std::fprintf(stderr, "korvex48ctl: %s\n",
                   EscapeForTerminal(error.path + ": " + error.message).c_str());
      break;
    default:
      break;
  }
}

int RunLibrary(const GlobalOptions& options, const Args& args) {
  const std::string usage =
      "library list | show N | new NAME | rename N NAME | delete N | import FILE | "
      "import-all FILE | export N FILE | export-all FILE";
  if (args.empty()) UsageError("usage: korvex48ctl " + usage);
  const std::string& what = args[0];
  const Args a(args.begin() + 1, args.end());
  if (what == "list") {
    ExpectArgs(a, 0, 0, "library list");
    Library lib(options);
    const PcMacroLibrary& l = lib.Get();
    JsonWriter j;
    if (options.json) j.BeginArray();
    for (std::size_t i = 0; i < l.Count(); ++i) {
      const int length = static_cast<int>(l.EventLength(i));
      if (options.json) {
        j.BeginObject();
        j.Int("row", static_cast<long long>(i + 1));
        j.String("name", l.MacroText(i));
        j.Int("length", length);
        j.EndObject();
      } else {
        std::printf("%3zu  %-8s  %d\n", i + 1, EscapeControlCharacters(l.MacroText(i)).c_str(),
                    length);
      }
    }
    if (options.json) {
      j.EndArray();
      std::fputs(j.Text().c_str(), stdout);
    }
    return kExitOk;
  }
  if (what == "show") {
    ExpectArgs(a, 1, 1, "library show N");
    Library lib(options);
    const std::size_t slot = lib.Row(a[0]);
    const MacroLines lines = LinesOf(lib.Get(), slot);
    if (options.json) {
      JsonWriter j;
      j.BeginObject();
      j.Int("row", static_cast<long long>(slot + 1));
      j.String("name", lib.Get().MacroText(slot));
      j.Int("length", static_cast<long long>(lib.Get().EventLength(slot)));
      j.BeginArray("lines");
      for (const std::string& line : lines) j.StringItem(line);
      j.EndArray();
      j.EndObject();
      std::fputs(j.Text().c_str(), stdout);
    } else {
      std::printf("library macro %zu: %s\n", slot + 1,
                  EscapeControlCharacters(lib.Get().MacroText(slot)).c_str());
      for (const std::string& line : lines) std::printf("  %s\n", line.c_str());
    }
    return kExitOk;
  }
  if (what == "new") {
    ExpectArgs(a, 1, 1, "library new NAME");
    CheckName(a[0]);
    Library lib(options);
    switch (lib.Get().AddNew(a[0])) {
      case NameResult::kFull:
        Fail(kExitRefused, "the library is full (100 macros)");
      case NameResult::kDuplicate:
        Duplicate();
      case NameResult::kDone:
        break;
      default:
        CheckName(a[0]);
        UsageError("a macro name has 1 to 8 characters, not \"" + EscapeForTerminal(a[0]) + "\"");
    }
    lib.Save();
    return kExitOk;
  }
  if (what == "rename") {
    ExpectArgs(a, 2, 2, "library rename N NAME");
    CheckName(a[1]);
    Library lib(options);
    const std::size_t slot = lib.Row(a[0]);
    if (lib.Get().Rename(slot, a[1]) == NameResult::kDuplicate) Duplicate();
    lib.Save();
    return kExitOk;
  }
  if (what == "delete") {
    ExpectArgs(a, 1, 1, "library delete N");
    Library lib(options);
    lib.Get().Delete(lib.Row(a[0]));
    lib.Save();
    return kExitOk;
  }
  if (what == "import") {
    ExpectArgs(a, 1, 1, "library import FILE");
    Library lib(options);
    FileError error;
    const std::optional<Bytes> record = ReadMacroRecordFile(a[0], &error);
    if (!record) Fail(kExitFile, "cannot read " + a[0] + ": " + error.message);
    switch (lib.Get().ImportOne(*record)) {
      case ImportOneResult::kImported:
        break;
      case ImportOneResult::kFull:
        Fail(kExitRefused,
             "the library holds 99 macros or more; import one macro into a library "
             "with fewer");
      case ImportOneResult::kDuplicate:
        Duplicate();
      case ImportOneResult::kEmptyName:
        Fail(kExitFile, a[0] + ": the file names no macro");
      case ImportOneResult::kBadName:
        Fail(kExitFile, a[0] + ": " +
                            MacroNameProblemText(
                                CheckStoredMacroName(ByteView(*record).first(kMacroNameBytes))));
      case ImportOneResult::kNoEndByte:
        Fail(kExitFile, a[0] + ": the macro has no end byte within its 256 event bytes");
    }
    lib.Save();
    return kExitOk;
  }
  if (what == "import-all") {
    ExpectArgs(a, 1, 1, "library import-all FILE");
    Library lib(options);
    FileError error;
    if (!ImportAllFromFile(lib.Get(), a[0], &error))
      Fail(kExitFile, "cannot read " + a[0] + ": " + error.message);
    lib.Save();
    return kExitOk;
  }
  if (what == "export") {
    ExpectArgs(a, 2, 2, "library export N FILE");
    Library lib(options);
    FileError error;
    if (!ExportOneToFile(lib.Get(), lib.Row(a[0]), a[1], &error))
      Fail(kExitFile, "cannot write " + a[1] + ": " + error.message);
    return kExitOk;
  }
  if (what == "export-all") {
    ExpectArgs(a, 1, 1, "library export-all FILE");
    Library lib(options);
    FileError error;
    if (!ExportAllToFile(lib.Get(), a[0], &error))
      Fail(kExitFile, "cannot write " + a[0] + ": " + error.message);
    return kExitOk;
  }
  UsageError("usage: korvex48ctl " + usage);
}

}  // namespace korvex48::cli
