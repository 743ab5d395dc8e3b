// The whole program on a demo of its own, for window tests that start it.
#pragma once

#include <QSettings>
#include <QTemporaryDir>
#include <memory>
#include <string>

#include "app/DemoFolder.h"
#include "platform/Clock.h"
#include "platform/qt/QtSettings.h"
#include "app/qt/KalvenorProgram.h"

// make() writes the demo in a temporary folder ("demo/", with the program's
// settings in "settings/" and KALVENOR_HOME pointing at the program folder);
// a test may then change it. start() runs the program on it; stop() ends the
// program before its settings.
class DemoRun {
public:
    // False, with error set, when the demo could not be made.
    bool make(std::string& error) {
        if (!m_dir.isValid()) {
            error = "no temporary folder";
            return false;
        }
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, QString::fromStdString(root() + "settings"));
        m_settings = std::make_unique<QtSettings>();
        SystemClock clock;
        if (!MakeDemo(root() + "demo", *m_settings, clock, error)) {
            m_settings.reset();
            return false;
        }
        m_demo = DemoFolders(root() + "demo");
        qputenv("KALVENOR_HOME", QByteArray::fromStdString(m_demo.program));
        return true;
    }
    // The boxes must outlive the program.
    KalvenorProgram& start(IBoxes& boxes) {
        m_program = std::make_unique<KalvenorProgram>(boxes, *m_settings);
        m_program->start();
        return *m_program;
    }
    void stop() {
        m_program.reset();
        m_settings.reset();
    }

    // The temporary folder, also with a trailing "/".
    QString folder() const { return m_dir.path(); }
    std::string root() const { return m_dir.path().toStdString() + "/"; }
    const DemoLayout& demo() const { return m_demo; }
    QtSettings& settings() const { return *m_settings; }
    KalvenorProgram& program() const { return *m_program; }
    frmMainMDI* main() const { return m_program ? m_program->mainWindow() : nullptr; }

private:
    QTemporaryDir m_dir;
    DemoLayout m_demo;
    std::unique_ptr<QtSettings> m_settings;
    std::unique_ptr<KalvenorProgram> m_program;
};
