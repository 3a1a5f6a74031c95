#pragma once
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "core/Bytes.h"
#include "core/Lesson.h"
#include "core/TextEncoding.h"
#include "core/Vector.h"
#include "FileUtil.h"
#include "LoadLosses.h"

// Reads a language file into lessons and phrase pairs, keeps them by lesson
// number and writes them back. Lines of a file:
//   Encoding=UTF-8   only in a UTF-8 file; without it the file is Windows-1252
//   Locales=de@ru    only when a language's locale is known
//   [General]
//   Lang1Name@Lang2Name
//   [LessonNbr]      then one pair line per pair, for each lesson
class TPearArena;
class TLangFHandler;

// A handler for a new file: UTF-8, so it takes any script.
TLangFHandler NewLangFile();

class TLangFHandler {
 public:
  TVector<TLesson> Lessons;
  std::string Lang1Name;
  std::string Lang2Name;
  // The locales of the two languages ("de", "ru"; empty when not known), for
  // speaking a side that has no sound file. Kept like the names.
  std::string Lang1Locale;
  std::string Lang2Locale;
  int ParseState = 0;
  // How the file is written. Texts in memory are UTF-8 either way; a
  // Windows-1252 file read and saved without a new character keeps its bytes.
  // A load sets the file's own; the default is that of a file without the
  // encoding line, and whoever makes a new file chooses UTF-8.
  TTextEncoding Encoding = TTextEncoding::Cp1252;
  int32_t CurLessonNbr = -1;

  // Empties the lessons; the language names stay.
  void ClearLessons();

  // Reads the file into the handler. False for a missing or empty file and for
  // a wrong header or checksum (nothing read then). A malformed number raises
  // TConversionError naming file, line number and line; lessons stored before
  // it stay. An input/output error raises TFileIoError.
  // Slots grow to any number a file names, so a damaged file could ask for
  // billions of them. Each line fills at most one slot; beyond that a file may
  // leave at most kMaxEmptySlots empty slots in all (gaps in its lesson and
  // pair numbers). A number that needs more is refused like a malformed one.
  // The file is never held whole: peak memory is what the lessons take.
  bool LoadLangFile(const std::string& fileName);
  // The same on the bytes of a file; fileName only names it in errors.
  bool LoadLangBytes(const TBytes& bytes, const std::string& fileName);

  // Writes the lessons (ascending number, pairs renumbered 0, 1, ... without
  // moving them). False, file untouched, when there are fewer than four lines,
  // a line is too long for the container, a character has no byte in a
  // Windows-1252 file, or the write fails; result, when given, gets the reason.
  bool SaveLangFile(const std::string& fileName, TSaveResult* result = nullptr);
  // Whether every text can be written in the file's encoding; when not, the
  // first character that cannot (as UTF-8).
  bool Storable(std::string* badChar = nullptr) const;
  bool DeleteLangFile(const std::string& fileName);

  void SetLangNames(const std::string& lang1, const std::string& lang2);
  const std::string& GetLang1Name() const { return Lang1Name; }
  const std::string& GetLang2Name() const { return Lang2Name; }

  int32_t LessonSlotCount() const { return static_cast<int32_t>(Lessons.Count()); }
  std::shared_ptr<TLesson> GetLesson(int32_t lessonNbr) const { return Lessons.Get(lessonNbr); }
  // Stores the lesson in the slot of its number; false for a negative number.
  bool PutLesson(std::shared_ptr<TLesson> lesson);
  void ClearAllDrawn();

  // Feeds one line of a file to the reader, in the file's encoding: the first
  // line says which it is.
  void ReadLine(std::string_view line);

  // What the last load dropped under the reading rules, and the file it
  // read. Kept through ClearLessons (the editor clears before it saves);
  // replaced by the next load that finds its file readable, emptied by a
  // save to that file, which no longer holds the dropped parts.
  const TLoadLosses& LoadLosses() const { return losses_; }
  const std::string& LoadedFileName() const { return loadedFile_; }

  static constexpr int64_t kMaxEmptySlots = 1000000;

 private:
  bool Load(const std::function<bool(const TByteSink&)>& source, const std::string& fileName);
  void StartLesson(std::string_view line);
  // The locales line; false for any other line.
  bool ReadLocales(std::string_view line);
  void AddPearLine(std::string_view line);
  void StoreCurrentLesson();
  // Takes the slots up to number (beyond slotCount) from the load's
  // allowance, or refuses the number.
  void ClaimSlots(int64_t slotCount, int32_t number, const char* what) {
    const int64_t n = number + int64_t{1} - slotCount;
    if (n > slotsLeft_) RefuseSlots(slotCount, number, what);
    slotsLeft_ -= n;
  }
  [[noreturn]] void RefuseSlots(int64_t slotCount, int32_t number, const char* what) const;

  void NoteLoss(TLossKind kind) { losses_.Add(kind, CurLessonNbr, lineNbr_); }

  std::shared_ptr<TLesson> current_;
  TLoadLosses losses_;
  std::string loadedFile_;
  // Lines read in this load, for the places of losses.
  int64_t lineNbr_ = 0;
  bool namesRead_ = false;
  // Where a Windows-1252 line becomes UTF-8; its size is no text length.
  std::string converted_;
  // Where a load makes its pairs.
  TPearArena* arena_ = nullptr;
  int64_t slotsLeft_ = kMaxEmptySlots;
  // One past the highest lesson number claimed in this load.
  int64_t lessonSlotsClaimed_ = 0;
};

inline TLangFHandler NewLangFile() {
  TLangFHandler handler;
  handler.Encoding = TTextEncoding::Utf8;
  return handler;
}
