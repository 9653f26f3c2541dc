#pragma once
// The PC macro library: 100 slots of a 16-byte name and 256 event bytes, kept
// in memory and mirrored into Macro.bin. Occupied slots (name byte 0 or 1 not
// zero) run from slot 0 without gaps, so row r of the library list is slot r.
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "core/common/bytes.h"
#include "core/macros/macro_events.h"
#include "core/macros/macro_names.h"

namespace korvex48 {

inline constexpr std::size_t kLibrarySlots = 100;
inline constexpr std::size_t kLibraryRecordSize = kMacroNameBytes + kMacroBufferSize;  // 272
inline constexpr std::size_t kLibraryFileSize = kLibrarySlots * kLibraryRecordSize;    // 27200

struct LibrarySlot {
  MacroName name{};
  std::array<std::uint8_t, kMacroBufferSize> events{};
  friend bool operator==(const LibrarySlot&, const LibrarySlot&) = default;
};

enum class ImportOneResult {
  kImported,
  kFull,       // 99 or more macros: Import One never fills the hundredth slot
  kDuplicate,  // a present macro has the same 16 name bytes ("This macro already exists")
  kEmptyName,  // the record names no macro; taking it would break the row order
  kBadName,    // the name breaks the name rule (CheckStoredMacroName)
  kNoEndByte,  // the events have no end byte: the mouse would play on past them
};

enum class NameResult {
  kDone,
  kEmptyName,  // nothing to do: the name dialog was confirmed empty
  kDuplicate,  // a macro of that name exists ("This macro already exists")
  kBadName,    // the name breaks the name rule (CheckMacroName says why)
  kFull,       // New Macro with 100 macros
  kNoSuchMacro,
};

class PcMacroLibrary {
 public:
  const LibrarySlot& Slot(std::size_t i) const { return slots_.at(i); }
  // Direct access for the editor writing a macro's events; callers keep the
  // occupied slots contiguous.
  LibrarySlot& MutableSlot(std::size_t i) { return slots_.at(i); }

  static bool IsOccupied(const LibrarySlot& slot);
  // The same test on a 16-byte name field (missing bytes read as zero).
  static bool IsOccupiedName(ByteView name);
  bool IsOccupied(std::size_t i) const { return IsOccupied(slots_.at(i)); }
  // Number of occupied slots (the rows of the library list).
  std::size_t Count() const;
  // Events plus end byte of slot i (MacroEventLength); 1 or less is empty.
  std::size_t EventLength(std::size_t i) const;
  std::string MacroText(std::size_t i) const { return MacroNameText(slots_.at(i).name); }

  // Empties every slot, then takes the records `file` holds (a short file
  // leaves the rest empty; bytes past 27200 are ignored).
  void Load(ByteView file);
  // Import All: records and parts of records past the end of a short file
  // keep their present content. Both Load and ImportAll then move occupied
  // slots down over empty ones, keeping their order.
  void ImportAll(ByteView file);
  // The library file: 100 records of name + events, always 27200 bytes.
  Bytes ToBytes() const;

  // A single-macro record: name + events, 272 bytes.
  Bytes ExportOne(std::size_t i) const;
  // Import One into the slot after the last macro; a short record leaves the
  // missing bytes zero. On any refusal the library is unchanged.
  ImportOneResult ImportOne(ByteView record);

  // True when a present macro's name reads as `text` (exact comparison).
  bool NameExists(std::string_view text) const;
  // Writes `text` (at most 8 code units) into slot i's cleared name field.
  void SetName(std::size_t i, std::string_view text);
  // New Macro: a macro named `text` with no events becomes the slot after
  // the last one, returned in `slot`. A name that breaks the name rule
  // (CheckMacroName: too long, blank, control characters, ...) is refused
  // as a whole, never cut.
  NameResult AddNew(std::string_view text, std::size_t* slot = nullptr);
  // Rename: slot i (a present macro) is named `text`, by the same rule;
  // refused when any macro, slot i included, already has that name.
  NameResult Rename(std::size_t i, std::string_view text);
  // Deletes slot i; later slots move down, slot 99 is cleared.
  void Delete(std::size_t i);

 private:
  void Compact();
  std::array<LibrarySlot, kLibrarySlots> slots_{};
};

}  // namespace korvex48
