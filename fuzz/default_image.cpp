// A default image given with --default-image is an outside file: any bytes
// must start the core (identifiers, storage kind, working image, macro
// table) and stand a connection and a reset to defaults without reading
// outside the image.
#include <cstddef>
#include <cstdint>

#include "fuzz_rig.h"

using namespace korvex48;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const ByteView image(data, size);
  for (SimulatedStorage storage : {SimulatedStorage::kI2C, SimulatedStorage::kFlashFlash}) {
    fuzz::CoreRig rig(storage, image);
    rig.core.TakeDefaultImage();
    (void)rig.core.NameSources();
    // The image names the mouse to look for; let this one answer to it.
    const DefaultIdentifiers& ids = rig.core.Defaults();
    rig.mouse.SetIdentifiers(static_cast<std::uint16_t>(ids.vendor_id),
                             static_cast<std::uint16_t>(ids.product_id));
    rig.mouse.SetCustomerId(ids.customer_id);
    rig.connection.Poll();
    rig.ExerciseFlows();
  }
  return 0;
}
