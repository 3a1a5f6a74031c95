// Numbers of the card drawing: scaled sizes, zoom path, dissolve grid and
// where the letters of a phrase go.
#include <gtest/gtest.h>

#include <QString>
#include <set>

#include "exercise/CardMetrics.h"
#include "exercise/CardText.h"
#include "exercise/CardZoom.h"
#include "exercise/WipeGrid.h"

namespace {

TEST(CardMetrics, ScaledValuesRoundHalvesToEven) {
  struct Case {
    double ppi;
    TCardMetrics want;
  };
  const Case cases[] = {
      {96, {1, 8, 16, 16, 55, 17, 25, 57, 102, 4, 27, 3, 14, 5}},
      {110, {1, 8, 16, 16, 55, 17, 25, 57, 102, 4, 27, 3, 14, 5}},
      {120, {1.2, 10, 19, 19, 66, 20, 30, 68, 122, 5, 32, 4, 17, 0}},
      {144, {1.44, 12, 23, 23, 79, 24, 36, 82, 147, 6, 39, 5, 20, 0}},
      // 12.5 -> 12 and 2.5 -> 2: halves go to the even neighbour.
      {156.25, {1.5625, 12, 25, 25, 86, 27, 39, 89, 159, 6, 42, 5, 22, 0}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.ppi);
    const TCardMetrics m = ComputeCardMetrics(c.ppi);
    EXPECT_EQ(m.stepY, c.want.stepY);
    EXPECT_EQ(m.stepX, c.want.stepX);
    EXPECT_EQ(m.patchMargin, c.want.patchMargin);
    EXPECT_EQ(m.lowerArcLimit, c.want.lowerArcLimit);
    EXPECT_EQ(m.topRunLength, c.want.topRunLength);
    EXPECT_EQ(m.textLeftX, c.want.textLeftX);
    EXPECT_EQ(m.line1Y, c.want.line1Y);
    EXPECT_EQ(m.line2Y, c.want.line2Y);
    EXPECT_EQ(m.boxSpacing, c.want.boxSpacing);
    EXPECT_EQ(m.rightMargin, c.want.rightMargin);
    EXPECT_EQ(m.wipeSquare, c.want.wipeSquare);
    EXPECT_EQ(m.fontHeight, c.want.fontHeight);
    EXPECT_EQ(m.finalXCorrection, c.want.finalXCorrection);
  }
}

TEST(CardMetrics, CardPictureBoundariesAt110And130) {
  const struct {
    double ppi;
    int w, h, line1, line2;
  } cases[] = {{72, 290, 140, 57, 102},  {110, 290, 140, 57, 102}, {111, 362, 175, 71, 128},
               {130, 362, 175, 71, 128}, {131, 435, 210, 86, 153}, {192, 435, 210, 86, 153}};
  for (const auto& c : cases) {
    const TCardLayout p = CardPictureFor(c.ppi);
    EXPECT_EQ(p.width, c.w) << c.ppi;
    EXPECT_EQ(p.height, c.h) << c.ppi;
    EXPECT_EQ(p.line1Y, c.line1) << c.ppi;
    EXPECT_EQ(p.line2Y, c.line2) << c.ppi;
  }
}

struct ZoomRun {
  int ticks = 0;
  int x = 0, y = 0, w = 0, h = 0;
  std::vector<int> ticksPerStage = std::vector<int>(6, 0);
  int flightW = 0, flightH = 0;
};

ZoomRun RunZoom(double ppi) {
  const TCardMetrics m = ComputeCardMetrics(ppi);
  const TCardLayout p = CardPictureFor(ppi);
  TCardZoom zoom(m, p.width, p.height);
  zoom.StartZoom();
  ZoomRun r;
  TZoomPaint paint;
  while (r.ticks < 100) {
    const int stage = zoom.zoomStage;
    const int after = zoom.ZoomStep(paint);
    ++r.ticks;
    ++r.ticksPerStage[stage];
    if (paint.newSmallCard) {
      r.flightW = zoom.smallWidth;
      r.flightH = zoom.smallHeight;
    }
    if (after == TCardZoom::kDone) {
      EXPECT_EQ(paint.kind, TZoomPaint::Place);
      r.x = paint.x;
      r.y = paint.y;
      r.w = paint.w;
      r.h = paint.h;
      break;
    }
  }
  return r;
}

// 96 ppi: 25 ticks ending at (134, 37); 120 ppi: 30 ticks ending at (167, 43).
TEST(CardZoom, EndsAtRestFullSize) {
  const struct {
    double ppi;
    int ticks, x, y, w, h;  // ticks, x, y: -1 where only the size is pinned
  } cases[] = {{96, 25, 134, 37, 290, 140}, {120, 30, 167, 43, 362, 175}, {144, -1, -1, -1, 435, 210}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.ppi);
    const ZoomRun r = RunZoom(c.ppi);
    EXPECT_LT(r.ticks, 100);
    if (c.ticks >= 0) {
      EXPECT_EQ(r.ticks, c.ticks);
    }
    if (c.x >= 0) {
      EXPECT_EQ(r.x, c.x);
    }
    if (c.y >= 0) {
      EXPECT_EQ(r.y, c.y);
    }
    EXPECT_EQ(r.w, c.w);
    EXPECT_EQ(r.h, c.h);
  }
}

TEST(CardZoom, At96PpiStagesTake3_1_3_2_5_11TicksWithA56By30CardInFlight) {
  const ZoomRun r = RunZoom(96);
  EXPECT_EQ(r.ticksPerStage, (std::vector<int>{3, 1, 3, 2, 5, 11}));
  EXPECT_EQ(r.flightW, 56);
  EXPECT_EQ(r.flightH, 30);
}

TEST(CardZoom, StartZoomRestartsAfterACompletedZoom) {
  const TCardMetrics m = ComputeCardMetrics(96);
  TCardZoom zoom(m, 290, 140);
  TZoomPaint paint;
  for (int round = 0; round < 2; ++round) {
    zoom.StartZoom();
    int ticks = 0;
    while (zoom.ZoomStep(paint) != TCardZoom::kDone) ++ticks;
    EXPECT_EQ(ticks + 1, 25);
  }
}

TEST(WipeGrid, At96PpiHas97By47CellsAndTakes26Ticks) {
  std::mt19937 engine(7);
  const TWipeGrid g = BuildWipeGrid(290, 140, 3, engine);
  EXPECT_EQ(g.Count(), 97 * 47);
  // Every cell once, in a shuffled order.
  std::set<int32_t> seen(g.order.begin(), g.order.end());
  EXPECT_EQ(static_cast<int>(seen.size()), g.Count());
  // Column by column: cell 1 is below cell 0, cell 47 starts the next column.
  EXPECT_EQ(g.cellX[1], 0);
  EXPECT_EQ(g.cellY[1], 3);
  EXPECT_EQ(g.cellX[47], 3);
  EXPECT_EQ(g.cellY[47], 0);
  EXPECT_EQ(g.cellX.back(), 288);
  EXPECT_EQ(g.cellY.back(), 138);

  TCardWipe wipe;
  std::vector<int32_t> cells;
  int ticks = 0;
  bool done = false;
  while (!done && ticks < 100) {
    done = wipe.Step(g, cells);
    ++ticks;
  }
  EXPECT_EQ(ticks, 26);
  EXPECT_EQ(static_cast<int>(cells.size()), g.Count());
  EXPECT_EQ(wipe.wipePos, 0);
}

TEST(WipeGrid, SideThatIsAMultipleLeavesCellsAtTheOrigin) {
  std::mt19937 engine(1);
  // 6 x 6 with q = 3: 3 x 3 cells, of which 2 x 2 get positions.
  const TWipeGrid g = BuildWipeGrid(6, 6, 3, engine);
  ASSERT_EQ(g.Count(), 9);
  int atOrigin = 0;
  for (int i = 0; i < 9; ++i) atOrigin += g.cellX[i] == 0 && g.cellY[i] == 0;
  EXPECT_EQ(atOrigin, 6);  // the real (0, 0) cell and five left over
}

// Widths: every character 10 pixels, so rows are easy to count.
TClusterMeasure Fixed(int w) {
  return [w](TCardPhrase& phrase) {
    for (TCardCluster& c : phrase.clusters) c.width = w;
  };
}

// The characters drawn, back in UTF-8.
std::string Text(const TCardText& t, const std::vector<TCardLetter>& letters) {
  std::string s;
  for (const TCardLetter& l : letters) {
    const TCardCluster& c = t.Phrase().clusters[l.cluster];
    s += t.Phrase().text.mid(c.from, c.length).toStdString();
  }
  return s;
}

TEST(CardText, LineTopAndClearBoxKeepTheRuledLines) {
  const TCardText t(ComputeCardMetrics(96), 290, Fixed(10));
  EXPECT_EQ(t.TextLimit(), 263);
  EXPECT_EQ(t.LineTop(1), 43);
  EXPECT_EQ(t.LineTop(2), 88);
  const TCardRect r1 = t.ClearRect(1), r2 = t.ClearRect(2);
  EXPECT_EQ((std::vector<int>{r1.left, r1.top, r1.right, r1.bottom}), (std::vector<int>{20, 25, 270, 57}));
  EXPECT_EQ((std::vector<int>{r2.left, r2.top, r2.right, r2.bottom}), (std::vector<int>{20, 70, 270, 102}));
}

// Text left 25, limit 263: with 10-pixel letters 23 fit (25 + 230 < 263,
// 25 + 240 = 265 does not).
TEST(CardText, RowsAndBreaks) {
  const struct {
    const char* name;
    std::string phrase;
    int fitCount;
    int wrapPos;
    std::string upper, lower;
  } cases[] = {
      {"fits one row: lower row only", "Good morning", 12, 6, "", "Good morning"},
      {"breaks after the last blank that fits", "aaaaaaaaaa bbbbbbbbbb cccccccccc", 23, 23, "aaaaaaaaaa bbbbbbbbbb ",
       "cccccccccc"},
      {"one long word breaks after fitCount", std::string(30, 'x'), 23, 24, std::string(23, 'x'), std::string(7, 'x')},
      {"blank crossing the limit ends the upper row", std::string(23, 'a') + " bcd", 23, 25, std::string(23, 'a') + " ",
       "bcd"},
      {"leading blank is no break", " " + std::string(29, 'z'), 23, 24, " " + std::string(22, 'z'),
       std::string(7, 'z')},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    TCardText t(ComputeCardMetrics(96), 290, Fixed(10));
    std::vector<TCardLetter> out;
    EXPECT_TRUE(t.DrawLetters(c.phrase, 2, true, out));
    EXPECT_EQ(t.fitCount, c.fitCount);
    EXPECT_EQ(t.wrapPos, c.wrapPos);
    std::vector<TCardLetter> upperLetters, lowerLetters;
    for (const TCardLetter& l : out) {
      ASSERT_TRUE(l.y == 88 || l.y == 74) << l.y;
      (l.y == 88 ? lowerLetters : upperLetters).push_back(l);
    }
    const std::string upper = Text(t, upperLetters), lower = Text(t, lowerLetters);
    EXPECT_EQ(upper, c.upper);
    EXPECT_EQ(lower, c.lower);
    EXPECT_EQ(out.front().x, 25);
    EXPECT_EQ(t.letterPos, 1);
  }
}

TEST(CardText, PhraseLongerThanTwoRowsIsCutAtTheLimit) {
  const std::string phrase(60, 'w');
  TCardText atOnce(ComputeCardMetrics(96), 290, Fixed(10));
  std::vector<TCardLetter> out;
  EXPECT_TRUE(atOnce.DrawLetters(phrase, 1, true, out));
  // 23 on the upper row; on the lower row letters go on while the pen is
  // not beyond 263: 25 + 24 * 10 = 265 stops it after 24.
  EXPECT_EQ(out.size(), 23u + 24u);

  TCardText byLetter(ComputeCardMetrics(96), 290, Fixed(10));
  std::vector<TCardLetter> one;
  int calls = 0;
  bool complete = false;
  while (!complete && calls < 100) {
    one.clear();
    complete = byLetter.DrawLetters(phrase, 1, false, one);
    EXPECT_EQ(one.size(), 1u);  // exactly one letter per call
    ++calls;
  }
  // Complete once a lower-row letter reaches the limit: 25 + 24 * 10 >= 263.
  EXPECT_EQ(calls, 23 + 24);
  EXPECT_EQ(byLetter.letterPos, 1);
}

TEST(CardText, LetterByLetterFollowsThePenAndRestartsAfterCompletion) {
  TCardText t(ComputeCardMetrics(96), 290, Fixed(10));
  std::vector<TCardLetter> out;
  EXPECT_FALSE(t.DrawLetters("abc", 1, false, out));
  EXPECT_FALSE(t.DrawLetters("abc", 1, false, out));
  EXPECT_TRUE(t.DrawLetters("abc", 1, false, out));
  ASSERT_EQ(out.size(), 3u);
  EXPECT_EQ(out[0].x, 25);
  EXPECT_EQ(out[1].x, 35);
  EXPECT_EQ(out[2].x, 45);
  EXPECT_EQ(out[2].y, 43);
  // The next phrase starts afresh at the row start.
  out.clear();
  EXPECT_TRUE(t.DrawLetters("x", 2, false, out));
  EXPECT_EQ(out[0].x, 25);
  EXPECT_EQ(out[0].y, 88);
}

TEST(CardText, OneLetterAndEmptyPhrasesAreCompleteAtOnce) {
  TCardText t(ComputeCardMetrics(96), 290, Fixed(10));
  std::vector<TCardLetter> out;
  EXPECT_TRUE(t.DrawLetters("a", 2, false, out));
  EXPECT_EQ(out.size(), 1u);
  out.clear();
  EXPECT_TRUE(t.DrawLetters("", 2, false, out));
  EXPECT_TRUE(t.DrawLetters("", 2, true, out));
  EXPECT_TRUE(out.empty());
  EXPECT_EQ(t.letterPos, 1);
}

TEST(CardText, RestOfAPhraseAtOnceContinuesWhereLettersStopped) {
  TCardText t(ComputeCardMetrics(96), 290, Fixed(10));
  std::vector<TCardLetter> out;
  t.DrawLetters("hello", 2, false, out);
  t.DrawLetters("hello", 2, false, out);
  EXPECT_TRUE(t.DrawLetters("hello", 2, true, out));
  EXPECT_EQ(Text(t, out), "hello");
  EXPECT_EQ(out[4].x, 65);
}

// One step per user-perceived character, whatever its bytes.
TEST(CardText, OneStepPerUserPerceivedCharacter) {
  const struct {
    const char* name;
    std::string phrase;
    int clusters;
  } cases[] = {
      {"umlaut in two bytes", "Schl\xC3\xBCssel", 9},
      {"accent as its own character", "e\xCC\x81t\xC3\xA9", 3},
      {"Hindi syllables", "\xE0\xA4\xA8\xE0\xA4\xAE\xE0\xA4\xB8\xE0\xA5\x8D\xE0\xA4\xA4\xE0\xA5\x87", 3},
      {"emoji with skin tone", "\xF0\x9F\x91\x8D\xF0\x9F\x8F\xBD", 1},
      {"family joined by zero-width joiners",
       "\xF0\x9F\x91\xA8\xE2\x80\x8D\xF0\x9F\x91\xA9\xE2\x80\x8D\xF0\x9F\x91\xA7", 1},
      {"outside the BMP", "\xF0\x9D\x84\x9E\xF0\x9F\x8D\xB5", 2},
      {"Chinese", "\xE4\xBD\xA0\xE5\xA5\xBD", 2},
      {"Arabic", "\xD9\x85\xD8\xB1\xD8\xAD\xD8\xA8\xD8\xA7", 5},
      {"a stray Windows-1252 byte is one replacement character", "a\xE4", 2},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    TCardText t(ComputeCardMetrics(96), 290, Fixed(10));
    std::vector<TCardLetter> out;
    int calls = 0;
    bool complete = false;
    while (!complete && calls < 100) {
      complete = t.DrawLetters(c.phrase, 2, false, out);
      ++calls;
    }
    EXPECT_EQ(calls, c.clusters);
    ASSERT_EQ(static_cast<int>(out.size()), c.clusters);
    for (int i = 0; i < c.clusters; ++i) EXPECT_EQ(out[i].cluster, i);
    // Nothing is lost: the characters drawn give the phrase back.
    const QString whole = QString::fromUtf8(c.phrase.data()).normalized(QString::NormalizationForm_C);
    EXPECT_EQ(QString::fromStdString(Text(t, out)), whole);
  }
}

// Arabic and Hebrew rows start at the right end of the writing area (the text
// limit, 263) and run left; wrapping and the cut at the limit are the same
// as for a left-to-right phrase.
TEST(CardText, RightToLeftRowsStartAtTheRightEdge) {
  const std::string alef = "\xD8\xA7", shin = "\xD7\xA9";
  std::string words;  // ten letters, a blank, ten letters, a blank, ten letters
  for (int w = 0; w < 3; ++w) {
    for (int i = 0; i < 10; ++i) words += alef;
    if (w < 2) words += " ";
  }
  TCardText t(ComputeCardMetrics(96), 290, Fixed(10));
  std::vector<TCardLetter> out;
  EXPECT_TRUE(t.DrawLetters(words, 2, true, out));
  EXPECT_TRUE(t.Phrase().rightToLeft);
  EXPECT_EQ(t.wrapPos, 23);
  ASSERT_EQ(out.size(), 32u);
  EXPECT_EQ(out[0].x, 253);  // upper row, first letter at the right
  EXPECT_EQ(out[0].y, 74);
  EXPECT_EQ(out[1].x, 243);
  EXPECT_EQ(out[22].x, 253);  // the lower row starts at the right again
  EXPECT_EQ(out[22].y, 88);
  EXPECT_EQ(out[31].x, 163);
  EXPECT_EQ(t.UpperRow().end, 22);
  EXPECT_EQ(t.LowerRow().first, 22);
  EXPECT_EQ(t.LowerRow().end, 32);

  std::string longWord;
  for (int i = 0; i < 60; ++i) longWord += shin;
  TCardText cut(ComputeCardMetrics(96), 290, Fixed(10));
  out.clear();
  EXPECT_TRUE(cut.DrawLetters(longWord, 1, true, out));
  ASSERT_EQ(out.size(), 23u + 24u);
  EXPECT_EQ(out.back().x, 263 - 24 * 10);
  EXPECT_EQ(cut.LowerRow().end, 47);
}

}  // namespace
