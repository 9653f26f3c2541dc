#include "core/files/file_range.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>

namespace korvex48 {

std::optional<std::vector<std::uint8_t>> ReadFileRange(const std::string& path, std::size_t offset,
                                                       std::size_t max_bytes, FileError* error) {
  auto fail = [&](std::string message) -> std::optional<std::vector<std::uint8_t>> {
    if (error) *error = FileError{path, std::move(message)};
    return std::nullopt;
  };
  if (!CheckRegularFile(path, error)) return std::nullopt;
  errno = 0;
  std::FILE* f = std::fopen(path.c_str(), "rb");
  if (!f) return fail(std::strerror(errno));
  std::vector<std::uint8_t> out;
  // Skip by reading rather than seeking; the offsets used here are small.
  std::uint8_t buf[4096];
  std::size_t skipped = 0;
  while (skipped < offset) {
    const std::size_t want = std::min(sizeof buf, offset - skipped);
    const std::size_t n = std::fread(buf, 1, want, f);
    skipped += n;
    if (n < want) break;
  }
  if (skipped == offset && max_bytes > 0) {
    out.resize(max_bytes);
    out.resize(std::fread(out.data(), 1, max_bytes, f));
  }
  const int read_errno = errno;
  const bool bad = std::ferror(f) != 0;
  std::fclose(f);
  if (bad) return fail(read_errno != 0 ? std::strerror(read_errno) : "read error");
  return out;
}

}  // namespace korvex48
