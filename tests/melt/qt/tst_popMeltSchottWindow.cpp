// The Schott melt sheet converter's dialog end to end: the parent's values
// beside the boxes, the nine sheet values typed in, "Show indicies" and OK
// handing seven pairs back; Cancel hands nothing back.
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

#include "melt/qt/popMeltSchottWindow.h"
#include "model/GlassData.h"
#include "model/NumberFormat.h"
#include "platform/NumberText.h"
#include "platform/Settings.h"
#include "shell/CNewMsg.h"

namespace {

class RecordingBoxes : public IBoxes {
public:
    int show(int, const std::string& text, const std::string& title) override {
        shown.push_back(text);
        titles.push_back(title);
        return answer;
    }
    std::string input(const std::string& prompt, const std::string&, const std::string&) override {
        shown.push_back(prompt);
        return {};
    }
    std::vector<std::string> shown;
    std::vector<std::string> titles;
    int answer = kAnswerOk;
};

GlassRecord nbk7() {
    GlassRecord g;
    InitGlassRecord(g);
    g.definition.name.set("N-BK7");
    g.definition.formulaType = kSellmeier;
    g.definition.coefficients = {1.03961212, 0.231792344, 1.01046945, 0.00600069867, 0.0200179144, 103.560653};
    return g;
}

const char* const kTyped[kSheetValues] = {"1.5168",  "1.5187",  "0.00805", "0.00244", "0.00561",
                                          "0.00371", "0.00456", "0.00811", "0.00536"};

// The dialog over its logic, with the boxes it shows.
struct SheetDialog {
    explicit SheetDialog(bool hintRead) {
        if (hintRead) settings.set(kNewMsgSection, kSheetHintKey, "-1");
    }
    RecordingBoxes boxes;
    MemorySettings settings;
    CNewMsg hints{boxes, settings};
    popMeltSchott page{{&boxes, &hints, nullptr}};
    popMeltSchottWindow window{page};
};

void activate(QWidget& window) {
    QApplication::setActiveWindow(&window);
    QVERIFY(QTest::qWaitForWindowActive(&window));
}

}  // namespace

class TestMeltSchottWindow : public QObject {
    Q_OBJECT
private slots:
    void typeTheSheetAndConvert();
    void cancelHandsNothingBack();
    void aSheetEnteredBeforeIsTakenAgainByLeavingABox();

private:
    void driveSheet(popMeltSchottWindow& window, RecordingBoxes& boxes);
};

void TestMeltSchottWindow::driveSheet(popMeltSchottWindow& window, RecordingBoxes& boxes) {
    QVERIFY(window.isVisible());
    QCOMPARE(window.windowTitle(), QStringLiteral("Schott melt data"));
    QCOMPARE(boxes.titles.size(), std::size_t(1));  // the one-time hint
    QCOMPARE(boxes.titles[0], std::string("Schott melt data"));
    bool ok = false;
    const double nd = EvaluateIndex(nbk7().definition, kLineD, kSellmeier, ok);
    QCOMPARE(window.catalogLabel(1)->text(), QString::fromStdString("(" + Format(nd, "0.000000") + ")"));
    QVERIFY(!window.okButton()->isEnabled());
    QVERIFY(!window.showIndexButton()->isEnabled());

    for (int i = 1; i <= kSheetValues; ++i) {
        QLineEdit* edit = window.valueEdit(i);
        edit->setFocus();
        QTest::keyClicks(edit, QString::fromLatin1(kTyped[i - 1]));
        QTest::keyClick(edit, Qt::Key_Return);
    }
    QCOMPARE(window.valueEdit(3)->text(), QStringLiteral("0.008050"));
    QVERIFY(window.okButton()->isEnabled());
    QVERIFY(window.showIndexButton()->isEnabled());
    QCOMPARE(boxes.shown.size(), std::size_t(1));  // Enter pressed no button

    QTest::mouseClick(window.showIndexButton(), Qt::LeftButton);
    QCOMPARE(boxes.shown.size(), std::size_t(2));
    QVERIFY(boxes.shown[1].find("F'\t479.9914\t\t1.524060") != std::string::npos);
    QVERIFY(window.isVisible());
    QTest::mouseClick(window.okButton(), Qt::LeftButton);
}

void TestMeltSchottWindow::typeTheSheetAndConvert() {
    SheetDialog d(false);
    popMeltSchottWindow& window = d.window;
    QTimer::singleShot(0, &window, [&] {
        driveSheet(window, d.boxes);
        if (window.isVisible()) window.reject();
    });
    GlassRecord melt = nbk7();
    QVERIFY(d.page.Display(melt));
    QCOMPARE(melt.melt.pairCount, std::int16_t(7));
    QCOMPARE(melt.melt.pairWavelength[1], kLineC);
    QVERIFY(std::fabs(melt.melt.pairIndex[7] - 1.52697) < 2e-7);
}

void TestMeltSchottWindow::cancelHandsNothingBack() {
    SheetDialog d(true);
    popMeltSchottWindow& window = d.window;
    QTimer::singleShot(0, &window, [&] {
        activate(window);
        QLineEdit* edit = window.valueEdit(1);
        edit->setFocus();
        QTest::keyClicks(edit, QStringLiteral("1.6"));
        window.valueEdit(2)->setFocus();  // leaving the box commits it
        QCOMPARE(edit->text(), QStringLiteral("1.600000"));
        QTest::mouseClick(window.cancelButton(), Qt::LeftButton);
        QVERIFY(!window.isVisible());
    });
    QTimer::singleShot(2000, &window, [&] { window.reject(); });
    GlassRecord melt = nbk7();
    const GlassRecord before = melt;
    QVERIFY(!d.page.Display(melt));
    QVERIFY(melt == before);
    QVERIFY(d.boxes.shown.empty());
}

void TestMeltSchottWindow::aSheetEnteredBeforeIsTakenAgainByLeavingABox() {
    SheetDialog d(true);
    popMeltSchottWindow& window = d.window;
    GlassRecord melt = nbk7();
    for (int i = 1; i <= kSheetValues; ++i)
        QVERIFY(ParseNumber(kTyped[i - 1], melt.melt.secondTable[kSheetColumn][static_cast<std::size_t>(i)]));
    QTimer::singleShot(0, &window, [&] {
        activate(window);
        QCOMPARE(window.valueEdit(1)->text(), QStringLiteral("1.516800"));
        QVERIFY(!window.okButton()->isEnabled());
        // Leaving a box that shows a stored value takes it again.
        window.valueEdit(1)->setFocus();
        QTest::keyClick(window.valueEdit(1), Qt::Key_Tab);
        QVERIFY(!window.valueEdit(1)->hasFocus());
        QVERIFY(window.okButton()->isEnabled());
        QVERIFY(window.showIndexButton()->isEnabled());
        QTest::mouseClick(window.okButton(), Qt::LeftButton);
    });
    QTimer::singleShot(2000, &window, [&] { window.reject(); });
    QVERIFY(d.page.Display(melt));
    QCOMPARE(melt.melt.pairCount, std::int16_t(7));
    QVERIFY(d.boxes.shown.empty());
}

QTEST_MAIN(TestMeltSchottWindow)
#include "tst_popMeltSchottWindow.moc"
