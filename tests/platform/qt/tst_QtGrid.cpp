// The grid over QTableWidget, driven as the user drives it.
#include <QClipboard>
#include <QHeaderView>
#include <QLineEdit>
#include <QtTest>

#include "platform/qt/QtColour.h"
#include "platform/qt/QtGrid.h"
#include "platform/qt/QtText.h"
#include "support/qt/GridTyping.h"

class TestQtGrid : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void blockTextWithTabsAndLineBreaks();
    void sortMovesRowsWithTheirColours();
    void selectionBlocksInTheOrderSelected();
    void programWritesRaiseNoChangeButTypingDoes();
    void pasteAndLocksAndWidths();
    void hitTestAndRightClickOnHeadings();
    void wholeListRefillShowsEveryCellAsStored();
    void aColumnFitsItsTextsAsTheyChange();
    void aWidthTheUserDragsStays();

private:
    QPoint centre(int col, int row) const {
        return m_grid->widget()->visualItemRect(m_grid->widget()->item(row - 1, col - 1)).center();
    }
    void click(int col, int row, Qt::KeyboardModifiers mods = Qt::NoModifier) {
        QTest::mouseClick(m_grid->widget()->viewport(), Qt::LeftButton, mods, centre(col, row));
    }
    QTableWidget* table() const { return m_grid->widget(); }

    std::unique_ptr<QtGrid> m_grid;
    std::vector<GridCell> m_changes;
};

void TestQtGrid::init() {
    m_grid = std::make_unique<QtGrid>();
    m_grid->setMaxCols(3);
    m_grid->setMaxRows(6);
    m_changes.clear();
    m_grid->events().changed = [this](int c, int r) { m_changes.push_back({c, r}); };
    table()->resize(500, 400);
    table()->show();
    QVERIFY(QTest::qWaitForWindowExposed(table()));
}

void TestQtGrid::cleanup() { m_grid.reset(); }

void TestQtGrid::blockTextWithTabsAndLineBreaks() {
    m_grid->setBlockText(GridBlock::range(1, 0, 3, 0), "Glass\tSource\t");
    m_grid->setBlockText(GridBlock::all(), "N-BK7\tSch\xF6tt\t1.5\r\nF2\tHoya\nLF only\r\n");
    QCOMPARE(table()->item(0, 1)->text(), QStringLiteral("Sch\u00F6tt"));
    QCOMPARE(table()->item(1, 1)->text(), QStringLiteral("Hoya"));
    QCOMPARE(table()->item(2, 0)->text(), QStringLiteral("LF only"));
    QCOMPARE(table()->horizontalHeaderItem(0)->text(), QStringLiteral("Glass"));
    QVERIFY(table()->horizontalHeaderItem(2) == nullptr);  // an empty heading shows the column's number
    QCOMPARE(m_grid->blockText(GridBlock::rows(1, 2)),
             std::string("N-BK7\tSch\xF6tt\t1.5\r\nF2\tHoya\t\r\n"));
    m_grid->setCellType(GridBlock::columns(3, 3), CellType::number(4, 0, 0));
    QCOMPARE(table()->item(0, 2)->text(), QStringLiteral("1.5000"));
    QVERIFY(table()->item(0, 2)->textAlignment() & Qt::AlignRight);
    QVERIFY(m_changes.empty());
}

void TestQtGrid::sortMovesRowsWithTheirColours() {
    m_grid->setBlockText(GridBlock::all(), "b\t12\r\nA\t100\r\nc\t9.5\r\n\t1\r\na\t7\r\nB\t7\r\n");
    m_grid->setBackColour(GridBlock::cell(1, 2), 0x80FFFF);
    m_grid->sort(GridBlock::all(), {{1, true}, {2, false}});
    QStringList order;
    for (int r = 0; r < 6; ++r) order << table()->item(r, 1)->text();
    QCOMPARE(order, (QStringList{"100", "7", "12", "7", "9.5", "1"}));  // A a b B c, then the empty name
    QCOMPARE(table()->item(0, 0)->background().color(), ToQColor(0x80FFFF));
    QCOMPARE(m_grid->backColour(1, 1), Colour(0x80FFFF));
    m_grid->sort(GridBlock::all(), {{2, true}});
    QCOMPARE(table()->item(0, 1)->text(), QStringLiteral("1"));
    QCOMPARE(table()->item(5, 1)->text(), QStringLiteral("100"));
    QVERIFY(m_changes.empty());
}

void TestQtGrid::selectionBlocksInTheOrderSelected() {
    click(1, 5);
    click(1, 2, Qt::ControlModifier);
    click(2, 4, Qt::ControlModifier | Qt::ShiftModifier);
    const std::vector<RowSpan> blocks = m_grid->selectedBlocks();
    QCOMPARE(blocks.size(), std::size_t(2));
    QCOMPARE(blocks[0], (RowSpan{5, 5}));
    QCOMPARE(blocks[1], (RowSpan{2, 4}));
    QCOMPARE(m_grid->selectedBlock(), std::optional<RowSpan>(RowSpan{2, 4}));
    QCOMPARE(m_grid->activeRow(), 4);
    m_grid->clearSelection();
    QVERIFY(m_grid->selectedBlocks().empty());
    // A whole column, chosen on its heading, is a block of all rows.
    QHeaderView* top = table()->horizontalHeader();
    QTest::mouseClick(top->viewport(), Qt::LeftButton, Qt::NoModifier,
                      QPoint(top->sectionViewportPosition(1) + 5, top->height() / 2));
    QCOMPARE(m_grid->selectedBlock(), std::optional<RowSpan>(RowSpan{-1, -1}));
    // Setting the active cell selects nothing.
    m_grid->clearSelection();
    m_grid->setActiveCell(3, 6);
    QCOMPARE(m_grid->activeCol(), 3);
    QCOMPARE(m_grid->activeRow(), 6);
    QVERIFY(m_grid->selectedBlocks().empty());
}

void TestQtGrid::programWritesRaiseNoChangeButTypingDoes() {
    m_grid->setCellType(GridBlock::columns(1, 1), CellType::number(2, 10, 30000));
    m_grid->setText(1, 1, "587.5618");
    m_grid->setBlockText(GridBlock::all(), "\tx\ty\r\n");
    m_grid->clearText(GridBlock::cell(3, 1));
    m_grid->sort(GridBlock::all(), {{2, true}});
    QVERIFY(m_changes.empty());

    auto typeInto = [this](int col, int row, const QString& text) {
        table()->setCurrentCell(row - 1, col - 1);
        table()->editItem(table()->item(row - 1, col - 1));
        auto* edit = qobject_cast<QLineEdit*>(QApplication::focusWidget());
        QVERIFY(edit);
        edit->setText(text);
        QTest::keyClick(edit, Qt::Key_Return);
        QCoreApplication::processEvents();  // the view commits an edit ended by Enter from its queue
    };
    typeInto(1, 3, QStringLiteral("656.27"));
    QCOMPARE(m_changes, (std::vector<GridCell>{{1, 3}}));
    QCOMPARE(table()->item(2, 0)->text(), QStringLiteral("656.27"));
    typeInto(1, 3, QStringLiteral("5"));  // below the lower limit: refused, the old text stays
    QCOMPARE(m_changes.size(), std::size_t(1));
    QCOMPARE(table()->item(2, 0)->text(), QStringLiteral("656.27"));
    typeInto(2, 2, QStringLiteral("Sch\u00F6tt"));
    QCOMPARE(m_changes.back(), (GridCell{2, 2}));
    QCOMPARE(m_grid->text(2, 2), std::string("Sch\xF6tt"));
}

void TestQtGrid::pasteAndLocksAndWidths() {
    m_grid->setLock(GridBlock::cell(2, 2), true);
    m_grid->setCellType(GridBlock::columns(3, 3), CellType::staticText(CellAlign::Right));
    QVERIFY(!(table()->item(1, 1)->flags() & Qt::ItemIsEditable));
    QVERIFY(!(table()->item(0, 2)->flags() & Qt::ItemIsEditable));
    QVERIFY(table()->item(0, 0)->flags() & Qt::ItemIsEditable);

    QGuiApplication::clipboard()->setText(QStringLiteral("1\t2\t3\n4\t5\t6\n"));
    m_grid->setActiveCell(1, 1);
    table()->setFocus();
    QTest::keyClick(table(), Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(m_grid->blockText(GridBlock::rows(1, 2)), std::string("1\t2\t\r\n4\t\t\r\n"));
    QCOMPARE(m_changes, (std::vector<GridCell>{{1, 1}, {2, 1}, {1, 2}}));

    m_grid->setColWidth(1, 16);
    QCOMPARE(table()->columnWidth(0), m_grid->pixelsFor(16));
    m_grid->setColWidth(1, m_grid->colWidth(1) * 2);
    QCOMPARE(m_grid->colWidth(1), 32.0);
    m_grid->setColHidden(2, true);
    QVERIFY(table()->isColumnHidden(1));
    m_grid->setColHidden(0, true);
    QVERIFY(!table()->verticalHeader()->isVisible());
}

void TestQtGrid::hitTestAndRightClickOnHeadings() {
    const QPoint inCell = table()->viewport()->mapTo(table(), centre(2, 3));
    QCOMPARE(m_grid->cellAt(inCell.x(), inCell.y()), std::optional<GridCell>(GridCell{2, 3}));
    QHeaderView* top = table()->horizontalHeader();
    const QPoint onHeading = top->viewport()->mapTo(table(), QPoint(top->sectionViewportPosition(2) + 5, 5));
    QCOMPARE(m_grid->cellAt(onHeading.x(), onHeading.y()), std::optional<GridCell>(GridCell{3, 0}));
    QCOMPARE(m_grid->cellAt(table()->width() - 3, table()->height() - 3), std::optional<GridCell>());

    std::vector<GridCell> rights;
    std::vector<QPoint> presses;
    m_grid->events().rightClicked = [&](int c, int r) { rights.push_back({c, r}); };
    m_grid->events().mouseDown = [&](int button, int, int x, int y) {
        if (button == kMouseRight) presses.push_back({x, y});
    };
    QTest::mouseClick(top->viewport(), Qt::RightButton, Qt::NoModifier, QPoint(top->sectionViewportPosition(0) + 5, 5));
    QTest::mouseClick(table()->viewport(), Qt::RightButton, Qt::NoModifier, centre(2, 3));
    QCOMPARE(rights, (std::vector<GridCell>{{1, 0}, {2, 3}}));
    QCOMPARE(presses.back(), inCell);
}

// The table shows what the rows hold after a refill that grows, one that
// shrinks and one of the same size: texts as they are, colours, locks.
void TestQtGrid::wholeListRefillShowsEveryCellAsStored() {
    m_grid->setCellType(GridBlock::columns(2, 2), CellType::number(1, 0, 0));
    const auto check = [&] {
        QCOMPARE(table()->rowCount(), m_grid->maxRows());
        for (int r = 1; r <= m_grid->maxRows(); ++r)
            for (int c = 1; c <= 3; ++c) {
                const QTableWidgetItem* item = table()->item(r - 1, c - 1);
                QVERIFY(item);
                QCOMPARE(item->text(), ToQString(m_grid->text(c, r)));
                QCOMPARE(item->background().color(), ToQColor(m_grid->backColour(c, r)));
                QCOMPARE(bool(item->flags() & Qt::ItemIsEditable), !m_grid->locked(c, r));
            }
    };
    GridRows grown{2, {}, {}, true};
    for (int r = 1; r <= 9; ++r) {
        grown.texts.push_back(r == 2 ? "tab\there" : "name " + std::to_string(r));
        grown.texts.push_back(std::to_string(r));
        grown.backs.push_back(r % 3 == 0 ? 0x80FFFF : 0xFFFFFF);
    }
    m_grid->setRows(grown);
    QCOMPARE(table()->item(1, 0)->text(), QStringLiteral("tab\there"));
    QCOMPARE(table()->item(8, 1)->text(), QStringLiteral("9.0"));
    check();
    m_grid->setRows({2, {"a", "1", "line\r\nbreak", "2", "c", "3"}, {0x80FFFF, 0xFFFFFF, 0xFFFFFF}, false});
    check();
    m_grid->setRows({2, {"x", "4", "y", "5", "z", "6"}, {0xFFFFFF, 0xFFFFFF, 0x80FFFF}, true});
    check();
    QCOMPARE(table()->item(2, 0)->text(), QStringLiteral("z"));
    QVERIFY(m_changes.empty());
}

// A column widens to the texts the program writes, and narrows again to the
// width the program set when they get shorter: a page that reads a new file
// shows it as if it were the first. A fill with redraw off fits once, at the end.
void TestQtGrid::aColumnFitsItsTextsAsTheyChange() {
    m_grid->setColWidth(1, 6);
    const int least = table()->columnWidth(0);
    const QString longName = QStringLiteral("N-LASF44 MELT 2024-Q3 BENCH 12");
    m_grid->setText(1, 2, FromQString(longName));
    const int wide = table()->columnWidth(0);
    QVERIFY2(wide >= table()->fontMetrics().horizontalAdvance(longName), qPrintable(QString::number(wide)));
    QVERIFY(wide > least);

    m_grid->setRedraw(false);
    m_grid->setMaxRows(0);
    m_grid->setMaxRows(3);
    m_grid->setBlockText(GridBlock::all(), "F2\r\nN-BK7\r\nSF11\r\n");
    QCOMPARE(table()->columnWidth(0), wide);  // not yet
    m_grid->setRedraw(true);
    QCOMPARE(table()->columnWidth(0), least);
    m_grid->setText(1, 3, FromQString(longName));
    QCOMPARE(table()->columnWidth(0), wide);
    m_grid->clearText(GridBlock::cell(1, 3));
    QCOMPARE(table()->columnWidth(0), least);
}

// A column the user narrows on its heading keeps that width when the
// program writes its cells again, until the program sets its width; the
// last column, stretched to the edge as the user drags, is not the user's.
void TestQtGrid::aWidthTheUserDragsStays() {
    table()->horizontalHeader()->setStretchLastSection(true);
    m_grid->setBlockText(GridBlock::all(), "N-LASF44 MELT 2024-Q3 BENCH 12\tSchott\r\n");
    const int fitted = table()->columnWidth(0);
    NarrowColumn(table(), 1, 60);
    const int narrowed = table()->columnWidth(0);
    QVERIFY2(narrowed < fitted, qPrintable(QStringLiteral("%1 >= %2").arg(narrowed).arg(fitted)));
    QVERIFY(m_grid->userSized(1));
    QVERIFY(!m_grid->userSized(3));

    m_grid->setText(1, 1, "N-LASF44 MELT 2024-Q3 BENCH 12");
    m_grid->setBlockText(GridBlock::all(), "N-LASF44 MELT 2024-Q3 BENCH 13\tHoya\r\nF2\tSchott\r\n");
    m_grid->setColHidden(1, true);
    m_grid->setColHidden(1, false);
    QCOMPARE(table()->columnWidth(0), narrowed);

    m_grid->setColWidth(1, m_grid->colWidth(1));
    QVERIFY(!m_grid->userSized(1));
    QCOMPARE(table()->columnWidth(0), fitted);
}

QTEST_MAIN(TestQtGrid)
#include "tst_QtGrid.moc"
