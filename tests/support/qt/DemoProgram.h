// The demo as a program folder for window tests that start the whole
// program: made below root ("demo/"), with the program's settings kept below
// root too ("settings/") and KALVENOR_HOME pointing at the program folder.
#pragma once

#include <QSettings>
#include <memory>
#include <string>

#include "app/DemoFolder.h"
#include "platform/Clock.h"
#include "platform/qt/QtSettings.h"

// The settings the demo was written to; null, with error set, when the demo
// could not be made.
inline std::unique_ptr<QtSettings> MakeDemoProgram(const std::string& root, DemoLayout& demo, std::string& error) {
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, QString::fromStdString(root + "settings"));
    auto settings = std::make_unique<QtSettings>();
    SystemClock clock;
    if (!MakeDemo(root + "demo", *settings, clock, error)) return nullptr;
    demo = DemoFolders(root + "demo");
    qputenv("KALVENOR_HOME", QByteArray::fromStdString(demo.program));
    return settings;
}
