// The file chooser on screen: the save chooser takes a new name with the
// default extension and asks before overwriting; the filter in use comes back.
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTreeView>
#include <QtTest>

#include "exchange/frm4Import.h"
#include "platform/qt/QtFileDialog.h"
#include "platform/qt/QtText.h"
#include "support/qt/ModalAnswerer.h"

class TestQtFileDialog : public QObject {
    Q_OBJECT
private slots:
    void saveTakesANewNameAndAsksBeforeOverwriting();
    void openGivesTheFileAndTheFilterInUse();
    void theTypeTheUserPicksComesBack_data();
    void theTypeTheUserPicksComesBack();
    void theNamesFitAgainWhenTheTypeChanges();

private:
    static FileDialogRequest request(bool save, const QTemporaryDir& dir) {
        FileDialogRequest r;
        r.save = save;
        r.filter = "Kalvenor (*.GLZ)|*.GLZ|Lumivar old (*.GLA)|*.GLA";
        r.defaultExt = "GLZ";
        r.title = "Exporting all glass data to text file";
        r.initialFolder = PathFromQString(dir.path());
        return r;
    }
};

void TestQtFileDialog::saveTakesANewNameAndAsksBeforeOverwriting() {
    QTemporaryDir dir;
    const QString existing = dir.filePath(QStringLiteral("Old.GLZ"));
    QFile f(existing);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.close();
    QtFileDialog chooser;
    ModalAnswerer answerer;

    answerer.chooseFile(dir.filePath(QStringLiteral("New")));
    FileDialogResult r = chooser.run(request(true, dir));
    QCOMPARE(r.outcome, FileDialogResult::Chosen);
    QCOMPARE(PathToQString(r.fullName), dir.filePath(QStringLiteral("New.GLZ")));
    QCOMPARE(answerer.seen().size(), std::size_t(1));  // no question for a new file

    // An existing file: No keeps the chooser open, Yes takes the file.
    answerer.chooseFile(dir.filePath(QStringLiteral("Old")))
        .press(QMessageBox::No)
        .chooseFile(existing)
        .press(QMessageBox::Yes);
    r = chooser.run(request(true, dir));
    QCOMPARE(r.outcome, FileDialogResult::Chosen);
    QCOMPARE(PathToQString(r.fullName), existing);
    const auto& seen = answerer.seen();
    QCOMPARE(seen.size(), std::size_t(5));
    QVERIFY(seen[2].text.contains(QStringLiteral("Old.GLZ")));
    QCOMPARE(seen[2].buttons, QMessageBox::Yes | QMessageBox::No);
    QVERIFY(answerer.done());

    answerer.cancelInput();  // a step other than a choice cancels the chooser
    QCOMPARE(chooser.run(request(true, dir)).outcome, FileDialogResult::Cancelled);
    QCOMPARE(answerer.unscripted(), 0);
}

void TestQtFileDialog::openGivesTheFileAndTheFilterInUse() {
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("cat.gla"));
    QFile f(file);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.close();
    QtFileDialog chooser;
    ModalAnswerer answerer;
    answerer.chooseFile(file);
    FileDialogRequest req = request(false, dir);
    req.filterIndex = 2;
    const FileDialogResult r = chooser.run(req);
    QCOMPARE(r.outcome, FileDialogResult::Chosen);
    QCOMPARE(PathToQString(r.fullName), file);
    QCOMPARE(r.filterIndex, 2);
    QCOMPARE(answerer.seen().front().title, QStringLiteral("Exporting all glass data to text file"));
    QVERIFY(answerer.seen().front().text.startsWith(QStringLiteral("Kalvenor (*.GLZ) (")));

    // An open takes existing files only: the chooser says so and stays open.
    answerer.chooseFile(dir.filePath(QStringLiteral("missing.GLA"))).press(QMessageBox::Ok).cancelInput();
    QCOMPARE(chooser.run(req).outcome, FileDialogResult::Cancelled);
    QVERIFY(answerer.seen()[2].text.contains(QStringLiteral("missing.GLA")));
    QVERIFY(answerer.done());
    QCOMPARE(answerer.unscripted(), 0);
}

void TestQtFileDialog::theTypeTheUserPicksComesBack_data() {
    QTest::addColumn<int>("start");
    QTest::addColumn<QString>("picked");
    QTest::addColumn<QString>("file");
    QTest::addColumn<int>("expected");
    QTest::newRow("Zemax AGF after GLZ") << 1 << QStringLiteral("Zemax AGF") << QStringLiteral("MAKER.AGF") << 5;
    QTest::newRow("OSLO GLC after AGF") << 5 << QStringLiteral("OSLO GLC") << QStringLiteral("maker.glc") << 4;
    QTest::newRow("GLZ after AGF") << 5 << QStringLiteral("Kalvenor") << QStringLiteral("Backup.GLZ") << 1;
}

// The Import page's types in the real dialog: the user picks a type from its
// list with the keyboard, then a file of that type, and opens it.
void TestQtFileDialog::theTypeTheUserPicksComesBack() {
    QFETCH(int, start);
    QFETCH(QString, picked);
    QFETCH(QString, file);
    QFETCH(int, expected);
    QTemporaryDir dir;
    QFile f(dir.filePath(file));
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.close();

    bool picking = false;
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        QVERIFY(dialog);
        auto* types = dialog->findChild<QComboBox*>(QStringLiteral("fileTypeCombo"));
        QVERIFY(types);
        const int target = types->findText(picked, Qt::MatchStartsWith);
        QStringList items;
        for (int i = 0; i < types->count(); ++i) items << types->itemText(i);
        if (target < 0) dialog->reject();
        QVERIFY2(target >= 0, qPrintable(picked + " is not in the list: " + items.join(QStringLiteral(" / "))));
        types->setFocus();
        while (types->currentIndex() != target)
            QTest::keyClick(types, types->currentIndex() < target ? Qt::Key_Down : Qt::Key_Up);
        picking = true;
        auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
        QVERIFY(name);
        name->setText(file);
        auto* buttons = dialog->findChild<QDialogButtonBox*>(QStringLiteral("buttonBox"));
        QVERIFY(buttons);
        QTest::mouseClick(buttons->button(QDialogButtonBox::Open), Qt::LeftButton);
    });
    QtFileDialog chooser;
    FileDialogRequest req;
    req.filter = kImportFilter;
    req.filterIndex = start;
    req.defaultExt = "GLZ";
    req.title = kImportDialogTitle;
    req.initialFolder = PathFromQString(dir.path());
    const FileDialogResult r = chooser.run(req);
    QVERIFY(picking);
    QCOMPARE(r.outcome, FileDialogResult::Chosen);
    QCOMPARE(PathToQString(r.fullName), dir.filePath(file));
    QCOMPARE(r.filterIndex, expected);
}

// A folder of Zemax catalogues and a long-named backup: the dialog opens on
// the Zemax type, and when the user picks the Kalvenor type the name column
// widens to the backup's name.
void TestQtFileDialog::theNamesFitAgainWhenTheTypeChanges() {
    QTemporaryDir dir;
    const QString backup = QStringLiteral("walther-backup-of-the-whole-collection-2024.GLZ");
    for (const QString& name : {QStringLiteral("a.AGF"), QStringLiteral("b.AGF"), backup}) {
        QFile f(dir.filePath(name));
        QVERIFY(f.open(QIODevice::WriteOnly));
    }
    int before = 0, after = 0, needed = 0;
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        QVERIFY(dialog);
        const auto close = qScopeGuard([dialog] { dialog->reject(); });  // also when a check fails
        auto* tree = dialog->findChild<QTreeView*>(QStringLiteral("treeView"));
        auto* types = dialog->findChild<QComboBox*>(QStringLiteral("fileTypeCombo"));
        QVERIFY(tree && types);
        QTRY_COMPARE(tree->model()->rowCount(tree->rootIndex()), 2);
        QTRY_VERIFY(tree->columnWidth(0) > 0);
        before = tree->columnWidth(0);
        types->setFocus();
        while (types->currentIndex() > 0) QTest::keyClick(types, Qt::Key_Up);
        QTRY_COMPARE(tree->model()->rowCount(tree->rootIndex()), 1);
        needed = tree->sizeHintForIndex(tree->model()->index(0, 0, tree->rootIndex())).width();
        QTRY_VERIFY(tree->columnWidth(0) >= needed);
        after = tree->columnWidth(0);
    });
    QtFileDialog chooser;
    FileDialogRequest req;
    req.filter = kImportFilter;
    req.filterIndex = kImportAGF;
    req.title = kImportDialogTitle;
    req.initialFolder = PathFromQString(dir.path());
    QCOMPARE(chooser.run(req).outcome, FileDialogResult::Cancelled);
    QVERIFY2(before < needed, qPrintable(QStringLiteral("%1 >= %2").arg(before).arg(needed)));
    QVERIFY2(after >= needed, qPrintable(QStringLiteral("%1 < %2").arg(after).arg(needed)));
}

QTEST_MAIN(TestQtFileDialog)
#include "tst_QtFileDialog.moc"
