// The text of the material files as the readers walk it: whole lines, items
// of a comma- or line-separated stream, blank-separated fields, and numbers
// read by the platform's Val rule. The text is the decoded file (Windows-1252
// bytes); CR LF, LF and CR all end a line.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

// Walks the text by whole lines and by items. An item ends at a comma or a
// line end, which it consumes; a text in double quotes may hold commas and
// ends at its closing quote. The cursor views the text; its owner keeps it.
class TextCursor {
public:
    explicit TextCursor(std::string_view text) : m_text(text) {}

    bool atEnd() const {
        if (m_pos < m_text.size()) return false;
        m_sawEnd = true;
        return true;
    }
    // How far the cursor has come, in characters from the start of the text.
    std::size_t position() const { return m_pos; }
    // True once the cursor has met the end of its text: a reader walking a
    // file a window at a time then knows the window was too short.
    bool sawEnd() const { return m_sawEnd; }
    // The line the cursor stands in, counted from 1.
    int lineNumber() const { return m_line; }
    // The number of the line readLine gave last.
    int lastLineNumber() const { return m_lastLine; }

    // How often text occurs from here on.
    std::size_t count(std::string_view text) const;

    // The next line without its line end; False at the end of the text.
    bool readLine(std::string_view& line);

    // True when the cursor stands at the start of a line equal to text.
    bool atLine(std::string_view text) const;

    // The next item, blanks around a bare item removed; False when there is
    // no item left. An empty line is one empty item.
    bool readItem(std::string_view& item);

    // True when nothing but blanks, tabs and line ends is left.
    bool onlyBlanksLeft() const;

private:
    static bool isLineEnd(char c) { return c == '\r' || c == '\n'; }
    static bool isBlank(char c) { return c == ' ' || c == '\t'; }
    void skipLineEnd();

    std::string_view m_text;
    std::size_t m_pos = 0;
    int m_line = 1;
    int m_lastLine = 0;
    mutable bool m_sawEnd = false;
};

// The fields of a line: the runs of characters between blanks and tabs.
// fields is reused, so a reader splitting line after line allocates once.
void SplitFields(std::string_view line, std::vector<std::string_view>& fields);

// The leading number of text by the platform's Val rule: blanks and tabs
// before it are skipped, then an optional sign, digits with at most one ".",
// and an optional exponent ("E" or "D", optional sign, digits). 0 when the
// text does not start with a number, and when the number is beyond a double.
double Val(std::string_view text);

// The value of a whole text of the form [-]digits[.digits][(E|e)[+|-]digits]
// when it can be had exactly on a quick road: at most 15 significant digits
// and a power of ten a double holds exactly, and for a single a result that
// rounds to it the same way from the double as from the decimal. False for
// anything else, which the caller reads by the full grammar; a True result
// is always the value std::from_chars gives for the text.
bool QuickDecimal(std::string_view text, double& value);
bool QuickDecimal(std::string_view text, float& value);

// Val as a single; 0 when the number is beyond a single.
float ValSingle(std::string_view text);

// The whole number nearest to value, an exact half going to the even
// neighbour, as the platform's conversions to integers round; False when
// value is no finite number or the result lies outside min..max.
bool WholeNumber(double value, std::int64_t min, std::int64_t max, std::int64_t& result);
