#include "core/macros/slot_layout.h"

#include <gtest/gtest.h>

namespace korvex48 {
namespace {

SlotMacroTable TableWith(int used) {
  SlotMacroTable t;
  for (int i = 0; i < used; ++i) {
    const MacroName name = MacroNameFromText("M" + std::to_string(i));
    std::copy(name.begin(), name.end(), t.names.begin() + 16 * i);
    t.pages[i][0] = 0xA1;
    t.pages[i][1] = static_cast<std::uint8_t>(0xFE);
    t.pages[i][2] = 0x00;
    t.pages[i][3] = static_cast<std::uint8_t>(i + 1);
  }
  RefreshSlotTable(t);
  return t;
}

TEST(SlotLayout, LoadsNamesAndPagesWithLengthsAndAddresses) {
  Bytes names(kSlotNamesTableSize, 0x00);
  names[1] = 'A';
  names[16] = 0xFF;
  names[17] = 0xFF;  // an erased entry
  Bytes pages(kSlotCount * 256, 0x00);
  const Bytes first{0x82, 0x06, 0xFE, 0x01, 0x00, 0x02, 0x06};  // a 256 ms delay inside
  std::copy(first.begin(), first.end(), pages.begin());
  std::fill(pages.begin() + 256, pages.begin() + 512, 0xA1);  // no run of zeros at all

  SlotMacroTable t;
  LoadSlotTable(t, names, pages);
  EXPECT_EQ(MacroNameText(SlotNameEntry(t, 0)), "A");
  EXPECT_FALSE(IsSlotNameEmpty(SlotNameEntry(t, 0)));
  EXPECT_TRUE(IsSlotNameEmpty(SlotNameEntry(t, 1)));
  EXPECT_TRUE(IsSlotNameEmpty(SlotNameEntry(t, 2)));
  EXPECT_EQ(SlotMacroCountOf(t), 1u);
  EXPECT_EQ(t.lengths[0], first.size() + 1);
  EXPECT_EQ(t.lengths[1], 256);  // bounded by the page
  EXPECT_EQ(t.lengths[2], 1);
  for (std::size_t i = 0; i < kSlotCount; ++i) EXPECT_EQ(t.addresses[i], 0x4000 + 0x100 * i);

  // Short inputs read as zero.
  LoadSlotTable(t, Bytes{0x00}, Bytes{0xA1});
  EXPECT_EQ(SlotMacroCountOf(t), 0u);
  EXPECT_EQ(t.lengths[0], 2);
  EXPECT_EQ(t.pages[0][0], 0xA1);
}

TEST(SlotLayout, DeleteMovesLaterSlotsDown) {
  SlotMacroTable t = TableWith(5);
  ASSERT_TRUE(DeleteSlotMacro(t, 2));  // the third of five
  EXPECT_EQ(SlotMacroCountOf(t), 4u);
  EXPECT_EQ(MacroNameText(SlotNameEntry(t, 2)), "M3");
  EXPECT_EQ(MacroNameText(SlotNameEntry(t, 3)), "M4");
  EXPECT_EQ(t.pages[2][3], 4);
  EXPECT_EQ(t.pages[3][3], 5);
  EXPECT_TRUE(IsSlotNameEmpty(SlotNameEntry(t, 4)));
  EXPECT_EQ(t.pages[4], (std::array<std::uint8_t, 256>{}));
  EXPECT_EQ(t.addresses[2], 0x4200);

  SlotMacroTable full = TableWith(32);
  ASSERT_TRUE(DeleteSlotMacro(full, 31));
  EXPECT_EQ(SlotMacroCountOf(full), 31u);
  EXPECT_FALSE(DeleteSlotMacro(full, 32));
}

TEST(SlotLayout, AddFillsTheSlotAfterTheLast) {
  SlotMacroTable t = TableWith(31);
  ASSERT_TRUE(AddSlotMacro(t, MacroNameFromText("Last"), Bytes{0xA2, 0x22, 0x00}));
  EXPECT_EQ(MacroNameText(SlotNameEntry(t, 31)), "Last");
  EXPECT_EQ(t.lengths[31], 3);
  const SlotMacroTable before = t;
  EXPECT_FALSE(AddSlotMacro(t, MacroNameFromText("More"), Bytes{0x00}));
  EXPECT_EQ(t.names, before.names);

  SlotMacroTable empty;
  EXPECT_FALSE(AddSlotMacro(empty, MacroName{}, Bytes{0x00}));
  EXPECT_EQ(SlotMacroCountOf(empty), 0u);
}

}  // namespace
}  // namespace korvex48
