// The text form of the configuration is outside bytes: any text must read or
// be refused with a message, and what reads must write back to a text that
// reads to the same configuration, lay over an image that decodes to the
// same configuration (text -> configuration -> image -> configuration), and
// that image must decode and encode to itself.
#include "core/config/config_text.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "core/config/image_codec.h"

using namespace korvex48;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  TextProblem problem;
  const std::optional<Configuration> read = ConfigurationFromText(text, &problem);
  if (!read) {
    if (problem.message.empty()) std::abort();
    return 0;
  }
  const std::string again = ConfigurationToText(*read);
  const std::optional<Configuration> reread = ConfigurationFromText(again, &problem);
  if (!reread || !(*reread == *read)) std::abort();
  ConfigImage image;
  const EncodeResult encoded = EncodeConfiguration(*read, "I2C", image);
  if (encoded.ok) {
    // A mouse given what was read reads it back as it is: apply, then diff,
    // finds nothing.
    const Configuration decoded = DecodeConfiguration(image, read->storage, "I2C");
    if (!(decoded == *read)) std::abort();
    // Decoding the image and laying it over the image again changes nothing.
    ConfigImage again_image = image;
    if (!EncodeConfiguration(decoded, "I2C", again_image).ok || !(again_image == image))
      std::abort();
  } else if (encoded.problem.empty()) {
    std::abort();
  }
  return 0;
}
