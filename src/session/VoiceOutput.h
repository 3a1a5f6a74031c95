#pragma once
#include <string>

// Plays the sound files of the exercise run.
class TVoiceOutput {
 public:
  virtual ~TVoiceOutput() = default;
  // Plays the file and returns when it has ended; false when nothing played.
  virtual bool PlayWave(const std::string& name) = 0;
};
