// The real players behind TMediaManager.
#include <dlfcn.h>

#include <QCoreApplication>
#include <QFile>
#include <QLibrary>
#include <QProcess>

#include "MMediaManager.h"
#include "SoundDevice.h"
#include "storage/WaveInfo.h"

namespace {

// The sound library: linked in (tests, tools), else beside the program or in
// its library folder when installed.
std::unique_ptr<TSoundDevice> LoadSoundDevice() {
  auto factory = reinterpret_cast<TSoundDeviceFactory>(dlsym(RTLD_DEFAULT, kSoundDeviceFactory));
  const QString appDir = QCoreApplication::applicationDirPath();
  for (const QString& dir : {appDir, appDir + QStringLiteral("/" QM_SOUND_LIBRARY_SUBDIR)}) {
    if (factory != nullptr) break;
    // Never unloaded: the device it makes may outlive any one owner.
    QLibrary library(dir + QLatin1Char('/') + QLatin1String(kSoundLibraryName));
    factory = reinterpret_cast<TSoundDeviceFactory>(library.resolve(kSoundDeviceFactory));
  }
  return std::unique_ptr<TSoundDevice>(factory != nullptr ? factory() : nullptr);
}

// Loads the sound library at its first use, not at the program's start.
class TQtWavePlayer : public TWavePlayer {
 public:
  bool Available() override { return Device() != nullptr && Device()->Available(); }

  bool PlayAndWait(const QString& path) override {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return false;
    const QByteArray headBytes = file.read(4096);
    const TBytes head(headBytes.begin(), headBytes.end());
    const int64_t duration = WaveDurationMs(head, file.size());
    file.close();
    if (duration < 0 || Device() == nullptr) return false;
    return Device()->PlayAndWait(path, duration);
  }

  void Abort() override {
    if (device_) device_->Abort();
  }

 private:
  TSoundDevice* Device() {
    if (!tried_) {
      tried_ = true;
      device_ = LoadSoundDevice();
    }
    return device_.get();
  }

  std::unique_ptr<TSoundDevice> device_;
  bool tried_ = false;
};

class TProcessStarter : public TExternalStarter {
 public:
  bool Start(const QString& program, const QStringList& arguments) override {
    return QProcess::startDetached(program, arguments);
  }
};

}  // namespace

std::unique_ptr<TWavePlayer> MakeQtWavePlayer() { return std::make_unique<TQtWavePlayer>(); }
std::unique_ptr<TExternalStarter> MakeProcessStarter() { return std::make_unique<TProcessStarter>(); }
