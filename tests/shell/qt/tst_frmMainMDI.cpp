// The program started on a temporary program folder: the list window lists
// the collection, the pop-up menu deletes and duplicates through the store
// and rewrites the collection file with its backup, the Setup page opens and
// closes through the ribbon, and the window does not close under a long
// operation.
#include <QAction>
#include <QLabel>
#include <QLayout>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QMenu>
#include <QSettings>
#include <QTemporaryDir>
#include <QToolButton>
#include <QtTest>
#include <cmath>
#include <deque>
#include <memory>

#include "platform/Clock.h"
#include "model/FileUtil.h"
#include "model/GlassesList.h"
#include "shell/AMain.h"
#include "app/DemoFolder.h"
#include "shell/INICode.h"
#include "shell/qt/KalvenorProgram.h"
#include "shell/qt/Artwork.h"
#include "platform/qt/QtSettings.h"
#include "shell/qt/frm1SetupWindow.h"
#include "shell/qt/frmGlassesList.h"
#include "shell/qt/frmMainMDI.h"

namespace {

// Answers from a queue; a box nobody expected is recorded and answered Cancel.
class QueueBoxes : public IBoxes {
public:
    int show(int style, const std::string& text, const std::string&) override {
        shown.push_back(text);
        if (answers.empty()) {
            unexpected.push_back(text);
            return kAnswerCancel;
        }
        (void)style;
        const int a = answers.front();
        answers.pop_front();
        return a;
    }
    std::string input(const std::string& prompt, const std::string&, const std::string&) override {
        shown.push_back(prompt);
        if (inputs.empty()) {
            unexpected.push_back(prompt);
            return {};
        }
        std::string a = inputs.front();
        inputs.pop_front();
        return a;
    }
    std::deque<int> answers;
    std::deque<std::string> inputs;
    std::vector<std::string> shown;
    std::vector<std::string> unexpected;
};

std::vector<std::string> namesIn(const std::string& path) {
    std::vector<std::string> names;
    const auto bytes = ReadWholeFile(path);
    if (!bytes) return names;
    for (std::size_t at = 0; at + kGlassRecordBytes <= bytes->size(); at += kGlassRecordBytes) {
        GlassRecord g;
        ReadGlassRecord(bytes->data() + at, g);
        names.push_back(g.definition.name.str());
    }
    return names;
}

using Names = std::vector<std::string>;

}  // namespace

class TestMainWindow : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanupTestCase();
    void init();
    void theListWindowListsTheCollection();
    void deleteThroughThePopupMenu();
    void duplicateThroughThePopupMenu();
    void anAmpersandShowsAsTypedInTheMenu();
    void theSetupPageOpensAndClosesThroughTheRibbon();
    void aPageOpenBeforeTheListStaysInFront();
    void theSmallestWindowStillShowsTheWholeRibbon();
    void theHelpLineFollowsTheMouseAndKeepsItsHeight();
    void theWallpaperIsCentredAndChangesEveryTime();
    void aCloseWaitsForTheLongOperationThenSavesThePosition();

private:
    frmMainMDI* window() const { return m_program->mainWindow(); }
    QtGrid& grid() const { return window()->listWindow()->grid(); }
    void rightClick(int row) {
        QTableWidget* table = grid().widget();
        const QPoint at = table->visualRect(table->model()->index(row - 1, 0)).center();
        QTest::mouseClick(table->viewport(), Qt::RightButton, Qt::NoModifier, at);
    }
    Names listed() const {
        Names out;
        for (int r = 1; r <= grid().maxRows(); ++r) out.push_back(grid().text(1, r));
        return out;
    }
    std::string collectionFile() const { return m_demo.program + kCollectionFileName; }
    std::string backupFile() const { return m_demo.program + kCollectionBackupName; }

    QTemporaryDir m_dir;
    DemoLayout m_demo;
    std::unique_ptr<QtSettings> m_settings;
    QueueBoxes m_boxes;
    std::unique_ptr<KalvenorProgram> m_program;
};

void TestMainWindow::initTestCase() {
    QVERIFY(m_dir.isValid());
    const std::string root = m_dir.path().toStdString() + "/";
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, QString::fromStdString(root + "settings"));
    m_settings = std::make_unique<QtSettings>();
    SystemClock clock;
    std::string error;
    QVERIFY2(MakeDemo(root + "demo", *m_settings, clock, error), error.c_str());
    m_demo = DemoFolders(root + "demo");
    qputenv("KALVENOR_HOME", QByteArray::fromStdString(m_demo.program));

    m_program = std::make_unique<KalvenorProgram>(m_boxes, *m_settings);
    m_program->start();
    QVERIFY(window() != nullptr);
    QVERIFY(QTest::qWaitForWindowExposed(window()));
    QCOMPARE(m_program->app().ProgramFolder(), m_demo.program);
}

void TestMainWindow::cleanupTestCase() {
    m_program.reset();
    m_settings.reset();
}

void TestMainWindow::init() {
    QVERIFY2(m_boxes.unexpected.empty(), m_boxes.unexpected.empty() ? "" : m_boxes.unexpected.front().c_str());
    m_boxes.shown.clear();
}

void TestMainWindow::theListWindowListsTheCollection() {
    QVERIFY(window()->listWindow()->isVisible());
    QCOMPARE(listed(), (Names{"N-BK7", "N-BAF10", "N-F2", "N-SF6", "N-SF11"}));
    QCOMPARE(grid().text(2, 1), std::string("SCHOTT"));
    QCOMPARE(window()->listWindow()->frame()->geometry().topLeft(), QPoint(0, 0));
    QCOMPARE(window()->listWindow()->frame()->height(), window()->mdiArea()->viewport()->height());
    QVERIFY(window()->windowTitle().startsWith(QStringLiteral("Harvenne - Kalvenor for Lumivar & VitrarchQX:   Version: ")));
    QCOMPARE(window()->installedPanel(1)->text(), QStringLiteral(" Lumivar3D found"));
    QCOMPARE(window()->installedPanel(0)->text(), QStringLiteral(" VitrarchQX found"));
    QVERIFY(window()->ribbonButton(1)->isEnabled());
    QVERIFY(!window()->ribbonButton(2)->isEnabled());  // its page is not built yet
}

void TestMainWindow::deleteThroughThePopupMenu() {
    rightClick(2);
    QTRY_VERIFY(window()->popupMenu()->isVisible());
    QCOMPARE(window()->popupAction(kPopupDuplicate)->text(), QStringLiteral("&Duplicate   N-BAF10/SCHOTT"));
    QVERIFY(window()->popupAction(kPopupEdit)->isEnabled());  // the editor is built
    m_boxes.answers.push_back(kAnswerYes);
    window()->popupAction(kPopupDelete)->trigger();
    window()->popupMenu()->hide();
    QCOMPARE(m_boxes.shown.back(), std::string("Are you sure that you wish to delete N-BAF10 - SCHOTT?"));
    QCOMPARE(listed(), (Names{"N-BK7", "N-F2", "N-SF6", "N-SF11"}));
    QCOMPARE(namesIn(collectionFile()), listed());
    QCOMPARE(namesIn(backupFile()), (Names{"N-BK7", "N-BAF10", "N-F2", "N-SF6", "N-SF11"}));
}

void TestMainWindow::duplicateThroughThePopupMenu() {
    rightClick(1);
    QTRY_VERIFY(window()->popupMenu()->isVisible());
    m_boxes.inputs.push_back("N-SF6");  // taken: asked again
    m_boxes.inputs.push_back("N-BK7 copy");
    window()->popupAction(kPopupDuplicate)->trigger();
    window()->popupMenu()->hide();
    QCOMPARE(m_boxes.shown.size(), std::size_t{2});
    QCOMPARE(listed(), (Names{"N-BK7", "N-BK7 copy", "N-F2", "N-SF6", "N-SF11"}));
    QCOMPARE(grid().text(2, 2), std::string("SCHOTT"));
    QCOMPARE(namesIn(collectionFile()), listed());
    QCOMPARE(namesIn(backupFile()), (Names{"N-BK7", "N-F2", "N-SF6", "N-SF11"}));
}

void TestMainWindow::anAmpersandShowsAsTypedInTheMenu() {
    m_boxes.inputs.push_back("R&D glass");
    window()->PrepForPopup(4, "N-SF6/SCHOTT");
    window()->popupAction(kPopupDuplicate)->trigger();
    rightClick(5);
    QTRY_VERIFY(window()->popupMenu()->isVisible());
    QCOMPARE(window()->popupAction(kPopupDuplicate)->text(), QStringLiteral("&Duplicate   R&&D glass/SCHOTT"));
    window()->popupMenu()->hide();
}

void TestMainWindow::theSetupPageOpensAndClosesThroughTheRibbon() {
    QTest::mouseClick(window()->ribbonButton(1), Qt::LeftButton);
    QVERIFY(window()->setupWindow()->isVisible());
    QCOMPARE(m_program->app().forms().CurrentPage(), int(kPageSetup));
    QVERIFY(window()->ribbonButton(1)->isChecked());
    // No pop-up menu while a page is open.
    rightClick(1);
    QVERIFY(!window()->popupMenu()->isVisible());
    QTest::mouseClick(window()->setupWindow()->cancelButton(), Qt::LeftButton);
    QTRY_VERIFY(!window()->setupWindow()->isVisible());
    QCOMPARE(m_program->app().forms().CurrentPage(), int(kPageNone));
    QVERIFY(!window()->ribbonButton(1)->isChecked());
}

void TestMainWindow::aPageOpenBeforeTheListStaysInFront() {
    // As on the first run, where the Setup page opens before the list does.
    QMdiSubWindow* list = window()->listWindow()->frame();
    list->hide();
    QTest::mouseClick(window()->ribbonButton(1), Qt::LeftButton);
    QMdiSubWindow* setup = qobject_cast<QMdiSubWindow*>(window()->setupWindow()->parentWidget());
    QVERIFY(setup && setup->isVisible());
    window()->LoadList();
    QMdiSubWindow* inFront = window()->mdiArea()->subWindowList(QMdiArea::StackingOrder).last();
    QTest::mouseClick(window()->setupWindow()->cancelButton(), Qt::LeftButton);
    QTRY_VERIFY(!setup->isVisible());
    QVERIFY(list->isVisible());
    QCOMPARE(inFront, setup);
}

void TestMainWindow::theSmallestWindowStillShowsTheWholeRibbon() {
    const QSize before = window()->size();
    window()->resize(1, 1);
    window()->centralWidget()->layout()->activate();
    QVERIFY(window()->width() * kTwipsPerPixel >= kMinMainWidthTwips);
    QVERIFY(window()->height() * kTwipsPerPixel >= kMinMainHeightTwips);
    const QWidget* logo = window()->findChild<QWidget*>(QStringLiteral("comLogo"));
    QVERIFY(logo != nullptr);
    const int endRight = window()->endButton()->mapTo(window(), QPoint(window()->endButton()->width(), 0)).x();
    QVERIFY2(endRight <= logo->mapTo(window(), QPoint(0, 0)).x(), "the End button runs under the logo");
    window()->resize(before);
}

void TestMainWindow::theHelpLineFollowsTheMouseAndKeepsItsHeight() {
    QWidget* header = window()->findChild<QWidget*>(QStringLiteral("pnlHeader"));
    QWidget* logo = window()->findChild<QWidget*>(QStringLiteral("comLogo"));
    QVERIFY(header && logo);
    QTest::mouseMove(window()->ribbonButton(3));
    QTRY_COMPARE(window()->helpLine()->text().left(30), QStringLiteral("Form to create a new material,"));
    // The bare header between the End button and the logo.
    const int endRight = window()->endButton()->mapTo(header, QPoint(window()->endButton()->width(), 0)).x();
    const int logoLeft = logo->mapTo(header, QPoint(0, 0)).x();
    QTest::mouseMove(header, QPoint((endRight + logoLeft) / 2, header->height() / 2));
    QTRY_COMPARE(window()->helpLine()->text(), QStringLiteral("Kalvenor Utility from Harvenne."));
    // A long note takes no room from the client area.
    const int clientHeight = window()->mdiArea()->height();
    window()->ShowHelpNote(6);
    window()->centralWidget()->layout()->activate();
    QCOMPARE(window()->mdiArea()->height(), clientHeight);
}

void TestMainWindow::theWallpaperIsCentredAndChangesEveryTime() {
    const QColor before = window()->mdiArea()->backColour();
    QCOMPARE(before, QColor(0xFE, 0xFA, 0xE4));  // the plain client area of the load
    int last = 0;
    for (int i = 0; i < 6; ++i) {
        const QColor back = window()->mdiArea()->backColour();
        window()->UpdateWallPaper();
        const int k = window()->logic().currentWallpaper();
        QVERIFY(k >= 1 && k <= kWallpaperCount);
        QVERIFY(k != last);
        last = k;
        const QImage canvas = window()->mdiArea()->canvas().toImage();
        const QSize area = window()->mdiArea()->viewport()->size();
        QCOMPARE(canvas.size(), area);
        const QImage picture = WallpaperPicture(k);
        const QPoint corner(static_cast<int>(std::nearbyint((area.width() - picture.width()) / 2.0)),
                            static_cast<int>(std::nearbyint((area.height() - picture.height()) / 2.0)));
        const QPoint centre = corner + QPoint(200, 150);
        QCOMPARE(canvas.pixelColor(centre), picture.pixelColor(200, 150));
        QCOMPARE(canvas.pixelColor(0, 0), back);  // the picture sits on the colour before it
    }
}

void TestMainWindow::aCloseWaitsForTheLongOperationThenSavesThePosition() {
    const std::string ini = m_demo.program + kIniFileName;
    QVERIFY(!FileExists(ini));
    QTimer::singleShot(0, window(), [this] { window()->close(); });
    window()->HelpNote("Searching", true);  // lets the close request run
    QVERIFY(window()->isVisible());
    QCOMPARE(window()->helpLine()->text(), QStringLiteral("Searching"));
    QVERIFY(window()->helpLine()->font().bold());

    window()->close();
    QVERIFY(!window()->isVisible());
    QVERIFY(GetProfileString(ini, "FormPosNonChild_frmMainMDI", "fHeight").has_value());
}

QTEST_MAIN(TestMainWindow)
#include "tst_frmMainMDI.moc"
