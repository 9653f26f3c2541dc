#include "core/device/simulated_mouse.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <filesystem>

#include "core/common/file_io.h"
#include "core/device/hid_descriptor.h"
#include "core/image/default_image.h"

namespace korvex48 {

namespace {

constexpr std::uint8_t kCommandId = 0x40;
constexpr std::uint8_t kDataId = 0x41;
constexpr std::size_t kReport = 8;
constexpr std::size_t kShortReply = 4;  // a reply cut short by a fault
constexpr std::uint8_t kConsumerFeatureId = 0x06;
constexpr std::size_t kConsumerFeature = 64;  // with its ID byte
constexpr std::uint16_t kMouseVersion = 0x0100;
constexpr std::uint16_t kOtherVendor = 0x0F0F;  // unrelated simulated keyboards
constexpr const char* kPathPrefix = "sim:hidraw";

constexpr std::uint16_t kI2CCustomerId = 249;
constexpr std::uint16_t kFlashCustomerId = 0x6000;
constexpr std::uint16_t kI2CMacroArea = 0x0200;
constexpr std::uint16_t kFlashMacroArea = 0x4000;
constexpr std::uint16_t kNamesTable = 0x3000;
constexpr std::uint16_t kFirstPage = 0x4000;
constexpr std::uint32_t kMemoryBlock = 256;
constexpr std::uint16_t kPatchCode = 0xC000;
constexpr std::uint32_t kPatchCodeBytes = 1024;
constexpr std::uint16_t kPatchDescriptor = 0x1000;
constexpr std::uint32_t kPatchDescriptorBytes = 16;
constexpr std::size_t kRefusedShapesKept = 100;

SimulatedMouse::RefusedShapeHook g_refused_shape_hook = nullptr;

std::string Hex4(std::uint32_t v) {
  char text[8];
  std::snprintf(text, sizeof text, "0x%04X", static_cast<unsigned>(v & 0xFFFF));
  return text;
}

const std::uint8_t kBootMouseDescriptor[] = {
    0x05, 0x01, 0x09, 0x02, 0xA1, 0x01, 0x09, 0x01, 0xA1, 0x00, 0x05, 0x09, 0x19,
    0x01, 0x29, 0x05, 0x15, 0x00, 0x25, 0x01, 0x95, 0x05, 0x75, 0x01, 0x81, 0x02,
    0x95, 0x01, 0x75, 0x03, 0x81, 0x01, 0x05, 0x01, 0x09, 0x30, 0x09, 0x31, 0x09,
    0x38, 0x15, 0x81, 0x25, 0x7F, 0x75, 0x08, 0x95, 0x03, 0x81, 0x06, 0xC0, 0xC0};
const std::uint8_t kConsumerDescriptor[] = {
    0x05, 0x0C, 0x09, 0x01, 0xA1, 0x01, 0x85, 0x03, 0x19, 0x00, 0x2A, 0xFF, 0x02,
    0x15, 0x00, 0x26, 0xFF, 0x02, 0x95, 0x01, 0x75, 0x10, 0x81, 0x00, 0x85, kConsumerFeatureId,
    0x15, 0x00, 0x26, 0xFF, 0x00, 0x75, 0x08, 0x95, 0x3F, 0x09, 0x01, 0xB1, 0x02,
    0xC0};
const std::uint8_t kConfigDescriptor[] = {0x06,       0x00, 0xFF, 0x09, 0x01, 0xA1, 0x01, 0x85,
                                          kCommandId, 0x15, 0x00, 0x26, 0xFF, 0x00, 0x75, 0x08,
                                          0x95,       0x07, 0x09, 0x01, 0xB1, 0x02, 0x85, kDataId,
                                          0x95,       0x07, 0x09, 0x02, 0xB1, 0x02, 0xC0};
const std::uint8_t kKeyboardDescriptor[] = {
    0x05, 0x01, 0x09, 0x06, 0xA1, 0x01, 0x05, 0x07, 0x19, 0xE0, 0x29, 0xE7, 0x15, 0x00, 0x25,
    0x01, 0x75, 0x01, 0x95, 0x08, 0x81, 0x02, 0x95, 0x05, 0x75, 0x01, 0x05, 0x08, 0x19, 0x01,
    0x29, 0x05, 0x91, 0x02, 0x95, 0x01, 0x75, 0x03, 0x91, 0x01, 0x95, 0x06, 0x75, 0x08, 0x15,
    0x00, 0x25, 0x65, 0x05, 0x07, 0x19, 0x00, 0x29, 0x65, 0x81, 0x00, 0xC0};

constexpr char kStateMagic[8] = {'K', '4', '8', 'S', 'I', 'M', '0', '1'};
constexpr std::size_t kStateSize = sizeof kStateMagic + 2 + 4 + kParameterSectionSize +
                                   kProfileSectionSize + SimulatedMouse::kMemorySize;

ByteView DescriptorOf(int mouse_interface) {
  switch (mouse_interface) {
    case 0:
      return kBootMouseDescriptor;
    case 1:
      return kConsumerDescriptor;
    case 2:
      return kConfigDescriptor;
    default:
      return kKeyboardDescriptor;
  }
}

}  // namespace

std::optional<SimulatedStorage> ParseSimulatedStorage(std::string_view name) {
  if (name == "i2c") return SimulatedStorage::kI2C;
  if (name == "flash-i2c") return SimulatedStorage::kFlashI2C;
  if (name == "flash-flash") return SimulatedStorage::kFlashFlash;
  return std::nullopt;
}

std::string_view SimulatedStorageName(SimulatedStorage storage) {
  switch (storage) {
    case SimulatedStorage::kI2C:
      return "i2c";
    case SimulatedStorage::kFlashI2C:
      return "flash-i2c";
    case SimulatedStorage::kFlashFlash:
      return "flash-flash";
  }
  return "i2c";
}

SimulatedMouse::SimulatedMouse(SimulatedStorage storage, Clock& clock)
    : clock_(clock), storage_(storage), memory_(kMemorySize, 0xFF) {
  ImageHead head{};
  ReadDefaultHead(head);
  const DefaultIdentifiers ids = DefaultIdentifiersOf(head);
  vendor_id_ = ids.vendor_id;
  product_id_ = ids.product_id;
  ResetMemory(storage);
  dirty_ = false;
}

SimulatedMouse::~SimulatedMouse() {
  if (dirty_ && !state_file_.empty()) SaveStateFile();
}

void SimulatedMouse::ResetMemory(SimulatedStorage storage) {
  storage_ = storage;
  ConfigImage image;
  ReadDefaultSections(StorageKind::kI2C, image);
  parameters_ = image.parameters;
  profiles_ = image.profiles;
  std::fill(memory_.begin(), memory_.end(), 0xFF);
  auto put = [this](std::uint16_t address, ByteView bytes) {
    std::copy(bytes.begin(), bytes.end(), memory_.begin() + address);
  };
  switch (storage) {
    case SimulatedStorage::kI2C:
      put(kI2CMacroArea, image.macro_area);
      break;
    case SimulatedStorage::kFlashI2C:
      parameters_[6] = static_cast<std::uint8_t>((parameters_[6] & 0x3F) | 0x80);
      put(kFlashMacroArea, image.macro_area);
      break;
    case SimulatedStorage::kFlashFlash:
      parameters_[0] = kSlotLayoutMark;
      parameters_[6] = static_cast<std::uint8_t>(parameters_[6] | 0xC0);
      std::fill_n(memory_.begin() + kNamesTable, kMacroAreaSize, 0x00);
      std::fill_n(memory_.begin() + kFirstPage, kMacroPageCount * kMacroPageSize, 0x00);
      break;
  }
  CalcParameterChecksum(parameters_);
  put(CustomerIdAddress(), image.customer_id);
  Changed();
}

std::uint8_t SimulatedMouse::PrimaryStorageByte() const {
  return storage_ == SimulatedStorage::kI2C ? 0xC0 : 0x80;
}

std::uint16_t SimulatedMouse::CustomerIdAddress() const {
  return storage_ == SimulatedStorage::kI2C ? kI2CCustomerId : kFlashCustomerId;
}

CustomerId SimulatedMouse::GetCustomerId() const {
  return {memory_[CustomerIdAddress()], memory_[CustomerIdAddress() + 1u]};
}

void SimulatedMouse::SetCustomerId(const CustomerId& id) {
  memory_[CustomerIdAddress()] = id[0];
  memory_[CustomerIdAddress() + 1u] = id[1];
  Changed();
}

void SimulatedMouse::SetIdentifiers(std::uint16_t vendor_id, std::uint16_t product_id) {
  vendor_id_ = vendor_id;
  product_id_ = product_id;
  Changed();
}

// --- The bus ----------------------------------------------------------------

bool SimulatedMouse::Present() {
  if (restarting_ && clock_.NowMicroseconds() >= back_at_us_) restarting_ = false;
  return plugged_ && !restarting_;
}

void SimulatedMouse::LeaveBus() {
  ++generation_;
  reply_source_ = ReplySource::kNone;
  reply_left_ = 0;
  write_left_ = 0;
}

void SimulatedMouse::Unplug() {
  if (plugged_) LeaveBus();
  plugged_ = false;
}

void SimulatedMouse::Plug() { plugged_ = true; }

void SimulatedMouse::SetOtherInterfaces(int count) {
  const int old = others_;
  others_ = std::max(0, count);
  // Slots of the mouse move: handles on them are dropped as on a re-plug.
  if (old != others_) LeaveBus();
}

int SimulatedMouse::MouseInterfaceOf(int slot) const {
  return slot >= others_ && slot < SlotCount() ? slot - others_ : -1;
}

bool SimulatedMouse::SlotPresent(int slot) {
  if (slot < 0 || slot >= SlotCount()) return false;
  return MouseInterfaceOf(slot) < 0 || Present();
}

std::uint64_t SimulatedMouse::SlotGeneration(int slot) const {
  return MouseInterfaceOf(slot) < 0 ? 0 : generation_;
}

HidInterfaceInfo SimulatedMouse::SlotInfo(int slot) const {
  HidInterfaceInfo info;
  const int m = MouseInterfaceOf(slot);
  if (m >= 0) {
    info.vendor_id = vendor_id_;
    info.product_id = product_id_;
    info.version = kMouseVersion;
  } else {
    info.vendor_id = kOtherVendor;
    info.product_id = static_cast<std::uint16_t>(slot + 1);
    info.version = 1;
  }
  if (auto summary = ParseHidDescriptor(DescriptorOf(m)))
    info.feature_report_length = summary->feature_report_length;
  return info;
}

Bytes SimulatedMouse::SlotDescriptor(int slot) const {
  ByteView d = DescriptorOf(MouseInterfaceOf(slot));
  return Bytes(d.begin(), d.end());
}

namespace {
// Counts a single fault down: true once, when its count has run out.
bool FaultDue(int& after) {
  if (after < 0) return false;
  if (after == 0) {
    after = -1;
    return true;
  }
  --after;
  return false;
}
}  // namespace

bool SimulatedMouse::CountConfigReport() {
  ++config_reports_;
  if (faults_.vanish_after_reports < 0) return true;
  if (faults_.vanish_after_reports == 0) {
    faults_.vanish_after_reports = -1;
    Unplug();
    return false;
  }
  --faults_.vanish_after_reports;
  return true;
}

HidError SimulatedMouse::SlotSetFeature(int slot, std::span<const std::uint8_t> report) {
  if (!SlotPresent(slot)) return HidError::kGone;
  const int m = MouseInterfaceOf(slot);
  if (m == 1 && report.size() == kConsumerFeature && report[0] == kConsumerFeatureId)
    return HidError::kNone;
  if (m != kConfigInterface) return HidError::kRefused;
  if (!CountConfigReport()) return HidError::kGone;
  if (report.size() != kReport) return HidError::kRefused;
  if (FaultDue(faults_.refuse_report_after)) return HidError::kRefused;
  if (strict_) {
    if (std::string shape = UnknownShape(report); !shape.empty()) {
      if (refused_shapes_.size() < kRefusedShapesKept) refused_shapes_.push_back(shape);
      if (g_refused_shape_hook) g_refused_shape_hook(shape);
      return HidError::kRefused;
    }
  }
  if (report[0] == kCommandId) return HandleCommand(report);
  if (report[0] == kDataId) {
    HandleData(report);
    return HidError::kNone;
  }
  return HidError::kRefused;
}

HidError SimulatedMouse::SlotGetFeature(int slot, std::span<std::uint8_t> report,
                                        std::size_t* length) {
  if (length) *length = 0;
  if (!SlotPresent(slot)) return HidError::kGone;
  if (report.empty()) return HidError::kRefused;
  const int m = MouseInterfaceOf(slot);
  if (m == 1 && report.size() >= kConsumerFeature && report[0] == kConsumerFeatureId) {
    std::fill_n(report.begin() + 1, kConsumerFeature - 1, 0x00);
    if (length) *length = kConsumerFeature;
    return HidError::kNone;
  }
  if (m != kConfigInterface) return HidError::kRefused;
  if (!CountConfigReport()) return HidError::kGone;
  if (report.size() < kReport || report[0] != kDataId) return HidError::kRefused;
  // A failed reply still uses up what the mouse had prepared, as a transfer
  // lost on the way back would.
  bool fail = faults_.fail_all_replies || faults_.fail_next_replies > 0;
  if (faults_.fail_next_replies > 0) --faults_.fail_next_replies;
  fail = FaultDue(faults_.fail_reply_after) || fail;
  const bool cut_short = FaultDue(faults_.short_reply_after);
  NextReply(report.subspan(1, kReport - 1));
  if (fail) return HidError::kFailed;
  if (length) *length = cut_short ? kShortReply : kReport;
  return HidError::kNone;
}

// --- The command set, from the mouse's side -----------------------------------

SimulatedMouse::RefusedShapeHook SimulatedMouse::SetRefusedShapeHook(RefusedShapeHook hook) {
  const RefusedShapeHook old = g_refused_shape_hook;
  g_refused_shape_hook = hook;
  return old;
}

bool SimulatedMouse::KnownMemoryRange(std::uint32_t address, std::uint32_t length,
                                      bool write) const {
  if (address == CustomerIdAddress() && length == sizeof(CustomerId)) return true;
  if (write && address == kPatchCode && length == kPatchCodeBytes) return true;
  if (write && address == kPatchDescriptor && length == kPatchDescriptorBytes) return true;
  switch (storage_) {
    case SimulatedStorage::kI2C:
    case SimulatedStorage::kFlashI2C: {
      // The packed area, one 256-byte block at a time.
      const std::uint32_t area =
          storage_ == SimulatedStorage::kI2C ? kI2CMacroArea : kFlashMacroArea;
      return length == kMemoryBlock && (address == area || address == area + kMemoryBlock);
    }
    case SimulatedStorage::kFlashFlash:
      // The names table is written as two blocks and read whole; the pages
      // one at a time.
      if (address == kNamesTable) return length == (write ? kMemoryBlock : kMacroAreaSize);
      if (write && address == kNamesTable + kMemoryBlock) return length == kMemoryBlock;
      return length == kMemoryBlock && address >= kFirstPage &&
             address < kFirstPage + kMacroPageCount * kMemoryBlock &&
             (address - kFirstPage) % kMemoryBlock == 0;
  }
  return false;
}

std::string SimulatedMouse::UnknownShape(std::span<const std::uint8_t> r) const {
  if (r[0] == kDataId)
    return write_left_ > 0 ? std::string() : std::string("data report with no memory write");
  if (r[0] != kCommandId) return {};  // refused as it is
  const std::uint32_t address = static_cast<std::uint32_t>((r[2] << 8) | r[3]);
  const std::uint32_t length = static_cast<std::uint32_t>((r[4] << 8) | r[5]);
  switch (r[1]) {
    case 0x05: {
      // Live writes and the chunks of a whole section write: whatever starts
      // inside the section.
      const std::size_t offset = r[3];
      if (r[2] == 0 && r[7] >= 1 && r[7] <= 3 && offset < kParameterSectionSize) return {};
      if (r[2] == 1 && offset < kProfileSectionSize) return {};
      return "section write of block " + std::to_string(r[2]) + " at offset " +
             std::to_string(offset) + (r[2] == 0 ? " with count " + std::to_string(r[7]) : "");
    }
    case 0x06: {
      // Both sections whole, and the byte that names the secondary storage.
      const std::size_t block = r[2], offset = r[3], n = r[5];
      const bool known = r[4] == 0 && r[6] == 0 && r[7] == 0 &&
                         ((block == 0 && offset == 0 && n == kParameterSectionSize) ||
                          (block == 1 && offset == 0 && n == kProfileSectionSize) ||
                          (block == 0 && offset == 6 && n == 1));
      if (known) return {};
      return "section read of " + std::to_string(n) + " bytes at offset " + std::to_string(offset) +
             " of block " + std::to_string(block);
    }
    case 0x07:
    case 0x09: {
      const bool write = r[1] == 0x07;
      if (r[6] == 0 && r[7] == 0 && KnownMemoryRange(address, length, write)) return {};
      return std::string(write ? "memory write" : "memory read") + " of " + std::to_string(length) +
             " bytes at " + Hex4(address);
    }
    case 0x0D:
    case 0x0E:
      if (std::all_of(r.begin() + 2, r.end(), [](std::uint8_t b) { return b == 0; })) return {};
      return std::string(r[1] == 0x0D ? "device information" : "restart") +
             " command with arguments";
    default:
      return "command 0x" + Hex4(r[1]).substr(4);
  }
}

HidError SimulatedMouse::HandleCommand(std::span<const std::uint8_t> r) {
  const std::uint8_t code = r[1];
  if (faults_.refuse_commands || code == faults_.refuse_command_code) return HidError::kRefused;
  // A new command ends whatever transfer was in progress.
  reply_source_ = ReplySource::kNone;
  reply_left_ = 0;
  write_left_ = 0;
  switch (code) {
    case 0x05: {  // write section bytes
      const std::uint8_t sub = r[2];
      const std::size_t offset = r[3];
      if (sub == 0) {
        const std::size_t n = r[7];
        if (n < 1 || n > 3) return HidError::kRefused;
        for (std::size_t i = 0; i < n; ++i)
          if (offset + i < parameters_.size()) parameters_[offset + i] = r[4 + i];
      } else if (sub == 1) {
        for (std::size_t i = 0; i < 4; ++i)
          if (offset + i < profiles_.size()) profiles_[offset + i] = r[4 + i];
      } else {
        return HidError::kRefused;
      }
      Changed();
      break;
    }
    case 0x06:  // read section
      reply_source_ = ReplySource::kSection;
      reply_block_ = r[2];
      reply_pos_ = r[3];
      reply_left_ = r[5];
      break;
    case 0x07:  // write memory: the data reports follow
      write_address_ = static_cast<std::uint32_t>((r[2] << 8) | r[3]);
      write_left_ = static_cast<std::uint32_t>((r[4] << 8) | r[5]);
      break;
    case 0x09:  // read memory
      reply_source_ = ReplySource::kMemory;
      reply_pos_ = static_cast<std::uint32_t>((r[2] << 8) | r[3]);
      reply_left_ = static_cast<std::uint32_t>((r[4] << 8) | r[5]);
      break;
    case 0x0D:  // device information
      reply_source_ = ReplySource::kInfo;
      reply_left_ = 7;
      break;
    case 0x0E:  // restart: off the bus now, back a second later
      LeaveBus();
      restarting_ = true;
      back_at_us_ = clock_.NowMicroseconds() + kRestartMicroseconds;
      ++restarts_;
      break;
    default:  // unknown commands are acknowledged and ignored
      break;
  }
  return HidError::kNone;
}

void SimulatedMouse::HandleData(std::span<const std::uint8_t> r) {
  if (write_left_ == 0) return;  // data without a write command: dropped
  const std::uint32_t n = std::min<std::uint32_t>(7, write_left_);
  for (std::uint32_t i = 0; i < n; ++i) memory_[(write_address_ + i) & 0xFFFF] = r[1 + i];
  write_address_ += n;
  write_left_ -= n;
  if (write_left_ == 0) Changed();
}

void SimulatedMouse::NextReply(std::span<std::uint8_t> payload) {
  std::fill(payload.begin(), payload.end(), 0x00);
  if (reply_left_ == 0) return;  // nothing pending: an idle report
  const std::uint32_t n = std::min<std::uint32_t>(7, reply_left_);
  switch (reply_source_) {
    case ReplySource::kInfo:
      payload[2] = PrimaryStorageByte();
      payload[3] = variant_;
      break;
    case ReplySource::kSection:
      for (std::uint32_t i = 0; i < n; ++i) {
        const std::uint32_t at = reply_pos_ + i;
        if (reply_block_ == 0 && at < parameters_.size()) payload[i] = parameters_[at];
        if (reply_block_ == 1 && at < profiles_.size()) payload[i] = profiles_[at];
      }
      break;
    case ReplySource::kMemory:
      for (std::uint32_t i = 0; i < n; ++i) payload[i] = memory_[(reply_pos_ + i) & 0xFFFF];
      break;
    case ReplySource::kNone:
      break;
  }
  reply_pos_ += n;
  reply_left_ -= n;
}

// --- HidBackend -----------------------------------------------------------------

std::vector<std::string> SimulatedMouse::ListInterfaces() {
  std::vector<std::string> paths;
  for (int slot = 0; slot < SlotCount(); ++slot)
    if (SlotPresent(slot)) paths.push_back(kPathPrefix + std::to_string(slot));
  return paths;
}

DeviceHandle SimulatedMouse::Open(const std::string& path, HidError* error) {
  const std::string_view prefix = kPathPrefix;
  int slot = -1;
  if (path.starts_with(prefix)) {
    const char* first = path.data() + prefix.size();
    const char* last = path.data() + path.size();
    auto [end, ec] = std::from_chars(first, last, slot);
    if (ec != std::errc() || end != last) slot = -1;
  }
  if (!SlotPresent(slot)) {
    if (error) *error = HidError::kGone;
    return kInvalidHandle;
  }
  const DeviceHandle handle = next_handle_++;
  handles_[handle] = OpenHandle{slot, SlotGeneration(slot)};
  if (error) *error = HidError::kNone;
  return handle;
}

void SimulatedMouse::Close(DeviceHandle handle) { handles_.erase(handle); }

HidError SimulatedMouse::CheckHandle(DeviceHandle handle, int* slot) {
  auto it = handles_.find(handle);
  if (it == handles_.end()) return HidError::kOther;
  if (it->second.generation != SlotGeneration(it->second.slot) || !SlotPresent(it->second.slot))
    return HidError::kGone;
  *slot = it->second.slot;
  return HidError::kNone;
}

bool SimulatedMouse::QueryInfo(DeviceHandle handle, HidInterfaceInfo* info) {
  int slot = -1;
  if (CheckHandle(handle, &slot) != HidError::kNone) return false;
  *info = SlotInfo(slot);
  return true;
}

bool SimulatedMouse::SetFeature(DeviceHandle handle, std::span<const std::uint8_t> report,
                                HidError* error) {
  int slot = -1;
  HidError e = CheckHandle(handle, &slot);
  if (e == HidError::kNone) e = SlotSetFeature(slot, report);
  if (error) *error = e;
  return e == HidError::kNone;
}

bool SimulatedMouse::GetFeature(DeviceHandle handle, std::span<std::uint8_t> report,
                                HidError* error) {
  int slot = -1;
  HidError e = CheckHandle(handle, &slot);
  std::size_t length = 0;
  if (e == HidError::kNone) e = SlotGetFeature(slot, report, &length);
  // What a backend makes of a reply cut short.
  if (e == HidError::kNone && length < std::min(report.size(), kReport)) e = HidError::kFailed;
  if (error) *error = e;
  return e == HidError::kNone;
}

// --- Control ----------------------------------------------------------------------

bool SimulatedMouse::Control(std::string_view command) {
  while (!command.empty() && (command.back() == '\n' || command.back() == ' '))
    command.remove_suffix(1);
  const auto space = command.find(' ');
  const std::string_view verb = command.substr(0, space);
  const std::string_view arg =
      space == std::string_view::npos ? std::string_view() : command.substr(space + 1);
  int n = 0;
  const bool has_number = [&] {
    auto [end, ec] = std::from_chars(arg.data(), arg.data() + arg.size(), n);
    return !arg.empty() && ec == std::errc() && end == arg.data() + arg.size();
  }();
  if (verb == "unplug" && arg.empty()) {
    Unplug();
  } else if (verb == "plug" && arg.empty()) {
    Plug();
  } else if (verb == "clear-faults" && arg.empty()) {
    faults_ = SimulatedFaults{};
  } else if (verb == "clear-refused-shapes" && arg.empty()) {
    refused_shapes_.clear();
  } else if (verb == "reset") {
    auto storage = ParseSimulatedStorage(arg);
    if (!storage) return false;
    ResetMemory(*storage);
  } else if (!has_number) {
    return false;
  } else if (verb == "others" && n >= 0 && n <= 1000) {
    SetOtherInterfaces(n);
  } else if (verb == "variant" && n >= 0 && n <= 255) {
    SetVariant(static_cast<std::uint8_t>(n));
  } else if (verb == "fail-replies" && n >= 0) {
    faults_.fail_next_replies = n;
  } else if (verb == "fail-all-replies" && (n == 0 || n == 1)) {
    faults_.fail_all_replies = n == 1;
  } else if (verb == "refuse-commands" && (n == 0 || n == 1)) {
    faults_.refuse_commands = n == 1;
  } else if (verb == "refuse-command" && n >= -1 && n <= 255) {
    faults_.refuse_command_code = n;
  } else if (verb == "vanish-after" && n >= -1) {
    faults_.vanish_after_reports = n;
  } else if (verb == "refuse-report-after" && n >= -1) {
    faults_.refuse_report_after = n;
  } else if (verb == "fail-reply-after" && n >= -1) {
    faults_.fail_reply_after = n;
  } else if (verb == "short-reply-after" && n >= -1) {
    faults_.short_reply_after = n;
  } else if (verb == "strict" && (n == 0 || n == 1)) {
    strict_ = n == 1;
  } else {
    return false;
  }
  return true;
}

// --- State file -------------------------------------------------------------------

Bytes SimulatedMouse::SerializeState() const {
  Bytes out(std::begin(kStateMagic), std::end(kStateMagic));
  out.push_back(static_cast<std::uint8_t>(storage_));
  out.push_back(variant_);
  out.push_back(static_cast<std::uint8_t>(vendor_id_ >> 8));
  out.push_back(static_cast<std::uint8_t>(vendor_id_));
  out.push_back(static_cast<std::uint8_t>(product_id_ >> 8));
  out.push_back(static_cast<std::uint8_t>(product_id_));
  out.insert(out.end(), parameters_.begin(), parameters_.end());
  out.insert(out.end(), profiles_.begin(), profiles_.end());
  out.insert(out.end(), memory_.begin(), memory_.end());
  return out;
}

bool SimulatedMouse::LoadState(ByteView state) {
  if (state.size() != kStateSize) return false;
  ByteReader in(state);
  ByteView magic = *in.Take(sizeof kStateMagic);
  if (!std::equal(magic.begin(), magic.end(), std::begin(kStateMagic))) return false;
  const std::uint8_t storage = *in.U8();
  if (storage > static_cast<std::uint8_t>(SimulatedStorage::kFlashFlash)) return false;
  storage_ = static_cast<SimulatedStorage>(storage);
  variant_ = *in.U8();
  vendor_id_ = *in.U16Be();
  product_id_ = *in.U16Be();
  ByteView params = *in.Take(kParameterSectionSize);
  std::copy(params.begin(), params.end(), parameters_.begin());
  ByteView profiles = *in.Take(kProfileSectionSize);
  std::copy(profiles.begin(), profiles.end(), profiles_.begin());
  ByteView memory = *in.Take(kMemorySize);
  std::copy(memory.begin(), memory.end(), memory_.begin());
  LeaveBus();
  return true;
}

bool SimulatedMouse::AttachStateFile(const std::string& path, std::string* error) {
  std::error_code ec;
  if (std::filesystem::exists(path, ec)) {
    FileError file_error;
    auto bytes = ReadWholeFile(path, &file_error, kStateSize + 1);
    if (!bytes || !LoadState(*bytes)) {
      if (error) *error = path + " is not a state file of a simulated mouse";
      return false;
    }
    state_file_ = path;
    dirty_ = false;
    return true;
  }
  state_file_ = path;
  return SaveStateFile(error);
}

bool SimulatedMouse::SaveStateFile(std::string* error) {
  if (state_file_.empty()) return true;
  FileError file_error;
  if (!WriteFileAtomically(state_file_, SerializeState(), &file_error)) {
    if (error) *error = "cannot write " + state_file_ + ": " + file_error.message;
    return false;
  }
  dirty_ = false;
  return true;
}

void SimulatedMouse::Changed() {
  dirty_ = true;
  if (!state_file_.empty()) SaveStateFile();
}

}  // namespace korvex48
