// The melt parent picker's dialog end to end over a temporary catalogue
// database: the remembered maker is listed at once, another maker is clicked,
// a glass is picked from the grid and OK hands it over.
#include <QComboBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include "manage/CatalogueDatabase.h"
#include "manage/CatalogueOutput.h"
#include "melt/qt/popMeltParentWindow.h"
#include "platform/BusyCursor.h"
#include "platform/Settings.h"

namespace {

class RecordingBoxes : public IBoxes {
public:
    int show(int, const std::string& text, const std::string&) override {
        shown.push_back(text);
        return kAnswerOk;
    }
    std::string input(const std::string& prompt, const std::string&, const std::string&) override {
        shown.push_back(prompt);
        return {};
    }
    std::vector<std::string> shown;
};

GlassRecord glass(const char* name, const char* source, double b1) {
    GlassRecord g;
    InitGlassRecord(g);
    g.definition.name.set(name);
    g.definition.source.set(source);
    g.definition.formulaType = kSellmeier;
    g.definition.coefficients = {b1, 0.231792344, 1.01046945, 0.00600069867, 0.0200179144, 103.560653};
    g.definition.lowerWavelength = 310;
    g.definition.upperWavelength = 2325;
    g.properties.status.set("R");
    g.catalogFlags.statusILine = kTrue;
    return g;
}

void clickRow(QTableWidget* table, int row, int col) {
    const QRect cell = table->visualItemRect(table->item(row, col));
    QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, cell.center());
}

}  // namespace

class TestMeltParentWindow : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void pickAParentFromAnotherMaker();
    void cancelLeavesTheRecordAndTheSetting();

private:
    void drivePick(popMeltParentWindow& window);

    QTemporaryDir m_dir;
    std::string m_folder;
};

void TestMeltParentWindow::initTestCase() {
    m_folder = m_dir.path().toStdString() + "/";
    QVERIFY(CreateCatalogueDatabase(m_folder + kCatalogueFileName));
    CatalogueDatabase db;
    QVERIFY(db.open(m_folder));
    QVERIFY(AddGlassRow(db, 1, glass("N-BK7", "Schott", 1.03961212)));
    QVERIFY(AddGlassRow(db, 2, glass("S-BSL7", "Ohara", 1.0)));
    QVERIFY(AddGlassRow(db, 3, glass("S-FSL5", "Ohara", 0.9)));
}

void TestMeltParentWindow::drivePick(popMeltParentWindow& window) {
    QVERIFY(window.isVisible());
    QCOMPARE(window.windowTitle(), QStringLiteral("Melt glass parent"));
    QListWidget* makers = window.makerList();
    QCOMPARE(makers->count(), 8);
    QCOMPARE(makers->currentItem()->text(), QStringLiteral("Schott"));  // remembered
    QTableWidget* table = window.grid().widget();
    QVERIFY(table->isVisible());
    QCOMPARE(table->rowCount(), 1);
    QVERIFY(!window.okButton()->isEnabled());
    QVERIFY(!window.selectedGlassLabel()->isVisible());

    QListWidgetItem* ohara = makers->findItems(QStringLiteral("Ohara"), Qt::MatchExactly).value(0);
    QVERIFY(ohara);
    QTest::mouseClick(makers->viewport(), Qt::LeftButton, {}, makers->visualItemRect(ohara).center());
    QCOMPARE(table->rowCount(), 2);
    QCOMPARE(table->item(0, 1)->text(), QStringLiteral("  S-BSL7"));
    QCOMPARE(table->item(1, 5)->text(), QStringLiteral("  Recommended"));

    // Sort by Material: S-BSL7 stays first; by Index the lower index (S-FSL5) comes first.
    window.sortOrder()->setCurrentIndex(3);
    emit window.sortOrder()->activated(3);
    QCOMPARE(table->item(0, 1)->text(), QStringLiteral("  S-FSL5"));

    clickRow(table, 1, 2);
    QVERIFY(window.okButton()->isEnabled());
    QVERIFY(window.selectedGlassLabel()->isVisible());
    QCOMPARE(window.selectedGlassLabel()->text(), QStringLiteral("Select glass: Ohara  S-BSL7"));
    QTest::mouseClick(window.okButton(), Qt::LeftButton);
}

void TestMeltParentWindow::pickAParentFromAnotherMaker() {
    RecordingBoxes boxes;
    MemorySettings settings;
    settings.set(kMeltParentSection, kMeltParentMakerKey, "Schott");
    RecordingBusyCursor cursor;
    popMeltParent page({&boxes, &settings, &cursor, [this] { return m_folder; }});
    popMeltParentWindow window(page);
    QTimer::singleShot(0, &window, [&] {
        drivePick(window);
        if (window.isVisible()) window.reject();
    });
    GlassRecord chosen;
    InitGlassRecord(chosen);
    QVERIFY(page.Display(chosen));
    QVERIFY(!window.isVisible());
    QCOMPARE(chosen.definition.name.str(), std::string("S-BSL7"));
    QCOMPARE(chosen.melt.parentSource.str(), std::string("Ohara"));
    QCOMPARE(chosen.catalogFlags.statusILine, kTrue);
    QCOMPARE(settings.get(kMeltParentSection, kMeltParentMakerKey), std::optional<std::string>("Ohara"));
    QVERIFY(boxes.shown.empty());
}

void TestMeltParentWindow::cancelLeavesTheRecordAndTheSetting() {
    RecordingBoxes boxes;
    MemorySettings settings;
    RecordingBusyCursor cursor;
    popMeltParent page({&boxes, &settings, &cursor, [this] { return m_folder; }});
    popMeltParentWindow window(page);
    QTimer::singleShot(0, &window, [&] {
        QApplication::setActiveWindow(&window);
        QVERIFY(QTest::qWaitForWindowActive(&window));
        QTest::qWait(20);
        // Nothing remembered yet: the list taking the focus chooses no maker.
        QVERIFY(window.makerList()->selectedItems().isEmpty());
        QVERIFY(!window.grid().widget()->isVisible());
        QListWidget* makers = window.makerList();
        QTest::mouseClick(makers->viewport(), Qt::LeftButton, {}, makers->visualItemRect(makers->item(5)).center());
        clickRow(window.grid().widget(), 0, 1);
        QVERIFY(window.okButton()->isEnabled());
        QTest::keyClick(&window, Qt::Key_Escape);  // the close box does the same
        QVERIFY(!window.isVisible());
    });
    QTimer::singleShot(2000, &window, [&] { window.reject(); });
    GlassRecord kept = glass("Kept", "Mine", 1.0);
    const GlassRecord before = kept;
    QVERIFY(!page.Display(kept));
    QVERIFY(kept == before);
    QVERIFY(!settings.get(kMeltParentSection, kMeltParentMakerKey));
}

QTEST_MAIN(TestMeltParentWindow)
#include "tst_popMeltParentWindow.moc"
