#include "core/device/hid_backend.h"

namespace korvex48 {

const char* HidErrorText(HidError error) {
  switch (error) {
    case HidError::kNone:
      return "no error";
    case HidError::kPermission:
      return "no permission";
    case HidError::kBusy:
      return "in use by another program";
    case HidError::kGone:
      return "the device left the bus";
    case HidError::kRefused:
      return "the device refused the report";
    case HidError::kFailed:
      return "the transfer failed";
    case HidError::kOther:
      break;
  }
  return "an unknown error";
}

}  // namespace korvex48
