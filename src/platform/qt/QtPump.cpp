#include "platform/qt/QtPump.h"

#include <QCoreApplication>

void PumpWindowEvents() { QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents); }
