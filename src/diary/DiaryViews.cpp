#include "diary/DiaryViews.h"

#include "diary/Appointment.h"
#include "foundation/Dates.h"
#include "foundation/Text.h"

#include <algorithm>
#include <tuple>
#include <utility>

using namespace Qt::StringLiterals;

namespace qm {

namespace {

const QString HeadingStart = u"Diary - Appointments For "_s;

// The first and last day of the period holding a day.
std::pair<QDate, QDate> PeriodDays(Period period, const QDate &day) {
    switch (period) {
    case Period::Day:
        return {day, day};
    case Period::Week: {
        // Qt numbers the days Monday 1 to Sunday 7; the week here runs
        // Sunday to Saturday.
        const QDate first = day.addDays(-(day.dayOfWeek() % 7));
        return {first, first.addDays(6)};
    }
    case Period::Month:
        break;
    }
    const QDate first(day.year(), day.month(), 1);
    return {first, first.addDays(first.daysInMonth() - 1)};
}

// yyyymm + the month's last day by the diary's rule: February has 29 days in
// every fourth year, so an appointment the editor let through on 29/02/1900
// or 29/02/2100 is listed in its month.
QString MonthEnd(const QDate &first) {
    int days = DaysPerMonth[size_t(first.month() - 1)];
    if (first.month() == 2 && first.year() % 4 == 0)
        days = 29;
    return DateToSortable(first).left(6) + QString::number(days);
}

} // namespace

ViewRange PeriodView(Period period, const QDate &shown, const QDate &today) {
    const auto [first, last] = PeriodDays(period, shown);
    const bool current = SamePeriod(period, shown, today);
    switch (period) {
    case Period::Day:
        return {DateToSortable(first), DateToSortable(first),
                HeadingStart + (current ? u"Today"_s : LongDateText(first, true))};
    case Period::Week:
        return {DateToSortable(first), DateToSortable(last),
                HeadingStart + u"The Week ("_s + DateToDisplay(first) + u" To "_s +
                    DateToDisplay(last) + u')'};
    case Period::Month:
        break;
    }
    return {DateToSortable(first), MonthEnd(first),
            HeadingStart + (current ? u"This Month"_s
                                    : MonthNames[size_t(first.month() - 1)] + u' ' +
                                          QString::number(first.year()))};
}

bool SamePeriod(Period period, const QDate &a, const QDate &b) {
    return PeriodDays(period, a) == PeriodDays(period, b);
}

QDate StepPeriod(Period period, const QDate &shown, int steps) {
    QDate moved;
    switch (period) {
    case Period::Day:
        moved = shown.addDays(steps);
        break;
    case Period::Week:
        moved = shown.addDays(qint64(steps) * 7);
        break;
    case Period::Month:
        moved = QDate(shown.year(), shown.month(), 1).addMonths(steps);
        break;
    }
    return IsDiaryPeriod(period, moved) ? moved : shown;
}

bool IsDiaryPeriod(Period period, const QDate &day) {
    if (!day.isValid())
        return false;
    const auto [first, last] = PeriodDays(period, day);
    return last >= FirstDiaryDay && first <= LastDiaryDay;
}

ViewRange AllView() {
    // An empty start lists everything; the end differs from it, so the rows
    // come under day headings.
    return {QString(), u" "_s, u"Diary - All Appointments"_s};
}

namespace {

const QString Indent(10, u' ');

QString rowText(const AppointmentFields &a, bool indented) {
    QString text;
    text.reserve(10 + 5 + 3 + 5 + 4 + 3 + a.description.size() + 3);
    if (indented)
        text += Indent;
    text += a.start;
    text += u" - "_s;
    text += a.end;
    text += u"    "_s;
    if (a.tentative) {
        text += u"?? "_s;
        text += a.description;
        text += u" ??"_s;
    } else {
        text += a.description;
    }
    return text;
}

// Eight digits, as every date the views ask for is.
bool IsSortableDate(const QString &text) {
    return text.size() == 8 &&
           std::all_of(text.cbegin(), text.cend(), [](QChar c) { return c >= u'0' && c <= u'9'; });
}

QString joined(QStringView date, QStringView time) {
    QString key;
    key.reserve(date.size() + time.size());
    key += date;
    key += time;
    return key;
}

// Compares the text first + second with other, without joining them.
int compareJoined(QStringView first, QStringView second, QStringView other) {
    // A difference within the first part (or other ending inside it) decides;
    // otherwise other's rest is compared with the second part.
    const int head = first.compare(other.left(first.size()));
    if (head != 0)
        return head;
    return second.compare(other.mid(first.size()));
}

} // namespace

QString AppointmentRowText(const QString &line, bool indented) {
    return rowText(ReadAppointmentFields(line), indented);
}

QString HeadingRowText(const QString &sortableDate) {
    // A line that did not come from the editor keeps its place in the list
    // under whatever its date columns hold.
    if (sortableDate.size() != 8)
        return sortableDate;
    bool ok[3] = {};
    const QDate date(sortableDate.left(4).toInt(&ok[0]), sortableDate.mid(4, 2).toInt(&ok[1]),
                     sortableDate.mid(6, 2).toInt(&ok[2]));
    if (!ok[0] || !ok[1] || !ok[2] || !date.isValid())
        return sortableDate;
    return LongDateText(date, true);
}

QString DiaryRows::text(qsizetype row) const {
    const Row &r = m_rows[size_t(row)];
    switch (r.kind) {
    case Kind::Heading:
        return HeadingRowText(LeftText(m_lines.at(r.position), 8));
    case Kind::Separator:
        return SeparatorRowText;
    case Kind::Appointment:
        break;
    }
    return rowText(ReadAppointmentFields(m_lines.at(r.position)), m_indented);
}

QString DiaryRows::rowMap(qsizetype row) const {
    switch (kind(row)) {
    case Kind::Heading:
        return HeadingRowMark;
    case Kind::Separator:
        return SeparatorRowMark;
    case Kind::Appointment:
        break;
    }
    return QString::number(m_rows[size_t(row)].position);
}

QString DiaryRows::rowKey(qsizetype row) const {
    if (kind(row) != Kind::Appointment)
        return {};
    const AppointmentFields f = ReadAppointmentFields(m_lines.at(m_rows[size_t(row)].position));
    return joined(f.date, f.start);
}

QString DiaryRows::rowEndKey(qsizetype row) const {
    if (kind(row) != Kind::Appointment)
        return {};
    const AppointmentFields f = ReadAppointmentFields(m_lines.at(m_rows[size_t(row)].position));
    return joined(f.date, f.end);
}

qsizetype DiaryRows::position(qsizetype row) const {
    return kind(row) == Kind::Appointment ? m_rows[size_t(row)].position : -1;
}

namespace {

QStringList everyRow(const DiaryRows &rows, QString (DiaryRows::*get)(qsizetype) const) {
    QStringList list;
    list.reserve(rows.size());
    for (qsizetype row = 0; row < rows.size(); ++row)
        list.append((rows.*get)(row));
    return list;
}

} // namespace

QStringList DiaryRows::texts() const {
    return everyRow(*this, &DiaryRows::text);
}

QStringList DiaryRows::rowMaps() const {
    return everyRow(*this, &DiaryRows::rowMap);
}

QStringList DiaryRows::rowKeys() const {
    return everyRow(*this, &DiaryRows::rowKey);
}

QStringList DiaryRows::rowEndKeys() const {
    return everyRow(*this, &DiaryRows::rowEndKey);
}

DiaryRows LoadAppointmentView(const QStringList &sorted, const QString &from, const QString &to) {
    DiaryRows rows;
    rows.m_lines = sorted;
    const bool headings = from != to;
    rows.m_indented = headings;
    const bool everything = IsBlank(from);
    using Kind = DiaryRows::Kind;
    // A period's lines are found by binary search; other ranges (the empty
    // one of the All view, texts that are not dates) go through every line.
    qsizetype begin = 0;
    qsizetype end = sorted.size();
    if (!everything && IsSortableDate(from) && IsSortableDate(to))
        std::tie(begin, end) = LinesDated(sorted, from, to);
    QStringView previousDate = begin > 0 ? QStringView(sorted.at(begin - 1)).left(8) : QStringView();
    for (qsizetype n = begin; n < end; ++n) {
        const QStringView date = QStringView(sorted.at(n)).left(8);
        if (everything || (date >= from && date <= to)) {
            if (headings && date != previousDate) {
                if (!rows.m_rows.empty())
                    rows.m_rows.push_back({Kind::Separator, -1});
                rows.m_rows.push_back({Kind::Heading, n});
            }
            rows.m_rows.push_back({Kind::Appointment, n});
        }
        previousDate = date;
    }
    if (headings && !rows.m_rows.empty())
        rows.m_rows.push_back({Kind::Separator, -1});
    return rows;
}

qsizetype SelectNextAppointment(const DiaryRows &rows, const QDateTime &now) {
    if (rows.size() == 0)
        return -1;
    const QString moment = DateToSortable(now.date()) + TimeToDisplay(now.time());
    for (qsizetype row = 0; row < rows.size(); ++row) {
        if (rows.kind(row) != DiaryRows::Kind::Appointment)
            continue;
        // The end key is the date followed by the end time (both at fixed
        // columns); it qualifies when it is not earlier than the moment,
        // compared as text.
        const QStringView line = rows.m_lines.at(rows.m_rows[size_t(row)].position);
        if (compareJoined(line.left(8), line.mid(15, 5), moment) >= 0)
            return row;
    }
    return 0;
}

bool IsAppointmentRow(const QString &rowMapEntry) {
    return !rowMapEntry.isEmpty() && rowMapEntry != HeadingRowMark &&
           rowMapEntry != SeparatorRowMark;
}

QString DeleteQuestion(const QString &rowText) {
    qsizetype start = 0;
    while (start < rowText.size() && rowText.at(start) == u' ')
        ++start;
    return u"Are You Sure You Want To Delete '"_s + rowText.mid(start).mid(17) + u"'?"_s;
}

} // namespace qm
