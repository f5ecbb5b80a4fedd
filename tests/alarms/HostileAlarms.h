#pragma once

// Alarm lines and appointment lines as a hand edit, an older version or a
// damaged disk may leave them, run through everything that reads them at a
// reminder check and on the alarm page. Shared by the fuzz target and the
// deterministic test of the suite.

#include "alarms/AlarmRules.h"
#include "diary/AppointmentStore.h"
#include "diary/ReminderQueue.h"
#include "foundation/AlarmFile.h"
#include "foundation/Dates.h"

#include <QDateTime>
#include <QRandomGenerator>
#include <QStringList>

#include <exception>

namespace qm::test {

// Empty when every reader survived the lines and every alarm that goes off
// has a time that converts to the minute it went off at; otherwise what broke.
inline QString ExerciseAlarmsAndReminders(const QStringList &alarmLines,
                                          const QStringList &diaryLines) {
    try {
        AppointmentStore store;
        store.load(diaryLines);
        const QDate day(2024, 3, 15);
        ReminderWatch watch;
        const QDateTime moments[] = {{day, QTime(0, 0, 30)},
                                     {day, QTime(7, 30, 10)},
                                     {day, QTime(12, 0)},
                                     {day, QTime(23, 59, 50)},
                                     {day.addDays(1), QTime(0, 10, 20)}};
        for (const QDateTime &now : moments) {
            // Bounded: a check shows each entry once at most.
            for (int shown = 0; shown < 10000; ++shown) {
                const auto entry = watch.next(now, store.lines(), alarmLines);
                if (!entry)
                    break;
                watch.shown(*entry);
            }
            watch.checked(now);
            const QList<ReminderEntry> entries = RemindersDueOn(store.lines(), alarmLines, day);
            (void)ReminderQueueText(entries);
            for (const ReminderEntry &entry : entries) {
                if (entry.kind == ReminderEntry::Reminder) {
                    (void)AppointmentReminderMessage(entry.line);
                    continue;
                }
                const QString stored = ReadAlarmLine(entry.line).time;
                if (!IsValidTime(stored) || TextToTime(stored) != entry.due)
                    return QStringLiteral("alarm at ") + entry.due.toString() +
                           QStringLiteral(" from ") + entry.line;
                if (!AlarmMessage(entry.line)
                         .startsWith(QStringLiteral("Alarm For ") + TimeToDisplay(entry.due)))
                    return QStringLiteral("message of ") + entry.line;
            }
        }
        const QList<AlarmRow> rows = AlarmRowsFromLines(alarmLines, MaxAlarms);
        (void)AlarmPageReasons(rows);
        (void)AlarmLinesFromRows(rows);
        for (const QString &line : alarmLines) {
            (void)FindAlarmRow(rows, line);
            const QString time = StoredAlarmTime(ReadAlarmLine(line).time);
            if (IsValidTime(time) && TimeToDisplay(time) != time)
                return QStringLiteral("stored time of ") + line;
        }
    } catch (const std::exception &error) {
        return QString::fromUtf8(error.what());
    } catch (...) {
        return QStringLiteral("an exception");
    }
    return {};
}

// Lines made of the pieces that have caught readers out before, and of
// random characters, the same for the same seed.
class HostileLines {
public:
    explicit HostileLines(quint32 seed) : m_random(seed) {}

    QString alarmLine() {
        const QString sep(QChar(0x00FF));
        switch (m_random.bounded(8)) {
        case 0:
            return noise();
        case 1:
            return pick(Times); // no separator at all
        case 2:
            return pick(Times) + sep + pick(Flags);
        default:
            return pick(Times) + sep + pick(Flags) + sep + noise();
        }
    }

    QString diaryLine() {
        const QString sep(QChar(0x00FF));
        const QStringList fields{pick(Dates), pick(Times), pick(Times),
                                 noise(),     pick(Leads), pick(Flags)};
        const int count = 1 + int(m_random.bounded(qsizetype(fields.size())));
        return fields.mid(0, count).join(sep);
    }

private:
    QString pick(const QStringList &pieces) {
        return pieces.at(int(m_random.bounded(qsizetype(pieces.size()))));
    }
    // Any characters of the code page, the separator and line ends included.
    QString noise() {
        QString text;
        const int length = int(m_random.bounded(12));
        for (int i = 0; i < length; ++i)
            text += QChar(char16_t(m_random.bounded(0x100)));
        return text;
    }

    inline static const QStringList Times{
        QStringLiteral("07:30"),    QStringLiteral("+7:30"),      QStringLiteral("7.0:30"),
        QStringLiteral("07:30.0"),  QStringLiteral("1e1:00"),     QStringLiteral("07:30 "),
        QStringLiteral(" 7:30"),    QStringLiteral("07:30     "), QStringLiteral("7:30\u00A0"),
        QStringLiteral("24:00"),    QStringLiteral("23:59"),      QStringLiteral(""),
        QStringLiteral(":"),        QStringLiteral("12:"),        QStringLiteral(":30"),
        QStringLiteral("9"),        QStringLiteral("0x7:30"),     QStringLiteral("\u0667:30"),
        QStringLiteral("07:30:00"), QStringLiteral("-0:00"),      QStringLiteral("7:3O"),
        QStringLiteral("00:10"),    QStringLiteral("000:00"),     QStringLiteral("7:5"),
        QStringLiteral("inf"),      QStringLiteral("nan:00"),     QStringLiteral("07:30\r\n"),
        QStringLiteral("\u00FF")};
    inline static const QStringList Flags{QStringLiteral("Y"),  QStringLiteral("N"),
                                          QStringLiteral(""),   QStringLiteral("y"),
                                          QStringLiteral("YY"), QStringLiteral("\u00FF")};
    inline static const QStringList Dates{QStringLiteral("20240315"), QStringLiteral("20240316"),
                                          QStringLiteral("20240314"), QStringLiteral("2024031"),
                                          QStringLiteral(""),         QStringLiteral("2024-03-15"),
                                          QStringLiteral("99999999")};
    inline static const QStringList Leads{
        QStringLiteral("10"),  QStringLiteral("0"),   QStringLiteral("-5"),
        QStringLiteral("60"),  QStringLiteral("600"), QStringLiteral("999999999999"),
        QStringLiteral("1e3"), QStringLiteral(""),    QStringLiteral(" 5")};

    QRandomGenerator m_random;
};

} // namespace qm::test
