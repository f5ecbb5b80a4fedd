// Entering each page of the main window over a large data set: 20,000
// appointments, 5,000 tasks, 2,000 occasions and 10,000 contacts. The
// program's own window is made and started over the data folder, then each
// menu button is clicked and the time taken until the window has finished
// painting what the click changed, which is what the user waits for. The
// first visit of each page (it makes its controls and reads its file) is
// measured once, later visits as medians, against a click in a bare window.
// A 2 MB note is re-opened as "Open Notes" asks, as a user's would be.
// Last, the diary's week view moves a week on and back by its buttons.
//
//   bench_pages [rounds [folder for pictures of the pages]]
//   (QT_QPA_PLATFORM=offscreen, or under xvfb-run)

#include "BenchData.h"
#include "BenchSupport.h"
#include "diary/ui/DiaryPage.h"
#include "foundation/AddressFile.h"
#include "foundation/LineFiles.h"
#include "foundation/RecordFile.h"
#include "foundation/Settings.h"
#include "foundation/SortedLines.h"
#include "foundation/ui/MsgBox.h"
#include "platform/StartWithSystem.h"
#include "platform/ui/DesktopShell.h"
#include "platform/ui/QtScreenMetrics.h"
#include "shell/ui/ProgramServices.h"
#include "shell/ui/TfrmMain.h"
#include "tasks/Occasions.h"
#include "tasks/Tasks.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QPushButton>
#include <QTest>
#include <QToolButton>

#include <cstdio>
#include <cstdlib>

using namespace Qt::StringLiterals;
using namespace bench;

namespace {

class NoStartWithSystem final : public qm::StartWithSystem {
public:
    bool isOn() const override { return false; }
    void setOn(bool) override {}
};

// Counts the paints of a window's widgets.
class PaintCounter : public QObject {
public:
    explicit PaintCounter(QWidget *window) : m_window(window) { qApp->installEventFilter(this); }
    int paints = 0;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override {
        if (event->type() == QEvent::Paint) {
            auto *widget = qobject_cast<QWidget *>(watched);
            if (widget && widget->window() == m_window)
                ++paints;
        }
        return QObject::eventFilter(watched, event);
    }

private:
    QWidget *m_window;
};

// Clicks the button and runs the event loop until the window has painted and
// a further round brings no more paints; milliseconds from the click.
double ClickToPainted(QWidget *button, PaintCounter &counter) {
    counter.paints = 0;
    QElapsedTimer timer;
    timer.start();
    QTest::mouseClick(button, Qt::LeftButton);
    // The click may already have painted (a window that repaints at once).
    double painted = counter.paints > 0 ? timer.nsecsElapsed() / 1e6 : -1;
    for (int idle = 0; idle < 3 && timer.elapsed() < 10000;) {
        const int before = counter.paints;
        QCoreApplication::processEvents(QEventLoop::AllEvents);
        QCoreApplication::sendPostedEvents();
        if (counter.paints != before) {
            painted = timer.nsecsElapsed() / 1e6;
            idle = 0;
        } else if (counter.paints > 0) {
            ++idle;
        }
    }
    return painted;
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

} // namespace

int main(int argc, char **argv) {
    QApplication app(argc, argv);
    const int rounds = argc >= 2 ? std::max(1, std::atoi(argv[1])) : 15;
    QTemporaryDir folder;
    qm::SystemClock clock;
    MemorySettings settings;
    qm::QtScreenMetrics screen;
    qm::StandardPrompter prompter;
    qm::DesktopShell shell;
    NoStartWithSystem startWithSystem;
    qm::Services services;
    services.clock = &clock;
    services.settings = &settings;
    services.screen = &screen;
    services.prompter = &prompter;
    services.shell = &shell;
    services.startWithSystem = &startWithSystem;
    services.dataFolder = folder.path() + u"/"_s;
    qm::ServicesScope scope(services);
    qm::PrepareApplication();

    qm::WriteRecordFile(qm::dataFile(qm::DiaryFileName), diaryLines(20000));
    qm::SaveTasksFile(taskLines(5000), false);
    qm::SaveBirthdayFile(occasionLines(2000));
    qm::WriteRecordFile(qm::dataFile(qm::AddressFileName), contactLines(10000));
    qm::Settings(settings).setShowWelcome(false);
    // A note of about 2 MB, opened again at start-up as "Open Notes" asks.
    const QString note = folder.path() + u"/large.Qmn"_s;
    {
        QByteArray rtf = "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0 Arial;}}\\f0\\fs20 ";
        while (rtf.size() < 2'000'000)
            rtf += "Notes from the meeting about the spring timetable, with the "
                   "names of everyone who came and what each of them said.\\par\r\n";
        rtf += "}";
        QFile file(note);
        if (!file.open(QIODevice::WriteOnly) || file.write(rtf) != rtf.size())
            qFatal("cannot write the note");
    }
    qm::Settings(settings).setOpenNotes(true);
    qm::Settings(settings).setLastNoteFile(note);

    // The floor: a click on a button of a bare window that repaints it.
    QWidget bare;
    bare.setFixedSize(qm::TfrmMain::ClientWidth, qm::TfrmMain::ClientHeight);
    auto *button = new QPushButton(u"Click"_s, &bare);
    QObject::connect(button, &QPushButton::clicked, &bare, [&bare] { bare.update(); });
    bare.show();
    if (!QTest::qWaitForWindowExposed(&bare))
        qFatal("the bare window was not shown");
    PaintCounter bareCounter(&bare);
    std::vector<double> floor;
    for (int i = 0; i < rounds; ++i)
        floor.push_back(ClickToPainted(button, bareCounter));
    bare.hide();

    qm::TfrmMain window;
    PaintCounter counter(&window);
    QElapsedTimer started;
    started.start();
    window.show();
    while (counter.paints == 0 && started.elapsed() < 20000)
        QCoreApplication::processEvents();
    const double startMs = started.nsecsElapsed() / 1e6;
    if (!QTest::qWaitForWindowExposed(&window))
        qFatal("the main window was not shown");
    QCoreApplication::processEvents();

    const char *const names[] = {"Diary", "Notes", "Alarms", "Calculator", "Address", "Config"};
    auto buttonOf = [&](int row) {
        return window.findChild<QToolButton *>(u"spd"_s + QString::fromLatin1(names[row]));
    };
    // The window starts on the diary: leave it first, so its first visit is
    // measured with the rest.
    double first[6] = {};
    first[0] = -1;
    for (int row = 1; row < 6; ++row) {
        first[row] = ClickToPainted(buttonOf(row), counter);
        // What a page leaves to do later (the layout of a long note) is not
        // charged to the next page.
        QTest::qWait(500);
    }
    std::vector<double> later[6];
    for (int i = 0; i < rounds; ++i)
        for (int row = 0; row < 6; ++row)
            later[row].push_back(ClickToPainted(buttonOf(row), counter));

    // On the diary's week view, in the middle of the appointments: the next
    // and the previous week, by their buttons.
    ClickToPainted(buttonOf(0), counter);
    auto *diary = window.findChild<qm::DiaryPage *>();
    ClickToPainted(window.findChild<QToolButton *>(u"spdWeekly"_s), counter);
    diary->showPeriodOf(QDate(2023, 6, 14));
    QCoreApplication::processEvents();

    std::vector<double> weeks[2];
    for (int i = 0; i < rounds; ++i)
        for (int way = 0; way < 2; ++way)
            weeks[way].push_back(ClickToPainted(
                window.findChild<QToolButton *>(way == 0 ? u"spdNext"_s : u"spdPrevious"_s),
                counter));

    // With a folder named, each page as it was painted, to look at.
    if (argc >= 3) {
        for (int row = 0; row < 6; ++row) {
            ClickToPainted(buttonOf(row == 0 ? 1 : 0), counter);
            ClickToPainted(buttonOf(row), counter);
            window.grab().save(QString::fromLocal8Bit(argv[2]) + u"/"_s +
                               QString::fromLatin1(names[row]) + u".png"_s);
        }
    }

    const double b = Median(floor);
    std::printf("Click on a menu button to the finished paint, 20,000 appointments, 5,000 "
                "tasks, 2,000 occasions, 10,000 contacts; median of %d rounds\n",
                rounds);
    std::printf("  %-24s %8.2f ms\n", "bare window, a click", b);
    std::printf("  %-24s %8.2f ms   (show to the first paint, on the diary)\n", "start-up",
                startMs);
    for (int row = 0; row < 6; ++row) {
        if (first[row] < 0)
            std::printf("  %-24s %8s      later %8.2f ms\n", names[row], "(start)",
                        Median(later[row]));
        else
            std::printf("  %-24s first %8.2f ms   later %8.2f ms\n", names[row], first[row],
                        Median(later[row]));
    }
    std::printf("  %-24s       %8.2f ms   previous %8.2f ms\n", "Diary, next week",
                Median(weeks[0]), Median(weeks[1]));
    return 0;
}
