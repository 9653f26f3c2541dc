#pragma once
// A simulated mouse for tests, demos and the command-line tool: the two
// configuration sections, a 64 KiB device memory, the command set handled from
// the mouse's side, and the HID interfaces it shows on the bus. It is itself a
// HidBackend (the whole simulated bus: the mouse's interfaces plus any number
// of unrelated HID interfaces), and the FUSE test device serves its slots as
// hidraw nodes.
//
// Bus slots: the unrelated interfaces come first, then the mouse's three
// interfaces (a boot mouse without feature reports, a consumer interface with
// a 64-byte feature report, and the configuration interface whose feature
// reports 0x40 and 0x41 are 8 bytes with the ID). Slot paths are
// "sim:hidraw<slot>". Unplugging, or a restart, drops every open handle of the
// mouse: later reports on them fail with HidError::kGone.
//
// Strict (the default): the mouse takes only the report shapes the real
// firmware is known to take, those of the original program's flows; a report
// of any other shape is refused, kept in RefusedShapes() and handed to the
// refused-shape hook, so a flow that starts sending another shape fails where
// the simulated mouse runs (tests, --simulate).
//
// Not thread-safe.
#include <cstdint>
#include <map>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/common/bytes.h"
#include "core/common/clock.h"
#include "core/device/hid_backend.h"
#include "core/image/config_image.h"

namespace korvex48 {

// The storage kinds of a mouse: primary "I2C"; "Flash" + "I2C"; "Flash" + "Flash".
enum class SimulatedStorage { kI2C, kFlashI2C, kFlashFlash };

// "i2c", "flash-i2c", "flash-flash".
std::optional<SimulatedStorage> ParseSimulatedStorage(std::string_view name);
std::string_view SimulatedStorageName(SimulatedStorage storage);

// Faults to inject; all off by default.
struct SimulatedFaults {
  int fail_next_replies = 0;      // the next N reply reads fail
  bool fail_all_replies = false;  // every reply read fails
  bool refuse_commands = false;   // every command report (ID 0x40) is refused
  int refuse_command_code = -1;   // only command reports with this code are refused
  int vanish_after_reports = -1;  // unplugged after N more configuration reports; -1 never
  // Single faults, placed by a count of reports still to pass first (-1: none):
  int refuse_report_after = -1;  // after N more sent reports, the next one is refused
  int fail_reply_after = -1;     // after N more reply reads, the next one fails (EIO)
  int short_reply_after = -1;    // after N more reply reads, the next one has 4 bytes
};

class SimulatedMouse final : public HidBackend {
 public:
  static constexpr std::size_t kMemorySize = 0x10000;
  static constexpr std::uint64_t kRestartMicroseconds = 1'000'000;
  static constexpr int kMouseInterfaces = 3;
  static constexpr int kConfigInterface = 2;  // index among the mouse's interfaces

  // A mouse fresh from the default image, plugged in, chip variant 4.
  explicit SimulatedMouse(SimulatedStorage storage = SimulatedStorage::kI2C,
                          Clock& clock = DefaultClock());
  // Saves to the attached state file when anything changed since the last save.
  ~SimulatedMouse() override;

  // Back to the default image for `storage` (the identifiers, variant, bus and
  // faults are kept). Slot layout: the default image with byte 0 = 0xF0 and
  // parameter byte 6 bits 7-6 = 11, empty names and pages.
  void ResetMemory(SimulatedStorage storage);

  SimulatedStorage Storage() const { return storage_; }
  ParameterSection& Parameters() { return parameters_; }
  ProfileSection& Profiles() { return profiles_; }
  std::span<std::uint8_t> Memory() { return memory_; }
  std::span<const std::uint8_t> Memory() const { return memory_; }
  std::uint8_t Variant() const { return variant_; }
  void SetVariant(std::uint8_t variant) { variant_ = variant; }
  // Primary storage byte of the device-information reply: 0xC0 or 0x80.
  std::uint8_t PrimaryStorageByte() const;
  // The customer identifier lives in memory at 249 ("I2C") or 0x6000 ("Flash").
  std::uint16_t CustomerIdAddress() const;
  CustomerId GetCustomerId() const;
  void SetCustomerId(const CustomerId& id);
  std::uint16_t VendorId() const { return vendor_id_; }
  std::uint16_t ProductId() const { return product_id_; }
  void SetIdentifiers(std::uint16_t vendor_id, std::uint16_t product_id);

  // The bus.
  bool Present();  // plugged and not restarting
  void Unplug();
  void Plug();
  int Restarts() const { return restarts_; }
  void SetOtherInterfaces(int count);  // unrelated HID interfaces on the machine
  SimulatedFaults& Faults() { return faults_; }
  std::uint64_t ConfigReportsSeen() const { return config_reports_; }

  // Strict mode (see above), on unless turned off.
  void SetStrict(bool strict) { strict_ = strict; }
  bool Strict() const { return strict_; }
  // The shapes refused in strict mode, in order, each in one line such as
  // "memory write of 2 bytes at 0x0200" (the first 100 kept).
  const std::vector<std::string>& RefusedShapes() const { return refused_shapes_; }
  // Called with the shape of every report a strict mouse refuses, by any
  // simulated mouse of the program; test mains make it fail the running test,
  // front ends report it. Returns the hook it replaces (nullptr: none).
  using RefusedShapeHook = void (*)(std::string_view shape);
  static RefusedShapeHook SetRefusedShapeHook(RefusedShapeHook hook);

  // Applies one text command, for rigs that reach the mouse only through
  // files (the FUSE test device): "unplug", "plug", "others N", "variant N",
  // "reset KIND", "fail-replies N", "fail-all-replies 0|1",
  // "refuse-commands 0|1", "refuse-command CODE|-1", "vanish-after N|-1",
  // "refuse-report-after N|-1", "fail-reply-after N|-1", "short-reply-after N|-1",
  // "clear-faults", "strict 0|1", "clear-refused-shapes". False for anything
  // else.
  bool Control(std::string_view command);

  // State kept between runs: the storage kind, variant, identifiers, both
  // sections and the memory. Load refuses anything that is not a whole state.
  Bytes SerializeState() const;
  bool LoadState(ByteView state);
  // Loads `path` when it exists (else keeps the fresh mouse and creates it),
  // then saves there after every change. False with `error` when the file
  // exists but is not a state file, or cannot be written.
  bool AttachStateFile(const std::string& path, std::string* error);
  bool SaveStateFile(std::string* error = nullptr);

  // Slots as the FUSE test device serves them.
  int SlotCount() const { return others_ + kMouseInterfaces; }
  bool SlotPresent(int slot);
  // Changes whenever the slot's device leaves the bus: handles opened under an
  // older generation are dead.
  std::uint64_t SlotGeneration(int slot) const;
  HidInterfaceInfo SlotInfo(int slot) const;  // feature length from its descriptor
  Bytes SlotDescriptor(int slot) const;
  HidError SlotSetFeature(int slot, std::span<const std::uint8_t> report);
  // Fills `report` (report[0] = ID on entry); `*length` = bytes returned.
  HidError SlotGetFeature(int slot, std::span<std::uint8_t> report, std::size_t* length);

  // HidBackend.
  std::vector<std::string> ListInterfaces() override;
  DeviceHandle Open(const std::string& path, HidError* error) override;
  void Close(DeviceHandle handle) override;
  bool QueryInfo(DeviceHandle handle, HidInterfaceInfo* info) override;
  bool SetFeature(DeviceHandle handle, std::span<const std::uint8_t> report,
                  HidError* error = nullptr) override;
  bool GetFeature(DeviceHandle handle, std::span<std::uint8_t> report,
                  HidError* error = nullptr) override;

 private:
  enum class ReplySource { kNone, kInfo, kSection, kMemory };
  struct OpenHandle {
    int slot;
    std::uint64_t generation;
  };

  int MouseInterfaceOf(int slot) const;  // -1 for an unrelated slot
  void LeaveBus();
  bool CountConfigReport();  // false when the mouse vanished by fault
  // Why a report to the configuration interface is not of a known shape
  // ("memory write of 2 bytes at 0x0200"); empty when it is.
  std::string UnknownShape(std::span<const std::uint8_t> report) const;
  bool KnownMemoryRange(std::uint32_t address, std::uint32_t length, bool write) const;
  HidError HandleCommand(std::span<const std::uint8_t> report);
  void HandleData(std::span<const std::uint8_t> report);
  void NextReply(std::span<std::uint8_t> payload);
  void Changed();
  HidError CheckHandle(DeviceHandle handle, int* slot);

  Clock& clock_;
  SimulatedStorage storage_;
  ParameterSection parameters_{};
  ProfileSection profiles_{};
  std::vector<std::uint8_t> memory_;
  std::uint8_t variant_ = 4;
  std::uint16_t vendor_id_ = 0;
  std::uint16_t product_id_ = 0;

  bool plugged_ = true;
  bool restarting_ = false;
  std::uint64_t back_at_us_ = 0;
  std::uint64_t generation_ = 0;
  int restarts_ = 0;
  int others_ = 0;
  SimulatedFaults faults_;
  std::uint64_t config_reports_ = 0;
  bool strict_ = true;
  std::vector<std::string> refused_shapes_;

  ReplySource reply_source_ = ReplySource::kNone;
  std::uint8_t reply_block_ = 0;
  std::uint32_t reply_pos_ = 0;
  std::uint32_t reply_left_ = 0;
  std::uint32_t write_address_ = 0;
  std::uint32_t write_left_ = 0;

  std::map<DeviceHandle, OpenHandle> handles_;
  DeviceHandle next_handle_ = 1;

  std::string state_file_;
  bool dirty_ = false;
};

}  // namespace korvex48
