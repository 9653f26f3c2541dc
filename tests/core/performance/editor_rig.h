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
#include "core/device/protocol_trace.h"
#include "core/device/simulated_mouse.h"
#include "core/device/transport.h"
#include "core/performance/page_editor.h"
#include "core/ui/language.h"
#include "recording_app_ui.h"

namespace korvex48::testing {

struct EditorRig {
  // `prepare` changes the mouse before it is connected and read.
  explicit EditorRig(const std::function<void(SimulatedMouse&)>& prepare = {},
                     SimulatedStorage storage = SimulatedStorage::kI2C)
      : mouse(storage, clock),
        transport(mouse, clock),
        session(transport.Session()),
        commands(transport),
        core(transport, commands, ui, clock) {
    if (prepare) prepare(mouse);
    ui.record_busy = false;
    ui.record_process_events = false;
    core.SetTextLookup(LanguageTable::LoadShipped(1)->Lookup());
    core.Start();
    // Without the mouse every case fails on its reports.
    (void)transport.OpenDevice(core.Defaults().vendor_id, core.Defaults().product_id);
    core.ReadDevInfo();
    editor = std::make_unique<PageEditor>(core, commands);
    transport.SetTrace(&trace);
  }

  ScriptedClock clock;
  SimulatedMouse mouse;
  // Every report tried after the rig was made ("40 05 00 28 84 00 00 01"
  // by SentHex(), with its time).
  VectorTrace trace;
  Transport transport;
  DeviceSession& session;  // the transport's
  CommandSet commands;
  RecordingAppUi ui;
  AppCore core;
  std::unique_ptr<PageEditor> editor;
};

}  // namespace korvex48::testing
