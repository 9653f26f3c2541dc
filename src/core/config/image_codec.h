#pragma once
// The codecs between the typed configuration and the image bytes.
//
// Decoding names every code the way the pages do (fire keys by the identity
// counts of parameter byte 1, device macros by their addresses); a code the
// typed form cannot give back byte for byte stays a plain code. Encoding lays
// the typed fields over an image that holds the bytes the configuration does
// not describe, so EncodeConfiguration(DecodeConfiguration(image), image)
// gives the same image.
#include <optional>
#include <string>
#include <string_view>

#include "core/config/configuration.h"
#include "core/image/config_image.h"

namespace korvex48 {

// `primary` ("I2C" or "Flash") places the packed area, whose macro addresses
// the codes hold; the slot layout's addresses do not depend on it.
Configuration DecodeConfiguration(const ConfigImage& image, StorageLayout layout,
                                  std::string_view primary);

// The device macros of an image's storage, in list order.
std::vector<DeviceMacro> DecodeDeviceMacros(const ConfigImage& image, StorageLayout layout,
                                            std::string_view primary);

// The code of a button function; `macro_addresses` are the device addresses
// of the configuration's macros. nullopt for a macro index with no address
// or a menu tag with no fixed code.
std::optional<KeyCodeBytes> EncodeButtonFunction(const ButtonFunction& function,
                                                 std::span<const std::uint16_t> macro_addresses);

// The step time the mouse holds: byte 53, which the pages show (a mouse the
// pages wrote holds the same value in byte 52).
std::uint8_t FallTimeOfSection(const ParameterSection& parameters);
// Writes a step time to bytes 52 and 53, unless byte 53 holds it already: a
// mouse whose two bytes differ keeps them as long as the step time is not
// changed. Every writer of a whole section (a configuration, a profile save)
// goes through here, so that a save of an untouched mouse holds its bytes.
void EncodeFallTime(std::uint8_t fall_time, ParameterSection& parameters);

struct EncodeResult {
  bool ok = false;
  // Why the configuration does not fit the image: "macro 3 \"Copy\": ...".
  std::string problem;
};

// Writes `config` into `image` (its parameter and profile sections and, when
// the macros differ from those the image holds, its macro storage), whose
// other bytes are kept. The storage layout must be the configuration's. On
// failure `image` is unchanged. Checksums are not touched: the mouse takes
// single settings without them.
EncodeResult EncodeConfiguration(const Configuration& config, std::string_view primary,
                                 ConfigImage& image);

}  // namespace korvex48
