#include "platform/BoxStyle.h"

#include <algorithm>

BoxLayout BoxLayoutFor(int style) {
    BoxLayout layout;
    switch (style & 0x70) {
        case 16: layout.icon = BoxIcon::Critical; break;
        case 32: layout.icon = BoxIcon::Question; break;
        case 48: layout.icon = BoxIcon::Exclamation; break;
        case 64: layout.icon = BoxIcon::Information; break;
        default: layout.icon = BoxIcon::None; break;
    }
    switch (style & 0x0F) {
        case 1: layout.buttons = {kAnswerOk, kAnswerCancel}; break;
        case 3: layout.buttons = {kAnswerYes, kAnswerNo, kAnswerCancel}; break;
        case 4: layout.buttons = {kAnswerYes, kAnswerNo}; break;
        default: layout.buttons = {kAnswerOk}; break;
    }
    const std::size_t wanted = static_cast<std::size_t>((style >> 8) & 0x3);
    layout.defaultAnswer = layout.buttons[std::min(wanted, layout.buttons.size() - 1)];
    // A box that offers Cancel is cancelled by Esc; Yes/No has no Cancel and
    // Esc means No, never Yes; OK alone is simply acknowledged.
    const auto has = [&](int a) { return std::find(layout.buttons.begin(), layout.buttons.end(), a) != layout.buttons.end(); };
    if (has(kAnswerCancel)) layout.escapeAnswer = kAnswerCancel;
    else if (has(kAnswerNo)) layout.escapeAnswer = kAnswerNo;
    else layout.escapeAnswer = kAnswerOk;
    return layout;
}
