#include "core/image/config_image.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

#include "core/image/default_image.h"
#include "core/image/image_copies.h"

namespace korvex48 {
namespace {

std::vector<std::uint8_t> ResourceFileOnDisk() {
  std::ifstream in(std::filesystem::path(KORVEX48_SOURCE_DIR) / "resources/image/KORVEX48DATA",
                   std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

TEST(DefaultImage, ShipsTheTableWithAZeroMacroArea) {
  const auto embedded = DefaultImageBytes();
  const auto on_disk = ResourceFileOnDisk();
  ASSERT_EQ(embedded.size(), kPackedImageSize);
  EXPECT_TRUE(std::equal(embedded.begin(), embedded.end(), on_disk.begin(), on_disk.end()));
  EXPECT_EQ(embedded[0], 0xE0);
  EXPECT_EQ(embedded[103], 0x60);
  EXPECT_EQ(embedded[248], 0x70);
  for (std::size_t i = kImageCustomerIdOffset; i < kImageMacroOffset; ++i)
    EXPECT_EQ(embedded[i], 0xFF) << i;
  for (std::size_t i = kImageMacroOffset; i < embedded.size(); ++i)
    ASSERT_EQ(embedded[i], 0x00) << i;
}

TEST(Checksums, RecomputedOverThePrecedingBytesOnly) {
  ConfigImage image;
  ReadDefaultSections(StorageKind::kI2C, image);
  struct Case {
    const char* name;
    ParameterSection parameters;
    ProfileSection profiles;
    std::uint8_t parameter_sum;
    std::uint8_t profile_sum;
  };
  ParameterSection zeros_p{};
  ProfileSection zeros_f{};
  ParameterSection ones_p;
  ones_p.fill(0xFF);  // 103 * 255 = 0x6699 -> 0x99 ^ 0x5A
  ProfileSection ones_f;
  ones_f.fill(0xFF);  // 144 * 255 = 0x8F70 -> 0x70 ^ 0x5A
  // A stale checksum byte must not take part in the sum.
  ParameterSection stale_p = image.parameters;
  stale_p[kParameterChecksumOffset] = 0x00;
  ProfileSection stale_f = image.profiles;
  stale_f[kProfileChecksumOffset] = 0xEE;
  const Case cases[] = {
      {"default image", image.parameters, image.profiles, 0x60, 0x70},
      {"all zero", zeros_p, zeros_f, 0x5A, 0x5A},
      {"all 0xFF wraps", ones_p, ones_f, 0x99 ^ 0x5A, 0x70 ^ 0x5A},
      {"stale checksum byte", stale_p, stale_f, 0x60, 0x70},
  };
  for (Case c : cases) {
    CalcParameterChecksum(c.parameters);
    CalcProfileChecksum(c.profiles);
    EXPECT_EQ(c.parameters[103], c.parameter_sum) << c.name;
    EXPECT_EQ(c.profiles[144], c.profile_sum) << c.name;
  }
}

TEST(StorageKind, FromMarkerAndFromSessionStrings) {
  const std::vector<std::uint8_t> e0{0xE0}, f0{0xF0}, zero{0x00}, empty{};
  EXPECT_EQ(StorageKindOf(e0), StorageKind::kI2C);
  EXPECT_EQ(StorageKindOf(f0), StorageKind::kFlash);
  EXPECT_EQ(StorageKindOf(zero), StorageKind::kNone);
  EXPECT_EQ(StorageKindOf(empty), StorageKind::kNone);

  struct Case {
    const char* primary;
    const char* secondary;
    StorageLayout layout;
    std::uint8_t mark;
    std::size_t size;
  };
  const Case cases[] = {
      {"I2C", "", StorageLayout::kPacked, 0xE0, 768},
      {"I2C", "Flash", StorageLayout::kPacked, 0xE0, 768},
      {"Flash", "I2C", StorageLayout::kPacked, 0xE0, 768},
      {"Flash", "Flash", StorageLayout::kSlot, 0xF0, 8960},
      {"Flash", "", StorageLayout::kNone, 0x00, 256},
      {"", "", StorageLayout::kNone, 0x00, 256},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.primary) + "/" + c.secondary);
    const StorageLayout layout = StorageLayoutOf(c.primary, c.secondary);
    EXPECT_EQ(layout, c.layout);
    EXPECT_EQ(LayoutMarkOf(layout), c.mark);
    EXPECT_EQ(ImageSizeOf(layout), c.size);
  }
}

// A destination whose every byte shows whether it was written.
ConfigImage Marked() {
  ConfigImage image;
  image.parameters.fill(0xAB);
  image.profiles.fill(0xAB);
  image.customer_id.fill(0xAB);
  image.macro_area.fill(0xAB);
  for (auto& page : image.macro_pages) page.fill(0xAB);
  return image;
}

TEST(ReadImageSections, TakesOnlyWhatTheImageHoldsForTheKind) {
  const auto def = DefaultImageBytes();
  std::vector<std::uint8_t> slot(kSlotImageSize, 0x33);
  slot[0] = 0xF0;
  const std::vector<std::uint8_t> truncated(def.begin(), def.begin() + 200);

  struct Case {
    const char* name;
    std::span<const std::uint8_t> image;
    StorageKind kind;
    bool sections, profiles, area, pages;
  };
  const Case cases[] = {
      {"default as I2C", def, StorageKind::kI2C, true, true, true, false},
      {"default as Flash: no pages there", def, StorageKind::kFlash, true, true, true, false},
      {"no kind: no macro storage", def, StorageKind::kNone, true, true, false, false},
      {"slot image as Flash", slot, StorageKind::kFlash, true, true, true, true},
      {"truncated in the profile section", truncated, StorageKind::kI2C, true, false, false, false},
      {"empty", {}, StorageKind::kFlash, false, false, false, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ConfigImage dest = Marked();
    ReadImageSections(c.image, c.kind, dest);
    EXPECT_EQ(dest.parameters[0] != 0xAB, c.sections);
    EXPECT_EQ(dest.profiles[144] != 0xAB, c.profiles);
    EXPECT_EQ(dest.customer_id[0] != 0xAB, c.profiles);
    EXPECT_EQ(dest.macro_area[511] != 0xAB, c.area);
    EXPECT_EQ(dest.macro_pages[31][255] != 0xAB, c.pages);
    EXPECT_EQ(dest.page_addresses, SlotPageAddresses());
  }
}

TEST(DefaultHead, GivesTheAcceptedIdentifiers) {
  ImageHead head{};
  ReadDefaultHead(head);
  const DefaultIdentifiers ids = DefaultIdentifiersOf(head);
  EXPECT_EQ(ids.vendor_id, 0x3AB0);
  EXPECT_EQ(ids.product_id, 0x08B8);
  EXPECT_EQ(ids.customer_id, (CustomerId{0xFF, 0xFF}));
  EXPECT_EQ(ids.storage_kind, StorageKind::kI2C);

  ImageHead kept;
  kept.fill(0x11);
  const std::vector<std::uint8_t> short_image{0xF0, 0x00};
  ReadImageHead(short_image, kept);
  EXPECT_EQ(kept[0], 0xF0);
  EXPECT_EQ(kept[2], 0x11);  // missing bytes keep their value
}

TEST(CodeTexts, OneTextPerButtonInSectionOrder) {
  ConfigImage image;
  ReadDefaultSections(StorageKind::kI2C, image);
  const CodeTexts texts = CodeTextsOf(image.profiles);
  EXPECT_EQ(texts[0][0], "01010000");
  EXPECT_EQ(texts[0][1], "06130032");
  EXPECT_EQ(texts[1][1], "06110032");
  EXPECT_EQ(texts[2][1], "06150032");
  EXPECT_EQ(texts[2][11], "03019400");

  ProfileSection p{};
  SetKeyCodeAt(p, 2, 12, {0xAB, 0xCD, 0xEF, 0x10});
  EXPECT_EQ(p[92], 0xAB);
  EXPECT_EQ(p[95], 0x10);
  EXPECT_EQ(CodeTextsOf(p)[1][11], "ABCDEF10");
  const ProfileSection before = p;
  SetKeyCodeAt(p, 4, 1, {1, 2, 3, 4});  // out of range: ignored
  SetKeyCodeAt(p, 3, 13, {1, 2, 3, 4});
  SetKeyCodeAt(p, 0, 1, {1, 2, 3, 4});
  EXPECT_EQ(p, before);
}

TEST(MarkAndChecksumForSaving, SetsTheMouseLayoutMarkThenBothChecksums) {
  struct Case {
    const char* name;
    std::uint8_t held;
    StorageLayout layout;
    std::uint8_t mark;
  };
  const Case cases[] = {
      {"Flash + I2C over a held 0xF0", 0xF0, StorageLayout::kPacked, 0xE0},
      {"Flash + Flash", 0xE0, StorageLayout::kSlot, 0xF0},
      {"no layout keeps the byte", 0x12, StorageLayout::kNone, 0x12},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ConfigImage image;
    ReadDefaultSections(StorageKind::kI2C, image);
    PageCopy page;
    CopyWorkingToPage(image, page);
    page.parameters[0] = c.held;
    page.profiles[0] = 0x02;  // a changed button code
    MarkAndChecksumForSaving(page, c.layout);
    EXPECT_EQ(page.parameters[0], c.mark);
    // The checksum covers the new mark: 0x60 for 0xE0, moved by the difference.
    EXPECT_EQ(page.parameters[103],
              static_cast<std::uint8_t>(((0x60 ^ 0x5A) + c.mark - 0xE0) ^ 0x5A));
    EXPECT_EQ(page.profiles[144], static_cast<std::uint8_t>(((0x70 ^ 0x5A) + 1) ^ 0x5A));
  }
}

}  // namespace
}  // namespace korvex48
