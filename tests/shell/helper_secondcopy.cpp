// One copy of the program's start as far as the single-instance guard:
//   helper_secondcopy <name> <folder>
// The first copy prints "first" and waits to be asked forward ("activated").
// A later copy prints the system message it showed and ends.
#include "platform/ui/SingleInstance.h"
#include "shell/ui/SingleInstanceGuard.h"
#include "support/TestServices.h"

#include <QApplication>
#include <QTimer>

#include <cstdio>

int main(int argc, char **argv) {
    QApplication app(argc, argv);
    if (argc < 3)
        return 2;
    qm::test::TestServices services;
    qm::SingleInstance instance(QString::fromLocal8Bit(argv[1]), QString::fromLocal8Bit(argv[2]));
    if (!qm::PassSingleInstanceGuard(instance)) {
        for (const QString &message : services.prompter.systemMessages)
            std::printf("message: %s\n", qPrintable(message));
        return 0;
    }
    QObject::connect(&instance, &qm::SingleInstance::activationRequested, &app, [] {
        std::printf("activated\n");
        std::fflush(stdout);
        QTimer::singleShot(0, qApp, &QCoreApplication::quit);
    });
    std::printf("first\n");
    std::fflush(stdout);
    QTimer::singleShot(60000, &app, &QCoreApplication::quit);
    return app.exec();
}
