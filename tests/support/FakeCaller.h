// The window that opened an editor, for tests: records being disabled and
// brought to the front.
#pragma once

#include "shell/GlassEditors.h"

class FakeCaller : public ICallerWindow {
public:
    void setEnabled(bool e) override { enabled = e; }
    void bringToFront() override { ++fronts; }
    bool enabled = true;
    int fronts = 0;
};
