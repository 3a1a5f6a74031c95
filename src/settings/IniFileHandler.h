#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

#include "core/Bytes.h"
#include "storage/DurableFile.h"

// A small initialization file: "[Section]" headers, then "Key=Value" lines.
// Section and key names are compared without letter case; a value is the rest
// of the line after the first "=", blanks trimmed, one pair of surrounding
// double quotes removed. Texts are UTF-8; the file is written in UTF-8 and
// read as Windows-1252 when it is not valid UTF-8 (older files).
//
// Reading takes the first section and the first key of a name. Writing
// changes only the lines it writes and keeps every other section, key and
// comment in place; all changes stay in memory until UpdateFile replaces the
// file in one step.
class tIniFileHandler {
 public:
  // Reads the file; a missing file is an empty one. An input/output error on
  // an existing file raises TFileIoError.
  explicit tIniFileHandler(const std::string& fileName);

  const std::string& FileName() const { return fileName_; }

  bool SectionExists(const std::string& section) const;
  bool ValueExists(const std::string& section, const std::string& key) const;

  std::string ReadString(const std::string& section, const std::string& key, const std::string& def) const;
  // A value that does not read as a decimal integer gives def.
  int32_t ReadInteger(const std::string& section, const std::string& key, int32_t def) const;
  // "True"/"False" in any letter case; any other text (or none) gives def.
  bool ReadBoolStr(const std::string& section, const std::string& key, bool def) const;

  // n := integer at the count key (default 0); element i := key "i" (default
  // empty). A list never holds more elements than its section holds key
  // lines, so a damaged count cannot make it huge; up to that bound the
  // missing keys read as empty.
  std::vector<std::string> ReadStrList(const std::string& section, const std::string& countKey) const;
  // How many elements ReadStrList would give, without reading them.
  std::size_t ListLength(const std::string& section, const std::string& countKey) const;
  // As ReadStrList with integers; a missing or unreadable element is -1.
  std::vector<int32_t> ReadIntList(const std::string& section, const std::string& countKey) const;
  // Reads keys "0", "1", ... until one is missing or empty; how many were not.
  int32_t CountListEntries(const std::string& section) const;

  // A value that starts or ends with a blank, or is enclosed in double quotes,
  // is written in double quotes so that it reads back as it was. Line breaks
  // cannot be stored in a line and become blanks.
  void WriteString(const std::string& section, const std::string& key, const std::string& value);
  void WriteInteger(const std::string& section, const std::string& key, int32_t value);
  void WriteBoolStr(const std::string& section, const std::string& key, bool value);
  // Key "i" := element i, for i from 0 upward. Linear in the list and the
  // section, however long both are.
  void WriteStrList(const std::string& section, const std::vector<std::string>& list);
  void WriteIntList(const std::string& section, const std::vector<int32_t>& list);
  // The section holds the list and nothing else: keys "0", "1", ... and then
  // the count key. It stays where it stands (a missing one goes to the end);
  // further sections of that name go, and comments in it stay at its end.
  // An unchanged list leaves the file unchanged.
  void ReplaceList(const std::string& section, const std::string& countKey, const std::vector<std::string>& list);
  // Removes every section of that name with its keys. Comment and blank lines
  // at its end stay: they belong to what follows.
  void EraseSection(const std::string& section);

  // Whether a change waits for UpdateFile.
  bool Modified() const { return modified_; }
  // The file content as it would be written.
  TBytes ToBytes() const;
  // Replaces the file atomically when something changed. False when it could
  // not be written; the file is then intact and the changes stay pending.
  // result, when given, gets the reason.
  bool UpdateFile(TSaveResult* result = nullptr);

 private:
  struct TLine {
    std::string raw;  // the line as it stands in the file, without line end
    std::string key;  // upper-cased key name; empty for comments and blank lines
  };
  struct TSection {
    std::string header;  // the header line; empty for the lines before the first section
    std::string name;    // upper-cased section name
    bool preamble = false;
    std::vector<TLine> lines;
  };

  void Parse(const TBytes& bytes);
  std::size_t SectionIndex(const std::string& section) const;  // npos when missing
  static std::size_t LineIndex(const TSection& section, const std::string& key);
  const TSection* FindSection(const std::string& section) const;
  TSection& SectionForWrite(const std::string& section);
  static const TLine* FindKey(const TSection& section, const std::string& key);
  static std::unordered_map<std::string, const TLine*> KeyIndex(const TSection& section);
  void EraseSectionsAfter(std::size_t first, const std::string& name);
  void EraseSectionAt(std::size_t index);

  std::string fileName_;
  std::vector<TSection> sections_;
  std::string lineEnd_ = "\r\n";
  bool modified_ = false;
};
