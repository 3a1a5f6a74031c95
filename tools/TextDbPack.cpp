// textdb_pack OUTPUT SOURCE...: packs the interface texts (one UTF-8 file per
// language, named after its code: EN.txt, DE.txt) into the text database.
#include <cstdio>
#include <exception>
#include <string>
#include <vector>

#include "core/Errors.h"
#include "settings/TextDbSource.h"
#include "storage/FileUtil.h"

namespace {
int Fail(const std::string& message) {
  std::fprintf(stderr, "textdb_pack: %s\n", message.c_str());
  return 1;
}
}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) return Fail("usage: textdb_pack OUTPUT SOURCE...");
  try {
    std::vector<TTextSource> sources;
    for (int i = 2; i < argc; ++i) {
      const std::string fileName = argv[i];
      const std::string code = LanguageCodeOf(fileName);
      if (code.empty()) return Fail(fileName + ": the file name must be a two-letter language code (EN.txt)");
      if (!FileExistsWarn(fileName)) return Fail(fileName + ": no such file");
      const TBytes bytes = ReadFileBytes(fileName);
      std::string error;
      TTextSource source;
      if (!ParseTextSource(fileName, code, std::string(bytes.begin(), bytes.end()), source, error)) return Fail(error);
      sources.push_back(std::move(source));
    }
    std::string error;
    if (!CheckTextSources(sources, error)) return Fail(error);
    if (TSaveResult saved; !WriteFileBytes(argv[1], PackTextDb(sources), true, &saved))
      return Fail(std::string(argv[1]) + ": cannot be written: " + saved.Reason);
  } catch (const TFileIoError& e) {
    return Fail(e.File() + ": " + e.Reason());
  }
  return 0;
}
