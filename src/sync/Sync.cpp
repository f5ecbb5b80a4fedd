#include "sync/Sync.h"

namespace qm {

struct PreparedSync {
    SyncResult result;
};

QString SyncResultText(const SyncResult &result) { return result.error; }

std::shared_ptr<PreparedSync> PrepareSync(const SyncAccount &, const SyncCredentials &,
                                          const QString &, const SyncHooks &, const QTimeZone &,
                                          const QDate &) {
    auto prepared = std::make_shared<PreparedSync>();
    prepared->result.error = QStringLiteral("Not Yet Built");
    return prepared;
}

SyncResult FinishSync(PreparedSync &prepared, const QString &) { return prepared.result; }

SyncResult SyncDataFolder(const SyncAccount &account, const SyncCredentials &credentials,
                          const QString &folder, const SyncHooks &hooks, const QTimeZone &zone,
                          const QDate &today) {
    return FinishSync(*PrepareSync(account, credentials, folder, hooks, zone, today), folder);
}

} // namespace qm
