#include "alarms/AlarmRules.h"

#include "foundation/AlarmFile.h"
#include "foundation/Codec1252.h"
#include "foundation/Dates.h"
#include "foundation/Text.h"

using namespace Qt::StringLiterals;

namespace qm {

namespace {

QString rowReasons(int number, const AlarmRow &row) {
    const QString n = QString::number(number);
    const bool timeBlank = IsBlank(row.time);
    const bool descriptionBlank = IsBlank(row.description);
    QString reasons;
    if (!IsValidTime(row.time) && !descriptionBlank)
        reasons += u"Alarm "_s + n + u" Has An Invalid Time (Must In Be HH:MM Format)\r"_s;
    if (timeBlank && !descriptionBlank)
        reasons += u"No Time Specified For Alarm "_s + n + u"\r"_s;
    if (!timeBlank && descriptionBlank)
        reasons += u"No Description Specified For Alarm "_s + n + u"\r"_s;
    // The description is the last field of its line, so the separator may
    // stand in it; a line break or a character without a byte may not.
    QString unstorable;
    if (!descriptionBlank &&
        !CanStoreInLastField(row.description, u"Description For Alarm "_s + n, &unstorable))
        reasons += unstorable + u"\r"_s;
    return reasons;
}

} // namespace

QString AlarmPageReasons(const QList<AlarmRow> &rows) {
    QString reasons;
    for (qsizetype i = 0; i < rows.size(); ++i)
        reasons += rowReasons(int(i + 1), rows.at(i));
    return reasons;
}

QString StoredAlarmTime(const QString &time) {
    return IsValidTime(time) ? TimeToDisplay(time) : time;
}

QStringList AlarmLinesFromRows(const QList<AlarmRow> &rows) {
    QStringList lines;
    for (const AlarmRow &row : rows)
        if (!IsBlank(row.time))
            lines.append(AlarmLine(StoredAlarmTime(row.time), row.everyDay, row.description));
    return lines;
}

QList<AlarmRow> AlarmRowsFromLines(const QStringList &lines, int count) {
    QList<AlarmRow> rows(count);
    for (qsizetype i = 0; i < count && i < lines.size(); ++i) {
        const AlarmRecord record = ReadAlarmLine(lines.at(i));
        rows[i].time = record.time;
        rows[i].description = record.description;
        rows[i].everyDay = record.everyDay();
    }
    return rows;
}

QList<AlarmRow> ClearAlarmRow(QList<AlarmRow> rows, qsizetype index) {
    if (index < 0 || index >= rows.size())
        return rows;
    rows.removeAt(index);
    rows.append(AlarmRow{});
    return rows;
}

qsizetype FindAlarmRow(const QList<AlarmRow> &rows, const QString &line) {
    const AlarmRecord alarm = ReadAlarmLine(line);
    const QString time = StoredAlarmTime(alarm.time);
    for (qsizetype i = 0; i < rows.size(); ++i) {
        const AlarmRow &row = rows.at(i);
        if (!IsBlank(row.time) && StoredAlarmTime(row.time) == time &&
            row.everyDay == alarm.everyDay() && row.description == alarm.description)
            return i;
    }
    return -1;
}

bool TickClock(ClockFace &face, const QTime &now) {
    face.dots = face.dots == u":"_s ? QString() : u":"_s;
    const QString time = TimeToDisplay(now);
    const QString hours = LeftText(time, 2);
    const QString minutes = RightText(time, 2);
    bool changed = false;
    // Compared as numbers, as the captions are shown: a face that already
    // shows the time is left alone.
    if (TextToInt(hours, -1) != TextToInt(face.hours, -1)) {
        face.hours = hours;
        changed = true;
    }
    if (TextToInt(minutes, -1) != TextToInt(face.minutes, -1)) {
        face.minutes = minutes;
        changed = true;
    }
    return changed;
}

} // namespace qm
