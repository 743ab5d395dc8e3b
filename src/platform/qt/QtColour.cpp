#include "platform/qt/QtColour.h"

QColor ToQColor(Colour colour, const QPalette& palette) {
    if (colour == kColourNone) return {};
    if (IsSystemColour(colour)) {
        switch (colour & 0xFF) {
            case 5: return palette.color(QPalette::Base);         // window background
            case 8: return palette.color(QPalette::Text);         // window text
            case 15: return palette.color(QPalette::Button);      // button face
            case 18: return palette.color(QPalette::ButtonText);  // button text
            default: return palette.color(QPalette::Window);
        }
    }
    return QColor(ColourRed(colour), ColourGreen(colour), ColourBlue(colour));
}
