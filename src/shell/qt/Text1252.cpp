#include "shell/qt/Text1252.h"

#include <QFile>

namespace {

// Unicode of the bytes 0x80..0x9F.
constexpr char16_t kHigh[32] = {0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
                                0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

char toByte(char16_t u) {
    if (u < 0x80 || (u >= 0xA0 && u <= 0xFF)) return static_cast<char>(u);
    for (int i = 0; i < 32; ++i)
        if (kHigh[i] == u) return static_cast<char>(0x80 + i);
    return '?';
}

}  // namespace

QString ToQString(const std::string& text1252) {
    QString out;
    out.reserve(static_cast<qsizetype>(text1252.size()));
    for (char c : text1252) {
        const auto b = static_cast<unsigned char>(c);
        out.append(QChar(b >= 0x80 && b < 0xA0 ? kHigh[b - 0x80] : static_cast<char16_t>(b)));
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
        out.push_back(toByte(c.unicode()));
    }
    return out;
}

QString PathToQString(const std::string& path) { return QFile::decodeName(QByteArray::fromStdString(path)); }

std::string PathFromQString(const QString& path) { return QFile::encodeName(path).toStdString(); }
