// A timer: an interval in milliseconds, an enabled flag and a tick. The main
// window lends its hint timer through this interface.
#pragma once

#include <functional>

class ITimer {
public:
    virtual ~ITimer() = default;
    virtual void setInterval(int milliseconds) = 0;
    virtual int interval() const = 0;
    virtual void setEnabled(bool enabled) = 0;
    virtual bool enabled() const = 0;
    // Called on every tick while enabled; replaces the handler before it.
    void setTickHandler(std::function<void()> handler) { m_tick = std::move(handler); }

protected:
    void tick() {
        if (m_tick) m_tick();
    }

private:
    std::function<void()> m_tick;
};

// A timer that ticks only when the test says so.
class ManualTimer : public ITimer {
public:
    void setInterval(int milliseconds) override { m_interval = milliseconds; }
    int interval() const override { return m_interval; }
    void setEnabled(bool enabled) override { m_enabled = enabled; }
    bool enabled() const override { return m_enabled; }
    // One tick, as the event loop would deliver it: nothing while disabled.
    void fire() {
        if (m_enabled) tick();
    }

private:
    int m_interval = 0;
    bool m_enabled = false;
};
