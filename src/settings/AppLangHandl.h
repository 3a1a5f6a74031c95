#pragma once
#include <cstdint>
#include <memory>
#include <string>

#include "core/Bytes.h"
#include "core/StrVector.h"

// The interface text database "Text.Db": every visible text by number, in
// English ("EN") or German ("DE").
class TAppLangHandler {
 public:
  // Reads, unscrambles and checks the database. A missing file warns through
  // FileExistsWarn (caption, owner); an empty or damaged one gives false
  // without a message, and so does damaged content (a text line whose number
  // is not a decimal integer). An input/output error on an existing file
  // raises TFileIoError. Does not change the current texts.
  bool LoadTextDb(const std::string& path, const std::string& caption, const void* owner);
  // The same on the bytes of a file.
  bool LoadTextBytes(const TBytes& fileBytes);
  // Builds the text table of that language; false (table unchanged) when the
  // section is not found.
  bool SetLanguage(const std::string& code);
  // Text n of the current language (UTF-8); "????" when there is none.
  std::string GetText(int n) const;

  // Text numbers above this are refused as damage: a table is allocated up
  // to its highest number.
  static constexpr int32_t kMaxTextNbr = 65535;

 private:
  std::unique_ptr<TStrVector> Texts;
  TBytes RawText;
};
