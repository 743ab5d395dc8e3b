#include "platform/FileDialog.h"

#include <cctype>

namespace {

std::vector<std::string> split(const std::string& s, char sep) {
    std::vector<std::string> parts;
    std::size_t start = 0;
    for (;;) {
        const std::size_t at = s.find(sep, start);
        parts.push_back(s.substr(start, at == std::string::npos ? std::string::npos : at - start));
        if (at == std::string::npos) break;
        start = at + 1;
    }
    return parts;
}

std::string trim(const std::string& s) {
    std::size_t b = 0, e = s.size();
    while (b < e && s[b] == ' ') ++b;
    while (e > b && s[e - 1] == ' ') --e;
    return s.substr(b, e - b);
}

}  // namespace

std::vector<FileFilterEntry> ParseFileFilter(const std::string& filter) {
    std::vector<FileFilterEntry> entries;
    if (filter.empty()) return entries;
    const auto parts = split(filter, '|');
    for (std::size_t i = 0; i + 1 < parts.size(); i += 2) {
        FileFilterEntry e;
        e.label = trim(parts[i]);
        for (const auto& p : split(parts[i + 1], ';'))
            if (!trim(p).empty()) e.patterns.push_back(trim(p));
        if (!e.patterns.empty()) entries.push_back(e);
    }
    return entries;
}

std::string CaseInsensitivePattern(const std::string& pattern) {
    std::string out;
    bool inSet = false;
    for (char c : pattern) {
        const unsigned char u = static_cast<unsigned char>(c);
        if (c == '[') inSet = true;
        if (c == ']') inSet = false;
        if (!inSet && u < 128 && std::isalpha(u)) {
            out += '[';
            out += static_cast<char>(std::tolower(u));
            out += static_cast<char>(std::toupper(u));
            out += ']';
        } else {
            out += c;
        }
    }
    return out;
}
