#include "core/image/image_copies.h"

namespace korvex48 {

namespace {
constexpr char kHexDigits[] = "0123456789ABCDEF";

std::string CodeText(const KeyCodeBytes& code) {
  std::string text;
  text.reserve(2 * kKeyCodeSize);
  for (std::uint8_t b : code) {
    text.push_back(kHexDigits[b >> 4]);
    text.push_back(kHexDigits[b & 0x0F]);
  }
  return text;
}
}  // namespace

CodeTexts CodeTextsOf(const ProfileSection& profiles) {
  CodeTexts texts;
  for (int profile = 1; profile <= kProfileCount; ++profile)
    for (int button = 1; button <= kButtonsPerProfile; ++button)
      texts[profile - 1][button - 1] = CodeText(KeyCodeAt(profiles, profile, button));
  return texts;
}

void MarkAndChecksumForSaving(PageCopy& page, StorageLayout layout) {
  if (layout != StorageLayout::kNone) page.parameters[0] = LayoutMarkOf(layout);
  CalcParameterChecksum(page.parameters);
  CalcProfileChecksum(page.profiles);
}

void CopyWorkingToPage(const ConfigImage& working, PageCopy& page) {
  page.parameters = working.parameters;
  page.profiles = working.profiles;
}

void CopyPageToWorking(const PageCopy& page, ConfigImage& working) {
  working.parameters = page.parameters;
  working.profiles = page.profiles;
}

}  // namespace korvex48
