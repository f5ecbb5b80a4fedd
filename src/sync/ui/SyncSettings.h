#pragma once

#include "sync/SyncAccount.h"

#include <QString>

namespace qm {

class Settings;

// The account as the settings keep it (all but the password).
SyncAccount LoadSyncAccount(const Settings &settings);
void SaveSyncAccount(Settings &settings, const SyncAccount &account);
// The name the account's password is kept under in the secret store.
QString SyncPasswordKey(const SyncAccount &account);

} // namespace qm
