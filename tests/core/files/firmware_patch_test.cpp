#include "core/files/firmware_patch.h"

#include <gtest/gtest.h>

#include <vector>

#include "temp_dir.h"

namespace korvex48 {
namespace {

using testing::TempDir;

PatchBuffer Filled(std::uint8_t v) {
  PatchBuffer p;
  p.fill(v);
  return p;
}

TEST(PatchDescriptor, ChecksumIsTheSumModulo65536XorConstant) {
  PatchBuffer one{};
  one[1023] = 1;
  struct Case {
    const char* name;
    PatchBuffer patch;
    std::uint16_t checksum;
  };
  const Case cases[] = {
      {"zeros", Filled(0x00), 0x015A},
      {"0xFF: sum 0xFC00", Filled(0xFF), 0xFD5A},
      {"last byte counts", one, 0x015B},
      {"0x40: sum wraps to 0", Filled(0x40), 0x015A},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(PatchChecksum(c.patch), c.checksum);
    const PatchDescriptor d = CheckPatchCodeSection(c.patch);
    const PatchDescriptor expected = {0,
                                      0,
                                      0,
                                      0,
                                      0,
                                      0,
                                      0,
                                      0,
                                      0xC0,
                                      0x00,
                                      0x04,
                                      0x00,
                                      0x00,
                                      0x1A,
                                      static_cast<std::uint8_t>(c.checksum >> 8),
                                      static_cast<std::uint8_t>(c.checksum & 0xFF)};
    EXPECT_EQ(d, expected);
  }
}

std::vector<std::uint8_t> FirmwareFile(std::size_t size) {
  std::vector<std::uint8_t> f(size);
  for (std::size_t i = 0; i < size; ++i) f[i] = static_cast<std::uint8_t>(i * 13 + (i >> 8));
  return f;
}

TEST(PatchCode, TakenFromOffset0x8000UpTo1024Bytes) {
  struct Case {
    std::size_t file_size;
    std::size_t taken;
  };
  for (const Case& c : {Case{0, 0}, Case{0x8000, 0}, Case{0x8000 + 10, 10}, Case{0x8400, 1024},
                        Case{0x20000, 1024}}) {
    SCOPED_TRACE(c.file_size);
    const auto file = FirmwareFile(c.file_size);
    PatchBuffer patch = Filled(0xA5);
    EXPECT_EQ(TakePatchCode(file, patch), c.taken);
    for (std::size_t i = 0; i < kPatchCodeSize; ++i)
      ASSERT_EQ(patch[i], i < c.taken ? file[0x8000 + i] : 0xA5) << i;
  }
}

TEST(FirmwarePatch, LoadSetsTheFlagOnlyWhenPatchCodeWasRead) {
  TempDir dir;
  FirmwarePatch patch;
  EXPECT_FALSE(patch.Loaded());
  EXPECT_EQ(patch.Buffer(), PatchBuffer{});

  // A file that ends before the patch code: nothing to program.
  FileError error;
  EXPECT_EQ(patch.LoadFile(dir.Write("short.bin", FirmwareFile(0x8000)), &error),
            FirmwarePatch::LoadStatus::kNoPatch);
  EXPECT_FALSE(patch.Loaded());

  const auto full = FirmwareFile(0x10000);
  ASSERT_EQ(patch.LoadFile(dir.Write("fw.bin", full), &error), FirmwarePatch::LoadStatus::kLoaded);
  EXPECT_TRUE(patch.Loaded());
  EXPECT_EQ(patch.LastTaken(), 1024u);
  EXPECT_TRUE(std::equal(patch.Buffer().begin(), patch.Buffer().end(), full.begin() + 0x8000));

  // Opening the page again clears the flag but keeps the code.
  const PatchBuffer kept = patch.Buffer();
  patch.ClearLoaded();
  EXPECT_FALSE(patch.Loaded());
  EXPECT_EQ(patch.Buffer(), kept);

  // A missing file reports the system's reason and changes nothing.
  EXPECT_EQ(patch.LoadFile(dir.File("missing.bin"), &error),
            FirmwarePatch::LoadStatus::kUnreadable);
  EXPECT_FALSE(error.message.empty());
  EXPECT_FALSE(patch.Loaded());
  EXPECT_EQ(patch.Buffer(), kept);

  // A file that ends inside the patch code, or is no regular file, is refused
  // before anything could be sent; the file and byte paths agree.
  auto partial = FirmwareFile(0x8000 + 1023);
  partial[0x8000] = 0x77;
  EXPECT_EQ(patch.LoadBytes(partial), FirmwarePatch::LoadStatus::kNoPatch);
  EXPECT_EQ(patch.LoadFile(dir.Write("partial.bin", partial)), FirmwarePatch::LoadStatus::kNoPatch);
  EXPECT_EQ(patch.LoadFile(dir.File(""), &error), FirmwarePatch::LoadStatus::kUnreadable);
  EXPECT_EQ(error.message, "is a directory");
  EXPECT_FALSE(patch.Loaded());
  EXPECT_EQ(patch.Buffer(), kept);
}

}  // namespace
}  // namespace korvex48
