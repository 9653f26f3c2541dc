#include "core/library/pc_macro_library.h"

#include <algorithm>

#include "core/macros/macro_events.h"

namespace korvex48 {

namespace {

// Copies what `file` holds of record i into `slot`; bytes the file lacks are
// left as they are.
void ReadRecord(ByteView file, std::size_t i, LibrarySlot& slot) {
  const std::size_t base = i * kLibraryRecordSize;
  for (std::size_t b = 0; b < kMacroNameBytes && base + b < file.size(); ++b)
    slot.name[b] = file[base + b];
  const std::size_t ev = base + kMacroNameBytes;
  for (std::size_t b = 0; b < kMacroBufferSize && ev + b < file.size(); ++b)
    slot.events[b] = file[ev + b];
}

}  // namespace

bool PcMacroLibrary::IsOccupied(const LibrarySlot& slot) {
  return slot.name[0] != 0 || slot.name[1] != 0;
}

bool PcMacroLibrary::IsOccupiedName(ByteView name) {
  return ByteAt(name, 0) != 0 || ByteAt(name, 1) != 0;
}

std::size_t PcMacroLibrary::Count() const {
  return static_cast<std::size_t>(std::count_if(
      slots_.begin(), slots_.end(), [](const LibrarySlot& s) { return IsOccupied(s); }));
}

std::size_t PcMacroLibrary::EventLength(std::size_t i) const {
  return MacroEventLength(slots_.at(i).events);
}

void PcMacroLibrary::Load(ByteView file) {
  slots_ = {};
  ImportAll(file);
}

void PcMacroLibrary::ImportAll(ByteView file) {
  for (std::size_t i = 0; i < kLibrarySlots; ++i) ReadRecord(file, i, slots_[i]);
  Compact();
}

void PcMacroLibrary::Compact() {
  // Row r of the list must be slot r: occupied slots move down over empty
  // ones in order, and the slots behind them are cleared.
  std::size_t to = 0;
  for (std::size_t from = 0; from < kLibrarySlots; ++from) {
    if (!IsOccupied(slots_[from])) continue;
    if (to != from) slots_[to] = slots_[from];
    ++to;
  }
  for (; to < kLibrarySlots; ++to) slots_[to] = {};
}

Bytes PcMacroLibrary::ToBytes() const {
  Bytes out;
  out.reserve(kLibraryFileSize);
  for (const LibrarySlot& s : slots_) {
    out.insert(out.end(), s.name.begin(), s.name.end());
    out.insert(out.end(), s.events.begin(), s.events.end());
  }
  return out;
}

Bytes PcMacroLibrary::ExportOne(std::size_t i) const {
  const LibrarySlot& s = slots_.at(i);
  Bytes out(s.name.size() + s.events.size());
  std::copy(s.name.begin(), s.name.end(), out.begin());
  std::copy(s.events.begin(), s.events.end(),
            out.begin() + static_cast<std::ptrdiff_t>(s.name.size()));
  return out;
}

ImportOneResult PcMacroLibrary::ImportOne(ByteView record) {
  const std::size_t n = Count();
  if (n >= kLibrarySlots - 1) return ImportOneResult::kFull;
  LibrarySlot slot;
  ReadRecord(record, 0, slot);
  if (!IsOccupied(slot)) return ImportOneResult::kEmptyName;
  if (CheckStoredMacroName(slot.name) != MacroNameProblem::kNone) return ImportOneResult::kBadName;
  if (!MacroHasEndByte(slot.events)) return ImportOneResult::kNoEndByte;
  for (std::size_t i = 0; i < n; ++i)
    if (slots_[i].name == slot.name) return ImportOneResult::kDuplicate;
  slots_[n] = slot;
  return ImportOneResult::kImported;
}

bool PcMacroLibrary::NameExists(std::string_view text) const {
  for (const LibrarySlot& s : slots_)
    if (IsOccupied(s) && MacroNameText(s.name) == text) return true;
  return false;
}

void PcMacroLibrary::SetName(std::size_t i, std::string_view text) {
  slots_.at(i).name = MacroNameFromText(text);
}

namespace {
NameResult NameRuleResult(std::string_view text) {
  switch (CheckMacroName(text)) {
    case MacroNameProblem::kNone:
      return NameResult::kDone;
    case MacroNameProblem::kEmpty:
      return NameResult::kEmptyName;
    default:
      return NameResult::kBadName;
  }
}
}  // namespace

NameResult PcMacroLibrary::AddNew(std::string_view text, std::size_t* slot) {
  if (const NameResult rule = NameRuleResult(text); rule != NameResult::kDone) return rule;
  const std::size_t n = Count();
  if (n >= kLibrarySlots) return NameResult::kFull;
  const MacroName name = MacroNameFromText(text);
  if (NameExists(MacroNameText(name))) return NameResult::kDuplicate;
  slots_[n] = {};
  slots_[n].name = name;
  if (slot) *slot = n;
  return NameResult::kDone;
}

NameResult PcMacroLibrary::Rename(std::size_t i, std::string_view text) {
  if (const NameResult rule = NameRuleResult(text); rule != NameResult::kDone) return rule;
  if (i >= kLibrarySlots || !IsOccupied(i)) return NameResult::kNoSuchMacro;
  const MacroName name = MacroNameFromText(text);
  if (NameExists(MacroNameText(name))) return NameResult::kDuplicate;
  slots_[i].name = name;
  return NameResult::kDone;
}

void PcMacroLibrary::Delete(std::size_t i) {
  if (i >= kLibrarySlots) return;
  for (std::size_t k = i; k + 1 < kLibrarySlots; ++k) slots_[k] = slots_[k + 1];
  slots_[kLibrarySlots - 1] = {};
}

}  // namespace korvex48
