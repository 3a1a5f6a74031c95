#include <QDialog>
#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <QTest>
#include <QVBoxLayout>

#include "widgets/GeneralUtil.h"
#include "widgets/ScreenPlacement.h"

// Windows are kept wholly on the available screen by their frame, and wide
// enough for their caption.
class ScreenPlacementTest : public QObject {
  Q_OBJECT

 private slots:
  void frameOnScreen_data();
  void frameOnScreen();
  void aWindowShownPartlyOffScreenIsMovedOn();
  void aLearnersMoveAfterShowingStays();
  void captionWidensAWindowThatFitsItsContent();
};

void ScreenPlacementTest::frameOnScreen_data() {
  QTest::addColumn<QRect>("frame");
  QTest::addColumn<QRect>("available");
  QTest::addColumn<QRect>("placed");
  const QRect screen(0, 0, 1280, 800);
  // A panel of 30 pixels at the top of the screen.
  const QRect belowPanel(0, 30, 1280, 770);
  QTest::newRow("inside stays") << QRect(100, 100, 400, 300) << screen << QRect(100, 100, 400, 300);
  QTest::newRow("title bar above the top") << QRect(280, -20, 776, 136) << screen << QRect(280, 0, 776, 136);
  QTest::newRow("under a top panel") << QRect(280, 0, 776, 136) << belowPanel << QRect(280, 30, 776, 136);
  QTest::newRow("hangs below") << QRect(380, 600, 522, 446) << screen << QRect(380, 354, 522, 446);
  QTest::newRow("off the right") << QRect(1000, 10, 400, 300) << screen << QRect(880, 10, 400, 300);
  QTest::newRow("off the left") << QRect(-50, 10, 400, 300) << screen << QRect(0, 10, 400, 300);
  QTest::newRow("taller than the screen") << QRect(10, 10, 400, 900) << screen << QRect(10, 0, 400, 800);
  QTest::newRow("larger both ways") << QRect(-5, -5, 2000, 900) << belowPanel << QRect(0, 30, 1280, 770);
  QTest::newRow("second screen to the right") << QRect(1200, 100, 400, 300) << QRect(1280, 0, 1920, 1080)
                                              << QRect(1280, 100, 400, 300);
}

void ScreenPlacementTest::frameOnScreen() {
  QFETCH(QRect, frame);
  QFETCH(QRect, available);
  QFETCH(QRect, placed);
  QCOMPARE(FrameOnScreen(frame, available), placed);
}

void ScreenPlacementTest::aWindowShownPartlyOffScreenIsMovedOn() {
  QDialog dlg;
  dlg.resize(300, 200);
  KeepFrameOnScreen(&dlg);
  KeepFrameOnScreen(&dlg);  // a second call adds nothing
  const QRect available = dlg.screen()->availableGeometry();
  dlg.move(available.right() - 100, available.bottom() - 50);
  dlg.show();
  QVERIFY(QTest::qWaitForWindowExposed(&dlg));
  QVERIFY(available.contains(dlg.frameGeometry()));
  QCOMPARE(dlg.size(), QSize(300, 200));
  // Growing later (longer texts) keeps it on the screen too.
  dlg.resize(available.width() / 2, 200);
  QVERIFY(available.contains(dlg.frameGeometry()));
}

void ScreenPlacementTest::aLearnersMoveAfterShowingStays() {
  QDialog dlg;
  dlg.resize(300, 200);
  KeepFrameOnScreen(&dlg);
  dlg.show();
  QVERIFY(QTest::qWaitForWindowExposed(&dlg));
  dlg.activateWindow();
  QVERIFY(QTest::qWaitForWindowActive(&dlg));
  const QRect available = dlg.screen()->availableGeometry();
  // Without a frame (no window manager) placing ends with the first move.
  const QPoint partlyOff(available.right() - 100, available.top() + 10);
  dlg.move(partlyOff);
  QCOMPARE(dlg.pos(), partlyOff);
}

void ScreenPlacementTest::captionWidensAWindowThatFitsItsContent() {
  QDialog dlg;
  auto* layout = new QVBoxLayout(&dlg);
  layout->addWidget(new QLabel(QStringLiteral("ok"), &dlg));
  dlg.setWindowTitle(QStringLiteral("Allgemeine Einstellungen - Übung"));
  GreySystemMenuItem(&dlg, 2, true);
  FitFormToScreen(&dlg, true, true, true);
  dlg.show();
  QVERIFY(QTest::qWaitForWindowExposed(&dlg));
  QVERIFY(dlg.width() >= CaptionWidth(&dlg));
  // A longer caption (another interface language) widens it again.
  dlg.setWindowTitle(QStringLiteral("Allgemeine Einstellungen - Übung und noch viel mehr Text"));
  QVERIFY(dlg.width() >= CaptionWidth(&dlg));
  QCOMPARE(dlg.minimumSize(), dlg.maximumSize());
}

QTEST_MAIN(ScreenPlacementTest)
#include "ScreenPlacementTest.moc"
