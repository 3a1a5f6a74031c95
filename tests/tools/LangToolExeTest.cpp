// Runs the built quillmere-lang for what only the real program shows: its
// exit status and the streams the output goes to.
#include <gtest/gtest.h>

#include <QProcess>
#include <QTemporaryDir>

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
  EXPECT_EQ(RunExe(import).status, 0);
}
