#pragma once
// Reading a bounded part of a file, for the file formats that use only a fixed
// window of what may be a much larger file (profile files, firmware files).
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/common/file_io.h"

namespace korvex48 {

// Up to `max_bytes` bytes of the file at `path` starting at `offset`; fewer
// (possibly none) when the file ends earlier. nullopt, with `error` filled,
// when the file cannot be opened or read.
std::optional<std::vector<std::uint8_t>> ReadFileRange(const std::string& path, std::size_t offset,
                                                       std::size_t max_bytes,
                                                       FileError* error = nullptr);

}  // namespace korvex48
