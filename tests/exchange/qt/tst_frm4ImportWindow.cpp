// The Import page in the running program, on the demo: a small UTF-16 Zemax
// catalogue opened through the page's file dialog, one of its glasses
// reviewed read-only in the editor, and all of them added to the collection.
#include <QFile>
#include <QHeaderView>
#include <QLabel>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QTableWidget>
#include <QToolButton>
#include <QtTest>
#include <memory>

#include "editor/qt/frm3NewWindow.h"
#include "exchange/Bas4Import.h"
#include "exchange/ImportReader.h"
#include "exchange/qt/frm4ImportWindow.h"
#include "model/FileUtil.h"
#include "model/GlassesList.h"
#include "shell/AMain.h"
#include "shell/CNewMsg.h"
#include "app/qt/KalvenorProgram.h"
#include "shell/qt/frmGlassesList.h"
#include "shell/qt/frmMainMDI.h"
#include "support/qt/DemoProgram.h"
#include "support/qt/ModalAnswerer.h"
#include "support/qt/QueueBoxes.h"

namespace {

using Names = std::vector<std::string>;

Names column(QTableWidget* t, int col) {
    Names out;
    for (int r = 0; r < t->rowCount(); ++r) out.push_back(t->item(r, col)->text().toStdString());
    return out;
}

}  // namespace

class TestImportWindow : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanupTestCase();
    void aCatalogueIsReadReviewedAndAdded();
    void theTypePickedInTheDialogReadsTheFile();
    void eachReadFitsTheColumnsAnew();

private:
    frmMainMDI* main() const { return m_run.main(); }
    frm4ImportWindow* page() const { return main()->importPage()->window(); }
    frm3NewWindow* editor() const { return main()->editorWindow(); }
    AMain& app() const { return m_run.program().app(); }

    QueueBoxes m_boxes;
    DemoRun m_run;  // after the boxes, which outlive the program
    QString m_catalogue;
};

void TestImportWindow::initTestCase() {
    std::string error;
    QVERIFY2(m_run.make(error), error.c_str());
    // The dialog opens on the Zemax filter, as after a Zemax file before.
    m_run.settings().set(kImportSection, kImportLastTypeKey, std::to_string(kImportAGF));
    QVERIFY(QDir(m_run.folder()).mkdir(QStringLiteral("catalogues")));
    m_catalogue = m_run.folder() + QStringLiteral("/catalogues/Tessa.agf");
    QVERIFY(QFile::copy(QStringLiteral(KALVENOR_TEST_DATA "/exchange/Tessa.agf"), m_catalogue));
    m_run.start(m_boxes);
    QVERIFY(QTest::qWaitForWindowExposed(main()));
}

void TestImportWindow::cleanupTestCase() {
    m_run.stop();
}

void TestImportWindow::aCatalogueIsReadReviewedAndAdded() {
    QVERIFY(main()->ribbonButton(kPageImport)->isEnabled());
    QTest::mouseClick(main()->ribbonButton(kPageImport), Qt::LeftButton);
    QCOMPARE(app().forms().CurrentPage(), int(kPageImport));
    QVERIFY(page()->isVisible());
    QCOMPARE(page()->windowTitle(), QStringLiteral("Import material data from text file"));
    QCOMPARE(page()->table()->rowCount(), 0);

    // The catalogue: one record of a formula the reader does not take is
    // named, and the hint on refits follows a moment later.
    ModalAnswerer answerer;
    answerer.chooseFile(m_catalogue);
    m_boxes.answers = {kAnswerOk, kAnswerNo};
    QTest::mouseClick(page()->openButton(), Qt::LeftButton);
    QVERIFY(answerer.done());
    QCOMPARE(answerer.seen().front().title, QStringLiteral("Importing data to Kalvenor"));
    QTRY_COMPARE(m_boxes.shown.size(), std::size_t(2));
    QCOMPARE(m_boxes.shown[0],
             std::string("1 material in Tessa.agf could not be imported:\r\n\r\nT-GRIN, line 19: its formula 13 is not "
                         "supported"));
    QVERIFY(m_boxes.shown[1].rfind("Sept 2004 - enhanced glass import", 0) == 0);
    QVERIFY(m_boxes.unexpected.empty());
    QCOMPARE(app().settings().getOr(kNewMsgSection, "ImportPolyRefit", ""), std::string("-1"));
    QCOMPARE(page()->windowTitle(), QStringLiteral("Import material data from text file: Tessa.agf"));
    QCOMPARE(app().settings().getOr(kImportSection, "B4ImpPathZemax_AGF", ""),
             m_run.folder().toStdString() + "/catalogues/");

    QTableWidget* t = page()->table();
    QCOMPARE(column(t, 0), (Names{"T-SK16", "T-HERZ"}));
    QCOMPARE(column(t, 1), (Names{"Tessa", "Tessa"}));
    QVERIFY(!t->isColumnHidden(kImportRefitCol - 1));
    QCOMPARE(t->item(0, kImportRefitCol - 1)->text(), QStringLiteral("not refitted "));
    QVERIFY(t->item(1, kImportRefitCol - 1)->text().endsWith(QStringLiteral("-Schott")));
    QVERIFY(page()->refitLabel()->isVisible());
    QCOMPARE(page()->refitLabel()->text(),
             QStringLiteral("1 glass has been refited to an index polynomial used in Lumivar.  The average error is "
                            "in the last column."));
    // Every column shows its whole heading.
    for (int c = 0; c < kImportCols; ++c) {
        const QString heading = t->horizontalHeaderItem(c)->text();
        QVERIFY2(t->horizontalHeader()->fontMetrics().horizontalAdvance(heading) < t->columnWidth(c), qPrintable(heading));
    }

    // T-SK16 reviewed: the editor, read-only, over the disabled page.
    QTest::mouseClick(t->viewport(), Qt::LeftButton, Qt::NoModifier, t->visualRect(t->model()->index(0, 1)).center());
    QTest::mouseClick(page()->reviewButton(), Qt::LeftButton);
    auto* editorFrame = qobject_cast<QMdiSubWindow*>(editor()->parentWidget());
    QVERIFY(editorFrame->isVisible());
    QCOMPARE(editor()->windowTitle(), QStringLiteral("Reviewing data"));
    QVERIFY(!editor()->saveButton()->isEnabled());
    QVERIFY(!page()->isEnabled());
    QTest::mouseClick(editor()->closeButton(), Qt::LeftButton);
    QVERIFY(!editorFrame->isVisible());
    QVERIFY(page()->isEnabled());
    QCOMPARE(app().store().Count(), 5);

    // Both added behind the demo's five, into the file and the list window.
    m_boxes.shown.clear();
    QTest::mouseClick(page()->addAllButton(), Qt::LeftButton);
    QVERIFY(m_boxes.shown.empty());
    QCOMPARE(app().store().Count(), 7);
    GlassRecord added;
    QVERIFY(app().store().GetGlass(7, added));
    QCOMPARE(added.definition.name.str(), std::string("T-HERZ"));
    const auto file = ReadWholeFile(m_run.demo().program + kCollectionFileName);
    QVERIFY(file.has_value());
    QCOMPARE(file->size(), std::size_t{7} * kGlassRecordBytes);
    QCOMPARE(main()->listWindow()->grid().text(1, 6), std::string("T-SK16"));
    QCOMPARE(main()->helpLine()->text(), QString());

    QTest::mouseClick(page()->closeButton(), Qt::LeftButton);
    QTRY_VERIFY(!page()->isVisible());
    QCOMPARE(app().forms().CurrentPage(), int(kPageNone));
    QVERIFY(!main()->ribbonButton(kPageImport)->isChecked());
}

// A user who starts on the GLZ type picks the Zemax type in the dialog and
// a catalogue, then the GLZ type and a backup: each file is read as the type
// picked.
void TestImportWindow::theTypePickedInTheDialogReadsTheFile() {
    m_run.settings().set(kImportSection, kImportLastTypeKey, std::to_string(kImportGLZ));
    const QString backup = m_run.folder() + QStringLiteral("/catalogues/Backup.GLZ");
    QVERIFY(QFile::copy(QStringLiteral(KALVENOR_TEST_DATA "/exchange/small.GLZ"), backup));
    QTest::mouseClick(main()->ribbonButton(kPageImport), Qt::LeftButton);
    QVERIFY(page()->isVisible());

    ModalAnswerer answerer;
    answerer.chooseFile(m_catalogue, QStringLiteral("Zemax AGF"));
    m_boxes.shown.clear();
    m_boxes.unexpected.clear();
    m_boxes.answers = {kAnswerOk};  // the glass it cannot take is named
    QTest::mouseClick(page()->openButton(), Qt::LeftButton);
    QVERIFY(answerer.done());
    QCOMPARE(answerer.unscripted(), 0);
    QCOMPARE(column(page()->table(), 0), (Names{"T-SK16", "T-HERZ"}));
    QVERIFY(m_boxes.unexpected.empty());
    QCOMPARE(app().settings().getOr(kImportSection, kImportLastTypeKey, ""), std::to_string(kImportAGF));

    answerer.chooseFile(backup, QStringLiteral("Kalvenor"));
    QTest::mouseClick(page()->openButton(), Qt::LeftButton);
    QVERIFY(answerer.done());
    QCOMPARE(answerer.unscripted(), 0);
    QCOMPARE(column(page()->table(), 0), (Names{"Crown '5'"}));
    QVERIFY2(m_boxes.unexpected.empty(), m_boxes.unexpected.empty() ? "" : m_boxes.unexpected.front().c_str());
    QCOMPARE(app().settings().getOr(kImportSection, kImportLastTypeKey, ""), std::to_string(kImportGLZ));

    QTest::mouseClick(page()->closeButton(), Qt::LeftButton);
    QTRY_VERIFY(!page()->isVisible());
}

// A catalogue whose file name, the source of its glasses, is long, then one
// with a short name: the Source column widens for the first and is back at
// the width it opened with for the second.
void TestImportWindow::eachReadFitsTheColumnsAnew() {
    m_run.settings().set(kImportSection, kImportLastTypeKey, std::to_string(kImportAGF));
    const QString longNamed = m_run.folder() + QStringLiteral("/catalogues/Measured at the bench 2024 Q3.agf");
    QVERIFY(QFile::copy(m_catalogue, longNamed));
    QTest::mouseClick(main()->ribbonButton(kPageImport), Qt::LeftButton);
    QVERIFY(page()->isVisible());
    QTableWidget* t = page()->table();
    const int opened = t->columnWidth(1);

    ModalAnswerer answerer;
    for (const QString& file : {longNamed, m_catalogue}) {
        answerer.chooseFile(file);
        m_boxes.answers = {kAnswerOk};  // the glass it cannot take is named
        QTest::mouseClick(page()->openButton(), Qt::LeftButton);
        QVERIFY(answerer.done());
        QCOMPARE(t->rowCount(), 2);
        if (file == longNamed) {
            QCOMPARE(t->item(0, 1)->text(), QStringLiteral("Measured at the bench 2024 Q3"));
            QVERIFY2(t->columnWidth(1) >= t->fontMetrics().horizontalAdvance(t->item(0, 1)->text()),
                     qPrintable(QString::number(t->columnWidth(1))));
            QVERIFY(t->columnWidth(1) > opened);
        }
    }
    QCOMPARE(t->item(0, 1)->text(), QStringLiteral("Tessa"));
    QCOMPARE(t->columnWidth(1), opened);
    QCOMPARE(answerer.unscripted(), 0);

    QTest::mouseClick(page()->closeButton(), Qt::LeftButton);
    QTRY_VERIFY(!page()->isVisible());
}

QTEST_MAIN(TestImportWindow)
#include "tst_frm4ImportWindow.moc"
