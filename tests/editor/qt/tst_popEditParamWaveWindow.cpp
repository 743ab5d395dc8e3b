// The wavelength picker's window end to end: a single pick by a mouse press
// and a multiple pick of a block and a Ctrl-clicked row confirmed with OK.
#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QTabWidget>
#include <QTimer>
#include <QtTest>
#include <functional>

#include "editor/qt/popEditParamWaveWindow.h"
#include "platform/Settings.h"
#include "shell/CNewMsg.h"
#include "support/ScriptedBoxes.h"

namespace {

// The middle of a grid row, in its table's viewport.
QPoint rowPoint(popEditParamWaveWindow& w, int tab, int row) {
    QTableWidget* table = w.qtGrid(tab).widget();
    table->scrollToItem(table->item(row - 1, 0));
    return table->visualItemRect(table->item(row - 1, 0)).center();
}

}  // namespace

class TestWavePickerWindow : public QObject {
    Q_OBJECT
private slots:
    void pressPicksOneWavelength();
    void okTakesTheSelectedRowsInOrder();

private:
    // Runs user on the picker's window once it is shown; m_shown tells it ran.
    bool display(float& wave, int tab, std::function<void(popEditParamWaveWindow&)> user) {
        m_shown = false;
        QTimer::singleShot(0, this, [&] {
            auto* w = qobject_cast<popEditParamWaveWindow*>(QApplication::activeModalWidget());
            QVERIFY(w);
            m_shown = true;
            user(*w);
            // Whatever the user left open is closed, so the test cannot hang.
            if (w->isVisible()) QTimer::singleShot(0, w, [w] { w->reject(); });
        });
        return m_picker.Display(m_count, wave, m_waves, tab);
    }

    ScriptedBoxes m_boxes;
    MemorySettings m_settings;
    CNewMsg m_hints{m_boxes, m_settings};
    popEditParamWave m_picker{m_hints, popEditParamWaveWindow::Maker(nullptr)};
    int m_count = 0;
    std::vector<float> m_waves;
    bool m_shown = false;
};

void TestWavePickerWindow::pressPicksOneWavelength() {
    m_boxes.answer(kAnswerYes);  // the one-time hint
    float wave = 0;
    const bool picked = display(wave, kTabTrans, [](popEditParamWaveWindow& w) {
        QCOMPARE(w.windowTitle(), QStringLiteral("Wavelengths [nm]"));
        QCOMPARE(w.tabs()->currentIndex(), int(kTabTrans));
        QCOMPARE(w.waveLabel()->text(), QStringLiteral("Typical wavelengths for tranmission"));
        QVERIFY(!w.okButton()->isEnabled());
        QTableWidget* trans = w.qtGrid(kTabTrans).widget();
        QCOMPARE(trans->item(4, 0)->text(), QStringLiteral("  1060.0    "));
        // Every column shown has a heading: none stands empty beside the texts.
        for (int t = 0; t < kWavePickTabs; ++t) {
            const QTableWidget* table = w.qtGrid(t).widget();
            for (int c = 0; c < table->columnCount(); ++c) {
                const QTableWidgetItem* heading = table->horizontalHeaderItem(c);
                if (!table->isColumnHidden(c))
                    QVERIFY2(heading && !heading->text().trimmed().isEmpty(), qPrintable(table->objectName()));
            }
        }

        w.tabs()->setCurrentIndex(kTabLaser);  // the user's change of tab
        QCOMPARE(w.waveLabel()->text(), QStringLiteral("Pre-defined spectral && laser wavelengths"));
        w.tabs()->setCurrentIndex(kTabTrans);
        QTest::mousePress(trans->viewport(), Qt::LeftButton, {}, rowPoint(w, kTabTrans, 5));
        QVERIFY(!w.isVisible());
    });
    QVERIFY(m_shown);
    QVERIFY(picked);
    QCOMPARE(m_count, 1);
    QCOMPARE(wave, 1060.0f);
    QCOMPARE(m_boxes.shown().size(), std::size_t(1));
    QCOMPARE(m_boxes.last().title, std::string("Standard wavelengths"));
}

void TestWavePickerWindow::okTakesTheSelectedRowsInOrder() {
    m_settings.set(kNewMsgSection, kWavePickHintKey, "-1");
    float wave = 656.2725f;
    const bool picked = display(wave, kTabSpectral, [](popEditParamWaveWindow& w) {
        QtGrid& grid = w.qtGrid(kTabSpectral);
        QCOMPARE(grid.activeRow(), 9);  // the start wave's row
        QTest::mouseClick(w.multiCheck(), Qt::LeftButton);
        QVERIFY(w.okButton()->isEnabled());
        QWidget* rows = grid.widget()->viewport();
        QTest::mouseClick(rows, Qt::LeftButton, {}, rowPoint(w, kTabSpectral, 9));
        QVERIFY(w.isVisible());  // a press selects now, it does not pick
        QTest::mouseClick(rows, Qt::LeftButton, Qt::ShiftModifier, rowPoint(w, kTabSpectral, 11));
        QTest::mouseClick(rows, Qt::LeftButton, Qt::ControlModifier, rowPoint(w, kTabSpectral, 13));
        QTest::mouseClick(w.okButton(), Qt::LeftButton);
    });
    QVERIFY(m_shown);
    QVERIFY(picked);
    QCOMPARE(m_count, 4);
    QCOMPARE(m_waves, (std::vector<float>{656.2725f, 643.8469f, 632.8f, 587.5618f}));
    QCOMPARE(wave, 656.2725f);
}

QTEST_MAIN(TestWavePickerWindow)
#include "tst_popEditParamWaveWindow.moc"
