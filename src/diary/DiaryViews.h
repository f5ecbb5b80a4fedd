#pragma once

#include <QDate>
#include <QDateTime>
#include <QString>
#include <QStringList>

// The rows of the four appointment views, built from the sorted appointment
// lines. Pure functions of their inputs: the page asks the clock and passes
// today or now in.
namespace qm {

// RowMap entries of the rows that are not appointments.
inline const QString HeadingRowMark = QStringLiteral("H");
inline const QString SeparatorRowMark = QStringLiteral("L");

// The rows of a view and the three lists that run parallel to them.
struct DiaryRows {
    QStringList texts;
    // "H" heading, "L" separator, else the line's position in the store.
    QStringList rowMap;
    // Date and start time of an appointment row ("yyyymmddHH:MM"), else empty.
    QStringList rowKeys;
    // Date and end time of an appointment row, else empty.
    QStringList rowEndKeys;

    qsizetype size() const { return texts.size(); }
};

// What a view button lists: the sortable date range and the heading text.
struct ViewRange {
    QString from;
    QString to;
    QString heading;
};

ViewRange DailyView(const QDate &today);
// Sunday to Saturday of today's week.
ViewRange WeeklyView(const QDate &today);
ViewRange MonthlyView(const QDate &today);
ViewRange AllView();

// The rows for the lines whose date lies from `from` to `to` (sortable dates
// compared as text; an empty `from` lists every line). When the two differ the
// rows are grouped under day headings and closed by separators.
DiaryRows LoadAppointmentView(const QStringList &sorted, const QString &from, const QString &to);

// The row of the first appointment that has not ended by now; the first row
// when all have ended; -1 for an empty list.
qsizetype SelectNextAppointment(const DiaryRows &rows, const QDateTime &now);

// An appointment row's text: start - end, four spaces, the description
// (tentative ones between "?? " and " ??"), behind ten spaces when indented.
QString AppointmentRowText(const QString &line, bool indented);
// A heading row: the long date with the day name; a date that cannot be read
// is shown as it stands in the line. Headings leave no trace in "DateLog.Qmt":
// a view of a few years would write megabytes of it on every rebuild.
QString HeadingRowText(const QString &sortableDate);
inline const QString SeparatorRowText = QString(125, QLatin1Char('-'));

// Whether a RowMap entry stands for an appointment (not a heading or separator).
bool IsAppointmentRow(const QString &rowMapEntry);

// The question asked before a row is deleted.
QString DeleteQuestion(const QString &rowText);

} // namespace qm
