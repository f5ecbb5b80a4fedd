#include "platform/Clock.h"

namespace qm {

SystemClock::SystemClock() {
    m_timer.start();
}

QDateTime SystemClock::now() const {
    return QDateTime::currentDateTime();
}

qint64 SystemClock::elapsedMs() const {
    return m_timer.elapsed();
}

} // namespace qm
