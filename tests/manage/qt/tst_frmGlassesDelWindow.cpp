// The delete dialog's window, opened as the Manage page opens it: the selected
// rows checked, one more checked with the keyboard, Delete. A click on an
// item, on its box or on its text, turns its check over once.
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QStyleOptionViewItem>
#include <QtTest>

#include "manage/ManageFixtures.h"
#include "manage/qt/frmGlassesDelWindow.h"
#include "manage/qt/DialogDriver.h"

class TestGlassesDelWindow : public QObject {
    Q_OBJECT
private slots:
    void deleteByCheckList();
    void aClickOnAnItemTurnsItsCheckOver();
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

void TestGlassesDelWindow::aClickOnAnItemTurnsItsCheckOver() {
    std::vector<GlassRecord> pageArray = {Material("A"), Material("B"), Material("C")};
    frmGlassesDel dialog([&](const std::vector<GlassRecord>& kept) { pageArray = kept; });
    frmGlassesDelWindow window(dialog);
    QList<QList<Qt::CheckState>> seen;
    DialogDriver driver(&window, [&] {
        QListWidget* list = window.listWidget();
        auto states = [&] {
            QList<Qt::CheckState> out;
            for (int i = 0; i < list->count(); ++i) out << list->item(i)->checkState();
            return out;
        };
        auto clickText = [&](int row) {
            const QRect r = list->visualItemRect(list->item(row));
            QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::NoModifier, QPoint(r.right() - 20, r.center().y()));
        };
        auto clickBox = [&](int row) {
            QStyleOptionViewItem option;
            option.initFrom(list);
            option.rect = list->visualItemRect(list->item(row));
            option.features = QStyleOptionViewItem::HasCheckIndicator | QStyleOptionViewItem::HasDisplay;
            const QRect box = list->style()->subElementRect(QStyle::SE_ItemViewItemCheckIndicator, &option, list);
            QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::NoModifier, box.center());
        };
        clickText(1);
        seen << states();
        clickText(1);
        seen << states();
        clickBox(0);
        clickText(2);
        seen << states();
        QTest::mouseClick(window.actionButton(), Qt::LeftButton);
    });
    QVERIFY(dialog.Display(pageArray, 0, 0));
    QVERIFY(driver.acted());
    QVERIFY(!driver.timedOut());
    using S = QList<Qt::CheckState>;
    QCOMPARE(seen, (QList<S>{S{Qt::Unchecked, Qt::Checked, Qt::Unchecked}, S{Qt::Unchecked, Qt::Unchecked, Qt::Unchecked},
                             S{Qt::Checked, Qt::Unchecked, Qt::Checked}}));
    QCOMPARE(pageArray.size(), std::size_t(1));
    QCOMPARE(pageArray[0].definition.name.str(), std::string("B"));
}

QTEST_MAIN(TestGlassesDelWindow)
#include "tst_frmGlassesDelWindow.moc"
