// The small Qt implementations: settings, window placement, the timer.
#include <QTemporaryDir>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QWidget>
#include <QtTest>

#include "platform/qt/QtPlacedWindow.h"
#include "platform/qt/QtSettings.h"
#include "platform/qt/QtTimer.h"

class TestQtPlatform : public QObject {
    Q_OBJECT
private slots:
    void settingsKeepTextsAsWritten();
    void maximisedWindowGivesItsNormalGeometry();
    void subWindowGivesAndTakesItsNormalGeometryWhenMinimisedOrMaximised();
    void timerTicksWhileEnabled();
};

void TestQtPlatform::settingsKeepTextsAsWritten() {
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("KalvenorQX.conf"));
    {
        QtSettings s(file);
        s.set("B1SetupPathsQX", "FirstLoad1QX", "-1");
        s.set("B1SetupPathsQX", "VitrarchQX", "/home/j\xC3\xBCrgen/Wine, Vitrarch/");
        s.set("CNM_NewUserMsg", "WaveSelector", "true");
        s.set("B4Import", "gone", "1");
        s.remove("B4Import", "gone");
        s.sync();
    }
    QtSettings again(file);
    QCOMPARE(again.get("B1SetupPathsQX", "FirstLoad1QX"), std::optional<std::string>("-1"));
    QCOMPARE(again.get("B1SetupPathsQX", "VitrarchQX"), std::optional<std::string>("/home/j\xC3\xBCrgen/Wine, Vitrarch/"));
    QCOMPARE(again.get("CNM_NewUserMsg", "WaveSelector"), std::optional<std::string>("true"));
    QCOMPARE(again.get("B4Import", "gone"), std::optional<std::string>());
    QCOMPARE(again.getOr("B4Import", "B4ImportLastType", "1"), std::string("1"));
}

void TestQtPlatform::maximisedWindowGivesItsNormalGeometry() {
    QWidget w;
    QtPlacedWindow placed(&w, "frmMainMDI");
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    placed.moveAndSize({1500, 1500, 6000, 4500});
    QTRY_COMPARE(placed.normalGeometry(), (TwipRect{1500, 1500, 6000, 4500}));
    w.showMaximized();
    QTRY_VERIFY(w.isMaximized());
    QCOMPARE(placed.normalGeometry(), (TwipRect{1500, 1500, 6000, 4500}));
    const TwipSize screen = placed.screenSize();
    QVERIFY(screen.width > 6000 && screen.height > 4500);
    QCOMPARE(placed.centreArea().width, screen.width);  // a top-level window is centred on the screen
}

void TestQtPlatform::subWindowGivesAndTakesItsNormalGeometryWhenMinimisedOrMaximised() {
    QMdiArea area;
    area.resize(800, 600);
    auto* page = new QWidget;
    QtPlacedWindow placed(page, "frmPage");
    QMdiSubWindow* frame = area.addSubWindow(page);
    frame->setAttribute(Qt::WA_DeleteOnClose, false);
    area.show();
    frame->show();
    QVERIFY(QTest::qWaitForWindowExposed(&area));
    const TwipRect normal{1500, 1200, 4500, 3000};
    placed.moveAndSize(normal);
    QCOMPARE(placed.normalGeometry(), normal);
    for (const Qt::WindowState state : {Qt::WindowMinimized, Qt::WindowMaximized}) {
        frame->setWindowState(state);
        QTRY_VERIFY(frame->windowState() & state);
        QCOMPARE(placed.normalGeometry(), normal);
        frame->showNormal();
        QCOMPARE(frame->geometry(), QRect(100, 80, 300, 200));
    }
    // Placed while closed minimised, the window comes back normal where it was placed.
    frame->showMinimized();
    frame->close();
    placed.moveTo(3000, 1500);
    QVERIFY(frame->isHidden());
    frame->show();
    QVERIFY(!frame->isMinimized());
    QCOMPARE(frame->geometry(), QRect(200, 100, 300, 200));
    QCOMPARE(placed.normalGeometry(), (TwipRect{3000, 1500, 4500, 3000}));
}

void TestQtPlatform::timerTicksWhileEnabled() {
    QtTimer timer;
    int ticks = 0;
    timer.setTickHandler([&] {
        ++ticks;
        timer.setEnabled(false);
    });
    timer.setInterval(10);
    QVERIFY(!timer.enabled());
    timer.setEnabled(true);
    QVERIFY(timer.enabled());
    QTRY_COMPARE(ticks, 1);
    QTest::qWait(40);
    QCOMPARE(ticks, 1);
    QCOMPARE(timer.interval(), 10);
}

QTEST_MAIN(TestQtPlatform)
#include "tst_QtPlatform.moc"
