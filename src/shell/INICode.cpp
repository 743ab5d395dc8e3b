#include "shell/INICode.h"

#include <climits>
#include <cstdint>
#include <filesystem>
#include <vector>

#include "model/FileUtil.h"
#include "model/FixedText.h"
#include "shell/CSApplication.h"

namespace {

bool isSpace(char c) { return c == ' ' || c == '\t'; }

std::string trimSpaces(const std::string& s) {
    std::size_t b = 0, e = s.size();
    while (b < e && isSpace(s[b])) ++b;
    while (e > b && isSpace(s[e - 1])) --e;
    return s.substr(b, e - b);
}

// The file's lines without their line ends. A UTF-8 byte order mark at the
// start stays in the first line's text (so a rewrite keeps it) but is not
// part of what the line says.
std::vector<std::string> readLines(const std::string& file, bool& exists) {
    std::vector<std::string> lines;
    auto bytes = ReadWholeFile(file);
    exists = bytes.has_value();
    if (!bytes) return lines;
    std::string cur;
    for (std::uint8_t b : *bytes) {
        if (b == '\n') {
            if (!cur.empty() && cur.back() == '\r') cur.pop_back();
            lines.push_back(cur);
            cur.clear();
        } else {
            cur.push_back(static_cast<char>(b));
        }
    }
    if (!cur.empty()) {
        if (cur.back() == '\r') cur.pop_back();
        lines.push_back(cur);
    }
    return lines;
}

std::string meaning(const std::vector<std::string>& lines, std::size_t i) {
    std::string s = lines[i];
    if (i == 0 && s.compare(0, 3, "\xEF\xBB\xBF") == 0) s.erase(0, 3);
    return trimSpaces(s);
}

// The section name when the line is a header.
std::optional<std::string> sectionOf(const std::string& line) {
    if (line.empty() || line[0] != '[') return std::nullopt;
    const std::size_t close = line.find(']');
    return trimSpaces(line.substr(1, close == std::string::npos ? std::string::npos : close - 1));
}

// The key of a key=value line; nullopt for other lines (comments included).
std::optional<std::string> keyOf(const std::string& line) {
    if (line.empty() || line[0] == ';') return std::nullopt;
    const std::size_t eq = line.find('=');
    if (eq == std::string::npos) return std::nullopt;
    return trimSpaces(line.substr(0, eq));
}

std::string valueOf(const std::string& line) {
    std::string v = trimSpaces(line.substr(line.find('=') + 1));
    if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front())
        v = v.substr(1, v.size() - 2);
    return v;
}

struct Place {
    std::optional<std::size_t> header;     // line of the section header
    std::optional<std::size_t> keyLine;    // line of the key inside it
    std::size_t lastEntry = 0;             // last non-blank line of the section
};

Place find(const std::vector<std::string>& lines, const std::string& section, const std::string& key) {
    Place p;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const std::string m = meaning(lines, i);
        if (auto s = sectionOf(m)) {
            if (p.header) break;  // the next section ends ours
            if (EqualsIgnoreCase(*s, section)) {
                p.header = i;
                p.lastEntry = i;
            }
            continue;
        }
        if (!p.header) continue;
        if (!m.empty()) p.lastEntry = i;
        if (auto k = keyOf(m); k && !p.keyLine && EqualsIgnoreCase(*k, key)) p.keyLine = i;
    }
    return p;
}

bool breaksLines(const std::string& s) { return s.find_first_of("\r\n") != std::string::npos; }

}  // namespace

std::optional<std::string> GetProfileString(const std::string& file, const std::string& section,
                                            const std::string& key) {
    bool exists = false;
    const auto lines = readLines(file, exists);
    const Place p = find(lines, section, key);
    if (!p.keyLine) return std::nullopt;
    return valueOf(meaning(lines, *p.keyLine));
}

long GetProfileInt(const std::string& file, const std::string& section, const std::string& key, long fallback) {
    const auto v = GetProfileString(file, section, key);
    if (!v) return fallback;
    std::size_t i = 0;
    bool negative = false;
    if (i < v->size() && ((*v)[i] == '-' || (*v)[i] == '+')) negative = (*v)[i++] == '-';
    long long n = 0;
    for (; i < v->size() && (*v)[i] >= '0' && (*v)[i] <= '9'; ++i) {
        n = n * 10 + ((*v)[i] - '0');
        if (n > INT32_MAX) n = static_cast<long long>(INT32_MAX) + 1;
    }
    if (negative) n = -n;
    if (n > INT32_MAX) n = INT32_MAX;
    if (n < INT32_MIN) n = INT32_MIN;
    return static_cast<long>(n);
}

bool WriteProfileString(const std::string& file, const std::string& section, const std::string& key,
                        const std::string& value) {
    const std::string s = trimSpaces(section), k = trimSpaces(key);
    if (s.empty() || k.empty() || breaksLines(s) || breaksLines(k) || breaksLines(value) ||
        s.find(']') != std::string::npos || k.find('=') != std::string::npos || k[0] == '[' || k[0] == ';')
        return false;
    bool exists = false;
    std::vector<std::string> lines = readLines(file, exists);
    // A file that is there but cannot be read would lose its other lines.
    std::error_code ec;
    if (!exists && std::filesystem::exists(file, ec)) return false;
    const std::string entry = k + "=" + value;
    const Place p = find(lines, s, k);
    if (p.keyLine) {
        lines[*p.keyLine] = entry;
    } else if (p.header) {
        lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(p.lastEntry + 1), entry);
    } else {
        lines.push_back("[" + s + "]");
        lines.push_back(entry);
    }
    std::vector<std::uint8_t> bytes;
    for (const auto& line : lines) {
        bytes.insert(bytes.end(), line.begin(), line.end());
        bytes.push_back('\r');
        bytes.push_back('\n');
    }
    return WriteFileAtomic(file, bytes);
}

std::string IniFilePath() { return JoinPath(CSApplication().Path(), kIniFileName); }

long ReadIniInt(const std::string& section, const std::string& key) {
    return GetProfileInt(IniFilePath(), section, key, 0);
}

std::string ReadIniString(const std::string& section, const std::string& key) {
    std::string v = GetProfileString(IniFilePath(), section, key).value_or("");
    if (v.size() > 199) v.resize(199);
    for (char& c : v)
        if (c == '\0') c = ' ';
    return TrimBlanks(v);
}

void WriteIniString(const std::string& section, const std::string& key, const std::string& value) {
    WriteProfileString(IniFilePath(), section, key, value);
}
