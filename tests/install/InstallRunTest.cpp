// The installed program on an empty home folder: the first start is ready to
// drill, an exercise composes, closing writes the settings into the
// learner's config folder, and the next start goes on with the same list.
#include <QDir>
#include <QFile>
#include <QTest>
#include <QToolButton>

#include "core/CodePage.h"
#include "settings/AppIniFile.h"
#include "settings/AppFolders.h"
#include "shell/MainWnd.h"
#include "widgets/GeneralUtil.h"
#include "widgets/TickTimer.h"

class InstallRunTest : public QObject {
  Q_OBJECT

 private slots:
  void firstStartIsReadyAndTheNextKeepsTheProgress();
};

void InstallRunTest::firstStartIsReadyAndTheNextKeepsTheProgress() {
  const QString prefix = qEnvironmentVariable("QM_INSTALL_PREFIX");
  if (prefix.isEmpty()) QSKIP("runs through install_test, on an installed copy");
  TTickTimer::SetManual(true);
  QStringList messages;
  SetMessageBoxHook([&messages](const TMessageRequest& request) {
    messages << request.text;
    return int(QMessageBox::Ok);
  });

  const std::string exeDir = QDir(prefix + "/bin").absolutePath().toStdString();
  const TAppFolders folders = FindAppFolders(exeDir);
  QVERIFY(folders.Installed);
  const QString home = QDir::homePath();
  QCOMPARE(Utf8ToQString(folders.Settings), home + "/.config/quillmere");
  QCOMPARE(Utf8ToQString(folders.Data), home + "/.local/share/quillmere");
  QString why;
  QVERIFY(PrepareLearnerFolders(folders, why));
  QVERIFY(QFile::exists(home + "/.local/share/quillmere/LangFiles/Eng_Ger/english_german.lang"));

  TExerciseWords composed;
  {
    tMainWindow win(folders);
    QVERIFY(!win.StartAborted());
    win.show();
    QVERIFY(!win.StartAborted());
    QVERIFY2(messages.isEmpty(), qPrintable(messages.join('\n')));
    QVERIFY(win.IsExerciseReady());
    QCOMPARE(win.GetIniFile().AvailableUnits, (std::vector<int32_t>{1, 2}));
    win.findChild<QToolButton*>(QStringLiteral("btnExerciseRun"))->click();
    QVERIFY2(messages.isEmpty(), qPrintable(messages.join('\n')));
    composed = win.GetIniFile().ExerciseWords;
    QVERIFY(!composed.empty());
    for (QWidget* w : QApplication::topLevelWidgets())
      if (w != &win && w->isVisible()) w->close();
    win.close();
  }
  const QString ini = home + "/.config/quillmere/Quillmere.Ini";
  QVERIFY(QFile::exists(ini));

  tMainWindow again(folders);
  again.show();
  QVERIFY(!again.StartAborted());
  QCOMPARE(again.GetIniFile().ExerciseWords, composed);
  QVERIFY2(messages.isEmpty(), qPrintable(messages.join('\n')));
  again.close();
}

QTEST_MAIN(InstallRunTest)
#include "InstallRunTest.moc"
