#include <gtest/gtest.h>

#include "session/AnswerDiff.h"

namespace {
// A check as one line: each character with a sign for its mark
// (= right, ~ wrong, - missing, + extra).
std::string Signs(const TAnswerCheck& check) {
  std::string out;
  for (const TMarkedChar& c : check.Chars) {
    switch (c.Mark) {
      case TCharMark::Right: out += '='; break;
      case TCharMark::Wrong: out += '~'; break;
      case TCharMark::Missing: out += '-'; break;
      case TCharMark::Extra: out += '+'; break;
    }
    out += c.Text;
  }
  return out;
}

struct TDiffCase {
  const char* name;
  std::string expected, typed;
  TAnswerLeniency leniency;
  std::string signs;
  bool correct;
};

constexpr TAnswerLeniency kStrict{};
constexpr TAnswerLeniency kNoCase{true, false, false};
constexpr TAnswerLeniency kNoAccents{false, true, false};
constexpr TAnswerLeniency kNoPunctuation{false, false, true};
}  // namespace

TEST(AnswerDiff, MarksEveryCharacter) {
  const TDiffCase cases[] = {
      {"same", "Haus", "Haus", kStrict, "=H=a=u=s", true},
      {"blanks at the ends", "Haus", "  Haus ", kStrict, "=H=a=u=s", true},
      {"wrong letter", "Haus", "Hais", kStrict, "=H=a~i=s", false},
      {"missing letter", "Haus", "Hus", kStrict, "=H-a=u=s", false},
      {"extra letter", "Haus", "Hauus", kStrict, "=H=a+u=u=s", false},
      {"nothing typed", "ja", "", kStrict, "-j-a", false},
      {"case counts", "Haus", "haus", kStrict, "~h=a=u=s", false},
      {"case ignored", "Haus", "hAUS", kNoCase, "=h=A=U=S", true},
      {"case ignored, Cyrillic", "Ёлка", "ёЛКА", kNoCase, "=ё=Л=К=А", true},
      {"case ignored, Greek final sigma", "ΣΟΦΟΣ", "σοφος", kNoCase, "=σ=ο=φ=ο=ς", true},
      {"accent counts", "café", "cafe", kStrict, "=c=a=f~e", false},
      {"accent ignored", "café", "cafe", kNoAccents, "=c=a=f=e", true},
      {"accent ignored, Polish", "żółć", "zołc", kNoAccents, "=z=o=ł=c", true},
      // A stroke is part of the letter, not an accent.
      {"stroke kept", "ł", "l", kNoAccents, "~l", false},
      {"combining accent is one character", "e\xCC\x81t\xC3\xA9", "\xC3\xA9t\xC3\xA9", kStrict,
       "=\xC3\xA9=t=\xC3\xA9", true},
      {"combining accent wrong as a whole", "e\xCC\x81", "e", kStrict, "~e", false},
      {"punctuation counts", "Hallo!", "Hallo", kStrict, "=H=a=l=l=o-!", false},
      {"punctuation ignored", "Hallo, Welt!", "Hallo Welt.", kNoPunctuation, "=H=a=l=l=o= =W=e=l=t=.", true},
      {"Chinese", "喝茶", "喝水", kStrict, "=喝~水", false},
      {"Hindi syllables", "नमस्ते", "नमस्ते", kStrict, "=न=म=स्ते", true},
      {"Hindi syllable wrong as a whole", "नमस्ते", "नमस्त", kStrict, "=न=म~स्त", false},
      {"emoji outside the plane", "\xF0\x9F\x8D\xB5 tea", "\xF0\x9F\x8D\xB5 tee", kStrict,
       "=\xF0\x9F\x8D\xB5= =t=e~e", false},
      {"Arabic", "شاي", "شي", kStrict, "=ش-ا=ي", false},
  };
  for (const TDiffCase& c : cases) {
    SCOPED_TRACE(c.name);
    const TAnswerCheck check = CheckAnswer(c.expected, c.typed, c.leniency);
    EXPECT_EQ(Signs(check), c.signs);
    EXPECT_EQ(check.Correct, c.correct);
  }
}

// A pasted wall of text is compared position by position instead of
// filling a table of its length squared.
TEST(AnswerDiff, HugeTypedTextStaysBounded) {
  const std::string typed(100000, 'a');
  std::string expected;
  for (int i = 0; i < 50; ++i) expected += "ab";
  const TAnswerCheck check = CheckAnswer(expected, typed);
  EXPECT_FALSE(check.Correct);
  ASSERT_EQ(check.Chars.size(), typed.size());
  EXPECT_EQ(check.Chars[0].Mark, TCharMark::Right);
  EXPECT_EQ(check.Chars[1].Mark, TCharMark::Wrong);
  EXPECT_EQ(check.Chars.back().Mark, TCharMark::Extra);
}
