#include "diary/DiaryViews.h"

#include "diary/Appointment.h"
#include "foundation/Dates.h"
#include "foundation/Errors.h"
#include "foundation/Text.h"

using namespace Qt::StringLiterals;

namespace qm {

ViewRange DailyView(const QDate &today) {
    const QString day = DateToSortable(today);
    return {day, day, u"Diary - Appointments For Today"_s};
}

ViewRange WeeklyView(const QDate &today) {
    // Qt numbers the days Monday 1 to Sunday 7; the week here runs Sunday to
    // Saturday.
    const int sinceSunday = today.dayOfWeek() % 7;
    const QDate first = today.addDays(-sinceSunday);
    const QDate last = first.addDays(6);
    return {DateToSortable(first), DateToSortable(last),
            u"Diary - Appointments For The Week ("_s + DateToDisplay(first) + u" To "_s +
                DateToDisplay(last) + u')'};
}

ViewRange MonthlyView(const QDate &today) {
    const QDate first(today.year(), today.month(), 1);
    return {DateToSortable(first), DateToSortable(first.addDays(first.daysInMonth() - 1)),
            u"Diary - Appointments For This Month"_s};
}

ViewRange AllView() {
    // An empty start lists everything; the end differs from it, so the rows
    // come under day headings.
    return {QString(), u" "_s, u"Diary - All Appointments"_s};
}

QString AppointmentRowText(const QString &line, bool indented) {
    const Appointment a = ReadAppointment(line);
    QString text = indented ? QString(10, u' ') : QString();
    text += a.start + u" - "_s + a.end + u"    "_s;
    if (a.tentative)
        text += u"?? "_s + a.description + u" ??"_s;
    else
        text += a.description;
    return text;
}

QString HeadingRowText(const QString &sortableDate) {
    try {
        QStringList trace;
        return LongDateText(SortableToDisplay(sortableDate), true, trace);
    } catch (const ConversionError &) {
        // A line that did not come from the editor keeps its place in the
        // list under whatever its date columns hold.
        return sortableDate;
    }
}

DiaryRows LoadAppointmentView(const QStringList &sorted, const QString &from, const QString &to) {
    DiaryRows rows;
    const bool headings = from != to;
    const bool everything = IsBlank(from);
    QString previousDate;
    auto append = [&rows](const QString &text, const QString &map, const QString &key = {},
                          const QString &endKey = {}) {
        rows.texts << text;
        rows.rowMap << map;
        rows.rowKeys << key;
        rows.rowEndKeys << endKey;
    };
    for (qsizetype n = 0; n < sorted.size(); ++n) {
        const QString &line = sorted.at(n);
        const QString date = LeftText(line, 8);
        if (everything || (date >= from && date <= to)) {
            if (headings && date != previousDate) {
                if (rows.size() > 0)
                    append(SeparatorRowText, SeparatorRowMark);
                append(HeadingRowText(date), HeadingRowMark);
            }
            append(AppointmentRowText(line, headings), QString::number(n),
                   date + MidText(line, 10, 5), date + MidText(line, 16, 5));
        }
        previousDate = date;
    }
    if (headings && rows.size() > 0)
        append(SeparatorRowText, SeparatorRowMark);
    return rows;
}

qsizetype SelectNextAppointment(const DiaryRows &rows, const QDateTime &now) {
    if (rows.size() == 0)
        return -1;
    const QString moment = DateToSortable(now.date()) + TimeToDisplay(now.time());
    for (qsizetype row = 0; row < rows.size(); ++row) {
        const QString &endKey = rows.rowEndKeys.at(row);
        if (!endKey.isEmpty() && endKey >= moment)
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
