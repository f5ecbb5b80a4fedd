#include "platform/SettingsStore.h"

#include <QSettings>

namespace qm {

using namespace Qt::StringLiterals;

NativeSettingsStore::NativeSettingsStore() = default;
NativeSettingsStore::~NativeSettingsStore() = default;

void NativeSettingsStore::open(const QString &section) {
#ifdef Q_OS_WIN
    // The key directly under the user's root, where the settings have always
    // been kept; the organisation form of QSettings would look under
    // "Software" instead.
    m_settings = std::make_unique<QSettings>(u"HKEY_CURRENT_USER\\Varnell\\"_s + section,
                                             QSettings::NativeFormat);
#else
    m_settings = std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope,
                                             u"Varnell"_s, section);
#endif
    // Only this section counts: nothing is read from keys or files shared by
    // the maker's other programs or by the machine's other users.
    m_settings->setFallbacksEnabled(false);
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

void NativeSettingsStore::write(const QString &name, const QString &value) {
    if (m_settings)
        m_settings->setValue(name, value);
}

void NativeSettingsStore::remove(const QString &name) {
    if (m_settings)
        m_settings->remove(name);
}

} // namespace qm
