// Sync with a real server on this machine (Radicale on 127.0.0.1): the first
// sync of 2,000 appointments, 500 tasks, 300 occasions and 2,000 contacts into
// an empty calendar and address book, then a sync with nothing changed, which
// must ask the server only what changed since the last one.
//
//   bench_sync

#include "BenchSupport.h"
#include "foundation/AddressFile.h"
#include "foundation/Codec1252.h"
#include "foundation/LineFiles.h"
#include "foundation/RecordFile.h"
#include "support/RadicaleServer.h"
#include "sync/DavClient.h"
#include "sync/Sync.h"
#include "sync/SyncState.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include <cstdio>

using namespace Qt::StringLiterals;
using namespace bench;

int main(int argc, char **argv) {
    QCoreApplication app(argc, argv);
    RadicaleServer server;
    QString why;
    if (!server.start(why) || !server.makeCollections(why)) {
        std::printf("Radicale could not be started: %s\n", qPrintable(why));
        return 77;
    }
    QTemporaryDir dir;
    const QString folder = dir.path() + u'/';
    const QString s(qm::FieldSeparator);
    QStringList diary, tasks, occasions;
    QList<qm::AddressRecord> contacts;
    for (int i = 0; i < 2000; ++i)
        diary.append(QDate(2026, 1, 1).addDays(i % 700).toString(u"yyyyMMdd"_s) + s + u"09:00"_s +
                     s + u"10:00"_s + s + u"Appointment "_s + QString::number(i) + s + u"0"_s + s +
                     u"N"_s);
    for (int i = 0; i < 500; ++i)
        tasks.append(u"20261220"_s + s + u"N"_s + s + u"N"_s + s + u"Task "_s + QString::number(i));
    for (int i = 0; i < 300; ++i)
        occasions.append(QDate(2000, 1, 1).addDays(i).toString(u"MMdd"_s) + s + u"Occasion "_s +
                         QString::number(i));
    for (int i = 0; i < 2000; ++i) {
        qm::AddressRecord record;
        qm::AddressField(record, 2) = u"P"_s;
        qm::AddressField(record, 4) = u"Name"_s + QString::number(i);
        qm::AddressField(record, 5) = u"First"_s;
        qm::AddressField(record, 13) = QString::number(i);
        contacts.append(record);
    }
    diary.sort();
    qm::SaveLineFile(folder + qm::DiaryFileName, diary);
    qm::SaveLineFile(folder + qm::TasksFileName, tasks);
    qm::SaveLineFile(folder + qm::BirthdayFileName, occasions);
    qm::AddressFile(folder).SaveNewContacts(contacts);

    qm::SyncAccount account;
    account.server = server.url();
    account.user = RadicaleServer::User;
    account.calendar = server.calendarUrl();
    account.addressBook = server.addressBookUrl();
    const qm::SyncCredentials credentials{RadicaleServer::User, RadicaleServer::Password, {}};
    auto sync = [&] {
        return qm::SyncDataFolder(account, credentials, folder, {}, QTimeZone("Europe/London"),
                                  QDate(2026, 12, 9));
    };
    QElapsedTimer timer;
    timer.start();
    const qm::SyncResult first = sync();
    const qint64 firstMs = timer.elapsed();
    if (!first.ok() || first.sentAdded != 4800)
        qFatal("the first sync failed: %s", qPrintable(qm::SyncResultText(first)));
    std::printf("Sync with a local server: 2,000 appointments, 500 tasks, 300 occasions, "
                "2,000 contacts\n");
    std::printf("  first sync:            %8lld ms, %lld requests\n",
                static_cast<long long>(firstMs), static_cast<long long>(first.requests));
    qsizetype requests = 0;
    const std::vector<double> ms =
        medianMs({{[&] {
                       const qm::SyncResult again = sync();
                       if (!again.ok() || again.sentAdded + again.receivedAdded)
                           qFatal("the unchanged sync changed things");
                       requests = again.requests;
                   },
                   {}}});
    // The floor: the server answering the same two questions (what changed
    // since the last sync's token), asked straight.
    const qm::SyncState state =
        qm::ReadSyncState(qm::ReadFileBytes(folder + qm::SyncStateFileName));
    qm::DavClient client(credentials, {});
    auto ask = [&](const QUrl &url, const QString &token) {
        (void)client.xml("REPORT", url,
                         "<?xml version=\"1.0\" encoding=\"utf-8\"?><D:sync-collection "
                         "xmlns:D=\"DAV:\"><D:sync-token>" +
                             token.toUtf8() +
                             "</D:sync-token><D:sync-level>1</D:sync-level><D:prop><D:getetag/>"
                             "</D:prop></D:sync-collection>",
                         1);
    };
    const std::vector<double> floor = medianMs({{[&] {
                                                     ask(account.calendar, state.calendar.token);
                                                     ask(account.addressBook, state.contacts.token);
                                                 },
                                                 {}}});
    std::printf("  the server alone:      %8.1f ms (its two answers, asked straight)\n",
                floor.at(0));
    std::printf("  unchanged re-sync:     %8.1f ms (median of %d), %lld requests "
                "(target: under 200 ms, a few requests)\n",
                ms.at(0), Runs, static_cast<long long>(requests));
    return 0;
}
