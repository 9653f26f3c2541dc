#pragma once
// The default device image shipped as the resource KORVEX48DATA: where the
// accepted identifiers and the default storage kind come from at start, and
// what Reset writes back. Reading it never fails loudly: bytes the image does
// not hold leave the destination as it was.
#include <array>
#include <cstdint>
#include <span>

#include "core/image/config_image.h"

namespace korvex48 {

using ImageHead = std::array<std::uint8_t, kImageHeadSize>;  // image bytes 0..250

// The embedded default image (empty if the resource is missing).
std::span<const std::uint8_t> DefaultImageBytes();

// Copies image bytes 0..250 of `image` into `head`; bytes past the end of
// `image` are left unchanged.
void ReadImageHead(std::span<const std::uint8_t> image, ImageHead& head);
// ReadImageHead from the embedded default image.
void ReadDefaultHead(ImageHead& head);

// Copies the parameter section, profile section and customer identifier of
// `image` into `dest`, and the macro storage of `kind`: with kI2C the 512-byte
// packed area at 256; with kFlash the names table at 256 and page i from
// 768 + 256 * i. kNone takes no macro storage. Any part `image` does not hold
// completely leaves that destination part unchanged (a 768-byte image read as
// kFlash fills no pages). `page_addresses` is never touched.
void ReadImageSections(std::span<const std::uint8_t> image, StorageKind kind, ConfigImage& dest);
// ReadImageSections from the embedded default image.
void ReadDefaultSections(StorageKind kind, ConfigImage& dest);

// What start-up derives from the default head.
struct DefaultIdentifiers {
  std::uint16_t vendor_id = 0;                    // bytes 2..3, big-endian
  std::uint16_t product_id = 0;                   // bytes 4..5, big-endian
  CustomerId customer_id{};                       // bytes 249..250
  StorageKind storage_kind = StorageKind::kNone;  // from byte 0
};
DefaultIdentifiers DefaultIdentifiersOf(const ImageHead& head);

}  // namespace korvex48
