#include "platform/SettingsStore.h"

#include <QFile>
#include <QSettings>

namespace qm {

using namespace Qt::StringLiterals;

SettingsWriteError::SettingsWriteError(QString location, QString reason)
    : std::runtime_error((reason + u"\r\rFile : "_s + location).toStdString()),
      m_location(std::move(location)), m_reason(std::move(reason)) {}

NativeSettingsStore::NativeSettingsStore() = default;
NativeSettingsStore::~NativeSettingsStore() = default;

std::unique_ptr<QSettings> NativeSettingsStore::makeSettings() const {
#ifdef Q_OS_WIN
    // The key directly under the user's root, where the settings have always
    // been kept; the organisation form of QSettings would look under
    // "Software" instead.
    auto settings = std::make_unique<QSettings>(u"HKEY_CURRENT_USER\\Varnell\\"_s + m_section,
                                                QSettings::NativeFormat);
#else
    auto settings = std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope,
                                                u"Varnell"_s, m_section);
#endif
    // Only this section counts: nothing is read from keys or files shared by
    // the maker's other programs or by the machine's other users.
    settings->setFallbacksEnabled(false);
    return settings;
}

void NativeSettingsStore::open(const QString &section) {
    m_section = section;
    m_settings = makeSettings();
}

QString NativeSettingsStore::read(const QString &name, const QString &defaultValue) const {
    if (!m_settings)
        return defaultValue;
    const QVariant value = m_settings->value(name);
    return value.isValid() ? value.toString() : defaultValue;
}

bool NativeSettingsStore::contains(const QString &name) const {
    return m_settings && m_settings->contains(name);
}

void NativeSettingsStore::store(const QString &name, const std::optional<QString> &value) {
    if (!m_settings)
        return;
    // QSettings keeps the first failure it met for good: a fresh object, which
    // shares the values still waiting to be written, tells whether this
    // change is stored.
    if (m_settings->status() != QSettings::NoError)
        m_settings = makeSettings();
    const QVariant old = m_settings->value(name);
    if (value)
        m_settings->setValue(name, *value);
    else
        m_settings->remove(name);
    m_settings->sync();
    if (m_settings->status() == QSettings::AccessError) {
        // A change that could not be stored is not kept either: what is read
        // is what the next start will find.
        if (old.isValid())
            m_settings->setValue(name, old);
        else
            m_settings->remove(name);
#ifdef Q_OS_WIN
        const QString why = u"Cannot Save The Settings: The Registry Key Cannot Be Written"_s;
#else
        const QString why = u"Cannot Save The Settings: The Settings File Cannot Be Written"_s;
#endif
        throw SettingsWriteError(m_settings->fileName(), why);
    }
#ifndef Q_OS_WIN
    QFile::setPermissions(m_settings->fileName(), QFileDevice::ReadOwner | QFileDevice::WriteOwner);
#endif
}

void NativeSettingsStore::write(const QString &name, const QString &value) {
    store(name, value);
}

void NativeSettingsStore::remove(const QString &name) {
    store(name, std::nullopt);
}

} // namespace qm
