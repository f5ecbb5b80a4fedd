#include "diary/DatePickerRules.h"

#include "foundation/Dates.h"
#include "foundation/Errors.h"
#include "foundation/Text.h"

namespace qm {

namespace {

constexpr int MinuteStep = 5;
constexpr int LastMinuteItem = 55;

bool inCalendarRange(const PickerMonth &month) {
    return month.year >= EarliestCalendarYear && month.year <= LatestCalendarYear;
}

// A whole number written in text, or -1 when it is not one.
int wholeNumber(const QString &text) {
    return TextToInt(text, -1);
}

} // namespace

PickerMonth PreviousMonth(PickerMonth from) {
    const PickerMonth to =
        from.month <= 1 ? PickerMonth{12, from.year - 1} : PickerMonth{from.month - 1, from.year};
    return inCalendarRange(to) ? to : from;
}

PickerMonth NextMonth(PickerMonth from) {
    const PickerMonth to =
        from.month >= 12 ? PickerMonth{1, from.year + 1} : PickerMonth{from.month + 1, from.year};
    return inCalendarRange(to) ? to : from;
}

int PreviousPickerYear(int year) {
    return year > FirstPickerYear ? year - 1 : year;
}

int NextPickerYear(int year) {
    return year < LastPickerYear ? year + 1 : year;
}

QDate MonthClickDate(PickerMonth chosen, const QDate &today) {
    if (chosen.month == today.month() && chosen.year == today.year())
        return today;
    return QDate(chosen.year, chosen.month, 1);
}

QDate PickerStartDate(const QString &fieldText, const QDate &today) {
    if (!IsValidDate(fieldText))
        return today;
    // IsValidDate lets through days the calendar does not have (every fourth
    // year is a leap year to it, 29/02/1900 included); those open on today.
    try {
        const QDate date = TextToDate(fieldText);
        return date.isValid() ? date : today;
    } catch (const ConversionError &) {
        return today;
    }
}

PickerMonth MonthOf(const QDate &date) {
    return {date.month(), date.year()};
}

QStringList HourItems() {
    QStringList items;
    for (int hour = 0; hour < 24; ++hour)
        items.append(PadZeros(hour, 2));
    return items;
}

QStringList MinuteItems() {
    QStringList items;
    for (int minute = 0; minute <= LastMinuteItem; minute += MinuteStep)
        items.append(PadZeros(minute, 2));
    return items;
}

TimeListChoice ChooseTimeListItems(const QString &fieldText) {
    TimeListChoice choice{DefaultHourItem, DefaultMinuteItem, true};
    if (IsBlank(fieldText))
        return choice;

    const int hour = wholeNumber(LeftText(fieldText, 2));
    if (hour >= 0 && hour <= 23) {
        choice.hour = PadZeros(hour, 2);
        choice.hourAtTop = false;
    }

    const int minute = wholeNumber(RightText(fieldText, 2));
    if (minute >= 0 && minute <= 59) {
        const int nearest = (minute + MinuteStep / 2) / MinuteStep * MinuteStep;
        choice.minute = PadZeros(qMin(nearest, LastMinuteItem), 2);
    }
    return choice;
}

QString PickedTime(const QString &hourItem, const QString &minuteItem) {
    return hourItem + TimeSep + minuteItem;
}

} // namespace qm
