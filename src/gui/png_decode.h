#pragma once
// PNG pictures of the skin, decoded with libpng's simplified (png_image) API.
#include <QImage>
#include <QSize>
#include <cstdint>
#include <span>

namespace korvex48::gui {

// Decodes a whole PNG held in memory into a 32-bit ARGB image. Returns a null
// QImage when the bytes are not a PNG libpng can read (truncated, corrupt,
// absurdly large); never throws.
QImage DecodePng(std::span<const std::uint8_t> bytes);

// Reads only the header: the picture's size, or an invalid QSize on failure.
QSize PngSize(std::span<const std::uint8_t> bytes);

}  // namespace korvex48::gui
