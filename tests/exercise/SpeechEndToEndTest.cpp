// Real speech: Qt's text-to-speech on a private PulseAudio server with a
// null sink, its monitor recorded while a side is spoken; the recording must
// not be silent. Skipped (not passed) where no sound server can be started
// or the machine has no speech engine with a German voice. Every wait is
// bounded, so a stuck engine fails the test instead of hanging it.
#include <QApplication>
#include <QElapsedTimer>
#include <QPushButton>
#include <QTimer>
#include <QWidget>
#include <QtTest>

#include "SoundServer.h"
#include "widgets/GeneralUtil.h"
#include "widgets/MMediaManager.h"
#include "widgets/SpeechEngine.h"

namespace {

TSoundServer* soundServer = nullptr;

}  // namespace

class SpeechEndToEndTest : public QObject {
  Q_OBJECT

  std::unique_ptr<TSpeechEngine> engine_;
  QString whyNot_;  // why speech cannot be tested here

 private slots:
  void initTestCase() {
    if (!soundServer->why.isEmpty()) {
      whyNot_ = "no sound server: " + soundServer->why;
      return;
    }
    engine_ = MakeQtSpeechEngine();
    QElapsedTimer clock;
    clock.start();
    if (!engine_->Available())
      whyNot_ = "no speech engine (install qt6-speech-speechd-plugin and speech-dispatcher-espeak-ng)";
    else if (!engine_->HasVoice("de"))
      whyNot_ = "the speech engine has no German voice (install speech-dispatcher-espeak-ng)";
    qInfo("the speech engine answered after %lld ms", static_cast<long long>(clock.elapsed()));
  }

  // A locale names a language; its voice may name a country too.
  void voicesAreFoundByLanguage() {
    if (!whyNot_.isEmpty()) QSKIP(qPrintable(whyNot_));
    QVERIFY(engine_->HasVoice("de_DE"));
    QVERIFY(engine_->HasVoice("en"));
    QVERIFY(!engine_->HasVoice("tlh"));  // Klingon: no engine here speaks it
    QVERIFY(!engine_->HasVoice(""));
  }

  void speechIsHeardOnTheSink() {
    if (!whyNot_.isEmpty()) QSKIP(qPrintable(whyNot_));
    TSinkRecording recording;
    QString why;
    if (!recording.Start(why)) QSKIP(qPrintable(why));
    QWidget owner;
    QList<TMessageRequest> asked;
    const TMessageBoxHook old = SetMessageBoxHook([&](const TMessageRequest& r) {
      asked << r;
      return int(QMessageBox::Ok);
    });
    TMediaManager media(&owner);
    const std::string text = "Guten Morgen, wie geht es dir?";
    const int64_t estimate = media.SpeechLengthMs(text, "de");
    QVERIFY(estimate > 0);
    QElapsedTimer clock;
    clock.start();
    QVERIFY(media.SpeakText(text, "de"));
    const int64_t spoken = clock.elapsed();
    SetMessageBoxHook(old);
    qInfo("spoken in %lld ms, estimated %lld ms", static_cast<long long>(spoken), static_cast<long long>(estimate));
    QVERIFY(asked.isEmpty());
    // It waited for the voice, and not much longer than the estimate allows.
    QVERIFY(spoken > 500);
    QVERIFY(spoken < 2 * estimate + 7000);
    QTest::qWait(300);
    const double rms = recording.StopAndRms(why);
    QVERIFY2(rms >= 0, qPrintable(why));
    QVERIFY2(rms > 0.001, qPrintable(QString::number(rms)));
  }

  // STOP cuts a long text at once; other clicks do not act during it.
  void stopCutsLongSpeech() {
    if (!whyNot_.isEmpty()) QSKIP(qPrintable(whyNot_));
    QWidget window;
    auto* stop = new QPushButton("STOP", &window);
    auto* other = new QPushButton("other", &window);
    other->move(0, 40);
    window.show();
    TMediaManager media(&window);
    media.SetInputDuringPlayback([stop](QObject* target, QEvent*) { return target == stop; });
    int otherClicks = 0;
    QObject::connect(other, &QPushButton::clicked, [&] { ++otherClicks; });
    QObject::connect(stop, &QPushButton::clicked, [&] { media.Abort(); });
    QTimer::singleShot(1500, [&] {
      QTest::mouseClick(other, Qt::LeftButton);
      QTest::mouseClick(stop, Qt::LeftButton);
    });
    QString longText;
    for (int i = 0; i < 20; ++i) longText += QStringLiteral("Dies ist ein langer Satz, der nicht zu Ende gesprochen wird. ");
    QElapsedTimer clock;
    clock.start();
    QVERIFY(media.SpeakText(longText.toStdString(), "de"));  // spoken until cut
    qInfo("cut after %lld ms", static_cast<long long>(clock.elapsed()));
    QVERIFY2(clock.elapsed() >= 1400, "the speech ended before STOP");
    QVERIFY2(clock.elapsed() < 10000, "the speech was not cut");
    QVERIFY(!media.IsPlaying());
    QCOMPARE(otherClicks, 0);
  }
};

int main(int argc, char** argv) {
  // The server must run before the application (and speech-dispatcher,
  // which the first question to the engine starts) looks for it.
  TSoundServer server;
  server.Start();
  soundServer = &server;
  QApplication app(argc, argv);
  SpeechEndToEndTest test;
  return QTest::qExec(&test, argc, argv);
}

#include "SpeechEndToEndTest.moc"
