// The address page over 10,000 contacts: the view filled from "Address.Qmt"
// in every order and filter (the page reads the file each time, as it does
// whenever it is shown or a contact is saved), and one keystroke of the
// incremental search, including one that walks every row.
//
//   bench_address    (QT_QPA_PLATFORM=offscreen works; no display needed)

#include "BenchData.h"
#include "BenchSupport.h"
#include "address/AddressBook.h"
#include "address/ui/AddressPage.h"
#include "foundation/AddressFile.h"
#include "foundation/RecordFile.h"
#include "platform/Clock.h"
#include "platform/Services.h"

#include <QApplication>
#include <QLineEdit>
#include <QRadioButton>

#include <cstdio>

using namespace Qt::StringLiterals;
using namespace bench;

int main(int argc, char **argv) {
    QApplication app(argc, argv);
    BenchServices services;

    constexpr int Contacts = 10000;
    const QString path = qm::dataFile(qm::AddressFileName);
    qm::WriteRecordFile(path, contactLines(Contacts));

    qm::AddressPage page;
    page.show();
    page.showStep();
    auto *locate = page.findChild<QLineEdit *>(u"txtLocate"_s);

    struct Case {
        const char *name;
        const char *filter;
        qm::AddressOrder order;
    };
    const Case cases[] = {
        {"all, by company", "optBoth", qm::AddressOrder::Company},
        {"all, by name", "optBoth", qm::AddressOrder::Name},
        {"all, by telephone", "optBoth", qm::AddressOrder::Telephone},
        {"business, by company", "optWork", qm::AddressOrder::Company},
        {"personal, by name", "optPersonal", qm::AddressOrder::Name},
        {"personal, by telephone", "optPersonal", qm::AddressOrder::Telephone},
    };
    std::printf("Address book, median of %d runs: %d contacts, %lld bytes\n", Runs, Contacts,
                static_cast<long long>(readAll(path).size()));
    const QList<qm::AddressRecord> records = qm::ReadWholeAddressRecords(path, qm::ViewFields);
    const std::vector<double> floorMs = medianMs({
        {[&] { (void)readAll(path); }, {}},
        {[&] { (void)qm::ReadWholeAddressRecords(path, qm::ViewFields); }, {}},
        {[&] {
             (void)qm::FillAddressView(records, qm::AddressOrder::Name, qm::ContactFilter::All, -1);
         },
         {}},
    });
    std::printf("  %-36s %8.2f ms\n", "floor: read the file", floorMs[0]);
    std::printf("  %-36s %8.2f ms\n", "read the fields the view shows", floorMs[1]);
    std::printf("  %-36s %8.2f ms\n", "rows alone (all, by name)", floorMs[2]);
    for (const Case &c : cases) {
        page.findChild<QRadioButton *>(QString::fromLatin1(c.filter))->click();
        const std::vector<double> ms = medianMs({
            {[&] { page.FillAddressView(c.order); }, {}},
            // One key typed, and one whose text sorts after every row.
            {[&] { locate->setText(u"SMITH5"_s); }, [&] { locate->setText(u"SMITH"_s); }},
            {[&] { locate->setText(u"ZZZZ"_s); }, [&] { locate->setText(u"ZZZ"_s); }},
        });
        std::printf("  %-36s %8.2f ms   (%lld rows)\n",
                    (u"fill: "_s + QString::fromLatin1(c.name)).toLatin1().constData(), ms[0],
                    static_cast<long long>(page.view().rows.size()));
        std::printf("  %-36s %8.3f ms   past the end %8.3f ms\n", "  one search keystroke", ms[1],
                    ms[2]);
    }
    return 0;
}
