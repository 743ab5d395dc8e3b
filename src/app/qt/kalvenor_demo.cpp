// Makes the demo that scripts/demo starts the program on: below the folder
// given, a program folder with a few glasses from published catalogue data
// and stand-ins for the sibling programs, and the program's settings
// pointing at them. The settings go where the program reads them
// (XDG_CONFIG_HOME decides, as for the program).
#include <QCoreApplication>
#include <cstdio>
#include <string>

#include "platform/Clock.h"
#include "app/DemoFolder.h"
#include "platform/qt/QtSettings.h"

int main(int argc, char* argv[]) {
    QCoreApplication application(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: kalvenor-demo FOLDER\n");
        return 2;
    }
    QtSettings settings;
    SystemClock clock;
    std::string error;
    if (!MakeDemo(argv[1], settings, clock, error)) {
        std::fprintf(stderr, "kalvenor-demo: %s\n", error.c_str());
        return 1;
    }
    settings.sync();
    const DemoLayout demo = DemoFolders(argv[1]);
    std::printf("Kalvenor demo made in %s (program folder %s)\n", demo.root.c_str(), demo.program.c_str());
    return 0;
}
