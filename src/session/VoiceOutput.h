#pragma once
#include <cstdint>
#include <string>

// Plays the sound files of the exercise run and speaks the sides that have none.
class TVoiceOutput {
 public:
  virtual ~TVoiceOutput() = default;
  // Plays the file and returns when it has ended; false when nothing played.
  virtual bool PlayWave(const std::string& name) = 0;
  // Speaks a text (UTF-8) in a language ("de", "ru", "pt_BR") and returns
  // when it has been spoken; false when nothing was spoken (no engine, no
  // voice for the language, speech switched off). Never waits much longer
  // than the speech lasts.
  virtual bool SpeakText(const std::string& text, const std::string& locale) {
    (void)text;
    (void)locale;
    return false;
  }
  // How long PlayWave of the file would sound, in ms; -1 when unknown.
  virtual int64_t WaveLengthMs(const std::string& name) {
    (void)name;
    return -1;
  }
  // About how long SpeakText of the text would speak, in ms; -1 when it
  // would not speak at all.
  virtual int64_t SpeechLengthMs(const std::string& text, const std::string& locale) {
    (void)text;
    (void)locale;
    return -1;
  }
};
