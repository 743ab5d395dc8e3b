// The small Qt implementations: settings, window placement, the timer.
#include <QTemporaryDir>
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
