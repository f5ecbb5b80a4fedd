#include "support/TestServices.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

using namespace Qt::StringLiterals;
using qm::test::ReadBytes;
using qm::test::TestData;

// The program itself, copied into an empty folder and started there: it keeps
// its data beside its executable, so the housekeeping files appear in that
// folder, byte for byte, and the program keeps running with its window shown.
class TestFirstStart : public QObject {
    Q_OBJECT
private slots:
    void emptyFolderGetsHousekeepingFiles();
    void badColourSchemeIsReportedNotACrash();
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
    program.setProcessChannelMode(QProcess::ForwardedChannels);
    program.start(exe, {});
    QVERIFY(program.waitForStarted());
    QVERIFY(!program.waitForFinished(1500));
    QCOMPARE(program.state(), QProcess::Running);
    program.kill();
    program.waitForFinished();
    QVERIFY(!QFile::exists(folder.filePath(u"NextKey.Qmt"_s)));
    QCOMPARE(ReadBytes(folder.filePath(u"Colours.Qmt"_s)), colours);
}

QTEST_GUILESS_MAIN(TestFirstStart)
#include "tst_firststart.moc"
