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
  kReadFailed,    // the file exists but could not be read; library left empty and
                  // the file untouched
};

// The start-up load from `path`, or DefaultLibraryPath() when empty.
LibraryLoadResult LoadLibraryFile(PcMacroLibrary& library, const std::string& path = {},
                                  FileError* error = nullptr);

// Save: all 100 records to `path` (default path when empty),
// creating its folder when missing.
bool SaveLibraryFile(const PcMacroLibrary& library, const std::string& path = {},
                     FileError* error = nullptr);

// Import All from a file; on a read failure the library is unchanged.
bool ImportAllFromFile(PcMacroLibrary& library, const std::string& path,
                       FileError* error = nullptr);
// Reads a single-macro record file (its first 272 bytes); nullopt on failure.
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
