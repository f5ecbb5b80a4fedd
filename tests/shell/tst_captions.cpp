#include "diary/AppointmentStore.h"
#include "diary/ui/TfrmAppointment.h"
#include "foundation/ui/MsgBox.h"
#include "shell/ui/RunProgram.h"
#include "shell/ui/TfrmMain.h"
#include "support/NoTray.h"
#include "support/TestServices.h"
#include "tasks/Occasions.h"
#include "tasks/Tasks.h"
#include "tasks/ui/TfrmBirthAnn.h"
#include "tasks/ui/TfrmTaskMaint.h"

#include <QProcess>
#include <QtTest>

#include <functional>
#include <memory>

using namespace Qt::StringLiterals;

namespace {

using qm::test::NoTray;

// The caption a window carries for the window manager, as another program
// reads it off the display.
QString captionOnDisplay(const QWidget &window, const char *property) {
    QProcess xprop;
    xprop.start(u"xprop"_s,
                {u"-id"_s, QString::number(window.winId()), QString::fromLatin1(property)});
    if (!xprop.waitForFinished(10000))
        return u"(xprop did not answer)"_s;
    const QString line = QString::fromUtf8(xprop.readAllStandardOutput()).trimmed();
    const qsizetype start = line.indexOf(u"= \""_s);
    if (start < 0 || !line.endsWith(u'"'))
        return line;
    return line.mid(start + 3, line.size() - start - 4);
}

using WindowMaker = std::function<QWidget *(qm::AppointmentStore &)>;

} // namespace

// Every window is captioned exactly as its form says, on a real display with
// a window manager: nothing is appended for the desktop.
class TestCaptions : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void captionsOnTheDisplay_data();
    void captionsOnTheDisplay();
};

void TestCaptions::initTestCase() {
    if (QGuiApplication::platformName() != u"xcb"_s)
        QSKIP("needs an X display (run through run_under_x.sh)");
    // The application is named as the program names it.
    qm::NameApplication();
}

void TestCaptions::captionsOnTheDisplay_data() {
    QTest::addColumn<WindowMaker>("make");
    QTest::addColumn<QString>("caption");
    QTest::newRow("main window, diary page") << WindowMaker([](qm::AppointmentStore &) {
        auto *tray = new NoTray;
        auto *window = new qm::TfrmMain(tray);
        tray->setParent(window);
        window->StartUp();
        return window;
    }) << u"Quillmate - Diary & Task List"_s;
    QTest::newRow("appointment editor") << WindowMaker([](qm::AppointmentStore &store) {
        return new qm::TfrmAppointment(store, qm::EditMode::Add, -1);
    }) << u"Appointment"_s;
    QTest::newRow("task editor") << WindowMaker([](qm::AppointmentStore &) {
        static qm::TaskStore tasks;
        return new qm::TfrmTaskMaint(tasks, qm::EditMode::Add, -1, {});
    }) << u"Task"_s;
    QTest::newRow("occasion editor") << WindowMaker([](qm::AppointmentStore &) {
        static qm::OccasionStore occasions;
        return new qm::TfrmBirthAnn(occasions, qm::EditMode::Add, -1);
    }) << u"Birthday, Anniversary And Special Occassion"_s;
    QTest::newRow("message dialog") << WindowMaker([](qm::AppointmentStore &) {
        return new qm::TfrmMessageBox(u"Description Must Be Specified"_s, qm::MessageKind::Error,
                                      qm::MessageButtons::OK);
    }) << u"Quillmate"_s;
}

void TestCaptions::captionsOnTheDisplay() {
    QFETCH(WindowMaker, make);
    QFETCH(QString, caption);
    qm::test::TestServices services;
    qm::AppointmentStore store;
    std::unique_ptr<QWidget> window(make(store));
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    QCOMPARE(window->windowTitle(), caption);
    QCOMPARE(captionOnDisplay(*window, "_NET_WM_NAME"), caption);
    QCOMPARE(captionOnDisplay(*window, "WM_NAME"), caption);
}

QTEST_MAIN(TestCaptions)
#include "tst_captions.moc"
