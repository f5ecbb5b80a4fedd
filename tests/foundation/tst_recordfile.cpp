#include "foundation/Codec1252.h"
#include "foundation/Errors.h"
#include "foundation/RecordFile.h"
#include "support/TestServices.h"

#include <QDir>
#include <QProcess>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QtTest>

#include <sys/stat.h>

using namespace Qt::StringLiterals;
using qm::test::ReadBytes;
using qm::test::WriteBytes;

// The record-file core: how bytes become lines and back, which texts may be
// stored, and that a replaced file is never seen half written.
class TestRecordFile : public QObject {
    Q_OBJECT
private slots:
    void splitLines_data();
    void splitLines();
    void oddLinesRoundTrip_data();
    void oddLinesRoundTrip();
    void unstorableLineIsRefused_data();
    void unstorableLineIsRefused();
    void canStoreInField_data();
    void canStoreInField();
    void unreadableFileRaises();
    void uncommittedWriterLeavesOldFile();
    void renameReplacesDestination();
    void permissionsOfWrittenFiles_data();
    void permissionsOfWrittenFiles();
    void unfinishedSaveIsRecognised();
    void killedSaveLeavesWholeFile();
};

void TestRecordFile::splitLines_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QStringList>("lines");
    const QString ff = QString(QChar(0x00FF));
    QTest::newRow("empty file") << QByteArray() << QStringList();
    QTest::newRow("crlf") << "a\r\nb\r\n"_ba << QStringList{u"a"_s, u"b"_s};
    QTest::newRow("no final line end") << "a\r\nb"_ba << QStringList{u"a"_s, u"b"_s};
    QTest::newRow("final lone cr") << "a\r\nb\r"_ba << QStringList{u"a"_s, u"b"_s};
    QTest::newRow("lf only") << "a\nb\n"_ba << QStringList{u"a"_s, u"b"_s};
    QTest::newRow("empty lines") << "\r\n\r\n"_ba << QStringList{QString(), QString()};
    QTest::newRow("lone cr inside") << "a\rb\r\n"_ba << QStringList{u"a"_s, u"b"_s};
    QTest::newRow("cr before line end") << "a\r\r\n"_ba << QStringList{u"a"_s, QString()};
    QTest::newRow("cr only") << "a\rb\r"_ba << QStringList{u"a"_s, u"b"_s};
    QTest::newRow("lf then cr") << "a\n\rb"_ba << QStringList{u"a"_s, QString(), u"b"_s};
    QTest::newRow("nul byte") << QByteArray("a\0b\r\n", 5)
                              << QStringList{u"a"_s + QChar(0) + u"b"_s};
    QTest::newRow("windows-1252") << "Caf\xe9\xff\x80\r\n"_ba
                                  << QStringList{u"Caf\u00e9"_s + ff + u"\u20ac"_s};
    QTest::newRow("undefined byte") << "\x81\r\n"_ba << QStringList{QString(QChar(0x81))};
}

void TestRecordFile::splitLines() {
    QFETCH(QByteArray, bytes);
    QFETCH(QStringList, lines);
    QCOMPARE(qm::SplitRecordLines(bytes), lines);
}

// Whatever a file holds is written back as it was read; only a missing final
// line end is added and a bare LF or CR line end becomes CR LF.
void TestRecordFile::oddLinesRoundTrip_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QByteArray>("written");
    const QByteArray odd = "no separators at all\r\n"_ba + QByteArray("\0\0\x01\x7f", 4) +
                           "\r\n\x81\x8d\x8f\x90\x9d\r\n"_ba;
    const QByteArray end = "\xff\xff\xff\r\n\r\n"_ba;
    QTest::newRow("odd lines") << odd + "a\rb\r\r\n" + end << odd + "a\r\nb\r\n\r\n" + end;
    QByteArray all;
    for (int b = 0; b < 256; ++b)
        if (b != '\n')
            all += char(b);
    QTest::newRow("every byte") << all + "\r\n" << QByteArray(all).replace("\r", "\r\n") + "\r\n";
    QTest::newRow("cr line ends") << "a\rb\r"_ba
                                  << "a\r\nb\r\n"_ba;
    QTest::newRow("missing final line end") << "x\xff"
                                               "y\r\nlast"_ba
                                            << "x\xff"
                                               "y\r\nlast\r\n"_ba;
    QTest::newRow("lf line ends") << "a\nb\n"_ba
                                  << "a\r\nb\r\n"_ba;
    const QByteArray huge = QByteArray(1024 * 1024, 'x') + "\xff\r\n";
    QTest::newRow("1 MB line") << huge << huge;
}

void TestRecordFile::oddLinesRoundTrip() {
    QFETCH(QByteArray, bytes);
    QFETCH(QByteArray, written);
    if (written.isEmpty())
        written = bytes;
    qm::test::TestServices fixture;
    const QString path = fixture.path(u"Diary.Qmt"_s);
    WriteBytes(path, bytes);
    qm::WriteRecordFile(path, qm::ReadRecordFile(path));
    QCOMPARE(ReadBytes(path), written);
}

void TestRecordFile::unstorableLineIsRefused_data() {
    QTest::addColumn<QString>("line");
    QTest::newRow("no windows-1252 byte") << u"Stra\u00dfe \u0100"_s;
    QTest::newRow("chinese") << u"\u4e2d"_s;
    QTest::newRow("line feed") << u"first\nsecond"_s;
    QTest::newRow("carriage return") << u"first\rsecond"_s;
}

// Refused before anything is written: the old file stays as it was.
void TestRecordFile::unstorableLineIsRefused() {
    QFETCH(QString, line);
    qm::test::TestServices fixture;
    const QString path = fixture.path(u"Diary.Qmt"_s);
    WriteBytes(path, "old\r\n"_ba);
    QVERIFY_THROWS_EXCEPTION(qm::ConversionError, qm::WriteRecordFile(path, {u"fine"_s, line}));
    QCOMPARE(ReadBytes(path), "old\r\n"_ba);
}

void TestRecordFile::canStoreInField_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("storable");
    QTest::addColumn<QString>("reason");
    QTest::newRow("empty") << QString() << true << QString();
    QTest::newRow("windows-1252 letters") << u"Ren\u00e9e \u20ac5 \u0153"_s << true << QString();
    QTest::newRow("separator") << u"a\u00ffb"_s << false
                               << u"Description Cannot Contain The Character \u00ff"_s;
    QTest::newRow("carriage return")
        << u"a\rb"_s << false << u"Description Cannot Contain A Line Break"_s;
    QTest::newRow("line feed") << u"a\nb"_s << false
                               << u"Description Cannot Contain A Line Break"_s;
    QTest::newRow("outside windows-1252")
        << u"\u0100"_s << false << u"Description Contains Characters That Cannot Be Saved"_s;
    // Read from a file, it must save back as it was read.
    QTest::newRow("undefined byte") << QString(QChar(0x81)) << true << QString();
}

void TestRecordFile::canStoreInField() {
    QFETCH(QString, text);
    QFETCH(bool, storable);
    QFETCH(QString, reason);
    QString why = u"untouched"_s;
    QCOMPARE(qm::CanStoreInField(text, u"Description"_s, &why), storable);
    QCOMPARE(why, storable ? u"untouched"_s : reason);
    QCOMPARE(qm::CanStoreInField(text, u"Description"_s), storable);
}

void TestRecordFile::unreadableFileRaises() {
    qm::test::TestServices fixture;
    QCOMPARE(qm::ReadRecordFile(fixture.path(u"Missing.Qmt"_s)), QStringList());
    QVERIFY(QDir(fixture.dir.path()).mkdir(u"Diary.Qmt"_s));
    QVERIFY_THROWS_EXCEPTION(qm::FileError, qm::ReadRecordFile(fixture.path(u"Diary.Qmt"_s)));
}

void TestRecordFile::uncommittedWriterLeavesOldFile() {
    qm::test::TestServices fixture;
    const QString path = fixture.path(u"Tasks.Qmt"_s);
    WriteBytes(path, "old\r\n"_ba);
    {
        qm::AtomicFileWriter writer(path);
        writer.write("new content that is never committed\r\n"_ba);
    }
    QCOMPARE(ReadBytes(path), "old\r\n"_ba);
    QCOMPARE(QDir(fixture.dir.path()).entryList(QDir::Files), QStringList{u"Tasks.Qmt"_s});
}

void TestRecordFile::renameReplacesDestination() {
    qm::test::TestServices fixture;
    WriteBytes(fixture.path(u"Temp.Qmt"_s), "new\r\n"_ba);
    WriteBytes(fixture.path(u"Address.Qmt"_s), "old\r\n"_ba);
    qm::RenameFileOver(fixture.path(u"Temp.Qmt"_s), fixture.path(u"Address.Qmt"_s));
    QCOMPARE(ReadBytes(fixture.path(u"Address.Qmt"_s)), "new\r\n"_ba);
    QVERIFY(!QFile::exists(fixture.path(u"Temp.Qmt"_s)));
    QVERIFY_THROWS_EXCEPTION(qm::FileError, qm::RenameFileOver(fixture.path(u"Temp.Qmt"_s),
                                                               fixture.path(u"Address.Qmt"_s)));
    QCOMPARE(ReadBytes(fixture.path(u"Address.Qmt"_s)), "new\r\n"_ba);
}

// A new file is its owner's alone; a replaced one keeps who may read it,
// and a link stays a link to the file it names.
void TestRecordFile::permissionsOfWrittenFiles_data() {
    QTest::addColumn<bool>("append");
    QTest::addColumn<int>("existing"); // the file's mode before, -1 when missing
    QTest::addColumn<bool>("throughLink");
    QTest::addColumn<int>("expected");
    QTest::newRow("new file") << false << -1 << false << 0600;
    QTest::newRow("replaced file") << false << 0664 << false << 0664;
    QTest::newRow("replaced through a link") << false << 0644 << true << 0644;
    QTest::newRow("new log") << true << -1 << false << 0600;
}

void TestRecordFile::permissionsOfWrittenFiles() {
    QFETCH(bool, append);
    QFETCH(int, existing);
    QFETCH(bool, throughLink);
    QFETCH(int, expected);
    qm::test::TestServices fixture;
    const QString file = fixture.path(u"Notes.Qmn"_s);
    const QString link = fixture.path(u"link.Qmn"_s);
    if (existing >= 0) {
        WriteBytes(file, "old\r\n"_ba);
        QVERIFY(::chmod(QFile::encodeName(file).constData(), mode_t(existing)) == 0);
    }
    if (throughLink)
        QVERIFY(QFile::link(file, link));
    const QString written = throughLink ? link : file;
    if (append)
        qm::AppendRecordLines(written, {u"new"_s});
    else
        qm::WriteRecordFile(written, {u"new"_s});
    QCOMPARE(ReadBytes(file), append && existing >= 0 ? "old\r\nnew\r\n"_ba : "new\r\n"_ba);
    struct stat status {};
    QVERIFY(::stat(QFile::encodeName(file).constData(), &status) == 0);
    QCOMPARE(int(status.st_mode & 0777), expected);
    QCOMPARE(QFileInfo(link).isSymLink(), throughLink);
}

// What a killed save leaves beside a note file in the user's own folder is
// told apart from the user's files by its name alone.
void TestRecordFile::unfinishedSaveIsRecognised() {
    qm::test::TestServices fixture;
    const QStringList users = {u"notes.Qmn"_s,
                               u"notes.Qmn.backup"_s,
                               u"notes.Qmn.aBcDeF"_s,
                               u"notes.Qmn.qmsave-aBcDe"_s,
                               u"notes.Qmn.qmsave-aBcDeFg"_s,
                               u"other.Qmn.qmsave-aBcDeF"_s};
    for (const QString &name : users + QStringList{u"notes.Qmn.qmsave-aB3dE9"_s})
        WriteBytes(fixture.path(name), "x\r\n"_ba);
    qm::RemoveUnfinishedSavesBeside(fixture.path(u"notes.Qmn"_s));
    QStringList now = QDir(fixture.dir.path()).entryList(QDir::Files);
    QStringList expected = users;
    now.sort();
    expected.sort();
    QCOMPARE(now, expected);
}

// A second process rewrites a large file in a loop, alternating two contents;
// killed at random moments, it must always leave exactly one of them.
void TestRecordFile::killedSaveLeavesWholeFile() {
    const QString helper = QStringLiteral(QM_TEST_BINARY_DIR "/helper_killsave");
    QVERIFY2(QFile::exists(helper), "build the helper_killsave target first");
    qm::test::TestServices fixture;
    QByteArray first;
    QByteArray second;
    for (int i = 0; i < 30000; ++i)
        first += "20240315\xff"
                 "09:00\xff"
                 "10:00\xff"
                 "First content line " +
                 QByteArray::number(i).rightJustified(6, '0') +
                 "\xff"
                 "015\xff"
                 "N\r\n";
    for (int i = 0; i < 20000; ++i)
        second += "20241231\xff"
                  "18:30\xff"
                  "23:00\xff"
                  "Second, longer content line " +
                  QByteArray::number(i).rightJustified(6, '0') +
                  "\xff"
                  "000\xff"
                  "Y\r\n";
    const QString target = fixture.path(u"Diary.Qmt"_s);
    WriteBytes(fixture.path(u"first.txt"_s), first);
    WriteBytes(fixture.path(u"second.txt"_s), second);
    WriteBytes(target, first);

    const quint32 seed = QRandomGenerator::global()->generate();
    qInfo("random seed %u", seed);
    QRandomGenerator random(seed);
    for (int round = 0; round < 8; ++round) {
        QProcess process;
        process.start(helper,
                      {target, fixture.path(u"first.txt"_s), fixture.path(u"second.txt"_s)});
        QVERIFY2(process.waitForStarted(), qPrintable(process.errorString()));
        // Let it finish a few saves, then kill it somewhere inside the next.
        const int saves = random.bounded(4);
        QByteArray output;
        while (output.count('\n') < saves && process.waitForReadyRead(10000))
            output += process.readAllStandardOutput();
        process.waitForReadyRead(random.bounded(25));
        process.kill();
        QVERIFY(process.waitForFinished(10000));
        const QByteArray now = ReadBytes(target);
        QVERIFY2(now == first || now == second,
                 qPrintable(u"round %1: %2 bytes"_s.arg(round).arg(now.size())));
    }
    // And what it left beside the file is recognised as such.
    qm::RemoveUnfinishedSavesBeside(target);
    QCOMPARE(QDir(fixture.dir.path()).entryList(QDir::Files),
             (QStringList{u"Diary.Qmt"_s, u"first.txt"_s, u"second.txt"_s}));
}

QTEST_GUILESS_MAIN(TestRecordFile)
#include "tst_recordfile.moc"
