#include <gtest/gtest.h>

#include <random>

#include "storage/CodeDecode.h"

using namespace std::string_literals;

namespace {
TStrVector Lines(std::initializer_list<std::string> texts) {
  TStrVector lines;
  for (const std::string& t : texts) lines.Add(t);
  return lines;
}

std::vector<std::string> Texts(const TStrVector& lines) { return lines.Items(); }

// An unscrambled image of raw bytes between header and checksum.
TBytes ImageOf(const std::string& body) {
  TBytes image(body.size() + 2, 0);
  image[0] = kContainerHeader;
  std::copy(body.begin(), body.end(), image.begin() + 1);
  XorCheck(image, true);
  return image;
}
}  // namespace

TEST(CodeDecode, WorkedExampleBothWays) {
  const TBytes stored{0xCD, 0x63, 0x61, 0x67, 0x08, 0x0C, 0xAC};
  EXPECT_EQ(StringsToContainer(Lines({"abc"})), stored);
  EXPECT_EQ(ScrambleBytes(stored), (TBytes{0xCC, 0x61, 0x62, 0x63, 0x0D, 0x0A, 0xAB}));
  TStrVector lines;
  ASSERT_TRUE(ContainerToStrings(stored, lines));
  EXPECT_EQ(Texts(lines), std::vector<std::string>{"abc"});
}

TEST(CodeDecode, KeysRunFrom1To254AndRepeat) {
  const TBytes zeros(600, 0);
  const TBytes keys = ScrambleBytes(zeros);
  EXPECT_EQ(keys[0], 1);
  EXPECT_EQ(keys[253], 254);
  EXPECT_EQ(keys[254], 1);  // the 255th byte
  EXPECT_EQ(keys[508], 1);
  for (uint8_t k : keys) {
    EXPECT_NE(k, 0);
    EXPECT_NE(k, 255);
  }
  TBytes all;
  for (int i = 0; i < 1000; ++i) all.push_back(static_cast<uint8_t>(i * 7));
  EXPECT_EQ(ScrambleBytes(ScrambleBytes(all)), all);
  TBytes inPlace = all;
  ScrambleInPlace(inPlace);
  EXPECT_EQ(inPlace, ScrambleBytes(all));
}

TEST(CodeDecode, EmptyLinesSurviveTheRoundTrip) {
  const std::vector<std::vector<std::string>> lists = {
      {"", "x", ""},
      {""},
      {"[General]", "English@German", "[1]", "0=a@b# @ \xA7"},
      {"with \"quotes\"", "\xE4\xF6\xFC\xDF\x80\xFF"},
  };
  for (const auto& list : lists) {
    TStrVector in;
    for (const auto& t : list) in.Add(t);
    TStrVector out;
    ASSERT_TRUE(ContainerToStrings(StringsToContainer(in), out));
    EXPECT_EQ(Texts(out), list);
  }
}

// Any single changed byte, whatever the change, is caught and changes nothing.
TEST(CodeDecode, AnySingleChangedByteFailsAndChangesNothing) {
  const TBytes stored = StringsToContainer(Lines({"[General]", "a@b", "", "[1]", "0=x@y# @ *"}));
  for (std::size_t pos = 0; pos < stored.size(); ++pos) {
    for (int delta = 1; delta < 256; ++delta) {
      TBytes damaged = stored;
      damaged[pos] ^= static_cast<uint8_t>(delta);
      TStrVector lines = Lines({"kept"});
      ASSERT_FALSE(ContainerToStrings(damaged, lines)) << pos << " " << delta;
      ASSERT_EQ(Texts(lines), std::vector<std::string>{"kept"});
      const TBytes before = damaged;
      ASSERT_FALSE(OpenContainer(damaged, true));
      ASSERT_EQ(damaged, before);
    }
  }
}

TEST(CodeDecode, TooShortOrWrongHeaderIsRefused) {
  const std::vector<TBytes> bad = {
      {},
      {0xCD},
      ScrambleBytes(TBytes{0xCB, 0xCB}),              // checksum right, header wrong
      ScrambleBytes(TBytes{0xCC, 0x41, 0x0D, 0x0A, 0x00}),  // checksum wrong
      TBytes{0xCC, 0xCC},                             // a right image, but not scrambled
  };
  for (const TBytes& bytes : bad) {
    TStrVector lines;
    EXPECT_FALSE(ContainerToStrings(bytes, lines));
    EXPECT_EQ(lines.Count(), 0u);
  }
}

TEST(CodeDecode, ImagesTheWriterNeverMakesStayInside) {
  struct Case {
    std::string body;
    std::vector<std::string> lines;
  };
  const Case cases[] = {
      {"", {}},                        // header and checksum only
      {"ab", {"ab"}},                  // unterminated last line
      {"ab\r", {"ab"}},                // CR without LF at the very end
      {"a\r\nbc", {"a", "bc"}},
      {"a\r\n\r\n", {"a", ""}},
      {"a\0b\r\n"s, {"a"}},            // a NUL ends the text of its line
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.body);
    TStrVector lines;
    ASSERT_TRUE(ContainerToStrings(ScrambleBytes(ImageOf(c.body)), lines));
    EXPECT_EQ(Texts(lines), c.lines);
  }
}

TEST(CodeDecode, XorCheckAndOpenContainer) {
  TBytes image{0xCC, 'a', 0x0D, 0x0A, 0x00};
  EXPECT_FALSE(XorCheck(image, false));
  EXPECT_TRUE(XorCheck(image, true));
  EXPECT_EQ(image.back(), 0xCC ^ 'a' ^ 0x0D ^ 0x0A);
  TBytes plain = image;
  ASSERT_TRUE(OpenContainer(plain, false));
  EXPECT_EQ(plain, (TBytes{'a', 0x0D, 0x0A}));
  TBytes stored = ScrambleBytes(image);
  ASSERT_TRUE(OpenContainer(stored, true));
  EXPECT_EQ(stored, (TBytes{'a', 0x0D, 0x0A}));
  TBytes empty;
  EXPECT_FALSE(XorCheck(empty, true));
  EXPECT_TRUE(empty.empty());
}

// Fed in blocks of any size, the reader hands out the lines that
// ContainerToStrings gives for the whole container, and judges it the same.
TEST(ContainerReader, BlocksOfAnySizeGiveTheLinesOfTheWhole) {
  std::vector<std::string> bodies = {
      "", "ab", "ab\r", "a\r\nbc", "a\r\n\r\n", "\r\n", "\n", "\r", "a\nb\r\n", "x\r\r\n\ny\r\n", "a\0b\r\ncd\r\n"s,
      "[General]\r\nEnglish@German\r\n[1]\r\n0=house@Haus# @ *\r\n",
  };
  // Short bodies made of the bytes that matter to the splitter.
  std::mt19937 rng(7);
  const char alphabet[] = {'a', '\r', '\n', '\0'};
  for (int i = 0; i < 300; ++i) {
    std::string body(rng() % 12, 'a');
    for (char& c : body) c = alphabet[rng() % 4];
    bodies.push_back(body);
  }
  for (const std::string& body : bodies) {
    for (bool damaged : {false, true}) {
      TBytes stored = ScrambleBytes(ImageOf(body));
      if (damaged) stored.back() ^= 1;
      TStrVector whole;
      const bool wholeOk = ContainerToStrings(stored, whole);
      ASSERT_EQ(wholeOk, !damaged);
      for (std::size_t block = 1; block <= stored.size(); ++block) {
        SCOPED_TRACE(testing::Message() << "body " << testing::PrintToString(body) << " block " << block);
        std::vector<std::string> lines;
        TContainerReader reader([&](std::string_view line) { lines.emplace_back(line); });
        for (std::size_t at = 0; at < stored.size(); at += block)
          reader.Feed(stored.data() + at, std::min(block, stored.size() - at));
        EXPECT_EQ(reader.Finish(), wholeOk);
        if (wholeOk) {
          EXPECT_EQ(lines, Texts(whole));
        }
      }
    }
  }
}

TEST(ContainerReader, WrongHeaderOrTooShortFails) {
  for (const TBytes& stored : {TBytes{}, TBytes{0xCD}, ScrambleBytes(TBytes{0xCB, 'a', 0x0D, 0x0A, 0xCB ^ 'a' ^ 0x0D ^ 0x0A})}) {
    int lines = 0;
    TContainerReader reader([&](std::string_view) { ++lines; });
    reader.Feed(stored.data(), stored.size());
    EXPECT_FALSE(reader.Finish());
    EXPECT_EQ(lines, 0);
  }
  // Stopping the lines still checks the rest.
  const TBytes stored = StringsToContainer([] {
    TStrVector v;
    v.Add("a");
    v.Add("b");
    return v;
  }());
  int lines = 0;
  TContainerReader reader([&](std::string_view) { ++lines; });
  reader.Feed(stored.data(), 3);
  reader.StopLines();
  reader.Feed(stored.data() + 3, stored.size() - 3);
  EXPECT_TRUE(reader.Finish());
  EXPECT_EQ(lines, 0);
}
