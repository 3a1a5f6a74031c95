// The start-up benchmark's switch on the real program: it ends by itself
// after its window's first showing and leaves its folder as it was; and a
// start does not load the sound system.
#include <QDirIterator>
#include <QFile>
#include <QMap>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <filesystem>

namespace {
// Every file below the folder with its bytes.
QMap<QString, QByteArray> Snapshot(const QString& dir) {
  QMap<QString, QByteArray> files;
  QDirIterator it(dir, QDir::Files | QDir::Hidden | QDir::System, QDirIterator::Subdirectories);
  while (it.hasNext()) {
    const QString path = it.next();
    QFile file(path);
    files.insert(path, file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>"));
  }
  return files;
}
}  // namespace

// A copy of the program directory, started with the switch.
struct TStart {
  QTemporaryDir temp;
  QString dir;
  QProcess program;

  bool Copy(const QString& name = QStringLiteral("bin")) {
    if (!temp.isValid()) return false;
    dir = temp.filePath(name);
    std::error_code ec;
    std::filesystem::create_directories(QFile::encodeName(dir).toStdString(), ec);
    std::filesystem::copy(QM_PROGRAM_DIR, QFile::encodeName(dir).toStdString(), std::filesystem::copy_options::recursive,
                          ec);
    return !ec && QFile::exists(dir + QStringLiteral("/Quillmere.Ini"));
  }

  bool Run(const QProcessEnvironment& extra = {}) {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QUILLMERE_EXIT_AFTER_SHOW"), QStringLiteral("1"));
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    env.insert(extra);
    program.setProcessEnvironment(env);
    program.start(dir + QStringLiteral("/quillmere"), {});
    return program.waitForFinished(60000) && program.exitStatus() == QProcess::NormalExit &&
           program.exitCode() == 0;
  }
};

class ExitAfterShowTest : public QObject {
  Q_OBJECT

 private slots:
  void EndsAfterFirstShowingWithoutWriting() {
    TStart start;
    QVERIFY(start.Copy());
    const QMap<QString, QByteArray> before = Snapshot(start.dir);
    QVERIFY2(start.Run(), start.program.readAllStandardError().constData());

    const QMap<QString, QByteArray> after = Snapshot(start.dir);
    QCOMPARE(after.keys(), before.keys());
    for (auto it = before.cbegin(); it != before.cend(); ++it)
      QVERIFY2(after.value(it.key()) == it.value(), qPrintable(it.key()));
  }

  // A folder named in any script: the program starts as from any other
  // (a message box here would keep it from ending).
  void StartsFromAFolderNamedInAnyScript() {
    TStart start;
    QVERIFY(start.Copy(QStringLiteral("łukasz/Программа 茶")));
    QVERIFY2(start.Run(), start.program.readAllStandardError().constData());
  }

  // Qt Multimedia, the sound system's libraries and the speech engines cost
  // every start a good part of its time: they are loaded at the first sound
  // or the first side spoken only.
  void StartLoadsNoSoundLibraries() {
    TStart start;
    QVERIFY(start.Copy());
    QProcessEnvironment debug;
    debug.insert(QStringLiteral("LD_DEBUG"), QStringLiteral("files"));
    QVERIFY(start.Run(debug));
    const QByteArray loaded = start.program.readAllStandardError();
    QVERIFY2(loaded.contains("libQt6Widgets"), "the loader reported nothing");
    QVERIFY(!loaded.contains("libQt6Multimedia"));
    QVERIFY(!loaded.contains("quillmere-sound"));
    // Nor is a speech engine started before the first side is spoken.
    QVERIFY(!loaded.contains("qtexttospeech_"));
    QVERIFY(!loaded.contains("libspeechd"));
  }
};

QTEST_GUILESS_MAIN(ExitAfterShowTest)
#include "ExitAfterShowTest.moc"
