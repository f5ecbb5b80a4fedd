#pragma once

#include <QDateTime>
#include <QElapsedTimer>

namespace qm {

// The time of day and a monotonic stopwatch. Logic takes `now` as a parameter;
// only the edges (timer handlers, a form's show step) ask a Clock.
class Clock {
public:
    virtual ~Clock() = default;
    virtual QDateTime now() const = 0;
    // Milliseconds on a monotonic scale (unaffected by changes of the wall clock).
    virtual qint64 elapsedMs() const = 0;
};

class SystemClock final : public Clock {
public:
    SystemClock();
    QDateTime now() const override;
    qint64 elapsedMs() const override;

private:
    QElapsedTimer m_timer;
};

} // namespace qm
