#pragma once
// Shared by the fuzz targets that drive the application core: a simulated
// mouse on a fake clock behind a backend whose replies a target can replace,
// wired to the engine with a silent interface, built as every front end
// builds it.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <vector>

#include "core/app/app_core.h"
#include "core/app/app_ui.h"
#include "core/device/simulated_mouse.h"
#include "core/editing/engine.h"
#include "core/library/library_files.h"
#include "forwarding_backend.h"

namespace korvex48::fuzz {

// Forwards to the simulated mouse; every reply that arrives goes through
// `edit_reply` first, which may change its seven payload bytes or fail it.
class ScriptedBackend final : public testing::ForwardingBackend {
 public:
  explicit ScriptedBackend(SimulatedMouse& mouse) : ForwardingBackend(mouse) {}

  std::function<bool(std::span<std::uint8_t> payload)> edit_reply;

  bool GetFeature(DeviceHandle handle, std::span<std::uint8_t> report,
                  HidError* error = nullptr) override {
    if (!ForwardingBackend::GetFeature(handle, report, error)) return false;
    if (edit_reply && report.size() >= 8 && !edit_reply(report.subspan(1, 7))) {
      if (error) *error = HidError::kRefused;
      return false;
    }
    return true;
  }
};

// The engine's options of a fuzz target: texts are their keys, and
// `default_image` (empty: the embedded one) decides which mouse is accepted.
inline EngineOptions RigOptions(ByteView default_image) {
  EngineOptions options;
  options.text = [](std::string_view key) { return std::string(key); };
  options.default_image.assign(default_image.begin(), default_image.end());
  return options;
}

// One mouse, one engine started from the default image, no real waits.
struct CoreRig {
  FakeClock clock;
  SimulatedMouse mouse;
  ScriptedBackend backend;
  Transport transport;
  DeviceSession& session;  // the transport's
  NullAppUi ui;
  Engine engine;
  AppCore& core;  // the engine's
  ImageFlows& images;
  Connection& connection;
  DeviceMacroFlows& macro_flows;

  explicit CoreRig(SimulatedStorage storage, ByteView default_image = {})
      : mouse(storage, clock),
        backend(mouse),
        transport(backend, clock),
        session(transport.Session()),
        engine(transport, ui, clock, RigOptions(default_image)),
        core(engine.Core()),
        images(engine.Images()),
        connection(engine.MouseConnection()),
        macro_flows(engine.MacroFlows()) {}

  // The working image's macro storage and the core's table say the same:
  // taking the storage up again changes neither.
  void CheckMacroStorage() const {
    const DeviceMacros& macros = core.Macros();
    DeviceMacros again;
    again.SetStorage(macros.Layout(),
                     macros.PackedAreaBase() == 0x0200 ? kStorageI2C : kStorageFlash);
    ConfigImage copy = core.Working();
    again.TakeUp(copy);
    if (!(copy == core.Working()) || again.Names() != macros.Names()) __builtin_trap();
  }

  // Whatever the mouse's storage came to hold: the flows that read it back
  // from the working image, the macro commands and the page moves.
  // Runs one flow that may write, and checks what it wrote: a mouse that was
  // not read whole (Loading) gets nothing at all; a flow that says it went
  // through left the mouse holding the profile section it meant; and one
  // that wrote and then stopped says why.
  template <typename Flow>
  void Checked(Flow&& flow) {
    const bool unread = session.Loading;
    const ParameterSection parameters = mouse.Parameters();
    const ProfileSection profiles = mouse.Profiles();
    const std::vector<std::uint8_t> memory(mouse.Memory().begin(), mouse.Memory().end());
    const bool ok = flow();
    const bool changed = mouse.Parameters() != parameters || mouse.Profiles() != profiles ||
                         !std::equal(memory.begin(), memory.end(), mouse.Memory().begin());
    if (unread && changed) __builtin_trap();
    if (ok && changed && mouse.Profiles() != core.Working().profiles) __builtin_trap();
    if (!ok && changed && core.LastTransferProblem().empty()) __builtin_trap();
  }

  void ExerciseFlows() {
    CheckMacroStorage();
    core.ShowWorkingImage();
    const ButtonView view{};
    (void)core.NameSources();
    const std::vector<std::string> names = core.Macros().Names();
    if (!names.empty()) {
      int selection = 0;
      macro_flows.AssignDeviceMacroToButton(1, names.size() - 1, view);
      Checked([&] {
        return macro_flows.DeleteDeviceMacro(0, view, &selection) == MacroCommandResult::kDone;
      });
      CheckMacroStorage();
    }
    static const PcMacroLibrary library = [] {
      PcMacroLibrary lib;
      lib.Load(DefaultLibraryBytes());
      return lib;
    }();
    Checked(
        [&] { return macro_flows.AddMacroToMouse(library, 0, view) == MacroCommandResult::kDone; });
    CheckMacroStorage();
    Checked([&] { return macro_flows.SaveDeviceMacros(); });
    Checked([&] { return images.ResetMouse(); });
    CheckMacroStorage();
  }
};

}  // namespace korvex48::fuzz
