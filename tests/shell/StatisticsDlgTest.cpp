#include <QAccessible>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>
#include <memory>

#include "session/PractiseStats.h"
#include "settings/AppLangHandl.h"
#include "shell/StatisticsDlg.h"
#include "widgets/DayChart.h"

// The statistics window on a small set of figures, in both languages.
class StatisticsDlgTest : public QObject {
  Q_OBJECT

 private slots:
  void figuresAreShownPerLessonWithTheirTotal();
  void textsFitInBothLanguages_data();
  void textsFitInBothLanguages();
  void escapeCloses();
  void emptyHistorySaysSo();

 private:
  std::unique_ptr<TStatisticsDlg> Open(const char* language, const TPractiseStats& stats) {
    texts = std::make_unique<TAppLangHandler>();
    if (!texts->LoadTextDb(QM_PROGRAM_DIR "/Text.Db", "Quillmere", nullptr) || !texts->SetLanguage(language))
      qFatal("no text database");
    auto dlg = std::make_unique<TStatisticsDlg>(nullptr, *texts, QStringLiteral("/home/l/english_german.lang"), stats);
    dlg->show();
    if (!QTest::qWaitForWindowExposed(dlg.get())) qFatal("not shown");
    return dlg;
  }
  static TPractiseStats Figures() {
    TPractiseStats stats;
    TLessonFigures one;
    one.Lesson = 1;
    one.Pairs = 14;
    one.InUse = 12;
    one.HeldBack[2] = 3;
    one.HeldBack[8] = 1;
    one.Retired = 2;
    TLessonFigures five;
    five.Lesson = 5;
    five.Pairs = 1;
    five.InUse = 1;
    stats.Lessons = {one, five};
    stats.Total = one;
    stats.Total.Lesson = -1;
    stats.Total.Pairs = 15;
    stats.Total.InUse = 13;
    for (int d = 0; d < kStatsDays; ++d)
      stats.LastDays.emplace_back(QDate(2026, 11, 14).addDays(d).toString(Qt::ISODate).toStdString(), d % 3 == 0 ? 10 + d : 0);
    stats.Right = 9;
    stats.Wrong = 3;
    stats.SkippedLines = 1;
    return stats;
  }
  std::unique_ptr<TAppLangHandler> texts;
};

void StatisticsDlgTest::figuresAreShownPerLessonWithTheirTotal() {
  auto dlg = Open("EN", Figures());
  QTableWidget* table = dlg->lessonTable;
  QCOMPARE(table->rowCount(), 3);
  QCOMPARE(table->columnCount(), 13);
  auto row = [table](int r) {
    QStringList cells;
    for (int c = 0; c < table->columnCount(); ++c) cells << table->item(r, c)->text();
    return cells.join(' ');
  };
  QCOMPARE(row(0), QStringLiteral("1 14 12 4 0 3 0 0 0 0 0 1 2"));
  QCOMPARE(row(1), QStringLiteral("5 1 1 0 0 0 0 0 0 0 0 0 0"));
  QCOMPARE(row(2), QStringLiteral("Total 15 13 4 0 3 0 0 0 0 0 1 2"));
  QCOMPARE(table->horizontalHeaderItem(4)->toolTip(), QStringLiteral("Skip once"));
  QCOMPARE(dlg->windowTitle(), QStringLiteral("Statistics - english_german.lang"));
  QCOMPARE(dlg->labelTyped->text(), QStringLiteral("Typed answers: 9 right, 3 wrong (75% right)"));
  QVERIFY(dlg->labelSkipped->isVisible());
  // The chart: named after its caption, its days told to a screen reader.
  QCOMPARE(dlg->dayChart->accessibleName(), QStringLiteral("Pairs practised per day, last 28 days"));
  QVERIFY2(dlg->dayChart->accessibleDescription().startsWith(QStringLiteral("Nov 14: 10 pairs; Nov 15: 0 pairs")),
           qPrintable(dlg->dayChart->accessibleDescription()));
  // Every label names the control it stands for.
  for (QLabel* label : dlg->findChildren<QLabel*>())
    if (label->objectName() == "labelLessons" || label->objectName() == "labelChart") QVERIFY(label->buddy() != nullptr);
  QVERIFY(table->hasFocus());
}

void StatisticsDlgTest::textsFitInBothLanguages_data() {
  QTest::addColumn<QString>("language");
  QTest::newRow("EN") << "EN";
  QTest::newRow("DE") << "DE";
}

void StatisticsDlgTest::textsFitInBothLanguages() {
  QFETCH(QString, language);
  auto dlg = Open(language.toLatin1().constData(), Figures());
  QTableWidget* table = dlg->lessonTable;
  // Every column shows its header and its figures whole.
  for (int c = 0; c < table->columnCount(); ++c) {
    const int need = table->horizontalHeader()->sectionSizeHint(c);
    QVERIFY2(table->columnWidth(c) >= need, qPrintable(table->horizontalHeaderItem(c)->text()));
  }
  QVERIFY(table->viewport()->width() >= table->horizontalHeader()->length());
  for (QLabel* label : dlg->findChildren<QLabel*>()) {
    if (!label->isVisible() || label->wordWrap()) continue;
    QVERIFY2(label->width() >= label->sizeHint().width(), qPrintable(label->text()));
  }
  QVERIFY(dlg->dayChart->height() >= dlg->dayChart->minimumSizeHint().height());
  // Nothing overlaps: the parts stand one under the other.
  const QWidget* order[] = {table, dlg->dayChart, dlg->labelTyped};
  for (int i = 1; i < 3; ++i) QVERIFY(order[i]->geometry().top() >= order[i - 1]->geometry().bottom());
}

void StatisticsDlgTest::escapeCloses() {
  auto dlg = Open("DE", Figures());
  QCOMPARE(dlg->findChild<QPushButton*>()->text(), QStringLiteral("&Schließen"));
  QTest::keyClick(dlg->lessonTable, Qt::Key_Escape);
  QVERIFY(!dlg->isVisible());
}

void StatisticsDlgTest::emptyHistorySaysSo() {
  TPractiseStats stats;
  stats.Total.Lesson = -1;
  auto dlg = Open("EN", stats);
  QCOMPARE(dlg->lessonTable->rowCount(), 1);
  QCOMPARE(dlg->labelTyped->text(), QStringLiteral("Typed answers: none yet"));
  QVERIFY(!dlg->labelSkipped->isVisible());
}

QTEST_MAIN(StatisticsDlgTest)
#include "StatisticsDlgTest.moc"
