// Feeds arbitrary bytes to every reader of the tables: the language decoder
// and tokenizer, the table line rules, the reverse lookup and the settings
// and layout readers.
#include <cstddef>
#include <cstdint>
#include <string>

#include "core/ui/language.h"
#include "core/ui/language_text.h"
#include "core/ui/layout_table.h"
#include "core/ui/settings_table.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace korvex48;
  const ByteView bytes(data, size);

  std::string error;
  if (std::optional<LanguageTable> lang = LanguageTable::Parse(bytes, 1, &error)) {
    const std::array<LanguageTable, 3> tables{*lang, *lang, *lang};
    const std::string title = lang->Text("Title");
    const std::string key = FindKeyOfText(tables, lang->Text("Str210"));
    if (!key.empty() && lang->Text(key) != lang->Text("Str210")) __builtin_trap();
    (void)title;
  }

  ReadSettingsTable(bytes, &error);
  for (int index = 1; index <= 3; ++index) {
    if (std::optional<LayoutTable> layout = ReadLayoutTable(bytes, index, &error)) {
      if (layout->dpi_orientation < 0 || layout->dpi_orientation > 1) __builtin_trap();
    }
  }
  return 0;
}
