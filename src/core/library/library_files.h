#pragma once
// The files of the PC macro library: Macro.bin (loaded at start, rewritten
// after every change), whole-library and single-macro import and export.
// Every write goes through WriteFileAtomically.
#include <optional>
#include <string>

#include "core/common/file_io.h"
#include "core/library/pc_macro_library.h"

namespace korvex48 {

// UserDataDir() + "/Macro.bin".
std::string DefaultLibraryPath();

// The default library: the embedded "PCMacroData" resource, 27200 bytes.
ByteView DefaultLibraryBytes();

enum class LibraryLoadResult {
  kLoaded,        // read from the file
  kCreated,       // no file: the default library was loaded and the file written
  kCreateFailed,  // no file: the default library was loaded, writing the file failed
  kReadFailed,    // the file could not be taken (unreadable, too large; with
                  // kNamedByUser also missing or no library): the library is
                  // left empty, the file untouched, and it must not be written
  kRefused,       // the file is no library (LibraryFileProblem): it was moved aside
                  // to BrokenLibraryPath(), the default library loaded and written
};

// Whose library is opened, which decides what happens to a file that is
// missing or is no library.
enum class LibraryOpening {
  // The program's own Macro.bin: a missing file is created from the default
  // library; a file that is no library is kept aside (kRefused).
  kProgramLibrary,
  // A file the user named: it must exist and be a library; nothing is
  // created, replaced or moved aside (kReadFailed with the reason).
  kNamedByUser,
};

// Why `file` cannot be taken as a whole library; empty when it can. A library
// is 27200 bytes (shorter only when `allow_short`: the missing records are
// empty) and every macro in it ends within its 256 event bytes.
std::string LibraryFileProblem(ByteView file, bool allow_short = false);
// The same for a single-macro file: exactly 272 bytes, a name, an end.
std::string MacroRecordProblem(ByteView record);

// Where a refused Macro.bin is kept: `path` + ".broken", or when that is
// taken the first free `path` + ".broken.2", ".broken.3", ... (up to 1000);
// empty when none is free.
std::string BrokenLibraryPath(const std::string& path);

// The start-up load from `path`, or DefaultLibraryPath() when empty.
LibraryLoadResult LoadLibraryFile(PcMacroLibrary& library, const std::string& path = {},
                                  FileError* error = nullptr,
                                  LibraryOpening opening = LibraryOpening::kProgramLibrary);

// Save: all 100 records to `path` (default path when empty),
// creating its folder when missing.
bool SaveLibraryFile(const PcMacroLibrary& library, const std::string& path = {},
                     FileError* error = nullptr);

// Import All from a file; on a read failure, a file that is no library
// (LibraryFileProblem) or a macro whose name breaks the name rule
// (CheckStoredMacroName) the library is unchanged and `error` says why.
bool ImportAllFromFile(PcMacroLibrary& library, const std::string& path,
                       FileError* error = nullptr);
// Reads a single-macro record file; nullopt on failure and for a file that is
// no single macro (MacroRecordProblem).
std::optional<Bytes> ReadMacroRecordFile(const std::string& path, FileError* error = nullptr);

// Export One / Export All to `path` as given.
bool ExportOneToFile(const PcMacroLibrary& library, std::size_t slot, const std::string& path,
                     FileError* error = nullptr);
bool ExportAllToFile(const PcMacroLibrary& library, const std::string& path,
                     FileError* error = nullptr);

// The export target for a name chosen in the save dialog: ".bin" is appended
// unless the name already ends in ".bin" (any case).
std::string ExportFilePath(const std::string& chosen);

}  // namespace korvex48
