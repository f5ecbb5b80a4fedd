#include "sync/Discovery.h"

namespace qm {

DiscoveryResult DiscoverCollections(const QUrl &, const SyncCredentials &,
                                    const std::function<bool()> &) {
    DiscoveryResult result;
    result.error = QStringLiteral("Not Yet Built");
    return result;
}

} // namespace qm
