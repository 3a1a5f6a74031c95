#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>
#include <algorithm>
#include <array>
#include <memory>
#include <set>

#include "session/ExerciseComposer.h"
#include "session/ExerciseHelpFunc.h"
#include "settings/AppIniFile.h"
#include "storage/FileUtil.h"
#include "storage/LangFHandler.h"

namespace {
using TPairKey = std::pair<int32_t, int32_t>;

TExerciseWord W(int32_t lesson, int32_t pair, int32_t priority = 0, bool filler = false) {
  return {lesson, pair, priority, filler};
}

// A language file on disk and the settings object that names it.
struct TWorld {
  QTemporaryDir dir;
  std::unique_ptr<TAppIniFile> ini;
  TLangFHandler handler;  // what the main window owns
  std::mt19937 engine{std::random_device{}()};
  std::unique_ptr<TExerciseComposer> composer;

  // lessons: {lesson number, pairs in use, pairs not in use}
  explicit TWorld(const std::vector<std::array<int32_t, 3>>& lessons, int32_t maxWords = 300) {
    QFile(dir.filePath("Quillmere.Ini")).open(QIODevice::WriteOnly);
    ini = std::make_unique<TAppIniFile>(dir.path().toStdString(), nullptr);
    ini->LangFileName = dir.filePath("words.lang").toStdString();
    ini->MaxWords = maxWords;
    TLangFHandler file;
    file.SetLangNames("English", "German");
    for (const auto& [nbr, used, unused] : lessons) {
      auto lesson = std::make_shared<TLesson>();
      lesson->LessonNbr = nbr;
      for (int32_t i = 0; i < used + unused; ++i) {
        auto pair = lesson->NewPear(i);
        pair->Word1 = "w" + std::to_string(nbr) + "_" + std::to_string(i);
        pair->Word2 = "x" + std::to_string(i);
        pair->WavFile1 = pair->WavFile2 = " ";
        pair->InUse = i < used;
      }
      file.PutLesson(lesson);
      ini->AvailableUnits.push_back(nbr);
    }
    EXPECT_TRUE(file.SaveLangFile(ini->LangFileName));
    composer = std::make_unique<TExerciseComposer>(*ini, handler, engine);
  }

  TLangFHandler Reread() const {
    TLangFHandler file;
    EXPECT_TRUE(file.LoadLangFile(ini->LangFileName));
    return file;
  }
  std::set<TPairKey> Drawn() const {
    std::set<TPairKey> drawn;
    TLangFHandler file = Reread();
    for (int32_t l = 0; l < file.LessonSlotCount(); ++l)
      if (auto lesson = file.GetLesson(l))
        for (int32_t p = 0; p < lesson->SlotCount(); ++p)
          if (auto pair = lesson->GetPear(p); pair && pair->Drawn) drawn.insert({l, p});
    return drawn;
  }
  TBytes FileBytes() const { return ReadFileBytes(ini->LangFileName); }
};

std::set<TPairKey> Keys(const TExerciseWords& list) {
  std::set<TPairKey> keys;
  for (const TExerciseWord& w : list) keys.insert({w.LessonNbr, w.PearNbr});
  return keys;
}
}  // namespace

TEST(ExerciseHelpFunc, SplitByPriorityKeepsZeroDefersOneToEightAndMinusOneDropsNineNeverLosesAHeldPair) {
  struct TCase {
    const char* name;
    TExerciseWords list, deferred, wantList, wantDeferred;
  };
  const std::vector<TCase> cases = {
      {"nothing moves: deferred kept", {W(1, 0), W(1, 1)}, {W(9, 9, 4)}, {W(1, 0), W(1, 1)}, {W(9, 9, 4)}},
      {"one moves: added to the held ones", {W(1, 0), W(1, 1, 3)}, {W(9, 9, 4), W(9, 8, 1)}, {W(1, 0)},
       {W(9, 9, 4), W(9, 8, 1), W(1, 1, 3)}},
      {"a held pair held again: its newer state", {W(9, 9, 2)}, {W(9, 9, 4), W(9, 8, 1)}, {},
       {W(9, 8, 1), W(9, 9, 2)}},
      {"a held pair back in use or retired leaves the held ones", {W(9, 9), W(9, 8, 9)}, {W(9, 9, 4), W(9, 8, 1)},
       {W(9, 9)}, {}},
      {"9 and above dropped", {W(1, 0, 9), W(1, 1, 12), W(1, 2)}, {W(9, 9, 4)}, {W(1, 2)}, {W(9, 9, 4)}},
      {"unreadable -1 is deferred", {W(1, 0, -1), W(1, 1, 8)}, {}, {}, {W(1, 0, -1), W(1, 1, 8)}},
  };
  for (const TCase& c : cases) {
    TExerciseWords list = c.list, deferred = c.deferred;
    SplitByPriority(list, deferred);
    EXPECT_EQ(list, c.wantList) << c.name;
    EXPECT_EQ(deferred, c.wantDeferred) << c.name;
  }
}

TEST(ExerciseHelpFunc, AppendUpToStopsAtTheLimitAndNeverShortens) {
  TExerciseWords target{W(1, 0), W(1, 1)};
  AppendUpTo(target, 3, {W(2, 0), W(2, 1)});
  EXPECT_EQ(target, (TExerciseWords{W(1, 0), W(1, 1), W(2, 0)}));
  AppendUpTo(target, 2, {W(3, 0)});
  EXPECT_EQ(target.size(), 3u);
  AppendUpTo(target, 0, {W(3, 0)});
  EXPECT_EQ(target.size(), 3u);
}

TEST(ExerciseHelpFunc, PrioritiesCountDownAndReset) {
  TExerciseWords list{W(1, 0, 0), W(1, 1, 1), W(1, 2, 8), W(1, 3, 9), W(1, 4, -1)};
  CountDownPriorities(list);
  EXPECT_EQ(list, (TExerciseWords{W(1, 0, 0), W(1, 1, 0), W(1, 2, 7), W(1, 3, 9), W(1, 4, -1)}));
  ResetPriorities(list);
  EXPECT_EQ(list, (TExerciseWords{W(1, 0, 0), W(1, 1, 0), W(1, 2, 0), W(1, 3, 9), W(1, 4, 0)}));
}

TEST(ExerciseHelpFunc, CollectionsFollowTheLessonOrderAndSkipMissingLessons) {
  TWorld w({{2, 2, 1}, {5, 2, 0}});
  TLangFHandler file = w.Reread();
  file.GetLesson(5)->GetPear(0)->Drawn = true;
  EXPECT_EQ(CollectSelectedWords({5, 7, 2}, file), (TExerciseWords{W(5, 0), W(5, 1), W(2, 0), W(2, 1)}));
  EXPECT_EQ(CollectUndrawnWords({5, 2}, file, true), (TExerciseWords{W(5, 1, 0, true), W(2, 0, 0, true), W(2, 1, 0, true)}));
}

TEST(ExerciseHelpFunc, ShuffleKeepsEveryEntry) {
  TExerciseWords list;
  for (int i = 0; i < 50; ++i) list.push_back(W(1, i));
  std::mt19937 engine(7);
  TExerciseWords shuffled = list;
  ShuffleWords(shuffled, engine);
  EXPECT_NE(shuffled, list);
  EXPECT_EQ(Keys(shuffled), Keys(list));
}

TEST(ExerciseComposer, NewCompositionDrawsExactlyTheChosenPairs) {
  TWorld w({{1, 15, 2}, {2, 10, 0}}, 10);  // 25 pairs in use
  w.ini->DeferredWords = {W(1, 3, 2)};
  w.composer->ComposeNew();
  ASSERT_EQ(w.ini->ExerciseWords.size(), 10u);
  for (const TExerciseWord& e : w.ini->ExerciseWords) {
    EXPECT_EQ(e.Priority, 0);
    EXPECT_FALSE(e.Filler);
  }
  EXPECT_EQ(w.Drawn(), Keys(w.ini->ExerciseWords));
  EXPECT_EQ(w.ini->DeferredWords, (TExerciseWords{W(1, 3, 2)}));  // untouched
}

TEST(ExerciseComposer, ContinuingCountsDownSplitsAndFillsUpForThisExerciseOnly) {
  TWorld w({{1, 13, 0}}, 10);
  w.composer->ComposeNew();
  TExerciseWords list = w.ini->ExerciseWords;
  const std::set<TPairKey> drawnBefore = w.Drawn();
  for (int i = 0; i < 3; ++i) w.ini->ExerciseWords[std::size_t(i)].Priority = 2;
  const std::set<TPairKey> held = Keys(TExerciseWords(list.begin(), list.begin() + 3));
  const TBytes bytes = w.FileBytes();
  w.composer->ComposeContinue(false);

  ASSERT_EQ(w.ini->DeferredWords.size(), 3u);
  for (const TExerciseWord& e : w.ini->DeferredWords) EXPECT_EQ(e.Priority, 1);
  EXPECT_EQ(Keys(w.ini->DeferredWords), held);
  // 7 kept, and the 3 undrawn pairs as fillers.
  ASSERT_EQ(w.ini->ExerciseWords.size(), 10u);
  int fillers = 0;
  for (const TExerciseWord& e : w.ini->ExerciseWords) {
    EXPECT_FALSE(held.count({e.LessonNbr, e.PearNbr}));
    if (e.Filler) {
      ++fillers;
      EXPECT_FALSE(drawnBefore.count({e.LessonNbr, e.PearNbr}));
    }
  }
  EXPECT_EQ(fillers, 3);
  EXPECT_EQ(w.FileBytes(), bytes);  // fillers are neither drawn nor written
}

TEST(ExerciseComposer, ResetPrioritiesMovesNothing) {
  TWorld w({{1, 5, 0}});
  w.composer->ComposeNew();
  w.ini->ExerciseWords[0].Priority = 4;
  w.ini->ExerciseWords[1].Priority = 9;
  w.ini->DeferredWords = {W(1, 4, 3)};
  w.composer->ComposeContinue(true);
  EXPECT_EQ(w.ini->DeferredWords, (TExerciseWords{W(1, 4, 3)}));
  int nines = 0;
  for (const TExerciseWord& e : w.ini->ExerciseWords) {
    EXPECT_TRUE(e.Priority == 0 || e.Priority == 9);
    nines += e.Priority == 9;
  }
  EXPECT_EQ(nines, 1);
}

TEST(ExerciseComposer, AllDrawnAndShortListAddsNothingWhenContinuing) {
  TWorld w({{1, 4, 0}}, 10);
  w.composer->ComposeNew();
  ASSERT_EQ(w.ini->ExerciseWords.size(), 4u);
  w.composer->ComposeContinue(false);
  EXPECT_EQ(w.ini->ExerciseWords.size(), 4u);
  for (const TExerciseWord& e : w.ini->ExerciseWords) EXPECT_FALSE(e.Filler);
}

TEST(ExerciseComposer, EmptyCollectionChangesAndWritesNothing) {
  TWorld w({{1, 0, 3}});  // no pair in use
  w.ini->ExerciseWords = {W(1, 0, 0)};
  const TBytes bytes = w.FileBytes();
  w.composer->ComposeNew();
  EXPECT_EQ(w.ini->ExerciseWords, (TExerciseWords{W(1, 0, 0)}));
  EXPECT_EQ(w.FileBytes(), bytes);
}

TEST(ExerciseComposer, UnreadableFileChangesNothing) {
  TWorld w({{1, 5, 0}});
  w.ini->ExerciseWords = {W(1, 0, 3), W(1, 1, 0)};
  w.ini->DeferredWords = {W(1, 2, 2)};
  w.ini->LangFileName = w.dir.filePath("gone.lang").toStdString();
  for (bool fresh : {true, false}) {
    fresh ? w.composer->ComposeNew() : w.composer->ComposeContinue(false);
    EXPECT_FALSE(w.composer->Loaded());
    EXPECT_EQ(w.ini->ExerciseWords, (TExerciseWords{W(1, 0, 3), W(1, 1, 0)}));
    EXPECT_EQ(w.ini->DeferredWords, (TExerciseWords{W(1, 2, 2)}));
  }
}

TEST(ExerciseComposer, EntriesNamingMissingPairsAreDropped) {
  TWorld w({{1, 5, 0}}, 300);
  w.ini->ExerciseWords = {W(1, 0, 0), W(1, 77, 0), W(4, 0, 2), W(-1, -1, -1), W(1, 1, 3)};
  w.ini->DeferredWords = {W(3, 1, 2), W(1, 2, 2)};
  w.composer->ComposeContinue(true);
  EXPECT_TRUE(w.composer->Loaded());
  EXPECT_EQ(w.ini->DeferredWords, (TExerciseWords{W(1, 2, 2)}));
  for (const TExerciseWord& e : w.ini->ExerciseWords) {
    EXPECT_EQ(e.LessonNbr, 1);
    EXPECT_LT(e.PearNbr, 5);
  }
  EXPECT_TRUE(Keys(w.ini->ExerciseWords).count({1, 0}));
  EXPECT_TRUE(Keys(w.ini->ExerciseWords).count({1, 1}));
}

TEST(ExerciseComposer, MaxWordsChangedCutsOrTopsUp) {
  TWorld w({{1, 20, 0}}, 12);
  w.composer->ComposeNew();
  const TExerciseWords twelve = w.ini->ExerciseWords;
  w.ini->MaxWords = 10;
  w.composer->MaxWordsChanged();
  EXPECT_EQ(w.ini->ExerciseWords, TExerciseWords(twelve.begin(), twelve.begin() + 10));
  EXPECT_EQ(w.Drawn().size(), 12u);  // the cut pairs stay drawn

  w.ini->ExerciseWords.resize(8);
  w.composer->MaxWordsChanged();
  ASSERT_EQ(w.ini->ExerciseWords.size(), 10u);
  EXPECT_EQ(TExerciseWords(w.ini->ExerciseWords.begin(), w.ini->ExerciseWords.begin() + 8),
            TExerciseWords(twelve.begin(), twelve.begin() + 8));
  // The two new ones come from pairs not drawn before.
  for (std::size_t i = 8; i < 10; ++i) {
    const TExerciseWord& e = w.ini->ExerciseWords[i];
    EXPECT_EQ(std::count(twelve.begin(), twelve.end(), e), 0);
  }
  EXPECT_EQ(w.Drawn().size(), 14u);
}

TEST(ExerciseHelpFunc, KeepRandomWordsChoosesEachEntryAlikeWithoutRepeats) {
  struct TCase {
    std::size_t size, count, kept;
  };
  std::mt19937 engine(7);
  for (const TCase& c : {TCase{10, 3, 3}, TCase{10, 10, 10}, TCase{3, 10, 3}, TCase{0, 5, 0}, TCase{5, 0, 0}}) {
    TExerciseWords list;
    for (std::size_t i = 0; i < c.size; ++i) list.push_back(W(1, static_cast<int32_t>(i)));
    TExerciseWords kept = list;
    KeepRandomWords(kept, c.count, engine);
    EXPECT_EQ(kept.size(), c.kept);
    EXPECT_EQ(Keys(kept).size(), c.kept);  // no entry twice
    for (const TExerciseWord& e : kept) EXPECT_EQ(std::count(list.begin(), list.end(), e), 1);
  }
  // Every entry is about as likely to be chosen (expected 900 of 3000 each).
  std::array<int, 10> chosen{};
  for (int run = 0; run < 3000; ++run) {
    TExerciseWords list;
    for (int32_t i = 0; i < 10; ++i) list.push_back(W(1, i));
    KeepRandomWords(list, 3, engine);
    for (const TExerciseWord& e : list) ++chosen[static_cast<std::size_t>(e.PearNbr)];
  }
  for (int n : chosen) {
    EXPECT_GT(n, 750);
    EXPECT_LT(n, 1050);
  }
}

TEST(ExerciseHelpFunc, ALessonChosenTwiceIsCollectedOnce) {
  TWorld w({{2, 2, 0}, {5, 1, 0}});
  TLangFHandler file = w.Reread();
  EXPECT_EQ(CollectSelectedWords({5, 2, 5}, file), (TExerciseWords{W(5, 0), W(2, 0), W(2, 1)}));
  EXPECT_EQ(CollectUndrawnWords({2, 2}, file, false, 1), (TExerciseWords{W(2, 0)}));
}

// Fillers come in lesson and slot order (lessons as chosen: 5, then 2); they
// are neither drawn nor written.
TEST(ExerciseComposer, FillUpTemporaryTakesUndrawnPairsInLessonAndSlotOrder) {
  TWorld w({{2, 3, 0}, {5, 3, 0}}, 4);
  w.ini->AvailableUnits = {5, 2};
  ASSERT_TRUE(w.handler.LoadLangFile(w.ini->LangFileName));
  w.handler.GetLesson(5)->GetPear(1)->Drawn = true;
  w.ini->ExerciseWords = {W(5, 1)};
  const TBytes bytes = w.FileBytes();
  w.composer->FillUpTemporary();
  EXPECT_EQ(w.ini->ExerciseWords, (TExerciseWords{W(5, 1), W(5, 0, 0, true), W(5, 2, 0, true), W(2, 0, 0, true)}));
  EXPECT_EQ(w.FileBytes(), bytes);
  EXPECT_FALSE(w.handler.GetLesson(5)->GetPear(0)->Drawn);
}

// At closing a filler still in the exercise list is not stored; one that was
// held back is, and comes back as an ordinary entry.
TEST(ExerciseComposer, FillersStoredOnlyWhenHeldBackAtClosing) {
  TWorld w({{1, 13, 0}}, 10);
  w.ini->ExerciseLoaded = true;  // as after reading the settings at start
  w.composer->ComposeNew();
  for (std::size_t i = 0; i < 3; ++i) w.ini->ExerciseWords[i].Priority = 2;
  w.composer->ComposeContinue(false);
  TExerciseWords& list = w.ini->ExerciseWords;
  ASSERT_EQ(std::count_if(list.begin(), list.end(), [](const TExerciseWord& e) { return e.Filler; }), 3);
  const TExerciseWords heldBefore = w.ini->DeferredWords;
  ASSERT_EQ(heldBefore.size(), 3u);

  // The exercise: one filler held back, one ordinary entry retired, then the
  // exercise window's split.
  auto filler = std::find_if(list.begin(), list.end(), [](const TExerciseWord& e) { return e.Filler; });
  filler->Priority = 4;
  const TExerciseWord heldFiller = *filler;
  auto ordinary = std::find_if(list.begin(), list.end(), [](const TExerciseWord& e) { return !e.Filler; });
  ordinary->Priority = 9;
  w.composer->SplitDeferred();
  TExerciseWords held = heldBefore;
  held.push_back(heldFiller);
  ASSERT_EQ(w.ini->DeferredWords, held);

  TExerciseWords expected;
  for (const TExerciseWord& e : list)
    if (!e.Filler) expected.push_back(e);
  expected.insert(expected.end(), heldBefore.begin(), heldBefore.end());
  expected.push_back({heldFiller.LessonNbr, heldFiller.PearNbr, 4, false});
  // 6 kept ordinary entries, the 3 held back before and the held-back filler
  ASSERT_EQ(expected.size(), 10u);

  w.ini->WriteExercise();
  ASSERT_TRUE(w.ini->UpdateFile());
  TAppIniFile next(w.dir.path().toStdString(), nullptr);
  next.ReadExercise();
  EXPECT_EQ(next.ExerciseWords, expected);
  EXPECT_TRUE(next.DeferredWords.empty());
}

// The editor saves with a handler of its own; topping up after it changed
// MaxWords must not write the main window's older copy over its work.
TEST(ExerciseComposer, MaxWordsChangedKeepsWhatTheEditorSaved) {
  TWorld w({{1, 6, 0}}, 4);
  w.composer->ComposeNew();
  TLangFHandler editor = w.Reread();
  auto added = editor.GetLesson(1)->NewPear(-1);
  added->Word1 = "new";
  added->Word2 = "neu";
  added->WavFile1 = added->WavFile2 = " ";
  added->InUse = true;
  ASSERT_TRUE(editor.SaveLangFile(w.ini->LangFileName));

  w.ini->MaxWords = 7;
  w.composer->MaxWordsChanged();
  const TLangFHandler after = w.Reread();
  ASSERT_TRUE(after.GetLesson(1)->GetPear(6));
  EXPECT_EQ(after.GetLesson(1)->GetPear(6)->Word1, "new");
  EXPECT_EQ(w.ini->ExerciseWords.size(), 7u);
  EXPECT_EQ(w.Drawn(), Keys(w.ini->ExerciseWords));
}
