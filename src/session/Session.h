#pragma once
#include <cstdint>
#include <memory>
#include <random>
#include <string>

#include "ExerciseSession.h"
#include "storage/DurableFile.h"

class TAppIniFile;
class TExerciseComposer;
class TLangFHandler;
class TPathLock;

// What only a window can do for the session: tell the learner.
class TSessionReporter {
 public:
  virtual ~TSessionReporter() = default;
  // The settings could not be written after a pass (said once per session).
  virtual void ProgressNotKept() = 0;
  // A save found the language file changed by someone else since it was read.
  virtual void LangFileChangedElsewhere() = 0;
  // The history could not be added to (said once per session).
  virtual void HistoryNotKept(const std::string& file, const std::string& reason) {
    (void)file;
    (void)reason;
  }
};

// What the session did after the exercise and lesson-set editor closed.
enum class TEditorChangeDone { Nothing, MaxWordsChanged, Composed };

// One learner's session: the settings, the language file of the exercises,
// the composer of exercise lists and the random engine it draws from. The
// main window owns it and hands it to the windows that need it.
class TSession : public TExerciseSession {
 public:
  // iniFile: the settings, read. seed: for a repeatable draw (tests); by
  // default the engine is seeded at random.
  explicit TSession(std::unique_ptr<TAppIniFile> iniFile);
  TSession(std::unique_ptr<TAppIniFile> iniFile, std::uint32_t seed);
  ~TSession() override;
  TSession(const TSession&) = delete;
  TSession& operator=(const TSession&) = delete;

  TAppIniFile& IniFile() { return *iniFile_; }
  const TAppIniFile& IniFile() const { return *iniFile_; }
  TLangFHandler& LangFile() { return *langFile_; }
  const TLangFHandler& LangFile() const { return *langFile_; }
  TExerciseComposer& Composer() { return *composer_; }
  std::mt19937& Random() { return random_; }

  // The interface language in force ("EN", "DE"); stored with the settings.
  std::string AppLanguage;

  void SetReporter(TSessionReporter* reporter) { reporter_ = reporter; }
  // Progress is written only while the session runs on a read settings file
  // (not after a start that ended, nor after the closing).
  void SetKeepingProgress(bool on) { keepingProgress_ = on; }

  // The question language the learner chose.
  void SetQuestionInFirstLang(bool first);

  // A new list, or the old one continued (priorities counted down or reset).
  void ComposeNew();
  void ComposeContinue(bool resetPriorities);

  // The language file the list in memory belongs to; set once the stored
  // list was read at start.
  void ListRead();
  // After the exercise and lesson-set editor: each language file keeps its
  // own list (a file chosen again goes on with the list it had), then the
  // change code says whether the list is cut, topped up or composed anew.
  TEditorChangeDone ApplyEditorChange(int changeCode);

  // Keeps quillmere-lang from replacing the current language file behind
  // the program's back.
  void HoldLangFile();

  // Collects the settings and writes the file; false when it could not be
  // written (result says why).
  bool SaveSettings(TSaveResult* result = nullptr);

  // Tells the reporter once after a save found the file changed elsewhere.
  void ReportChangedElsewhere();

  // TExerciseSession
  bool QuestionInFirstLang() const override;
  void SplitDeferred() override;
  void KeepProgress() override;
  bool SaveExerciseLangFile(TLangFHandler& file, const std::string& fileName) override;
  void RecordPractice(const std::vector<TPractisedPair>& pairs) override;

  // The learner's history, in the data folder.
  std::string HistoryFileName() const;

 private:

  std::unique_ptr<TAppIniFile> iniFile_;
  std::unique_ptr<TLangFHandler> langFile_;
  std::mt19937 random_;
  std::unique_ptr<TExerciseComposer> composer_;
  std::unique_ptr<TPathLock> langFileLock_;
  std::string heldLangFile_;
  // The language file the exercise list in memory belongs to.
  std::string listFileName_;
  TSessionReporter* reporter_ = nullptr;
  bool keepingProgress_ = false;
  bool progressFailureSaid_ = false;
  std::unique_ptr<THistoryFile> history_;
  bool historyFailureSaid_ = false;
};
