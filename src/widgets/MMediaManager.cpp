#include "MMediaManager.h"

#include <QFile>
#include <QFileInfo>

#include "PlaybackInputGate.h"
#include "GeneralUtil.h"
#include "core/CodePage.h"
#include "storage/FileUtil.h"

TMediaManager::TMediaManager(QWidget* owner, std::unique_ptr<TWavePlayer> player,
                             std::unique_ptr<TExternalStarter> starter)
    : owner_(owner), player_(std::move(player)), starter_(std::move(starter)) {
  if (!player_) player_ = MakeQtWavePlayer();
  if (!starter_) starter_ = MakeProcessStarter();
  // Only this probe decides between the device and the external programs.
  useExternal = !player_->Available();
}

TMediaManager::~TMediaManager() = default;

void TMediaManager::Abort() {
  if (!playing_) return;
  aborted_ = true;
  player_->Abort();
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
