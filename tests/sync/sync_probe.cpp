// A sync run in a process of its own, for the test that kills the program in
// the middle of one: sync_probe SERVER-URL DATA-FOLDER.
#include "sync/Sync.h"

#include <QCoreApplication>

using namespace Qt::StringLiterals;

int main(int argc, char *argv[]) {
    QCoreApplication application(argc, argv);
    const QStringList args = application.arguments();
    if (args.size() != 3)
        return 2;
    qm::SyncAccount account;
    account.server = QUrl(args.at(1));
    account.user = u"alice"_s;
    account.calendar = account.server.resolved(QUrl(u"alice/calendar/"_s));
    account.addressBook = account.server.resolved(QUrl(u"alice/contacts/"_s));
    const qm::SyncResult result =
        qm::SyncDataFolder(account, {u"alice"_s, u"secret"_s, {}}, args.at(2), {},
                           QTimeZone("Europe/London"), QDate(2026, 12, 9));
    return result.ok() ? 0 : 1;
}
