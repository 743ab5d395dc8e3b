#include "platform/qt/QtUrlOpener.h"

#include <QDesktopServices>
#include <QUrl>

bool QtUrlOpener::open(const std::string& url) {
    const QUrl u(QString::fromStdString(url), QUrl::StrictMode);
    if (!u.isValid() || u.scheme().isEmpty()) return false;
    return QDesktopServices::openUrl(u);
}
