// The names of the backup folder's entries come from the disk: any name gives
// an answer (a backup's time or none), never a read past it.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "core/backups/backup_store.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view name(reinterpret_cast<const char*>(data), size);
  const auto time = korvex48::BackupNameTime(name);
  // Only a name with the stamp, its separator and a change can be a backup's.
  if (time && size < 25) std::abort();
  return 0;
}
