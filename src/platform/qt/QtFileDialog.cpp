#include "platform/qt/QtFileDialog.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QGuiApplication>
#include <QHeaderView>
#include <QScreen>
#include <QStringList>
#include <QTreeView>
#include <algorithm>

#include "platform/qt/QtText.h"

namespace {

// The index of the filter in use. With the patterns hidden, Qt 6.4 gives the
// label alone ("Zemax AGF (*.AGF)", without the case-free patterns); later
// versions give the whole entry. Either form is matched.
int chosenFilter(const QStringList& filters, const QStringList& labels, const QString& selected) {
    qsizetype i = filters.indexOf(selected);
    if (i < 0) i = labels.indexOf(selected.simplified());
    return i < 0 ? -1 : static_cast<int>(i);
}

// Wide enough for long catalogue names, never wider than most of the screen.
void sizeToTheScreen(QFileDialog& dialog) {
    const QScreen* screen = dialog.screen() ? dialog.screen() : QGuiApplication::primaryScreen();
    if (!screen) return;
    const QRect room = screen->availableGeometry();
    const QFontMetrics metrics(dialog.font());
    const int width = std::min(metrics.averageCharWidth() * 120, room.width() * 9 / 10);
    const int height = std::min(metrics.height() * 32, room.height() * 4 / 5);
    dialog.resize(std::max(width, dialog.sizeHint().width()), std::max(height, dialog.sizeHint().height()));
}

// Each column takes the width of its longest text among the files shown,
// the names up to half the dialog: when a folder has loaded, and again when
// another file type shows other files (the model lays its rows out anew).
void fitTheColumns(QFileDialog& dialog) {
    auto* tree = dialog.findChild<QTreeView*>(QStringLiteral("treeView"));
    auto* model = dialog.findChild<QFileSystemModel*>();
    if (!tree || !model) return;
    auto fit = [&dialog, tree] {
        for (int c = 0; c < tree->header()->count(); ++c) tree->resizeColumnToContents(c);
        const int limit = std::max(dialog.width() / 2, tree->header()->sectionSizeHint(0));
        if (tree->columnWidth(0) > limit) tree->setColumnWidth(0, limit);
    };
    QObject::connect(model, &QFileSystemModel::directoryLoaded, &dialog, fit);
    QObject::connect(model, &QAbstractItemModel::layoutChanged, &dialog, fit);
}

}  // namespace

FileDialogResult QtFileDialog::run(const FileDialogRequest& request) {
    QFileDialog dialog(m_parent, ToQString(request.title));
    dialog.setOption(QFileDialog::DontUseNativeDialog, true);
    // The list shows each label alone; the case-free patterns stay out of sight.
    dialog.setOption(QFileDialog::HideNameFilterDetails, true);
    dialog.setAcceptMode(request.save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(request.save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    dialog.setViewMode(QFileDialog::Detail);

    QStringList filters, labels;
    for (const FileFilterEntry& e : ParseFileFilter(request.filter)) {
        QStringList patterns;
        for (const std::string& p : e.patterns) patterns << ToQString(CaseInsensitivePattern(p));
        labels << ToQString(e.label).simplified();
        filters << ToQString(e.label) + QStringLiteral(" (") + patterns.join(QLatin1Char(' ')) + QLatin1Char(')');
    }
    if (!filters.isEmpty()) {
        dialog.setNameFilters(filters);
        const int i = request.filterIndex >= 1 && request.filterIndex <= filters.size() ? request.filterIndex - 1 : 0;
        dialog.selectNameFilter(filters.at(i));
    }
    if (!request.defaultExt.empty()) dialog.setDefaultSuffix(ToQString(request.defaultExt));
    fitTheColumns(dialog);
    if (!request.initialFolder.empty()) dialog.setDirectory(PathToQString(request.initialFolder));
    if (!request.proposedName.empty()) dialog.selectFile(PathToQString(request.proposedName));
    sizeToTheScreen(dialog);

    FileDialogResult result;
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        result.outcome = FileDialogResult::Cancelled;
        return result;
    }
    result.outcome = FileDialogResult::Chosen;
    result.fullName = PathFromQString(QFileInfo(dialog.selectedFiles().first()).absoluteFilePath());
    const int chosen = chosenFilter(filters, labels, dialog.selectedNameFilter());
    result.filterIndex = chosen >= 0 ? chosen + 1 : request.filterIndex;
    return result;
}
