// Runs the built quillmere-lang for what only the real program shows: its
// exit status and the streams the output goes to.
#include <gtest/gtest.h>

#include <unistd.h>

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <filesystem>

#include "ScratchMount.h"

#include "storage/PathLock.h"

namespace {

struct TExeRun {
  int status = -1;
  QByteArray out;
  QByteArray err;
};

TExeRun RunExe(const QStringList& args) {
  QProcess process;
  process.start(QStringLiteral(QM_PROGRAM_DIR "/quillmere-lang"), args);
  TExeRun run;
  if (!process.waitForFinished(30000) || process.exitStatus() != QProcess::NormalExit) return run;
  run.status = process.exitCode();
  run.out = process.readAllStandardOutput();
  run.err = process.readAllStandardError();
  return run;
}

TEST(LangToolExeTest, ExitStatusOfTheProgram) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const QString table = dir.filePath("words.tsv");
  const QString lang = dir.filePath("words.lang");
  {
    QFile file(table);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("lesson\tword1\tword2\n1\tHaus\thouse\n1\tBaum\ttree\n");
  }

  TExeRun run = RunExe({"--help"});
  EXPECT_EQ(run.status, 0);
  EXPECT_TRUE(run.out.startsWith("Usage: quillmere-lang")) << run.out.toStdString();

  run = RunExe({});
  EXPECT_EQ(run.status, 2);
  EXPECT_TRUE(run.out.isEmpty());
  EXPECT_TRUE(run.err.startsWith("Usage: quillmere-lang")) << run.err.toStdString();

  run = RunExe({"info", dir.filePath("missing.lang")});
  EXPECT_EQ(run.status, 1);
  EXPECT_TRUE(run.err.contains("no such file")) << run.err.toStdString();

  run = RunExe({"import", table, "--tsv", lang, "--lang1", "Deutsch", "--lang2", "English"});
  EXPECT_EQ(run.status, 0) << run.err.toStdString();

  run = RunExe({"info", lang});
  EXPECT_EQ(run.status, 0) << run.err.toStdString();
  EXPECT_TRUE(run.out.contains("Language 1: Deutsch\n")) << run.out.toStdString();

  run = RunExe({"export", lang, "--csv"});
  EXPECT_EQ(run.status, 0) << run.err.toStdString();
  EXPECT_EQ(run.out, "lesson,pair,use,drawn,word1,word2,wav1,wav2\r\n1,0,1,0,Haus,house,,\r\n1,1,1,0,Baum,tree,,\r\n");

  run = RunExe({"import", table, "--tsv", lang, "--lang1", "De@utsch", "--lang2", "English"});
  EXPECT_EQ(run.status, 2);
}

QByteArray Slurp(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void Spit(const QString& path, const QByteArray& content) {
  QFile file(path);
  if (file.open(QIODevice::WriteOnly)) file.write(content);
}

// A full disk: the old file stays, the tool says why and exits 1, never "Wrote".
TEST(LangToolExeTest, FullDiskKeepsTheFileAndSaysWhy) {
  TScratchMount disk("size=64k");
  if (!disk.Mounted()) GTEST_SKIP() << "no tmpfs mount here (needs root)";
  const QString folder = QString::fromStdString(disk.Path().string());
  const QString table = folder + "/t.csv";
  const QString lang = folder + "/t.lang";
  const QString lines = folder + "/l.txt";
  Spit(table, "lesson,word1,word2\n1,Haus,house\n");
  Spit(lines, "[General]\nA@B\n[1]\n0=a@b# @ *\n");
  ASSERT_EQ(RunExe({"import", table, "--csv", lang, "--lang1", "Aaa", "--lang2", "Bbb"}).status, 0);
  const QByteArray before = Slurp(lang);
  ASSERT_TRUE(disk.Fill("filler"));

  for (const QStringList& args : {QStringList{"import", table, "--csv", lang, "--lang1", "Ccc", "--lang2", "Ddd", "--force"},
                                  QStringList{"pack", lines, lang}}) {
    SCOPED_TRACE(args.front().toStdString());
    const TExeRun run = RunExe(args);
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out, "");
    EXPECT_TRUE(run.err.contains(lang.toUtf8() + ": cannot be written: No space left on device")) << run.err.toStdString();
    EXPECT_EQ(Slurp(lang), before);
    EXPECT_EQ(QDir(folder).entryList(QDir::Files | QDir::Hidden).size(), 4) << "no temporary file left";
  }
}

// Another user's link in a shared sticky folder is refused by name.
TEST(LangToolExeTest, ForeignLinkInASharedFolderIsRefused) {
  if (geteuid() != 0) GTEST_SKIP() << "giving a link to another user needs root";
  QTemporaryDir dir;
  const std::filesystem::path base = dir.path().toStdString();
  std::filesystem::create_directory(base / "shared");
  chmod((base / "shared").c_str(), 01777);
  const QString secret = dir.filePath("secret.lang");
  Spit(secret, "another user's private file");
  const QString link = dir.filePath("shared/words.lang");
  std::filesystem::create_symlink(secret.toStdString(), link.toStdString());
  ASSERT_EQ(lchown(link.toLocal8Bit().constData(), 4242, 4242), 0);
  Spit(dir.filePath("t.csv"), "lesson,word1,word2\n1,Haus,house\n");

  const TExeRun run =
      RunExe({"import", dir.filePath("t.csv"), "--csv", link, "--lang1", "Aaa", "--lang2", "Bbb", "--force"});
  EXPECT_EQ(run.status, 1);
  EXPECT_TRUE(run.err.contains(link.toUtf8() + " is a link of another user")) << run.err.toStdString();
  EXPECT_EQ(Slurp(secret), "another user's private file");
}

}  // namespace

// The lock of the running program is seen by another process, and a lock left
// by a process that has ended does not stop the tool.
TEST(LangToolExeTest, ImportRefusesAFileARunningProgramHolds) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const QString table = dir.filePath("words.tsv");
  {
    QFile file(table);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("lesson\tword1\tword2\n1\tHaus\thouse\n");
  }
  const QString lang = dir.filePath("words.lang");
  const QStringList import = {"import", table, "--tsv", lang, "--lang1", "Deutsch", "--lang2", "English"};
  ASSERT_EQ(RunExe(import).status, 0);
  {
    TPathLock program("langfile", lang.toStdString());
    ASSERT_TRUE(program.TryLock());
    const TExeRun run = RunExe(import);
    EXPECT_EQ(run.status, 1);
    EXPECT_TRUE(run.err.contains("--force")) << run.err.toStdString();
    EXPECT_TRUE(run.out.isEmpty());
    EXPECT_EQ(RunExe(import + QStringList{"--force"}).status, 0);
  }
  // Let go by the program, the file is only there: import still asks.
  EXPECT_EQ(RunExe(import).status, 2);
  EXPECT_EQ(RunExe(import + QStringList{"--force"}).status, 0);
}
