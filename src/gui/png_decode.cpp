#include "gui/png_decode.h"

#include <png.h>

#include <QSysInfo>
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
  // Decoded straight into the QImage's own buffer: no second full-size copy,
  // which for the window backgrounds is most of the start-up's peak memory.
  // libpng's BGRA is the byte order of QImage's 32-bit formats on
  // little-endian machines, ARGB on big-endian ones. An opaque file gets
  // alpha 255 everywhere, exactly what Format_RGB32 asks for.
  const bool has_alpha = (image.format & PNG_FORMAT_FLAG_ALPHA) != 0;
  image.format = QSysInfo::ByteOrder == QSysInfo::LittleEndian ? PNG_FORMAT_BGRA : PNG_FORMAT_ARGB;
  QImage out(static_cast<int>(image.width), static_cast<int>(image.height),
             has_alpha ? QImage::Format_ARGB32 : QImage::Format_RGB32);
  if (out.isNull()) {
    png_image_free(&image);
    return {};
  }
  if (!png_image_finish_read(&image, nullptr, out.bits(), out.bytesPerLine(), nullptr)) {
    png_image_free(&image);
    return {};
  }
  // Painting wants premultiplied alpha; converted in place, without a copy.
  if (has_alpha) out.convertTo(QImage::Format_ARGB32_Premultiplied);
  return out;
}

QSize PngSize(std::span<const std::uint8_t> bytes) {
  png_image image;
  if (!BeginRead(image, bytes)) return {};
  QSize size(static_cast<int>(image.width), static_cast<int>(image.height));
  png_image_free(&image);
  return size;
}

}  // namespace korvex48::gui
