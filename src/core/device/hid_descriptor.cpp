#include "core/device/hid_descriptor.h"

#include <algorithm>
#include <array>
#include <vector>

#include "core/common/bytes.h"

namespace korvex48 {

namespace {

constexpr std::size_t kMaxDescriptor = 4096;
constexpr std::size_t kMaxPushDepth = 16;
// Report sizes and counts are clamped so that sums never overflow; no real
// report comes near this.
constexpr std::uint64_t kMaxFieldBits = 1u << 24;

enum ItemType { kMain = 0, kGlobal = 1, kLocal = 2 };
enum MainTag { kFeature = 0xB };
enum GlobalTag { kReportSize = 0x7, kReportId = 0x8, kReportCount = 0x9, kPush = 0xA, kPop = 0xB };

struct GlobalState {
  std::uint64_t report_size = 0;
  std::uint64_t report_count = 0;
  std::uint32_t report_id = 0;
};

}  // namespace

std::optional<HidDescriptorSummary> ParseHidDescriptor(std::span<const std::uint8_t> descriptor) {
  if (descriptor.size() > kMaxDescriptor) return std::nullopt;
  ByteReader in(descriptor);
  GlobalState state;
  std::vector<GlobalState> stack;
  std::array<std::uint64_t, 256> feature_bits{};
  HidDescriptorSummary summary;

  while (!in.AtEnd()) {
    const std::uint8_t prefix = *in.U8();
    if (prefix == 0xFE) {  // long item: size, tag, data; carries nothing we need
      auto size = in.U8();
      if (!size || !in.Skip(1) || !in.Skip(*size)) return std::nullopt;
      continue;
    }
    static constexpr std::size_t kSizes[4] = {0, 1, 2, 4};
    const std::size_t size = kSizes[prefix & 0x3];
    const int type = (prefix >> 2) & 0x3;
    const int tag = prefix >> 4;
    auto data = in.Take(size);
    if (!data) return std::nullopt;
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < size; ++i) value |= std::uint32_t{(*data)[i]} << (8 * i);

    if (type == kGlobal) {
      switch (tag) {
        case kReportSize:
          state.report_size = std::min<std::uint64_t>(value, kMaxFieldBits);
          break;
        case kReportCount:
          state.report_count = std::min<std::uint64_t>(value, kMaxFieldBits);
          break;
        case kReportId:
          if (value == 0 || value > 255) return std::nullopt;
          state.report_id = value;
          summary.uses_report_ids = true;
          break;
        case kPush:
          if (stack.size() >= kMaxPushDepth) return std::nullopt;
          stack.push_back(state);
          break;
        case kPop:
          if (stack.empty()) return std::nullopt;
          state = stack.back();
          stack.pop_back();
          break;
        default:
          break;
      }
    } else if (type == kMain && tag == kFeature) {
      std::uint64_t& bits = feature_bits[state.report_id];
      bits = std::min(bits + state.report_size * state.report_count, kMaxFieldBits * 16);
    }
  }

  std::uint64_t longest_bits = 0;
  for (std::uint64_t bits : feature_bits) longest_bits = std::max(longest_bits, bits);
  summary.longest_feature_bytes = static_cast<int>((longest_bits + 7) / 8);
  if (summary.longest_feature_bytes > 0)
    summary.feature_report_length =
        summary.longest_feature_bytes + (summary.uses_report_ids ? 1 : 0);
  return summary;
}

}  // namespace korvex48
