#include "foundation/ColourScheme.h"
#include "foundation/Errors.h"
#include "foundation/StartUpFiles.h"
#include "support/TestServices.h"

#include <QDir>
#include <QtTest>

using namespace Qt::StringLiterals;
using qm::test::ReadBytes;
using qm::test::TestData;
using qm::test::WriteBytes;

// The data folder as the first start-up steps leave it.
class TestStartUpFiles : public QObject {
    Q_OBJECT
private slots:
    void freshFolder();
    void existingFilesUntouched();
    void badColourLineEndsStartUp();
    void unwritableFolderReported();
    void unfinishedSavesRemoved();
    void leftoverWorkFile_data();
    void leftoverWorkFile();
};

// The colour file for each colour mode is covered with the colour scheme;
// here, the three files together as a first start leaves them.
void TestStartUpFiles::freshFolder() {
    qm::test::TestServices fixture;
    qm::PrepareDataFolder(u"HI"_s);
    QCOMPARE(ReadBytes(fixture.path(u"Colours.Qmt"_s)), TestData(u"colours/Classic.Qmt"_s));
    QCOMPARE(ReadBytes(fixture.path(u"NextKey.Qmt"_s)), TestData(u"startup/NextKey.Qmt"_s));
    QCOMPARE(ReadBytes(fixture.path(u"DateLog.Qmt"_s)), TestData(u"startup/DateLog.Qmt"_s));
    QCOMPARE(qm::CurrentColourScheme().ColourStyle, u"CLASSIC"_s);
    QCOMPARE(QDir(fixture.path(QString())).entryList(QDir::Files | QDir::Hidden).size(), 3);
}

void TestStartUpFiles::existingFilesUntouched() {
    qm::test::TestServices fixture;
    QByteArray colours;
    for (const QString &line : qm::ColourSchemeLines(qm::BlueColourScheme()))
        colours += line.toLatin1() + "\r\n";
    const QByteArray nextKey = "457\r\n";
    const QByteArray log = "Start Of Log :\r\nBefore Format :01/03/2000\r\n";
    WriteBytes(fixture.path(u"Colours.Qmt"_s), colours);
    WriteBytes(fixture.path(u"NextKey.Qmt"_s), nextKey);
    WriteBytes(fixture.path(u"DateLog.Qmt"_s), log);
    qm::PrepareDataFolder(u"HI"_s);
    QCOMPARE(ReadBytes(fixture.path(u"Colours.Qmt"_s)), colours);
    QCOMPARE(ReadBytes(fixture.path(u"NextKey.Qmt"_s)), nextKey);
    QCOMPARE(ReadBytes(fixture.path(u"DateLog.Qmt"_s)), log);
    QCOMPARE(qm::CurrentColourScheme(), qm::BlueColourScheme());
}

void TestStartUpFiles::badColourLineEndsStartUp() {
    qm::test::TestServices fixture;
    QByteArray colours = TestData(u"colours/Classic.Qmt"_s);
    colours.replace("16777215", "white");
    WriteBytes(fixture.path(u"Colours.Qmt"_s), colours);
    try {
        qm::PrepareDataFolder(u"HI"_s);
        QFAIL("a non-numeric colour line was accepted");
    } catch (const qm::ConversionError &error) {
        QVERIFY(error.file().endsWith(u"Colours.Qmt"_s));
    }
    QCOMPARE(ReadBytes(fixture.path(u"Colours.Qmt"_s)), colours); // never rewritten
    QVERIFY(!QFile::exists(fixture.path(u"NextKey.Qmt"_s)));      // start-up stopped there
}

void TestStartUpFiles::unwritableFolderReported() {
    qm::test::TestServices fixture;
    // A data folder under a plain file cannot be created, even by root.
    WriteBytes(fixture.path(u"file"_s), "x");
    qm::Services services = qm::services();
    services.dataFolder = fixture.path(u"file/data/"_s);
    qm::ServicesScope scope(services);
    QVERIFY_THROWS_EXCEPTION(qm::FileError, qm::PrepareDataFolder(u"HI"_s));
}

// What a save killed before its rename leaves beside a file goes at the next
// start; anything that merely looks like it stays.
void TestStartUpFiles::unfinishedSavesRemoved() {
    qm::test::TestServices fixture;
    const QStringList leftovers = {u"Diary.Qmt.aBcDeF"_s,        u"Address.Qmt.Zq0x9T"_s,
                                   u"Temp.Qmt.qwerty"_s,         u"Colours.Qmt.ABCDEF"_s,
                                   u"Diary.Qmt.qmsave-aB3dE9"_s, u"Temp.Qmt.qmsave-Zq0x9T"_s};
    const QStringList kept = {u"Diary.Qmt"_s,
                              u"Diary.Qmt.bak"_s,
                              u"Diary.Qmt.abcdefg"_s,
                              u"Diary.Qmt.abc-ef"_s,
                              u"Notes.Qmt.aBcDeF"_s,
                              u"xDiary.Qmt.aBcDeF"_s,
                              u"Diary.qmt.aBcDeF"_s,
                              u"Quillmate.lock"_s,
                              u"Diary.Qmt.qmsave-abcde"_s,
                              u"Notes.Qmn.qmsave-aBcDeF"_s};
    for (const QString &name : leftovers + kept)
        WriteBytes(fixture.path(name), "x\r\n");
    qm::PrepareDataFolder(u"HI"_s);
    QStringList expected = kept + QStringList{u"Colours.Qmt"_s, u"DateLog.Qmt"_s, u"NextKey.Qmt"_s};
    expected.sort();
    QStringList now = QDir(fixture.path(QString())).entryList(QDir::Files | QDir::Hidden);
    now.sort();
    QCOMPARE(now, expected);
}

// "Temp.Qmt" found at start: beside the address file it is a save that never
// finished; without one (or beside one holding only its start, as an older
// version's interrupted copy left it) it is what holds the contacts.
void TestStartUpFiles::leftoverWorkFile_data() {
    QTest::addColumn<QByteArray>("address"); // null: no file
    QTest::addColumn<QByteArray>("addressAfter");
    const QByteArray work = "301\r\nP\r\nAcme\r\n";
    QTest::newRow("beside the address file") << "302\r\n"_ba
                                             << "302\r\n"_ba;
    QTest::newRow("without an address file") << QByteArray() << work;
    QTest::newRow("beside its first bytes") << "301\r\nP\r"_ba << work;
}

void TestStartUpFiles::leftoverWorkFile() {
    QFETCH(QByteArray, address);
    QFETCH(QByteArray, addressAfter);
    qm::test::TestServices fixture;
    WriteBytes(fixture.path(u"Temp.Qmt"_s), "301\r\nP\r\nAcme\r\n");
    if (!address.isNull())
        WriteBytes(fixture.path(u"Address.Qmt"_s), address);
    qm::PrepareDataFolder(u"HI"_s);
    QCOMPARE(ReadBytes(fixture.path(u"Address.Qmt"_s)), addressAfter);
    QVERIFY(!QFile::exists(fixture.path(u"Temp.Qmt"_s)));
}

QTEST_GUILESS_MAIN(TestStartUpFiles)
#include "tst_startupfiles.moc"
