#include "sync/ui/SyncController.h"

#include "foundation/Settings.h"
#include "foundation/ui/ErrorReport.h"
#include "platform/Prompter.h"
#include "platform/Secrets.h"
#include "platform/Services.h"
#include "sync/ui/SyncAccountForm.h"
#include "sync/ui/SyncSettings.h"

#include <QApplication>

using namespace Qt::StringLiterals;

namespace qm {

SyncController::SyncController(QObject *parent) : QObject(parent) {
    m_timer.setObjectName(u"timSync"_s);
    connect(&m_timer, &QTimer::timeout, this, Reported([this] { timerTick(); }));
    connect(&m_runner, &SyncRunner::progress, this, &SyncController::status);
    connect(&m_runner, &SyncRunner::finished, this,
            Reported([this](const SyncResult &result) { syncFinishedStep(result); }));
    connect(&m_runner, &SyncRunner::discovered, this, [this](const DiscoveryResult &result) {
        emit busyChanged(false);
        emit discovered(result);
    });
}

void SyncController::loadAccount() {
    const SyncAccount account = LoadSyncAccount(Settings(settingsStore()));
    if (SyncPasswordKey(account) != SyncPasswordKey(m_account)) {
        m_password.reset();
        m_storeRead = false;
    }
    m_account = account;
    applyTimer();
}

void SyncController::useAccount(const SyncAccount &account, const QString &password) {
    m_account = account;
    m_password = password;
    m_storeRead = true;
    applyTimer();
}

bool SyncController::saveAccount(const SyncAccount &account, const QString &password) {
    Settings settings(settingsStore());
    const SyncAccount old = m_account;
    SaveSyncAccount(settings, account);
    useAccount(account, password);
    SecretStore &store = secretStore();
    if (!store.available())
        return true;
    // A password left under an account no longer used would stay in the
    // user's keyring for good.
    if (old.isSet() && SyncPasswordKey(old) != SyncPasswordKey(account))
        store.removePassword(SyncPasswordKey(old));
    if (!account.isSet())
        return true;
    return password.isEmpty() ? store.removePassword(SyncPasswordKey(account))
                              : store.writePassword(SyncPasswordKey(account), password);
}

QString SyncController::sessionPassword() {
    if (!m_password && !m_storeRead && m_account.isSet()) {
        m_storeRead = true;
        m_password = secretStore().readPassword(SyncPasswordKey(m_account));
    }
    return m_password.value_or(QString());
}

bool SyncController::secretStoreAvailable() {
    return secretStore().available();
}

void SyncController::applyTimer() {
    if (m_account.isSet() && m_account.intervalMinutes > 0)
        m_timer.start(m_account.intervalMinutes * 60 * 1000);
    else
        m_timer.stop();
}

bool SyncController::startSync(const QString &password) {
    const SyncCredentials credentials{m_account.user, password, {}};
    if (!m_runner.startSync(m_account, credentials, dataFolder()))
        return false;
    m_syncPassword = password;
    emit busyChanged(true);
    return true;
}

bool SyncController::syncNow() {
    if (busy() || !m_account.isSet())
        return false;
    return startSync(sessionPassword());
}

bool SyncController::findCollections(const QUrl &server, const QString &user,
                                     const QString &password) {
    if (!m_runner.startDiscovery(server, {user, password, {}}))
        return false;
    emit busyChanged(true);
    return true;
}

void SyncController::timerTick() {
    if (busy() || !m_account.isSet() || (m_held && m_held()))
        return;
    QString password = sessionPassword();
    if (m_refused && *m_refused == password)
        return;
    if (!m_password) {
        // No password kept anywhere: asked once a session, and never over
        // another open form.
        if (m_asked || QApplication::activeModalWidget())
            return;
        m_asked = true;
        TfrmSyncPassword form(m_account, m_window);
        if (prompter().runModal(form) != QDialog::Accepted)
            return;
        password = form.password();
        m_password = password;
    }
    startSync(password);
}

void SyncController::syncFinishedStep(const SyncResult &result) {
    // A refused password is said once: the timer waits for another one.
    if (result.refused)
        m_refused = m_syncPassword;
    else if (result.ok())
        m_refused.reset();
    emit busyChanged(false);
    emit status(SyncResultText(result));
    emit syncFinished(result);
    if (result.changedRecords())
        emit recordsChanged();
}

} // namespace qm
