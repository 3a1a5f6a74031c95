#pragma once
// The sound device side of the wave player, in a library of its own
// (quillmere-sound) that the program loads at its first sound: Qt Multimedia
// and the sound system's libraries then cost a start nothing. Tests and tools
// link the library; the loader finds it linked in first.
#include <QString>
#include <cstdint>

class TSoundDevice {
 public:
  virtual ~TSoundDevice() = default;
  // Whether there is a device to play on at all.
  virtual bool Available() = 0;
  // Plays the file and returns when it has ended, at the latest after the
  // sound's length plus a margin; false when it could not be played.
  virtual bool PlayAndWait(const QString& path, int64_t durationMs) = 0;
  virtual void Abort() = 0;
};

// The library's one entry point; the caller owns the device it returns.
extern "C" {
using TSoundDeviceFactory = TSoundDevice* (*)();
}
constexpr const char* kSoundDeviceFactory = "QmCreateSoundDevice";
constexpr const char* kSoundLibraryName = "quillmere-sound";
