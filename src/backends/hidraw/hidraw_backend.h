#pragma once
// The Linux HID backend: hidraw nodes used directly. Lists the entries named
// hidraw* in a folder (/dev normally), opens them read-write, takes vendor and
// product from HIDIOCGRAWINFO, the feature report length from the report
// descriptor, and moves reports with HIDIOCSFEATURE / HIDIOCGFEATURE. Nodes
// need not be character devices (tests serve them from FUSE).
#include <string>

#include "backends/hidraw/mouse_claim.h"
#include "core/device/hid_backend.h"

namespace korvex48 {

class HidrawBackend final : public HidBackend {
 public:
  explicit HidrawBackend(std::string device_dir = "/dev");
  ~HidrawBackend() override;  // closes what is still open

  const std::string& DeviceDir() const { return dir_; }

  std::vector<std::string> ListInterfaces() override;
  DeviceHandle Open(const std::string& path, HidError* error) override;
  void Close(DeviceHandle handle) override;
  bool QueryInfo(DeviceHandle handle, HidInterfaceInfo* info) override;
  bool SetFeature(DeviceHandle handle, std::span<const std::uint8_t> report,
                  HidError* error = nullptr) override;
  bool GetFeature(DeviceHandle handle, std::span<std::uint8_t> report,
                  HidError* error = nullptr) override;
  // flock(LOCK_EX | LOCK_NB) on the node: the lock goes with the handle's
  // close, or the process's end. The holder is found in /proc/locks and its
  // command line. A node whose file system takes no locks is not guarded.
  bool Claim(DeviceHandle handle, InterfaceHolder* holder) override;
  // A lock file in the runtime folder (mouse_claim.h), named after the
  // identifiers and this backend's device folder.
  bool ClaimMouse(std::uint16_t vendor_id, std::uint16_t product_id,
                  InterfaceHolder* holder) override;
  void ReleaseMouse() override { mouse_claim_.Release(); }
  // From /sys/class/hidraw/<name>/device/uevent (HID_ID), when there is one.
  std::optional<std::pair<std::uint16_t, std::uint16_t>> PeekIdentifiers(
      const std::string& path) override;

 private:
  struct OpenNode {
    int fd;
    std::string path;
  };
  // errno of a failed transfer on `handle` as a HidError.
  HidError ErrorOf(DeviceHandle handle, int err) const;

  std::string dir_;
  std::vector<OpenNode> open_;
  MouseClaim mouse_claim_;
};

// errno of a failed open or ioctl as a HidError.
HidError HidErrorFromErrno(int err);

}  // namespace korvex48
