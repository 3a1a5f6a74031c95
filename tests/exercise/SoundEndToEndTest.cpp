// One real playback: a private PulseAudio server with a null sink, its
// monitor recorded while PlayWave plays a spoken phrase; the recording must
// not be silent. Skipped (not passed) where no sound server can be started.
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QPushButton>
#include <QTimer>
#include <QTemporaryDir>
#include <QWidget>
#include <QtTest>
#include <csignal>

#include "widgets/MMediaManager.h"

namespace {

struct TSoundServer {
  QTemporaryDir runtime;
  QProcess server;
  QString why;  // empty when running

  bool Start() {
    if (!runtime.isValid()) return Fail("no temporary folder");
    QFile::setPermissions(runtime.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    qputenv("XDG_RUNTIME_DIR", runtime.path().toLocal8Bit());
    qputenv("HOME", runtime.path().toLocal8Bit());
    qputenv("PULSE_SERVER", ("unix:" + runtime.path() + "/pulse/native").toLocal8Bit());
    server.setProcessChannelMode(QProcess::MergedChannels);
    server.start("pulseaudio", {"-n", "--daemonize=no", "--exit-idle-time=-1", "--disable-shm=yes",
                                "--use-pid-file=no", "-L", "module-native-protocol-unix", "-L",
                                "module-null-sink sink_name=qm_null"});
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
  bool Fail(const QString& reason) {
    why = reason;
    return false;
  }
  ~TSoundServer() {
    if (server.state() == QProcess::Running) {
      server.terminate();
      if (!server.waitForFinished(3000)) server.kill();
      server.waitForFinished(1000);
    }
  }
};

TSoundServer* soundServer = nullptr;

}  // namespace

class SoundEndToEndTest : public QObject {
  Q_OBJECT

 private slots:
  void playWaveIsHeardOnTheSink() {
    if (!soundServer->why.isEmpty()) QSKIP(qPrintable("no sound server: " + soundServer->why));
    QTemporaryDir out;
    const QString recording = out.filePath("recorded.wav");
    QProcess recorder;
    recorder.start("parecord", {"--device=qm_null.monitor", "--file-format=wav", recording});
    if (!recorder.waitForStarted(3000)) QSKIP("parecord cannot be started");
    QTest::qWait(700);  // the recorder connects to the server

    QWidget owner;
    TMediaManager media(&owner);
    QVERIFY2(!media.useExternal, "the probe found no sound device on the running server");
    QVERIFY(media.PlayWave(QM_FIXTURE_DIR "/good_morning.wav"));

    QTest::qWait(300);
    ::kill(static_cast<pid_t>(recorder.processId()), SIGINT);
    QVERIFY(recorder.waitForFinished(5000));

    QProcess sox;
    sox.setProcessChannelMode(QProcess::MergedChannels);
    sox.start("sox", {recording, "-n", "stat"});
    QVERIFY(sox.waitForFinished(10000));
    const QString stat = QString::fromLocal8Bit(sox.readAll());
    const QRegularExpression rms(R"(RMS\s+amplitude:\s+([0-9.]+))");
    const QRegularExpressionMatch m = rms.match(stat);
    QVERIFY2(m.hasMatch(), qPrintable(stat));
    QVERIFY2(m.captured(1).toDouble() > 0.001, qPrintable(stat));
  }

  // Exit waited 36 seconds for a 40-second sound to end: STOP, Exit and
  // closing must cut it, and other clicks must not run during it.
  void stopCutsALongSound() {
    if (!soundServer->why.isEmpty()) QSKIP(qPrintable("no sound server: " + soundServer->why));
    QTemporaryDir dir;
    const QString longWave = dir.filePath("long.wav");
    QProcess sox;
    sox.start("sox", {"-n", "-r", "16000", "-c", "1", "-b", "16", longWave, "synth", "40", "sine", "440", "vol", "0.1"});
    QVERIFY(sox.waitForFinished(20000) && sox.exitCode() == 0);

    QWidget window;
    auto* stop = new QPushButton("STOP", &window);
    auto* other = new QPushButton("other", &window);
    other->move(0, 40);
    window.show();
    TMediaManager media(&window);
    QVERIFY2(!media.useExternal, "the probe found no sound device on the running server");
    media.SetInputDuringPlayback([stop](QObject* target, QEvent*) { return target == stop; });
    int otherClicks = 0;
    QObject::connect(other, &QPushButton::clicked, [&] { ++otherClicks; });
    QElapsedTimer sinceStop;
    QObject::connect(stop, &QPushButton::clicked, [&] {
      sinceStop.start();
      media.Abort();
    });
    QTimer::singleShot(500, [&] {
      QTest::mouseClick(other, Qt::LeftButton);
      QTest::mouseClick(stop, Qt::LeftButton);
    });
    QElapsedTimer all;
    all.start();
    media.PlayWave(longWave.toStdString());
    qInfo("STOP ended the playback after %lld ms", static_cast<long long>(sinceStop.elapsed()));
    QVERIFY2(all.elapsed() < 10000, "the sound was not cut");
    QVERIFY(sinceStop.isValid());
    QCOMPARE(otherClicks, 0);
    QVERIFY(media.voiceEnabled);  // cut by the learner, not broken
  }
};

int main(int argc, char** argv) {
  // The server must run before the application looks for sound devices.
  TSoundServer server;
  server.Start();
  soundServer = &server;
  QApplication app(argc, argv);
  SoundEndToEndTest test;
  return QTest::qExec(&test, argc, argv);
}

#include "SoundEndToEndTest.moc"
