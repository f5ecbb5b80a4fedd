// libFuzzer target for everything that reads "Alarm.Qmt" and the diary at a
// reminder check and on the alarm page: any bytes become alarm lines and
// appointment lines. Crashes, exceptions, hangs and an alarm that goes off at
// a time its line does not hold are the faults.

#include "alarms/HostileAlarms.h"
#include "foundation/Codec1252.h"

#include <QByteArray>
#include <QStringList>

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    if (size == 0)
        return 0;
    // The first byte says how many of the lines are alarms; the rest are
    // appointments.
    const QByteArray bytes =
        QByteArray::fromRawData(reinterpret_cast<const char *>(data) + 1, qsizetype(size - 1));
    const QStringList lines = qm::DecodeCp1252(bytes).split(u'\n');
    const qsizetype alarms = qMin(qsizetype(data[0] % 8), lines.size());
    if (!qm::test::ExerciseAlarmsAndReminders(lines.mid(0, alarms), lines.mid(alarms)).isEmpty())
        __builtin_trap();
    return 0;
}
