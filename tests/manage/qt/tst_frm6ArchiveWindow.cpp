// The Archive page in the running program, on the demo's catalogue database:
// opened by its ribbon button, a glass archived and restored by clicking its
// row, everything archived but the protected glasses, and the page refused
// while another connection holds the database.
#include <QComboBox>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QTableWidget>
#include <QToolButton>
#include <QtTest>
#include <deque>
#include <memory>

#include "manage/ManageFixtures.h"
#include "manage/qt/frm6ArchiveWindow.h"
#include "shell/AMain.h"
#include "app/qt/KalvenorProgram.h"
#include "shell/qt/frmMainMDI.h"
#include "support/qt/DemoProgram.h"
#include "support/qt/QueueBoxes.h"

namespace {

using Names = std::vector<std::string>;

}  // namespace

class TestArchiveWindow : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanupTestCase();
    void archiveAndRestoreThroughTheRibbon();
    void aDatabaseHeldByAnotherConnectionKeepsThePageShut();

private:
    frmMainMDI* main() const { return m_run.main(); }
    frm6ArchiveWindow* page() const { return main()->archivePage()->window(); }
    std::string dbPath() const { return m_run.demo().catalogue + kCatalogueFileName; }
    Names table(const char* name) {
        RawConnection raw(dbPath());
        Names out;
        for (const auto& r : raw.rows(std::string("SELECT GlassName FROM ") + name + " ORDER BY rowid")) out.push_back(r[0]);
        return out;
    }
    static Names column(QTableWidget* t, int col) {
        Names out;
        for (int r = 0; r < t->rowCount(); ++r) out.push_back(t->item(r, col)->text().toStdString());
        return out;
    }
    static void clickRow(QTableWidget* t, int row) {
        const QPoint at = t->visualRect(t->model()->index(row, 1)).center();
        QTest::mouseClick(t->viewport(), Qt::LeftButton, Qt::NoModifier, at);
    }
    void pressArchiveButton() { QTest::mouseClick(main()->ribbonButton(kPageArchive), Qt::LeftButton); }

    QueueBoxes m_boxes;
    DemoRun m_run;  // after the boxes, which outlive the program
};

void TestArchiveWindow::initTestCase() {
    std::string error;
    QVERIFY2(m_run.make(error), error.c_str());
    {
        CatalogueDatabase db;
        QVERIFY(db.open(m_run.demo().catalogue));
        // The test's own glasses in place of the demo's parent glasses.
        int removed = 0;
        QVERIFY(db.deleteRows(kGlassDataTable, {}, removed));
        const std::pair<const char*, const char*> glasses[] = {
            {"N-BK7", "R"}, {"K7", "A"}, {"N-SF6", "R"}, {"F2", "O"}, {"N-LAK22", "E"}};
        std::int64_t id = 1;
        for (const auto& [name, status] : glasses)
            QVERIFY(db.addRow(kGlassDataTable, {{"GlassID", id++}, {"s1", std::int64_t{0}}, {"GlassName", name},
                                                {"Source", "Schott"}, {"Status", status}}));
    }
    m_run.start(m_boxes);
    QVERIFY(QTest::qWaitForWindowExposed(main()));
}

void TestArchiveWindow::cleanupTestCase() {
    m_run.stop();
}

void TestArchiveWindow::archiveAndRestoreThroughTheRibbon() {
    QVERIFY(main()->ribbonButton(kPageArchive)->isEnabled());
    pressArchiveButton();
    QCOMPARE(m_run.program().app().forms().CurrentPage(), int(kPageArchive));
    QVERIFY(page()->isVisible());
    QVERIFY(qobject_cast<QMdiSubWindow*>(page()->parentWidget())->isVisible());
    QCOMPARE(page()->windowTitle(), QStringLiteral("Vitrarch materials"));
    QCOMPARE(column(page()->currentTable(), 1), (Names{"N-BK7", "K7", "N-SF6", "F2", "N-LAK22"}));
    QCOMPARE(column(page()->currentTable(), 4), (Names{"  Recommended", "  Available?", "  Recommended", "  Obsolete", "  Eco"}));
    QCOMPARE(page()->archiveTable()->rowCount(), 0);
    QVERIFY(!page()->restoreButton()->isEnabled());

    // One glass: its row clicked, then Archive.
    clickRow(page()->currentTable(), 2);
    QTest::mouseClick(page()->archiveButton(), Qt::LeftButton);
    QCOMPARE(table(kArchiveTable), Names{"N-SF6"});
    QCOMPARE(column(page()->archiveTable(), 1), Names{"N-SF6"});
    QVERIFY(page()->restoreButton()->isEnabled());

    // Every row: asked first; K7 and F2 stay.
    page()->currentTable()->selectAll();
    m_boxes.answers.push_back(kAnswerOk);
    QTest::mouseClick(page()->archiveButton(), Qt::LeftButton);
    QCOMPARE(m_boxes.shown.back(), std::string("Are you really sure that you want to archive ALL the glasses in Vitrarch?"));
    QCOMPARE(table(kGlassDataTable), (Names{"K7", "F2"}));
    QCOMPARE(column(page()->archiveTable(), 1), (Names{"N-SF6", "N-BK7", "N-LAK22"}));

    // No order shown until one is chosen; sorted by ID, a restored glass takes its place by ID.
    QCOMPARE(page()->sortOrder()->currentIndex(), -1);
    page()->sortOrder()->setFocus();
    QTest::keyClick(page()->sortOrder(), Qt::Key_Down);
    QCOMPARE(page()->sortOrder()->currentText(), QStringLiteral("Sort by ID"));
    QCOMPARE(column(page()->archiveTable(), 1), (Names{"N-BK7", "N-SF6", "N-LAK22"}));
    clickRow(page()->archiveTable(), 0);
    QTest::mouseClick(page()->restoreButton(), Qt::LeftButton);
    QCOMPARE(table(kGlassDataTable), (Names{"K7", "F2", "N-BK7"}));
    QCOMPARE(column(page()->currentTable(), 1), (Names{"N-BK7", "K7", "F2"}));

    // Sorted by material, then one restored.
    QTest::keyClick(page()->sortOrder(), Qt::Key_Down);
    QCOMPARE(page()->sortOrder()->currentIndex(), 1);
    QCOMPARE(column(page()->archiveTable(), 1), (Names{"N-LAK22", "N-SF6"}));
    clickRow(page()->archiveTable(), 0);
    QTest::mouseClick(page()->restoreButton(), Qt::LeftButton);
    QCOMPARE(table(kGlassDataTable), (Names{"K7", "F2", "N-BK7", "N-LAK22"}));
    QCOMPARE(column(page()->currentTable(), 1), (Names{"F2", "K7", "N-BK7", "N-LAK22"}));

    QTest::mouseClick(page()->closeButton(), Qt::LeftButton);
    QTRY_VERIFY(!page()->isVisible());
    QCOMPARE(m_run.program().app().forms().CurrentPage(), int(kPageNone));
    QVERIFY(!main()->ribbonButton(kPageArchive)->isChecked());
    QCOMPARE(m_boxes.shown.size(), std::size_t(1));
}

void TestArchiveWindow::aDatabaseHeldByAnotherConnectionKeepsThePageShut() {
    m_boxes.shown.clear();
    RawConnection other(dbPath());
    QVERIFY(other.exec("BEGIN IMMEDIATE; UPDATE GlassData SET Source = 'Busy';"));
    m_boxes.answers.push_back(kAnswerOk);
    pressArchiveButton();
    QCOMPARE(m_boxes.shown,
             Names{"The database file 'TessaralExA.MDB' is already open.  Please close Vitrarch, and try again"});
    QVERIFY(!page()->isVisible());
    QCOMPARE(m_run.program().app().forms().CurrentPage(), int(kPageNone));
    QVERIFY(!main()->ribbonButton(kPageArchive)->isChecked());
    QVERIFY(other.exec("ROLLBACK"));
    // Free again: the page opens.
    pressArchiveButton();
    QVERIFY(page()->isVisible());
    QTest::mouseClick(page()->closeButton(), Qt::LeftButton);
    QTRY_VERIFY(!page()->isVisible());
}

QTEST_MAIN(TestArchiveWindow)
#include "tst_frm6ArchiveWindow.moc"
