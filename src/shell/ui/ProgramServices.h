#pragma once

#include "foundation/ui/MsgBox.h"
#include "platform/Clock.h"
#include "platform/Services.h"
#include "platform/SettingsStore.h"
#include "platform/ui/DesktopShell.h"
#include "platform/ui/QtScreenMetrics.h"
#include "shell/AutostartEntry.h"

#include <memory>
#include <optional>

namespace qm {

// The real outside world, installed for the object's lifetime: the system
// clock, the user's settings, the screen, the program's own dialogs, the desktop's handlers and its
// list of programs started at log-on, over the given data folder.
class ProgramServices {
public:
    explicit ProgramServices(const QString &dataFolder);
    ProgramServices(const ProgramServices &) = delete;
    ProgramServices &operator=(const ProgramServices &) = delete;

    Prompter &prompter() { return m_prompter; }

private:
    SystemClock m_clock;
    NativeSettingsStore m_settings;
    QtScreenMetrics m_screen;
    StandardPrompter m_prompter;
    DesktopShell m_shell;
    std::unique_ptr<StartWithSystem> m_startWithSystem;
    std::optional<ServicesScope> m_scope;
};

// The start of every run of the program, once the services are installed:
// the classic dialog fonts and the busy cursor.
void PrepareApplication();

} // namespace qm
