#include "foundation/DataFolder.h"
#include "foundation/Program.h"
#include "foundation/ui/ErrorReport.h"
#include "platform/AppPaths.h"
#include "platform/ui/SingleInstance.h"
#include "shell/ui/ProgramServices.h"
#include "shell/ui/SingleInstanceGuard.h"
#include "shell/ui/TfrmMain.h"

int main(int argc, char **argv) {
    qm::QuillmateApplication app(argc, argv);
    QApplication::setApplicationName(qm::ProgramTitle());
    QApplication::setApplicationDisplayName(qm::ProgramTitle());
    // The program ends when its main window closes, not when the last visible
    // window does: while it waits in the tray, a closing message must not end it.
    QApplication::setQuitOnLastWindowClosed(false);

    qm::SystemAppPaths paths;
    qm::ProgramServices services(qm::ResolveDataFolder(paths));

    // One copy at a time: a second start points the user to the running one.
    qm::SingleInstance instance(qm::ProgramTitle());
    if (!qm::PassSingleInstanceGuard(instance))
        return 0;

    qm::PrepareApplication();
    qm::TfrmMain window;
    QObject::connect(&instance, &qm::SingleInstance::activationRequested, &window,
                     &qm::TfrmMain::bringForward);
    QObject::connect(&window, &qm::TfrmMain::closed, &app, &QApplication::quit,
                     Qt::QueuedConnection);
    // A data folder the program cannot set up (an unreadable colour scheme, a
    // folder that cannot be written) ends start-up with the error report: the
    // program does not run on data it could not load.
    if (!window.StartUp())
        return 1;
    window.show();
    return app.exec();
}
