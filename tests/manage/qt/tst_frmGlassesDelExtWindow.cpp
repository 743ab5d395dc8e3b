// The remove dialog's window over temporary sibling folders: it opens on the
// design file's materials; choosing the catalogue lists its own rows, and
// one checked row is removed from the database. Choosing the target already
// chosen keeps the list as the user has checked it.
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QtTest>
#include <filesystem>
#include <fstream>
#include <memory>

#include "manage/ManageFixtures.h"
#include "manage/DesignFileOutput.h"
#include "manage/qt/DialogDriver.h"
#include "manage/qt/frmGlassesDelExtWindow.h"
#include "platform/qt/QtBoxes.h"
#include "shell/Bas1Setup.h"

namespace {

QStringList items(QListWidget* list) {
    QStringList out;
    for (int i = 0; i < list->count(); ++i) out << list->item(i)->text();
    return out;
}

}  // namespace

class TestGlassesDelExtWindow : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void removeFromTheCatalogueByCheckList();
    void choosingTheChosenTargetAgainKeepsTheChecks();

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    std::string m_lqp, m_vq;  // the 3D design program's folder and the catalogue program's
};

// Before each test: the 3D design program with a file of one material, and
// the catalogue program whose database holds two own rows.
void TestGlassesDelExtWindow::init() {
    m_dir = std::make_unique<QTemporaryDir>();
    const std::string root = m_dir->path().toStdString() + "/";
    m_lqp = root + "lqp/";
    m_vq = root + "vq/";
    std::filesystem::create_directories(m_lqp);
    std::filesystem::create_directories(m_vq);
    std::ofstream(m_lqp + "Lumivar3D.EXE") << "MZ";
    std::ofstream(m_vq + "VitrarchQX.EXE") << "MZ";
    ResetSetupPaths();
    QVERIFY(SetPathLQP(m_lqp) && SetPathVQ(m_vq));
    QtBoxes boxes;
    QVERIFY(WriteDesignFile(m_lqp, {Material("InFile")}, boxes));
    QVERIFY(CreateCatalogueDatabase(m_vq + kCatalogueFileName));
    {
        CatalogueDatabase db;
        QVERIFY(db.open(m_vq));
        for (std::int64_t id : {1, 2})
            QVERIFY(db.addRow(kGlassDataTable, {{"GlassID", id}, {"s1", std::int64_t{8}},
                                                {"GlassName", "Own" + std::to_string(id)}, {"Source", "Mine"}}));
    }
}

void TestGlassesDelExtWindow::cleanup() {
    ResetSetupPaths();
    m_dir.reset();
}

void TestGlassesDelExtWindow::removeFromTheCatalogueByCheckList() {
    QtBoxes boxes;
    frmGlassesDelExt dialog(boxes);
    frmGlassesDelExtWindow window(dialog);
    QStringList atOpening, catalogue;
    QString labelAtOpening, catalogueLabel;
    bool designChosen = false;
    DialogDriver driver(&window, [&] {
        atOpening = items(window.listWidget());
        labelAtOpening = window.label()->text();
        designChosen = window.option(0)->isChecked();
        QTest::mouseClick(window.option(1), Qt::LeftButton);
        catalogue = items(window.listWidget());
        catalogueLabel = window.label()->text();
        window.listWidget()->setFocus();
        window.listWidget()->setCurrentRow(1);
        QTest::keyClick(window.listWidget(), Qt::Key_Space);
        QTest::mouseClick(window.actionButton(), Qt::LeftButton);
    });
    dialog.Display();
    QVERIFY(driver.acted());
    QVERIFY(!driver.timedOut());
    QVERIFY(!window.isVisible());
    QCOMPARE(window.windowTitle(), QStringLiteral("Materials to remove"));
    QCOMPARE(window.option(1)->text(), QStringLiteral("VitrarchQX"));
    QCOMPARE(window.actionButton()->toolTip(), QStringLiteral("Remove selected glasses now"));
    QVERIFY(designChosen);
    QCOMPARE(atOpening, QStringList{"InFile/Mine"});
    QCOMPARE(labelAtOpening, QStringLiteral("Select materials to remove from external program database"));
    QCOMPARE(catalogue, (QStringList{"Own1/Mine", "Own2/Mine"}));
    QCOMPARE(catalogueLabel, QStringLiteral("Select materials to remove from VitrarchQX database"));
    QVERIFY(dialog.result());

    CatalogueDatabase db;
    QVERIFY(db.open(m_vq));
    DbRowSet rows;
    QVERIFY(db.findRows(kGlassDataTable, {}, rows));
    QCOMPARE(rows.rows.size(), std::size_t(1));
    QCOMPARE(std::get<std::string>(rows.value(0, "GlassName")), std::string("Own1"));
    QCOMPARE(ReadDesignFile(m_lqp)->size(), std::size_t(1));  // the design file is not touched
}

void TestGlassesDelExtWindow::choosingTheChosenTargetAgainKeepsTheChecks() {
    QtBoxes boxes;
    frmGlassesDelExt dialog(boxes);
    frmGlassesDelExtWindow window(dialog);
    QList<Qt::CheckState> designAfter, catalogueAfter;
    DialogDriver driver(&window, [&] {
        QListWidget* list = window.listWidget();
        auto checkFirst = [&] {
            list->setFocus();
            list->setCurrentRow(0);
            QTest::keyClick(list, Qt::Key_Space);
        };
        auto states = [&] {
            QList<Qt::CheckState> out;
            for (int i = 0; i < list->count(); ++i) out << list->item(i)->checkState();
            return out;
        };
        checkFirst();
        QTest::mouseClick(window.option(0), Qt::LeftButton);
        designAfter = states();
        QTest::mouseClick(window.option(1), Qt::LeftButton);
        checkFirst();
        QTest::mouseClick(window.option(1), Qt::LeftButton);
        catalogueAfter = states();
        QTest::mouseClick(window.cancelButton(), Qt::LeftButton);
    });
    dialog.Display();
    QVERIFY(driver.acted());
    QVERIFY(!driver.timedOut());
    QCOMPARE(designAfter, QList<Qt::CheckState>{Qt::Checked});
    QCOMPARE(catalogueAfter, (QList<Qt::CheckState>{Qt::Checked, Qt::Unchecked}));
    QCOMPARE(dialog.mode(), int(kRemoveFromCatalogue));
    QVERIFY(!dialog.result());
}

QTEST_MAIN(TestGlassesDelExtWindow)
#include "tst_frmGlassesDelExtWindow.moc"
