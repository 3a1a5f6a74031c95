// The voice of each language in the exercise editor: the locale a file
// names, or a guess from the language's name; chosen by the learner from
// the list or typed; stored with the file; a code that cannot be stored
// refused before anything is written.
#include <QAbstractItemView>
#include <QCompleter>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <QToolButton>

#include "EditorFixture.h"
#include "core/CodePage.h"
#include "editors/EditExercise.h"
#include "settings/TextNumbers.h"
#include "widgets/TickTimer.h"

namespace {

const char* const kFile = "/LangFiles/Eng_Ger/english_german.lang";

// A file of one lesson whose languages have these names and locales; the
// settings name it.
std::string FileWith(TEditorFixture& fx, const std::string& lang1, const std::string& lang2,
                     const std::string& locale1 = {}, const std::string& locale2 = {}) {
  // UTF-8, as the editor makes new files: it holds names in any script.
  const std::string path = fx.Path(kFile);
  QDir().mkpath(QFileInfo(Utf8ToQString(path)).absolutePath());
  TLangFHandler file = NewLangFile();
  file.SetLangNames(lang1, lang2);
  file.Lang1Locale = locale1;
  file.Lang2Locale = locale2;
  file.PutLesson(NumberedLesson(1, 2));
  if (!file.SaveLangFile(path)) qFatal("test language file not written");
  fx.IniFile->LangFileName = path;
  fx.IniFile->Lang1 = lang1;
  fx.IniFile->Lang2 = lang2;
  fx.IniFile->AvailableUnits = {1};
  return path;
}

QByteArray Bytes(const std::string& path) {
  QFile file(Utf8ToQString(path));
  file.open(QIODevice::ReadOnly);
  return file.readAll();
}

struct TEditor {
  explicit TEditor(TEditorFixture& fx) : Dlg(nullptr, fx.Texts, *fx.Session) { ShowActive(Dlg); }
  template <class T>
  T* C(const char* name) {
    T* control = Dlg.findChild<T*>(QString::fromLatin1(name));
    if (control == nullptr) qFatal("no control %s", name);
    return control;
  }
  QLineEdit* Field(int n) { return C<QLineEdit>(n == 1 ? "editLocale1" : "editLocale2"); }
  void Click(const char* name) {
    C<QToolButton>(name)->click();
    Settle();
  }
  // Types into the field as the learner does: its text replaced, then left.
  void Type(int n, const QString& text) { TypeAndLeave(Field(n), text); }
  // The locale the field names: a locale picked from the list comes with its
  // language's name, which is not part of it.
  QString Code(int n) { return Field(n)->text().section(' ', 0, 0); }
  TEditExerciseDlg Dlg;
};

}  // namespace

class LanguageVoiceTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { TTickTimer::SetManual(true); }

  // What a file names wins; a file that names nothing gets a guess from its
  // languages' names, which alone changes nothing: closing asks nothing.
  void localesShown_data() {
    QTest::addColumn<QString>("lang1");
    QTest::addColumn<QString>("lang2");
    QTest::addColumn<QString>("stored1");
    QTest::addColumn<QString>("stored2");
    QTest::addColumn<QString>("shown1");
    QTest::addColumn<QString>("shown2");
    QTest::newRow("guessed from English names") << "English" << "German" << "" << "" << "en" << "de";
    QTest::newRow("guessed from German and native names") << "Russisch" << "Ελληνικά" << "" << "" << "ru" << "el";
    QTest::newRow("no guess for an unknown name") << "Elvish" << "German" << "" << "" << "" << "de";
    QTest::newRow("stored ones win") << "English" << "Portuguese" << "en_GB" << "pt_BR" << "en_GB" << "pt_BR";
  }
  void localesShown() {
    QFETCH(QString, lang1);
    QFETCH(QString, lang2);
    QFETCH(QString, stored1);
    QFETCH(QString, stored2);
    QFETCH(QString, shown1);
    QFETCH(QString, shown2);
    TEditorFixture fx;
    const std::string path =
        FileWith(fx, QStringToUtf8(lang1), QStringToUtf8(lang2), QStringToUtf8(stored1), QStringToUtf8(stored2));
    const QByteArray before = Bytes(path);
    TEditor ed(fx);
    QCOMPARE(ed.Field(1)->text(), shown1);
    QCOMPARE(ed.Field(2)->text(), shown2);
    ed.Click("btnClose");
    QVERIFY(fx.Messages.empty());
    QCOMPARE(ed.Dlg.result(), TEditExerciseDlg::mrCancel);
    QCOMPARE(Bytes(path), before);
  }

  // A voice typed or picked from the list is what the file then names.
  void chosenLocalesAreSavedWithTheFile() {
    TEditorFixture fx;
    const std::string path = FileWith(fx, "English", "German");
    TEditor ed(fx);
    ed.Type(1, QStringLiteral("en_GB"));
    // Picked from the list that typing opens, with its language's own name.
    QLineEdit* field2 = ed.Field(2);
    field2->setFocus();
    field2->clear();
    QTest::keyClicks(field2, QStringLiteral("de_a"));
    QAbstractItemView* list = field2->completer()->popup();
    QTRY_VERIFY(list->isVisible());
    QTest::keyClick(list, Qt::Key_Down);
    QTest::keyClick(list, Qt::Key_Return);
    QVERIFY2(field2->text().startsWith(QStringLiteral("de_AT  ")), qPrintable(field2->text()));
    Leave(field2);
    QCOMPARE(field2->text(), QStringLiteral("de_AT"));  // the code alone, as the file holds it
    ed.Click("btnSaveLangFile");
    QVERIFY(fx.Messages.empty());
    TLangFHandler reread;
    QVERIFY(reread.LoadLangFile(path));
    QCOMPARE(reread.Lang1Locale, std::string("en_GB"));
    QCOMPARE(reread.Lang2Locale, std::string("de_AT"));
    QCOMPARE(reread.GetLesson(1)->UsedPearCount(), 2);
  }

  // Down in the field lists every locale, as a combo box would.
  void downListsEveryLocale() {
    TEditorFixture fx;
    FileWith(fx, "English", "German");
    TEditor ed(fx);
    QLineEdit* field = ed.Field(1);
    field->setFocus();
    field->clear();
    QTest::keyClick(field, Qt::Key_Down);
    QAbstractItemView* list = field->completer()->popup();
    QTRY_VERIFY(list->isVisible());
    QVERIFY2(field->completer()->completionCount() > 200, qPrintable(QString::number(field->completer()->completionCount())));
  }

  // A changed voice is a change of the file: closing with OK offers to save it.
  void changedVoiceIsAskedForOnOk() {
    TEditorFixture fx;
    const std::string path = FileWith(fx, "English", "German", "en", "de");
    TEditor ed(fx);
    ed.Type(2, QStringLiteral("de_CH"));
    fx.Answers.push_back(QMessageBox::Yes);
    ed.Click("btnSave");
    QCOMPARE(fx.Messages.size(), std::size_t(1));
    QCOMPARE(ed.Dlg.result(), TEditExerciseDlg::mrOk);
    TLangFHandler reread;
    QVERIFY(reread.LoadLangFile(path));
    QCOMPARE(reread.Lang2Locale, std::string("de_CH"));
  }

  // A new file's voices follow the names typed, until the learner chooses one.
  void newFileGuessesUntilTheLearnerChooses() {
    TEditorFixture fx;
    TEditor ed(fx);
    QVERIFY(!ed.Field(1)->isEnabled());  // no file to hold a voice
    ed.Click("btnNewLangFile");
    QVERIFY(ed.Field(1)->isEnabled());
    QCOMPARE(ed.Field(1)->text(), QString());
    TypeAndLeave(ed.C<QLineEdit>("editLang1"), QStringLiteral("Russisch"));
    TypeAndLeave(ed.C<QLineEdit>("editLang2"), QStringLiteral("Englisch"));
    QCOMPARE(ed.Code(1), QStringLiteral("ru"));
    QCOMPARE(ed.Code(2), QStringLiteral("en"));
    ed.Type(2, QStringLiteral("en_GB"));
    TypeAndLeave(ed.C<QLineEdit>("editLang1"), QStringLiteral("Greek"));
    TypeAndLeave(ed.C<QLineEdit>("editLang2"), QStringLiteral("English"));
    QCOMPARE(ed.Code(1), QStringLiteral("el"));     // the guess followed the name
    QCOMPARE(ed.Code(2), QStringLiteral("en_GB"));  // the choice stayed
  }

  // A code that a language file cannot hold is named, and the file stays as it was.
  void unstorableLocaleIsRefusedAndNothingIsWritten_data() {
    QTest::addColumn<QString>("typed");
    QTest::newRow("separator of the line") << "de@ru";
    QTest::newRow("punctuation") << "de!";
    QTest::newRow("too long") << QString(36, 'a');
  }
  void unstorableLocaleIsRefusedAndNothingIsWritten() {
    QFETCH(QString, typed);
    TEditorFixture fx;
    const std::string path = FileWith(fx, "English", "German");
    const QByteArray before = Bytes(path);
    TEditor ed(fx);
    ed.Type(1, typed);
    ed.Click("btnSaveLangFile");
    QCOMPARE(fx.Messages.size(), std::size_t(1));
    QCOMPARE(fx.Messages[0].text, fx.Text(txLocaleNotStorable) + '\n' + typed);
    QCOMPARE(Bytes(path), before);
    QCOMPARE(ed.Dlg.focusWidget(), static_cast<QWidget*>(ed.Field(1)));
  }

  // Each field is tied to its label and named in the interface language.
  void fieldsAreNamedAfterTheirLabels_data() {
    QTest::addColumn<QString>("language");
    QTest::addColumn<QString>("name1");
    QTest::newRow("EN") << "EN" << "Voice 1";
    QTest::newRow("DE") << "DE" << "Stimme 1";
  }
  void fieldsAreNamedAfterTheirLabels() {
    QFETCH(QString, language);
    QFETCH(QString, name1);
    TEditorFixture fx(language == "DE" ? "DE" : "EN");
    TEditor ed(fx);
    for (int n : {1, 2}) {
      auto* label = ed.C<QLabel>(n == 1 ? "labelLocale1" : "labelLocale2");
      QCOMPARE(label->buddy(), static_cast<QWidget*>(ed.Field(n)));
      QCOMPARE(ed.Field(n)->accessibleName(), label->text());
      QVERIFY(!ed.Field(n)->toolTip().isEmpty());
    }
    QCOMPARE(ed.Field(1)->accessibleName(), name1);
  }
};

QTEST_MAIN(LanguageVoiceTest)
#include "LanguageVoiceTest.moc"
