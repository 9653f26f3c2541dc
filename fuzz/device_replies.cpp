// Device replies are outside bytes: whatever the mouse answers to the device
// information step and the whole-image read, the flows must stay inside their
// buffers and leave a macro table the later commands can work on; and what
// the flows then write must never be built from a read that was not whole,
// and a write cut off is never taken for done (see CoreRig::Checked). The first byte picks the
// mouse's storage kind and variant; then, reply by reply, a control byte keeps the mouse's answer
// (0), fails the read (1), makes the mouse refuse the report sent after the next N (2, then N),
// makes it leave the bus after N more reports (3, then N), or replaces the reply's seven bytes with
// the next seven of the input.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "fuzz_rig.h"

using namespace korvex48;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  ByteReader script(ByteView(data, size));
  const std::uint8_t setup = *script.U8();
  const auto storage = static_cast<SimulatedStorage>(setup % 3);
  std::vector<std::uint8_t> image;
  if (storage == SimulatedStorage::kFlashFlash) {
    image.assign(DefaultImageBytes().begin(), DefaultImageBytes().end());
    image[0] = kSlotLayoutMark;
  }
  fuzz::CoreRig rig(storage, image);
  rig.mouse.SetVariant(static_cast<std::uint8_t>(setup >> 2));

  rig.backend.edit_reply = [&script, &rig](std::span<std::uint8_t> payload) {
    const std::optional<std::uint8_t> control = script.U8();
    if (!control || *control == 0) return true;
    if (*control == 1) return false;
    if (*control == 2) {
      rig.mouse.Faults().refuse_report_after = script.U8().value_or(0);
      return true;
    }
    if (*control == 3) {
      rig.mouse.Faults().vanish_after_reports = script.U8().value_or(0);
      return true;
    }
    for (std::uint8_t& b : payload) b = script.U8().value_or(0);
    return true;
  };

  // The poll step finds the mouse, waits on the fake clock and identifies it.
  rig.connection.Poll();
  rig.ExerciseFlows();
  // A second identification with whatever input is left.
  rig.connection.FindMouseAgain();
  rig.ExerciseFlows();
  return 0;
}
