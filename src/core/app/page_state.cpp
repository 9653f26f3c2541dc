#include "core/app/page_state.h"

#include <algorithm>
#include <charconv>
#include <optional>
#include <string_view>

namespace korvex48 {
namespace {

// The whole text as a decimal integer (an optional leading minus), or nullopt.
std::optional<long long> DecimalValue(std::string_view text) {
  long long value = 0;
  const char* first = text.data();
  const char* last = text.data() + text.size();
  auto [ptr, ec] = std::from_chars(first, last, value);
  if (ec != std::errc() || ptr != last || text.empty()) return std::nullopt;
  return value;
}

std::uint8_t Modulo(long long value, long long m) {
  return static_cast<std::uint8_t>(((value % m) + m) % m);
}

// Nibble for one DPI level's value text: its index in the list, 0xF for an
// empty text, nullopt (keep) for any other text.
std::optional<std::uint8_t> DpiNibble(const std::string& text, const DpiValueTexts& list) {
  if (text.empty()) return 0x0F;
  for (std::size_t i = 0; i < list.size(); ++i) {
    if (list[i] == text) return static_cast<std::uint8_t>(i);
  }
  return std::nullopt;
}

std::uint8_t WithLowNibble(std::uint8_t byte, std::optional<std::uint8_t> nibble) {
  return nibble ? static_cast<std::uint8_t>((byte & 0xF0) | (*nibble & 0x0F)) : byte;
}

std::uint8_t WithHighNibble(std::uint8_t byte, std::optional<std::uint8_t> nibble) {
  return nibble ? static_cast<std::uint8_t>((byte & 0x0F) | ((*nibble & 0x0F) << 4)) : byte;
}

std::optional<std::uint8_t> ColourNibble(const std::string& text) {
  auto v = DecimalValue(text);
  if (!v) return std::nullopt;
  return Modulo(*v, 16);
}

}  // namespace

const DpiValueTexts& DefaultDpiValueTexts() {
  static const DpiValueTexts texts = {"200",  "400",  "600",  "800",  "1000", "1200",
                                      "1600", "2000", "2400", "3200", "4800", "6400"};
  return texts;
}

void PackPageState(const PageState& page, std::span<std::uint8_t, 104> p,
                   const DpiValueTexts& dpi_texts) {
  // 38: level count and checked level.
  if (page.checked_dpi_level >= 1 && page.checked_dpi_level <= 8) {
    const int count = std::clamp(page.dpi_level_count, 1, 8);
    p[38] = static_cast<std::uint8_t>((count - 1) * 16 + (page.checked_dpi_level - 1));
  }
  // 39..42: value index per level pair.
  for (int k = 0; k < 4; ++k) {
    std::uint8_t& byte = p[39 + k];
    byte = WithLowNibble(byte, DpiNibble(page.dpi_value_texts[2 * k], dpi_texts));
    byte = WithHighNibble(byte, DpiNibble(page.dpi_value_texts[2 * k + 1], dpi_texts));
  }
  // 75..86: DPI indicator colours, odd level low nibble, even level high.
  for (int pair = 0; pair < 4; ++pair) {
    for (int c = 0; c < 3; ++c) {
      std::uint8_t& byte = p[75 + 3 * pair + c];
      byte = WithLowNibble(byte, ColourNibble(page.dpi_colour_texts[2 * pair][c]));
      byte = WithHighNibble(byte, ColourNibble(page.dpi_colour_texts[2 * pair + 1][c]));
    }
  }
  // 6, bits 5-4: report rate.
  if (page.report_rate_choice >= 1 && page.report_rate_choice <= 4) {
    p[6] = static_cast<std::uint8_t>((p[6] & 0xCF) | ((page.report_rate_choice - 1) << 4));
  }
  // 37: lighting mode by lighting type.
  const int mode = page.lighting_choice;
  if (page.lighting_type == "RGB" && mode >= 0 && mode <= 5) {
    p[37] = static_cast<std::uint8_t>(mode);
  } else if (page.lighting_type == "Sync" && mode >= 0 && mode <= 2) {
    p[37] = static_cast<std::uint8_t>(0x40 + mode);
  } else if (page.lighting_type == "NT" && mode >= 0 && mode <= 5) {
    p[37] = static_cast<std::uint8_t>((p[37] & 0xF0) | mode);
  }
  // 52, 53: fall time.
  if (page.fall_time_choice >= 1 && page.fall_time_choice <= 10) {
    p[52] = p[53] = static_cast<std::uint8_t>(5 * page.fall_time_choice);
  }
  // 54..74: lighting colours.
  for (int n = 0; n < 7; ++n) {
    for (int c = 0; c < 3; ++c) {
      if (auto v = DecimalValue(page.lighting_colour_texts[n][c])) {
        p[54 + 3 * n + c] = Modulo(*v, 256);
      }
    }
  }
  // 33: active profile.
  if (page.active_profile >= 1 && page.active_profile <= 3) {
    p[33] = static_cast<std::uint8_t>(page.active_profile - 1);
  }
}

PageState PageStateFromParameters(std::span<const std::uint8_t, 104> p,
                                  const DpiValueTexts& dpi_texts) {
  PageState page;
  page.dpi_level_count = std::min((p[38] >> 4) + 1, 8);
  const int active = (p[38] & 0x0F) + 1;
  page.checked_dpi_level = active <= 8 ? active : 0;
  for (int level = 0; level < 8; ++level) {
    const std::uint8_t byte = p[39 + level / 2];
    const int v = level % 2 == 0 ? (byte & 0x0F) : (byte >> 4);
    if (v < 12) {
      page.dpi_value_texts[level] = dpi_texts[v];
    } else if (v != 15) {
      // Not a value of the list: a text outside it keeps the nibble.
      page.dpi_value_texts[level] = std::to_string(v);
    }
    for (int c = 0; c < 3; ++c) {
      const std::uint8_t col = p[75 + 3 * (level / 2) + c];
      page.dpi_colour_texts[level][c] = std::to_string(level % 2 == 0 ? (col & 0x0F) : (col >> 4));
    }
  }
  page.report_rate_choice = ((p[6] >> 4) & 0x03) + 1;
  const int kind = p[37] >> 6;
  const int mode = p[37] & 0x0F;
  if (kind == 0) {
    page.lighting_type = "RGB";
    page.lighting_choice = mode <= 5 ? mode : -1;
  } else if (kind == 1) {
    page.lighting_type = "Sync";
    page.lighting_choice = mode <= 2 ? mode : -1;
  } else {
    page.lighting_type = "NT";
    page.lighting_choice = (mode <= 3 || mode == 5) ? mode : -1;
  }
  const int t = p[53];
  page.fall_time_choice = t <= 5 ? 1 : std::min((t + 4) / 5, 10);
  for (int n = 0; n < 7; ++n) {
    for (int c = 0; c < 3; ++c) {
      page.lighting_colour_texts[n][c] = std::to_string(p[54 + 3 * n + c]);
    }
  }
  page.active_profile = p[33] <= 2 ? p[33] + 1 : 0;
  return page;
}

}  // namespace korvex48
