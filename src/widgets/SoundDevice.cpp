// The Qt Multimedia player; built into the quillmere-sound library only.
#include "SoundDevice.h"

#include <QAudioDevice>
#include <QEventLoop>
#include <QMediaDevices>
#include <QPointer>
#include <QSoundEffect>
#include <QTimer>
#include <QUrl>
#include <algorithm>

namespace {

constexpr int kLoadLimitMs = 3000;   // decoding a wave file takes far less
constexpr int kStartLimitMs = 1500;  // a device that takes longer will not play
constexpr int kEndMarginMs = 1000;   // beyond the sound's own length

class TQtSoundDevice : public TSoundDevice {
 public:
  bool Available() override { return !QMediaDevices::defaultAudioOutput().isNull(); }

  bool PlayAndWait(const QString& path, int64_t durationMs) override {
    QSoundEffect effect;
    effect.setSource(QUrl::fromLocalFile(path));
    if (!WaitFor(effect, kLoadLimitMs,
                 [&] { return effect.status() == QSoundEffect::Ready || effect.status() == QSoundEffect::Error; }) ||
        effect.status() != QSoundEffect::Ready)
      return false;
    effect.play();
    if (!WaitFor(effect, kStartLimitMs, [&] { return effect.isPlaying(); })) {
      effect.stop();
      return false;
    }
    // Without a working device the effect may start and never end: the wait
    // ends after the sound's length plus a margin at the latest.
    WaitFor(effect, static_cast<int>(std::min<int64_t>(durationMs, 3600000)) + kEndMarginMs,
            [&] { return !effect.isPlaying(); });
    effect.stop();
    return true;
  }

  void Abort() override {
    aborted_ = true;
    if (loop_) loop_->quit();
  }

 private:
  // Runs events until done() holds or the limit has passed; false on the
  // limit. The media manager's gate keeps the learner's input out, but for
  // STOP, Exit and closing, which cut the sound through Abort.
  template <class Done>
  bool WaitFor(QSoundEffect& effect, int limitMs, Done done) {
    aborted_ = false;
    if (done()) return true;
    QEventLoop loop;
    QTimer limit;
    limit.setSingleShot(true);
    QObject::connect(&limit, &QTimer::timeout, &loop, &QEventLoop::quit);
    auto check = [&] {
      if (done()) loop.quit();
    };
    QObject::connect(&effect, &QSoundEffect::statusChanged, &loop, check);
    QObject::connect(&effect, &QSoundEffect::playingChanged, &loop, check);
    limit.start(limitMs);
    loop_ = &loop;
    loop.exec();
    loop_ = nullptr;
    return !aborted_ && done();
  }

  QPointer<QEventLoop> loop_;
  bool aborted_ = false;
};

}  // namespace

extern "C" Q_DECL_EXPORT TSoundDevice* QmCreateSoundDevice() { return new TQtSoundDevice; }
