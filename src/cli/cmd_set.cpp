// set: one setting of the mouse, through the same editing operation the page
// click uses.
#include <functional>

#include "cli/commands.h"
#include "core/buttons/key_combination.h"
#include "core/common/text.h"

namespace korvex48::cli {
namespace {

using Edit = std::function<EditResult(Connection&)>;

int DpiValueStep(const std::string& text, const std::string& what) {
  const int value = ParseInt(text, 0, 1000000, what);
  const std::optional<int> index = DpiIndexOfValue(value);
  if (!index)
    UsageError(what + " must be one of 200 400 600 800 1000 1200 1600 2000 2400 3200 4800 6400");
  return *index + 1;
}

// The menu entry whose name (language 1) or object name is `text`.
const KeyMenuItem* MenuItemNamed(const std::string& text) {
  const TextLookup& names = LanguageOne();
  for (const KeyMenuItem& item : KeyMenuItems()) {
    if (EqualIgnoringAsciiCase(names(item.nameKey), text) ||
        EqualIgnoringAsciiCase(item.objectName, text))
      return &item;
  }
  return nullptr;
}

Edit ButtonEdit(const Args& a) {
  ExpectArgs(a, 3, 3, "set button PROFILE BUTTON FUNCTION");
  const int profile = ParseInt(a[0], 1, 3, "PROFILE");
  const int button = ParseInt(a[1], 1, 12, "BUTTON");
  const std::string& function = a[2];
  if (function.rfind("macro:", 0) == 0) {
    const std::string name = function.substr(6);
    if (name.empty()) UsageError("macro: needs the name of a device macro");
    return [=](Connection& c) {
      const std::vector<std::string> names = c.Core().Macros().Names();
      // Equal names: the last one counts, as when codes are matched to names.
      for (std::size_t i = names.size(); i-- > 0;)
        if (names[i] == name) return c.Editor().AssignDeviceMacro(profile, button, i);
      Fail(kExitRefused, "the mouse has no macro named \"" + name + "\"");
    };
  }
  if (const KeyMenuItem* item = MenuItemNamed(function)) {
    const int tag = item->tag;
    return [=](Connection& c) { return c.Editor().AssignMenuItem(profile, button, tag); };
  }
  std::string error;
  const std::optional<KeyCombination> combo = ParseKeyCombination(function, &error);
  if (!combo)
    UsageError("\"" + function + "\" is no menu function and no key combination: " + error);
  return [=](Connection& c) {
    return c.Editor().AssignKeyCombination(profile, button, combo->text, combo->code);
  };
}

Edit FireEdit(const Args& a) {
  if (a.size() < 2 || a.size() > 4)
    UsageError("usage: korvex48ctl set fire 1..3 [count=N] [delay=MS] [continuous=on|off]");
  const int fire = ParseInt(a[0], 1, 3, "fire key");
  std::optional<int> count, delay;
  std::optional<bool> continuous;
  for (std::size_t i = 1; i < a.size(); ++i) {
    const std::size_t eq = a[i].find('=');
    const std::string key = a[i].substr(0, eq);
    const std::string value = eq == std::string::npos ? std::string() : a[i].substr(eq + 1);
    if (key == "count" && eq != std::string::npos) {
      count = ParseInt(value, 1, 15, "count");
    } else if (key == "delay" && eq != std::string::npos) {
      delay = ParseInt(value, 0, 4094, "delay");
    } else if (key == "continuous" && (value == "on" || value == "off")) {
      continuous = value == "on";
    } else {
      UsageError("set fire takes count=1..15, delay=0..4094 and continuous=on|off, not \"" + a[i] +
                 "\"");
    }
  }
  return [=](Connection& c) {
    FireKeySettings s = c.Editor().State().fire[static_cast<std::size_t>(fire - 1)];
    if (count) s.repeatCount = *count;
    if (delay) s.delay = *delay;
    if (continuous) s.continuous = *continuous;
    return c.Editor().SetFireKey(fire, s);
  };
}

// Checks every value of `set` and returns the change to make.
Edit ParseSet(const Args& args) {
  if (args.empty()) UsageError("usage: korvex48ctl set SETTING VALUE... (see --help)");
  const std::string& what = args[0];
  const Args a(args.begin() + 1, args.end());
  if (what == "active-profile") {
    ExpectArgs(a, 1, 1, "set active-profile 1|2|3");
    const int p = ParseInt(a[0], 1, 3, "profile");
    return [=](Connection& c) { return c.Editor().SelectProfile(p); };
  }
  if (what == "dpi-count") {
    ExpectArgs(a, 1, 1, "set dpi-count 1..8");
    const int n = ParseInt(a[0], 1, 8, "the number of DPI levels");
    return [=](Connection& c) { return c.Editor().SetDpiLevelCount(n); };
  }
  if (what == "dpi-active") {
    ExpectArgs(a, 1, 1, "set dpi-active 1..8");
    const int n = ParseInt(a[0], 1, 8, "DPI level");
    return [=](Connection& c) { return c.Editor().SelectActiveDpiLevel(n); };
  }
  if (what == "dpi-value") {
    ExpectArgs(a, 2, 2, "set dpi-value LEVEL VALUE");
    const int level = ParseInt(a[0], 1, 8, "DPI level");
    const int step = DpiValueStep(a[1], "DPI value");
    return [=](Connection& c) { return c.Editor().SetDpiValue(level, step); };
  }
  if (what == "dpi-color" || what == "dpi-colour") {
    ExpectArgs(a, 2, 2, "set dpi-color LEVEL R,G,B");
    const int level = ParseInt(a[0], 1, 8, "DPI level");
    const auto rgb = ParseRgb(a[1], "colour");
    return [=](Connection& c) { return c.Editor().SetDpiColour(level, rgb[0], rgb[1], rgb[2]); };
  }
  if (what == "report-rate") {
    ExpectArgs(a, 1, 1, "set report-rate 125|250|500|1000");
    const std::optional<int> choice = ReportRateChoiceOfHz(ParseInt(a[0], 1, 1000, "report rate"));
    if (!choice) UsageError("report rate must be 125, 250, 500 or 1000");
    return [=](Connection& c) { return c.Editor().SetReportRate(*choice); };
  }
  if (what == "led-mode") {
    ExpectArgs(a, 1, 1, "set led-mode off|1..5");
    const int mode = a[0] == "off" ? 0 : ParseInt(a[0], 1, 5, "LED mode (or off)");
    return [=](Connection& c) { return c.Editor().SetLightingMode(mode); };
  }
  if (what == "led-step") {
    ExpectArgs(a, 1, 1, "set led-step 1..10");
    const int step = ParseInt(a[0], 1, 10, "step time");
    return [=](Connection& c) { return c.Editor().SetStepTime(step); };
  }
  if (what == "led-color" || what == "led-colour") {
    ExpectArgs(a, 2, 2, "set led-color 1..7 R,G,B");
    const int n = ParseInt(a[0], 1, 7, "LED colour");
    const auto rgb = ParseRgb(a[1], "colour");
    return [=](Connection& c) { return c.Editor().SetLightColour(n, rgb[0], rgb[1], rgb[2]); };
  }
  if (what == "button") return ButtonEdit(a);
  if (what == "fire") return FireEdit(a);
  if (what == "aim-dpi") {
    ExpectArgs(a, 1, 1, "set aim-dpi VALUE");
    const int step = DpiValueStep(a[0], "AIM DPI");
    return [=](Connection& c) { return c.Editor().SetAimStep(step); };
  }
  UsageError("unknown setting \"" + what + "\" (see korvex48ctl set --help)");
}

}  // namespace

int RunSet(const GlobalOptions& options, const Args& args) {
  const Edit edit = ParseSet(args);
  Connection c(options);
  c.Connect();
  c.Ui().messages.clear();
  const int refused_before = c.Editor().RefusedWrites();
  const EditResult r = edit(c);
  switch (r.status) {
    case EditStatus::kApplied:
    case EditStatus::kUnchanged:
      break;
    case EditStatus::kRefused:
      if (!r.message.keys.empty() || !r.message.literal.empty())
        Fail(kExitRefused, MessageLine(r.message));
      Fail(kExitRefused, r.reason);
    case EditStatus::kUnavailable:
      Fail(kExitRefused, r.reason);
  }
  if (c.Editor().RefusedWrites() > refused_before)
    Fail(kExitNoMouse, c.Core().MouseUnplugged()
                           ? "the mouse was unplugged: the change did not reach it"
                           : "the mouse refused the change; it keeps its previous setting");
  if (r.restart_refused)
    Fail(kExitNoMouse,
         "the new report rate was written, but the mouse refused the restart it needs");
  if (r.restarted && !c.Core().DeviceUsable())
    Fail(kExitNoMouse, "the mouse did not come back after the restart for the new report rate");
  return kExitOk;
}

}  // namespace korvex48::cli
