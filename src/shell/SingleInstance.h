#pragma once
#include <QObject>
#include <QString>
#include <memory>
#include <string>

#include "settings/AppFolders.h"

class QFileSystemWatcher;
class TAppLangHandler;
class TPathLock;

// One writer per settings file: the first copy of the program on a settings
// file claims it; a second copy finds the claim, asks the first to come to
// the front and ends without writing. The claim is a lock that a crashed
// copy does not leave stuck; the request goes through a file in the
// user's runtime folder that the first copy watches.
class TSingleInstance : public QObject {
  Q_OBJECT

 public:
  explicit TSingleInstance(const std::string& settingsFile);
  ~TSingleInstance() override;

  // True: this copy is the writer and now listens for requests. False:
  // another running copy holds the settings file.
  bool Claim();
  // Asks the copy holding the claim to bring its window to the front; false
  // when it could not be reached.
  bool AskToRaise() const;

 signals:
  void raiseRequested();

 private:
  void ReadRequests();

  std::string key_;
  QString requestFile_;
  std::unique_ptr<TPathLock> lock_;
  std::unique_ptr<QFileSystemWatcher> watcher_;
};

// At program start: when another copy runs on the same settings file, says
// that Quillmere is already running (in the stored interface language when
// the text database can be read, else in English), asks that copy to come
// to the front and returns true: this copy must end.
bool RefuseSecondCopy(const TAppFolders& folders, TSingleInstance& instance);
