#include "diary/ReminderQueue.h"

#include "diary/Appointment.h"
#include "foundation/AlarmFile.h"
#include "foundation/Dates.h"
#include "foundation/Text.h"

#include <QHash>

#include <algorithm>
#include <utility>

using namespace Qt::StringLiterals;

namespace qm {

namespace {

constexpr qint64 MinutesPerDay = 24 * 60;

// A minute of a day as one number, so that minutes of different days compare.
qint64 Stamp(const QDate &date, int minuteOfDay) {
    return date.toJulianDay() * MinutesPerDay + minuteOfDay;
}
qint64 Stamp(const QDate &date, const QTime &time) {
    return Stamp(date, time.hour() * 60 + time.minute());
}
qint64 Stamp(const QDateTime &moment) {
    return Stamp(moment.date(), moment.time());
}

// Two digits as a number, -1 when they are not.
int TwoDigits(QStringView text) {
    if (text.size() != 2 || !text[0].isDigit() || !text[1].isDigit())
        return -1;
    return text[0].digitValue() * 10 + text[1].digitValue();
}

void AddAppointmentReminders(QList<ReminderEntry> &entries, const QStringList &sorted,
                             const QDate &dated, const QDate &day) {
    const QString date = DateToSortable(dated);
    const auto [first, last] = LinesDated(sorted, date, date);
    QHash<QString, int> alike; // start and lead time -> appointments so far
    for (qsizetype i = first; i < last; ++i) {
        const QString &line = sorted.at(i);
        const AppointmentFields fields = ReadAppointmentFields(line);
        const int minutes = TextToInt(fields.reminder.toString());
        // The start's hour and minute are its first and last two characters.
        const int hour = TwoDigits(fields.start.left(2));
        const int minute = TwoDigits(fields.start.right(2));
        if (minutes <= 0 || hour < 0 || minute < 0)
            continue;
        const qint64 due = Stamp(dated, hour * 60 + minute) - minutes;
        if (due < Stamp(day, 0) || due >= Stamp(day.addDays(1), 0))
            continue;
        const int minuteOfDay = int(due - Stamp(day, 0));
        const int copy = alike[fields.start.toString() + u'|' + QString::number(minutes)]++;
        entries.append({day, QTime(minuteOfDay / 60, minuteOfDay % 60), ReminderEntry::Reminder,
                        int(i), line, copy, minutes});
    }
}

} // namespace

QList<ReminderEntry> RemindersDueOn(const QStringList &sorted, const QStringList &alarmLines,
                                    const QDate &day) {
    QList<ReminderEntry> entries;
    AddAppointmentReminders(entries, sorted, day, day);
    AddAppointmentReminders(entries, sorted, day.addDays(1), day);
    int number = 0;
    for (qsizetype i = 0; i < alarmLines.size(); ++i) {
        const QString &line = alarmLines.at(i);
        if (IsBlank(line))
            continue;
        ++number;
        const QString time = ReadAlarmLine(line).time;
        // A time stored as typed ("7:30") still goes off at its minute.
        if (!IsValidTime(time))
            continue;
        const auto copy = int(std::count(alarmLines.cbegin(), alarmLines.cbegin() + i, line));
        entries.append({day, TextToTime(time), ReminderEntry::Alarm, number, line, copy});
    }
    return entries;
}

QString ReminderQueueText(const QList<ReminderEntry> &entries) {
    QString text;
    for (const ReminderEntry &entry : entries)
        text += u'|' + TimeToDisplay(entry.due) + QChar(entry.kind) + QString::number(entry.number);
    return text + u'|';
}

QString AppointmentReminderMessage(const QString &appointmentLine) {
    const Appointment appointment = ReadAppointment(appointmentLine);
    return u"Your Appointment : "_s + appointment.description + u" Is Due To Start In "_s +
           QString::number(appointment.reminder) + u" Minute"_s +
           (appointment.reminder > 1 ? u"s"_s : QString()) + u"."_s;
}

QString AlarmMessage(const QString &alarmLine) {
    const AlarmRecord alarm = ReadAlarmLine(alarmLine);
    const QString time = IsValidTime(alarm.time) ? TimeToDisplay(alarm.time) : alarm.time;
    return u"Alarm For "_s + time + u". "_s + alarm.description;
}

std::optional<ReminderEntry> ReminderWatch::next(const QDateTime &now, const QStringList &sorted,
                                                 const QStringList &alarmLines) {
    // The very first check starts at its own minute, and keeps starting there
    // until it is done, however long its pop-ups stay open.
    if (!m_lastCheck)
        m_lastCheck = now;
    if (!m_seen)
        m_seen.emplace();
    const qint64 to = Stamp(now);
    // A clock put back starts afresh at its own minute; after a long sleep the
    // check goes back one day, so an alarm of every day is shown once, not
    // once for every day missed.
    qint64 from = std::min(Stamp(*m_lastCheck), to);
    from = std::max(from, to - (MinutesPerDay - 1));
    std::optional<ReminderEntry> earliest;
    qint64 earliestDue = 0;
    // Yesterday too: a reminder saved late may have been due before midnight.
    for (QDate day = now.date().addDays(-1); day <= now.date(); day = day.addDays(1)) {
        for (const ReminderEntry &entry : RemindersDueOn(sorted, alarmLines, day)) {
            const QString key = keyOf(entry);
            const bool reminder = entry.kind == ReminderEntry::Reminder;
            if (reminder)
                m_seen->insert(key);
            if (m_shown.contains(key))
                continue;
            const qint64 due = Stamp(entry.date, entry.due);
            const bool inTime = due >= from && due <= to;
            // Saved after its reminder time: late rather than never, as long
            // as the appointment has not started.
            const bool savedLate = reminder && m_known && !m_known->contains(key) && due < from &&
                                   due + entry.minutes >= to;
            if (!inTime && !savedLate)
                continue;
            if (!earliest || due < earliestDue) {
                earliest = entry;
                earliestDue = due;
            }
        }
    }
    return earliest;
}

void ReminderWatch::shown(const ReminderEntry &entry) {
    m_shown.insert(keyOf(entry));
}

void ReminderWatch::checked(const QDateTime &now) {
    m_lastCheck = now;
    // A check that looked tells the next one which reminders are new.
    if (m_seen)
        m_known = std::move(*m_seen);
    m_seen.reset();
    // What is older than the earliest day a check looks at can go.
    const QString oldest = DateToSortable(now.date().addDays(-1));
    m_shown.removeIf([&](const QString &key) { return key.left(8) < oldest; });
}

QString ReminderWatch::keyOf(const ReminderEntry &entry) {
    // A reminder's due minute and lead time give its appointment's date and
    // start; an alarm has nothing but its line.
    const QString when = DateToSortable(entry.date) + TimeToDisplay(entry.due) + QChar(entry.kind);
    if (entry.kind == ReminderEntry::Reminder)
        return when + QString::number(entry.minutes) + u'#' + QString::number(entry.copy);
    return when + QString::number(entry.copy) + u'|' + entry.line;
}

} // namespace qm
