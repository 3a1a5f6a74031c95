// The interface text database on arbitrary bytes: once as they come and once
// wrapped in a correct container with its trailer, so the fuzzer reaches the
// section reader with bytes of its own choosing.
#include <cstddef>
#include <cstdint>

#include "settings/AppLangHandl.h"
#include "storage/CodeDecode.h"

namespace {
void Use(const TBytes& bytes) {
  TAppLangHandler texts;
  if (!texts.LoadTextBytes(bytes)) return;
  for (const char* code : {"EN", "DE", "en", ""}) {
    texts.SetLanguage(code);
    for (int n = -1; n < 130; ++n) (void)texts.GetText(n);
  }
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  Use(TBytes(data, data + size));
  TBytes image;
  image.reserve(size + 3);
  image.push_back(kContainerHeader);
  image.insert(image.end(), data, data + size);
  image.push_back(0);
  XorCheck(image, true);
  image.push_back(0);  // the trailer
  Use(ScrambleBytes(image));
  return 0;
}
