// Settings key files (pointer.conf, kdeglobals) are outside bytes: any file
// must parse or be refused, and writing one value back must keep every other
// line and give back that value.
#include "core/pointer/key_file.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

using namespace korvex48;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  auto file = KeyFile::Parse(ByteView(data, size));
  if (!file) return 0;
  const std::string before = file->Text();
  const auto again =
      KeyFile::Parse(ByteView(reinterpret_cast<const std::uint8_t*>(before.data()), before.size()));
  if (!again || again->Text() != before) std::abort();
  if (again->Get("KDE", "WheelScrollLines") != file->Get("KDE", "WheelScrollLines")) std::abort();
  file->Set("KDE", "WheelScrollLines", "7");
  if (file->Get("KDE", "WheelScrollLines") != "7") std::abort();
  file->Set("Mouse", "MouseSensitivity", "10");
  if (file->Get("Mouse", "MouseSensitivity") != "10") std::abort();
  if (file->Get("KDE", "WheelScrollLines") != "7") std::abort();
  return 0;
}
