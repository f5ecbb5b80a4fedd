#pragma once

#include <QDate>
#include <QDateTime>
#include <QString>
#include <QStringList>

#include <vector>

// The rows of the four appointment views, built from the sorted appointment
// lines. Pure functions of their inputs: the page asks the clock and passes
// today or now in.
namespace qm {

// RowMap entries of the rows that are not appointments.
inline const QString HeadingRowMark = QStringLiteral("H");
inline const QString SeparatorRowMark = QStringLiteral("L");
inline const QString SeparatorRowText = QString(125, QLatin1Char('-'));

// The rows of a view and the three lists that run parallel to them (RowMap,
// RowKeys, RowEndKeys). A view of years of appointments has tens of thousands
// of rows, of which a screenful is ever drawn, so a row is kept as its kind
// and its line's position, and its texts are made when asked for. The rows
// keep their own (shared, copy-on-write) copy of the lines they were built
// from, so they stay consistent whatever happens to the store afterwards.
class DiaryRows {
public:
    enum class Kind : quint8 { Appointment, Heading, Separator };

    qsizetype size() const { return qsizetype(m_rows.size()); }
    Kind kind(qsizetype row) const { return m_rows[size_t(row)].kind; }

    // The row's text as the list shows it.
    QString text(qsizetype row) const;
    // "H" for a heading, "L" for a separator, else the position of the row's
    // line in the store.
    QString rowMap(qsizetype row) const;
    // Date and start time ("yyyymmddHH:MM") of an appointment row, else empty.
    QString rowKey(qsizetype row) const;
    // Date and end time of an appointment row, else empty.
    QString rowEndKey(qsizetype row) const;
    // The store position of an appointment row's line, -1 for other rows.
    qsizetype position(qsizetype row) const;

    // Whole lists, for printing and for tests.
    QStringList texts() const;
    QStringList rowMaps() const;
    QStringList rowKeys() const;
    QStringList rowEndKeys() const;

private:
    friend DiaryRows LoadAppointmentView(const QStringList &, const QString &, const QString &);
    friend qsizetype SelectNextAppointment(const DiaryRows &, const QDateTime &);

    struct Row {
        Kind kind;
        qsizetype position; // the line of the appointment, or of the day a heading heads
    };
    QStringList m_lines;
    std::vector<Row> m_rows;
    bool m_indented = false;
};

// What a view button lists: the sortable date range and the heading text.
struct ViewRange {
    QString from;
    QString to;
    QString heading;
};

// The views that show one period and can move through time.
enum class Period { Day, Week, Month };

// The period holding `shown` (a day; Sunday to Saturday; a calendar month,
// whose February has 29 days in every year the diary's date rules count as a
// leap year, as they let 29/02/2100 be entered). The period holding `today`
// keeps its fixed heading ("... For Today", "... For This Month"); another
// one is named the same way: its long date, its first and last day, its
// month and year.
ViewRange PeriodView(Period period, const QDate &shown, const QDate &today);
// Whether two days lie in the same period.
bool SamePeriod(Period period, const QDate &a, const QDate &b);
// The days an appointment can be dated, by the diary's date rules.
inline const QDate FirstDiaryDay{1899, 1, 1};
inline const QDate LastDiaryDay{2199, 12, 31};
// Whether the period holding `day` has a day from FirstDiaryDay to
// LastDiaryDay, and so can be shown.
bool IsDiaryPeriod(Period period, const QDate &day);
// A day of the period `steps` periods after (or, negative, before) the one
// holding `shown`: the same day moved by days or weeks, the first of the
// month for months. A period that cannot be shown is not moved to: `shown`
// comes back unchanged.
QDate StepPeriod(Period period, const QDate &shown, int steps);

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
// A heading row: the long date with the day name. A date that cannot be read
// is shown as it stands in the line. Headings leave no trace in "DateLog.Qmt":
// a view of a few years would write megabytes of it on every rebuild.
QString HeadingRowText(const QString &sortableDate);

// Whether a RowMap entry stands for an appointment (not a heading or separator).
bool IsAppointmentRow(const QString &rowMapEntry);

// The question asked before a row is deleted.
QString DeleteQuestion(const QString &rowText);

} // namespace qm
