// The material editor in the running program, offscreen: a new material
// from the ribbon's New button to every section but transmission ready, by
// typing, pasting and fitting; a material of the list opened from its pop-up
// menu, changed and accepted; a review that allows nothing; and a new
// material entered from nothing on all five tabs, with a wavelength from the
// picker, and stored.
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QToolButton>
#include <QtTest>
#include <deque>
#include <memory>

#include "editor/frm3New.h"
#include "editor/popEditParamWave.h"
#include "editor/qt/frm3NewWindow.h"
#include "editor/qt/popEditParamWaveWindow.h"
#include "model/FileUtil.h"
#include "model/GlassData.h"
#include "model/GlassesList.h"
#include "model/NumberFormat.h"
#include "shell/AMain.h"
#include "app/qt/KalvenorProgram.h"
#include "shell/qt/frmGlassesList.h"
#include "shell/qt/frmMainMDI.h"
#include "support/FakeCaller.h"
#include "support/qt/DemoProgram.h"
#include "support/qt/GridTyping.h"
#include "support/qt/QueueBoxes.h"

namespace {

GlassDefinition Nbk7() {
    GlassDefinition def;
    def.formulaType = kSellmeier;
    const double c[6] = {1.03961212, 0.231792344, 1.01046945, 0.00600069867, 0.0200179144, 103.560653};
    for (std::size_t i = 0; i < 6; ++i) def.coefficients[i] = c[i];
    return def;
}

}  // namespace

class TestEditorWindow : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanupTestCase();
    void init();
    void cleanup();
    void aNewMaterialFromEmptyToAllButTransmissionReady();
    void aMaterialOfTheListIsEditedFromItsMenu();
    void aReviewAllowsNothing();
    void aNewMaterialFromNothingToStored();

private:
    frmMainMDI* main() const { return m_run.main(); }
    frm3NewWindow* editor() const { return main()->editorWindow(); }
    QMdiSubWindow* frame() const { return qobject_cast<QMdiSubWindow*>(editor()->parentWidget()); }
    AMain& app() const { return m_run.program().app(); }
    QString panel(int section) const { return editor()->statusPanel(section)->text(); }
    void clickTab(int tab) {
        QTabBar* bar = editor()->tabs()->tabBar();
        QTest::mouseClick(bar, Qt::LeftButton, Qt::NoModifier, bar->tabRect(tab).center());
        QCOMPARE(editor()->tabs()->currentIndex(), tab);
    }
    void typeInto(QLineEdit* box, const QString& text) {
        box->setFocus();
        box->selectAll();
        QTest::keyClicks(box, text);
        QTest::keyClick(box, Qt::Key_Return);
    }

    QueueBoxes m_boxes;
    DemoRun m_run;  // after the boxes, which outlive the program
};

void TestEditorWindow::initTestCase() {
    std::string error;
    QVERIFY2(m_run.make(error), error.c_str());
    m_run.start(m_boxes);
    QVERIFY(QTest::qWaitForWindowExposed(main()));
    main()->resize(1100, 780);
}

void TestEditorWindow::cleanupTestCase() {
    m_run.stop();
}

void TestEditorWindow::init() {
    QVERIFY2(m_boxes.unexpected.empty(), m_boxes.unexpected.empty() ? "" : m_boxes.unexpected.front().c_str());
    m_boxes.shown.clear();
}

void TestEditorWindow::cleanup() {
    if (frame()->isVisible()) editor()->closeButton()->click();
}

void TestEditorWindow::aNewMaterialFromEmptyToAllButTransmissionReady() {
    QVERIFY(main()->ribbonButton(kPageNew)->isEnabled());
    QTest::mouseClick(main()->ribbonButton(kPageNew), Qt::LeftButton);
    QVERIFY(frame()->isVisible());
    QCOMPARE(app().forms().CurrentPage(), int(kPageNew));
    QCOMPARE(editor()->windowTitle(), QStringLiteral("New material data  "));
    QCOMPARE(editor()->saveButton()->text(), QStringLiteral("Add to list"));
    QCOMPARE(panel(kGeneral), QStringLiteral("General: NOT Ready"));
    QCOMPARE(panel(kDnDt), QStringLiteral("dn/dt: Ready"));
    QCOMPARE(editor()->statusPanel(kDnDt)->palette().color(QPalette::Window), QColor(0, 255, 0));
    QCOMPARE(editor()->statusPanel(kIndex)->palette().color(QPalette::Window), QColor(255, 0, 0));

    typeInto(editor()->nameBox(), QStringLiteral("Test glass"));
    typeInto(editor()->sourceBox(), QStringLiteral("Lab"));
    QCOMPARE(panel(kGeneral), QStringLiteral("General: Ready"));
    QCOMPARE(editor()->identityLabel()->text(), QStringLiteral("TEST GLASS [LAB]"));
    QCOMPARE(editor()->windowTitle(), QStringLiteral("New material data  TEST GLASS::Lab"));
    // The name of the catalogue is refused at once and the box shows the name again.
    m_boxes.answers.push_back(kAnswerOk);
    typeInto(editor()->sourceBox(), QStringLiteral("schott"));
    typeInto(editor()->nameBox(), QStringLiteral("N-SK2"));
    QCOMPARE(m_boxes.shown.back(), std::string("N-SK2 - SCHOTT is already in the list of catalog materials, and cannot be overwritten!"));
    QCOMPARE(editor()->nameBox()->text(), QStringLiteral("TEST GLASS"));
    QCOMPARE(panel(kGeneral), QStringLiteral("General: NOT Ready"));
    typeInto(editor()->sourceBox(), QStringLiteral("Lab"));
    QCOMPARE(panel(kGeneral), QStringLiteral("General: Ready"));

    // Points pasted into the index grid and fitted with a Sellmeier formula.
    clickTab(kEditorTabIndex);
    QCOMPARE(editor()->pasteButton()->text(), QStringLiteral("&Paste index"));
    editor()->formulaBox()->setFocus();
    QTest::keyClick(editor()->formulaBox(), Qt::Key_Down);  // Schott to Sellmeier
    QCOMPARE(app().forms().CurrentPage(), int(kPageNew));
    GlassDefinition nbk7;
    nbk7.formulaType = kSellmeier;
    const double c[6] = {1.03961212, 0.231792344, 1.01046945, 0.00600069867, 0.0200179144, 103.560653};
    for (std::size_t i = 0; i < 6; ++i) nbk7.coefficients[i] = c[i];
    QString points;
    for (int i = 0; i < 9; ++i) {
        const float nm = 400.0f + 75.0f * static_cast<float>(i);
        bool ok = false;
        points += QString::fromStdString(Format(nm, "0.0") + "\t" + Format(EvaluateIndex(nbk7, nm, kSellmeier, ok), "0.0000000") + "\r\n");
    }
    QApplication::clipboard()->setText(points);
    QtGrid& grid = editor()->indexGrid();
    grid.widget()->setFocus();
    grid.setActiveCell(1, 1);
    QTest::keyClick(grid.widget(), Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(grid.text(1, 9), std::string("1000.0000"));
    QCOMPARE(grid.text(3, 1), std::string("1.00"));
    QTest::mouseClick(editor()->fitButton(), Qt::LeftButton);
    QCOMPARE(panel(kIndex), QStringLiteral("Index: Ready"));
    QVERIFY(editor()->errorLabel()->text().startsWith(QStringLiteral("average Sellmeier polynomal fit error: 0.00000")));
    QCOMPARE(editor()->glassCodeLabel()->text(), QStringLiteral("517642"));
    QVERIFY(!grid.widget()->isColumnHidden(4));
    QVERIFY(!editor()->fitButton()->isEnabled());

    // A typed change makes the section wait for the next fit.
    TypeIntoCell(grid, 2, 9, QStringLiteral("1.5310"));
    QCOMPARE(grid.text(2, 9), std::string("1.5310000"));
    QCOMPARE(panel(kIndex), QStringLiteral("Index: NOT Ready"));
    QVERIFY(grid.widget()->isColumnHidden(4));
    QVERIFY(editor()->fitButton()->isEnabled());
    QTest::mouseClick(editor()->fitButton(), Qt::LeftButton);
    QCOMPARE(panel(kIndex), QStringLiteral("Index: Ready"));

    QCOMPARE(panel(kGeneral), QStringLiteral("General: Ready"));
    QCOMPARE(panel(kDnDt), QStringLiteral("dn/dt: Ready"));
    QCOMPARE(panel(kTrans), QStringLiteral("Trans: NOT Ready"));
    QCOMPARE(panel(kOther), QStringLiteral("Other: NOT Ready"));
    m_boxes.answers.push_back(kAnswerOk);
    QTest::mouseClick(editor()->saveButton(), Qt::LeftButton);
    QCOMPARE(m_boxes.shown.back(), std::string(kIncompleteMessage));

    QTest::mouseClick(editor()->closeButton(), Qt::LeftButton);
    QVERIFY(!frame()->isVisible());
    QCOMPARE(app().forms().CurrentPage(), int(kPageNone));
    QVERIFY(!main()->ribbonButton(kPageNew)->isChecked());
}

void TestEditorWindow::aMaterialOfTheListIsEditedFromItsMenu() {
    QtGrid& list = main()->listWindow()->grid();
    QTableWidget* table = list.widget();
    QTest::mouseClick(table->viewport(), Qt::RightButton, Qt::NoModifier,
                      table->visualRect(table->model()->index(4, 0)).center());
    QTRY_VERIFY(main()->popupMenu()->isVisible());
    main()->popupAction(kPopupEdit)->trigger();
    main()->popupMenu()->hide();
    QVERIFY(frame()->isVisible());
    QVERIFY(!main()->listWindow()->isEnabled());
    QCOMPARE(editor()->windowTitle(), QStringLiteral("Editing data  N-SF11::SCHOTT"));
    QCOMPARE(editor()->saveButton()->text(), QStringLiteral("Accept changes"));
    // Filling the window from the record changed nothing.
    for (int k = 0; k < kEditorTabCount; ++k) QVERIFY(panel(k).endsWith(QStringLiteral(": Ready")));
    QCOMPARE(editor()->glassCodeLabel()->text(), QStringLiteral("785257"));
    clickTab(kEditorTabIndex);
    QCOMPARE(editor()->dataTypeBox()->currentText(), QStringLiteral("Coefficients"));
    QCOMPARE(editor()->formulaBox()->currentText(), QStringLiteral("Sellmeier"));
    QCOMPARE(editor()->fitButton()->text(), QStringLiteral("Check coeffs"));
    QCOMPARE(editor()->indexGrid().text(1, 1), std::string("B1 "));
    QCOMPARE(panel(kIndex), QStringLiteral("Index: Ready"));

    // A new source, accepted: a second material beside the first.
    clickTab(kEditorTabMaterial);
    typeInto(editor()->sourceBox(), QStringLiteral("Melt 7"));
    QTest::mouseClick(editor()->saveButton(), Qt::LeftButton);
    QVERIFY(m_boxes.unexpected.empty());
    QCOMPARE(app().store().Count(), 6);
    QCOMPARE(list.text(2, 6), std::string("Melt 7"));
    const auto file = ReadWholeFile(m_run.demo().program + kCollectionFileName);
    QVERIFY(file.has_value());
    QCOMPARE(file->size(), std::size_t{6} * kGlassRecordBytes);

    QTest::mouseClick(editor()->closeButton(), Qt::LeftButton);
    QVERIFY(!frame()->isVisible());
    QVERIFY(main()->listWindow()->isEnabled());
    QCOMPARE(app().forms().CurrentPage(), int(kPageNone));
}

void TestEditorWindow::aReviewAllowsNothing() {
    GlassRecord imported;
    QVERIFY(app().store().GetGlass(1, imported));
    FakeCaller caller;
    QVERIFY(app().editors().DisplayReview(caller, imported));
    QVERIFY(frame()->isVisible());
    QVERIFY(!caller.enabled);
    QCOMPARE(editor()->windowTitle(), QStringLiteral("Reviewing data"));
    QVERIFY(!editor()->saveButton()->isEnabled());
    QVERIFY(!editor()->nameBox()->isEnabled());
    clickTab(kEditorTabIndex);
    QVERIFY(!editor()->pasteButton()->isEnabled());
    QVERIFY(!editor()->fitButton()->isEnabled());
    QVERIFY(!editor()->sortButton()->isEnabled());
    QVERIFY(!editor()->dataTypeBox()->isEnabled());
    QVERIFY(!(editor()->indexGrid().widget()->item(0, 1)->flags() & Qt::ItemIsEditable));
    QTest::mouseClick(editor()->closeButton(), Qt::LeftButton);
    QVERIFY(!frame()->isVisible());
    QVERIFY(caller.enabled);
}

void TestEditorWindow::aNewMaterialFromNothingToStored() {
    const int before = app().store().Count();
    QTest::mouseClick(main()->ribbonButton(kPageNew), Qt::LeftButton);
    QVERIFY(frame()->isVisible());
    typeInto(editor()->nameBox(), QStringLiteral("Crown 5"));
    typeInto(editor()->sourceBox(), QStringLiteral("Lab"));
    QCOMPARE(panel(kGeneral), QStringLiteral("General: Ready"));

    // The index: points of a Sellmeier formula, pasted and fitted.
    clickTab(kEditorTabIndex);
    editor()->formulaBox()->setFocus();
    QTest::keyClick(editor()->formulaBox(), Qt::Key_Down);  // Schott to Sellmeier
    QString points;
    for (int i = 0; i < 9; ++i) {
        const float nm = 380.0f + 90.0f * static_cast<float>(i);
        bool ok = false;
        const double n = EvaluateIndex(Nbk7(), nm, kSellmeier, ok);
        points += QString::fromStdString(Format(nm, "0.0") + "\t" + Format(n, "0.0000000") + "\r\n");
    }
    QApplication::clipboard()->setText(points);
    editor()->indexGrid().setActiveCell(1, 1);
    QTest::mouseClick(editor()->pasteButton(), Qt::LeftButton);
    QTest::mouseClick(editor()->fitButton(), Qt::LeftButton);
    QCOMPARE(panel(kIndex), QStringLiteral("Index: Ready"));

    // Transmission: internal transmittance of a 5 mm sample, the first
    // wavelength from the picker.
    clickTab(kEditorTabTrans);
    QComboBox* type = editor()->transTypeBox();
    type->setFocus();
    QTest::keyClick(type, Qt::Key_Down);
    QCOMPARE(type->currentText(), QStringLiteral("Internal transmission"));
    QtGrid& trans = editor()->transGrid();
    QCOMPARE(trans.text(3, 0), std::string("Internal trans [%]"));
    typeInto(editor()->thicknessBox(), QStringLiteral("5"));
    QCOMPARE(editor()->thicknessBox()->text(), QStringLiteral("5.0"));
    trans.setActiveCell(1, 1);
    m_boxes.answers.push_back(kAnswerNo);  // the picker's one-time hint, not again
    bool shown = false;
    QTimer::singleShot(0, this, [&] {
        auto* picker = qobject_cast<popEditParamWaveWindow*>(QApplication::activeModalWidget());
        QVERIFY(picker);
        shown = true;
        QCOMPARE(picker->tabs()->currentIndex(), int(kTabTrans));
        QTRY_VERIFY(m_boxes.answers.empty());  // the hint came
        QTableWidget* table = picker->qtGrid(kTabTrans).widget();
        QCOMPARE(table->item(4, 0)->text(), QStringLiteral("  1060.0    "));
        table->scrollToItem(table->item(4, 0));
        QTest::mousePress(table->viewport(), Qt::LeftButton, {}, table->visualItemRect(table->item(4, 0)).center());
    });
    QTest::mouseClick(editor()->wavelengthsButton(), Qt::LeftButton);
    QVERIFY(shown);
    QVERIFY(QString::fromStdString(m_boxes.shown.back()).startsWith(QStringLiteral("By ticking the check box")));
    QCOMPARE(trans.text(1, 1), std::string("1060.00"));
    TypeIntoCell(trans, 3, 1, QStringLiteral("99.5"));
    TypeIntoCell(trans, 1, 2, QStringLiteral("400"));
    TypeIntoCell(trans, 3, 2, QStringLiteral("60"));
    TypeIntoCell(trans, 1, 3, QStringLiteral("700"));
    TypeIntoCell(trans, 3, 3, QStringLiteral("98"));
    QCOMPARE(trans.text(4, 2), std::string("0.10217"));  // -ln(0.6) / 5
    QCOMPARE(panel(kTrans), QStringLiteral("Trans: NOT Ready"));
    QTest::mouseClick(editor()->transSortButton(), Qt::LeftButton);
    QCOMPARE(panel(kTrans), QStringLiteral("Trans: Ready"));
    QCOMPARE(trans.text(1, 2), std::string("700.00"));
    QCOMPARE(trans.text(1, 3), std::string("400.00"));

    // dn/dt: one simple value.
    clickTab(kEditorTabDnDt);
    QListWidget* thermal = editor()->thermalList();
    QTest::mouseClick(thermal->viewport(), Qt::LeftButton, {}, thermal->visualItemRect(thermal->item(1)).center());
    QCOMPARE(editor()->thermLabel(0)->text(), QStringLiteral("dn/dt"));
    QVERIFY(!editor()->thermBox(1)->isEnabled());
    typeInto(editor()->thermBox(0), QStringLiteral("2.5"));
    QCOMPARE(editor()->thermBox(0)->text(), QStringLiteral("2.500e+00"));
    QCOMPARE(panel(kDnDt), QStringLiteral("dn/dt: Ready"));

    // Other: the density and a status.
    clickTab(kEditorTabOther);
    QtGrid& other = editor()->otherGrid();
    TypeIntoCell(other, 2, 9, QStringLiteral("2.51"));
    QCOMPARE(other.text(2, 9), std::string("2.510"));
    TypeIntoCell(other, 2, 22, QStringLiteral("r"));
    QCOMPARE(other.text(2, 22), std::string("R"));
    TypeIntoCell(other, 2, 1, QStringLiteral("7.06"));
    QCOMPARE(other.text(2, 1), std::string("7.1"));
    for (int k = 0; k < kEditorTabCount; ++k) QVERIFY(panel(k).endsWith(QStringLiteral(": Ready")));

    QTest::mouseClick(editor()->saveButton(), Qt::LeftButton);
    QVERIFY2(m_boxes.unexpected.empty(), m_boxes.unexpected.empty() ? "" : m_boxes.unexpected.front().c_str());
    QCOMPARE(app().store().Count(), before + 1);
    GlassRecord stored;
    bool found = false;
    for (int i = 1; i <= app().store().Count() && !found; ++i)
        found = app().store().GetGlass(i, stored) && stored.definition.name.str() == "CROWN 5";  // the source commit stores the name upper-cased
    QVERIFY(found);
    QCOMPARE(stored.measured.thickness, 5.0f);
    QCOMPARE(stored.measured.transWavelength[1], 1060.0f);
    QCOMPARE(stored.measured.internalTrans[3], 60.0f);
    QCOMPARE(stored.definition.transWavelength[2], 400.0f);
    QCOMPARE(stored.definition.density, 2.51f);
    QCOMPARE(stored.properties.status.str(), std::string("R"));
    QCOMPARE(stored.properties.a3070.str(), std::string("7.1"));
    QCOMPARE(stored.notes.dnDtType, std::int16_t(kSimpleDnDt));
    QCOMPARE(stored.notes.dnDtSimple, 2.5f);
    const auto file = ReadWholeFile(m_run.demo().program + kCollectionFileName);
    QVERIFY(file.has_value());
    QCOMPARE(file->size(), std::size_t(before + 1) * kGlassRecordBytes);
    // The window starts the next material.
    QCOMPARE(panel(kOther), QStringLiteral("Other: NOT Ready"));
    QCOMPARE(editor()->nameBox()->text(), QString());
}

QTEST_MAIN(TestEditorWindow)
#include "tst_frm3NewWindow.moc"
