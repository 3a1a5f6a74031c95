#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <random>
#include <string_view>

#include "core/Errors.h"
#include "core/Word_Pear.h"

namespace {
struct LineCase {
  std::string line;
  int32_t nbr;
  std::string word1, word2, wav1, wav2;
  bool inUse, drawn;
};

void ExpectPear(const TWordPear& p, const LineCase& c) {
  EXPECT_EQ(p.PearNbr, c.nbr);
  EXPECT_EQ(p.Word1, c.word1);
  EXPECT_EQ(p.Word2, c.word2);
  EXPECT_EQ(p.WavFile1, c.wav1);
  EXPECT_EQ(p.WavFile2, c.wav2);
  EXPECT_EQ(p.InUse, c.inUse);
  EXPECT_EQ(p.Drawn, c.drawn);
}
}  // namespace

TEST(WordPear, ReadsPairLines) {
  const LineCase cases[] = {
      {"0=a@b#x.wav@y.wav*", 0, "a", "b", "x.wav", "y.wav", true, false},
      {"0=a@b#x.wav@y.wav\xC2\xA7", 0, "a", "b", "x.wav", "y.wav", true, true},
      {"0=a@b#x.wav@y.wav", 0, "a", "b", "x.wav", "y.wav", false, false},
      {"3=Haus@house# @ *", 3, "Haus", "house", " ", " ", true, false},
      {"7=ab#c@d", 7, "", "ab", "c", "d", false, false},
      {"-2=a@b@c#w", -2, "a", "b@c", "", "w", false, false},
      {"5=a@b", 5, "", "", "", "", false, false},
      {"5=a@b#", 5, "a", "b", "", "", false, false},
      // "*" that is not the last character is no marker.
      {"1=a*b@c# @ ", 1, "a*b", "c", " ", " ", false, false},
      // A marker at the end counts only when it is the first of its kind.
      {"1=a*b@c# @ *", 1, "a*b", "c", " ", " *", false, false},
      {"1=a\xC2\xA7@c# @ \xC2\xA7", 1, "a\xC2\xA7", "c", " ", " \xC2\xA7", false, false},
      {"1=a\xC2\xA7@c# @ *", 1, "a\xC2\xA7", "c", " ", " ", true, false},
      {"1=a*@c# @ \xC2\xA7", 1, "a*", "c", " ", " ", true, true},
      {"1=a=b@c#d", 1, "a=b", "c", "", "d", false, false},
      // Separators and markers beyond the first sixteen characters.
      {"12=a long english phrase@ein langer Satz#\\LangFiles\\e12.wav@\\LangFiles\\g12.wav*", 12,
       "a long english phrase", "ein langer Satz", "\\LangFiles\\e12.wav", "\\LangFiles\\g12.wav", true, false},
      {"4=abcdefghijklmnopqrst*uvw@x#abcdefghijklmnop@ *", 4, "abcdefghijklmnopqrst*uvw", "x", "abcdefghijklmnop",
       " *", false, false},
      {"4=abcdefghijklmnopqrstuvw@x#abcdefghijklmnop@q\xC2\xA7r\xC2\xA7", 4, "abcdefghijklmnopqrstuvw", "x",
       "abcdefghijklmnop", "q\xC2\xA7r\xC2\xA7", false, false},
      {"4=abcdefghijklmnopqrstuvw@x#abcdefghijklmnop@q@r\xC2\xA7", 4, "abcdefghijklmnopqrstuvw", "x",
       "abcdefghijklmnop", "q@r", true, true},
  };
  for (const LineCase& c : cases) {
    SCOPED_TRACE(c.line);
    ExpectPear(TWordPear(c.line), c);
  }
}

TEST(WordPear, WritesPairLines) {
  TWordPear p;
  p.PearNbr = 3;
  p.Word1 = "Haus";
  p.Word2 = "house";
  p.WavFile1 = " ";
  p.WavFile2 = " ";
  p.InUse = true;
  EXPECT_EQ(p.GetFileLine(), "3=Haus@house# @ *");
  p.Drawn = true;
  EXPECT_EQ(p.GetFileLine(), "3=Haus@house# @ \xC2\xA7");
  p.InUse = false;  // drawn without use is not stored
  EXPECT_EQ(p.GetFileLine(), "3=Haus@house# @ ");
  const TWordPear back(p.GetFileLine());
  EXPECT_FALSE(back.InUse);
  EXPECT_FALSE(back.Drawn);
  EXPECT_EQ(back.WavFile2, " ");
}

TEST(WordPear, EmptyLineGivesDefaults) {
  const TWordPear p("");
  EXPECT_EQ(p.PearNbr, 0);
  EXPECT_TRUE(p.Word1.empty());
  EXPECT_FALSE(p.InUse);
}

TEST(WordPear, NumberThatIsNoIntegerRaisesConversionError) {
  for (const char* line : {"x=a@b#", "=a@b#", "no separator", "1 =a@b#", "99999999999=a@b#"}) {
    SCOPED_TRACE(line);
    try {
      TWordPear p(line);
      ADD_FAILURE() << "no error";
    } catch (const TConversionError& e) {
      EXPECT_NE(std::string(e.what()).find("is not a valid integer value"), std::string::npos);
    }
  }
}

namespace {
// The pair line read the plain way, one search after the other: the oracle
// for the reader.
void PlainSplit(std::string_view piece, std::string& first, std::string& second) {
  const std::size_t at = piece.find('@');
  first = at == std::string_view::npos ? std::string() : std::string(piece.substr(0, at));
  second = std::string(at == std::string_view::npos ? piece : piece.substr(at + 1));
}
LineCase ReadPlain(std::string_view line, int32_t nbr) {
  LineCase p{std::string(line), nbr, "", "", "", "", false, false};
  const std::size_t eq = line.find('=');
  const std::string_view head = line.substr(0, line.size() - 1);
  const bool drawnAtEnd = line.size() >= kDrawnMarker.size() && line.substr(line.size() - kDrawnMarker.size()) == kDrawnMarker;
  if (line.back() == '*' && head.find('*') == std::string_view::npos) {
    p.inUse = true;
  } else if (drawnAtEnd && line.find(kDrawnMarker) == line.size() - kDrawnMarker.size()) {
    p.inUse = p.drawn = true;
  }
  const std::size_t hash = line.find('#');
  if (hash != std::string_view::npos && hash > eq) PlainSplit(line.substr(eq + 1, hash - eq - 1), p.word1, p.word2);
  if (hash != std::string_view::npos) {
    std::string_view sounds = line.substr(hash + 1);
    if (p.inUse && !sounds.empty()) sounds.remove_suffix(std::min(sounds.size(), p.drawn ? kDrawnMarker.size() : 1));
    PlainSplit(sounds, p.wav1, p.wav2);
  }
  return p;
}
}  // namespace

// Separators and markers at every position of lines short and long, dense
// and sparse.
TEST(WordPear, ReadsAsThePlainSearchesDo) {
  std::mt19937 rng(7);
  const std::string_view separators[] = {"=", "#", "@", "*", kDrawnMarker};
  for (int round = 0; round < 20000; ++round) {
    std::string line = std::to_string(round % 50) + "=";
    const std::size_t length = rng() % 200;
    // Sparse or dense separators, so that first ones fall anywhere.
    const unsigned density = 2 + rng() % 40;
    for (std::size_t i = 0; i < length; ++i)
      line += rng() % density == 0 ? separators[rng() % std::size(separators)] : std::string_view(&"abc"[rng() % 3], 1);
    SCOPED_TRACE(line);
    ExpectPear(TWordPear(line), ReadPlain(line, round % 50));
    if (HasFailure()) return;
  }
}
