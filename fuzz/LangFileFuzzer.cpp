// The container and language file reader on arbitrary bytes: once as they
// come (mostly failing the header or checksum) and once scrambled, so that
// the fuzzer reaches the line reader with bytes of its own choosing.
#include <cstddef>
#include <cstdint>

#include "core/Errors.h"
#include "storage/CodeDecode.h"
#include "storage/LangFHandler.h"

namespace {
void Load(const TBytes& bytes) {
  TLangFHandler handler;
  try {
    handler.LoadLangBytes(bytes, "fuzz.lang");
  } catch (const TConversionError&) {
  }
  for (int32_t n = 0; n < handler.LessonSlotCount(); ++n)
    if (auto lesson = handler.GetLesson(n)) (void)lesson->PearCount();
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const TBytes raw(data, data + size);
  Load(raw);
  // A well-formed image around the fuzzer's bytes: header, bytes, checksum.
  TBytes image;
  image.reserve(size + 2);
  image.push_back(kContainerHeader);
  image.insert(image.end(), data, data + size);
  image.push_back(0);
  XorCheck(image, true);
  Load(ScrambleBytes(image));
  return 0;
}
