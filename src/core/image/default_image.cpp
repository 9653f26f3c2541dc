#include "core/image/default_image.h"

#include <algorithm>

#include "core/common/bytes.h"
#include "core/common/resources.h"

namespace korvex48 {

namespace {
// Copies dest.size() bytes from `image` at `offset` when the image holds all of
// them; otherwise leaves `dest` as it was.
template <std::size_t N>
void CopyWhole(std::span<const std::uint8_t> image, std::size_t offset,
               std::array<std::uint8_t, N>& dest) {
  ByteReader reader(image);
  if (!reader.Skip(offset)) return;
  auto bytes = reader.Take(N);
  if (!bytes) return;
  std::copy(bytes->begin(), bytes->end(), dest.begin());
}
}  // namespace

std::span<const std::uint8_t> DefaultImageBytes() { return CoreResource("KORVEX48DATA"); }

void ReadImageHead(std::span<const std::uint8_t> image, ImageHead& head) {
  const std::size_t n = std::min(image.size(), head.size());
  std::copy_n(image.begin(), n, head.begin());
}

void ReadDefaultHead(ImageHead& head) { ReadImageHead(DefaultImageBytes(), head); }

void ReadImageSections(std::span<const std::uint8_t> image, StorageKind kind, ConfigImage& dest) {
  CopyWhole(image, kImageParameterOffset, dest.parameters);
  CopyWhole(image, kImageProfileOffset, dest.profiles);
  CopyWhole(image, kImageCustomerIdOffset, dest.customer_id);
  if (kind == StorageKind::kNone) return;
  CopyWhole(image, kImageMacroOffset, dest.macro_area);
  if (kind != StorageKind::kFlash) return;
  for (std::size_t i = 0; i < kMacroPageCount; ++i)
    CopyWhole(image, kImagePagesOffset + kMacroPageSize * i, dest.macro_pages[i]);
}

void ReadDefaultSections(StorageKind kind, ConfigImage& dest) {
  ReadImageSections(DefaultImageBytes(), kind, dest);
}

DefaultIdentifiers DefaultIdentifiersOf(const ImageHead& head) {
  DefaultIdentifiers ids;
  ids.vendor_id = static_cast<std::uint16_t>((head[2] << 8) | head[3]);
  ids.product_id = static_cast<std::uint16_t>((head[4] << 8) | head[5]);
  ids.customer_id = {head[kImageCustomerIdOffset], head[kImageCustomerIdOffset + 1]};
  ids.storage_kind = StorageKindOfMarker(head[0]);
  return ids;
}

}  // namespace korvex48
