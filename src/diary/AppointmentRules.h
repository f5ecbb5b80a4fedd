#pragma once

#include <QString>

#include <optional>

// The rules of the appointment editor, apart from its controls: how the
// duration, the end time and the reminder minutes follow each other, and why
// an appointment cannot be saved. The editor copies its field texts in and
// shows what comes back.
namespace qm {

namespace AppointmentReason {
inline const QString DateNotValid = QStringLiteral("Date Is Not Valid");
inline const QString StartNotValid =
    QStringLiteral("Start Time Is Not Valid (Must Be In Format HH:MM)");
inline const QString EndNotValid =
    QStringLiteral("End Time Is Not Valid (Must Be In Format HH:MM)");
inline const QString DurationTooShort = QStringLiteral("Duration Must Be At Least 1 Minute");
inline const QString EndNotAfterStart = QStringLiteral("Ending Time Must Be After Starting Time");
inline const QString DescriptionMissing = QStringLiteral("Description Must Be Specified");
inline const QString RemindOutOfRange =
    QStringLiteral("Remind Time Must Be At Between 1 And 60 Minutes");
} // namespace AppointmentReason

// The last minute of the day (23:59): an appointment never ends later.
inline constexpr int LastMinuteOfDay = 23 * 60 + 59;
// The spin buttons move the duration and the reminder by this many minutes.
inline constexpr int SpinStepMinutes = 5;
// The longest reminder lead time.
inline constexpr int MaxRemindMinutes = 60;

// A date entry that can go into a line: it passes IsValidDate and is a day
// the calendar has (29/02/1900 passes the first test but not the second).
bool IsStorableDate(const QString &text);
// Minutes after midnight of a time entry that passes IsValidTime and can be
// written as HH:MM; nullopt for anything else.
std::optional<int> TimeOfDayMinutes(const QString &time);

// The duration in minutes between two valid times, the end later than the
// start, as decimal text; nullopt (the duration stays as it is) otherwise.
std::optional<QString> DurationFromTimes(const QString &start, const QString &end);

// The longest duration that keeps an appointment starting at start inside its
// day; nullopt when start is not a valid time.
std::optional<int> MaxDuration(const QString &start);

// What leaving the duration field does to the duration and the end time.
struct DurationOutcome {
    QString duration;
    std::optional<QString> end; // HH:MM, or nullopt when the end stays as it is
};
// The duration rule: "0" when the start is not a valid time or the duration
// (text that is not a number counting as 0) is not above 0; otherwise the
// duration, cut to MaxDuration(start), and the end it gives.
DurationOutcome ApplyDurationRule(const QString &start, const QString &duration);

// One press of the duration spin button, up (direction > 0) or down: the
// duration text's value is raised by a step while below maxDuration, lowered
// by a step while above 0; then the duration rule.
DurationOutcome SpinDuration(const QString &start, const QString &duration, int maxDuration,
                             int direction);

// One press of the reminder spin button: a step up while below 60 (at most
// 60), a step down while above 0 (at least 0); nullopt when the press changes
// nothing.
std::optional<QString> SpinRemind(const QString &remind, int direction);

// Leaving the reminder field: below 1 becomes "0", above 59 becomes "60",
// anything else stays as typed.
QString RemindExitRule(const QString &remind);

// The editor's fields as the user left them.
struct AppointmentEntries {
    QString date; // as the date entry shows it, dd/mm/yyyy once the exit rule ran
    QString start;
    QString end;
    QString duration;
    QString description;
    QString remind;
    bool remindEnabled = false;
    bool tentative = false;
};

// Why the entries cannot be saved: each failed rule's sentence followed by
// "\r", in the fixed order the editor shows them; empty when they can.
QString AppointmentSaveReasons(const AppointmentEntries &entries);

// The appointment line for entries that passed AppointmentSaveReasons.
QString AppointmentLineFromEntries(const AppointmentEntries &entries);

} // namespace qm
