// The golden mice through korvex48ctl: every view shows what its file holds,
// the mouse's own save compares equal to it and applying it sends nothing,
// and a file applied to another mouse compares equal afterwards.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "cli_runner.h"
#include "golden_cases.h"

namespace korvex48::testing {
namespace {

bool WritingGolden() { return std::getenv("KORVEX48_WRITE_GOLDEN") != nullptr; }

CliRig RigFor(const GoldenCase& c) {
  CliRig rig{std::string(SimulatedStorageName(c.storage))};
  if (!GoldenDefaultImage(c).empty())
    rig.AddGlobalOption("--default-image=" + GoldenDefaultImage(c));
  return rig;
}

// The rig's mouse holds the case's image (or, while the files are written,
// is built as the case first made it).
void PutMouse(const CliRig& rig, const GoldenCase& c) {
  SimulatedMouse mouse(c.storage);
  if (WritingGolden()) {
    if (c.make) c.make(mouse);
  } else {
    const std::string image = ReadGolden(c, "mouse.bin");
    ASSERT_GE(image.size(), kPackedImageSize) << GoldenPath(c, "mouse.bin");
    PutImage(mouse, image);
  }
  std::string error;
  ASSERT_TRUE(mouse.AttachStateFile(rig.StatePath(), &error)) << error;
  ASSERT_TRUE(mouse.SaveStateFile(&error)) << error;
}

void WriteFile(const std::string& path, const std::string& text) {
  std::filesystem::create_directories(std::filesystem::path(path).parent_path());
  std::ofstream(path, std::ios::binary) << text;
}

class CliGolden : public ::testing::TestWithParam<GoldenCase> {};

TEST_P(CliGolden, EveryViewShowsItsFile) {
  const GoldenCase& c = GetParam();
  const CliRig rig = RigFor(c);
  PutMouse(rig, c);
  const std::string saved = rig.Path("saved.bin");
  const CliRun save = rig.Run({"save-profile", saved});
  ASSERT_EQ(save.status, 0) << save.err;
  EXPECT_TRUE(save.writes.empty()) << save.writes.front();
  const CliRun json = rig.Run({"--json", "dump"});
  ASSERT_EQ(json.status, 0) << json.err;
  const CliRun dump = rig.Run({"dump"});
  ASSERT_EQ(dump.status, 0) << dump.err;
  if (WritingGolden()) {
    WriteFile(GoldenPath(c, "mouse.bin"), ReadText(saved));
    WriteFile(GoldenPath(c, "config.json"), json.out);
    WriteFile(GoldenPath(c, "dump.txt"), dump.out);
  }
  EXPECT_EQ(ReadText(saved), ReadGolden(c, "mouse.bin")) << "save-profile";
  EXPECT_EQ(json.out, ReadGolden(c, "config.json"));
  EXPECT_EQ(dump.out, ReadGolden(c, "dump.txt"));
}

// Its own files, kept and made again, are no difference to the mouse.
TEST_P(CliGolden, ItsOwnFilesCompareEqualAndApplySendsNothing) {
  const GoldenCase& c = GetParam();
  const CliRig rig = RigFor(c);
  PutMouse(rig, c);
  ASSERT_EQ(rig.Run({"save-profile", rig.Path("saved.bin")}).status, 0);
  WriteFile(rig.Path("dumped.json"), rig.Run({"--json", "dump"}).out);
  for (const std::string& file : {GoldenPath(c, "mouse.bin"), GoldenPath(c, "config.json"),
                                  rig.Path("saved.bin"), rig.Path("dumped.json")}) {
    SCOPED_TRACE(file);
    const CliRun diff = rig.Run({"diff", file});
    EXPECT_EQ(diff.status, 0) << diff.err;
    EXPECT_EQ(diff.out, "");
    const CliRun apply = rig.Run({"apply", file});
    EXPECT_EQ(apply.status, 0) << apply.err;
    EXPECT_EQ(apply.out, "");
    EXPECT_TRUE(apply.writes.empty()) << apply.writes.front();
  }
}

// A mouse of the same kind given the file holds it afterwards.
TEST_P(CliGolden, AppliedToAnotherMouseTheFileComparesEqual) {
  const GoldenCase& c = GetParam();
  for (const std::string& file : {GoldenPath(c, "config.json"), GoldenPath(c, "mouse.bin")}) {
    SCOPED_TRACE(file);
    const CliRig fresh = RigFor(c);
    const CliRun apply = fresh.Run({"apply", file});
    ASSERT_EQ(apply.status, 0) << apply.err;
    const CliRun diff = fresh.Run({"diff", file});
    EXPECT_EQ(diff.status, 0) << diff.out;
    EXPECT_EQ(fresh.Run({"--json", "dump"}).out, ReadGolden(c, "config.json"));
  }
}

INSTANTIATE_TEST_SUITE_P(Cases, CliGolden, ::testing::ValuesIn(GoldenCases()),
                         [](const auto& test_info) {
                           std::string name = test_info.param.name;
                           for (char& ch : name)
                             if (ch == '-') ch = '_';
                           return name;
                         });

}  // namespace
}  // namespace korvex48::testing
