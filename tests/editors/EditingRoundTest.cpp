// A full round of editing as a user does it, from the main window: a new
// language file with two languages, two lessons with pairs and sound files,
// saved under a name, lessons ticked, OK; the main window then shows the file
// and the lessons, and an exercise runs on them.
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <QToolButton>
#include <QTreeWidget>

#include "EditorFixture.h"
#include "settings/TextNumbers.h"
#include "storage/EncodingBackup.h"
#include "storage/FileUtil.h"
#include "editors/EditExercise.h"
#include "session/ExerciseRun.h"
#include "exercise/ExerciseWnd.h"
#include "widgets/MMediaManager.h"
#include "shell/MainWnd.h"
#include "editors/EditLesson.h"
#include "session/LessonSetRules.h"
#include "widgets/TickTimer.h"
#include "core/CodePage.h"

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

// Sounds are recorded, not played.
class TSilentPlayer : public TWavePlayer {
 public:
  explicit TSilentPlayer(QStringList& played) : played_(played) {}
  bool Available() override { return true; }
  bool PlayAndWait(const QString& path) override {
    played_ << path;
    return true;
  }

 private:
  QStringList& played_;
};

class TNoStarter : public TExternalStarter {
 public:
  bool Start(const QString&, const QStringList&) override { return false; }
};

TExerciseDlg* OpenExerciseDlg() {
  for (QWidget* w : QApplication::topLevelWidgets())
    if (auto* dlg = qobject_cast<TExerciseDlg*>(w); dlg != nullptr && dlg->isVisible()) return dlg;
  return nullptr;
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
    QVERIFY(QFile::copy(QStringLiteral(QM_PROGRAM_DIR "/Text.Db"), fx.NativePath("/Text.Db")));
    // The main window reports a missing default picture; the bundled one is there.
    QVERIFY(QFile::copy(QStringLiteral(QM_PROGRAM_DIR "/Default.Bmp"), fx.NativePath("/Default.Bmp")));
    QDir().mkpath(fx.NativePath("/LangFiles/Eng_Ger"));
    for (const char* wav : {"/LangFiles/Eng_Ger/house.wav", "/LangFiles/Eng_Ger/tree.wav"}) fx.WriteRaw(wav, "RIFF");
    QStringList played;
    TExerciseDlg::SetMediaFactory([&played](QWidget* owner) {
      return std::make_unique<TMediaManager>(owner, std::make_unique<TSilentPlayer>(played),
                                             std::make_unique<TNoStarter>());
    });

    tMainWindow main(fx.AppDir);
    ShowActive(main);
    QVERIFY(!main.StartAborted());
    QVERIFY(!main.IsExerciseReady());

    TModalScripts scripts;
    // The editor, as the user works it; the lesson editors it opens run the
    // scripts queued after this one.
    scripts.Scripts.push_back([&fx](QDialog& d) {
      auto& ed = dynamic_cast<TEditExerciseDlg&>(d);
      ShowActive(ed);
      Click(ed, "btnNewLangFile");
      TypeAndLeave(Find<QLineEdit>(ed, "editLang1"), QStringLiteral("English"));
      TypeAndLeave(Find<QLineEdit>(ed, "editLang2"), QStringLiteral("German"));
      if (Find<QLineEdit>(ed, "editFileName")->text() != QStringLiteral("Eng_Ger")) qWarning("file name not composed");
      Click(ed, "btnNewLesson");
      ShowActive(ed);
      Click(ed, "btnNewLesson");
      ShowActive(ed);
      fx.Files.push_back(fx.NativePath("/LangFiles/Eng_Ger/english_german.lang"));
      Click(ed, "btnSaveLangfileAs");
      auto* list = Find<QTreeWidget>(ed, "lessonList");
      for (int p = 0; p < list->topLevelItemCount(); ++p) list->topLevelItem(p)->setCheckState(0, Qt::Checked);
      TypeAndLeave(Find<QLineEdit>(ed, "editMaxWords"), QStringLiteral("20"));
      Click(ed, "btnSave");
      return ed.result();
    });
    scripts.Scripts.push_back(LessonScript(fx, {{"house", "Haus", "/LangFiles/Eng_Ger/house.wav"},
                                                {"tree", "Baum", "/LangFiles/Eng_Ger/tree.wav"},
                                                {"red", "rot", ""}}));
    scripts.Scripts.push_back(LessonScript(fx, {{"good morning", "guten Morgen", ""}, {"thank you", "danke", ""}}));
    Click(main, "btnEditExercise");
    QCOMPARE(scripts.Runs, 3);
    QVERIFY(fx.Messages.empty());  // saved already: OK asked nothing

    // What the editor left in the settings and on disk.
    const std::string path = fx.Path("/LangFiles/Eng_Ger/english_german.lang");
    TAppIniFile& ini = main.GetIniFile();
    QCOMPARE(ini.LangFileName, path);
    QCOMPARE(ini.Lang1, std::string("English"));
    QCOMPARE(ini.Lang2, std::string("German"));
    QCOMPARE(ini.MaxWords, 20);
    QCOMPARE(ini.AvailableUnits, (std::vector<int32_t>{1, 2}));
    TLangFHandler file;
    QVERIFY(file.LoadLangFile(path));
    QCOMPARE(file.GetLang1Name(), std::string("English"));
    const auto one = file.GetLesson(1);
    QVERIFY(one != nullptr);
    QCOMPARE(one->PearCount(), 3);
    QCOMPARE(one->GetPear(0)->Word1, std::string("house"));
    QCOMPARE(one->GetPear(0)->WavFile1, std::string("\\LangFiles\\Eng_Ger\\house.wav"));
    QCOMPARE(one->GetPear(1)->WavFile1, std::string("\\LangFiles\\Eng_Ger\\tree.wav"));
    QCOMPARE(one->GetPear(2)->WavFile1, std::string(" "));
    QCOMPARE(file.GetLesson(2)->GetPear(1)->Word2, std::string("danke"));

    // The main window shows the file and the lessons; the editor's change
    // code 6 composed a new list from them.
    QVERIFY(main.IsExerciseReady());
    QVERIFY(main.IsRecomposed());
    QCOMPARE(Find<QLabel>(main, "panelLangFile")->text(), QStringLiteral("English - German"));
    QVERIFY(Find<QLabel>(main, "labelSelUnits")->text().endsWith(QStringLiteral(" : 1,2")));
    QCOMPARE(ini.ExerciseWords.size(), std::size_t(5));

    // An exercise runs on them.
    Click(main, "btnExerciseRun");
    TExerciseDlg* exercise = OpenExerciseDlg();
    QVERIFY(exercise != nullptr);
    TExerciseRun& run = exercise->Run();
    exercise->btnRunClick();
    auto presented = [&run] {
      return run.Phase() == TRunPhase::QuestionShown || run.Phase() == TRunPhase::ShowAnswer ||
             run.Phase() == TRunPhase::AnswerDone;
    };
    for (int i = 0; i < 500 && !presented(); ++i) {
      if (run.timerGraphic.isActive()) run.timerGraphic.Fire();
      else if (run.timerPresentDelay.isActive()) run.timerPresentDelay.Fire();
      else break;
    }
    QVERIFY(presented());
    const QStringList words{"house", "tree", "red", "good morning", "thank you", "Haus", "Baum", "rot",
                            "guten Morgen", "danke"};
    QVERIFY2(words.contains(QString::fromStdString(std::string(run.CurrentPear().Word1))),
             run.CurrentPear().Word1.c_str());
    exercise->close();
    TExerciseDlg::SetMediaFactory(nullptr);
  }

  // The settings name a Windows-1252 file; a Greek pair added in the editor
  // brings the offer, yes converts. The main window and an exercise then work
  // on the UTF-8 file, and what the exercise saves keeps it UTF-8 with every
  // letter of the pair.
  void legacyFileConvertedInTheEditorThenExercised() {
    TEditorFixture fx;
    QVERIFY(QFile::copy(QStringLiteral(QM_PROGRAM_DIR "/Text.Db"), fx.NativePath("/Text.Db")));
    QVERIFY(QFile::copy(QStringLiteral(QM_PROGRAM_DIR "/Default.Bmp"), fx.NativePath("/Default.Bmp")));
    const std::string path = fx.WriteLangFile("/LangFiles/Eng_Ger/english_german.lang", "English", "German",
                                              {MakeLesson(1, {{"house", "Haus"}, {"tree", "Baum"}})});
    const TBytes old = ReadFileBytes(path);
    QFile ini(fx.NativePath("/Quillmere.Ini"));
    QVERIFY(ini.open(QIODevice::WriteOnly));
    ini.write("[Exercise]\nLangFileName=" + QByteArray::fromStdString(path) +
              "\nLang1=English\nLang2=German\nFirstLang=True\nMaxWords=20\n[AvailableUnits]\n0=1\nNbrUnits=1\n");
    ini.close();
    QStringList played;
    TExerciseDlg::SetMediaFactory([&played](QWidget* owner) {
      return std::make_unique<TMediaManager>(owner, std::make_unique<TSilentPlayer>(played),
                                             std::make_unique<TNoStarter>());
    });
    tMainWindow main(fx.AppDir);
    ShowActive(main);
    QVERIFY(!main.StartAborted());

    const QString greek = QStringLiteral("\u03C4\u03BF \u03C3\u03C0\u03AF\u03C4\u03B9");  // το σπίτι
    TModalScripts scripts;
    scripts.Scripts.push_back([](QDialog& d) {
      auto& ed = dynamic_cast<TEditExerciseDlg&>(d);
      ShowActive(ed);
      Click(ed, "btnEditLesson");
      ShowActive(ed);
      Click(ed, "btnSave");
      return ed.result();
    });
    scripts.Scripts.push_back(LessonScript(fx, {{"the house", greek, ""}}));
    fx.Answers = {QMessageBox::Yes, QMessageBox::Yes};  // convert; save the changes on OK
    Click(main, "btnEditExercise");
    QCOMPARE(scripts.Runs, 2);
    QCOMPARE(fx.Messages.size(), std::size_t(2));
    QVERIFY(fx.Messages[0].text.startsWith(fx.Text(txLegacyCannotHold)));
    QCOMPARE(ReadFileBytes(TEncodingBackup::Name(path, 1)), old);

    Click(main, "btnExerciseRun");
    TExerciseDlg* exercise = OpenExerciseDlg();
    QVERIFY(exercise != nullptr);
    TExerciseRun& run = exercise->Run();
    exercise->btnRunClick();
    for (int i = 0; i < 500 && run.Phase() != TRunPhase::QuestionShown && run.Phase() != TRunPhase::ShowAnswer &&
                    run.Phase() != TRunPhase::AnswerDone;
         ++i) {
      if (run.timerGraphic.isActive()) run.timerGraphic.Fire();
      else if (run.timerPresentDelay.isActive()) run.timerPresentDelay.Fire();
      else break;
    }
    exercise->close();
    Settle();
    TExerciseDlg::SetMediaFactory(nullptr);
    TLangFHandler file;
    QVERIFY(file.LoadLangFile(path));
    QCOMPARE(file.Encoding, TTextEncoding::Utf8);
    bool found = false;
    for (int32_t i = 0; i < file.GetLesson(1)->SlotCount(); ++i)
      if (auto pear = file.GetLesson(1)->GetPear(i)) found = found || Utf8ToQString(pear->Word2) == greek;
    QVERIFY(found);
    QCOMPARE(fx.Messages.size(), std::size_t(2));
  }
};

QTEST_MAIN(EditingRoundTest)
#include "EditingRoundTest.moc"
