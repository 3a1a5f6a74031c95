// Which sound plays when, through a recording player: short names, missing
// files, player errors, the external players and their arguments.
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QWidget>
#include <QtTest>
#include <QFileInfo>
#include <functional>
#include <map>

#include "widgets/MMediaManager.h"
#include "widgets/GeneralUtil.h"
#include "storage/FileUtil.h"

namespace {

struct TLog {
  QStringList played;
  QList<QPair<QString, QStringList>> started;
  QStringList warnings;
};

class TFakePlayer : public TWavePlayer {
 public:
  // broken: file names (without folder) the player refuses.
  TFakePlayer(TLog& log, bool available, bool plays, QStringList broken = {})
      : log_(log), available_(available), plays_(plays), broken_(std::move(broken)) {}
  bool Available() override { return available_; }
  bool PlayAndWait(const QString& path) override {
    log_.played << path;
    if (onPlay) onPlay();
    return plays_ && !broken_.contains(QFileInfo(path).fileName());
  }
  std::function<void()> onPlay;

 private:
  TLog& log_;
  bool available_, plays_;
  QStringList broken_;
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

  // One missing or damaged sound used to silence the rest of the exercise,
  // under a box titled "mediaManager" that named the file without its folder.
  void badSoundWarnsOncePerFileAndLaterSoundsPlay_data() {
    QTest::addColumn<bool>("exists");
    QTest::addColumn<QString>("text");
    QTest::newRow("missing") << false << QStringLiteral("not there:");
    QTest::newRow("unplayable") << true << QStringLiteral("cannot play:");
  }
  void badSoundWarnsOncePerFileAndLaterSoundsPlay() {
    QFETCH(bool, exists);
    QFETCH(QString, text);
    const std::string good = MakeWav("good.wav");
    const std::string bad1 = exists ? MakeWav("bad1.wav") : dir_.filePath("bad1.wav").toStdString();
    const std::string bad2 = exists ? MakeWav("bad2.wav") : dir_.filePath("bad2.wav").toStdString();
    QList<TMessageRequest> asked;
    const TMessageBoxHook old = SetMessageBoxHook([&](const TMessageRequest& r) {
      asked << r;
      return int(QMessageBox::Ok);
    });
    owner_.setWindowTitle(QStringLiteral("Exercise - English/German"));
    auto mm = std::make_unique<TMediaManager>(
        &owner_, std::make_unique<TFakePlayer>(log_, true, true, QStringList{"bad1.wav", "bad2.wav"}),
        std::make_unique<TFakeStarter>(log_, std::map<QString, bool>{}));
    mm->SetWarningTexts([] {
      return TMediaManager::TWarningTexts{QString(), QStringLiteral("not there:"), QStringLiteral("cannot play:")};
    });
    for (const std::string& name : {bad1, good, bad1, bad2, good, bad2}) mm->PlayWave(name);
    SetMessageBoxHook(old);
    QVERIFY(mm->voiceEnabled);
    QCOMPARE(log_.played.count(QString::fromStdString(good)), 2);
    QCOMPARE(asked.size(), 2);
    for (int i = 0; i < 2; ++i) {
      QCOMPARE(asked[i].owner, &owner_);
      QCOMPARE(asked[i].text, text + "\n" + QFileInfo(QString::fromStdString(i == 0 ? bad1 : bad2)).absoluteFilePath());
      QVERIFY(asked[i].beep);
    }
    QVERIFY(log_.warnings.isEmpty());
  }

  // A sound cut short by the learner is no fault of the file.
  void abortedSoundIsNoWarning() {
    const std::string wav = MakeWav("e.wav");
    QList<TMessageRequest> asked;
    const TMessageBoxHook old = SetMessageBoxHook([&](const TMessageRequest& r) {
      asked << r;
      return int(QMessageBox::Ok);
    });
    auto player = std::make_unique<TFakePlayer>(log_, true, false);
    TFakePlayer* raw = player.get();
    auto mm = std::make_unique<TMediaManager>(&owner_, std::move(player),
                                              std::make_unique<TFakeStarter>(log_, std::map<QString, bool>{}));
    raw->onPlay = [&] { mm->Abort(); };
    QVERIFY(!mm->PlayWave(wav));
    raw->onPlay = nullptr;
    SetMessageBoxHook(old);
    QVERIFY(asked.isEmpty());
    QVERIFY(mm->voiceEnabled);
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
