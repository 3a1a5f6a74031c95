#pragma once
#include <functional>
#include <QDialog>
#include <cstdint>
#include <memory>
#include <string>

#include "session/LessonRows.h"
#include "core/BoolVector.h"
#include "core/IntVector.h"
#include "core/Lesson.h"
#include "storage/SoundCheck.h"

class QAction;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QTableWidget;
class QTableWidgetItem;
class QToolButton;
class TAppIniFile;
class TSession;
class TMediaManager;
class TAppLangHandler;
class TEncodingOffer;
class TSpinBox;
class TSoundMark;
struct TTableRequest;

// The modal dialog in which the user edits one lesson: its number and its
// phrase pairs. The rows are the working data and the table shows them; the
// lesson receives them only on store (result 100); Close (result 101)
// discards them.
class TeditLessonDlg : public QDialog {
  Q_OBJECT

 public:
  static constexpr int mrStored = 100;
  static constexpr int mrClosed = 101;

  // Tests: how the sound of a field is played.
  using TMediaFactory = std::function<std::unique_ptr<TMediaManager>(QWidget* owner)>;
  static void SetMediaFactory(TMediaFactory factory);

  TeditLessonDlg(QWidget* owner, TAppLangHandler& LangHandler, TSession& session);
  ~TeditLessonDlg() override;

  // Called once before the modal run. usedNumbers: the lesson numbers other
  // lessons hold; highest: the highest number offered.
  void Prepare(const std::string& lang1, const std::string& lang2, bool newLesson, std::shared_ptr<TLesson> lesson,
               int32_t highest, const TBoolVector& usedNumbers);
  bool IsChanged() const { return Changed; }
  // The language file the lesson goes into, when it is a Windows-1252 file
  // that may be turned into UTF-8. Without one every character is taken.
  void SetEncodingOffer(TEncodingOffer* offer) { Offer = offer; }

  // The rows as they stand, from the top.
  TLessonRows Rows() const;
  int SelectedRow() const;

  // Event handlers, named after their control and event.
  void btnCloseClick();
  void btnSafeClick();
  void btnAddEntryClick();
  void btnDeleteEntryClick();
  void btnSpinboxMouseDown(bool down);
  void btnSpinboxMouseUp();
  void btnHelpClick();
  void editWord1Exit();
  void editWord2Exit();
  void editWav1Exit();
  void editWav2Exit();
  void btnSelectWav1Click();
  // Plays the sound file the field names, so the learner hears what a pair will say.
  void PlayFieldSound(const QLineEdit* field);
  void btnSelectWav2Click();
  void wordPearListSelectItem();
  void sortItem1Click();
  void sortItem2Click();
  void searchLang1Click();
  void searchLang2Click();
  // A CSV or TSV table's pairs after the lesson's last pair, as edits to store.
  void btnImportTableClick();
  // The lesson as the editor shows it, stored or not, into a CSV or TSV table.
  void btnExportTableClick();

  // With changes not stored, asks whether to store them first.
  void reject() override;

 protected:
  void showEvent(QShowEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void FitToScreen();
  void BuildControls();
  void ApplyTexts(const QString& name1, const QString& name2);
  void FormShow();
  void UpdateButtons();
  void AddRow(const TLessonRow& row, bool select, int position);
  // Makes the table's row r show the working row.
  void ShowRow(int r);
  // A tick the learner set or cleared in the table, into the working rows.
  void TakeTick(QTableWidgetItem* item);
  int RowCount() const { return static_cast<int>(EditedRows.size()); }
  void SelectRow(int r);
  void ShowEntryCount();
  bool HasUnstoredChanges() const;
  void ShowPhrase(QLineEdit* field, const QString& phrase);
  void CommitFields();
  void UpdateFieldHints();
  void FieldExit(QLineEdit* field, TStoredField kind);
  // CheckField, and whether the language file holds the text (it may offer
  // to become UTF-8); the focus goes back into a refused field.
  bool CheckStorable(QLineEdit* field, TStoredField kind);
  void SelectWav(QLineEdit* field, TStoredField kind);
  void SortRows(bool secondLang);
  // Marks the sounds the two fields name that fail the sound check, their
  // loudness against the median of the lesson's sounds.
  void UpdateSoundMarks();
  void SearchDoubles(bool secondLang);
  // What the focused field holds into its row; false when a field refuses
  // its text (the focus stays there).
  bool TakeFocusedField();
  // The language file the lesson belongs to (empty: not yet written).
  const std::string& LangFilePath() const;
  // A table's file dialog starts beside the language file.
  TTableRequest TableRequest(int title);

  bool EntryAdded = false;
  TLessonRows EditedRows;
  // The table is being filled from the rows: its changes are not the learner's.
  bool showingRows_ = false;
  std::shared_ptr<TLesson> EditedLesson;
  TSpinBox* NumberSpin = nullptr;
  TIntVector FreeNumbers;
  bool Changed = false;
  // The learner's session; its settings are what the editor changes.
  TSession& Session;
  TAppIniFile& IniFile;
  std::string PairDir;
  TAppLangHandler& LangHandler;
  TEncodingOffer* Offer = nullptr;
  bool shown_ = false;
  TSoundMeasureCache soundMeasures_;

  QToolButton* btnClose;
  QToolButton* btnSafe;
  QToolButton* btnAddEntry;
  QToolButton* btnDeleteEntry;
  QToolButton* btnImportTable = nullptr;
  QToolButton* btnExportTable = nullptr;
  QToolButton* btnHelp;
  QToolButton* btnSpinboxUp;
  QToolButton* btnSpinboxDown;
  QLabel* labelLessonNbr;
  QLineEdit* editLessonNbr;
  QLabel* labelNbrWords;
  QLabel* labelEntryValue;
  QTableWidget* wordPearList;
  QLabel* labelEmptyHint;
  QMenu* sortMenue;
  QAction* sortItem1;
  QAction* sortItem2;
  QAction* searchLang1;
  QAction* serchLang2;
  QAction* importTableItem = nullptr;
  QAction* exportTableItem = nullptr;
  QLabel* labelWord1;
  QLabel* labelWord2;
  QLabel* labelWave1;
  QLabel* labelWave2;
  QLineEdit* editWord1;
  QLineEdit* editWord2;
  QLineEdit* editWav1;
  QLineEdit* editWav2;
  QPushButton* btnSelectWav1;
  QPushButton* btnPlayWav1 = nullptr;
  QPushButton* btnPlayWav2 = nullptr;
  QPushButton* btnSelectWav2;
  TSoundMark* markWav1 = nullptr;
  TSoundMark* markWav2 = nullptr;
};
