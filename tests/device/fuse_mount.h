#pragma once
// Mounting the FUSE test device (korvex48_fuse_hidraw) in a temporary folder,
// for the tests and the benchmarks of the hidraw backend. Header-only so the
// benchmarks can use it too.
#include <fcntl.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/common/bytes.h"
#include "core/device/simulated_mouse.h"

extern char** environ;

namespace korvex48::testing {

// Runs `argv` (its standard output dropped) and waits; true when it exited
// with status 0.
inline bool RunProgram(const std::vector<std::string>& argv) {
  std::vector<char*> args;
  for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
  args.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
  pid_t pid = 0;
  const int spawned = posix_spawnp(&pid, args[0], &actions, nullptr, args.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  if (spawned != 0) return false;
  int status = 0;
  while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
  }
  return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

class FuseMount {
 public:
  // Mounts a device serving a simulated mouse of `kind` and `others`
  // unrelated interfaces. nullptr with `reason` set when FUSE is not usable
  // here (no /dev/fuse, not root, no fusermount3, no daemon) or the mount failed.
  static std::unique_ptr<FuseMount> Start(const std::string& daemon, SimulatedStorage kind,
                                          int others, std::string* reason) {
    if (daemon.empty()) {
      *reason = "the FUSE test device was not built (libfuse3 missing)";
      return nullptr;
    }
    if (::access("/dev/fuse", F_OK) != 0) {
      *reason = "/dev/fuse does not exist: this kernel or container offers no FUSE";
      return nullptr;
    }
    int fd = ::open("/dev/fuse", O_RDWR | O_CLOEXEC);
    if (fd < 0) {
      *reason = std::string("/dev/fuse cannot be opened (") + std::strerror(errno) +
                "): the FUSE test device must run as root";
      return nullptr;
    }
    ::close(fd);
    if (!RunProgram({"fusermount3", "-V"})) {
      *reason = "fusermount3 is not installed (package fuse3)";
      return nullptr;
    }
    char dir[] = "/tmp/korvex48-hidraw-XXXXXX";
    if (!::mkdtemp(dir)) {
      *reason = std::string("cannot make a mount folder: ") + std::strerror(errno);
      return nullptr;
    }
    std::unique_ptr<FuseMount> mount(new FuseMount(dir));
    if (!RunProgram({daemon, dir, "-s", "--kind=" + std::string(SimulatedStorageName(kind)),
                     "--others=" + std::to_string(others)})) {
      *reason = "the FUSE test device " + daemon + " did not mount";
      mount->mounted_ = false;
      return nullptr;
    }
    return mount;
  }

  ~FuseMount() {
    if (mounted_) RunProgram({"fusermount3", "-u", dir_});
    ::rmdir(dir_.c_str());
  }

  const std::string& Dir() const { return dir_; }

  bool Control(const std::string& command) {
    int fd = ::open((dir_ + "/control").c_str(), O_WRONLY | O_CLOEXEC);
    if (fd < 0) return false;
    const bool ok =
        ::write(fd, command.data(), command.size()) == static_cast<ssize_t>(command.size());
    ::close(fd);
    return ok;
  }

  std::optional<Bytes> ReadState() {
    int fd = ::open((dir_ + "/state").c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return std::nullopt;
    Bytes out;
    std::uint8_t buf[65536];
    ssize_t n;
    while ((n = ::read(fd, buf, sizeof buf)) > 0) out.insert(out.end(), buf, buf + n);
    ::close(fd);
    if (n < 0) return std::nullopt;
    return out;
  }

  // The reports the strict mouse refused for their shape, one line each;
  // empty when there were none (or the list cannot be read: then a line
  // that says so).
  std::string RefusedShapes() {
    int fd = ::open((dir_ + "/shapes").c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return "the list of refused shapes cannot be read\n";
    std::string out;
    char buf[4096];
    ssize_t n;
    while ((n = ::read(fd, buf, sizeof buf)) > 0) out.append(buf, static_cast<std::size_t>(n));
    ::close(fd);
    return out;
  }

  bool WriteState(ByteView state) {
    int fd = ::open((dir_ + "/state").c_str(), O_WRONLY | O_CLOEXEC);
    if (fd < 0) return false;
    std::size_t done = 0;
    while (done < state.size()) {
      ssize_t n = ::write(fd, state.data() + done, state.size() - done);
      if (n <= 0) break;
      done += static_cast<std::size_t>(n);
    }
    return ::close(fd) == 0 && done == state.size();
  }

 private:
  explicit FuseMount(std::string dir) : dir_(std::move(dir)) {}
  std::string dir_;
  bool mounted_ = true;
};

// Where the FUSE test device program is: $KORVEX48_FUSE_DAEMON, else
// `built_in` when it exists, else beside the running program's build tree.
inline std::string FuseDaemonPath(const std::string& built_in) {
  if (const char* env = std::getenv("KORVEX48_FUSE_DAEMON"); env && *env) return env;
  if (!built_in.empty() && ::access(built_in.c_str(), X_OK) == 0) return built_in;
  char self[4096];
  ssize_t n = ::readlink("/proc/self/exe", self, sizeof self - 1);
  if (n > 0) {
    std::string exe(self, static_cast<std::size_t>(n));
    std::string candidate = exe.substr(0, exe.rfind('/')) + "/../tests/device/korvex48_fuse_hidraw";
    if (::access(candidate.c_str(), X_OK) == 0) return candidate;
  }
  return {};
}

}  // namespace korvex48::testing
