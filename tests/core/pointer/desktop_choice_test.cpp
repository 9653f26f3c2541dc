#include "core/pointer/desktop_choice.h"

#include <gtest/gtest.h>

namespace korvex48 {
namespace {

TEST(DesktopChoice, FollowsTheSessionsDesktopAndType) {
  using K = DesktopKind;
  struct Case {
    const char* desktop;
    const char* session;
    bool display;
    std::vector<K> kinds;
  };
  const Case cases[] = {
      {"GNOME", "wayland", false, {K::kGnomeSettings}},
      {"ubuntu:GNOME", "x11", true, {K::kGnomeSettings}},
      {"Budgie:GNOME", "x11", true, {K::kGnomeSettings}},
      {"Unity", "x11", true, {K::kGnomeSettings}},
      {"X-Cinnamon", "x11", true, {K::kCinnamonSettings}},
      {"kde", "x11", true, {K::kKdeGlobals}},
      {"KDE", "wayland", true, {K::kKdeGlobals}},
      {"XFCE", "x11", true, {K::kXServer}},
      {"", "", true, {K::kXServer}},
      {"", "tty", false, {}},
      {"sway", "wayland", true, {}},
  };
  for (const Case& c : cases)
    EXPECT_EQ(ChooseDesktops(c.desktop, c.session, c.display), c.kinds)
        << c.desktop << " " << c.session;
}

}  // namespace
}  // namespace korvex48
