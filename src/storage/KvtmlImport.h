#pragma once
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "BoundedXml.h"
#include "ImportedLessons.h"

// Reads the word lists of KDE's vocabulary trainers (KVTML 2, the XML of
// KWordQuiz and Parley). The identifiers name the languages (their name,
// else their locale); every entry with text in both chosen languages becomes
// a pair; each top-level lesson container becomes a lesson numbered 1, 2, ...
// in file order, nested containers fold into it, and entries in no lesson go
// to one more lesson at the end. A container that is not in practice, or an
// entry that is deactivated, gives pairs not in use. Everything else the
// file holds is counted in NotKept.

struct TKvtmlOptions {
  int Lang1Id = 0;
  int Lang2Id = 1;
  TTextEncoding Target = TTextEncoding::Utf8;
  // Leave out, and count, pairs a language file cannot hold instead of
  // refusing the file.
  bool SkipUnfit = false;
  // The sound name to store for a sound the file names (a URL or a path
  // relative to the file), empty when there is no such file. Without it no
  // sound is kept.
  std::function<std::string(const std::string& reference)> KeepSound;
  TXmlLimits Limits;
};

class TKvtmlImporter {
 public:
  explicit TKvtmlImporter(TKvtmlOptions options);
  ~TKvtmlImporter();
  TKvtmlImporter(const TKvtmlImporter&) = delete;
  TKvtmlImporter& operator=(const TKvtmlImporter&) = delete;

  // False once the input is refused (later blocks are ignored).
  bool Feed(const char* data, std::size_t size);
  // The lessons; a refused file gives its reason as the only error.
  TImportedLessons Finish();

 private:
  struct TState;
  std::unique_ptr<TState> state_;
};

TImportedLessons ImportKvtml(std::string_view xml, const TKvtmlOptions& options);
// Reads the file block by block and stops at the first refusal. An
// input/output error raises TFileIoError.
TImportedLessons ImportKvtmlFile(const std::string& path, const TKvtmlOptions& options);
