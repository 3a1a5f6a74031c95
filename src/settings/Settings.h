#pragma once
#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

// The settings windows read, as plain values. A default-built struct holds
// what a settings file without the keys gives.

// The language file exercises draw from, and which part of it.
struct TLangFileChoice {
  // The full name in memory; the settings file holds it relative to the
  // program directory when below it.
  std::string LangFileName;
  std::string Lang1;
  std::string Lang2;
  // The question is asked in Lang1.
  bool FirstLang = true;
  // The most pairs an exercise holds.
  int32_t MaxWords = 300;
  // The lessons chosen for exercises, by number.
  std::vector<int32_t> AvailableUnits;

  bool IsAvailableUnit(int32_t lessonNbr) const {
    return std::find(AvailableUnits.begin(), AvailableUnits.end(), lessonNbr) != AvailableUnits.end();
  }
  bool operator==(const TLangFileChoice&) const = default;
};

// How an exercise presents the pairs: the general settings dialog's choices.
struct TPresentSettings {
  // The presentation and solution delays in seconds, as the settings dialog offers them.
  static constexpr int32_t kMinDelay = 1;
  static constexpr int32_t kMaxDelay = 20;

  bool AutoPresent = false;
  int32_t DelayPresent = 10;
  bool VoiceAnswer = true;
  bool LetterAnswer = false;
  int32_t DelayAnswer = 10;
  // Which side is spoken at presentation: the dialog's item number.
  int32_t VoicePresent = 0;
  bool ShowTable = true;

  // Beyond the described drill; each default keeps the drill as it was.
  // The learner types the answer before it is shown; the leniencies of the check.
  bool TypedAnswer = false;
  bool IgnoreCase = false;
  bool IgnoreAccents = false;
  bool IgnorePunctuation = false;
  // A side without a sound file is spoken by the speech engine.
  bool SpeakMissing = false;
  // The card's flight and dissolve.
  enum : int32_t { kCardPaceNormal = 0, kCardPaceFast = 1, kCardPaceNone = 2 };
  int32_t CardPace = kCardPaceNormal;
  // The pace the answer is written at.
  enum : int32_t { kLetterPaceNormal = 0, kLetterPaceFast = 1, kLetterPaceVoice = 2 };
  int32_t LetterPace = kLetterPaceNormal;

  bool operator==(const TPresentSettings&) const = default;
};
