#include "foundation/Dates.h"

#include "foundation/DateLog.h"
#include "foundation/Errors.h"
#include "foundation/Text.h"
#include "platform/Clock.h"
#include "platform/Services.h"

#include <QEventLoop>
#include <QStringList>
#include <QTimer>

#include <chrono>
#include <optional>
#include <utility>

namespace qm {

using namespace Qt::StringLiterals;

namespace {

QChar g_dateSep = u'/';

// Blanks as the program's 8-bit texts know them: spaces and control characters.
bool isBlankChar(QChar ch) {
    return ch.unicode() <= u' ';
}

QString trimBlanks(const QString &text) {
    qsizetype first = 0;
    qsizetype last = text.size();
    while (first < last && isBlankChar(text.at(first)))
        ++first;
    while (last > first && isBlankChar(text.at(last - 1)))
        --last;
    return text.mid(first, last - first);
}

// Reads a date or time text from left to right. Blanks are allowed before
// every number and separator.
class Scanner {
public:
    explicit Scanner(const QString &text) : m_text(text) {}

    bool atEnd() {
        skipBlanks();
        return m_pos >= m_text.size();
    }

    // An unsigned decimal number of 1 to maxDigits digits.
    std::optional<int> number(int maxDigits = 4) {
        skipBlanks();
        int value = 0;
        int digits = 0;
        while (m_pos < m_text.size() && m_text.at(m_pos) >= u'0' && m_text.at(m_pos) <= u'9') {
            if (++digits > maxDigits)
                return std::nullopt;
            value = value * 10 + (m_text.at(m_pos).unicode() - u'0');
            ++m_pos;
        }
        if (digits == 0)
            return std::nullopt;
        return value;
    }

    bool take(QChar separator) {
        // A blank separator (a system date format such as "d MMM yyyy") is
        // the run of blanks itself.
        if (isBlankChar(separator)) {
            const qsizetype start = m_pos;
            skipBlanks();
            return m_pos > start;
        }
        skipBlanks();
        if (m_pos < m_text.size() && m_text.at(m_pos) == separator) {
            ++m_pos;
            return true;
        }
        return false;
    }

private:
    void skipBlanks() {
        while (m_pos < m_text.size() && isBlankChar(m_text.at(m_pos)))
            ++m_pos;
    }

    const QString &m_text;
    qsizetype m_pos = 0;
};

// A year below 1851 is completed as IsValidDate counts it.
int completeYear(int year) {
    return year <= 1850 ? year + 1900 : year;
}

std::optional<QDate> scanDate(Scanner &scanner) {
    const QChar sep = DateSep();
    const std::optional<int> day = scanner.number();
    if (!day || !scanner.take(sep))
        return std::nullopt;
    const std::optional<int> month = scanner.number();
    if (!month || !scanner.take(sep))
        return std::nullopt;
    const std::optional<int> year = scanner.number();
    if (!year)
        return std::nullopt;
    const QDate date(completeYear(*year), *month, *day);
    if (!date.isValid())
        return std::nullopt;
    return date;
}

// The one rule for a time of day, shared by IsValidTime and every conversion,
// so that whatever passes the check converts: hours, then optionally ':' and
// minutes (and, where a conversion allows them, ':' and seconds), each one or
// two decimal digits, blanks allowed around them. Signs, decimal points,
// exponents and other spaces are no part of a time.
std::optional<QTime> scanTime(Scanner &scanner, bool withSeconds) {
    const std::optional<int> hours = scanner.number(2);
    if (!hours)
        return std::nullopt;
    int minutes = 0;
    int seconds = 0;
    if (scanner.take(TimeSep)) {
        const std::optional<int> m = scanner.number(2);
        if (!m)
            return std::nullopt;
        minutes = *m;
        if (withSeconds && scanner.take(TimeSep)) {
            const std::optional<int> s = scanner.number(2);
            if (!s)
                return std::nullopt;
            seconds = *s;
        }
    }
    if (*hours > 23 || minutes > 59 || seconds > 59)
        return std::nullopt;
    return QTime(*hours, minutes, seconds);
}

// A whole text as a time of day by the rule above; nothing when it is not one.
// A no-break space (0xA0), which looks like a blank wherever a time is shown,
// counts as one.
std::optional<QTime> readTime(QString text, bool withSeconds) {
    text.replace(QChar(0x00A0), u' ');
    Scanner scanner(text);
    const std::optional<QTime> time = scanTime(scanner, withSeconds);
    if (!time || !scanner.atEnd())
        return std::nullopt;
    return time;
}

[[noreturn]] void notADate(const QString &text) {
    throw ConversionError(u"'"_s + text + u"' Is Not A Valid Date"_s);
}

[[noreturn]] void notATime(const QString &text) {
    throw ConversionError(u"'"_s + text + u"' Is Not A Valid Time"_s);
}

QString ordinalSuffix(int day) {
    switch (day) {
    case 1:
    case 21:
    case 31:
        return u"st"_s;
    case 2:
    case 22:
        return u"nd"_s;
    case 3:
    case 23:
        return u"rd"_s;
    default:
        return u"th"_s;
    }
}

} // namespace

QChar DateSep() {
    return g_dateSep;
}
void SetDateSep(QChar separator) {
    g_dateSep = separator;
}

namespace {
// The date and the wall-clock time of a date text, kept apart so that no time
// zone (a clock change at midnight) can touch the day.
std::pair<QDate, QTime> scanDateTime(const QString &text) {
    Scanner scanner(text);
    const std::optional<QDate> date = scanDate(scanner);
    if (!date)
        notADate(text);
    if (scanner.atEnd())
        return {*date, QTime(0, 0)};
    const std::optional<QTime> time = scanTime(scanner, true);
    if (!time || !scanner.atEnd())
        notADate(text);
    return {*date, *time};
}
} // namespace

QDateTime TextToDateTime(const QString &text) {
    const auto [date, time] = scanDateTime(text);
    return QDateTime(date, time);
}

QDate TextToDate(const QString &text) {
    return scanDateTime(text).first;
}

QTime TextToTime(const QString &text) {
    const std::optional<QTime> time = readTime(text, true);
    if (!time)
        notATime(text);
    return *time;
}

QString DateToSortable(const QDate &date) {
    if (!date.isValid())
        return {};
    return PadZeros(date.year(), 4) + PadZeros(date.month(), 2) + PadZeros(date.day(), 2);
}

QString DateToSortable(const QString &displayText) {
    if (displayText.isEmpty())
        return {};
    return DateToSortable(TextToDate(displayText));
}

QString DisplayToSortable(const QString &displayText) {
    return MidText(displayText, 7, 4) + MidText(displayText, 4, 2) + LeftText(displayText, 2);
}

QString SortableToDisplay(const QString &sortable) {
    if (sortable.isEmpty())
        return {};
    return MidText(sortable, 7, 2) + DateSep() + MidText(sortable, 5, 2) + DateSep() +
           LeftText(sortable, 4);
}

QString DateToDisplay(const QDate &date) {
    if (!date.isValid())
        throw ConversionError(u"The Date Is Not Valid"_s);
    return PadZeros(date.day(), 2) + DateSep() + PadZeros(date.month(), 2) + DateSep() +
           PadZeros(date.year(), 4);
}

QString DateToDisplay(const QString &dateText) {
    return DateToDisplay(TextToDate(dateText));
}

QString TimeToDisplay(const QTime &time) {
    if (!time.isValid())
        return {};
    return PadZeros(time.hour(), 2) + TimeSep + PadZeros(time.minute(), 2);
}

QString TimeToDisplay(const QDateTime &dateTime) {
    if (!dateTime.isValid())
        return {};
    return TimeToDisplay(dateTime.time());
}

namespace {
// "hh:mm" already: taken over unchanged. A five-character text with blanks in
// it (" 9:30" from a padded entry) is converted instead, so a stored time is
// always two digits, the separator and two digits.
bool isNormalTime(const QString &text) {
    return text.size() == 5 && text.at(2) == TimeSep && text.at(0).isDigit() &&
           text.at(1).isDigit() && text.at(3).isDigit() && text.at(4).isDigit();
}
} // namespace

QString TimeToDisplay(const QString &text) {
    QString result;
    if (text.isEmpty())
        result = QString();
    else if (isNormalTime(text))
        result = text;
    else if (IsValidTime(text)) // however long its blanks make it
        result = TimeToDisplay(TextToTime(text));
    else if (text.size() < 9)
        result = TimeToDisplay(TextToTime(text));
    else
        result = TimeToDisplay(scanDateTime(text).second);
    if (result.size() < 5)
        result.prepend(u'0');
    return result;
}

QString TimeToDisplay(const QVariant &value) {
    if (!value.isValid() || value.isNull())
        return {};
    switch (value.typeId()) {
    case QMetaType::QTime:
        return TimeToDisplay(value.toTime());
    case QMetaType::QDateTime:
        return TimeToDisplay(value.toDateTime());
    case QMetaType::QDate: // a date alone is the start of its day
        return TimeToDisplay(QTime(0, 0));
    default:
        return TimeToDisplay(value.toString());
    }
}

QString DayName(const QDate &date) {
    if (!date.isValid())
        throw ConversionError(u"The Date Is Not Valid"_s);
    return DayNames[date.dayOfWeek() % 7];
}

QString DayName(const QString &dateText) {
    return DayName(TextToDate(dateText));
}

QString LongDateText(const QDate &date, bool withDayName) {
    QString text = QString::number(date.day()) + ordinalSuffix(date.day()) + u' ' +
                   MonthNames[date.month() - 1] + u' ' + QString::number(date.year());
    if (withDayName)
        text = DayName(date) + u' ' + text;
    return text;
}

QString LongDateText(const QString &dateText, bool withDayName) {
    QStringList trace{u"Before Format :"_s + dateText};
    QDate date;
    try {
        date = TextToDate(dateText);
    } catch (const ConversionError &) {
        // The trace shows what was asked for even when it could not be shown.
        AppendDateLog(trace);
        throw;
    }
    trace << u"After Format :"_s + DateToDisplay(date) << u"Day :"_s + QString::number(date.day())
          << u"Month :"_s + QString::number(date.month())
          << u"Year :"_s + QString::number(date.year());
    AppendDateLog(trace);
    return LongDateText(date, withDayName);
}

bool IsValidDate(const QString &text) {
    if (text.size() < 5 || text.size() > 10)
        return false;
    const QChar sep = DateSep();
    const qsizetype first = text.indexOf(sep);
    if (first < 0)
        return false;
    const int day = TextToInt(text.left(first));
    const QString rest = trimBlanks(text.mid(first + 1));
    const qsizetype second = rest.indexOf(sep);
    if (second < 0)
        return false;
    const int month = TextToInt(rest.left(second));
    const QString yearText = trimBlanks(rest.mid(second + 1));
    int year = TextToInt(yearText);
    if (year == 0 && yearText != u"0"_s && yearText != u"00"_s)
        return false;
    if (day <= 0 || month <= 0 || year < 0)
        return false;
    year = completeYear(year);
    if (month > 12 || year < 1899 || year > 2199)
        return false;
    int days = DaysPerMonth[month - 1];
    if (month == 2 && year % 4 == 0)
        days = 29;
    return day <= days;
}

bool IsValidTime(const QString &text) {
    return readTime(text, false).has_value();
}

void Delay(int n) {
    if (n <= 0)
        return;
    Clock &elapsed = clock();
    const qint64 end = elapsed.elapsedMs() + qint64(n) * 864;
    // Sleep in the event loop until the remaining time has passed, looking at
    // the clock again whenever anything wakes the loop: the splash screen
    // paints meanwhile and no CPU is spent.
    QTimer wake;
    wake.setSingleShot(true);
    wake.setTimerType(Qt::PreciseTimer);
    QEventLoop loop;
    for (qint64 remaining = end - elapsed.elapsedMs(); remaining > 0;
         remaining = end - elapsed.elapsedMs()) {
        wake.start(std::chrono::milliseconds(qMin<qint64>(remaining, 60'000)));
        loop.processEvents(QEventLoop::WaitForMoreEvents);
    }
}

} // namespace qm
