// Whole passes of the exercise window with hand-ticked timers: manual and
// automatic mode, STOP/START in each phase, the end-of-pass question, the
// table, priorities and closing.
#include <QDir>
#include <QHeaderView>
#include <QToolButton>

#include "ExerciseFixture.h"
#include "widgets/HelpWnd.h"

using P = TRunPhase;

namespace {
const std::vector<TFilePair> kThree = {{"Hund", "dog"}, {"Katze", "cat"}, {"Guten Morgen", "good morning"}};
}

class ExerciseWndTest : public QObject {
  Q_OBJECT

 private slots:
  void init() { TCardGraphics::ForgetWipeGrid(); }

  void manualPassFromOpeningToTheEnd() {
    TExerciseWorld w(kThree);
    w.dlg->show();
    // The first card comes at once, without a dissolve.
    QCOMPARE(w.run().Phase(), P::QuestionShown);
    QVERIFY(w.run().Zooming());
    QVERIFY(!w.Enabled("btnRun") && !w.Enabled("btnStop") && !w.Enabled("btnNext"));
    QCOMPARE(w.Label("stateValue"), QString(" - "));
    QCOMPARE(w.Label("wNbrValue"), QString("1/3"));
    QCOMPARE(HelpContextOf(w.dlg->findChild<QRadioButton*>("rbPrio4")), 5);
    w.Settle();
    QCOMPARE(w.run().Phase(), P::ShowAnswer);
    QVERIFY(w.dlg->Graphics().CardVisible());
    QVERIFY(!w.Enabled("btnRun") && !w.Enabled("btnStop") && w.Enabled("btnNext"));
    for (int i = 0; i < 3; ++i) {
      QCOMPARE(w.run().ExerciseIndex(), i);
      QCOMPARE(w.run().CurrentPear().Word1, std::string(kThree[i].word1));
      // Space goes on like Return in manual mode (it used to do nothing).
      w.Key(i == 0 ? Qt::Key_Space : Qt::Key_Return);  // the answer
      QCOMPARE(w.run().Phase(), P::AnswerDone);
      QCOMPARE(w.run().RunState(), TRunState::Stopped);
      w.Settle();
      QCOMPARE(w.run().Phase(), i < 2 ? P::NextPair : P::EndOfPass);
      if (i < 2) {
        w.Key(i == 0 ? Qt::Key_Space : Qt::Key_Return);  // next card: the old one dissolves first
        QVERIFY(w.run().Wiping());
        w.Settle();
        QCOMPARE(w.run().Phase(), P::ShowAnswer);
      }
    }
    QVERIFY(w.asked.isEmpty());
    w.answers = {QMessageBox::No};
    w.Key(Qt::Key_Return);
    QCOMPARE(w.asked.size(), 1);
    QCOMPARE(w.asked[0].buttons, QMessageBox::Yes | QMessageBox::No);
    QVERIFY(w.asked[0].beep);
    // ShowTable is off: the window closes.
    QVERIFY(!w.dlg->isVisible());
    QCOMPARE(w.run().RunState(), TRunState::Finished);
  }

  // On the card as the learner sees it: an Arabic answer starts at the
  // right end of its line and grows to the left, one letter per tick.
  void arabicAnswerIsWrittenFromTheRight() {
    TExerciseWorld w(std::vector<TFilePair>{{"Hund", "\xD9\x83\xD9\x84\xD8\xA8 \xD8\xA3\xD8\xB3\xD9\x88\xD8\xAF"}});
    w.dlg->show();
    w.Settle();
    QCOMPARE(w.run().Phase(), P::ShowAnswer);
    const QRect card = w.dlg->Graphics().CardRect();
    auto* canvas = w.dlg->findChild<QWidget*>("groundImage");
    // Blue columns of the answer's line (card rows 70 to 101) on the screen.
    auto answerInk = [&] {
      const QImage shot = canvas->grab().toImage();
      int first = -1, last = -1;
      for (int x = card.left(); x < card.right(); ++x)
        for (int y = card.top() + 70; y < card.top() + 102; ++y) {
          const QRgb c = shot.pixel(x, y);
          if (qBlue(c) > 150 && qRed(c) < 120 && qGreen(c) < 120) {
            if (first < 0) first = x - card.left();
            last = x - card.left();
            break;
          }
        }
      return std::pair<int, int>{first, last};
    };
    QCOMPARE(answerInk().first, -1);
    w.Key(Qt::Key_Return);
    const auto [oneFirst, oneLast] = answerInk();
    QVERIFY2(oneFirst > 263 - 30, qPrintable(QString::number(oneFirst)));  // one letter, at the right end
    QVERIFY(oneLast <= 270);
    w.run().timerGraphic.Fire();
    const auto [twoFirst, twoLast] = answerInk();
    QVERIFY(twoFirst < oneFirst);
    QCOMPARE(twoLast, oneLast);
    w.Settle();
    QCOMPARE(w.run().Phase(), P::EndOfPass);
    const auto [allFirst, allLast] = answerInk();
    QVERIFY(allFirst < twoFirst);
    QVERIFY(allLast >= oneLast);
  }

  void automaticPassRunsOnTheDelays() {
    TExerciseWorld w(kThree);
    w.ini->AutoPresent = true;
    w.dlg->show();
    QCOMPARE(w.run().Phase(), P::WaitStart);
    QCOMPARE(w.Label("wNbrValue"), QString("0/3"));
    QVERIFY(!w.dlg->Graphics().CardVisible());
    QVERIFY(w.Enabled("btnRun") && !w.Enabled("btnStop") && !w.Enabled("btnNext"));
    QCOMPARE(w.run().timerAnswerDelay.interval(), 3000);
    QCOMPARE(w.run().timerPresentDelay.interval(), 2000);
    w.Key(Qt::Key_Space);
    QCOMPARE(w.run().RunState(), TRunState::Running);
    w.Settle();
    QCOMPARE(w.run().Phase(), P::ShowAnswer);
    QVERIFY(w.run().timerAnswerDelay.isActive());
    QVERIFY(w.Enabled("btnStop"));
    w.Key(Qt::Key_Space);  // a second Space stops
    QCOMPARE(w.run().RunState(), TRunState::Stopped);
    QVERIFY(!w.run().timerAnswerDelay.isActive());
    QVERIFY(!w.Enabled("btnNext"));
    w.Key(Qt::Key_Space);
    QCOMPARE(w.run().RunState(), TRunState::Running);
    // STOP while the solution delay runs, then START: the answer starts at once.
    QCOMPARE(w.run().Phase(), P::AnswerDone);

    w.answers = {QMessageBox::No};
    QVERIFY(w.TickUntil([&] { return !w.asked.isEmpty(); }));
    QCOMPARE(w.run().ExerciseIndex(), 2);
    QVERIFY(!w.dlg->isVisible());
  }

  void stopAndStartInEachPhase() {
    TExerciseWorld w(kThree);
    w.ini->AutoPresent = true;
    w.ini->LetterAnswer = true;
    w.dlg->show();
    w.dlg->btnRunClick();
    w.Settle();
    QCOMPARE(w.run().Phase(), P::ShowAnswer);
    // STOP while the answer is written, then START: the writing goes on, nothing else.
    w.run().timerAnswerDelay.Fire();
    QCOMPARE(w.run().Phase(), P::AnswerDone);
    QCOMPARE(w.run().timerGraphic.interval(), 500);
    w.dlg->btnStopClick();
    QVERIFY(!w.run().timerGraphic.isActive());
    w.dlg->btnRunClick();
    QCOMPARE(w.run().Phase(), P::AnswerDone);
    QVERIFY(w.run().timerGraphic.isActive());
    w.Settle();
    QCOMPARE(w.run().Phase(), P::NextPair);
    QVERIFY(w.run().timerPresentDelay.isActive());
    // STOP during the presentation delay, then START: the next card at once.
    w.dlg->btnStopClick();
    QVERIFY(!w.run().timerPresentDelay.isActive());
    w.dlg->btnRunClick();
    QVERIFY(w.run().Wiping());
    QCOMPARE(w.run().ExerciseIndex(), 1);
    // During the dissolve and the zoom all three buttons are off.
    QVERIFY(!w.Enabled("btnRun") && !w.Enabled("btnStop") && !w.Enabled("btnNext"));
    // Space is not dropped: it ends the dissolve and the zoom, then stops.
    w.Key(Qt::Key_Space);
    QVERIFY(!w.run().Wiping() && !w.run().Zooming());
    QCOMPARE(w.run().Phase(), P::ShowAnswer);
    QCOMPARE(w.run().RunState(), TRunState::Stopped);
    QVERIFY(w.Enabled("btnRun"));
  }

  void weiterDuringTheAnswer_data() {
    QTest::addColumn<bool>("letterAnswer");
    QTest::newRow("letter by letter: the rest ten times faster") << true;
    QTest::newRow("plain: the rest at once, then the next step") << false;
  }
  void weiterDuringTheAnswer() {
    QFETCH(bool, letterAnswer);
    TExerciseWorld w(kThree);
    w.ini->LetterAnswer = letterAnswer;
    w.dlg->show();
    w.Settle();
    w.dlg->btnNextClick();
    QCOMPARE(w.run().Phase(), P::AnswerDone);
    QVERIFY(w.run().Typing());
    w.dlg->btnNextClick();
    if (letterAnswer) {
      QCOMPARE(w.run().timerGraphic.interval(), 50);
      QCOMPARE(w.run().Phase(), P::AnswerDone);  // advances only when complete
      w.dlg->btnNextClick();
      QCOMPARE(w.run().Phase(), P::AnswerDone);
      w.Settle();
    }
    QCOMPARE(w.run().Phase(), P::NextPair);
    QVERIFY(!w.run().Typing());
    QVERIFY(!w.run().timerGraphic.isActive());
    // The next WEITER begins the card change on a quiet timer.
    w.dlg->btnNextClick();
    QVERIFY(w.run().Wiping());
  }

  void oneLetterAnswerAdvancesAtOnce_data() {
    QTest::addColumn<bool>("automatic");
    QTest::addColumn<bool>("letterAnswer");
    QTest::newRow("manual") << false << false;
    QTest::newRow("manual, letter by letter") << false << true;
    QTest::newRow("automatic") << true << false;
    QTest::newRow("automatic, letter by letter") << true << true;
  }
  void oneLetterAnswerAdvancesAtOnce() {
    QFETCH(bool, automatic);
    QFETCH(bool, letterAnswer);
    TExerciseWorld w(std::vector<TFilePair>{{"Ich", "I"}, {"ja", "y"}});
    w.ini->AutoPresent = automatic;
    w.ini->LetterAnswer = letterAnswer;
    w.dlg->show();
    if (automatic) w.dlg->btnRunClick();
    w.Settle();
    QCOMPARE(w.run().Phase(), P::ShowAnswer);
    if (automatic)
      w.run().timerAnswerDelay.Fire();
    else
      w.dlg->btnNextClick();
    QCOMPARE(w.run().Phase(), P::NextPair);
    QCOMPARE(w.run().timerPresentDelay.isActive(), automatic);
  }

  void singleEntryAsksAfterTheAnswer() {
    TExerciseWorld w(std::vector<TFilePair>{{"Baum", "tree"}});
    w.dlg->show();
    w.Settle();
    w.dlg->btnNextClick();
    w.Settle();
    QCOMPARE(w.run().Phase(), P::EndOfPass);
    w.answers = {QMessageBox::No};
    w.dlg->btnNextClick();
    QCOMPARE(w.asked.size(), 1);
  }

  void yesRepeatsThePass_data() {
    QTest::addColumn<bool>("automatic");
    QTest::newRow("manual") << false;
    QTest::newRow("automatic: runs at once") << true;
  }
  void yesRepeatsThePass() {
    QFETCH(bool, automatic);
    TExerciseWorld w(kThree);
    w.ini->AutoPresent = automatic;
    w.dlg->show();
    if (automatic) w.dlg->btnRunClick();
    auto table = w.dlg->findChild<QTreeWidget*>("exerciseList");
    auto rb3 = w.dlg->findChild<QRadioButton*>("rbPrio3");
    if (automatic) {
      QVERIFY(w.TickUntil([&] { return w.run().ExerciseIndex() == 1 && w.run().Phase() == P::ShowAnswer; }));
      rb3->click();
      QVERIFY(w.TickUntil([&] { return w.run().Phase() == P::EndOfPass; }));
    } else {
      for (int i = 0; i < 3; ++i) {
        w.Settle();
        if (i == 1) rb3->click();
        w.dlg->btnNextClick();
        w.Settle();
        if (i < 2) w.dlg->btnNextClick();
      }
    }
    QCOMPARE(table->topLevelItemCount(), 3);
    w.answers = {QMessageBox::Yes};
    if (automatic)
      w.run().timerPresentDelay.Fire();
    else
      w.dlg->btnNextClick();
    QCOMPARE(w.asked.size(), 1);
    QCOMPARE(w.ini->ExerciseWords[1].Priority, 3);  // priorities of the pass remain
    // Same order from the start, first card without a dissolve.
    QCOMPARE(w.run().ExerciseIndex(), 0);
    QCOMPARE(w.run().CurrentPear().Word1, std::string("Hund"));
    QVERIFY(w.run().Zooming());
    QCOMPARE(table->topLevelItemCount(), 1);
    QCOMPARE(w.run().RunState(), automatic ? TRunState::Running : TRunState::Stopped);
    QVERIFY(!w.run().LangFileChanged());
  }

  void noShowsTheTableForCorrections() {
    TExerciseWorld w(kThree);
    w.ini->ShowTable = true;
    w.ini->ExerciseWords[0].Priority = 2;
    w.dlg->show();
    for (int i = 0; i < 3; ++i) {
      w.Settle();
      w.dlg->btnNextClick();
      w.Settle();
      if (i < 2) w.dlg->btnNextClick();
    }
    w.answers = {QMessageBox::No};
    w.dlg->btnNextClick();
    auto table = w.dlg->findChild<QTreeWidget*>("exerciseList");
    QVERIFY(w.dlg->isVisible());
    QVERIFY(table->isVisible());
    QCOMPARE(table->topLevelItemCount(), 3);
    QCOMPARE(table->indexOfTopLevelItem(table->selectedItems().value(0)), 2);
    QCOMPARE(table->topLevelItem(0)->text(1), QString("Hund"));
    QCOMPARE(table->topLevelItem(0)->text(3), QString("dog"));
    QVERIFY(!w.Enabled("btnRun") && !w.Enabled("btnStop") && !w.Enabled("btnNext"));
    // Selecting a row shows its priority; a click changes that row's entry.
    table->topLevelItem(0)->setSelected(true);
    table->topLevelItem(2)->setSelected(false);
    QVERIFY(w.dlg->findChild<QRadioButton*>("rbPrio2")->isChecked());
    w.dlg->findChild<QRadioButton*>("rbPrio5")->click();
    QCOMPARE(w.ini->ExerciseWords[0].Priority, 5);
    QCOMPARE(w.ini->ExerciseWords[2].Priority, 0);
    // The table heads its columns and shows each pair's priority as it changes.
    QCOMPARE(table->headerItem()->text(1), QString("Deutsch"));
    QCOMPARE(table->headerItem()->text(3), QString("English"));
    QCOMPARE(table->topLevelItem(0)->text(4), QString("5"));
    QCOMPARE(table->topLevelItem(2)->text(4), QString("0"));
  }

  // An Arabic or Hebrew answer reads from the right end of its cell, as its
  // script is read; a Latin one stays at the left, next to the gap.
  void rightToLeftAnswersInTheTableStartAtTheRightOfTheirCell() {
    const char* arabic = "\xD9\x83\xD9\x84\xD8\xA8";  // dog
    const char* hebrew = "\xD7\xA2\xD7\x9B\xD7\x91\xD7\xA8";  // mouse
    TExerciseWorld w(std::vector<TFilePair>{{"Hund", arabic}, {"Katze", "cat"}, {"Maus", hebrew}});
    w.ini->ShowTable = true;
    w.dlg->show();
    for (int i = 0; i < 3; ++i) {
      w.Settle();
      w.dlg->btnNextClick();
      w.Settle();
      if (i < 2) w.dlg->btnNextClick();
    }
    w.answers = {QMessageBox::No};
    w.dlg->btnNextClick();
    auto* table = w.dlg->findChild<QTreeWidget*>("exerciseList");
    QVERIFY(table->isVisible());
    QCOMPARE(table->topLevelItem(0)->text(3), QString::fromUtf8(arabic));
    QCOMPARE(table->topLevelItem(2)->text(3), QString::fromUtf8(hebrew));
    table->clearSelection();
    const QImage shot = table->viewport()->grab().toImage();
    const int left = table->header()->sectionViewportPosition(3), width = table->header()->sectionSize(3);
    for (int row = 0; row < 3; ++row) {
      const QRect r = table->visualItemRect(table->topLevelItem(row));
      int inkFirst = -1, inkLast = -1;
      for (int x = left; x < left + width && x < shot.width(); ++x)
        for (int y = r.top(); y <= r.bottom(); ++y)
          if (qGray(shot.pixel(x, y)) < 128) {
            if (inkFirst < 0) inkFirst = x;
            inkLast = x;
            break;
          }
      QVERIFY2(inkFirst >= 0, qPrintable(QString::number(row)));
      if (row == 1) {
        QVERIFY(inkLast < left + width / 2);
      } else {
        QVERIFY2(inkFirst > left + width / 2,
                 qPrintable(QString("%1: %2 in %3+%4").arg(row).arg(inkFirst).arg(left).arg(width)));
      }
    }
  }

  // Asked in the second language, the headings follow the columns.
  void tableHeadingsNameTheQuestionAndAnswerLanguages() {
    TExerciseWorld w(kThree);
    w.main.firstLang = false;
    w.dlg->show();
    w.Settle();
    auto table = w.dlg->findChild<QTreeWidget*>("exerciseList");
    QCOMPARE(table->headerItem()->text(1), QString("English"));
    QCOMPARE(table->headerItem()->text(3), QString("Deutsch"));
    QCOMPARE(table->topLevelItem(0)->text(1), QString("dog"));
  }

  void retiringSavesAndSplitsOnClose_data() {
    QTest::addColumn<int>("priority");
    QTest::addColumn<bool>("saved");
    QTest::newRow("9 retires") << 9 << true;
    QTest::newRow("8 does not") << 8 << false;
    QTest::newRow("0 does not") << 0 << false;
  }
  void retiringSavesAndSplitsOnClose() {
    QFETCH(int, priority);
    QFETCH(bool, saved);
    TExerciseWorld w(kThree);
    w.dlg->show();
    w.Settle();
    w.dlg->findChild<QRadioButton*>(QString("rbPrio%1").arg(priority))->click();
    QCOMPARE(w.ini->ExerciseWords[0].Priority, priority);
    QCOMPARE(w.Pear(0)->InUse, !saved);
    w.dlg->close();
    QCOMPARE(QFile::exists(QString::fromStdString(w.ini->LangFileName)), saved);
    QCOMPARE(w.main.splits, saved ? 1 : 0);
  }

  // The help promised digit keys for the priorities; they did nothing.
  void digitKeysGiveThePriority_data() {
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<int>("priority");
    QTest::newRow("main row 3") << int(Qt::Key_3) << int(Qt::NoModifier) << 3;
    QTest::newRow("keypad 7") << int(Qt::Key_7) << int(Qt::KeypadModifier) << 7;
    QTest::newRow("main row 0") << int(Qt::Key_0) << int(Qt::NoModifier) << 0;
    QTest::newRow("keypad 9") << int(Qt::Key_9) << int(Qt::KeypadModifier) << 9;
  }
  void digitKeysGiveThePriority() {
    QFETCH(int, key);
    QFETCH(int, modifiers);
    QFETCH(int, priority);
    TExerciseWorld w(kThree);
    w.ini->ShowTable = true;
    w.ini->ExerciseWords[0].Priority = 4;
    w.dlg->show();
    w.Settle();
    // During the pass the focus sits on the checked priority button.
    auto* focused = w.dlg->findChild<QRadioButton*>("rbPrio4");
    QTest::keyClick(focused, Qt::Key(key), Qt::KeyboardModifiers(modifiers));
    QCOMPARE(w.ini->ExerciseWords[0].Priority, priority);
    auto* checked = w.dlg->findChild<QRadioButton*>(QString("rbPrio%1").arg(priority));
    QVERIFY(checked->isChecked());
    QCOMPARE(w.Pear(0)->InUse, priority != 9);
    // Keys sent to the window itself do the same, for the next pair.
    w.dlg->btnNextClick();
    w.Settle();
    w.dlg->btnNextClick();
    w.Settle();
    w.Key(Qt::Key_0 + (priority + 1) % 10);
    QCOMPARE(w.ini->ExerciseWords[1].Priority, (priority + 1) % 10);
    QCOMPARE(w.run().Phase(), P::ShowAnswer);  // a digit does not steer the run
    // In the table at the end, a digit changes the selected row's entry.
    w.dlg->btnNextClick();
    w.Settle();
    w.dlg->btnNextClick();
    w.Settle();
    w.dlg->btnNextClick();
    w.Settle();
    w.answers = {QMessageBox::No};
    w.dlg->btnNextClick();
    auto* table = w.dlg->findChild<QTreeWidget*>("exerciseList");
    QVERIFY(table->isVisible());
    table->topLevelItem(0)->setSelected(true);
    table->topLevelItem(2)->setSelected(false);
    QTest::keyClick(table, Qt::Key_2, Qt::KeyboardModifiers(modifiers));
    QCOMPARE(w.ini->ExerciseWords[0].Priority, 2);
    QCOMPARE(w.ini->ExerciseWords[2].Priority, 0);
    QCOMPARE(table->indexOfTopLevelItem(table->selectedItems().value(0)), 0);
  }

  // Escape closes through the normal close: a retirement is saved.
  void escapeClosesAndSaves() {
    TExerciseWorld w(kThree);
    w.dlg->show();
    w.Settle();
    QTest::keyClick(w.dlg->findChild<QRadioButton*>("rbPrio0"), Qt::Key_9);
    QTest::keyClick(w.dlg->findChild<QRadioButton*>("rbPrio9"), Qt::Key_Escape);
    QVERIFY(!w.dlg->isVisible());
    QVERIFY(QFile::exists(QString::fromStdString(w.ini->LangFileName)));
    QCOMPARE(w.main.splits, 1);
  }

  // The question used to sit over the main window with a cut caption and
  // leave the keyboard there, so Return no longer drove the exercise.
  void endOfPassQuestionIsOverTheWindowAndGivesTheKeysBack_data() {
    QTest::addColumn<int>("answer");
    QTest::newRow("Yes") << int(QMessageBox::Yes);
    QTest::newRow("No, table shown") << int(QMessageBox::No);
  }
  void endOfPassQuestionIsOverTheWindowAndGivesTheKeysBack() {
    QFETCH(int, answer);
    TExerciseWorld w(std::vector<TFilePair>{{"Hund", "dog"}});
    QVERIFY(w.texts.LoadTextDb(QM_PROGRAM_DIR "/Text.Db", "", nullptr));
    QVERIFY(w.texts.SetLanguage("DE"));
    w.ini->ShowTable = true;
    w.dlg->show();
    w.dlg->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(w.dlg.get()));
    w.Settle();
    w.Key(Qt::Key_Return);
    w.Settle();
    QWidget elsewhere;  // where the box left the focus
    QList<TMessageRequest> asked;
    const TMessageBoxHook fixtureHook = SetMessageBoxHook([&](const TMessageRequest& r) {
      asked << r;
      elsewhere.show();
      elsewhere.activateWindow();
      if (!QTest::qWaitForWindowActive(&elsewhere)) return -1;
      return answer;
    });
    w.Key(Qt::Key_Return);
    SetMessageBoxHook(fixtureHook);
    QCOMPARE(asked.size(), 1);
    QCOMPARE(asked[0].owner, w.dlg.get());
    QCOMPARE(asked[0].caption, QStringLiteral("\u00DCbung"));
    QVERIFY(QTest::qWaitForWindowActive(w.dlg.get()));
    QVERIFY(w.dlg->isVisible());
    if (answer == QMessageBox::Yes) {
      w.Settle();
      QCOMPARE(QApplication::focusWidget(), w.dlg->findChild<QRadioButton*>("rbPrio0"));
      QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);  // Return drives the run again
      QCOMPARE(w.run().Phase(), P::AnswerDone);
    } else {
      QCOMPARE(QApplication::focusWidget(), w.dlg->findChild<QTreeWidget*>("exerciseList"));
    }
  }

  void failedSaveOnCloseIsReported() {
    TExerciseWorld w(kThree);
    w.ini->LangFileName = w.dir.filePath("no-such-folder/test.lang").toStdString();
    w.dlg->show();
    w.Settle();
    w.dlg->findChild<QRadioButton*>("rbPrio9")->click();
    w.dlg->close();
    QCOMPARE(w.asked.size(), 1);
    QCOMPARE(w.asked[0].icon, QMessageBox::Warning);
    QVERIFY(w.asked[0].text.contains("test.lang"));
    QCOMPARE(w.main.splits, 1);
  }

  // A 9 given by mistake and taken back used to leave the pair out of use.
  void takingThe9BackKeepsThePairInUse() {
    TExerciseWorld w(kThree);
    w.dlg->show();
    w.Settle();
    w.dlg->findChild<QRadioButton*>("rbPrio9")->click();
    QVERIFY(!w.Pear(0)->InUse);
    w.dlg->findChild<QRadioButton*>("rbPrio0")->click();
    QVERIFY(w.Pear(0)->InUse);
    QVERIFY(w.Pear(0)->Drawn);
    QCOMPARE(w.ini->ExerciseWords[0].Priority, 0);
  }

  // The last entry retired, Yes: the first entry retired too; its button was
  // already checked, yet the retirement must still be saved.
  void repeatedPassRetiresAgainWhenPresented() {
    TExerciseWorld w(std::vector<TFilePair>{{"eins", "one"}, {"zwei", "two"}});
    w.ini->ExerciseWords[0].Priority = 9;
    w.dlg->show();
    w.Settle();
    QVERIFY(w.run().LangFileChanged());
    w.dlg->btnNextClick();
    w.Settle();
    w.dlg->btnNextClick();
    w.Settle();
    w.dlg->findChild<QRadioButton*>("rbPrio9")->click();
    w.dlg->btnNextClick();
    w.Settle();
    w.answers = {QMessageBox::Yes};
    w.dlg->btnNextClick();
    w.Settle();
    QCOMPARE(w.run().ExerciseIndex(), 0);
    QVERIFY(w.run().LangFileChanged());
    w.dlg->close();
    QCOMPARE(w.main.splits, 1);
  }

  void priorityBeforeStartTouchesNoEntry() {
    TExerciseWorld w(kThree);
    w.ini->AutoPresent = true;
    w.dlg->show();
    w.dlg->findChild<QRadioButton*>("rbPrio9")->click();
    for (const TExerciseWord& e : w.ini->ExerciseWords) QCOMPARE(e.Priority, 0);
    QVERIFY(!w.run().LangFileChanged());
  }

  void switchingTheLanguageTurnsTheNextPair() {
    TExerciseWorld w(kThree);
    w.dlg->show();
    w.Settle();
    QCOMPARE(w.run().CurrentPear().Word1, std::string("Hund"));
    w.main.firstLang = false;
    QCOMPARE(w.run().CurrentPear().Word1, std::string("Hund"));
    w.dlg->btnNextClick();
    w.Settle();
    w.dlg->btnNextClick();
    w.Settle();
    QCOMPARE(w.run().CurrentPear().Word1, std::string("cat"));
    QCOMPARE(w.run().CurrentPear().Word2, std::string("Katze"));
  }

  void entryWithoutPairIsNeverPresented() {
    TExerciseWorld w(kThree);
    w.ini->ExerciseWords.insert(w.ini->ExerciseWords.begin() + 1, TExerciseWord{1, 42, 0, false});
    w.ini->ExerciseWords.push_back(TExerciseWord{7, 0, 0, false});
    w.dlg->show();
    QStringList shown;
    for (int guard = 0; guard < 10 && w.run().Phase() != P::EndOfPass; ++guard) {
      w.Settle();
      if (w.run().Phase() == P::ShowAnswer) shown << QString::fromStdString(std::string(w.run().CurrentPear().Word1));
      w.dlg->btnNextClick();
      w.Settle();
      if (w.run().Phase() == P::NextPair) w.dlg->btnNextClick();
    }
    QCOMPARE(shown, (QStringList{"Hund", "Katze", "Guten Morgen"}));
    QCOMPARE(w.dlg->Run().RowEntries(), (std::vector<int>{0, 2, 3}));
  }

  void voiceWithoutText_data() {
    QTest::addColumn<QString>("questionSound");
    QTest::addColumn<bool>("played");
    QTest::newRow("sound beside the program") << "\\Sounds\\hund.wav" << true;
    QTest::newRow("no sound: written letter by letter") << " " << false;
    QTest::newRow("missing sound: written letter by letter") << "\\Sounds\\none.wav" << false;
  }
  void voiceWithoutText() {
    QFETCH(QString, questionSound);
    QFETCH(bool, played);
    const std::string wav = questionSound.toStdString();
    TExerciseWorld w(std::vector<TFilePair>{{"Hund", "dog", wav.c_str(), " "}, {"Katze", "cat"}});
    QDir(w.dir.path()).mkpath("Sounds");
    QFile f(w.dir.filePath("Sounds/hund.wav"));
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.close();
    w.ini->VoicePresent = 1;
    w.dlg->show();
    QVERIFY(w.TickUntil([&] { return !w.run().Zooming(); }, false));
    QCOMPARE(w.run().Phase(), P::ShowAnswer);
    if (played) {
      QCOMPARE(w.sound.played, QStringList{w.dir.path() + "/Sounds/hund.wav"});
      QVERIFY(!w.run().Typing());
    } else {
      QVERIFY(w.sound.played.isEmpty());
      QVERIFY(w.run().Typing());
      QCOMPARE(w.run().timerGraphic.interval(), 50);
      // WEITER before the question is complete: the question is finished,
      // then the answer is written on its own line.
      w.dlg->btnNextClick();
      QCOMPARE(w.run().Phase(), P::AnswerDone);
      w.Settle();
      QCOMPARE(w.run().Phase(), P::NextPair);
    }
    int warned = 0;
    for (const TMessageRequest& r : w.asked) warned += r.text.contains("none.wav") ? 1 : 0;
    QCOMPARE(warned, questionSound.contains("none") ? 1 : 0);
  }

  // One missing answer sound used to silence every later pair, under a box
  // titled "mediaManager" in English whatever the interface language.
  void missingSoundIsNamedOnceAndLaterPairsKeepTheirSound_data() {
    QTest::addColumn<QString>("language");
    QTest::addColumn<QString>("text");
    QTest::newRow("EN") << "EN" << "This sound file does not exist";
    QTest::newRow("DE") << "DE" << "Diese Tondatei gibt es nicht";
  }
  void missingSoundIsNamedOnceAndLaterPairsKeepTheirSound() {
    QFETCH(QString, language);
    QFETCH(QString, text);
    TExerciseWorld w(std::vector<TFilePair>{{"Hund", "dog", " ", "\\gone.wav"},
                                            {"Katze", "cat", " ", "\\cat.wav"},
                                            {"Maus", "mouse", " ", "\\gone.wav"},
                                            {"Vogel", "bird", " ", "\\bird.wav"}});
    QVERIFY(w.texts.LoadTextDb(QM_PROGRAM_DIR "/Text.Db", "", nullptr));
    QVERIFY(w.texts.SetLanguage(language.toStdString()));
    for (const char* name : {"cat.wav", "bird.wav"}) {
      QFile f(w.dir.filePath(name));
      QVERIFY(f.open(QIODevice::WriteOnly));
    }
    w.ini->VoiceAnswer = true;
    w.dlg->show();
    for (int pair = 0; pair < 4; ++pair) {
      w.Settle();
      w.dlg->btnNextClick();  // the answer
      w.Settle();
      if (pair < 3) w.dlg->btnNextClick();  // the next card
    }
    QCOMPARE(w.sound.played, (QStringList{w.dir.filePath("cat.wav"), w.dir.filePath("bird.wav")}));
    QCOMPARE(w.asked.size(), 1);
    QCOMPARE(w.asked[0].caption, w.dlg->windowTitle());
    QVERIFY2(w.asked[0].text.startsWith(text), qPrintable(w.asked[0].text));
    QVERIFY2(w.asked[0].text.endsWith("\n" + w.dir.filePath("gone.wav")), qPrintable(w.asked[0].text));
    QCOMPARE(w.asked[0].owner, w.dlg.get());
    QVERIFY(w.warnings.isEmpty());
  }

  void answerIsSpokenAfterItIsWritten() {
    TExerciseWorld w(std::vector<TFilePair>{{"Hund", "dog", " ", "\\dog.wav"}, {"Katze", "cat", " ", "\\cat.wav"}});
    for (const char* name : {"dog.wav", "cat.wav"}) {
      QFile f(w.dir.filePath(name));
      QVERIFY(f.open(QIODevice::WriteOnly));
    }
    w.ini->VoiceAnswer = true;
    w.dlg->show();
    w.Settle();
    w.dlg->btnNextClick();
    QVERIFY(w.sound.played.isEmpty());
    w.Settle();
    QCOMPARE(w.sound.played, QStringList{w.dir.filePath("dog.wav")});
    w.dlg->btnNextClick();
    w.Settle();
    w.dlg->btnNextClick();
    w.Settle();
    QCOMPARE(w.sound.played.size(), 2);
    QCOMPARE(w.sound.played[1], w.dir.filePath("cat.wav"));
  }

  // Looked at by people, not compared: the card in flight, the question at
  // rest, question and answer, the table. Saved where QM_SCREENSHOT_DIR points.
  void screenshots_data() {
    QTest::addColumn<QString>("language");
    QTest::newRow("EN") << "EN";
    QTest::newRow("DE") << "DE";
  }
  void screenshots() {
    QFETCH(QString, language);
    TExerciseWorld w(std::vector<TFilePair>{
        {"Sch\xC3\xB6nen guten Morgen, wie geht es Ihnen heute?", "Good morning, how are you today?"},
        {"der Schl\xC3\xBCssel", "the key"}});
    QVERIFY(w.texts.LoadTextDb(QM_PROGRAM_DIR "/Text.Db", "", nullptr));
    QVERIFY(w.texts.SetLanguage(language.toStdString()));
    w.ini->ShowTable = true;
    w.ini->ExerciseWords[1].Priority = 3;
    const QString dir = qEnvironmentVariable("QM_SCREENSHOT_DIR");
    auto shoot = [&](const char* what) {
      const QPixmap shot = w.dlg->grab();
      QVERIFY(!shot.isNull());
      if (!dir.isEmpty()) QVERIFY(shot.save(QString("%1/exercise-%2-%3.png").arg(dir, what, language.toLower())));
    };
    w.dlg->show();
    for (int i = 0; i < 13; ++i) w.run().timerGraphic.Fire();
    shoot("card-in-flight");
    w.Settle();
    shoot("question");
    w.dlg->btnNextClick();
    w.Settle();
    shoot("question-and-answer");
    w.dlg->btnNextClick();
    w.Settle();
    w.dlg->btnNextClick();
    w.Settle();
    w.answers = {QMessageBox::No};
    w.dlg->btnNextClick();
    QVERIFY(w.dlg->findChild<QTreeWidget*>("exerciseList")->isVisible());
    shoot("table");
  }

  // A close while a sound plays would free the player under its own wait.
  void closeDuringPlaybackWaitsForTheSoundToEnd() {
    TExerciseWorld w(std::vector<TFilePair>{{"Hund", "dog", " ", "\\dog.wav"}});
    QFile f(w.dir.filePath("dog.wav"));
    QVERIFY(f.open(QIODevice::WriteOnly));
    w.ini->VoiceAnswer = true;
    w.dlg->show();
    w.Settle();
    w.dlg->findChild<QRadioButton*>("rbPrio9")->click();
    bool visibleDuring = false;
    w.sound.during = [&] {
      w.dlg->close();
      visibleDuring = w.dlg->isVisible();
    };
    w.dlg->btnNextClick();
    w.Settle();
    QCOMPARE(w.sound.played.size(), 1);
    QVERIFY(visibleDuring);
    QCOMPARE(w.sound.aborts, 1);
    QCoreApplication::processEvents();
    QVERIFY(!w.dlg->isVisible());
    QCOMPARE(w.main.splits, 1);  // the ordinary close path ran after the sound
  }

  // A 40-second sound made STOP wait for its end; a click elsewhere during
  // the sound ran the exercise a second time inside the playback.
  void stopDuringASoundCutsItAndOtherInputIsSwallowed_data() {
    QTest::addColumn<bool>("bySpace");
    QTest::newRow("STOP button") << false;
    QTest::newRow("Space") << true;
  }
  void stopDuringASoundCutsItAndOtherInputIsSwallowed() {
    QFETCH(bool, bySpace);
    TExerciseWorld w(std::vector<TFilePair>{{"Hund", "dog", " ", "\\dog.wav"}, {"Katze", "cat"}});
    QFile f(w.dir.filePath("dog.wav"));
    QVERIFY(f.open(QIODevice::WriteOnly));
    w.ini->AutoPresent = true;
    w.ini->VoiceAnswer = true;
    w.dlg->show();
    w.dlg->btnRunClick();
    w.Settle();
    auto* rb3 = w.dlg->findChild<QRadioButton*>("rbPrio3");
    auto* stop = w.dlg->findChild<QToolButton*>("btnStop");
    int indexDuring = -1;
    w.sound.during = [&] {
      QTest::mouseClick(rb3, Qt::LeftButton, {}, QPoint(6, rb3->height() / 2));
      QTest::mouseClick(w.dlg->findChild<QToolButton*>("btnNext"), Qt::LeftButton);
      indexDuring = w.run().ExerciseIndex();
      if (bySpace)
        QTest::keyClick(w.dlg->findChild<QRadioButton*>("rbPrio0"), Qt::Key_Space);
      else
        QTest::mouseClick(stop, Qt::LeftButton);
    };
    w.run().timerAnswerDelay.Fire();
    w.Settle();
    QCOMPARE(w.sound.played.size(), 1);
    QCOMPARE(w.sound.aborts, 1);
    QVERIFY(!rb3->isChecked());
    QCOMPARE(indexDuring, 0);
    QCOMPARE(w.run().RunState(), TRunState::Stopped);
    QVERIFY(!w.run().timerPresentDelay.isActive());
    // START goes on with the next card; input works again.
    w.sound.during = nullptr;
    QTest::mouseClick(w.dlg->findChild<QToolButton*>("btnRun"), Qt::LeftButton);
    QCOMPARE(w.run().ExerciseIndex(), 1);
    QTest::mouseClick(rb3, Qt::LeftButton, {}, QPoint(6, rb3->height() / 2));
    QVERIFY(rb3->isChecked());
  }

  void spaceAndEnterInAPriorityButtonSteerTheRun() {
    TExerciseWorld w(kThree);
    w.ini->AutoPresent = true;
    w.dlg->show();
    auto* rb = w.dlg->findChild<QRadioButton*>("rbPrio0");
    QTest::keyClick(rb, Qt::Key_Space);
    QCOMPARE(w.run().RunState(), TRunState::Running);
    w.Settle();
    QCOMPARE(w.run().Phase(), P::ShowAnswer);
    QTest::keyClick(rb, Qt::Key_Return);
    QCOMPARE(w.run().Phase(), P::AnswerDone);
    QVERIFY(rb->isChecked());
  }

  void closingMidZoomLeavesTheNextShowingUsable() {
    TExerciseWorld w(kThree);
    w.ini->AutoPresent = true;
    w.dlg->show();
    w.dlg->btnRunClick();
    QVERIFY(w.run().Zooming());
    w.dlg->close();
    QVERIFY(!w.run().timerGraphic.isActive());
    w.dlg->show();
    QCOMPARE(w.run().Phase(), P::WaitStart);
    QVERIFY(w.Enabled("btnRun"));
    QCOMPARE(TCardGraphics::WipeGridBuilds(), 1);
  }
};

QTEST_MAIN(ExerciseWndTest)
#include "ExerciseWndTest.moc"
