#include <QTest>

#include "session/EditorChange.h"
#include "shell/MainWndRules.h"

class MainWndRulesTest : public QObject {
  Q_OBJECT

 private slots:
  void composition_data();
  void composition();
  void controlStates_data();
  void controlStates();
  void lessonLabel_data();
  void lessonLabel();
  void editorFollowUp();
  void bitmapBesideTheLanguageFile();
};

void MainWndRulesTest::composition_data() {
  QTest::addColumn<bool>("listEmpty");
  QTest::addColumn<bool>("newLoad");
  QTest::addColumn<bool>("recomposed");
  QTest::addColumn<bool>("composeNew");
  QTest::newRow("a list, New Compose off: continue") << false << false << false << false;
  QTest::newRow("a list, New Compose on: new") << false << true << false << true;
  QTest::newRow("empty list: new") << true << false << false << true;
  QTest::newRow("after the editor recomposed, New Compose on: continue") << false << true << true << false;
  QTest::newRow("after the editor recomposed, empty list: continue") << true << false << true << false;
}

void MainWndRulesTest::composition() {
  QFETCH(bool, listEmpty);
  QFETCH(bool, newLoad);
  QFETCH(bool, recomposed);
  QFETCH(bool, composeNew);
  QCOMPARE(ChooseComposition(listEmpty, newLoad, recomposed) == TComposeChoice::New, composeNew);
}

void MainWndRulesTest::controlStates_data() {
  QTest::addColumn<bool>("ready");
  QTest::addColumn<bool>("dlgExists");
  QTest::addColumn<bool>("dlgVisible");
  QTest::addColumn<bool>("run");
  QTest::addColumn<bool>("edit");
  QTest::newRow("not ready, no exercise window") << false << false << false << false << true;
  QTest::newRow("ready, no exercise window") << true << false << false << true << true;
  QTest::newRow("exercise window hidden") << true << true << false << true << true;
  QTest::newRow("exercise window visible: no editor") << true << true << true << true << false;
}

void MainWndRulesTest::controlStates() {
  QFETCH(bool, ready);
  QFETCH(bool, dlgExists);
  QFETCH(bool, dlgVisible);
  const TMainControlStates s = MainControlStates(ready, dlgExists, dlgVisible);
  QTEST(s.exerciseRun, "run");
  QTEST(s.editExercise, "edit");
  // The language choice and both check boxes follow the start button.
  QCOMPARE(s.firstLang, s.exerciseRun);
  QCOMPARE(s.newLoad, s.exerciseRun);
  QCOMPARE(s.resetPrio, s.exerciseRun);
}

void MainWndRulesTest::lessonLabel_data() {
  QTest::addColumn<std::vector<int32_t>>("units");
  QTest::addColumn<bool>("show");
  QTest::addColumn<QString>("label");
  QTest::newRow("stored order, no blanks") << std::vector<int32_t>{3, 1, 7} << true << "Lesson : 3,1,7";
  QTest::newRow("one lesson") << std::vector<int32_t>{12} << true << "Lesson : 12";
  QTest::newRow("empty list shown says none") << std::vector<int32_t>{} << true << "Lesson : none";
  QTest::newRow("not shown") << std::vector<int32_t>{3, 1, 7} << false << "Lesson : none";
}

void MainWndRulesTest::lessonLabel() {
  QFETCH(std::vector<int32_t>, units);
  QFETCH(bool, show);
  QTEST(QString::fromStdString(LessonLabel("Lesson", " : none", units, show)), "label");
}

void MainWndRulesTest::editorFollowUp() {
  QCOMPARE(EditorFollowUp(4), TEditorFollowUp::Nothing);
  QCOMPARE(EditorFollowUp(5), TEditorFollowUp::MaxWordsChanged);
  QCOMPARE(EditorFollowUp(6), TEditorFollowUp::ComposeNew);
  QCOMPARE(EditorFollowUp(7), TEditorFollowUp::ComposeNew);
  QCOMPARE(EditorFollowUp(8), TEditorFollowUp::Nothing);
}

void MainWndRulesTest::bitmapBesideTheLanguageFile() {
  QCOMPARE(LangFileBitmapName("/home/a/LangFiles/Eng_Ger/English_German.lang"),
           std::string("\\home/a/LangFiles/Eng_Ger\\english_german.Bmp"));
  QCOMPARE(LangFileBitmapName("C:\\Q\\LangFiles\\x.y.lang"), std::string("C:\\Q\\LangFiles\\x.Bmp"));
}

QTEST_GUILESS_MAIN(MainWndRulesTest)
#include "MainWndRulesTest.moc"
