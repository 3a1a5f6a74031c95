// Card drawing on the off-screen canvas: the zoom lands the card at rest,
// letters land on the card above the ruled line, the dissolve restores the
// background, and the grid is built once per run.
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
