// Builds the default macro library (resources/library/PCMacroData) from macro
// lines through the core encoder, so the shipped bytes are exactly what the
// editor itself would write. Usage: make_default_library <output file>
#include <cstdio>
#include <string>
#include <vector>

#include "core/buttons/keyboard_keys.h"
#include "core/common/file_io.h"
#include "core/library/pc_macro_library.h"
#include "core/macros/key_names.h"
#include "core/macros/macro_lines.h"

namespace {

using korvex48::MacroLines;

std::string Hex2(unsigned v) {
  static const char* kDigits = "0123456789ABCDEF";
  return std::string{kDigits[(v >> 4) & 0xF], kDigits[v & 0xF]};
}

// HID usages of the keys the defaults use.
enum Usage : unsigned {
  kA = 0x04,
  kC = 0x06,
  kD = 0x07,
  kF = 0x09,
  kG = 0x0A,
  kL = 0x0F,
  kQ = 0x14,
  kS = 0x16,
  kT = 0x17,
  kV = 0x19,
  kX = 0x1B,
  kY = 0x1C,
  kZ = 0x1D,
  kEnter = 0x28,
  kEsc = 0x29,
  kTab = 0x2B,
  kF4 = 0x3D,
  kHome = 0x4A,
  kEnd = 0x4D,
};
enum Mod : unsigned { kCtrl = 0x01, kShift = 0x02, kAlt = 0x04, kWin = 0x08 };

class Builder {
 public:
  Builder& Down(unsigned usage) {
    return Add("1 " + std::string(korvex48::UsageName(static_cast<int>(usage))) + " CODE:82" +
               Hex2(usage));
  }
  Builder& Up(unsigned usage) {
    return Add("2 " + std::string(korvex48::UsageName(static_cast<int>(usage))) + " CODE:02" +
               Hex2(usage));
  }
  Builder& ModDown(unsigned mask) {
    return Add("1 " + korvex48::MacroModifierName(static_cast<std::uint8_t>(mask)) + " CODE:81" +
               Hex2(mask));
  }
  Builder& ModUp(unsigned mask) {
    return Add("2 " + korvex48::MacroModifierName(static_cast<std::uint8_t>(mask)) + " CODE:01" +
               Hex2(mask));
  }
  Builder& LeftDown() { return Add("1 LeftKey CODE:00A1"); }
  Builder& LeftUp() { return Add("2 LeftKey CODE:0021"); }
  Builder& Wait(unsigned ms) { return Add("0 " + std::to_string(ms)); }
  Builder& MoveY(int y) {
    return Add(std::string(y > 0 ? "5 0400" : "6 0400") + Hex2(static_cast<unsigned>(y) & 0xFF) +
               "21");
  }
  Builder& RepeatStart(unsigned count) { return Add("7 FD" + Hex2(count)); }
  Builder& RepeatStop() { return Add("8 FC"); }
  // Tap a key: press, hold, release.
  Builder& Tap(unsigned usage, unsigned hold) { return Down(usage).Wait(hold).Up(usage); }
  // A key under held modifiers, released in reverse order.
  Builder& Combo(std::vector<unsigned> mods, unsigned usage, unsigned gap = 20) {
    for (unsigned m : mods) ModDown(m).Wait(gap);
    Down(usage).Wait(gap).Up(usage);
    for (auto it = mods.rbegin(); it != mods.rend(); ++it) Wait(gap).ModUp(*it);
    return *this;
  }
  Builder& Click(unsigned hold, unsigned gap) { return LeftDown().Wait(hold).LeftUp().Wait(gap); }
  MacroLines Lines() const { return lines_; }

 private:
  Builder& Add(std::string line) {
    lines_.push_back(std::move(line));
    return *this;
  }
  MacroLines lines_{"10"};
};

struct Entry {
  const char* name;
  Builder macro;
};

std::vector<Entry> DefaultMacros() {
  std::vector<Entry> m;
  m.push_back({"Copy", Builder().Combo({kCtrl}, kC)});
  m.push_back({"Paste", Builder().Combo({kCtrl}, kV)});
  m.push_back({"Cut", Builder().Combo({kCtrl}, kX)});
  m.push_back({"Undo", Builder().Combo({kCtrl}, kZ)});
  m.push_back({"Redo", Builder().Combo({kCtrl}, kY)});
  m.push_back({"SelAll", Builder().Combo({kCtrl}, kA)});
  m.push_back({"Save", Builder().Combo({kCtrl}, kS)});
  m.push_back({"Find", Builder().Combo({kCtrl}, kF)});
  m.push_back({"SelLine", Builder().Tap(kHome, 20).Wait(20).Combo({kShift}, kEnd)});
  m.push_back({"NewTab", Builder().Combo({kCtrl}, kT)});
  m.push_back({"ReopnTab", Builder().Combo({kCtrl, kShift}, kT)});
  m.push_back({"TaskMgr", Builder().Combo({kCtrl, kShift}, kEsc)});
  m.push_back({"AltTab", Builder().Combo({kAlt}, kTab)});
  m.push_back({"CloseWin", Builder().Combo({kAlt}, kF4)});
  m.push_back({"LockPC", Builder().Combo({kWin}, kL)});
  m.push_back({"ShowDesk", Builder().Combo({kWin}, kD)});
  m.push_back({"DblClick", Builder().Wait(10).Click(20, 40).Click(20, 40)});
  m.push_back({"TplClick", Builder().Click(20, 40).Click(20, 40).Click(20, 40)});
  m.push_back(
      {"Burst5", Builder().Click(30, 60).Click(30, 60).Click(30, 60).Click(30, 60).Click(30, 60)});
  m.push_back({"NoRecoil", Builder()
                               .RepeatStart(10)
                               .LeftDown()
                               .Wait(30)
                               .MoveY(3)
                               .Wait(30)
                               .LeftUp()
                               .Wait(30)
                               .RepeatStop()});
  m.push_back({"QuickSw", Builder().Tap(kQ, 20).Wait(80).Tap(kQ, 20)});
  m.push_back({"Strafe",
               Builder().RepeatStart(5).Tap(kA, 150).Wait(20).Tap(kD, 150).Wait(20).RepeatStop()});
  m.push_back({"GG", Builder()
                         .Tap(kEnter, 20)
                         .Wait(100)
                         .Tap(kG, 20)
                         .Wait(20)
                         .Tap(kG, 20)
                         .Wait(20)
                         .Tap(kEnter, 20)});
  return m;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s <output file>\n", argv[0]);
    return 2;
  }
  korvex48::PcMacroLibrary library;
  const std::vector<Entry> macros = DefaultMacros();
  for (std::size_t i = 0; i < macros.size(); ++i) {
    library.SetName(i, macros[i].name);
    if (!korvex48::EncodeMacroLinesInto(macros[i].macro.Lines(), library.MutableSlot(i).events)) {
      std::fprintf(stderr, "macro %s does not fit\n", macros[i].name);
      return 1;
    }
    std::printf("%-8s %zu bytes\n", macros[i].name, library.EventLength(i));
  }
  korvex48::FileError error;
  if (!korvex48::WriteFileAtomically(argv[1], library.ToBytes(), &error)) {
    std::fprintf(stderr, "%s: %s\n", error.path.c_str(), error.message.c_str());
    return 1;
  }
  return 0;
}
