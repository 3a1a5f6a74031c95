#include "ImportedLessons.h"

#include <algorithm>

#include "PairFields.h"
#include "core/CodePage.h"
#include "storage/CodeDecode.h"

void TLessonCollector::Add(int32_t lessonNbr, TImportedPair pair, const std::string& where) {
  TWordPear pear;
  std::string word1, word2;
  std::string problem = CheckPairField(TPairField::Word1, pair.Word1, word1, target_);
  if (problem.empty()) problem = CheckPairField(TPairField::Word2, pair.Word2, word2, target_);
  pear.Word1 = word1;
  pear.Word2 = word2;
  // A sound name that cannot stand in the file is left out, not the pair.
  const auto sound = [&](const std::string& name, TPairField field) {
    std::string stored;
    if (name.empty()) return std::string(" ");
    if (!CheckPairField(field, name, stored, target_).empty()) {
      result_.NotKept.Add("sound name a language file cannot hold", "sound names a language file cannot hold");
      return std::string(" ");
    }
    return stored;
  };
  if (problem.empty()) {
    pear.WavFile1 = sound(pair.Wav1, TPairField::WavFile1);
    pear.WavFile2 = sound(pair.Wav2, TPairField::WavFile2);
    pear.InUse = pair.InUse;
    // The pair line must fit one line of the file, counted in its bytes.
    const std::string line = pear.GetFileLine();
    const std::size_t bytes = target_ == TTextEncoding::Utf8 ? line.size() : Utf8Length(line);
    if (bytes > kMaxContainerLine) problem = "the pair is too long for a line of a language file";
  }
  if (!problem.empty()) {
    if (skipUnfit_) {
      result_.NotKept.Add("pair a language file cannot hold", "pairs a language file cannot hold");
    } else {
      result_.Errors.push_back(where + ": " + problem);
      ++result_.UnfitPairs;
    }
    return;
  }
  auto found = std::find_if(lessons_.begin(), lessons_.end(),
                            [lessonNbr](const auto& lesson) { return lesson->LessonNbr == lessonNbr; });
  if (found == lessons_.end()) {
    lessons_.push_back(std::make_shared<TLesson>());
    lessons_.back()->LessonNbr = lessonNbr;
    found = lessons_.end() - 1;
  }
  pear.PearNbr = (*found)->SlotCount();
  *(*found)->NewPear(pear.PearNbr) = std::move(pear);
  ++result_.PairCount;
}

void TLessonCollector::Finish() {
  std::sort(lessons_.begin(), lessons_.end(),
            [](const auto& a, const auto& b) { return a->LessonNbr < b->LessonNbr; });
  result_.Lessons = std::move(lessons_);
  lessons_.clear();
}

std::string StorableLocale(const std::string& locale) {
  if (locale.empty() || locale.size() > 20) return {};
  for (const char c : locale) {
    const bool ok = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' || c == '-';
    if (!ok) return {};
  }
  return locale;
}
