// The spin box steps by hand-driven ticks: no test waits on real time.
#include <QLineEdit>
#include <QTest>

#include "widgets/CSpinBox.h"

namespace {
// The free numbers 3, 5, 6, ..., 100 (1, 2 and 4 are taken).
TIntVector FreeFrom3() {
  TIntVector v;
  v.Add(3);
  for (int n = 5; n <= 100; ++n) v.Add(n);
  return v;
}

// Holds a button for ms milliseconds on a virtual clock of 10 ms steps and
// fires each timer whenever its interval has passed since it was started.
int HoldFor(TSpinBox& spin, QLineEdit& display, bool down, int ms) {
  int steps = 0;
  QObject::connect(&display, &QLineEdit::textChanged, &display, [&steps] { ++steps; });
  spin.ButtonDown(down);
  int pressedSince = 0;
  int spinSince = -1;
  for (int t = 10; t <= ms; t += 10) {
    if (spin.timerBtnPressed->isActive() && t - pressedSince == spin.timerBtnPressed->interval()) {
      spin.timerBtnPressed->Fire();
      if (spin.timerSpinValue->isActive()) spinSince = t;
    } else if (spin.timerSpinValue->isActive() && spinSince >= 0 && (t - spinSince) % spin.timerSpinValue->interval() == 0) {
      spin.timerSpinValue->Fire();
    }
  }
  spin.ButtonUp();
  QObject::disconnect(&display, &QLineEdit::textChanged, &display, nullptr);
  return steps;
}
}  // namespace

class SpinBoxTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { TTickTimer::SetManual(true); }

  void wrapsRoundTheFreeNumbers() {
    QLineEdit display;
    TIntVector free = FreeFrom3();
    TSpinBox spin(&display);
    spin.Init(1, 100, 0, 1, &free);
    QCOMPARE(display.text(), QStringLiteral("3"));
    QVERIFY(spin.CanSpin());
    spin.SpinOnce(false);
    QCOMPARE(display.text(), QStringLiteral("5"));
    spin.SpinOnce(true);
    spin.SpinOnce(true);
    QCOMPARE(display.text(), QStringLiteral("100"));
    QCOMPARE(spin.GetValue(), 100);
    spin.SpinOnce(false);
    QCOMPARE(display.text(), QStringLiteral("3"));
    QCOMPARE(spin.GetValue(), 3);
  }

  void startsAtTheGivenPosition() {
    QLineEdit display;
    TIntVector free = FreeFrom3();
    TSpinBox spin(&display);
    spin.Init(1, 100, 4, 1, &free);  // 3, 5, 6, 7, [8]
    QCOMPARE(display.text(), QStringLiteral("8"));
    QCOMPARE(spin.GetValue(), 8);
  }

  void singleOrNoValueCannotSpin() {
    QLineEdit display;
    TIntVector one;
    one.Add(42);
    TSpinBox spin(&display);
    spin.Init(1, 100, 0, 1, &one);
    QVERIFY(!spin.CanSpin());
    spin.ButtonDown(false);
    spin.ButtonUp();
    QCOMPARE(display.text(), QStringLiteral("42"));

    // An empty list has no position at all: nothing is shown and the arrows
    // change nothing.
    TIntVector none;
    spin.Init(1, 100, 0, 1, &none);
    QVERIFY(!spin.CanSpin());
    QCOMPARE(display.text(), QString());
    spin.ButtonDown(true);
    spin.ButtonUp();
    QCOMPARE(display.text(), QString());
    QCOMPARE(spin.GetValue(), 0);
  }

  void withoutListShowsThePositionAndWrapsByTheRest_data() {
    QTest::addColumn<int>("start");
    QTest::addColumn<int>("step");
    QTest::addColumn<bool>("down");
    QTest::addColumn<int>("expected");
    QTest::newRow("one above the top is the bottom") << 10 << 1 << false << -2;
    QTest::newRow("one below the bottom is the top") << -2 << 1 << true << 10;
    QTest::newRow("negative values shown with sign") << 0 << 1 << true << -1;
    QTest::newRow("overshoot goes on from the other end") << 9 << 3 << false << -1;
    QTest::newRow("overshoot below") << -1 << 4 << true << 8;
  }
  void withoutListShowsThePositionAndWrapsByTheRest() {
    QFETCH(int, start);
    QFETCH(int, step);
    QFETCH(bool, down);
    QFETCH(int, expected);
    QLineEdit display;
    TSpinBox spin(&display);
    spin.Init(-2, 10, start, static_cast<uint8_t>(step), nullptr);
    QCOMPARE(display.text(), QString::number(start));
    spin.SpinOnce(down);
    QCOMPARE(spin.GetValue(), expected);
    QCOMPARE(display.text(), QString::number(expected));
  }

  void pressAndHoldSteps_data() {
    QTest::addColumn<int>("holdMs");
    QTest::addColumn<int>("steps");
    QTest::newRow("short click") << 50 << 1;
    QTest::newRow("released just before the delay") << 990 << 1;
    QTest::newRow("at the 1000 ms mark itself") << 1000 << 1;
    QTest::newRow("first repetition at 1.1 s") << 1100 << 2;
    QTest::newRow("about 1.55 s") << 1550 << 6;
    QTest::newRow("two seconds") << 2000 << 11;
  }
  void pressAndHoldSteps() {
    QFETCH(int, holdMs);
    QFETCH(int, steps);
    QLineEdit display;
    TIntVector free = FreeFrom3();
    TSpinBox spin(&display);
    spin.Init(1, 100, 0, 1, &free);
    QCOMPARE(HoldFor(spin, display, false, holdMs), steps);
    QCOMPARE(spin.GetValue(), free.Get(steps));
    QVERIFY(!spin.timerBtnPressed->isActive());
    QVERIFY(!spin.timerSpinValue->isActive());
  }

  void holdingDownRepeatsDownwards() {
    QLineEdit display;
    TIntVector free = FreeFrom3();
    TSpinBox spin(&display);
    spin.Init(1, 100, 0, 1, &free);
    QCOMPARE(HoldFor(spin, display, true, 1250), 3);  // 3 -> 100 -> 99 -> 98
    QCOMPARE(display.text(), QStringLiteral("98"));
  }
};

QTEST_MAIN(SpinBoxTest)
#include "SpinBoxTest.moc"
