#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QMessageBox>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>
#include <algorithm>
#include <functional>
#include <memory>

#include "EditorFixture.h"
#include "editors/EditExercise.h"
#include "editors/EditLesson.h"
#include "exercise/ExerciseWnd.h"
#include "settings/TextNumbers.h"
#include "widgets/MMediaManager.h"
#include "widgets/ModalRunner.h"
#include "widgets/HelpWnd.h"
#include "shell/MainWnd.h"
#include "shell/PropertyDlg.h"
#include "widgets/TickTimer.h"

// A screen reader announces a control by its accessible name; a control
// without one is read as "button" or "edit" and cannot be told apart. These
// tests walk each window's accessibility tree as a screen reader does.
namespace {

// The roles a learner operates. Labels, panes, groupings, cells and scroll
// bars are read with the control they belong to.
bool Interactive(QAccessible::Role role) {
  switch (role) {
    case QAccessible::PushButton:
    case QAccessible::ButtonMenu:
    case QAccessible::CheckBox:
    case QAccessible::RadioButton:
    case QAccessible::EditableText:
    case QAccessible::SpinBox:
    case QAccessible::Slider:
    case QAccessible::ComboBox:
    case QAccessible::List:
    case QAccessible::Table:
    case QAccessible::Tree:
    case QAccessible::MenuItem:
    case QAccessible::Chart:
      return true;
    default:
      return false;
  }
}

// Fields a label must point to, so that its shortcut and a screen reader's
// "labelled by" lead there.
bool Field(QAccessible::Role role) {
  return role == QAccessible::EditableText || role == QAccessible::SpinBox || role == QAccessible::Slider;
}

// A group's title counts as a label too, but names the group, not the field.
bool LabelledByLabel(QAccessibleInterface* field) {
  const auto relations = field->relations(QAccessible::Label);
  return std::any_of(relations.begin(), relations.end(),
                     [](const auto& r) { return qobject_cast<QLabel*>(r.first->object()) != nullptr; });
}

const QString kNoLabel = QStringLiteral("(no label points here)");

QString Describe(QAccessibleInterface* iface) {
  const QObject* object = iface->object();
  const QString name = object != nullptr ? object->objectName() : QString();
  return QStringLiteral("role 0x%1 %2 (%3)")
      .arg(int(iface->role()), 0, 16)
      .arg(name, object != nullptr ? QString::fromLatin1(object->metaObject()->className()) : QString());
}

// Every interactive control, in tree order, as "description: name"; hidden
// ones too (closed menus, the table shown at the end of a pass).
void Walk(QAccessibleInterface* iface, QStringList& out, int depth = 0) {
  if (iface == nullptr || depth > 40) return;
  if (Interactive(iface->role())) out << Describe(iface) + ": " + iface->text(QAccessible::Name).trimmed();
  if (Field(iface->role()) && !LabelledByLabel(iface)) out << Describe(iface) + ": " + kNoLabel;
  for (int i = 0; i < iface->childCount(); ++i) Walk(iface->child(i), out, depth + 1);
}

QStringList Controls(QWidget* window) {
  QStringList out;
  Walk(QAccessible::queryAccessibleInterface(window), out);
  return out;
}

// A name without a letter ("...", "?") says nothing either.
QStringList Unnamed(const QStringList& controls) {
  QStringList out;
  for (const QString& c : controls) {
    const QString name = c.section(QStringLiteral(": "), 1);
    if (name == kNoLabel || std::none_of(name.begin(), name.end(), [](QChar ch) { return ch.isLetter(); }))
      out << c;
  }
  return out;
}

// Fails naming every control without a name; the controls must be found at all.
void ExpectAllNamed(QWidget* window, int atLeast) {
  const QStringList controls = Controls(window);
  if (qEnvironmentVariableIsSet("QM_ACCESSIBILITY_DUMP")) qInfo().noquote() << controls.join('\n');
  QVERIFY2(controls.size() >= atLeast, qPrintable(controls.join('\n')));
  const QStringList unnamed = Unnamed(controls);
  QVERIFY2(unnamed.isEmpty(), qPrintable(QStringLiteral("unnamed or unlabelled in ") + window->objectName() + ":\n" +
                                         unnamed.join('\n')));
}

class TSilentPlayer : public TWavePlayer {
 public:
  bool Available() override { return true; }
  bool PlayAndWait(const QString&) override { return true; }
};

class TNoProgram : public TExternalStarter {
 public:
  bool Start(const QString&, const QStringList&) override { return false; }
};

const QString kProgramDir = QStringLiteral(QM_PROGRAM_DIR);

// A program directory with the real texts, help and demo lessons.
struct TProgramDir {
  QTemporaryDir dir;
  void Copy(const char* name) const {
    const QString target = dir.filePath(QString::fromLatin1(name));
    QDir().mkpath(QFileInfo(target).path());
    QVERIFY2(QFile::copy(kProgramDir + '/' + QString::fromLatin1(name), target), name);
  }
  // Settings in the language; with or without the demo file and its lessons.
  void Prepare(const QByteArray& language, bool withLangFile = true) const {
    for (const char* name : {"Text.Db", "Quillmere.Hlp", "Default.Bmp", "LangFiles/Eng_Ger/english_german.lang",
                             "LangFiles/Eng_Ger/english_german.Bmp"})
      Copy(name);
    QFile ini(dir.filePath(QStringLiteral("Quillmere.Ini")));
    QVERIFY(ini.open(QIODevice::WriteOnly));
    if (!withLangFile) {
      ini.write("[Application]\nLanguage=" + language + "\n");
      return;
    }
    ini.write("[Application]\nLanguage=" + language + "\n[Exercise]\nLangFileName=" +
              dir.filePath(QStringLiteral("LangFiles/Eng_Ger/english_german.lang")).toUtf8() +
              "\nLang1=English\nLang2=German\nFirstLang=True\nMaxWords=20\n[AvailableUnits]\n0=1\n1=2\nNbrUnits=2\n");
  }
};

template <typename T>
T* TopLevel() {
  for (QWidget* w : QApplication::topLevelWidgets())
    if (auto* t = qobject_cast<T*>(w); t != nullptr && t->isVisible()) return t;
  return nullptr;
}

}  // namespace

class AccessibilityTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase();
  void init();
  void cleanup();
  void mainExerciseAndHelpWindowsNameEveryControl();
  void mainWindowWithoutLanguageFileNamesEveryControl();
  void editorsAndSettingsNameEveryControl_data();
  void editorsAndSettingsNameEveryControl();
  void exerciseEditorFieldsAreNamedAfterTheirLabels();
  void namesFollowALanguageSwitch();
};

void AccessibilityTest::initTestCase() {
  QAccessible::setActive(true);
  TTickTimer::SetManual(true);
  TExerciseDlg::SetMediaFactory([](QWidget* owner) {
    return std::make_unique<TMediaManager>(owner, std::make_unique<TSilentPlayer>(), std::make_unique<TNoProgram>());
  });
}

void AccessibilityTest::init() {
  SetMessageBoxHook([](const TMessageRequest&) { return int(QMessageBox::Ok); });
}

void AccessibilityTest::cleanup() {
  SetMessageBoxHook({});
  for (QWidget* w : QApplication::topLevelWidgets()) w->hide();
}

void AccessibilityTest::mainExerciseAndHelpWindowsNameEveryControl() {
  for (const char* language : {"EN", "DE"}) {
    TProgramDir dir;
    dir.Prepare(language);
    tMainWindow win(dir.dir.path().toStdString());
    QVERIFY(!win.StartAborted());
    win.show();
    ExpectAllNamed(&win, 10);
    if (QTest::currentTestFailed()) return;

    win.findChild<QToolButton*>(QStringLiteral("btnExerciseRun"))->click();
    auto* exercise = TopLevel<TExerciseDlg>();
    QVERIFY2(exercise != nullptr, language);
    ExpectAllNamed(exercise, 4);
    if (QTest::currentTestFailed()) return;
    exercise->hide();

    win.findChild<QToolButton*>(QStringLiteral("btnHelp"))->click();
    auto* help = TopLevel<THelpWindow>();
    QVERIFY2(help != nullptr, language);
    ExpectAllNamed(help, 2);
    help->hide();

    // The statistics: the table, the chart and the close button.
    bool shown = false;
    const TModalRunHook before = SetModalRunHook([&shown](QDialog& dialog) {
      shown = true;
      ExpectAllNamed(&dialog, 3);
      return 0;
    });
    win.findChild<QAction*>(QStringLiteral("mExerciseStatistics"))->trigger();
    SetModalRunHook(before);
    QVERIFY2(shown, language);
    if (QTest::currentTestFailed()) return;
  }
}

// Without a language file the question-language buttons show no text.
void AccessibilityTest::mainWindowWithoutLanguageFileNamesEveryControl() {
  for (const char* language : {"EN", "DE"}) {
    TProgramDir dir;
    dir.Prepare(language, false);
    tMainWindow win(dir.dir.path().toStdString());
    QVERIFY(!win.StartAborted());
    win.show();
    ExpectAllNamed(&win, 10);
    const auto* first = win.findChild<QRadioButton*>(QStringLiteral("rbtnFirstLang"));
    const auto* second = win.findChild<QRadioButton*>(QStringLiteral("rbtnSecondLang"));
    QVERIFY(first != nullptr && second != nullptr);
    const QString word = QByteArray(language) == "DE" ? QStringLiteral("Sprache") : QStringLiteral("Language");
    QCOMPARE(first->accessibleName(), word + " 1");
    QCOMPARE(second->accessibleName(), word + " 2");
  }
}

void AccessibilityTest::editorsAndSettingsNameEveryControl_data() {
  QTest::addColumn<QString>("language");
  QTest::newRow("English") << QStringLiteral("EN");
  QTest::newRow("German") << QStringLiteral("DE");
}

void AccessibilityTest::editorsAndSettingsNameEveryControl() {
  QFETCH(QString, language);
  TEditorFixture fx(language.toLatin1().constData());
  std::vector<std::shared_ptr<TLesson>> lessons = {NumberedLesson(1, 4), NumberedLesson(2, 3)};
  fx.IniFile->LangFileName = fx.WriteLangFile("/LangFiles/Eng_Ger/english_german.lang", "English", "German", lessons);
  fx.IniFile->Lang1 = "English";
  fx.IniFile->Lang2 = "German";
  fx.IniFile->AvailableUnits = {1};

  TDlgProperty settings(nullptr, fx.Texts, *fx.IniFile);
  ShowActive(settings);
  ExpectAllNamed(&settings, 12);

  TEditExerciseDlg exercise(nullptr, fx.Texts, *fx.Session);
  ShowActive(exercise);
  Settle();
  ExpectAllNamed(&exercise, 12);

  TBoolVector used;
  used.Put(2, true);
  TeditLessonDlg lesson(nullptr, fx.Texts, *fx.Session);
  lesson.Prepare("English", "German", false, lessons[0], 100, used);
  ShowActive(lesson);
  Settle();
  ExpectAllNamed(&lesson, 12);
}

// The fields were read by their group's title; each is named by its own label.
void AccessibilityTest::exerciseEditorFieldsAreNamedAfterTheirLabels() {
  TEditorFixture fx("EN");
  fx.IniFile->LangFileName =
      fx.WriteLangFile("/LangFiles/Eng_Ger/english_german.lang", "English", "German", {NumberedLesson(1, 4)});
  fx.IniFile->Lang1 = "English";
  fx.IniFile->Lang2 = "German";
  TEditExerciseDlg exercise(nullptr, fx.Texts, *fx.Session);
  ShowActive(exercise);
  Settle();
  QStringList names;
  for (const QString& c : Controls(&exercise))
    if (c.contains(QStringLiteral("QLineEdit"))) names << c.section(QStringLiteral(": "), 1);
  QVERIFY2(names.size() >= 3, qPrintable(names.join('|')));
  QCOMPARE(names.removeDuplicates(), 0);
  for (const QString& name : names) QVERIFY2(name != fx.Text(txLanguages), qPrintable(names.join('|')));
}

// Switched while open, the main and exercise windows name their controls as
// windows opened in the new language do.
void AccessibilityTest::namesFollowALanguageSwitch() {
  QStringList fresh[2];
  QStringList switched[2];
  for (const char* language : {"DE", "EN"}) {
    TProgramDir dir;
    dir.Prepare(language);
    tMainWindow win(dir.dir.path().toStdString());
    win.show();
    win.findChild<QToolButton*>(QStringLiteral("btnExerciseRun"))->click();
    auto* exercise = TopLevel<TExerciseDlg>();
    QVERIFY(exercise != nullptr);
    if (QByteArray(language) == "DE") {
      fresh[0] = Controls(&win);
      fresh[1] = Controls(exercise);
    } else {
      win.findChild<QAction*>(QStringLiteral("mAppGerman"))->trigger();
      switched[0] = Controls(&win);
      switched[1] = Controls(exercise);
    }
    exercise->hide();
  }
  QCOMPARE(switched[0], fresh[0]);
  QCOMPARE(switched[1], fresh[1]);
}

QTEST_MAIN(AccessibilityTest)
#include "AccessibilityTest.moc"
