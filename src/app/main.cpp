#include <QApplication>
#include <QMainWindow>

#include "shell/Boxes.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QMainWindow window;
    window.setWindowTitle(QString::fromLatin1(kAppTitle));
    window.resize(1024, 720);
    window.show();
    return app.exec();
}
