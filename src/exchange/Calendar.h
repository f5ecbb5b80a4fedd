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
