// The address book as vCards over 10,000 contacts: the export, the import of
// the file it makes, and the generic reader alone on the same file (cards cut
// into content lines), the floor the import is measured against.
//
//   bench_contacts

#include "BenchData.h"
#include "BenchSupport.h"
#include "exchange/Contacts.h"
#include "exchange/ImportPlan.h"
#include "exchange/VCard.h"
#include "foundation/AddressFile.h"

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>
#include <QTimeZone>

#include <cstdio>

using namespace Qt::StringLiterals;
using namespace bench;

int main(int argc, char **argv) {
    QCoreApplication app(argc, argv);
    constexpr int Contacts = 10000;
    const QList<qm::AddressRecord> records = qm::SplitAddressRecords(contactLines(Contacts));
    const QByteArray file = qm::ExportContacts(records).bytes;
    if (qm::ReadContacts(file).contacts.size() != Contacts)
        qFatal("the exported contacts do not read back");

    std::printf("Contacts as vCards, median of %d runs: %d contacts, %lld bytes\n", Runs, Contacts,
                static_cast<long long>(file.size()));
    // What the user waits for: the file read, converted and compared with an
    // (empty) data folder, up to the summary.
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("contacts.vcf"));
    QFile out(path);
    if (!out.open(QIODevice::WriteOnly) || out.write(file) != file.size())
        qFatal("cannot write the contacts file");
    out.close();
    const std::vector<double> ms = medianMs({
        {[&] { (void)qm::ReadVCards(file); }, {}},
        {[&] { (void)qm::ExportContacts(records); }, {}},
        {[&] { (void)qm::ReadContacts(file); }, {}},
        {[&] {
             qm::ImportSource source = qm::ReadImportSource(path);
             qm::ConvertImportSource(source, {}, QTimeZone::utc());
             (void)qm::PlanImport({source}, folder.path() + u'/', {});
         },
         {}},
    });
    std::printf("  %-36s %8.2f ms\n", "floor: read into content lines", ms[0]);
    std::printf("  %-36s %8.2f ms   (limit 300 ms)\n", "export", ms[1]);
    // Limits: 1000 ms, and twice the floor.
    report("import", ms[2], "the floor", ms[0]);
    report("to the summary (limit 1000 ms)", ms[3], "the floor", ms[0]);
    return 0;
}
