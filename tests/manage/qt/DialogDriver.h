// Acts in a modal dialog while its exec() runs: once the dialog is shown the
// action runs from the event loop; a dialog still open after the time limit
// is rejected, so that a failing test never waits for ever.
#pragma once

#include <QDialog>
#include <QPointer>
#include <QTimer>
#include <functional>

class DialogDriver : public QObject {
public:
    DialogDriver(QDialog* dialog, std::function<void()> action, int limitMs = 10000)
        : m_dialog(dialog), m_action(std::move(action)) {
        m_poll.setInterval(5);
        connect(&m_poll, &QTimer::timeout, this, [this] {
            if (!m_dialog || !m_dialog->isVisible() || m_done) return;
            m_done = true;
            m_action();
        });
        m_poll.start();
        m_limit.setSingleShot(true);
        connect(&m_limit, &QTimer::timeout, this, [this] {
            if (m_dialog && m_dialog->isVisible()) {
                m_timedOut = true;
                m_dialog->reject();
            }
        });
        m_limit.start(limitMs);
    }

    bool acted() const { return m_done; }
    bool timedOut() const { return m_timedOut; }

private:
    QPointer<QDialog> m_dialog;
    std::function<void()> m_action;
    QTimer m_poll;
    QTimer m_limit;
    bool m_done = false;
    bool m_timedOut = false;
};
