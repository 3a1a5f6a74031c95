#include <QDialog>
#include <QLabel>
#include <QMainWindow>
#include <QScrollArea>
#include <QTest>
#include <QVBoxLayout>

#include "widgets/GeneralUtil.h"

class GeneralUtilTest : public QObject {
  Q_OBJECT

 private slots:
  void fitGeometry_data();
  void fitGeometry();
  void fitGeometryFullHeightLeavesRoomForCaption();
  void greySizeEntryFixesAndReleasesTheSize();
  void fitFormToScreenCentresAFittingWindow();
  void messageBoxGoesThroughTheHookWithBeep();
};

void GeneralUtilTest::fitGeometry_data() {
  QTest::addColumn<int>("w");
  QTest::addColumn<int>("h");
  QTest::addColumn<double>("dpi");
  QTest::addColumn<bool>("centreH");
  QTest::addColumn<bool>("centreV");
  QTest::addColumn<int>("outW");
  QTest::addColumn<int>("outH");
  QTest::addColumn<int>("outLeft");
  QTest::addColumn<int>("outTop");
  QTest::addColumn<bool>("hScroll");
  QTest::addColumn<bool>("scrolled");
  // Screen 1024 x 768, caption 20, scroll bar 16, window at (30, 40).
  QTest::newRow("96 ppi fits: unchanged") << 688 << 129 << 96.0 << false << false << 688 << 129 << 30 << 40 << false << false;
  QTest::newRow("90 and 100 are unscaled") << 688 << 129 << 100.0 << false << false << 688 << 129 << 30 << 40 << false
                                           << false;
  QTest::newRow("120 ppi scales by 1.25, centred horizontally only")
      << 688 << 129 << 120.0 << true << false << 860 << 161 << 82 << 40 << false << false;
  QTest::newRow("144 ppi scales by 1.54") << 100 << 100 << 144.0 << false << false << 154 << 154 << 30 << 40 << false
                                          << false;
  QTest::newRow("halves round to even") << 2 << 6 << 120.0 << false << false << 2 << 8 << 30 << 40 << false << false;
  QTest::newRow("80 ppi shrinks by 0.85") << 200 << 100 << 80.0 << false << false << 170 << 85 << 30 << 40 << false
                                          << false;
  QTest::newRow("both centred") << 688 << 129 << 120.0 << true << true << 860 << 161 << 82 << 303 << false << false;
  // 900 x 200 at 120 ppi: 1125 x 250, wider than the screen.
  QTest::newRow("wider than the screen after scaling")
      << 900 << 200 << 120.0 << true << false << 1024 << 266 << 0 << 7 << true << true;
  QTest::newRow("wider than the screen, centred vertically")
      << 900 << 200 << 120.0 << true << true << 1024 << 266 << 0 << 251 << true << true;
  QTest::newRow("96 ppi wider than the screen: full width only")
      << 1100 << 200 << 96.0 << true << false << 1024 << 200 << 0 << 40 << true << true;
}

void GeneralUtilTest::fitGeometry() {
  QFETCH(int, w);
  QFETCH(int, h);
  QFETCH(double, dpi);
  QFETCH(bool, centreH);
  QFETCH(bool, centreV);
  TFitInput in;
  in.width = w;
  in.height = h;
  in.dpi = dpi;
  in.screenWidth = 1024;
  in.screenHeight = 768;
  in.captionHeight = 20;
  in.scrollBarHeight = 16;
  in.left = 30;
  in.top = 40;
  in.centreH = centreH;
  in.centreV = centreV;
  in.autoSize = true;
  const TFitResult r = FitGeometry(in);
  QTEST(r.width, "outW");
  QTEST(r.height, "outH");
  QTEST(r.left, "outLeft");
  QTEST(r.top, "outTop");
  QTEST(r.hScrollBar, "hScroll");
  QTEST(r.scrolled, "scrolled");
  // A window that needed a scroll bar no longer sizes itself to its content.
  QCOMPARE(r.autoSize, !r.scrolled);
}

void GeneralUtilTest::fitGeometryFullHeightLeavesRoomForCaption() {
  TFitInput in;
  in.width = 300;
  in.height = 700;
  in.dpi = 120;  // 875 high on a 768 screen
  in.screenWidth = 1024;
  in.screenHeight = 768;
  in.captionHeight = 20;
  in.top = 50;
  in.centreH = true;
  in.centreV = true;
  const TFitResult r = FitGeometry(in);
  QCOMPARE(r.height, 748);
  QCOMPARE(r.top, 0);  // not centred any more
  QCOMPARE(r.width, 375);
  QCOMPARE(r.left, (1024 - 375) / 2);
  QVERIFY(r.vScrollBar);
  QVERIFY(!r.hScrollBar);
  QVERIFY(r.scrolled);
}

void GeneralUtilTest::greySizeEntryFixesAndReleasesTheSize() {
  QDialog dlg;
  dlg.resize(300, 200);
  GreySystemMenuItem(&dlg, 2, true);
  QCOMPARE(dlg.minimumSize(), dlg.maximumSize());
  GreySystemMenuItem(&dlg, 2, false);
  QVERIFY(dlg.minimumSize() != dlg.maximumSize());
  QCOMPARE(dlg.maximumWidth(), QWIDGETSIZE_MAX);
  // Only the "Size" entry maps onto the window.
  GreySystemMenuItem(&dlg, 1, true);
  QVERIFY(dlg.minimumSize() != dlg.maximumSize());
}

void GeneralUtilTest::fitFormToScreenCentresAFittingWindow() {
  QMainWindow w;
  auto* label = new QLabel(QStringLiteral("a strip of controls"));
  w.setCentralWidget(label);
  GreySystemMenuItem(&w, 2, true);
  const bool scrolled = FitFormToScreen(&w, true, true, true);
  const QRect screen = w.screen()->geometry();
  if (w.screen()->logicalDotsPerInchY() >= 90 && w.screen()->logicalDotsPerInchY() <= 100) QVERIFY(!scrolled);
  QCOMPARE(w.x(), (screen.width() - w.width()) / 2);
  QCOMPARE(w.y(), (screen.height() - w.height()) / 2);
  // The greyed size entry survives the fitting: the window keeps its new size.
  QCOMPARE(w.minimumSize(), w.maximumSize());
  QCOMPARE(w.size(), w.minimumSize());
  // A longer text (another interface language) still fits: the window follows
  // its content, and the user still cannot resize it.
  const int before = w.width();
  label->setText(QStringLiteral("a much longer strip of controls after switching the language"));
  w.layout()->activate();
  QVERIFY(w.width() > before);
  QCOMPARE(w.minimumSize(), w.maximumSize());
}

void GeneralUtilTest::messageBoxGoesThroughTheHookWithBeep() {
  TMessageRequest seen;
  auto previous = SetMessageBoxHook([&](const TMessageRequest& r) {
    seen = r;
    return int(QMessageBox::Ok);
  });
  const int result = ShowMessageBox(nullptr, QStringLiteral("Cap"), QStringLiteral("Text"), QMessageBox::Information,
                                    QMessageBox::Ok, true);
  SetMessageBoxHook(previous);
  QCOMPARE(result, int(QMessageBox::Ok));
  QCOMPARE(seen.caption, QStringLiteral("Cap"));
  QCOMPARE(seen.text, QStringLiteral("Text"));
  QVERIFY(seen.beep);
}

QTEST_MAIN(GeneralUtilTest)
#include "GeneralUtilTest.moc"
