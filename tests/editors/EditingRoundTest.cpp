// A full round of editing as a user does it: a new language file with two
// languages, two lessons with pairs and sound files, saved under a name,
// lessons ticked, OK.
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QTest>
#include <QToolButton>
#include <QTreeWidget>

#include "EditorFixture.h"
#include "editors/EditExercise.h"
#include "editors/EditLesson.h"
#include "editors/LessonSetRules.h"
#include "shell/TickTimer.h"
#include "storage/CodePage.h"

namespace {
template <class T>
T* Find(QWidget& parent, const char* name) {
  T* control = parent.findChild<T*>(QString::fromLatin1(name));
  if (control == nullptr) qFatal("no control %s", name);
  return control;
}

void Click(QWidget& parent, const char* name) {
  Find<QAbstractButton>(parent, name)->click();
  Settle();
}

struct TPairInput {
  QString Word1;
  QString Word2;
  QString Wav1;  // file chosen with "...", below the program directory; empty: none
};

// The lesson editor as a user works it: add each pair, type, choose sounds.
std::function<int(QDialog&)> LessonScript(TEditorFixture& fx, std::vector<TPairInput> pairs) {
  return [&fx, pairs](QDialog& d) {
    auto& le = dynamic_cast<TeditLessonDlg&>(d);
    ShowActive(le);
    for (const TPairInput& pair : pairs) {
      Click(le, "btnAddEntry");
      TypeAndLeave(Find<QLineEdit>(le, "editWord1"), pair.Word1);
      TypeAndLeave(Find<QLineEdit>(le, "editWord2"), pair.Word2);
      if (!pair.Wav1.isEmpty()) {
        fx.Files.push_back(fx.NativePath("") + pair.Wav1);
        Click(le, "btnSelectWav1");
      }
    }
    Click(le, "btnSafe");
    return le.result();
  };
}
}  // namespace

class EditingRoundTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { TTickTimer::SetManual(true); }

  void newFileTwoLessonsSavedTickedAndTaken() {
    TEditorFixture fx;
    QDir().mkpath(fx.NativePath("/LangFiles/Eng_Ger"));
    for (const char* wav : {"/LangFiles/Eng_Ger/house.wav", "/LangFiles/Eng_Ger/tree.wav"}) fx.WriteRaw(wav, "RIFF");

    TEditExerciseDlg ed(nullptr, fx.Texts, *fx.IniFile);
    ShowActive(ed);
    Click(ed, "btnNewLangFile");
    TypeAndLeave(Find<QLineEdit>(ed, "editLang1"), QStringLiteral("English"));
    TypeAndLeave(Find<QLineEdit>(ed, "editLang2"), QStringLiteral("German"));
    QCOMPARE(Find<QLineEdit>(ed, "editFileName")->text(), QStringLiteral("Eng_Ger"));

    TModalScripts scripts;
    scripts.Scripts.push_back(LessonScript(fx, {{"house", "Haus", "/LangFiles/Eng_Ger/house.wav"},
                                                {"tree", "Baum", "/LangFiles/Eng_Ger/tree.wav"},
                                                {"red", "rot", ""}}));
    Click(ed, "btnNewLesson");
    ShowActive(ed);
    scripts.Scripts.push_back(LessonScript(fx, {{"good morning", "guten Morgen", ""}, {"thank you", "danke", ""}}));
    Click(ed, "btnNewLesson");
    ShowActive(ed);
    QCOMPARE(scripts.Runs, 2);

    fx.Files.push_back(fx.NativePath("/LangFiles/Eng_Ger/english_german.lang"));
    Click(ed, "btnSaveLangfileAs");
    auto* list = Find<QTreeWidget>(ed, "lessonList");
    QCOMPARE(list->topLevelItemCount(), 2);
    for (int p = 0; p < 2; ++p) list->topLevelItem(p)->setCheckState(0, Qt::Checked);
    TypeAndLeave(Find<QLineEdit>(ed, "editMaxWords"), QStringLiteral("20"));
    Click(ed, "btnSave");

    QVERIFY(fx.Messages.empty());  // saved already: OK asks nothing
    QCOMPARE(ed.result(), TEditExerciseDlg::mrOk);
    QCOMPARE(ed.GetChangeCode(), static_cast<int>(ccLessons));  // 6 goes before 7
    const std::string path = fx.Path("/LangFiles/Eng_Ger/english_german.lang");
    QCOMPARE(fx.IniFile->LangFileName, path);
    QCOMPARE(fx.IniFile->Lang1, std::string("English"));
    QCOMPARE(fx.IniFile->Lang2, std::string("German"));
    QCOMPARE(fx.IniFile->MaxWords, 20);
    QCOMPARE(fx.IniFile->AvailableUnits, (std::vector<int32_t>{1, 2}));

    TLangFHandler file;
    QVERIFY(file.LoadLangFile(path));
    QCOMPARE(file.GetLang1Name(), std::string("English"));
    const auto one = file.GetLesson(1);
    QVERIFY(one != nullptr);
    QCOMPARE(one->PearCount(), 3);
    QCOMPARE(one->UsedPearCount(), 3);
    // The pairs were added at the top, each new row taking the next number.
    QCOMPARE(one->GetPear(0)->Word1, std::string("house"));
    QCOMPARE(one->GetPear(0)->WavFile1, std::string("\\LangFiles\\Eng_Ger\\house.wav"));
    QCOMPARE(one->GetPear(1)->WavFile1, std::string("\\LangFiles\\Eng_Ger\\tree.wav"));
    QCOMPARE(one->GetPear(2)->WavFile1, std::string(" "));
    QCOMPARE(file.GetLesson(2)->GetPear(1)->Word2, std::string("danke"));
  }
};

QTEST_MAIN(EditingRoundTest)
#include "EditingRoundTest.moc"
