#include "core/buttons/evdev_keys.h"

#include <utility>

namespace korvex48 {
namespace {

// evdev code -> virtual key, in evdev order. Keys that have a virtual-key code
// outside the key table (the ISO key left of Z, the Japanese and Korean keys,
// keypad equals and comma, power and sleep) are left out on purpose: they are
// captured as "None" with usage 0.
// clang-format off
constexpr std::pair<int, int> kEvdevToVirtualKey[] = {
    {1, 0x1B},                                                         // Esc
    {2, '1'}, {3, '2'}, {4, '3'}, {5, '4'}, {6, '5'},
    {7, '6'}, {8, '7'}, {9, '8'}, {10, '9'}, {11, '0'},
    {12, 0xBD}, {13, 0xBB}, {14, 0x08},                                // minus, equal, backspace
    {15, 0x09},                                                        // tab
    {16, 'Q'}, {17, 'W'}, {18, 'E'}, {19, 'R'}, {20, 'T'},
    {21, 'Y'}, {22, 'U'}, {23, 'I'}, {24, 'O'}, {25, 'P'},
    {26, 0xDB}, {27, 0xDD}, {28, 0x0D},                                // braces, enter
    {29, 0xA2},                                                        // left ctrl
    {30, 'A'}, {31, 'S'}, {32, 'D'}, {33, 'F'}, {34, 'G'},
    {35, 'H'}, {36, 'J'}, {37, 'K'}, {38, 'L'},
    {39, 0xBA}, {40, 0xDE}, {41, 0xC0},                                // semicolon, apostrophe, grave
    {42, 0xA0},                                                        // left shift
    {43, 0xDC},                                                        // backslash (beside Enter on ISO)
    {44, 'Z'}, {45, 'X'}, {46, 'C'}, {47, 'V'}, {48, 'B'}, {49, 'N'}, {50, 'M'},
    {51, 0xBC}, {52, 0xBE}, {53, 0xBF},                                // comma, dot, slash
    {54, 0xA1},                                                        // right shift
    {55, 0x6A},                                                        // keypad *
    {56, 0xA4}, {57, 0x20}, {58, 0x14},                                // left alt, space, caps lock
    {59, 0x70}, {60, 0x71}, {61, 0x72}, {62, 0x73}, {63, 0x74},
    {64, 0x75}, {65, 0x76}, {66, 0x77}, {67, 0x78}, {68, 0x79},        // F1..F10
    {69, 0x90}, {70, 0x91},                                            // num lock, scroll lock
    {71, 0x67}, {72, 0x68}, {73, 0x69}, {74, 0x6D},                    // keypad 7 8 9 -
    {75, 0x64}, {76, 0x65}, {77, 0x66}, {78, 0x6B},                    // keypad 4 5 6 +
    {79, 0x61}, {80, 0x62}, {81, 0x63},                                // keypad 1 2 3
    {82, 0x60}, {83, 0x6E},                                            // keypad 0 .
    {87, 0x7A}, {88, 0x7B},                                            // F11, F12
    {96, 0x0D}, {97, 0xA3}, {98, 0x6F},                                // keypad enter, right ctrl, keypad /
    {99, 0x2C}, {100, 0xA5},                                           // print screen, right alt (AltGr)
    {102, 0x24}, {103, 0x26}, {104, 0x21}, {105, 0x25},                // home, up, page up, left
    {106, 0x27}, {107, 0x23}, {108, 0x28}, {109, 0x22},                // right, end, down, page down
    {110, 0x2D}, {111, 0x2E},                                          // insert, delete
    {113, 0xAD}, {114, 0xAE}, {115, 0xAF},                             // mute, volume down, volume up
    {119, 0x13},                                                       // pause
    {125, 0x5B}, {126, 0x5C}, {127, 0x5D},                             // left meta, right meta, menu key
    {128, 0xA9},                                                       // stop (browser)
    {138, 0x2F},                                                       // help
    {140, 0xB7},                                                       // calculator: Launch_App2
    {155, 0xB4}, {156, 0xAB},                                          // mail, bookmarks
    {157, 0xB6},                                                       // computer: Launch_App1
    {158, 0xA6}, {159, 0xA7},                                          // back, forward
    {163, 0xB0}, {164, 0xB3}, {165, 0xB1}, {166, 0xB2},                // next, play/pause, previous, stop
    {171, 0xB5},                                                       // config: the media player key
    {172, 0xAC}, {173, 0xA8},                                          // home page, refresh
    {183, 0x7C}, {184, 0x7D}, {185, 0x7E}, {186, 0x7F}, {187, 0x80}, {188, 0x81},
    {189, 0x82}, {190, 0x83}, {191, 0x84}, {192, 0x85}, {193, 0x86}, {194, 0x87},  // F13..F24
    {200, 0xB3}, {201, 0xB3},                                          // play, pause (cd)
    {217, 0xAA},                                                       // search
    {226, 0xB5},                                                       // media
    {353, 0x29},                                                       // select
    {364, 0xAB},                                                       // favorites
};
// clang-format on

}  // namespace

int VirtualKeyOfEvdevCode(int evdevCode) {
  for (const auto& [code, virtualKey] : kEvdevToVirtualKey)
    if (code == evdevCode) return virtualKey;
  return 0;
}

}  // namespace korvex48
