#include "core/common/file_io.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <random>

namespace korvex48 {

namespace fs = std::filesystem;

namespace {
void Fail(FileError* error, const std::string& path, std::string message) {
  if (error) *error = FileError{path, std::move(message)};
}

// Why `status` is not a regular file, or empty when it is.
std::string NotRegularReason(const fs::file_status& status) {
  switch (status.type()) {
    case fs::file_type::regular:
      return {};
    case fs::file_type::directory:
      return "is a directory";
    case fs::file_type::fifo:
      return "is a pipe (FIFO), not a file";
    case fs::file_type::character:
    case fs::file_type::block:
      return "is a device, not a file";
    case fs::file_type::socket:
      return "is a socket, not a file";
    default:
      return "is not a regular file";
  }
}

// The final target of `path` when it is a symbolic link (relative links
// resolved against their own folder), else `path`. A loop of links ends
// after 40 steps; what is left then fails later, when it is opened.
fs::path FinalTarget(fs::path path) {
  for (int i = 0; i < 40; ++i) {
    std::error_code ec;
    if (!fs::is_symlink(fs::symlink_status(path, ec))) return path;
    const fs::path link = fs::read_symlink(path, ec);
    if (ec) return path;
    path = link.is_absolute() ? link : path.parent_path() / link;
  }
  return path;
}
// A name for the temporary file beside `name` that fits every file system's
// name limit (255 bytes) whatever the length of `name`: a dot, at most 40
// bytes of `name` (cut between UTF-8 characters), a random part and ".tmp".
std::string TemporaryName(const std::string& name) {
  std::size_t keep = std::min<std::size_t>(name.size(), 40);
  while (keep > 0 && keep < name.size() && (static_cast<unsigned char>(name[keep]) & 0xC0) == 0x80)
    --keep;
  std::random_device rd;
  char random[20];
  std::snprintf(random, sizeof random, ".%08x%08x", rd(), rd());
  return "." + name.substr(0, keep) + random + ".tmp";
}

// Whether the user may write the existing file `target`, as cp would ask:
// replacing the file by a rename needs only the folder, so a file the user
// made read-only (mode 0444) would be replaced behind their back. The file
// is opened for appending, which changes neither its content nor its times.
bool MayWriteExisting(const fs::path& target, FileError* error, const std::string& path) {
  std::FILE* f = std::fopen(target.c_str(), "ab");
  if (!f) {
    Fail(error, path, std::strerror(errno));
    return false;
  }
  std::fclose(f);
  return true;
}
}  // namespace

bool CheckRegularFile(const std::string& path, FileError* error) {
  std::error_code ec;
  const fs::file_status status = fs::status(path, ec);
  if (ec) {
    Fail(error, path, ec.message());
    return false;
  }
  const std::string reason = NotRegularReason(status);
  if (reason.empty()) return true;
  Fail(error, path, reason);
  return false;
}

std::optional<std::vector<std::uint8_t>> ReadWholeFile(const std::string& path, FileError* error,
                                                       std::size_t max_bytes) {
  if (!CheckRegularFile(path, error)) return std::nullopt;
  std::error_code size_ec;
  if (fs::file_size(path, size_ec) > max_bytes && !size_ec) {
    Fail(error, path, "file is too large");
    return std::nullopt;
  }
  std::FILE* f = std::fopen(path.c_str(), "rb");
  if (!f) {
    Fail(error, path, std::strerror(errno));
    return std::nullopt;
  }
  std::vector<std::uint8_t> out;
  std::uint8_t buf[65536];
  for (;;) {
    std::size_t n = std::fread(buf, 1, sizeof buf, f);
    out.insert(out.end(), buf, buf + n);
    if (out.size() > max_bytes) {
      std::fclose(f);
      Fail(error, path, "file is too large");
      return std::nullopt;
    }
    if (n < sizeof buf) break;
  }
  bool bad = std::ferror(f) != 0;
  std::fclose(f);
  if (bad) {
    Fail(error, path, "read error");
    return std::nullopt;
  }
  return out;
}

bool WriteFileAtomically(const std::string& path, std::span<const std::uint8_t> data,
                         FileError* error) {
  const fs::path target = FinalTarget(path);
  std::error_code ec;
  const fs::file_status existing = fs::status(target, ec);
  const bool exists = !ec && fs::exists(existing);
  if (exists) {
    if (const std::string reason = NotRegularReason(existing); !reason.empty()) {
      Fail(error, path, reason);
      return false;
    }
  }
  if (exists && !MayWriteExisting(target, error, path)) return false;
  const fs::path dir = target.has_parent_path() ? target.parent_path() : fs::path(".");
  const fs::path tmp = dir / TemporaryName(target.filename().string());
  {
    // "x": never through a file or link that someone put there first.
    std::FILE* f = std::fopen(tmp.c_str(), "wbx");
    if (!f) {
      Fail(error, path, std::strerror(errno));
      return false;
    }
    bool ok = data.empty() || std::fwrite(data.data(), 1, data.size(), f) == data.size();
    ok = (std::fflush(f) == 0) && ok;
    const int write_errno = errno;
    ok = (std::fclose(f) == 0) && ok;
    if (!ok) {
      const std::string reason = write_errno != 0 ? std::strerror(write_errno) : "write error";
      std::error_code ignored;
      fs::remove(tmp, ignored);
      Fail(error, path, "could not write the file: " + reason);
      return false;
    }
  }
  if (exists) {
    std::error_code perm_ec;
    fs::permissions(tmp, existing.permissions(), fs::perm_options::replace, perm_ec);
  }
  std::error_code rename_ec;
  fs::rename(tmp, target, rename_ec);
  if (rename_ec) {
    // The reason is taken before the clean-up can touch any error state.
    const std::string reason = rename_ec.message();
    std::error_code ignored;
    fs::remove(tmp, ignored);
    Fail(error, path, reason);
    return false;
  }
  return true;
}

std::string UserDataDir() {
  const char* xdg = std::getenv("XDG_DATA_HOME");
  if (xdg && *xdg) return std::string(xdg) + "/korvex48";
  const char* home = std::getenv("HOME");
  return std::string(home && *home ? home : ".") + "/.local/share/korvex48";
}

bool EnsureDirectory(const std::string& dir, FileError* error) {
  std::error_code ec;
  fs::create_directories(dir, ec);
  std::error_code is_dir_ec;
  if (fs::is_directory(dir, is_dir_ec)) return true;
  // The reason of the step that failed (EACCES from a parent the user may
  // not write), not that of a later look at what is missing.
  Fail(error, dir, ec ? ec.message() : is_dir_ec ? is_dir_ec.message() : "is not a folder");
  return false;
}

}  // namespace korvex48
