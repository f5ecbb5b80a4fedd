#pragma once

#include <QString>
#include <memory>

class QSettings;

namespace qm {

// String values under one named section, as the organiser keeps its user
// preferences. Opening creates the section when it is missing.
class SettingsStore {
public:
    virtual ~SettingsStore() = default;
    virtual void open(const QString &section) = 0;
    virtual QString read(const QString &name, const QString &defaultValue) const = 0;
    virtual bool contains(const QString &name) const = 0;
    virtual void write(const QString &name, const QString &value) = 0;
    virtual void remove(const QString &name) = 0;
};

// QSettings in its native format: exactly the registry key
// HKEY_CURRENT_USER\Varnell\<section> on Windows, the INI file
// "Varnell/<section>.conf" in the user's config folder elsewhere. No values
// are read from anywhere else (no organisation-wide or machine-wide
// fallbacks).
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
    std::unique_ptr<QSettings> m_settings;
};

} // namespace qm
