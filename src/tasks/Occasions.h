#pragma once

#include "foundation/LineStore.h"
#include "foundation/ListRows.h"

#include <QDate>
#include <QString>

#include <optional>

// Birthdays, anniversaries and other occasions, "BirthAnn.Qmt": one line per
// occasion, the month and the day (two digits each, so text order is calendar
// order), the separator, the description. No year: a day and month is valid
// when the year 2000, a leap year, has it.
namespace qm {

namespace OccasionText {
inline const QString EditMissing = QStringLiteral("You Must Select A Record To Edit");
inline const QString DeleteMissing = QStringLiteral("You Must Select A Record To Delete");
inline const QString DescriptionMissing = QStringLiteral("Description Must Be Specified");
} // namespace OccasionText

inline constexpr int OccasionDescriptionLength = 75;
// The separator between two days' groups and the line that closes the list.
inline constexpr int OccasionSeparatorLength = 125;
inline constexpr int OccasionClosingLength = 115;

// The occasions, `lstBirthday`, sorted by the whole line without regard to
// case: from 1 January to 31 December, a day's occasions by description.
// Usable on its own: whatever adds an occasion loads the file, adds the line
// and the store writes it.
class OccasionStore : public LineStore {
public:
    OccasionStore();
};

// The line of an occasion on day/month. The day and month are written as
// two digits each.
QString OccasionLine(int day, int month, const QString &description);
// The date entry's text for a line: day, DateSep, month ("06/05" for 6 May).
QString OccasionDateEntry(const QString &line);
QString OccasionDescription(const QString &line);

// The date entry's exit rule: the entry with the year 2000 added must be a
// valid date; then the normal form "dd/mm" (DateSep), else nullopt.
std::optional<QString> OccasionDateExit(const QString &entry);
// Why an occasion cannot be saved, each reason followed by "\r"; empty when
// it can. dateValid is the date entry's exit rule's verdict.
QString OccasionSaveReasons(bool dateValid, const QString &description);
// The line for a date entry in normal form ("dd/mm") and a description.
QString OccasionLineFromEntries(const QString &date, const QString &description);

// "6th May": the heading of a day's group, for the "mmdd" date key.
QString OccasionHeading(const QString &dateKey);
// The rows: under each day's heading its occasions (four spaces in front),
// groups parted by separators, the last closed by the closing line. RowMap
// gives "H", "L" or the line's position; RowKeys the date key of occasion
// rows.
ListRows LoadBirthdayView(const QStringList &sorted);
// The row of the first occasion from today on in the year; the first row when
// every occasion lies earlier; -1 for no rows.
int SelectNextOccasion(const ListRows &rows, const QDate &today);
// Headings are bold, every other row plain.
RowLook OccasionRowLook(const ListRows &rows, qsizetype row);

// The question asked before an occasion row is deleted.
QString OccasionDeleteQuestion(const QString &rowText);

} // namespace qm
