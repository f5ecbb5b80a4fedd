#include "exchange/ImportPlan.h"

#include "foundation/Codec1252.h"
#include "foundation/Dates.h"
#include "foundation/Errors.h"
#include "foundation/LineFiles.h"
#include "foundation/RecordFile.h"
#include "foundation/SortedLines.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>

using namespace Qt::StringLiterals;

namespace qm {

QString ContactIdentity(const AddressRecord &record) {
    QString identity;
    for (int field = 2; field <= AddressFieldCount; ++field)
        identity += AddressField(record, field) + QChar(0x1F);
    return identity;
}

namespace {

// The occasion the contact editor adds for a contact's birthday: month, day,
// "Birthday For", first name and last name. Empty when the editor would
// refuse it (a name missing, or no valid birthday).
QString birthdayOccasion(const AddressRecord &record) {
    const QString first = AddressField(record, 5).trimmed();
    const QString last = AddressField(record, 4).trimmed();
    const QString birthday = AddressField(record, 17);
    if (first.isEmpty() || last.isEmpty() || birthday.size() != 8 ||
        !QDate::fromString(birthday, u"yyyyMMdd"_s).isValid())
        return {};
    return birthday.mid(4, 4) + FieldSeparator + u"Birthday For "_s + first + u' ' + last;
}

// Adds each line not yet in seen to added; counts the others in there.
void takeNew(const QStringList &lines, QSet<QString> &seen, QStringList &added, qsizetype &there) {
    for (const QString &line : lines) {
        if (seen.contains(line)) {
            ++there;
        } else {
            seen.insert(line);
            added.append(line);
        }
    }
}

} // namespace

ImportKind ImportKindOf(const QString &path) {
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix == u"ics"_s || suffix == u"ical"_s || suffix == u"icalendar"_s || suffix == u"ifb"_s)
        return ImportKind::Calendar;
    if (suffix == u"vcf"_s || suffix == u"vcard"_s)
        return ImportKind::Contacts;
    return ImportKind::Unknown;
}

ImportSource ReadImportSource(const QString &path) {
    ImportSource source;
    source.path = path;
    source.kind = ImportKindOf(path);
    const QFileInfo info(path);
    if (source.kind == ImportKind::Unknown) {
        source.error = ImportText::UnknownKind;
    } else if (!info.exists()) {
        source.error = ImportText::Missing;
    } else if (info.size() > MaxImportFileSize) {
        source.error = ImportText::TooLarge;
    } else {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly)) {
            source.error = u"The File Cannot Be Read: "_s + file.errorString();
        } else {
            // Read up to one byte past the limit: a file that grew meanwhile
            // is refused rather than read without end.
            source.bytes = file.read(MaxImportFileSize + 1);
            if (file.error() != QFileDevice::NoError)
                source.error = u"The File Cannot Be Read: "_s + file.errorString();
            else if (source.bytes.size() > MaxImportFileSize)
                source.error = ImportText::TooLarge;
        }
        if (!source.error.isEmpty())
            source.bytes.clear();
    }
    return source;
}

void ConvertImportSource(ImportSource &source, const ImportWindow &window, const QTimeZone &local) {
    // A file that could not be read keeps its reason.
    if (source.bytes.isEmpty() && !source.error.isEmpty())
        return;
    if (source.kind == ImportKind::Calendar) {
        source.calendar = ReadCalendar(source.bytes, window, local);
        source.error = source.calendar.error;
    } else {
        source.contacts = ReadContacts(source.bytes);
        source.error = source.contacts.error;
    }
}

qsizetype ImportPlan::toAdd() const {
    return appointments.size() + tasks.size() + occasions.size() + contacts.size();
}

ImportPlan PlanImport(const QList<ImportSource> &sources, const QString &folder,
                      const ImportOptions &options) {
    ImportPlan plan;
    const QStringList diary = LoadLineFile(folder + DiaryFileName);
    const QStringList tasks = LoadLineFile(folder + TasksFileName);
    const QStringList occasions = LoadLineFile(folder + BirthdayFileName);
    QSet<QString> seenAppointments(diary.begin(), diary.end());
    QSet<QString> seenTasks(tasks.begin(), tasks.end());
    QSet<QString> seenOccasions(occasions.begin(), occasions.end());
    QSet<QString> seenContacts;
    for (const AddressRecord &record : ReadWholeAddressRecords(folder + AddressFileName))
        seenContacts.insert(ContactIdentity(record));

    QStringList birthdays;
    for (const ImportSource &source : sources) {
        if (!source.error.isEmpty()) {
            plan.errors.append(QDir::toNativeSeparators(source.path) + u": "_s + source.error);
            continue;
        }
        if (source.kind == ImportKind::Calendar) {
            const CalendarRecords &records = source.calendar.records;
            takeNew(records.appointments, seenAppointments, plan.appointments,
                    plan.appointmentsThere);
            takeNew(records.tasks, seenTasks, plan.tasks, plan.tasksThere);
            takeNew(records.occasions, seenOccasions, plan.occasions, plan.occasionsThere);
            plan.notes.merge(source.calendar.notes);
        } else if (source.kind == ImportKind::Contacts) {
            for (const AddressRecord &record : source.contacts.contacts) {
                const QString identity = ContactIdentity(record);
                if (seenContacts.contains(identity)) {
                    ++plan.contactsThere;
                } else {
                    seenContacts.insert(identity);
                    plan.contacts.append(record);
                }
                if (options.copyBirthdays) {
                    const QString occasion = birthdayOccasion(record);
                    if (!occasion.isEmpty())
                        birthdays.append(occasion);
                }
            }
            plan.notes.merge(source.contacts.notes);
        }
    }
    takeNew(birthdays, seenOccasions, plan.occasions, plan.occasionsThere);
    return plan;
}

ImportOutcome ApplyImport(const ImportPlan &plan, const QString &folder) {
    ImportOutcome outcome;
    // Each file is read again just before it is written, so nothing written
    // to it since the plan was made is lost.
    const auto write = [&](const QString &name, qsizetype count, qsizetype &added,
                           const std::function<void()> &step) {
        if (count == 0)
            return;
        try {
            step();
            outcome.written.append(name);
            added = count;
        } catch (const QuillmateError &error) {
            outcome.failures.append(
                {QDir::toNativeSeparators(error.file().isEmpty() ? folder + name : error.file()),
                 error.cause()});
        }
    };
    const auto sorted = [&](const QString &name, const QStringList &added) {
        QStringList lines = LoadLineFile(folder + name) + added;
        SortLines(lines);
        SaveLineFile(folder + name, lines);
    };
    write(DiaryFileName, plan.appointments.size(), outcome.appointments,
          [&] { sorted(DiaryFileName, plan.appointments); });
    write(TasksFileName, plan.tasks.size(), outcome.tasks, [&] {
        SaveLineFile(folder + TasksFileName, LoadLineFile(folder + TasksFileName) + plan.tasks);
    });
    write(BirthdayFileName, plan.occasions.size(), outcome.occasions,
          [&] { sorted(BirthdayFileName, plan.occasions); });
    write(AddressFileName, plan.contacts.size(), outcome.contacts,
          [&] { AddressFile(folder).SaveNewContacts(plan.contacts); });
    return outcome;
}

QString ImportSummaryText(const ImportPlan &plan, const ImportWindow &window) {
    const auto line = [](qsizetype appointments, qsizetype tasks, qsizetype occasions,
                         qsizetype contacts) {
        QStringList parts;
        parts << CountedText(appointments, u"Appointment"_s, u"Appointments"_s)
              << CountedText(tasks, u"Task"_s, u"Tasks"_s)
              << CountedText(occasions, u"Occasion"_s, u"Occasions"_s)
              << CountedText(contacts, u"Contact"_s, u"Contacts"_s);
        return parts.join(u", "_s);
    };
    QString text =
        u"To Add : "_s +
        line(plan.appointments.size(), plan.tasks.size(), plan.occasions.size(),
             plan.contacts.size()) +
        u"\nAlready There : "_s +
        line(plan.appointmentsThere, plan.tasksThere, plan.occasionsThere, plan.contactsThere) +
        u"\nAppointments Taken From "_s + DateToDisplay(window.from) + u" To "_s +
        DateToDisplay(window.to) + u'\n';
    text += NotesText(plan.notes, u"Not Taken Or Changed :"_s);
    if (!plan.errors.isEmpty()) {
        text += u"Cannot Import :\n"_s;
        for (const QString &error : plan.errors)
            text += u"    "_s + error + u'\n';
    }
    return text;
}

QString ImportOutcomeText(const ImportOutcome &outcome) {
    QStringList added;
    if (outcome.appointments)
        added << CountedText(outcome.appointments, u"Appointment"_s, u"Appointments"_s);
    if (outcome.tasks)
        added << CountedText(outcome.tasks, u"Task"_s, u"Tasks"_s);
    if (outcome.occasions)
        added << CountedText(outcome.occasions, u"Occasion"_s, u"Occasions"_s);
    if (outcome.contacts)
        added << CountedText(outcome.contacts, u"Contact"_s, u"Contacts"_s);
    QString text =
        added.isEmpty() ? u"Nothing Was Imported"_s : u"Imported : "_s + added.join(u", "_s);
    for (const ImportOutcome::Failure &failure : outcome.failures)
        text +=
            u"\nNot Imported, "_s + failure.file + u" Could Not Be Written : "_s + failure.cause;
    return text;
}

} // namespace qm
