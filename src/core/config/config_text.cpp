// The text form of the configuration, read and written with nlohmann::json.
#include "core/config/config_text.h"

#include <algorithm>
#include <nlohmann/json.hpp>

#include "core/buttons/key_combination.h"
#include "core/config/image_codec.h"
#include "core/config/macro_text.h"
#include "core/config/setting_values.h"
#include "core/config/text_names.h"
#include "core/macros/macro_events.h"
#include "core/macros/macro_names.h"

namespace korvex48 {
namespace {

using Json = nlohmann::ordered_json;

// ---- Writing ------------------------------------------------------------------

// Short objects and arrays of plain values go on one line, so a button, a
// level or a colour reads as one line of the file.
bool FitsOnOneLine(const Json& j) {
  if (!j.is_structured()) return true;
  for (const Json& v : j) {
    // Macro events: one to a line, as a diff of the file shows them best.
    if (j.is_array() && v.is_string()) return false;
    if (v.is_object() || (v.is_array() && (j.is_array() || !FitsOnOneLine(v)))) return false;
  }
  return j.dump().size() <= 100;
}

void Print(const Json& j, int indent, std::string& out) {
  if (!j.is_structured() || j.empty()) {
    out += j.dump();
    return;
  }
  if (FitsOnOneLine(j)) {
    // nlohmann writes "[1,2]" and {"a":1}: add the blanks a reader expects.
    out += j.is_array() ? "[" : "{";
    bool first = true;
    for (auto it = j.begin(); it != j.end(); ++it) {
      if (!first) out += ", ";
      first = false;
      if (j.is_object()) out += Json(it.key()).dump() + ": ";
      Print(it.value(), indent, out);
    }
    out += j.is_array() ? "]" : "}";
    return;
  }
  const std::string pad(static_cast<std::size_t>(indent + 2), ' ');
  out += j.is_array() ? "[\n" : "{\n";
  bool first = true;
  for (auto it = j.begin(); it != j.end(); ++it) {
    if (!first) out += ",\n";
    first = false;
    out += pad;
    if (j.is_object()) out += Json(it.key()).dump() + ": ";
    Print(it.value(), indent + 2, out);
  }
  out += "\n" + std::string(static_cast<std::size_t>(indent), ' ') + (j.is_array() ? "]" : "}");
}

std::string CodeName(const KeyCodeBytes& code) { return "code:" + KeyCodeToText(code); }

Json ButtonJson(int button, const ButtonFunction& f, const std::vector<DeviceMacro>& macros) {
  Json b;
  b["button"] = button;
  b["function"] = ButtonFunctionName(f, macros);
  switch (f.kind) {
    case FunctionKind::kFireKey:
      b["count"] = f.fire.repeatCount;
      b["delay_ms"] = f.fire.delay;
      b["continuous"] = f.fire.continuous;
      break;
    case FunctionKind::kAimKey:
      if (f.aim_index < 12) b["dpi"] = DpiValueOfIndex(f.aim_index);
      break;
    case FunctionKind::kDeviceMacro:
      b["macro"] = f.macro + 1;
      break;
    default:
      break;
  }
  return b;
}

// ---- Reading ------------------------------------------------------------------

struct ReadError {
  std::string place;
  std::string message;
};

[[noreturn]] void Throw(const std::string& place, std::string message) {
  throw ReadError{place, std::move(message)};
}

std::string Lower(std::string_view s) {
  std::string out(s);
  for (char& c : out)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + 32);
  return out;
}

std::size_t EditDistance(std::string_view a, std::string_view b) {
  const std::string x = Lower(a), y = Lower(b);
  std::vector<std::size_t> row(y.size() + 1);
  for (std::size_t j = 0; j <= y.size(); ++j) row[j] = j;
  for (std::size_t i = 1; i <= x.size(); ++i) {
    std::size_t diagonal = row[0];
    row[0] = i;
    for (std::size_t j = 1; j <= y.size(); ++j) {
      const std::size_t above = row[j];
      row[j] = std::min({row[j] + 1, row[j - 1] + 1, diagonal + (x[i - 1] == y[j - 1] ? 0 : 1)});
      diagonal = above;
    }
  }
  return row[y.size()];
}

// "; did you mean \"x\"?" for the closest of `known` when it is close enough.
std::string Suggestion(std::string_view given, const std::vector<std::string>& known) {
  const std::string* best = nullptr;
  std::size_t best_distance = 0;
  for (const std::string& k : known) {
    const std::size_t d = EditDistance(given, k);
    if (best == nullptr || d < best_distance) {
      best = &k;
      best_distance = d;
    }
  }
  const std::size_t limit = std::max<std::size_t>(2, given.size() / 3);
  if (best == nullptr || best_distance > limit) return {};
  return "; did you mean \"" + *best + "\"?";
}

std::string TypeName(const Json& j) {
  if (j.is_number_integer()) return "a number";
  return j.type_name() == std::string("number") ? "a fraction" : "a " + std::string(j.type_name());
}

// An object whose keys are all among `keys`; each is required unless listed
// in `optional`.
void CheckObject(const Json& j, const std::string& place, const std::vector<std::string>& keys,
                 const std::vector<std::string>& optional = {}) {
  if (!j.is_object()) Throw(place, "expected an object, found " + TypeName(j));
  for (auto it = j.begin(); it != j.end(); ++it) {
    if (std::find(keys.begin(), keys.end(), it.key()) == keys.end() &&
        std::find(optional.begin(), optional.end(), it.key()) == optional.end()) {
      std::vector<std::string> all = keys;
      all.insert(all.end(), optional.begin(), optional.end());
      Throw(place.empty() ? it.key() : place + "." + it.key(),
            "unknown key \"" + it.key() + "\"" + Suggestion(it.key(), all));
    }
  }
  for (const std::string& k : keys) {
    if (!j.contains(k)) Throw(place, "missing key \"" + k + "\"");
  }
}

std::string Member(const std::string& place, const std::string& key) {
  return place.empty() ? key : place + "." + key;
}

std::string Element(const std::string& place, std::size_t index) {
  return place + "[" + std::to_string(index) + "]";
}

long long ReadInt(const Json& j, const std::string& place, long long low, long long high) {
  if (!j.is_number_integer()) Throw(place, "expected a whole number, found " + TypeName(j));
  const long long v = j.is_number_unsigned() && j.get<unsigned long long>() > 1ull << 62
                          ? high + 1
                          : j.get<long long>();
  if (v < low || v > high)
    Throw(place, std::to_string(v) + " is out of range (" + std::to_string(low) + ".." +
                     std::to_string(high) + ")");
  return v;
}

bool ReadBool(const Json& j, const std::string& place) {
  if (!j.is_boolean()) Throw(place, "expected true or false, found " + TypeName(j));
  return j.get<bool>();
}

std::string ReadString(const Json& j, const std::string& place) {
  if (!j.is_string()) Throw(place, "expected a string, found " + TypeName(j));
  return j.get<std::string>();
}

const Json& ReadArray(const Json& j, const std::string& place, std::size_t low, std::size_t high) {
  if (!j.is_array()) Throw(place, "expected an array, found " + TypeName(j));
  if (j.size() < low || j.size() > high) {
    Throw(place, low == high ? "expected " + std::to_string(low) + " entries, found " +
                                   std::to_string(j.size())
                             : "expected " + std::to_string(low) + " to " + std::to_string(high) +
                                   " entries, found " + std::to_string(j.size()));
  }
  return j;
}

// The optional position key ("button": 5 in buttons[4]) must say where the
// entry stands, so that reordered entries are not taken silently.
void CheckPosition(const Json& j, const std::string& key, const std::string& place,
                   std::size_t index) {
  if (!j.contains(key)) return;
  const std::string at = Member(place, key);
  const long long n = ReadInt(j.at(key), at, 1, 1000);
  if (n != static_cast<long long>(index + 1))
    Throw(at, std::to_string(n) + " stands at position " + std::to_string(index + 1));
}

std::array<std::uint8_t, 3> ReadColour(const Json& j, const std::string& place, int high) {
  ReadArray(j, place, 3, 3);
  std::array<std::uint8_t, 3> rgb{};
  for (std::size_t c = 0; c < 3; ++c)
    rgb[c] = static_cast<std::uint8_t>(ReadInt(j[c], Element(place, c), 0, high));
  return rgb;
}

DeviceMacro ReadMacro(const Json& j, const std::string& place, std::size_t index) {
  CheckObject(j, place, {"name", "events"}, {"macro"});
  CheckPosition(j, "macro", place, index);
  DeviceMacro m;
  m.name = ReadString(j.at("name"), Member(place, "name"));
  // The one rule every incoming name is held to: a name that does not fit is
  // refused, never cut.
  const MacroNameProblem problem = CheckMacroName(m.name);
  if (problem != MacroNameProblem::kNone)
    Throw(Member(place, "name"), MacroNameProblemText(problem));
  const std::string events_place = Member(place, "events");
  const Json& events = ReadArray(j.at("events"), events_place, 0, kMacroBufferSize);
  for (std::size_t e = 0; e < events.size(); ++e) {
    const std::string at = Element(events_place, e);
    std::string error;
    const std::optional<Bytes> bytes = MacroEventFromLine(ReadString(events[e], at), &error);
    if (!bytes) Throw(at, error);
    m.events.insert(m.events.end(), bytes->begin(), bytes->end());
    if (MacroHasEndByte(m.events))
      Throw(at, "the byte 00 would end the macro here, before its last event");
  }
  if (m.events.size() + 1 > kMacroBufferSize)
    Throw(events_place, "the events take " + std::to_string(m.events.size()) +
                            " bytes; a macro holds at most " +
                            std::to_string(kMacroBufferSize - 1));
  return m;
}

std::optional<KeyCodeBytes> CodeOfText(std::string_view text) {
  if (!IsCanonicalKeyCode(text) && !KeyCodeFromText(text)) return std::nullopt;
  return KeyCodeFromText(text);
}

std::size_t ReadMacroRef(const Json& j, const std::string& place, const std::string& name,
                         const std::vector<DeviceMacro>& macros) {
  if (j.contains("macro")) {
    const std::string at = Member(place, "macro");
    const auto n = static_cast<std::size_t>(ReadInt(
        j.at("macro"), at, 1, static_cast<long long>(std::max<std::size_t>(1, macros.size()))));
    if (n > macros.size()) Throw(at, "there is no macro " + std::to_string(n));
    if (macros[n - 1].name != name)
      Throw(at, "macro " + std::to_string(n) + " is named \"" + macros[n - 1].name + "\", not \"" +
                    name + "\"");
    return n - 1;
  }
  std::vector<std::size_t> found;
  std::vector<std::string> names;
  for (std::size_t i = 0; i < macros.size(); ++i) {
    names.push_back("macro:" + macros[i].name);
    if (macros[i].name == name) found.push_back(i);
  }
  const std::string at = Member(place, "function");
  if (found.empty())
    Throw(at, "no macro is named \"" + name + "\"" + Suggestion("macro:" + name, names));
  if (found.size() > 1)
    Throw(at, std::to_string(found.size()) + " macros are named \"" + name +
                  "\": say which with \"macro\": N");
  return found.front();
}

ButtonFunction ReadButton(const Json& j, const std::string& place, std::size_t index,
                          const std::vector<DeviceMacro>& macros) {
  if (!j.is_object()) Throw(place, "expected an object, found " + TypeName(j));
  if (!j.contains("function")) Throw(place, "missing key \"function\"");
  const std::string at = Member(place, "function");
  const std::string name = ReadString(j.at("function"), at);
  ButtonFunction f;
  const FunctionNames& names = FunctionNames::Get();
  if (const std::optional<int> tag = names.TagOf(name)) {
    if (IsFireKeyTag(*tag)) {
      CheckObject(j, place, {"function", "count", "delay_ms", "continuous"}, {"button"});
      f.kind = FunctionKind::kFireKey;
      f.fire_key = FireKeyOfTag(*tag);
      f.fire.repeatCount = static_cast<int>(ReadInt(j.at("count"), Member(place, "count"), 1, 15));
      f.fire.delay =
          static_cast<int>(ReadInt(j.at("delay_ms"), Member(place, "delay_ms"), 0, 4094));
      f.fire.continuous = ReadBool(j.at("continuous"), Member(place, "continuous"));
    } else if (IsAimKeyTag(*tag)) {
      CheckObject(j, place, {"function", "dpi"}, {"button"});
      const long long dpi = ReadInt(j.at("dpi"), Member(place, "dpi"), 0, 100000);
      const std::optional<int> idx = DpiIndexOfValue(static_cast<int>(dpi));
      if (!idx)
        Throw(Member(place, "dpi"),
              std::to_string(dpi) +
                  " is no DPI value (200 400 600 800 1000 1200 1600 2000 2400 3200 4800 6400)");
      f.kind = FunctionKind::kAimKey;
      f.aim_index = *idx;
    } else {
      CheckObject(j, place, {"function"}, {"button"});
      f.kind = FunctionKind::kMenuEntry;
      f.menu_tag = *tag;
    }
  } else if (Lower(name) == "none") {
    CheckObject(j, place, {"function"}, {"button"});
  } else if (name.rfind("macro:", 0) == 0) {
    CheckObject(j, place, {"function"}, {"button", "macro"});
    f.kind = FunctionKind::kDeviceMacro;
    f.macro = ReadMacroRef(j, place, name.substr(6), macros);
  } else if (name.rfind("code:", 0) == 0) {
    CheckObject(j, place, {"function"}, {"button"});
    const std::optional<KeyCodeBytes> code = CodeOfText(name.substr(5));
    if (!code) Throw(at, "a code is eight hexadecimal digits: \"" + name + "\"");
    f.kind = FunctionKind::kCode;
    f.code = *code;
  } else {
    std::string error;
    const std::optional<KeyCombination> combo = ParseKeyCombination(name, &error);
    if (!combo) {
      std::vector<std::string> known = names.All();
      for (const DeviceMacro& m : macros) known.push_back("macro:" + m.name);
      Throw(at, "unknown function \"" + name + "\"" + Suggestion(name, known));
    }
    CheckObject(j, place, {"function"}, {"button"});
    const KeyCodeBytes code = *KeyCodeFromText(combo->code);
    f.kind = FunctionKind::kKeyCombination;
    f.modifiers = code[1];
    f.keys = {code[2], code[3]};
  }
  CheckPosition(j, "button", place, index);
  return f;
}

// A fire code names its fire key by the counts: the file's fire keys must be
// the ones the mouse will name them.
void CheckFireIdentity(const Configuration& c, const Json& doc) {
  for (std::size_t p = 0; p < c.profiles.size(); ++p) {
    for (std::size_t b = 0; b < c.profiles[p].size(); ++b) {
      const ButtonFunction& f = c.profiles[p][b];
      if (f.kind != FunctionKind::kFireKey) continue;
      const int count = f.fire.repeatCount;
      const int first = c.fire_identity_counts[0], second = c.fire_identity_counts[1];
      const int named = count == first ? 1 : count == second ? 2 : 3;
      if (named == f.fire_key) continue;
      (void)doc;
      const std::string place =
          "profiles[" + std::to_string(p) + "].buttons[" + std::to_string(b) + "].count";
      std::string why;
      if (f.fire_key == 1) {
        why = "Fire Key1 repeats fire_key_counts[0] = " + std::to_string(first) + " times";
      } else if (f.fire_key == 2) {
        why = count == first
                  ? "a count of " + std::to_string(count) + " is Fire Key1's (fire_key_counts[0])"
                  : "Fire Key2 repeats fire_key_counts[1] = " + std::to_string(second) + " times";
      } else {
        why = "a count of " + std::to_string(count) + " is Fire Key" + std::to_string(named) +
              "'s (fire_key_counts)";
      }
      Throw(place, why);
    }
  }
}

Configuration ReadDocument(const Json& doc) {
  CheckObject(doc, "",
              {"schema", "storage", "active_profile", "profiles", "fire_key_counts", "dpi",
               "report_rate_hz", "lighting", "macros"});
  const long long schema = ReadInt(doc.at("schema"), "schema", 0, 1000000);
  if (schema != kConfigTextSchema)
    Throw("schema", "this is schema " + std::to_string(schema) + "; korvex48 reads schema " +
                        std::to_string(kConfigTextSchema));
  Configuration c;
  const std::string storage = ReadString(doc.at("storage"), "storage");
  if (storage == "packed") {
    c.storage = StorageLayout::kPacked;
  } else if (storage == "slot") {
    c.storage = StorageLayout::kSlot;
  } else {
    Throw("storage", "\"" + storage + "\" is no storage kind (packed, slot)" +
                         Suggestion(storage, {"packed", "slot"}));
  }
  c.active_profile = static_cast<int>(ReadInt(doc.at("active_profile"), "active_profile", 1, 3));

  const Json& macros = ReadArray(doc.at("macros"), "macros", 0, 32);
  for (std::size_t m = 0; m < macros.size(); ++m)
    c.macros.push_back(ReadMacro(macros[m], Element("macros", m), m));

  const Json& counts = ReadArray(doc.at("fire_key_counts"), "fire_key_counts", 2, 2);
  for (std::size_t i = 0; i < 2; ++i)
    c.fire_identity_counts[i] =
        static_cast<int>(ReadInt(counts[i], Element("fire_key_counts", i), 1, 16));

  const Json& profiles = ReadArray(doc.at("profiles"), "profiles", kProfileCount, kProfileCount);
  for (std::size_t p = 0; p < profiles.size(); ++p) {
    const std::string place = Element("profiles", p);
    CheckObject(profiles[p], place, {"buttons"}, {"profile"});
    CheckPosition(profiles[p], "profile", place, p);
    const std::string bplace = Member(place, "buttons");
    const Json& buttons =
        ReadArray(profiles[p].at("buttons"), bplace, kButtonsPerProfile, kButtonsPerProfile);
    for (std::size_t b = 0; b < buttons.size(); ++b)
      c.profiles[p][b] = ReadButton(buttons[b], Element(bplace, b), b, c.macros);
  }
  CheckFireIdentity(c, doc);

  const Json& dpi = doc.at("dpi");
  CheckObject(dpi, "dpi", {"level_count", "active_level", "levels"});
  c.dpi_level_count = static_cast<int>(ReadInt(dpi.at("level_count"), "dpi.level_count", 1, 8));
  c.dpi_active_level = static_cast<int>(ReadInt(dpi.at("active_level"), "dpi.active_level", 1, 8));
  const Json& levels = ReadArray(dpi.at("levels"), "dpi.levels", kDpiLevelSlots, kDpiLevelSlots);
  for (std::size_t l = 0; l < levels.size(); ++l) {
    const std::string place = Element("dpi.levels", l);
    CheckObject(levels[l], place, {"colour"}, {"level", "value", "value_index"});
    CheckPosition(levels[l], "level", place, l);
    DpiLevel& level = c.dpi_levels[l];
    const bool has_value = levels[l].contains("value"),
               has_index = levels[l].contains("value_index");
    if (has_value == has_index) Throw(place, "give either \"value\" or \"value_index\"");
    if (has_index) {
      level.value_index = static_cast<std::uint8_t>(
          ReadInt(levels[l].at("value_index"), Member(place, "value_index"), 0, 15));
    } else if (levels[l].at("value").is_null()) {
      level.value_index = 0x0F;
    } else {
      const long long v = ReadInt(levels[l].at("value"), Member(place, "value"), 0, 100000);
      const std::optional<int> idx = DpiIndexOfValue(static_cast<int>(v));
      if (!idx)
        Throw(Member(place, "value"),
              std::to_string(v) +
                  " is no DPI value (200 400 600 800 1000 1200 1600 2000 2400 3200 4800 6400)");
      level.value_index = static_cast<std::uint8_t>(*idx);
    }
    level.colour = ReadColour(levels[l].at("colour"), Member(place, "colour"), 15);
  }

  const long long rate = ReadInt(doc.at("report_rate_hz"), "report_rate_hz", 0, 100000);
  if (!ReportRateChoiceOfHz(static_cast<int>(rate)))
    Throw("report_rate_hz", std::to_string(rate) + " is no report rate (125, 250, 500, 1000)");
  c.report_rate_hz = static_cast<int>(rate);

  const Json& lighting = doc.at("lighting");
  CheckObject(lighting, "lighting", {"kind", "mode", "fall_time", "colours"});
  const std::string kind = ReadString(lighting.at("kind"), "lighting.kind");
  if (kind == "RGB") {
    c.lighting.kind = LedKind::kRgb;
  } else if (kind == "Sync") {
    c.lighting.kind = LedKind::kSync;
  } else if (kind == "NT") {
    c.lighting.kind = LedKind::kNt;
  } else {
    Throw("lighting.kind", "\"" + kind + "\" is no LED kind (RGB, Sync, NT)" +
                               Suggestion(kind, {"RGB", "Sync", "NT"}));
  }
  c.lighting.mode = static_cast<std::uint8_t>(ReadInt(lighting.at("mode"), "lighting.mode", 0, 15));
  c.lighting.fall_time =
      static_cast<std::uint8_t>(ReadInt(lighting.at("fall_time"), "lighting.fall_time", 0, 255));
  const Json& colours =
      ReadArray(lighting.at("colours"), "lighting.colours", kLightColourCount, kLightColourCount);
  for (std::size_t i = 0; i < colours.size(); ++i)
    c.lighting.colours[i] = ReadColour(colours[i], Element("lighting.colours", i), 255);
  return c;
}

// "line 3, column 7" and the library's words for a syntax error.
TextProblem SyntaxProblem(const nlohmann::json::parse_error& e) {
  TextProblem p;
  const std::string what = e.what();
  const std::size_t at = what.find("line ");
  const std::size_t colon = what.find(": ", at == std::string::npos ? 0 : at);
  if (at != std::string::npos && colon != std::string::npos) {
    p.place = what.substr(at, colon - at);
    p.message = what.substr(colon + 2);
  } else {
    p.place = "byte " + std::to_string(e.byte);
    p.message = what;
  }
  return p;
}

}  // namespace

std::string ButtonFunctionName(const ButtonFunction& f, const std::vector<DeviceMacro>& macros) {
  switch (f.kind) {
    case FunctionKind::kNone:
      return "None";
    case FunctionKind::kMenuEntry:
      return FunctionNames::Get().NameOf(f.menu_tag);
    case FunctionKind::kKeyCombination:
      // Decoding keeps a combination typed only when this name reads back.
      return KeyCombinationName(f.modifiers, f.keys);
    case FunctionKind::kFireKey:
      return FunctionNames::Get().NameOf(FireKeyTag(f.fire_key));
    case FunctionKind::kAimKey:
      return FunctionNames::Get().NameOf(AimKeyTag());
    case FunctionKind::kDeviceMacro:
      return f.macro < macros.size() ? "macro:" + macros[f.macro].name
                                     : "macro " + std::to_string(f.macro + 1);
    case FunctionKind::kCode:
      return CodeName(f.code);
  }
  return "None";
}

std::string ConfigurationToText(const Configuration& c) {
  Json doc;
  doc["schema"] = kConfigTextSchema;
  doc["storage"] = StorageLayoutName(c.storage);
  doc["active_profile"] = c.active_profile;
  doc["profiles"] = Json::array();
  for (std::size_t p = 0; p < c.profiles.size(); ++p) {
    Json profile;
    profile["profile"] = p + 1;
    profile["buttons"] = Json::array();
    for (std::size_t b = 0; b < c.profiles[p].size(); ++b)
      profile["buttons"].push_back(ButtonJson(static_cast<int>(b + 1), c.profiles[p][b], c.macros));
    doc["profiles"].push_back(profile);
  }
  doc["fire_key_counts"] = {c.fire_identity_counts[0], c.fire_identity_counts[1]};
  Json dpi;
  dpi["level_count"] = c.dpi_level_count;
  dpi["active_level"] = c.dpi_active_level;
  dpi["levels"] = Json::array();
  for (std::size_t l = 0; l < c.dpi_levels.size(); ++l) {
    const DpiLevel& level = c.dpi_levels[l];
    Json j;
    j["level"] = l + 1;
    if (level.value_index < 12) {
      j["value"] = DpiValueOfIndex(level.value_index);
    } else if (level.value_index == 0x0F) {
      j["value"] = nullptr;
    } else {
      j["value_index"] = level.value_index;
    }
    j["colour"] = {level.colour[0], level.colour[1], level.colour[2]};
    dpi["levels"].push_back(j);
  }
  doc["dpi"] = dpi;
  doc["report_rate_hz"] = c.report_rate_hz;
  Json lighting;
  lighting["kind"] = c.lighting.kind == LedKind::kRgb    ? "RGB"
                     : c.lighting.kind == LedKind::kSync ? "Sync"
                                                         : "NT";
  lighting["mode"] = c.lighting.mode;
  lighting["fall_time"] = c.lighting.fall_time;
  lighting["colours"] = Json::array();
  for (const auto& rgb : c.lighting.colours)
    lighting["colours"].push_back({rgb[0], rgb[1], rgb[2]});
  doc["lighting"] = lighting;
  doc["macros"] = Json::array();
  for (std::size_t m = 0; m < c.macros.size(); ++m) {
    Json macro;
    macro["macro"] = m + 1;
    macro["name"] = c.macros[m].name;
    macro["events"] = Json::array();
    for (const std::string& line : MacroEventLines(c.macros[m].events))
      macro["events"].push_back(line);
    doc["macros"].push_back(macro);
  }
  std::string out;
  Print(doc, 0, out);
  out += "\n";
  return out;
}

std::string TextProblem::Line() const { return place.empty() ? message : place + ": " + message; }

std::optional<Configuration> ConfigurationFromText(std::string_view text, TextProblem* problem) {
  try {
    const Json doc = Json::parse(text.begin(), text.end());
    return ReadDocument(doc);
  } catch (const nlohmann::json::parse_error& e) {
    if (problem) *problem = SyntaxProblem(e);
  } catch (const ReadError& e) {
    if (problem) *problem = {e.place, e.message};
  } catch (const nlohmann::json::exception& e) {
    if (problem) *problem = {{}, e.what()};
  }
  return std::nullopt;
}

bool LooksLikeConfigurationText(std::string_view bytes) {
  for (char c : bytes) {
    if (c == ' ' || c == '\t' || c == '\r' || c == '\n') continue;
    return c == '{';
  }
  return false;
}

}  // namespace korvex48
