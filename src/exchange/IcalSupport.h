#pragma once

#include <libical/ical.h>

#include <QByteArray>
#include <QDate>
#include <QString>

#include <memory>

// What the calendar reader and writer share over libical.
namespace qm::ical {

// libical aborts the process on some malformed input unless told not to;
// every entry point calls this first (it is cheap after the first call).
void PrepareLibical();

struct ComponentFree {
    void operator()(icalcomponent *component) const { icalcomponent_free(component); }
};
using ComponentPtr = std::unique_ptr<icalcomponent, ComponentFree>;

// The days the diary takes.
inline const QDate FirstDiaryDay(1899, 1, 1);
inline const QDate LastDiaryDay(2199, 12, 31);
inline bool InDiaryYears(const QDate &date) {
    return date.isValid() && date >= FirstDiaryDay && date <= LastDiaryDay;
}

// The zone libical carries for an IANA name (from the system's zone data), or
// null when it has none.
icaltimezone *BuiltinZone(const QByteArray &ianaId);

inline QString Text(const char *utf8) {
    return utf8 ? QString::fromUtf8(utf8) : QString();
}

} // namespace qm::ical
