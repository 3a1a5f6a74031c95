// Typed answers in the exercise window as the learner meets them: the entry
// under the card, the keys typed into it, the marks and the suggested
// priority, and the automatic mode waiting for the fingers.
#include <QLineEdit>

#include "ExerciseFixture.h"
#include "exercise/TypedAnswerRow.h"

using P = TRunPhase;

namespace {
const std::vector<TFilePair> kTwo = {{"Hund", "dog"}, {"Katze", "cat"}};
}

class TypedAnswerWndTest : public QObject {
  Q_OBJECT

  static QLineEdit* Entry(TExerciseWorld& w) { return w.dlg->findChild<QLineEdit*>("answerEntry"); }
  static QLabel* Marks(TExerciseWorld& w) { return w.dlg->findChild<QLabel*>("typedMarks"); }
  static QLabel* Verdict(TExerciseWorld& w) { return w.dlg->findChild<QLabel*>("typedVerdict"); }
  static int Checked(TExerciseWorld& w) {
    for (int i = 0; i < 10; ++i)
      if (w.dlg->findChild<QRadioButton*>(QString("rbPrio%1").arg(i))->isChecked()) return i;
    return -1;
  }

 private slots:
  void init() { TCardGraphics::ForgetWipeGrid(); }

  void rowIsThereOnlyWhenChosen() {
    TExerciseWorld w(kTwo);
    w.dlg->show();
    QVERIFY(!w.dlg->findChild<QWidget*>("typedAnswerRow")->isVisible());
    w.dlg->close();
    w.ini->TypedAnswer = true;
    w.dlg->show();
    QVERIFY(w.dlg->findChild<QWidget*>("typedAnswerRow")->isVisible());
  }

  void typedAnswersAreMarkedAndSuggestAPriority() {
    TExerciseWorld w(kTwo);
    QVERIFY(w.texts.LoadTextDb(QM_PROGRAM_DIR "/Text.Db", "", nullptr));
    QVERIFY(w.texts.SetLanguage("EN"));
    w.ini->TypedAnswer = true;
    w.ini->ExerciseWords[1].Priority = 2;
    w.dlg->show();
    w.dlg->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(w.dlg.get()));
    w.Settle();
    QCOMPARE(w.run().Phase(), P::ShowAnswer);
    QLineEdit* entry = Entry(w);
    QVERIFY(entry->isVisible() && entry->isEnabled());
    QCOMPARE(QApplication::focusWidget(), entry);
    // Digits and blanks are text here, not priorities or "go on".
    QTest::keyClicks(entry, "d 2");
    QCOMPARE(entry->text(), QString("d 2"));
    QCOMPARE(Checked(w), 0);
    QCOMPARE(w.run().Phase(), P::ShowAnswer);
    entry->clear();
    QTest::keyClicks(entry, "dgo");
    QTest::keyClick(entry, Qt::Key_Return);
    // The answer is written as always; beneath it the typed text, marked.
    QCOMPARE(w.run().Phase(), P::AnswerDone);
    QVERIFY(!entry->isVisible());
    QVERIFY(Marks(w)->isVisible());
    QVERIFY(Marks(w)->text().contains("#c0001a"));  // something wrong
    QVERIFY(Verdict(w)->text().contains("Wrong"));
    QVERIFY(Verdict(w)->text().contains("Suggested priority 0"));
    QCOMPARE(Marks(w)->accessibleDescription(), QString("1 right, 2 wrong, 0 missing, 0 extra"));
    QCOMPARE(Checked(w), 0);
    w.Settle();
    QCOMPARE(w.run().Phase(), P::NextPair);
    // The learner changes the suggestion with a digit, then goes on.
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_5);
    QCOMPARE(w.ini->ExerciseWords[0].Priority, 5);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    w.Settle();
    QCOMPARE(w.run().ExerciseIndex(), 1);
    QVERIFY(entry->isVisible() && entry->text().isEmpty());
    QVERIFY(!Marks(w)->isVisible());
    QCOMPARE(QApplication::focusWidget(), entry);

    QTest::keyClicks(entry, "Cat");
    w.ini->IgnoreCase = true;
    QTest::keyClick(entry, Qt::Key_Return);
    QVERIFY(Verdict(w)->text().contains("Right"));
    QCOMPARE(Checked(w), 3);  // held back one step more than its 2
    QCOMPARE(w.ini->ExerciseWords[1].Priority, 3);
    QVERIFY(!Marks(w)->text().contains("#c0001a"));
  }

  void automaticModeWaitsForTheFingers() {
    TExerciseWorld w(kTwo);
    w.ini->TypedAnswer = true;
    w.ini->AutoPresent = true;
    w.dlg->show();
    w.dlg->btnRunClick();
    w.Settle();
    QVERIFY(w.run().timerAnswerDelay.isActive());
    QTest::keyClicks(Entry(w), "do");
    QVERIFY(!w.run().timerAnswerDelay.isActive());
    // Nothing ticks on: the answer waits for Return.
    w.Settle();
    QCOMPARE(w.run().Phase(), P::ShowAnswer);
    QTest::keyClick(Entry(w), Qt::Key_Return);
    w.Settle();
    QCOMPARE(w.run().Phase(), P::NextPair);
    QVERIFY(w.run().timerPresentDelay.isActive());
  }

  void escapeInTheEntryClosesTheWindow() {
    TExerciseWorld w(kTwo);
    w.ini->TypedAnswer = true;
    w.dlg->show();
    w.Settle();
    QTest::keyClick(Entry(w), Qt::Key_Escape);
    QVERIFY(!w.dlg->isVisible());
  }

  // The card, the typed row and the priorities lie side by side, in either
  // language, with the row or without.
  void nothingOverlaps_data() {
    QTest::addColumn<QString>("language");
    QTest::addColumn<bool>("typed");
    for (const char* language : {"EN", "DE"})
      for (const bool typed : {false, true})
        QTest::newRow(qPrintable(QString("%1 %2").arg(language, typed ? "typed" : "plain"))) << language << typed;
  }
  void nothingOverlaps() {
    QFETCH(QString, language);
    QFETCH(bool, typed);
    TExerciseWorld w(kTwo);
    QVERIFY(w.texts.LoadTextDb(QM_PROGRAM_DIR "/Text.Db", "", nullptr));
    QVERIFY(w.texts.SetLanguage(language.toStdString()));
    w.ini->TypedAnswer = typed;
    w.dlg->show();
    QVERIFY(QTest::qWaitForWindowExposed(w.dlg.get()));
    w.Settle();
    auto box = [&](const char* name) {
      QWidget* child = w.dlg->findChild<QWidget*>(name);
      return QRect(child->mapTo(w.dlg.get(), QPoint(0, 0)), child->size());
    };
    const QRect card = box("groundImage");
    const QRect priorities = box("prioBox");
    QVERIFY2(card.right() < priorities.left(),
             qPrintable(QString("card %1 priorities %2").arg(card.right()).arg(priorities.left())));
    QVERIFY(w.dlg->rect().contains(priorities));
    if (typed) {
      const QRect row = box("typedAnswerRow");
      QVERIFY(row.top() > card.bottom());
      QVERIFY(row.right() < priorities.left());
    }
  }

  // German texts fit the row as well as the English ones.
  void germanTextsFitTheRow() {
    TExerciseWorld w(kTwo);
    QVERIFY(w.texts.LoadTextDb(QM_PROGRAM_DIR "/Text.Db", "", nullptr));
    QVERIFY(w.texts.SetLanguage("DE"));
    w.ini->TypedAnswer = true;
    w.dlg->show();
    w.Settle();
    QTest::keyClicks(Entry(w), "Hnud");
    QTest::keyClick(Entry(w), Qt::Key_Return);
    QLabel* verdict = Verdict(w);
    QVERIFY(verdict->text().contains("Falsch"));
    QVERIFY(verdict->text().contains("Vorgeschlagene Priorit"));
    QVERIFY(verdict->geometry().right() <= w.dlg->findChild<QWidget*>("typedAnswerRow")->width());
    QCOMPARE(w.dlg->findChild<QLabel*>("labelTyped")->buddy(), static_cast<QWidget*>(Entry(w)));
    QCOMPARE(Entry(w)->accessibleName(), QString("Ihre Antwort"));
  }
};

QTEST_MAIN(TypedAnswerWndTest)
#include "TypedAnswerWndTest.moc"
