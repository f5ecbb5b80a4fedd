#pragma once

#include "foundation/ui/EditorForm.h"
#include "sync/Discovery.h"
#include "sync/Sync.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QSpinBox;

// The sync account in the window: the server, the user and the password, the
// calendar and the address book found there, how often to sync, and Sync Now.
namespace qm {

class SyncController;

// "Sync": Find Calendars asks the server for the account's calendars and
// address books and offers them; Save keeps the account in the settings and
// the password in the system's secret store; Sync Now saves and syncs at
// once. What is under way and how it ended shows in the status line.
class TfrmSyncAccount : public EditorForm {
    Q_OBJECT
public:
    explicit TfrmSyncAccount(SyncController &controller, QWidget *parent = nullptr);
    ~TfrmSyncAccount() override;

    // Shown when there is no secret store.
    static inline const QString NoStoreNote =
        QStringLiteral("No Secret Store Is Available: The Password Is Kept Until The Program Ends");

protected:
    void cmdUpdateClick() override;

private:
    void buildControls();
    void cmdSyncFindClick();
    void cmdSyncNowClick();
    // The reasons the account shown cannot be used, each ending in "\r";
    // empty when it can. forSync also asks for something to sync.
    QString accountReasons(bool forSync) const;
    SyncAccount shownAccount() const;
    // Stores what is shown; false when it cannot be.
    bool saveShown();
    void showCollections(const DiscoveryResult &result);
    void workChanged(bool busy);

    SyncController &m_controller;
    bool m_finding = false;
    QLineEdit *txtSyncServer = nullptr;
    QLineEdit *txtSyncUser = nullptr;
    QLineEdit *txtSyncPassword = nullptr;
    QComboBox *cboSyncCalendar = nullptr;
    QComboBox *cboSyncAddressBook = nullptr;
    QSpinBox *txtSyncEvery = nullptr;
    QLabel *lblSyncStatus = nullptr;
    QPushButton *cmdSyncFind = nullptr;
    QPushButton *cmdSyncNow = nullptr;
    QPushButton *cmdSyncCancel = nullptr;
};

// The account's password, asked when a timed sync is due and none is kept.
class TfrmSyncPassword : public EditorForm {
    Q_OBJECT
public:
    TfrmSyncPassword(const SyncAccount &account, QWidget *parent = nullptr);
    QString password() const;

protected:
    void cmdUpdateClick() override { closeSaved(); }

private:
    QLineEdit *txtSyncPassword = nullptr;
};

} // namespace qm
