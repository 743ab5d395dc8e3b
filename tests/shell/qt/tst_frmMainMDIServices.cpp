// What the main window's load sets up, with the program started as it
// starts: the hint timer lent to the one-time hints; the logo, which opens
// the contact box whose buttons send the browser to the two sites; F1, which
// opens the help file found in the program folder or says it is missing; and
// the program's icon on every window.
#include <QElapsedTimer>
#include <QMdiSubWindow>
#include <QThread>
#include <QMessageBox>
#include <QStyle>
#include <QToolButton>
#include <QtTest>
#include <filesystem>
#include <fstream>
#include <memory>

#include "platform/UrlOpener.h"
#include "platform/qt/QtBoxes.h"
#include "shell/HELP.h"
#include "shell/urls.h"
#include "shell/qt/Artwork.h"
#include "app/qt/KalvenorProgram.h"
#include "shell/qt/frmGlassesList.h"
#include "shell/qt/frmMainMDI.h"
#include "support/qt/DemoProgram.h"
#include "support/qt/ModalAnswerer.h"

class TestMainWindowServices : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanupTestCase();
    void init();
    void aDelayedHintShowsOnTheMainWindowsTimer();
    void aHintDueWhileAPageLoadsWaitsForTheLoad();
    void theLogoOpensTheContactBoxAndItsButtonsTheSites();
    void aBrowserThatCannotBeLaunchedIsReported();
    void f1OpensTheHelpFileFoundIgnoringCase();
    void f1WithoutAHelpFileSaysSo();
    void everyWindowCarriesTheProgramIcon();

private:
    frmMainMDI* window() const { return m_run.main(); }
    std::string helpFile() const { return m_run.demo().program + "KALVO.CHM"; }

    QtBoxes m_boxes;
    RecordingUrlOpener m_urls;
    DemoRun m_run;  // after the boxes, which outlive the program
};

void TestMainWindowServices::initTestCase() {
    std::string error;
    QVERIFY2(m_run.make(error), error.c_str());
    // Written on Windows: the case of the name differs from the one looked for.
    std::ofstream(helpFile()) << "ITSF";

    ResetHelpFile();
    m_run.start(m_boxes);
    QVERIFY(window() != nullptr);
    window()->setUrlOpener(m_urls);
}

void TestMainWindowServices::cleanupTestCase() {
    m_run.stop();
    ResetHelpFile();
}

void TestMainWindowServices::init() {
    m_urls.opened.clear();
    m_urls.result = true;
    // Keys reach the program's shortcuts only while one of its windows is active.
    window()->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(window()));
}

void TestMainWindowServices::aDelayedHintShowsOnTheMainWindowsTimer() {
    ModalAnswerer answerer;
    answerer.press(QMessageBox::No);
    m_run.program().app().hints().Display("Pick the wavelengths.", "WaveSelector", true, 250, "Wavelengths");
    QVERIFY(answerer.seen().empty());  // not before the window has had its events
    QTRY_VERIFY(answerer.done());
    QCOMPARE(answerer.seen()[0].title, QStringLiteral("Wavelengths"));
    QCOMPARE(answerer.seen()[0].text, QStringLiteral("Pick the wavelengths.\r\n\r\nDo you want to see this message again?"));
    QCOMPARE(m_run.settings().get(kNewMsgSection, "WaveSelector"), std::optional<std::string>("-1"));
}

// A page whose load pumps the window events (its help line, its progress)
// is shown and drawn before its hint opens over it.
void TestMainWindowServices::aHintDueWhileAPageLoadsWaitsForTheLoad() {
    ModalAnswerer answerer;
    answerer.press(QMessageBox::Yes);
    m_run.program().app().hints().Display("Pick the wavelengths.", "PageLoadHint", true, 1, "Wavelengths");
    QElapsedTimer loading;
    loading.start();
    while (loading.elapsed() < 150) {
        window()->HelpNote("Loading the page", false);
        QVERIFY2(answerer.seen().empty(), "the hint opened inside the page's load");
        QThread::msleep(5);
    }
    QTRY_VERIFY(answerer.done());
    QCOMPARE(answerer.seen()[0].title, QStringLiteral("Wavelengths"));
}

void TestMainWindowServices::theLogoOpensTheContactBoxAndItsButtonsTheSites() {
    const struct {
        QMessageBox::StandardButton button;
        std::vector<std::string> opened;
    } cases[] = {
        {QMessageBox::Yes, {std::string("http://") + kMakerWebHost}},
        {QMessageBox::No, {kLumivarWebAddress}},
        {QMessageBox::Cancel, {}},
    };
    for (const auto& c : cases) {
        m_urls.opened.clear();
        ModalAnswerer answerer;
        answerer.press(c.button);
        QTest::mouseClick(window()->logoButton(), Qt::LeftButton);
        QTRY_VERIFY(answerer.done());
        QCOMPARE(answerer.unscripted(), 0);
        QCOMPARE(answerer.seen().size(), std::size_t(1));
        const ModalAnswerer::Seen& box = answerer.seen()[0];
        QCOMPARE(box.title, QStringLiteral("KalvenorQX"));
        QCOMPARE(box.icon, QMessageBox::Question);
        QCOMPARE(box.buttons, QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        QVERIFY(box.text.startsWith(QStringLiteral("Harvenne\r\nKalvenor for Lumivar & VitrarchQX\r\nVersion: ")));
        QVERIFY(box.text.endsWith(QStringLiteral("Click NO to visit the Lumivar website NOW")));
        QCOMPARE(m_urls.opened, c.opened);
    }
}

void TestMainWindowServices::aBrowserThatCannotBeLaunchedIsReported() {
    m_urls.result = false;
    ModalAnswerer answerer;
    answerer.press(QMessageBox::Yes).press(QMessageBox::Ok);
    QTest::mouseClick(window()->logoButton(), Qt::LeftButton);
    QTRY_VERIFY(answerer.done());
    QCOMPARE(answerer.seen().size(), std::size_t(2));
    QCOMPARE(answerer.seen()[1].text, QStringLiteral("Sorry: cannot launch your browser at this time."));
    QCOMPARE(answerer.seen()[1].icon, QMessageBox::Information);
    QCOMPARE(QApplication::overrideCursor(), nullptr);  // the hourglass is gone
}

void TestMainWindowServices::f1OpensTheHelpFileFoundIgnoringCase() {
    QCOMPARE(AppHelpFile(), helpFile());
    ModalAnswerer answerer;
    QTest::keyClick(window(), Qt::Key_F1);
    QCOMPARE(m_urls.opened, std::vector<std::string>{FileUrl(helpFile())});
    // From the list window, a child of the main window, too.
    QTest::keyClick(window()->listWindow()->frame(), Qt::Key_F1);
    QCOMPARE(m_urls.opened.size(), std::size_t(2));
    QCOMPARE(answerer.unscripted(), 0);
}

void TestMainWindowServices::f1WithoutAHelpFileSaysSo() {
    std::filesystem::rename(helpFile(), helpFile() + ".old");
    ModalAnswerer answerer;
    answerer.press(QMessageBox::Ok);
    QTest::keyClick(window(), Qt::Key_F1);
    QTRY_VERIFY(answerer.done());
    std::filesystem::rename(helpFile() + ".old", helpFile());
    QVERIFY(m_urls.opened.empty());
    QCOMPARE(answerer.seen().size(), std::size_t(1));
    QCOMPARE(answerer.seen()[0].text,
             QStringLiteral("No help is available: the help file Kalvo.chm is not in the program folder:\r\n") +
                 QString::fromStdString(m_run.demo().program));
    QCOMPARE(answerer.seen()[0].icon, QMessageBox::Information);
}

void TestMainWindowServices::everyWindowCarriesTheProgramIcon() {
    const QImage large = ProgramIconImage(QApplication::style()->pixelMetric(QStyle::PM_LargeIconSize));
    const QImage small = ProgramIconImage(QApplication::style()->pixelMetric(QStyle::PM_SmallIconSize));
    const auto carries = [&](const QIcon& icon) {
        return icon.pixmap(large.size()).toImage().convertToFormat(large.format()) == large &&
               icon.pixmap(small.size()).toImage().convertToFormat(small.format()) == small &&
               icon.availableSizes().contains(QSize(256, 256));
    };
    QVERIFY(carries(window()->windowIcon()));
    QVERIFY(carries(window()->listWindow()->frame()->windowIcon()));
    QMessageBox box;  // made later, as every box is
    QVERIFY(carries(box.windowIcon()));
}

QTEST_MAIN(TestMainWindowServices)
#include "tst_frmMainMDIServices.moc"
