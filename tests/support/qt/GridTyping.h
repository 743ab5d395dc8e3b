// Typing into a grid's cell as the user does: the cell made current, its
// editor opened, the text typed and Enter pressed.
#pragma once

#include <QApplication>
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
