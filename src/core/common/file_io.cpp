#include "core/common/file_io.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <random>

namespace korvex48 {

namespace {
void Fail(FileError* error, const std::string& path, std::string message) {
  if (error) *error = FileError{path, std::move(message)};
}
}  // namespace

std::optional<std::vector<std::uint8_t>> ReadWholeFile(const std::string& path, FileError* error,
                                                      std::size_t max_bytes) {
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
  namespace fs = std::filesystem;
  fs::path target(path);
  fs::path dir = target.has_parent_path() ? target.parent_path() : fs::path(".");
  std::random_device rd;
  fs::path tmp = dir / ("." + target.filename().string() + ".tmp" + std::to_string(rd()));
  {
    std::FILE* f = std::fopen(tmp.c_str(), "wb");
    if (!f) {
      Fail(error, path, std::strerror(errno));
      return false;
    }
    bool ok = data.empty() || std::fwrite(data.data(), 1, data.size(), f) == data.size();
    ok = (std::fflush(f) == 0) && ok;
    ok = (std::fclose(f) == 0) && ok;
    if (!ok) {
      std::error_code ec;
      fs::remove(tmp, ec);
      Fail(error, path, "could not write the file (disk full?)");
      return false;
    }
  }
  std::error_code ec;
  fs::rename(tmp, target, ec);
  if (ec) {
    fs::remove(tmp, ec);
    Fail(error, path, ec.message());
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

bool EnsureDirectory(const std::string& dir) {
  std::error_code ec;
  std::filesystem::create_directories(dir, ec);
  return std::filesystem::is_directory(dir, ec);
}

}  // namespace korvex48
