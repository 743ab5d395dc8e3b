#include "platform/qt/QtText.h"

#include <QFile>

#include "platform/Text1252.h"

QString ToQString(const std::string& text1252) {
    QString out;
    out.reserve(static_cast<qsizetype>(text1252.size()));
    for (char c : text1252) {
        const auto b = static_cast<unsigned char>(c);
        out.append(QChar(UnicodeFrom1252(b)));
    }
    return out;
}

std::string FromQString(const QString& text) {
    std::string out;
    out.reserve(static_cast<std::size_t>(text.size()));
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate()) {
            out.push_back('?');  // one character outside the code page
            ++i;
            continue;
        }
        out.push_back(Byte1252From(c.unicode()));
    }
    return out;
}

QString PathToQString(const std::string& path) { return QFile::decodeName(QByteArray::fromStdString(path)); }

std::string PathFromQString(const QString& path) { return QFile::encodeName(path).toStdString(); }
