#include "foundation/BusyScope.h"
#include "foundation/DataFolder.h"
#include "foundation/StartUpFiles.h"
#include "foundation/ui/Controls.h"
#include "foundation/ui/ErrorReport.h"
#include "foundation/ui/MsgBox.h"
#include "foundation/ui/Styling.h"
#include "platform/AppPaths.h"
#include "platform/Clock.h"
#include "platform/Services.h"
#include "platform/SettingsStore.h"
#include "platform/ui/QtScreenMetrics.h"

#include <QWidget>

using namespace Qt::StringLiterals;

int main(int argc, char **argv) {
    qm::QuillmateApplication app(argc, argv);
    QApplication::setApplicationName(u"Quillmate"_s);
    QApplication::setApplicationDisplayName(u"Quillmate"_s);

    qm::SystemClock clock;
    qm::NativeSettingsStore settings;
    qm::InstallFontSubstitutes();

    qm::QtScreenMetrics screen;
    qm::StandardPrompter prompter;
    qm::SystemAppPaths paths;
    qm::Services services;
    services.clock = &clock;
    services.settings = &settings;
    services.screen = &screen;
    services.prompter = &prompter;
    services.dataFolder = qm::ResolveDataFolder(paths);
    qm::ServicesScope installed(services);

    qm::BusyScope::setHandlers([] { QApplication::setOverrideCursor(Qt::WaitCursor); },
                               [] { QApplication::restoreOverrideCursor(); });

    // A data folder the program cannot set up (an unreadable colour scheme, a
    // folder that cannot be written) ends start-up with the error report.
    if (!qm::RunReported([] { qm::PrepareDataFolder(qm::ColourDepth()); }))
        return 1;

    // The main window with its pages and menu is built on this foundation; until
    // then the program shows its empty window.
    QWidget window;
    window.setObjectName(u"frmMain"_s);
    window.setWindowTitle(u"Quillmate"_s);
    window.setFixedSize(576, 457);
    qm::StyleForm(&window);
    qm::CentreForm(&window);
    window.show();
    return app.exec();
}
