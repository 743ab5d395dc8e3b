#include "app/qt/KalvenorProgram.h"

#include <QApplication>

#include "app/qt/WorkPages.h"
#include "platform/qt/QtBoxes.h"
#include "platform/qt/QtSettings.h"
#include "shell/qt/frmMainMDI.h"

KalvenorProgram::KalvenorProgram(IBoxes& boxes, ISettings& settings) : m_app(boxes, m_clock, settings, m_cursor) {}

KalvenorProgram::~KalvenorProgram() = default;

void KalvenorProgram::start() { m_app.Main(*this); }

void KalvenorProgram::Display() {
    if (!m_main) m_main = std::make_unique<frmMainMDI>(m_app, KalvenorWorkPages());
    m_main->Display();
}

void KalvenorProgram::LoadList() {
    if (m_main) m_main->LoadList();
}

int Main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    // Ties the windows to the menu entry scripts/install-desktop writes.
    QGuiApplication::setDesktopFileName(QStringLiteral("kalvenor"));
    QtSettings settings;
    QtBoxes boxes;
    KalvenorProgram program(boxes, settings);
    program.start();
    return QApplication::exec();
}
