// The Setup page's window end to end: first run with its search and box,
// browsing with the file dialog, OK; and closing by the close box.
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>
#include <filesystem>
#include <fstream>

#include "platform/Settings.h"
#include "platform/qt/QtBoxes.h"
#include "platform/qt/QtBusyCursor.h"
#include "platform/qt/QtPump.h"
#include "shell/qt/frm1SetupWindow.h"
#include "support/ProgramFolder.h"
#include "support/qt/ModalAnswerer.h"

namespace {

void touch(const std::string& path) {
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    std::ofstream(path) << "MZ";
}

}  // namespace

class TestSetupWindow : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup() { ResetSetupPaths(); }
    void firstRunBrowseAndOk();
    void closeBoxClearsTheFirstRun();

private:
    SetupPageServices services() {
        SetupPageServices s;
        s.boxes = &m_boxes;
        s.settings = &m_registry;
        s.cursor = &m_cursor;
        s.feedback = {[this](const std::string& t, bool) { m_notes.push_back(t); }, PumpWindowEvents};
        s.switchPage = [this](int page, bool open) { m_switches.emplace_back(page, open); };
        s.searchRoots = [this] { return std::vector<std::string>{m_root + "wine/drive_c/"}; };
        return s;
    }

    QTemporaryDir m_dir;
    std::string m_root;
    QtBoxes m_boxes;
    MemorySettings m_registry;
    QtBusyCursor m_cursor;
    std::vector<std::string> m_notes;
    std::vector<std::pair<int, bool>> m_switches;
};

void TestSetupWindow::init() {
    ResetSetupPaths();
    m_registry = MemorySettings();
    m_notes.clear();
    m_switches.clear();
    m_root = m_dir.path().toStdString() + "/";
}

void TestSetupWindow::firstRunBrowseAndOk() {
    ProgramFolderOverride home(m_root + "progs/Kalvenor/");
    touch(m_root + "progs/Vitrarch/VitrarchQX.EXE");
    touch(m_root + "wine/drive_c/Program Files/Lumivar/lumivar3d.exe");
    touch(m_root + "tol/LumivarDazirireraVI.exe");
    LoadSetupPaths(m_registry);

    frm1Setup page(services());
    frm1SetupWindow window(page);
    ModalAnswerer answerer;
    answerer.press(QMessageBox::Ok).chooseFile(QString::fromStdString(m_root + "tol/LumivarDazirireraVI.exe"));
    QVERIFY(!page.Display(false));
    QVERIFY(window.isVisible());
    QCOMPARE(window.windowTitle(), QStringLiteral("Setup"));
    QCOMPARE(answerer.seen().size(), std::size_t(1));
    QVERIFY(answerer.seen()[0].text.startsWith(QStringLiteral("KalvenorQX is designed to create materials")));
    QCOMPARE(window.pathLabel(0)->text(), QString::fromStdString(m_root + "progs/Vitrarch/VitrarchQX.EXE"));
    QCOMPARE(window.pathLabel(1)->text(),
             QString::fromStdString(m_root + "wine/drive_c/Program Files/Lumivar/Lumivar3D.EXE"));
    QCOMPARE(window.pathLabel(2)->text(), QStringLiteral("Not found"));
    QCOMPARE(window.okButton()->toolTip(), QStringLiteral("Confirm that these paths are correct"));
    QVERIFY(!m_notes.empty());

    QTest::mouseClick(window.browseButton(2), Qt::LeftButton);
    QCOMPARE(answerer.seen().size(), std::size_t(2));
    QCOMPARE(answerer.seen()[1].title, QStringLiteral("Finding path to Lumivar Tol program"));
    QCOMPARE(window.pathLabel(2)->text(), QString::fromStdString(m_root + "tol/LumivarDazirireraVI.EXE"));

    QTest::mouseClick(window.okButton(), Qt::LeftButton);
    QVERIFY(!window.isVisible());
    QVERIFY(page.result());
    QVERIFY(FoundLQTol());
    QCOMPARE(m_registry.get(kSetupSection, "LumivarTolQX"), std::optional<std::string>(m_root + "tol/"));
    QCOMPARE(m_registry.get(kSetupSection, kFirstLoadValue), std::optional<std::string>("0"));
    QCOMPARE(m_switches, (std::vector<std::pair<int, bool>>{{1, false}}));
    QCOMPARE(answerer.unscripted(), 0);
}

void TestSetupWindow::closeBoxClearsTheFirstRun() {
    ProgramFolderOverride home(m_root + "empty/Kalvenor/");
    LoadSetupPaths(m_registry);
    frm1Setup page(services());
    frm1SetupWindow window(page);
    ModalAnswerer answerer;
    answerer.press(QMessageBox::Ok);
    page.Display(false);
    QVERIFY(window.isVisible());
    QVERIFY(window.close());
    QVERIFY(!FirstLoad());
    QCOMPARE(m_registry.get(kSetupSection, kFirstLoadValue), std::optional<std::string>("0"));
    QCOMPARE(m_switches.size(), std::size_t(1));
    page.ForceUnload();  // closing again does nothing more
    QCOMPARE(m_switches.size(), std::size_t(1));
}

QTEST_MAIN(TestSetupWindow)
#include "tst_frm1SetupWindow.moc"
