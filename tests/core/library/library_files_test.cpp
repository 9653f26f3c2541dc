#include "core/library/library_files.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "core/macros/macro_lines.h"
#include "unprivileged.h"

namespace korvex48 {
namespace {

namespace fs = std::filesystem;

class LibraryFiles : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() /
           ("korvex48_library_" +
            std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
    fs::remove_all(dir_);
    fs::create_directories(dir_);
  }
  void TearDown() override { testing::RemoveTestFolder(dir_); }
  std::string Path(const std::string& name) const { return (dir_ / name).string(); }
  fs::path dir_;
};

Bytes Read(const std::string& path) { return ReadWholeFile(path).value_or(Bytes{}); }

TEST_F(LibraryFiles, FirstStartCreatesTheDefaultLibrary) {
  const std::string path = Path("sub/Macro.bin");  // the folder is created too
  PcMacroLibrary lib;
  ASSERT_EQ(LoadLibraryFile(lib, path), LibraryLoadResult::kCreated);
  const ByteView defaults = DefaultLibraryBytes();
  EXPECT_EQ(Read(path), Bytes(defaults.begin(), defaults.end()));
  EXPECT_EQ(lib.Count(), 23u);

  // The next start reads the file.
  PcMacroLibrary again;
  EXPECT_EQ(LoadLibraryFile(again, path), LibraryLoadResult::kLoaded);
  EXPECT_EQ(again.ToBytes(), lib.ToBytes());
}

TEST_F(LibraryFiles, AShortLibraryFileLoadsWhatItHoldsAndSavesWhole) {
  const std::string path = Path("Macro.bin");
  PcMacroLibrary full;
  full.Load(DefaultLibraryBytes());
  const Bytes bytes = full.ToBytes();
  ASSERT_TRUE(WriteFileAtomically(path, ByteView(bytes).first(272 * 2 + 1)));

  PcMacroLibrary lib;
  ASSERT_EQ(LoadLibraryFile(lib, path), LibraryLoadResult::kLoaded);
  EXPECT_EQ(lib.Count(), 2u);
  ASSERT_TRUE(SaveLibraryFile(lib, path));
  EXPECT_EQ(Read(path).size(), kLibraryFileSize);
}

// A library that cannot be taken is left exactly as it is (no default
// library written over it, nothing kept aside) and the load says why; a file
// the user named must exist and be a library.
TEST_F(LibraryFiles, ALibraryThatDoesNotLoadIsNeverReplaced) {
  PcMacroLibrary defaults;
  defaults.Load(DefaultLibraryBytes());
  const Bytes library = defaults.ToBytes();
  for (const char* folder : {"unreadable", "hidden", "broken", "large", "readonly"})
    fs::create_directories(Path(folder));
  fs::create_directories(Path("folder/Macro.bin"));  // exists, but cannot be read as a file
  ASSERT_TRUE(WriteFileAtomically(Path("unreadable/Macro.bin"), library));
  fs::permissions(Path("unreadable/Macro.bin"), fs::perms::owner_write);
  ASSERT_TRUE(WriteFileAtomically(Path("hidden/Macro.bin"), library));
  fs::permissions(Path("hidden"), fs::perms::owner_read | fs::perms::owner_write);
  std::ofstream(Path("large/Macro.bin")).close();
  fs::resize_file(Path("large/Macro.bin"), (64u << 20) + 1);  // sparse: costs no disk
  ASSERT_TRUE(WriteFileAtomically(Path("broken/mine.bin"), Bytes(kLibraryFileSize + 1, 0x41)));
  fs::permissions(Path("readonly"), fs::perms::owner_read | fs::perms::owner_exec);

  struct Case {
    std::string file;
    LibraryOpening opening;
    LibraryLoadResult result;
    std::string says;
  };
  const Case cases[] = {
      {"folder/Macro.bin", LibraryOpening::kProgramLibrary, LibraryLoadResult::kReadFailed,
       "is a directory"},
      {"unreadable/Macro.bin", LibraryOpening::kProgramLibrary, LibraryLoadResult::kReadFailed,
       "Permission denied"},
      {"hidden/Macro.bin", LibraryOpening::kProgramLibrary, LibraryLoadResult::kReadFailed,
       "Permission denied"},
      {"large/Macro.bin", LibraryOpening::kProgramLibrary, LibraryLoadResult::kReadFailed,
       "too large"},
      {"missing.bin", LibraryOpening::kNamedByUser, LibraryLoadResult::kReadFailed,
       "No such file or directory"},
      {"broken/mine.bin", LibraryOpening::kNamedByUser, LibraryLoadResult::kReadFailed,
       "not a macro library"},
      // A first start in a data folder the user may not write says so.
      {"readonly/korvex48/Macro.bin", LibraryOpening::kProgramLibrary,
       LibraryLoadResult::kCreateFailed, "Permission denied"},
  };
  testing::Unprivileged user(dir_);
  if (!user.Active()) GTEST_SKIP() << user.Reason();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.file);
    const fs::path folder = fs::path(Path(c.file)).parent_path();
    const auto listing = [&] {
      std::vector<std::pair<std::string, std::uintmax_t>> found;
      std::error_code ec;
      for (const auto& entry : fs::directory_iterator(folder, ec))
        found.emplace_back(entry.path().filename().string(), fs::file_size(entry.path(), ec));
      return found;
    };
    const auto before = listing();
    PcMacroLibrary lib;
    FileError error;
    EXPECT_EQ(LoadLibraryFile(lib, Path(c.file), &error, c.opening), c.result);
    EXPECT_NE(error.message.find(c.says), std::string::npos) << error.message;
    if (c.result == LibraryLoadResult::kReadFailed) {
      EXPECT_EQ(lib.Count(), 0u);
    }
    EXPECT_EQ(listing(), before);  // nothing created, replaced or kept aside
  }
}

TEST_F(LibraryFiles, ImportAndExport) {
  PcMacroLibrary lib;
  lib.Load(DefaultLibraryBytes());

  const std::string one = Path(ExportFilePath("copy"));
  EXPECT_EQ(one, Path("copy.bin"));
  ASSERT_TRUE(ExportOneToFile(lib, 0, one));
  EXPECT_EQ(Read(one).size(), kLibraryRecordSize);
  EXPECT_FALSE(ExportOneToFile(lib, 100, one));

  const std::string all = Path("all.bin");
  ASSERT_TRUE(ExportAllToFile(lib, all));
  EXPECT_EQ(Read(all).size(), kLibraryFileSize);

  // A file of the other kind, or a macro without an end, is refused and the
  // library stays as it was.
  PcMacroLibrary other;
  other.Load(DefaultLibraryBytes());
  other.Delete(0);  // slot 0 is now "Paste"
  const Bytes before = other.ToBytes();
  Bytes no_end = lib.ToBytes();
  std::fill_n(no_end.begin() + 272 * 3 + 16, 256, 0xA1);
  const std::string broken = Path("broken.bin");
  ASSERT_TRUE(WriteFileAtomically(broken, no_end));
  struct Refused {
    std::string path;
    bool whole;
    const char* says;
  } refused[] = {{one, true, "27200"},
                 {broken, true, "macro 4 does not end"},
                 {Path("escape.bin"), true, "macro 2: a macro name cannot hold control"},
                 {Path("blank.bin"), true, "macro 2: a macro name cannot be blank"},
                 {all, false, "has 272"},
                 {Path("short.bin"), false, "has 272"},
                 {Path("nameless.bin"), false, "no name"}};
  ASSERT_TRUE(WriteFileAtomically(Path("short.bin"), ByteView(lib.ExportOne(0)).first(100)));
  ASSERT_TRUE(WriteFileAtomically(Path("nameless.bin"), Bytes(272, 0)));
  for (const auto& [file, name] :
       {std::pair{"escape.bin", "a\x1b[2J"}, std::pair{"blank.bin", "  "}}) {
    Bytes named = lib.ToBytes();
    const MacroName stored = MacroNameFromText(name);
    std::copy(stored.begin(), stored.end(), named.begin() + 272);
    ASSERT_TRUE(WriteFileAtomically(Path(file), named));
  }
  for (const Refused& r : refused) {
    SCOPED_TRACE(r.path);
    FileError error;
    if (r.whole) {
      EXPECT_FALSE(ImportAllFromFile(other, r.path, &error));
    } else {
      EXPECT_FALSE(ReadMacroRecordFile(r.path, &error));
    }
    EXPECT_NE(error.message.find(r.says), std::string::npos) << error.message;
    EXPECT_EQ(other.ToBytes(), before);
  }
  ASSERT_TRUE(ImportAllFromFile(other, all));
  EXPECT_EQ(other.ToBytes(), lib.ToBytes());

  other.Delete(0);
  const auto record = ReadMacroRecordFile(one);
  ASSERT_TRUE(record);
  EXPECT_EQ(record->size(), kLibraryRecordSize);
  EXPECT_EQ(other.ImportOne(*record), ImportOneResult::kImported);
  EXPECT_EQ(other.MacroText(22), lib.MacroText(0));
  EXPECT_EQ(other.ImportOne(*record), ImportOneResult::kDuplicate);

  FileError error;
  EXPECT_FALSE(ImportAllFromFile(other, Path("missing.bin"), &error));
  EXPECT_FALSE(ReadMacroRecordFile(Path("missing.bin")));
  EXPECT_EQ(other.MacroText(22), lib.MacroText(0));  // unchanged by the failed read
}

TEST_F(LibraryFiles, AMacroBinThatIsNoLibraryIsKeptAsideNeverOverwritten) {
  const std::string path = Path("Macro.bin");
  const Bytes cases[] = {Bytes(kLibraryFileSize + 1, 0x41), [] {
                           Bytes b(kLibraryFileSize, 0);
                           b[0] = 0x41;
                           std::fill_n(b.begin() + 16, 256, 0xFE);  // no end
                           return b;
                         }()};
  // The second refusal must not replace the copy the first one kept.
  const char* kept_as[] = {"Macro.bin.broken", "Macro.bin.broken.2"};
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    const Bytes& bad = cases[i];
    ASSERT_TRUE(WriteFileAtomically(path, bad));
    PcMacroLibrary lib;
    FileError error;
    EXPECT_EQ(LoadLibraryFile(lib, path, &error), LibraryLoadResult::kRefused);
    EXPECT_TRUE(error.message.ends_with("kept as " + Path(kept_as[i]))) << error.message;
    EXPECT_EQ(Read(Path(kept_as[i])), bad);
    const ByteView defaults = DefaultLibraryBytes();
    EXPECT_EQ(Read(path), Bytes(defaults.begin(), defaults.end()));
    EXPECT_EQ(lib.Count(), 23u);
  }
  EXPECT_EQ(Read(Path(kept_as[0])), cases[0]);
}

TEST(LibraryPaths, DefaultAndExportNames) {
  EXPECT_EQ(DefaultLibraryPath(), UserDataDir() + "/Macro.bin");
  struct Case {
    const char* chosen;
    const char* path;
  } cases[] = {{"/tmp/a", "/tmp/a.bin"},
               {"/tmp/a.bin", "/tmp/a.bin"},
               {"/tmp/a.BIN", "/tmp/a.BIN"},
               {"/tmp/a.bin.txt", "/tmp/a.bin.txt.bin"},
               {"", ".bin"}};
  for (const Case& c : cases) EXPECT_EQ(ExportFilePath(c.chosen), c.path) << c.chosen;
}

// The shipped default library: 23 macros in slots 0..22 with short names and
// event data of 18..118 bytes, each valid macro lines that encode back to the
// same bytes, and the whole library round-trips byte for byte.
TEST(DefaultLibrary, ShippedMacrosAreWellFormed) {
  const ByteView bytes = DefaultLibraryBytes();
  ASSERT_EQ(bytes.size(), kLibraryFileSize);
  PcMacroLibrary lib;
  lib.Load(bytes);
  EXPECT_EQ(lib.ToBytes(), Bytes(bytes.begin(), bytes.end()));
  ASSERT_EQ(lib.Count(), 23u);
  for (std::size_t i = 0; i < 23; ++i) {
    SCOPED_TRACE(lib.MacroText(i));
    const std::string name = lib.MacroText(i);
    EXPECT_FALSE(name.empty());
    EXPECT_LE(Utf8ToUtf16(name).size(), 8u);
    EXPECT_EQ(lib.Slot(i).name, MacroNameFromText(name));
    const std::size_t length = lib.EventLength(i);
    EXPECT_GE(length, 18u);
    EXPECT_LE(length, 118u);
    const auto& events = lib.Slot(i).events;
    const MacroLines lines = DecodeMacroLines(ByteView(events).first(length));
    EXPECT_GE(lines.size(), 2u);
    for (std::size_t l = 1; l < lines.size(); ++l) {
      EXPECT_TRUE(lines[l].size() >= 4 && lines[l][0] >= '0' && lines[l][0] <= '8' &&
                  lines[l][1] == ' ')
          << lines[l];
      if (lines[l][0] == '1' || lines[l][0] == '2') {  // every key and button is named
        EXPECT_GT(lines[l].size(), 12u) << lines[l];
      }
    }
    std::array<std::uint8_t, 256> again{};
    ASSERT_TRUE(EncodeMacroLinesInto(lines, again));
    EXPECT_EQ(again, events);
  }
}

}  // namespace
}  // namespace korvex48
