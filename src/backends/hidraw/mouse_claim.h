#pragma once
// The claim on a mouse that outlives its nodes. A mouse that restarts (a
// higher report rate, a firmware patch) leaves the bus for seconds and comes
// back as a new node; the lock on the old node goes with it. So a program
// also holds a lock file in the user's runtime folder, named after the mouse
// (its identifiers, and the device folder when that is not /dev), from the
// first report until it lets the mouse go, and another program that looks for
// the mouse meanwhile finds it claimed even while no node of it exists.
#include <cstdint>
#include <optional>
#include <string>

#include "core/device/interface_holder.h"

namespace korvex48 {

// Where the lock files are: $XDG_RUNTIME_DIR/korvex48 when that folder can be
// used, else /tmp/korvex48-UID (made mode 0700, and used only when it is this
// user's own folder and no one else may enter it). Empty when neither can be
// used.
std::string MouseClaimFolder();

// The lock file's name for a mouse: "mouse-VVVV-PPPP.lock", with a hash of
// `device_dir` before ".lock" when that is not "/dev" (test devices served
// from other folders are other mice).
std::string MouseClaimFileName(std::uint16_t vendor_id, std::uint16_t product_id,
                               const std::string& device_dir);

// The process holding a whole-file lock on the open file `fd`, from
// /proc/locks and its command line; empty when it cannot be told.
InterfaceHolder HolderOfLockedFile(int fd);

class MouseClaim {
 public:
  MouseClaim() = default;
  ~MouseClaim() { Release(); }
  MouseClaim(const MouseClaim&) = delete;
  MouseClaim& operator=(const MouseClaim&) = delete;

  // Takes the lock file `name` in `folder` (made when missing). True when this
  // object holds it now (already held: nothing done). False when another
  // process holds it, with `holder` filled as far as the system can tell. A
  // folder or file that cannot be used gives no claim and true: the lock on
  // the open node still keeps two programs apart while the mouse is there.
  bool Acquire(const std::string& folder, const std::string& name, InterfaceHolder* holder);
  // Lets the lock go and removes its file.
  void Release();
  bool Held() const { return fd_ >= 0; }
  const std::string& Path() const { return path_; }

 private:
  int fd_ = -1;
  std::string path_;
};

}  // namespace korvex48
