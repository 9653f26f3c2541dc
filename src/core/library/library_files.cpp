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
  if (!parent.empty()) EnsureDirectory(parent.string());
  return WriteFileAtomically(path, bytes, error);
}

}  // namespace

std::string DefaultLibraryPath() { return UserDataDir() + "/Macro.bin"; }

ByteView DefaultLibraryBytes() { return CoreResource("PCMacroData"); }

LibraryLoadResult LoadLibraryFile(PcMacroLibrary& library, const std::string& path,
                                  FileError* error) {
  const std::string file = PathOrDefault(path);
  std::error_code ec;
  if (std::filesystem::exists(file, ec)) {
    const auto bytes = ReadWholeFile(file, error);
    if (!bytes) {
      // Never replace a library the user has with the defaults.
      library.Load({});
      return LibraryLoadResult::kReadFailed;
    }
    library.Load(*bytes);
    return LibraryLoadResult::kLoaded;
  }
  library.Load(DefaultLibraryBytes());
  return SaveLibraryFile(library, file, error) ? LibraryLoadResult::kCreated
                                               : LibraryLoadResult::kCreateFailed;
}

bool SaveLibraryFile(const PcMacroLibrary& library, const std::string& path, FileError* error) {
  return WriteBytes(PathOrDefault(path), library.ToBytes(), error);
}

bool ImportAllFromFile(PcMacroLibrary& library, const std::string& path, FileError* error) {
  const auto bytes = ReadWholeFile(path, error);
  if (!bytes) return false;
  library.ImportAll(*bytes);
  return true;
}

std::optional<Bytes> ReadMacroRecordFile(const std::string& path, FileError* error) {
  auto bytes = ReadWholeFile(path, error);
  if (!bytes) return std::nullopt;
  if (bytes->size() > kLibraryRecordSize) bytes->resize(kLibraryRecordSize);
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
