#include "gui/png_decode.h"

#include <png.h>

#include <cstring>

namespace korvex48::gui {
namespace {

// Pictures of the skin are at most a window in size; anything far beyond that
// is a corrupt header and must not make us allocate gigabytes.
constexpr png_uint_32 kMaxSide = 8192;

bool BeginRead(png_image& image, std::span<const std::uint8_t> bytes) {
  std::memset(&image, 0, sizeof image);
  image.version = PNG_IMAGE_VERSION;
  if (bytes.empty()) return false;
  if (!png_image_begin_read_from_memory(&image, bytes.data(), bytes.size())) return false;
  if (image.width == 0 || image.height == 0 || image.width > kMaxSide || image.height > kMaxSide) {
    png_image_free(&image);
    return false;
  }
  return true;
}

}  // namespace

QImage DecodePng(std::span<const std::uint8_t> bytes) {
  png_image image;
  if (!BeginRead(image, bytes)) return {};
  // BGRA in memory is QImage::Format_ARGB32 on little-endian machines; use the
  // byte-order independent RGBA layout and Qt's matching format instead.
  image.format = PNG_FORMAT_RGBA;
  QImage out(static_cast<int>(image.width), static_cast<int>(image.height),
             QImage::Format_RGBA8888);
  if (out.isNull()) {
    png_image_free(&image);
    return {};
  }
  if (!png_image_finish_read(&image, nullptr, out.bits(), out.bytesPerLine(), nullptr)) {
    png_image_free(&image);
    return {};
  }
  return out.convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

QSize PngSize(std::span<const std::uint8_t> bytes) {
  png_image image;
  if (!BeginRead(image, bytes)) return {};
  QSize size(static_cast<int>(image.width), static_cast<int>(image.height));
  png_image_free(&image);
  return size;
}

}  // namespace korvex48::gui
