#include "platform/ui/SingleInstance.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLockFile>
#include <QProcess>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {

// Helper processes start slowly under the sanitizers; nothing here waits this
// long unless something is broken.
constexpr int ProcessTimeoutMs = 30000;

// Pipe names are machine-wide on some systems, so every test gets its own name.
QString uniqueName() {
    static int counter = 0;
    return u"QmTest-%1-%2"_s.arg(QCoreApplication::applicationPid()).arg(++counter);
}

// Another copy of the program (see helper_instance.cpp for the modes), in
// the environment given (the test's own when empty).
std::unique_ptr<QProcess> startCopy(const QString &name, const QString &folder, const QString &mode,
                                    const QString &dataFolder = {},
                                    const QProcessEnvironment &environment = {}) {
    auto copy = std::make_unique<QProcess>();
    copy->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    if (!environment.isEmpty())
        copy->setProcessEnvironment(environment);
    QStringList args = {name, folder, mode};
    if (!dataFolder.isEmpty())
        args << dataFolder;
    copy->start(QString::fromUtf8(QM_TEST_BINARY_DIR) + u"/helper_instance"_s, args);
    return copy;
}

// The next line the copy prints. Waits with the event loop running, because
// the copy may be talking to a guard that lives in this process.
QString nextLine(QProcess &copy) {
    if (!QTest::qWaitFor([&copy] { return copy.canReadLine(); }, ProcessTimeoutMs))
        return u"(no line; state %1)"_s.arg(int(copy.state()));
    return QString::fromUtf8(copy.readLine()).trimmed();
}

bool waitForEnd(QProcess &copy) {
    return QTest::qWaitFor([&copy] { return copy.state() == QProcess::NotRunning; },
                           ProcessTimeoutMs);
}

} // namespace

class TestSingleInstance : public QObject {
    Q_OBJECT
private slots:
    void nextCopyAfterFirstEnds_data();
    void nextCopyAfterFirstEnds();
    void activationUnanswered_data();
    void activationUnanswered();
    void defaultFolderIsTheUsersRuntimeFolder();
    void oneCopyPerDataFolder();
    void plantedLockFolderIsRefused();
    void unusableFolderDoesNotLockTheUserOut();
};

void TestSingleInstance::nextCopyAfterFirstEnds_data() {
    QTest::addColumn<bool>("killed");
    QTest::newRow("ends normally") << false;
    QTest::newRow("killed, leaving lock and socket behind") << true;
}

// The whole life of the guard across processes: the first copy holds it, a
// second copy is turned away and brings the first forward, and once the first
// is gone, however it ended, the next copy takes over and serves in its turn.
void TestSingleInstance::nextCopyAfterFirstEnds() {
    QFETCH(bool, killed);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString name = uniqueName();
    const QString lockFile = dir.filePath(name + u".lock"_s);

    auto first = startCopy(name, dir.path(), u"once"_s);
    QCOMPARE(nextLine(*first), u"acquired"_s);
    qm::SingleInstance latecomer(name, dir.path());
    QVERIFY(!latecomer.tryAcquire());

    if (killed) {
        first->kill();
        QVERIFY(waitForEnd(*first));
        QCOMPARE(first->exitStatus(), QProcess::CrashExit);
        QVERIFY(QFile::exists(lockFile));
#ifdef Q_OS_UNIX
        QVERIFY(QFile::exists(dir.filePath(name + u".socket"_s)));
#endif
        // The socket is left, but nothing listens on it.
        QElapsedTimer waited;
        waited.start();
        QVERIFY(!latecomer.activateRunning(5000));
        QVERIFY2(waited.elapsed() < 4000, "a dead socket must be refused at once");
    } else {
        auto second = startCopy(name, dir.path(), u"run"_s);
        QCOMPARE(nextLine(*second), u"busy"_s);
        QCOMPARE(nextLine(*second), u"forwarded"_s);
        QCOMPARE(nextLine(*first), u"activated"_s);
        QVERIFY(waitForEnd(*first));
        QVERIFY(waitForEnd(*second));
        QCOMPARE(first->exitStatus(), QProcess::NormalExit);
        QCOMPARE(first->exitCode(), 0);
        // A normal end cleans up after itself.
        QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
                 QStringList());
    }

    QVERIFY(latecomer.tryAcquire());
    QSignalSpy forward(&latecomer, &qm::SingleInstance::activationRequested);
    auto third = startCopy(name, dir.path(), u"run"_s);
    QCOMPARE(nextLine(*third), u"busy"_s);
    QCOMPARE(nextLine(*third), u"forwarded"_s);
    QCOMPARE(forward.count(), 1);
    QVERIFY(waitForEnd(*third));
}

void TestSingleInstance::activationUnanswered_data() {
    QTest::addColumn<bool>("stalledCopy");
    QTest::addColumn<int>("timeoutMs");
    QTest::newRow("no copy ever ran") << false << 3000;
    QTest::newRow("running copy does not answer") << true << 400;
}

// A second copy must never hang on a running copy that cannot answer: it gives
// up within its time limit and reports that nobody acknowledged.
void TestSingleInstance::activationUnanswered() {
    QFETCH(bool, stalledCopy);
    QFETCH(int, timeoutMs);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString name = uniqueName();

    std::unique_ptr<QProcess> stalled;
    if (stalledCopy) {
        stalled = startCopy(name, dir.path(), u"stall"_s);
        QCOMPARE(nextLine(*stalled), u"acquired"_s);
    }
    qm::SingleInstance second(name, dir.path());
    if (stalled)
        QVERIFY(!second.tryAcquire());

    QElapsedTimer waited;
    waited.start();
    QVERIFY(!second.activateRunning(timeoutMs));
    QVERIFY2(waited.elapsed() < timeoutMs + 1000,
             qPrintable(u"waited %1 ms"_s.arg(waited.elapsed())));

    if (stalled) {
        stalled->closeWriteChannel();
        QVERIFY(waitForEnd(*stalled));
    }
}

// Without a folder the lock goes into the user's own runtime folder (which the
// test run points into the build tree), so two users never share it.
void TestSingleInstance::defaultFolderIsTheUsersRuntimeFolder() {
    const QString runtime = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    QVERIFY(runtime.startsWith(QString::fromUtf8(QM_TEST_BINARY_DIR)));
    const QString name = uniqueName();
    {
        qm::SingleInstance first(name);
        QVERIFY(first.tryAcquire());
        QVERIFY(QFile::exists(QDir(runtime).filePath(name + u".lock"_s)));
        qm::SingleInstance second(name);
        QVERIFY(!second.tryAcquire());
    }
    QVERIFY(!QFile::exists(QDir(runtime).filePath(name + u".lock"_s)));
}

// Two copies that do not share a runtime folder (two users, say) but work on
// the same data: the second is turned away, and cannot bring the first
// forward.
void TestSingleInstance::oneCopyPerDataFolder() {
    QTemporaryDir data, firstRuntime, secondRuntime;
    const QString name = uniqueName();
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(u"XDG_RUNTIME_DIR"_s, firstRuntime.path());
    auto first = startCopy(name, QString(), u"run"_s, data.path(), environment);
    QCOMPARE(nextLine(*first), u"acquired"_s);
    QVERIFY(QFile::exists(QDir(firstRuntime.path()).filePath(name + u".lock"_s)));
    QVERIFY(QFile::exists(QDir(data.path()).filePath(name + u".lock"_s)));

    environment.insert(u"XDG_RUNTIME_DIR"_s, secondRuntime.path());
    auto second = startCopy(name, QString(), u"run"_s, data.path(), environment);
    QCOMPARE(nextLine(*second), u"busy"_s);
    QCOMPARE(nextLine(*second), u"unanswered"_s);
    QVERIFY(waitForEnd(*second));
    // It left nothing of its own behind.
    QCOMPARE(QDir(secondRuntime.path()).entryList(QDir::Files), QStringList());
    QCOMPARE(first->state(), QProcess::Running);
    first->kill();
    QVERIFY(waitForEnd(*first));
}

// Without a runtime folder the lock goes to a folder of the user's own in the
// shared temporary folder. Someone else may have made that folder first and
// planted a held lock in it: the folder is refused (not the user's, or open
// to others) and the lock goes to the user's cache folder instead, so the
// program still starts.
void TestSingleInstance::plantedLockFolderIsRefused() {
    QTemporaryDir shared, cache;
    const QString name = uniqueName();
    const QString own = u"quillmate-"_s + QString::number(::getuid());
    const QString planted = QDir(shared.path()).filePath(own);
    QVERIFY(QDir().mkdir(planted));
    QLockFile held(QDir(planted).filePath(name + u".lock"_s));
    QVERIFY(held.tryLock(0));
    if (::geteuid() == 0)
        QVERIFY(::chown(QFile::encodeName(planted).constData(), 65534, 65534) == 0);
    else
        QVERIFY(QFile::setPermissions(
            planted, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner |
                         QFileDevice::ReadOther | QFileDevice::WriteOther | QFileDevice::ExeOther));

    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove(u"XDG_RUNTIME_DIR"_s);
    environment.insert(u"TMPDIR"_s, shared.path());
    environment.insert(u"XDG_CACHE_HOME"_s, cache.path());
    auto copy = startCopy(name, QString(), u"once"_s, QString(), environment);
    QCOMPARE(nextLine(*copy), u"acquired"_s);
    QVERIFY(QFile::exists(QDir(cache.path()).filePath(own + u"/"_s + name + u".lock"_s)));
    QFileInfo refuge(QDir(cache.path()).filePath(own));
    QCOMPARE(refuge.ownerId(), ::geteuid());
    QCOMPARE(refuge.permissions() & (QFileDevice::ReadOther | QFileDevice::WriteOther |
                                     QFileDevice::ReadGroup | QFileDevice::WriteGroup),
             QFileDevice::Permissions());
    copy->kill();
    QVERIFY(waitForEnd(*copy));
}

// A folder where no lock file can be made must not keep the program from
// starting: nobody else can hold that lock either.
void TestSingleInstance::unusableFolderDoesNotLockTheUserOut() {
    QTemporaryDir dir;
    QFile plain(dir.filePath(u"plain-file"_s));
    QVERIFY(plain.open(QIODevice::WriteOnly));
    plain.close();
    qm::SingleInstance instance(uniqueName(), dir.filePath(u"plain-file/sub"_s));
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression(u"^Cannot create the lock file"_s));
    QVERIFY(instance.tryAcquire());
}

QTEST_GUILESS_MAIN(TestSingleInstance)
#include "tst_singleinstance.moc"
