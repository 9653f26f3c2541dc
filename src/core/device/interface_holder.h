#pragma once
// Who holds the mouse. Every program of the system claims the mouse's
// configuration interface (an advisory lock on its node) before it sends
// anything, and keeps it while it has the mouse open, so two programs never
// interleave their transfers. A program that finds the mouse claimed names
// the holder; the system tells who from the kernel's list of file locks and
// the holder's command line.
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace korvex48 {

struct InterfaceHolder {
  std::string program;  // e.g. "korvex48"; empty when it cannot be told
  int pid = 0;          // 0 when it cannot be told
};

// "the mouse is in use by korvex48 (pid 4242)"; "another program" stands in
// for a program that cannot be told, and the pid is left out when unknown.
std::string HeldMouseText(const InterfaceHolder& holder);

// The file a lock is on, as the kernel's lock list names it: the major and
// minor number of the file system's device and the inode number.
struct LockedFile {
  std::uint32_t major = 0;
  std::uint32_t minor = 0;
  std::uint64_t inode = 0;
};

// The pid of the process holding a whole-file (flock) lock on `file`, from
// the text of the kernel's lock list (/proc/locks: "1: FLOCK  ADVISORY  WRITE
// 4242 00:2f:1234 0 EOF", major and minor in hex). Waiters ("1: -> FLOCK ...")
// are skipped; nullopt when no line names the file or the text is not of
// that form.
std::optional<int> FlockHolderPid(std::string_view proc_locks, const LockedFile& file);

// The program's name from its NUL-separated command line (/proc/PID/cmdline):
// the last path part of the first argument, at most 64 bytes; empty when
// there is none.
std::string ProgramNameOfCommandLine(std::span<const std::uint8_t> cmdline);

}  // namespace korvex48
