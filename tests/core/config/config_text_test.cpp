// The edges of the text form: what a hand-edited or foreign file holds, and
// what the reader must take as the mouse reads it back.
#include "core/config/config_text.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "core/config/config_diff.h"
#include "core/config/image_codec.h"
#include "core/image/default_image.h"

namespace korvex48 {
namespace {

std::string DefaultText() {
  ConfigImage image;
  ReadDefaultSections(StorageKind::kI2C, image);
  return ConfigurationToText(DecodeConfiguration(image, StorageLayout::kPacked, "I2C"));
}

std::string Replaced(std::string text, const std::string& from, const std::string& to) {
  const std::size_t at = text.find(from);
  EXPECT_NE(at, std::string::npos) << from;
  if (at != std::string::npos) text.replace(at, from.size(), to);
  return text;
}

struct ProblemCase {
  const char* name;
  std::string text;
  std::string line;  // TextProblem::Line()
};

TEST(ConfigTextProblems, SayWhereAndWhatInOneShortLine) {
  const std::string good = DefaultText();
  const std::string long_name(900'000, 'B');
  const ProblemCase cases[] = {
      {"a key given twice",
       Replaced(good, R"("report_rate_hz": 1000)",
                R"("report_rate_hz": 1000, "report_rate_hz": 500)"),
       "the key \"report_rate_hz\" is given twice"},
      {"a key given twice in a numbered entry",
       Replaced(good, R"({"button": 3, )", R"({"button": 3, "button": 3, )"),
       "profile 1, button 3: the key \"button\" is given twice"},
      {"a number no double holds", Replaced(good, R"("mode": 3)", R"("mode": 1e999)"),
       "lighting.mode: 1e999 is out of range"},
      {"a whole number past 64 bits",
       Replaced(good, R"("mode": 3)", R"("mode": 123456789012345678901234567890)"),
       "lighting.mode: 123456789012345678901234567890 is out of range"},
      {"the largest 64-bit number",
       Replaced(good, R"("mode": 3)", R"("mode": 18446744073709551615)"),
       "lighting.mode: 18446744073709551615 is out of range (0..15)"},
      {"a fraction", Replaced(good, R"("mode": 3)", R"("mode": 1.5)"),
       "lighting.mode: expected a whole number, found a fraction (1.5)"},
      {"places number entries from 1",
       Replaced(good, R"({"button": 3, "function": "Backward"})",
                R"({"button": 3, "function": "Backwrd"})"),
       "profile 1, button 3, function: unknown function \"Backwrd\"; did you mean \"Backward\"?"},
      {"a colour component", Replaced(good, R"("colour": [0, 15, 0])", R"("colour": [0, 16, 0])"),
       "dpi level 2, colour green: 16 is out of range (0..15)"},
      {"a long name is cut in the message",
       Replaced(good, R"("function": "Backward")", "\"function\": \"" + long_name + "\""),
       "profile 1, button 3, function: unknown function "
       "\"BBBBBBBBBBBBBBBBBBBBBBBBBBBBBBBBBBBBBBBB...\" (900000 bytes)"},
      {"an event cut short",
       Replaced(good, R"("macros": [])",
                R"("macros": [{"name": "A", "events": ["key-down A", "bytes FE 01"]}])"),
       "macro 1, event 2: \"bytes FE 01\" cuts an event short: an event that starts with FE has "
       "3 bytes"},
  };
  for (const ProblemCase& c : cases) {
    SCOPED_TRACE(c.name);
    TextProblem problem;
    EXPECT_FALSE(ConfigurationFromText(c.text, &problem).has_value());
    EXPECT_EQ(problem.Line(), c.line);
  }
}

TEST(ConfigTextEdges, AByteOrderMarkIsSkipped) {
  const std::string text = "\xEF\xBB\xBF" + DefaultText();
  EXPECT_TRUE(LooksLikeConfigurationText(text));
  TextProblem problem;
  const std::optional<Configuration> read = ConfigurationFromText(text, &problem);
  ASSERT_TRUE(read) << problem.Line();
  EXPECT_EQ(ConfigurationToText(*read), DefaultText());
}

ConfigImage GoldenImage(const std::string& name) {
  std::ifstream in(std::string(KORVEX48_SOURCE_DIR) + "/tests/golden/" + name + "/mouse.bin",
                   std::ios::binary);
  const std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  ConfigImage image;
  EXPECT_EQ(bytes.size(), kPackedImageSize);
  if (bytes.size() != kPackedImageSize) return image;
  std::copy_n(bytes.begin(), image.parameters.size(), image.parameters.begin());
  std::copy_n(bytes.begin() + kImageProfileOffset, image.profiles.size(), image.profiles.begin());
  std::copy_n(bytes.begin() + kImageMacroOffset, image.macro_area.size(), image.macro_area.begin());
  return image;
}

// A file read is what a mouse given it reads back: a code the typed forms
// name takes that name, and a repeat-stop where packing puts its page filler
// (as files written before the filler was known hold it) is the filler.
TEST(ConfigTextEdges, ReadsAsTheMouseReadsItBack) {
  const ConfigImage image = GoldenImage("page-filler");
  const Configuration mouse = DecodeConfiguration(image, StorageLayout::kPacked, "I2C");
  const std::string text = ConfigurationToText(mouse);
  std::string old = Replaced(text, R"("key-down D")", "\"repeat-end\", \"key-down D\"");
  old = Replaced(old, R"("function": "Left Key")", R"("function": "code:01010000")");
  TextProblem problem;
  const std::optional<Configuration> read = ConfigurationFromText(old, &problem);
  ASSERT_TRUE(read) << problem.Line();
  EXPECT_EQ(*read, mouse);
  EXPECT_TRUE(ConfigurationDifferences(mouse, *read).empty());

  // The filler stays in the image: it is packed again, byte for byte.
  ConfigImage again = image;
  std::fill(again.macro_area.begin(), again.macro_area.end(), 0);
  ASSERT_TRUE(EncodeConfiguration(*read, "I2C", again).ok);
  EXPECT_EQ(again.macro_area, image.macro_area);
  EXPECT_EQ(again.macro_area[255], 0xFC);
}

}  // namespace
}  // namespace korvex48
