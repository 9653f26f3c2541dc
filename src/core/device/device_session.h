#pragma once
// The connection state of the opened mouse, owned by the transport that talks
// to it. The transport reads and sets the identifiers, the handles and the
// feature length; the connection flows own the rest; front ends read it
// through AppCore.
#include <cstdint>
#include <string>

#include "core/image/config_image.h"

namespace korvex48 {

// A backend's handle of one opened HID interface; kInvalidHandle when none.
using DeviceHandle = int;
inline constexpr DeviceHandle kInvalidHandle = -1;

// Storage kind names as the mouse reports them.
inline constexpr const char* kStorageFlash = "Flash";
inline constexpr const char* kStorageI2C = "I2C";

struct DeviceSession {
  std::int32_t VendorId = 0;                    // of the opened mouse; 0 = none
  std::int32_t ProductId = 0;                   // of the opened mouse; 0 = none
  DeviceHandle CommandHandle = kInvalidHandle;  // carries command reports (0x40)
  DeviceHandle ReplyHandle = kInvalidHandle;    // carries data and reply reports (0x41)
  std::int32_t FeatureLength = 0;               // 8 once a mouse is open
  std::int32_t LastHidCount = 0;                // openable HID interfaces at the last accepted poll
  bool Polling = false;                         // a poll step runs (re-entry guard)
  bool Loading = false;                         // pages are being filled, or the mouse was refused
  std::string PrimaryStorage;                   // "Flash", "I2C" or empty
  std::string SecondaryStorage;                 // "Flash", "I2C" or empty
  ::korvex48::CustomerId CustomerId{};          // as read from the mouse or taken from an image
  bool NoDevicePage = false;                    // the pages show the no-device appearance

  // Both directions usable: what every operation that talks to the mouse
  // checks (together with Loading) before it starts.
  bool HandlesValid() const {
    return CommandHandle != kInvalidHandle && ReplyHandle != kInvalidHandle;
  }
};

}  // namespace korvex48
