// The configuration as a file: dump, apply and diff as scripts and people
// use them, with the mistakes a hand-edited file has.
#include <gtest/gtest.h>

#include <fstream>

#include "cli_runner.h"

namespace korvex48::testing {
namespace {

void WriteText(const std::string& path, const std::string& text) {
  std::ofstream(path, std::ios::binary) << text;
}

std::string Dump(const CliRig& rig) {
  const CliRun run = rig.Run({"--json", "dump"});
  EXPECT_EQ(run.status, 0) << run.err;
  return run.out;
}

// `text` with the first `from` replaced by `to`.
std::string Replaced(std::string text, const std::string& from, const std::string& to) {
  const std::size_t at = text.find(from);
  EXPECT_NE(at, std::string::npos) << from;
  if (at != std::string::npos) text.replace(at, from.size(), to);
  return text;
}

CliRig KindRig(const std::string& kind) {
  CliRig rig(kind);
  if (kind == "flash-flash")
    rig.AddGlobalOption(std::string("--default-image=") + KORVEX48_FLASH_FLASH_IMAGE);
  return rig;
}

class CliConfigKinds : public ::testing::TestWithParam<std::string> {};

// A configured mouse's file makes a fresh mouse of its kind the same, byte
// for byte as a saved profile shows it, and gives its own mouse nothing.
TEST_P(CliConfigKinds, DumpApplyDumpRecreatesTheMouse) {
  CliRig source = KindRig(GetParam());
  const std::vector<std::vector<std::string>> steps = {
      {"macro", "add", "1"},
      {"macro", "add", "2"},
      {"set", "button", "1", "6", "macro:Paste"},
      {"set", "button", "1", "4", "Ctrl+Shift+A"},
      {"set", "button", "2", "5", "Play/Pause"},
      {"set", "fire", "2", "delay=900", "continuous=on"},
      {"set", "dpi-count", "3"},
      {"set", "dpi-value", "2", "2400"},
      {"set", "dpi-color", "1", "255,128,0"},
      {"set", "report-rate", "500"},
      {"set", "led-mode", "1"},
      {"set", "led-step", "4"},
      {"set", "led-color", "7", "10,20,30"},
  };
  for (const auto& step : steps) ASSERT_EQ(source.Run(step).status, 0) << step[1];
  const std::string text = Dump(source);
  const std::string file = source.Path("mouse.json");
  WriteText(file, text);

  const CliRun own = source.Run({"apply", file});
  EXPECT_EQ(own.status, 0) << own.err;
  EXPECT_TRUE(own.writes.empty()) << own.writes.front();
  EXPECT_EQ(own.out, "");

  CliRig fresh = KindRig(GetParam());
  const CliRun applied = fresh.Run({"apply", file});
  ASSERT_EQ(applied.status, 0) << applied.err;
  EXPECT_NE(applied.out.find("macro 2: none -> \"Paste\""), std::string::npos) << applied.out;
  EXPECT_EQ(Dump(fresh), text);
  EXPECT_EQ(fresh.Run({"diff", file}).status, 0);

  ASSERT_EQ(source.Run({"save-profile", source.Path("a.bin")}).status, 0);
  ASSERT_EQ(fresh.Run({"save-profile", fresh.Path("b.bin")}).status, 0);
  EXPECT_EQ(ReadText(source.Path("a.bin")), ReadText(fresh.Path("b.bin")));

  // The binary profile is read the same way.
  CliRig third = KindRig(GetParam());
  ASSERT_EQ(third.Run({"apply", source.Path("a.bin")}).status, 0);
  EXPECT_EQ(Dump(third), text);
}

INSTANTIATE_TEST_SUITE_P(Kinds, CliConfigKinds,
                         ::testing::Values("i2c", "flash-i2c", "flash-flash"),
                         [](const auto& test_info) {
                           return test_info.param == "i2c"         ? std::string("I2C")
                                  : test_info.param == "flash-i2c" ? std::string("FlashI2C")
                                                                   : std::string("FlashFlash");
                         });

TEST(CliConfig, DiffAndDryRunSayWhatApplyWouldChange) {
  CliRig rig;
  const std::string text = Dump(rig);
  const std::string a = rig.Path("a.json"), b = rig.Path("b.json");
  WriteText(a, text);
  std::string changed = Replaced(text, R"({"button": 5, "function": "Right Key"})",
                                 R"({"button": 5, "function": "middle key"})");
  changed = Replaced(changed, R"("value": 1600)", R"("value": 2400)");
  WriteText(b, changed);
  const std::string lines =
      "profile 1 button 5: Right Key -> Middle Key\ndpi level 3: 1600 -> 2400\n";

  const CliRun files = rig.Run({"diff", a, b});
  EXPECT_EQ(files.status, 1) << files.err;
  EXPECT_EQ(files.out, lines);
  EXPECT_EQ(rig.Run({"diff", a, a}).status, 0);
  EXPECT_EQ(rig.Run({"diff", a}).status, 0);

  const CliRun dry = rig.Run({"apply", "--dry-run", b});
  EXPECT_EQ(dry.status, 0) << dry.err;
  EXPECT_EQ(dry.out, lines);
  EXPECT_TRUE(dry.writes.empty());
  EXPECT_EQ(rig.Run({"diff", b}).out, lines);

  const CliRun apply = rig.Run({"apply", b});
  EXPECT_EQ(apply.status, 0) << apply.err;
  EXPECT_EQ(apply.writes,
            (std::vector<std::string>{"40 05 01 10 01 04 00 00", "40 05 00 28 88 00 00 01",
                                      "40 05 00 26 65 00 00 01", "40 05 00 26 66 00 00 01"}));
  EXPECT_EQ(rig.Run({"diff", b}).status, 0);
}

// A file that does not read, or does not fit the mouse, ends in one line
// naming the place, and nothing reaches the mouse.
TEST(CliConfig, BadFilesSendNothing) {
  CliRig rig;
  const std::string good = Dump(rig);
  std::string long_macro = R"("macros": [{"name": "Long", "events": [)";
  for (int i = 0; i < 90; ++i) long_macro += std::string(i ? ", " : "") + "\"delay 5\"";
  long_macro += "]}]";
  std::string crowded = R"("macros": [)";
  for (int m = 0; m < 15; ++m) {
    crowded +=
        std::string(m ? ", " : "") + R"({"name": "M)" + std::to_string(m) + R"(", "events": [)";
    for (int i = 0; i < 10; ++i) crowded += std::string(i ? ", " : "") + "\"delay 5\"";
    crowded += "]}";
  }
  crowded += "]";

  struct Case {
    const char* name;
    std::string text;
    int status;
    std::string says;
  };
  const Case cases[] = {
      {"syntax error", Replaced(good, "\"storage\": \"packed\",", "\"storage\": \"packed\""), 2,
       "line 4, column 18: syntax error while parsing object"},
      {"unknown key",
       Replaced(good, R"("level": 1, )", R"("level": 1, "colour_stored": [1, 2, 3], )"), 2,
       "dpi level 1: unknown key \"colour_stored\""},
      {"unknown function", Replaced(good, "\"Right Key\"", "\"Rigth Key\""), 2,
       "profile 1, button 5, function: unknown function \"Rigth Key\"; did you mean \"Right "
       "Key\"?"},
      {"unknown key name", Replaced(good, "\"Right Key\"", "\"Ctrl+Shfit+A\""), 2,
       "profile 1, button 5, function: unknown function \"Ctrl+Shfit+A\""},
      {"value out of range", Replaced(good, "\"report_rate_hz\": 1000", "\"report_rate_hz\": 999"),
       2, "report_rate_hz: 999 is no report rate"},
      {"dpi value not in the list", Replaced(good, "\"value\": 600", "\"value\": 650"), 2,
       "dpi level 1, value: 650 is no DPI value"},
      {"fire key count of another fire key",
       Replaced(good, R"("Fire Key2", "count": 4)", R"("Fire Key2", "count": 2)"), 2,
       "profile 1, button 2, count: a count of 2 is Fire Key1's"},
      {"macro too long", Replaced(good, "\"macros\": []", long_macro), 2,
       "macro 1, events: the events take 270 bytes; a macro holds at most 255"},
      {"blank macro name",
       Replaced(good, "\"macros\": []", R"("macros": [{"name": "  ", "events": []}])"), 2,
       "macro 1, name: a macro name cannot be blank"},
      {"macro name with a direction control",
       Replaced(good, "\"macros\": []", R"("macros": [{"name": "ab\u202Ecd", "events": []}])"), 2,
       "macro 1, name: a macro name cannot hold text-direction controls"},
      {"macro name too long",
       Replaced(good, "\"macros\": []", R"("macros": [{"name": "NineChars", "events": []}])"), 2,
       "macro 1, name: a macro name has 1 to 8 characters"},
      {"unknown macro", Replaced(good, "\"Right Key\"", "\"macro:Copy\""), 2,
       "profile 1, button 5, function: no macro is named \"Copy\""},
      {"another schema", Replaced(good, "\"schema\": 2", "\"schema\": 1"), 2,
       "schema: this is schema 1"},
      {"wrong storage kind", Replaced(good, "\"packed\"", "\"slot\""), 4,
       "for a mouse with slot macro storage; this mouse has packed"},
      {"macros that do not fit", Replaced(good, "\"macros\": []", crowded), 4,
       "do not fit in the 512-byte macro area"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string file = rig.Path("bad.json");
    WriteText(file, c.text);
    const CliRun run = rig.Run({"apply", file});
    EXPECT_EQ(run.status, c.status);
    EXPECT_NE(run.err.find(c.says), std::string::npos) << run.err;
    EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << run.err;
    EXPECT_TRUE(run.writes.empty()) << run.writes.front();
  }
  EXPECT_EQ(Dump(rig), good);
}

}  // namespace
}  // namespace korvex48::testing
