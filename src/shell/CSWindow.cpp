#include "shell/CSWindow.h"

void CSWindow::Center(IPlacedWindow& frm) const {
    const TwipSize area = frm.centreArea();
    const TwipRect g = frm.normalGeometry();
    frm.moveTo((area.width - g.width) / 2, (area.height - g.height) / 2);
}
