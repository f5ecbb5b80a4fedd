#include "shell/ui/ProgramServices.h"

#include "foundation/BusyScope.h"
#include "foundation/ui/Styling.h"

#include <QApplication>

namespace qm {

ProgramServices::ProgramServices(const QString &dataFolder)
    : m_startWithSystem(MakeStartWithSystem()) {
    Services services;
    services.clock = &m_clock;
    services.settings = &m_settings;
    services.screen = &m_screen;
    services.prompter = &m_prompter;
    services.shell = &m_shell;
    services.startWithSystem = m_startWithSystem.get();
    services.dataFolder = dataFolder;
    m_scope.emplace(services);
}

void PrepareApplication() {
    InstallFontSubstitutes();
    BusyScope::setHandlers([] { QApplication::setOverrideCursor(Qt::WaitCursor); },
                           [] { QApplication::restoreOverrideCursor(); });
}

} // namespace qm
