#pragma once
// A simulated mouse taken in by the app core, with the page editor on top and a
// record of every report sent to the mouse, on a fake clock that can play the
// user inside the waits.
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "../../support/scripted_clock.h"
#include "core/app/app_core.h"
#include "core/common/clock.h"
#include "core/device/command_set.h"
#include "core/device/protocol_trace.h"
#include "core/device/simulated_mouse.h"
#include "core/device/transport.h"
#include "core/editing/engine.h"
#include "core/image/default_image.h"
#include "core/ui/language.h"
#include "recording_app_ui.h"

namespace korvex48::testing {

struct EditorRig {
  // `prepare` changes the mouse before it is connected and read;
  // `default_image` is the image the editor starts from (empty: the embedded
  // one), as the front ends show it before the mouse is read;
  // `backup_folder` where larger changes keep their backups (empty: none).
  explicit EditorRig(const std::function<void(SimulatedMouse&)>& prepare = {},
                     SimulatedStorage storage = SimulatedStorage::kI2C,
                     std::vector<std::uint8_t> default_image = {}, std::string backup_folder = {})
      : mouse(storage, clock),
        transport(mouse, clock),
        session(transport.Session()),
        engine(transport, ui, clock,
               Options(storage, std::move(default_image), std::move(backup_folder))),
        core(engine.Core()),
        images(engine.Images()),
        connection(engine.MouseConnection()),
        commands(engine.Commands()),
        editor(&engine.Editor()) {
    if (prepare) prepare(mouse);
    // Without the mouse every case fails on its reports.
    (void)transport.OpenDevice(core.Defaults().vendor_id, core.Defaults().product_id);
    connection.IdentifyMouse();
    transport.SetTrace(&trace);
  }

  static EngineOptions Options(SimulatedStorage storage, std::vector<std::uint8_t> default_image,
                               std::string backup_folder = {}) {
    EngineOptions options;
    options.backup_folder = std::move(backup_folder);
    if (default_image.empty() && storage == SimulatedStorage::kFlashFlash) {
      // A "Flash" + "Flash" mouse is accepted only with a default image of its
      // kind: the shipped one with the slot layout's mark.
      const auto shipped = DefaultImageBytes();
      default_image.assign(shipped.begin(), shipped.end());
      default_image[0] = kSlotLayoutMark;
    }
    options.default_image = std::move(default_image);
    options.text = LanguageTable::LoadShipped(1)->Lookup();
    return options;
  }
  static RecordingAppUi QuietUi() {
    RecordingAppUi ui;
    ui.record_busy = false;
    ui.record_process_events = false;
    return ui;
  }

  ScriptedClock clock;
  SimulatedMouse mouse;
  // Every report tried after the rig was made ("40 05 00 28 84 00 00 01"
  // by SentHex(), with its time).
  VectorTrace trace;
  Transport transport;
  DeviceSession& session;  // the transport's
  RecordingAppUi ui = QuietUi();
  Engine engine;
  AppCore& core;
  ImageFlows& images;
  Connection& connection;
  CommandSet& commands;
  PageEditor* editor;
};

}  // namespace korvex48::testing
