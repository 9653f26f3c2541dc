#pragma once
// A simulated mouse on a fake clock wired to an AppCore, with a trace that
// keeps every report tried and a backend probe that lets a test rewrite replies.
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "core/app/app_core.h"
#include "core/device/protocol_trace.h"
#include "core/device/simulated_mouse.h"
#include "core/editing/engine.h"
#include "core/image/default_image.h"
#include "core/ui/language.h"
#include "forwarding_backend.h"
#include "recording_app_ui.h"

namespace korvex48::test {

// Forwards to the simulated mouse and can rewrite its replies; what crosses
// is kept by the rig's trace.
class ProbeBackend final : public korvex48::testing::ForwardingBackend {
 public:
  using ForwardingBackend::ForwardingBackend;

  // Called with the last command report and the reply about to be returned.
  std::function<void(const Report& last_command, std::span<std::uint8_t> reply)> rewrite_reply;

  bool SetFeature(DeviceHandle handle, std::span<const std::uint8_t> report,
                  HidError* error) override {
    if (!report.empty() && report[0] == kCommandReportId) {
      last_command_ = {};
      std::copy_n(report.begin(), std::min(report.size(), last_command_.size()),
                  last_command_.begin());
    }
    return ForwardingBackend::SetFeature(handle, report, error);
  }
  // Another program holding the mouse: Claim fails with this holder.
  std::optional<InterfaceHolder> held_by;
  bool Claim(DeviceHandle handle, InterfaceHolder* holder) override {
    if (!held_by) return ForwardingBackend::Claim(handle, holder);
    *holder = *held_by;
    return false;
  }
  // Another program's claim on the mouse itself (ClaimMouse fails with this
  // holder), and every claim and release of it, in order.
  std::optional<InterfaceHolder> mouse_claimed_by;
  std::vector<std::string> mouse_claims;
  bool ClaimMouse(std::uint16_t vendor_id, std::uint16_t product_id,
                  InterfaceHolder* holder) override {
    mouse_claims.push_back("claim");
    if (!mouse_claimed_by) return ForwardingBackend::ClaimMouse(vendor_id, product_id, holder);
    *holder = *mouse_claimed_by;
    return false;
  }
  void ReleaseMouse() override {
    mouse_claims.push_back("release");
    ForwardingBackend::ReleaseMouse();
  }
  bool GetFeature(DeviceHandle handle, std::span<std::uint8_t> report, HidError* error) override {
    const bool ok = ForwardingBackend::GetFeature(handle, report, error);
    if (ok && rewrite_reply && report.size() >= 8) rewrite_reply(last_command_, report.subspan(1));
    return ok;
  }

 private:
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

// One mouse, one engine (with the page editor the core keeps current). The
// mouse is plugged but not yet opened.
struct AppRig {
  FakeClock clock;
  SimulatedMouse mouse;
  ProbeBackend probe;
  // Every report tried from the start, taken or not, read replies as read.
  VectorTrace trace;
  Transport transport;
  DeviceSession& session;  // the transport's
  RecordingAppUi ui;
  Engine engine;
  CommandSet& commands;
  AppCore& core;
  ImageFlows& images;
  Connection& connection;
  ProfileFiles& files;
  DeviceMacroFlows& macro_flows;
  FirmwareFlow& firmware;

  // `backup_folder`: where larger changes keep their backups (empty: none).
  explicit AppRig(SimulatedStorage storage = SimulatedStorage::kI2C,
                  std::optional<bool> flash_default = std::nullopt, std::string backup_folder = {})
      : mouse(storage, clock),
        probe(mouse),
        transport(probe, clock),
        session(transport.Session()),
        engine(transport, ui, clock,
               Options(flash_default.value_or(storage == SimulatedStorage::kFlashFlash),
                       std::move(backup_folder))),
        commands(engine.Commands()),
        core(engine.Core()),
        images(engine.Images()),
        connection(engine.MouseConnection()),
        files(engine.Files()),
        macro_flows(engine.MacroFlows()),
        firmware(engine.Firmware()) {
    transport.SetTrace(&trace);
    ui.record_busy = false;
    ui.record_process_events = false;
    ui.Clear();
  }

  static EngineOptions Options(bool flash_default, std::string backup_folder = {}) {
    EngineOptions options;
    options.backup_folder = std::move(backup_folder);
    options.text = Language1();
    options.default_image = DefaultImage(flash_default);
    return options;
  }

  // Opens the mouse and runs the device-information step.
  DevInfoResult Connect() {
    if (!transport.OpenDevice(mouse.VendorId(), mouse.ProductId())) return {};
    return connection.IdentifyMouse();
  }

  void ClearLogs() {
    trace.Clear();
    ui.Clear();
  }
};

}  // namespace korvex48::test
