// The delete dialog's window, opened as the Manage page opens it: the selected
// rows checked, one more checked with the keyboard, Delete.
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QtTest>

#include "manage/ManageFixtures.h"
#include "manage/qt/frmGlassesDelWindow.h"
#include "manage/qt/DialogDriver.h"

class TestGlassesDelWindow : public QObject {
    Q_OBJECT
private slots:
    void deleteByCheckList();
};

void TestGlassesDelWindow::deleteByCheckList() {
    std::vector<GlassRecord> pageArray = {Material("A"), Material("B"), Material("C"), Material("D")};
    int setGlasses = 0;
    frmGlassesDel dialog([&](const std::vector<GlassRecord>& kept) {
        pageArray = kept;
        ++setGlasses;
    });
    frmGlassesDelWindow window(dialog);
    QStringList texts;
    QList<Qt::CheckState> states;
    DialogDriver driver(&window, [&] {
        QListWidget* list = window.listWidget();
        for (int i = 0; i < list->count(); ++i) {
            texts << list->item(i)->text();
            states << list->item(i)->checkState();
        }
        list->setFocus();
        list->setCurrentRow(3);
        QTest::keyClick(list, Qt::Key_Space);  // D too
        QTest::mouseClick(window.actionButton(), Qt::LeftButton);
    });
    QVERIFY(dialog.Display(pageArray, 2, 3));
    QVERIFY(driver.acted());
    QVERIFY(!driver.timedOut());
    QVERIFY(!window.isVisible());
    QCOMPARE(window.windowTitle(), QStringLiteral("Materials to delete"));
    QCOMPARE(window.label()->text(), QStringLiteral("Select materials to be deleted from the Kalvenor database:"));
    QCOMPARE(window.actionButton()->text(), QStringLiteral("&Delete"));
    QCOMPARE(texts, (QStringList{"A/Mine", "B/Mine", "C/Mine", "D/Mine"}));
    QCOMPARE(states, (QList<Qt::CheckState>{Qt::Unchecked, Qt::Checked, Qt::Checked, Qt::Unchecked}));
    QCOMPARE(setGlasses, 1);
    QCOMPARE(pageArray.size(), std::size_t(1));
    QCOMPARE(pageArray[0].definition.name.str(), std::string("A"));

    // Escape closes it and deletes nothing.
    DialogDriver escape(&window, [&] { QTest::keyClick(&window, Qt::Key_Escape); });
    QVERIFY(!dialog.Display(pageArray, 1, 1));
    QVERIFY(escape.acted());
    QCOMPARE(setGlasses, 1);
}

QTEST_MAIN(TestGlassesDelWindow)
#include "tst_frmGlassesDelWindow.moc"
