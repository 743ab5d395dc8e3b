// The Export page in the running program, on the demo: one row backed up
// through the page's save dialog, then the whole collection; both files are
// read back.
#include <QMdiSubWindow>
#include <QPushButton>
#include <QTableWidget>
#include <QToolButton>
#include <QtTest>
#include <memory>

#include "exchange/CImportNewGLZ.h"
#include "exchange/qt/frm5ExportWindow.h"
#include "shell/AMain.h"
#include "app/qt/KalvenorProgram.h"
#include "shell/qt/frmMainMDI.h"
#include "support/qt/DemoProgram.h"
#include "support/qt/ModalAnswerer.h"
#include "support/qt/QueueBoxes.h"

namespace {

using Names = std::vector<std::string>;

}  // namespace

class TestExportWindow : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanupTestCase();
    void backUpOneRowThenEverything();

private:
    frmMainMDI* main() const { return m_run.main(); }
    frm5ExportWindow* page() const { return main()->exportPage()->window(); }
    QString file(const char* name) const { return m_run.folder() + QLatin1Char('/') + QLatin1String(name); }
    Names namesIn(const QString& path) {
        CImportNewGLZ reader(m_boxes);
        std::vector<GlassRecord> glasses;
        int count = 0;
        if (!reader.ImportFile(path.toStdString(), glasses, count)) return {"unreadable"};
        Names out;
        for (const auto& g : glasses) out.push_back(g.definition.name.str());
        return out;
    }

    QueueBoxes m_boxes;
    DemoRun m_run;  // after the boxes, which outlive the program
};

void TestExportWindow::initTestCase() {
    std::string error;
    QVERIFY2(m_run.make(error), error.c_str());
    m_run.start(m_boxes);
    QVERIFY(QTest::qWaitForWindowExposed(main()));
}

void TestExportWindow::cleanupTestCase() {
    m_run.stop();
}

void TestExportWindow::backUpOneRowThenEverything() {
    QVERIFY(main()->ribbonButton(kPageExport)->isEnabled());
    QTest::mouseClick(main()->ribbonButton(kPageExport), Qt::LeftButton);
    QCOMPARE(m_run.program().app().forms().CurrentPage(), int(kPageExport));
    QVERIFY(page()->isVisible());
    QCOMPARE(page()->windowTitle(), QStringLiteral("Backup material data"));
    QTableWidget* t = page()->table();
    QCOMPARE(t->rowCount(), 5);
    QCOMPARE(t->item(1, 0)->text(), QStringLiteral("N-BAF10"));
    QVERIFY(t->isColumnHidden(kExportIndexCol - 1));

    // N-BAF10 alone.
    QTest::mouseClick(t->viewport(), Qt::LeftButton, Qt::NoModifier, t->visualRect(t->model()->index(1, 1)).center());
    ModalAnswerer answerer;
    answerer.chooseFile(file("one.GLZ"));
    QTest::mouseClick(page()->exportSelectedButton(), Qt::LeftButton);
    QTRY_VERIFY(answerer.done());
    QCOMPARE(answerer.seen().back().title, QStringLiteral("Exporting selected glass data to text file"));
    QCOMPARE(namesIn(file("one.GLZ")), Names{"N-BAF10"});

    answerer.chooseFile(file("all.GLZ"));
    QTest::mouseClick(page()->exportAllButton(), Qt::LeftButton);
    QTRY_VERIFY(answerer.done());
    QCOMPARE(answerer.seen().back().title, QStringLiteral("Exporting all glass data to text file"));
    QCOMPARE(namesIn(file("all.GLZ")), (Names{"N-BK7", "N-BAF10", "N-F2", "N-SF6", "N-SF11"}));
    QVERIFY(m_boxes.shown.empty());
    QCOMPARE(answerer.unscripted(), 0);

    QTest::mouseClick(page()->closeButton(), Qt::LeftButton);
    QTRY_VERIFY(!page()->isVisible());
    QCOMPARE(m_run.program().app().forms().CurrentPage(), int(kPageNone));
}

QTEST_MAIN(TestExportWindow)
#include "tst_frm5ExportWindow.moc"
