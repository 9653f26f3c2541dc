#pragma once
// Problems the transport meets, as data: the transport hands each one to an
// issue sink, and the front end decides what the user sees (the command-line
// tool prints them, the editor logs them). Nothing below the front ends writes
// to stderr.
#include <string>

#include "core/device/hid_backend.h"

namespace korvex48 {

struct TransportIssue {
  enum class Kind {
    kCannotOpen,   // a node that may be the mouse could not be opened
    kDeviceGone,   // the opened mouse left the bus: its handles are dead
    kTraceFailed,  // the protocol trace could not be written (reported once)
  };
  Kind kind = Kind::kCannotOpen;
  std::string path;  // the node, when known
  HidError error = HidError::kOther;
  std::string message;  // one line for the user, with the fix when there is one
};

class TransportIssueSink {
 public:
  virtual ~TransportIssueSink() = default;
  virtual void Report(const TransportIssue& issue) = 0;
};

}  // namespace korvex48
