#pragma once

#include <QString>

#include <memory>
#include <optional>
#include <stdexcept>

class QSettings;

namespace qm {

// A value that the settings store could not keep: where the store is (its
// file, or its registry key) and why. The typed settings turn it into the
// program's FileError.
class SettingsWriteError : public std::runtime_error {
public:
    SettingsWriteError(QString location, QString reason);
    const QString &location() const { return m_location; }
    const QString &reason() const { return m_reason; }

private:
    QString m_location;
    QString m_reason;
};

// String values under one named section, as the organiser keeps its user
// preferences. Opening creates the section when it is missing.
class SettingsStore {
public:
    virtual ~SettingsStore() = default;
    virtual void open(const QString &section) = 0;
    virtual QString read(const QString &name, const QString &defaultValue) const = 0;
    virtual bool contains(const QString &name) const = 0;
    // Both reach the lasting store before they return. A change the store
    // refuses raises SettingsWriteError and is not kept: reading goes on to
    // give what is stored.
    virtual void write(const QString &name, const QString &value) = 0;
    virtual void remove(const QString &name) = 0;
};

// QSettings in its native format: exactly the registry key
// HKEY_CURRENT_USER\Varnell\<section> on Windows, the INI file
// "Varnell/<section>.conf" in the user's config folder elsewhere. No values
// are read from anywhere else (no organisation-wide or machine-wide
// fallbacks). The INI file holds the scrambled password, so it is kept
// readable by its owner only.
class NativeSettingsStore final : public SettingsStore {
public:
    NativeSettingsStore();
    ~NativeSettingsStore() override;
    void open(const QString &section) override;
    QString read(const QString &name, const QString &defaultValue) const override;
    bool contains(const QString &name) const override;
    void write(const QString &name, const QString &value) override;
    void remove(const QString &name) override;

private:
    std::unique_ptr<QSettings> makeSettings() const;
    // Writes the value (removes it when there is none) and syncs.
    void store(const QString &name, const std::optional<QString> &value);

    QString m_section;
    std::unique_ptr<QSettings> m_settings;
};

} // namespace qm
