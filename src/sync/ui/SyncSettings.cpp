#include "sync/ui/SyncSettings.h"

#include "foundation/Settings.h"

using namespace Qt::StringLiterals;

namespace qm {

namespace {

QUrl StoredUrl(const QString &text) {
    return text.isEmpty() ? QUrl() : QUrl(text, QUrl::StrictMode);
}

QString UrlText(const QUrl &url) {
    return url.isValid() ? url.toString(QUrl::FullyEncoded) : QString();
}

} // namespace

SyncAccount LoadSyncAccount(const Settings &settings) {
    SyncAccount account;
    account.server = StoredUrl(settings.syncServer());
    account.user = settings.syncUser();
    account.calendar = StoredUrl(settings.syncCalendar());
    account.addressBook = StoredUrl(settings.syncAddressBook());
    account.intervalMinutes = settings.syncEvery();
    return account;
}

void SaveSyncAccount(Settings &settings, const SyncAccount &account) {
    settings.setSyncServer(UrlText(account.server));
    settings.setSyncUser(account.user);
    settings.setSyncCalendar(UrlText(account.calendar));
    settings.setSyncAddressBook(UrlText(account.addressBook));
    settings.setSyncEvery(account.intervalMinutes);
}

QString SyncPasswordKey(const SyncAccount &account) {
    return account.user + u'@' +
           account.server.adjusted(QUrl::StripTrailingSlash).toString(QUrl::FullyEncoded);
}

} // namespace qm
