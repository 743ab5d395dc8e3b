#include "platform/Grid.h"

#include <charconv>
#include <cmath>

#include "platform/NumberText.h"
#include "platform/Text1252.h"

int CompareGridTexts(const std::string& a, const std::string& b) {
    const std::string ta = TrimBlanks(a), tb = TrimBlanks(b);
    double va = 0, vb = 0;
    const bool na = ParseNumber(ta, va), nb = ParseNumber(tb, vb);
    if (na && nb) return va < vb ? -1 : (va > vb ? 1 : 0);
    if (na != nb) return na ? -1 : 1;
    const std::string ua = UpperCase1252(ta), ub = UpperCase1252(tb);
    const int c = ua.compare(ub);  // std::string compares as unsigned char
    return c < 0 ? -1 : (c > 0 ? 1 : 0);
}

std::string FormatCellNumber(double value, int decimals) {
    if (decimals < 0) decimals = 0;
    if (decimals > 15) decimals = 15;
    const double scale = std::pow(10.0, decimals);
    if (std::round(value * scale) == 0) value = 0;  // no "-0.00"
    char buf[400];
    const auto r = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::fixed, decimals);
    if (r.ec != std::errc()) return {};
    return std::string(buf, r.ptr);
}

bool AcceptCellInput(const CellType& type, const std::string& typed, std::string& stored) {
    switch (type.kind) {
        case CellKind::StaticText: return false;
        case CellKind::EditText: stored = typed; return true;
        case CellKind::Number:
        case CellKind::Integer: break;
    }
    const std::string t = TrimBlanks(typed);
    if (t.empty()) {
        stored.clear();
        return true;
    }
    double v = 0;
    if (!ParseNumber(t, v)) return false;
    if (type.kind == CellKind::Integer && v != std::floor(v)) return false;
    if (type.min < type.max && (v < type.min || v > type.max)) return false;
    stored = FormatCellNumber(v, type.kind == CellKind::Integer ? 0 : type.decimals);
    return true;
}
