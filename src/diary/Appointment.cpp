#include "diary/Appointment.h"

#include "foundation/Codec1252.h"
#include "foundation/Text.h"

#include <algorithm>

using namespace Qt::StringLiterals;

namespace qm {

namespace {
const QString Separator = QString(FieldSeparator);
} // namespace

AppointmentFields ReadAppointmentFields(QStringView line) {
    // Positions are 0-based here: the date fills columns 0-7, the times 9-13
    // and 15-19, the description starts at 21 and runs to the fourth
    // separator, the reminder to the fifth; the flag is the last character.
    AppointmentFields f;
    f.date = line.left(8);
    f.start = line.mid(9, 5);
    f.end = line.mid(15, 5);
    // A line with fewer separators, or with the fourth before the description
    // column, simply has no description and no reminder.
    qsizetype fourth = -1;
    qsizetype at = -1;
    for (int n = 0; n < 4; ++n) {
        at = line.indexOf(FieldSeparator, at + 1);
        if (at < 0)
            break;
    }
    fourth = at;
    if (fourth >= 21) {
        f.description = line.mid(21, fourth - 21);
        const qsizetype fifth = line.indexOf(FieldSeparator, fourth + 1);
        if (fifth > fourth)
            f.reminder = line.mid(fourth + 1, fifth - fourth - 1);
    }
    f.tentative = line.endsWith(u'Y');
    return f;
}

Appointment ReadAppointment(const QString &line) {
    const AppointmentFields f = ReadAppointmentFields(line);
    return {f.date.toString(),
            f.start.toString(),
            f.end.toString(),
            f.description.toString(),
            TextToInt(f.reminder.toString()),
            f.tentative};
}

std::pair<qsizetype, qsizetype> LinesDated(const QStringList &sorted, const QString &from,
                                           const QString &to) {
    const auto lineBefore = [](const QString &line, const QString &day) {
        return QStringView(line).left(8).compare(day, Qt::CaseInsensitive) < 0;
    };
    const auto dayBefore = [](const QString &day, const QString &line) {
        return QStringView(day).compare(QStringView(line).left(8), Qt::CaseInsensitive) < 0;
    };
    const auto first = std::lower_bound(sorted.cbegin(), sorted.cend(), from, lineBefore);
    const auto last = std::upper_bound(first, sorted.cend(), to, dayBefore);
    return {first - sorted.cbegin(), last - sorted.cbegin()};
}

QString AppointmentLine(const Appointment &appointment) {
    return appointment.date + Separator + appointment.start + Separator + appointment.end +
           Separator + appointment.description + Separator + QString::number(appointment.reminder) +
           Separator + (appointment.tentative ? u"Y"_s : u"N"_s);
}

} // namespace qm
