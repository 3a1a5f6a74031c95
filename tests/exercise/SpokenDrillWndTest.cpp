// Speech in the exercise window with a fake speech engine: sides without a
// sound spoken in their language, a sound file winning, the answer written
// in step with its voice, and a machine without speech saying so once.
#include <QLineEdit>

#include "ExerciseFixture.h"

using P = TRunPhase;

class SpokenDrillWndTest : public QObject {
  Q_OBJECT

 private slots:
  void init() {
    TCardGraphics::ForgetWipeGrid();
    ForgetSpeechWarnings();
  }

  void typedAnswersWithEverySideSpoken() {
    TExerciseWorld w({{"Hund", "dog"}, {"Katze", "cat", " ", "\\cat.wav"}});
    QFile wav(w.dir.filePath("cat.wav"));
    QVERIFY(wav.open(QIODevice::WriteOnly));
    wav.write("RIFF");
    wav.close();
    w.ini->TypedAnswer = true;
    w.ini->SpeakMissing = true;
    w.ini->VoicePresent = 2;
    w.ini->VoiceAnswer = true;
    w.ini->LetterPace = TPresentSettings::kLetterPaceVoice;
    // While the answer is spoken the window's timer writes it.
    QStringList writtenWhileSpoken;
    int interval = 0;
    w.speech.during = [&] {
      if (w.run().Phase() != P::AnswerDone) return;
      interval = w.run().timerGraphic.interval();
      w.run().timerGraphic.Fire();
      writtenWhileSpoken << QString::number(w.run().timerGraphic.isActive());
    };
    w.dlg->show();
    w.Settle();
    QCOMPARE(w.speech.said, QStringList({"de: Hund"}));
    auto* entry = w.dlg->findChild<QLineEdit*>("answerEntry");
    QTest::keyClicks(entry, "dog");
    QTest::keyClick(entry, Qt::Key_Return);
    // The voice of "dog" lasts 300 ms here: a letter every 100 ms.
    QCOMPARE(w.speech.said, QStringList({"de: Hund", "en: dog"}));
    QCOMPARE(interval, 100);
    QCOMPARE(writtenWhileSpoken.size(), 1);
    w.Settle();
    QCOMPARE(w.run().Phase(), P::NextPair);
    QCOMPARE(w.speech.said.size(), 2);  // spoken once, not again after the writing
    w.Key(Qt::Key_Return);
    w.Settle();
    // The answer "cat" has a sound file: it is played, not spoken.
    QTest::keyClicks(entry, "cat");
    QTest::keyClick(entry, Qt::Key_Return);
    w.Settle();
    QCOMPARE(w.speech.said, QStringList({"de: Hund", "en: dog", "de: Katze"}));
    QCOMPARE(w.sound.played.size(), 1);
    QVERIFY(w.sound.played[0].endsWith("cat.wav"));
  }

  // Starting the engine takes seconds; keys meanwhile wait as during a
  // sound, and a close waits for the start to end instead of pulling the
  // window away under it.
  void whileTheEngineStartsKeysWaitAndACloseFollowsAfter() {
    TExerciseWorld w({{"Hund", "dog"}, {"Katze", "cat"}});
    w.ini->SpeakMissing = true;
    w.ini->VoicePresent = 2;
    P phaseDuringStart = P::WaitStart;
    w.speech.starting = [&] {
      w.Key(Qt::Key_Return);
      phaseDuringStart = w.run().Phase();
      w.dlg->close();
    };
    w.dlg->show();
    w.Settle();
    QCOMPARE(phaseDuringStart, P::QuestionShown);
    QCOMPARE(w.speech.said, QStringList({"de: Hund"}));
    QVERIFY(QTest::qWaitFor([&] { return !w.dlg->isVisible(); }, 2000));
  }

  void withoutASpeechEngineTheWindowSaysSoOnceAndRunsSilent() {
    TExerciseWorld w({{"Hund", "dog"}, {"Katze", "cat"}});
    QVERIFY(w.texts.LoadTextDb(QM_PROGRAM_DIR "/Text.Db", "", nullptr));
    QVERIFY(w.texts.SetLanguage("EN"));
    w.speech.available = false;
    w.ini->SpeakMissing = true;
    w.ini->VoicePresent = 2;
    w.ini->VoiceAnswer = true;
    w.dlg->show();
    for (int i = 0; i < 2; ++i) {
      w.Settle();
      w.Key(Qt::Key_Return);
      w.Settle();
      if (i == 0) w.Key(Qt::Key_Return);
    }
    QCOMPARE(w.run().ExerciseIndex(), 1);
    QCOMPARE(w.asked.size(), 1);
    QVERIFY(w.asked[0].text.contains("no speech output"));
    QVERIFY(w.speech.said.isEmpty());
  }
};

QTEST_MAIN(SpokenDrillWndTest)
#include "SpokenDrillWndTest.moc"
