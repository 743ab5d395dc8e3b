// One-time hints: short explanations shown to a new user when a window opens,
// until the user answers No to "Do you want to see this message again?". The
// answer is kept per hint key in the settings, section "CNM_NewUserMsg".
//
// A delayed hint waits for the main window's hint timer, which the main
// window lends once while it loads; a hint asked for before that is shown at
// once. Only one hint is pending: a second delayed call replaces the first.
#pragma once

#include <string>

class IBoxes;
class ISettings;
class ITimer;

inline constexpr const char* kNewMsgSection = "CNM_NewUserMsg";

class CNewMsg {
public:
    CNewMsg(IBoxes& boxes, ISettings& settings) : m_boxes(boxes), m_settings(settings) {}
    ~CNewMsg();
    CNewMsg(const CNewMsg&) = delete;
    CNewMsg& operator=(const CNewMsg&) = delete;

    // sWaitInMillSec 0 keeps the timer's present interval.
    void Display(const std::string& szMsg, const std::string& szKey, bool bWithDelay, float sWaitInMillSec,
                 const std::string& szTitle);
    // From now on the delayed hints wait for this timer's tick; null returns
    // the timer (the main window does so before it is destroyed).
    void UseThisTimer(ITimer* tmrToUse);
    // A delayed hint waits for its tick.
    bool pending() const;

private:
    void tick();
    void showPending();

    IBoxes& m_boxes;
    ISettings& m_settings;
    ITimer* m_timer = nullptr;
    std::string m_key, m_msg, m_title;
};
