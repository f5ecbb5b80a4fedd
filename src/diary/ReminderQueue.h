#pragma once

#include <QDate>
#include <QDateTime>
#include <QList>
#include <QSet>
#include <QString>
#include <QStringList>
#include <QTime>

#include <optional>

// What the reminder timer looks for: appointment reminders and alarms, each
// due at one minute of one day. The logic never reads the clock; the timer's
// owner passes the time in.
namespace qm {

struct ReminderEntry {
    enum Kind : char16_t { Reminder = u'R', Alarm = u'A' };

    QDate date; // the day it is due
    QTime due;  // the minute it is due
    Kind kind = Reminder;
    int number = 0; // a reminder: the line's position in the store; an alarm:
                    // its number in "Alarm.Qmt", 1 for the first
    QString line;   // the appointment or alarm line it comes from
    // How many entries of the same kind and the same identity precede it: for
    // a reminder, appointments of the same date, start and lead time; for an
    // alarm, equal lines.
    int copy = 0;
    int minutes = 0; // a reminder: its lead time
};

// The entries due on day, in queue order: appointment reminders first, in the
// order of the sorted store, then the alarms in file order. An appointment's
// reminder is due its lead time before its start, which may be on the day
// before (00:10 with 15 minutes is due at 23:55 the day before), so
// appointments of day and of the day after are looked at. Only those two
// days' lines are read: the store is sorted by date.
QList<ReminderEntry> RemindersDueOn(const QStringList &sorted, const QStringList &alarmLines,
                                    const QDate &day);

// The entries as one text: "|" + HH:MM + R or A + number for each, then "|"
// ("|09:45R3|07:30A1|").
QString ReminderQueueText(const QList<ReminderEntry> &entries);

// The pop-up's texts.
QString AppointmentReminderMessage(const QString &appointmentLine);
QString AlarmMessage(const QString &alarmLine);
inline const QString AppointmentReminderCaption = QStringLiteral("Appointment Reminder");
inline const QString AlarmCaption = QStringLiteral("Alarm Time Reached");

// Decides which entry to show at each check, so that none is lost and none is
// shown twice. A check looks at every minute from the previous check up to
// now: a check that comes late (ticks drift, the timer waits while a pop-up is
// open, the machine slept) still finds what fell due meanwhile, over the last
// day at most. The first check looks at its own minute only.
//
// A reminder is one per appointment date, start and lead time (appointments
// alike in all three count as several): editing its description, end or
// tentative flag does not bring it back, changing its start or lead time makes
// a new one. A reminder that was not there at the previous check (the
// appointment was added or edited since) and whose time has already passed is
// shown at once while its appointment has not started. An alarm is one per
// line and minute, equal lines counted.
class ReminderWatch {
public:
    // The next entry to show at now, the earliest due first (entries of one
    // minute in queue order); nothing when all are shown.
    std::optional<ReminderEntry> next(const QDateTime &now, const QStringList &sorted,
                                      const QStringList &alarmLines);
    void shown(const ReminderEntry &entry);
    // Everything due up to now has been shown: the next check starts here.
    void checked(const QDateTime &now);

private:
    static QString keyOf(const ReminderEntry &entry);

    std::optional<QDateTime> m_lastCheck;
    QSet<QString> m_shown;
    // The reminders the previous check saw, once a check has looked; those
    // this check has seen so far.
    std::optional<QSet<QString>> m_known;
    std::optional<QSet<QString>> m_seen;
};

} // namespace qm
