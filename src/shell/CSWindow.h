// Centring a window in its area (the screen, or the main window's client area
// for a child window). The further placement and clipboard members of the
// original class were called by nothing and are not kept.
#pragma once

#include "platform/PlacedWindow.h"

class CSWindow {
public:
    void Center(IPlacedWindow& frm) const;
};
