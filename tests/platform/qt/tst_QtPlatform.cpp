// The small Qt implementations: settings, window placement, the timer, the
// clipboard and the URL opener, each over the real Qt class.
#include <QClipboard>
#include <QDesktopServices>
#include <QGuiApplication>
#include <QTemporaryDir>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QWidget>
#include <QtTest>

#include "platform/qt/QtClipboard.h"
#include "platform/qt/QtPlacedWindow.h"
#include "platform/qt/QtSettings.h"
#include "platform/qt/QtTimer.h"
#include "platform/qt/QtUrlOpener.h"

// Takes the addresses the desktop would have opened.
class UrlCatcher : public QObject {
    Q_OBJECT
public:
    QList<QUrl> opened;
public slots:
    void open(const QUrl& url) { opened << url; }
};

class TestQtPlatform : public QObject {
    Q_OBJECT
private slots:
    void settingsKeepTextsAsWritten();
    void maximisedWindowGivesItsNormalGeometry();
    void subWindowGivesAndTakesItsNormalGeometryWhenMinimisedOrMaximised();
    void timerTicksWhileEnabled();
    void clipboardTakesAndGivesWindows1252Text();
    void urlOpenerHandsWholeAddressesToTheDesktop();
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

void TestQtPlatform::clipboardTakesAndGivesWindows1252Text() {
    QtClipboard clipboard;
    // A block of cells copied from a grid: tabs, CR LF, a micro sign and a euro.
    clipboard.setText("wave [\xB5m]\tindex\r\n0.5876\t1.5168 \x80\r\n");
    QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("wave [\u00B5m]\tindex\r\n0.5876\t1.5168 \u20AC\r\n"));
    // What another program put there: a character outside the code page becomes "?".
    QGuiApplication::clipboard()->setText(QStringLiteral("n\u2082 = 1.6\u00E9"));
    QCOMPARE(clipboard.text(), std::string("n? = 1.6\xE9"));
}

void TestQtPlatform::urlOpenerHandsWholeAddressesToTheDesktop() {
    UrlCatcher desktop;
    QDesktopServices::setUrlHandler(QStringLiteral("http"), &desktop, "open");
    QtUrlOpener urls;
    QVERIFY(urls.open("http://kalvenor.example.org"));
    QVERIFY(!urls.open("kalvenor.example.org"));  // no scheme: nothing to open it with
    QVERIFY(!urls.open("http://exa mple.org"));
    QDesktopServices::unsetUrlHandler(QStringLiteral("http"));
    QCOMPARE(desktop.opened, QList<QUrl>{QUrl(QStringLiteral("http://kalvenor.example.org"))});
}

QTEST_MAIN(TestQtPlatform)
#include "tst_QtPlatform.moc"
