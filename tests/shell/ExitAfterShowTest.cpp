// The start-up benchmark's switch on the real program: it ends by itself
// after its window's first showing and leaves its folder as it was.
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

class ExitAfterShowTest : public QObject {
  Q_OBJECT

 private slots:
  void EndsAfterFirstShowingWithoutWriting() {
    QTemporaryDir temp;
    QVERIFY(temp.isValid());
    const QString dir = temp.filePath(QStringLiteral("bin"));
    std::error_code ec;
    std::filesystem::copy(QM_PROGRAM_DIR, dir.toStdString(), std::filesystem::copy_options::recursive, ec);
    QVERIFY2(!ec, ec.message().c_str());
    QVERIFY(QFile::exists(dir + QStringLiteral("/Quillmere.Ini")));
    const QMap<QString, QByteArray> before = Snapshot(dir);

    QProcess program;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QUILLMERE_EXIT_AFTER_SHOW"), QStringLiteral("1"));
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    program.setProcessEnvironment(env);
    program.start(dir + QStringLiteral("/quillmere"), {});
    QVERIFY(program.waitForFinished(60000));
    QCOMPARE(program.exitStatus(), QProcess::NormalExit);
    QCOMPARE(program.exitCode(), 0);

    const QMap<QString, QByteArray> after = Snapshot(dir);
    QCOMPARE(after.keys(), before.keys());
    for (auto it = before.cbegin(); it != before.cend(); ++it)
      QVERIFY2(after.value(it.key()) == it.value(), qPrintable(it.key()));
  }
};

QTEST_GUILESS_MAIN(ExitAfterShowTest)
#include "ExitAfterShowTest.moc"
