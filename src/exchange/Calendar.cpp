#include "exchange/Calendar.h"

#include "exchange/IcalSupport.h"
#include "foundation/Codec1252.h"

#include <QCryptographicHash>
#include <QHash>
#include <QMutex>

#include <mutex>
#include <optional>

using namespace Qt::StringLiterals;

namespace qm {

namespace ical {

void PrepareLibical() {
    static std::once_flag once;
    std::call_once(once, [] { icalerror_set_errors_are_fatal(0); });
}

icaltimezone *BuiltinZone(const QByteArray &ianaId) {
    // libical looks a name up by walking its whole list and, failing that,
    // reads the file of that name under the zone folder: only plain zone
    // names go to it, and each answer is kept.
    static QMutex mutex;
    static QHash<QByteArray, icaltimezone *> known;
    const QMutexLocker lock(&mutex);
    const auto found = known.constFind(ianaId);
    if (found != known.cend())
        return *found;
    icaltimezone *zone = nullptr;
    bool plain = !ianaId.isEmpty() && ianaId.size() <= 64 && !ianaId.contains("..") &&
                 !ianaId.startsWith('/');
    for (const char c : ianaId)
        if (!(QChar::isLetterOrNumber(uchar(c)) && uchar(c) < 0x80) && c != '/' && c != '_' &&
            c != '-' && c != '+')
            plain = false;
    if (plain)
        zone = icaltimezone_get_builtin_timezone(ianaId.constData());
    known.insert(ianaId, zone);
    return zone;
}

} // namespace ical

namespace {

using ical::ComponentPtr;

const QChar Sep = FieldSeparator;

// A valid appointment line's fields.
struct AppointmentParts {
    QDate date;
    QTime start;
    QTime end;
    QString description;
    int reminder = 0;
    bool tentative = false;
};

QTime strictTime(QStringView text) {
    if (text.size() != 5 || text.at(2) != u':')
        return {};
    for (const int i : {0, 1, 3, 4})
        if (!text.at(i).isDigit() || text.at(i).unicode() > u'9')
            return {};
    return QTime(text.left(2).toInt(), text.mid(3, 2).toInt());
}

QDate strictDate(QStringView text) {
    if (text.size() != 8)
        return {};
    for (const QChar c : text)
        if (c < u'0' || c > u'9')
            return {};
    const QDate date(text.left(4).toInt(), text.mid(4, 2).toInt(), text.mid(6, 2).toInt());
    return ical::InDiaryYears(date) ? date : QDate();
}

std::optional<AppointmentParts> readAppointment(QStringView line) {
    if (line.size() < 25 || line.at(8) != Sep || line.at(14) != Sep || line.at(20) != Sep)
        return std::nullopt;
    AppointmentParts parts;
    parts.date = strictDate(line.left(8));
    parts.start = strictTime(line.mid(9, 5));
    parts.end = strictTime(line.mid(15, 5));
    if (!parts.date.isValid() || !parts.start.isValid() || !parts.end.isValid() ||
        parts.end <= parts.start)
        return std::nullopt;
    const qsizetype fourth = line.indexOf(Sep, 21);
    const qsizetype fifth = fourth < 0 ? -1 : line.indexOf(Sep, fourth + 1);
    if (fifth < 0)
        return std::nullopt;
    parts.description = line.mid(21, fourth - 21).toString();
    if (parts.description.trimmed().isEmpty())
        return std::nullopt;
    // The reminder and the flag are read as every reader of the diary reads
    // them: the number's value (anything else is no reminder), "Y" last.
    bool ok = false;
    const int reminder = line.mid(fourth + 1, fifth - fourth - 1).toInt(&ok);
    parts.reminder = ok && reminder > 0 ? reminder : 0;
    parts.tentative = line.endsWith(u'Y');
    return parts;
}

struct TaskParts {
    QDate due; // null for none
    bool completed = false;
    bool highPriority = false;
    QString description;
};

std::optional<TaskParts> readTask(QStringView line) {
    if (line.size() < 14 || line.at(8) != Sep || line.at(10) != Sep || line.at(12) != Sep)
        return std::nullopt;
    TaskParts parts;
    const QStringView date = line.left(8);
    if (date != u"        "_s) {
        parts.due = strictDate(date);
        if (!parts.due.isValid())
            return std::nullopt;
    }
    const auto flag = [](QChar c) -> std::optional<bool> {
        if (c == u'Y')
            return true;
        if (c == u'N')
            return false;
        return std::nullopt;
    };
    const auto completed = flag(line.at(9));
    const auto priority = flag(line.at(11));
    if (!completed || !priority)
        return std::nullopt;
    parts.completed = *completed;
    parts.highPriority = *priority;
    parts.description = line.mid(13).toString();
    if (parts.description.trimmed().isEmpty())
        return std::nullopt;
    return parts;
}

struct OccasionParts {
    QDate day; // in 2000
    QString description;
};

std::optional<OccasionParts> readOccasion(QStringView line) {
    if (line.size() < 6 || line.at(4) != Sep)
        return std::nullopt;
    for (const QChar c : line.left(4))
        if (c < u'0' || c > u'9')
            return std::nullopt;
    OccasionParts parts;
    parts.day = QDate(2000, line.left(2).toInt(), line.mid(2, 2).toInt());
    parts.description = line.mid(5).toString();
    if (!parts.day.isValid() || parts.description.trimmed().isEmpty())
        return std::nullopt;
    return parts;
}

icaltimetype wallTime(const QDate &date, const QTime &time) {
    icaltimetype t = icaltime_null_time();
    t.year = date.year();
    t.month = date.month();
    t.day = date.day();
    t.hour = time.hour();
    t.minute = time.minute();
    t.second = time.second();
    return t;
}

icaltimetype utcTime(const QDateTime &moment) {
    const QDateTime utc = moment.toUTC();
    icaltimetype t = wallTime(utc.date(), utc.time());
    t.zone = icaltimezone_get_utc_timezone();
    return t;
}

icaltimetype dateOnly(const QDate &date) {
    icaltimetype t = icaltime_null_date();
    t.year = date.year();
    t.month = date.month();
    t.day = date.day();
    return t;
}

// Stable names for the items: the same record line gives the same UID in
// every export, so a program that imports the file twice sees one item.
class UidMaker {
public:
    QByteArray make(char kind, const QString &line) {
        QCryptographicHash hash(QCryptographicHash::Sha1);
        hash.addData(QByteArrayView(&kind, 1));
        hash.addData(line.toUtf8());
        QByteArray uid = hash.result().toHex();
        const int seen = ++m_seen[uid];
        if (seen > 1)
            uid += '-' + QByteArray::number(seen);
        return uid + "@quillmate";
    }

private:
    QHash<QByteArray, int> m_seen;
};

void addText(icalcomponent *component, icalproperty *property) {
    icalcomponent_add_property(component, property);
}

// Each item is rendered by libical as soon as it is built and then freed: a
// tree of every item at once, rendered whole, costs half as much again, in
// the memory allocator.
void render(QByteArray &out, icalcomponent *component) {
    char *text = icalcomponent_as_ical_string_r(component);
    out.append(text);
    icalmemory_free_buffer(text);
    icalcomponent_free(component);
}

// The times of appointments: wall times with the zone's TZID, UTC times for
// UTC, and UTC times too for a zone libical does not carry.
class TimeWriter {
public:
    explicit TimeWriter(const QTimeZone &zone) : m_zone(zone) {
        const QByteArray id = zone.id();
        m_utc = zone == QTimeZone::utc() || id == "UTC" || id == "Etc/UTC" || id == "GMT" ||
                id == "Etc/GMT";
        if (!m_utc)
            m_builtin = ical::BuiltinZone(id);
        if (m_builtin)
            m_tzid = id;
    }

    // The VTIMEZONE to put in the calendar, named by the plain IANA name.
    ComponentPtr timezoneComponent() const {
        if (!m_builtin)
            return nullptr;
        icalcomponent *source = icaltimezone_get_component(m_builtin);
        if (!source)
            return nullptr;
        ComponentPtr copy(icalcomponent_new_clone(source));
        if (icalproperty *tzid = icalcomponent_get_first_property(copy.get(), ICAL_TZID_PROPERTY))
            icalproperty_set_tzid(tzid, m_tzid.constData());
        return copy;
    }

    icaltimetype value(const QDate &date, const QTime &time) const {
        if (m_tzid.isEmpty())
            return m_utc ? utcTime(QDateTime(date, time, QTimeZone::utc()))
                         : utcTime(QDateTime(date, time, m_zone));
        return wallTime(date, time);
    }

    void add(icalcomponent *event, bool start, const QDate &date, const QTime &time) const {
        const icaltimetype t = value(date, time);
        icalproperty *property = start ? icalproperty_new_dtstart(t) : icalproperty_new_dtend(t);
        if (!m_tzid.isEmpty())
            icalproperty_add_parameter(property, icalparameter_new_tzid(m_tzid.constData()));
        icalcomponent_add_property(event, property);
    }

private:
    QTimeZone m_zone;
    bool m_utc = false;
    icaltimezone *m_builtin = nullptr;
    QByteArray m_tzid;
};

// An appointment's event, made once for each of its four shapes and filled
// in for every appointment of that shape: making and freeing a tree of
// libical's for each appointment cost a third of the export.
struct AppointmentEvent {
    ComponentPtr event;
    icalproperty *uid = nullptr;
    icalproperty *start = nullptr;
    icalproperty *end = nullptr;
    icalproperty *summary = nullptr;
    icalproperty *alarmDescription = nullptr;
    icalproperty *trigger = nullptr;
};

AppointmentEvent makeShape(const TimeWriter &times, const icaltimetype &stamp, bool tentative,
                           bool alarmed) {
    AppointmentEvent shape;
    shape.event.reset(icalcomponent_new_vevent());
    icalcomponent *event = shape.event.get();
    addText(event, shape.uid = icalproperty_new_uid(""));
    addText(event, icalproperty_new_dtstamp(stamp));
    const QDate day(2000, 1, 1);
    times.add(event, true, day, QTime(0, 0));
    times.add(event, false, day, QTime(0, 1));
    shape.start = icalcomponent_get_first_property(event, ICAL_DTSTART_PROPERTY);
    shape.end = icalcomponent_get_first_property(event, ICAL_DTEND_PROPERTY);
    addText(event, shape.summary = icalproperty_new_summary(""));
    if (tentative)
        addText(event, icalproperty_new_status(ICAL_STATUS_TENTATIVE));
    if (alarmed) {
        icalcomponent *alarm = icalcomponent_new_valarm();
        addText(alarm, icalproperty_new_action(ICAL_ACTION_DISPLAY));
        addText(alarm, shape.alarmDescription = icalproperty_new_description(""));
        icaltriggertype trigger;
        trigger.time = icaltime_null_time();
        trigger.duration = icaldurationtype_from_int(-60);
        addText(alarm, shape.trigger = icalproperty_new_trigger(trigger));
        icalcomponent_add_component(event, alarm);
    }
    return shape;
}

} // namespace

ExportResult ExportCalendar(const CalendarRecords &records, const CalendarExportRange &range,
                            const QTimeZone &zone, const QDateTime &now) {
    ical::PrepareLibical();
    ExportResult result;
    ComponentPtr calendar(icalcomponent_new_vcalendar());
    icalcomponent *root = calendar.get();
    addText(root, icalproperty_new_version("2.0"));
    addText(root, icalproperty_new_prodid("-//Varnell//Quillmate//EN"));
    addText(root, icalproperty_new_calscale("GREGORIAN"));

    QByteArray items;
    const TimeWriter times(zone);
    const icaltimetype stamp = utcTime(now);
    // Firm or tentative, with or without a reminder.
    AppointmentEvent shapes[4];
    UidMaker uids;
    bool zoneWritten = false;

    for (const QString &line : records.appointments) {
        const auto parts = readAppointment(line);
        if (!parts) {
            result.notes.add(CalendarText::UnreadableAppointments);
            continue;
        }
        if (!range.everything && (parts->date < range.from || parts->date > range.to))
            continue;
        zoneWritten = true;
        const QByteArray description = parts->description.toUtf8();
        const bool alarmed = parts->reminder > 0;
        AppointmentEvent &shape = shapes[(parts->tentative ? 2 : 0) + (alarmed ? 1 : 0)];
        if (!shape.event)
            shape = makeShape(times, stamp, parts->tentative, alarmed);
        icalproperty_set_uid(shape.uid, uids.make('A', line).constData());
        icalproperty_set_dtstart(shape.start, times.value(parts->date, parts->start));
        icalproperty_set_dtend(shape.end, times.value(parts->date, parts->end));
        icalproperty_set_summary(shape.summary, description.constData());
        if (alarmed) {
            icalproperty_set_description(shape.alarmDescription, description.constData());
            icaltriggertype trigger;
            trigger.time = icaltime_null_time();
            trigger.duration = icaldurationtype_from_int(-60 * parts->reminder);
            icalproperty_set_trigger(shape.trigger, trigger);
        }
        char *text = icalcomponent_as_ical_string_r(shape.event.get());
        items.append(text);
        icalmemory_free_buffer(text);
        ++result.appointments;
    }

    if (range.everything) {
        for (const QString &line : records.tasks) {
            const auto parts = readTask(line);
            if (!parts) {
                result.notes.add(CalendarText::UnreadableTasks);
                continue;
            }
            icalcomponent *todo = icalcomponent_new_vtodo();
            addText(todo, icalproperty_new_uid(uids.make('T', line).constData()));
            addText(todo, icalproperty_new_dtstamp(stamp));
            addText(todo, icalproperty_new_summary(parts->description.toUtf8().constData()));
            if (parts->due.isValid())
                addText(todo, icalproperty_new_due(dateOnly(parts->due)));
            if (parts->highPriority)
                addText(todo, icalproperty_new_priority(1));
            if (parts->completed) {
                addText(todo, icalproperty_new_status(ICAL_STATUS_COMPLETED));
                addText(todo, icalproperty_new_completed(stamp));
            } else {
                addText(todo, icalproperty_new_status(ICAL_STATUS_NEEDSACTION));
            }
            render(items, todo);
            ++result.tasks;
        }

        icalrecurrencetype yearly;
        icalrecurrencetype_clear(&yearly);
        yearly.freq = ICAL_YEARLY_RECURRENCE;
        for (const QString &line : records.occasions) {
            const auto parts = readOccasion(line);
            if (!parts) {
                result.notes.add(CalendarText::UnreadableOccasions);
                continue;
            }
            icalcomponent *event = icalcomponent_new_vevent();
            addText(event, icalproperty_new_uid(uids.make('O', line).constData()));
            addText(event, icalproperty_new_dtstamp(stamp));
            addText(event, icalproperty_new_dtstart(dateOnly(parts->day)));
            addText(event, icalproperty_new_dtend(dateOnly(parts->day.addDays(1))));
            addText(event, icalproperty_new_rrule(yearly));
            addText(event, icalproperty_new_transp(ICAL_TRANSP_TRANSPARENT));
            addText(event, icalproperty_new_summary(parts->description.toUtf8().constData()));
            render(items, event);
            ++result.occasions;
        }
    }

    if (zoneWritten)
        if (ComponentPtr timezone = times.timezoneComponent())
            icalcomponent_add_component(root, timezone.release());
    char *text = icalcomponent_as_ical_string_r(root);
    result.bytes = QByteArray(text);
    icalmemory_free_buffer(text);
    // The items go in before the calendar's end.
    result.bytes.insert(result.bytes.lastIndexOf("END:VCALENDAR"), items);
    return result;
}

} // namespace qm
