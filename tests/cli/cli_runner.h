#pragma once
// Runs the built korvex48ctl against a simulated mouse kept in a state file
// of a temporary folder, capturing its output, exit status and protocol trace.
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

extern char** environ;

namespace korvex48::testing {

struct CliRun {
  int status = -1;
  std::string out;
  std::string err;
  // Command reports of the trace that change the mouse (commands 5, 7, 14),
  // as "40 05 00 28 84 00 00 01", lower case.
  std::vector<std::string> writes;
};

inline std::string ReadText(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

class CliRig {
 public:
  explicit CliRig(std::string kind = "i2c") : kind_(std::move(kind)) {
    char dir[] = "/tmp/korvex48ctl-test-XXXXXX";
    dir_ = ::mkdtemp(dir);
  }
  ~CliRig() {
    std::error_code ec;
    std::filesystem::remove_all(dir_, ec);
  }

  const std::filesystem::path& Dir() const { return dir_; }
  // The per-user library the commands use unless --library names another:
  // made from the default library by the first command that needs it.
  std::string LibraryPath() const { return Path("korvex48/Macro.bin"); }
  std::string Path(const std::string& name) const { return (dir_ / name).string(); }
  std::string StatePath() const { return Path("mouse.state"); }
  // Where the commands keep their backups.
  std::string BackupsPath() const { return Path("korvex48/backups"); }
  // Where the mouse is: the simulated one by default, or hidraw nodes.
  void UseDeviceDir(std::string dir) { device_dir_ = std::move(dir); }
  // An option given to every run before the command (e.g. --default-image).
  void AddGlobalOption(std::string option) { globals_.push_back(std::move(option)); }
  // Runs a copy of the program kept in the rig's folder from now on. An
  // Unprivileged scope needs it: the build tree may lie where the user the
  // checks run as cannot go (root's home folder is 0700), and the rig's
  // folder is the one the scope hands to that user. Call it before the scope.
  void UseProgramCopy() {
    namespace fs = std::filesystem;
    const fs::path bin = dir_ / "bin";
    fs::create_directories(bin);
    program_ = (bin / fs::path(KORVEX48CTL).filename()).string();
    fs::copy_file(KORVEX48CTL, program_, fs::copy_options::overwrite_existing);
  }

  CliRun Run(std::vector<std::string> args) const {
    std::vector<std::string> argv = {program_};
    if (device_dir_.empty()) {
      argv.push_back("--simulate=" + kind_ + ":" + StatePath());
    } else {
      argv.push_back("--device-dir=" + device_dir_);
    }
    argv.push_back("--trace=" + Path("trace"));
    argv.insert(argv.end(), globals_.begin(), globals_.end());
    argv.insert(argv.end(), args.begin(), args.end());
    return Exec(argv);
  }

  // Runs argv as given (no options added).
  CliRun Exec(const std::vector<std::string>& argv) const {
    std::filesystem::remove(Path("trace"));
    std::vector<char*> cargs;
    for (const std::string& a : argv) cargs.push_back(const_cast<char*>(a.c_str()));
    cargs.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    const std::string out = Path("stdout"), err = Path("stderr");
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, out.c_str(),
                                     O_WRONLY | O_CREAT | O_TRUNC, 0600);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, err.c_str(),
                                     O_WRONLY | O_CREAT | O_TRUNC, 0600);
    // The user's own library, backups and environment stay out of the
    // tests: the per-user data and state folders are the rig's folder.
    std::vector<std::string> env_text = {"HOME=" + dir_.string(), "XDG_DATA_HOME=" + dir_.string(),
                                         "XDG_STATE_HOME=" + dir_.string(), "PATH=/usr/bin:/bin"};
    std::vector<char*> env;
    for (std::string& e : env_text) env.push_back(e.data());
    env.push_back(nullptr);
    pid_t pid = 0;
    CliRun run;
    if (posix_spawn(&pid, cargs[0], &actions, nullptr, cargs.data(), env.data()) == 0) {
      int status = 0;
      while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
      }
      run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    posix_spawn_file_actions_destroy(&actions);
    run.out = ReadText(out);
    run.err = ReadText(err);
    std::istringstream trace(ReadText(Path("trace")));
    std::string line;
    while (std::getline(trace, line)) {
      const std::size_t gt = line.find("> ");
      if (gt == std::string::npos) continue;
      std::string report = line.substr(gt + 2);
      for (char& c : report) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
      if (report.rfind("40 05", 0) == 0 || report.rfind("40 07", 0) == 0 ||
          report.rfind("40 0e", 0) == 0)
        run.writes.push_back(report);
    }
    return run;
  }

 private:
  std::string kind_;
  std::string program_ = KORVEX48CTL;
  std::filesystem::path dir_;
  std::string device_dir_;
  std::vector<std::string> globals_;
};

}  // namespace korvex48::testing
