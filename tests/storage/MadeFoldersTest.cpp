#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <filesystem>
#include <fstream>
#include <vector>

#include "ScratchMount.h"
#include "storage/MadeFolders.h"

namespace fs = std::filesystem;

namespace {

fs::path Scratch(const QTemporaryDir& dir) { return fs::path(dir.path().toStdString()); }

TEST(MadeFolders, MissingFoldersAreMadeAndGoAgainUnlessKept) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const fs::path base = Scratch(dir);
  const fs::path langFiles = base / "LangFiles";
  const fs::path pairDir = langFiles / "Eng_Ger";
  {
    TMadeFolders folders;
    ASSERT_TRUE(folders.Make(pairDir));
    EXPECT_TRUE(fs::is_directory(pairDir));
    EXPECT_EQ(folders.Made(), (std::vector<fs::path>{langFiles, pairDir}));
  }
  EXPECT_FALSE(fs::exists(langFiles));
  {
    TMadeFolders folders;
    ASSERT_TRUE(folders.Make(pairDir.string() + "/"));
    folders.Keep();
  }
  EXPECT_TRUE(fs::is_directory(pairDir));
}

// Only what this errand made goes: the folder that was there before stays,
// and so does one that something was saved into.
TEST(MadeFolders, AFolderThatWasThereOrIsNoLongerEmptyStays) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const fs::path langFiles = Scratch(dir) / "LangFiles";
  ASSERT_TRUE(fs::create_directory(langFiles));
  {
    TMadeFolders folders;
    ASSERT_TRUE(folders.Make(langFiles));
    EXPECT_TRUE(folders.Made().empty());
    ASSERT_TRUE(folders.Make(langFiles / "Eng_Ger"));
    EXPECT_EQ(folders.Made(), std::vector<fs::path>{langFiles / "Eng_Ger"});
  }
  EXPECT_TRUE(fs::is_directory(langFiles));
  EXPECT_FALSE(fs::exists(langFiles / "Eng_Ger"));

  const fs::path pairDir = Scratch(dir) / "other" / "Fre_Ger";
  {
    TMadeFolders folders;
    ASSERT_TRUE(folders.Make(pairDir));
    std::ofstream(pairDir / "saved.lang") << "kept";
  }
  EXPECT_TRUE(fs::exists(pairDir / "saved.lang"));
}

TEST(MadeFolders, AFileInTheWayFailsAndMakesNothing) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const fs::path outer = Scratch(dir) / "LangFiles";
  ASSERT_TRUE(fs::create_directory(outer));
  std::ofstream(outer / "Eng_Ger") << "a file, not a folder";
  TMadeFolders folders;
  EXPECT_FALSE(folders.Make(outer / "Eng_Ger"));
  EXPECT_FALSE(folders.Make(outer / "Eng_Ger" / "deeper"));
  EXPECT_TRUE(folders.Made().empty());
  EXPECT_TRUE(fs::is_regular_file(outer / "Eng_Ger"));
}

// The system refuses at the system call: a read-only disk, and a disk
// without room for a further folder after the first was made.
TEST(MadeFolders, ARefusedFolderFailsAndLeavesNothingMade) {
  {
    TScratchMount disk("size=64k");
    if (!disk.Mounted()) GTEST_SKIP() << "no tmpfs mount here (needs root)";
    ASSERT_TRUE(disk.RemountReadOnly());
    TMadeFolders folders;
    EXPECT_FALSE(folders.Make(disk.Path() / "LangFiles" / "Eng_Ger"));
    EXPECT_TRUE(folders.Made().empty());
    EXPECT_TRUE(fs::is_empty(disk.Path()));
  }
  {
    // Room for the root folder and one more.
    TScratchMount disk("size=64k,nr_inodes=2");
    ASSERT_TRUE(disk.Mounted());
    TMadeFolders folders;
    EXPECT_FALSE(folders.Make(disk.Path() / "LangFiles" / "Eng_Ger"));
    EXPECT_TRUE(folders.Made().empty());
    EXPECT_TRUE(fs::is_empty(disk.Path()));
  }
}

}  // namespace
