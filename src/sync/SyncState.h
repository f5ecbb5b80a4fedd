#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

// What the last sync left in step, kept in the data folder beside the record
// files (which carry no identifiers): for each item on the server, its
// address, UID and ETag and the records it was made of then, so a change on
// either side is found by comparing with it.
namespace qm {

struct SyncItem {
    QString href; // the item's address on the server, as the server gives it
    QString uid;
    QString etag;
    // Calendar: each record line with its kind in front ("A" appointment,
    // "T" task, "O" occasion); an item of the server the record files could
    // not take holds none. Address book: the contact's 17 fields, or none.
    QStringList lines;
    // Where its one record stood in its file (line, or contact), to pair an
    // edited record with the item it came from; -1 when not known.
    int position = -1;
};

struct SyncCollectionState {
    QString url;   // the collection these items are of
    QString token; // the server's sync-token after the last sync, if any
    QList<SyncItem> items;
};

struct SyncState {
    SyncCollectionState calendar;
    SyncCollectionState contacts;
};

// An unreadable file gives an empty state (the next sync then pairs the
// records with the server's items by content, as a first sync does).
SyncState ReadSyncState(const QByteArray &bytes);
QByteArray WriteSyncState(const SyncState &state);

} // namespace qm
