// The reader of Anki's plain-text notes on arbitrary bytes, for a UTF-8 and
// a Windows-1252 file; what it accepts must be writable as pair lines.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "storage/AnkiImport.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  for (TTextEncoding target : {TTextEncoding::Utf8, TTextEncoding::Cp1252}) {
    TAnkiOptions options;
    options.Target = target;
    options.KeepSound = [](const std::string& name) { return name; };
    const TImportedLessons result = ImportAnki(text, options);
    for (const auto& lesson : result.Lessons)
      for (int32_t i = 0; i < lesson->SlotCount(); ++i)
        if (auto pear = lesson->GetPear(i)) (void)pear->GetFileLine();
  }
  return 0;
}
