#pragma once
// The device macro flows: the whole device macro save, giving a button a
// device macro, and the changes of the device macro table (delete, add, a
// whole configuration's macros) written in an order no cut can turn into a
// button playing another macro. They change the shared state (AppCore) and
// tell the front end through AppUi.
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "core/app/app_core.h"

namespace korvex48 {

class DeviceMacroFlows {
 public:
  // `core` (the state these flows change) must outlive them.
  explicit DeviceMacroFlows(AppCore& core);
  DeviceMacroFlows(const DeviceMacroFlows&) = delete;
  DeviceMacroFlows& operator=(const DeviceMacroFlows&) = delete;

  // Writes the profile section (with its checksum) and the whole macro
  // storage as the core holds them; the button codes are sent as they are.
  // False without a usable mouse, or when the mouse stopped taking the save
  // part way (the user is told, LastTransferProblem()).
  bool SaveDeviceMacros();
  // Gives `button` (1..12) of the selected profile (1 or 2) the device macro
  // of row `row` of LB_Name, under the last-Left-Key rule; the code goes into
  // the code table and the page copy and, with a usable mouse, to the mouse.
  // Refused (nothing changed) for a row with no macro.
  AssignmentResult AssignDeviceMacroToButton(int button, std::size_t row, const ButtonView& view);
  // Device macro changes (delete, add). The button codes of all three
  // profiles follow their macro by its address, never by its name. The
  // writes are ordered so that the mouse, cut off at any report, plays on
  // every button either the button's own macro (at its old or its new
  // address) or the button's fallback function, never another macro, and
  // its macro storage always parses: first the buttons whose macro is
  // deleted, moves or changes its bytes get their fallback code; then the
  // changed blocks of the macro storage, each a whole 256-byte block of the
  // memory map, with the block that holds the name of the first macro whose
  // bytes on the mouse change (the page-boundary filler of a new packing
  // counts) written first with an end mark in the name's first two bytes and
  // again last with its real bytes (in between the mouse lists only the
  // macros before it); last the profile section with the final codes and its
  // checksum.
  // What the mouse holds in the end is what a whole save of the new table
  // and codes gives.
  //
  // kWriteFailed: the mouse stopped taking the change part way. The profile
  // section and the macro storage are read again and shown (macro lists,
  // labels), so the core holds what the mouse holds; when that read fails
  // too, no device macro is listed, the no-device look shows and the mouse is
  // read whole at the next poll. The user gets one message, and
  // LastMacroChangeCut() says the same in one line.
  //
  // Deletes device macro `index` (a row of LB_MacroName). `selection` gets
  // the row to select afterwards (-1 when no macro is left). kOutOfRange
  // (Str103 shown, nothing changed, the row stays selected) when closing the
  // gap would overfill the packed area.
  MacroCommandResult DeleteDeviceMacro(std::size_t index, const ButtonView& view,
                                       int* selection = nullptr);
  // Add to Mouse: library row `row` becomes the last device macro and is
  // saved. A macro whose events have no end byte is refused (kNoEndByte).
  MacroCommandResult AddMacroToMouse(const PcMacroLibrary& library, std::size_t row,
                                     const ButtonView& view);
  // Adds a macro of `name` and `events` (its events and end byte, at most
  // 256 bytes) behind the device macros, as Add to Mouse does with a library
  // row. `view` gives the labels the window shows (may be empty).
  MacroCommandResult AddDeviceMacro(const MacroName& name, ByteView events, const ButtonView& view);
  // After a macro change that returned kWriteFailed: what the mouse holds
  // now, in one line without the transfer detail (LastTransferProblem());
  // empty after a change that went through.
  const std::string& LastMacroChangeCut() const { return macro_change_cut_; }

  // Replaces the device macros with the macro storage of `image` and the
  // button codes with those of its profile section (a whole configuration
  // taken in), in the order of delete and add: the buttons that play a macro
  // from the first changed one on get their fallback, then the storage with
  // that macro's name written last, then the profile section with its
  // checksum. A cut is handled as there (kWriteFailed, read back, one
  // message, LastMacroChangeCut()).
  MacroCommandResult ReplaceDeviceMacros(const ConfigImage& image);

 private:
  void LiveWriteProfile(const ProfileByteWrite& write);
  void ApplyCodeWrites(std::span<const ProfileByteWrite> writes, bool live);
  // The change to `after` (see DeleteDeviceMacro): `moves[k]` is the index in
  // `after` of macro k of the present table (nullopt: deleted).
  MacroCommandResult ChangeDeviceMacros(const DeviceMacros& after,
                                        std::span<const std::optional<std::size_t>> moves,
                                        const ButtonView& view, bool deleting);
  // A change of the macro storage from what the mouse holds to a new image,
  // as whole 256-byte blocks of the memory map: where it begins and which
  // blocks it rewrites. A block whose bytes stay is not written.
  struct StorageChange {
    // Offset, in the packed area or the slot names table, of the name of the
    // first macro whose bytes on the mouse change (where the list ends when
    // only macros behind it are added); nullopt when there is none.
    std::optional<std::size_t> mark;
    // That macro's index in the mouse's list (Count() and beyond: none of the
    // listed macros changes).
    std::size_t first_macro = 0;
    // From this device address on, the bytes a button plays may change.
    std::optional<std::uint16_t> first_address;
    std::array<bool, 2> table_blocks{};         // the area's (names table's) two blocks
    std::array<bool, kMacroPageCount> pages{};  // slot layout
  };
  StorageChange PlanStorageChange(const ConfigImage& next) const;
  // Where each listed macro lies on the mouse, in list order: in a packed
  // area another program wrote they can differ from the table's, which is
  // packed again.
  std::vector<std::uint16_t> HeldAddresses() const;
  // The blocks of `change` in the order that keeps every cut consistent: the
  // block (or both blocks, when the name straddles them) holding the mark
  // with an end mark there; the other changed blocks; the marked blocks with
  // their real bytes.
  bool WriteStorageChange(const ConfigImage& next, const StorageChange& change);
  // What a macro change was, for the user when it was cut ("the macro was
  // added", "the macro was not added", "one added").
  struct MacroChangeWords {
    std::string done;
    std::string not_done;
    std::string first_changed;
  };
  // The writes of a macro change in their safe order: `interim_writes` (the
  // fallback codes of the buttons whose macro goes, moves or changes), then
  // `next`'s storage as `change` says, then `profiles` with the final codes.
  // False when the mouse stopped part way: it was read back and the user
  // told (ReportMacroChangeCut); nothing of `after` taken.
  bool WriteMacroChange(std::span<const ProfileByteWrite> interim_writes, const ConfigImage& next,
                        const StorageChange& change, const ProfileSection& profiles,
                        const DeviceMacros& after, const MacroChangeWords& words);
  // After a cut: profile section and macro storage read again and taken in;
  // false (nothing listed, no-device look) when that read failed too.
  bool ReadBackMacroChange();
  // `done`, `not_done` and `first_changed` say what the change was ("the
  // macro was added", "the macro was not added", "one added").
  void ReportMacroChangeCut(bool read_back, const DeviceMacros& before, const DeviceMacros& after,
                            const KeyCodes& codes_before, const std::string& done,
                            const std::string& not_done, const std::string& first_changed);

  AppCore& core_;
  Transport& transport_;
  CommandSet& commands_;
  AppUi& ui_;
  std::string macro_change_cut_;
};

}  // namespace korvex48
