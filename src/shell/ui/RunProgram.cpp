#include "shell/ui/RunProgram.h"

#include "exchange/CommandLine.h"

#include "foundation/DataFolder.h"
#include "foundation/Program.h"
#include "foundation/ui/ErrorReport.h"
#include "foundation/ui/MsgBox.h"
#include "platform/AppPaths.h"
#include "platform/Clock.h"
#include "platform/ui/KeychainSecretStore.h"
#include "platform/ui/SingleInstance.h"
#include "shell/StartUpRules.h"
#include "shell/ui/ProgramServices.h"
#include "shell/ui/SingleInstanceGuard.h"
#include "shell/ui/TfrmMain.h"

#include <QLockFile>
#include <QTextStream>
#include <QTimeZone>

namespace qm {

void NameApplication() {
    QApplication::setApplicationName(ProgramTitle());
    // Lets the desktop match the windows to the program's menu entry.
    QGuiApplication::setDesktopFileName(DesktopAppId);
    // The program ends when its main window closes, not when the last visible
    // window does: while it waits in the tray, a closing message must not end it.
    QApplication::setQuitOnLastWindowClosed(false);
}

bool AcceptDataFolder(const DataFolderChoice &choice) {
    if (!choice.cannotWrite)
        return true;
    ShowMessageBox(UnwritableDataFolderMessage(choice.folder), MessageKind::Error,
                   MessageButtons::OK);
    return false;
}

int RunCommandLine(int argc, char **argv, const ExchangeCommand &command, const AppPaths &paths) {
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    QTextStream err(stderr);
    const DataFolderChoice data = ResolveDataFolder(paths);
    if (data.cannotWrite && command.action == ExchangeCommand::Action::Import) {
        err << UnwritableDataFolderMessage(data.folder).replace(u'\r', u'\n') << Qt::endl;
        return ExitFailed;
    }
    // Held until the command ends, so the window cannot start over the data
    // while an import writes to it.
    std::unique_ptr<QLockFile> lock;
    ExchangeContext context;
    context.folder = data.folder;
    context.local = QTimeZone::systemTimeZone();
    context.now = SystemClock().now();
    context.organiserRunning = !SingleInstance::lockDataFolder(ProgramTitle(), data.folder, lock);
    return RunExchangeCommand(command, context, out, err);
}

int RunProgram(int argc, char **argv, const ProgramHooks &hooks) {
    const SystemAppPaths systemPaths;
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments.append(QString::fromLocal8Bit(argv[i]));
    const ExchangeCommand command = ParseExchangeCommand(arguments);
    if (command.action != ExchangeCommand::Action::None)
        return RunCommandLine(argc, argv, command, hooks.paths ? *hooks.paths : systemPaths);

    QuillmateApplication app(argc, argv);
    NameApplication();

    const DataFolderChoice data = ResolveDataFolder(hooks.paths ? *hooks.paths : systemPaths);
    ProgramServices services(data.folder);
    // The sync password lives in the system's secret store.
    KeychainSecretStore secrets(ProgramTitle());
    Services withSecrets = qm::services();
    withSecrets.secrets = &secrets;
    const ServicesScope secretsScope(withSecrets);
    PrepareApplication();
    if (!AcceptDataFolder(data))
        return 1;

    // One copy at a time: a second start points the user to the running one.
    SingleInstance instance(ProgramTitle(), {}, data.folder);
    if (!PassSingleInstanceGuard(instance))
        return 0;

    TfrmMain window;
    window.SplashHold = hooks.splashHold;
    QObject::connect(&instance, &SingleInstance::activationRequested, &window,
                     &TfrmMain::bringForward);
    QObject::connect(&window, &TfrmMain::closed, &app, &QApplication::quit, Qt::QueuedConnection);
    if (hooks.windowCreated)
        hooks.windowCreated(window);
    // A data folder the program cannot set up (an unreadable colour scheme, a
    // folder that cannot be written) ends start-up with the error report: the
    // program does not run on data it could not load.
    if (!window.StartUp())
        return 1;
    window.show();
    return app.exec();
}

} // namespace qm
