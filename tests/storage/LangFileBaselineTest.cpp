#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>
#include <fcntl.h>
#include <sys/stat.h>

#include "core/StrVector.h"
#include "storage/CodeDecode.h"
#include "storage/FileUtil.h"
#include "storage/LangFHandler.h"
#include "storage/LangFileBaseline.h"

namespace {

using TLessons = std::vector<std::pair<int32_t, std::vector<std::string>>>;

void SaveLang(const std::string& path, const TLessons& lessons) {
  TLangFHandler handler;
  handler.SetLangNames("English", "German");
  for (const auto& [number, lines] : lessons) {
    auto lesson = std::make_shared<TLesson>();
    lesson->LessonNbr = number;
    for (const std::string& line : lines) lesson->AddPearLine(line);
    handler.PutLesson(lesson);
  }
  ASSERT_TRUE(handler.SaveLangFile(path));
}

std::shared_ptr<TWordPear> Pair(const TLangFHandler& file, int32_t lesson, int32_t pair) {
  const auto l = file.GetLesson(lesson);
  return l ? l->GetPear(pair) : nullptr;
}

const TLessons kLesson1 = {{1, {"0=house@Haus# @ *", "1=tree@Baum# @ *", "2=car@Auto# @ *", "3=dog@Hund# @ *"}}};

class LangFileBaselineTest : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir_.isValid());
    path_ = dir_.filePath("words.lang").toStdString();
    SaveLang(path_, kLesson1);
    ASSERT_TRUE(baseline_.Load(file_, path_));
  }

  QTemporaryDir dir_;
  std::string path_;
  TLangFHandler file_;
  TLangFileBaseline baseline_;
};

TEST_F(LangFileBaselineTest, AnUnchangedFileIsSavedAsItIs) {
  Pair(file_, 1, 2)->Drawn = true;
  EXPECT_EQ(baseline_.Save(file_, path_), TLangFileBaseline::TOutcome::Saved);
  TLangFHandler read;
  ASSERT_TRUE(read.LoadLangFile(path_));
  EXPECT_TRUE(Pair(read, 1, 2)->Drawn);
  // What was saved is the new baseline: the next save is plain again.
  Pair(file_, 1, 3)->Drawn = true;
  EXPECT_EQ(baseline_.Save(file_, path_), TLangFileBaseline::TOutcome::Saved);
}

// A program that saved its older copy over a file changed elsewhere lost the
// other program's lessons.
TEST_F(LangFileBaselineTest, AFileChangedElsewhereKeepsItsChangesAndTakesOnlyOurFlags) {
  // This program retires pair 1 and draws pair 2 and pair 3.
  Pair(file_, 1, 1)->InUse = false;
  Pair(file_, 1, 2)->Drawn = true;
  Pair(file_, 1, 3)->Drawn = true;
  // Meanwhile another program adds lesson 2, renames pair 3 and drops pair 2.
  SaveLang(path_, {{1, {"0=house@Haus# @ *", "1=tree@Baum# @ *", "3=hound@Hund# @ *"}}, {2, {"0=sun@Sonne# @ *"}}});

  EXPECT_EQ(baseline_.Save(file_, path_), TLangFileBaseline::TOutcome::Merged);
  TLangFHandler read;
  ASSERT_TRUE(read.LoadLangFile(path_));
  ASSERT_NE(read.GetLesson(2), nullptr);
  EXPECT_EQ(Pair(read, 2, 0)->Word1, "sun");
  EXPECT_FALSE(Pair(read, 1, 1)->InUse);
  EXPECT_TRUE(Pair(read, 1, 0)->InUse);
  EXPECT_FALSE(Pair(read, 1, 0)->Drawn);
  EXPECT_EQ(Pair(read, 1, 2)->Word1, "hound") << "the pair dropped elsewhere is not made again";
  EXPECT_TRUE(Pair(read, 1, 2)->Drawn);
  EXPECT_EQ(read.GetLesson(1)->PearCount(), 3);
  // The handler now holds the file as it is.
  ASSERT_NE(file_.GetLesson(2), nullptr);
  EXPECT_EQ(baseline_.Save(file_, path_), TLangFileBaseline::TOutcome::Saved);
}

// Size, time and inode can all agree while the content differs (a write in
// place within one clock tick); the hash tells.
TEST_F(LangFileBaselineTest, AChangeThatKeepsSizeAndTimeIsFound) {
  struct stat before {};
  ASSERT_EQ(stat(path_.c_str(), &before), 0);
  TLangFHandler other;
  ASSERT_TRUE(other.LoadLangFile(path_));
  other.GetLesson(1)->GetPear(0)->Word1 = "mouse";  // as long as "house"
  const std::string copy = dir_.filePath("copy.lang").toStdString();
  ASSERT_TRUE(other.SaveLangFile(copy));
  const TBytes bytes = ReadFileBytes(copy);
  ASSERT_EQ(bytes.size(), static_cast<std::size_t>(before.st_size));
  {
    QFile inPlace(QString::fromStdString(path_));
    ASSERT_TRUE(inPlace.open(QIODevice::ReadWrite));
    ASSERT_EQ(inPlace.write(reinterpret_cast<const char*>(bytes.data()), qint64(bytes.size())), qint64(bytes.size()));
  }
  const timespec times[2] = {before.st_atim, before.st_mtim};
  ASSERT_EQ(utimensat(AT_FDCWD, path_.c_str(), times, 0), 0);

  Pair(file_, 1, 1)->InUse = false;
  EXPECT_EQ(baseline_.Save(file_, path_), TLangFileBaseline::TOutcome::Merged);
  TLangFHandler read;
  ASSERT_TRUE(read.LoadLangFile(path_));
  EXPECT_EQ(Pair(read, 1, 0)->Word1, "mouse");
  EXPECT_FALSE(Pair(read, 1, 1)->InUse);
}

TEST_F(LangFileBaselineTest, AChangedFileThatIsNoLanguageFileGetsThisProgramsCopy) {
  ASSERT_TRUE(WriteFileBytes(path_, TBytes{'x'}, true));
  Pair(file_, 1, 1)->InUse = false;
  EXPECT_EQ(baseline_.Save(file_, path_), TLangFileBaseline::TOutcome::Saved);
  TLangFHandler read;
  ASSERT_TRUE(read.LoadLangFile(path_));
  EXPECT_FALSE(Pair(read, 1, 1)->InUse);
}

// A file with a line the reader refuses still holds lessons worth keeping.
TEST_F(LangFileBaselineTest, AChangedFileWithABadLineIsLeftAlone) {
  Pair(file_, 1, 1)->InUse = false;
  TStrVector lines;
  int n = 0;
  for (const char* line : {"[General]", "English@German", "[1]", "0=house@Haus# @ *", "x=tree@Baum# @ *"})
    lines.Put(n++, line);
  ASSERT_TRUE(WriteFileBytes(path_, StringsToContainer(lines), true));
  const TBytes before = ReadFileBytes(path_);
  EXPECT_EQ(baseline_.Save(file_, path_), TLangFileBaseline::TOutcome::Failed);
  EXPECT_EQ(ReadFileBytes(path_), before);
}

}  // namespace
