#include "SoundServer.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QThread>
#include <csignal>

bool TSoundServer::Start() {
  if (!runtime.isValid()) return Fail("no temporary folder");
  QFile::setPermissions(runtime.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
  qputenv("XDG_RUNTIME_DIR", runtime.path().toLocal8Bit());
  qputenv("HOME", runtime.path().toLocal8Bit());
  qputenv("PULSE_SERVER", ("unix:" + runtime.path() + "/pulse/native").toLocal8Bit());
  server.setProcessChannelMode(QProcess::MergedChannels);
  server.start("pulseaudio", {"-n", "--daemonize=no", "--exit-idle-time=-1", "--disable-shm=yes", "--use-pid-file=no",
                              "-L", "module-native-protocol-unix", "-L", "module-null-sink sink_name=qm_null"});
  if (!server.waitForStarted(5000)) return Fail("pulseaudio cannot be started");
  for (int i = 0; i < 50; ++i) {
    QProcess info;
    info.start("pactl", {"info"});
    if (info.waitForFinished(2000) && info.exitCode() == 0) return true;
    if (server.state() != QProcess::Running) return Fail("pulseaudio ended: " + server.readAll());
    QThread::msleep(100);
  }
  return Fail("pulseaudio does not answer");
}

bool TSoundServer::Fail(const QString& reason) {
  why = reason;
  return false;
}

TSoundServer::~TSoundServer() {
  // speech-dispatcher, started by the speech library on first use, writes
  // its process id below the runtime folder; it would outlive the test.
  QFile pidFile(runtime.path() + "/speech-dispatcher/pid/speech-dispatcher.pid");
  if (pidFile.open(QIODevice::ReadOnly)) {
    const qint64 pid = pidFile.readAll().trimmed().toLongLong();
    if (pid > 1) ::kill(static_cast<pid_t>(pid), SIGTERM);
  }
  if (server.state() == QProcess::Running) {
    server.terminate();
    if (!server.waitForFinished(3000)) server.kill();
    server.waitForFinished(1000);
  }
}

bool TSinkRecording::Start(QString& why) {
  recorder_.start("parecord", {"--device=qm_null.monitor", "--file-format=wav", dir_.filePath("recorded.wav")});
  if (!recorder_.waitForStarted(3000)) {
    why = "parecord cannot be started";
    return false;
  }
  QThread::msleep(700);  // the recorder connects to the server
  return true;
}

double TSinkRecording::StopAndRms(QString& why) {
  ::kill(static_cast<pid_t>(recorder_.processId()), SIGINT);
  if (!recorder_.waitForFinished(5000)) {
    why = "parecord does not end";
    return -1;
  }
  QProcess sox;
  sox.setProcessChannelMode(QProcess::MergedChannels);
  sox.start("sox", {dir_.filePath("recorded.wav"), "-n", "stat"});
  if (!sox.waitForFinished(10000)) {
    why = "sox does not end";
    return -1;
  }
  const QString stat = QString::fromLocal8Bit(sox.readAll());
  const QRegularExpressionMatch m = QRegularExpression(R"(RMS\s+amplitude:\s+([0-9.]+))").match(stat);
  if (!m.hasMatch()) {
    why = stat;
    return -1;
  }
  return m.captured(1).toDouble();
}
