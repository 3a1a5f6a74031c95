#include "MMediaManager.h"

#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <set>

#include "PlaybackInputGate.h"
#include "GeneralUtil.h"
#include "core/CodePage.h"
#include "storage/FileUtil.h"

namespace {

// What the learner has been told about speech in this run of the program.
struct TSpeechWarnings {
  bool noEngine = false;
  std::set<QString> noVoice;  // locales
};

TSpeechWarnings& SpeechWarnings() {
  static TSpeechWarnings warnings;
  return warnings;
}

// "Deutsch (de)": the language by its own name, which reads the same in
// any interface language, and the locale as the file names it.
QString LanguageOf(const QString& locale) {
  const QLocale known(locale);
  if (known.language() == QLocale::C || known.nativeLanguageName().isEmpty()) return locale;
  return known.nativeLanguageName() + " (" + locale + ")";
}

}  // namespace

void ForgetSpeechWarnings() { SpeechWarnings() = TSpeechWarnings{}; }

TMediaManager::TMediaManager(QWidget* owner, std::unique_ptr<TWavePlayer> player,
                             std::unique_ptr<TExternalStarter> starter, std::unique_ptr<TSpeechEngine> speech)
    : owner_(owner), player_(std::move(player)), starter_(std::move(starter)), speech_(std::move(speech)) {
  if (!player_) player_ = MakeQtWavePlayer();
  if (!starter_) starter_ = MakeProcessStarter();
  if (!speech_) speech_ = MakeQtSpeechEngine();
  // Only this probe decides between the device and the external programs.
  useExternal = !player_->Available();
}

TMediaManager::~TMediaManager() = default;

void TMediaManager::Abort() {
  if (!playing_) return;
  aborted_ = true;
  player_->Abort();
  speech_->Abort();
}

bool TMediaManager::PlayWave(const std::string& name) {
  if (!voiceEnabled) return false;
  // The single blank of a pair without sound: nothing to play, and the
  // pairs after it may well have sound.
  if (name.size() <= 4) return false;
  // A bad file is named once; trying it again would only delay the pairs.
  if (failed_.count(name) > 0) return false;
  if (!FileExistsWarn(name)) {
    Warn(name, true);
    return false;
  }
  const QString path = QFile::decodeName(NativePath(name).native().c_str());
  if (!useExternal) {
    bool played = false;
    {
      TPlaybackInputGate gate(allowedInput_);
      aborted_ = false;
      playing_ = true;
      played = player_->PlayAndWait(path);
      playing_ = false;
    }
    // A sound cut short by the learner says nothing about the file.
    if (!played && !aborted_) Warn(name, false);
    return played;
  }
  const bool started =
      starter_->Start(QStringLiteral("paplay"), {path}) || starter_->Start(QStringLiteral("aplay"), {path});
  // Without any player program no sound can play: no use trying each pair.
  if (!started) voiceEnabled = false;
  return started;
}

void TMediaManager::Warn(const std::string& name, bool missing) {
  failed_.insert(name);
  const TWarningTexts texts = warningTexts_ ? warningTexts_() : TWarningTexts{};
  const QString path = QFileInfo(QFile::decodeName(NativePath(name).native().c_str())).absoluteFilePath();
  ShowMessageBox(owner_, texts.caption, (missing ? texts.missing : texts.unplayable) + "\n" + path,
                 QMessageBox::Warning, QMessageBox::Ok, true);
}

bool TMediaManager::CanSpeak(const QString& locale, bool warn) {
  if (!voiceEnabled || locale.trimmed().isEmpty()) return false;
  if (!speechChecked_) {
    speechChecked_ = true;
    // Starting the engine takes seconds: the learner's keys wait as during
    // a sound, and a close waits for its end, so the run is not re-entered
    // nor this manager ended under its own call.
    TPlaybackInputGate gate(allowedInput_);
    playing_ = true;
    speechAvailable_ = speech_->Available();
    playing_ = false;
  }
  TSpeechWarnings& told = SpeechWarnings();
  const auto tell = [this](QString TWarningTexts::*text, const QString& detail) {
    const TWarningTexts texts = warningTexts_ ? warningTexts_() : TWarningTexts{};
    ShowMessageBox(owner_, texts.caption, texts.*text + detail, QMessageBox::Information, QMessageBox::Ok, false);
  };
  if (!speechAvailable_) {
    if (warn && !told.noEngine) {
      told.noEngine = true;
      tell(&TWarningTexts::noSpeech, {});
    }
    return false;
  }
  if (speech_->HasVoice(locale)) return true;
  if (warn && told.noVoice.insert(locale).second) tell(&TWarningTexts::noVoice, "\n" + LanguageOf(locale));
  return false;
}

bool TMediaManager::SpeakText(const std::string& text, const std::string& locale) {
  const QString phrase = QString::fromStdString(text).trimmed();
  if (phrase.isEmpty() || !CanSpeak(QString::fromStdString(locale), true)) return false;
  TPlaybackInputGate gate(allowedInput_);
  aborted_ = false;
  playing_ = true;
  const bool spoken = speech_->SayAndWait(phrase, QString::fromStdString(locale));
  playing_ = false;
  // An engine that has the voice but does not speak (no sound device, a
  // daemon that does not answer) would cost every later side its waits:
  // the showing goes on without speech, as on a machine without any.
  if (!spoken && !aborted_) {
    speechAvailable_ = false;
    CanSpeak(QString::fromStdString(locale), true);
  }
  return spoken;
}

int64_t TMediaManager::WaveLengthMs(const std::string& name) {
  if (name.size() <= 4) return -1;
  return WaveFileDurationMs(QFile::decodeName(NativePath(name).native().c_str()));
}

int64_t TMediaManager::SpeechLengthMs(const std::string& text, const std::string& locale) {
  const QString phrase = QString::fromStdString(text).trimmed();
  if (phrase.isEmpty() || !CanSpeak(QString::fromStdString(locale), false)) return -1;
  return speech_->LengthMs(phrase, QString::fromStdString(locale));
}
