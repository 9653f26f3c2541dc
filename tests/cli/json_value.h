#pragma once
// Enough of a JSON reader to check korvex48ctl's output: objects, arrays,
// strings (with \uXXXX escapes of the basic plane), integers, true, false,
// null. Parse throws std::runtime_error on anything malformed.
#include <cstdint>
#include <map>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace korvex48::testing {

struct Json {
  enum class Kind { kNull, kBool, kInt, kString, kArray, kObject } kind = Kind::kNull;
  bool boolean = false;
  long long integer = 0;
  std::string text;
  std::vector<Json> items;
  std::map<std::string, Json> fields;

  const Json& operator[](const std::string& key) const {
    auto it = fields.find(key);
    if (kind != Kind::kObject || it == fields.end()) throw std::runtime_error("no key " + key);
    return it->second;
  }
  const Json& operator[](std::size_t i) const {
    if (kind != Kind::kArray || i >= items.size()) throw std::runtime_error("no item");
    return items[i];
  }
  bool Has(const std::string& key) const { return fields.count(key) != 0; }

  static Json Parse(std::string_view text) {
    std::size_t pos = 0;
    Json v = Value(text, pos);
    Space(text, pos);
    if (pos != text.size()) throw std::runtime_error("text after the value");
    return v;
  }

 private:
  static void Space(std::string_view t, std::size_t& p) {
    while (p < t.size() && (t[p] == ' ' || t[p] == '\n' || t[p] == '\r' || t[p] == '\t')) ++p;
  }
  static void Expect(std::string_view t, std::size_t& p, std::string_view word) {
    if (t.substr(p, word.size()) != word) throw std::runtime_error("expected " + std::string(word));
    p += word.size();
  }
  static std::string String(std::string_view t, std::size_t& p) {
    Expect(t, p, "\"");
    std::string s;
    while (true) {
      if (p >= t.size()) throw std::runtime_error("unterminated string");
      const char c = t[p++];
      if (c == '"') return s;
      if (static_cast<unsigned char>(c) < 0x20) throw std::runtime_error("control character");
      if (c != '\\') {
        s += c;
        continue;
      }
      if (p >= t.size()) throw std::runtime_error("bad escape");
      const char e = t[p++];
      switch (e) {
        case '"':
          s += '"';
          break;
        case '\\':
          s += '\\';
          break;
        case '/':
          s += '/';
          break;
        case 'n':
          s += '\n';
          break;
        case 'r':
          s += '\r';
          break;
        case 't':
          s += '\t';
          break;
        case 'u': {
          if (p + 4 > t.size()) throw std::runtime_error("bad \\u");
          const unsigned u = std::stoul(std::string(t.substr(p, 4)), nullptr, 16);
          p += 4;
          if (u < 0x80) {
            s += static_cast<char>(u);
          } else if (u < 0x800) {
            s += static_cast<char>(0xC0 | (u >> 6));
            s += static_cast<char>(0x80 | (u & 0x3F));
          } else {
            s += static_cast<char>(0xE0 | (u >> 12));
            s += static_cast<char>(0x80 | ((u >> 6) & 0x3F));
            s += static_cast<char>(0x80 | (u & 0x3F));
          }
          break;
        }
        default:
          throw std::runtime_error("bad escape");
      }
    }
  }
  static Json Value(std::string_view t, std::size_t& p) {
    Space(t, p);
    if (p >= t.size()) throw std::runtime_error("no value");
    Json v;
    const char c = t[p];
    if (c == '{') {
      v.kind = Kind::kObject;
      ++p;
      Space(t, p);
      if (p < t.size() && t[p] == '}') return ++p, v;
      while (true) {
        Space(t, p);
        std::string key = String(t, p);
        Space(t, p);
        Expect(t, p, ":");
        v.fields[key] = Value(t, p);
        Space(t, p);
        if (p < t.size() && t[p] == ',') {
          ++p;
          continue;
        }
        Expect(t, p, "}");
        return v;
      }
    }
    if (c == '[') {
      v.kind = Kind::kArray;
      ++p;
      Space(t, p);
      if (p < t.size() && t[p] == ']') return ++p, v;
      while (true) {
        v.items.push_back(Value(t, p));
        Space(t, p);
        if (p < t.size() && t[p] == ',') {
          ++p;
          continue;
        }
        Expect(t, p, "]");
        return v;
      }
    }
    if (c == '"') {
      v.kind = Kind::kString;
      v.text = String(t, p);
      return v;
    }
    if (t.substr(p, 4) == "true") return p += 4, v.kind = Kind::kBool, v.boolean = true, v;
    if (t.substr(p, 5) == "false") return p += 5, v.kind = Kind::kBool, v;
    if (t.substr(p, 4) == "null") return p += 4, v;
    std::size_t end = p + (c == '-' ? 1 : 0);
    while (end < t.size() && t[end] >= '0' && t[end] <= '9') ++end;
    if (end == p || (c == '-' && end == p + 1)) throw std::runtime_error("bad value");
    v.kind = Kind::kInt;
    v.integer = std::stoll(std::string(t.substr(p, end - p)));
    p = end;
    return v;
  }
};

}  // namespace korvex48::testing
