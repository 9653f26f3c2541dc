#include "backends/device_factory.h"

#include "backends/hidraw/hidraw_backend.h"
#include "core/device/protocol_trace.h"

namespace korvex48 {

DeviceLink MakeDeviceLink(const DeviceOptions& options, Clock& clock, std::string* error,
                          HidBackend* backend, TransportIssueSink* issues) {
  DeviceLink link;
  std::unique_ptr<HidBackend> owned;
  if (backend) {
    link.description = "a backend given by the caller";
  } else if (options.simulate) {
    auto mouse = std::make_unique<SimulatedMouse>(*options.simulate, clock);
    if (!options.simulate_state_file.empty()) {
      if (!mouse->AttachStateFile(options.simulate_state_file, error)) return {};
      if (mouse->Storage() != *options.simulate) {
        if (error)
          *error = options.simulate_state_file + " holds a " +
                   std::string(SimulatedStorageName(mouse->Storage())) + " mouse, not " +
                   std::string(SimulatedStorageName(*options.simulate));
        return {};
      }
    }
    link.simulated = mouse.get();
    link.description =
        "simulated " + std::string(SimulatedStorageName(*options.simulate)) + " mouse" +
        (options.simulate_state_file.empty() ? std::string()
                                             : " (state in " + options.simulate_state_file + ")");
    owned = std::move(mouse);
  } else {
    owned = std::make_unique<HidrawBackend>(options.device_dir);
    link.description = "hidraw nodes in " + options.device_dir;
  }
  std::unique_ptr<ProtocolTrace> trace;
  if (!options.trace_file.empty()) {
    FileTrace::WarnFn warn;
    if (issues)
      warn = [issues, path = options.trace_file](const std::string& message) {
        issues->Report({TransportIssue::Kind::kTraceFailed, path, HidError::kOther, message});
      };
    trace = FileTrace::Open(options.trace_file, clock.NowMicroseconds(), error, std::move(warn));
    if (!trace) return {};
  }
  link.transport = backend ? std::make_unique<Transport>(*backend, clock)
                           : std::make_unique<Transport>(std::move(owned), clock);
  link.transport->SetIssueSink(issues);
  if (trace) link.transport->SetTrace(std::move(trace));
  return link;
}

}  // namespace korvex48
