// The KVTML reader on arbitrary bytes, whole and in small blocks, for a
// UTF-8 and a Windows-1252 file; what it accepts must be writable as pair
// lines.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "storage/KvtmlImport.h"

namespace {
void Check(const TImportedLessons& result) {
  for (const auto& lesson : result.Lessons)
    for (int32_t i = 0; i < lesson->SlotCount(); ++i)
      if (auto pear = lesson->GetPear(i)) (void)pear->GetFileLine();
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view xml(reinterpret_cast<const char*>(data), size);
  for (TTextEncoding target : {TTextEncoding::Utf8, TTextEncoding::Cp1252}) {
    TKvtmlOptions options;
    options.Target = target;
    options.Limits.MaxText = 512;
    options.KeepSound = [](const std::string& reference) { return reference; };
    Check(ImportKvtml(xml, options));
    TKvtmlImporter importer(options);
    for (std::size_t at = 0; at < size; at += 7) importer.Feed(xml.data() + at, std::min<std::size_t>(7, size - at));
    Check(importer.Finish());
  }
  return 0;
}
