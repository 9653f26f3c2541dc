#include "core/buttons/menu_placement.h"

#include <gtest/gtest.h>

namespace korvex48 {
namespace {

TEST(MenuPlacement, MainMenuOpensAtTheLabelCentreAndFlipsAtTheEdges) {
  struct Case {
    const char* what;
    MenuRect label;
    int height;
    MenuRect expected;
  };
  const Case cases[] = {
      {"room right and below", {44, 100, 140, 28}, 170, {114, 114, 190, 170}},
      {"near the right edge: to the left", {616, 100, 140, 28}, 170, {496, 114, 190, 170}},
      {"exactly at the right limit flips", {470, 100, 140, 20}, 170, {350, 110, 190, 170}},
      {"one pixel left of it does not", {469, 100, 140, 20}, 170, {539, 110, 190, 170}},
      {"near the bottom: up", {44, 420, 140, 28}, 170, {114, 264, 190, 170}},
      {"the short menu of variant 1", {44, 420, 140, 28}, 146, {114, 434, 190, 146}},
      {"bottom right corner", {616, 440, 140, 28}, 170, {496, 284, 190, 170}},
  };
  for (const Case& c : cases)
    EXPECT_EQ(PlaceMainMenu(c.label, 190, c.height), c.expected) << c.what;
}

TEST(MenuPlacement, SubmenuOpensBesideItsEntry) {
  struct Case {
    const char* what;
    MenuRect parent;
    MenuRect entry;
    int height;
    MenuRect expected;
  };
  const Case cases[] = {
      {"right of the menu at the entry's top",
       {114, 114, 190, 170},
       {115, 139, 188, 24},
       122,
       {304, 139, 190, 122}},
      {"no room on the right: left of the menu",
       {496, 114, 190, 170},
       {497, 139, 188, 24},
       122,
       {306, 139, 190, 122}},
      {"fits exactly at the right edge",
       {420, 10, 190, 170},
       {421, 11, 188, 24},
       50,
       {610, 11, 190, 50}},
      {"past the bottom: aligned with the entry's bottom",
       {114, 400, 190, 170},
       {115, 473, 188, 24},
       242,
       {304, 255, 190, 242}},
      {"taller than the room above: kept inside the window",
       {114, 10, 190, 170},
       {115, 35, 188, 24},
       700,
       {304, 0, 190, 700}},
  };
  for (const Case& c : cases)
    EXPECT_EQ(PlaceSubmenu(c.parent, c.entry, 190, c.height), c.expected) << c.what;
}

}  // namespace
}  // namespace korvex48
