// The message and input boxes on screen, and the text conversions they use.
#include <QClipboard>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextEdit>
#include <QtTest>

#include "platform/qt/QtBoxes.h"
#include "platform/qt/QtText.h"
#include "support/qt/ModalAnswerer.h"

class TestQtBoxes : public QObject {
    Q_OBJECT
private slots:
    void markupAndAmpersandsShowAsTyped();
    void stylesGiveTheirButtonsAndAnswers();
    void escapeOnYesNoMeansNo();
    void inputBoxReturnsTextOrEmptyOnCancel();
    void windows1252RoundTrip();
    void tabbedLinesAreNotWrapped();
    void theHourglassMakesWayForTheBox();
    void aLongTextScrollsInsideTheScreen_data();
    void aLongTextScrollsInsideTheScreen();
    void aLongWordWrapsAndCopiesAsTheMessage();
};

namespace {

// The view that shows the text of the box open now.
QTextEdit* boxText(QMessageBox* box) { return box ? box->findChild<QTextEdit*>(QStringLiteral("boxText")) : nullptr; }

}  // namespace

void TestQtBoxes::markupAndAmpersandsShowAsTyped() {
    ModalAnswerer answerer;
    answerer.press(QMessageBox::Ok);
    QtBoxes boxes;
    const std::string text = "<b>N-BK7</b> & Co \x80 5";
    QCOMPARE(boxes.show(kBoxExclamation, text, "Title <i>x</i>"), int(kAnswerOk));
    QCOMPARE(answerer.seen().size(), std::size_t(1));
    const auto& seen = answerer.seen().front();
    QCOMPARE(seen.format, Qt::PlainText);
    QCOMPARE(seen.text, QStringLiteral("<b>N-BK7</b> & Co \u20AC 5"));
    QVERIFY(seen.shown.contains(QStringLiteral("<b>N-BK7</b> & Co")));
    QCOMPARE(seen.title, QStringLiteral("Title <i>x</i>"));
    QCOMPARE(seen.icon, QMessageBox::Warning);
    QCOMPARE(answerer.unscripted(), 0);
}

void TestQtBoxes::stylesGiveTheirButtonsAndAnswers() {
    ModalAnswerer answerer;
    answerer.press(QMessageBox::No).press(QMessageBox::Cancel).press(QMessageBox::Yes).press(QMessageBox::Ok);
    QtBoxes boxes;
    QCOMPARE(boxes.show(kBoxQuestionYesNoCancel, "q"), int(kAnswerNo));
    QCOMPARE(boxes.show(kBoxQuestionOkCancel, "q"), int(kAnswerCancel));
    QCOMPARE(boxes.show(kBoxInformationYesNo, "q"), int(kAnswerYes));
    QCOMPARE(boxes.show(kBoxCritical, "q"), int(kAnswerOk));
    const auto& seen = answerer.seen();
    QCOMPARE(seen.size(), std::size_t(4));
    QCOMPARE(seen[0].buttons, QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
    QCOMPARE(seen[0].icon, QMessageBox::Question);
    QCOMPARE(seen[0].title, QStringLiteral("KalvenorQX"));
    QCOMPARE(seen[1].buttons, QMessageBox::Ok | QMessageBox::Cancel);
    QCOMPARE(seen[2].buttons, QMessageBox::Yes | QMessageBox::No);
    QCOMPARE(seen[2].icon, QMessageBox::Information);
    QCOMPARE(seen[3].buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
    QCOMPARE(seen[3].icon, QMessageBox::Critical);
}

void TestQtBoxes::escapeOnYesNoMeansNo() {
    ModalAnswerer answerer;
    answerer.escape().escape();
    QtBoxes boxes;
    QCOMPARE(boxes.show(kBoxQuestionYesNo, "Delete?"), int(kAnswerNo));
    QCOMPARE(boxes.show(kBoxQuestionYesNoCancel, "Sort?"), int(kAnswerCancel));
}

void TestQtBoxes::inputBoxReturnsTextOrEmptyOnCancel() {
    ModalAnswerer answerer;
    answerer.type(QStringLiteral("Sch\u00F6tt <x> & y")).cancelInput();
    QtBoxes boxes;
    QCOMPARE(boxes.input("Enter <b>NEW</b> name & more", "KalvenorQX", "old"), std::string("Sch\xF6tt <x> & y"));
    QCOMPARE(boxes.input("again", "KalvenorQX", "old"), std::string());
    const auto& seen = answerer.seen();
    QCOMPARE(seen.size(), std::size_t(2));
    QVERIFY(seen[0].isInput);
    QCOMPARE(seen[0].format, Qt::PlainText);
    QCOMPARE(seen[0].text, QStringLiteral("Enter <b>NEW</b> name & more"));
}

void TestQtBoxes::windows1252RoundTrip() {
    std::string all;
    for (int b = 1; b < 256; ++b) all.push_back(static_cast<char>(b));
    QCOMPARE(FromQString(ToQString(all)), all);
    QCOMPARE(ToQString("\x80\x8A\x9F\xE9"), QStringLiteral("\u20AC\u0160\u0178\u00E9"));
    QCOMPARE(FromQString(QStringLiteral("\u20AC \u2713 \U0001F600")), std::string("\x80 ? ?"));
    QCOMPARE(PathFromQString(PathToQString("/home/j\xC3\xBCrgen/")), std::string("/home/j\xC3\xBCrgen/"));
}

void TestQtBoxes::tabbedLinesAreNotWrapped() {
    // The Manage page's sort question: a small table laid out with tabs.
    const std::string text =
        "Select sort order:\r\n\r\n\tYes   \t\tto sort by 'Glass'\r\n\r\n\tNo    \t\tto sort by 'Source'"
        "\r\n\r\n\tCancel\t\tto abort\r\n" + std::string(40, 'x') + std::string(60, ' ') + "wraps like any paragraph";
    int labelWidth = 0, widest = 0, paragraph = 0;
    QTimer::singleShot(0, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        QVERIFY(box);
        QTextEdit* label = boxText(box);
        QVERIFY(label);
        // Measured at the view's tab stops.
        const QFontMetrics metrics(label->font());
        const int tabStop = qRound(label->tabStopDistance());
        for (const QString& line : box->text().split(QLatin1Char('\n')))
            if (line.contains(QLatin1Char('\t')))
                widest = std::max(widest, metrics.boundingRect(QRect(), Qt::TextExpandTabs, line, tabStop).width());
        paragraph = metrics.horizontalAdvance(box->text().split(QLatin1Char('\n')).last());
        labelWidth = label->viewport()->width();
        box->button(QMessageBox::Cancel)->click();
    });
    QtBoxes boxes;
    QCOMPARE(boxes.show(kBoxQuestionYesNoCancel, text), int(kAnswerCancel));
    QVERIFY(widest > 0);
    QVERIFY2(labelWidth >= widest, qPrintable(QStringLiteral("%1 < %2").arg(labelWidth).arg(widest)));
    // A long line without tabs does not widen the box: it wraps.
    QVERIFY2(labelWidth < paragraph, qPrintable(QStringLiteral("%1 >= %2").arg(labelWidth).arg(paragraph)));
}

void TestQtBoxes::theHourglassMakesWayForTheBox() {
    QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
    Qt::CursorShape whileOpen = Qt::WaitCursor;
    QTimer::singleShot(0, [&] {
        whileOpen = QGuiApplication::overrideCursor()->shape();
        qobject_cast<QMessageBox*>(QApplication::activeModalWidget())->button(QMessageBox::Ok)->click();
    });
    QtBoxes boxes;
    boxes.show(kBoxExclamation, "Sellmeier seems to be failing to converge");
    QCOMPARE(whileOpen, Qt::ArrowCursor);
    QVERIFY(QGuiApplication::overrideCursor());
    QCOMPARE(QGuiApplication::overrideCursor()->shape(), Qt::WaitCursor);
    QGuiApplication::restoreOverrideCursor();
}

void TestQtBoxes::aLongTextScrollsInsideTheScreen_data() {
    QTest::addColumn<QString>("separator");
    QTest::addColumn<int>("paragraph");
    QTest::newRow("a list") << QStringLiteral("\r\n") << 0;
    QTest::newRow("a list with a long paragraph") << QStringLiteral("\r\n") << 3000;
    QTest::newRow("names in one paragraph") << QStringLiteral(", ") << 0;
}

void TestQtBoxes::aLongTextScrollsInsideTheScreen() {
    // An add that names hundreds of materials: the buttons stay on the screen.
    QFETCH(QString, separator);
    QFETCH(int, paragraph);
    std::string text = "The following materials are already in your collection:\r\n\r\n";
    for (int i = 1; i <= 400; ++i) text += (i > 1 ? separator.toStdString() : "") + "GLASS-" + std::to_string(i) + "/MAKER";
    for (int i = 0; i < paragraph / 5; ++i) text += (i == 0 ? "\r\n" : " ") + std::string("word");
    text += "\r\n\r\nDo you want to overwrite the existing data?";
    QRect screen, frame, yes;
    bool lastLineReachable = false;
    QTimer::singleShot(0, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        QVERIFY(box);
        screen = box->screen()->availableGeometry();
        frame = box->frameGeometry();
        QAbstractButton* button = box->button(QMessageBox::Yes);
        yes = QRect(button->mapTo(box, QPoint(0, 0)) + box->geometry().topLeft(), button->size());
        QTextEdit* view = boxText(box);
        QVERIFY(view);
        // The whole text is there to scroll to.
        lastLineReachable = view->toPlainText().endsWith(QStringLiteral("existing data?")) &&
                            view->verticalScrollBar()->isVisible() &&
                            view->document()->size().height() > box->height();
        button->click();
    });
    QtBoxes boxes;
    QCOMPARE(boxes.show(kBoxQuestionYesNo, text), int(kAnswerYes));
    QVERIFY2(frame.height() <= screen.height(), qPrintable(QStringLiteral("%1 > %2").arg(frame.height()).arg(screen.height())));
    QVERIFY2(frame.width() <= screen.width(), qPrintable(QStringLiteral("%1 > %2").arg(frame.width()).arg(screen.width())));
    QVERIFY(screen.contains(yes));
    QVERIFY(lastLineReachable);
}

// A path without a blank, wider than the screen: it wraps inside the box,
// and the text the user selects with the mouse and copies is the message.
void TestQtBoxes::aLongWordWrapsAndCopiesAsTheMessage() {
    const QString message =
        QStringLiteral("Unable to import any glasses from file /home/designer/") + QString(300, QLatin1Char('x')) +
        QStringLiteral(".AGF!");
    QGuiApplication::clipboard()->clear();
    QRect screen, frame;
    int lines = 0;
    QString selected;
    QTimer::singleShot(0, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        QTextEdit* view = boxText(box);
        QVERIFY(view);
        screen = box->screen()->availableGeometry();
        frame = box->frameGeometry();
        lines = view->document()->firstBlock().layout()->lineCount();
        // Dragged from the first character to past the last, then Ctrl+C.
        QWidget* page = view->viewport();
        QTest::mousePress(page, Qt::LeftButton, Qt::NoModifier, QPoint(1, 1));
        QTest::mouseMove(page, QPoint(page->width() / 2, page->height() / 2));
        QTest::mouseMove(page, QPoint(page->width() - 1, page->height() - 1));
        QTest::mouseRelease(page, Qt::LeftButton, Qt::NoModifier, QPoint(page->width() - 1, page->height() - 1));
        selected = view->textCursor().selectedText();
        QTest::keyClick(view, Qt::Key_C, Qt::ControlModifier);
        box->button(QMessageBox::Ok)->click();
    });
    QtBoxes boxes;
    QCOMPARE(boxes.show(kBoxExclamation, FromQString(message)), int(kAnswerOk));
    QVERIFY2(screen.contains(frame), qPrintable(QStringLiteral("%1 x %2 at %3, %4 runs off the screen")
                                                     .arg(frame.width())
                                                     .arg(frame.height())
                                                     .arg(frame.x())
                                                     .arg(frame.y())));
    QVERIFY2(lines > 1, "the path does not wrap");
    QCOMPARE(selected, message);
    QCOMPARE(QGuiApplication::clipboard()->text(), message);
}

QTEST_MAIN(TestQtBoxes)
#include "tst_QtBoxes.moc"
