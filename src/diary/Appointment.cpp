#include "diary/Appointment.h"

#include "foundation/Codec1252.h"
#include "foundation/Text.h"

using namespace Qt::StringLiterals;

namespace qm {

namespace {
const QString Separator = QString(FieldSeparator);
}

Appointment ReadAppointment(const QString &line) {
    Appointment a;
    a.date = LeftText(line, 8);
    a.start = MidText(line, 10, 5);
    a.end = MidText(line, 16, 5);
    // FindNth wraps round on a line with fewer separators, which can give a
    // position before the description; such a line simply has none, nor a
    // reminder.
    const qsizetype p4 = FindNth(4, line, Separator);
    const qsizetype p5 = FindNth(5, line, Separator);
    if (p4 >= 22) {
        a.description = MidText(line, 22, p4 - 22);
        if (p5 > p4)
            a.reminder = TextToInt(MidText(line, p4 + 1, p5 - p4 - 1));
    }
    a.tentative = RightText(line, 1) == u"Y"_s;
    return a;
}

QString AppointmentLine(const Appointment &appointment) {
    return appointment.date + Separator + appointment.start + Separator + appointment.end +
           Separator + appointment.description + Separator + QString::number(appointment.reminder) +
           Separator + (appointment.tentative ? u"Y"_s : u"N"_s);
}

} // namespace qm
