#include "MMediaManager.h"

#include "exercise/PlaybackInputGate.h"
#include "storage/CodePage.h"
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
  if (!FileExistsWarn(name, kCaption, owner_)) {
    voiceEnabled = false;  // one warning, not one per pair
    return false;
  }
  const QString path = QString::fromLocal8Bit(NativePath(name).native().c_str());
  bool played = false;
  if (!useExternal) {
    TPlaybackInputGate gate(allowedInput_);
    aborted_ = false;
    playing_ = true;
    played = player_->PlayAndWait(path);
    playing_ = false;
  } else {
    played = starter_->Start(QStringLiteral("paplay"), {path}) || starter_->Start(QStringLiteral("aplay"), {path});
  }
  // A sound cut short by the learner says nothing about the device.
  if (!played && !aborted_) voiceEnabled = false;
  return played;
}
