// The exercise and lesson-set editor through its real controls; the lesson
// editor runs inside it by script.
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <QToolButton>
#include <QTreeWidget>

#include "EditorFixture.h"
#include "core/Errors.h"
#include "settings/TextNumbers.h"
#include "widgets/CSpinBox.h"
#include "editors/EditExercise.h"
#include "editors/EditLesson.h"
#include "session/LessonRows.h"
#include "session/LessonSetRules.h"
#include "widgets/TickTimer.h"
#include "storage/CodeDecode.h"
#include "core/CodePage.h"
#include "storage/EncodingBackup.h"
#include "storage/FileUtil.h"
#include "SaveCallFault.h"

namespace {
template <class T>
T* Find(QWidget& parent, const char* name) {
  T* control = parent.findChild<T*>(QString::fromLatin1(name));
  if (control == nullptr) qFatal("no control %s", name);
  return control;
}

std::vector<std::shared_ptr<TLesson>> Lessons(int from, int to, int pairs = 2) {
  std::vector<std::shared_ptr<TLesson>> lessons;
  for (int n = from; n <= to; ++n) lessons.push_back(NumberedLesson(n, pairs));
  return lessons;
}

class TExerciseEditor {
 public:
  explicit TExerciseEditor(TEditorFixture& fx) : Fx(fx), Dlg(nullptr, fx.Texts, *fx.Session) { ShowActive(Dlg); }

  template <class T>
  T* C(const char* name) {
    return Find<T>(Dlg, name);
  }
  QTreeWidget* List() { return C<QTreeWidget>("lessonList"); }
  QLineEdit* Edit(const char* name) { return C<QLineEdit>(name); }
  QString Label(const char* name) { return C<QLabel>(name)->text(); }
  void Click(const char* name) {
    C<QToolButton>(name)->click();
    Settle();
  }
  bool Enabled(const char* name) { return C<QToolButton>(name)->isEnabled(); }
  QString Caption(int n) { return QStringLiteral(" ") + Fx.Text(txLesson) + ' ' + QString::number(n); }
  QStringList Captions() {
    QStringList captions;
    for (int p = 0; p < List()->topLevelItemCount(); ++p) captions << List()->topLevelItem(p)->text(0);
    return captions;
  }
  int PositionOf(int nbr) { return static_cast<int>(Captions().indexOf(Caption(nbr))); }
  bool Ticked(int nbr) { return List()->topLevelItem(PositionOf(nbr))->checkState(0) == Qt::Checked; }
  void Tick(int nbr, bool on) {
    List()->topLevelItem(PositionOf(nbr))->setCheckState(0, on ? Qt::Checked : Qt::Unchecked);
    Settle();
  }
  void Select(int nbr) {
    List()->setCurrentItem(List()->topLevelItem(PositionOf(nbr)));
    Settle();
  }

  TEditorFixture& Fx;
  TEditExerciseDlg Dlg;
};

// A lesson editor script: checks the number it offers, optionally steps it up,
// adds one pair and stores.
std::function<int(QDialog&)> AddPairScript(QString* offered, int stepsUp, const QString& w1, const QString& w2) {
  return [=](QDialog& d) {
    auto& le = dynamic_cast<TeditLessonDlg&>(d);
    ShowActive(le);
    if (offered != nullptr) *offered = Find<QLineEdit>(le, "editLessonNbr")->text();
    for (int i = 0; i < stepsUp; ++i) {
      QTest::mousePress(Find<QToolButton>(le, "btnSpinboxUp"), Qt::LeftButton);
      QTest::mouseRelease(Find<QToolButton>(le, "btnSpinboxUp"), Qt::LeftButton);
    }
    if (!w1.isEmpty()) {
      Find<QToolButton>(le, "btnAddEntry")->click();
      TypeAndLeave(Find<QLineEdit>(le, "editWord1"), w1);
      TypeAndLeave(Find<QLineEdit>(le, "editWord2"), w2);
    }
    Find<QToolButton>(le, "btnSafe")->click();
    return le.result();
  };
}

std::function<int(QDialog&)> CloseScript(QString* offered) {
  return [=](QDialog& d) {
    auto& le = dynamic_cast<TeditLessonDlg&>(d);
    ShowActive(le);
    if (offered != nullptr) *offered = Find<QLineEdit>(le, "editLessonNbr")->text();
    Find<QToolButton>(le, "btnClose")->click();
    return le.result();
  };
}

// Settings that name a file of lessons 1 to 5 with lessons 1 to 5 chosen.
std::string FiveLessons(TEditorFixture& fx, std::vector<int32_t> chosen = {1, 2, 3, 4, 5}) {
  const std::string path = fx.WriteLangFile("/LangFiles/Eng_Ger/english_german.lang", "English", "German", Lessons(1, 5));
  fx.IniFile->LangFileName = path;
  fx.IniFile->Lang1 = "English";
  fx.IniFile->Lang2 = "German";
  fx.IniFile->AvailableUnits = std::move(chosen);
  return path;
}

// A language file whose second lesson header is no number.
std::string MalformedFile(TEditorFixture& fx) {
  TStrVector lines;
  for (const char* line : {"[General]", "English@German", "[1]", "0=a@b# @ *", "[x2]", "0=c@d# @ *"}) lines.Add(line);
  const TBytes bytes = StringsToContainer(lines);
  fx.WriteRaw("/LangFiles/bad.lang", std::string(bytes.begin(), bytes.end()));
  return fx.Path("/LangFiles/bad.lang");
}
}  // namespace

class EditExerciseTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { TTickTimer::SetManual(true); }

  void captionsSortAsTextAndTicksComeFromTheSettings() {
    TEditorFixture fx;
    fx.IniFile->LangFileName = fx.WriteLangFile("/LangFiles/a.lang", "English", "German", Lessons(1, 12));
    fx.IniFile->Lang1 = "English";
    fx.IniFile->Lang2 = "German";
    fx.IniFile->AvailableUnits = {12, 3, 10};
    TExerciseEditor ed(fx);
    QStringList expected;
    for (int n : {1, 10, 11, 12, 2, 3, 4, 5, 6, 7, 8, 9}) expected << ed.Caption(n);
    QCOMPARE(ed.Captions(), expected);
    for (int n = 1; n <= 12; ++n) QCOMPARE(ed.Ticked(n), n == 3 || n == 10 || n == 12);
    QCOMPARE(ed.Dlg.SelectedLessonIndex(), 0);
    QCOMPARE(ed.Label("labelValueNbrWords"), QStringLiteral(": 2"));
    QCOMPARE(ed.Label("labelValueTotalWords"), QStringLiteral(": 6"));
    QCOMPARE(ed.Edit("editFileName")->text(), QStringLiteral("a"));
    QCOMPARE(ed.Edit("editLang1")->text(), QStringLiteral("English"));
    QVERIFY(ed.Edit("editLang1")->isReadOnly());
    QCOMPARE(ed.Edit("editMaxWords")->text(), QStringLiteral("300"));
    QCOMPARE(ed.Dlg.windowTitle(), fx.Text(txEditExerciseAndLessons));
    QVERIFY(ed.Enabled("btnSaveLangFile"));
  }

  void withoutAFileOkAsksTheEmptyListQuestion() {
    TEditorFixture fx;
    TExerciseEditor ed(fx);
    QVERIFY(!ed.Enabled("btnSaveLangFile"));
    QVERIFY(!ed.Enabled("btnSaveLangfileAs"));
    QVERIFY(!ed.Enabled("btnNewLesson"));
    fx.Answers.push_back(QMessageBox::No);
    ed.Click("btnSave");
    QCOMPARE(fx.Messages.size(), std::size_t(1));
    QCOMPARE(fx.Messages[0].text, fx.Text(txNoLessonsLeft));
    QCOMPARE(fx.Messages[0].buttons, QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
    QCOMPARE(ed.Dlg.result(), TEditExerciseDlg::mrOk);
    QCOMPARE(ed.Dlg.GetChangeCode(), static_cast<int>(ccNoLesson));
  }

  void tabbingThroughTheNamesComposesTheFileName() {
    TEditorFixture fx;
    FiveLessons(fx);
    TExerciseEditor ed(fx);
    QCOMPARE(ed.Edit("editFileName")->text(), QStringLiteral("english_german"));
    Leave(ed.Edit("editLang1"));
    Leave(ed.Edit("editLang2"));
    QCOMPARE(ed.Edit("editFileName")->text(), QStringLiteral("Eng_Ger"));
    fx.Answers.push_back(QMessageBox::Cancel);
    ed.Click("btnSave");
    QCOMPARE(fx.Messages.at(0).text,
             fx.Text(txLangFileChanged) + '\n' + fx.Text(txSaveChangesQuestion) + '\n' + fx.Text(txBeforeClosing));
    QVERIFY(ed.Dlg.isVisible());  // Cancel: the dialog stays and nothing is stored
    QCOMPARE(ed.Dlg.GetChangeCode(), static_cast<int>(ccNothing));
  }

  void openedFileStartsUntickedAndOkGives8() {
    TEditorFixture fx;
    FiveLessons(fx);
    // The name keeps the letter case it was given.
    const std::string other = fx.WriteLangFile("/LangFiles/Fre_Ger/Fre_Ger.lang", "French", "German", Lessons(2, 4));
    TExerciseEditor ed(fx);
    fx.Files.push_back(Utf8ToQString(other));
    ed.Click("btnOpenLangFile");
    QCOMPARE(fx.FileRequests.at(0).title, QStringLiteral("Open a Language File"));
    QCOMPARE(fx.FileRequests.at(0).directory, fx.NativePath("/LangFiles"));
    QCOMPARE(ed.Captions(), (QStringList{ed.Caption(2), ed.Caption(3), ed.Caption(4)}));
    for (int n = 2; n <= 4; ++n) QVERIFY(!ed.Ticked(n));
    QCOMPARE(ed.Edit("editLang1")->text(), QStringLiteral("French"));
    QCOMPARE(ed.Edit("editFileName")->text(), QStringLiteral("Fre_Ger"));
    QCOMPARE(ed.Dlg.GetEditState(), static_cast<int>(esOpened));
    ed.Click("btnSave");
    QVERIFY(fx.Messages.empty());
    QCOMPARE(ed.Dlg.result(), TEditExerciseDlg::mrOk);
    QVERIFY(fx.IniFile->AvailableUnits.empty());
    QCOMPARE(fx.IniFile->LangFileName, other);
    QCOMPARE(fx.IniFile->Lang1, std::string("French"));
    QCOMPARE(ed.Dlg.GetChangeCode(), static_cast<int>(ccNoLesson));
  }

  void deletedNumberGoesToTheNextNewLesson() {
    TEditorFixture fx;
    FiveLessons(fx);
    TExerciseEditor ed(fx);
    ed.Select(3);
    ed.Click("btnDeleteLesson");
    QCOMPARE(ed.Captions().size(), 4);
    QCOMPARE(ed.Dlg.SelectedLessonIndex(), -1);
    QCOMPARE(ed.Label("labelValueNbrWords"), QStringLiteral(": 0"));
    TModalScripts scripts;
    QString offered;
    scripts.Scripts.push_back(AddPairScript(&offered, 0, QStringLiteral("drei"), QStringLiteral("three")));
    ed.Click("btnNewLesson");
    QCOMPARE(offered, QStringLiteral("3"));
    QVERIFY(ed.PositionOf(3) >= 0);
    QVERIFY(!ed.Ticked(3));  // a new lesson starts unticked
    QCOMPARE(ed.Dlg.GetEditState(), static_cast<int>(esModified));
  }

  void droppedNewLessonLeavesNoEntry() {
    TEditorFixture fx;
    FiveLessons(fx);
    TExerciseEditor ed(fx);
    TModalScripts scripts;
    QString offered;
    scripts.Scripts.push_back(CloseScript(&offered));
    ed.Click("btnNewLesson");
    QCOMPARE(offered, QStringLiteral("6"));
    QCOMPARE(ed.Captions().size(), 5);
    QCOMPARE(ed.Label("labelValueNbrWords"), QStringLiteral(": 0"));
    QCOMPARE(ed.Dlg.GetEditState(), static_cast<int>(esUnchanged));
  }

  void tickedLessonRenumberedTo7() {
    TEditorFixture fx;
    FiveLessons(fx);
    TExerciseEditor ed(fx);
    ed.Select(3);
    TModalScripts scripts;
    QString offered;
    scripts.Scripts.push_back(AddPairScript(&offered, 2, QString(), QString()));  // 3 -> 6 -> 7
    ed.Click("btnEditLesson");
    QCOMPARE(offered, QStringLiteral("3"));
    QCOMPARE(ed.Captions(),
             (QStringList{ed.Caption(1), ed.Caption(2), ed.Caption(4), ed.Caption(5), ed.Caption(7)}));
    QVERIFY(ed.Ticked(7));
    QString next;
    scripts.Scripts.push_back(CloseScript(&next));
    ed.Click("btnNewLesson");
    QCOMPARE(next, QStringLiteral("3"));
    fx.Answers.push_back(QMessageBox::No);
    ed.Click("btnSave");
    QCOMPARE(fx.IniFile->AvailableUnits, (std::vector<int32_t>{1, 2, 4, 5, 7}));
    QCOMPARE(ed.Dlg.GetChangeCode(), static_cast<int>(ccLessons));
  }

  void deletingTheLastLessonAndSavingDeletesTheFile() {
    TEditorFixture fx;
    const std::string path = fx.WriteLangFile("/LangFiles/one.lang", "English", "German", Lessons(4, 4));
    fx.IniFile->LangFileName = path;
    fx.IniFile->Lang1 = "English";
    fx.IniFile->Lang2 = "German";
    fx.IniFile->AvailableUnits = {4};
    TExerciseEditor ed(fx);
    ed.Select(4);
    ed.Click("btnDeleteLesson");
    QCOMPARE(ed.Edit("editLang1")->text(), QString());
    QCOMPARE(ed.Edit("editFileName")->text(), QString());
    fx.Answers.push_back(QMessageBox::Yes);
    ed.Click("btnSave");
    QCOMPARE(fx.Messages.at(0).text, fx.Text(txNoLessonsLeft));
    QVERIFY(!QFile::exists(Utf8ToQString(path)));
    QCOMPARE(fx.IniFile->LangFileName, std::string());
    QCOMPARE(ed.Dlg.GetChangeCode(), static_cast<int>(ccNoLesson));
  }

  void lessonWithoutPairsInUseCannotBeTicked() {
    TEditorFixture fx;
    fx.IniFile->LangFileName =
        fx.WriteLangFile("/LangFiles/a.lang", "English", "German", {NumberedLesson(1, 3), NumberedLesson(2, 4, false)});
    fx.IniFile->Lang1 = "English";
    fx.IniFile->Lang2 = "German";
    fx.IniFile->AvailableUnits = {1};
    TExerciseEditor ed(fx);
    QCOMPARE(ed.Label("labelValueTotalWords"), QStringLiteral(": 3"));
    ed.Tick(2, true);
    QVERIFY(!ed.Ticked(2));
    QCOMPARE(fx.Messages.size(), std::size_t(1));
    QCOMPARE(fx.Messages[0].text, fx.Text(txLessonWithoutPairs) + '\n' + fx.Text(txCannotBeChosen));
    QVERIFY(fx.Messages[0].beep);
    QCOMPARE(ed.Label("labelValueTotalWords"), QStringLiteral(": 3"));
    ed.Select(2);
    QCOMPARE(ed.Label("labelValueNbrWords"), QStringLiteral(": 4"));
    QCOMPARE(ed.Label("labelValueUsedWords"), QStringLiteral(": 0"));
  }

  void maxWordsIsCheckedWhenLeft_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("after");
    QTest::newRow("0") << "0" << "1";
    QTest::newRow("501") << "501" << "1";
    QTest::newRow("abc") << "abc" << "1";
    QTest::newRow("empty") << "" << "1";
    QTest::newRow("500") << "500" << "500";
    QTest::newRow("1") << "1" << "1";
  }
  void maxWordsIsCheckedWhenLeft() {
    QFETCH(QString, typed);
    QFETCH(QString, after);
    TEditorFixture fx;
    TExerciseEditor ed(fx);
    TypeAndLeave(ed.Edit("editMaxWords"), typed);
    QCOMPARE(ed.Edit("editMaxWords")->text(), after);
    QCOMPARE(ed.Dlg.focusWidget() == ed.Edit("editMaxWords"), typed != QStringLiteral("500") && typed != "1");
  }

  void upDownWrapsRound() {
    TEditorFixture fx;
    fx.IniFile->MaxWords = 500;
    TExerciseEditor ed(fx);
    auto* up = Find<QToolButton>(*ed.C<QWidget>("upDownMaxWords"), "btnUpDownUp");
    auto* down = Find<QToolButton>(*ed.C<QWidget>("upDownMaxWords"), "btnUpDownDown");
    up->click();
    QCOMPARE(ed.Edit("editMaxWords")->text(), QStringLiteral("1"));
    down->click();
    down->click();
    QCOMPARE(ed.Edit("editMaxWords")->text(), QStringLiteral("499"));
  }

  // OK while the field holds no number (never left: the tool buttons take no
  // focus) shows the error and stores nothing; out of range resets to 1.
  void okWithABadMaxWordsStoresNothing_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("errorShown");
    QTest::newRow("abc") << "abc" << true;
    QTest::newRow("900") << "900" << false;
  }
  void okWithABadMaxWordsStoresNothing() {
    QFETCH(QString, typed);
    QFETCH(bool, errorShown);
    TEditorFixture fx;
    FiveLessons(fx);
    TExerciseEditor ed(fx);
    ed.Edit("editMaxWords")->setText(typed);
    ed.Click("btnSave");
    QVERIFY(ed.Dlg.isVisible());
    QCOMPARE(fx.IniFile->MaxWords, 300);
    QCOMPARE(ed.Dlg.GetChangeCode(), static_cast<int>(ccNothing));
    QCOMPARE(fx.Messages.size(), std::size_t(errorShown ? 1 : 0));
    if (errorShown) QCOMPARE(fx.Messages[0].icon, QMessageBox::Critical);
    else QCOMPARE(ed.Edit("editMaxWords")->text(), QStringLiteral("1"));
  }

  void changeCodes_data() {
    QTest::addColumn<int>("scenario");
    QTest::addColumn<int>("code");
    QTest::newRow("nothing") << 0 << 4;
    QTest::newRow("MaxWords only") << 1 << 5;
    QTest::newRow("other file, MaxWords, same ticks") << 2 << 7;
    QTest::newRow("other file, other ticks") << 3 << 6;
    QTest::newRow("other file, no ticks") << 4 << 8;
    QTest::newRow("chosen lesson changed, same set") << 5 << 6;
    QTest::newRow("unchosen lesson changed") << 6 << 4;
    QTest::newRow("tick removed") << 7 << 6;
  }
  void changeCodes() {
    QFETCH(int, scenario);
    QFETCH(int, code);
    TEditorFixture fx;
    FiveLessons(fx, {2, 4});
    const std::string other = fx.WriteLangFile("/LangFiles/b.lang", "English", "German", Lessons(1, 5));
    TExerciseEditor ed(fx);
    TModalScripts scripts;
    if (scenario >= 2 && scenario <= 4) {
      fx.Files.push_back(Utf8ToQString(other));
      ed.Click("btnOpenLangFile");
      if (scenario == 2) ed.Edit("editMaxWords")->setText(QStringLiteral("20"));
      if (scenario == 2) ed.Tick(2, true), ed.Tick(4, true);
      if (scenario == 3) ed.Tick(2, true);
    }
    if (scenario == 1) TypeAndLeave(ed.Edit("editMaxWords"), QStringLiteral("20"));
    if (scenario == 5 || scenario == 6) {
      ed.Select(scenario == 5 ? 4 : 3);
      scripts.Scripts.push_back(AddPairScript(nullptr, 0, QStringLiteral("neu"), QStringLiteral("new")));
      ed.Click("btnEditLesson");
      fx.Answers.push_back(QMessageBox::No);
    }
    if (scenario == 7) ed.Tick(4, false);
    ed.Click("btnSave");
    QCOMPARE(ed.Dlg.result(), TEditExerciseDlg::mrOk);
    QCOMPARE(ed.Dlg.GetChangeCode(), code);
  }

  void closeStoresNothing() {
    TEditorFixture fx;
    const std::string path = FiveLessons(fx, {2, 4});
    TExerciseEditor ed(fx);
    TypeAndLeave(ed.Edit("editMaxWords"), QStringLiteral("20"));
    ed.Tick(1, true);
    ed.Select(5);
    ed.Click("btnDeleteLesson");
    fx.Answers.push_back(QMessageBox::No);  // thrown away only when the learner says so
    ed.Click("btnClose");
    QCOMPARE(fx.Messages.size(), std::size_t(1));
    QCOMPARE(ed.Dlg.result(), TEditExerciseDlg::mrCancel);
    QCOMPARE(ed.Dlg.GetChangeCode(), static_cast<int>(ccNothing));
    QCOMPARE(fx.IniFile->MaxWords, 300);
    QCOMPARE(fx.IniFile->AvailableUnits, (std::vector<int32_t>{2, 4}));
    TLangFHandler reread;
    QVERIFY(reread.LoadLangFile(path));
    QVERIFY(reread.GetLesson(5) != nullptr);
    // Without changes, Escape and the window's close button leave with
    // Cancel at once, as Close does.
    for (const bool escape : {true, false}) {
      TExerciseEditor again(fx);
      if (escape)
        QTest::keyClick(again.List(), Qt::Key_Escape);
      else
        again.Dlg.close();
      QVERIFY(!again.Dlg.isVisible());
      QCOMPARE(again.Dlg.result(), TEditExerciseDlg::mrCancel);
    }
    QCOMPARE(fx.Messages.size(), std::size_t(1));
  }

  // Escape dropped an untick just made, without a question. Escape, the
  // window's close button and Close now ask whether to keep the changes.
  void closingWithAnUntickAsks_data() {
    AddCloseWaysAndAnswers();
  }
  void closingWithAnUntickAsks() {
    QFETCH(int, how);
    QFETCH(int, answer);
    TEditorFixture fx;
    FiveLessons(fx);
    TExerciseEditor ed(fx);
    ed.Tick(3, false);
    fx.Answers.push_back(answer);
    if (how == 0) QTest::keyClick(ed.List(), Qt::Key_Escape);
    if (how == 1) ed.Dlg.close();
    if (how == 2) ed.Click("btnClose");
    Settle();
    QCOMPARE(fx.Messages.size(), std::size_t(1));
    QCOMPARE(fx.Messages[0].text, fx.Text(txChoicesUnkept) + '\n' + fx.Text(txKeepChoicesFirst));
    if (answer == QMessageBox::Cancel) {
      QVERIFY(ed.Dlg.isVisible());
      QVERIFY(!ed.Ticked(3));
      return;
    }
    QVERIFY(!ed.Dlg.isVisible());
    QCOMPARE(ed.Dlg.result(), answer == QMessageBox::Yes ? TEditExerciseDlg::mrOk : TEditExerciseDlg::mrCancel);
    QCOMPARE(fx.IniFile->AvailableUnits, answer == QMessageBox::Yes ? (std::vector<int32_t>{1, 2, 4, 5})
                                                                    : (std::vector<int32_t>{1, 2, 3, 4, 5}));
  }

  // Keeping the changes on closing saves a changed language file as well,
  // without a second question.
  void keepingOnCloseSavesTheChangedFile() {
    TEditorFixture fx;
    const std::string path = FiveLessons(fx);
    TExerciseEditor ed(fx);
    ed.Select(5);
    ed.Click("btnDeleteLesson");
    fx.Answers.push_back(QMessageBox::Yes);
    QTest::keyClick(ed.List(), Qt::Key_Escape);
    QCOMPARE(fx.Messages.size(), std::size_t(1));
    QCOMPARE(ed.Dlg.result(), TEditExerciseDlg::mrOk);
    TLangFHandler reread;
    QVERIFY(reread.LoadLangFile(path));
    QVERIFY(reread.GetLesson(5) == nullptr);
    QCOMPARE(fx.IniFile->AvailableUnits, (std::vector<int32_t>{1, 2, 3, 4}));
  }

  void saveAsCancelledRemovesTheNewFolder() {
    TEditorFixture fx;
    TExerciseEditor ed(fx);
    ed.Click("btnNewLangFile");
    QVERIFY(!ed.Edit("editLang1")->isReadOnly());
    TypeAndLeave(ed.Edit("editLang1"), QStringLiteral("English"));
    TypeAndLeave(ed.Edit("editLang2"), QStringLiteral("German"));
    QVERIFY(ed.Enabled("btnNewLesson"));
    TModalScripts scripts;
    scripts.Scripts.push_back(AddPairScript(nullptr, 0, QStringLiteral("Haus"), QStringLiteral("house")));
    ed.Click("btnNewLesson");
    QVERIFY(ed.Enabled("btnSaveLangfileAs"));
    QVERIFY(!ed.Enabled("btnSaveLangFile"));
    const QString pairDir = fx.NativePath("/LangFiles/Eng_Ger");
    bool existedDuringDialog = false;
    TFileRequest seen;
    auto previous = SetFileChooserHook([&](const TFileRequest& request) {
      existedDuringDialog = QDir(pairDir).exists();
      seen = request;
      return QString();
    });
    ed.Click("btnSaveLangfileAs");
    SetFileChooserHook(std::move(previous));
    QVERIFY(existedDuringDialog);
    QCOMPARE(seen.directory, pairDir);
    QCOMPARE(seen.fileName, QStringLiteral("Eng_Ger.lang"));
    QCOMPARE(seen.title, QStringLiteral("Save Language File"));
    QVERIFY(seen.save);
    QVERIFY(!QDir(pairDir).exists());
    QVERIFY(ed.Dlg.GetIsNewFile());
  }

  void saveAsWritesTheFileAndAnExistingFolderStays() {
    TEditorFixture fx;
    QDir().mkpath(fx.NativePath("/LangFiles/Eng_Ger"));
    TExerciseEditor ed(fx);
    ed.Click("btnNewLangFile");
    TypeAndLeave(ed.Edit("editLang1"), QStringLiteral("English"));
    TypeAndLeave(ed.Edit("editLang2"), QStringLiteral("German"));
    TModalScripts scripts;
    scripts.Scripts.push_back(AddPairScript(nullptr, 0, QStringLiteral("Haus"), QStringLiteral("house")));
    ed.Click("btnNewLesson");
    ed.Click("btnSaveLangfileAs");  // cancelled: the folder was there before and stays
    QVERIFY(QDir(fx.NativePath("/LangFiles/Eng_Ger")).exists());
    const QString file = fx.NativePath("/LangFiles/Eng_Ger/mine.lang");
    fx.Files.push_back(file);
    ed.Click("btnSaveLangfileAs");
    QVERIFY(!ed.Dlg.GetIsNewFile());
    QCOMPARE(ed.Edit("editFileName")->text(), QStringLiteral("mine"));
    TLangFHandler reread;
    QVERIFY(reread.LoadLangFile(fx.Path("/LangFiles/Eng_Ger/mine.lang")));
    QCOMPARE(reread.GetLang1Name(), std::string("English"));
    QCOMPARE(reread.GetLesson(1)->GetPear(0)->Word1, std::string("Haus"));
    QVERIFY(ed.Enabled("btnSaveLangFile"));
  }

  void languageNamesAreChecked_data() {
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("message");  // 0: beep only
    QTest::newRow("@ in the first name") << "editLang1" << "Eng@lish" << int(txRefusedSeparator);
    QTest::newRow("too short") << "editLang1" << "En" << 0;
  }
  void languageNamesAreChecked() {
    QFETCH(QString, field);
    QFETCH(QString, typed);
    QFETCH(int, message);
    TEditorFixture fx;
    TExerciseEditor ed(fx);
    ed.Click("btnNewLangFile");
    QLineEdit* edit = ed.Edit(field.toLatin1().constData());
    TypeAndLeave(edit, typed);
    QCOMPARE(ed.Dlg.focusWidget(), static_cast<QWidget*>(edit));
    QCOMPARE(fx.Messages.size(), std::size_t(message != 0 ? 1 : 0));
    if (message != 0) QVERIFY(fx.Messages[0].text.startsWith(fx.Text(message)));
    QVERIFY(!ed.Enabled("btnNewLesson"));
  }

  // A new file is UTF-8, also after a Windows-1252 file was open: names and
  // phrases in any script are taken without a question and saved.
  void newFileTakesEveryScriptAfterALegacyFile() {
    TEditorFixture fx;
    const std::string legacy = FiveLessons(fx);
    const TBytes legacyBytes = ReadFileBytes(legacy);
    TExerciseEditor ed(fx);
    ed.Click("btnNewLangFile");
    const QString greek = QStringLiteral("\u0395\u03BB\u03BB\u03B7\u03BD\u03B9\u03BA\u03AC");  // Ελληνικά
    const QString russian = QStringLiteral("\u0420\u0443\u0441\u0441\u043A\u0438\u0439");       // Русский
    TypeAndLeave(ed.Edit("editLang1"), greek);
    TypeAndLeave(ed.Edit("editLang2"), russian);
    // Taken: the focus went on and was not pulled back.
    QVERIFY(ed.Dlg.focusWidget() != ed.Edit("editLang1") && ed.Dlg.focusWidget() != ed.Edit("editLang2"));
    TModalScripts scripts;
    scripts.Scripts.push_back(
        AddPairScript(nullptr, 0, QStringLiteral("\u03BB\u03CC\u03B3\u03BF\u03C2"), QStringLiteral("\u0441\u043B\u043E\u0432\u043E")));
    ed.Click("btnNewLesson");
    // The pair folder the dialog offers is named in those scripts.
    const std::string below = "/LangFiles/" + PairDirName(QStringToUtf8(greek), QStringToUtf8(russian)) + "/mine.lang";
    fx.Files.push_back(fx.NativePath("") + QString::fromUtf8(below));
    ed.Click("btnSaveLangfileAs");
    QVERIFY(fx.Messages.empty());
    TLangFHandler reread;
    QVERIFY(reread.LoadLangFile(fx.Path(below)));
    QCOMPARE(reread.Encoding, TTextEncoding::Utf8);
    QCOMPARE(Utf8ToQString(reread.GetLang1Name()), greek);
    QCOMPARE(Utf8ToQString(reread.GetLang2Name()), russian);
    QCOMPARE(Utf8ToQString(reread.GetLesson(1)->GetPear(0)->Word1), QStringLiteral("\u03BB\u03CC\u03B3\u03BF\u03C2"));
    QCOMPARE(ReadFileBytes(legacy), legacyBytes);
  }

  // Phrases of every script typed into the lesson editor of a new file come
  // back from the saved file as they were typed, and through the fields
  // again unchanged: the second save writes the same bytes.
  void phrasesOfEveryScriptRoundTrip_data() {
    QTest::addColumn<QString>("phrase");
    QTest::newRow("Polish") << QStringLiteral("Za\u017C\u00F3\u0142\u0107 g\u0119\u015Bl\u0105 ja\u017A\u0144");
    QTest::newRow("Czech") << QStringLiteral("P\u0159\u00EDli\u0161 \u017Elu\u0165ou\u010Dk\u00FD k\u016F\u0148");
    QTest::newRow("Turkish") << QStringLiteral("I\u015F\u0131k \u0130stanbul \u011F\u00FC\u015F");
    QTest::newRow("Russian") << QStringLiteral("\u0421\u044A\u0435\u0448\u044C \u0436\u0435 \u0435\u0449\u0451");
    QTest::newRow("Greek") << QStringLiteral("\u0393\u03B1\u03B6\u03AD\u03B5\u03C2 \u03BA\u03B1\u1F76");
    QTest::newRow("Chinese") << QStringLiteral("\u6211\u7231\u559D\u8336");
    QTest::newRow("Japanese") << QStringLiteral("\u3044\u308D\u306F \u6F22\u5B57 \u30AB\u30BF\u30AB\u30CA");
    QTest::newRow("Korean") << QStringLiteral("\uB2E4\uB78C\uC950 \uD5CC \uCCC7\uBC14\uD034");
    QTest::newRow("Arabic") << QStringLiteral("\u0645\u0631\u062D\u0628\u0627 \u0628\u0627\u0644\u0639\u0627\u0644\u0645");
    QTest::newRow("Hebrew") << QStringLiteral("\u05E9\u05DC\u05D5\u05DD \u05E2\u05D5\u05DC\u05DD");
    QTest::newRow("Hindi") << QStringLiteral("\u0928\u092E\u0938\u094D\u0924\u0947 \u0926\u0941\u0928\u093F\u092F\u093E");
    QTest::newRow("combining accents") << QStringLiteral("e\u0301te\u0301 n\u0303");
    QTest::newRow("outside the Basic Multilingual Plane") << QString::fromUtf8("\xF0\x9F\x98\x80 \xF0\x9D\x84\x9E \xF0\xA0\x9C\x8E");
  }
  void phrasesOfEveryScriptRoundTrip() {
    QFETCH(QString, phrase);
    TEditorFixture fx;
    const std::string below = "/LangFiles/Eng_Oth/mine.lang";
    {
      TExerciseEditor ed(fx);
      ed.Click("btnNewLangFile");
      TypeAndLeave(ed.Edit("editLang1"), QStringLiteral("English"));
      TypeAndLeave(ed.Edit("editLang2"), QStringLiteral("Other"));
      TModalScripts scripts;
      scripts.Scripts.push_back(AddPairScript(nullptr, 0, phrase, phrase + QStringLiteral(" 2")));
      ed.Click("btnNewLesson");
      fx.Files.push_back(fx.NativePath(below));
      ed.Click("btnSaveLangfileAs");
    }
    QVERIFY(fx.Messages.empty());
    TLangFHandler reread;
    QVERIFY(reread.LoadLangFile(fx.Path(below)));
    QCOMPARE(reread.Encoding, TTextEncoding::Utf8);
    QCOMPARE(Utf8ToQString(reread.GetLesson(1)->GetPear(0)->Word1), phrase);
    QCOMPARE(Utf8ToQString(reread.GetLesson(1)->GetPear(0)->Word2), phrase + QStringLiteral(" 2"));
    const TBytes saved = ReadFileBytes(fx.Path(below));

    fx.IniFile->LangFileName = fx.Path(below);
    fx.IniFile->Lang1 = "English";
    fx.IniFile->Lang2 = "Other";
    TExerciseEditor again(fx);
    again.Select(1);
    TModalScripts scripts;
    QString shown;
    scripts.Scripts.push_back([&shown](QDialog& d) {
      auto& le = dynamic_cast<TeditLessonDlg&>(d);
      ShowActive(le);
      shown = Find<QLineEdit>(le, "editWord1")->text();
      Leave(Find<QLineEdit>(le, "editWord1"));
      Leave(Find<QLineEdit>(le, "editWord2"));
      Find<QToolButton>(le, "btnSafe")->click();
      return le.result();
    });
    again.Click("btnEditLesson");
    QCOMPARE(shown, phrase);
    again.Click("btnSave");
    QVERIFY(fx.Messages.empty());
    QCOMPARE(ReadFileBytes(fx.Path(below)), saved);
  }

  // The proposed file name takes three characters of each name, as the pair
  // folder does: Gothic letters (two UTF-16 units each) are never cut in two.
  void proposedFileNameCountsCharacters() {
    TEditorFixture fx;
    TExerciseEditor ed(fx);
    ed.Click("btnNewLangFile");
    const QString gothic = QString::fromUtf8("\xF0\x90\x8C\xB2\xF0\x90\x8C\xBF\xF0\x90\x8D\x84\xF0\x90\x8C\xB9");
    TypeAndLeave(ed.Edit("editLang1"), gothic);
    TypeAndLeave(ed.Edit("editLang2"), QStringLiteral("English"));
    QCOMPARE(ed.Edit("editFileName")->text(), gothic.left(6) + QStringLiteral("_Eng"));
    QCOMPARE(ed.Edit("editFileName")->text().toStdString(),
             PairDirName(QStringToUtf8(gothic), "English"));
  }

  // A Greek phrase typed into a lesson of a Windows-1252 file: yes converts
  // the file (its old bytes kept in the backup) and the save writes UTF-8; no
  // refuses the phrase and leaves the file as it was, byte for byte.
  void greekPhraseInALegacyFile_data() {
    QTest::addColumn<bool>("convert");
    QTest::newRow("converted") << true;
    QTest::newRow("declined") << false;
  }
  void greekPhraseInALegacyFile() {
    QFETCH(bool, convert);
    TEditorFixture fx;
    const std::string path = FiveLessons(fx);
    const TBytes old = ReadFileBytes(path);
    const QString logos = QStringLiteral("\u03BB\u03CC\u03B3\u03BF\u03C2");
    TExerciseEditor ed(fx);
    ed.Select(1);
    TModalScripts scripts;
    QWidget* focusAfter = nullptr;
    QWidget* word1 = nullptr;
    scripts.Scripts.push_back([&](QDialog& d) {
      auto& le = dynamic_cast<TeditLessonDlg&>(d);
      ShowActive(le);
      Find<QToolButton>(le, "btnAddEntry")->click();
      word1 = Find<QLineEdit>(le, "editWord1");
      TypeAndLeave(Find<QLineEdit>(le, "editWord1"), logos);
      focusAfter = le.focusWidget();
      if (!convert) {
        Find<QToolButton>(le, "btnClose")->click();  // "store first?" answered no
        return le.result();
      }
      TypeAndLeave(Find<QLineEdit>(le, "editWord2"), QStringLiteral("word"));
      Find<QToolButton>(le, "btnSafe")->click();
      return le.result();
    });
    fx.Answers = {convert ? QMessageBox::Yes : QMessageBox::No, QMessageBox::No};
    ed.Click("btnEditLesson");
    QCOMPARE(fx.Messages[0].caption, fx.Text(txConvertTitle));
    QCOMPARE(fx.Messages[0].buttonTexts.size(), std::size_t(2));
    QCOMPARE(fx.Messages[0].buttonTexts[0].text, fx.Text(txConvertToUtf8));
    const std::string backup = TEncodingBackup::Name(path, 1);
    if (convert) {
      QCOMPARE(fx.Messages.size(), std::size_t(1));
      ed.Click("btnSaveLangFile");
      QCOMPARE(fx.Messages.size(), std::size_t(1));
      TLangFHandler reread;
      QVERIFY(reread.LoadLangFile(path));
      QCOMPARE(reread.Encoding, TTextEncoding::Utf8);
      QCOMPARE(reread.GetLesson(1)->PearCount(), 3);
      bool found = false;
      for (int32_t i = 0; i < reread.GetLesson(1)->SlotCount(); ++i)
        if (auto pear = reread.GetLesson(1)->GetPear(i)) found = found || Utf8ToQString(pear->Word1) == logos;
      QVERIFY(found);
      QCOMPARE(ReadFileBytes(backup), old);
    } else {
      QCOMPARE(fx.Messages[1].text, fx.Text(txCharNotStorable) + QStringLiteral(" \"\u03BB\" (U+03BB)"));
      QCOMPARE(focusAfter, word1);
      ed.Click("btnSave");
      QCOMPARE(ReadFileBytes(path), old);
      QVERIFY(!FileExistsWarn(backup));
    }
  }

  // A short name in a read-only field (from the settings) cannot be
  // corrected there, so leaving it does not pull the focus back.
  void shortReadOnlyNameDoesNotHoldTheFocus() {
    TEditorFixture fx;
    FiveLessons(fx);
    fx.IniFile->Lang1 = "En";
    TExerciseEditor ed(fx);
    QVERIFY(ed.Edit("editLang1")->isReadOnly());
    Leave(ed.Edit("editLang1"));
    QVERIFY(ed.Dlg.focusWidget() != ed.Edit("editLang1"));
    QCOMPARE(ed.Edit("editFileName")->text(), QStringLiteral("english_german"));
  }

  void atSignInTheSecondNameIsAllowed() {
    TEditorFixture fx;
    TExerciseEditor ed(fx);
    ed.Click("btnNewLangFile");
    TypeAndLeave(ed.Edit("editLang1"), QStringLiteral("Mail"));
    TypeAndLeave(ed.Edit("editLang2"), QStringLiteral("E@mail"));
    QVERIFY(fx.Messages.empty());
    QCOMPARE(ed.Edit("editFileName")->text(), QStringLiteral("Mai_E@m"));
  }

  // A damaged file is refused before anything changes: shown with an empty
  // list, the next save would have deleted it.
  void damagedFileOnOpenLeavesTheDialogAsItWas() {
    struct Case {
      const char* name;
      bool malformed;  // a bad number (else a broken checksum)
      QMessageBox::Icon icon;
    };
    for (const Case& c : {Case{"malformed number", true, QMessageBox::Critical},
                          Case{"broken checksum", false, QMessageBox::Warning}}) {
      qInfo() << c.name;
      TEditorFixture fx;
      const std::string good = FiveLessons(fx);
      std::string bad = MalformedFile(fx);
      if (!c.malformed) {
        bad = fx.Path("/LangFiles/broken.lang");
        fx.WriteRaw("/LangFiles/broken.lang", std::string("\xCC\x01\x02\x03"));
      }
      TExerciseEditor ed(fx);
      fx.Files.push_back(Utf8ToQString(bad));
      ed.Click("btnOpenLangFile");
      QCOMPARE(fx.Messages.size(), std::size_t(1));
      QCOMPARE(fx.Messages[0].icon, c.icon);
      QVERIFY(fx.Messages[0].text.contains(c.malformed ? QStringLiteral("bad.lang") : QStringLiteral("broken.lang")));
      QCOMPARE(ed.Dlg.GetFilePath(), good);
      QCOMPARE(ed.List()->topLevelItemCount(), 5);
      QCOMPARE(ed.Edit("editLang1")->text(), QStringLiteral("English"));
      QCOMPARE(ed.Dlg.GetEditState(), static_cast<int>(esUnchanged));
      QVERIFY(ed.Enabled("btnSaveLangFile"));
    }
  }

  // The settings naming a damaged file no longer shut the learner out of the
  // editor: it says why and opens without a file, ready to open another.
  void damagedFileInTheSettingsOpensWithoutAFile() {
    for (const bool malformed : {true, false}) {
      TEditorFixture fx;
      fx.IniFile->LangFileName = MalformedFile(fx);
      if (!malformed) fx.WriteRaw("/LangFiles/bad.lang", "not a language file");
      fx.IniFile->Lang1 = "English";
      fx.IniFile->Lang2 = "German";
      TExerciseEditor ed(fx);
      QCOMPARE(fx.Messages.size(), std::size_t(1));
      QCOMPARE(fx.Messages[0].icon, malformed ? QMessageBox::Critical : QMessageBox::Warning);
      QVERIFY(fx.Messages[0].text.contains(QStringLiteral("bad.lang")));
      QVERIFY(ed.Dlg.GetFilePath().empty());
      QCOMPARE(ed.List()->topLevelItemCount(), 0);
      QVERIFY(ed.Edit("editLang1")->text().isEmpty());
      QVERIFY(!ed.Enabled("btnSaveLangFile"));
      QVERIFY(!ed.Enabled("btnNewLesson"));
      QVERIFY(ed.Enabled("btnOpenLangFile"));
    }
  }

  // OK after the settings' file could not be read stored an empty file name
  // and empty language names, so the main window forgot the learner's file.
  void okWithoutAFileKeepsTheSettingsFile() {
    for (const bool malformed : {true, false}) {
      TEditorFixture fx;
      const std::string path = MalformedFile(fx);
      if (!malformed) fx.WriteRaw("/LangFiles/bad.lang", "not a language file");
      fx.IniFile->LangFileName = path;
      fx.IniFile->Lang1 = "English";
      fx.IniFile->Lang2 = "German";
      fx.IniFile->AvailableUnits = {1, 2};
      TExerciseEditor ed(fx);
      fx.Messages.clear();
      TypeAndLeave(ed.Edit("editMaxWords"), QStringLiteral("20"));
      ed.Click("btnSave");
      QVERIFY(fx.Messages.empty());  // nothing to save, nothing offered for deleting
      QCOMPARE(ed.Dlg.result(), TEditExerciseDlg::mrOk);
      QCOMPARE(fx.IniFile->LangFileName, path);
      QCOMPARE(fx.IniFile->Lang1, std::string("English"));
      QCOMPARE(fx.IniFile->Lang2, std::string("German"));
      QCOMPARE(fx.IniFile->AvailableUnits, (std::vector<int32_t>{1, 2}));
      QCOMPARE(fx.IniFile->MaxWords, 20);
      QCOMPARE(ed.Dlg.GetChangeCode(), static_cast<int>(ccMaxWords));
      QVERIFY(QFile::exists(Utf8ToQString(path)));
    }
  }

  // A failed write keeps the changes counted as unsaved, so OK still asks, and
  // a save on OK that does not complete keeps the dialog open.
  void failedSaveIsNotTakenAsSaved() {
    TEditorFixture fx;
    FiveLessons(fx);
    TExerciseEditor ed(fx);
    ed.Select(2);
    ed.Click("btnDeleteLesson");
    auto fault = std::make_unique<TSaveCallFailure>(TSaveCallFault{TSaveCall::Rename, EIO});
    ed.Click("btnSaveLangFile");
    QCOMPARE(fx.Messages.at(0).text, fx.Text(txLangFileNotSaved));
    QCOMPARE(ed.Dlg.GetEditState(), static_cast<int>(esModified));
    fx.Answers.push_back(QMessageBox::Yes);
    ed.Click("btnSave");
    fault.reset();
    QVERIFY(ed.Dlg.isVisible());
    QCOMPARE(fx.IniFile->AvailableUnits.size(), std::size_t(5));
    fx.Answers.push_back(QMessageBox::Yes);
    ed.Click("btnSave");
    QCOMPARE(ed.Dlg.result(), TEditExerciseDlg::mrOk);
    TLangFHandler reread;
    QVERIFY(reread.LoadLangFile(fx.IniFile->LangFileName));
    QVERIFY(reread.GetLesson(2) == nullptr);
  }

  // The editor saves every lesson it shows: a file another program changed
  // since it was read here was replaced without a word.
  void saveAsksBeforeReplacingAFileChangedElsewhere() {
    TEditorFixture fx;
    const std::string path = FiveLessons(fx);
    TExerciseEditor ed(fx);
    ed.Select(2);
    ed.Click("btnDeleteLesson");
    // Meanwhile another program adds lesson 9.
    {
      TLangFHandler file;
      QVERIFY(file.LoadLangFile(path));
      file.PutLesson(NumberedLesson(9, 2));
      QVERIFY(file.SaveLangFile(path));
    }
    const TBytes changed = ReadFileBytes(path);

    // No: the file stays as the other program left it, the changes here stay unsaved.
    fx.Answers.push_back(QMessageBox::No);
    ed.Click("btnSaveLangFile");
    QCOMPARE(fx.Messages.size(), std::size_t(1));
    QCOMPARE(fx.Messages[0].text.split('\n').value(0), fx.Text(txChangedElsewhereReplace));
    QVERIFY(fx.Messages[0].text.contains("english_german.lang"));
    QCOMPARE(ReadFileBytes(path), changed);
    QCOMPARE(ed.Dlg.GetEditState(), static_cast<int>(esModified));
    // Yes: replaced; a further save asks nothing.
    fx.Answers.push_back(QMessageBox::Yes);
    ed.Click("btnSaveLangFile");
    TLangFHandler reread;
    QVERIFY(reread.LoadLangFile(path));
    QVERIFY(reread.GetLesson(9) == nullptr);
    QVERIFY(reread.GetLesson(2) == nullptr);
    ed.Click("btnSaveLangFile");
    QCOMPARE(fx.Messages.size(), std::size_t(2));
  }

  // Without the mend the settings would get the new names and lessons with
  // the old file's path.
  void cancelledSaveAsOnOkKeepsTheDialogOpen() {
    TEditorFixture fx;
    FiveLessons(fx);
    TExerciseEditor ed(fx);
    ed.Click("btnNewLangFile");
    TypeAndLeave(ed.Edit("editLang1"), QStringLiteral("English"));
    TypeAndLeave(ed.Edit("editLang2"), QStringLiteral("German"));
    TModalScripts scripts;
    scripts.Scripts.push_back(AddPairScript(nullptr, 0, QStringLiteral("Haus"), QStringLiteral("house")));
    ed.Click("btnNewLesson");
    fx.Answers.push_back(QMessageBox::Yes);
    ed.Click("btnSave");  // Save As offered and cancelled
    QCOMPARE(fx.FileRequests.size(), std::size_t(1));
    QVERIFY(ed.Dlg.isVisible());
    QCOMPARE(fx.IniFile->AvailableUnits.size(), std::size_t(5));
  }

  void writeProtectedFileIsNotOpened() {
    TEditorFixture fx;
    const std::string path = fx.WriteLangFile("/LangFiles/ro.lang", "English", "German", Lessons(1, 2));
    QFile::setPermissions(Utf8ToQString(path), QFileDevice::ReadOwner | QFileDevice::ReadGroup);
    if (QFileInfo(Utf8ToQString(path)).isWritable()) QSKIP("the file system lets this user write anyway");
    TExerciseEditor ed(fx);
    fx.Files.push_back(Utf8ToQString(path));
    ed.Click("btnOpenLangFile");
    QCOMPARE(fx.Messages.at(0).text, fx.Text(txFileWriteProtected));
    QCOMPARE(ed.List()->topLevelItemCount(), 0);
    QCOMPARE(ed.Dlg.GetFilePath(), std::string());
  }
};

QTEST_MAIN(EditExerciseTest)
#include "EditExerciseTest.moc"
