// The text form of the configuration, read and written with nlohmann::json.
#include "core/config/config_text.h"

#include <algorithm>
#include <cmath>
#include <nlohmann/json.hpp>
#include <set>

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

// Outside text quoted in a message: control characters escaped and a long
// text cut, so that an error stays one short line (the file keeps it whole).
std::string Quoted(std::string_view text) {
  constexpr std::size_t kShown = 40;
  if (text.size() <= kShown) return "\"" + EscapeControlCharacters(text) + "\"";
  std::size_t cut = kShown;
  // Not inside a UTF-8 sequence.
  while (cut > 0 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80) --cut;
  return "\"" + EscapeControlCharacters(text.substr(0, cut)) + "...\" (" +
         std::to_string(text.size()) + " bytes)";
}

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

constexpr std::size_t kLongestSuggested = 64;

// "; did you mean \"x\"?" for the closest of `known` when it is close enough.
std::string Suggestion(std::string_view given, const std::vector<std::string>& known) {
  // Nothing known is longer than this; a longer text is no typing slip, and
  // the distance to each would cost its length times theirs.
  if (given.size() > kLongestSuggested) return {};
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
  if (j.is_number_float()) return "a fraction (" + j.dump() + ")";
  return "a " + std::string(j.type_name());
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
      Throw(place, "unknown key " + Quoted(it.key()) + Suggestion(it.key(), all));
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
  const std::string range =
      " is out of range (" + std::to_string(low) + ".." + std::to_string(high) + ")";
  if (j.is_number_unsigned() && j.get<unsigned long long>() > static_cast<unsigned long long>(high))
    Throw(place, std::to_string(j.get<unsigned long long>()) + range);
  if (j.is_number_float()) {
    // 1e2 is a whole number written as a fraction; 1.5 is none.
    const double d = j.get<double>();
    if (d != std::trunc(d)) Throw(place, "expected a whole number, found " + TypeName(j));
    if (d < static_cast<double>(low) || d > static_cast<double>(high))
      Throw(place, j.dump() + range);
    return static_cast<long long>(d);
  }
  if (!j.is_number_integer()) Throw(place, "expected a whole number, found " + TypeName(j));
  const long long v = j.get<long long>();
  if (v < low || v > high) Throw(place, std::to_string(v) + range);
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

constexpr std::size_t kLongestEventLine = 1000;

// A "bytes" line holds whole events: the mouse walks a macro by the length
// each event's first byte gives, so a cut event would take the bytes of the
// next line (or the end byte) and never read back as written.
void CheckWholeEvents(ByteView bytes, std::string_view line, const std::string& place) {
  std::size_t at = 0;
  while (at < bytes.size()) {
    const std::size_t length = std::max<std::size_t>(1, EventLengthOf(bytes[at]));
    if (at + length > bytes.size()) {
      char first[3];
      std::snprintf(first, sizeof first, "%02X", bytes[at]);
      Throw(place, Quoted(line) + " cuts an event short: an event that starts with " + first +
                       " has " + std::to_string(length) + " bytes");
    }
    at += length;
  }
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
    const std::string line = ReadString(events[e], at);
    // No event line is near this long; the message would quote it whole.
    if (line.size() > kLongestEventLine) Throw(at, "unknown event " + Quoted(line));
    const std::optional<Bytes> bytes = MacroEventFromLine(line, &error);
    if (!bytes) Throw(at, error);
    CheckWholeEvents(*bytes, line, at);
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
      Throw(at, "macro " + std::to_string(n) + " is named " + Quoted(macros[n - 1].name) +
                    ", not " + Quoted(name));
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
    Throw(at, "no macro is named " + Quoted(name) + Suggestion("macro:" + name, names));
  if (found.size() > 1)
    Throw(at, std::to_string(found.size()) + " macros are named " + Quoted(name) +
                  ": say which with \"macro\": N");
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
    if (!code) Throw(at, "a code is eight hexadecimal digits: " + Quoted(name));
    f.kind = FunctionKind::kCode;
    f.code = *code;
  } else {
    std::string error;
    // No key combination is near this long.
    const std::optional<KeyCombination> combo =
        name.size() <= kLongestEventLine ? ParseKeyCombination(name, &error) : std::nullopt;
    if (!combo) {
      std::vector<std::string> known = names.All();
      for (const DeviceMacro& m : macros) known.push_back("macro:" + m.name);
      Throw(at, "unknown function " + Quoted(name) + Suggestion(name, known));
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
        why = "Fire Key1 repeats " + std::to_string(first) + " times (fire_key_counts, first)";
      } else if (f.fire_key == 2) {
        why = count == first
                  ? "a count of " + std::to_string(count) + " is Fire Key1's (fire_key_counts)"
                  : "Fire Key2 repeats " + std::to_string(second) +
                        " times (fire_key_counts, second)";
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
    Throw("storage", Quoted(storage) + " is no storage kind (packed, slot)" +
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
  // As byte 38 holds them: a mouse's own count past 8 reads back.
  c.dpi_level_count = static_cast<int>(ReadInt(dpi.at("level_count"), "dpi.level_count", 1, 16));
  c.dpi_active_level = static_cast<int>(ReadInt(dpi.at("active_level"), "dpi.active_level", 1, 16));
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
    Throw("lighting.kind", Quoted(kind) + " is no LED kind (RGB, Sync, NT)" +
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
TextProblem SyntaxProblem(const nlohmann::json::exception& e, std::size_t byte) {
  TextProblem p;
  const std::string what = e.what();
  const std::size_t at = what.find("line ");
  const std::size_t colon = what.find(": ", at == std::string::npos ? 0 : at);
  if (at != std::string::npos && colon != std::string::npos) {
    p.place = what.substr(at, colon - at);
    p.message = what.substr(colon + 2);
  } else {
    p.place = "byte " + std::to_string(byte);
    p.message = what;
  }
  return p;
}

// ---- Places -------------------------------------------------------------------

// One step of a path into the document: a key, or a position in an array.
struct Step {
  std::string key;
  std::size_t index = 0;
  bool is_index = false;
};

// A path as the reader builds it ("profiles[0].buttons[4].function"; only
// keys the document defines, which hold no '.' or '[').
std::vector<Step> StepsOf(std::string_view path) {
  std::vector<Step> steps;
  std::size_t at = 0;
  while (at < path.size()) {
    if (path[at] == '.') {
      ++at;
    } else if (path[at] == '[') {
      const std::size_t end = path.find(']', at);
      if (end == std::string_view::npos) break;
      std::size_t n = 0;
      for (std::size_t i = at + 1; i < end; ++i)
        n = n * 10 + static_cast<std::size_t>(path[i] - '0');
      steps.push_back({{}, n, true});
      at = end + 1;
    } else {
      const std::size_t end = std::min(path.find_first_of(".[", at), path.size());
      steps.push_back({std::string(path.substr(at, end - at)), 0, false});
      at = end;
    }
  }
  return steps;
}

// The entry `index` of the array under `key`, as the file numbers it.
std::string EntryName(std::string_view key, std::size_t index) {
  static constexpr const char* kComponents[] = {"red", "green", "blue"};
  const std::string n = std::to_string(index + 1);
  if (key == "profiles") return "profile " + n;
  if (key == "buttons") return "button " + n;
  if (key == "macros") return "macro " + n;
  if (key == "events") return "event " + n;
  if (key == "levels") return "level " + n;
  if (key == "colours") return "colour " + n;
  if (key == "colour" && index < 3) return std::string("colour ") + kComponents[index];
  if (key.empty() && index < 3) return kComponents[index];
  if (key == "fire_key_counts" && index < 2) return "fire_key_counts, Fire Key" + n;
  return (key.empty() ? std::string("entry ") : std::string(key) + " entry ") + n;
}

// A place as the file numbers things, from 1: "profile 1, button 5, function",
// "dpi level 2, colour red", "lighting colour 3, green", "macro 2, event 4".
std::string PlaceText(const std::vector<Step>& steps) {
  std::vector<std::string> pieces;
  std::string piece;
  bool after_index = false;
  for (std::size_t i = 0; i < steps.size(); ++i) {
    const Step& s = steps[i];
    if (!s.is_index) {
      if (piece.empty()) {
        piece = s.key;
      } else if (after_index) {
        pieces.push_back(piece);
        piece = s.key;
      } else {
        piece += "." + s.key;
      }
      after_index = false;
      continue;
    }
    if (i > 0 && !steps[i - 1].is_index) {
      const std::string& key = steps[i - 1].key;
      // "dpi.levels" + 1 is "dpi level 2".
      std::string rest = piece.substr(0, piece.size() - key.size());
      if (!rest.empty() && rest.back() == '.') rest.pop_back();
      const std::string entry = EntryName(key, s.index);
      piece = rest.empty() ? entry : rest + " " + entry;
    } else {
      if (!piece.empty()) pieces.push_back(piece);
      piece = EntryName({}, s.index);
    }
    after_index = true;
  }
  if (!piece.empty()) pieces.push_back(piece);
  std::string out;
  for (const std::string& p : pieces) out += (out.empty() ? "" : ", ") + p;
  return out;
}

// ---- What the parser alone does not check -------------------------------------

// Walks the document as the parser reads it, before it is built: a key given
// twice in one object (the parser would keep the last silently) and a number
// no field can hold (1e999, a whole number of more than 64 bits) are errors
// with their place, as every other value's.
class DocumentCheck final : public nlohmann::json_sax<Json> {
 public:
  std::optional<TextProblem> problem;

  bool null() override { return Value(); }
  bool boolean(bool) override { return Value(); }
  bool number_integer(number_integer_t) override { return Value(); }
  bool number_unsigned(number_unsigned_t) override { return Value(); }
  bool number_float(number_float_t, const string_t& text) override {
    Value();
    // A whole number the 64-bit forms could not hold comes as a fraction.
    if (text.find_first_of(".eE") == string_t::npos) return Fail(OutOfRange(text));
    return true;
  }
  bool string(string_t&) override { return Value(); }
  bool binary(binary_t&) override { return Value(); }
  bool start_object(std::size_t) override {
    Value();
    frames_.push_back({true, {}, {}, 0});
    return true;
  }
  bool key(string_t& key) override {
    Frame& f = frames_.back();
    f.key.clear();
    if (!f.keys.insert(key).second) return Fail("the key " + Quoted(key) + " is given twice");
    // Only the document's own keys make a place; any other is refused later.
    f.key = key.find_first_of(".[]") == string_t::npos ? key : std::string();
    return true;
  }
  bool end_object() override {
    frames_.pop_back();
    return true;
  }
  bool start_array(std::size_t) override {
    Value();
    frames_.push_back({false, {}, {}, 0});
    return true;
  }
  bool end_array() override {
    frames_.pop_back();
    return true;
  }
  bool parse_error(std::size_t byte, const std::string& token,
                   const nlohmann::detail::exception& e) override {
    if (e.id == 406) {  // number overflow: the value that did not fit
      Value();
      return Fail(OutOfRange(token));
    }
    problem = SyntaxProblem(e, byte);
    return false;
  }

 private:
  struct Frame {
    bool object;
    std::set<std::string> keys;
    std::string key;        // of the value being read
    std::size_t count = 0;  // values of the array so far
  };

  bool Value() {
    if (!frames_.empty() && !frames_.back().object) ++frames_.back().count;
    return true;
  }
  std::string OutOfRange(std::string_view number) const {
    return (number.size() <= 40 ? std::string(number) : Quoted(number)) + " is out of range";
  }
  bool Fail(std::string message) {
    std::vector<Step> steps;
    for (const Frame& f : frames_) {
      if (f.object && !f.key.empty()) steps.push_back({f.key, 0, false});
      if (!f.object && f.count > 0) steps.push_back({{}, f.count - 1, true});
    }
    problem = TextProblem{PlaceText(steps), std::move(message)};
    return false;
  }

  std::vector<Frame> frames_;
};

// ---- What the mouse reads back ------------------------------------------------

// Whether `stored` is `given` without one repeat-stop byte: the filler the
// packed layout puts at a page boundary, which is layout and not content.
bool OnlyFillerApart(const Bytes& given, const Bytes& stored) {
  if (given.size() != stored.size() + 1) return false;
  std::size_t at = 0;
  while (at < stored.size() && given[at] == stored[at]) ++at;
  return given[at] == macro_event::kRepeatStop &&
         std::equal(stored.begin() + static_cast<std::ptrdiff_t>(at), stored.end(),
                    given.begin() + static_cast<std::ptrdiff_t>(at) + 1);
}

// The configuration as a mouse holding it reads it back: a code the typed
// forms name ("code:01000000" is "Left Key") takes that name, and a
// repeat-stop where the packed layout puts its page-boundary filler is the
// filler. Anything else the mouse would read back otherwise is refused, so
// that a file applied compares equal to the mouse. A configuration that does
// not fit a mouse is kept as read: applying it is refused with the reason.
Configuration AsTheMouseReadsIt(const Configuration& c) {
  ConfigImage image;
  if (!EncodeConfiguration(c, "I2C", image).ok) return c;
  Configuration back = DecodeConfiguration(image, c.storage, "I2C");
  if (back.macros.size() != c.macros.size())
    Throw("macros", "the mouse would read " + std::to_string(back.macros.size()) +
                        " macros back, not " + std::to_string(c.macros.size()));
  for (std::size_t m = 0; m < c.macros.size(); ++m) {
    if (back.macros[m] == c.macros[m] ||
        (back.macros[m].name == c.macros[m].name &&
         OnlyFillerApart(c.macros[m].events, back.macros[m].events)))
      continue;
    Throw("macros[" + std::to_string(m) + "].events",
          "the mouse would read these events back otherwise");
  }
  return back;
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
  TextProblem found;
  try {
    DocumentCheck check;
    if (Json::sax_parse(text.begin(), text.end(), &check)) {
      const Json doc = Json::parse(text.begin(), text.end());
      return AsTheMouseReadsIt(ReadDocument(doc));
    }
    found = check.problem.value_or(TextProblem{{}, "the document does not read"});
  } catch (const ReadError& e) {
    found = {PlaceText(StepsOf(e.place)), e.message};
  } catch (const nlohmann::json::exception& e) {
    found = {{}, e.what()};
  }
  // One short line, whatever the file holds.
  constexpr std::size_t kLongest = 300;
  if (found.message.size() > kLongest) {
    std::size_t cut = kLongest;
    while (cut > 0 && (static_cast<unsigned char>(found.message[cut]) & 0xC0) == 0x80) --cut;
    found.message = found.message.substr(0, cut) + "...";
  }
  if (problem) *problem = std::move(found);
  return std::nullopt;
}

bool LooksLikeConfigurationText(std::string_view bytes) {
  // A UTF-8 byte order mark, as some editors write, comes before the text.
  if (bytes.substr(0, 3) == "\xEF\xBB\xBF") bytes.remove_prefix(3);
  for (char c : bytes) {
    if (c == ' ' || c == '\t' || c == '\r' || c == '\n') continue;
    return c == '{';
  }
  return false;
}

}  // namespace korvex48
