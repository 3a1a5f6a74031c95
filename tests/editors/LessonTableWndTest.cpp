// Tables from the lesson editor as the learner uses them: a click or the
// list's menu key, a file dialog, a table with wrong rows listed by row number
// in the interface language, a good table's pairs after the lesson's own,
// and the lesson as shown written out; a full disk names its reason.
#include <QAbstractButton>
#include <QApplication>
#include <QContextMenuEvent>
#include <QFile>
#include <QListWidget>
#include <QMenu>
#include <QRegularExpression>
#include <QTableWidget>
#include <QTest>
#include <cstring>

#include "EditorFixture.h"
#include "ScratchMount.h"
#include "core/CodePage.h"
#include "editors/EditLesson.h"
#include "editors/TableErrorText.h"
#include "settings/TextNumbers.h"
#include "storage/TableImport.h"
#include "widgets/TickTimer.h"

namespace {

enum { colUse = 0, colWord1, colWord2 };

// The lesson editor on lesson 2 of two pairs (w2_0/v2_0, w2_1/v2_1).
struct TLessonEditor {
  explicit TLessonEditor(TEditorFixture& fx) : Dlg(nullptr, fx.Texts, *fx.Session), Lesson(NumberedLesson(2, 2)) {
    Dlg.Prepare("English", "German", false, Lesson, 100, Used({1, 2}));
    ShowActive(Dlg);
  }
  QTableWidget* Table() { return Dlg.findChild<QTableWidget*>(QStringLiteral("wordPearList")); }
  // A real mouse click on a tool button.
  void Click(const char* name) {
    auto* button = Dlg.findChild<QAbstractButton*>(QString::fromLatin1(name));
    if (button == nullptr) qFatal("no button %s", name);
    QVERIFY2(button->isEnabled(), name);
    QTest::mouseClick(button, Qt::LeftButton);
    Settle();
  }
  QString Cell(int r, int c) { return Table()->item(r, c)->text(); }
  // Writes the table below the program directory, chooses it and imports it.
  void Import(TEditorFixture& fx, const std::string& name, const std::string& table) {
    fx.WriteRaw(name, table);
    fx.Files = {fx.NativePath(name)};
    Click("btnImportTable");
  }

  TeditLessonDlg Dlg;
  std::shared_ptr<TLesson> Lesson;
};

QByteArray Slurp(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return {};
  return file.readAll();
}

}  // namespace

class LessonTableWndTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { TTickTimer::SetManual(true); }

  void wrongRowsAreListedInTheInterfaceLanguageAndNothingTaken_data() {
    QTest::addColumn<QString>("language");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("EN") << "EN"
                        << QStringList{"Row 3: word2 is an empty phrase",
                                       "Row 4: The lesson \"x\" is not a whole number from 1 to 99999",
                                       "Row 5: use is \"yes\", not 0 or 1"};
    QTest::newRow("DE") << "DE"
                        << QStringList{"Zeile 3: word2 ist ein leerer Ausdruck",
                                       "Zeile 4: Die Lektion \xE2\x80\x9Ex\xE2\x80\x9C ist keine ganze Zahl von 1 bis 99999",
                                       "Zeile 5: use ist \xE2\x80\x9Eyes\xE2\x80\x9C, nicht 0 oder 1"};
  }

  void wrongRowsAreListedInTheInterfaceLanguageAndNothingTaken() {
    QFETCH(QString, language);
    QFETCH(QStringList, expected);
    TEditorFixture fx(qPrintable(language));
    TModalScripts modal;
    QStringList shown;
    QString listName;
    modal.Scripts.push_back([&](QDialog& dialog) {
      auto* list = dialog.findChild<QListWidget*>("tableErrors");
      for (int i = 0; i < list->count(); ++i) shown << list->item(i)->text();
      listName = list->accessibleName();
      return int(QDialog::Accepted);
    });
    TLessonEditor ed(fx);
    ed.Import(fx, "/words.csv",
              "lesson,word1,word2,use\n2,house,Haus,1\n2,tree,,1\nx,ferry,F\xC3\xA4hre,1\n2,birch,Birke,yes\n");
    QCOMPARE(modal.Runs, 1);
    QCOMPARE(shown, expected);
    QCOMPARE(listName, fx.Text(txTableErrors));
    // The dialog asked in the interface language too.
    QCOMPARE(fx.FileRequests.back().title, fx.Text(txImportTableLesson));
    QCOMPARE(ed.Table()->rowCount(), 2);
    fx.Messages.clear();
    ed.Click("btnClose");
    QVERIFY(fx.Messages.empty());
    QCOMPARE(ed.Lesson->PearCount(), 2);
  }

  // Every reason a table can give has a German text of its own, with the
  // values in their places; a value holding "%2" is not filled in again.
  void everyTableReasonHasAGermanText() {
    TEditorFixture fx("DE");
    const TTableProblem cases[] = {
        {TTableReason::CsvStrayQuote, {}},
        {TTableReason::CsvTextAfterQuote, {}},
        {TTableReason::CsvOpenQuote, {}},
        {TTableReason::TableEmpty, {}},
        {TTableReason::NoPairRows, {}},
        {TTableReason::HeaderSemicolons, {"a;b"}},
        {TTableReason::HeaderOneField, {"a|b"}},
        {TTableReason::UnknownColumn, {"%2"}},
        {TTableReason::ColumnTwice, {"word1"}},
        {TTableReason::MissingColumn, {"word2"}},
        {TTableReason::FieldCount, {"2", "3"}},
        {TTableReason::LessonNumber, {"x", "99999"}},
        {TTableReason::FlagValue, {"use", "ja"}},
        {TTableReason::PairTooLong, {"300", "255"}},
        {TTableReason::NotUtf8, {"word1"}},
        {TTableReason::NotInCp1252, {"word1", "\xC5\x91", "U+0151"}},
        {TTableReason::LineBreak, {"word1", "U+000A"}},
        {TTableReason::Tab, {"word1", "U+0009"}},
        {TTableReason::ControlChar, {"word1", "U+0001"}},
        {TTableReason::Separator, {"word1", "@"}},
        {TTableReason::EmptyPhrase, {"word2"}},
        {TTableReason::PhraseTooLong, {"word1", "120", "100"}},
        {TTableReason::ExportTab, {"2", "0", "word1"}},
    };
    for (const TTableProblem& c : cases) {
      const QString text = TableProblemText(fx.Texts, c);
      QVERIFY2(text != Utf8ToQString(EnglishReason(c)), qPrintable(text));
      QVERIFY2(!text.contains(QStringLiteral("????")), qPrintable(text));
      for (const std::string& value : c.Values) QVERIFY2(text.contains(Utf8ToQString(value)), qPrintable(text));
      QVERIFY2(!text.contains(QRegularExpression(QStringLiteral("%[1-9]"))) || c.Code == TTableReason::UnknownColumn,
               qPrintable(text));
    }
    QCOMPARE(TableProblemText(fx.Texts, {TTableReason::UnknownColumn, {"%2"}}),
             QString::fromUtf8("Unbekannte Spalte \xE2\x80\x9E%2\xE2\x80\x9C (die Spalten hei\xC3\x9F" "en lesson, pair, "
                               "use, drawn, word1, word2, wav1, wav2)"));
  }

  // A table made for one lesson needs no lesson column; its rows come after
  // the lesson's last pair, as edits the learner stores or throws away.
  void goodTableAddsItsPairsAfterTheLastAsEditsToStore() {
    TEditorFixture fx;
    TLessonEditor ed(fx);
    ed.Import(fx, "/words.tsv", "word1\tword2\tuse\twav1\nhouse\tHaus\t1\thouse.wav\ntree\tBaum\t0\t\n");
    QVERIFY(fx.Messages.empty());
    QCOMPARE(ed.Table()->rowCount(), 4);
    QCOMPARE(ed.Cell(2, colWord1), QStringLiteral("house"));
    QCOMPARE(ed.Cell(3, colWord2), QStringLiteral("Baum"));
    QCOMPARE(ed.Table()->item(3, colUse)->checkState(), Qt::Unchecked);
    // The first new pair is selected, its texts in the fields.
    QCOMPARE(ed.Table()->currentRow(), 2);
    QCOMPARE(ed.Dlg.findChild<QLineEdit*>("editWav1")->text(), QStringLiteral("house.wav"));
    QCOMPARE(ed.Lesson->PearCount(), 2);  // nothing stored yet

    ed.Click("btnSafe");
    QCOMPARE(ed.Dlg.result(), int(TeditLessonDlg::mrStored));
    QVERIFY(ed.Dlg.IsChanged());
    QCOMPARE(ed.Lesson->PearCount(), 4);
    // The lesson's own pairs keep their numbers; the new ones come after.
    QCOMPARE(std::string(ed.Lesson->GetPear(1)->Word1), std::string("w2_1"));
    QCOMPARE(std::string(ed.Lesson->GetPear(2)->Word1), std::string("house"));
    QCOMPARE(std::string(ed.Lesson->GetPear(2)->WavFile1), std::string("house.wav"));
    QCOMPARE(std::string(ed.Lesson->GetPear(3)->WavFile1), std::string(" "));
    QVERIFY(!ed.Lesson->GetPear(3)->InUse);
  }

  // A KDE word list of one lesson comes in the same way, and what a language
  // file cannot keep (here a grade) is said.
  void kdeWordListOfOneLessonAddsItsPairsAndSaysWhatWasLeft() {
    TEditorFixture fx;
    TLessonEditor ed(fx);
    ed.Import(fx, "/words.kvtml",
              "<?xml version=\"1.0\"?><kvtml version=\"2.0\"><identifiers>"
              "<identifier id=\"0\"><name>English</name></identifier>"
              "<identifier id=\"1\"><name>German</name></identifier></identifiers><entries>"
              "<entry id=\"0\"><translation id=\"0\"><text>house</text></translation><translation id=\"1\">"
              "<text>Haus</text><grade><currentgrade>2</currentgrade></grade></translation></entry>"
              "</entries><lessons><container><name>Home</name><entry id=\"0\"/></container></lessons></kvtml>");
    QCOMPARE(ed.Table()->rowCount(), 3);
    QCOMPARE(ed.Cell(2, colWord2), QStringLiteral("Haus"));
    QCOMPARE(fx.Messages.size(), std::size_t(1));
    QVERIFY2(fx.Messages[0].text.contains(QStringLiteral("Not kept: 1 grade")), qPrintable(fx.Messages[0].text));
  }

  // A new lesson starts empty with its fields shut; a table fills it and
  // the fields open for the imported pairs.
  void newLessonIsFilledFromATableAndStored() {
    TEditorFixture fx;
    auto lesson = std::make_shared<TLesson>();
    lesson->LessonNbr = 3;
    TeditLessonDlg dlg(nullptr, fx.Texts, *fx.Session);
    dlg.Prepare("English", "German", true, lesson, 100, Used({1, 2}));
    ShowActive(dlg);
    auto* save = dlg.findChild<QAbstractButton*>("btnSafe");
    QVERIFY(!save->isEnabled());
    QVERIFY(!dlg.findChild<QAbstractButton*>("btnExportTable")->isEnabled());
    fx.WriteRaw("/words.csv", "word1,word2\nhouse,Haus\n");
    fx.Files = {fx.NativePath("/words.csv")};
    QTest::mouseClick(dlg.findChild<QAbstractButton*>("btnImportTable"), Qt::LeftButton);
    Settle();
    auto* word1 = dlg.findChild<QLineEdit*>("editWord1");
    QVERIFY(word1->isEnabled() && !word1->isReadOnly());
    QCOMPARE(word1->text(), QStringLiteral("house"));
    QVERIFY(save->isEnabled());
    QTest::mouseClick(save, Qt::LeftButton);
    QCOMPARE(dlg.result(), int(TeditLessonDlg::mrStored));
    QCOMPARE(lesson->LessonNbr, 3);
    QCOMPARE(lesson->PearCount(), 1);
    QCOMPARE(std::string(lesson->GetPear(0)->Word2), std::string("Haus"));
  }

  void importedRowsCloseLikeOtherEditsAndAreThrownAwayOnNo() {
    TEditorFixture fx;
    TLessonEditor ed(fx);
    ed.Import(fx, "/words.csv", "word1,word2\nhouse,Haus\n");
    fx.Answers = {QMessageBox::No};
    ed.Click("btnClose");
    QCOMPARE(fx.Messages.size(), std::size_t(1));
    QVERIFY(fx.Messages[0].text.startsWith(fx.Text(txLessonUnstored)));
    QCOMPARE(ed.Lesson->PearCount(), 2);
  }

  // The lesson column names the lesson of the table; one lesson comes into
  // this one, whatever its number, several are refused.
  void lessonColumnOfOneLessonIsTakenAndOfSeveralRefused() {
    TEditorFixture fx;
    TLessonEditor ed(fx);
    ed.Import(fx, "/two.csv", "lesson,word1,word2\n1,house,Haus\n3,tree,Baum\n");
    QCOMPARE(fx.Messages.size(), std::size_t(1));
    QCOMPARE(fx.Messages[0].text, QString(fx.Text(txTableSeveralLessons)).replace("%1", "2"));
    QCOMPARE(ed.Table()->rowCount(), 2);
    fx.Messages.clear();
    ed.Import(fx, "/one.csv", "lesson,word1,word2\n7,house,Haus\n7,tree,Baum\n");
    QVERIFY(fx.Messages.empty());
    QCOMPARE(ed.Table()->rowCount(), 4);
    QCOMPARE(ed.Cell(3, colWord1), QStringLiteral("tree"));
  }

  // Without a mouse: the list's menu key opens its menu, whose last two
  // entries import and export; arrows and Return choose.
  void menuKeyOfTheListReachesTheTableEntries() {
    TEditorFixture fx;
    fx.WriteRaw("/words.csv", "word1,word2\nhouse,Haus\n");
    fx.Files = {fx.NativePath("/words.csv")};
    TLessonEditor ed(fx);
    // The menu key as the platform delivers it: a context menu event from the keyboard.
    QContextMenuEvent key(QContextMenuEvent::Keyboard, QPoint(4, 4), ed.Table()->mapToGlobal(QPoint(4, 4)));
    QApplication::sendEvent(ed.Table(), &key);
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    QVERIFY(menu != nullptr);
    QTest::keyClick(menu, Qt::Key_Up);  // from the top round to the last entry
    QTest::keyClick(menu, Qt::Key_Up);
    QCOMPARE(menu->activeAction()->text(), fx.Text(txImportTableLesson));
    QTest::keyClick(menu, Qt::Key_Return);
    Settle();
    QCOMPARE(ed.Table()->rowCount(), 3);
  }

  // What the editor shows, stored or not: the edit still in a field too.
  void exportWritesTheLessonAsShown() {
    TEditorFixture fx;
    TLessonEditor ed(fx);
    ed.Table()->selectRow(1);
    Settle();
    auto* word2 = ed.Dlg.findChild<QLineEdit*>("editWord2");
    word2->setFocus();
    word2->selectAll();
    QTest::keyClicks(word2, QStringLiteral("F"));
    QTest::sendKeyEvent(QTest::Click, word2, Qt::Key_unknown, QStringLiteral("ä"), Qt::NoModifier);
    QTest::keyClicks(word2, QStringLiteral("hre"));
    fx.Files = {fx.NativePath("/out.csv")};
    ed.Click("btnExportTable");
    QVERIFY(fx.Messages.empty());
    QCOMPARE(fx.FileRequests.back().title, fx.Text(txExportTableLesson));
    const QByteArray table = Slurp(fx.NativePath("/out.csv"));
    QCOMPARE(table, QByteArray("lesson,pair,use,drawn,word1,word2,wav1,wav2\r\n"
                               "2,0,1,0,w2_0,v2_0,,\r\n"
                               "2,1,1,0,w2_1,F\xC3\xA4hre,,\r\n"));
    // It reads back as it was written, and the lesson is still unstored.
    QVERIFY(ImportTable(std::string_view(table.constData(), static_cast<std::size_t>(table.size())),
                        TTableFormat::Csv)
                .Ok());
    QCOMPARE(std::string(ed.Lesson->GetPear(1)->Word2), std::string("v2_1"));
  }

  // A real full disk: the reason is named, and an older table of that name
  // is still whole.
  void fullDiskOnExportNamesTheReasonAndKeepsTheOlderTable() {
    TScratchMount disk("size=64k");
    if (!disk.Mounted()) QSKIP("no tmpfs mount here (needs root)");
    const QString path = QString::fromStdString((disk.Path() / "lesson.csv").string());
    {
      QFile old(path);
      QVERIFY(old.open(QIODevice::WriteOnly));
      old.write("an older table\n");
    }
    QVERIFY(disk.Fill("filler"));
    TEditorFixture fx("DE");
    fx.Files = {path};
    TLessonEditor ed(fx);
    ed.Click("btnExportTable");
    QCOMPARE(fx.Messages.size(), std::size_t(1));
    const QString text = fx.Messages[0].text;
    QVERIFY2(text.startsWith(fx.Text(txTableNotWritten)), qPrintable(text));
    QVERIFY2(text.contains(fx.Text(txReason)), qPrintable(text));
    QVERIFY2(text.contains(QString::fromLocal8Bit(std::strerror(ENOSPC))), qPrintable(text));
    QCOMPARE(Slurp(path), QByteArray("an older table\n"));
  }
};

QTEST_MAIN(LessonTableWndTest)
#include "LessonTableWndTest.moc"
