// Files are never damaged, nothing blocks on a pipe or a device, and every
// refusal says why.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>

#include "core/common/file_io.h"
#include "unprivileged.h"

namespace korvex48 {
namespace {

namespace fs = std::filesystem;

class FileSafety : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() /
           ("korvex48_safety_" +
            std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
    fs::remove_all(dir_);
    fs::create_directories(dir_);
  }
  void TearDown() override { testing::RemoveTestFolder(dir_); }
  std::string P(const std::string& name) const { return (dir_ / name).string(); }
  fs::path dir_;
};

const std::vector<std::uint8_t> kNew = {1, 2, 3};

TEST_F(FileSafety, WritesFollowLinksKeepPermissionsAndRefuseWhatIsNoFile) {
  ASSERT_TRUE(WriteFileAtomically(P("target.bin"), std::vector<std::uint8_t>{9}));
  fs::create_symlink("target.bin", P("link.bin"));
  ASSERT_TRUE(WriteFileAtomically(P("private.bin"), std::vector<std::uint8_t>{9}));
  fs::permissions(P("private.bin"), fs::perms::owner_read | fs::perms::owner_write);
  ASSERT_TRUE(WriteFileAtomically(P("readonly.bin"), std::vector<std::uint8_t>{9}));
  fs::permissions(P("readonly.bin"),
                  fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
  ASSERT_EQ(::mkfifo(P("fifo").c_str(), 0600), 0);
  fs::create_directory(P("folder"));
  fs::create_directory(P("locked"));
  ASSERT_TRUE(WriteFileAtomically(P("locked/old.bin"), std::vector<std::uint8_t>{9}));
  fs::permissions(P("locked"), fs::perms::owner_read | fs::perms::owner_exec);
  // The longest name a folder entry can have: the temporary file beside it
  // must still fit.
  const std::string longest = P(std::string(251, 'n') + ".bin");
  ASSERT_TRUE(WriteFileAtomically(longest, std::vector<std::uint8_t>{9}));

  struct Case {
    std::string path;
    bool written;
    std::string message;  // when refused
  };
  testing::Unprivileged user(dir_);
  if (!user.Active()) GTEST_SKIP() << user.Reason();
  for (const Case& c :
       {Case{P("link.bin"), true, ""}, Case{P("private.bin"), true, ""}, Case{longest, true, ""},
        Case{P("readonly.bin"), false, "Permission denied"},
        Case{P("locked/old.bin"), false, "Permission denied"},
        Case{P("locked/new.bin"), false, "Permission denied"},
        Case{P("fifo"), false, "is a pipe (FIFO), not a file"},
        Case{P("folder"), false, "is a directory"},
        Case{"/dev/null", false, "is a device, not a file"}}) {
    SCOPED_TRACE(c.path);
    std::error_code missing;
    const auto status_before = fs::symlink_status(c.path, missing);
    const auto bytes_before = ReadWholeFile(c.path);
    FileError error;
    EXPECT_EQ(WriteFileAtomically(c.path, kNew, &error), c.written);
    EXPECT_EQ(error.message, c.message);
    // The node itself stays what it was (a link stays a link, /dev/null a device).
    EXPECT_EQ(fs::symlink_status(c.path, missing).type(), status_before.type());
    if (c.written) {
      EXPECT_EQ(ReadWholeFile(c.path), kNew);
    } else if (status_before.type() == fs::file_type::regular) {
      EXPECT_EQ(ReadWholeFile(c.path), bytes_before);
    }
  }
  EXPECT_EQ(ReadWholeFile(P("target.bin")), kNew);
  EXPECT_EQ(fs::status(P("private.bin")).permissions(),
            fs::perms::owner_read | fs::perms::owner_write);
  EXPECT_EQ(fs::status(P("readonly.bin")).permissions(),
            fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
  // Only the files that were there, and no temporary file left behind.
  EXPECT_EQ(std::distance(fs::directory_iterator(dir_), {}), 8);
  EXPECT_EQ(std::distance(fs::directory_iterator(dir_ / "locked"), {}), 1);
}

TEST_F(FileSafety, ReadsRefuseAtOnceWhatIsNoFile) {
  ASSERT_EQ(::mkfifo(P("fifo").c_str(), 0600), 0);
  fs::create_directory(P("folder"));
  struct Case {
    std::string path;
    std::string message;
  };
  for (const Case& c :
       {Case{P("fifo"), "is a pipe (FIFO), not a file"}, Case{P("folder"), "is a directory"},
        Case{"/dev/zero", "is a device, not a file"},
        Case{P("missing"), "No such file or directory"}}) {
    SCOPED_TRACE(c.path);
    FileError error;
    // A FIFO with no writer would block a plain open for ever.
    EXPECT_FALSE(ReadWholeFile(c.path, &error).has_value());
    EXPECT_EQ(error.message, c.message);
    EXPECT_EQ(error.path, c.path);
  }
}

}  // namespace
}  // namespace korvex48
