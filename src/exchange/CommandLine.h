#pragma once

#include "exchange/Calendar.h"

#include <QDateTime>
#include <QStringList>
#include <QTextStream>
#include <QTimeZone>

// Import and export from the command line, for scripts and backups:
//   quillmate --export-calendar FILE.ics [--from YYYY-MM-DD --to YYYY-MM-DD]
//   quillmate --export-contacts FILE.vcf
//   quillmate --import FILE... [--from YYYY-MM-DD] [--to YYYY-MM-DD] [--copy-birthdays]
namespace qm {

struct ExchangeCommand {
    enum class Action { None, ExportCalendar, ExportContacts, Import };
    Action action = Action::None;
    QStringList files;
    // Export: only the appointments of a range; import: the window.
    QDate from;
    QDate to;
    bool copyBirthdays = false;
    // A command that cannot be carried out as given, and why.
    QString error;
};

// The command the arguments (without the program's name) ask for; None when
// they name no import or export, and the window is started as usual.
ExchangeCommand ParseExchangeCommand(const QStringList &arguments);

// Where and when a command runs.
struct ExchangeContext {
    QString folder; // the data folder, ending in a separator
    QTimeZone local;
    QDateTime now;
    // Whether the organiser runs over the data folder: an import then changes
    // nothing, an export says that it exported what was saved.
    bool organiserRunning = false;
};

enum ExchangeExit { ExitDone = 0, ExitFailed = 1, ExitUsage = 2, ExitOrganiserRunning = 3 };

// Carries the command out, printing its summary to out and what went wrong to
// err; returns the exit status.
int RunExchangeCommand(const ExchangeCommand &command, const ExchangeContext &context,
                       QTextStream &out, QTextStream &err);

// Exports the record files of folder (ending in a separator) to path,
// atomically: the calendar's records within range, or with contacts the
// address book. Raises FileError or ConversionError; path is then as it was.
ExportResult ExportDataFolder(const QString &folder, const QString &path, bool contacts,
                              const CalendarExportRange &range, const QTimeZone &zone,
                              const QDateTime &now);

// What an export reports, for the command line and the window alike: the
// contacts, or the calendar's records, written to path.
QString ExportSummaryText(const ExportResult &result, const QString &path, bool contacts);

inline const QString ExchangeUsage = QStringLiteral(
    "Usage:\n"
    "  quillmate --export-calendar FILE.ics [--from YYYY-MM-DD --to YYYY-MM-DD]\n"
    "  quillmate --export-contacts FILE.vcf\n"
    "  quillmate --import FILE... [--from YYYY-MM-DD] [--to YYYY-MM-DD] [--copy-birthdays]\n");

} // namespace qm
