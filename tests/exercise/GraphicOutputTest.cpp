// Card drawing on the off-screen canvas: the zoom lands the card at rest,
// letters land on the card above the ruled line, the dissolve restores the
// background, and the grid is built once per run.
#include <QGlyphRun>
#include <QRawFont>
#include <QTextLayout>
#include <QtTest>

#include "exercise/CardPictures.h"
#include "exercise/GraphicOutput.h"

namespace {
bool IsBlue(QRgb c) { return qBlue(c) > 150 && qRed(c) < 120 && qGreen(c) < 120; }

int BluePixels(const QImage& img, QRect r) {
  int n = 0;
  for (int y = r.top(); y <= r.bottom(); ++y)
    for (int x = r.left(); x <= r.right(); ++x) n += IsBlue(img.pixel(x, y));
  return n;
}

// Anything not white: blue letters, and emoji in their own colours.
bool IsInk(QRgb c) { return qRed(c) < 230 || qGreen(c) < 230 || qBlue(c) < 230; }

// Columns of the answer's box (line 2) that carry ink: first and last, or -1.
struct TInk {
  int first = -1, last = -1;
};
TInk InkColumns(const QImage& card) {
  int first = -1, last = -1;
  for (int x = 20; x < 270; ++x)
    for (int y = 70; y < 102; ++y)
      if (IsInk(card.pixel(x, y))) {
        if (first < 0) first = x;
        last = x;
        break;
      }
  return {first, last};
}

int InkPixels(const QImage& card) {
  int n = 0;
  for (int y = 70; y < 102; ++y)
    for (int x = 20; x < 270; ++x) n += IsInk(card.pixel(x, y));
  return n;
}

int ZoomToRest(TCardGraphics& g) {
  g.StartZoom();
  int ticks = 1;
  while (g.ZoomStep() != 25 && ticks < 100) ++ticks;
  return ticks;
}
}  // namespace

class GraphicOutputTest : public QObject {
  Q_OBJECT

 private slots:
  void init() { TCardGraphics::ForgetWipeGrid(); }

  void zoomBringsTheCardToRestWithItsText() {
    TCardGraphics g(96);
    g.InitCardGraphics();
    g.ClearTextLine(1);
    g.ClearTextLine(2);
    QVERIFY(g.DrawLetters("Good morning", 1, true));
    QCOMPARE(ZoomToRest(g), 25);
    QVERIFY(g.CardVisible());
    QCOMPARE(g.CardRect(), QRect(134, 37, 290, 140));
    // The card on the canvas carries the question written before the flight.
    QVERIFY(BluePixels(g.Canvas(), g.CardRect()) > 50);
    // The card box is still there at the left.
    QCOMPARE(g.Canvas().pixel(60, 150), PaintGroundPicture().pixel(60, 150));
  }

  void lettersStandAboveTheRuledLineWhichClearingKeeps() {
    TCardGraphics g(96);
    g.InitCardGraphics();
    const QRgb lineBefore = g.CardPicture().pixel(100, 102);
    QVERIFY(!g.DrawLetters("Hallo", 2, false));
    QVERIFY(BluePixels(g.CardPicture(), QRect(25, 88, 40, 14)) > 0);
    while (!g.DrawLetters("Hallo", 2, false)) {
    }
    // Nothing below the ruled line, nothing in the question's box.
    QCOMPARE(BluePixels(g.CardPicture(), QRect(0, 103, 290, 37)), 0);
    QCOMPARE(BluePixels(g.CardPicture(), QRect(0, 0, 290, 60)), 0);
    g.ClearTextLine(2);
    QCOMPARE(BluePixels(g.CardPicture(), QRect(0, 0, 290, 140)), 0);
    QCOMPARE(g.CardPicture().pixel(100, 102), lineBefore);
    QCOMPARE(QColor(lineBefore), QColor(192, 192, 192));
  }

  void dissolveTakes26TicksAndLeavesTheBackground() {
    TCardGraphics g(96);
    g.InitCardGraphics();
    ZoomToRest(g);
    const QRect rest = g.CardRect();
    int ticks = 1;
    while (!g.WipeCard(false) && ticks < 100) ++ticks;
    QCOMPARE(ticks, 26);
    QVERIFY(!g.CardVisible());
    QCOMPARE(g.CardRect().size(), QSize(10, 10));
    const QImage ground = PaintGroundPicture();
    QCOMPARE(g.Canvas().copy(rest), ground.copy(rest));
    // The next dissolve starts again from its first square.
    ZoomToRest(g);
    QVERIFY(!g.WipeCard(false));
  }

  void resetHidesTheCardAtOnce() {
    TCardGraphics g(96);
    g.InitCardGraphics();
    ZoomToRest(g);
    QVERIFY(g.WipeCard(true));
    QVERIFY(!g.CardVisible());
    QVERIFY(g.WipeCard(true));  // and again on a hidden card
  }

  void gridIsBuiltOncePerRun() {
    TCardGraphics g(96);
    g.InitCardGraphics();
    g.FreeCardGraphics();
    g.InitCardGraphics();
    TCardGraphics second(96);
    second.InitCardGraphics();
    QCOMPARE(TCardGraphics::WipeGridBuilds(), 1);
  }

  // One step per user-perceived character: an accent written as its own
  // code point, a syllable, an emoji sequence are never split; letter by
  // letter ends with the same picture as all at once.
  void writesOneCharacterPerStep_data() {
    QTest::addColumn<QByteArray>("phrase");
    QTest::addColumn<int>("steps");
    QTest::addColumn<bool>("rightToLeft");
    QTest::newRow("Latin, combining accents") << QByteArray("Cafe\xCC\x81 cre\xCC\x80me") << 10 << false;
    QTest::newRow("German umlaut") << QByteArray("Schl\xC3\xBCssel") << 9 << false;
    QTest::newRow("Russian") << QByteArray("\xD0\xBA\xD0\xBB\xD1\x8E\xD1\x87") << 4 << false;
    QTest::newRow("Hindi syllables") << QByteArray(
                                            "\xE0\xA4\xA8\xE0\xA4\xAE\xE0\xA4\xB8\xE0\xA5\x8D\xE0\xA4\xA4\xE0\xA5\x87")
                                     << 3 << false;
    QTest::newRow("emoji with skin tone, family, outside the BMP")
        << QByteArray(
               "\xF0\x9F\x91\x8D\xF0\x9F\x8F\xBD\xF0\x9F\x91\xA8\xE2\x80\x8D\xF0\x9F\x91\xA9\xE2\x80\x8D"
               "\xF0\x9F\x91\xA7\xF0\x9D\x84\x9E")
        << 3 << false;
    QTest::newRow("Chinese") << QByteArray("\xE4\xBD\xA0\xE5\xA5\xBD\xE4\xB8\x96\xE7\x95\x8C") << 4 << false;
    QTest::newRow("Arabic") << QByteArray("\xD9\x85\xD8\xB1\xD8\xAD\xD8\xA8\xD8\xA7") << 5 << true;
    QTest::newRow("Arabic with a Latin word and digits") << QByteArray("\xD8\xA3\xD8\xAD\xD8\xA8 Qt 12") << 9 << true;
    QTest::newRow("English with a Hebrew word")
        << QByteArray("Shalom \xD7\xA9\xD7\x9C\xD7\x95\xD7\x9D!") << 12 << false;
    QTest::newRow("Hebrew with points") << QByteArray("\xD7\xA9\xD7\x81\xD6\xB8\xD7\x9C\xD7\x95\xD6\xB9\xD7\x9D") << 4
                                        << true;
  }
  void writesOneCharacterPerStep() {
    QFETCH(QByteArray, phrase);
    QFETCH(int, steps);
    QFETCH(bool, rightToLeft);
    const std::string_view text(phrase.constData(), static_cast<size_t>(phrase.size()));
    TCardGraphics byLetter(96);
    byLetter.InitCardGraphics();
    byLetter.ClearTextLine(2);
    int calls = 0, inkBefore = 0;
    TInk firstStep;
    bool complete = false;
    while (!complete && calls < 100) {
      complete = byLetter.DrawLetters(text, 2, false);
      ++calls;
      const int ink = InkPixels(byLetter.CardPicture());
      QVERIFY(ink >= inkBefore);  // nothing written is taken back
      inkBefore = ink;
      if (calls == 1) firstStep = InkColumns(byLetter.CardPicture());
    }
    QCOMPARE(calls, steps);
    // The first character stands at the start of the row: the left of the
    // writing area, or its right (the text limit, 263) for Arabic and Hebrew.
    QVERIFY(firstStep.first >= 0);
    if (rightToLeft) {
      QVERIFY2(firstStep.first > 263 - 40 && firstStep.last <= 270, qPrintable(QString::number(firstStep.first)));
    } else {
      QVERIFY2(firstStep.first >= 20 && firstStep.last < 25 + 40, qPrintable(QString::number(firstStep.last)));
    }
    const TInk whole = InkColumns(byLetter.CardPicture());
    if (rightToLeft) QVERIFY(whole.last > 240);

    TCardGraphics atOnce(96);
    atOnce.InitCardGraphics();
    atOnce.ClearTextLine(2);
    QVERIFY(atOnce.DrawLetters(text, 2, true));
    QCOMPARE(atOnce.CardPicture(), byLetter.CardPicture());
  }

  // The card font has no Chinese, Cyrillic, Arabic or emoji of its own;
  // each must come from a fallback font, never as an empty box.
  void everyScriptFindsAFont_data() {
    QTest::addColumn<QByteArray>("phrase");
    QTest::newRow("Chinese") << QByteArray("\xE8\x8C\xB6");
    QTest::newRow("Japanese") << QByteArray("\xE3\x81\x8A\xE8\x8C\xB6");
    QTest::newRow("Korean") << QByteArray("\xEC\xB0\xA8");
    QTest::newRow("Russian") << QByteArray("\xD1\x8F");
    QTest::newRow("Greek") << QByteArray("\xCE\xBB");
    QTest::newRow("Polish") << QByteArray("\xC5\x82");
    QTest::newRow("Arabic") << QByteArray("\xD8\xB4\xD8\xA7\xD9\x8A");
    QTest::newRow("Hebrew") << QByteArray("\xD7\xA9\xD7\x9C\xD7\x95\xD7\x9D");
    QTest::newRow("Hindi") << QByteArray("\xE0\xA4\x9A\xE0\xA4\xBE\xE0\xA4\xAF");
    QTest::newRow("emoji") << QByteArray("\xF0\x9F\x8D\xB5");
  }
  void everyScriptFindsAFont() {
    QFETCH(QByteArray, phrase);
    TCardGraphics g(96);
    g.InitCardGraphics();
    QTextLayout layout(QString::fromUtf8(phrase), g.CardFont());
    layout.beginLayout();
    layout.createLine();
    layout.endLayout();
    const QList<QGlyphRun> runs = layout.glyphRuns();
    QVERIFY(!runs.isEmpty());
    for (const QGlyphRun& run : runs)
      for (quint32 glyph : run.glyphIndexes())
        QVERIFY2(glyph != 0, qPrintable(run.rawFont().familyName()));  // glyph 0 is the empty box
    g.ClearTextLine(2);
    QVERIFY(g.DrawLetters(std::string_view(phrase.constData(), static_cast<size_t>(phrase.size())), 2, true));
    QVERIFY(InkPixels(g.CardPicture()) > 10);
  }

  // The lower row is cut at the text limit in characters of any width; the
  // upper row breaks at a blank. The character that crosses the limit used
  // to reach past the box that clearing wipes and stayed on later cards.
  void longPhrasesLeaveNoInkOutsideTheClearedBox_data() {
    QTest::addColumn<QByteArray>("phrase");
    QTest::newRow("Latin, one long word") << QByteArray(60, 'W');
    QTest::newRow("Russian")
        << QByteArray("\xD0\x94\xD0\xBE\xD0\xB1\xD1\x80\xD0\xBE\xD0\xB5 \xD1\x83\xD1\x82\xD1\x80\xD0\xBE").repeated(6);
    QTest::newRow("Chinese") << QByteArray("\xE4\xBD\xA0\xE5\xA5\xBD").repeated(30);
    QTest::newRow("Arabic")
        << QByteArray(
               "\xD9\x85\xD8\xB1\xD8\xAD\xD8\xA8\xD8\xA7 \xD8\xA8\xD8\xA7\xD9\x84\xD8\xB9\xD8\xA7\xD9\x84\xD9\x85 ")
               .repeated(6);
  }
  void longPhrasesLeaveNoInkOutsideTheClearedBox() {
    QFETCH(QByteArray, phrase);
    TCardGraphics g(96);
    g.InitCardGraphics();
    const QImage blank = g.CardPicture();
    g.ClearTextLine(2);
    QVERIFY(g.DrawLetters(std::string_view(phrase.constData(), static_cast<size_t>(phrase.size())), 2, true));
    const QImage card = g.CardPicture();
    for (int y = 0; y < card.height(); ++y)
      for (int x = 0; x < card.width(); ++x)
        if (y < 70 || y >= 102 || x < 20 || x >= 270) QCOMPARE(card.pixel(x, y), blank.pixel(x, y));
    // Two rows of ink: above and below the middle of the box.
    int upper = 0, lower = 0;
    for (int y = 70; y < 102; ++y)
      for (int x = 20; x < 270; ++x)
        if (IsInk(card.pixel(x, y))) (y < 84 ? upper : lower)++;
    QVERIFY(upper > 50);
    QVERIFY(lower > 50);
  }

  void largerCardsFitTheCardArea() {
    for (double ppi : {120.0, 144.0}) {
      TCardGraphics g(ppi);
      g.InitCardGraphics();
      ZoomToRest(g);
      QVERIFY(g.CardVisible());
      QVERIFY(g.Canvas().rect().contains(g.CardRect()));
      QCOMPARE(g.CardRect().size(), QSize(g.CardSize().width, g.CardSize().height));
    }
  }
};

QTEST_MAIN(GraphicOutputTest)
#include "GraphicOutputTest.moc"
