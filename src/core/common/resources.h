#pragma once
// The resources carried inside every binary: the default device image, the
// default macro library and the tables. The same files live under resources/.
#include <cstdint>
#include <span>
#include <string_view>

std::span<const std::uint8_t> korvex48_core_resource(std::string_view name);

namespace korvex48 {

// Bytes of the embedded resource `name` ("KORVEX48DATA", "PCMacroData",
// "lang1".."lang3", "ORG", "org1".."org3"); empty for an unknown name.
inline std::span<const std::uint8_t> CoreResource(std::string_view name) {
  return korvex48_core_resource(name);
}

}  // namespace korvex48
