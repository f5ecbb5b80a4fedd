#pragma once

#include <QString>

#include <optional>

namespace qm {

// Where passwords the program must keep between runs are kept: the system's
// secret store, never the settings file. Every call waits for its answer
// (with a limit), so a store that does not answer never holds the program.
class SecretStore {
public:
    virtual ~SecretStore() = default;
    // Whether passwords can be kept at all; without a store the caller keeps
    // them for the session only.
    virtual bool available() = 0;
    // The password kept under key; none when there is none or no store.
    virtual std::optional<QString> readPassword(const QString &key) = 0;
    // False when the store did not keep it.
    virtual bool writePassword(const QString &key, const QString &value) = 0;
    // False when the store could not remove it; a key not kept is no failure.
    virtual bool removePassword(const QString &key) = 0;
};

} // namespace qm
