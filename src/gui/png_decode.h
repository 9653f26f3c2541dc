#pragma once
// PNG pictures of the skin, decoded with libpng's simplified (png_image) API.
#include <QImage>
#include <QSize>
#include <cstdint>
#include <span>

namespace korvex48::gui {

// Decodes a whole PNG held in memory into a 32-bit image: Format_RGB32 when
// the file has no alpha, Format_ARGB32_Premultiplied when it has (both ready
// for QPixmap::fromImage without a conversion). Returns a null QImage when the
// bytes are not a PNG libpng can read (truncated, corrupt, absurdly large);
// never throws.
QImage DecodePng(std::span<const std::uint8_t> bytes);

// Reads only the header: the picture's size, or an invalid QSize on failure.
QSize PngSize(std::span<const std::uint8_t> bytes);

}  // namespace korvex48::gui
