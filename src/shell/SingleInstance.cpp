#include "SingleInstance.h"

#include <QFile>
#include <QFileSystemWatcher>
#include <QMessageBox>

#include "settings/TextNumbers.h"
#include "widgets/GeneralUtil.h"
#include "widgets/UiText.h"
#include "settings/AppLangHandl.h"
#include "settings/IniFileHandler.h"
#include "storage/FileUtil.h"
#include "storage/PathLock.h"
#include "core/StrUtil.h"

namespace {
constexpr const char* kInstanceLock = "instance";
const QByteArray kRaiseRequest = QByteArrayLiteral("raise\n");

// The running copy watches this file for requests; the folder is the user's own.
QString RequestFile(const std::string& key) {
  return QString::fromStdString(TPathLock::RuntimeFolder() + "/" + key + ".raise");
}

// The message in the learner's language; nothing may be shown or written
// about a missing text database here (the running copy has it).
QString AlreadyRunningText(const TAppFolders& folders) {
  const QString english = QStringLiteral("Quillmere is already running with these settings. Its window is "
                                         "brought to the front; this second copy ends without saving anything.");
  const std::string textDb = folders.Program + "/Text.Db";
  if (!FileExistsWarn(textDb)) return english;
  try {
    TAppLangHandler texts;
    if (!texts.LoadTextDb(textDb, {}, nullptr)) return english;
    std::string language = "EN";
    const std::string iniName = folders.Settings + "/Quillmere.Ini";
    if (FileExistsWarn(iniName)) language = UpperCase(tIniFileHandler(iniName).ReadString("Application", "Language", "EN"));
    if (!texts.SetLanguage(language) && !texts.SetLanguage("EN")) return english;
    const std::string text = texts.GetText(txAlreadyRunning);
    return text == "????" ? english : UiText(texts, txAlreadyRunning);
  } catch (...) {
    // An unreadable file: the English text serves.
    return english;
  }
}
}  // namespace

TSingleInstance::TSingleInstance(const std::string& settingsFile)
    : key_(TPathLock::KeyFor(kInstanceLock, settingsFile)),
      requestFile_(RequestFile(key_)),
      lock_(std::make_unique<TPathLock>(kInstanceLock, settingsFile)) {}

TSingleInstance::~TSingleInstance() {
  if (watcher_) QFile::remove(requestFile_);
}

bool TSingleInstance::Claim() {
  if (!lock_->TryLock()) return false;
  if (watcher_) return true;
  // A request left by a crashed copy is not for us: we hold the lock. Without
  // the file the program still runs; only the request to come to the front
  // is not heard.
  QFile file(requestFile_);
  if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) return true;
  file.close();
  watcher_ = std::make_unique<QFileSystemWatcher>(QStringList{requestFile_});
  connect(watcher_.get(), &QFileSystemWatcher::fileChanged, this, &TSingleInstance::ReadRequests);
  return true;
}

void TSingleInstance::ReadRequests() {
  // A file replaced or removed is no longer watched: watched again once back.
  if (!watcher_->files().contains(requestFile_) && QFile::exists(requestFile_)) watcher_->addPath(requestFile_);
  QFile file(requestFile_);
  if (!file.open(QIODevice::ReadWrite)) return;
  const QByteArray requests = file.readAll();
  if (requests.isEmpty()) return;
  file.resize(0);
  if (requests.contains(kRaiseRequest)) emit raiseRequested();
}

bool TSingleInstance::AskToRaise() const {
  // Only the running copy makes the file; without it no one would hear.
  QFile file(requestFile_);
  if (!file.exists() || !file.open(QIODevice::WriteOnly | QIODevice::Append)) return false;
  return file.write(kRaiseRequest) == kRaiseRequest.size() && file.flush();
}

bool RefuseSecondCopy(const TAppFolders& folders, TSingleInstance& instance) {
  if (instance.Claim()) return false;
  instance.AskToRaise();
  ShowMessageBox(nullptr, QStringLiteral("Quillmere"), AlreadyRunningText(folders), QMessageBox::Information,
                 QMessageBox::Ok, true);
  return true;
}
