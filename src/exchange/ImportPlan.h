#pragma once

#include "exchange/Calendar.h"
#include "exchange/Contacts.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <QTimeZone>

// An import from start to end: the files read and converted, what they add to
// a data folder and what is there already, then every record file written
// once, atomically, after everything has been read and checked.
namespace qm {

// The contact's fields after the key, as one text: what makes two contacts
// the same contact (an import and a sync never add a second of it).
QString ContactIdentity(const AddressRecord &record);

enum class ImportKind { Unknown, Calendar, Contacts };
// By the file's extension: ".ics" (or ".ical", ".ifb", ".icalendar") and ".vcf"
// (or ".vcard").
ImportKind ImportKindOf(const QString &path);

// One file chosen for import: its bytes are read once, and converted again
// whenever the window changes.
struct ImportSource {
    QString path;
    ImportKind kind = ImportKind::Unknown;
    QByteArray bytes;
    // Why the file cannot be imported at all (missing, unreadable, too large,
    // of an unknown kind, or holding no calendar or contacts); empty when it
    // can.
    QString error;
    CalendarRead calendar;
    ContactsRead contacts;
};

// Reads the file; an error is kept in the source, never raised.
ImportSource ReadImportSource(const QString &path);
// Converts the source's bytes (again), taking appointments on the days of
// window, with times in local.
void ConvertImportSource(ImportSource &source, const ImportWindow &window, const QTimeZone &local);

struct ImportOptions {
    // Each contact's birthday goes to the occasion list as the contact
    // editor's "Add To Birthday List" puts it there.
    bool copyBirthdays = false;
};

// What an import adds: only records that are neither in the data folder nor
// earlier in the files; those are counted as already there.
struct ImportPlan {
    QStringList appointments;
    QStringList tasks;
    QStringList occasions;
    // Keys are issued when they are written.
    QList<AddressRecord> contacts;
    qsizetype appointmentsThere = 0;
    qsizetype tasksThere = 0;
    qsizetype occasionsThere = 0;
    qsizetype contactsThere = 0;
    // Everything the conversions could not take or had to change.
    ImportNotes notes;
    // One sentence per file that cannot be imported at all, naming it.
    QStringList errors;

    qsizetype toAdd() const;
};

// The plan for sources (converted) over the record files of folder (ending
// in a separator). Raises FileError when a record file cannot be read.
ImportPlan PlanImport(const QList<ImportSource> &sources, const QString &folder,
                      const ImportOptions &options);

// What writing a plan did: which record files were written, and for each that
// could not be, its name and the reason (that file is as it was).
struct ImportOutcome {
    QStringList written;
    struct Failure {
        QString file;
        QString cause;
    };
    QList<Failure> failures;
    qsizetype appointments = 0;
    qsizetype tasks = 0;
    qsizetype occasions = 0;
    qsizetype contacts = 0;
    bool ok() const { return failures.isEmpty(); }
};

// Writes each record file the plan adds to once, through the atomic writer:
// "Diary.Qmt" and "BirthAnn.Qmt" in their sorted order, "Tasks.Qmt" with the
// new tasks at its end, "Address.Qmt" with the new contacts first (each with
// a new key) and then "NextKey.Qmt". A file that cannot be written is left as
// it was and the others are still written; the outcome says which.
ImportOutcome ApplyImport(const ImportPlan &plan, const QString &folder);

namespace ImportText {
inline const QString NoRecords = QStringLiteral("There Is Nothing New To Import");
inline const QString UnknownKind =
    QStringLiteral("Only iCalendar (.ics) And vCard (.vcf) Files Can Be Imported");
inline const QString TooLarge = QStringLiteral("The File Is Too Large To Import");
inline const QString Missing = QStringLiteral("The File Does Not Exist");
} // namespace ImportText

// The summary shown before anything is written: what will be added, what is
// there already, what cannot be taken and why, and the files that cannot be
// imported at all.
QString ImportSummaryText(const ImportPlan &plan, const ImportWindow &window);
// What was imported and, for a file that could not be written, why not.
QString ImportOutcomeText(const ImportOutcome &outcome);

} // namespace qm
