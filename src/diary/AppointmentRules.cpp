#include "diary/AppointmentRules.h"

#include "diary/Appointment.h"
#include "foundation/Codec1252.h"
#include "foundation/Dates.h"
#include "foundation/Errors.h"
#include "foundation/Text.h"

using namespace Qt::StringLiterals;

namespace qm {

namespace {

// A valid time in its HH:MM form. The validity rules let through texts the
// conversion cannot read ('9.0:30'); those are no time at all here, as they
// are for the entry's own exit rule.
std::optional<QString> normalTime(const QString &time) {
    if (!IsValidTime(time))
        return std::nullopt;
    QString normal;
    try {
        normal = TimeToDisplay(time);
    } catch (const ConversionError &) {
        return std::nullopt;
    }
    const bool digits = normal.size() == 5 && normal.at(0).isDigit() && normal.at(1).isDigit() &&
                        normal.at(2) == TimeSep && normal.at(3).isDigit() && normal.at(4).isDigit();
    if (!digits)
        return std::nullopt;
    return normal;
}

QString clockText(int minutes) {
    return PadZeros(minutes / 60, 2) + TimeSep + PadZeros(minutes % 60, 2);
}

} // namespace

bool IsStorableDate(const QString &text) {
    if (!IsValidDate(text))
        return false;
    try {
        return DateToDisplay(text).size() == 10;
    } catch (const ConversionError &) {
        return false;
    }
}

std::optional<int> TimeOfDayMinutes(const QString &time) {
    const std::optional<QString> normal = normalTime(time);
    if (!normal)
        return std::nullopt;
    return LeftText(*normal, 2).toInt() * 60 + RightText(*normal, 2).toInt();
}

std::optional<QString> DurationFromTimes(const QString &start, const QString &end) {
    const std::optional<int> from = TimeOfDayMinutes(start);
    const std::optional<int> to = TimeOfDayMinutes(end);
    if (!from || !to || *to <= *from)
        return std::nullopt;
    return QString::number(*to - *from);
}

std::optional<int> MaxDuration(const QString &start) {
    const std::optional<int> from = TimeOfDayMinutes(start);
    if (!from)
        return std::nullopt;
    return LastMinuteOfDay - *from;
}

DurationOutcome ApplyDurationRule(const QString &start, const QString &duration) {
    const std::optional<int> from = TimeOfDayMinutes(start);
    int minutes = TextToInt(duration);
    if (!from || minutes <= 0)
        return {u"0"_s, std::nullopt};
    // The cut is worked out from the start as it is now, so an end past 23:59
    // cannot come out of a start changed since the field was entered.
    minutes = qMin(minutes, LastMinuteOfDay - *from);
    return {QString::number(minutes), clockText(*from + minutes)};
}

DurationOutcome SpinDuration(const QString &start, const QString &duration, int maxDuration,
                             int direction) {
    int minutes = TextToInt(duration);
    if (direction > 0 && minutes < maxDuration)
        minutes += SpinStepMinutes;
    else if (direction < 0 && minutes > 0)
        minutes -= SpinStepMinutes;
    return ApplyDurationRule(start, QString::number(minutes));
}

std::optional<QString> SpinRemind(const QString &remind, int direction) {
    const int minutes = TextToInt(remind);
    if (direction > 0 && minutes < MaxRemindMinutes)
        return QString::number(qMin(minutes + SpinStepMinutes, MaxRemindMinutes));
    if (direction < 0 && minutes > 0)
        return QString::number(qMax(minutes - SpinStepMinutes, 0));
    return std::nullopt;
}

QString RemindExitRule(const QString &remind) {
    const int minutes = TextToInt(remind);
    if (minutes < 1)
        return u"0"_s;
    if (minutes > MaxRemindMinutes - 1)
        return QString::number(MaxRemindMinutes);
    return remind;
}

QString AppointmentSaveReasons(const AppointmentEntries &entries) {
    using namespace AppointmentReason;
    QString reasons;
    const auto add = [&reasons](const QString &reason) { reasons += reason + u'\r'; };

    const std::optional<int> start = TimeOfDayMinutes(entries.start);
    const std::optional<int> end = TimeOfDayMinutes(entries.end);
    if (!IsStorableDate(entries.date))
        add(DateNotValid);
    if (!start)
        add(StartNotValid);
    if (!end)
        add(EndNotValid);
    if (TextToInt(entries.duration) <= 0)
        add(DurationTooShort);
    if (start && end && *end <= *start)
        add(EndNotAfterStart);
    QString cannotStore;
    if (IsBlank(entries.description))
        add(DescriptionMissing);
    else if (!CanStoreInField(entries.description, u"Description"_s, &cannotStore))
        add(cannotStore);
    if (entries.remindEnabled) {
        const int remind = TextToInt(entries.remind);
        if (remind <= 0 || remind > MaxRemindMinutes)
            add(RemindOutOfRange);
    }
    return reasons;
}

QString AppointmentLineFromEntries(const AppointmentEntries &entries) {
    Appointment appointment;
    // The exit rules have already put date and times in their normal form;
    // writing them through the same conversions keeps the fixed columns of
    // the line whatever path led here.
    appointment.date = DisplayToSortable(DateToDisplay(entries.date));
    appointment.start = normalTime(entries.start).value_or(entries.start);
    appointment.end = normalTime(entries.end).value_or(entries.end);
    appointment.description = entries.description;
    appointment.reminder = TextToInt(entries.remind);
    appointment.tentative = entries.tentative;
    return AppointmentLine(appointment);
}

} // namespace qm
