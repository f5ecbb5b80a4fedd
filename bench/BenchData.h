#pragma once

// Record lines for the benchmarks that fill the pages: the same tasks,
// occasions and contacts wherever they are measured.

#include "BenchSupport.h"
#include "foundation/AddressFile.h"
#include "foundation/SortedLines.h"
#include "tasks/Occasions.h"

#include <QDate>
#include <QStringList>

namespace bench {

// Tasks over three years, one in three completed, one in five high priority.
inline QStringList taskLines(int count) {
    QStringList lines;
    const QDate first(2024, 1, 1);
    for (int i = 0; i < count; ++i) {
        const QString date = i % 4 ? first.addDays(i / 5).toString(u"yyyyMMdd"_s) : u"        "_s;
        lines.append(date + u"\u00ff"_s + (i % 3 ? u"N"_s : u"Y"_s) + u"\u00ff"_s +
                     (i % 5 ? u"N"_s : u"Y"_s) + u"\u00ff"_s +
                     QString::fromLatin1(Descriptions[i % 5]));
    }
    return lines;
}

// Occasions spread over the year, a few on each day.
inline QStringList occasionLines(int count) {
    QStringList lines;
    for (int i = 0; i < count; ++i) {
        const QDate day = QDate(2000, 1, 1).addDays(i % 366);
        lines.append(qm::OccasionLine(day.day(), day.month(),
                                      u"Birthday For Person "_s + QString::number(i)));
    }
    qm::SortLines(lines);
    return lines;
}

inline const char *const LastNames[] = {"Smith",  "Jones",   "Taylor", "Brown",    "Williams",
                                        "Wilson", "Johnson", "Davies", "Robinson", "Wright"};
inline const char *const FirstNames[] = {"John", "Ann",    "Peter",  "Mary",
                                         "Ian",  "Zo\xeb", "Ren\xe9"};

// Half personal, half business, names and numbers in no order.
inline QStringList contactLines(int count) {
    QStringList lines;
    lines.reserve(count * qm::AddressFieldCount);
    for (int i = 0; i < count; ++i) {
        const int mixed = (i * 7919) % count;
        const bool business = i % 2;
        lines << QString::number(301 + i) << (business ? u"W"_s : u"P"_s)
              << (business ? u"Company %1 Ltd"_s.arg(mixed) : QString())
              << QString::fromLatin1(LastNames[mixed % 10]) + QString::number(mixed % 97)
              << QString::fromLatin1(FirstNames[i % 7]) << u"Mr"_s << u"%1 High Street"_s.arg(i)
              << u"Leeds"_s << QString() << QString() << QString() << u"LS1 4AB"_s
              << u"0113 %1"_s.arg(mixed, 6, 10, QChar(u'0')) << QString() << QString()
              << u"someone@example.com"_s << (i % 3 ? QString() : u"19610307"_s);
    }
    return lines;
}

} // namespace bench
