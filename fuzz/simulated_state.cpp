// The simulated mouse's state file and its control commands are outside
// bytes. The input is laid over a valid state (a whole state when it is one,
// else from its first byte), so the sections and the start of the memory
// carry fuzzed content; a loaded state must serialize back unchanged and
// stand a whole connection and the macro commands. The input as text also
// goes to Control, line by line.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "fuzz_rig.h"

using namespace korvex48;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const ByteView input(data, size);
  {
    FakeClock clock;
    SimulatedMouse mouse(SimulatedStorage::kI2C, clock);
    std::string_view text(reinterpret_cast<const char*>(data), size);
    while (!text.empty()) {
      const std::size_t end = text.find('\n');
      mouse.Control(text.substr(0, end));
      if (end == std::string_view::npos) break;
      text.remove_prefix(end + 1);
    }
    mouse.ListInterfaces();
  }

  fuzz::CoreRig rig(SimulatedStorage::kI2C);
  Bytes state = rig.mouse.SerializeState();
  if (size == state.size()) {
    state.assign(input.begin(), input.end());
  } else {
    std::copy_n(input.begin(), std::min(size, state.size()), state.begin());
  }
  if (!rig.mouse.LoadState(state)) return 0;
  if (rig.mouse.SerializeState() != state) __builtin_trap();

  // The state's identifiers decide whether the core finds this mouse at all.
  rig.core.SetDeviceId(0, {rig.mouse.VendorId(), rig.mouse.ProductId()});
  rig.connection.Poll();
  rig.ExerciseFlows();
  return 0;
}
