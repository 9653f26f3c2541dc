#pragma once
// A simulated mouse on a fake clock wired to an AppCore, with a backend probe
// that keeps every report sent and lets a test rewrite replies.
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "core/app/app_core.h"
#include "core/device/simulated_mouse.h"
#include "core/image/default_image.h"
#include "core/ui/language.h"
#include "recording_app_ui.h"

namespace korvex48::test {

struct SentReport {
  std::uint64_t at_us = 0;
  Report bytes{};
};

// Forwards to the simulated mouse; records reports and can rewrite replies.
class ProbeBackend final : public HidBackend {
 public:
  ProbeBackend(SimulatedMouse& mouse, Clock& clock) : mouse_(mouse), clock_(clock) {}

  std::vector<SentReport> sent;
  // Every report that crossed, in order: '>' set (as sent), '<' get (as read,
  // or as requested when the read failed), with whether the mouse took it.
  struct WireReport {
    char direction;
    Report bytes;
    bool ok;
  };
  std::vector<WireReport> wire;
  // Called with the last command report and the reply about to be returned.
  std::function<void(const Report& last_command, std::span<std::uint8_t> reply)> rewrite_reply;

  std::vector<std::string> ListInterfaces() override { return mouse_.ListInterfaces(); }
  DeviceHandle Open(const std::string& path, HidError* error) override {
    return mouse_.Open(path, error);
  }
  void Close(DeviceHandle handle) override { mouse_.Close(handle); }
  bool QueryInfo(DeviceHandle handle, HidInterfaceInfo* info) override {
    return mouse_.QueryInfo(handle, info);
  }
  bool SetFeature(DeviceHandle handle, std::span<const std::uint8_t> report,
                  HidError* error) override {
    SentReport r;
    r.at_us = clock_.NowMicroseconds();
    std::copy_n(report.begin(), std::min<std::size_t>(report.size(), 8), r.bytes.begin());
    sent.push_back(r);
    if (r.bytes[0] == kCommandReportId) last_command_ = r.bytes;
    const bool ok = mouse_.SetFeature(handle, report, error);
    wire.push_back({'>', r.bytes, ok});
    return ok;
  }
  bool GetFeature(DeviceHandle handle, std::span<std::uint8_t> report, HidError* error) override {
    const bool ok = mouse_.GetFeature(handle, report, error);
    if (ok && rewrite_reply && report.size() >= 8) rewrite_reply(last_command_, report.subspan(1));
    WireReport w{'<', {}, ok};
    std::copy_n(report.begin(), std::min<std::size_t>(report.size(), 8), w.bytes.begin());
    wire.push_back(w);
    return ok;
  }

  // The command reports (ID 0x40) with command byte `code`, in order.
  std::vector<Report> Commands(std::uint8_t code) const {
    std::vector<Report> out;
    for (const SentReport& r : sent)
      if (r.bytes[0] == kCommandReportId && r.bytes[1] == code) out.push_back(r.bytes);
    return out;
  }
  // Addresses of the memory writes (command 7), in order.
  std::vector<std::uint16_t> MemoryWriteAddresses() const {
    std::vector<std::uint16_t> out;
    for (const Report& r : Commands(kCmdWriteMemory))
      out.push_back(static_cast<std::uint16_t>((r[2] << 8) | r[3]));
    return out;
  }

 private:
  SimulatedMouse& mouse_;
  Clock& clock_;
  Report last_command_{};
};

// The default image the product ships, or a copy with byte 0 = 0xF0 (a
// "Flash" default image; all other bytes as shipped).
inline std::vector<std::uint8_t> DefaultImage(bool flash) {
  const auto bytes = DefaultImageBytes();
  std::vector<std::uint8_t> image(bytes.begin(), bytes.end());
  if (flash && !image.empty()) image[0] = kSlotLayoutMark;
  return image;
}

inline TextLookup Language1() {
  static const std::optional<LanguageTable> table = LanguageTable::LoadShipped(1);
  return table ? table->Lookup() : TextLookup([](std::string_view) { return std::string(); });
}

// One mouse, one core. The mouse is plugged but not yet opened.
struct AppRig {
  FakeClock clock;
  SimulatedMouse mouse;
  ProbeBackend probe;
  DeviceSession session;
  Transport transport;
  RecordingAppUi ui;
  CommandSet commands;
  AppCore core;

  explicit AppRig(SimulatedStorage storage = SimulatedStorage::kI2C,
                  std::optional<bool> flash_default = std::nullopt)
      : mouse(storage, clock),
        probe(mouse, clock),
        transport(session, probe, clock),
        commands(transport, ui),
        core(transport, commands, ui, clock) {
    ui.record_busy = false;
    ui.record_process_events = false;
    const bool flash = flash_default.value_or(storage == SimulatedStorage::kFlashFlash);
    const auto image = DefaultImage(flash);
    core.SetDefaultImage(image);
    core.SetTextLookup(Language1());
    core.Start();
    ui.Clear();
  }

  // Opens the mouse and runs the device-information step.
  DevInfoResult Connect() {
    if (!transport.OpenDevice(mouse.VendorId(), mouse.ProductId())) return {};
    return core.ReadDevInfo();
  }

  void ClearLogs() {
    probe.sent.clear();
    probe.wire.clear();
    ui.Clear();
  }
};

}  // namespace korvex48::test
