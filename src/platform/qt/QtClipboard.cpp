#include "platform/qt/QtClipboard.h"

#include <QClipboard>
#include <QGuiApplication>

#include "platform/qt/QtText.h"

std::string QtClipboard::text() const { return FromQString(QGuiApplication::clipboard()->text()); }

void QtClipboard::setText(const std::string& text) { QGuiApplication::clipboard()->setText(ToQString(text)); }
