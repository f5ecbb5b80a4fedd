#include "foundation/DataFolder.h"
#include "platform/AppPaths.h"

#include <QDir>
#include <QTemporaryDir>
#include <QtTest>

using namespace Qt::StringLiterals;

namespace {

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
    QTest::addColumn<QString>("exe");
    QTest::addColumn<bool>("exeFolderWritable");
    QTest::addColumn<QString>("perUser");  // relative to a temporary folder; empty: none
    QTest::addColumn<QString>("expected"); // "exe", "perUser" or "current"
    QTest::newRow("writable program folder")
        << u"/opt/qm/quillmate"_s << true << u"data"_s << u"exe"_s;
    QTest::newRow("read-only program folder")
        << u"/opt/qm/quillmate"_s << false << u"Varnell/Quillmate"_s << u"perUser"_s;
    QTest::newRow("per-user folder already there")
        << u"/opt/qm/quillmate"_s << false << u"."_s << u"perUser"_s;
    QTest::newRow("no per-user folder") << u"/opt/qm/quillmate"_s << false << QString() << u"exe"_s;
    QTest::newRow("no separator: current folder")
        << u"quillmate"_s << true << u"data"_s << u"current"_s;
}

void TestDataFolder::resolve() {
    QFETCH(QString, exe);
    QFETCH(bool, exeFolderWritable);
    QFETCH(QString, perUser);
    QFETCH(QString, expected);
    QTemporaryDir home;
    FakeAppPaths paths;
    paths.exe = exe;
    paths.perUser = perUser.isEmpty() ? QString() : home.filePath(perUser);
    const QString exeFolder =
        expected == u"current" ? QDir::currentPath() + u"/"_s : qm::DataFolderFromExePath(exe);
    if (exeFolderWritable)
        paths.writable.append(exeFolder);

    const QString folder = qm::ResolveDataFolder(paths);
    QCOMPARE(paths.asked.value(0), exeFolder);
    if (expected == u"perUser") {
        QCOMPARE(folder, paths.perUser + u"/"_s);
        QVERIFY(QDir(folder).exists());
    } else {
        QCOMPARE(folder, exeFolder);
        if (!paths.perUser.isEmpty())
            QVERIFY(!QDir(paths.perUser).exists() || perUser == u"."_s);
    }
}

QTEST_GUILESS_MAIN(TestDataFolder)
#include "tst_datafolder.moc"
