#include "core/device/simulated_mouse.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <numeric>

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
    const std::uint8_t macro[] = {0x82, 0x06, 0x02, 0x06, 0x00};
    ASSERT_TRUE(commands.WriteMemory(0x4010, macro));
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
