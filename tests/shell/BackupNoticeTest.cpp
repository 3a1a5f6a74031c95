// The learner is told where the old bytes of a language file read with
// losses are kept, and when a backup could not be written.
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>
#include <memory>
#include <string>
#include <vector>

#include "settings/AppLangHandl.h"
#include "settings/TextNumbers.h"
#include "widgets/GeneralUtil.h"
#include "shell/MainWnd.h"
#include "widgets/UiText.h"
#include "storage/CodeDecode.h"
#include "core/CodePage.h"
#include "storage/FileUtil.h"
#include "storage/LangFHandler.h"

namespace {
const QString kProgramDir = QStringLiteral(QM_PROGRAM_DIR);

// The exercise window is not what these tests look at.
class TNoExerciseMainWindow : public tMainWindow {
 public:
  using tMainWindow::tMainWindow;

 protected:
  std::unique_ptr<QWidget> CreateExerciseDlg() override { return std::make_unique<QWidget>(); }
};

QByteArray StoredImage(const QByteArray& text) {
  TBytes image;
  image.push_back(kContainerHeader);
  for (const char c : text) image.push_back(static_cast<uint8_t>(c));
  image.push_back(0);
  XorCheck(image, true);
  ScrambleInPlace(image);
  return QByteArray(reinterpret_cast<const char*>(image.data()), qsizetype(image.size()));
}
}  // namespace

class BackupNoticeTest : public QObject {
  Q_OBJECT

 private slots:
  void init();
  void cleanup();
  void startOnALossyFileSaysWhereTheBackupIs();
  void startOnACleanFileSaysNothing();
  void failedDailyBackupIsReportedAndTheStartGoesOn();

 private:
  void WriteProgramDir(const QByteArray& langText);
  QByteArray Read(const QString& name) const {
    QFile f(dir->filePath(name));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
  }
  void ClickStart() { win->findChild<QToolButton*>(QStringLiteral("btnExerciseRun"))->click(); }

  std::unique_ptr<QTemporaryDir> dir;
  std::unique_ptr<TNoExerciseMainWindow> win;
  std::vector<TMessageRequest> messages;
  QByteArray oldBytes;
};

void BackupNoticeTest::init() {
  dir = std::make_unique<QTemporaryDir>();
  messages.clear();
  SetMessageBoxHook([this](const TMessageRequest& r) {
    messages.push_back(r);
    return int(QMessageBox::Ok);
  });
}

void BackupNoticeTest::cleanup() {
  win.reset();
  SetMessageBoxHook({});
}

void BackupNoticeTest::WriteProgramDir(const QByteArray& langText) {
  for (const char* name : {"Text.Db", "Quillmere.Hlp", "Default.Bmp"})
    QVERIFY(QFile::copy(kProgramDir + '/' + name, dir->filePath(QString::fromLatin1(name))));
  oldBytes = StoredImage(langText);
  QFile lang(dir->filePath("words.lang"));
  QVERIFY(lang.open(QIODevice::WriteOnly));
  lang.write(oldBytes);
  lang.close();
  QFile ini(dir->filePath("Quillmere.Ini"));
  QVERIFY(ini.open(QIODevice::WriteOnly));
  ini.write("[Application]\nLanguage=EN\n[Exercise]\nLangFileName=" + dir->filePath("words.lang").toUtf8() +
            "\nLang1=English\nLang2=German\nFirstLang=True\nMaxWords=20\n[AvailableUnits]\n0=1\nNbrUnits=1\n");
}

void BackupNoticeTest::startOnALossyFileSaysWhereTheBackupIs() {
  using namespace std::string_literals;
  WriteProgramDir(QByteArray::fromStdString(
      "[General]\r\nEnglish@German\r\n[1]\r\n0=house@Haus# @ *\r\n1=tree\0 (secret note)@Baum# @ *\r\n[-5]\r\n0=red@rot# @ *\r\n"s));
  win = std::make_unique<TNoExerciseMainWindow>(dir->path().toStdString());
  win->show();
  ClickStart();
  QCOMPARE(messages.size(), std::size_t(1));
  const QString backup = dir->filePath("words.lang.bak");
  QVERIFY2(messages[0].text.contains(backup), qPrintable(messages[0].text));
  QCOMPARE(messages[0].text.split('\n')[0], UiText(win->GetLangHandler(), txPartsLeftOut));
  QCOMPARE(Read("words.lang.bak"), oldBytes);
  QVERIFY(Read("words.lang") != oldBytes);
  // Told once: the next start reads the file as it is now, without losses.
  ClickStart();
  QCOMPARE(messages.size(), std::size_t(1));
  QVERIFY(!QFile::exists(dir->filePath("words.lang.2.bak")));
}

void BackupNoticeTest::startOnACleanFileSaysNothing() {
  WriteProgramDir("[General]\r\nEnglish@German\r\n[1]\r\n0=house@Haus# @ *\r\n1=tree@Baum# @ *\r\n");
  win = std::make_unique<TNoExerciseMainWindow>(dir->path().toStdString());
  win->show();
  ClickStart();
  QVERIFY(messages.empty());
  QVERIFY(!QFile::exists(dir->filePath("words.lang.bak")));
  // The day's backup went to the backup folder beside the settings file.
  QDir backups(dir->filePath("Backups"));
  const QStringList folders = backups.entryList(QDir::Dirs | QDir::NoDotAndDotDot);
  QCOMPARE(folders.size(), qsizetype(1));
  QVERIFY(folders[0].startsWith("words-"));
  const QStringList files = QDir(backups.filePath(folders[0])).entryList(QDir::Files);
  QCOMPARE(files.size(), qsizetype(1));
  QCOMPARE(Read("Backups/" + folders[0] + '/' + files[0]), oldBytes);
}

void BackupNoticeTest::failedDailyBackupIsReportedAndTheStartGoesOn() {
  WriteProgramDir("[General]\r\nEnglish@German\r\n[1]\r\n0=house@Haus# @ *\r\n1=tree@Baum# @ *\r\n");
  // A file where the backup folder should be: the folder cannot be made.
  QFile blocker(dir->filePath("Backups"));
  QVERIFY(blocker.open(QIODevice::WriteOnly));
  blocker.close();
  win = std::make_unique<TNoExerciseMainWindow>(dir->path().toStdString());
  win->show();
  ClickStart();
  QCOMPARE(messages.size(), std::size_t(1));
  QCOMPARE(messages[0].icon, QMessageBox::Warning);
  QCOMPARE(messages[0].text.split('\n')[0], UiText(win->GetLangHandler(), txDailyBackupFailed));
  QVERIFY(messages[0].text.contains(dir->filePath("Backups/words-")));
  // The learner's save went on.
  QVERIFY(Read("words.lang") != oldBytes);
  ClickStart();
  QCOMPARE(messages.size(), std::size_t(1));
}

QTEST_MAIN(BackupNoticeTest)
#include "BackupNoticeTest.moc"
