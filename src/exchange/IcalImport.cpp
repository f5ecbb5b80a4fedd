// Reading an iCalendar file into diary, task and occasion lines.

#include "exchange/Calendar.h"
#include "exchange/IcalSupport.h"
#include "foundation/Codec1252.h"

#include <QHash>
#include <QSet>

#include <algorithm>
#include <optional>
#include <vector>

using namespace Qt::StringLiterals;

namespace qm {

namespace {

using ical::ComponentPtr;

// The most steps a repeat rule's iterator may take for one event, and the
// most occurrences one event may give: a rule that would need more (every
// second for years) is cut short and noted, so no file can hold the import up.
constexpr int MaxRuleSteps = 20000;
constexpr int MaxOccurrences = 5000;
// A time zone defined in the file is used only when its rules look like a
// time zone's: yearly changes, not too many of them. libical expands every
// rule of a zone it converts with, so a hostile one would cost without end.
constexpr int MaxZoneObservances = 2000;

// The width of a description in the diary, the task list and the occasion
// list.
constexpr int MaxDescriptionWidth = 75;

constexpr qint64 SecondsPerDay = 86400;
constexpr qint64 UnixEpochJulianDay = 2440588;

const QChar Sep = FieldSeparator;

// A point in time as a file gives it: seconds since 1970 in UTC, or, for a
// floating time (and one in a zone we do not know), the wall time counted
// the same way, taken as local time as it stands.
struct Moment {
    qint64 secs = 0;
    bool floating = false;
    bool isDate = false;
};

bool sameTime(const Moment &a, const Moment &b) {
    return a.secs == b.secs && a.floating == b.floating;
}

std::optional<qint64> wallSeconds(const icaltimetype &t) {
    const QDate date(t.year, t.month, t.day);
    if (!date.isValid() || t.year < 1 || t.hour < 0 || t.hour > 23 || t.minute < 0 ||
        t.minute > 59 || t.second < 0 || t.second > 60)
        return std::nullopt;
    return (date.toJulianDay() - UnixEpochJulianDay) * SecondsPerDay + t.hour * 3600 +
           t.minute * 60 + qMin(t.second, 59);
}

icaltimetype fromWallSeconds(qint64 secs, bool isDate) {
    icaltimetype t = isDate ? icaltime_null_date() : icaltime_null_time();
    const qint64 days =
        secs >= 0 ? secs / SecondsPerDay : -((-secs + SecondsPerDay - 1) / SecondsPerDay);
    const qint64 rest = secs - days * SecondsPerDay;
    const QDate date = QDate::fromJulianDay(days + UnixEpochJulianDay);
    t.year = date.year();
    t.month = date.month();
    t.day = date.day();
    if (!isDate) {
        t.hour = int(rest / 3600);
        t.minute = int(rest / 60 % 60);
        t.second = int(rest % 60);
    }
    return t;
}

// A day and a minute of it, in the local zone.
struct LocalTime {
    QDate date;
    int minute = 0; // of the day, seconds dropped
};

// yyyymmdd, made digit by digit: the date's own formatting goes through the
// locale machinery, which an import of many repeating events felt.
QString yyyymmdd(const QDate &day) {
    const int y = day.year(), m = day.month(), d = day.day();
    const char16_t text[] = {char16_t(u'0' + y / 1000),    char16_t(u'0' + y / 100 % 10),
                             char16_t(u'0' + y / 10 % 10), char16_t(u'0' + y % 10),
                             char16_t(u'0' + m / 10),      char16_t(u'0' + m % 10),
                             char16_t(u'0' + d / 10),      char16_t(u'0' + d % 10)};
    return QString(reinterpret_cast<const QChar *>(text), 8);
}

QString hhmm(int minute) {
    const int hour = minute / 60;
    minute %= 60;
    const char16_t text[] = {char16_t(u'0' + hour / 10), char16_t(u'0' + hour % 10), u':',
                             char16_t(u'0' + minute / 10), char16_t(u'0' + minute % 10)};
    return QString(reinterpret_cast<const QChar *>(text), 5);
}

bool zoneLooksSound(icalcomponent *vtimezone) {
    int observances = 0;
    for (icalcomponent *part = icalcomponent_get_first_component(vtimezone, ICAL_ANY_COMPONENT);
         part; part = icalcomponent_get_next_component(vtimezone, ICAL_ANY_COMPONENT)) {
        ++observances;
        for (icalproperty *p = icalcomponent_get_first_property(part, ICAL_ANY_PROPERTY); p;
             p = icalcomponent_get_next_property(part, ICAL_ANY_PROPERTY)) {
            const icalproperty_kind kind = icalproperty_isa(p);
            if (kind == ICAL_RDATE_PROPERTY)
                ++observances;
            if (kind == ICAL_RRULE_PROPERTY &&
                icalproperty_get_rrule(p).freq != ICAL_YEARLY_RECURRENCE)
                return false;
        }
        if (observances > MaxZoneObservances)
            return false;
    }
    return observances > 0;
}

// Reads one calendar's items into the records.
class Reader {
public:
    Reader(const ImportWindow &window, const QTimeZone &local, CalendarRead &out)
        : m_window(window), m_local(local), m_out(out) {}

    void read(icalcomponent *calendar);

private:
    struct Zone {
        icaltimezone *zone = nullptr; // null: floating
        bool unknown = false;
    };
    struct Span {
        Moment start;
        qint64 length = 0; // seconds, or days for a date
    };

    Zone zoneFor(icalproperty *property);
    std::optional<Moment> moment(icalproperty *property, bool *unknownZone);
    LocalTime toLocal(const Moment &m) const;
    int localOffset(qint64 utcSecs) const;
    std::optional<Span> span(icalcomponent *event, bool *unknownZone);
    void readEvent(icalcomponent *event);
    void readTodo(icalcomponent *todo);
    bool readOccasion(icalcomponent *event, const Span &span, ImportNotes &pending);
    int reminder(icalcomponent *event, ImportNotes &pending) const;
    // The lines of one occurrence on the days of the window, each without its
    // description and tentative flag; notes whether days lay outside the
    // diary's years or the occurrence could not be placed at all.
    void place(const Span &occurrence, bool repeated, int reminder, QStringList &lines,
               bool &outsideYears, bool &noRoom) const;
    std::vector<Moment> occurrences(icalcomponent *event, const Span &first, ImportNotes &pending,
                                    bool *unknownZone);

    const ImportWindow &m_window;
    const QTimeZone &m_local;
    CalendarRead &m_out;
    icalcomponent *m_calendar = nullptr;
    QHash<QByteArray, Zone> m_zones;
    // The local zone's changes of offset around the window, found once: asking
    // the zone for every time goes through the system's calendar library,
    // which cost more than all the rest of an import.
    mutable bool m_offsetsKnown = false;
    mutable qint64 m_offsetsFrom = 0;
    mutable qint64 m_offsetsTo = 0;
    mutable int m_offsetBefore = 0;
    mutable std::vector<std::pair<qint64, int>> m_offsetChanges;
    // For each UID, the occurrences its own components (RECURRENCE-ID) replace.
    QHash<QByteArray, std::vector<Moment>> m_overridden;
};

Reader::Zone Reader::zoneFor(icalproperty *property) {
    icalparameter *parameter = icalproperty_get_first_parameter(property, ICAL_TZID_PARAMETER);
    const char *tzid = parameter ? icalparameter_get_tzid(parameter) : nullptr;
    if (!tzid || !*tzid)
        return {};
    const QByteArray name(tzid);
    const auto known = m_zones.constFind(name);
    if (known != m_zones.cend())
        return *known;
    Zone zone;
    if (icaltimezone *defined = icalcomponent_get_timezone(m_calendar, tzid)) {
        icalcomponent *definition = icaltimezone_get_component(defined);
        if (definition && zoneLooksSound(definition))
            zone.zone = defined;
    }
    if (!zone.zone) {
        // An IANA name, bare or behind a prefix such as "/example.org/".
        QByteArray location = name;
        zone.zone = ical::BuiltinZone(location);
        while (!zone.zone && location.startsWith('/')) {
            const qsizetype next = location.indexOf('/', 1);
            if (next < 0)
                break;
            location = location.mid(next);
            zone.zone = ical::BuiltinZone(location.mid(1));
        }
    }
    zone.unknown = !zone.zone;
    m_zones.insert(name, zone);
    return zone;
}

std::optional<Moment> Reader::moment(icalproperty *property, bool *unknownZone) {
    if (!property)
        return std::nullopt;
    icalvalue *value = icalproperty_get_value(property);
    if (!value)
        return std::nullopt;
    icaltimetype t;
    const icalvalue_kind kind = icalvalue_isa(value);
    if (kind == ICAL_DATETIME_VALUE || kind == ICAL_DATE_VALUE)
        t = icalvalue_get_datetime(value);
    else if (kind == ICAL_DATETIMEPERIOD_VALUE)
        t = icalvalue_get_datetimeperiod(value).time;
    else if (kind == ICAL_PERIOD_VALUE)
        t = icalvalue_get_period(value).start;
    else
        return std::nullopt;
    if (icaltime_is_null_time(t) && !t.is_date)
        return std::nullopt;
    Moment m;
    m.isDate = t.is_date;
    if (!t.is_date && !icaltime_is_utc(t)) {
        const Zone zone = zoneFor(property);
        if (zone.unknown && unknownZone)
            *unknownZone = true;
        if (zone.zone) {
            // Only days the diary can hold are converted: libical expands a
            // zone's changes up to the year it converts in.
            if (!wallSeconds(t) || !ical::InDiaryYears(QDate(t.year, t.month, t.day)))
                return std::nullopt;
            icaltimezone_convert_time(&t, zone.zone, icaltimezone_get_utc_timezone());
        } else {
            m.floating = true;
        }
    } else {
        m.floating = t.is_date;
    }
    const auto secs = wallSeconds(t);
    if (!secs)
        return std::nullopt;
    m.secs = *secs;
    return m;
}

int Reader::localOffset(qint64 utcSecs) const {
    if (!m_offsetsKnown) {
        m_offsetsKnown = true;
        // A few days either side, for events that start before the window
        // and reach into it.
        const QDateTime from(m_window.from.addDays(-8), QTime(0, 0), QTimeZone::utc());
        const QDateTime to(m_window.to.addDays(8), QTime(0, 0), QTimeZone::utc());
        if (from.isValid() && to.isValid() && m_local.isValid()) {
            m_offsetsFrom = from.toSecsSinceEpoch();
            m_offsetsTo = to.toSecsSinceEpoch();
            m_offsetBefore = m_local.offsetFromUtc(from);
            for (const QTimeZone::OffsetData &change : m_local.transitions(from, to))
                m_offsetChanges.emplace_back(change.atUtc.toSecsSinceEpoch(), change.offsetFromUtc);
        }
    }
    if (utcSecs < m_offsetsFrom || utcSecs >= m_offsetsTo)
        return m_local.isValid()
                   ? m_local.offsetFromUtc(QDateTime::fromSecsSinceEpoch(utcSecs, QTimeZone::utc()))
                   : 0;
    const auto after = std::upper_bound(
        m_offsetChanges.begin(), m_offsetChanges.end(), utcSecs,
        [](qint64 secs, const std::pair<qint64, int> &change) { return secs < change.first; });
    return after == m_offsetChanges.begin() ? m_offsetBefore : std::prev(after)->second;
}

LocalTime Reader::toLocal(const Moment &m) const {
    const qint64 secs = m.floating ? m.secs : m.secs + localOffset(m.secs);
    // Days and minutes counted from 1 January 1970, rounded down.
    const qint64 day = secs >= 0 ? secs / SecondsPerDay : -((-secs - 1) / SecondsPerDay) - 1;
    const qint64 rest = secs - day * SecondsPerDay;
    return {QDate(1970, 1, 1).addDays(day), int(rest / 60)};
}

std::optional<Reader::Span> Reader::span(icalcomponent *event, bool *unknownZone) {
    const auto start =
        moment(icalcomponent_get_first_property(event, ICAL_DTSTART_PROPERTY), unknownZone);
    if (!start)
        return std::nullopt;
    Span s{*start, 0};
    const qint64 unit = start->isDate ? SecondsPerDay : 1;
    if (const auto end =
            moment(icalcomponent_get_first_property(event, ICAL_DTEND_PROPERTY), unknownZone)) {
        // A zoned start and a floating end (or the reverse) are measured as
        // they stand; a length below zero becomes none.
        s.length = (end->secs - start->secs) / unit;
    } else if (icalproperty *duration =
                   icalcomponent_get_first_property(event, ICAL_DURATION_PROPERTY)) {
        const icaldurationtype d = icalproperty_get_duration(duration);
        if (!icaldurationtype_is_bad_duration(d) && !d.is_neg)
            s.length = qint64(icaldurationtype_as_int(d)) / unit;
    } else if (start->isDate) {
        s.length = 1;
    }
    if (s.length < 0)
        s.length = 0;
    // No event worth a diary line lasts longer than the diary's years.
    s.length = qMin(s.length, 400 * 366 * (SecondsPerDay / unit));
    return s;
}

void Reader::place(const Span &occurrence, bool repeated, int reminder, QStringList &lines,
                   bool &outsideYears, bool &noRoom) const {
    QDate firstDay, lastDay;
    int startMinute = 0, endMinute = 23 * 60 + 59;
    if (occurrence.start.isDate) {
        firstDay = toLocal(occurrence.start).date;
        lastDay = firstDay.addDays(qMax<qint64>(occurrence.length, 1) - 1);
    } else {
        const LocalTime start = toLocal(occurrence.start);
        Moment endMoment = occurrence.start;
        endMoment.secs += occurrence.length;
        LocalTime end = toLocal(endMoment);
        firstDay = start.date;
        startMinute = start.minute;
        if (end.date < start.date || (end.date == start.date && end.minute <= start.minute)) {
            // No length (or less than a minute once seconds are dropped):
            // the least the diary holds, one minute.
            if (start.minute == 23 * 60 + 59) {
                noRoom = true;
                return;
            }
            end = {start.date, start.minute + 1};
        } else if (end.minute == 0 && end.date > start.date) {
            end = {end.date.addDays(-1), 23 * 60 + 59};
        }
        lastDay = end.date;
        endMinute = end.minute;
    }
    if (!firstDay.isValid() || !lastDay.isValid())
        return;
    const bool bounded = repeated || !m_window.repeatsOnly;
    const QDate from =
        std::max({firstDay, bounded ? m_window.from : ical::FirstDiaryDay, ical::FirstDiaryDay});
    const QDate to =
        std::min({lastDay, bounded ? m_window.to : ical::LastDiaryDay, ical::LastDiaryDay});
    if (firstDay < ical::FirstDiaryDay || lastDay > ical::LastDiaryDay)
        outsideYears = true;
    for (QDate day = from; day <= to; day = day.addDays(1)) {
        const int s = day == firstDay ? startMinute : 0;
        const int e = day == lastDay ? endMinute : 23 * 60 + 59;
        if (e <= s)
            continue; // the one minute 23:59 on the first day of a longer event
        const int lead = day == firstDay ? reminder : 0;
        lines.append(yyyymmdd(day) + Sep + hhmm(s) + Sep + hhmm(e) + Sep + Sep +
                     QString::number(lead) + Sep);
    }
}

int Reader::reminder(icalcomponent *event, ImportNotes &pending) const {
    // Of the alarms before the start, the earliest that the diary can hold
    // (60 minutes ahead at most); when every one is earlier than that, 60.
    // Minutes are rounded up, so the reminder never comes later than asked.
    int best = 0;
    int longer = 0;
    for (icalcomponent *alarm = icalcomponent_get_first_component(event, ICAL_VALARM_COMPONENT);
         alarm; alarm = icalcomponent_get_next_component(event, ICAL_VALARM_COMPONENT)) {
        icalproperty *triggerProperty =
            icalcomponent_get_first_property(alarm, ICAL_TRIGGER_PROPERTY);
        if (!triggerProperty)
            continue;
        const icaltriggertype trigger = icalproperty_get_trigger(triggerProperty);
        icalparameter *related =
            icalproperty_get_first_parameter(triggerProperty, ICAL_RELATED_PARAMETER);
        const bool fromEnd = related && icalparameter_get_related(related) == ICAL_RELATED_END;
        const qint64 seconds = icaldurationtype_as_int(trigger.duration);
        if (!icaltime_is_null_time(trigger.time) || fromEnd || seconds >= 0 ||
            icaldurationtype_is_bad_duration(trigger.duration)) {
            pending.add(CalendarText::RemindersLeftOut);
            continue;
        }
        const qint64 minutes = (-seconds + 59) / 60;
        if (minutes > 60)
            longer = 60;
        else
            best = qMax(best, int(minutes));
    }
    if (best == 0 && longer) {
        pending.add(CalendarText::RemindersSetTo60);
        return longer;
    }
    return best;
}

bool isEmptyList(const short *list) {
    return list[0] == ICAL_RECURRENCE_ARRAY_MAX;
}
bool isSingle(const short *list, int value) {
    return list[0] == value && list[1] == ICAL_RECURRENCE_ARRAY_MAX;
}

bool Reader::readOccasion(icalcomponent *event, const Span &span, ImportNotes &pending) {
    if (!span.start.isDate || span.length > 1 ||
        icalcomponent_count_properties(event, ICAL_RRULE_PROPERTY) != 1 ||
        icalcomponent_get_first_property(event, ICAL_RECURRENCEID_PROPERTY))
        return false;
    const icalrecurrencetype rule =
        icalproperty_get_rrule(icalcomponent_get_first_property(event, ICAL_RRULE_PROPERTY));
    const QDate day = toLocal(span.start).date;
    if (rule.freq != ICAL_YEARLY_RECURRENCE || rule.interval > 1 || rule.count != 0 ||
        !icaltime_is_null_time(rule.until) || !isEmptyList(rule.by_second) ||
        !isEmptyList(rule.by_minute) || !isEmptyList(rule.by_hour) || !isEmptyList(rule.by_day) ||
        !isEmptyList(rule.by_year_day) || !isEmptyList(rule.by_week_no) ||
        !isEmptyList(rule.by_set_pos) ||
        !(isEmptyList(rule.by_month) || isSingle(rule.by_month, short(day.month()))) ||
        !(isEmptyList(rule.by_month_day) || isSingle(rule.by_month_day, short(day.day()))))
        return false;
    if (icalcomponent_get_first_component(event, ICAL_VALARM_COMPONENT))
        pending.add(CalendarText::OccasionRemindersLeftOut);
    const QString description = FitFieldText(ical::Text(icalcomponent_get_summary(event)),
                                             MaxDescriptionWidth, pending, true);
    m_out.records.occasions.append(day.toString(u"MMdd"_s) + Sep + description);
    return true;
}

std::vector<Moment> Reader::occurrences(icalcomponent *event, const Span &first,
                                        ImportNotes &pending, bool *unknownZone) {
    std::vector<Moment> all{first.start};
    icalproperty *startProperty = icalcomponent_get_first_property(event, ICAL_DTSTART_PROPERTY);
    const Zone zone = first.start.isDate || first.start.floating ? Zone{} : zoneFor(startProperty);
    const icaltimetype dtstart = icalproperty_get_dtstart(startProperty);
    const bool utc = icaltime_is_utc(dtstart);

    // Occurrences are worked out in the event's own wall time; the days that
    // can matter run from a little before the window (less the event's
    // length) to a little after it.
    const qint64 lengthSecs = first.start.isDate ? first.length * SecondsPerDay : first.length;
    const qint64 windowFrom =
        (m_window.from.toJulianDay() - UnixEpochJulianDay - 2) * SecondsPerDay - lengthSecs;
    const qint64 windowTo = (m_window.to.toJulianDay() - UnixEpochJulianDay + 3) * SecondsPerDay;
    const auto toMoment = [&](icaltimetype t) -> std::optional<Moment> {
        Moment m;
        m.isDate = t.is_date;
        if (zone.zone && !t.is_date) {
            if (!ical::InDiaryYears(QDate(t.year, t.month, t.day)))
                return std::nullopt;
            icaltimezone_convert_time(&t, zone.zone, icaltimezone_get_utc_timezone());
        }
        m.floating = !zone.zone && !utc;
        const auto secs = wallSeconds(t);
        if (!secs)
            return std::nullopt;
        m.secs = *secs;
        return m;
    };

    bool cut = false;
    for (icalproperty *p = icalcomponent_get_first_property(event, ICAL_RRULE_PROPERTY); p;
         p = icalcomponent_get_next_property(event, ICAL_RRULE_PROPERTY)) {
        icalrecurrencetype rule = icalproperty_get_rrule(p);
        if (rule.freq == ICAL_NO_RECURRENCE) {
            pending.add(CalendarText::UnreadableRules);
            continue;
        }
        icaltimetype start = dtstart;
        start.zone = nullptr;
        icalrecur_iterator *it = icalrecur_iterator_new(rule, start);
        if (!it) {
            pending.add(CalendarText::UnreadableRules);
            continue;
        }
        // Without a count the iterator may start near the window rather than
        // at a start years before it.
        const qint64 startWall = wallSeconds(start).value_or(0);
        const qint64 jumpTo = windowFrom - 2 * SecondsPerDay;
        if (rule.count == 0 && jumpTo > startWall) {
            icaltimetype jump = fromWallSeconds(jumpTo, start.is_date);
            if (!start.is_date) {
                jump.hour = start.hour;
                jump.minute = start.minute;
                jump.second = start.second;
            }
            icalrecur_iterator_set_start(it, jump);
        }
        int steps = 0;
        int taken = 0;
        for (;;) {
            const icaltimetype next = icalrecur_iterator_next(it);
            if (icaltime_is_null_time(next))
                break;
            const auto wall = wallSeconds(next);
            // Wall times differ from UTC by less than a day, which the margins
            // above allow for.
            if (!wall || *wall > windowTo)
                break;
            if (++steps > MaxRuleSteps || taken >= MaxOccurrences) {
                cut = true;
                break;
            }
            if (*wall < windowFrom)
                continue;
            if (const auto m = toMoment(next)) {
                all.push_back(*m);
                ++taken;
            }
        }
        icalrecur_iterator_free(it);
    }
    if (cut)
        pending.add(CalendarText::CutShort);

    for (icalproperty *p = icalcomponent_get_first_property(event, ICAL_RDATE_PROPERTY); p;
         p = icalcomponent_get_next_property(event, ICAL_RDATE_PROPERTY)) {
        if (all.size() > size_t(MaxOccurrences) * 2)
            break;
        if (const auto m = moment(p, unknownZone))
            all.push_back(*m);
    }
    std::sort(all.begin(), all.end(), [](const Moment &a, const Moment &b) {
        return a.secs != b.secs ? a.secs < b.secs : a.floating < b.floating;
    });
    all.erase(std::unique(all.begin(), all.end(), sameTime), all.end());

    // Left out: the dates the file excludes and those its overriding
    // components replace. A date-only exclusion takes out that day.
    std::vector<Moment> removed;
    for (icalproperty *p = icalcomponent_get_first_property(event, ICAL_EXDATE_PROPERTY); p;
         p = icalcomponent_get_next_property(event, ICAL_EXDATE_PROPERTY))
        if (const auto m = moment(p, nullptr))
            removed.push_back(*m);
    const char *uid = icalcomponent_get_uid(event);
    if (uid)
        for (const Moment &m : m_overridden.value(QByteArray(uid)))
            removed.push_back(m);
    if (!removed.empty()) {
        QSet<std::pair<qint64, bool>> times;
        QSet<QDate> days;
        for (const Moment &r : removed) {
            times.insert({r.secs, r.floating});
            if (r.isDate)
                days.insert(toLocal(r).date);
        }
        const auto isRemoved = [&](const Moment &occurrence) {
            if (times.contains({occurrence.secs, occurrence.floating}))
                return true;
            return !days.isEmpty() && days.contains(toLocal(occurrence).date);
        };
        all.erase(std::remove_if(all.begin(), all.end(), isRemoved), all.end());
    }
    return all;
}

void Reader::readEvent(icalcomponent *event) {
    if (icalcomponent_get_status(event) == ICAL_STATUS_CANCELLED) {
        // A cancelled override takes its occurrence away and adds nothing.
        if (!icalcomponent_get_first_property(event, ICAL_RECURRENCEID_PROPERTY))
            m_out.notes.add(CalendarText::CancelledEvents);
        return;
    }
    const QString summary = ical::Text(icalcomponent_get_summary(event));
    if (summary.trimmed().isEmpty()) {
        m_out.notes.add(CalendarText::EventsWithoutSummary);
        return;
    }
    ImportNotes pending;
    bool unknownZone = false;
    const auto first = span(event, &unknownZone);
    if (!first) {
        m_out.notes.add(CalendarText::EventsWithoutStart);
        return;
    }
    if (readOccasion(event, *first, pending)) {
        m_out.notes.merge(pending);
        return;
    }
    const bool repeats = !icalcomponent_get_first_property(event, ICAL_RECURRENCEID_PROPERTY) &&
                         (icalcomponent_get_first_property(event, ICAL_RRULE_PROPERTY) ||
                          icalcomponent_get_first_property(event, ICAL_RDATE_PROPERTY));
    const std::vector<Moment> starts =
        repeats ? occurrences(event, *first, pending, &unknownZone) : std::vector{first->start};
    const int lead = reminder(event, pending);
    QStringList lines;
    bool outsideYears = false, noRoom = false;
    for (const Moment &start : starts)
        place({start, first->length}, repeats, lead, lines, outsideYears, noRoom);
    if (lines.isEmpty()) {
        if (noRoom)
            m_out.notes.add(CalendarText::NoRoomAtMidnight);
        else if (outsideYears)
            m_out.notes.add(CalendarText::OutsideYears);
        else
            m_out.notes.add(CalendarText::OutsideWindow);
        if (pending.count(CalendarText::CutShort))
            m_out.notes.add(CalendarText::CutShort);
        return;
    }
    if (unknownZone)
        pending.add(CalendarText::UnknownTimeZone);
    const QString description = FitFieldText(summary, MaxDescriptionWidth, pending);
    const QString tentative =
        icalcomponent_get_status(event) == ICAL_STATUS_TENTATIVE ? u"Y"_s : u"N"_s;
    for (QString &line : lines) {
        // The description goes between the third and fourth separators.
        line.insert(21, description);
        line.append(tentative);
        m_out.records.appointments.append(line);
    }
    m_out.notes.merge(pending);
}

void Reader::readTodo(icalcomponent *todo) {
    const icalproperty_status status = icalcomponent_get_status(todo);
    if (status == ICAL_STATUS_CANCELLED) {
        m_out.notes.add(CalendarText::CancelledTodos);
        return;
    }
    const QString summary = ical::Text(icalcomponent_get_summary(todo));
    if (summary.trimmed().isEmpty()) {
        m_out.notes.add(CalendarText::TodosWithoutSummary);
        return;
    }
    ImportNotes pending;
    QString date = u"        "_s;
    bool unknownZone = false;
    if (const auto due =
            moment(icalcomponent_get_first_property(todo, ICAL_DUE_PROPERTY), &unknownZone)) {
        const QDate day = toLocal(*due).date;
        if (ical::InDiaryYears(day))
            date = day.toString(u"yyyyMMdd"_s);
        else
            pending.add(CalendarText::DueDatesOutsideYears);
    }
    if (unknownZone)
        pending.add(CalendarText::UnknownTimeZone);
    const bool completed = status == ICAL_STATUS_COMPLETED ||
                           icalcomponent_get_first_property(todo, ICAL_COMPLETED_PROPERTY);
    icalproperty *priority = icalcomponent_get_first_property(todo, ICAL_PRIORITY_PROPERTY);
    const int level = priority ? icalproperty_get_priority(priority) : 0;
    const bool high = level >= 1 && level <= 4;
    const QString description = FitFieldText(summary, MaxDescriptionWidth, pending, true);
    m_out.records.tasks.append(date + Sep + (completed ? u"Y"_s : u"N"_s) + Sep +
                               (high ? u"Y"_s : u"N"_s) + Sep + description);
    m_out.notes.merge(pending);
}

void Reader::read(icalcomponent *calendar) {
    m_calendar = calendar;
    m_zones.clear();
    m_overridden.clear();
    for (icalcomponent *c = icalcomponent_get_first_component(calendar, ICAL_VEVENT_COMPONENT); c;
         c = icalcomponent_get_next_component(calendar, ICAL_VEVENT_COMPONENT)) {
        icalproperty *id = icalcomponent_get_first_property(c, ICAL_RECURRENCEID_PROPERTY);
        const char *uid = icalcomponent_get_uid(c);
        if (!id || !uid)
            continue;
        if (const auto m = moment(id, nullptr))
            m_overridden[QByteArray(uid)].push_back(*m);
    }
    for (icalcomponent *c = icalcomponent_get_first_component(calendar, ICAL_ANY_COMPONENT); c;
         c = icalcomponent_get_next_component(calendar, ICAL_ANY_COMPONENT)) {
        switch (icalcomponent_isa(c)) {
        case ICAL_VEVENT_COMPONENT:
            readEvent(c);
            break;
        case ICAL_VTODO_COMPONENT:
            readTodo(c);
            break;
        case ICAL_VTIMEZONE_COMPONENT:
            break;
        default:
            m_out.notes.add(CalendarText::OtherItems);
            break;
        }
    }
}

// Feeds a file to libical's parser line by line. libical's own string reader
// searches the rest of the text for every 80 bytes it hands on, which takes
// minutes over a long line; this one walks the text once. It also passes over
// NUL bytes rather than ending the text there, and cuts a content line (with
// its folded continuations) at MaxContentLine bytes: nothing the diary takes
// is that long, and the parser holds every line whole in memory.
constexpr qsizetype MaxContentLine = 64 * 1024;

struct LineFeed {
    const char *data = nullptr;
    qsizetype size = 0;
    qsizetype pos = 0;
    qsizetype logical = 0; // bytes of the current content line so far
    bool lineStart = true;
};

char *feedLine(char *out, size_t room, void *state) {
    auto &feed = *static_cast<LineFeed *>(state);
    if (feed.pos >= feed.size || room < 2)
        return nullptr;
    size_t n = 0;
    while (feed.pos < feed.size && n + 1 < room) {
        const char c = feed.data[feed.pos];
        if (feed.lineStart) {
            if (c != ' ' && c != '\t')
                feed.logical = 0;
            feed.lineStart = false;
        }
        if (c == '\n') {
            out[n++] = c;
            ++feed.pos;
            feed.lineStart = true;
            break;
        }
        ++feed.pos;
        if (c == '\0' || (feed.logical >= MaxContentLine && c != '\r'))
            continue;
        ++feed.logical;
        out[n++] = c;
    }
    out[n] = '\0';
    return out;
}

// The file's components; those left open at its end are closed there, so a
// truncated file gives what it holds.
ComponentPtr parse(const QByteArray &bytes) {
    LineFeed feed{bytes.constData(), bytes.size()};
    icalparser *parser = icalparser_new();
    icalparser_set_gen_data(parser, &feed);
    ComponentPtr root;
    const auto take = [&root](icalcomponent *c) {
        if (!c)
            return;
        if (icalcomponent_get_parent(c))
            return; // still held by the component it was read into
        if (!root) {
            root.reset(c);
            return;
        }
        if (icalcomponent_isa(root.get()) != ICAL_XROOT_COMPONENT) {
            ComponentPtr both(icalcomponent_new(ICAL_XROOT_COMPONENT));
            icalcomponent_add_component(both.get(), root.release());
            root = std::move(both);
        }
        icalcomponent_add_component(root.get(), c);
    };
    for (;;) {
        char *line = icalparser_get_line(parser, feedLine);
        take(icalparser_add_line(parser, line));
        if (!line)
            break;
        icalmemory_free_buffer(line);
    }
    // What is still open is closed by the parser, which keeps it and frees it
    // with itself: a copy is taken.
    if (icalcomponent *open = icalparser_clean(parser))
        take(icalcomponent_new_clone(open));
    icalparser_free(parser);
    return root;
}

} // namespace

CalendarRead ReadCalendar(const QByteArray &bytes, const ImportWindow &window,
                          const QTimeZone &local) {
    ical::PrepareLibical();
    CalendarRead result;
    ComponentPtr root = parse(bytes);
    std::vector<icalcomponent *> calendars;
    if (root) {
        if (icalcomponent_isa(root.get()) == ICAL_VCALENDAR_COMPONENT)
            calendars.push_back(root.get());
        else
            for (icalcomponent *c =
                     icalcomponent_get_first_component(root.get(), ICAL_VCALENDAR_COMPONENT);
                 c; c = icalcomponent_get_next_component(root.get(), ICAL_VCALENDAR_COMPONENT))
                calendars.push_back(c);
    }
    if (calendars.empty()) {
        result.error = CalendarText::NoCalendar;
        return result;
    }
    Reader reader(window, local, result);
    for (icalcomponent *calendar : calendars)
        reader.read(calendar);
    return result;
}

} // namespace qm
