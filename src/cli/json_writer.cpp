#include "cli/json_writer.h"

#include <cstdio>

namespace korvex48::cli {

std::string JsonWriter::Quote(std::string_view text) {
  std::string q = "\"";
  for (unsigned char c : text) {
    switch (c) {
      case '"':
        q += "\\\"";
        break;
      case '\\':
        q += "\\\\";
        break;
      case '\n':
        q += "\\n";
        break;
      case '\r':
        q += "\\r";
        break;
      case '\t':
        q += "\\t";
        break;
      default:
        if (c < 0x20) {
          char buf[8];
          std::snprintf(buf, sizeof buf, "\\u%04x", c);
          q += buf;
        } else {
          q += static_cast<char>(c);
        }
    }
  }
  return q + "\"";
}

void JsonWriter::Key(std::string_view key) {
  if (!first_.empty()) {
    if (!first_.back()) out_ += ',';
    first_.back() = false;
    out_ += '\n';
    out_.append(2 * first_.size(), ' ');
  }
  if (!key.empty()) out_ += Quote(key) + ": ";
}

void JsonWriter::Open(std::string_view key, char bracket) {
  Key(key);
  out_ += bracket;
  first_.push_back(true);
}

void JsonWriter::Close(char bracket) {
  const bool empty = first_.back();
  first_.pop_back();
  if (!empty) {
    out_ += '\n';
    out_.append(2 * first_.size(), ' ');
  }
  out_ += bracket;
  if (first_.empty()) out_ += '\n';
}

void JsonWriter::BeginObject(std::string_view key) { Open(key, '{'); }
void JsonWriter::EndObject() { Close('}'); }
void JsonWriter::BeginArray(std::string_view key) { Open(key, '['); }
void JsonWriter::EndArray() { Close(']'); }

void JsonWriter::String(std::string_view key, std::string_view value) {
  Key(key);
  out_ += Quote(value);
}

void JsonWriter::Int(std::string_view key, long long value) {
  Key(key);
  out_ += std::to_string(value);
}

void JsonWriter::Bool(std::string_view key, bool value) {
  Key(key);
  out_ += value ? "true" : "false";
}

void JsonWriter::Null(std::string_view key) {
  Key(key);
  out_ += "null";
}

}  // namespace korvex48::cli
