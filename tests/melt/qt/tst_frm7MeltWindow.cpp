// The melt maker in the running program, on the demo: a melt glass made from
// the catalogue's N-BK7 through the ribbon's Melt button, the parent picker,
// the melt code, a waveband, typed indices and the fit, and stored; then
// opened again from the list window's "&Edit", and reviewed read-only.
#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPushButton>
#include <QTableWidget>
#include <QToolButton>
#include <QtTest>
#include <charconv>
#include <memory>

#include "manage/qt/DialogDriver.h"
#include "melt/MeltFit.h"
#include "melt/frm7Melt.h"
#include "melt/qt/frm7MeltWindow.h"
#include "melt/qt/popMeltParentWindow.h"
#include "model/GlassData.h"
#include "model/GlassesList.h"
#include "model/NumberFormat.h"
#include "shell/AMain.h"
#include "shell/CNewMsg.h"
#include "app/qt/KalvenorProgram.h"
#include "shell/qt/frmGlassesList.h"
#include "shell/qt/frmMainMDI.h"
#include "support/qt/DemoProgram.h"
#include "support/FakeCaller.h"
#include "support/qt/GridTyping.h"
#include "support/qt/QueueBoxes.h"

namespace {

void clickItem(QListWidget* list, QListWidgetItem* item) {
    QVERIFY(item);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::NoModifier, list->visualItemRect(item).center());
}

}  // namespace

class TestMeltWindow : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanupTestCase();
    void cleanup();
    void aMeltOfADemoParentIsStoredAndEditedAgainFromTheList();
    void aReviewIsLocked();

private:
    frmMainMDI* main() const { return m_run.main(); }
    frm7MeltWindow* melt() const { return main()->meltPage()->window(); }
    QMdiSubWindow* frame() const { return qobject_cast<QMdiSubWindow*>(melt()->parentWidget()); }
    AMain& app() const { return m_run.program().app(); }
    void choose(const QString& maker, const QString& glass);
    std::string cell(int col, int row) { return melt()->pairsGrid().text(col, row); }
    int listRow(const std::string& name) {
        QtGrid& list = main()->listWindow()->grid();
        for (int r = 1; r <= list.maxRows(); ++r)
            if (list.text(1, r) == name) return r;
        return 0;
    }

    QueueBoxes m_boxes;
    DemoRun m_run;  // after the boxes, which outlive the program
};

void TestMeltWindow::initTestCase() {
    std::string error;
    QVERIFY2(m_run.make(error), error.c_str());
    m_run.settings().set(kNewMsgSection, kMeltHintKey, "-1");  // a user who has read the hint
    m_run.start(m_boxes);
    QVERIFY(QTest::qWaitForWindowExposed(main()));
    main()->resize(1200, 800);
}

void TestMeltWindow::cleanupTestCase() {
    m_run.stop();
}

void TestMeltWindow::cleanup() {
    QVERIFY2(m_boxes.unexpected.empty(), m_boxes.unexpected.empty() ? "" : m_boxes.unexpected.front().c_str());
    if (frame()->isVisible()) melt()->closeButton()->click();
}

void TestMeltWindow::choose(const QString& maker, const QString& glass) {
    popMeltParentWindow* dialog = main()->meltPage()->parentWindow();
    DialogDriver driver(dialog, [&] {
        clickItem(dialog->makerList(), dialog->makerList()->findItems(maker, Qt::MatchExactly).value(0));
        QTableWidget* table = dialog->grid().widget();
        const QList<QTableWidgetItem*> found = table->findItems(QStringLiteral("  ") + glass, Qt::MatchExactly);
        QVERIFY(!found.isEmpty());
        QTest::mouseClick(table->viewport(), Qt::LeftButton, Qt::NoModifier, table->visualItemRect(found[0]).center());
        QTest::mouseClick(dialog->okButton(), Qt::LeftButton);
    });
    QTest::mouseClick(melt()->parentButton(), Qt::LeftButton);
    QVERIFY(driver.acted());
    QVERIFY(!driver.timedOut());
    // The desktop gives the main window back its activation.
    QApplication::setActiveWindow(main());
    QVERIFY(QTest::qWaitForWindowActive(main()));
}

void TestMeltWindow::aMeltOfADemoParentIsStoredAndEditedAgainFromTheList() {
    QVERIFY(main()->ribbonButton(kPageMelt)->isEnabled());
    QTest::mouseClick(main()->ribbonButton(kPageMelt), Qt::LeftButton);
    QVERIFY(frame()->isVisible());
    QCOMPARE(app().forms().CurrentPage(), int(kPageMelt));
    QCOMPARE(melt()->windowTitle(), QStringLiteral("Melt glass: new"));
    QCOMPARE(melt()->nameLabel()->text(), QStringLiteral("<- select a parent glass for the melt"));
    QVERIFY(!melt()->meltPanel()->isVisible());
    QVERIFY(!melt()->saveButton()->isEnabled());

    choose(QStringLiteral("Schott"), QStringLiteral("N-BK7"));
    QCOMPARE(melt()->nameLabel()->text(), QStringLiteral("Schott  N-BK7  -  please enter a melt code!"));
    QCOMPARE(melt()->formulaLabel()->text(), QStringLiteral("Sellmeier"));
    QVERIFY(melt()->meltPanel()->isVisible());
    QVERIFY(melt()->wavelengthsButton()->isEnabled());

    melt()->codeBox()->setFocus();
    melt()->codeBox()->selectAll();
    QTest::keyClicks(melt()->codeBox(), QStringLiteral("Q7"));
    QTest::keyClick(melt()->codeBox(), Qt::Key_Return);
    QCOMPARE(melt()->nameLabel()->text(), QStringLiteral("Schott  N-BK7 *Q7"));

    // The Schott lines from the waveband list, the melt's indices typed beside them.
    QListWidget* bands = melt()->waveBandList();
    clickItem(bands, bands->findItems(QStringLiteral("Schott - standard"), Qt::MatchExactly).value(0));
    QCOMPARE(cell(kPairWave, 7), std::string("435.8343"));
    QCOMPARE(cell(kPairSymbol, 7), std::string("g "));
    const GlassRecord& parent = main()->meltPage()->page().parent();
    for (int r = 1; r <= 7; ++r) {
        const std::string wave = cell(kPairWave, r);
        float wavelength = 0;
        QVERIFY(std::from_chars(wave.data(), wave.data() + wave.size(), wavelength).ec == std::errc());
        bool ok = false;
        const double n = EvaluateIndex(parent.definition, wavelength, parent.definition.formulaType, ok);
        QVERIFY(ok);
        TypeIntoCell(melt()->pairsGrid(), kPairMelt, r, QString::fromStdString(Format(n + 3e-4, "0.0000000")));
        QCOMPARE(cell(kPairUserDiff, r), std::string("0.000300"));
    }
    QCOMPARE(melt()->statusPanel()->text(), QStringLiteral("Index: NOT Ready"));
    QTest::mouseClick(melt()->fitButton(), Qt::LeftButton);
    QCOMPARE(melt()->statusPanel()->text(), QStringLiteral("Index: Ready"));
    QCOMPARE(melt()->statusPanel()->palette().color(QPalette::Window), QColor(0, 255, 0));
    QVERIFY(!melt()->pairsGrid().widget()->isColumnHidden(kPairFitDiff - 1));
    QCOMPARE(cell(kPairFitDiff, 1), std::string("0.000300"));
    QVERIFY(melt()->errorLabel()->text().startsWith(QString::fromLatin1(kAverageErrorPrefix)));
    QVERIFY(!melt()->glassCodeLabel()->text().isEmpty());
    QVERIFY(melt()->saveButton()->isEnabled());

    const int before = app().store().Count();
    QTest::mouseClick(melt()->saveButton(), Qt::LeftButton);
    QCOMPARE(app().store().Count(), before + 1);
    const int row = listRow("N-BK7 *Q7");
    QVERIFY(row > 0);
    QCOMPARE(main()->listWindow()->grid().text(2, row), std::string("SCHOTT"));
    // Ready for the next melt.
    QCOMPARE(melt()->nameLabel()->text(), QStringLiteral("<- select a parent glass for the melt"));
    QVERIFY(!melt()->meltPanel()->isVisible());
    QTest::mouseClick(melt()->closeButton(), Qt::LeftButton);
    QVERIFY(!frame()->isVisible());
    QCOMPARE(app().forms().CurrentPage(), int(kPageNone));
    QVERIFY(!main()->ribbonButton(kPageMelt)->isChecked());

    // The melt opens here again from the list's pop-up menu.
    QTableWidget* table = main()->listWindow()->grid().widget();
    QTest::mouseClick(table->viewport(), Qt::RightButton, Qt::NoModifier,
                      table->visualRect(table->model()->index(row - 1, 0)).center());
    QTRY_VERIFY(main()->popupMenu()->isVisible());
    main()->popupAction(kPopupEdit)->trigger();
    main()->popupMenu()->hide();
    QVERIFY(frame()->isVisible());
    QVERIFY(!main()->listWindow()->isEnabled());
    QCOMPARE(melt()->windowTitle(), QStringLiteral("Melt glass: edit"));
    QCOMPARE(melt()->saveButton()->text(), QStringLiteral("Accept changes"));
    QCOMPARE(melt()->codeBox()->text(), QStringLiteral("Q7"));
    QCOMPARE(melt()->statusPanel()->text(), QStringLiteral("Index: Ready"));
    QCOMPARE(cell(kPairWave, 1), std::string("656.2725"));
    QCOMPARE(cell(kPairUserDiff, 1), std::string("0.000300"));
    QVERIFY(cell(kPairParent, 1).rfind("1.51", 0) == 0);
    // Accepted unchanged: the same melt, replaced in place.
    QTest::mouseClick(melt()->saveButton(), Qt::LeftButton);
    QCOMPARE(app().store().Count(), before + 1);
    QTest::mouseClick(melt()->closeButton(), Qt::LeftButton);
    QVERIFY(!frame()->isVisible());
    QVERIFY(main()->listWindow()->isEnabled());
}

void TestMeltWindow::aReviewIsLocked() {
    GlassRecord stored;
    bool found = false;
    for (const GlassRecord& g : app().store().Records())
        if (g.melt.meltFlag != 0) {
            stored = g;
            found = true;
        }
    QVERIFY(found);
    FakeCaller caller;
    QVERIFY(app().editors().DisplayReview(caller, stored));
    QVERIFY(frame()->isVisible());
    QVERIFY(!caller.enabled);
    QCOMPARE(melt()->windowTitle(), QStringLiteral("Melt glass: review"));
    for (QWidget* w : std::initializer_list<QWidget*>{melt()->parentButton(), melt()->codeBox(), melt()->pasteButton(),
                                                      melt()->clearButton(), melt()->fitButton(), melt()->sortButton(),
                                                      melt()->waveBandList(), melt()->saveButton()})
        QVERIFY2(!w->isEnabled(), qPrintable(w->objectName()));
    QVERIFY(melt()->indexButton()->isEnabled());
    QVERIFY(!(melt()->pairsGrid().widget()->item(0, kPairMelt - 1)->flags() & Qt::ItemIsEditable));
    QTest::mouseClick(melt()->closeButton(), Qt::LeftButton);
    QVERIFY(!frame()->isVisible());
    QVERIFY(caller.enabled);
}

QTEST_MAIN(TestMeltWindow)
#include "tst_frm7MeltWindow.moc"
