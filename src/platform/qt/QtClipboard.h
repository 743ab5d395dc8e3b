// The desktop's clipboard.
#pragma once

#include "platform/Clipboard.h"

class QtClipboard : public IClipboard {
public:
    std::string text() const override;
    void setText(const std::string& text) override;
};
