#include "foundation/DataFolder.h"
#include "platform/AppPaths.h"
#include "support/TestServices.h"

#include <QDir>
#include <QTemporaryDir>
#include <QtTest>

using namespace Qt::StringLiterals;

namespace {

constexpr QFileDevice::Permissions OwnerGroupOther = QFileDevice::Permissions::fromInt(0x7077);

class FakeAppPaths final : public qm::AppPaths {
public:
    QString executablePath() const override { return exe; }
    QString perUserDataFolder() const override { return perUser; }
    bool isWritableFolder(const QString &folder) const override {
        asked.append(folder);
        return writable.contains(folder);
    }

    QString exe;
    QString perUser;
    QStringList writable;
    mutable QStringList asked;
};

} // namespace

class TestDataFolder : public QObject {
    Q_OBJECT
private slots:
    void fromExePath_data();
    void fromExePath();
    void resolve_data();
    void resolve();
};

void TestDataFolder::fromExePath_data() {
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("folder");
    QTest::newRow("windows") << u"C:\\Apps\\Quillmate.Exe"_s << u"C:\\Apps\\"_s;
    QTest::newRow("drive root") << u"C:\\Quillmate.Exe"_s << u"C:\\"_s;
    QTest::newRow("unix") << u"/usr/local/bin/quillmate"_s << u"/usr/local/bin/"_s;
    QTest::newRow("mixed separators") << u"C:/Apps\\Sub/quillmate"_s << u"C:/Apps\\Sub/"_s;
    QTest::newRow("ends in a separator") << u"C:\\Apps\\"_s << u"C:\\Apps\\"_s;
    QTest::newRow("no separator") << u"Quillmate.Exe"_s << QString();
    QTest::newRow("empty") << QString() << QString();
    QTest::newRow("separator at 1") << u"\\Quillmate.Exe"_s << QString();
    QTest::newRow("slash at 1") << u"/quillmate"_s << QString();
    QTest::newRow("separator at 2") << u"C\\Quillmate.Exe"_s << QString();
    QTest::newRow("separator at 3") << u"ab\\q"_s << u"ab\\"_s;
    QTest::newRow("only separators") << u"\\\\"_s << QString();
}

void TestDataFolder::fromExePath() {
    QFETCH(QString, path);
    QFETCH(QString, folder);
    QCOMPARE(qm::DataFolderFromExePath(path), folder);
}

void TestDataFolder::resolve_data() {
    QTest::addColumn<bool>("exeFolderWritable");
    // Relative to the executable's folder, "bin".
    QTest::addColumn<QStringList>("exeFolderFiles");
    QTest::addColumn<QString>("perUser");  // relative to the home folder; empty: none
    QTest::addColumn<QString>("expected"); // "exe", "perUser", "current" or "cannotWrite"
    const QStringList none;
    QTest::newRow("writable program folder") << true << none << u"data"_s << u"exe"_s;
    QTest::newRow("read-only program folder")
        << false << none << u"Varnell/Quillmate"_s << u"perUser"_s;
    QTest::newRow("per-user folder already there") << false << none << u"."_s << u"perUser"_s;
    QTest::newRow("no per-user folder") << false << none << QString() << u"exe"_s;
    QTest::newRow("no separator: current folder") << true << none << u"data"_s << u"current"_s;
    QTest::newRow("read-only folder holding the diary")
        << false << QStringList{u"quillmate"_s, u"Diary.Qmt"_s} << u"data"_s << u"cannotWrite"_s;
    QTest::newRow("read-only folder holding only the key counter")
        << false << QStringList{u"NextKey.Qmt"_s} << u"data"_s << u"cannotWrite"_s;
    QTest::newRow("read-only folder holding other files")
        << false << QStringList{u"quillmate"_s, u"Quillmate.hlp"_s, u"Diary.Qmt.bak"_s} << u"data"_s
        << u"perUser"_s;
    // An installed copy keeps its data out of its bin folder even when root
    // can write there; one that already has its data there stays with it.
    const QString entry = u"../share/applications/"_s + qm::DesktopAppId + u".desktop"_s;
    QTest::newRow("installed, writable by root")
        << true << QStringList{u"quillmate"_s, entry} << u"data"_s << u"perUser"_s;
    QTest::newRow("installed, data beside the program")
        << true << QStringList{entry, u"Diary.Qmt"_s} << u"data"_s << u"exe"_s;
    QTest::newRow("bin folder without the program's entry")
        << true << QStringList{u"quillmate"_s, u"../share/applications/other.desktop"_s}
        << u"data"_s << u"exe"_s;
}

void TestDataFolder::resolve() {
    QFETCH(bool, exeFolderWritable);
    QFETCH(QStringList, exeFolderFiles);
    QFETCH(QString, perUser);
    QFETCH(QString, expected);
    QTemporaryDir home;
    QVERIFY(QDir(home.path()).mkdir(u"bin"_s));
    const QString appFolder = home.filePath(u"bin/"_s);
    for (const QString &name : exeFolderFiles) {
        QVERIFY(QDir().mkpath(QFileInfo(appFolder + name).path()));
        qm::test::WriteBytes(appFolder + name, "x\r\n");
    }
    FakeAppPaths paths;
    paths.exe = expected == u"current" ? u"quillmate"_s : appFolder + u"quillmate"_s;
    paths.perUser = perUser.isEmpty() ? QString() : home.filePath(perUser);
    const QString exeFolder = expected == u"current" ? QDir::currentPath() + u"/"_s : appFolder;
    if (exeFolderWritable)
        paths.writable.append(exeFolder);

    const qm::DataFolderChoice choice = qm::ResolveDataFolder(paths);
    for (const QString &asked : paths.asked)
        QCOMPARE(asked, exeFolder);
    QCOMPARE(choice.cannotWrite, expected == u"cannotWrite");
    if (expected == u"perUser") {
        QCOMPARE(choice.folder, paths.perUser + u"/"_s);
        QVERIFY(QDir(choice.folder).exists());
        // The folder the program makes for itself is its user's alone.
        if (perUser != u".")
            QCOMPARE(QFileInfo(paths.perUser).permissions() & OwnerGroupOther,
                     QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    } else {
        QCOMPARE(choice.folder, exeFolder);
        // Nothing is set up elsewhere, least of all beside data it cannot write.
        if (!paths.perUser.isEmpty())
            QVERIFY(!QDir(paths.perUser).exists() || perUser == u"."_s);
    }
}

QTEST_GUILESS_MAIN(TestDataFolder)
#include "tst_datafolder.moc"
