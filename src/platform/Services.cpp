#include "platform/Services.h"

#include <QtGlobal>

namespace qm {

namespace {
Services g_services;

template <typename T> T &require(T *service, const char *name) {
    if (!service)
        qFatal("Quillmate: the %s service was used before it was installed", name);
    return *service;
}
} // namespace

Services &services() {
    return g_services;
}
Clock &clock() {
    return require(g_services.clock, "clock");
}
SettingsStore &settingsStore() {
    return require(g_services.settings, "settings");
}
ScreenMetrics &screenMetrics() {
    return require(g_services.screen, "screen");
}
Prompter &prompter() {
    return require(g_services.prompter, "prompter");
}
Shell &shell() {
    return require(g_services.shell, "shell");
}
StartWithSystem &startWithSystem() {
    return require(g_services.startWithSystem, "start with the system");
}
SecretStore &secretStore() {
    return require(g_services.secrets, "secret store");
}
const QString &dataFolder() {
    return g_services.dataFolder;
}
QString dataFile(const QString &name) {
    return g_services.dataFolder + name;
}

ServicesScope::ServicesScope(const Services &installed) : m_previous(g_services) {
    g_services = installed;
}

ServicesScope::~ServicesScope() {
    g_services = m_previous;
}

} // namespace qm
