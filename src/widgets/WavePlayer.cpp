// The real players behind TMediaManager.
#include <dlfcn.h>

#include <QCoreApplication>
#include <QFile>
#include <QProcess>
#include <string>

#include "MMediaManager.h"
#include "SoundDevice.h"
#include "storage/WaveInfo.h"

namespace {

// The sound library: linked in, beside the program, in its library folder
// when installed, or else where the system (or the executable's run path, as
// in the tests) finds it. Never unloaded: the device may outlive any owner.
std::unique_ptr<TSoundDevice> LoadSoundDevice() {
  auto factory = reinterpret_cast<TSoundDeviceFactory>(dlsym(RTLD_DEFAULT, kSoundDeviceFactory));
  const std::string file = std::string("lib") + kSoundLibraryName + ".so";
  const std::string appDir = QCoreApplication::applicationDirPath().toStdString();
  for (const std::string& name : {appDir + "/" + file, appDir + "/" QM_SOUND_LIBRARY_SUBDIR "/" + file, file}) {
    if (factory != nullptr) break;
    if (void* library = dlopen(name.c_str(), RTLD_NOW | RTLD_LOCAL))
      factory = reinterpret_cast<TSoundDeviceFactory>(dlsym(library, kSoundDeviceFactory));
  }
  return std::unique_ptr<TSoundDevice>(factory != nullptr ? factory() : nullptr);
}

// Loads the sound library at its first use, not at the program's start.
class TQtWavePlayer : public TWavePlayer {
 public:
  bool Available() override { return Device() != nullptr && Device()->Available(); }

  bool PlayAndWait(const QString& path) override {
    const int64_t duration = WaveFileDurationMs(path);
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

int64_t WaveFileDurationMs(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return -1;
  const QByteArray headBytes = file.read(4096);
  return WaveDurationMs(TBytes(headBytes.begin(), headBytes.end()), file.size());
}

std::unique_ptr<TWavePlayer> MakeQtWavePlayer() { return std::make_unique<TQtWavePlayer>(); }
std::unique_ptr<TExternalStarter> MakeProcessStarter() { return std::make_unique<TProcessStarter>(); }
