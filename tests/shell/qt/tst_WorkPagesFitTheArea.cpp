// Every page that opens in the main window's client area lies inside it, at
// the main window's smallest size and at its default size: the Setup page,
// the editor, the Manage, Import, Export and Archive pages and the melt maker, the melt maker
// also with a parent chosen (its pairs grid shown). With room to spare the
// grids show every column without scrolling. A page minimised or maximised
// while the area shrank comes back inside it.
#include <QApplication>
#include <QHeaderView>
#include <QLayout>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QTableWidget>
#include <QToolButton>
#include <QtTest>
#include <memory>

#include "editor/qt/frm3NewWindow.h"
#include "exchange/qt/frm4ImportWindow.h"
#include "exchange/qt/frm5ExportWindow.h"
#include "manage/qt/frm2ManageWindow.h"
#include "manage/qt/frm6ArchiveWindow.h"
#include "melt/frm7Melt.h"
#include "melt/qt/frm7MeltWindow.h"
#include "shell/AMain.h"
#include "shell/CNewMsg.h"
#include "app/qt/KalvenorProgram.h"
#include "shell/qt/frm1SetupWindow.h"
#include "shell/qt/frmMainMDI.h"
#include "support/qt/DemoProgram.h"
#include "support/qt/QueueBoxes.h"
#include "support/qt/WorkPages.h"

namespace {

enum Page { kSetup, kEditor, kManage, kImport, kExport, kArchive, kMelt, kMeltWithParent };

// The main window's sizes: 0 its smallest, then its default and one with room to spare.
const QSize kSmallest(0, 0);
const QSize kDefault(1024, 720);
const QSize kRoomy(1600, 1100);

}  // namespace

Q_DECLARE_METATYPE(Page)

class TestWorkPagesFit : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanupTestCase();
    void cleanup();
    void aPageLiesInsideTheClientArea_data();
    void aPageLiesInsideTheClientArea();
    void aPageRestoredAfterTheAreaShrankLiesInside_data();
    void aPageRestoredAfterTheAreaShrankLiesInside();

private:
    frmMainMDI* main() const { return m_run.main(); }
    static WorkPage workPage(Page page);
    QWidget* pageWindow(Page page) const;
    std::vector<QTableWidget*> grids(Page page) const;
    void open(Page page);

    QueueBoxes m_boxes;
    DemoRun m_run;  // after the boxes, which outlive the program
};

void TestWorkPagesFit::initTestCase() {
    std::string error;
    QVERIFY2(m_run.make(error), error.c_str());
    m_run.settings().set(kNewMsgSection, kMeltHintKey, "-1");  // a user who has read the hint
    m_run.start(m_boxes);
    QVERIFY(QTest::qWaitForWindowExposed(main()));
}

void TestWorkPagesFit::cleanupTestCase() {
    m_run.stop();
}

void TestWorkPagesFit::cleanup() {
    QVERIFY2(m_boxes.unexpected.empty(), m_boxes.unexpected.empty() ? "" : m_boxes.unexpected.front().c_str());
    CloseWorkPages(main());
}

WorkPage TestWorkPagesFit::workPage(Page page) {
    static const WorkPage pages[] = {kPageSetup,  kPageNew,     kPageManage, kPageImport,
                                     kPageExport, kPageArchive, kPageMelt,   kPageMelt};
    return pages[page];
}

QWidget* TestWorkPagesFit::pageWindow(Page page) const { return WorkPageWindowOf(main(), workPage(page)); }

std::vector<QTableWidget*> TestWorkPagesFit::grids(Page page) const {
    switch (page) {
    case kSetup: return {};
    case kEditor: return {main()->editorWindow()->indexGrid().widget()};
    case kManage: return {main()->managePage()->window()->findChild<QTableWidget*>(QStringLiteral("ssGlassesCurr"))};
    case kImport:
    case kExport: return {pageWindow(page)->findChild<QTableWidget*>()};
    case kArchive:
        return {main()->archivePage()->window()->findChild<QTableWidget*>(QStringLiteral("ssGlassCurr")),
                main()->archivePage()->window()->findChild<QTableWidget*>(QStringLiteral("ssGlassArchive"))};
    case kMelt: return {};
    case kMeltWithParent: return {main()->meltPage()->window()->pairsGrid().widget()};
    }
    return {};
}

void TestWorkPagesFit::open(Page page) {
    QVERIFY(OpenWorkPage(main(), workPage(page)));
    if (page == kEditor) main()->editorWindow()->tabs()->setCurrentIndex(1);  // the index points' grid
    if (page == kMeltWithParent) QVERIFY(ChooseMeltParent(main()));
}

void TestWorkPagesFit::aPageLiesInsideTheClientArea_data() {
    QTest::addColumn<Page>("page");
    QTest::addColumn<QSize>("mainSize");
    const std::pair<const char*, Page> pages[] = {{"Setup", kSetup},     {"editor", kEditor},
                                                  {"Manage", kManage},   {"Import", kImport},
                                                  {"Export", kExport},   {"Archive", kArchive},
                                                  {"melt maker", kMelt}, {"melt maker with a parent", kMeltWithParent}};
    const std::pair<const char*, QSize> sizes[] = {{"smallest", kSmallest}, {"default", kDefault}, {"roomy", kRoomy}};
    for (const auto& [sizeName, size] : sizes)
        for (const auto& [pageName, page] : pages)
            QTest::addRow("%s, %s", pageName, sizeName) << page << size;
}

void TestWorkPagesFit::aPageLiesInsideTheClientArea() {
    QFETCH(Page, page);
    QFETCH(QSize, mainSize);
    main()->resize(mainSize.expandedTo(main()->minimumSize()));
    main()->centralWidget()->layout()->activate();
    QApplication::processEvents();
    open(page);

    QApplication::processEvents();  // the layouts settle

    QWidget* window = pageWindow(page);
    QWidget* frame = window->parentWidget();
    const QRect area(QPoint(0, 0), main()->mdiArea()->viewport()->size());
    QVERIFY2(area.contains(frame->geometry()), "the page runs past the client area");
    // Its controls fit across: the grids give up the room, not the page.
    auto* body = window->findChild<QScrollArea*>();
    QVERIFY(body);
    QVERIFY2(body->horizontalScrollBar()->maximum() == 0, "the page scrolls sideways");
    if (mainSize == kRoomy) {
        // With room to spare, nothing scrolls.
        QVERIFY2(body->verticalScrollBar()->maximum() == 0, "the page scrolls");
        for (QTableWidget* grid : grids(page))
            QVERIFY2(grid->horizontalScrollBar()->maximum() == 0, qPrintable(grid->objectName() + " scrolls"));
    }
}

void TestWorkPagesFit::aPageRestoredAfterTheAreaShrankLiesInside_data() {
    QTest::addColumn<Page>("page");
    QTest::addColumn<Qt::WindowState>("state");
    QTest::addRow("Setup maximised") << kSetup << Qt::WindowMaximized;
    QTest::addRow("Setup minimised") << kSetup << Qt::WindowMinimized;
    QTest::addRow("Archive maximised") << kArchive << Qt::WindowMaximized;
    QTest::addRow("Archive minimised") << kArchive << Qt::WindowMinimized;
}

// A page maximised or minimised while the main window shrinks goes back to
// its normal size inside the smaller area, not where the larger one had room.
void TestWorkPagesFit::aPageRestoredAfterTheAreaShrankLiesInside() {
    QFETCH(Page, page);
    QFETCH(Qt::WindowState, state);
    main()->resize(kRoomy);
    QApplication::processEvents();
    open(page);
    QApplication::processEvents();
    auto* frame = static_cast<QMdiSubWindow*>(pageWindow(page)->parentWidget());
    const QSize roomy = main()->mdiArea()->viewport()->size();
    frame->move(roomy.width() - frame->width(), roomy.height() - frame->height());  // the user drags it to a corner
    QApplication::processEvents();

    frame->setWindowState(state);
    QApplication::processEvents();
    main()->resize(main()->minimumSize());
    QApplication::processEvents();
    frame->setWindowState(Qt::WindowNoState);
    QApplication::processEvents();

    const QRect area(QPoint(0, 0), main()->mdiArea()->viewport()->size());
    QVERIFY2(area.contains(frame->geometry()), "the restored page runs past the client area");
}

QTEST_MAIN(TestWorkPagesFit)
#include "tst_WorkPagesFitTheArea.moc"
