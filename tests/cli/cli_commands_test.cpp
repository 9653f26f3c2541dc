// The other commands as scripts use them: JSON output, profile files, reset,
// device macros, the library, and the errors of each.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <utility>

#include "cli_runner.h"
#include "json_value.h"
#include "unprivileged.h"

namespace korvex48::testing {
namespace {

Json DumpJson(const CliRig& rig) {
  const CliRun run = rig.Run({"--json", "dump"});
  EXPECT_EQ(run.status, 0) << run.err;
  return Json::Parse(run.out);
}

TEST(CliDump, JsonDocumentHoldsTheWholeConfiguration) {
  CliRig rig;
  const Json d = DumpJson(rig);
  EXPECT_EQ(d["schema"].integer, 2);
  EXPECT_EQ(d["storage"].text, "packed");
  EXPECT_EQ(d["active_profile"].integer, 1);
  ASSERT_EQ(d["profiles"].items.size(), 3u);
  const Json& p1 = d["profiles"][0]["buttons"];
  ASSERT_EQ(p1.items.size(), 12u);
  EXPECT_EQ(p1[0]["function"].text, "Left Key");
  EXPECT_EQ(p1[1]["function"].text, "Fire Key2");
  EXPECT_EQ(p1[1]["count"].integer, 4);
  EXPECT_EQ(p1[1]["delay_ms"].integer, 50);
  EXPECT_EQ(d["profiles"][2]["buttons"][1]["function"].text, "Fire Key3");
  EXPECT_EQ(d["fire_key_counts"][1].integer, 4);
  EXPECT_EQ(d["dpi"]["level_count"].integer, 7);
  EXPECT_EQ(d["dpi"]["active_level"].integer, 7);
  ASSERT_EQ(d["dpi"]["levels"].items.size(), 8u);
  EXPECT_EQ(d["dpi"]["levels"][0]["value"].integer, 600);
  EXPECT_EQ(d["report_rate_hz"].integer, 1000);
  EXPECT_EQ(d["lighting"]["kind"].text, "NT");
  EXPECT_EQ(d["lighting"]["mode"].integer, 3);
  EXPECT_EQ(d["lighting"]["colours"].items.size(), 7u);
  EXPECT_EQ(d["macros"].kind, Json::Kind::kArray);

  ASSERT_EQ(rig.Run({"set", "dpi-value", "1", "3200"}).status, 0);
  ASSERT_EQ(rig.Run({"set", "led-color", "2", "255,0,20"}).status, 0);
  ASSERT_EQ(rig.Run({"set", "button", "1", "4", "Win+F5"}).status, 0);
  const Json after = DumpJson(rig);
  EXPECT_EQ(after["dpi"]["levels"][0]["value"].integer, 3200);
  const Json& rgb = after["lighting"]["colours"][1];
  EXPECT_EQ(rgb[0].integer, 15);
  EXPECT_EQ(rgb[2].integer, 1);  // 20 of 255 is kept as 1 of 15
  EXPECT_EQ(after["profiles"][0]["buttons"][3]["function"].text, "Win+F5");
}

TEST(CliInfo, JsonAndTextAgree) {
  CliRig rig;
  const CliRun json = rig.Run({"--json", "info"});
  ASSERT_EQ(json.status, 0) << json.err;
  const Json info = Json::Parse(json.out);
  EXPECT_EQ(info["vendor_id"].integer, 0x3AB0);
  EXPECT_EQ(info["product_id"].integer, 0x08B8);
  EXPECT_EQ(info["primary_storage"].text, "I2C");
  EXPECT_TRUE(info["accepted"].boolean);
  const CliRun text = rig.Run({"info"});
  EXPECT_NE(text.out.find("accepted:           yes"), std::string::npos);
}

class CliScript : public ::testing::TestWithParam<std::string> {};

// Save, change, load back: the saved files agree byte for byte.
// A "Flash" + "Flash" mouse is accepted with the default image of its build.
TEST_P(CliScript, SaveChangeLoadBack) {
  CliRig rig(GetParam());
  const bool slots = GetParam() == "flash-flash";
  if (slots) rig.AddGlobalOption(std::string("--default-image=") + KORVEX48_FLASH_FLASH_IMAGE);
  const std::string a = rig.Path("a.bin"), b = rig.Path("b.bin"), c = rig.Path("c.bin");
  ASSERT_EQ(rig.Run({"save-profile", a}).status, 0);
  const std::string before = ReadText(a);
  EXPECT_EQ(before.size(), slots ? 8960u : 768u);
  ASSERT_EQ(rig.Run({"set", "dpi-value", "2", "1600"}).status, 0);
  ASSERT_EQ(rig.Run({"set", "button", "1", "3", "KB Switch Key"}).status, 0);
  ASSERT_EQ(rig.Run({"set", "active-profile", "2"}).status, 0);
  ASSERT_EQ(rig.Run({"set", "led-mode", "off"}).status, 0);
  ASSERT_EQ(rig.Run({"save-profile", b}).status, 0);
  EXPECT_NE(ReadText(b), before);
  const CliRun load = rig.Run({"load-profile", a});
  ASSERT_EQ(load.status, 0) << load.err;
  EXPECT_FALSE(load.writes.empty());
  ASSERT_EQ(rig.Run({"save-profile", c}).status, 0);
  EXPECT_EQ(ReadText(c), before);
  // The changes are gone from the mouse, and a reset gives the defaults back.
  EXPECT_EQ(DumpJson(rig)["active_profile"].integer, 1);
  ASSERT_EQ(rig.Run({"set", "dpi-count", "2"}).status, 0);
  ASSERT_EQ(rig.Run({"reset"}).status, 0);
  EXPECT_EQ(DumpJson(rig)["dpi"]["level_count"].integer, 7);
}

INSTANTIATE_TEST_SUITE_P(Kinds, CliScript, ::testing::Values("i2c", "flash-i2c", "flash-flash"),
                         [](const auto& test_info) {
                           if (test_info.param == "i2c") return std::string("I2C");
                           return test_info.param == "flash-i2c" ? std::string("FlashI2C")
                                                                 : std::string("FlashFlash");
                         });

TEST(CliFiles, RefusedAndMissingFilesChangeNothing) {
  CliRig rig;
  ASSERT_EQ(rig.Run({"save-profile", rig.Path("slot.bin")}).status, 0);
  {
    std::string text = ReadText(rig.Path("slot.bin"));
    text[0] = static_cast<char>(0xF0);  // another layout's mark
    std::ofstream(rig.Path("slot.bin"), std::ios::binary) << text;
  }
  const CliRun refused = rig.Run({"load-profile", rig.Path("slot.bin")});
  EXPECT_EQ(refused.status, 3);
  EXPECT_NE(refused.err.find("Loading .bin is error!"), std::string::npos);
  EXPECT_TRUE(refused.writes.empty());
  const CliRun missing = rig.Run({"load-profile", rig.Path("nothing.bin")});
  EXPECT_EQ(missing.status, 3);
  EXPECT_TRUE(missing.writes.empty());
  EXPECT_EQ(rig.Run({"save-profile", rig.Path("no/such/folder/x.bin")}).status, 3);
  EXPECT_EQ(rig.Run({"firmware", rig.Path("nothing.bin")}).status, 3);
  // A file the user may not write is refused as cp refuses it, not replaced.
  std::ofstream(rig.Path("readonly.bin")) << "keep";
  std::filesystem::permissions(rig.Path("readonly.bin"), std::filesystem::perms::owner_read |
                                                             std::filesystem::perms::group_read |
                                                             std::filesystem::perms::others_read);
  rig.UseProgramCopy();
  {
    Unprivileged user(rig.Dir());
    if (!user.Active()) GTEST_SKIP() << user.Reason();
    const CliRun readonly = rig.Run({"save-profile", rig.Path("readonly.bin")});
    EXPECT_EQ(readonly.status, 3);
    EXPECT_NE(readonly.err.find("Permission denied"), std::string::npos) << readonly.err;
  }
  EXPECT_EQ(ReadText(rig.Path("readonly.bin")), "keep");
}

TEST(CliMacros, AddAssignDeleteFollowsTheButtons) {
  CliRig rig;
  const CliRun lib = rig.Run({"--json", "library", "list"});
  ASSERT_EQ(lib.status, 0) << lib.err;
  const Json rows = Json::Parse(lib.out);
  ASSERT_GE(rows.items.size(), 2u);
  const std::string first = rows[0]["name"].text;
  const std::string second = rows[1]["name"].text;

  ASSERT_EQ(rig.Run({"macro", "add", "1"}).status, 0);
  ASSERT_EQ(rig.Run({"macro", "add", "2"}).status, 0);
  const Json list = Json::Parse(rig.Run({"--json", "macro", "list"}).out);
  ASSERT_EQ(list.items.size(), 2u);
  EXPECT_EQ(list[0]["name"].text, first);
  EXPECT_EQ(list[0]["address"].integer, 0x0210);
  ASSERT_EQ(rig.Run({"set", "button", "1", "4", "macro:" + first}).status, 0);
  ASSERT_EQ(rig.Run({"set", "button", "1", "6", "macro:" + second}).status, 0);
  Json d = DumpJson(rig);
  EXPECT_EQ(d["profiles"][0]["buttons"][3]["function"].text, "macro:" + first);
  ASSERT_EQ(d["macros"].items.size(), 2u);
  EXPECT_FALSE(d["macros"][0]["events"].items.empty());

  // Profile 3 cannot be edited, but a profile file can give it macros too:
  // buttons 4 and 6 of profile 3 run the same two macros.
  ASSERT_EQ(rig.Run({"save-profile", rig.Path("p.bin")}).status, 0);
  std::string file = ReadText(rig.Path("p.bin"));
  ASSERT_GE(file.size(), 768u);
  const std::size_t profile3 = 104 + 96;
  for (const auto& [button, macro] : {std::pair{4, 0}, std::pair{6, 1}}) {
    const auto address =
        static_cast<unsigned>(list[static_cast<std::size_t>(macro)]["address"].integer);
    const std::size_t at = profile3 + 4 * static_cast<std::size_t>(button - 1);
    file[at] = 0x10;
    file[at + 1] = static_cast<char>(address >> 8);
    file[at + 2] = static_cast<char>(address & 0xFF);
    file[at + 3] = 0;
  }
  std::ofstream(rig.Path("p3.bin"), std::ios::binary) << file;
  ASSERT_EQ(rig.Run({"load-profile", rig.Path("p3.bin")}).status, 0);
  d = DumpJson(rig);
  ASSERT_EQ(d["profiles"][2]["buttons"][3]["function"].text, "macro:" + first);
  ASSERT_EQ(d["profiles"][2]["buttons"][5]["function"].text, "macro:" + second);

  // Deleting the first macro: button 4 falls back, button 6 follows the
  // second macro to its new address, in every profile.
  ASSERT_EQ(rig.Run({"macro", "delete", "1"}).status, 0);
  d = DumpJson(rig);
  for (int p = 0; p < 3; p += 2) {
    EXPECT_EQ(d["profiles"][p]["buttons"][3]["function"].text, "WWW Home") << "profile " << p + 1;
    EXPECT_EQ(d["profiles"][p]["buttons"][5]["function"].text, "macro:" + second)
        << "profile " << p + 1;
  }
  EXPECT_EQ(d["macros"].items.size(), 1u);
  EXPECT_EQ(rig.Run({"macro", "show", "2"}).status, 2);
  EXPECT_EQ(rig.Run({"macro", "add", "1000"}).status, 2);
}

TEST(CliLibrary, NamesFilesAndTheDuplicateRule) {
  CliRig rig;
  const auto count = [&] {
    return Json::Parse(rig.Run({"--json", "library", "list"}).out).items.size();
  };
  const std::size_t n = count();
  EXPECT_TRUE(std::filesystem::exists(rig.LibraryPath()));
  ASSERT_EQ(rig.Run({"library", "new", "Zed"}).status, 0);
  EXPECT_EQ(count(), n + 1);
  const CliRun dup = rig.Run({"library", "new", "Zed"});
  EXPECT_EQ(dup.status, 4);
  EXPECT_NE(dup.err.find("This macro already exists"), std::string::npos);
  EXPECT_EQ(rig.Run({"library", "rename", "1", "Zed"}).status, 4);
  EXPECT_EQ(rig.Run({"library", "new", "NineChars"}).status, 2);
  ASSERT_EQ(rig.Run({"library", "export", std::to_string(n + 1), rig.Path("one.bin")}).status, 0);
  EXPECT_EQ(ReadText(rig.Path("one.bin")).size(), 272u);
  EXPECT_EQ(rig.Run({"library", "import", rig.Path("one.bin")}).status, 4);  // same name
  ASSERT_EQ(rig.Run({"library", "delete", std::to_string(n + 1)}).status, 0);
  EXPECT_EQ(count(), n);
  ASSERT_EQ(rig.Run({"library", "import", rig.Path("one.bin")}).status, 0);
  EXPECT_EQ(count(), n + 1);
  ASSERT_EQ(rig.Run({"library", "export-all", rig.Path("all.bin")}).status, 0);
  EXPECT_EQ(ReadText(rig.Path("all.bin")), ReadText(rig.LibraryPath()));
  ASSERT_EQ(rig.Run({"library", "rename", "1", "First"}).status, 0);
  ASSERT_EQ(rig.Run({"library", "import-all", rig.Path("all.bin")}).status, 0);
  EXPECT_EQ(ReadText(rig.Path("all.bin")), ReadText(rig.LibraryPath()));
  EXPECT_EQ(rig.Run({"library", "show", "1000"}).status, 2);
}

// A library named with --library is the user's own file: one that does not
// exist (a typing slip) or does not load ends every command in one line, and
// is never created, replaced or moved aside; the mouse is not touched.
TEST(CliLibrary, ANamedLibraryMustLoad) {
  CliRig rig;
  ASSERT_EQ(rig.Run({"library", "export-all", rig.Path("mine.bin")}).status, 0);
  std::string broken = ReadText(rig.Path("mine.bin"));
  std::fill_n(broken.begin() + 272 + 16, 256, '\xA1');  // row 2 never ends
  std::ofstream(rig.Path("broken.bin"), std::ios::binary) << broken;
  const auto listing = [&] {
    std::vector<std::pair<std::string, std::string>> files;
    for (const auto& entry : std::filesystem::directory_iterator(rig.Dir()))
      if (entry.path().filename() != "trace" && entry.path().filename() != "stdout" &&
          entry.path().filename() != "stderr")
        files.emplace_back(entry.path().filename().string(),
                           entry.is_regular_file() ? ReadText(entry.path()) : std::string());
    return files;
  };
  const std::vector<std::string> commands[] = {{"macro", "add", "1"},
                                               {"library", "list"},
                                               {"library", "show", "1"},
                                               {"library", "new", "X"}};
  for (const auto& [file, says] : {std::pair{"my-macros.bn", "No such file or directory"},
                                   std::pair{"broken.bin", "macro 2 does not end"}}) {
    for (const std::vector<std::string>& command : commands) {
      SCOPED_TRACE(std::string(file) + ": " + command[0] + " " + command[1]);
      const auto before = listing();
      std::vector<std::string> args = {"--library=" + rig.Path(file)};
      args.insert(args.end(), command.begin(), command.end());
      const CliRun run = rig.Run(args);
      EXPECT_EQ(run.status, 3);
      EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << run.err;
      EXPECT_NE(run.err.find(says), std::string::npos) << run.err;
      EXPECT_TRUE(run.out.empty()) << run.out;
      EXPECT_TRUE(run.writes.empty());
      EXPECT_EQ(listing(), before);
    }
  }
  // A library that loads is used and written as the commands say.
  ASSERT_EQ(rig.Run({"--library=" + rig.Path("mine.bin"), "library", "new", "Mine"}).status, 0);
  EXPECT_NE(ReadText(rig.Path("mine.bin")), ReadText(rig.LibraryPath()));
}

TEST(CliConnection, NoMouseIsExitOne) {
  CliRig rig;
  std::filesystem::create_directory(rig.Path("empty"));
  rig.UseDeviceDir(rig.Path("empty"));
  const CliRun run = rig.Run({"dump"});
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.err.find("no Korvex48 mouse 3ab0:08b8 found"), std::string::npos) << run.err;
}

// The default configuration is for a packed-layout mouse: a mouse with two
// flash storages is refused with the system's text, and nothing is read.
TEST(CliConnection, RefusedMouseIsExitOne) {
  CliRig rig("flash-flash");
  const CliRun info = rig.Run({"info"});
  EXPECT_EQ(info.status, 1);
  EXPECT_NE(info.out.find("secondary storage:  Flash"), std::string::npos) << info.out;
  EXPECT_NE(info.out.find("accepted:           no"), std::string::npos) << info.out;
  EXPECT_NE(info.err.find("Korvex48Data.bin file type error"), std::string::npos) << info.err;
  const CliRun set = rig.Run({"set", "dpi-active", "1"});
  EXPECT_EQ(set.status, 1);
  EXPECT_TRUE(set.writes.empty());
}

TEST(CliConnection, HelpAndUdevRulesNeedNoMouse) {
  CliRig rig;
  const CliRun help = rig.Exec({KORVEX48CTL, "--help"});
  EXPECT_EQ(help.status, 0);
  EXPECT_NE(help.out.find("load-profile"), std::string::npos);
  EXPECT_EQ(rig.Exec({KORVEX48CTL, "set", "--help"}).status, 0);
  const CliRun udev = rig.Exec({KORVEX48CTL, "udev-rules"});
  EXPECT_EQ(udev.status, 0);
  EXPECT_NE(udev.out.find("ATTRS{idVendor}==\"3ab0\", ATTRS{idProduct}==\"08b8\""),
            std::string::npos);
  EXPECT_EQ(rig.Exec({KORVEX48CTL}).status, 2);
  EXPECT_EQ(rig.Exec({KORVEX48CTL, "--simulate=floppy", "info"}).status, 2);
}

}  // namespace
}  // namespace korvex48::testing
