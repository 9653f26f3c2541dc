#pragma once
// Making the transport the options ask for: a simulated mouse (--simulate),
// or the hidraw backend on the device folder; with a protocol trace when one
// is asked for. For the editor and the command-line tool.
#include <memory>
#include <string>

#include "core/common/clock.h"
#include "core/device/device_options.h"
#include "core/device/simulated_mouse.h"
#include "core/device/transport.h"
#include "core/device/transport_issues.h"

namespace korvex48 {

struct DeviceLink {
  std::unique_ptr<Transport> transport;  // owns its backend, trace and session
  SimulatedMouse* simulated = nullptr;   // the simulated mouse, when simulating
  std::string description;               // e.g. "hidraw in /dev", "simulated i2c mouse"
};

// nullopt-like failure: `link.transport` empty and `error` set (a bad state
// file, a trace file that cannot be created). A non-null `backend` is used
// instead of the one the options name (tests wrap a mouse to watch its
// reports); it is not owned and must outlive the transport, and the options'
// trace file still applies. The transport's problems, and a trace file that
// stops being writable, go to `issues` (not owned; may be nullptr).
DeviceLink MakeDeviceLink(const DeviceOptions& options, Clock& clock, std::string* error,
                          HidBackend* backend = nullptr, TransportIssueSink* issues = nullptr);

}  // namespace korvex48
