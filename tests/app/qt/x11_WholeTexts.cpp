// On a real X server with the desktop's fonts: every window of the program,
// and every box and hint it shows, shows its whole text. A label, button,
// grid heading or cell whose text needs more room than it has fails the
// test, at the main window's smallest size and with room to spare; so does
// a note of the help line that does not show whole. The collection, the
// catalogue database and an imported catalogue hold names and sources of
// the longest lengths the files allow.
#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QRegularExpression>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QTabWidget>
#include <QTableWidget>
#include <QtTest>
#include <fstream>
#include <memory>

#include "editor/popEditParamWave.h"
#include "exchange/Bas4Import.h"
#include "exchange/ImportReader.h"
#include "manage/CatalogueDatabase.h"
#include "melt/frm7Melt.h"
#include "melt/popMeltSchott.h"
#include "model/GlassesList.h"
#include "platform/qt/QtBoxes.h"
#include "shell/AMain.h"
#include "shell/CNewMsg.h"
#include "shell/HelpNotes.h"
#include "shell/urls.h"
#include "shell/qt/frmGlassesList.h"
#include "support/qt/CutTexts.h"
#include "support/qt/DemoProgram.h"
#include "support/qt/WorkPages.h"

namespace {

// With KALVENOR_SHOTS set to a folder, each window looked at is saved there
// as a picture of the screen, for a person to look at.
void keepShot(const QString& name) {
    const QString folder = qEnvironmentVariable("KALVENOR_SHOTS");
    if (folder.isEmpty()) return;
    QTest::qWait(150);  // the windows drawn as they now are
    QString file = name;
    file.replace(QRegularExpression(QStringLiteral("[^A-Za-z0-9_-]+")), QStringLiteral("_"));
    QGuiApplication::primaryScreen()->grabWindow(0).save(folder + QLatin1Char('/') + file + QStringLiteral(".png"));
}

// The longest names and sources the record holds (30 characters), as a
// maker or a user would write them.
const char* const kLongName = "N-LASF44 MELT 2024-Q3 BENCH 12";
const char* const kLongSource = "Measured at the bench, 2024 Q3";

// A catalogue whose file name, the source of its glasses, is long.
const char* const kCatalogueName = "Measured at the bench 2024 Q3.AGF";
const char* const kCatalogueText =
    "CC Extended catalogue\r\n"
    "NM H-ZLAF92-MELT-2017 2 883408 1.883 40.81 0 1 0\r\n"
    "ED 6.3 7.3 3.58 0 0\r\n"
    "CD 1.03961212 0.00600069867 0.231792344 0.0200179144 1.01046945 103.560653\r\n"
    "TD 0 0 0 0 0 0 20\r\n"
    "OD 2.1 1 1 4 3.2 2\r\n"
    "LD 0.31 2.5\r\n"
    "NM HERZBERGER-FORM-GLASS-2017 3 0 1.6 40 0 1 0\r\n"
    "ED 0 0 3.2 0 0\r\n"
    "CD 1.5880 0.0121 0.0002 -0.0030 0.00001 -1e-7\r\n"
    "LD 0.365 1.0\r\n";

// Looks at every modal window that opens: its cut texts, on every tab page,
// and whether it lies on the screen. A box is answered with its escape
// button at once; a dialog is closed a moment later, so that a hint due
// over it opens first; a file dialog takes the file given, if any.
class ModalInspector : public QObject {
public:
    ModalInspector() {
        m_poll.setInterval(10);
        connect(&m_poll, &QTimer::timeout, this, [this] { poll(); });
        m_poll.start();
    }
    void chooseFile(const QString& path) { m_file = path; }

    QStringList cut;
    QStringList seen;  // the titles of the windows looked at

private:
    void poll() {
        QWidget* w = QApplication::activeModalWidget();
        if (!w || m_looked.contains(w)) return;
        if (!w->windowHandle() || !w->windowHandle()->isExposed()) return;  // not on the screen yet
        m_looked << w;
        // Looked at from a timer of its own: a hint that opens while this
        // window is looked at is one more modal window for the poll, which
        // a timer never serves while its own slot runs.
        QTimer::singleShot(0, this, [this, w = QPointer<QWidget>(w)] {
            if (w) inspect(w);
        });
    }

    void inspect(QWidget* w) {
        seen << w->windowTitle();
        keepShot(QString::fromLatin1(QTest::currentDataTag()) + QLatin1Char('-') + QString::number(seen.size()));
        look(w);
        if (auto* box = qobject_cast<QMessageBox*>(w)) {
            if (QAbstractButton* escape = box->escapeButton()) escape->click();
            else box->reject();
        } else if (auto* files = qobject_cast<QFileDialog*>(w); files && !m_file.isEmpty()) {
            // Typed as the user types a whole path: a file chosen in another
            // folder would first move the dialog there, which empties the name.
            if (auto* name = files->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))) name->setText(m_file);
            m_file.clear();
            QMetaObject::invokeMethod(files, "accept", Qt::QueuedConnection);
        } else if (auto* dialog = qobject_cast<QDialog*>(w)) {
            QTimer::singleShot(600, dialog, [dialog] {
                if (QApplication::activeModalWidget() == dialog) dialog->reject();
            });
        }
    }

    void look(QWidget* w) {
        const QRect screen = w->screen()->availableGeometry();
        if (!screen.contains(w->frameGeometry()))
            cut << QStringLiteral("%1: the window runs off the screen").arg(w->windowTitle());
        cut << CutTexts(w);
        for (QTabWidget* tabs : w->findChildren<QTabWidget*>()) {
            const int was = tabs->currentIndex();
            for (int t = 0; t < tabs->count(); ++t) {
                tabs->setCurrentIndex(t);
                QApplication::processEvents();
                cut << CutTexts(tabs->currentWidget());
            }
            tabs->setCurrentIndex(was);
        }
    }

    QTimer m_poll;
    QList<QPointer<QWidget>> m_looked;
    QString m_file;
};

// The main window's smallest size (0 x 0 grows to it), its first size, and room to spare.
const std::pair<const char*, QSize> kMainSizes[] = {{"smallest", {0, 0}}, {"first", {1024, 720}}, {"roomy", {1500, 900}}};

enum Opened {
    kWavePicker,
    kParentPicker,
    kMeltSheet,
    kDeleteList,
    kRemoveList,
    kImportFile,
    kRenameSource,
    kExportFile,
    kBrowse,
    kDuplicateName,
    kContactBox,
};

}  // namespace

Q_DECLARE_METATYPE(WorkPage)
Q_DECLARE_METATYPE(Opened)

class TestWholeTexts : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanupTestCase();
    void init();
    void cleanup();
    void aPageShowsItsWholeText_data();
    void aPageShowsItsWholeText();
    void theManageGridAfterAnEditShowsItsWholeText();
    void theHelpLineShowsEveryNoteWhole_data();
    void theHelpLineShowsEveryNoteWhole();
    void aDialogOrBoxShowsItsWholeText_data();
    void aDialogOrBoxShowsItsWholeText();
    void aBoxOfAnyLengthShowsItsWholeText_data();
    void aBoxOfAnyLengthShowsItsWholeText();

private:
    frmMainMDI* main() const { return m_run.main(); }
    void resizeMain(const QSize& size);
    AMain& app() const { return m_run.program().app(); }
    QStringList pageCuts(WorkPage page);
    void importCatalogue();
    void trigger(Opened opened);

    QtBoxes m_boxes;
    DemoRun m_run;  // after the boxes, which outlive the program
    QString m_catalogue;
    std::unique_ptr<ModalInspector> m_inspector;  // one for each test
};

void TestWholeTexts::initTestCase() {
    QVERIFY2(QGuiApplication::platformName() == QStringLiteral("xcb"), "this test runs on an X server");
    std::string error;
    QVERIFY2(m_run.make(error), error.c_str());
    {
        CatalogueDatabase db;
        QVERIFY(db.open(m_run.demo().catalogue));
        QVERIFY(db.addRow(kGlassDataTable, {{"GlassID", std::int64_t{901}}, {"s1", std::int64_t{0}},
                                            {"GlassName", kLongName}, {"Source", kLongSource},
                                            {"GlassCode", std::int64_t{883408}}, {"Status", "A"}}));
        QVERIFY(db.addRow(kArchiveTable, {{"GlassID", std::int64_t{902}}, {"s1", std::int64_t{0}},
                                          {"GlassName", kLongName}, {"Source", kLongSource},
                                          {"GlassCode", std::int64_t{883408}}, {"Status", "R"}}));
    }
    QVERIFY(QDir(m_run.folder()).mkdir(QStringLiteral("catalogues")));
    m_catalogue = m_run.folder() + QStringLiteral("/catalogues/") + QString::fromLatin1(kCatalogueName);
    std::ofstream(m_catalogue.toStdString(), std::ios::binary) << kCatalogueText;
    m_run.settings().set(kImportSection, kImportLastTypeKey, std::to_string(kImportAGF));
    m_run.start(m_boxes);
    QVERIFY(QTest::qWaitForWindowExposed(main()));

    GlassesList& store = app().store();
    GlassRecord glass = store.GetGlasses().front();
    glass.definition.name.set(kLongName);
    glass.definition.source.set(kLongSource);
    QVERIFY(store.AddGlass(glass, false));
    store.RefreshListWindow();
}

void TestWholeTexts::cleanupTestCase() { m_run.stop(); }

void TestWholeTexts::init() {
    m_inspector = std::make_unique<ModalInspector>();
    // Every hint shows, as to a new user.
    for (const char* key : {kMeltHintKey, kWavePickHintKey, kSheetHintKey, kRefitHintKey})
        m_run.settings().remove(kNewMsgSection, key);
}

void TestWholeTexts::cleanup() {
    CloseWorkPages(main());
    // A hint still due goes under the keys this test set, not the next test's.
    QTRY_VERIFY(!app().hints().pending());
    QTRY_VERIFY(!QApplication::activeModalWidget());
    m_inspector.reset();
}

QStringList TestWholeTexts::pageCuts(WorkPage page) {
    QStringList cut = CutTexts(main());
    cut << CutTexts(main()->listWindow());
    if (page == kPageNew) {
        QTabWidget* tabs = main()->editorWindow()->tabs();
        for (int t = 1; t < tabs->count(); ++t) {
            tabs->setCurrentIndex(t);
            QApplication::processEvents();
            cut << CutTexts(tabs->currentWidget());
        }
        tabs->setCurrentIndex(0);
    }
    return cut;
}

// The catalogue opened through the Import page's dialog.
void TestWholeTexts::importCatalogue() {
    m_inspector->chooseFile(m_catalogue);
    QTest::mouseClick(main()->importPage()->window()->openButton(), Qt::LeftButton);
    QTRY_COMPARE(main()->importPage()->window()->table()->rowCount(), 2);
    QTRY_VERIFY(!QApplication::activeModalWidget());
}

void TestWholeTexts::resizeMain(const QSize& size) {
    main()->resize(size.expandedTo(main()->minimumSize()));
    QApplication::processEvents();
}

void TestWholeTexts::aPageShowsItsWholeText_data() {
    QTest::addColumn<WorkPage>("page");
    QTest::addColumn<QSize>("size");
    const std::pair<const char*, WorkPage> pages[] = {
        {"Setup", kPageSetup},   {"editor", kPageNew},       {"Manage", kPageManage}, {"Import", kPageImport},
        {"Export", kPageExport}, {"Archive", kPageArchive}, {"melt maker", kPageMelt}};
    for (const auto& [sizeName, size] : kMainSizes)
        for (const auto& [name, page] : pages) QTest::addRow("%s, %s", name, sizeName) << page << size;
}

// Each page with its longest texts: the Import page with a catalogue read,
// the melt maker with its hint and with a parent chosen.
void TestWholeTexts::aPageShowsItsWholeText() {
    QFETCH(WorkPage, page);
    QFETCH(QSize, size);
    resizeMain(size);
    m_run.settings().set(kNewMsgSection, kRefitHintKey, "-1");
    QVERIFY(OpenWorkPage(main(), page));
    if (page == kPageImport) importCatalogue();
    if (page == kPageMelt) {
        const QStringList hint{QString::fromLatin1(kMeltHintTitle)};
        QTRY_VERIFY2(m_inspector->seen == hint, qPrintable(m_inspector->seen.join(QStringLiteral(" | "))));
        QVERIFY(ChooseMeltParent(main()));
    }
    QApplication::processEvents();
    keepShot(QString::fromLatin1(QTest::currentDataTag()));
    QStringList cut = m_inspector->cut;
    cut << pageCuts(page);
    cut.removeDuplicates();
    QVERIFY2(cut.isEmpty(), qPrintable(cut.join(QLatin1Char('\n'))));
}

// A selected row's headings keep their weight once the editor opened from
// the Manage page has closed, and still fit their columns.
void TestWholeTexts::theManageGridAfterAnEditShowsItsWholeText() {
    main()->resize(QSize(1024, 720));
    QVERIFY(OpenWorkPage(main(), kPageManage));
    frm2ManageWindow* manage = main()->managePage()->window();
    QTableWidget* grid = manage->table();
    const QPoint firstRow = grid->visualRect(grid->model()->index(0, 0)).center();
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, Qt::NoModifier, firstRow);
    QTest::mouseClick(manage->editButton(), Qt::LeftButton);
    frm3NewWindow* editor = main()->editorWindow();
    QTRY_VERIFY(editor->isVisible());
    QTest::mouseClick(editor->closeButton(), Qt::LeftButton);
    QTRY_VERIFY(!editor->isVisible());
    QApplication::processEvents();
    QVERIFY(!grid->selectionModel()->selectedIndexes().isEmpty());
    const QStringList cut = CutTexts(manage);
    QVERIFY2(cut.isEmpty(), qPrintable(cut.join(QLatin1Char('\n'))));
}

void TestWholeTexts::theHelpLineShowsEveryNoteWhole_data() {
    QTest::addColumn<QSize>("size");
    for (const auto& [sizeName, size] : kMainSizes) QTest::addRow("%s", sizeName) << size;
    QTest::addRow("narrowest, tall") << QSize(0, 900);
    QTest::addRow("lowest, wide") << QSize(1500, 0);
}

// Each note as the mouse brings it up over the ribbon and the window, with
// no page open: read while the mouse rests there, so it cannot be scrolled.
void TestWholeTexts::theHelpLineShowsEveryNoteWhole() {
    QFETCH(QSize, size);
    resizeMain(size);
    QList<QWidget*> over{main()->endButton(), main()->mdiArea()->viewport()};
    for (int page = 1; page <= kWorkPageCount; ++page) over << main()->ribbonButton(page);
    QScrollArea* area = main()->helpArea();
    QLabel* line = main()->helpLine();
    QStringList cut;
    for (QWidget* w : over) {
        QTest::mouseMove(w, QPoint(w->width() / 3, w->height() / 3));
        QTest::mouseMove(w, QPoint(w->width() / 2, w->height() / 2));
        QApplication::processEvents();
        keepShot(QStringLiteral("help-%1-%2").arg(QString::fromLatin1(QTest::currentDataTag()), w->objectName()));
        const QSize seen = area->viewport()->size();
        const int needed = line->heightForWidth(seen.width());
        if (needed > seen.height() || line->minimumSizeHint().width() > seen.width() ||
            area->verticalScrollBar()->isVisible())
            cut << QStringLiteral("over %1: \"%2\" needs %3 px of height, has %4x%5")
                       .arg(w->objectName(), line->text().left(60))
                       .arg(needed)
                       .arg(seen.width())
                       .arg(seen.height());
    }
    cut << CutTexts(main());
    QVERIFY2(cut.isEmpty(), qPrintable(cut.join(QLatin1Char('\n'))));
}

void TestWholeTexts::aDialogOrBoxShowsItsWholeText_data() {
    QTest::addColumn<Opened>("opened");
    QTest::addColumn<QStringList>("titles");
    QTest::addColumn<QSize>("size");
    const std::tuple<const char*, Opened, QStringList> opened[] = {
        {"wavelength picker and its hint", kWavePicker,
         {QString::fromLatin1(kWavePickCaption), QString::fromLatin1(kWavePickHintTitle)}},
        {"parent picker", kParentPicker, {QString::fromLatin1(kMeltParentCaption)}},
        {"melt sheet converter and its hint", kMeltSheet,
         {QString::fromLatin1(kMeltSchottCaption), QString::fromLatin1(kMeltSchottCaption)}},
        {"delete list", kDeleteList, {}},
        {"remove list", kRemoveList, {}},
        {"import dialog, refit hint", kImportFile,
         {QString::fromLatin1(kImportDialogTitle), QString::fromLatin1(kRefitHintTitle)}},
        {"rename input box", kRenameSource, {}},
        {"export dialog", kExportFile, {}},
        {"setup browse dialog", kBrowse, {}},
        {"duplicate input box", kDuplicateName, {}},
        {"contact box", kContactBox, {QStringLiteral("KalvenorQX")}},
    };
    for (const auto& [sizeName, size] : kMainSizes)
        for (const auto& [name, what, titles] : opened)
            QTest::addRow("%s, %s", name, sizeName) << what << titles << size;
}

void TestWholeTexts::trigger(Opened opened) {
    switch (opened) {
    case kWavePicker: {
        QVERIFY(OpenWorkPage(main(), kPageNew));
        frm3NewWindow* editor = main()->editorWindow();
        editor->tabs()->setCurrentIndex(1);
        QTableWidget* points = editor->indexGrid().widget();
        QTest::mouseClick(points->viewport(), Qt::LeftButton, Qt::NoModifier,
                          points->visualRect(points->model()->index(0, 0)).center());
        QTest::mouseClick(editor->findChild<QPushButton*>(QStringLiteral("comWaveSelRefInd")), Qt::LeftButton);
        break;
    }
    case kParentPicker:
        m_run.settings().set(kNewMsgSection, kMeltHintKey, "-1");
        QVERIFY(OpenWorkPage(main(), kPageMelt));
        QTest::mouseClick(main()->meltPage()->window()->parentButton(), Qt::LeftButton);
        break;
    case kMeltSheet:
        m_run.settings().set(kNewMsgSection, kMeltHintKey, "-1");
        QVERIFY(OpenWorkPage(main(), kPageMelt));
        QVERIFY(ChooseMeltParent(main()));
        QTest::mouseClick(main()->meltPage()->window()->sheetButton(), Qt::LeftButton);
        break;
    case kDeleteList:
        QVERIFY(OpenWorkPage(main(), kPageManage));
        QTest::mouseClick(main()->managePage()->window()->deleteButton(), Qt::LeftButton);
        break;
    case kRemoveList:
        QVERIFY(OpenWorkPage(main(), kPageManage));
        QTest::mouseClick(main()->managePage()->window()->removeButton(), Qt::LeftButton);
        break;
    case kImportFile:
        QVERIFY(OpenWorkPage(main(), kPageImport));
        importCatalogue();
        break;
    case kRenameSource:
        m_run.settings().set(kNewMsgSection, kRefitHintKey, "-1");
        QVERIFY(OpenWorkPage(main(), kPageImport));
        importCatalogue();
        QTest::mouseClick(main()->importPage()->window()->renameButton(), Qt::LeftButton);
        break;
    case kExportFile:
        QVERIFY(OpenWorkPage(main(), kPageExport));
        QTest::mouseClick(main()->exportPage()->window()->exportAllButton(), Qt::LeftButton);
        break;
    case kBrowse:
        QVERIFY(OpenWorkPage(main(), kPageSetup));
        QTest::mouseClick(main()->setupWindow()->browseButton(0), Qt::LeftButton);
        break;
    case kDuplicateName:
        main()->PrepForPopup(1, "N-BK7/SCHOTT");
        main()->popupAction(kPopupDuplicate)->trigger();
        break;
    case kContactBox: QTest::mouseClick(main()->logoButton(), Qt::LeftButton); break;
    }
}

// Each dialog, input box and hint, opened as the user opens it.
void TestWholeTexts::aDialogOrBoxShowsItsWholeText() {
    QFETCH(Opened, opened);
    QFETCH(QStringList, titles);
    QFETCH(QSize, size);
    resizeMain(size);
    trigger(opened);
    if (titles.isEmpty()) QTRY_VERIFY(!m_inspector->seen.isEmpty());
    else QTRY_VERIFY2(m_inspector->seen == titles, qPrintable(m_inspector->seen.join(QStringLiteral(" | "))));  // a hint comes a moment later
    QTRY_VERIFY(!QApplication::activeModalWidget());
    QVERIFY2(m_inspector->cut.isEmpty(), qPrintable(m_inspector->cut.join(QLatin1Char('\n'))));
}

void TestWholeTexts::aBoxOfAnyLengthShowsItsWholeText_data() {
    QTest::addColumn<int>("style");
    QTest::addColumn<QString>("text");
    QString names, list, paragraph;
    for (int i = 1; i <= 400; ++i) {
        names += QStringLiteral("%1GLASS-%2 [SOME MAKER]").arg(i > 1 ? QStringLiteral(", ") : QString()).arg(i);
        list += QStringLiteral("\r\nGLASS-%1 [SOME MAKER]").arg(i);
    }
    for (int i = 0; i < 120; ++i) paragraph += QStringLiteral("a long paragraph of words ");
    QTest::newRow("the sort question, a table laid out with tabs")
        << int(kBoxQuestionYesNoCancel)
        << QStringLiteral("Select sort order:\r\n\r\n\tYes   \t\tto sort by 'Glass'\r\n\r\n\tNo    \t\tto sort by "
                          "'Source'\r\n\r\n\tCancel\t\tto abort\r\n");
    QTest::newRow("a long paragraph") << int(kBoxExclamation) << paragraph;
    QTest::newRow("names in one paragraph, taller than the screen")
        << int(kBoxQuestionYesNo) << QStringLiteral("These materials are already in your collection:\r\n\r\n") + names;
    QTest::newRow("a list taller than the screen") << int(kBoxInformation) << QStringLiteral("Refused:") + list;
    QTest::newRow("a path without a blank")
        << int(kBoxExclamation)
        << QStringLiteral("Unable to import any glasses from file /home/designer/") + QString(300, QLatin1Char('x')) +
               QStringLiteral(".AGF!");
    QTest::newRow("the contact box") << int(kBoxQuestionYesNoCancel) << QString::fromStdString(ContactBoxText());
}

// Boxes whose texts are as long as the program's can be, on the screen,
// over the main window at its smallest.
void TestWholeTexts::aBoxOfAnyLengthShowsItsWholeText() {
    QFETCH(int, style);
    QFETCH(QString, text);
    resizeMain(QSize(0, 0));
    m_boxes.show(style, text.toStdString());
    QCOMPARE(m_inspector->seen.size(), qsizetype(1));
    QVERIFY2(m_inspector->cut.isEmpty(), qPrintable(m_inspector->cut.join(QLatin1Char('\n'))));
}

QTEST_MAIN(TestWholeTexts)
#include "x11_WholeTexts.moc"
