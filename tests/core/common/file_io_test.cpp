#include "core/common/file_io.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace korvex48 {
namespace {

class FileIoTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = std::filesystem::temp_directory_path() /
           ("korvex48_fileio_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
            ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::remove_all(dir_);
    std::filesystem::create_directories(dir_);
  }
  void TearDown() override { std::filesystem::remove_all(dir_); }
  std::filesystem::path dir_;
};

TEST_F(FileIoTest, AtomicWriteReplacesAndLeavesNoTemporaryFile) {
  const std::string path = (dir_ / "Macro.bin").string();
  std::vector<std::uint8_t> first(27200, 0x11), second(10, 0x22);
  ASSERT_TRUE(WriteFileAtomically(path, first));
  ASSERT_TRUE(WriteFileAtomically(path, second));
  EXPECT_EQ(ReadWholeFile(path).value(), second);
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir_), {}), 1);
}

TEST_F(FileIoTest, FailedWriteKeepsTheOldFileAndReports) {
  const std::string path = (dir_ / "missing" / "x.bin").string();
  FileError error;
  EXPECT_FALSE(WriteFileAtomically(path, std::vector<std::uint8_t>{1}, &error));
  EXPECT_EQ(error.path, path);
  EXPECT_FALSE(error.message.empty());
  EXPECT_FALSE(ReadWholeFile(path).has_value());
}

TEST(UserDataDirTest, FollowsXdgDataHome) {
  ::setenv("XDG_DATA_HOME", "/tmp/xdg", 1);
  EXPECT_EQ(UserDataDir(), "/tmp/xdg/korvex48");
  ::unsetenv("XDG_DATA_HOME");
  ::setenv("HOME", "/home/u", 1);
  EXPECT_EQ(UserDataDir(), "/home/u/.local/share/korvex48");
}

}  // namespace
}  // namespace korvex48
