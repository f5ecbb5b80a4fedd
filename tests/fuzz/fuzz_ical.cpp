// libFuzzer target for the calendar reader: any bytes are read as an
// iCalendar file, and the lines it gives are exported and read again.
// Crashes, hangs, sanitizer reports and a line the record files cannot hold
// are the faults.

#include "exchange/Calendar.h"
#include "foundation/Codec1252.h"

#include <QByteArray>

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    const QTimeZone london("Europe/London");
    const qm::ImportWindow window{QDate(2024, 1, 1), QDate(2025, 12, 31)};
    const qm::CalendarRead read = qm::ReadCalendar(bytes, window, london);
    for (const QStringList *lines :
         {&read.records.appointments, &read.records.tasks, &read.records.occasions})
        for (const QString &line : *lines)
            if (!qm::IsCp1252Representable(line) || line.contains(u'\r') || line.contains(u'\n'))
                __builtin_trap();
    // A repeating event may give thousands of lines; a few of each kind show
    // what the export makes of them.
    const qm::CalendarRecords some{read.records.appointments.mid(0, 50),
                                   read.records.tasks.mid(0, 50),
                                   read.records.occasions.mid(0, 50)};
    const qm::ExportResult again = qm::ExportCalendar(
        some, {}, london, QDateTime(QDate(2024, 3, 15), QTime(12, 0), QTimeZone::utc()));
    // Whatever was taken is a record the export can read.
    if (!again.notes.isEmpty())
        __builtin_trap();
    return 0;
}
