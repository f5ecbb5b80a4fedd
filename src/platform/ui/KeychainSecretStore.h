#pragma once

#include "platform/Secrets.h"

#include <optional>

namespace qm {

// The system's secret store (the desktop's keyring, the Windows credential
// store, the macOS keychain), the passwords filed under service. A store
// that is missing, refuses or does not answer within the limit counts as no
// store for the rest of the run, so the program asks no more and never waits
// on it again. Nothing is ever written anywhere else.
class KeychainSecretStore final : public SecretStore {
public:
    explicit KeychainSecretStore(QString service, int answerLimitMs = 10000);

    bool available() override;
    std::optional<QString> readPassword(const QString &key) override;
    bool writePassword(const QString &key, const QString &value) override;
    bool removePassword(const QString &key) override;

private:
    QString m_service;
    int m_answerLimitMs;
    // Unknown until the store was first asked.
    std::optional<bool> m_available;
};

} // namespace qm
