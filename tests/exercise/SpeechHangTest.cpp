// A speech daemon that takes the connection and never answers: its client
// library would wait for ever. The window must go on within a bounded time,
// with speech off, and the program must still end cleanly. In a process of
// its own, since the speech thread lives for the whole run.
#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QtTest>
#include <cstring>

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include "widgets/MMediaManager.h"
#include "widgets/SpeechEngine.h"

class SpeechHangTest : public QObject {
  Q_OBJECT

  QTemporaryDir dir_;
  int mute_ = -1;  // listens, never accepts, never answers

 private slots:
  void initTestCase() {
    const QString socket = dir_.filePath("speechd.sock");
    mute_ = ::socket(AF_UNIX, SOCK_STREAM, 0);
    QVERIFY(mute_ >= 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const QByteArray path = socket.toLocal8Bit();
    QVERIFY(static_cast<std::size_t>(path.size()) < sizeof(address.sun_path));
    std::memcpy(address.sun_path, path.constData(), static_cast<std::size_t>(path.size()));
    QCOMPARE(::bind(mute_, reinterpret_cast<sockaddr*>(&address), sizeof(address)), 0);
    QCOMPARE(::listen(mute_, 4), 0);
    // The client library connects here instead of starting a daemon.
    qputenv("SPEECHD_ADDRESS", ("unix_socket:" + socket).toLocal8Bit());
  }

  void cleanupTestCase() {
    if (mute_ >= 0) ::close(mute_);
  }

  void aMuteDaemonNeverHangsTheWindow() {
    std::unique_ptr<TSpeechEngine> engine = MakeQtSpeechEngine();
    // The window's timers run on while speech is being started.
    int ticks = 0;
    QTimer tick;
    connect(&tick, &QTimer::timeout, this, [&] { ++ticks; });
    tick.start(50);
    QElapsedTimer clock;
    clock.start();
    const bool available = engine->Available();
    const qint64 probeMs = clock.elapsed();
    QVERIFY2(probeMs < 15000, qPrintable(QString::number(probeMs)));
    QVERIFY(ticks > 10);
    if (available) QSKIP("an engine other than speech-dispatcher answered");
    // Once given up, speaking returns at once.
    clock.restart();
    QVERIFY(!engine->SayAndWait("Guten Morgen", "de"));
    QVERIFY(clock.elapsed() < 1000);
  }
};

QTEST_MAIN(SpeechHangTest)
#include "SpeechHangTest.moc"
