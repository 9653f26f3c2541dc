#include "include_checker.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <tuple>

namespace korvex48::core_includes {
namespace {

TEST(IncludeGraphTable, ParsesDeclarationsAndRefusesWhatCMakeWouldNot) {
  struct Case {
    const char* text;
    bool parses;
    const char* error;  // start of the error when it does not parse
  };
  const Case cases[] = {
      {"common: \nui: common\n\napp: common ui\n", true, ""},
      {"common:", true, ""},
      {"common:\nui common\n", false, "line 2: expected"},
      {"common:\ncommon:\n", false, "line 2: common is declared twice"},
      // A dependency declared later could close a cycle.
      {"common: app\napp: common\n", false, "line 1: common depends on app, which is not declared"},
      {"common:\nui: common\n ui app: common\n", false, "line 3: expected one subsystem name"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    std::string error;
    const std::optional<Graph> graph = ParseGraph(c.text, &error);
    EXPECT_EQ(graph.has_value(), c.parses);
    if (!c.parses) {
      EXPECT_TRUE(error.starts_with(c.error)) << error;
    }
  }
  const Graph graph = ParseGraph("common: \nui: common\napp: common ui\n", nullptr).value();
  EXPECT_EQ(graph, (Graph{{"common", {}}, {"ui", {"common"}}, {"app", {"common", "ui"}}}));
}

TEST(IncludeGraphHeaders, OnlyTheStandardLibraryIsStandard) {
  const std::pair<const char*, HeaderKind> cases[] = {
      {"vector", HeaderKind::kStandard},
      {"cstdint", HeaderKind::kStandard},
      {"string_view", HeaderKind::kStandard},
      {"QString", HeaderKind::kQt},
      {"QtWidgets/QWidget", HeaderKind::kQt},
      {"qtconfig.h", HeaderKind::kQt},
      {"qglobal.h", HeaderKind::kQt},
      {"sys/ioctl.h", HeaderKind::kPlatform},
      {"linux/hidraw.h", HeaderKind::kPlatform},
      {"unistd.h", HeaderKind::kPlatform},
      {"fcntl.h", HeaderKind::kPlatform},
      {"X11/Xlib.h", HeaderKind::kPlatform},
      {"gio/gio.h", HeaderKind::kPlatform},
      {"stdint.h", HeaderKind::kCHeader},
      {"string.h", HeaderKind::kCHeader},
      {"gtest/gtest.h", HeaderKind::kOther},
      {"nlohmann/json.hpp", HeaderKind::kHeaderOnly},
      {"nlohmann.h", HeaderKind::kOther},
      {"png.h", HeaderKind::kOther},
      {"vector.h", HeaderKind::kOther},
  };
  for (const auto& [name, kind] : cases) {
    EXPECT_EQ(ClassifyHeader(name), kind) << name;
  }
}

// fixture/ declares common <- image, common <- ui, ui + image <- app; each
// finding below is one rule broken on purpose, everything else keeps them.
TEST(IncludeGraphTree, FindsEveryBrokenRuleOfTheFixtureWithFileAndLine) {
  const std::filesystem::path fixture = KORVEX48_FIXTURE_DIR;
  std::ifstream table(fixture / "subsystems.txt");
  std::ostringstream text;
  text << table.rdbuf();
  const std::optional<Graph> graph = ParseGraph(text.str(), nullptr);
  ASSERT_TRUE(graph.has_value());
  struct Expected {
    const char* file;
    int line;
    const char* include;
    const char* reason;  // a part of the reason
  };
  const Expected expected[] = {
      {"app/app.h", 6, "\"core/common/clock.h\"", "app does not declare a dependency on common"},
      {"common/clock.h", 5, "\"core/app/app.h\"", "upward include: app depends on common"},
      {"common/platform.cpp", 4, "<sys/ioctl.h>", "platform header"},
      {"common/platform.cpp", 5, "<linux/hidraw.h>", "platform header"},
      {"common/platform.cpp", 6, "<unistd.h>", "platform header"},
      {"common/platform.cpp", 7, "<QString>", "Qt header"},
      {"common/platform.cpp", 8, "<QtCore/qobject.h>", "Qt header"},
      {"common/platform.cpp", 9, "<qglobal.h>", "Qt header"},
      {"common/platform.cpp", 10, "<stdint.h>", "uses <cstdint>"},
      {"common/platform.cpp", 11, "<gtest/gtest.h>", "not a C++ standard library header"},
      {"common/platform.cpp", 13, "<fcntl.h>", "platform header"},
      {"common/platform.cpp", 15, "KORVEX48_CONFIG_HEADER", "computed"},
      {"common/platform.cpp", 16, "<nlohmann/json.hpp>", "is for subsystem config only"},
      {"loose.h", 0, "", "lives in a subsystem's folder"},
      {"stray/stray.h", 0, "", "folder stray is no subsystem"},
      {"ui/table.h", 5, "\"core/image/image.h\"", "ui does not declare a dependency on image"},
      {"ui/table.h", 6, "\"../common/clock.h\"", "spelled \"core/<subsystem>/<file>\""},
      {"ui/table.h", 7, "\"clock.h\"", "spelled \"core/<subsystem>/<file>\""},
      {"ui/table.h", 8, "\"core/gui/window.h\"", "no core subsystem is named gui"},
      {"ui/table.h", 9, "\"core/common/../app/app.h\"", "no \".\" or \"..\" parts"},
  };

  const TreeResult result = CheckTree(fixture / "core", *graph);
  EXPECT_EQ(result.files, 7);  // notes.txt is no source file
  EXPECT_EQ(result.includes, 26);
  ASSERT_EQ(result.findings.size(), std::size(expected));
  for (std::size_t i = 0; i < std::size(expected); ++i) {
    const Finding& found = result.findings[i];
    const Expected& want = expected[i];
    SCOPED_TRACE(Format(found, "core"));
    EXPECT_EQ(std::tie(found.file, found.line, found.include),
              std::make_tuple(std::string(want.file), want.line, std::string(want.include)));
    EXPECT_NE(found.reason.find(want.reason), std::string::npos) << found.reason;
  }
}

TEST(IncludeGraphTree, ReportNamesFileLineAndInclude) {
  EXPECT_EQ(
      Format({"common/clock.h", 5, "\"core/app/app.h\"", "upward include: app depends on common"},
             "src/core"),
      "src/core/common/clock.h:5: #include \"core/app/app.h\": upward include: app depends on "
      "common");
  EXPECT_EQ(Format({"stray/x.h", 0, "", "folder stray is no subsystem"}, "src/core"),
            "src/core/stray/x.h: folder stray is no subsystem");
}

TEST(IncludeGraphHeaders, AHeaderOnlyLibraryIsForItsOwnSubsystemOnly) {
  const Graph graph = {{"common", {}}, {"config", {"common"}}};
  const std::string text = "#include <nlohmann/json.hpp>\n";
  EXPECT_TRUE(CheckFile("config/config_text.cpp", "config", text, graph).empty());
  const std::vector<Finding> elsewhere = CheckFile("common/x.cpp", "common", text, graph);
  ASSERT_EQ(elsewhere.size(), 1u);
  EXPECT_NE(elsewhere[0].reason.find("for subsystem config only"), std::string::npos);
}

}  // namespace
}  // namespace korvex48::core_includes
