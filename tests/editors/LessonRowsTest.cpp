// Sorting and the doubles search of the lesson editor in scripts other than Latin.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "session/LessonRows.h"
#include "storage/LangFHandler.h"

namespace {

TLessonRows RowsOf(const std::vector<std::string>& words) {
  TLessonRows rows;
  for (std::size_t i = 0; i < words.size(); ++i)
    rows.push_back({words[i], "x", " ", " ", static_cast<int32_t>(i), true});
  return rows;
}

std::vector<std::string> Words(const TLessonRows& rows) {
  std::vector<std::string> words;
  for (const TLessonRow& row : rows) words.push_back(row.Word1);
  return words;
}

std::shared_ptr<TLesson> LessonWith(int32_t nbr, const std::vector<std::string>& words) {
  auto lesson = std::make_shared<TLesson>();
  lesson->LessonNbr = nbr;
  for (const std::string& word : words) {
    auto pear = lesson->NewPear(-1);
    pear->Word1 = word;
    pear->Word2 = word;
  }
  return lesson;
}

struct TSortCase {
  const char* name;
  std::vector<std::string> words;
  std::vector<std::string> sorted;
};

// Letter case never orders: equal letters keep the order they had.
const TSortCase kSortCases[] = {
    {"Cyrillic", {"я", "Б", "а", "Я", "б"}, {"а", "Б", "б", "я", "Я"}},
    {"Greek with final sigma", {"ω", "Σ", "α", "ς", "σ", "Α"}, {"α", "Α", "Σ", "ς", "σ", "ω"}},
    {"umlaut beside its letter", {"zebra", "Äpfel", "apfel"}, {"apfel", "Äpfel", "zebra"}},
    {"Polish letters", {"łódź", "Lampa", "ŁAWA"}, {"Lampa", "ŁAWA", "łódź"}},
};

class SortRowsInAnyScript : public testing::TestWithParam<TSortCase> {};

TEST_P(SortRowsInAnyScript, IgnoresLetterCaseAndKeepsEqualsInOrder) {
  TLessonRows rows = RowsOf(GetParam().words);
  SortRows(rows, false);
  EXPECT_EQ(Words(rows), GetParam().sorted);
}

INSTANTIATE_TEST_SUITE_P(Scripts, SortRowsInAnyScript, testing::ValuesIn(kSortCases),
                         [](const auto& info) {
                           std::string name = info.param.name;
                           for (char& c : name)
                             if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
                           return name;
                         });

struct TDoubleCase {
  const char* name;
  std::string searched;
  std::string stored;
  bool same;
};

const TDoubleCase kDoubleCases[] = {
    {"Cyrillic upper and lower case", "Дом", "дОМ", true},
    {"Russian ya", "Я", "я", true},
    {"Greek sigma", "Σ", "σ", true},
    {"Greek final sigma", "λόγος", "ΛΌΓΟΣ", true},
    {"Turkish capital I with dot and i with the dot as an accent", "İ", "i\u0307", true},
    {"accent composed or combined", "caf\u00e9", "CAFE\u0301", true},
    {"an accent counts", "cafe", "café", false},
    {"a trailing blank counts", "дом", "дом ", false},
    {"Chinese", "茶", "茶", true},
    {"different Chinese", "茶", "水", false},
};

class DoublesInAnyScript : public testing::TestWithParam<TDoubleCase> {};

TEST_P(DoublesInAnyScript, AreFoundWhateverTheLetterCase) {
  const TDoubleCase& c = GetParam();
  TLangFHandler file = NewLangFile();
  file.PutLesson(LessonWith(1, {c.searched}));  // the edited lesson is never listed
  file.PutLesson(LessonWith(4, {"other", c.stored}));
  EXPECT_EQ(SearchDoubles(file, 1, c.searched, false), c.same ? "4" : "");
  EXPECT_EQ(SearchDoubles(file, 1, c.searched, true), c.same ? "4" : "");
}

INSTANTIATE_TEST_SUITE_P(Scripts, DoublesInAnyScript, testing::ValuesIn(kDoubleCases),
                         [](const auto& info) {
                           std::string name = info.param.name;
                           for (char& c : name)
                             if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
                           return name;
                         });

TEST(DoublesInAnyScript, AnEmptyPhraseHasNone) {
  TLangFHandler file = NewLangFile();
  file.PutLesson(LessonWith(2, {""}));
  EXPECT_EQ(SearchDoubles(file, 1, "", false), "");
}

}  // namespace
