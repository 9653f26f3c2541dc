// What the flows share: the working image taken in and shown, the macro
// storage read and written, and the count of a whole-image write's reports
// with the reason it stopped.
#include <cctype>
#include <span>

#include "core/app/app_core.h"

namespace korvex48 {
namespace {

constexpr std::size_t kHalf = 256;

}  // namespace

void AppCore::ReadMacroStorage(ConfigImage& read, int& replies, int& failed) {
  // A read whose command was not sent counts all its replies as failed.
  int failed_here = 0;
  auto count = [&] {
    replies += commands_.LastReadReplies();
    failed += commands_.LastReadFailures();
    failed_here += commands_.LastReadFailures();
  };
  switch (Layout()) {
    case StorageLayout::kPacked: {
      const std::uint16_t base = PackedAreaAddress(Session().PrimaryStorage);
      std::span<std::uint8_t> area(read.macro_area);
      (void)commands_.ReadMemory(base, area.first(kHalf), true);
      count();
      (void)commands_.ReadMemory(static_cast<std::uint16_t>(base + kHalf), area.last(kHalf), true);
      count();
      break;
    }
    case StorageLayout::kSlot:
      for (std::size_t i = 0; i < kMacroPageCount; ++i) {
        (void)commands_.ReadMemory(read.page_addresses[i], read.macro_pages[i], true);
        count();
      }
      (void)commands_.ReadMemory(kSlotNamesAddress, read.macro_area, true);
      count();
      break;
    case StorageLayout::kNone:
      break;
  }
  held_storage_.reset();
  if (failed_here == 0) held_storage_ = HeldMacroStorage{read.macro_area, read.macro_pages};
}

void AppCore::ForgetRead() {
  image_read_ = false;
  reread_pending_ = false;
  held_storage_.reset();
}

void AppCore::TakeInWorkingImage() {
  CopyWorkingToPage(working_, page_);
  codes_.LoadFromProfileSection(working_.profiles);
  if (listener_) listener_->ImageTakenIn();
}

void AppCore::ShowWorkingImage() {
  TakeInWorkingImage();
  ui_.RefreshUI();
}

void AppCore::PrepareImageForSave(const ParameterSection& parameters) {
  working_.parameters = parameters;
  const std::uint8_t mark = LayoutMarkOf(Layout());
  if (mark != 0) working_.parameters[0] = mark;
  CalcParameterChecksum(working_.parameters);
  working_.profiles = page_.profiles;
  CalcProfileChecksum(working_.profiles);
}

void AppCore::BeginWrites() {
  writes_taken_ = 0;
  transfer_problem_.clear();
}

bool AppCore::Wrote(bool ok) {
  writes_taken_ += commands_.LastWriteTaken();
  if (!ok && transfer_problem_.empty() && transport_.LastError() == HidError::kGone) {
    transfer_problem_ =
        "the mouse was unplugged after it took " + std::to_string(writes_taken_) + " reports";
  } else if (!ok && transfer_problem_.empty()) {
    transfer_problem_ =
        "the mouse took " + std::to_string(writes_taken_) + " reports, then stopped";
    if (transport_.LastError() != HidError::kNone)
      transfer_problem_ += std::string(": ") + HidErrorText(transport_.LastError());
  }
  return ok;
}

std::string AppCore::StoppedWriteText() const {
  if (writes_taken_ == 0)
    return "the mouse took none of the reports: its configuration was not changed";
  // The working image is what the user chose; the mouse holds part of it.
  return "the mouse's configuration is incomplete: load a profile or reset";
}

void AppCore::WriteStopped() {
  std::string text = StoppedWriteText();
  text[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(text[0])));
  ui_.ShowMessage({{}, text + ".", MessageBoxKind::kPlain, transfer_problem_});
}

bool AppCore::WriteMacroStorage() {
  held_storage_.reset();
  if (!WriteWholeMacroStorage()) return false;
  held_storage_ = HeldMacroStorage{working_.macro_area, working_.macro_pages};
  return true;
}

bool AppCore::WriteWholeMacroStorage() {
  switch (macros_.Layout()) {
    case StorageLayout::kPacked: {
      const std::uint16_t base = macros_.PackedAreaBase();
      std::span<const std::uint8_t> area(working_.macro_area);
      return Wrote(commands_.WriteMemory(base, area.first(kHalf))) &&
             Wrote(
                 commands_.WriteMemory(static_cast<std::uint16_t>(base + kHalf), area.last(kHalf)));
    }
    case StorageLayout::kSlot: {
      std::span<const std::uint8_t> names(working_.macro_area);
      if (!Wrote(commands_.WriteMemory(kSlotNamesAddress, names.first(kHalf))) ||
          !Wrote(commands_.WriteMemory(static_cast<std::uint16_t>(kSlotNamesAddress + kHalf),
                                       names.last(kHalf))))
        return false;
      for (std::size_t i = 0; i < kMacroPageCount; ++i)
        if (!Wrote(commands_.WriteMemory(working_.page_addresses[i], working_.macro_pages[i])))
          return false;
      return true;
    }
    case StorageLayout::kNone:
      break;
  }
  return true;
}

}  // namespace korvex48
