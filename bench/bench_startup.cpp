// Start-up time: from the exec of a new process to the first paint of its
// main window. The program runs its own start (RunProgram, as main() does)
// over a data folder of the bench's; a bare Qt Widgets window of the same
// size, in the same binary, is the floor. The runs alternate round by round,
// so a change in the machine's load falls on all of them alike. Then the CPU
// the idle program uses between timer ticks.
//
// The program's start is measured to its interactive main window without the
// splash screen, which the program holds for a fixed 2.6 seconds of doing
// nothing (with no hold, no splash is shown), and with the welcome screen,
// which waits for the user, switched off in the bench's settings. What the
// user sees first, the splash screen's first paint, is measured on its own.
//
//   bench_startup [rounds]     (run it on a display, e.g. under xvfb-run)

#include "BenchSupport.h"
#include "foundation/LineFiles.h"
#include "foundation/RecordFile.h"
#include "platform/AppPaths.h"
#include "shell/ui/RunProgram.h"
#include "shell/ui/TfrmMain.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>
#include <QWidget>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <sys/resource.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {

// Nanoseconds on the monotonic clock, which all processes of the machine share.
qint64 MonotonicNs() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return qint64(now.tv_sec) * 1000000000 + now.tv_nsec;
}

double CpuMs() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return (usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) * 1000.0 +
           (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1000.0;
}

// At the window's first paint, prints the moment ("painted <ns>"); with
// stayMs, then stays idle that long and reports the CPU it used.
class PaintReporter : public QObject {
public:
    PaintReporter(QWidget *window, int stayMs) : QObject(window), m_stayMs(stayMs) {
        window->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override {
        if (event->type() == QEvent::Paint && !m_painted) {
            m_painted = true;
            std::printf("painted %lld\n", static_cast<long long>(MonotonicNs()));
            std::fflush(stdout);
            QTimer::singleShot(0, this, [this] { idle(); });
        }
        return QObject::eventFilter(watched, event);
    }

private:
    // Ends the way a closed program ends, releasing its locks, so every start
    // is measured as a user would see it after the last one closed.
    void idle() {
        if (m_stayMs == 0) {
            QCoreApplication::exit(0);
            return;
        }
        const double before = CpuMs();
        QTimer::singleShot(m_stayMs, this, [before] {
            std::printf("cpu %.2f\n", CpuMs() - before);
            std::fflush(stdout);
            QCoreApplication::exit(0);
        });
    }

    int m_stayMs;
    bool m_painted = false;
};

// The program installed in the bench's folder: its data folder is that folder.
class BenchPaths final : public qm::AppPaths {
public:
    explicit BenchPaths(QString folder) : m_folder(std::move(folder)) {}
    QString executablePath() const override { return m_folder + u"/quillmate"_s; }
    QString perUserDataFolder() const override { return m_folder + u"/per-user"_s; }
    bool isWritableFolder(const QString &folder) const override {
        return m_system.isWritableFolder(folder);
    }

private:
    QString m_folder;
    qm::SystemAppPaths m_system;
};

int RunBare(int argc, char **argv) {
    QApplication app(argc, argv);
    QWidget window;
    window.setFixedSize(qm::TfrmMain::ClientWidth, qm::TfrmMain::ClientHeight);
    new PaintReporter(&window, 0);
    window.show();
    return app.exec();
}

// Ends the program at the first paint of its splash screen, printing the
// moment; the program is still in its start-up then, so it cannot end the
// usual way.
class SplashPaintReporter : public QObject {
protected:
    bool eventFilter(QObject *watched, QEvent *event) override {
        auto *widget = qobject_cast<QWidget *>(watched);
        if (event->type() == QEvent::Paint && widget &&
            widget->window()->objectName() == u"frmSplash"_s) {
            std::printf("painted %lld\n", static_cast<long long>(MonotonicNs()));
            std::fflush(stdout);
            std::_Exit(0);
        }
        return QObject::eventFilter(watched, event);
    }
};

int RunQuillmate(int argc, char **argv, const QString &folder, int stayMs) {
    const BenchPaths paths(folder);
    qm::ProgramHooks hooks;
    hooks.paths = &paths;
    hooks.windowCreated = [stayMs](qm::TfrmMain &window) { new PaintReporter(&window, stayMs); };
    hooks.splashHold = 0;
    return qm::RunProgram(argc, argv, hooks);
}

int RunToSplash(int argc, char **argv, const QString &folder) {
    const BenchPaths paths(folder);
    qm::ProgramHooks hooks;
    hooks.paths = &paths;
    hooks.windowCreated = [](qm::TfrmMain &) { qApp->installEventFilter(new SplashPaintReporter); };
    return qm::RunProgram(argc, argv, hooks);
}

struct Run {
    double startMs = 0;
    double idleCpuMs = -1;
};

// The rest of the child's line that starts with marker.
QByteArray ReadLine(QProcess &child, QByteArray &out, const QByteArray &marker, int timeoutMs) {
    for (;;) {
        const qsizetype at = out.indexOf(marker);
        const qsizetype end = at < 0 ? -1 : out.indexOf('\n', at);
        if (end >= 0)
            return out.mid(at + marker.size(), end - at - marker.size());
        if (!child.waitForReadyRead(timeoutMs))
            qFatal("no \"%s\" from the child", marker.constData());
        out += child.readAllStandardOutput();
    }
}

// One start, exec to first paint.
Run Measure(const QString &mode, const QString &folder, int stayMs) {
    QProcess child;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    // Nothing of the user's: settings and runtime files go to the bench folder.
    env.insert(u"XDG_CONFIG_HOME"_s, folder + u"/config"_s);
    env.insert(u"XDG_DATA_HOME"_s, folder + u"/per-user"_s);
    env.insert(u"XDG_RUNTIME_DIR"_s, folder + u"/run"_s);
    child.setProcessEnvironment(env);
    QDir(folder).mkpath(u"run"_s);
    QDir(folder).mkpath(u"config/Varnell"_s);
    if (QFile settings(folder + u"/config/Varnell/Quillmate.conf"_s);
        !settings.exists() && settings.open(QIODevice::WriteOnly))
        settings.write("[General]\nShow%20Welcome=0\n");
    QFile::setPermissions(folder + u"/run"_s,
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    const qint64 started = MonotonicNs();
    child.start(QCoreApplication::applicationFilePath(), {mode, folder, QString::number(stayMs)});
    QByteArray out;
    Run run;
    run.startMs = (ReadLine(child, out, "painted ", 20000).toLongLong() - started) / 1e6;
    if (stayMs > 0)
        run.idleCpuMs = ReadLine(child, out, "cpu ", stayMs + 20000).toDouble();
    child.waitForFinished();
    return run;
}

double Median(QList<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// A data folder with a diary of count appointments (and the program's other
// files, from one start of its own).
void PrepareFolder(const QString &folder, int appointments) {
    if (appointments > 0)
        qm::WriteRecordFile(folder + u"/"_s + qm::DiaryFileName, bench::diaryLines(appointments));
    Measure(u"program"_s, folder, 0);
}

} // namespace

int main(int argc, char **argv) {
    if (argc >= 2 && argv[1] == QByteArray("bare"))
        return RunBare(argc, argv);
    if (argc >= 3 && argv[1] == QByteArray("splash"))
        return RunToSplash(argc, argv, QString::fromLocal8Bit(argv[2]));
    if (argc >= 4 && argv[1] == QByteArray("program"))
        return RunQuillmate(argc, argv, QString::fromLocal8Bit(argv[2]), std::atoi(argv[3]));

    QCoreApplication app(argc, argv);
    const int rounds = argc >= 2 ? std::max(1, std::atoi(argv[1])) : 15;
    QTemporaryDir bareFolder, large;
    PrepareFolder(large.path(), 20000);
    QList<double> bare, fresh, again, big, splash;
    for (int i = 0; i < rounds; ++i) {
        bare.append(Measure(u"bare"_s, bareFolder.path(), 0).startMs);
        // A new data folder: the program's very first start creates its files.
        QTemporaryDir empty;
        fresh.append(Measure(u"program"_s, empty.path(), 0).startMs);
        // The same folder again: the files are read, not made.
        again.append(Measure(u"program"_s, empty.path(), 0).startMs);
        big.append(Measure(u"program"_s, large.path(), 0).startMs);
        QTemporaryDir shown;
        splash.append(Measure(u"splash"_s, shown.path(), 0).startMs);
    }
    QTemporaryDir idleFolder;
    const Run idle = Measure(u"program"_s, idleFolder.path(), 10000);
    const double b = Median(bare);
    const auto line = [b](const char *what, double ms) {
        std::printf("  %-44s %7.1f ms  (%.2fx)\n", what, ms, ms / b);
    };
    std::printf("exec to first paint of the window, median of %d rounds:\n", rounds);
    line("bare Qt Widgets window 576x457", b);
    line("Quillmate, first start in an empty folder", Median(fresh));
    line("Quillmate, second start", Median(again));
    line("Quillmate, 20,000 appointments", Median(big));
    std::printf("exec to first paint of the splash screen (what the user sees first):\n");
    line("Quillmate, first start in an empty folder", Median(splash));
    std::printf("CPU used while idle for 10 s after start-up: %.2f ms\n", idle.idleCpuMs);
    return 0;
}
