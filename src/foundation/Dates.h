#pragma once

#include <QChar>
#include <QDate>
#include <QDateTime>
#include <QString>
#include <QTime>
#include <QVariant>

#include <array>

// Date and time helpers. Dates are shown as dd/mm/yyyy with the program's date
// separator (DateSep) and stored in record lines as yyyymmdd; times are shown
// and stored as hh:mm. Every conversion between text and date in the program
// reads and writes these forms, whatever the system's own date format is.
namespace qm {

// The program's date separator, process-wide; '/' until start-up sets it from
// the system's short date format.
QChar DateSep();
void SetDateSep(QChar separator);

// The time separator is fixed.
inline constexpr QChar TimeSep{u':'};

// English names, independent of the system's language.
inline const std::array<QString, 12> MonthNames = {
    QStringLiteral("January"), QStringLiteral("February"), QStringLiteral("March"),
    QStringLiteral("April"),   QStringLiteral("May"),      QStringLiteral("June"),
    QStringLiteral("July"),    QStringLiteral("August"),   QStringLiteral("September"),
    QStringLiteral("October"), QStringLiteral("November"), QStringLiteral("December")};
// Sunday first.
inline const std::array<QString, 7> DayNames = {
    QStringLiteral("Sunday"),    QStringLiteral("Monday"),   QStringLiteral("Tuesday"),
    QStringLiteral("Wednesday"), QStringLiteral("Thursday"), QStringLiteral("Friday"),
    QStringLiteral("Saturday")};
// January to December; February has 29 days in the years IsValidDate counts
// as leap years.
inline constexpr std::array<int, 12> DaysPerMonth = {31, 28, 31, 30, 31, 30,
                                                     31, 31, 30, 31, 30, 31};

// Text to date and time conversions. A date text is day, month and year
// separated by DateSep (blanks around the numbers allowed), optionally followed
// by a time; a year below 1851 is completed by adding 1900, as IsValidDate
// counts it ('99' is 1999). A time is h, h:m or h:m:s, each part one or two
// digits, blanks allowed around them (the rule of IsValidTime, which wants no
// seconds). Anything else, or a date the calendar does not have (29/02/1900),
// raises ConversionError.
// TextToDateTime gives a local date and time.
QDateTime TextToDateTime(const QString &text);
QDate TextToDate(const QString &text);
QTime TextToTime(const QString &text);

// yyyymmdd of a date; a text is converted first, an empty text gives the empty
// text. An invalid date gives the empty text.
QString DateToSortable(const QDate &date);
QString DateToSortable(const QString &displayText);
// By fixed positions, separators not examined: '16/03/2000' -> '20000316'.
QString DisplayToSortable(const QString &displayText);
// '20000316' -> '16/03/2000' with DateSep; an empty text gives the empty text.
QString SortableToDisplay(const QString &sortable);
// dd/mm/yyyy with DateSep. A text is converted first (ConversionError when it
// is not a date, the empty text included).
QString DateToDisplay(const QDate &date);
QString DateToDisplay(const QString &dateText);

// hh:mm with TimeSep. A null value gives the empty text. A text of exactly five
// characters with TimeSep third is taken over unchanged; a valid time
// (IsValidTime) or another text of up to 8 characters is read as a time, any
// longer one as a date and time. A result shorter than five characters (only the empty text's) gets
// a '0' in front: '9:5' -> '09:05', '' -> '0'.
QString TimeToDisplay(const QTime &time);
QString TimeToDisplay(const QDateTime &dateTime);
QString TimeToDisplay(const QString &text);
QString TimeToDisplay(const QVariant &value);

// The English day name of a date.
QString DayName(const QDate &date);
QString DayName(const QString &dateText);

// The date in words, '16th March 2000', with the day name in front when asked
// ('Thursday 16th March 2000'). Every call appends its trace to "DateLog.Qmt"
// in the data folder, when that can be written.
QString LongDateText(const QString &dateText, bool withDayName);
// The words alone, for a valid date, with no trace.
QString LongDateText(const QDate &date, bool withDayName);

// Whether a typed date passes the program's date rules: 5 to 10 characters,
// day, month and year separated by DateSep, a year below 1851 taken as 19xx,
// years 1899 to 2199, and every fourth year a leap year (so 29/02/1900 and
// 29/02/2100 pass although the calendar has no such days).
bool IsValidDate(const QString &text);
// Hours 0 to 23 and minutes 0 to 59, each one or two decimal digits with
// blanks (a no-break space among them) allowed around them; a text without
// ':' is hours alone ('9' and '07:30 ' are valid; '12:', ':30', '+7:30',
// '7.0:30' and '1e1:00' are not). Every text it accepts converts: TextToTime
// and TimeToDisplay read it.
bool IsValidTime(const QString &text);

// Waits until n hundred-thousandths of a day (n * 864 ms) have passed on the
// elapsed-time clock, so a wait across midnight ends on time. The event loop
// keeps running meanwhile (a splash screen paints) and the wait uses no CPU.
void Delay(int n);

} // namespace qm
