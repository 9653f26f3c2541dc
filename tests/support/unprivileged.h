#pragma once
// Root may write any file, so "permission denied" only shows for an ordinary
// user. A test that checks it runs its checks inside an Unprivileged scope:
// as root the scope gives the fixture folder to nobody (65534) and takes on
// nobody's identity as its real and effective user and group until it ends;
// as any other user it changes nothing. Root stays the saved id, so it comes
// back. The real id changes too: a program started inside the scope would
// otherwise run with mixed ids, which makes it undumpable and stops the leak
// checker of a sanitized build at its exit.
#include <sys/prctl.h>
#include <sys/types.h>
#include <unistd.h>

#include <filesystem>
#include <string>

namespace korvex48::testing {

class Unprivileged {
 public:
  static constexpr uid_t kNobody = 65534;

  // Gives `tree` and all it holds to the user the checks run as, then
  // becomes that user.
  explicit Unprivileged(const std::filesystem::path& tree) {
    if (::geteuid() != 0) {
      active_ = true;
      return;
    }
    Chown(tree);
    for (const auto& entry : std::filesystem::recursive_directory_iterator(tree))
      if (!entry.is_symlink()) Chown(entry.path());
    if (::setresgid(kNobody, kNobody, 0) != 0) {
      reason_ = "setresgid(65534) failed";
      return;
    }
    if (::setresuid(kNobody, kNobody, 0) != 0) {
      reason_ = "setresuid(65534) failed";
      [[maybe_unused]] const int back = ::setresgid(0, 0, 0);
      return;
    }
    dropped_ = true;
    active_ = true;
  }
  ~Unprivileged() {
    if (!dropped_) return;
    [[maybe_unused]] const int user = ::setresuid(0, 0, 0);
    [[maybe_unused]] const int group = ::setresgid(0, 0, 0);
    // A change of ids leaves the process undumpable; the leak checker needs it.
    ::prctl(PR_SET_DUMPABLE, 1);
  }
  Unprivileged(const Unprivileged&) = delete;
  Unprivileged& operator=(const Unprivileged&) = delete;

  // False when root could not become another user: the test is skipped.
  bool Active() const { return active_; }
  const std::string& Reason() const { return reason_; }

 private:
  static void Chown(const std::filesystem::path& path) {
    [[maybe_unused]] const int done = ::lchown(path.c_str(), kNobody, kNobody);
  }
  bool active_ = false;
  bool dropped_ = false;
  std::string reason_;
};

// Removes a test's folder, opening first the folders a case made read-only
// (an ordinary user could not empty them).
inline void RemoveTestFolder(const std::filesystem::path& folder) {
  namespace fs = std::filesystem;
  std::error_code ec;
  for (const auto& entry : fs::recursive_directory_iterator(folder, ec))
    if (entry.is_directory(ec) && !entry.is_symlink(ec))
      fs::permissions(entry.path(), fs::perms::owner_all, fs::perm_options::add, ec);
  fs::remove_all(folder, ec);
}

}  // namespace korvex48::testing
