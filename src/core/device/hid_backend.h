#pragma once
// The platform side of the HID transport: what the transport needs from a
// system to find, open and talk to HID interfaces. Implemented by the Linux
// hidraw backend and by the simulated mouse; the transport logic above it
// (counting, matching, probing, buffers, waits) exists once, in Transport.
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "core/device/device_session.h"
#include "core/device/interface_holder.h"

namespace korvex48 {

// Why a HID operation failed. Only kGone means the handle is of no further
// use: a failed or refused transfer leaves the device open, and the next
// report may well succeed.
enum class HidError {
  kNone,
  kPermission,  // the node exists but may not be opened (EACCES, EPERM)
  kBusy,        // the node is in use (EBUSY)
  kGone,        // the device left the bus (ENODEV, ENXIO, a node that disappeared)
  kRefused,     // the device refused the report (EPIPE, EINVAL, ...)
  kFailed,      // the transfer failed (EIO, ETIMEDOUT, EPROTO, a short read)
  kOther,
};

// A few words for logs, traces and messages ("the device refused the report").
const char* HidErrorText(HidError error);

// What an opened interface tells about itself.
struct HidInterfaceInfo {
  std::uint16_t vendor_id = 0;
  std::uint16_t product_id = 0;
  std::uint16_t version = 0;
  // Longest feature report in bytes, one more when the interface uses report
  // IDs; 0 when it has no feature reports or its descriptor is unreadable.
  int feature_report_length = 0;
};

class HidBackend {
 public:
  virtual ~HidBackend() = default;

  // Paths of the HID interfaces present now, in a stable order.
  virtual std::vector<std::string> ListInterfaces() = 0;

  // Opens `path` for feature reports; kInvalidHandle and `error` set on failure.
  virtual DeviceHandle Open(const std::string& path, HidError* error) = 0;
  virtual void Close(DeviceHandle handle) = 0;

  // Identifiers and feature report length of an opened interface.
  [[nodiscard]] virtual bool QueryInfo(DeviceHandle handle, HidInterfaceInfo* info) = 0;

  // Moves one feature report. `report[0]` is the report ID; GetFeature fills
  // `report` in place. False (with `error` set when given) on any failure.
  [[nodiscard]] virtual bool SetFeature(DeviceHandle handle, std::span<const std::uint8_t> report,
                                        HidError* error = nullptr) = 0;
  [[nodiscard]] virtual bool GetFeature(DeviceHandle handle, std::span<std::uint8_t> report,
                                        HidError* error = nullptr) = 0;

  // Claims the opened interface for this process for as long as `handle`
  // stays open (see interface_holder.h). False when another process holds
  // it, with `holder` filled as far as the system can tell. Backends that no
  // other process can reach (the simulated mouse) always succeed.
  [[nodiscard]] virtual bool Claim(DeviceHandle handle, InterfaceHolder* holder) {
    (void)handle;
    (void)holder;
    return true;
  }

  // Claims the mouse with these identifiers for this process across its
  // restarts: held whether or not a node of it is open (a restarting mouse
  // leaves the bus for seconds and comes back as a new node), until
  // ReleaseMouse or the process's end, so another program that looks for the
  // mouse meanwhile finds it claimed. Claiming another mouse lets the last
  // one go. False when another process holds it, with `holder` filled as far
  // as the system can tell. Backends that no other process can reach (the
  // simulated mouse) always succeed.
  [[nodiscard]] virtual bool ClaimMouse(std::uint16_t vendor_id, std::uint16_t product_id,
                                        InterfaceHolder* holder) {
    (void)vendor_id;
    (void)product_id;
    (void)holder;
    return true;
  }
  virtual void ReleaseMouse() {}

  // Identifiers of an interface found without opening it (for explaining why
  // a node that could not be opened is, or may be, the mouse). nullopt when
  // the system cannot tell.
  virtual std::optional<std::pair<std::uint16_t, std::uint16_t>> PeekIdentifiers(
      const std::string& path) {
    (void)path;
    return std::nullopt;
  }
};

}  // namespace korvex48
