// The timer over QTimer.
#pragma once

#include <QTimer>
#include <functional>

#include "platform/Timer.h"

class QtTimer : public ITimer {
public:
    explicit QtTimer(QObject* parent = nullptr);
    void setInterval(int milliseconds) override { m_timer.setInterval(milliseconds); }
    int interval() const override { return m_timer.interval(); }
    void setEnabled(bool enabled) override;
    bool enabled() const override { return m_timer.isActive(); }
    // While held, a tick waits for the next interval.
    void setHeldWhile(std::function<bool()> held) { m_held = std::move(held); }

private:
    QTimer m_timer;
    std::function<bool()> m_held;
};
