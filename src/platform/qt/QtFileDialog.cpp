#include "platform/qt/QtFileDialog.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QStringList>

#include "platform/qt/QtText.h"

FileDialogResult QtFileDialog::run(const FileDialogRequest& request) {
    QFileDialog dialog(m_parent, ToQString(request.title));
    dialog.setOption(QFileDialog::DontUseNativeDialog, true);
    // The list shows each label alone; the case-free patterns stay out of sight.
    dialog.setOption(QFileDialog::HideNameFilterDetails, true);
    dialog.setAcceptMode(request.save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(request.save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);

    QStringList filters;
    for (const FileFilterEntry& e : ParseFileFilter(request.filter)) {
        QStringList patterns;
        for (const std::string& p : e.patterns) patterns << ToQString(CaseInsensitivePattern(p));
        filters << ToQString(e.label) + QStringLiteral(" (") + patterns.join(QLatin1Char(' ')) + QLatin1Char(')');
    }
    if (!filters.isEmpty()) {
        dialog.setNameFilters(filters);
        const int i = request.filterIndex >= 1 && request.filterIndex <= filters.size() ? request.filterIndex - 1 : 0;
        dialog.selectNameFilter(filters.at(i));
    }
    if (!request.defaultExt.empty()) dialog.setDefaultSuffix(ToQString(request.defaultExt));
    if (!request.initialFolder.empty()) dialog.setDirectory(PathToQString(request.initialFolder));
    if (!request.proposedName.empty()) dialog.selectFile(PathToQString(request.proposedName));

    FileDialogResult result;
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        result.outcome = FileDialogResult::Cancelled;
        return result;
    }
    result.outcome = FileDialogResult::Chosen;
    result.fullName = PathFromQString(QFileInfo(dialog.selectedFiles().first()).absoluteFilePath());
    const qsizetype chosen = filters.indexOf(dialog.selectedNameFilter());
    result.filterIndex = chosen >= 0 ? static_cast<int>(chosen) + 1 : request.filterIndex;
    return result;
}
