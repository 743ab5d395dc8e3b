// Typing into a grid's cell as the user does: the cell made current, its
// editor opened, the text typed and Enter pressed. Narrowing a column as the
// user does: its heading's right edge dragged to the left.
#pragma once

#include <QApplication>
#include <QHeaderView>
#include <QLineEdit>
#include <QTableWidget>
#include <QtTest>

#include "platform/qt/QtGrid.h"

inline void TypeIntoCell(QtGrid& grid, int col, int row, const QString& text) {
    QTableWidget* table = grid.widget();
    QApplication::setActiveWindow(table->window());  // back from a modal dialog
    table->setCurrentCell(row - 1, col - 1);
    table->editItem(table->item(row - 1, col - 1));
    auto* edit = qobject_cast<QLineEdit*>(QApplication::focusWidget());
    QVERIFY(edit);
    edit->selectAll();
    QTest::keyClicks(edit, text);
    QTest::keyClick(edit, Qt::Key_Return);
    QCoreApplication::processEvents();  // the view commits an edit ended by Enter from its queue
}

inline void NarrowColumn(QTableWidget* table, int col, int pixels) {
    QHeaderView* top = table->horizontalHeader();
    QWidget* headings = top->viewport();
    const int edge = top->sectionViewportPosition(col - 1) + top->sectionSize(col - 1) - 1;
    const int y = top->height() / 2;
    QTest::mousePress(headings, Qt::LeftButton, Qt::NoModifier, QPoint(edge, y));
    QTest::mouseMove(headings, QPoint(edge - pixels / 2, y));
    QTest::mouseMove(headings, QPoint(edge - pixels, y));
    QTest::mouseRelease(headings, Qt::LeftButton, Qt::NoModifier, QPoint(edge - pixels, y));
}
