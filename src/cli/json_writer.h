#pragma once
// A small streaming JSON writer: objects, arrays, strings (escaped; UTF-8
// passed through), integers, booleans and null, indented two spaces.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace korvex48::cli {

class JsonWriter {
 public:
  void BeginObject(std::string_view key = {});
  void EndObject();
  void BeginArray(std::string_view key = {});
  void EndArray();
  void String(std::string_view key, std::string_view value);
  void Int(std::string_view key, long long value);
  void Bool(std::string_view key, bool value);
  void Null(std::string_view key);
  // Array elements (no key).
  void StringItem(std::string_view value) { String({}, value); }
  void IntItem(long long value) { Int({}, value); }

  const std::string& Text() const { return out_; }
  static std::string Quote(std::string_view text);

 private:
  void Key(std::string_view key);
  void Open(std::string_view key, char bracket);
  void Close(char bracket);
  std::string out_;
  std::vector<bool> first_;  // per open container: no element written yet
};

}  // namespace korvex48::cli
