#include "support/SmallDisk.h"
#include "support/TestServices.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

using namespace Qt::StringLiterals;
using qm::test::ReadBytes;
using qm::test::TestData;

namespace {

// Starts the program and sees it still running a while later, as it does
// when it waits in a message nobody answers (offscreen); then ends it.
bool waitsInAMessage(QProcess &program, const QString &exe) {
    program.setProcessChannelMode(QProcess::ForwardedChannels);
    program.start(exe, {});
    const bool waiting = program.waitForStarted() && !program.waitForFinished(1500) &&
                         program.state() == QProcess::Running;
    program.kill();
    program.waitForFinished();
    return waiting;
}

} // namespace

// The program itself, copied into an empty folder and started there: it keeps
// its data beside its executable, so the housekeeping files appear in that
// folder, byte for byte, and the program keeps running with its window shown.
class TestFirstStart : public QObject {
    Q_OBJECT
private slots:
    void emptyFolderGetsHousekeepingFiles();
    void badColourSchemeIsReportedNotACrash();
    void readOnlyDataIsNotSwappedForAnEmptyFolder();
};

void TestFirstStart::emptyFolderGetsHousekeepingFiles() {
    QTemporaryDir folder;
    const QString exe = folder.filePath(u"quillmate"_s);
    QVERIFY(QFile::copy(QString::fromUtf8(QM_APP_EXE), exe));

    QProcess program;
    program.setProcessChannelMode(QProcess::ForwardedChannels);
    program.setWorkingDirectory(QDir::tempPath()); // not the data folder
    program.start(exe, {});
    QVERIFY(program.waitForStarted());
    const QString colours = folder.filePath(u"Colours.Qmt"_s);
    const QString nextKey = folder.filePath(u"NextKey.Qmt"_s);
    const QString dateLog = folder.filePath(u"DateLog.Qmt"_s);
    QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(dateLog), 20000);
    // Still running: the window is up and the event loop turns.
    QVERIFY(!program.waitForFinished(300));
    QCOMPARE(program.state(), QProcess::Running);
    program.kill();
    program.waitForFinished();

    QCOMPARE(ReadBytes(colours), TestData(u"colours/Classic.Qmt"_s));
    QCOMPARE(ReadBytes(nextKey), TestData(u"startup/NextKey.Qmt"_s));
    // The date shown in the footer leaves its trace after the first line.
    const QByteArray log = ReadBytes(dateLog);
    QVERIFY2(log.startsWith(TestData(u"startup/DateLog.Qmt"_s)), log.constData());
}

// A colour line that is not a number stops start-up at the error report: the
// program waits in its Error dialog instead of crashing, and goes no further.
void TestFirstStart::badColourSchemeIsReportedNotACrash() {
    QTemporaryDir folder;
    const QString exe = folder.filePath(u"quillmate"_s);
    QVERIFY(QFile::copy(QString::fromUtf8(QM_APP_EXE), exe));
    QByteArray colours = TestData(u"colours/Classic.Qmt"_s);
    colours.replace("16777215", "white");
    qm::test::WriteBytes(folder.filePath(u"Colours.Qmt"_s), colours);

    QProcess program;
    QVERIFY(waitsInAMessage(program, exe));
    QVERIFY(!QFile::exists(folder.filePath(u"NextKey.Qmt"_s)));
    QCOMPARE(ReadBytes(folder.filePath(u"Colours.Qmt"_s)), colours);
}

// The program and its diary on a read-only disk: it says so and goes no
// further (it waits in its message), instead of starting an empty organiser
// in the per-user folder.
void TestFirstStart::readOnlyDataIsNotSwappedForAnEmptyFolder() {
    qm::test::SmallDisk disk(u"256m"_s);
    if (!disk.mounted())
        QSKIP(qPrintable(disk.problem()));
    const QString exe = disk.folder() + u"quillmate"_s;
    QVERIFY(QFile::copy(QString::fromUtf8(QM_APP_EXE), exe));
    const QByteArray diary = "20240315\xff"
                             "09:00\xff"
                             "10:00\xff"
                             "Dentist\xff"
                             "0\xff"
                             "N\r\n";
    qm::test::WriteBytes(disk.folder() + u"Diary.Qmt"_s, diary);
    QVERIFY(disk.makeReadOnly());

    QTemporaryDir home;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(u"XDG_DATA_HOME"_s, home.filePath(u"data"_s));
    environment.insert(u"XDG_CONFIG_HOME"_s, home.filePath(u"config"_s));
    environment.insert(u"XDG_RUNTIME_DIR"_s, home.path());
    QProcess program;
    program.setProcessEnvironment(environment);
    QVERIFY(waitsInAMessage(program, exe));
    QVERIFY2(!QDir(home.filePath(u"data"_s)).exists(), "a per-user data folder was set up");
    QCOMPARE(ReadBytes(disk.folder() + u"Diary.Qmt"_s), diary);
}

QTEST_GUILESS_MAIN(TestFirstStart)
#include "tst_firststart.moc"
