// The table import of quillmere-lang on arbitrary bytes, as TSV and as CSV,
// for a UTF-8 and for a Windows-1252 file; whatever it accepts must also be
// writable as a language file image.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "storage/TableImport.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view table(reinterpret_cast<const char*>(data), size);
  for (TTableFormat format : {TTableFormat::Tsv, TTableFormat::Csv}) {
    for (TTextEncoding target : {TTextEncoding::Utf8, TTextEncoding::Cp1252}) {
      const TTableImport result = ImportTable(table, format, target);
      for (const auto& lesson : result.Lessons)
        for (int32_t i = 0; i < lesson->SlotCount(); ++i)
          if (auto pear = lesson->GetPear(i)) (void)pear->GetFileLine();
    }
  }
  return 0;
}
