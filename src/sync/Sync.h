#pragma once

#include "exchange/Exchange.h"
#include "sync/SyncAccount.h"

#include <QDate>
#include <QString>
#include <QTimeZone>
#include <functional>
#include <memory>

// Keeping the diary, the task list, the occasion list and the address book in
// step with a calendar and an address book on a server, both ways.
namespace qm {

// The file in the data folder that remembers what was last in step.
inline const QString SyncStateFileName = QStringLiteral("SyncState.txt");

// What one sync did.
struct SyncResult {
    // Sent to the server.
    qsizetype sentAdded = 0;
    qsizetype sentChanged = 0;
    qsizetype sentDeleted = 0;
    // Taken from the server into the record files.
    qsizetype receivedAdded = 0;
    qsizetype receivedChanged = 0;
    qsizetype receivedDeleted = 0;
    // Records changed on both sides: both versions kept.
    qsizetype conflicts = 0;
    // What the server held that the record files could not take, or took changed.
    ImportNotes notes;
    // Requests sent to the server.
    qsizetype requests = 0;
    bool cancelled = false;
    // The server refused the user name or password (trying again with the
    // same one would only be refused again).
    bool refused = false;
    // Why the sync stopped, in words; empty when it finished.
    QString error;

    bool ok() const { return error.isEmpty() && !cancelled; }
    // Whether the record files were changed (the pages showing them reload).
    bool changedRecords() const { return receivedAdded + receivedChanged + receivedDeleted > 0; }
};

// One line for the hint bar: "Synced: 3 Sent, 2 Received, 1 Conflict Kept
// Both", "Nothing To Sync", "Sync Failed: ...", "Sync Cancelled".
QString SyncResultText(const SyncResult &result);

// What the program asks of its user during a sync, and tells them.
struct SyncHooks {
    // Polled between requests; true stops the sync as soon as it can.
    std::function<bool()> cancelled;
    // "Sending 120 Of 4800..." and the like.
    std::function<void(const QString &)> progress;
    // A yes/no question (deleting many records on one side); no answer is no.
    std::function<bool(const QString &)> confirm;
};

// The work of a sync that is done with the server, waiting to be written to
// the record files and the sync state.
struct PreparedSync;

// Reads the record files and the sync state of folder, asks the server what
// changed, and sends what changed here. Blocks the calling thread (run it off
// the window's thread). The result holds the error when it failed; the
// record files and the sync state are never touched here.
std::shared_ptr<PreparedSync> PrepareSync(const SyncAccount &account,
                                          const SyncCredentials &credentials, const QString &folder,
                                          const SyncHooks &hooks, const QTimeZone &zone,
                                          const QDate &today);

// Writes what the server changed into the record files of folder, as they
// are now (records changed meanwhile are kept), then the sync state. Quick;
// run it on the window's thread while no editor is open.
SyncResult FinishSync(PreparedSync &prepared, const QString &folder);

// Both, one after the other, on the calling thread.
SyncResult SyncDataFolder(const SyncAccount &account, const SyncCredentials &credentials,
                          const QString &folder, const SyncHooks &hooks, const QTimeZone &zone,
                          const QDate &today);

} // namespace qm
