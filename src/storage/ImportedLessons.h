#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "NotKept.h"
#include "core/Lesson.h"
#include "core/TextEncoding.h"

// Lessons read from another trainer's file, before they become a language
// file: the pairs that fit, the names of the lessons the other file gave
// them, the reasons a pair cannot be stored, and what was left out.
struct TImportedLessons {
  std::vector<std::shared_ptr<TLesson>> Lessons;  // ascending number
  // "1: Basics" per lesson that had a name in the other file.
  std::vector<std::string> LessonNames;
  std::string Lang1Name, Lang2Name;
  std::string Lang1Locale, Lang2Locale;
  // Nothing may be written while there is one.
  std::vector<std::string> Errors;
  int32_t UnfitPairs = 0;  // errors about single pairs, which could be left out
  TNotKept NotKept;
  int32_t PairCount = 0;

  bool Ok() const { return Errors.empty(); }
};

// What a new pair is made of; sounds empty when there are none.
struct TImportedPair {
  std::string Word1, Word2, Wav1, Wav2;
  bool InUse = true;
};

// Collects pairs into numbered lessons, checking each against what a file of
// the target encoding can hold. A pair that cannot be stored is an error
// naming where it came from, or with skipUnfit a count in NotKept.
class TLessonCollector {
 public:
  TLessonCollector(TImportedLessons& result, TTextEncoding target, bool skipUnfit)
      : result_(result), target_(target), skipUnfit_(skipUnfit) {}

  void Add(int32_t lessonNbr, TImportedPair pair, const std::string& where);
  // Hands the lessons over in ascending number.
  void Finish();

 private:
  TImportedLessons& result_;
  TTextEncoding target_;
  bool skipUnfit_;
  std::vector<std::shared_ptr<TLesson>> lessons_;
};

// A locale such as "de" or "pt_BR" the language file can store; empty for
// anything else.
std::string StorableLocale(const std::string& locale);
