#pragma once

#include <QString>

namespace qm {

class Clock;
class SettingsStore;
class ScreenMetrics;
class Prompter;
class SecretStore;
class Shell;
class StartWithSystem;

// The outside world as the running program sees it. main() installs the real
// implementations; tests install their own with ServicesScope.
struct Services {
    Clock *clock = nullptr;
    SettingsStore *settings = nullptr;
    ScreenMetrics *screen = nullptr;
    Prompter *prompter = nullptr;
    Shell *shell = nullptr;
    StartWithSystem *startWithSystem = nullptr;
    SecretStore *secrets = nullptr;
    QString dataFolder; // with a trailing separator, or empty for the current folder
};

// The installed services. Using a service that was never installed is a
// programming error and aborts with a clear message.
Services &services();
Clock &clock();
SettingsStore &settingsStore();
ScreenMetrics &screenMetrics();
Prompter &prompter();
Shell &shell();
StartWithSystem &startWithSystem();
SecretStore &secretStore();
const QString &dataFolder();
// The full path of a file in the data folder.
QString dataFile(const QString &name);

// Installs a set of services for its lifetime and restores the previous set.
class ServicesScope {
public:
    explicit ServicesScope(const Services &installed);
    ~ServicesScope();
    ServicesScope(const ServicesScope &) = delete;
    ServicesScope &operator=(const ServicesScope &) = delete;

private:
    Services m_previous;
};

} // namespace qm
