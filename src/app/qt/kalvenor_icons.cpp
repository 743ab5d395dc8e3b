// Writes the program's icon as PNG files into an icon theme folder, at the
// sizes desktops ask for: FOLDER/hicolor/<n>x<n>/apps/kalvenor.png.
// scripts/install-desktop uses it to put the program into the desktop's menu.
#include <QDir>
#include <QImage>
#include <cstdio>

#include "shell/qt/Artwork.h"

int main(int argc, char* argv[]) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: kalvenor-icons FOLDER\n");
        return 2;
    }
    const QString root = QString::fromLocal8Bit(argv[1]);
    for (int size : kProgramIconSizes) {
        const QString folder = QStringLiteral("%1/hicolor/%2x%2/apps").arg(root).arg(size);
        const QString file = folder + QStringLiteral("/kalvenor.png");
        if (!QDir().mkpath(folder) || !ProgramIconImage(size).save(file, "PNG")) {
            std::fprintf(stderr, "kalvenor-icons: cannot write %s\n", file.toLocal8Bit().constData());
            return 1;
        }
    }
    return 0;
}
