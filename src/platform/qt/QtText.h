// The window boundary's text conversions.
//
// Record texts and messages are Windows-1252 bytes; Qt wants Unicode. Every
// window converts with ToQString / FromQString. The five bytes the code page
// leaves undefined map to the control characters of the same value, so any
// byte text survives the round trip; a character the code page lacks becomes
// "?".
//
// File and folder names are the file system's bytes (UTF-8), not record
// texts: PathToQString / PathFromQString convert those.
#pragma once

#include <QString>
#include <string>

QString ToQString(const std::string& text1252);
std::string FromQString(const QString& text);

QString PathToQString(const std::string& path);
std::string PathFromQString(const QString& path);
