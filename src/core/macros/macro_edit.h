#pragma once
// The macro editor's operations on macro lines (see macro_lines.h): deleting
// an event (a key or button press goes with its release), inserting the
// events of the insert panel, and the ranges of the panel's value fields.
// Every change keeps the encoded macro within its 256-byte buffer; one that
// would not fit is refused and leaves the lines as they were.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "core/macros/macro_lines.h"

namespace korvex48 {

// The value fields of the editor and their ranges.
enum class MacroField {
  kDelay,   // Edt_Delay, Edt_InsertDelay: 1..65535 ms
  kAxis,    // edt_XAxisValue, edt_YAxisValue: -127..127
  kRepeat,  // edt_Repeat: 1..255
};

// The value a field keeps for `text` when editing ends: the number clamped to
// the field's range; empty or unreadable text counts as 0.
int ClampFieldValue(MacroField field, std::string_view text);

// The ten choices of the insert panel (CB_Insert), in list order.
enum class InsertChoice {
  kDelayFront,
  kDelayBack,
  kKeyFront,
  kKeyBack,
  kXFront,
  kXBack,
  kYFront,
  kYBack,
  kRepeatStart,
  kRepeatStop,
};
inline constexpr int kInsertChoiceCount = 10;

// True for the choices that put their events before the selected one.
bool InsertsBefore(InsertChoice choice);
// True for "Insert Key Front/Back", whose events come from insert recording.
bool IsKeyChoice(InsertChoice choice);

// The values of the panel's fields, each already within its range.
struct InsertValues {
  int delay_ms = 50;
  int x = 12;
  int y = 12;
  int repeat = 10;
};

// The line a non-key choice inserts: "0 50", "3 04050021", "4 04FB0021",
// "5 04000521", "6 0400FB21", "7 FD0A", "8 FC". nullopt for the key choices
// and for a move of 0, which no event line represents.
std::optional<std::string> InsertLineFor(InsertChoice choice, const InsertValues& values);

// The name an event line carries: for presses and releases the text between
// the kind digit's blank and " CODE:xxxx"; empty for every other line.
std::string_view EventLineName(std::string_view line);

// Bytes the lines encode to, end byte included.
std::size_t EncodedMacroSize(const MacroLines& lines);

struct DeleteResult {
  bool deleted = false;
  int selection = -1;  // event to select afterwards; -1 when none is left
};

// Deletes event `event` (line event + 1). A press also deletes the first
// later release of the same name, a release the nearest earlier press; the
// search stops at the ends of the list, and when no partner is found only the
// event itself goes. Nothing happens for an event that does not exist.
DeleteResult DeleteMacroEvent(MacroLines& lines, std::size_t event);

enum class InsertStatus {
  kInserted,
  kNoSelection,  // `event` is not an event of the lines
  kKeyChoice,    // the key choices insert by recording
  kZeroMove,     // a move of 0 does nothing: nothing inserted
  kTooLong,      // the macro would be longer than 256 bytes: nothing inserted
};

struct InsertResult {
  InsertStatus status = InsertStatus::kNoSelection;
  std::size_t event = 0;  // the new event (kInserted)
};

// Inserts the line of `choice` before or after event `event`.
InsertResult InsertMacroEvent(MacroLines& lines, std::size_t event, InsertChoice choice,
                              const InsertValues& values);

// The message shown when an insert or a recording would not fit.
inline constexpr std::string_view kMacroTooLongText =
    "The macro cannot grow any further: it would be longer than the 256 bytes a macro holds.";

}  // namespace korvex48
