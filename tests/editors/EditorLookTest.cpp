// Both editors in English and German: every text fits its control. With
// QM_SCREENSHOT_DIR set, the dialogs are also saved there as pictures.
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QTableWidget>
#include <QTest>
#include <QToolButton>
#include <QTreeWidget>

#include "EditorFixture.h"
#include "editors/EditExercise.h"
#include "editors/EditLesson.h"
#include "widgets/TickTimer.h"

namespace {
// Texts that do not fit their control, as "name: text".
QStringList Clipped(QWidget& dialog) {
  QStringList clipped;
  for (QLabel* label : dialog.findChildren<QLabel*>())
    if (label->isVisible() && label->width() < label->sizeHint().width())
      clipped << label->objectName() + ": " + label->text();
  for (QGroupBox* box : dialog.findChildren<QGroupBox*>())
    if (box->width() < box->fontMetrics().horizontalAdvance(box->title()) + 16)
      clipped << box->objectName() + ": " + box->title();
  for (QTableWidget* table : dialog.findChildren<QTableWidget*>())
    for (int c = 0; c < table->columnCount(); ++c)
      if (!table->isColumnHidden(c) && table->columnWidth(c) < table->horizontalHeader()->sectionSizeHint(c))
        clipped << table->objectName() + " column " + QString::number(c) + ": " +
                       table->horizontalHeaderItem(c)->text();
  return clipped;
}

void Save(QWidget& dialog, const QString& name) {
  const QString dir = qEnvironmentVariable("QM_SCREENSHOT_DIR");
  if (dir.isEmpty()) return;
  QVERIFY(dialog.grab().save(dir + '/' + name + ".png"));
}
}  // namespace

class EditorLookTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { TTickTimer::SetManual(true); }

  void textsFit_data() {
    QTest::addColumn<QString>("language");
    QTest::newRow("English") << "EN";
    QTest::newRow("German") << "DE";
  }

  void textsFit() {
    QFETCH(QString, language);
    TEditorFixture fx(language.toLatin1().constData());
    const bool german = language == "DE";
    const std::string lang1 = german ? "Deutsch" : "English";
    const std::string lang2 = german ? "Englisch" : "German";
    std::vector<std::shared_ptr<TLesson>> lessons;
    for (int n = 1; n <= 12; ++n) lessons.push_back(NumberedLesson(n, 3 + n % 4, n != 6));
    lessons[0] = MakeLesson(1, {{german ? "das Haus" : "the house", german ? "the house" : "das Haus", true,
                                 "\\LangFiles\\Eng_Ger\\house.wav", "\\LangFiles\\Eng_Ger\\haus.wav"},
                                {german ? "der Baum" : "the tree", german ? "the tree" : "der Baum", true},
                                {german ? "rot" : "red", german ? "red" : "rot", false},
                                {german ? "Guten Morgen, wie geht es Ihnen?" : "Good morning, how are you today?",
                                 german ? "Good morning, how are you today?" : "Guten Morgen, wie geht es Ihnen?", true}});
    fx.IniFile->LangFileName = fx.WriteLangFile("/LangFiles/Eng_Ger/english_german.lang", lang1, lang2, lessons);
    fx.IniFile->Lang1 = lang1;
    fx.IniFile->Lang2 = lang2;
    fx.IniFile->AvailableUnits = {1, 2, 3, 10};

    TEditExerciseDlg exercise(nullptr, fx.Texts, *fx.Session);
    ShowActive(exercise);
    Settle();
    QCOMPARE(Clipped(exercise), QStringList());
    Save(exercise, QStringLiteral("edit-exercise-") + language.toLower());

    TBoolVector used;
    for (int n = 0; n <= 12; ++n) used.Put(n, n != 1);
    TeditLessonDlg lesson(nullptr, fx.Texts, *fx.Session);
    lesson.Prepare(lang1, lang2, false, lessons[0], 100, used);
    ShowActive(lesson);
    Settle();
    QCOMPARE(Clipped(lesson), QStringList());
    Save(lesson, QStringLiteral("edit-lesson-") + language.toLower());
  }
};

QTEST_MAIN(EditorLookTest)
#include "EditorLookTest.moc"
