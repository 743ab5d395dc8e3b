// The clipboard's text, as the grids and the editors paste it.
#pragma once

#include <string>

class IClipboard {
public:
    virtual ~IClipboard() = default;
    // Windows-1252 bytes; empty when the clipboard holds no text.
    virtual std::string text() const = 0;
    virtual void setText(const std::string& text) = 0;
};

// A clipboard of its own, for tests and for a run without a desktop.
class MemoryClipboard : public IClipboard {
public:
    std::string text() const override { return m_text; }
    void setText(const std::string& text) override { m_text = text; }

private:
    std::string m_text;
};
