#include "exchange/CommandLine.h"

#include "exchange/ImportPlan.h"
#include "foundation/Errors.h"
#include "foundation/LineFiles.h"
#include "foundation/RecordFile.h"

#include <QDir>

using namespace Qt::StringLiterals;

namespace qm {

namespace {

const QString RunningImport = u"Quillmate Is Running Over This Data Folder (%1): Close It And "
                              u"Import Again. Nothing Was Changed."_s;
const QString RunningExport = u"Quillmate Is Running Over This Data Folder (%1): Its Files Hold "
                              u"Everything Saved There, And That Is What Was Exported."_s;

int exportFile(const ExchangeCommand &command, const ExchangeContext &context, QTextStream &out,
               QTextStream &err) {
    const bool contacts = command.action == ExchangeCommand::Action::ExportContacts;
    CalendarExportRange range;
    if (command.from.isValid())
        range = {false, command.from, command.to};
    const QString path = command.files.value(0);
    const ExportResult result =
        ExportDataFolder(context.folder, path, contacts, range, context.local, context.now);
    out << ExportSummaryText(result, path, contacts) << Qt::endl;
    if (context.organiserRunning)
        err << RunningExport.arg(QDir::toNativeSeparators(context.folder)) << Qt::endl;
    return ExitDone;
}

int importFiles(const ExchangeCommand &command, const ExchangeContext &context, QTextStream &out,
                QTextStream &err) {
    if (context.organiserRunning) {
        err << RunningImport.arg(QDir::toNativeSeparators(context.folder)) << Qt::endl;
        return ExitOrganiserRunning;
    }
    ImportWindow window = DefaultImportWindow(context.now.date());
    if (command.from.isValid())
        window.from = command.from;
    if (command.to.isValid())
        window.to = command.to;
    QList<ImportSource> sources;
    for (const QString &file : command.files) {
        ImportSource source = ReadImportSource(file);
        ConvertImportSource(source, window, context.local);
        sources.append(std::move(source));
    }
    const ImportPlan plan = PlanImport(sources, context.folder, {command.copyBirthdays});
    out << ImportSummaryText(plan, window);
    // A file that cannot be read at all stops the whole import: a script
    // must not take half of what it was given for the whole.
    if (!plan.errors.isEmpty()) {
        err << u"Nothing Was Imported."_s << Qt::endl;
        return ExitFailed;
    }
    if (plan.toAdd() == 0) {
        out << ImportText::NoRecords << Qt::endl;
        return ExitDone;
    }
    const ImportOutcome outcome = ApplyImport(plan, context.folder);
    (outcome.ok() ? out : err) << ImportOutcomeText(outcome) << Qt::endl;
    return outcome.ok() ? ExitDone : ExitFailed;
}

} // namespace

ExchangeCommand ParseExchangeCommand(const QStringList &arguments) {
    using Action = ExchangeCommand::Action;
    ExchangeCommand command;
    const auto fail = [&command](const QString &why) {
        if (command.error.isEmpty())
            command.error = why;
    };
    const auto setAction = [&](Action action) {
        if (command.action != Action::None && command.action != action)
            fail(u"Give One Of --export-calendar, --export-contacts And --import"_s);
        command.action = action;
    };
    const auto date = [&](qsizetype &i, QDate &into) {
        const QString name = arguments.at(i);
        if (i + 1 >= arguments.size()) {
            fail(name + u" Needs A Date (YYYY-MM-DD)"_s);
            return;
        }
        into = QDate::fromString(arguments.at(++i), Qt::ISODate);
        if (!into.isValid())
            fail(name + u" Needs A Date (YYYY-MM-DD), Not '"_s + arguments.at(i) + u'\'');
    };
    bool options = true;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString &argument = arguments.at(i);
        if (options && argument == u"--export-calendar"_s)
            setAction(Action::ExportCalendar);
        else if (options && argument == u"--export-contacts"_s)
            setAction(Action::ExportContacts);
        else if (options && argument == u"--import"_s)
            setAction(Action::Import);
        else if (options && argument == u"--from"_s)
            date(i, command.from);
        else if (options && argument == u"--to"_s)
            date(i, command.to);
        else if (options && argument == u"--copy-birthdays"_s)
            command.copyBirthdays = true;
        else if (options && argument == u"--"_s)
            options = false;
        else if (options && argument.startsWith(u"--"_s))
            fail(u"Unknown Option "_s + argument);
        else
            command.files.append(argument);
    }
    if (command.action == Action::None) {
        // Anything else on the command line is left to the window's start.
        return {};
    }
    if (command.files.isEmpty())
        fail(u"No File Given"_s);
    if (command.action != Action::Import && command.files.size() > 1)
        fail(u"Give One File To Export To"_s);
    if (command.action == Action::ExportContacts &&
        (command.from.isValid() || command.to.isValid()))
        fail(u"--from And --to Apply To Calendars Only"_s);
    if (command.action == Action::ExportCalendar && command.from.isValid() != command.to.isValid())
        fail(u"Give Both --from And --to For A Range Of Appointments"_s);
    if (command.from.isValid() && command.to.isValid() && command.to < command.from)
        fail(u"The --to Date Is Before The --from Date"_s);
    if (command.copyBirthdays && command.action != Action::Import)
        fail(u"--copy-birthdays Applies To Imports Only"_s);
    return command;
}

int RunExchangeCommand(const ExchangeCommand &command, const ExchangeContext &context,
                       QTextStream &out, QTextStream &err) {
    if (!command.error.isEmpty()) {
        err << command.error << u"\n\n"_s << ExchangeUsage << Qt::flush;
        return ExitUsage;
    }
    try {
        if (command.action == ExchangeCommand::Action::Import)
            return importFiles(command, context, out, err);
        return exportFile(command, context, out, err);
    } catch (const QuillmateError &error) {
        err << error.cause();
        if (!error.file().isEmpty())
            err << u" ("_s << QDir::toNativeSeparators(error.file()) << u')';
        err << Qt::endl;
        return ExitFailed;
    }
}

ExportResult ExportDataFolder(const QString &folder, const QString &path, bool contacts,
                              const CalendarExportRange &range, const QTimeZone &zone,
                              const QDateTime &now) {
    ExportResult result;
    if (contacts) {
        result = ExportContacts(ReadWholeAddressRecords(folder + AddressFileName));
    } else {
        const CalendarRecords records{LoadLineFile(folder + DiaryFileName),
                                      LoadLineFile(folder + TasksFileName),
                                      LoadLineFile(folder + BirthdayFileName)};
        result = ExportCalendar(records, range, zone, now);
    }
    ReplaceFileAtomically(path, result.bytes);
    return result;
}

QString ExportSummaryText(const ExportResult &result, const QString &path, bool contacts) {
    QStringList parts;
    if (contacts)
        parts << CountedText(result.contacts, u"Contact"_s, u"Contacts"_s);
    else
        parts << CountedText(result.appointments, u"Appointment"_s, u"Appointments"_s)
              << CountedText(result.tasks, u"Task"_s, u"Tasks"_s)
              << CountedText(result.occasions, u"Occasion"_s, u"Occasions"_s);
    return u"Exported "_s + parts.join(u", "_s) + u" To "_s + QDir::toNativeSeparators(path) +
           u'\n' + NotesText(result.notes, u"Not Exported :"_s);
}

} // namespace qm
