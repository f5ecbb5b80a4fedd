#pragma once

#include "exchange/Exchange.h"

#include <QByteArray>
#include <QDateTime>
#include <QStringList>
#include <QTimeZone>

// The diary, the task list and the occasion list as iCalendar: appointments
// as events, tasks as to-dos, occasions as all-day events repeating yearly.
// The record lines go in and come out exactly as the editors write them.
namespace qm {

// Lines of "Diary.Qmt", "Tasks.Qmt" and "BirthAnn.Qmt".
struct CalendarRecords {
    QStringList appointments;
    QStringList tasks;
    QStringList occasions;
};

// What a calendar file gives: the record lines made of it (in the order of
// the file; duplicates are for the caller to find), what could not be taken
// or was changed, and, when the file could not be read as a calendar at all,
// why (then nothing is taken).
struct CalendarRead {
    CalendarRecords records;
    ImportNotes notes;
    QString error;
};

// What an import could not take or had to change, and the lines an export
// left out, as counted in ImportNotes.
namespace CalendarText {
inline const QString NoCalendar = QStringLiteral("The File Holds No Calendar");
inline const QString EventsWithoutSummary = QStringLiteral("Events Without A Summary");
inline const QString TodosWithoutSummary = QStringLiteral("To-Dos Without A Summary");
inline const QString EventsWithoutStart = QStringLiteral("Events Without A Readable Start");
inline const QString CancelledEvents = QStringLiteral("Cancelled Events");
inline const QString CancelledTodos = QStringLiteral("Cancelled To-Dos");
inline const QString UnknownTimeZone =
    QStringLiteral("Times In An Unknown Time Zone Taken As Local Time");
inline const QString OutsideWindow = QStringLiteral("Events Outside The Import Window");
inline const QString OutsideYears = QStringLiteral("Events Dated Outside 1899 To 2199");
inline const QString DueDatesOutsideYears =
    QStringLiteral("Due Dates Outside 1899 To 2199 Left Out");
inline const QString CutShort = QStringLiteral("Repeating Events Cut Short");
inline const QString UnreadableRules =
    QStringLiteral("Repeat Rules That Could Not Be Read, Taken As One Event");
inline const QString NoRoomAtMidnight = QStringLiteral("Events Without A Length Starting At 23:59");
inline const QString RemindersSetTo60 =
    QStringLiteral("Reminders Longer Than 60 Minutes Set To 60");
inline const QString RemindersLeftOut =
    QStringLiteral("Reminders At Or After The Start Or At A Fixed Time Left Out");
inline const QString OccasionRemindersLeftOut =
    QStringLiteral("Reminders Of Yearly Occasions Left Out");
inline const QString OtherItems =
    QStringLiteral("Journal Entries And Other Items The Diary Has No Place For");
inline const QString UnreadableAppointments = QStringLiteral("Appointments That Could Not Be Read");
inline const QString UnreadableTasks = QStringLiteral("Tasks That Could Not Be Read");
inline const QString UnreadableOccasions = QStringLiteral("Occasions That Could Not Be Read");
} // namespace CalendarText

// Reads an iCalendar file. Appointments are taken only on the days of window,
// a repeating event as its occurrences there; times are given in local.
CalendarRead ReadCalendar(const QByteArray &bytes, const ImportWindow &window,
                          const QTimeZone &local);

// Which records a calendar export holds: everything, or only the
// appointments dated from..to (both included).
struct CalendarExportRange {
    bool everything = true;
    QDate from;
    QDate to;
};

// The records as one iCalendar file. Times are in zone (named by its TZID,
// with its VTIMEZONE); now stamps the items (DTSTAMP, and the completion of a
// completed task, whose time the task list does not keep).
ExportResult ExportCalendar(const CalendarRecords &records, const CalendarExportRange &range,
                            const QTimeZone &zone, const QDateTime &now);

} // namespace qm
