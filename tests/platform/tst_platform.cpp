#include "foundation/Errors.h"
#include "foundation/Settings.h"
#include "platform/AppPaths.h"
#include "platform/Services.h"
#include "platform/SettingsStore.h"
#include "support/SmallDisk.h"
#include "support/TestServices.h"

#include <QDir>
#include <QFile>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

using namespace Qt::StringLiterals;

class TestPlatform : public QObject {
    Q_OBJECT
private slots:
    void nativeSettingsRoundTrip();
    void settingsThatCannotBeStored_data();
    void settingsThatCannotBeStored();
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
    // It holds the scrambled password: its owner's alone.
    QCOMPARE(QFile::permissions(config + u"/Varnell/"_s + section + u".conf"_s) &
                 QFileDevice::Permissions::fromInt(0x7077),
             QFileDevice::ReadOwner | QFileDevice::WriteOwner);

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

void TestPlatform::settingsThatCannotBeStored_data() {
    QTest::addColumn<bool>("fullDisk"); // else the config folder's parent is a plain file
    QTest::newRow("config folder under a file") << false;
    QTest::newRow("full disk") << true;
}

// Every change reaches the file or raises FileError naming it, through the
// typed settings as every page writes them; a refused change is not kept,
// so a second try is refused again rather than taken as done, and once the
// file can be written again the next change is stored.
void TestPlatform::settingsThatCannotBeStored() {
    QFETCH(bool, fullDisk);
    qm::test::SmallDisk disk;
    QTemporaryDir dir;
    QString config = dir.filePath(u"config"_s);
    if (fullDisk) {
        if (!disk.mounted())
            QSKIP(qPrintable(disk.problem()));
        config = disk.folder() + u"config"_s;
    }
    const QString original =
        QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, config);
    auto restore = qScopeGuard(
        [&] { QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, original); });
    const QString file = config + u"/Varnell/Quillmate.conf"_s;

    if (!fullDisk)
        QVERIFY(QFile(config).open(QIODevice::WriteOnly));
    qm::NativeSettingsStore store;
    qm::Settings settings(store);
    if (fullDisk) {
        settings.setPassword(u"TEWW"_s);
        disk.fill(0);
    }

    for (int attempt = 0; attempt < 2; ++attempt) {
        try {
            settings.setNeedPassword(true);
            QFAIL("a change that could not be stored was taken as stored");
        } catch (const qm::FileError &error) {
            QCOMPARE(error.file(), file);
        }
        QVERIFY(!settings.needPassword());
    }
    if (fullDisk) {
        QVERIFY_THROWS_EXCEPTION(qm::FileError, settings.removePassword());
        QCOMPARE(settings.password(), u"TEWW"_s);
    }

    if (fullDisk)
        QVERIFY(QFile::remove(disk.folder() + u"filler"_s));
    else
        QVERIFY(QFile::remove(config));
    settings.setNeedPassword(true);
    QVERIFY(qm::test::ReadBytes(file).contains("Password=1"));
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
