#include "SingleInstance.h"

#include <QLocalServer>
#include <QLocalSocket>
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
constexpr int kConnectWait = 1000;  // ms
const QByteArray kRaiseRequest = QByteArrayLiteral("raise\n");

QString SocketName(const std::string& key) { return QString::fromStdString(TPathLock::RuntimeFolder() + "/" + key); }

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
      lock_(std::make_unique<TPathLock>(kInstanceLock, settingsFile)) {}

TSingleInstance::~TSingleInstance() {
  if (server_) server_->close();
}

bool TSingleInstance::Claim() {
  if (!lock_->TryLock()) return false;
  if (server_) return true;
  server_ = std::make_unique<QLocalServer>();
  server_->setSocketOptions(QLocalServer::UserAccessOption);
  // A socket left by a crashed copy is ours to replace: we hold the lock.
  const QString name = SocketName(key_);
  QLocalServer::removeServer(name);
  // Without the socket the program still runs; only the request to come to
  // the front is not heard.
  if (server_->listen(name)) connect(server_.get(), &QLocalServer::newConnection, this, &TSingleInstance::ReadRequests);
  return true;
}

void TSingleInstance::ReadRequests() {
  while (QLocalSocket* socket = server_->nextPendingConnection()) {
    connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
    connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
      if (socket->readAll().startsWith(kRaiseRequest.trimmed())) emit raiseRequested();
      socket->disconnectFromServer();
    });
  }
}

bool TSingleInstance::AskToRaise() const {
  QLocalSocket socket;
  socket.connectToServer(SocketName(key_));
  if (!socket.waitForConnected(kConnectWait)) return false;
  socket.write(kRaiseRequest);
  const bool sent = socket.waitForBytesWritten(kConnectWait);
  socket.disconnectFromServer();
  return sent;
}

bool RefuseSecondCopy(const TAppFolders& folders, TSingleInstance& instance) {
  if (instance.Claim()) return false;
  instance.AskToRaise();
  ShowMessageBox(nullptr, QStringLiteral("Quillmere"), AlreadyRunningText(folders), QMessageBox::Information,
                 QMessageBox::Ok, true);
  return true;
}
