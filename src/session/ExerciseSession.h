#pragma once
#include <string>
#include <vector>

#include "storage/HistoryFile.h"

class TLangFHandler;

// What an exercise run asks of the session it runs in. The session gives
// the real thing; tests give a fake that counts.
class TExerciseSession {
 public:
  virtual ~TExerciseSession() = default;
  // The question is asked in the file's first language.
  virtual bool QuestionInFirstLang() const = 0;
  // Held-back entries leave the list for the deferred ones.
  virtual void SplitDeferred() = 0;
  // Writes the settings and the exercise list now (after a pass, when the
  // exercise window closes), so that a crash or a kill loses little.
  virtual void KeepProgress() = 0;
  // Saves the exercises' language file after pairs were retired. False when
  // nothing was written.
  virtual bool SaveExerciseLangFile(TLangFHandler& file, const std::string& fileName) = 0;
  // Adds the pairs whose answer was shown to the learner's history.
  virtual void RecordPractice(const std::vector<TPractisedPair>& pairs) { (void)pairs; }
};
