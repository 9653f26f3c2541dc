#include "core/device/simulated_mouse.h"

#include <gtest/gtest.h>

#include <array>
#include <filesystem>
#include <numeric>
#include <string>
#include <string_view>
#include <vector>

#include "core/common/file_io.h"
#include "core/device/command_set.h"
#include "core/device/transport.h"
#include "core/image/default_image.h"

namespace korvex48 {
namespace {

std::uint8_t SumXor(std::span<const std::uint8_t> bytes) {
  return static_cast<std::uint8_t>(std::accumulate(bytes.begin(), bytes.end(), 0u) ^ 0x5A);
}

TEST(SimulatedMouseTest, StartsFromTheDefaultImageInTheLayoutOfItsStorage) {
  struct Case {
    SimulatedStorage storage;
    std::uint8_t marker;
    int secondary_bits;
    std::uint16_t customer, macro_start;
    std::size_t macro_length;
  };
  ConfigImage defaults;
  ReadDefaultSections(StorageKind::kI2C, defaults);
  for (const Case& c : {Case{SimulatedStorage::kI2C, 0xE0, 0b10, 249, 0x0200, 512},
                        Case{SimulatedStorage::kFlashI2C, 0xE0, 0b10, 0x6000, 0x4000, 512},
                        Case{SimulatedStorage::kFlashFlash, 0xF0, 0b11, 0x6000, 0x3000, 512}}) {
    SCOPED_TRACE(SimulatedStorageName(c.storage));
    SimulatedMouse mouse(c.storage);
    EXPECT_EQ(mouse.Parameters()[0], c.marker);
    EXPECT_EQ(mouse.Parameters()[6] >> 6, c.secondary_bits);
    EXPECT_EQ(mouse.Parameters()[103], SumXor(std::span(mouse.Parameters()).first(103)));
    EXPECT_EQ(mouse.Profiles(), defaults.profiles);
    EXPECT_EQ(mouse.CustomerIdAddress(), c.customer);
    EXPECT_EQ(mouse.GetCustomerId(), defaults.customer_id);
    auto macros = mouse.Memory().subspan(c.macro_start, c.macro_length);
    EXPECT_TRUE(std::all_of(macros.begin(), macros.end(), [](auto b) { return b == 0; }));
    if (c.storage == SimulatedStorage::kFlashFlash) {  // and 32 empty pages
      auto pages = mouse.Memory().subspan(0x4000, 32 * 256);
      EXPECT_TRUE(std::all_of(pages.begin(), pages.end(), [](auto b) { return b == 0; }));
    }
    EXPECT_EQ(mouse.Memory()[0xC000], 0xFF);  // no patch code yet
  }
}

TEST(SimulatedMouseTest, AStateFileCarriesTheMouseToTheNextRun) {
  const std::string path = ::testing::TempDir() + "/korvex48-sim-" +
                           std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
                           ".state";
  std::filesystem::remove(path);
  ImageHead head{};
  ReadDefaultHead(head);
  const DefaultIdentifiers ids = DefaultIdentifiersOf(head);
  {
    FakeClock clock;
    SimulatedMouse mouse(SimulatedStorage::kFlashI2C, clock);
    std::string error;
    ASSERT_TRUE(mouse.AttachStateFile(path, &error)) << error;
    Transport transport(mouse, clock);
    ASSERT_TRUE(transport.OpenDevice(ids.vendor_id, ids.product_id));
    CommandSet commands(transport);
    ASSERT_TRUE(commands.WriteParameterBytes(33, 2, 0, 0, 1));
    // The first block of the packed area: a name, then a macro at 0x4010.
    std::array<std::uint8_t, 256> block{};
    const std::uint8_t macro[] = {0x82, 0x06, 0x02, 0x06, 0x00};
    std::copy(std::begin(macro), std::end(macro), block.begin() + 16);
    ASSERT_TRUE(commands.WriteMemory(0x4000, block));
  }
  SimulatedMouse again(SimulatedStorage::kI2C);
  std::string error;
  ASSERT_TRUE(again.AttachStateFile(path, &error)) << error;
  EXPECT_EQ(again.Storage(), SimulatedStorage::kFlashI2C);
  EXPECT_EQ(again.Parameters()[33], 2);
  EXPECT_EQ(again.Memory()[0x4010], 0x82);
  EXPECT_EQ(again.Memory()[0x4014], 0x00);

  // Something that is not a state file is refused and left alone.
  const std::uint8_t junk[] = {1, 2, 3};
  ASSERT_TRUE(WriteFileAtomically(path, junk));
  SimulatedMouse third;
  EXPECT_FALSE(third.AttachStateFile(path, &error));
  EXPECT_EQ(ReadWholeFile(path)->size(), 3u);
  std::filesystem::remove(path);
}

TEST(SimulatedMouseTest, ControlRefusesWhatItDoesNotKnow) {
  SimulatedMouse mouse;
  for (const char* bad : {"", "explode", "others", "others -1", "others 2x", "reset usb",
                          "fail-all-replies 2", "unplug now"})
    EXPECT_FALSE(mouse.Control(bad)) << bad;
  EXPECT_TRUE(mouse.Control("variant 17\n"));
  EXPECT_EQ(mouse.Variant(), 17);
}

// The refused shapes the hook was told of during a test.
std::vector<std::string>& HookedShapes() {
  static std::vector<std::string> shapes;
  return shapes;
}

TEST(SimulatedMouseTest, StrictModeTakesOnlyTheShapesOfTheOriginalFlows) {
  struct Case {
    SimulatedStorage storage;
    std::array<std::uint8_t, 8> report;
    const char* refused;  // the shape named; nullptr: taken
  };
  using S = SimulatedStorage;
  const Case cases[] = {
      // Memory: whole blocks of the memory map, the customer identifier, the patch.
      {S::kI2C, {0x40, 0x07, 0x02, 0x00, 0x01, 0x00, 0, 0}, nullptr},
      {S::kI2C, {0x40, 0x07, 0x03, 0x00, 0x01, 0x00, 0, 0}, nullptr},
      {S::kI2C, {0x40, 0x07, 0x02, 0x00, 0x00, 0x02, 0, 0}, "memory write of 2 bytes at 0x0200"},
      {S::kI2C, {0x40, 0x07, 0x02, 0x02, 0x00, 0xFE, 0, 0}, "memory write of 254 bytes at 0x0202"},
      {S::kI2C, {0x40, 0x07, 0x40, 0x00, 0x01, 0x00, 0, 0}, "memory write of 256 bytes at 0x4000"},
      {S::kI2C, {0x40, 0x09, 0x02, 0x00, 0x02, 0x00, 0, 0}, "memory read of 512 bytes at 0x0200"},
      {S::kI2C, {0x40, 0x09, 0x00, 0xF9, 0x00, 0x02, 0, 0}, nullptr},
      {S::kI2C, {0x40, 0x07, 0x00, 0xF9, 0x00, 0x02, 0, 0}, nullptr},
      {S::kFlashI2C, {0x40, 0x09, 0x41, 0x00, 0x01, 0x00, 0, 0}, nullptr},
      {S::kFlashI2C, {0x40, 0x09, 0x60, 0x00, 0x00, 0x02, 0, 0}, nullptr},
      {S::kFlashFlash, {0x40, 0x07, 0x31, 0x00, 0x01, 0x00, 0, 0}, nullptr},
      {S::kFlashFlash, {0x40, 0x09, 0x30, 0x00, 0x02, 0x00, 0, 0}, nullptr},
      {S::kFlashFlash,
       {0x40, 0x07, 0x30, 0x20, 0x00, 0x02, 0, 0},
       "memory write of 2 bytes at 0x3020"},
      {S::kFlashFlash,
       {0x40, 0x09, 0x31, 0x00, 0x01, 0x00, 0, 0},
       "memory read of 256 bytes at 0x3100"},
      {S::kFlashFlash, {0x40, 0x07, 0x5F, 0x00, 0x01, 0x00, 0, 0}, nullptr},
      {S::kFlashFlash,
       {0x40, 0x07, 0x60, 0x00, 0x01, 0x00, 0, 0},
       "memory write of 256 bytes at 0x6000"},
      {S::kFlashFlash,
       {0x40, 0x07, 0x41, 0x80, 0x01, 0x00, 0, 0},
       "memory write of 256 bytes at 0x4180"},
      {S::kFlashFlash, {0x40, 0x07, 0xC0, 0x00, 0x04, 0x00, 0, 0}, nullptr},
      {S::kFlashFlash, {0x40, 0x07, 0x10, 0x00, 0x00, 0x10, 0, 0}, nullptr},
      {S::kI2C, {0x40, 0x07, 0xC0, 0x00, 0x02, 0x00, 0, 0}, "memory write of 512 bytes at 0xC000"},
      {S::kI2C, {0x41, 1, 2, 3, 4, 5, 6, 7}, "data report with no memory write"},
      // Sections: whole, as chunked, and the live writes.
      {S::kI2C, {0x40, 0x06, 0x00, 0x00, 0x00, 104, 0, 0}, nullptr},
      {S::kI2C, {0x40, 0x06, 0x01, 0x00, 0x00, 145, 0, 0}, nullptr},
      {S::kI2C, {0x40, 0x06, 0x00, 0x06, 0x00, 1, 0, 0}, nullptr},
      {S::kI2C,
       {0x40, 0x06, 0x00, 0x02, 0x00, 1, 0, 0},
       "section read of 1 bytes at offset 2 of block 0"},
      {S::kI2C,
       {0x40, 0x06, 0x01, 0x00, 0x00, 14, 0, 0},
       "section read of 14 bytes at offset 0 of block 1"},
      {S::kI2C, {0x40, 0x05, 0x00, 102, 1, 2, 0xFF, 3}, nullptr},
      {S::kI2C, {0x40, 0x05, 0x01, 144, 1, 0xFF, 0xFF, 0xFF}, nullptr},
      {S::kI2C,
       {0x40, 0x05, 0x00, 33, 1, 0, 0, 4},
       "section write of block 0 at offset 33 with count 4"},
      {S::kI2C, {0x40, 0x05, 0x01, 145, 1, 2, 3, 4}, "section write of block 1 at offset 145"},
      {S::kI2C, {0x40, 0x05, 0x02, 0, 1, 2, 3, 4}, "section write of block 2 at offset 0"},
      // Device information and restart, without arguments; nothing else.
      {S::kI2C, {0x40, 0x0D, 0, 0, 0, 0, 0, 0}, nullptr},
      {S::kI2C, {0x40, 0x0E, 0, 0, 0, 0, 0, 0}, nullptr},
      {S::kI2C, {0x40, 0x0E, 1, 0, 0, 0, 0, 0}, "restart command with arguments"},
      {S::kI2C, {0x40, 0x22, 0, 0, 0, 0, 0, 0}, "command 0x22"},
  };
  const auto old_hook = SimulatedMouse::SetRefusedShapeHook(
      [](std::string_view shape) { HookedShapes().emplace_back(shape); });
  const int config_slot = SimulatedMouse::kConfigInterface;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.refused ? c.refused : "a known shape");
    HookedShapes().clear();
    SimulatedMouse mouse(c.storage);
    const HidError e = mouse.SlotSetFeature(config_slot, c.report);
    if (!c.refused) {
      EXPECT_EQ(e, HidError::kNone);
      EXPECT_TRUE(mouse.RefusedShapes().empty());
      continue;
    }
    EXPECT_EQ(e, HidError::kRefused);
    EXPECT_EQ(mouse.RefusedShapes(), std::vector<std::string>{c.refused});
    EXPECT_EQ(HookedShapes(), std::vector<std::string>{c.refused});
    // Not strict: taken (the section writes the mouse cannot do aside).
    SimulatedMouse lax(c.storage);
    ASSERT_TRUE(lax.Control("strict 0"));
    const HidError lax_error = lax.SlotSetFeature(config_slot, c.report);
    if (c.report[1] != 0x05) {
      EXPECT_EQ(lax_error, HidError::kNone);
    }
    EXPECT_TRUE(lax.RefusedShapes().empty());
  }
  // The data reports of a memory write in progress are of its shape.
  HookedShapes().clear();
  SimulatedMouse mouse(S::kI2C);
  const std::array<std::uint8_t, 8> block = {0x40, 0x07, 0x02, 0x00, 0x00, 0x0E, 0, 0};
  ASSERT_TRUE(mouse.Control("strict 0"));
  ASSERT_EQ(mouse.SlotSetFeature(config_slot, block), HidError::kNone);
  ASSERT_TRUE(mouse.Control("strict 1"));
  const std::array<std::uint8_t, 8> data = {0x41, 1, 2, 3, 4, 5, 6, 7};
  EXPECT_EQ(mouse.SlotSetFeature(config_slot, data), HidError::kNone);
  EXPECT_EQ(mouse.SlotSetFeature(config_slot, data), HidError::kNone);
  EXPECT_EQ(mouse.SlotSetFeature(config_slot, data), HidError::kRefused);
  EXPECT_EQ(HookedShapes(), std::vector<std::string>{"data report with no memory write"});
  SimulatedMouse::SetRefusedShapeHook(old_hook);
}

TEST(UdevRuleTest, TheShippedRuleMatchesTheDefaultImageAndGrantsSeatAccess) {
  auto rules =
      ReadWholeFile(std::string(KORVEX48_SOURCE_DIR) + "/resources/udev/70-korvex48.rules");
  ASSERT_TRUE(rules);
  const std::string text(rules->begin(), rules->end());
  ImageHead head{};
  ReadDefaultHead(head);
  const DefaultIdentifiers ids = DefaultIdentifiersOf(head);
  EXPECT_NE(text.find(UdevRuleText(ids.vendor_id, ids.product_id) + "\n"), std::string::npos);
  EXPECT_EQ(text.find("MODE"), std::string::npos);
}

}  // namespace
}  // namespace korvex48
