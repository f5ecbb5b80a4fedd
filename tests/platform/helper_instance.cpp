// A copy of the program as far as the single-instance guard is concerned.
//   helper_instance <name> <folder> <mode> [<data folder>]
// An empty folder means the guard's own choice of a private folder.
// Tries to become the running copy. When it is, it prints "acquired" and then,
// by mode: "run" serves requests until killed, printing "activated" for each;
// "once" ends normally after the first request; "stall" blocks without an
// event loop until its input closes (a copy that is alive but not answering).
// When another copy runs, it prints "busy" and then "forwarded" or
// "unanswered" after asking that copy to come forward.
#include "platform/ui/SingleInstance.h"

#include <QCoreApplication>
#include <QStringList>

#include <cstdio>

using namespace Qt::StringLiterals;

static void say(const char *line) {
    std::fputs(line, stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

int main(int argc, char **argv) {
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 4 || args.size() > 5) {
        std::fputs("usage: helper_instance <name> <folder> run|once|stall [<data folder>]\n",
                   stderr);
        return 2;
    }
    const QString mode = args.at(3);
    qm::SingleInstance instance(args.at(1), args.at(2), args.value(4));
    if (!instance.tryAcquire()) {
        say("busy");
        say(instance.activateRunning() ? "forwarded" : "unanswered");
        return 0;
    }
    say("acquired");
    if (mode == u"stall"_s) {
        while (std::fgetc(stdin) != EOF) {
        }
        return 0;
    }
    QObject::connect(&instance, &qm::SingleInstance::activationRequested, &app, [&] {
        say("activated");
        if (mode == u"once"_s)
            QCoreApplication::quit();
    });
    return app.exec();
}
