#pragma once
// Whole-file reading and atomic writing. Every file the program writes goes
// through WriteFileAtomically, so a crash or a full disk never leaves a
// half-written file: the old file stays until the new one is complete.
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace korvex48 {

struct FileError {
  std::string path;
  std::string message;  // strerror text or a short reason, for the user
};

// Whether `path` names a regular file (after symbolic links) that may be
// read: a directory, a FIFO, a device node or a socket is refused with a
// reason ("is a directory"), so that no read ever blocks on a pipe or a
// device. False with `error` filled.
bool CheckRegularFile(const std::string& path, FileError* error = nullptr);

// Reads the whole file; nullopt (and `error` filled when given) on failure.
// Refuses files larger than `max_bytes`, and anything CheckRegularFile refuses.
std::optional<std::vector<std::uint8_t>> ReadWholeFile(const std::string& path,
                                                       FileError* error = nullptr,
                                                       std::size_t max_bytes = 64u << 20);

// Writes `data` to a temporary file in the same folder, flushes it and renames
// it over `path`. On failure the old file is untouched and false is returned,
// with the system's reason. A symbolic link is followed: its final target is
// replaced and the link stays. An existing file keeps its permission bits;
// one the user may not write (mode 0444) is refused with "Permission denied"
// as cp would refuse it, and anything that exists and is not a regular file
// (a directory, a device node, a FIFO) is refused and left alone. The
// temporary name is short, so a target name of up to 255 bytes works.
bool WriteFileAtomically(const std::string& path, std::span<const std::uint8_t> data,
                         FileError* error = nullptr);

// The per-user data folder of the program: $XDG_DATA_HOME/korvex48, or
// ~/.local/share/korvex48. Not created here.
std::string UserDataDir();

// Creates `dir` and its parents when missing; true when it exists afterwards.
// Otherwise `error` holds the system's reason of the step that failed.
bool EnsureDirectory(const std::string& dir, FileError* error = nullptr);

}  // namespace korvex48
