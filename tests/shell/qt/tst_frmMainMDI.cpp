// The program started on a temporary program folder: the list window lists
// the collection with whole names, the pop-up menu deletes and duplicates
// through the store and rewrites the collection file with its backup, the
// Setup page opens and closes through the ribbon and comes back centred, the
// help line follows the mouse over the ribbon, disabled ribbon buttons stay
// readable, and the window does not close under a long operation.
#include <QAction>
#include <QLabel>
#include <QLayout>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QScrollBar>
#include <QMenu>
#include <QScopeGuard>
#include <QSettings>
#include <QTableWidget>
#include <QHeaderView>
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
#include "shell/HelpNotes.h"
#include "shell/INICode.h"
#include "app/qt/KalvenorProgram.h"
#include "shell/qt/Artwork.h"
#include "platform/qt/QtSettings.h"
#include "shell/qt/frm1SetupWindow.h"
#include "shell/qt/frmGlassesList.h"
#include "shell/qt/frmMainMDI.h"
#include "support/qt/DemoProgram.h"
#include "support/qt/GridTyping.h"
#include "support/qt/QueueBoxes.h"

namespace {

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

// Contrast of two colours as the accessibility guidelines define it:
// (lighter + 0.05) / (darker + 0.05) of their relative luminances.
double luminance(const QColor& c) {
    auto channel = [](double v) { return v <= 0.04045 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4); };
    return 0.2126 * channel(c.redF()) + 0.7152 * channel(c.greenF()) + 0.0722 * channel(c.blueF());
}

double contrast(const QColor& a, const QColor& b) {
    const double la = luminance(a), lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

QColor darkestIn(const QImage& image, const QRect& area) {
    QColor darkest = Qt::white;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (luminance(image.pixelColor(x, y)) < luminance(darkest)) darkest = image.pixelColor(x, y);
    return darkest;
}

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
    void theListShowsWholeNamesAndSources_data();
    void theListShowsWholeNamesAndSources();
    void aNameColumnTheUserNarrowsKeepsItsWidth();
    void theSetupPageOpensAndClosesThroughTheRibbon();
    void aPageOpenBeforeTheListStaysInFront();
    void aPageClosedMinimisedOrMaximisedOpensCentredAgain_data();
    void aPageClosedMinimisedOrMaximisedOpensCentredAgain();
    void theSmallestWindowStillShowsTheWholeRibbon();
    void theHelpLineFollowsTheMouseAndKeepsItsHeight();
    void eachRibbonButtonShowsItsOwnNote_data();
    void eachRibbonButtonShowsItsOwnNote();
    void aDisabledRibbonButtonReadsOnTheHeaderYetLooksGreyed();
    void theWallpaperIsCentredAndChangesEveryTime();
    void aCloseWaitsForTheLongOperationThenSavesThePosition();

private:
    frmMainMDI* window() const { return m_run.main(); }
    QtGrid& grid() const { return window()->listWindow()->grid(); }
    void rightClick(int row) {
        QTableWidget* table = grid().widget();
        const QPoint at = table->visualRect(table->model()->index(row - 1, 0)).center();
        QTest::mouseClick(table->viewport(), Qt::RightButton, Qt::NoModifier, at);
    }
    // Page button page (none for 0) disabled until the result goes.
    auto disableRibbonButton(int page) const {
        ToolRibbon& ribbon = window()->logic().ribbon();
        const bool was = page > 0 && ribbon.isEnabled(page);
        if (page > 0) ribbon.setEnabled(page, false);
        return qScopeGuard([&ribbon, page, was] {
            if (page > 0) ribbon.setEnabled(page, was);
        });
    }
    // The header between the End button and the logo.
    void moveOverBareHeader() const {
        QWidget* header = window()->findChild<QWidget*>(QStringLiteral("pnlHeader"));
        QWidget* logo = window()->findChild<QWidget*>(QStringLiteral("comLogo"));
        QVERIFY(header && logo);
        const int endRight = window()->endButton()->mapTo(header, QPoint(window()->endButton()->width(), 0)).x();
        const int logoLeft = logo->mapTo(header, QPoint(0, 0)).x();
        // Twice: a move to where the mouse already is tells nothing.
        QTest::mouseMove(header, QPoint((endRight + logoLeft) / 2 - 2, header->height() / 2));
        QTest::mouseMove(header, QPoint((endRight + logoLeft) / 2, header->height() / 2));
    }
    Names listed() const {
        Names out;
        for (int r = 1; r <= grid().maxRows(); ++r) out.push_back(grid().text(1, r));
        return out;
    }
    std::string collectionFile() const { return m_run.demo().program + kCollectionFileName; }
    std::string backupFile() const { return m_run.demo().program + kCollectionBackupName; }

    QueueBoxes m_boxes;
    DemoRun m_run;  // after the boxes, which outlive the program
};

void TestMainWindow::initTestCase() {
    std::string error;
    QVERIFY2(m_run.make(error), error.c_str());

    m_run.start(m_boxes);
    QVERIFY(window() != nullptr);
    QVERIFY(QTest::qWaitForWindowExposed(window()));
    QCOMPARE(m_run.program().app().ProgramFolder(), m_run.demo().program);
}

void TestMainWindow::cleanupTestCase() {
    m_run.stop();
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
    // Every page is built, so after the first run every button is enabled.
    for (int p = 1; p <= kWorkPageCount; ++p) QVERIFY2(window()->ribbonButton(p)->isEnabled(), qPrintable(QString::number(p)));
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

void TestMainWindow::theListShowsWholeNamesAndSources_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("source");
    QTest::addColumn<bool>("scrolls");
    QTest::newRow("thirty characters") << "ABCDEFGHIJKLMNOPQRSTUVWXYZ1234" << "OHARA" << false;
    QTest::newRow("long source") << "N-LASF44" << "Measured at the bench, 2024 Q3" << false;
    // More than the list may take: the name in sight, the source whole beyond it.
    QTest::newRow("widest of both") << QString(30, QLatin1Char('W')) << QString(30, QLatin1Char('W')) << true;
}

void TestMainWindow::theListShowsWholeNamesAndSources() {
    QFETCH(QString, name);
    QFETCH(QString, source);
    QFETCH(bool, scrolls);
    GlassesList& store = m_run.program().app().store();
    const std::vector<GlassRecord> before = store.GetGlasses();
    const int widthBefore = window()->listWindow()->frame()->width();
    GlassRecord glass = before.front();
    glass.definition.name.set(name.toStdString());
    glass.definition.source.set(source.toStdString());
    QVERIFY(store.AddGlass(glass, false));
    const auto restore = qScopeGuard([&] {
        store.SetGlasses(before);
        store.RefreshListWindow();
    });
    store.RefreshListWindow();
    QTableWidget* table = grid().widget();
    QMdiSubWindow* list = window()->listWindow()->frame();
    QVERIFY(list->width() * 2 <= window()->mdiArea()->viewport()->width());  // the pages keep their room
    // Whole: as wide as its text, and in sight or in sight once the list scrolls to it.
    auto whole = [table](int row, int col) {
        const QModelIndex index = table->model()->index(row, col);
        const QRect cell = table->visualRect(index);
        const bool inSight = cell.left() >= 0 && cell.right() < table->viewport()->width();
        const bool reached = table->horizontalScrollBar()->maximum() > 0 && cell.width() <= table->viewport()->width();
        return cell.width() >= table->sizeHintForIndex(index).width() && (inSight || reached);
    };
    auto cut = [&]() -> QString {  // the first text not shown whole, once the frame is laid out
        for (int row = 0; row < table->rowCount(); ++row)
            for (int col : {0, 1})
                if (!whole(row, col)) return table->item(row, col)->text();
        return {};
    };
    QTRY_COMPARE(cut(), QString());
    // The names stay in sight; only a source beyond the room scrolls.
    QVERIFY(table->visualRect(table->model()->index(0, 0)).right() < table->viewport()->width());
    QCOMPARE(table->horizontalScrollBar()->maximum() > 0, scrolls);
    // Without the long texts the list narrows again.
    store.SetGlasses(before);
    store.RefreshListWindow();
    QCOMPARE(list->width(), widthBefore);
}

// The user drags the names narrower on the list's heading: a refill after
// a store and a resize of the main window leave them so.
void TestMainWindow::aNameColumnTheUserNarrowsKeepsItsWidth() {
    QTableWidget* table = grid().widget();
    const int fitted = table->columnWidth(0);
    const QSize size = window()->size();
    const auto restore = qScopeGuard([&] {
        window()->resize(size);
        grid().setColWidth(1, grid().charsFor(fitted));
        window()->listWindow()->UpdateTable();
    });
    NarrowColumn(table, 1, 30);
    const int narrowed = table->columnWidth(0);
    QVERIFY2(narrowed < fitted, qPrintable(QStringLiteral("%1 >= %2").arg(narrowed).arg(fitted)));

    m_run.program().app().store().RefreshListWindow();
    QCOMPARE(table->columnWidth(0), narrowed);
    window()->resize(window()->size() + QSize(40, 30));
    QApplication::processEvents();
    QCOMPARE(table->columnWidth(0), narrowed);
}

void TestMainWindow::theSetupPageOpensAndClosesThroughTheRibbon() {
    QTest::mouseClick(window()->ribbonButton(1), Qt::LeftButton);
    QVERIFY(window()->setupWindow()->isVisible());
    QCOMPARE(m_run.program().app().forms().CurrentPage(), int(kPageSetup));
    QVERIFY(window()->ribbonButton(1)->isChecked());
    // No pop-up menu while a page is open.
    rightClick(1);
    QVERIFY(!window()->popupMenu()->isVisible());
    QTest::mouseClick(window()->setupWindow()->cancelButton(), Qt::LeftButton);
    QTRY_VERIFY(!window()->setupWindow()->isVisible());
    QCOMPARE(m_run.program().app().forms().CurrentPage(), int(kPageNone));
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

void TestMainWindow::aPageClosedMinimisedOrMaximisedOpensCentredAgain_data() {
    QTest::addColumn<bool>("minimise");
    QTest::newRow("minimised") << true;
    QTest::newRow("maximised") << false;
}

void TestMainWindow::aPageClosedMinimisedOrMaximisedOpensCentredAgain() {
    QFETCH(bool, minimise);
    QTest::mouseClick(window()->ribbonButton(1), Qt::LeftButton);
    auto* frame = qobject_cast<QMdiSubWindow*>(window()->setupWindow()->parentWidget());
    QVERIFY(frame && frame->isVisible());
    const QSize normal = frame->size();
    if (minimise) frame->showMinimized();
    else frame->showMaximized();
    QTRY_VERIFY(frame->isMinimized() || frame->isMaximized());
    QTest::mouseClick(window()->ribbonButton(1), Qt::LeftButton);  // closes the page
    QTRY_VERIFY(!frame->isVisible());

    QTest::mouseClick(window()->ribbonButton(1), Qt::LeftButton);  // opens it again
    QTRY_VERIFY(frame->isVisible());
    QVERIFY(!frame->isMinimized() && !frame->isMaximized());
    QCOMPARE(frame->size(), normal);
    const QSize area = window()->mdiArea()->viewport()->size();
    const QPoint offCentre = frame->geometry().center() - QRect(QPoint(0, 0), area).center();
    QVERIFY2(offCentre.manhattanLength() <= 2, "the page is not centred in the client area");
    QTest::mouseClick(window()->setupWindow()->cancelButton(), Qt::LeftButton);
    QTRY_VERIFY(!frame->isVisible());
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
    QTest::mouseMove(window()->ribbonButton(3));
    QTRY_COMPARE(window()->helpLine()->text().left(30), QStringLiteral("Form to create a new material,"));
    moveOverBareHeader();
    QTRY_COMPARE(window()->helpLine()->text(), QStringLiteral("Kalvenor Utility from Harvenne."));
    // A long note takes no room from the client area.
    const int clientHeight = window()->mdiArea()->height();
    window()->ShowHelpNote(6);
    window()->centralWidget()->layout()->activate();
    QCOMPARE(window()->mdiArea()->height(), clientHeight);
}

void TestMainWindow::eachRibbonButtonShowsItsOwnNote_data() {
    QTest::addColumn<int>("note");
    QTest::addColumn<bool>("enabled");
    QTest::newRow("Setup") << 1 << true;
    QTest::newRow("End") << int(kNoteEnd) << true;
    QTest::newRow("Melt, disabled") << 7 << false;
}

void TestMainWindow::eachRibbonButtonShowsItsOwnNote() {
    QFETCH(int, note);
    QFETCH(bool, enabled);
    QToolButton* button = note == kNoteEnd ? window()->endButton() : window()->ribbonButton(note);
    const auto disabled = disableRibbonButton(enabled ? 0 : note);
    QCOMPARE(button->isEnabled(), enabled);
    moveOverBareHeader();
    QTRY_COMPARE(window()->helpLine()->text(), QStringLiteral("Kalvenor Utility from Harvenne."));
    // In, and on across the button: its note stays.
    QTest::mouseMove(button, QPoint(button->width() / 3, button->height() / 3));
    QTest::mouseMove(button, QPoint(button->width() / 2, button->height() / 2));
    QTest::qWait(20);
    const QString expected = QString::fromStdString(HelpNoteText(note)).replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    QCOMPARE(window()->helpLine()->text(), expected);
}

void TestMainWindow::aDisabledRibbonButtonReadsOnTheHeaderYetLooksGreyed() {
    const auto greyed = disableRibbonButton(7);
    QToolButton* disabled = window()->ribbonButton(7);
    QToolButton* enabled = window()->ribbonButton(1);
    QVERIFY(!disabled->isEnabled() && enabled->isEnabled());
    QWidget* tools = window()->findChild<QWidget*>(QStringLiteral("pnlTools"));
    const QColor header = tools->palette().color(QPalette::Window);
    QCOMPARE(header, QColor(0xA8, 0xD1, 0x5A));
    moveOverBareHeader();  // no button raised under the mouse
    const QImage shown = tools->grab().toImage();
    const qreal scale = shown.devicePixelRatio();
    // The icon sits above the caption, both centred in the button.
    auto icon = [&](QToolButton* b) {
        const QRect r(b->geometry().center().x() - 16, b->geometry().top() + 2, 32, 32);
        return darkestIn(shown, QRect(r.topLeft() * scale, r.size() * scale));
    };
    auto caption = [&](QToolButton* b) {
        const QRect r(b->geometry().left() + 2, b->geometry().top() + 38, b->width() - 4, b->height() - 40);
        return darkestIn(shown, QRect(r.topLeft() * scale, r.size() * scale));
    };
    const double iconContrast = contrast(icon(disabled), header);
    const double captionContrast = contrast(caption(disabled), header);
    const QByteArray measured = QByteArray("icon ") + QByteArray::number(iconContrast, 'f', 2) + ", caption " +
                                QByteArray::number(captionContrast, 'f', 2);
    QVERIFY2(iconContrast >= 3.0 && captionContrast >= 3.0, measured.constData());
    // Greyed: a grey clearly lighter than the enabled button's ink.
    QVERIFY2(contrast(caption(enabled), header) >= 1.8 * captionContrast, measured.constData());
    QVERIFY2(contrast(icon(enabled), header) >= 1.5 * iconContrast, measured.constData());
    for (const QColor& grey : {icon(disabled), caption(disabled)})
        QVERIFY2(std::abs(grey.red() - grey.green()) <= 12 && std::abs(grey.green() - grey.blue()) <= 12,
                 qPrintable(grey.name()));
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
    const std::string ini = m_run.demo().program + kIniFileName;
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
