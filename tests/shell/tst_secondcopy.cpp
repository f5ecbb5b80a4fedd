#include "foundation/ui/MsgBox.h"
#include "platform/ui/SingleInstance.h"
#include "shell/ui/SingleInstanceGuard.h"
#include "support/TestServices.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

using namespace Qt::StringLiterals;

// Two starts of the program: the second tells the user the program is already
// running, brings the first forward and ends; the first keeps running.
class TestSecondCopy : public QObject {
    Q_OBJECT
private slots:
    void secondStartPointsToTheRunningCopy();
    void lockLeftOnAnotherComputer_data();
    void lockLeftOnAnotherComputer();
};

void TestSecondCopy::secondStartPointsToTheRunningCopy() {
    const QString helper = QStringLiteral(QM_TEST_BINARY_DIR "/helper_secondcopy");
    QVERIFY2(QFile::exists(helper), "build the helper_secondcopy target first");
    QTemporaryDir folder;
    const QStringList args = {u"SecondCopyTest"_s, folder.path()};

    QProcess first;
    first.start(helper, args);
    QVERIFY(first.waitForStarted());
    QByteArray firstOut;
    QTRY_VERIFY_WITH_TIMEOUT((firstOut += first.readAllStandardOutput()).contains("first\n"),
                             20000);

    QProcess second;
    second.start(helper, args);
    QVERIFY(second.waitForFinished(20000));
    QCOMPARE(second.exitCode(), 0);
    QCOMPARE(second.readAllStandardOutput(), "message: Quillmate Is Already Running\n"_ba);

    QTRY_VERIFY_WITH_TIMEOUT((firstOut += first.readAllStandardOutput()).contains("activated\n"),
                             20000);
    // Asked forward, the helper ends; the test waits without racing its exit.
    QTRY_COMPARE_WITH_TIMEOUT(first.state(), QProcess::NotRunning, 20000);
    QCOMPARE(first.exitStatus(), QProcess::NormalExit);
    QCOMPARE(first.exitCode(), 0);
}

void TestSecondCopy::lockLeftOnAnotherComputer_data() {
    using namespace qm;
    QTest::addColumn<int>("ageMinutes"); // of the lock, by this computer's clock
    QTest::addColumn<int>("answer");     // to the question, when there is one
    QTest::addColumn<int>("kind");       // of the one message shown
    QTest::addColumn<bool>("starts");
    QTest::newRow("old, removed") << 60 << MessageResult::Yes << MessageKind::Confirmation << true;
    QTest::newRow("old, kept") << 60 << MessageResult::No << MessageKind::Confirmation << false;
    QTest::newRow("young: maybe running there") << 2 << -1 << MessageKind::Warning << false;
    QTest::newRow("ahead of this clock") << -60 << -1 << MessageKind::Warning << false;
}

// A data folder on a stick or a share, locked by a copy on another computer:
// this computer cannot see whether it still runs. An old lock is removed when
// the user says so; otherwise the user learns which file it is, and the
// program is never simply "already running" for ever.
void TestSecondCopy::lockLeftOnAnotherComputer() {
    QFETCH(int, ageMinutes);
    QFETCH(int, answer);
    QFETCH(int, kind);
    QFETCH(bool, starts);
    qm::test::TestServices services;
    QTemporaryDir runtime;
    const QString lockPath = services.path(u"ForeignLockTest.lock"_s);
    // As another computer's copy writes it: pid, program, host, machine id, boot id.
    const QByteArray foreign = "4242\nquillmate\nfar-away-host\n"
                               "0123456789abcdef0123456789abcdef\nfeedface\n";
    qm::test::WriteBytes(lockPath, foreign);
    QFile lock(lockPath);
    QVERIFY(lock.open(QIODevice::ReadWrite));
    QVERIFY(lock.setFileTime(services.clock.now().addSecs(-60 * ageMinutes),
                             QFileDevice::FileModificationTime));
    lock.close();
    if (answer >= 0)
        services.prompter.answers = {answer};

    qm::SingleInstance instance(u"ForeignLockTest"_s, runtime.path(), services.dir.path());
    QCOMPARE(qm::PassSingleInstanceGuard(instance), starts);
    QVERIFY(services.prompter.systemMessages.isEmpty());
    QCOMPARE(services.prompter.messages.size(), 1);
    const auto &message = services.prompter.messages[0];
    QCOMPARE(message.kind, kind);
    QVERIFY2(message.text.contains(u"\"far-away-host\""_s), qPrintable(message.text));
    QVERIFY2(message.text.contains(QDir::toNativeSeparators(lockPath)), qPrintable(message.text));
    if (kind == qm::MessageKind::Confirmation)
        QCOMPARE(message.defaultResult, qm::MessageResult::No);
    if (starts)
        QVERIFY(qm::test::ReadBytes(lockPath).startsWith(
            QByteArray::number(QCoreApplication::applicationPid()) + '\n'));
    else
        QCOMPARE(qm::test::ReadBytes(lockPath), foreign);
}

QTEST_GUILESS_MAIN(TestSecondCopy)
#include "tst_secondcopy.moc"
