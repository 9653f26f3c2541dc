#pragma once
// The in-memory copies of the configuration the main window keeps for the whole
// run, and the code texts of the buttons.
//   default copy  - re-read from the default image whenever it is needed
//   working image - what was read from the mouse, a profile file or the defaults
//   page copy     - the two sections the pages edit; live writes change it
//   code texts    - each button's key function code as 8 upper-case hex digits
#include <array>
#include <string>

#include "core/image/config_image.h"

namespace korvex48 {

struct PageCopy {
  ParameterSection parameters{};
  ProfileSection profiles{};

  friend bool operator==(const PageCopy&, const PageCopy&) = default;
};

// code_texts[profile - 1][button - 1], profile 1..3, button 1..12.
using CodeTextList = std::array<std::string, kButtonsPerProfile>;
using CodeTexts = std::array<CodeTextList, kProfileCount>;

struct ImageCopies {
  ConfigImage default_copy;
  ConfigImage working;
  PageCopy page;
  CodeTexts code_texts;
};

// The code texts of all 36 buttons of a profile section: each key function
// code as eight upper-case hex digits in byte order (06 13 00 32 -> "06130032").
// Converting single codes is the buttons subsystem's (KeyCodeToText).
CodeTexts CodeTextsOf(const ProfileSection& profiles);

// Before an image is saved: parameter byte 0 := the layout mark (0xE0 packed,
// 0xF0 slot; unchanged for kNone), then both checksums are recomputed. Packing
// the page state comes first and copying into the working image after.
void MarkAndChecksumForSaving(PageCopy& page, StorageLayout layout);

// Copies both sections of the working image into the page copy.
void CopyWorkingToPage(const ConfigImage& working, PageCopy& page);
// Copies both sections of the page copy into the working image.
void CopyPageToWorking(const PageCopy& page, ConfigImage& working);

}  // namespace korvex48
