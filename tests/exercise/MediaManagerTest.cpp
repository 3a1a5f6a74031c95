// Which sound plays when, through a recording player: short names, missing
// files, player errors, the external players and their arguments.
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QWidget>
#include <QtTest>
#include <map>

#include "exercise/MMediaManager.h"
#include "storage/FileUtil.h"

namespace {

struct TLog {
  QStringList played;
  QList<QPair<QString, QStringList>> started;
  QStringList warnings;
};

class TFakePlayer : public TWavePlayer {
 public:
  TFakePlayer(TLog& log, bool available, bool plays) : log_(log), available_(available), plays_(plays) {}
  bool Available() override { return available_; }
  bool PlayAndWait(const QString& path) override {
    log_.played << path;
    return plays_;
  }

 private:
  TLog& log_;
  bool available_, plays_;
};

class TFakeStarter : public TExternalStarter {
 public:
  TFakeStarter(TLog& log, std::map<QString, bool> starts) : log_(log), starts_(std::move(starts)) {}
  bool Start(const QString& program, const QStringList& arguments) override {
    log_.started.append({program, arguments});
    return starts_[program];
  }

 private:
  TLog& log_;
  std::map<QString, bool> starts_;
};

}  // namespace

class MediaManagerTest : public QObject {
  Q_OBJECT

  QTemporaryDir dir_;
  QWidget owner_;
  TLog log_;
  TFileWarnHook oldHook_;

  std::string MakeWav(const QString& name) {
    const QString path = dir_.filePath(name);
    QFile f(path);
    f.open(QIODevice::WriteOnly);
    f.write("RIFF");
    return path.toStdString();
  }

  std::unique_ptr<TMediaManager> Make(bool available, bool plays, std::map<QString, bool> starts = {}) {
    return std::make_unique<TMediaManager>(&owner_, std::make_unique<TFakePlayer>(log_, available, plays),
                                           std::make_unique<TFakeStarter>(log_, std::move(starts)));
  }

 private slots:
  void initTestCase() {
    QVERIFY(dir_.isValid());
    oldHook_ = SetFileWarnHook([this](const std::string& caption, const std::string& text, const void*) {
      log_.warnings << QString::fromStdString(caption + ": " + text);
    });
  }
  void cleanupTestCase() { SetFileWarnHook(oldHook_); }
  void init() { log_ = TLog{}; }

  // A pair without sound used to silence every later pair of the showing.
  void blankSoundNameLeavesVoiceOnForLaterPairs() {
    const std::string wav = MakeWav("a.wav");
    auto mm = Make(true, true);
    for (const std::string& shortName : {std::string(" "), std::string(""), std::string("a.wa")}) {
      QVERIFY(!mm->PlayWave(shortName));
      QVERIFY(mm->voiceEnabled);
    }
    QVERIFY(mm->PlayWave(wav));
    QCOMPARE(log_.played, QStringList{QString::fromStdString(wav)});
    QVERIFY(log_.warnings.isEmpty());
  }

  void missingFileWarnsOnceThenVoiceIsOff() {
    const std::string wav = MakeWav("b.wav");
    auto mm = Make(true, true);
    QVERIFY(!mm->PlayWave(dir_.filePath("missing.wav").toStdString()));
    QCOMPARE(log_.warnings.size(), 1);
    QVERIFY(log_.warnings[0].startsWith("mediaManager: missing.wav"));
    QVERIFY(!mm->PlayWave(dir_.filePath("other-missing.wav").toStdString()));
    QVERIFY(!mm->PlayWave(wav));
    QCOMPARE(log_.warnings.size(), 1);
    QVERIFY(log_.played.isEmpty());
    // The next showing has a new media manager: voice is on again.
    auto next = Make(true, true);
    QVERIFY(next->PlayWave(wav));
  }

  void playerErrorTurnsVoiceOff() {
    const std::string wav = MakeWav("c.wav");
    auto mm = Make(true, false);
    QVERIFY(!mm->PlayWave(wav));
    QVERIFY(!mm->voiceEnabled);
    QVERIFY(!mm->PlayWave(wav));
    QCOMPARE(log_.played.size(), 1);
    QVERIFY(log_.warnings.isEmpty());
  }

  // A played sound used to send every later sound to the external programs.
  void successfulPlaybackKeepsTheDevice() {
    const std::string wav = MakeWav("d.wav");
    auto mm = Make(true, true);
    QVERIFY(!mm->useExternal);
    QVERIFY(mm->PlayWave(wav));
    QVERIFY(mm->PlayWave(wav));
    QVERIFY(!mm->useExternal);
    QCOMPARE(log_.played.size(), 2);
    QVERIFY(log_.started.isEmpty());
  }

  // The real player refuses what is no wave file at once, without waiting.
  void realPlayerRefusesFilesThatAreNoWave() {
    auto player = MakeQtWavePlayer();
    const QString notWave = QString::fromStdString(MakeWav("text.wav"));  // "RIFF" and nothing more
    QElapsedTimer clock;
    clock.start();
    QVERIFY(!player->PlayAndWait(notWave));
    QVERIFY(!player->PlayAndWait(dir_.filePath("missing.wav")));
    QVERIFY(clock.elapsed() < 1000);
  }

  void externalPlayers_data() {
    QTest::addColumn<bool>("paplay");
    QTest::addColumn<bool>("aplay");
    QTest::addColumn<QStringList>("tried");
    QTest::addColumn<bool>("result");
    QTest::newRow("paplay starts: aplay not tried") << true << false << QStringList{"paplay"} << true;
    QTest::newRow("paplay missing: aplay") << false << true << QStringList{"paplay", "aplay"} << true;
    QTest::newRow("neither starts") << false << false << QStringList{"paplay", "aplay"} << false;
  }
  void externalPlayers() {
    QFETCH(bool, paplay);
    QFETCH(bool, aplay);
    QFETCH(QStringList, tried);
    QFETCH(bool, result);
    // Blanks and shell characters stay one argument, never interpreted.
    const std::string wav = MakeWav("it's a $(touch x); b&c.wav");
    auto mm = Make(false, true, {{"paplay", paplay}, {"aplay", aplay}});
    QVERIFY(mm->useExternal);
    QCOMPARE(mm->PlayWave(wav), result);
    QStringList programs;
    for (const auto& s : log_.started) {
      programs << s.first;
      QCOMPARE(s.second, QStringList{QString::fromStdString(wav)});
    }
    QCOMPARE(programs, tried);
    QCOMPARE(mm->voiceEnabled, result);
    QVERIFY(log_.played.isEmpty());
  }
};

QTEST_MAIN(MediaManagerTest)
#include "MediaManagerTest.moc"
