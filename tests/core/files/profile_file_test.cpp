#include "core/files/profile_file.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "core/image/default_image.h"
#include "temp_dir.h"

namespace korvex48 {
namespace {

using testing::TempDir;

// Every byte of the image differs from its neighbours, so a part written to the
// wrong offset shows.
ConfigImage Patterned(std::uint8_t seed, std::uint8_t mark) {
  ConfigImage image;
  std::uint8_t v = seed;
  auto fill = [&v](auto& part) {
    for (auto& b : part) b = v++;
  };
  fill(image.parameters);
  fill(image.profiles);
  fill(image.customer_id);
  fill(image.macro_area);
  for (auto& page : image.macro_pages) fill(page);
  image.parameters[0] = mark;
  return image;
}

TEST(ProfileFileTarget, AlwaysAppendsBin) {
  EXPECT_EQ(ProfileFileTarget("/home/u/mouse"), "/home/u/mouse.bin");
  EXPECT_EQ(ProfileFileTarget("/home/u/mouse.bin"), "/home/u/mouse.bin.bin");
  EXPECT_EQ(ProfileFileTarget("a.BIN"), "a.BIN.bin");
}

TEST(ProfileFile, RoundTripsEachLayout) {
  TempDir dir;
  struct Case {
    StorageLayout layout;
    std::uint8_t mark;
    std::size_t size;
    bool area, pages;
  };
  const Case cases[] = {
      {StorageLayout::kPacked, 0xE0, 768, true, false},
      {StorageLayout::kSlot, 0xF0, 8960, true, true},
      {StorageLayout::kNone, 0x00, 256, false, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.layout));
    const ConfigImage saved = Patterned(1, c.mark);
    const auto bytes = ProfileFileBytes(saved, c.layout);
    ASSERT_EQ(bytes.size(), c.size);
    EXPECT_EQ(bytes[0], c.mark);
    EXPECT_EQ(bytes[103], saved.parameters[103]);
    EXPECT_EQ(bytes[104], saved.profiles[0]);
    EXPECT_EQ(bytes[249], saved.customer_id[0]);
    for (std::size_t i = 251; i < 256; ++i) EXPECT_EQ(bytes[i], 0xFF);
    if (c.area) {
      EXPECT_EQ(bytes[256 + 511], saved.macro_area[511]);
    }
    if (c.pages) {
      EXPECT_EQ(bytes[768 + 256 * 31 + 255], saved.macro_pages[31][255]);
    }

    const std::string path = dir.File("p.bin");
    ASSERT_TRUE(WriteProfileFile(path, saved, c.layout));
    EXPECT_EQ(std::filesystem::file_size(path), c.size);

    ConfigImage loaded = Patterned(100, 0x00);
    const ConfigImage before = loaded;
    const ProfileLoadResult r = LoadProfileFile(path, c.layout, loaded);
    ASSERT_TRUE(r.ok()) << r.message;
    EXPECT_EQ(loaded.parameters, saved.parameters);
    EXPECT_EQ(loaded.profiles, saved.profiles);
    EXPECT_EQ(loaded.customer_id, saved.customer_id);
    EXPECT_EQ(loaded.macro_area, c.area ? saved.macro_area : before.macro_area);
    EXPECT_EQ(loaded.macro_pages, c.pages ? saved.macro_pages : before.macro_pages);
  }
}

TEST(ProfileFile, LayoutMarkAndLengthDecideWhatIsTaken) {
  auto file_of = [](std::size_t size, std::uint8_t mark) {
    auto bytes = ProfileFileBytes(Patterned(7, mark), StorageLayout::kSlot);
    bytes.resize(size, 0x5C);
    return bytes;
  };
  struct Case {
    const char* name;
    std::vector<std::uint8_t> file;
    StorageLayout layout;
    bool loads;
  };
  const Case cases[] = {
      {"packed file, packed mouse", file_of(768, 0xE0), StorageLayout::kPacked, true},
      {"packed file, slot mouse", file_of(768, 0xE0), StorageLayout::kSlot, false},
      {"slot file, packed mouse", file_of(8960, 0xF0), StorageLayout::kPacked, false},
      {"unknown mark, packed mouse", file_of(768, 0x00), StorageLayout::kPacked, false},
      {"no layout: no mark test", file_of(768, 0x12), StorageLayout::kNone, true},
      {"empty file", {}, StorageLayout::kPacked, false},
      {"mark only", {0xE0}, StorageLayout::kPacked, false},
      {"ends inside the customer id", file_of(250, 0xE0), StorageLayout::kPacked, false},
      {"short file, no layout", file_of(100, 0x00), StorageLayout::kNone, false},
      {"sections and customer id only", file_of(251, 0xE0), StorageLayout::kPacked, true},
      {"longer than the layout", file_of(20000, 0xE0), StorageLayout::kPacked, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ConfigImage working = Patterned(50, 0x00);
    const ConfigImage before = working;
    const ProfileLoadResult r = LoadProfileBytes(c.file, c.layout, working);
    EXPECT_EQ(r.ok(), c.loads);
    if (!c.loads) {
      EXPECT_EQ(r.status, ProfileLoadStatus::kRefused);
      EXPECT_EQ(r.message, "Loading .bin is error!");
      EXPECT_EQ(working, before);  // nothing of a refused file is taken
    } else {
      EXPECT_EQ(working.parameters[1], c.file[1]);
      EXPECT_EQ(working.customer_id[1], c.file[250]);
    }
  }
}

// A file shorter than its layout supplies the macro storage it holds; the rest
// keeps what the working image had (the mouse's own macros).
TEST(ProfileFile, ShortFileKeepsTheMacroStorageItDoesNotSupply) {
  struct Case {
    std::size_t size;
    StorageLayout layout;
    std::uint8_t mark;
    std::size_t area_taken;   // bytes of the area from the file
    std::size_t page0_taken;  // bytes of page 0 from the file
  };
  const Case cases[] = {
      {256, StorageLayout::kPacked, 0xE0, 0, 0},
      {300, StorageLayout::kPacked, 0xE0, 44, 0},
      {1000, StorageLayout::kSlot, 0xF0, 512, 232},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.size);
    auto file = ProfileFileBytes(Patterned(9, c.mark), StorageLayout::kSlot);
    file.resize(c.size);
    ConfigImage working = Patterned(60, 0x00);
    const ConfigImage before = working;
    ASSERT_TRUE(LoadProfileBytes(file, c.layout, working).ok());
    for (std::size_t i = 0; i < kMacroAreaSize; ++i)
      ASSERT_EQ(working.macro_area[i], i < c.area_taken ? file[256 + i] : before.macro_area[i]);
    for (std::size_t i = 0; i < kMacroPageSize; ++i)
      ASSERT_EQ(working.macro_pages[0][i],
                i < c.page0_taken ? file[768 + i] : before.macro_pages[0][i]);
    EXPECT_EQ(working.macro_pages[1], before.macro_pages[1]);
  }
}

TEST(ProfileFile, DefaultImageLoadsAsIsWithItsStoredChecksums) {
  const auto def = DefaultImageBytes();
  std::vector<std::uint8_t> file(def.begin(), def.end());
  file[103] ^= 0xFF;  // a wrong checksum is taken, not repaired
  ConfigImage working = Patterned(3, 0x00);
  ASSERT_TRUE(LoadProfileBytes(file, StorageLayout::kPacked, working).ok());
  EXPECT_EQ(working.parameters[103], 0x60 ^ 0xFF);
  EXPECT_EQ(working.profiles[144], 0x70);
  EXPECT_EQ(working.customer_id, (CustomerId{0xFF, 0xFF}));
  EXPECT_EQ(working.macro_area, MacroArea{});
}

TEST(ProfileFile, UnreadableFileLeavesTheImageAlone) {
  TempDir dir;
  for (const std::string& path : {dir.File("missing.bin"), dir.File("")}) {
    ConfigImage working = Patterned(5, 0x00);
    const ConfigImage before = working;
    const ProfileLoadResult r = LoadProfileFile(path, StorageLayout::kPacked, working);
    EXPECT_EQ(r.status, ProfileLoadStatus::kUnreadable) << path;
    EXPECT_FALSE(r.message.empty());
    EXPECT_EQ(working, before);
  }
}

TEST(DeviceMacroExport, HoldsOnlyTheMacroStorage) {
  TempDir dir;
  const ConfigImage image = Patterned(11, 0xE0);
  struct Case {
    StorageLayout layout;
    std::size_t size;
  };
  for (const Case& c : {Case{StorageLayout::kPacked, 512}, Case{StorageLayout::kSlot, 8704},
                        Case{StorageLayout::kNone, 0}}) {
    SCOPED_TRACE(c.size);
    const auto bytes = DeviceMacroExportBytes(image, c.layout);
    ASSERT_EQ(bytes.size(), c.size);
    if (c.size > 0) {
      EXPECT_EQ(bytes[0], image.macro_area[0]);
    }
    if (c.size > 512) {
      EXPECT_EQ(bytes[512 + 256 * 31], image.macro_pages[31][0]);
    }
    const std::string path = dir.File("export.bin");
    ASSERT_TRUE(WriteDeviceMacroExport(path, image, c.layout));
    EXPECT_EQ(std::filesystem::file_size(path), c.size);  // created empty for kNone
  }
}

}  // namespace
}  // namespace korvex48
