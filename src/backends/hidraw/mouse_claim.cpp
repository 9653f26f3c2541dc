#include "backends/hidraw/mouse_claim.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <string_view>
#include <vector>

namespace korvex48 {
namespace {

// Up to `limit` bytes of a file of /proc (whose size stat does not tell).
std::vector<std::uint8_t> ReadProcFile(const std::string& path, std::size_t limit) {
  std::vector<std::uint8_t> bytes;
  int fd;
  do {
    fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  } while (fd < 0 && errno == EINTR);
  if (fd < 0) return bytes;
  std::uint8_t buffer[4096];
  while (bytes.size() < limit) {
    const ssize_t n = ::read(fd, buffer, std::min(sizeof buffer, limit - bytes.size()));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    bytes.insert(bytes.end(), buffer, buffer + n);
  }
  ::close(fd);
  return bytes;
}

// A folder only this user may enter: made when missing, refused when it is a
// link, someone else's, or open to others.
bool OwnPrivateFolder(const std::string& path) {
  if (::mkdir(path.c_str(), 0700) != 0 && errno != EEXIST) return false;
  struct stat st {};
  if (::lstat(path.c_str(), &st) != 0) return false;
  return S_ISDIR(st.st_mode) && st.st_uid == ::geteuid() && (st.st_mode & 0077) == 0 &&
         ::access(path.c_str(), W_OK | X_OK) == 0;
}

// FNV-1a, enough to tell device folders apart in a file name.
std::uint32_t NameHash(std::string_view text) {
  std::uint32_t h = 2166136261u;
  for (char c : text) {
    h ^= static_cast<std::uint8_t>(c);
    h *= 16777619u;
  }
  return h;
}

}  // namespace

std::string MouseClaimFolder() {
  if (const char* runtime = std::getenv("XDG_RUNTIME_DIR"); runtime && runtime[0] == '/') {
    const std::string folder = std::string(runtime) + "/korvex48";
    if (OwnPrivateFolder(folder)) return folder;
  }
  const std::string folder = "/tmp/korvex48-" + std::to_string(::geteuid());
  return OwnPrivateFolder(folder) ? folder : std::string();
}

std::string MouseClaimFileName(std::uint16_t vendor_id, std::uint16_t product_id,
                               const std::string& device_dir) {
  char name[64];
  if (device_dir == "/dev" || device_dir == "/dev/")
    std::snprintf(name, sizeof name, "mouse-%04x-%04x.lock", vendor_id, product_id);
  else
    std::snprintf(name, sizeof name, "mouse-%04x-%04x-%08x.lock", vendor_id, product_id,
                  NameHash(device_dir));
  return name;
}

InterfaceHolder HolderOfLockedFile(int fd) {
  constexpr std::size_t kMaxLockList = 1u << 20;
  constexpr std::size_t kMaxCommandLine = 4096;
  InterfaceHolder holder;
  struct stat st {};
  if (::fstat(fd, &st) != 0) return holder;
  const std::vector<std::uint8_t> locks = ReadProcFile("/proc/locks", kMaxLockList);
  const auto pid =
      FlockHolderPid(std::string_view(reinterpret_cast<const char*>(locks.data()), locks.size()),
                     {major(st.st_dev), minor(st.st_dev), static_cast<std::uint64_t>(st.st_ino)});
  if (!pid) return holder;
  holder.pid = *pid;
  holder.program = ProgramNameOfCommandLine(
      ReadProcFile("/proc/" + std::to_string(*pid) + "/cmdline", kMaxCommandLine));
  return holder;
}

bool MouseClaim::Acquire(const std::string& folder, const std::string& name,
                         InterfaceHolder* holder) {
  if (folder.empty()) return true;
  const std::string path = folder + "/" + name;
  if (fd_ >= 0 && path == path_) return true;
  Release();
  // The holder removes the file when it lets go; a lock taken on a file that
  // was removed meanwhile holds nothing, so it is taken again on the new one.
  for (int attempt = 0; attempt < 8; ++attempt) {
    int fd;
    do {
      fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0) return true;
    int r;
    do {
      r = ::flock(fd, LOCK_EX | LOCK_NB);
    } while (r < 0 && errno == EINTR);
    if (r != 0) {
      const bool held = errno == EWOULDBLOCK;
      if (held && holder) *holder = HolderOfLockedFile(fd);
      ::close(fd);
      return !held;
    }
    struct stat locked {
    }, named{};
    if (::fstat(fd, &locked) == 0 && ::stat(path.c_str(), &named) == 0 &&
        locked.st_dev == named.st_dev && locked.st_ino == named.st_ino) {
      fd_ = fd;
      path_ = path;
      return true;
    }
    ::close(fd);
  }
  return true;
}

void MouseClaim::Release() {
  if (fd_ < 0) return;
  // Removed while still locked: whoever opened it meanwhile finds it gone
  // once it gets the lock, and takes the new file's.
  ::unlink(path_.c_str());
  ::close(fd_);
  fd_ = -1;
  path_.clear();
}

}  // namespace korvex48
