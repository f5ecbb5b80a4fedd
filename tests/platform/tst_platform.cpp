#include "platform/AppPaths.h"
#include "platform/Services.h"
#include "platform/SettingsStore.h"
#include "support/TestServices.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

using namespace Qt::StringLiterals;

class TestPlatform : public QObject {
    Q_OBJECT
private slots:
    void nativeSettingsRoundTrip();
    void servicesScopeRestores();
    void writableFolderProbe();
};

// The real store writes an INI file under the user's config folder (which the
// test run points into the build tree): values survive a reopen, missing values
// give the default, removed values are gone, names with spaces work.
void TestPlatform::nativeSettingsRoundTrip() {
    const QString config = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    QVERIFY2(config.startsWith(QString::fromUtf8(QM_TEST_BINARY_DIR)),
             "tests must not reach the user's real config folder");
    const QString section = u"QuillmateTest"_s;
    QFile::remove(config + u"/Varnell/"_s + section + u".conf"_s);
    {
        qm::NativeSettingsStore store;
        QCOMPARE(store.read(u"Diary Page"_s, u"Daily"_s), u"Daily"_s);
        store.open(section);
        QVERIFY(!store.contains(u"Diary Page"_s));
        store.write(u"Diary Page"_s, u"Weekly"_s);
        store.write(u"Password"_s, u"LIPPS"_s);
        store.remove(u"Password"_s);
    }
    qm::NativeSettingsStore reopened;
    reopened.open(section);
    QCOMPARE(reopened.read(u"Diary Page"_s, u"Daily"_s), u"Weekly"_s);
    QVERIFY(!reopened.contains(u"Password"_s));
    QCOMPARE(reopened.read(u"Password"_s, u"none"_s), u"none"_s);
    QVERIFY(QFile::exists(config + u"/Varnell/"_s + section + u".conf"_s));

    // A value the maker's other programs share (organisation-wide) is not
    // the program's own and is not read.
    QFile shared(config + u"/Varnell.conf"_s);
    QVERIFY(shared.open(QIODevice::WriteOnly));
    shared.write("[General]\nNeed Password=1\n");
    shared.close();
    auto removeShared = qScopeGuard([&] { shared.remove(); });
    qm::NativeSettingsStore own;
    own.open(section);
    QVERIFY(!own.contains(u"Need Password"_s));
    QCOMPARE(own.read(u"Need Password"_s, u"0"_s), u"0"_s);
}

void TestPlatform::servicesScopeRestores() {
    const QString before = qm::dataFolder();
    {
        qm::test::TestServices fixture;
        QVERIFY(qm::dataFolder() != before);
        QCOMPARE(qm::dataFile(u"Diary.Qmt"_s), fixture.path(u"Diary.Qmt"_s));
        QCOMPARE(&qm::clock(), static_cast<qm::Clock *>(&fixture.clock));
        {
            qm::Services inner = qm::services();
            inner.dataFolder = u"/inner/"_s;
            qm::ServicesScope scope(inner);
            QCOMPARE(qm::dataFolder(), u"/inner/"_s);
        }
        QCOMPARE(qm::dataFolder(), fixture.path(QString()));
    }
    QCOMPARE(qm::dataFolder(), before);
}

void TestPlatform::writableFolderProbe() {
    qm::SystemAppPaths paths;
    QTemporaryDir dir;
    QVERIFY(paths.isWritableFolder(dir.path()));
    // A folder that cannot exist (its parent is a file) is not writable, even
    // for root, for whom permission bits do not count.
    QFile file(dir.filePath(u"plain-file"_s));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.close();
    QVERIFY(!paths.isWritableFolder(dir.filePath(u"plain-file/sub"_s)));
    QVERIFY(QDir(dir.path()).entryList(QDir::Files).size() == 1); // the probe left nothing
}

QTEST_GUILESS_MAIN(TestPlatform)
#include "tst_platform.moc"
