#include "Session.h"

#include "EditorChange.h"
#include "ExerciseComposer.h"
#include "settings/AppIniFile.h"
#include "storage/LangFHandler.h"
#include "storage/PathLock.h"

namespace {
constexpr const char* kLangFileLock = "langfile";

std::uint32_t RandomSeed() { return std::random_device{}(); }
}  // namespace

TSession::TSession(std::unique_ptr<TAppIniFile> iniFile) : TSession(std::move(iniFile), RandomSeed()) {}

TSession::TSession(std::unique_ptr<TAppIniFile> iniFile, std::uint32_t seed)
    : iniFile_(std::move(iniFile)),
      langFile_(std::make_unique<TLangFHandler>()),
      random_(seed),
      composer_(std::make_unique<TExerciseComposer>(*iniFile_, *langFile_, random_)) {
  AppLanguage = iniFile_->Language;
}

TSession::~TSession() = default;

void TSession::SetQuestionInFirstLang(bool first) { iniFile_->FirstLang = first; }
bool TSession::QuestionInFirstLang() const { return iniFile_->FirstLang; }

void TSession::ComposeNew() { composer_->ComposeNew(); }
void TSession::ComposeContinue(bool resetPriorities) { composer_->ComposeContinue(resetPriorities); }

void TSession::SplitDeferred() { composer_->SplitDeferred(); }

void TSession::ListRead() {
  listFileName_ = iniFile_->LangFileName;
  HoldLangFile();
}

TEditorChangeDone TSession::ApplyEditorChange(int changeCode) {
  bool listRestored = false;
  if (iniFile_->LangFileName != listFileName_) {
    listRestored = iniFile_->SwitchExerciseList(listFileName_);
    listFileName_ = iniFile_->LangFileName;
    composer_->ForgetFile();
    HoldLangFile();
  }
  switch (EditorFollowUp(changeCode)) {
    case TEditorFollowUp::MaxWordsChanged:
      composer_->MaxWordsChanged();
      return TEditorChangeDone::MaxWordsChanged;
    case TEditorFollowUp::ComposeNew:
      if (listRestored) return TEditorChangeDone::Nothing;
      composer_->ComposeNew();
      return TEditorChangeDone::Composed;
    case TEditorFollowUp::Nothing:
      break;
  }
  return TEditorChangeDone::Nothing;
}

void TSession::HoldLangFile() {
  if (langFileLock_ && heldLangFile_ == iniFile_->LangFileName) return;
  langFileLock_.reset();
  heldLangFile_ = iniFile_->LangFileName;
  if (heldLangFile_.empty()) return;
  langFileLock_ = std::make_unique<TPathLock>(kLangFileLock, heldLangFile_);
  // A copy of the program on other settings may hold it already; then that
  // one keeps the tool away.
  langFileLock_->TryLock();
}

bool TSession::SaveSettings(TSaveResult* result) {
  iniFile_->WriteProperties();
  iniFile_->WriteExercise();
  iniFile_->Language = AppLanguage;
  iniFile_->WriteLanguage();
  return iniFile_->UpdateFile(result);
}

void TSession::KeepProgress() {
  if (!keepingProgress_ || !iniFile_->IniFound) return;
  if (SaveSettings() || progressFailureSaid_) return;
  // Said once: the next pass and the closing try again, and closing asks.
  progressFailureSaid_ = true;
  if (reporter_) reporter_->ProgressNotKept();
}

bool TSession::SaveExerciseLangFile(TLangFHandler& file, const std::string& fileName) {
  // A file the session does not hold as read is saved as it is.
  if (&file != langFile_.get() || fileName != iniFile_->LangFileName) return file.SaveLangFile(fileName);
  const bool saved = composer_->SaveLangFile();
  ReportChangedElsewhere();
  return saved;
}

std::string TSession::HistoryFileName() const { return iniFile_->AppDir + "/" + kHistoryFileName; }

void TSession::RecordPractice(const std::vector<TPractisedPair>& pairs) {
  if (!keepingProgress_ || !iniFile_->IniFound || pairs.empty()) return;
  if (!history_) history_ = std::make_unique<THistoryFile>(HistoryFileName());
  const TSaveResult result =
      history_->Append(HistoryFileKey(iniFile_->LangFileName), pairs, pairs.back().Time);
  if (result.Ok() || historyFailureSaid_) return;
  // Said once: the drill goes on, and later passes try again.
  historyFailureSaid_ = true;
  if (reporter_) reporter_->HistoryNotKept(HistoryFileName(), result.Reason);
}

void TSession::ReportChangedElsewhere() {
  if (composer_->TakeChangedElsewhere() && reporter_) reporter_->LangFileChangedElsewhere();
}
