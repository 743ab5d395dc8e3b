// The hourglass as the application's override cursor.
#pragma once

#include "platform/BusyCursor.h"

class QtBusyCursor : public IBusyCursor {
public:
    ~QtBusyCursor() override { showDefault(); }
    void showHourglass() override;
    void showDefault() override;

private:
    bool m_busy = false;
};
