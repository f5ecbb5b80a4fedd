// Start-up time: from process start to the main window shown and the event
// loop idle, against a bare window of the same size; then the CPU the idle
// program uses between timer ticks.
//
//   bench_startup [runs]     (run it on a display, e.g. under xvfb-run)

#include "foundation/Program.h"
#include "foundation/ui/ErrorReport.h"
#include "platform/ui/SingleInstance.h"
#include "shell/ui/ProgramServices.h"
#include "shell/ui/TfrmMain.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>
#include <QWidget>

#include <algorithm>
#include <cstdio>
#include <sys/resource.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {

double CpuMs() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return (usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) * 1000.0 +
           (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1000.0;
}

// After the window's first paint, once the event loop has nothing left to do,
// says "idle"; with stayMs, then reports the CPU used while idling that long.
class IdleReporter : public QObject {
public:
    IdleReporter(QWidget *window, int stayMs) : m_stayMs(stayMs) {
        window->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override {
        if (event->type() == QEvent::Paint && !m_painted) {
            m_painted = true;
            QTimer::singleShot(0, this, [this] { idle(); });
        }
        return QObject::eventFilter(watched, event);
    }

private:
    void idle() {
        std::printf("idle\n");
        std::fflush(stdout);
        if (m_stayMs == 0)
            _exit(0);
        const double before = CpuMs();
        QTimer::singleShot(m_stayMs, this, [before] {
            std::printf("cpu %.2f\n", CpuMs() - before);
            std::fflush(stdout);
            _exit(0);
        });
    }

    int m_stayMs;
    bool m_painted = false;
};

int RunBare(int argc, char **argv) {
    QApplication app(argc, argv);
    QWidget window;
    window.setFixedSize(576, 457);
    IdleReporter reporter(&window, 0);
    window.show();
    return app.exec();
}

// The program's own start-up path, over a data folder of the bench's.
int RunProgram(int argc, char **argv, const QString &dataFolder, int stayMs) {
    qm::QuillmateApplication app(argc, argv);
    QApplication::setApplicationName(qm::ProgramTitle());
    QApplication::setQuitOnLastWindowClosed(false);
    qm::ProgramServices services(dataFolder + u'/');
    qm::SingleInstance instance(u"QuillmateBench"_s, dataFolder, dataFolder);
    if (!instance.tryAcquire())
        return 2;
    qm::PrepareApplication();
    qm::TfrmMain window;
    IdleReporter reporter(&window, stayMs);
    if (!window.StartUp())
        return 1;
    window.show();
    return app.exec();
}

struct Run {
    double startMs = 0;
    double idleCpuMs = -1;
};

Run Measure(const QString &mode, const QString &folder, int stayMs) {
    QProcess child;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    // Nothing of the user's: settings and runtime files go to the bench folder.
    env.insert(u"XDG_CONFIG_HOME"_s, folder + u"/config"_s);
    env.insert(u"XDG_RUNTIME_DIR"_s, folder);
    child.setProcessEnvironment(env);
    QElapsedTimer timer;
    timer.start();
    child.start(QCoreApplication::applicationFilePath(), {mode, folder, QString::number(stayMs)});
    Run run;
    QByteArray out;
    while (!out.contains("idle\n")) {
        if (!child.waitForReadyRead(20000))
            qFatal("the %s run never became idle", qPrintable(mode));
        out += child.readAllStandardOutput();
    }
    run.startMs = timer.nsecsElapsed() / 1e6;
    if (stayMs > 0) {
        while (!out.contains("cpu ")) {
            if (!child.waitForReadyRead(stayMs + 20000))
                qFatal("no CPU figure");
            out += child.readAllStandardOutput();
        }
        child.waitForFinished();
        out += child.readAllStandardOutput();
        const QByteArray tail = out.mid(out.indexOf("cpu ") + 4).trimmed();
        run.idleCpuMs = tail.toDouble();
    }
    child.waitForFinished();
    return run;
}

double Median(QList<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

} // namespace

int main(int argc, char **argv) {
    if (argc >= 2 && argv[1] == QByteArray("bare"))
        return RunBare(argc, argv);
    if (argc >= 4 && argv[1] == QByteArray("program"))
        return RunProgram(argc, argv, QString::fromLocal8Bit(argv[2]), std::atoi(argv[3]));

    QCoreApplication app(argc, argv);
    const int runs = argc >= 2 ? std::max(1, std::atoi(argv[1])) : 15;
    QList<double> bare, program;
    for (int i = 0; i < runs; ++i) {
        // A fresh data folder each time: the program's first start creates
        // its files, later ones read them; both are measured.
        QTemporaryDir folder;
        bare.append(Measure(u"bare"_s, folder.path(), 0).startMs);
        program.append(Measure(u"program"_s, folder.path(), 0).startMs);
        program.append(Measure(u"program"_s, folder.path(), 0).startMs);
    }
    QTemporaryDir folder;
    const Run idle = Measure(u"program"_s, folder.path(), 10000);
    const double b = Median(bare), p = Median(program);
    std::printf("start-up to idle window, median of %d runs:\n", runs);
    std::printf("  bare Qt Widgets window 576x457: %8.1f ms\n", b);
    std::printf("  Quillmate main window:          %8.1f ms  (%.2fx)\n", p, p / b);
    std::printf("CPU used while idle for 10 s after start-up: %.2f ms\n", idle.idleCpuMs);
    return 0;
}
