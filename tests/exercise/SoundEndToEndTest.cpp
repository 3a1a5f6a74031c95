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

#include "SoundServer.h"
#include "widgets/MMediaManager.h"

namespace {

TSoundServer* soundServer = nullptr;

}  // namespace

class SoundEndToEndTest : public QObject {
  Q_OBJECT

 private slots:
  void playWaveIsHeardOnTheSink() {
    if (!soundServer->why.isEmpty()) QSKIP(qPrintable("no sound server: " + soundServer->why));
    TSinkRecording recording;
    QString why;
    if (!recording.Start(why)) QSKIP(qPrintable(why));

    QWidget owner;
    TMediaManager media(&owner);
    QVERIFY2(!media.useExternal, "the probe found no sound device on the running server");
    QVERIFY(media.PlayWave(QM_FIXTURE_DIR "/good_morning.wav"));

    QTest::qWait(300);
    const double rms = recording.StopAndRms(why);
    QVERIFY2(rms >= 0, qPrintable(why));
    QVERIFY2(rms > 0.001, qPrintable(QString::number(rms)));
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
