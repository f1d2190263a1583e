#pragma once
#include <QObject>
#include <QTimer>

// A timer with an interval and an enabled flag kept apart: it ticks only while enabled with an
// interval above 0, and an interval of 0 stops it without touching the flag.
class IntervalTimer : public QObject {
    Q_OBJECT
public:
    explicit IntervalTimer(QObject* parent = nullptr);

    bool Enabled() const { return m_enabled; }
    void setEnabled(bool enabled);
    int Interval() const { return m_interval; }
    void setInterval(int milliseconds);
    bool isTicking() const { return m_timer.isActive(); }

signals:
    void ticked();

private:
    void update();

    QTimer m_timer;
    bool m_enabled = false;
    int m_interval = 0;
};
