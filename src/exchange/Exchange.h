#pragma once

#include <QDate>
#include <QList>
#include <QString>

#include <utility>

// What the calendar and contact conversions share: the tally of what an import
// could not take or had to change, the fitting of foreign text to a record
// field, and the outcome of an export.
namespace qm {

// What an import left out or changed, counted by reason, the reasons in the
// order they were first met. A reason is a short plural phrase in title case
// ("Events Outside The Import Window"); the summary shows it with its count.
class ImportNotes {
public:
    void add(const QString &reason, qsizetype count = 1);
    void merge(const ImportNotes &other);
    qsizetype count(const QString &reason) const;
    qsizetype total() const;
    bool isEmpty() const { return m_items.isEmpty(); }
    const QList<std::pair<QString, qsizetype>> &items() const { return m_items; }

private:
    QList<std::pair<QString, qsizetype>> m_items;
};

// "1 Appointment", "3 Appointments".
QString CountedText(qsizetype count, const QString &one, const QString &many);
// The notes under heading, one per line with its count in front; nothing when
// there are none.
QString NotesText(const ImportNotes &notes, const QString &heading);

namespace ExchangeText {
// The changes FitFieldText makes, as notes.
inline const QString LineBreaksReplaced = QStringLiteral("Line Breaks Replaced By Spaces");
inline const QString CharactersReplaced =
    QStringLiteral("Characters The Record Files Cannot Hold Replaced By \"?\"");
inline const QString ValuesCut = QStringLiteral("Values Cut To The Width Of Their Field");
} // namespace ExchangeText

// Makes foreign text fit one field of a record file as an editor would have
// taken it: each line break (CR LF, CR, LF, and the Unicode line and
// paragraph separators) becomes one space; each character Windows-1252
// cannot hold, and the field separator, becomes one "?" (a character outside
// the basic plane too); then the text is cut to width characters. Each kind of
// change is noted once for the value. Anything else is kept exactly. The last
// field of a line (a task's or an occasion's description) may hold the
// separator, as the editors let it: it is read as all that follows the
// separator before it.
QString FitFieldText(const QString &text, int width, ImportNotes &notes, bool lastField = false);

// A file larger than this is refused before it is read: no calendar or
// address book a person keeps comes near it, and reading one would hold the
// program up.
inline constexpr qsizetype MaxImportFileSize = qsizetype(64) * 1024 * 1024;

// The days an import takes appointments from, both ends included.
// With repeatsOnly, an event that does not repeat is taken whatever its date
// (a sync keeps every single event; only a repeat needs bounds).
struct ImportWindow {
    QDate from;
    QDate to;
    bool repeatsOnly = false;
};
// From a year before today to two years after it.
ImportWindow DefaultImportWindow(const QDate &today);

// An exported file and what went into it. notes counts the records that could
// not be exported and why (a line too odd to read).
struct ExportResult {
    QByteArray bytes;
    qsizetype appointments = 0;
    qsizetype tasks = 0;
    qsizetype occasions = 0;
    qsizetype contacts = 0;
    ImportNotes notes;
};

} // namespace qm
