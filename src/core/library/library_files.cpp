#include "core/library/library_files.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "core/common/resources.h"

namespace korvex48 {

namespace {

std::string PathOrDefault(const std::string& path) {
  return path.empty() ? DefaultLibraryPath() : path;
}

bool WriteBytes(const std::string& path, ByteView bytes, FileError* error) {
  const std::filesystem::path parent = std::filesystem::path(path).parent_path();
  if (!parent.empty() && !EnsureDirectory(parent.string(), error)) return false;
  return WriteFileAtomically(path, bytes, error);
}

}  // namespace

std::string LibraryFileProblem(ByteView file, bool allow_short) {
  if (file.size() > kLibraryFileSize || (!allow_short && file.size() != kLibraryFileSize))
    return "not a macro library: it has " + std::to_string(file.size()) + " bytes, a library has " +
           std::to_string(kLibraryFileSize);
  for (std::size_t i = 0; i < kLibrarySlots; ++i) {
    const std::size_t base = i * kLibraryRecordSize;
    if (base + kLibraryRecordSize > file.size()) break;  // a short record ends in zeros
    const ByteView record = file.subspan(base, kLibraryRecordSize);
    if (!PcMacroLibrary::IsOccupiedName(record.first(kMacroNameBytes))) continue;
    if (!MacroHasEndByte(record.subspan(kMacroNameBytes)))
      return "not a macro library: macro " + std::to_string(i + 1) +
             " does not end within its 256 bytes";
  }
  return {};
}

std::string MacroRecordProblem(ByteView record) {
  if (record.size() != kLibraryRecordSize)
    return "not a single macro: it has " + std::to_string(record.size()) +
           " bytes, a single macro has " + std::to_string(kLibraryRecordSize);
  if (!PcMacroLibrary::IsOccupiedName(record.first(kMacroNameBytes)))
    return "not a single macro: it has no name";
  if (!MacroHasEndByte(record.subspan(kMacroNameBytes)))
    return "not a single macro: its events do not end within 256 bytes";
  return {};
}

std::string BrokenLibraryPath(const std::string& path) {
  // An earlier refused library may still be the only copy of the user's
  // macros: it is never replaced by a later one.
  std::string kept = path + ".broken";
  for (int n = 2; n <= 1000; ++n) {
    std::error_code ec;
    if (!std::filesystem::exists(kept, ec) && !ec) return kept;
    kept = path + ".broken." + std::to_string(n);
  }
  return {};
}

std::string DefaultLibraryPath() { return UserDataDir() + "/Macro.bin"; }

ByteView DefaultLibraryBytes() { return CoreResource("PCMacroData"); }

LibraryLoadResult LoadLibraryFile(PcMacroLibrary& library, const std::string& path,
                                  FileError* error, LibraryOpening opening) {
  const std::string file = PathOrDefault(path);
  const bool named = opening == LibraryOpening::kNamedByUser;
  // Never replace a library the user has with the defaults: whatever cannot
  // be taken leaves the library empty and the file as it is.
  auto fail = [&](FileError why) {
    library.Load({});
    if (error) *error = std::move(why);
    return LibraryLoadResult::kReadFailed;
  };
  std::error_code ec;
  const bool exists = std::filesystem::exists(file, ec);
  // A folder on the way that may not be searched hides whether it exists.
  if (ec) return fail({file, ec.message()});
  if (!exists) {
    if (named) return fail({file, "No such file or directory"});
    library.Load(DefaultLibraryBytes());
    return SaveLibraryFile(library, file, error) ? LibraryLoadResult::kCreated
                                                 : LibraryLoadResult::kCreateFailed;
  }
  FileError read_error;
  const auto bytes = ReadWholeFile(file, &read_error);
  if (!bytes) return fail(read_error);
  const std::string problem = LibraryFileProblem(*bytes, true);
  if (problem.empty()) {
    library.Load(*bytes);
    return LibraryLoadResult::kLoaded;
  }
  if (named) return fail({file, problem});
  // The program's own file is kept aside, never overwritten, and the editor
  // starts from the default library as on a first start.
  const std::string kept = BrokenLibraryPath(file);
  if (kept.empty()) return fail({file, problem + "; no free name was left to keep it aside"});
  FileError kept_error;
  if (!WriteBytes(kept, *bytes, &kept_error)) return fail(kept_error);
  library.Load(DefaultLibraryBytes());
  SaveLibraryFile(library, file, nullptr);
  if (error) *error = {file, problem + "; it was kept as " + kept};
  return LibraryLoadResult::kRefused;
}

bool SaveLibraryFile(const PcMacroLibrary& library, const std::string& path, FileError* error) {
  return WriteBytes(PathOrDefault(path), library.ToBytes(), error);
}

bool ImportAllFromFile(PcMacroLibrary& library, const std::string& path, FileError* error) {
  const auto bytes = ReadWholeFile(path, error, 1u << 20);
  if (!bytes) return false;
  std::string problem = LibraryFileProblem(*bytes);
  // The names come in as those of Import One and the name dialog do.
  for (std::size_t i = 0; problem.empty() && i < kLibrarySlots; ++i) {
    const ByteView name = ByteView(*bytes).subspan(i * kLibraryRecordSize, kMacroNameBytes);
    if (!PcMacroLibrary::IsOccupiedName(name)) continue;
    const MacroNameProblem rule = CheckStoredMacroName(name);
    if (rule != MacroNameProblem::kNone)
      problem = "macro " + std::to_string(i + 1) + ": " + MacroNameProblemText(rule);
  }
  if (!problem.empty()) {
    if (error) *error = {path, problem};
    return false;
  }
  library.ImportAll(*bytes);
  return true;
}

std::optional<Bytes> ReadMacroRecordFile(const std::string& path, FileError* error) {
  auto bytes = ReadWholeFile(path, error, 1u << 20);
  if (!bytes) return std::nullopt;
  const std::string problem = MacroRecordProblem(*bytes);
  if (!problem.empty()) {
    if (error) *error = {path, problem};
    return std::nullopt;
  }
  return bytes;
}

bool ExportOneToFile(const PcMacroLibrary& library, std::size_t slot, const std::string& path,
                     FileError* error) {
  if (slot >= kLibrarySlots) {
    if (error) *error = {path, "no such macro"};
    return false;
  }
  return WriteBytes(path, library.ExportOne(slot), error);
}

bool ExportAllToFile(const PcMacroLibrary& library, const std::string& path, FileError* error) {
  return WriteBytes(path, library.ToBytes(), error);
}

std::string ExportFilePath(const std::string& chosen) {
  if (chosen.size() >= 4) {
    std::string ext = chosen.substr(chosen.size() - 4);
    std::transform(ext.begin(), ext.end(), ext.begin(),
                   [](char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c; });
    if (ext == ".bin") return chosen;
  }
  return chosen + ".bin";
}

}  // namespace korvex48
