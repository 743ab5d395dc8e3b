// On a real X server with the desktop's fonts: every window of the program,
// and every box and hint it shows, shows its whole text. A label, button,
// grid heading or cell whose text needs more room than it has fails the
// test, at the main window's smallest size and with room to spare.
#include <QApplication>
#include <QMdiSubWindow>
#include <QTableWidget>
#include <QToolButton>
#include <QtTest>

#include "editor/qt/frm3NewWindow.h"
#include "exchange/qt/frm4ImportWindow.h"
#include "exchange/qt/frm5ExportWindow.h"
#include "manage/qt/frm2ManageWindow.h"
#include "manage/qt/frm6ArchiveWindow.h"
#include "melt/qt/frm7MeltWindow.h"
#include "platform/qt/QtBoxes.h"
#include "shell/AMain.h"
#include "shell/CNewMsg.h"
#include "shell/qt/frm1SetupWindow.h"
#include "shell/qt/frmGlassesList.h"
#include "shell/qt/frmMainMDI.h"
#include "support/qt/CutTexts.h"
#include "support/qt/DemoProgram.h"
#include "support/qt/ModalAnswerer.h"

namespace {

enum Page { kSetup, kEditor, kManage, kImport, kExport, kArchive, kMelt };

}  // namespace

Q_DECLARE_METATYPE(Page)

class TestWholeTexts : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanupTestCase();
    void cleanup();
    void aPageShowsItsWholeText_data();
    void aPageShowsItsWholeText();

private:
    frmMainMDI* main() const { return m_run.main(); }
    QWidget* pageWindow(Page page) const;
    void open(Page page);

    QtBoxes m_boxes;
    DemoRun m_run;  // after the boxes, which outlive the program
};

void TestWholeTexts::initTestCase() {
    QVERIFY2(QGuiApplication::platformName() == QStringLiteral("xcb"), "this test runs on an X server");
    std::string error;
    QVERIFY2(m_run.make(error), error.c_str());
    m_run.settings().set(kNewMsgSection, kMeltHintKey, "-1");
    m_run.start(m_boxes);
    QVERIFY(QTest::qWaitForWindowExposed(main()));
}

void TestWholeTexts::cleanupTestCase() { m_run.stop(); }

void TestWholeTexts::cleanup() {
    for (Page page : {kSetup, kEditor, kManage, kImport, kExport, kArchive, kMelt}) {
        QWidget* frame = pageWindow(page)->parentWidget();
        if (frame->isVisible()) static_cast<QMdiSubWindow*>(frame)->close();
    }
}

QWidget* TestWholeTexts::pageWindow(Page page) const {
    switch (page) {
    case kSetup: return main()->setupWindow();
    case kEditor: return main()->editorWindow();
    case kManage: return main()->managePage()->window();
    case kImport: return main()->importPage()->window();
    case kExport: return main()->exportPage()->window();
    case kArchive: return main()->archivePage()->window();
    case kMelt: return main()->meltPage()->window();
    }
    return nullptr;
}

void TestWholeTexts::open(Page page) {
    static const int ribbon[] = {kPageSetup, kPageNew, kPageManage, kPageImport, kPageExport, kPageArchive, kPageMelt};
    QToolButton* button = main()->ribbonButton(ribbon[page]);
    QVERIFY(button->isEnabled());
    QTest::mouseClick(button, Qt::LeftButton);
    QTRY_VERIFY(pageWindow(page)->parentWidget()->isVisible());
}

void TestWholeTexts::aPageShowsItsWholeText_data() {
    QTest::addColumn<Page>("page");
    QTest::addColumn<bool>("smallest");
    const std::pair<const char*, Page> pages[] = {{"Setup", kSetup},   {"editor", kEditor}, {"Manage", kManage},
                                                  {"Import", kImport}, {"Export", kExport}, {"Archive", kArchive},
                                                  {"melt maker", kMelt}};
    for (bool smallest : {true, false})
        for (const auto& [name, page] : pages)
            QTest::addRow("%s, %s", name, smallest ? "smallest" : "roomy") << page << smallest;
}

void TestWholeTexts::aPageShowsItsWholeText() {
    QFETCH(Page, page);
    QFETCH(bool, smallest);
    main()->resize(smallest ? main()->minimumSize() : QSize(1500, 900));
    QApplication::processEvents();
    open(page);
    QApplication::processEvents();
    QStringList cut = CutTexts(main());
    cut << CutTexts(main()->listWindow());
    if (page == kEditor) {
        QTabWidget* tabs = main()->editorWindow()->tabs();
        for (int t = 1; t < tabs->count(); ++t) {
            tabs->setCurrentIndex(t);
            QApplication::processEvents();
            cut << CutTexts(tabs->currentWidget());
        }
    }
    cut.removeDuplicates();
    QVERIFY2(cut.isEmpty(), qPrintable(cut.join(QLatin1Char('\n'))));
}

QTEST_MAIN(TestWholeTexts)
#include "x11_WholeTexts.moc"
