// Speech for the sides without a sound, through a fake engine: what is
// spoken in which language, what the learner is told when nothing can be,
// and how often; cutting speech short; the lengths the run paces itself by.
#include <QPushButton>
#include <QTemporaryDir>
#include <QWidget>
#include <QtTest>
#include <functional>

#include "storage/WaveInfo.h"
#include "widgets/GeneralUtil.h"
#include "widgets/MMediaManager.h"

namespace {

class TSilentPlayer : public TWavePlayer {
 public:
  bool Available() override { return true; }
  bool PlayAndWait(const QString&) override { return true; }
};

class TNoStarter : public TExternalStarter {
 public:
  bool Start(const QString&, const QStringList&) override { return false; }
};

struct TSpeechLog {
  QStringList said;  // "locale: text"
  int availableAsked = 0;
  int aborts = 0;
};

// Speaks the locales it has a voice for ("de" has one where "de_DE" is named).
class TFakeSpeech : public TSpeechEngine {
 public:
  TFakeSpeech(TSpeechLog& log, bool available, QStringList voices)
      : log_(log), available_(available), voices_(std::move(voices)) {}
  bool Available() override {
    ++log_.availableAsked;
    return available_;
  }
  bool HasVoice(const QString& locale) override {
    for (const QString& voice : voices_)
      if (voice.section('_', 0, 0) == locale.section('_', 0, 0)) return true;
    return false;
  }
  bool SayAndWait(const QString& text, const QString& locale) override {
    log_.said << locale + ": " + text;
    aborted_ = false;
    if (onSay) onSay();
    return !aborted_ && speaks;
  }
  bool speaks = true;  // false: has the voices but never gets a word out
  int64_t LengthMs(const QString& text, const QString&) override { return 100 * text.size(); }
  void Abort() override {
    aborted_ = true;
    ++log_.aborts;
  }
  std::function<void()> onSay;

 private:
  TSpeechLog& log_;
  bool available_;
  QStringList voices_;
  bool aborted_ = false;
};

}  // namespace

class SpeechOutputTest : public QObject {
  Q_OBJECT

  QWidget owner_;
  TSpeechLog log_;
  QList<TMessageRequest> asked_;
  TMessageBoxHook oldHook_;
  TFakeSpeech* speech_ = nullptr;  // of the last manager made

  std::unique_ptr<TMediaManager> Make(bool available, QStringList voices = {}) {
    auto speech = std::make_unique<TFakeSpeech>(log_, available, std::move(voices));
    speech_ = speech.get();
    auto mm = std::make_unique<TMediaManager>(&owner_, std::make_unique<TSilentPlayer>(),
                                              std::make_unique<TNoStarter>(), std::move(speech));
    mm->SetWarningTexts([] {
      TMediaManager::TWarningTexts texts{QStringLiteral("Exercise"), QStringLiteral("missing"),
                                         QStringLiteral("unplayable")};
      texts.noSpeech = QStringLiteral("no speech");
      texts.noVoice = QStringLiteral("no voice for:");
      return texts;
    });
    return mm;
  }

 private slots:
  void initTestCase() {
    oldHook_ = SetMessageBoxHook([this](const TMessageRequest& r) {
      asked_ << r;
      return int(QMessageBox::Ok);
    });
  }
  void cleanupTestCase() { SetMessageBoxHook(oldHook_); }
  void init() {
    ForgetSpeechWarnings();
    log_ = TSpeechLog{};
    asked_.clear();
  }

  // Speech waits as a sound does: the learner's clicks are swallowed but
  // for what the window lets through, and IsPlaying tells the window so.
  void speaksInTheSidesLanguageBehindTheInputGate() {
    QWidget window;
    auto* stop = new QPushButton("STOP", &window);
    auto* other = new QPushButton("other", &window);
    other->move(0, 40);
    window.show();
    auto mm = Make(true, {"de_DE", "ru_RU"});
    mm->SetInputDuringPlayback([stop](QObject* target, QEvent*) { return target == stop; });
    int stops = 0, others = 0;
    connect(stop, &QPushButton::clicked, [&] { ++stops; });
    connect(other, &QPushButton::clicked, [&] { ++others; });
    bool playingDuringSpeech = false;
    speech_->onSay = [&] {
      playingDuringSpeech = mm->IsPlaying();
      QTest::mouseClick(other, Qt::LeftButton);
      QTest::mouseClick(stop, Qt::LeftButton);
    };
    QVERIFY(mm->SpeakText("Guten Morgen", "de"));
    QVERIFY(mm->SpeakText("Доброе утро", "ru_RU"));
    QCOMPARE(log_.said, (QStringList{"de: Guten Morgen", "ru_RU: Доброе утро"}));
    QVERIFY(playingDuringSpeech);
    QVERIFY(!mm->IsPlaying());
    QCOMPARE(others, 0);
    QCOMPARE(stops, 2);
    QVERIFY(asked_.isEmpty());
  }

  // Nothing to say, or no language to say it in, or voice switched off:
  // silence without a word to the learner and without asking the engine.
  void silentWithoutTextLanguageOrVoice_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("locale");
    QTest::addColumn<bool>("voiceOn");
    QTest::newRow("blank text") << " \t" << "de" << true;
    QTest::newRow("no locale in the file") << "Guten Morgen" << "" << true;
    QTest::newRow("voice off") << "Guten Morgen" << "de" << false;
  }
  void silentWithoutTextLanguageOrVoice() {
    QFETCH(QString, text);
    QFETCH(QString, locale);
    QFETCH(bool, voiceOn);
    for (const bool engine : {true, false}) {
      auto mm = Make(engine, {"de_DE"});
      mm->voiceEnabled = voiceOn;
      QVERIFY(!mm->SpeakText(text.toStdString(), locale.toStdString()));
      QCOMPARE(mm->SpeechLengthMs(text.toStdString(), locale.toStdString()), int64_t(-1));
    }
    QVERIFY(log_.said.isEmpty());
    QVERIFY(asked_.isEmpty());
  }

  // A machine without speech says so once in the program's run, however
  // many sides and showings of the exercise window follow.
  void noEngineWarnsOnceAndStaysSilent() {
    for (int showing = 0; showing < 2; ++showing) {
      auto mm = Make(false);
      for (const char* locale : {"de", "ru", "de"}) QVERIFY(!mm->SpeakText("Wort", locale));
      QCOMPARE(mm->SpeechLengthMs("Wort", "de"), int64_t(-1));
      QVERIFY(mm->voiceEnabled);  // sound files still play
    }
    QVERIFY(log_.said.isEmpty());
    QCOMPARE(log_.availableAsked, 2);  // once for each showing, not for each side
    QCOMPARE(asked_.size(), 1);
    QCOMPARE(asked_[0].owner, &owner_);
    QCOMPARE(asked_[0].caption, QStringLiteral("Exercise"));
    QCOMPARE(asked_[0].text, QStringLiteral("no speech"));
  }

  // A language without a voice is named once; the other languages speak on.
  void noVoiceWarnsOncePerLocale() {
    for (int showing = 0; showing < 2; ++showing) {
      auto mm = Make(true, {"de_DE"});
      QVERIFY(!mm->SpeakText("утро", "ru"));
      QVERIFY(mm->SpeakText("Morgen", "de"));
      QVERIFY(!mm->SpeakText("πρωί", "el"));
      QVERIFY(!mm->SpeakText("mañana", "xx"));  // no language Qt knows: named by its code
      QVERIFY(!mm->SpeakText("вечер", "ru"));
      // The length asked before speaking warns of nothing.
      QCOMPARE(mm->SpeechLengthMs("утро", "ru"), int64_t(-1));
      QCOMPARE(mm->SpeechLengthMs("Morgen", "de"), int64_t(600));
    }
    QCOMPARE(log_.said, (QStringList{"de: Morgen", "de: Morgen"}));
    QCOMPARE(asked_.size(), 3);
    QCOMPARE(asked_[2].text, QStringLiteral("no voice for:\nxx"));
    QCOMPARE(asked_[0].text, QStringLiteral("no voice for:\nрусский (ru)"));
    QCOMPARE(asked_[1].text, QStringLiteral("no voice for:\nΕλληνικά (el)"));
    for (const TMessageRequest& r : asked_) QCOMPARE(r.owner, &owner_);
  }

  // An engine that does not speak made every later side wait for it in vain.
  void engineThatDoesNotSpeakIsToldOnceAndNotAskedAgain() {
    auto mm = Make(true, {"de_DE"});
    speech_->speaks = false;
    QVERIFY(!mm->SpeakText("eins", "de"));
    QVERIFY(!mm->SpeakText("zwei", "de"));
    QCOMPARE(mm->SpeechLengthMs("zwei", "de"), int64_t(-1));
    QCOMPARE(log_.said, QStringList{"de: eins"});
    QCOMPARE(asked_.size(), 1);
    QCOMPARE(asked_[0].text, QStringLiteral("no speech"));
    QVERIFY(mm->voiceEnabled);  // sound files still play
  }

  // STOP, Exit and closing cut speech as they cut a sound.
  void abortCutsSpeech() {
    auto mm = Make(true, {"de_DE"});
    speech_->onSay = [&] { mm->Abort(); };
    QVERIFY(!mm->SpeakText("Ein sehr langer Satz", "de"));
    QCOMPARE(log_.aborts, 1);
    QVERIFY(!mm->IsPlaying());
    speech_->onSay = nullptr;
    QVERIFY(mm->SpeakText("Noch einer", "de"));  // the next side speaks again
    mm->Abort();                                  // nothing playing: nothing to cut
    QCOMPARE(log_.aborts, 1);
    QVERIFY(asked_.isEmpty());
  }

  // The run paces the writing of the answer by the sound's length.
  void waveLengthFromTheHeader() {
    QTemporaryDir dir;
    const auto write = [&](const QString& name, const QByteArray& bytes) {
      QFile f(dir.filePath(name));
      QVERIFY(f.open(QIODevice::WriteOnly));
      f.write(bytes);
    };
    // One second of 16 kHz mono 16-bit sound.
    QByteArray wave("RIFF");
    const auto le32 = [](quint32 v) {
      return QByteArray(1, char(v & 0xFF)) + char((v >> 8) & 0xFF) + char((v >> 16) & 0xFF) + char(v >> 24);
    };
    const auto le16 = [](quint16 v) { return QByteArray(1, char(v & 0xFF)) + char(v >> 8); };
    wave += le32(36 + 32000) + "WAVE" + "fmt " + le32(16) + le16(1) + le16(1) + le32(16000) + le32(32000) +
            le16(2) + le16(16) + "data" + le32(32000) + QByteArray(32000, '\0');
    write("second.wav", wave);
    write("text.wav", "RIFF and no more");
    auto mm = Make(true);
    QCOMPARE(mm->WaveLengthMs(dir.filePath("second.wav").toStdString()), int64_t(1000));
    for (const QString& name : {QStringLiteral(" "), QString(), dir.filePath("text.wav"), dir.filePath("gone.wav")})
      QCOMPARE(mm->WaveLengthMs(name.toStdString()), int64_t(-1));
    QVERIFY(asked_.isEmpty());  // a length is asked silently; playing warns
  }
};

QTEST_MAIN(SpeechOutputTest)
#include "SpeechOutputTest.moc"
