#pragma once

#include "sync/Discovery.h"
#include "sync/Sync.h"

#include <QObject>
#include <QPointer>
#include <atomic>
#include <memory>

class QThread;

// Runs a sync, or the finding of an account's calendars and address books,
// off the window's thread, so the window never waits on the network. The
// record files are written on the window's thread once no editor or dialog is
// open, so nothing an editor holds is written over.
namespace qm {

class SyncRunner : public QObject {
    Q_OBJECT
public:
    explicit SyncRunner(QObject *parent = nullptr);
    ~SyncRunner() override;

    // Whether a sync or a discovery is under way.
    bool busy() const;

    // Starts a sync of the data folder folder; false (and nothing started)
    // when one is under way. Ends with finished().
    bool startSync(const SyncAccount &account, const SyncCredentials &credentials,
                   const QString &folder);
    // Starts finding the collections at server; ends with discovered().
    bool startDiscovery(const QUrl &server, const SyncCredentials &credentials);
    // Asks the work under way to stop; its signal still comes.
    void cancel();

signals:
    void progress(const QString &text);
    void finished(const qm::SyncResult &result);
    void discovered(const qm::DiscoveryResult &result);

private:
    struct Work;
    // Writes a finished sync's records once no form holding records is open.
    void finishWhenFree(const std::shared_ptr<Work> &work,
                        const std::shared_ptr<PreparedSync> &prepared, const QString &folder);
    std::shared_ptr<Work> m_work;
};

} // namespace qm
