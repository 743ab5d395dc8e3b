// The Manage page in the running program, on the demo: opened by its ribbon
// button, two rows selected with the mouse and delivered to the demo's design
// folders and catalogue database, then removed again through the remove
// dialog; sorting by source through the window.
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QToolButton>
#include <QtTest>
#include <deque>
#include <memory>

#include "manage/DesignFileOutput.h"
#include "manage/ManageFixtures.h"
#include "manage/qt/DialogDriver.h"
#include "manage/qt/frm2ManageWindow.h"
#include "manage/qt/frmGlassesDelExtWindow.h"
#include "shell/AMain.h"
#include "app/qt/KalvenorProgram.h"
#include "shell/qt/frmMainMDI.h"
#include "support/qt/DemoProgram.h"
#include "support/qt/QueueBoxes.h"

namespace {

using Names = std::vector<std::string>;

}  // namespace

class TestManageWindow : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanupTestCase();
    void deliverTwoMaterialsAndRemoveThemAgain();
    void sortBySourceThroughTheWindow();

private:
    frmMainMDI* main() const { return m_run.main(); }
    frm2ManageWindow* page() const { return main()->managePage()->window(); }
    std::string dbPath() const { return m_run.demo().catalogue + kCatalogueFileName; }
    Names ownRows() {
        RawConnection raw(dbPath());
        Names out;
        for (const auto& r : raw.rows("SELECT GlassName FROM GlassData WHERE s1 = 8 ORDER BY rowid")) out.push_back(r[0]);
        for (const auto& r : raw.rows("SELECT GlassName FROM Archive WHERE s1 = 8 ORDER BY rowid")) out.push_back(r[0]);
        return out;
    }
    static Names designNames(const std::string& folder) {
        Names out;
        const auto list = ReadDesignFile(folder);
        if (!list) return {"unreadable"};
        for (const auto& g : *list) out.push_back(g.definition.name.str());
        return out;
    }
    static Names column(QTableWidget* t, int col) {
        Names out;
        for (int r = 0; r < t->rowCount(); ++r) out.push_back(t->item(r, col)->text().toStdString());
        return out;
    }
    static void clickRow(QTableWidget* t, int row, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        const QPoint at = t->visualRect(t->model()->index(row, 1)).center();
        QTest::mouseClick(t->viewport(), Qt::LeftButton, modifiers, at);
    }
    // Opens the remove dialog; in it, the target chosen and every item checked, then Remove.
    void removeEverything(int target) {
        frmGlassesDelExtWindow* dialog = main()->managePage()->removeWindow();
        Names listed;
        DialogDriver driver(dialog, [&] {
            if (target == 1) QTest::mouseClick(dialog->option(1), Qt::LeftButton);
            QListWidget* list = dialog->listWidget();
            for (int i = 0; i < list->count(); ++i) {
                listed.push_back(list->item(i)->text().toStdString());
                list->item(i)->setCheckState(Qt::Checked);
            }
            QTest::mouseClick(dialog->actionButton(), Qt::LeftButton);
        });
        QTest::mouseClick(page()->removeButton(), Qt::LeftButton);
        QVERIFY(driver.acted());
        QVERIFY(!driver.timedOut());
        QCOMPARE(listed, (Names{"N-BAF10/SCHOTT", "N-F2/SCHOTT"}));
    }

    QueueBoxes m_boxes;
    DemoRun m_run;  // after the boxes, which outlive the program
};

void TestManageWindow::initTestCase() {
    std::string error;
    QVERIFY2(m_run.make(error), error.c_str());
    m_run.start(m_boxes);
    QVERIFY(QTest::qWaitForWindowExposed(main()));
}

void TestManageWindow::cleanupTestCase() {
    m_run.stop();
}

void TestManageWindow::deliverTwoMaterialsAndRemoveThemAgain() {
    QVERIFY(main()->ribbonButton(kPageManage)->isEnabled());
    QTest::mouseClick(main()->ribbonButton(kPageManage), Qt::LeftButton);
    QCOMPARE(m_run.program().app().forms().CurrentPage(), int(kPageManage));
    QVERIFY(page()->isVisible());
    QVERIFY(qobject_cast<QMdiSubWindow*>(page()->parentWidget())->isVisible());
    QCOMPARE(page()->windowTitle(), QStringLiteral("Manage materials in Kalvenor database"));
    QTableWidget* t = page()->table();
    QCOMPARE(column(t, 0), (Names{"N-BK7", "N-BAF10", "N-F2", "N-SF6", "N-SF11"}));
    QCOMPARE(column(t, 5), (Names{"OK", "OK", "OK", "OK", "OK"}));
    QVERIFY(t->isColumnHidden(kManageIndexCol - 1));
    QCOMPARE(page()->updateProg()->currentText(), QStringLiteral("Lumivar3D/Tol & VitrarchQX"));
    // Every visible column shows its whole text and heading.
    for (int c = 0; c < kManageCols - 1; ++c) {
        const QString heading = t->horizontalHeaderItem(c)->text();
        QVERIFY2(t->horizontalHeader()->fontMetrics().horizontalAdvance(heading) < t->columnWidth(c), qPrintable(heading));
        for (int r = 0; r < t->rowCount(); ++r)
            QVERIFY2(t->fontMetrics().horizontalAdvance(t->item(r, c)->text()) < t->columnWidth(c),
                     qPrintable(t->item(r, c)->text()));
    }

    // N-BAF10 and N-F2: one clicked, the other Shift-clicked.
    clickRow(t, 1);
    clickRow(t, 2, Qt::ShiftModifier);
    m_boxes.answers.push_back(kAnswerOk);
    QTest::mouseClick(page()->addSelectedButton(), Qt::LeftButton);
    QCOMPARE(m_boxes.shown, (Names{"Are you sure that you want to export the selected material[s] to "
                                   "Lumivar3D/Tol & Vitrarch"}));
    QCOMPARE(designNames(m_run.demo().design3D), (Names{"N-BAF10", "N-F2"}));
    QCOMPARE(designNames(m_run.demo().tolerancer), (Names{"N-BAF10", "N-F2"}));
    QCOMPARE(ownRows(), (Names{"N-BAF10", "N-F2"}));
    QCOMPARE(main()->helpLine()->text(), QString());

    // Out of the design programs' files, then out of the catalogue.
    removeEverything(0);
    QVERIFY(!QFile::exists(QString::fromStdString(m_run.demo().design3D + kDesignFileName)));
    QVERIFY(!QFile::exists(QString::fromStdString(m_run.demo().tolerancer + kDesignFileName)));
    QVERIFY(QFile::exists(QString::fromStdString(m_run.demo().design3D + kDesignBackupName)));
    removeEverything(1);
    QCOMPARE(ownRows(), Names{});
    QCOMPARE(m_boxes.shown.size(), std::size_t(1));
    QVERIFY(m_boxes.unexpected.empty());

    QTest::mouseClick(page()->closeButton(), Qt::LeftButton);
    QTRY_VERIFY(!page()->isVisible());
    QCOMPARE(m_run.program().app().forms().CurrentPage(), int(kPageNone));
    QVERIFY(!main()->ribbonButton(kPageManage)->isChecked());
}

void TestManageWindow::sortBySourceThroughTheWindow() {
    m_boxes.shown.clear();
    QTest::mouseClick(main()->ribbonButton(kPageManage), Qt::LeftButton);
    QVERIFY(page()->isVisible());
    m_boxes.answers.push_back(kAnswerNo);  // by source, then by glass
    QTest::mouseClick(page()->sortButton(), Qt::LeftButton);
    QCOMPARE(column(page()->table(), 0), (Names{"N-BAF10", "N-BK7", "N-F2", "N-SF11", "N-SF6"}));
    QCOMPARE(column(page()->table(), 6), (Names{"1", "2", "3", "4", "5"}));
    Names collection;
    for (const auto& g : m_run.program().app().store().GetGlasses()) collection.push_back(g.definition.name.str());
    QCOMPARE(collection, column(page()->table(), 0));
    QTest::mouseClick(page()->closeButton(), Qt::LeftButton);
    QTRY_VERIFY(!page()->isVisible());
}

QTEST_MAIN(TestManageWindow)
#include "tst_frm2ManageWindow.moc"
