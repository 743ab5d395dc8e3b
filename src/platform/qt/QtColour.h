// Colours of the windows (shell/Colour.h) as Qt colours; system colours come
// from the palette.
#pragma once

#include <QColor>
#include <QPalette>

#include "platform/Colour.h"

// An invalid QColor for kColourNone.
QColor ToQColor(Colour colour, const QPalette& palette = QPalette());
