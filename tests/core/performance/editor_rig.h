#pragma once
// A simulated mouse taken in by the app core, with the page editor on top and a
// record of every report sent to the mouse, on a fake clock that can play the
// user inside the waits.
#include <cstdio>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "../../support/scripted_clock.h"
#include "core/app/app_core.h"
#include "core/common/clock.h"
#include "core/device/command_set.h"
#include "core/device/simulated_mouse.h"
#include "core/device/transport.h"
#include "core/performance/page_editor.h"
#include "core/ui/language.h"
#include "recording_app_ui.h"

namespace korvex48::testing {

// Passes everything to the simulated mouse and keeps the reports sent after
// Clear(), as "40 05 00 28 84 00 00 01", with the time each was sent.
class SentRecorder final : public HidBackend {
 public:
  SentRecorder(HidBackend& inner, Clock& clock) : inner_(inner), clock_(clock) {}
  std::vector<std::string> sent;
  std::vector<std::uint64_t> sent_at_us;
  void Clear() {
    sent.clear();
    sent_at_us.clear();
  }

  std::vector<std::string> ListInterfaces() override { return inner_.ListInterfaces(); }
  DeviceHandle Open(const std::string& path, HidError* error) override {
    return inner_.Open(path, error);
  }
  void Close(DeviceHandle handle) override { inner_.Close(handle); }
  bool QueryInfo(DeviceHandle handle, HidInterfaceInfo* info) override {
    return inner_.QueryInfo(handle, info);
  }
  bool SetFeature(DeviceHandle handle, std::span<const std::uint8_t> report,
                  HidError* error = nullptr) override {
    std::string line;
    for (std::uint8_t b : report) {
      char hex[4];
      std::snprintf(hex, sizeof hex, "%02x ", b);
      line += hex;
    }
    if (!line.empty()) line.pop_back();
    sent.push_back(line);
    sent_at_us.push_back(clock_.NowMicroseconds());
    return inner_.SetFeature(handle, report, error);
  }
  bool GetFeature(DeviceHandle handle, std::span<std::uint8_t> report,
                  HidError* error = nullptr) override {
    return inner_.GetFeature(handle, report, error);
  }

 private:
  HidBackend& inner_;
  Clock& clock_;
};

struct EditorRig {
  // `prepare` changes the mouse before it is connected and read.
  explicit EditorRig(const std::function<void(SimulatedMouse&)>& prepare = {},
                     SimulatedStorage storage = SimulatedStorage::kI2C)
      : mouse(storage, clock),
        recorder(mouse, clock),
        transport(session, recorder, clock),
        commands(transport),
        core(transport, commands, ui, clock) {
    if (prepare) prepare(mouse);
    ui.record_busy = false;
    ui.record_process_events = false;
    core.SetTextLookup(LanguageTable::LoadShipped(1)->Lookup());
    core.Start();
    transport.OpenDevice(core.Defaults().vendor_id, core.Defaults().product_id);
    core.ReadDevInfo();
    editor = std::make_unique<PageEditor>(core, commands);
    recorder.Clear();
  }

  ScriptedClock clock;
  SimulatedMouse mouse;
  SentRecorder recorder;
  DeviceSession session;
  Transport transport;
  CommandSet commands;
  RecordingAppUi ui;
  AppCore core;
  std::unique_ptr<PageEditor> editor;
};

}  // namespace korvex48::testing
