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

QTEST_GUILESS_MAIN(TestSecondCopy)
#include "tst_secondcopy.moc"
