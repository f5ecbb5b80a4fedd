#pragma once

#include "sync/SyncAccount.h"

#include <QList>
#include <QString>
#include <QUrl>
#include <functional>

// Finding a user's calendars and address books from the server's address:
// the well-known addresses, the user's principal and its home sets.
namespace qm {

struct DavCollection {
    QUrl url;
    QString name; // the display name, or the last part of the address
    bool events = false;
    bool todos = false;
};

struct DiscoveryResult {
    QList<DavCollection> calendars;
    QList<DavCollection> addressBooks;
    // Why nothing could be found (the server's answer in words), or empty.
    QString error;
};

// Asks the server; blocks the calling thread (run it off the window's thread)
// until done or until cancelled() says so.
DiscoveryResult DiscoverCollections(const QUrl &server, const SyncCredentials &credentials,
                                    const std::function<bool()> &cancelled = {});

} // namespace qm
