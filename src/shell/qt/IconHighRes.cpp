#include "shell/qt/IconHighRes.h"

#include <QApplication>
#include <QWidget>

#include "shell/qt/Artwork.h"

QIcon IconResource(const QString& szResource) {
    if (szResource == QLatin1String("AAA")) return ProgramIcon();
    return {};
}

void SetWindowIcons(QWidget* hWnd, const QString& szResource, bool bOwnerToo) {
    if (!hWnd) return;
    const QIcon icon = IconResource(szResource);
    if (icon.isNull()) return;
    if (bOwnerToo) {
        QWidget* top = hWnd->window();
        while (top->parentWidget()) top = top->parentWidget()->window();
        if (top != hWnd) top->setWindowIcon(icon);
        QApplication::setWindowIcon(icon);
    }
    hWnd->setWindowIcon(icon);
}
