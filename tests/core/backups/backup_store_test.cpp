// The backup folder: newest first, the newest kBackupsKept kept, and a folder
// that cannot be written makes no backup at all.
#include "core/backups/backup_store.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

namespace korvex48 {
namespace {

struct TempDir {
  std::filesystem::path path;
  TempDir() {
    char dir[] = "/tmp/korvex48-backups-XXXXXX";
    path = ::mkdtemp(dir);
  }
  ~TempDir() {
    std::error_code ec;
    std::filesystem::remove_all(path, ec);
  }
};

BackupContent Content(std::uint8_t tag, bool journal) {
  BackupContent c;
  c.before_file.assign(768, tag);
  c.before_text = "{}\n";
  if (journal) {
    c.target_file.assign(768, static_cast<std::uint8_t>(tag + 1));
    c.target_text = "{}\n";
  }
  return c;
}

TEST(BackupStore, ListsNewestFirstAndKeepsTheNewestFifty) {
  TempDir dir;
  BackupStore store((dir.path / "state/korvex48/backups").string());
  constexpr int kSaved = static_cast<int>(kBackupsKept) + 2;
  for (int i = 1; i <= kSaved; ++i) {
    FileError error;
    const auto entry = store.Save("apply", "apply " + std::to_string(i),
                                  Content(static_cast<std::uint8_t>(i), i % 2 == 0), &error);
    ASSERT_TRUE(entry) << error.path << ": " << error.message;
  }
  // Something that is no backup is passed over, never removed.
  std::ofstream(dir.path / "state/korvex48/backups/notes.txt") << "mine";
  const std::vector<BackupEntry> entries = store.List();
  ASSERT_EQ(entries.size(), kBackupsKept);
  EXPECT_EQ(entries.front().change, "apply " + std::to_string(kSaved));
  EXPECT_EQ(entries.back().change, "apply 3");
  EXPECT_TRUE(std::filesystem::exists(dir.path / "state/korvex48/backups/notes.txt"));
  // The journal: a change begun is unfinished until marked.
  EXPECT_TRUE(entries.front().Unfinished());
  EXPECT_FALSE(entries[1].journal);
  ASSERT_TRUE(store.MarkFinished(entries.front()));
  EXPECT_FALSE(store.List().front().Unfinished());
  std::ifstream in(entries.front().BeforeFile(), std::ios::binary);
  EXPECT_EQ(in.get(), kSaved);
}

TEST(BackupStore, AFolderThatCannotBeMadeMakesNoBackup) {
  TempDir dir;
  // A file where the folder should be.
  std::ofstream(dir.path / "korvex48") << "not a folder";
  BackupStore store((dir.path / "korvex48/backups").string());
  FileError error;
  EXPECT_FALSE(store.Save("reset", "reset", Content(1, true), &error));
  EXPECT_FALSE(error.message.empty());
  EXPECT_TRUE(store.List().empty());
}

}  // namespace
}  // namespace korvex48
