#pragma once

#include <QDate>
#include <QString>
#include <QStringList>

// The rules behind the date and time pickers: which month and year the date
// picker moves to, which day it shows for a month, and which list items the
// time picker starts on. The forms only show what these decide.
namespace qm {

// The year buttons stop at these years. Stepping month by month is not held
// to them.
inline constexpr int FirstPickerYear = 1800;
inline constexpr int LastPickerYear = 3000;

// The calendar can show every month of these years; a month step that would
// leave them is refused, so the year box and the calendar always agree.
inline constexpr int EarliestCalendarYear = 100;
inline constexpr int LatestCalendarYear = 9999;

struct PickerMonth {
    int month = 1; // 1 to 12
    int year = 2000;
    friend bool operator==(const PickerMonth &, const PickerMonth &) = default;
};

// One month back or on; January goes back to December of the year before
// and December on to January of the next. At the ends of the calendar's
// range the month stays where it is.
PickerMonth PreviousMonth(PickerMonth from);
PickerMonth NextMonth(PickerMonth from);

// One year back (only while above FirstPickerYear) or on (only while below
// LastPickerYear); otherwise the year is unchanged.
int PreviousPickerYear(int year);
int NextPickerYear(int year);

// The day the calendar shows when a month is chosen: the first of the month,
// or today when the month is today's month.
QDate MonthClickDate(PickerMonth chosen, const QDate &today);

// The day the date picker opens on: the date in the field when it is a valid
// date (one IsValidDate accepts and the calendar has), otherwise today.
QDate PickerStartDate(const QString &fieldText, const QDate &today);

// The month of a date.
PickerMonth MonthOf(const QDate &date);

// The items of the time picker's lists: "00" to "23", and "00" to "55" in
// steps of five.
QStringList HourItems();
QStringList MinuteItems();

// The hour an empty or unreadable field starts on; it is scrolled to the top
// of the hour list.
inline const QString DefaultHourItem = QStringLiteral("08");
inline const QString DefaultMinuteItem = QStringLiteral("00");

// The list items the time picker starts on for a field's text (hh:mm).
// The hour is the field's first two characters: a whole number 0 to 23 gives
// its item; anything else, a blank field included, gives "08" at the top of
// the list. The minute is the field's last two characters: a whole number 0
// to 59 gives the nearest item (a value between two items goes to the one
// less than 3 minutes away, and never past "55": 32 -> "30", 33 -> "35", 58
// -> "55"); anything else gives "00".
struct TimeListChoice {
    QString hour;
    QString minute;
    bool hourAtTop = false; // the hour is the fall-back, shown as the top row
};
TimeListChoice ChooseTimeListItems(const QString &fieldText);

// hour + ":" + minute, the time the picker shows and writes.
QString PickedTime(const QString &hourItem, const QString &minuteItem);

} // namespace qm
