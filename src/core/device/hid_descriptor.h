#pragma once
// Reading a HID report descriptor (outside bytes from the device) for the one
// figure the transport needs: the feature report length.
#include <cstdint>
#include <optional>
#include <span>

namespace korvex48 {

struct HidDescriptorSummary {
  bool uses_report_ids = false;
  int longest_feature_bytes = 0;  // payload of the longest feature report, without ID
  // Longest feature report in bytes plus one for the report ID when the
  // descriptor uses IDs; 0 when it declares no feature reports.
  int feature_report_length = 0;
};

// Parses short and long items with a bounded global-state stack. nullopt for a
// truncated item, a stack overflow or underflow, report ID 0, or a descriptor
// longer than 4096 bytes (the largest hidraw hands out).
std::optional<HidDescriptorSummary> ParseHidDescriptor(std::span<const std::uint8_t> descriptor);

}  // namespace korvex48
