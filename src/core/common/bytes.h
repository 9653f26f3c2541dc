#pragma once
// Bounded readers for outside bytes. Every parser of files, device replies and
// tables reads through these instead of casting structs, so a short or hostile
// input ends in a clean failure rather than a read past the end.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace korvex48 {

using Bytes = std::vector<std::uint8_t>;
using ByteView = std::span<const std::uint8_t>;

// A cursor over a byte span. Reads past the end return nullopt and leave the
// cursor where it was.
class ByteReader {
 public:
  explicit ByteReader(ByteView data) : data_(data) {}
  std::size_t Offset() const { return pos_; }
  std::size_t Remaining() const { return data_.size() - pos_; }
  bool AtEnd() const { return pos_ >= data_.size(); }
  std::optional<std::uint8_t> U8() {
    if (Remaining() < 1) return std::nullopt;
    return data_[pos_++];
  }
  std::optional<std::uint16_t> U16Le() {
    if (Remaining() < 2) return std::nullopt;
    std::uint16_t v = static_cast<std::uint16_t>(data_[pos_] | (data_[pos_ + 1] << 8));
    pos_ += 2;
    return v;
  }
  std::optional<std::uint16_t> U16Be() {
    if (Remaining() < 2) return std::nullopt;
    std::uint16_t v = static_cast<std::uint16_t>((data_[pos_] << 8) | data_[pos_ + 1]);
    pos_ += 2;
    return v;
  }
  std::optional<ByteView> Take(std::size_t n) {
    if (Remaining() < n) return std::nullopt;
    ByteView v = data_.subspan(pos_, n);
    pos_ += n;
    return v;
  }
  bool Skip(std::size_t n) {
    if (Remaining() < n) return false;
    pos_ += n;
    return true;
  }

 private:
  ByteView data_;
  std::size_t pos_ = 0;
};

// Byte at `i`, or `fallback` when `i` is outside `data`.
inline std::uint8_t ByteAt(ByteView data, std::size_t i, std::uint8_t fallback = 0) {
  return i < data.size() ? data[i] : fallback;
}

}  // namespace korvex48
