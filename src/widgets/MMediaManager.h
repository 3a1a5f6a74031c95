#pragma once
#include <QString>
#include <QStringList>
#include <cstdint>
#include <functional>
#include <memory>
#include <set>
#include <string>

#include "SpeechEngine.h"
#include "session/VoiceOutput.h"

class QEvent;
class QObject;
class QWidget;

// The sound device as the media manager needs it.
class TWavePlayer {
 public:
  virtual ~TWavePlayer() = default;
  // Whether there is a device to play on at all (the creation probe).
  virtual bool Available() = 0;
  // Plays the file and returns when it has ended; false when it could not
  // be played. Never waits much longer than the sound lasts.
  virtual bool PlayAndWait(const QString& path) = 0;
  // Ends a playback in progress (the window is closing).
  virtual void Abort() {}
};

// Starts an external player program and returns without waiting for it.
class TExternalStarter {
 public:
  virtual ~TExternalStarter() = default;
  // True when the program was started. The arguments go to it as they are,
  // never through a shell.
  virtual bool Start(const QString& program, const QStringList& arguments) = 0;
};

// Plays the sound file of a phrase for the exercise window: through the
// sound device, waiting for the end, or, where the probe found no device,
// through "paplay" or else "aplay". Speaks the sides without a sound file.
// One per showing of the exercise window.
class TMediaManager : public TVoiceOutput {
 public:
  // Without player, starter or speech engine the real ones are used.
  explicit TMediaManager(QWidget* owner, std::unique_ptr<TWavePlayer> player = nullptr,
                         std::unique_ptr<TExternalStarter> starter = nullptr,
                         std::unique_ptr<TSpeechEngine> speech = nullptr);
  ~TMediaManager();

  // name: a file-system name (the caller resolved names relative to the
  // program directory). True when the sound was played or the external
  // player started. A name of four characters or fewer (the blank of a pair
  // without sound) gives false. A missing or unplayable file warns once,
  // naming its path, and is not tried again; the other files still play.
  // Only when no external player can be started at all is voice turned off.
  bool PlayWave(const std::string& name) override;
  // Speaks the text in the language of the locale, waiting for the end
  // under the same input gate as a sound. A machine without any speech
  // engine says so once in the program's run, a language without a voice
  // once for each locale; after that they stay silent. An empty locale
  // (the file names none) stays silent without a word. An engine that does
  // not speak when asked counts as none for the rest of the showing.
  bool SpeakText(const std::string& text, const std::string& locale) override;
  // From the wave header; -1 for the blank, a missing or unreadable file.
  int64_t WaveLengthMs(const std::string& name) override;
  // -1 when SpeakText would not speak (voice off, no engine, no voice).
  int64_t SpeechLengthMs(const std::string& text, const std::string& locale) override;

  // The texts of the warning about a sound file, fetched when it is shown
  // (so they follow the interface language and the window's caption).
  struct TWarningTexts {
    QString caption;
    QString missing;     // the file does not exist
    QString unplayable;  // the file exists but cannot be played
    QString noSpeech = {};  // this machine has no speech engine at all
    QString noVoice = {};   // no voice for a language; its name follows
  };
  void SetWarningTexts(std::function<TWarningTexts()> texts) { warningTexts_ = std::move(texts); }

  // True while a sound plays or a text is spoken.
  bool IsPlaying() const { return playing_; }
  // Cuts a sound or speech that is playing short.
  void Abort();
  // The input that acts while a sound plays (STOP, Exit, closing); all other
  // input of the learner is swallowed until the sound has ended.
  using TInputFilter = std::function<bool(QObject* target, QEvent* event)>;
  void SetInputDuringPlayback(TInputFilter allowed) { allowedInput_ = std::move(allowed); }

  bool voiceEnabled = true;
  bool useExternal = false;

 private:
  void Warn(const std::string& name, bool missing);
  // Whether the engine can speak the locale; warns where it cannot.
  bool CanSpeak(const QString& locale, bool warn);

  QWidget* owner_;
  std::unique_ptr<TWavePlayer> player_;
  std::unique_ptr<TExternalStarter> starter_;
  std::unique_ptr<TSpeechEngine> speech_;
  bool playing_ = false;
  bool speechChecked_ = false;
  bool speechAvailable_ = false;
  bool aborted_ = false;
  TInputFilter allowedInput_;
  std::function<TWarningTexts()> warningTexts_;
  // Files that could not be played in this showing: warned about once.
  std::set<std::string> failed_;
};

// The memory of the speech warnings, which holds for the program's run: the
// next exercise window does not say again what the learner has been told.
// Tests start from a fresh one.
void ForgetSpeechWarnings();

// The real sound device (Qt Multimedia) and the real process starter.
std::unique_ptr<TWavePlayer> MakeQtWavePlayer();
// How long the WAV file sounds, from its header; -1 when it cannot be read or is no WAV.
int64_t WaveFileDurationMs(const QString& path);
std::unique_ptr<TExternalStarter> MakeProcessStarter();
