#include "core/library/pc_macro_library.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace korvex48 {
namespace {

// A library file of `names`, each with a one-click macro whose second byte is
// the slot number + 1 (so slots can be told apart).
Bytes LibraryFile(const std::vector<std::string>& names, std::size_t size = kLibraryFileSize) {
  Bytes file(kLibraryFileSize, 0x00);
  for (std::size_t i = 0; i < names.size(); ++i) {
    const MacroName n = MacroNameFromText(names[i]);
    std::copy(n.begin(), n.end(), file.begin() + static_cast<std::ptrdiff_t>(i * 272));
    if (names[i].empty()) continue;
    file[i * 272 + 16] = 0xFD;
    file[i * 272 + 17] = static_cast<std::uint8_t>(i + 1);
    file[i * 272 + 18] = 0xFC;
  }
  file.resize(size);
  return file;
}

std::vector<std::string> Names(const PcMacroLibrary& lib) {
  std::vector<std::string> names;
  for (std::size_t i = 0; i < kLibrarySlots; ++i)
    if (lib.IsOccupied(i)) names.push_back(lib.MacroText(i));
  return names;
}

TEST(PcMacroLibrary, LoadTakesWhatTheFileHolds) {
  struct Case {
    const char* what;
    std::size_t size;
    std::vector<std::string> names;
  } cases[] = {
      {"a whole file", kLibraryFileSize, {"A", "B", "C"}},
      {"a file ending inside the second record's events", 272 + 20, {"A", "B"}},
      {"a file ending inside the second name", 272 + 1, {"A"}},
      {"a file longer than a library", kLibraryFileSize + 100, {"A", "B", "C"}},
      {"an empty file", 0, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    PcMacroLibrary lib;
    lib.Load(LibraryFile({"Old", "Old2", "Old3", "Old4"}));
    Bytes file = LibraryFile({"A", "B", "C"}, std::min(c.size, kLibraryFileSize));
    file.resize(c.size, 0x55);
    lib.Load(file);
    EXPECT_EQ(Names(lib), c.names);
    EXPECT_EQ(lib.ToBytes().size(), kLibraryFileSize);
  }
}

TEST(PcMacroLibrary, ImportAllKeepsSlotsPastTheEndOfAShortFile) {
  PcMacroLibrary lib;
  lib.Load(LibraryFile({"One", "Two", "Three"}));
  lib.ImportAll(LibraryFile({"New"}, 272));  // a single-macro file
  EXPECT_EQ(Names(lib), (std::vector<std::string>{"New", "Two", "Three"}));
  EXPECT_EQ(lib.Slot(1).events[1], 2);

  // A file ending inside record 1's events replaces only the bytes it holds.
  lib.ImportAll(LibraryFile({"X", "Y"}, 272 + 16 + 1));
  EXPECT_EQ(lib.MacroText(1), "Y");
  EXPECT_EQ(lib.Slot(1).events[0], 0xFD);
  EXPECT_EQ(lib.Slot(1).events[1], 2);  // past the end: kept

  std::vector<std::string> hundred;
  for (int i = 0; i < 100; ++i) hundred.push_back("M" + std::to_string(i));
  lib.Load(LibraryFile(hundred));
  ASSERT_EQ(lib.Count(), 100u);
  std::vector<std::string> forty(hundred.begin(), hundred.begin() + 40);
  lib.ImportAll(LibraryFile(forty));
  EXPECT_EQ(lib.Count(), 40u);
}

TEST(PcMacroLibrary, GapsInAFileCloseUp) {
  PcMacroLibrary lib;
  lib.Load(LibraryFile({"A", "", "C", "", "E"}));
  EXPECT_EQ(Names(lib), (std::vector<std::string>{"A", "C", "E"}));
  EXPECT_EQ(lib.MacroText(1), "C");
  EXPECT_EQ(lib.Slot(1).events[1], 3);  // C's events moved with it
  EXPECT_FALSE(lib.IsOccupied(3));
}

TEST(PcMacroLibrary, OccupancyAndEventLength) {
  PcMacroLibrary lib;
  Bytes file = LibraryFile({"A"});
  file[272] = 0x00;
  file[273] = 0x00;
  file[274] = 0x41;  // byte 2 alone does not occupy a slot
  lib.Load(file);
  EXPECT_EQ(lib.Count(), 1u);
  EXPECT_EQ(lib.EventLength(0), 4u);  // FD 01 FC + end byte
  EXPECT_EQ(lib.EventLength(5), 1u);
}

TEST(PcMacroLibrary, ImportOneRules) {
  PcMacroLibrary lib;
  lib.Load(LibraryFile({"Fire", "Jump"}));
  const Bytes before = lib.ToBytes();

  Bytes record = LibraryFile({"Jump"}, 272);
  EXPECT_EQ(lib.ImportOne(record), ImportOneResult::kDuplicate);
  EXPECT_EQ(lib.ToBytes(), before);

  EXPECT_EQ(lib.ImportOne(Bytes(272, 0x00)), ImportOneResult::kEmptyName);
  EXPECT_EQ(lib.ToBytes(), before);

  record = LibraryFile({"Run"}, 18);  // short: the missing bytes are zero
  ASSERT_EQ(lib.ImportOne(record), ImportOneResult::kImported);
  EXPECT_EQ(lib.MacroText(2), "Run");
  EXPECT_EQ(lib.Slot(2).events[0], 0xFD);
  EXPECT_EQ(lib.Slot(2).events[2], 0x00);
  EXPECT_EQ(lib.ExportOne(2).size(), 272u);

  std::vector<std::string> names;
  for (int i = 0; i < 99; ++i) names.push_back("M" + std::to_string(i));
  lib.Load(LibraryFile(names));
  EXPECT_EQ(lib.ImportOne(LibraryFile({"New"}, 272)), ImportOneResult::kFull);
  EXPECT_EQ(lib.Count(), 99u);
}

TEST(PcMacroLibrary, NamesAndDelete) {
  PcMacroLibrary lib;
  lib.Load(LibraryFile({"A", "B", "C"}));
  EXPECT_TRUE(lib.NameExists("B"));
  EXPECT_FALSE(lib.NameExists("b"));

  lib.SetName(1, "LongerThanEight");
  EXPECT_EQ(lib.MacroText(1), "LongerTh");
  lib.SetName(1, "B");
  EXPECT_EQ(lib.Slot(1).name, MacroNameFromText("B"));  // cleared before writing

  lib.Delete(1);
  EXPECT_EQ(Names(lib), (std::vector<std::string>{"A", "C"}));
  EXPECT_EQ(lib.Slot(1).events[1], 3);
  lib.Delete(0);
  lib.Delete(0);
  EXPECT_EQ(lib.Count(), 0u);
  EXPECT_EQ(lib.ToBytes(), Bytes(kLibraryFileSize, 0x00));
}

// A record named "a" and half a surrogate pair: no UTF-8 text is stored so.
Bytes LoneSurrogateRecord() {
  Bytes record = LibraryFile({"a"}, 272);
  record[2] = 0xD8;
  record[3] = 0x3D;
  return record;
}

TEST(PcMacroLibrary, ImportOneRefusesNamesWithControlCharactersAndEndlessMacros) {
  PcMacroLibrary lib;
  lib.Load(LibraryFile({"Fire"}));
  const Bytes before = lib.ToBytes();
  Bytes endless = LibraryFile({"Loop"}, 272);
  std::fill(endless.begin() + 16, endless.end(), 0x81);  // no end byte in 256
  struct Case {
    const char* what;
    Bytes record;
    ImportOneResult result;
  };
  for (const Case& c : {Case{"no end byte", endless, ImportOneResult::kNoEndByte},
                        Case{"escape", LibraryFile({"a\x1b[2J"}, 272), ImportOneResult::kBadName},
                        Case{"bell", LibraryFile({"ding\a"}, 272), ImportOneResult::kBadName},
                        Case{"blank", LibraryFile({"   "}, 272), ImportOneResult::kBadName},
                        Case{"lone surrogate", LoneSurrogateRecord(), ImportOneResult::kBadName}}) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(lib.ImportOne(c.record), c.result);
    EXPECT_EQ(lib.ToBytes(), before);
  }
}

TEST(PcMacroLibrary, NewAndRenameRules) {
  PcMacroLibrary lib;
  lib.Load(LibraryFile({"Fire", "Jump"}));
  const Bytes before = lib.ToBytes();
  struct Case {
    const char* what;
    bool rename;
    std::size_t slot;
    const char* name;
    NameResult result;
  } refused[] = {
      {"new: duplicate", false, 0, "Jump", NameResult::kDuplicate},
      {"new: empty", false, 0, "", NameResult::kEmptyName},
      {"rename to its own name", true, 0, "Fire", NameResult::kDuplicate},
      {"rename to another's name", true, 1, "Fire", NameResult::kDuplicate},
      {"rename an empty slot", true, 2, "X", NameResult::kNoSuchMacro},
      {"rename to nothing", true, 0, "", NameResult::kEmptyName},
      // One rule for every name that comes in (CheckMacroName's own table
      // holds its cases): refused whole, never cut or mended.
      {"new: nine characters", false, 0, "Walking8X", NameResult::kBadName},
      {"new: three spaces", false, 0, "   ", NameResult::kBadName},
      {"rename: right-to-left override", true, 0, "a\u202Eb", NameResult::kBadName},
      {"rename: not UTF-8", true, 1, "a\xFF", NameResult::kBadName},
  };
  for (const Case& c : refused) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(c.rename ? lib.Rename(c.slot, c.name) : lib.AddNew(c.name), c.result);
    EXPECT_EQ(lib.ToBytes(), before);
  }

  std::size_t slot = 99;
  ASSERT_EQ(lib.AddNew("Walk", &slot), NameResult::kDone);
  EXPECT_EQ(slot, 2u);
  EXPECT_EQ(Names(lib), (std::vector<std::string>{"Fire", "Jump", "Walk"}));
  EXPECT_EQ(lib.EventLength(2), 1u);  // no events yet
  ASSERT_EQ(lib.AddNew("Walking8"), NameResult::kDone);
  EXPECT_EQ(lib.AddNew("Walking8"), NameResult::kDuplicate);
  lib.Delete(3);
  ASSERT_EQ(lib.Rename(1, "Run"), NameResult::kDone);
  EXPECT_EQ(Names(lib), (std::vector<std::string>{"Fire", "Run", "Walk"}));
  EXPECT_EQ(lib.Slot(1).events[1], 2);  // the events stay

  // A full library takes no new macro; slots stay contiguous.
  std::vector<std::string> names;
  for (int i = 0; i < 100; ++i) names.push_back("M" + std::to_string(i));
  lib.Load(LibraryFile(names));
  EXPECT_EQ(lib.AddNew("New"), NameResult::kFull);
  lib.Delete(50);
  ASSERT_EQ(lib.AddNew("New", &slot), NameResult::kDone);
  EXPECT_EQ(slot, 99u);
}

}  // namespace
}  // namespace korvex48
