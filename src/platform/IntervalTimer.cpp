#include "platform/IntervalTimer.h"

#include <algorithm>

IntervalTimer::IntervalTimer(QObject* parent) : QObject(parent) {
    connect(&m_timer, &QTimer::timeout, this, &IntervalTimer::ticked);
}

void IntervalTimer::setEnabled(bool enabled) {
    m_enabled = enabled;
    update();
}

void IntervalTimer::setInterval(int milliseconds) {
    m_interval = std::max(milliseconds, 0);
    update();
}

void IntervalTimer::update() {
    if (m_enabled && m_interval > 0)
        m_timer.start(m_interval); // a new interval restarts the count, as on Windows
    else
        m_timer.stop();
}
