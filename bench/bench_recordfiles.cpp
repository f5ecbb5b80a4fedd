// Rewriting record files: the diary saver over 20,000 appointment lines and
// an address-book edit over 10,000 contacts, against the floor of writing
// the same bytes with a plain write, flush and rename (with and without
// syncing them to the disk, which the savers do for durability).
//
// Prints milliseconds (median of several runs) and the ratios to the floors.

#include "BenchSupport.h"
#include "foundation/AddressFile.h"
#include "foundation/LineFiles.h"
#include "foundation/RecordFile.h"
#include "foundation/Text.h"
#include "platform/Services.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <vector>

#if defined(Q_OS_UNIX)
#include <unistd.h>
#elif defined(Q_OS_WIN)
#include <io.h>
#endif

using namespace Qt::StringLiterals;

namespace {
using namespace bench;

QStringList appointmentLines(int count) {
    QStringList lines;
    lines.reserve(count);
    for (int i = 0; i < count; ++i) {
        const QString date = u"2%1"_s.arg(qm::PadZeros(20000101 + i, 7));
        const QString start =
            u"%1:%2"_s.arg(qm::PadZeros(8 + i % 10, 2), qm::PadZeros(i % 4 * 15, 2));
        lines.append(date + u"\u00ff"_s + start + u"\u00ff"_s + start + u"\u00ff"_s +
                     QString::fromLatin1(Descriptions[i % 5]) + u" "_s + QString::number(i) +
                     u"\u00ff015\u00ffN"_s);
    }
    return lines;
}

QStringList addressLines(int count) {
    QStringList lines;
    lines.reserve(count * qm::AddressFieldCount);
    for (int i = 0; i < count; ++i) {
        const qm::AddressRecord record = {qm::PadZeros(301 + i, 3),
                                          i % 2 ? u"P"_s : u"W"_s,
                                          u"Company %1 Ltd"_s.arg(i),
                                          u"Sales"_s,
                                          u"Person %1"_s.arg(i),
                                          u"Mr"_s,
                                          u"%1 High Street"_s.arg(i % 300),
                                          u"Leeds"_s,
                                          u"West Yorkshire"_s,
                                          u"LS1 4AB"_s,
                                          u"0113 496 %1"_s.arg(qm::PadZeros(i % 10000, 4)),
                                          QString(),
                                          u"07700 900%1"_s.arg(qm::PadZeros(i % 1000, 3)),
                                          QString(),
                                          u"www.example.com"_s,
                                          u"person%1@example.com"_s.arg(i),
                                          u"19700101"_s};
        for (const QString &field : record)
            lines.append(field);
    }
    return lines;
}

void report(const char *what, double ms, double floorNoSync, double floorSync) {
    std::printf("%-40s %9.2f ms   x%5.2f of floor (no sync)   x%5.2f of floor (synced)\n", what, ms,
                ms / floorNoSync, ms / floorSync);
}

} // namespace

int main(int argc, char **argv) {
    QCoreApplication app(argc, argv);
    BenchServices services;

    // Diary: 20,000 appointment lines.
    const QStringList diary = appointmentLines(20000);
    const QByteArray diaryBytes = qm::JoinRecordLines(diary);
    const QString diaryPath = qm::dataFile(qm::DiaryFileName);
    qm::SaveDiaryFile(diary);
    const std::vector<double> diaryMs = medianMs({
        {[&] { qm::SaveDiaryFile(diary); }, {}},
        {[&] { plainReplace(diaryPath, diaryBytes, false); }, {}},
        {[&] { plainReplace(diaryPath, diaryBytes, true); }, {}},
        {[&] { (void)qm::JoinRecordLines(diary); }, {}},
    });

    // Address book: an edit of the contact in the middle of 10,000. The floor
    // writes the bytes the edit produces.
    const QStringList contacts = addressLines(10000);
    const QString addressPath = qm::dataFile(qm::AddressFileName);
    qm::AddressFile address;
    for (int i = 0; i < qm::AddressFieldCount; ++i)
        address.AddressFields[i] = contacts.at(5000 * qm::AddressFieldCount + i);
    const QString key = address.AddressFields[0];
    const auto freshFile = [&] { qm::WriteRecordFile(addressPath, contacts); };
    freshFile();
    address.UpdateAddressFile(key, qm::EditOperation);
    const QByteArray addressBytes = readAll(addressPath);
    const std::vector<double> addressMs = medianMs({
        {[&] { address.UpdateAddressFile(key, qm::EditOperation); }, freshFile},
        {[&] { plainReplace(addressPath, addressBytes, false); }, freshFile},
        {[&] { plainReplace(addressPath, addressBytes, true); }, freshFile},
    });

    std::printf("Record files, median of %d runs (ms)\n", Runs);
    std::printf("Diary: %lld lines, %lld bytes\n", static_cast<long long>(diary.size()),
                static_cast<long long>(diaryBytes.size()));
    std::printf("  %-38s %9.2f ms\n", "floor: write+flush+rename", diaryMs[1]);
    std::printf("  %-38s %9.2f ms\n", "floor: write+flush+fsync+rename", diaryMs[2]);
    std::printf("  %-38s %9.2f ms\n", "encoding the lines alone", diaryMs[3]);
    report("  SaveDiaryFile", diaryMs[0], diaryMs[1], diaryMs[2]);
    std::printf("Address book: 10000 contacts, %lld bytes\n",
                static_cast<long long>(addressBytes.size()));
    std::printf("  %-38s %9.2f ms\n", "floor: write+flush+rename", addressMs[1]);
    std::printf("  %-38s %9.2f ms\n", "floor: write+flush+fsync+rename", addressMs[2]);
    report("  UpdateAddressFile EDIT", addressMs[0], addressMs[1], addressMs[2]);
    return 0;
}
