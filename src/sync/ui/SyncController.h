#pragma once

#include "sync/Discovery.h"
#include "sync/Sync.h"
#include "sync/ui/SyncRunner.h"

#include <QObject>
#include <QTimer>

#include <functional>
#include <optional>

class QWidget;

// The sync of one main window: the account, the password of the session,
// the runner that does the work off the window's thread, and the timer of
// "sync every N minutes".
namespace qm {

class SyncController : public QObject {
    Q_OBJECT
public:
    explicit SyncController(QObject *parent = nullptr);

    // Reads the account from the settings; the timer follows it.
    void loadAccount();
    const SyncAccount &account() const { return m_account; }
    // The account and password the user gave, for this session; the timer
    // follows the account.
    void useAccount(const SyncAccount &account, const QString &password);
    // Stores the account in the settings and the password in the secret
    // store, and uses both. False when there is a store and it did not keep
    // the password: it is then kept for the session only.
    bool saveAccount(const SyncAccount &account, const QString &password);
    // The password of the session: the one given this session, else the
    // secret store's (read once); empty when neither has one.
    QString sessionPassword();
    bool secretStoreAvailable();

    // While held() is true (the login page locks the program) the timer
    // starts nothing.
    void setHeld(std::function<bool()> held) { m_held = std::move(held); }
    // The window the password question belongs to.
    void setWindow(QWidget *window) { m_window = window; }

    bool busy() const { return m_runner.busy(); }
    // Starts a sync of the account with the session password; false when
    // work is under way or the account is not set.
    bool syncNow();
    // Starts finding the calendars and address books of an account not yet
    // saved; ends with discovered().
    bool findCollections(const QUrl &server, const QString &user, const QString &password);
    // Asks the work under way to stop.
    void cancel() { m_runner.cancel(); }
    // The program is closing: no more timed syncs, and the work under way stops.
    void stop() {
        m_timer.stop();
        m_runner.cancel();
    }

    // The "sync every N minutes" timer: running only while a time is set.
    const QTimer &syncTimer() const { return m_timer; }
    // One tick of it: a sync, unless one is running (ticks never queue up),
    // the program is locked, or the server refused this very password.
    void timerTick();

signals:
    // Progress, then one line saying how the sync ended.
    void status(const QString &text);
    // A sync changed the record files: what holds them in memory reloads.
    void recordsChanged();
    void syncFinished(const qm::SyncResult &result);
    void discovered(const qm::DiscoveryResult &result);
    // Work started or ended.
    void busyChanged(bool busy);

private:
    void applyTimer();
    void syncFinishedStep(const SyncResult &result);
    bool startSync(const QString &password);

    SyncRunner m_runner;
    QTimer m_timer;
    SyncAccount m_account;
    std::optional<QString> m_password;
    bool m_storeRead = false;
    // The timer asked for a missing password this session.
    bool m_asked = false;
    // The password the running sync uses, and one the server refused.
    QString m_syncPassword;
    std::optional<QString> m_refused;
    std::function<bool()> m_held;
    QWidget *m_window = nullptr;
};

} // namespace qm
