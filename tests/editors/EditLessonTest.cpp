// The lesson editor through its real controls.
#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>
#include <QToolButton>

#include "EditorFixture.h"
#include "settings/TextNumbers.h"
#include "widgets/MMediaManager.h"
#include "widgets/CSpinBox.h"
#include "editors/EditLesson.h"
#include "widgets/TickTimer.h"
#include "core/CodePage.h"
#include "core/StrUtil.h"
#include "core/Word_Pear.h"
#include "widgets/CharLimit.h"
#include "editors/EncodingOffer.h"
#include "storage/EncodingBackup.h"
#include "storage/FileUtil.h"
#include "ToneWave.h"

namespace {
enum { colUse = 0, colWord1, colWord2, colWav1, colWav2, colNumber };

// A lesson editor on a lesson, shown and active.
class TLessonEditor {
 public:
  TLessonEditor(TEditorFixture& fx, std::shared_ptr<TLesson> lesson, bool newLesson, const TBoolVector& used,
                const std::string& lang1 = "English", const std::string& lang2 = "German")
      : Dlg(nullptr, fx.Texts, *fx.Session), Lesson(std::move(lesson)) {
    Dlg.Prepare(lang1, lang2, newLesson, Lesson, 100, used);
    ShowActive(Dlg);
  }

  template <class T>
  T* C(const char* name) {
    T* control = Dlg.findChild<T*>(QString::fromLatin1(name));
    if (control == nullptr) qFatal("no control %s", name);
    return control;
  }
  QTableWidget* Table() { return C<QTableWidget>("wordPearList"); }
  QLineEdit* Edit(const char* name) { return C<QLineEdit>(name); }
  void Click(const char* name) { C<QAbstractButton>(name)->click(); }
  void Trigger(const char* name) { C<QAction>(name)->trigger(); }
  QString Cell(int r, int c) { return Table()->item(r, c)->text(); }
  bool Ticked(int r) { return Table()->item(r, colUse)->checkState() == Qt::Checked; }
  void Select(int r) {
    Table()->selectRow(r);
    Settle();
  }
  QStringList Column(int c) {
    QStringList texts;
    for (int r = 0; r < Table()->rowCount(); ++r) texts << Cell(r, c);
    return texts;
  }

  TeditLessonDlg Dlg;
  std::shared_ptr<TLesson> Lesson;
};

// Types the text key by key, a character (one or two UTF-16 units) a key, as
// a keyboard or an input method delivers it.
void TypeKeys(QWidget* field, const QString& text) {
  for (qsizetype i = 0; i < text.size(); ++i) {
    const qsizetype n = text[i].isHighSurrogate() && i + 1 < text.size() ? 2 : 1;
    QTest::sendKeyEvent(QTest::Click, field, Qt::Key_unknown, text.mid(i, n), Qt::NoModifier);
    i += n - 1;
  }
}

int ColumnOf(const QString& field) {
  return field == "editWord1" ? colWord1 : field == "editWord2" ? colWord2 : field == "editWav1" ? colWav1 : colWav2;
}

// A Windows-1252 language file of one lesson, read as the exercise editor
// reads it, with the offer to convert it.
struct TLegacyFile {
  explicit TLegacyFile(TEditorFixture& fx)
      : Path(fx.WriteLangFile("/LangFiles/Eng_Ger/legacy.lang", "English", "German",
                              {MakeLesson(1, {{"haus", "house", true, "\\h.wav", "\\g.wav"}})})),
        OldBytes(ReadFileBytes(Path)),
        Offer(File, Path, fx.Texts) {
    if (!File.LoadLangFile(Path) || File.Encoding != TTextEncoding::Cp1252) qFatal("no legacy file");
  }
  std::shared_ptr<TLesson> Lesson() const { return File.GetLesson(1); }
  TBytes Bytes(const std::string& suffix = {}) const { return ReadFileBytes(Path + suffix); }

  std::string Path;
  TBytes OldBytes;
  TLangFHandler File;
  TEncodingOffer Offer;
};
}  // namespace

class EditLessonTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { TTickTimer::SetManual(true); }

  void newLessonOpensEmptyWithTheSmallestFreeNumber() {
    TEditorFixture fx;
    auto lesson = std::make_shared<TLesson>();
    lesson->LessonNbr = 3;  // the caller hands the smallest free number
    TLessonEditor ed(fx, lesson, true, Used({1, 2, 4}));
    QCOMPARE(ed.Table()->rowCount(), 0);
    QCOMPARE(ed.C<QLabel>("labelEntryValue")->text(), QString());
    QVERIFY(ed.Edit("editWord1")->isReadOnly());
    QVERIFY(ed.Edit("editWord2")->isReadOnly());
    QVERIFY(!ed.C<QToolButton>("btnSafe")->isEnabled());
    QVERIFY(!ed.C<QToolButton>("btnDeleteEntry")->isEnabled());
    QVERIFY(!ed.C<QPushButton>("btnSelectWav1")->isEnabled());
    QCOMPARE(ed.Edit("editLessonNbr")->text(), QStringLiteral("3"));
    QCOMPARE(ed.Dlg.windowTitle(), fx.Text(txEditLessonTitle));
    QCOMPARE(ed.C<QLabel>("labelWord1")->text(), QStringLiteral("English"));
    QCOMPARE(ed.Table()->horizontalHeaderItem(colWav2)->text(),
             QStringLiteral("Wav - ") + fx.Text(txFile) + QStringLiteral(" German"));
  }

  // A long lesson wants a larger table: the dialog may be resized (never
  // below its content) and the phrase columns take the room.
  void resizingTheDialogWidensThePhraseColumns() {
    TEditorFixture fx;
    auto lesson = std::make_shared<TLesson>();
    lesson->LessonNbr = 1;
    TLessonEditor ed(fx, lesson, true, Used({}));
    QVERIFY(ed.Dlg.minimumSize() != ed.Dlg.maximumSize());
    const QSize before = ed.Dlg.size();
    const int word1 = ed.Table()->columnWidth(colWord1);
    ed.Dlg.resize(before.width() + 200, before.height() + 100);
    QCoreApplication::processEvents();
    QVERIFY(ed.Table()->columnWidth(colWord1) > word1 + 50);
    QVERIFY(ed.Table()->height() > 260);
    ed.Dlg.resize(100, 100);
    QCoreApplication::processEvents();
    QVERIFY(ed.Dlg.width() >= before.width());
  }

  // The fields of a new lesson looked editable but ignored typing until
  // "add entry": they are greyed until there is an entry, and the empty
  // table says what to do.
  void fieldsAreGreyUntilThereIsAnEntry() {
    TEditorFixture fx;
    auto lesson = std::make_shared<TLesson>();
    lesson->LessonNbr = 1;
    TLessonEditor ed(fx, lesson, true, Used({}));
    const char* fields[] = {"editWord1", "editWord2", "editWav1", "editWav2"};
    for (const char* name : fields) QVERIFY2(!ed.Edit(name)->isEnabled(), name);
    QLabel* hint = ed.C<QLabel>("labelEmptyHint");
    QVERIFY(hint->isVisible());
    QCOMPARE(hint->text(), fx.Text(txNoEntryYet));
    ed.Click("btnAddEntry");
    for (const char* name : fields) QVERIFY2(ed.Edit(name)->isEnabled(), name);
    QVERIFY(!hint->isVisible());
    QTest::keyClicks(ed.Edit("editWord1"), QStringLiteral("Haus"));
    QCOMPARE(ed.Edit("editWord1")->text(), QStringLiteral("Haus"));

    TLessonEditor existing(fx, MakeLesson(2, {{"a", "b"}}), false, Used({}));
    QVERIFY(existing.Edit("editWord1")->isEnabled());
    QVERIFY(!existing.C<QLabel>("labelEmptyHint")->isVisible());
  }

  // The learner hears what a pair will say before the exercise does; a
  // missing file is named with its full path every time it is tried.
  void playButtonsPlayTheFieldsSound() {
    TEditorFixture fx;
    fx.WriteRaw("/LangFiles/Eng_Ger/h.wav", "RIFF");
    QStringList played;
    class TRecorder : public TWavePlayer {
     public:
      explicit TRecorder(QStringList& log) : log_(log) {}
      bool Available() override { return true; }
      bool PlayAndWait(const QString& path) override {
        log_ << path;
        return true;
      }

     private:
      QStringList& log_;
    };
    TeditLessonDlg::SetMediaFactory(
        [&played](QWidget* owner) { return std::make_unique<TMediaManager>(owner, std::make_unique<TRecorder>(played)); });
    auto lesson = MakeLesson(2, {{"Haus", "house", true, "\\LangFiles\\Eng_Ger\\h.wav", "\\LangFiles\\x.wav"}});
    TLessonEditor ed(fx, lesson, false, Used({1}));
    ed.Click("btnPlayWav1");
    QCOMPARE(played, QStringList{fx.NativePath("/LangFiles/Eng_Ger/h.wav")});
    QVERIFY(fx.Messages.empty());
    for (int i = 0; i < 2; ++i) ed.Click("btnPlayWav2");
    QCOMPARE(played.size(), 1);
    QCOMPARE(fx.Messages.size(), std::size_t(2));
    QVERIFY(fx.Messages[0].text.contains(fx.NativePath("/LangFiles/x.wav")));
    QCOMPARE(ed.C<QPushButton>("btnPlayWav1")->accessibleName(), fx.Text(txPlaySound) + ": English");
    QCOMPARE(ed.C<QPushButton>("btnPlayWav1")->toolTip(), fx.Text(txPlaySound));
    TeditLessonDlg::SetMediaFactory(nullptr);
  }

  void existingLessonShowsItsPairsAndCount() {
    TEditorFixture fx;
    auto lesson = MakeLesson(2, {{"Haus", "house", true, "\\LangFiles\\Eng_Ger\\h.wav", " "}, {"Baum", "tree", false}});
    TLessonEditor ed(fx, lesson, false, Used({1}));
    QCOMPARE(ed.Table()->rowCount(), 2);
    QCOMPARE(ed.C<QLabel>("labelEntryValue")->text(), QStringLiteral(" : 2"));
    QCOMPARE(ed.Column(colWord1), (QStringList{"Haus", "Baum"}));
    QVERIFY(ed.Ticked(0));
    QVERIFY(!ed.Ticked(1));
    QCOMPARE(ed.Cell(0, colWav1), QStringLiteral("\\LangFiles\\Eng_Ger\\h.wav"));
    QCOMPARE(ed.Cell(1, colNumber), QStringLiteral("1"));
    // The first row is selected and its texts are in the fields.
    QCOMPARE(ed.Dlg.SelectedRow(), 0);
    QCOMPARE(ed.Edit("editWord2")->text(), QStringLiteral("house"));
    QVERIFY(ed.C<QToolButton>("btnDeleteEntry")->isEnabled());
  }

  void addEntryInsertsATickedRowAtTheTop() {
    TEditorFixture fx;
    TLessonEditor ed(fx, NumberedLesson(1, 5), false, Used({}));
    ed.Click("btnAddEntry");
    QCOMPARE(ed.Table()->rowCount(), 6);
    QCOMPARE(ed.Dlg.SelectedRow(), 0);
    QVERIFY(ed.Ticked(0));
    QCOMPARE(ed.Cell(0, colNumber), QStringLiteral("5"));
    QCOMPARE(ed.Cell(0, colWord1), QString());
    QCOMPARE(ed.Cell(0, colWav1), QStringLiteral(" "));
    QCOMPARE(ed.Cell(0, colWav2), QStringLiteral(" "));
    QCOMPARE(ed.C<QLabel>("labelEntryValue")->text(), QStringLiteral(" : 6"));
    QCOMPARE(ed.Edit("editWav1")->text(), QStringLiteral(" "));
  }

  // After a delete the row count can equal a remaining row's number; a new
  // row then takes the lowest number no row holds, so no two pairs share a slot.
  void newRowAfterDeleteTakesTheLowestFreeNumber() {
    TEditorFixture fx;
    TLessonEditor ed(fx, NumberedLesson(1, 5), false, Used({}));
    ed.Select(1);
    ed.Click("btnDeleteEntry");  // rows 0, 2, 3, 4 remain
    ed.Click("btnAddEntry");
    QCOMPARE(ed.Cell(0, colNumber), QStringLiteral("1"));
    TypeAndLeave(ed.Edit("editWord1"), QStringLiteral("neu"));
    TypeAndLeave(ed.Edit("editWord2"), QStringLiteral("new"));
    ed.Click("btnAddEntry");
    QCOMPARE(ed.Cell(0, colNumber), QStringLiteral("5"));
    TypeAndLeave(ed.Edit("editWord1"), QStringLiteral("alt"));
    TypeAndLeave(ed.Edit("editWord2"), QStringLiteral("old"));
    ed.Click("btnSafe");
    QCOMPARE(ed.Dlg.result(), TeditLessonDlg::mrStored);
    QCOMPARE(ed.Lesson->PearCount(), 6);
    QCOMPARE(ed.Lesson->GetPear(1)->Word1, std::string("neu"));
    QCOMPARE(ed.Lesson->GetPear(5)->Word2, std::string("old"));
    QCOMPARE(ed.Lesson->GetPear(2)->Word1, std::string("w1_2"));
  }

  void firstAddKeepsAnEditNotYetCommitted() {
    TEditorFixture fx;
    TLessonEditor ed(fx, NumberedLesson(1, 2), false, Used({}));
    ed.Edit("editWord1")->setText(QStringLiteral("changed"));  // still in the field
    ed.Click("btnAddEntry");
    QCOMPARE(ed.Cell(1, colWord1), QStringLiteral("changed"));
  }

  // A phrase longer than the typing limit, from a file written elsewhere, was
  // cut when it was loaded and stored cut.
  void longLoadedPhraseIsShownWholeAndKept() {
    TEditorFixture fx;
    const std::string longPhrase(67, 'x');
    TLessonEditor ed(fx, MakeLesson(1, {{longPhrase, "short"}, {"b", "c"}}), false, Used({}));
    QLineEdit* word1 = ed.Edit("editWord1");
    QCOMPARE(word1->text().size(), 67);
    Leave(word1);
    ed.Select(1);
    ed.Select(0);
    QCOMPARE(ed.Cell(0, colWord1).size(), 67);
    // Typing never lengthens it, but shortening it is an edit like any other.
    word1->setFocus();
    word1->end(false);
    QTest::keyClicks(word1, QStringLiteral("yz"));
    QCOMPARE(word1->text().size(), 67);
    QTest::keyClick(word1, Qt::Key_Backspace);
    QTest::keyClicks(word1, QStringLiteral("yz"));
    QCOMPARE(word1->text().size(), 66);
    ed.Click("btnSafe");
    QCOMPARE(ed.Lesson->GetPear(0)->Word1, std::string(66, 'x'));
    QCOMPARE(ed.Lesson->GetPear(1)->Word1, std::string("b"));
  }

  void longLoadedPhraseUntouchedIsStoredWhole() {
    TEditorFixture fx;
    const std::string longPhrase(67, 'x');
    TLessonEditor ed(fx, MakeLesson(1, {{"a", longPhrase}}), false, Used({}));
    TypeAndLeave(ed.Edit("editWord1"), QStringLiteral("A"));
    ed.Click("btnSafe");
    QCOMPARE(ed.Lesson->GetPear(0)->Word2, longPhrase);
  }

  // The limit counts characters: a Cyrillic letter, a Chinese one and an
  // emoji (two UTF-16 units) are one each, and none is cut in two.
  void typingStopsAtThePhraseLimit_data() {
    QTest::addColumn<QString>("character");
    QTest::newRow("Latin") << QStringLiteral("n");
    QTest::newRow("Cyrillic") << QStringLiteral("\u044F");
    QTest::newRow("Chinese") << QStringLiteral("\u8336");
    QTest::newRow("emoji") << QString::fromUtf8("\xF0\x9F\x98\x80");
  }
  void typingStopsAtThePhraseLimit() {
    QFETCH(QString, character);
    TEditorFixture fx;
    TLessonEditor ed(fx, MakeLesson(1, {{std::string(67, 'x'), "b"}}), false, Used({}));
    ed.Click("btnAddEntry");  // a new entry takes no more than the limit, whatever the row before held
    QLineEdit* word1 = ed.Edit("editWord1");
    word1->setFocus();
    TypeKeys(word1, character.repeated(kMaxPhraseLength + 10));
    QCOMPARE(word1->text(), character.repeated(kMaxPhraseLength));
    QCOMPARE(CharCount(word1->text()), kMaxPhraseLength);
    // One character fewer lets one more in.
    QTest::keyClick(word1, Qt::Key_Backspace);
    TypeKeys(word1, character + character);
    QCOMPARE(word1->text(), character.repeated(kMaxPhraseLength));
  }

  // A loaded phrase of 60 Cyrillic letters is kept whole; once shortened it
  // never grows back beyond what it had.
  void longLoadedCyrillicPhraseMayOnlyShrink() {
    TEditorFixture fx;
    const QString ya = QStringLiteral("\u044F");
    TLessonEditor ed(fx, MakeLesson(1, {{QStringToUtf8(ya.repeated(60)), "b"}}), false, Used({}));
    QLineEdit* word1 = ed.Edit("editWord1");
    QCOMPARE(word1->text(), ya.repeated(60));
    word1->setFocus();
    word1->end(false);
    QTest::keyClick(word1, Qt::Key_Backspace);
    TypeKeys(word1, ya + ya);
    QCOMPARE(word1->text(), ya.repeated(59));
  }

  void rowWithAnEmptyPhraseIsDroppedOnStore() {
    TEditorFixture fx;
    TLessonEditor ed(fx, NumberedLesson(1, 2), false, Used({}));
    ed.Click("btnAddEntry");
    TypeAndLeave(ed.Edit("editWord1"), QStringLiteral("only one side"));
    QCOMPARE(ed.Cell(0, colWord1), QString());  // an empty phrase writes nothing
    ed.Click("btnSafe");
    QCOMPARE(ed.Dlg.result(), TeditLessonDlg::mrStored);
    QCOMPARE(ed.Lesson->PearCount(), 2);
    QVERIFY(!ed.Lesson->GetPear(2));
    QVERIFY(ed.Dlg.IsChanged());
  }

  void letterCaseAloneIsNoChangeButIsStored() {
    TEditorFixture fx;
    TLessonEditor ed(fx, MakeLesson(1, {{"haus", "house"}}), false, Used({}));
    TypeAndLeave(ed.Edit("editWord1"), QStringLiteral("Haus"));
    ed.Click("btnSafe");
    QVERIFY(!ed.Dlg.IsChanged());
    QCOMPARE(ed.Lesson->GetPear(0)->Word1, std::string("Haus"));
  }

  void changesCount_data() {
    QTest::addColumn<int>("what");
    QTest::addColumn<bool>("changed");
    QTest::newRow("untick") << 0 << true;
    QTest::newRow("other phrase") << 1 << true;
    QTest::newRow("other sound file") << 2 << true;
    QTest::newRow("nothing") << 3 << false;
  }
  void changesCount() {
    QFETCH(int, what);
    QFETCH(bool, changed);
    TEditorFixture fx;
    TLessonEditor ed(fx, MakeLesson(1, {{"haus", "house"}, {"baum", "tree"}}), false, Used({}));
    if (what == 0) ed.Table()->item(1, colUse)->setCheckState(Qt::Unchecked);
    if (what == 1) TypeAndLeave(ed.Edit("editWord2"), QStringLiteral("home"));
    if (what == 2) TypeAndLeave(ed.Edit("editWav2"), QStringLiteral("\\x.wav"));
    ed.Click("btnSafe");
    QCOMPARE(ed.Dlg.IsChanged(), changed);
    QCOMPARE(ed.Lesson->GetPear(1)->InUse, what != 0);
  }

  // Beside each sound field a mark names what is wrong with its sound, in
  // the interface language, and follows the name as it is typed.
  void soundMarksNameTheFault() {
    QFETCH(QString, language);
    TEditorFixture fx(language.toLatin1().constData());
    const auto put = [&fx](const std::string& name, const TBytes& bytes) {
      fx.WriteRaw(name, std::string(bytes.begin(), bytes.end()));
    };
    put("/a.wav", WaveBytes(ToneSamples(1.0, -6)));
    put("/b.wav", WaveBytes(ToneSamples(1.0, -7)));
    put("/quiet.wav", WaveBytes(ToneSamples(1.0, -60)));
    put("/clip.wav", WaveBytes(ToneSamples(1.0, 6)));
    TLessonEditor ed(fx,
                     MakeLesson(1, {{"haus", "house", true, "\\a.wav", "\\gone.wav"},
                                    {"baum", "tree", true, "\\quiet.wav", "\\b.wav"},
                                    {"dach", "roof", true, "\\clip.wav", " "}}),
                     false, Used({}));
    auto* mark1 = ed.C<QLabel>("markWav1");
    auto* mark2 = ed.C<QLabel>("markWav2");
    ed.Select(0);
    QVERIFY(mark1->isHidden());
    QVERIFY(!mark2->isHidden());
    QCOMPARE(mark2->toolTip(), fx.Text(txSoundFileMissing));
    QCOMPARE(mark2->accessibleDescription(), fx.Text(txSoundFileMissing));
    QCOMPARE(mark2->accessibleName(), fx.Text(txSoundCheck) + QStringLiteral(": German"));
    ed.Select(1);
    QCOMPARE(mark1->toolTip(), fx.Text(txSoundSilent));
    QVERIFY(!mark1->isHidden());
    QVERIFY(mark2->isHidden());
    ed.Select(2);
    QCOMPARE(mark1->toolTip(), fx.Text(txSoundClipped));
    QVERIFY(mark2->isHidden());
    // A good name typed in: the mark goes at once; a missing one brings it back.
    ed.Edit("editWav1")->selectAll();
    TypeKeys(ed.Edit("editWav1"), QStringLiteral("\\b.wav"));
    QVERIFY(mark1->isHidden());
    TypeKeys(ed.Edit("editWav1"), QStringLiteral("x"));
    QVERIFY(!mark1->isHidden());
    QCOMPARE(mark1->toolTip(), fx.Text(txSoundFileMissing));
  }
  void soundMarksNameTheFault_data() {
    QTest::addColumn<QString>("language");
    QTest::newRow("EN") << QStringLiteral("EN");
    QTest::newRow("DE") << QStringLiteral("DE");
  }

  void closeLeavesTheLessonAlone() {
    TEditorFixture fx;
    TLessonEditor ed(fx, MakeLesson(1, {{"haus", "house"}}), false, Used({}));
    TypeAndLeave(ed.Edit("editWord1"), QStringLiteral("Hütte"));
    ed.Select(0);
    ed.Click("btnDeleteEntry");  // disabled with one row: nothing happens
    QCOMPARE(ed.Table()->rowCount(), 1);
    fx.Answers.push_back(QMessageBox::No);  // the change is thrown away only when the learner says so
    ed.Click("btnClose");
    QCOMPARE(fx.Messages.size(), std::size_t(1));
    QCOMPARE(ed.Dlg.result(), TeditLessonDlg::mrClosed);
    QVERIFY(!ed.Dlg.IsChanged());
    QCOMPARE(ed.Lesson->GetPear(0)->Word1, std::string("haus"));
  }

  // Escape closed the dialog as cancelled and the pairs typed were gone,
  // without a question. Escape, the window's close button and Close now ask.
  void closingWithATypedPairAsks_data() {
    AddCloseWaysAndAnswers();
  }
  void closingWithATypedPairAsks() {
    QFETCH(int, how);
    QFETCH(int, answer);
    TEditorFixture fx;
    TLessonEditor ed(fx, MakeLesson(1, {{"haus", "house"}}), false, Used({}));
    ed.Click("btnAddEntry");
    TypeAndLeave(ed.Edit("editWord1"), QStringLiteral("Baum"));
    QLineEdit* word2 = ed.Edit("editWord2");
    word2->setFocus();
    QTest::keyClicks(word2, QStringLiteral("tree"));  // still in the field
    fx.Answers.push_back(answer);
    if (how == 0) QTest::keyClick(word2, Qt::Key_Escape);
    if (how == 1) ed.Dlg.close();
    if (how == 2) ed.Click("btnClose");
    Settle();
    QCOMPARE(fx.Messages.size(), std::size_t(1));
    QCOMPARE(fx.Messages[0].text, fx.Text(txLessonUnstored) + '\n' + fx.Text(txStoreLessonFirst));
    QCOMPARE(fx.Messages[0].buttons, QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
    if (answer == QMessageBox::Cancel) {
      QVERIFY(ed.Dlg.isVisible());
      QCOMPARE(word2->text(), QStringLiteral("tree"));
      return;
    }
    QVERIFY(!ed.Dlg.isVisible());
    if (answer == QMessageBox::Yes) {
      QCOMPARE(ed.Dlg.result(), TeditLessonDlg::mrStored);
      QCOMPARE(ed.Lesson->PearCount(), 2);
      QCOMPARE(ed.Lesson->GetPear(1)->Word2, std::string("tree"));
    } else {
      QCOMPARE(ed.Dlg.result(), TeditLessonDlg::mrClosed);
      QCOMPARE(ed.Lesson->PearCount(), 1);
      QVERIFY(!ed.Dlg.IsChanged());
    }
  }

  // A change of letter case alone is stored too, so it is not thrown away unasked.
  void closingAfterALetterCaseChangeAsks() {
    TEditorFixture fx;
    TLessonEditor ed(fx, MakeLesson(1, {{"haus", "house"}}), false, Used({}));
    TypeAndLeave(ed.Edit("editWord1"), QStringLiteral("Haus"));
    fx.Answers.push_back(QMessageBox::Cancel);
    QTest::keyClick(&ed.Dlg, Qt::Key_Escape);
    QCOMPARE(fx.Messages.size(), std::size_t(1));
    QVERIFY(ed.Dlg.isVisible());
  }

  void closingUnchangedAsksNothing() {
    TEditorFixture fx;
    TLessonEditor ed(fx, MakeLesson(1, {{"haus", "house", true, "\\h.wav", " "}}), false, Used({}));
    QTest::keyClick(ed.Table(), Qt::Key_Escape);
    QVERIFY(fx.Messages.empty());
    QVERIFY(!ed.Dlg.isVisible());
    QCOMPARE(ed.Dlg.result(), TeditLessonDlg::mrClosed);
  }

  void deleteSelectsTheNeighbour_data() {
    QTest::addColumn<int>("selected");
    QTest::addColumn<int>("after");
    QTest::addColumn<QString>("selectedWord");
    QTest::newRow("first") << 0 << 0 << "w1_1";
    QTest::newRow("second") << 1 << 1 << "w1_2";
    QTest::newRow("third") << 2 << 1 << "w1_1";
    QTest::newRow("last") << 3 << 2 << "w1_2";
  }
  void deleteSelectsTheNeighbour() {
    QFETCH(int, selected);
    QFETCH(int, after);
    QFETCH(QString, selectedWord);
    TEditorFixture fx;
    TLessonEditor ed(fx, NumberedLesson(1, 4), false, Used({}));
    ed.Select(selected);
    ed.Click("btnDeleteEntry");
    QCOMPARE(ed.Table()->rowCount(), 3);
    QCOMPARE(ed.Dlg.SelectedRow(), after);
    QCOMPARE(ed.Edit("editWord1")->text(), selectedWord);
    QCOMPARE(ed.C<QLabel>("labelEntryValue")->text(), QStringLiteral(" : 3"));
    ed.Click("btnClose");
  }

  void sortIsStableAndIgnoresCase() {
    TEditorFixture fx;
    TLessonEditor ed(fx, MakeLesson(1, {{"b", "1"}, {"A", "2"}, {"a", "3"}}), false, Used({}));
    ed.Trigger("sortItem1");
    QCOMPARE(ed.Column(colWord1), (QStringList{"A", "a", "b"}));
    QCOMPARE(ed.Column(colNumber), (QStringList{"1", "2", "0"}));
    ed.Trigger("sortItem2");
    QCOMPARE(ed.Column(colWord2), (QStringList{"1", "2", "3"}));
  }

  // Letter case of any script is no order: Cyrillic sorts by the alphabet,
  // "Я" beside "я" in the order they had; a double is found whatever its case.
  void sortAndDoublesInCyrillic() {
    TEditorFixture fx;
    fx.Session->LangFile().PutLesson(MakeLesson(3, {{"\u0414\u041E\u041C", "house"}}));  // ДОМ
    fx.Session->LangFile().PutLesson(MakeLesson(4, {{"\u0434\u043E\u043C ", "trailing blank"}}));
    TLessonEditor ed(fx,
                     MakeLesson(5, {{"\u044F", "1"}, {"\u0411", "2"}, {"\u0434\u043E\u043C", "3"}, {"\u042F", "4"},
                                    {"\u0430", "5"}}),
                     false, Used({3, 4}));
    ed.Trigger("sortItem1");
    QCOMPARE(ed.Column(colWord2), (QStringList{"5", "2", "3", "1", "4"}));  // а Б дом я Я
    ed.Select(2);
    ed.Trigger("searchLang1");
    QCOMPARE(fx.Messages.size(), std::size_t(1));
    QCOMPARE(fx.Messages[0].text, fx.Text(txPhraseAlsoStands) + '\n' + fx.Text(txInLessons) + QStringLiteral("3"));
  }

  // The selected position holds another pair after sorting; the fields show
  // that pair, so leaving a field never writes the old texts over it.
  void sortReloadsTheFieldsFromTheSelectedRow() {
    TEditorFixture fx;
    TLessonEditor ed(fx, MakeLesson(1, {{"zebra", "Zebra"}, {"apfel", "Apfel"}}), false, Used({}));
    ed.Select(0);
    ed.Trigger("sortItem1");
    QCOMPARE(ed.Edit("editWord1")->text(), QStringLiteral("apfel"));
    Leave(ed.Edit("editWord1"));
    QCOMPARE(ed.Column(colWord1), (QStringList{"apfel", "zebra"}));
    QCOMPARE(ed.Column(colWord2), (QStringList{"Apfel", "Zebra"}));
  }

  void soundFilePaths_data() {
    QTest::addColumn<QString>("chosen");  // below the program directory's parent
    QTest::addColumn<bool>("inside");
    QTest::newRow("inside the program directory") << "/LangFiles/Eng_Ger/haus.wav" << true;
    QTest::newRow("folder beside it with a longer name") << "2/haus.wav" << false;
    QTest::newRow("elsewhere") << "@elsewhere" << false;
  }
  void soundFilePaths() {
    QFETCH(QString, chosen);
    QFETCH(bool, inside);
    TEditorFixture fx;
    TLessonEditor ed(fx, MakeLesson(1, {{"haus", "house"}}), false, Used({}));
    const QString file = chosen == QStringLiteral("@elsewhere") ? QStringLiteral("/tmp/sounds/haus.wav")
                                                                : fx.NativePath("") + chosen;
    fx.Files.push_back(file);
    ed.Click("btnSelectWav1");
    QCOMPARE(fx.FileRequests.size(), std::size_t(1));
    QCOMPARE(fx.FileRequests[0].title, QStringLiteral("Select a Wav File"));
    QCOMPARE(fx.FileRequests[0].directory, fx.NativePath("/LangFiles/Eng_Ger"));
    const QString expected = inside ? QStringLiteral("\\LangFiles\\Eng_Ger\\haus.wav") : file;
    QCOMPARE(ed.Edit("editWav1")->text(), expected);
    QCOMPARE(ed.Cell(0, colWav1), expected);
    ed.Click("btnSafe");
    QCOMPARE(Utf8ToQString(ed.Lesson->GetPear(0)->WavFile1), expected);
  }

  void cancelledSoundFileChangesNothing() {
    TEditorFixture fx;
    TLessonEditor ed(fx, MakeLesson(1, {{"haus", "house", true, "\\a.wav", " "}}), false, Used({}));
    ed.Click("btnSelectWav2");
    QCOMPARE(ed.Cell(0, colWav1), QStringLiteral("\\a.wav"));
    QCOMPARE(ed.Cell(0, colWav2), QStringLiteral(" "));
  }

  void doublesAreFoundInOtherLessons() {
    TEditorFixture fx;
    for (auto lesson : {MakeLesson(3, {{"Haus", "house"}}), MakeLesson(5, {{"Maus", "mouse"}}),
                        MakeLesson(7, {{"x", "y"}, {"HAUS", "home"}}), MakeLesson(9, {{"haus ", "trailing blank"}})})
      fx.Session->LangFile().PutLesson(lesson);
    // The edited lesson (number 5) is never listed, even when it holds the phrase.
    TLessonEditor ed(fx, MakeLesson(5, {{"haus", "house"}, {"nichts", "nothing"}}), false, Used({3, 7, 9}));
    ed.Trigger("searchLang1");
    QCOMPARE(fx.Messages.size(), std::size_t(1));
    QCOMPARE(fx.Messages[0].text, fx.Text(txPhraseAlsoStands) + '\n' + fx.Text(txInLessons) + QStringLiteral("3-7"));
    QCOMPARE(fx.Messages[0].caption, ed.Dlg.windowTitle());
    QVERIFY(!fx.Messages[0].beep);
    ed.Trigger("serchLang2");
    QCOMPARE(fx.Messages[1].text, fx.Text(txPhraseAlsoStands) + '\n' + fx.Text(txInLessons) + QStringLiteral("3"));
    ed.Select(1);
    ed.Trigger("searchLang1");
    QCOMPARE(fx.Messages[2].text, fx.Text(txPhraseNowhereElse));
  }

  void hintsFromThirtyCharacters_data() {
    QTest::addColumn<int>("length");
    QTest::addColumn<bool>("hint");
    QTest::newRow("30") << 30 << true;
    QTest::newRow("29") << 29 << false;
  }
  void hintsFromThirtyCharacters() {
    QFETCH(int, length);
    QFETCH(bool, hint);
    TEditorFixture fx;
    TLessonEditor ed(fx, MakeLesson(1, {{"kurz", "short"}, {std::string(40, 'x'), "long"}}), false, Used({}));
    const QString text(length, QLatin1Char('a'));
    TypeAndLeave(ed.Edit("editWord1"), text);
    QCOMPARE(ed.Edit("editWord1")->toolTip(), hint ? text : QString());
    // Selecting a row alone does not update the hints.
    ed.Select(1);
    QCOMPARE(ed.Edit("editWord1")->toolTip(), hint ? text : QString());
  }

  void spinBoxOffersTheFreeNumbers() {
    TEditorFixture fx;
    TLessonEditor ed(fx, MakeLesson(3, {{"a", "b"}}), false, Used({1, 2, 4}));
    QToolButton* up = ed.C<QToolButton>("btnSpinboxUp");
    QToolButton* down = ed.C<QToolButton>("btnSpinboxDown");
    QVERIFY(up->isEnabled());
    QCOMPARE(ed.Edit("editLessonNbr")->text(), QStringLiteral("3"));
    QTest::mousePress(down, Qt::LeftButton);
    QTest::mouseRelease(down, Qt::LeftButton);
    QCOMPARE(ed.Edit("editLessonNbr")->text(), QStringLiteral("100"));
    QTest::mousePress(up, Qt::LeftButton);
    QTest::mouseRelease(up, Qt::LeftButton);
    QTest::mousePress(up, Qt::LeftButton);
    QTest::mouseRelease(up, Qt::LeftButton);
    QCOMPARE(ed.Edit("editLessonNbr")->text(), QStringLiteral("5"));
    QTest::mousePress(up, Qt::RightButton);  // only the left button steps
    QTest::mouseRelease(up, Qt::RightButton);
    QCOMPARE(ed.Edit("editLessonNbr")->text(), QStringLiteral("5"));
    ed.Click("btnSafe");
    QCOMPARE(ed.Lesson->LessonNbr, 5);
    QVERIFY(ed.Dlg.IsChanged());
  }

  void heldArrowRepeats() {
    TEditorFixture fx;
    TLessonEditor ed(fx, MakeLesson(3, {{"a", "b"}}), false, Used({1, 2, 4}));
    auto* spin = ed.Dlg.findChild<TSpinBox*>(QStringLiteral("NumberSpin"));
    QVERIFY(spin != nullptr);
    QToolButton* up = ed.C<QToolButton>("btnSpinboxUp");
    QTest::mousePress(up, Qt::LeftButton);
    spin->timerBtnPressed->Fire();
    spin->timerSpinValue->Fire();
    spin->timerSpinValue->Fire();
    QTest::mouseRelease(up, Qt::LeftButton);
    spin->timerSpinValue->Fire();  // released: no more steps
    QCOMPARE(ed.Edit("editLessonNbr")->text(), QStringLiteral("7"));  // 3 -> 5 -> 6 -> 7
  }

  // Without a free number, or with its own number outside 1 to 100, a lesson
  // keeps its number, the arrows are off, and storing keeps the number.
  void lessonKeepsItsNumberWhenNoneCanBeOffered_data() {
    QTest::addColumn<int>("nbr");
    QTest::addColumn<bool>("allUsed");
    QTest::newRow("all 100 numbers used, new lesson 101") << 101 << true;
    QTest::newRow("own number above 100") << 150 << false;
  }
  void lessonKeepsItsNumberWhenNoneCanBeOffered() {
    QFETCH(int, nbr);
    QFETCH(bool, allUsed);
    TEditorFixture fx;
    TBoolVector used = Used({});
    if (allUsed)
      for (int n = 1; n <= 100; ++n) used.Put(n, true);
    TLessonEditor ed(fx, MakeLesson(nbr, {{"a", "b"}}), false, used);
    QCOMPARE(ed.Edit("editLessonNbr")->text(), QString::number(nbr));
    QVERIFY(!ed.C<QToolButton>("btnSpinboxUp")->isEnabled());
    QVERIFY(!ed.C<QToolButton>("btnSpinboxDown")->isEnabled());
    ed.Click("btnSafe");
    QCOMPARE(ed.Lesson->LessonNbr, nbr);
    QVERIFY(!ed.Dlg.IsChanged());
  }

  // A character that splits the stored pair line in the wrong place is
  // refused when the field is left.
  void refusedCharacters_data() {
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("character");
    QTest::addColumn<int>("message");
    QTest::addColumn<QString>("named");  // how the message names the character
    const struct {
      const char* field;
      const char* chars;
    } refused[] = {{"editWord1", "@#*§"}, {"editWord2", "#*§"}, {"editWav1", "@*§"}, {"editWav2", "*§"}};
    for (const auto& r : refused)
      for (QChar c : QString::fromUtf8(r.chars))
        QTest::addRow("%s %s", r.field, QString(c).toUtf8().constData())
            << r.field << QString(c) << int(txRefusedSeparator) << QStringLiteral(" \"") + c + '"';
  }
  void refusedCharacters() {
    QFETCH(QString, field);
    QFETCH(QString, character);
    QFETCH(int, message);
    QFETCH(QString, named);
    TEditorFixture fx;
    TLessonEditor ed(fx, MakeLesson(1, {{"haus", "house", true, "\\h.wav", "\\g.wav"}}), false, Used({}));
    QLineEdit* edit = ed.Edit(field.toLatin1().constData());
    const QString before = edit->text();
    TypeAndLeave(edit, QStringLiteral("ab") + character + QStringLiteral("cd"));
    QCOMPARE(fx.Messages.size(), std::size_t(1));
    QVERIFY(fx.Messages[0].beep);
    QCOMPARE(fx.Messages[0].text, fx.Text(message) + named);
    QCOMPARE(ed.Dlg.focusWidget(), static_cast<QWidget*>(edit));
    QCOMPARE(ed.Cell(0, ColumnOf(field)), before);
    // Store with the refused text still in the focused field: refused again,
    // the dialog stays open and the lesson keeps its text.
    ed.Click("btnSafe");
    QVERIFY(ed.Dlg.isVisible());
    QCOMPARE(fx.Messages.size(), std::size_t(2));
  }

  // A message box (or another program) taking the keyboard while a field
  // holds a refused text is no leaving of the field: checking then showed a
  // second refusal over the box that had taken the focus.
  void anotherWindowTakingTheKeyboardChecksNoField() {
    TEditorFixture fx;
    TLegacyFile legacy(fx);
    TLessonEditor ed(fx, legacy.Lesson(), false, Used({}));
    ed.Dlg.SetEncodingOffer(&legacy.Offer);
    QLineEdit* word1 = ed.Edit("editWord1");
    word1->setFocus(Qt::TabFocusReason);
    word1->setText(QStringLiteral("a\u03A9"));
    for (Qt::FocusReason reason : {Qt::ActiveWindowFocusReason, Qt::PopupFocusReason}) {
      QFocusEvent out(QEvent::FocusOut, reason);
      QApplication::sendEvent(word1, &out);
    }
    QVERIFY(fx.Messages.empty());
    fx.Answers.push_back(QMessageBox::No);
    Leave(word1);
    QCOMPARE(fx.Messages.size(), std::size_t(2));  // the offer, then the refusal
  }

  // Characters a Windows-1252 file cannot hold, in every field, as the
  // message names them: the code point tells the character where the
  // message's font has no glyph for it (an empty box).
  static void AddCharactersBeyondWindows1252() {
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("character");
    QTest::addColumn<QString>("named");
    for (const char* f : {"editWord1", "editWord2", "editWav1", "editWav2"})
      QTest::addRow("%s Greek omega", f) << f << QStringLiteral("\u03A9") << QStringLiteral(" \"\u03A9\" (U+03A9)");
    QTest::addRow("Russian ya") << "editWord2" << QStringLiteral("\u044F") << QStringLiteral(" \"\u044F\" (U+044F)");
    QTest::addRow("Polish l with stroke") << "editWord1" << QStringLiteral("\u0142")
                                          << QStringLiteral(" \"\u0142\" (U+0142)");
    QTest::addRow("tea") << "editWord2" << QStringLiteral("\u8336") << QStringLiteral(" \"\u8336\" (U+8336)");
    QTest::addRow("emoji, two UTF-16 units") << "editWord1" << QString::fromUtf8("\xF0\x9F\x98\x80")
                                             << QString::fromUtf8(" \"\xF0\x9F\x98\x80\" (U+1F600)");
  }

  // Declining the offer to convert a Windows-1252 file refuses the character
  // as before: named, the focus back in the field, the row and the file as
  // they were. The offer comes once for the file; after that the character is
  // refused at once.
  void legacyFileRefusesACharacterWhenNotConverted_data() { AddCharactersBeyondWindows1252(); }
  void legacyFileRefusesACharacterWhenNotConverted() {
    QFETCH(QString, field);
    QFETCH(QString, character);
    QFETCH(QString, named);
    TEditorFixture fx;
    TLegacyFile legacy(fx);
    TLessonEditor ed(fx, legacy.Lesson(), false, Used({}));
    ed.Dlg.SetEncodingOffer(&legacy.Offer);
    QLineEdit* edit = ed.Edit(field.toLatin1().constData());
    const QString before = edit->text();
    fx.Answers.push_back(QMessageBox::No);
    TypeAndLeave(edit, QStringLiteral("ab") + character + QStringLiteral("cd"));
    QCOMPARE(fx.Messages.size(), std::size_t(2));
    QCOMPARE(fx.Messages[0].buttons, QMessageBox::Yes | QMessageBox::No);
    QVERIFY(fx.Messages[0].text.startsWith(fx.Text(txLegacyCannotHold) + named));
    QVERIFY(fx.Messages[1].beep);
    QCOMPARE(fx.Messages[1].text, fx.Text(txCharNotStorable) + named);
    QCOMPARE(ed.Dlg.focusWidget(), static_cast<QWidget*>(edit));
    QCOMPARE(ed.Cell(0, ColumnOf(field)), before);
    QCOMPARE(legacy.File.Encoding, TTextEncoding::Cp1252);
    QVERIFY(!QFile::exists(Utf8ToQString(TEncodingBackup::Name(legacy.Path, 1))));
    // Store with the refused text still in the focused field: refused again
    // without a second offer; the dialog stays open.
    ed.Click("btnSafe");
    QVERIFY(ed.Dlg.isVisible());
    QCOMPARE(fx.Messages.size(), std::size_t(3));
    QCOMPARE(fx.Messages[2].text, fx.Text(txCharNotStorable) + named);
    QCOMPARE(legacy.Bytes(), legacy.OldBytes);
  }

  // Yes keeps the file's bytes in a backup beside it (an older backup is
  // never replaced) and makes the file UTF-8: the phrase is taken, and the
  // file's next save writes it.
  void legacyFileBecomesUtf8WhenTheLearnerAgrees_data() {
    QTest::addColumn<QString>("phrase");
    QTest::addColumn<bool>("olderBackup");
    QTest::newRow("Greek") << QStringLiteral("\u03BB\u03CC\u03B3\u03BF\u03C2") << false;
    QTest::newRow("Russian, a backup there already") << QStringLiteral("\u0434\u043E\u043C") << true;
  }
  void legacyFileBecomesUtf8WhenTheLearnerAgrees() {
    QFETCH(QString, phrase);
    QFETCH(bool, olderBackup);
    TEditorFixture fx;
    TLegacyFile legacy(fx);
    if (olderBackup) fx.WriteRaw("/LangFiles/Eng_Ger/legacy.lang.windows-1252.bak", "older");
    TLessonEditor ed(fx, legacy.Lesson(), false, Used({}));
    ed.Dlg.SetEncodingOffer(&legacy.Offer);
    fx.Answers.push_back(QMessageBox::Yes);
    TypeAndLeave(ed.Edit("editWord2"), phrase);
    QCOMPARE(fx.Messages.size(), std::size_t(1));
    const std::string backup = TEncodingBackup::Name(legacy.Path, olderBackup ? 2 : 1);
    QVERIFY(fx.Messages[0].text.endsWith(Utf8ToQString(backup)));
    QCOMPARE(legacy.File.Encoding, TTextEncoding::Utf8);
    QCOMPARE(ed.Cell(0, colWord2), phrase);
    QCOMPARE(ReadFileBytes(backup), legacy.OldBytes);
    if (olderBackup) QCOMPARE(legacy.Bytes(".windows-1252.bak"), TextToBytes("older"));
    // Another field with another script asks nothing more.
    TypeAndLeave(ed.Edit("editWord1"), QStringLiteral("\u8336"));
    QCOMPARE(fx.Messages.size(), std::size_t(1));
    ed.Click("btnSafe");
    QCOMPARE(ed.Dlg.result(), TeditLessonDlg::mrStored);
    QVERIFY(legacy.File.SaveLangFile(legacy.Path));
    TLangFHandler reread;
    QVERIFY(reread.LoadLangFile(legacy.Path));
    QCOMPARE(reread.Encoding, TTextEncoding::Utf8);
    QCOMPARE(Utf8ToQString(reread.GetLesson(1)->GetPear(0)->Word2), phrase);
    QCOMPARE(Utf8ToQString(reread.GetLesson(1)->GetPear(0)->Word1), QStringLiteral("\u8336"));
  }

  // The backup cannot be written (its name is taken by a folder): the file is
  // not converted, the learner is told where the backup would have been, and
  // the character stays out of the file.
  void legacyFileStaysWhenItsBackupCannotBeWritten() {
    TEditorFixture fx;
    TLegacyFile legacy(fx);
    QDir().mkpath(Utf8ToQString(TEncodingBackup::Name(legacy.Path, 1)));
    TLessonEditor ed(fx, legacy.Lesson(), false, Used({}));
    ed.Dlg.SetEncodingOffer(&legacy.Offer);
    fx.Answers.push_back(QMessageBox::Yes);
    TypeAndLeave(ed.Edit("editWord1"), QStringLiteral("\u03A9"));
    QCOMPARE(fx.Messages.size(), std::size_t(2));
    QVERIFY(fx.Messages[1].beep);
    QCOMPARE(fx.Messages[1].text, fx.Text(txEncodingBackupFailed) + '\n' +
                                      Utf8ToQString(TEncodingBackup::Name(legacy.Path, 1)));
    QCOMPARE(legacy.File.Encoding, TTextEncoding::Cp1252);
    QCOMPARE(ed.Dlg.focusWidget(), static_cast<QWidget*>(ed.Edit("editWord1")));
    QCOMPARE(ed.Cell(0, colWord1), QStringLiteral("haus"));
  }

  // A UTF-8 file, and a lesson editor without a file to ask, take every
  // script without a word.
  void utf8FileTakesEveryScriptWithoutAsking_data() { AddCharactersBeyondWindows1252(); }
  void utf8FileTakesEveryScriptWithoutAsking() {
    QFETCH(QString, field);
    QFETCH(QString, character);
    QFETCH(QString, named);
    Q_UNUSED(named);
    TEditorFixture fx;
    TLangFHandler file = NewLangFile();
    const std::string path = fx.Path("/LangFiles/Eng_Ger/new.lang");
    TEncodingOffer offer(file, path, fx.Texts);
    for (bool withOffer : {true, false}) {
      TLessonEditor ed(fx, MakeLesson(1, {{"haus", "house"}}), false, Used({}));
      if (withOffer) ed.Dlg.SetEncodingOffer(&offer);
      const QString text = QStringLiteral("ab") + character + QStringLiteral("cd");
      TypeAndLeave(ed.Edit(field.toLatin1().constData()), text);
      QVERIFY(fx.Messages.empty());
      QCOMPARE(ed.Cell(0, ColumnOf(field)), text);
      ed.Click("btnSafe");
      QCOMPARE(ed.Dlg.result(), TeditLessonDlg::mrStored);
    }
    QCOMPARE(file.Encoding, TTextEncoding::Utf8);
  }

  // Any file name the file system allows goes into a UTF-8 file; a
  // Windows-1252 file not converted refuses it, naming the character.
  void soundFileNameWithARefusedCharacterIsNamed() {
    TEditorFixture fx;
    TLegacyFile legacy(fx);
    TLessonEditor ed(fx, legacy.Lesson(), false, Used({}));
    ed.Dlg.SetEncodingOffer(&legacy.Offer);
    fx.Answers.push_back(QMessageBox::No);
    fx.Files.push_back(fx.NativePath("") + QStringLiteral("/LangFiles/\u8336.wav"));
    ed.Click("btnSelectWav1");
    QCOMPARE(fx.Messages.size(), std::size_t(2));
    QCOMPARE(fx.Messages[1].text, fx.Text(txCharNotStorable) + QStringLiteral(" \"\u8336\" (U+8336)"));
    QCOMPARE(ed.Cell(0, colWav1), QStringLiteral("\\h.wav"));

    TLessonEditor free(fx, MakeLesson(1, {{"haus", "house"}}), false, Used({}));
    fx.Files.push_back(fx.NativePath("") + QStringLiteral("/LangFiles/\u8336.wav"));
    free.Click("btnSelectWav1");
    QCOMPARE(fx.Messages.size(), std::size_t(2));
    QCOMPARE(free.Cell(0, colWav1), QStringLiteral("\\LangFiles\\\u8336.wav"));
  }

  void allowedSeparatorsPass_data() {
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("character");
    QTest::newRow("@ in the second phrase") << "editWord2" << "@";
    QTest::newRow("# in a sound file") << "editWav1" << "#";
    QTest::newRow("@ in the second sound file") << "editWav2" << "@";
    QTest::newRow("= in the first phrase") << "editWord1" << "=";
    QTest::newRow("euro sign") << "editWord1" << "\u20AC";
  }
  void allowedSeparatorsPass() {
    QFETCH(QString, field);
    QFETCH(QString, character);
    TEditorFixture fx;
    TLessonEditor ed(fx, MakeLesson(1, {{"haus", "house"}}), false, Used({}));
    TypeAndLeave(ed.Edit(field.toLatin1().constData()), QStringLiteral("x") + character);
    QVERIFY(fx.Messages.empty());
    ed.Click("btnSafe");
    QCOMPARE(ed.Dlg.result(), TeditLessonDlg::mrStored);
  }
};

QTEST_MAIN(EditLessonTest)
#include "EditLessonTest.moc"
