// Tables from the exercise editor as the learner uses them: a file dialog,
// a table with a wrong row listed by row number and nothing taken, a good
// table making and extending lessons, and the lessons written out as a
// table that reads back the same; a failing write at the system call.
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QListWidget>
#include <QTest>
#include <QToolButton>
#include <QTreeWidget>

#include "EditorFixture.h"
#include "SaveCallFault.h"
#include "core/CodePage.h"
#include "editors/EditExercise.h"
#include "settings/TextNumbers.h"
#include "storage/KvtmlImport.h"
#include "storage/TableImport.h"
#include "widgets/TickTimer.h"

namespace {

const char* const kFile = "/LangFiles/Eng_Ger/english_german.lang";

// English/German with lesson 1 of two pairs, named by the settings.
std::string OpenFile(TEditorFixture& fx) {
  const std::string path = fx.WriteLangFile(kFile, "English", "German", {NumberedLesson(1, 2)});
  fx.IniFile->LangFileName = path;
  fx.IniFile->Lang1 = "English";
  fx.IniFile->Lang2 = "German";
  fx.IniFile->AvailableUnits = {1};
  return path;
}

struct TEditor {
  explicit TEditor(TEditorFixture& fx) : Dlg(nullptr, fx.Texts, *fx.Session) { ShowActive(Dlg); }
  void Click(const char* name) {
    auto* button = Dlg.findChild<QToolButton*>(QString::fromLatin1(name));
    if (button == nullptr) qFatal("no button %s", name);
    QVERIFY2(button->isEnabled(), name);
    button->click();
    Settle();
  }
  TEditExerciseDlg Dlg;
};

TLangFHandler Reread(const std::string& path) {
  TLangFHandler file;
  if (!file.LoadLangFile(path)) qFatal("language file not read back");
  return file;
}

}  // namespace

class TableImportWndTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { TTickTimer::SetManual(true); }

  void tableWithAWrongRowIsListedAndNothingTaken() {
    TEditorFixture fx;
    TModalScripts modal;
    const std::string path = OpenFile(fx);
    const QByteArray before = [&] {
      QFile file(Utf8ToQString(path));
      file.open(QIODevice::ReadOnly);
      return file.readAll();
    }();
    // The file is of the older kind (Windows-1252): a Cyrillic row is refused
    // as the command-line tool refuses it.
    fx.WriteRaw("/words.csv", "lesson,word1,word2\n2,house,Haus\nx,tree,Baum\n2,,leer\n2,birch,Берёза\n");
    fx.Files = {fx.NativePath("/words.csv")};
    QStringList shown;
    modal.Scripts.push_back([&](QDialog& dialog) {
      auto* list = dialog.findChild<QListWidget*>("tableErrors");
      for (int i = 0; i < list->count(); ++i) shown << list->item(i)->text();
      // Read out by name; the intro names the table.
      if (list->accessibleName() != fx.Text(txTableErrors)) qFatal("the list has no name");
      return int(QDialog::Accepted);
    });
    TEditor ed(fx);
    ed.Click("btnImportTable");
    QCOMPARE(modal.Runs, 1);
    QCOMPARE(shown.size(), 3);
    QVERIFY2(shown[0].startsWith("Row 3"), qPrintable(shown[0]));
    QVERIFY2(shown[1].startsWith("Row 4"), qPrintable(shown[1]));
    QVERIFY2(shown[2].startsWith("Row 5"), qPrintable(shown[2]));
    // Nothing was taken: only lesson 1, and closing asks nothing.
    QCOMPARE(ed.Dlg.findChild<QTreeWidget*>("lessonList")->topLevelItemCount(), 1);
    fx.Messages.clear();
    ed.Click("btnClose");
    QVERIFY(fx.Messages.empty());
    QFile file(Utf8ToQString(path));
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), before);
  }

  void goodTableMakesAndExtendsLessonsThatSaveAndExportBack() {
    TEditorFixture fx;
    const std::string path = OpenFile(fx);
    fx.WriteRaw("/words.tsv", "lesson\tword1\tword2\n1\thouse\tHaus\n3\ttree\tBaum\n3\tferry\tFähre\n");
    fx.Files = {fx.NativePath("/words.tsv")};
    TEditor ed(fx);
    ed.Click("btnImportTable");
    QCOMPARE(ed.Dlg.findChild<QTreeWidget*>("lessonList")->topLevelItemCount(), 2);
    QCOMPARE(fx.Messages.size(), std::size_t(1));
    QVERIFY2(fx.Messages[0].text.startsWith("3 pairs were imported into 2 lessons"),
             qPrintable(fx.Messages[0].text));
    fx.Messages.clear();
    ed.Click("btnSaveLangFile");
    QVERIFY(fx.Messages.empty());
    TLangFHandler saved = Reread(path);
    QCOMPARE(saved.GetLesson(1)->PearCount(), 3);
    QCOMPARE(std::string(saved.GetLesson(1)->GetPear(2)->Word1), std::string("house"));
    QCOMPARE(saved.GetLesson(3)->PearCount(), 2);

    // Out as CSV, and the table reads back as the same pairs.
    fx.Files = {fx.NativePath("/out.csv")};
    ed.Click("btnExportTable");
    QVERIFY(fx.Messages.empty());
    QFile out(fx.NativePath("/out.csv"));
    QVERIFY(out.open(QIODevice::ReadOnly));
    const QByteArray table = out.readAll();
    QVERIFY(table.startsWith("lesson,pair,use,drawn,word1,word2,wav1,wav2"));
    const TTableImport back = ImportTable(std::string_view(table.constData(), static_cast<std::size_t>(table.size())),
                                          TTableFormat::Csv);
    QVERIFY(back.Ok());
    QCOMPARE(back.PairCount, 5);
    QCOMPARE(std::string(back.Lessons[1]->GetPear(1)->Word2), std::string("Fähre"));
  }

  // A KDE word list comes in like a table: its lessons by number, what a
  // language file cannot keep said, and it goes out again as a word list.
  void kdeWordListImportsLikeATableAndExportsBack() {
    TEditorFixture fx;
    OpenFile(fx);
    fx.WriteRaw("/words.kvtml", "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        "<!DOCTYPE kvtml PUBLIC \"kvtml2.dtd\" \"http://edu.kde.org/kvtml/kvtml2.dtd\">\n"
        "<kvtml version=\"2.0\"><identifiers>\n"
        " <identifier id=\"0\"><name>English</name></identifier><identifier id=\"1\"><name>German</name></identifier></identifiers>\n"
        " <entries>\n"
        "  <entry id=\"0\"><translation id=\"0\"><text>house</text></translation>\n"
        "   <translation id=\"1\"><text>Haus</text><grade><currentgrade>3</currentgrade></grade></translation></entry>\n"
        "  <entry id=\"1\"><translation id=\"0\"><text>ferry</text></translation><translation id=\"1\"><text>Fähre</text></translation></entry>\n"
        "  <entry id=\"2\"><translation id=\"0\"><text>red</text></translation><translation id=\"1\"><text>rot</text></translation></entry>\n"
        " </entries>\n"
        " <lessons><container><name>Home</name><entry id=\"0\"/><entry id=\"1\"/></container>\n"
        "  <container><name>Colours</name><entry id=\"2\"/></container></lessons>\n"
        "</kvtml>\n");
    fx.Files = {fx.NativePath("/words.kvtml")};
    TEditor ed(fx);
    ed.Click("btnImportTable");
    QCOMPARE(ed.Dlg.findChild<QTreeWidget*>("lessonList")->topLevelItemCount(), 2);
    QCOMPARE(fx.Messages.size(), std::size_t(1));
    QVERIFY2(fx.Messages[0].text.startsWith("3 pairs were imported into 2 lessons"), qPrintable(fx.Messages[0].text));
    QVERIFY2(fx.Messages[0].text.contains(fx.Text(txNotKeptFromList) + "\nNot kept: 1 grade"),
             qPrintable(fx.Messages[0].text));
    fx.Messages.clear();

    fx.Files = {fx.NativePath("/out.kvtml")};
    ed.Click("btnExportTable");
    QVERIFY(fx.Messages.empty());
    const TImportedLessons back = ImportKvtmlFile(fx.NativePath("/out.kvtml").toStdString(), {});
    QVERIFY(back.Ok());
    QCOMPARE(back.PairCount, 5);
    QCOMPARE(std::string(back.Lessons[0]->GetPear(3)->Word2), std::string("Fähre"));
  }

  void hostileWordListIsRefusedWithItsReason() {
    TEditorFixture fx;
    OpenFile(fx);
    fx.WriteRaw("/bomb.kvtml", "<?xml version=\"1.0\"?><!DOCTYPE kvtml [<!ENTITY a \"aaaaaaaaaa\">\n"
        "<!ENTITY b \"&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;\">]><kvtml version=\"2.0\"><entries><entry id=\"0\">\n"
        "<translation id=\"0\"><text>&b;</text></translation></entry></entries></kvtml>");
    fx.Files = {fx.NativePath("/bomb.kvtml")};
    TModalScripts modal;
    QStringList shown;
    modal.Scripts.push_back([&](QDialog& dialog) {
      auto* list = dialog.findChild<QListWidget*>("tableErrors");
      for (int i = 0; i < list->count(); ++i) shown << list->item(i)->text();
      return int(QDialog::Accepted);
    });
    TEditor ed(fx);
    ed.Click("btnImportTable");
    QCOMPARE(modal.Runs, 1);
    QCOMPARE(shown.size(), 1);
    QVERIFY2(!shown[0].isEmpty(), "the reason is named");
    QCOMPARE(ed.Dlg.findChild<QTreeWidget*>("lessonList")->topLevelItemCount(), 1);
  }

  // The disk refuses the write: the learner is told why, and an older
  // table of that name is still whole.
  void failedExportKeepsTheOldTableAndSaysWhy() {
    TEditorFixture fx;
    OpenFile(fx);
    fx.WriteRaw("/out.csv", "an older table\n");
    fx.Files = {fx.NativePath("/out.csv")};
    TEditor ed(fx);
    {
      TSaveCallFailure full({TSaveCall::Write, ENOSPC});
      ed.Click("btnExportTable");
    }
    QCOMPARE(fx.Messages.size(), std::size_t(1));
    QVERIFY(fx.Messages[0].text.startsWith(fx.Text(txTableNotWritten)));
    QFile old(fx.NativePath("/out.csv"));
    QVERIFY(old.open(QIODevice::ReadOnly));
    QCOMPARE(old.readAll(), QByteArray("an older table\n"));
  }
};

QTEST_MAIN(TableImportWndTest)
#include "TableImportWndTest.moc"
