#include "shell/CNewMsg.h"

#include <cmath>

#include "platform/Boxes.h"
#include "platform/Settings.h"
#include "platform/Timer.h"
#include "platform/Text1252.h"

namespace {

constexpr int kIntervalAfterTick = 100;

// The stored flag as a Boolean text: "-1" or "True" suppress, "0" or "False"
// show; anything else cannot be read, and then the hint is not shown either.
bool readSuppressed(const std::string& value, bool& suppressed) {
    const std::string v = TrimBlanks(value);
    if (EqualsIgnoreCase(v, "true")) return suppressed = true, true;
    if (EqualsIgnoreCase(v, "false")) return suppressed = false, true;
    if (v.empty()) return false;
    std::size_t i = (v[0] == '-' || v[0] == '+') ? 1 : 0;
    if (i == v.size()) return false;
    bool nonZero = false;
    for (; i < v.size(); ++i) {
        if (v[i] < '0' || v[i] > '9') return false;
        nonZero = nonZero || v[i] != '0';
    }
    suppressed = nonZero;
    return true;
}

}  // namespace

CNewMsg::~CNewMsg() { UseThisTimer(nullptr); }

void CNewMsg::Display(const std::string& szMsg, const std::string& szKey, bool bWithDelay, float sWaitInMillSec,
                      const std::string& szTitle) {
    m_key = szKey;
    m_msg = szMsg;
    m_title = szTitle;
    if (!bWithDelay || !m_timer) {
        showPending();
        return;
    }
    if (sWaitInMillSec != 0 && std::isfinite(sWaitInMillSec))
        m_timer->setInterval(static_cast<int>(std::nearbyint(sWaitInMillSec)));
    m_timer->setEnabled(true);
}

void CNewMsg::UseThisTimer(ITimer* tmrToUse) {
    if (m_timer) {
        m_timer->setEnabled(false);
        m_timer->setTickHandler(nullptr);
    }
    m_timer = tmrToUse;
    if (m_timer) m_timer->setTickHandler([this] { tick(); });
}

bool CNewMsg::pending() const { return m_timer && m_timer->enabled(); }

void CNewMsg::tick() {
    m_timer->setEnabled(false);
    m_timer->setInterval(kIntervalAfterTick);
    showPending();
}

void CNewMsg::showPending() {
    bool suppressed = false;
    if (!readSuppressed(m_settings.getOr(kNewMsgSection, m_key, "0"), suppressed) || suppressed) return;
    const int answer =
        m_boxes.show(kBoxYesNo, m_msg + "\r\n\r\nDo you want to see this message again?", m_title);
    if (answer == kAnswerNo) m_settings.set(kNewMsgSection, m_key, "-1");
}
