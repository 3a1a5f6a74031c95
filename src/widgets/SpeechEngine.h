#pragma once
#include <QString>
#include <cstdint>
#include <memory>

// Text-to-speech as the media manager needs it.
class TSpeechEngine {
 public:
  virtual ~TSpeechEngine() = default;
  // Whether any engine can speak at all.
  virtual bool Available() = 0;
  // Whether the engine has a voice for the locale ("de", "ru", "pt_BR").
  virtual bool HasVoice(const QString& locale) = 0;
  // Speaks and returns when spoken or cut; false when nothing was spoken. Bounded wait.
  virtual bool SayAndWait(const QString& text, const QString& locale) = 0;
  // About how long SayAndWait would speak, in ms.
  virtual int64_t LengthMs(const QString& text, const QString& locale) = 0;
  virtual void Abort() {}
};

// Qt's text-to-speech: speech-dispatcher where it has a voice for the
// language, else flite (English only), else any other engine Qt offers. No
// engine is started before the first question asked of it.
std::unique_ptr<TSpeechEngine> MakeQtSpeechEngine();

// About how long a voice takes to speak the text, in ms: a lead-in and a
// pace per character, slower for the syllable-per-character scripts.
int64_t EstimatedSpeechMs(const QString& text);
