#include "foundation/AddressFile.h"
#include "foundation/BusyScope.h"
#include "foundation/Errors.h"
#include "foundation/Housekeeping.h"
#include "foundation/RecordFile.h"
#include "support/TestServices.h"

#include <QDir>
#include <QFile>
#include <QtTest>

#include <stdexcept>

using namespace Qt::StringLiterals;
using qm::test::ReadBytes;
using qm::test::TestData;
using qm::test::WriteBytes;

namespace {

qm::AddressRecord contact(const QString &key, const QString &name = {}) {
    qm::AddressRecord record;
    record[0] = key;
    record[1] = u"P"_s;
    record[4] = name.isEmpty() ? u"Contact "_s + key : name;
    return record;
}

// An address file holding contacts with the given keys, in that order.
void writeContacts(const QString &path, const QStringList &keys) {
    QStringList lines;
    for (const QString &key : keys)
        for (const QString &field : contact(key))
            lines.append(field);
    qm::WriteRecordFile(path, lines);
}

QStringList keysIn(const QString &path) {
    QStringList keys;
    for (const qm::AddressRecord &record : qm::ReadAddressRecords(path))
        keys.append(record[0]);
    return keys;
}

QStringList keyRange(int first, int last) {
    QStringList keys;
    for (int key = first; key <= last; ++key)
        keys.append(QString::number(key));
    return keys;
}

QStringList filesIn(const qm::test::TestServices &fixture) {
    return QDir(fixture.dir.path()).entryList(QDir::Files | QDir::Hidden);
}

} // namespace

// The address file: whole-record rewrites through the work file, the copy it
// may use, and the key counter.
class TestAddressFile : public QObject {
    Q_OBJECT
private slots:
    void editAndDeleteByteForByte_data();
    void editAndDeleteByteForByte();
    void recordOrderAndCount_data();
    void recordOrderAndCount();
    void sharedKeyTouchesOnlyTheChosenRecord_data();
    void sharedKeyTouchesOnlyTheChosenRecord();
    void deletingLastContactLeavesNoFiles();
    void partialLastRecordIsCompleted();
    void oddFilesRewrittenAsRead_data();
    void oddFilesRewrittenAsRead();
    void failedUpdateKeepsAddressFile();
    void unknownOperationIsRefused();
    void newKeys_data();
    void newKeys();
    void badKeyCounterSavesNothing_data();
    void badKeyCounterSavesNothing();
    void copyDataFile_data();
    void copyDataFile();
    void failedCopyKeepsDestination_data();
    void failedCopyKeepsDestination();
    void housekeepingFilesCreatedOnlyWhenMissing();
};

void TestAddressFile::editAndDeleteByteForByte_data() {
    QTest::addColumn<QString>("operation");
    QTest::addColumn<QString>("expectedFile");
    QTest::newRow("edit") << qm::EditOperation << u"addressfile/after_edit_302.qmt"_s;
    QTest::newRow("delete") << qm::DeleteOperation << u"addressfile/after_delete_302.qmt"_s;
}

void TestAddressFile::editAndDeleteByteForByte() {
    QFETCH(QString, operation);
    QFETCH(QString, expectedFile);
    qm::test::TestServices fixture;
    const QString path = fixture.path(qm::AddressFileName);
    WriteBytes(path, TestData(u"addressfile/three_contacts.qmt"_s));
    qm::AddressFile file;
    file.AddressFields = {u"302"_s,      u"W"_s,       u"Acme Holdings"_s, QString(),
                          u"Jo Smith"_s, u"Mrs"_s,     u"1 High Street"_s, u"Leeds"_s,
                          QString(),     u"LS1 4AB"_s, u"0113 496 0000"_s, QString(),
                          QString(),     QString(),    QString(),          u"jo@example.com"_s,
                          QString()};
    file.UpdateAddressFile(u"302"_s, operation);
    QCOMPARE(ReadBytes(path), TestData(expectedFile));
    QCOMPARE(filesIn(fixture), QStringList{qm::AddressFileName});
}

void TestAddressFile::recordOrderAndCount_data() {
    QTest::addColumn<QStringList>("before");
    QTest::addColumn<int>("count");
    QTest::addColumn<QString>("operation");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QStringList>("after");
    QTest::addColumn<int>("countAfter");
    const QStringList tenContacts = keyRange(301, 310);
    QTest::newRow("edit moves the contact to the front")
        << tenContacts << 10 << qm::EditOperation << u"305"_s
        << QStringList{u"305"_s} + keyRange(301, 304) + keyRange(306, 310) << 10;
    QTest::newRow("add goes to the front") << tenContacts << 10 << qm::AddOperation << QString()
                                           << QStringList{u"311"_s} + tenContacts << 11;
    QTest::newRow("add to a missing file")
        << QStringList() << 0 << qm::AddOperation << QString() << QStringList{u"311"_s} << 1;
    QTest::newRow("delete keeps the order")
        << tenContacts << 10 << qm::DeleteOperation << u"301"_s << keyRange(302, 310) << 9;
    QTest::newRow("every record sharing the key goes")
        << QStringList{u"301"_s, u"302"_s, u"301"_s} << 3 << qm::EditOperation << u"301"_s
        << QStringList{u"301"_s, u"302"_s} << 3;
    QTest::newRow("key compared as text")
        << QStringList{u"0301"_s, u"301"_s} << 2 << qm::DeleteOperation << u"301"_s
        << QStringList{u"0301"_s} << 1;
    QTest::newRow("delete of an unknown key rewrites the same records")
        << keyRange(301, 303) << 3 << qm::DeleteOperation << u"999"_s << keyRange(301, 303) << 2;
    // A count out of step with the file never decides what is deleted.
    QTest::newRow("stale count reaching zero keeps the others")
        << keyRange(301, 303) << 1 << qm::DeleteOperation << u"302"_s
        << QStringList{u"301"_s, u"303"_s} << 0;
    QTest::newRow("stale negative count with add")
        << keyRange(301, 302) << -1 << qm::AddOperation << QString()
        << QStringList{u"311"_s, u"301"_s, u"302"_s} << 0;
}

void TestAddressFile::recordOrderAndCount() {
    QFETCH(QStringList, before);
    QFETCH(int, count);
    QFETCH(QString, operation);
    QFETCH(QString, key);
    QFETCH(QStringList, after);
    QFETCH(int, countAfter);
    qm::test::TestServices fixture;
    const QString path = fixture.path(qm::AddressFileName);
    if (!before.isEmpty())
        writeContacts(path, before);
    qm::AddressFile file;
    file.AddressCount = count;
    file.AddressFields = contact(operation == qm::AddOperation ? u"311"_s : key, u"New Data"_s);
    const qm::AddressRecord saved = file.AddressFields;
    file.UpdateAddressFile(key, operation);
    QCOMPARE(keysIn(path), after);
    QCOMPARE(file.AddressCount, countAfter);
    if (operation != qm::DeleteOperation)
        QCOMPARE(qm::ReadAddressRecords(path).first(), saved);
    QCOMPARE(filesIn(fixture), QStringList{qm::AddressFileName});
}

// Two records under one key (written before keys were issued safely): an
// edit or a delete names one of them by its place among those sharing the
// key, and the other stays.
void TestAddressFile::sharedKeyTouchesOnlyTheChosenRecord_data() {
    QTest::addColumn<QString>("operation");
    QTest::addColumn<int>("occurrence");
    QTest::addColumn<QStringList>("namesAfter");
    QTest::newRow("edit the first")
        << qm::EditOperation << 0 << QStringList{u"New"_s, u"Other"_s, u"Second"_s};
    QTest::newRow("edit the second")
        << qm::EditOperation << 1 << QStringList{u"New"_s, u"First"_s, u"Other"_s};
    QTest::newRow("delete the first")
        << qm::DeleteOperation << 0 << QStringList{u"Other"_s, u"Second"_s};
    QTest::newRow("delete the second")
        << qm::DeleteOperation << 1 << QStringList{u"First"_s, u"Other"_s};
    QTest::newRow("no such occurrence")
        << qm::DeleteOperation << 2 << QStringList{u"First"_s, u"Other"_s, u"Second"_s};
}

void TestAddressFile::sharedKeyTouchesOnlyTheChosenRecord() {
    QFETCH(QString, operation);
    QFETCH(int, occurrence);
    QFETCH(QStringList, namesAfter);
    qm::test::TestServices fixture;
    const QString path = fixture.path(qm::AddressFileName);
    QStringList lines;
    for (const auto &[key, name] :
         {std::pair{u"301"_s, u"First"_s}, {u"302"_s, u"Other"_s}, {u"301"_s, u"Second"_s}})
        for (const QString &field : contact(key, name))
            lines.append(field);
    qm::WriteRecordFile(path, lines);
    qm::AddressFile file;
    file.AddressFields = contact(u"301"_s, u"New"_s);
    file.UpdateAddressFile(u"301"_s, operation, occurrence);
    QStringList names;
    for (const qm::AddressRecord &record : qm::ReadAddressRecords(path))
        names.append(record[4]);
    QCOMPARE(names, namesAfter);
}

// Neither "Address.Qmt" nor "Temp.Qmt" (one left over from a crash included).
void TestAddressFile::deletingLastContactLeavesNoFiles() {
    qm::test::TestServices fixture;
    WriteBytes(fixture.path(qm::AddressWorkFileName), "left from a crash\r\n"_ba);
    writeContacts(fixture.path(qm::AddressFileName), {u"301"_s});
    qm::AddressFile file;
    file.AddressCount = 5; // out of step: the file decides
    file.UpdateAddressFile(u"301"_s, qm::DeleteOperation);
    QVERIFY(filesIn(fixture).isEmpty());
    QCOMPARE(file.AddressCount, 4);
    QVERIFY(file.ReadRecords().isEmpty());
}

// 20 lines: one whole record and three lines of a second one.
void TestAddressFile::partialLastRecordIsCompleted() {
    qm::test::TestServices fixture;
    const QString path = fixture.path(qm::AddressFileName);
    QByteArray bytes;
    for (int i = 1; i <= 17; ++i)
        bytes += "field " + QByteArray::number(i) + "\r\n";
    bytes += "302\r\nW\r\nAcme"; // and no final line end
    WriteBytes(path, bytes);
    const QList<qm::AddressRecord> records = qm::ReadAddressRecords(path);
    QCOMPARE(records.size(), 2);
    QCOMPARE(records[1][2], u"Acme"_s);
    QCOMPARE(records[1][3], QString());
    QCOMPARE(records[1][16], QString());
}

// The rewrite passes untouched records through as bytes; whatever the file
// holds, its whole records must come out as reading them and writing them
// back gives, and the lines after the last whole record (a file cut short)
// exactly as they were.
void TestAddressFile::oddFilesRewrittenAsRead_data() {
    QTest::addColumn<QByteArray>("whole");
    QTest::addColumn<QByteArray>("tail");
    const auto record = [](const QByteArray &key, const QByteArray &lineEnd) {
        QByteArray bytes = key + lineEnd;
        for (int i = 2; i <= 17; ++i)
            bytes += "f" + QByteArray::number(i) + lineEnd;
        return bytes;
    };
    const QByteArray crlf = "\r\n"_ba;
    QTest::newRow("plain") << record("301", crlf) + record("302", crlf) + record("303", crlf)
                           << QByteArray();
    QTest::newRow("lf line ends") << record("301", "\n") + record("302", "\n") + record("303", "\n")
                                  << QByteArray();
    QTest::newRow("mixed line ends")
        << record("301", crlf) + record("302", "\n") + record("303", crlf) << "3\n4\r\n"_ba;
    QTest::newRow("partial last record, no final line end")
        << record("301", crlf) << "303\r\nW\r\nAcme"_ba;
    QTest::newRow("partial last record holds the key") << record("301", crlf) << "302\r\nW"_ba;
    QTest::newRow("whole record dropped before the partial one")
        << record("301", crlf) + record("302", crlf) << "302\r\nW"_ba;
    QTest::newRow("lone cr at the end") << record("301", crlf) << "303\r"_ba;
    QTest::newRow("odd bytes inside lines")
        << record("301", "\r") + QByteArray("30\0\r\na\xff\x81\r\n", 11) +
               record("302", crlf).chopped(10)
        << record("302", crlf).right(10);
    QTest::newRow("cr line ends") << record("301", "\r") + record("302", "\r") + record("303", "\r")
                                  << "304\rW\r"_ba;
    QTest::newRow("cr before cr lf") << record("302", "\r\r\n") << QByteArray();
    QTest::newRow("one empty line") << QByteArray() << crlf;
    QTest::newRow("empty file") << QByteArray() << QByteArray();
}

void TestAddressFile::oddFilesRewrittenAsRead() {
    QFETCH(QByteArray, whole);
    QFETCH(QByteArray, tail);
    qm::test::TestServices fixture;
    const QString path = fixture.path(qm::AddressFileName);
    WriteBytes(path, whole);
    QStringList kept;
    for (const qm::AddressRecord &record : qm::ReadAddressRecords(path))
        if (record[0] != u"302")
            kept += QStringList(record.begin(), record.end());
    const QList<qm::AddressRecord> wholeRecords = qm::ReadAddressRecords(path);
    WriteBytes(path, whole + tail);
    QCOMPARE(qm::ReadWholeAddressRecords(path), wholeRecords);
    // Reading some fields only leaves the others empty.
    QList<qm::AddressRecord> someFields = wholeRecords;
    for (qm::AddressRecord &record : someFields)
        for (int field = 0; field < qm::AddressFieldCount; ++field)
            if (field != 0 && field != 16)
                record[field].clear();
    QCOMPARE(qm::ReadWholeAddressRecords(path, {1, 17}), someFields);
    qm::AddressFile file;
    file.UpdateAddressFile(u"302"_s, qm::DeleteOperation);
    QCOMPARE(ReadBytes(path), qm::JoinRecordLines(kept) + tail);
    QCOMPARE(QFile::exists(path), !kept.isEmpty() || !tail.isEmpty());
}

// A disk that refuses the work file: the error is raised, "Address.Qmt" is as
// it was, no work file stays, the count is unchanged and the cursor is back.
void TestAddressFile::failedUpdateKeepsAddressFile() {
    qm::test::TestServices fixture;
    const QString path = fixture.path(qm::AddressFileName);
    writeContacts(path, keyRange(301, 2300)); // large enough to be written in several pieces
    const QByteArray old = ReadBytes(path);
    int restored = 0;
    qm::BusyScope::setHandlers({}, [&] { ++restored; });
    qm::SetWriteFaultHookForTesting([](qint64 written) { return written < 64 * 1024; });
    auto reset = qScopeGuard([] {
        qm::SetWriteFaultHookForTesting({});
        qm::BusyScope::setHandlers({}, {});
    });
    qm::AddressFile file;
    file.AddressCount = 1000;
    file.AddressFields = contact(u"305"_s, u"Changed"_s);
    QVERIFY_THROWS_EXCEPTION(qm::FileError, file.UpdateAddressFile(u"305"_s, qm::EditOperation));
    QCOMPARE(ReadBytes(path), old);
    QCOMPARE(filesIn(fixture), QStringList{qm::AddressFileName});
    QCOMPARE(file.AddressCount, 1000);
    QCOMPARE(restored, 1);
}

void TestAddressFile::unknownOperationIsRefused() {
    qm::test::TestServices fixture;
    writeContacts(fixture.path(qm::AddressFileName), {u"301"_s});
    qm::AddressFile file;
    QVERIFY_THROWS_EXCEPTION(std::invalid_argument, file.UpdateAddressFile(u"301"_s, u"add"_s));
    QCOMPARE(keysIn(fixture.path(qm::AddressFileName)), QStringList{u"301"_s});
}

void TestAddressFile::newKeys_data() {
    QTest::addColumn<QByteArray>("counter");
    QTest::addColumn<QStringList>("existing");
    QTest::addColumn<int>("key");
    QTest::addColumn<QString>("keyText");
    QTest::newRow("first contact") << "300\r\n"_ba << QStringList() << 301 << u"301"_s;
    QTest::newRow("700th contact") << "999\r\n"_ba << QStringList() << 1000 << u"1000"_s;
    QTest::newRow("small numbers padded") << "6\r\n"_ba << QStringList() << 7 << u"007"_s;
    QTest::newRow("counter recreated over existing contacts")
        << "300\r\n"_ba << QStringList{u"303"_s, u"301"_s, u"305"_s} << 306 << u"306"_s;
    QTest::newRow("counter ahead of the file")
        << "320\r\n"_ba << keyRange(301, 305) << 321 << u"321"_s;
    QTest::newRow("odd keys in the file ignored")
        << "300"_ba << QStringList{u"abc"_s, QString(), u"99999999999"_s} << 301 << u"301"_s;
}

void TestAddressFile::newKeys() {
    QFETCH(QByteArray, counter);
    QFETCH(QStringList, existing);
    QFETCH(int, key);
    QFETCH(QString, keyText);
    qm::test::TestServices fixture;
    WriteBytes(fixture.path(qm::NextKeyFileName), counter);
    if (!existing.isEmpty())
        writeContacts(fixture.path(qm::AddressFileName), existing);
    qm::AddressFile file;
    file.AddressFields = contact(QString(), u"New"_s);
    QCOMPARE(file.SaveNewContact(), key);
    QCOMPARE(ReadBytes(fixture.path(qm::NextKeyFileName)), keyText.toLatin1() + "\r\n");
    QCOMPARE(keysIn(fixture.path(qm::AddressFileName)), QStringList{keyText} + existing);
}

void TestAddressFile::badKeyCounterSavesNothing_data() {
    QTest::addColumn<QByteArray>("counter"); // null: no file
    QTest::addColumn<bool>("conversion");
    QTest::newRow("missing") << QByteArray() << false;
    QTest::newRow("not a number") << "three hundred\r\n"_ba << true;
    QTest::newRow("empty file") << ""_ba << true;
    QTest::newRow("negative") << "-5\r\n"_ba << true;
    QTest::newRow("too large to add one") << "2147483647\r\n"_ba << true;
}

void TestAddressFile::badKeyCounterSavesNothing() {
    QFETCH(QByteArray, counter);
    QFETCH(bool, conversion);
    qm::test::TestServices fixture;
    const QString counterPath = fixture.path(qm::NextKeyFileName);
    if (!counter.isNull())
        WriteBytes(counterPath, counter);
    writeContacts(fixture.path(qm::AddressFileName), {u"301"_s});
    const QByteArray before = ReadBytes(fixture.path(qm::AddressFileName));
    qm::AddressFile file;
    file.AddressCount = 1;
    file.AddressFields = contact(QString(), u"New"_s);
    if (conversion)
        QVERIFY_THROWS_EXCEPTION(qm::ConversionError, file.SaveNewContact());
    else
        QVERIFY_THROWS_EXCEPTION(qm::FileError, file.SaveNewContact());
    QCOMPARE(ReadBytes(fixture.path(qm::AddressFileName)), before);
    QCOMPARE(QFile::exists(counterPath), !counter.isNull());
    QCOMPARE(ReadBytes(counterPath), counter);
    QCOMPARE(file.AddressCount, 1);
    QCOMPARE(file.AddressFields[0], QString());
}

void TestAddressFile::copyDataFile_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("empty") << QByteArray();
    QTest::newRow("one buffer exactly") << QByteArray(8192, '\xff');
    QTest::newRow("several buffers and a part") << QByteArray(3 * 8192 + 17, '\xe9');
}

void TestAddressFile::copyDataFile() {
    QFETCH(QByteArray, bytes);
    qm::test::TestServices fixture;
    WriteBytes(fixture.path(u"Temp.Qmt"_s), bytes);
    WriteBytes(fixture.path(u"Address.Qmt"_s), "an old, longer content to be replaced\r\n"_ba);
    // A relative destination is taken from the current folder.
    const QString previous = QDir::currentPath();
    QDir::setCurrent(fixture.dir.path());
    auto back = qScopeGuard([&] { QDir::setCurrent(previous); });
    qm::CopyDataFile(fixture.path(u"Temp.Qmt"_s), u"Address.Qmt"_s);
    QCOMPARE(ReadBytes(fixture.path(u"Address.Qmt"_s)), bytes);
    QCOMPARE(ReadBytes(fixture.path(u"Temp.Qmt"_s)), bytes);
    QCOMPARE(filesIn(fixture).size(), 2);
}

void TestAddressFile::failedCopyKeepsDestination_data() {
    QTest::addColumn<QString>("failure");
    QTest::addColumn<QString>("cause");
    QTest::newRow("missing source") << u"source"_s << qm::CopySourceProblem;
    QTest::newRow("destination folder under a file") << u"folder"_s << qm::CopyDestinationProblem;
    QTest::newRow("disk refuses the data") << u"disk"_s << qm::CopyDestinationProblem;
}

void TestAddressFile::failedCopyKeepsDestination() {
    QFETCH(QString, failure);
    QFETCH(QString, cause);
    qm::test::TestServices fixture;
    QString source = fixture.path(u"Temp.Qmt"_s);
    QString destination = fixture.path(u"Address.Qmt"_s);
    WriteBytes(source, QByteArray(20000, 'n'));
    WriteBytes(destination, "old\r\n"_ba);
    if (failure == u"source")
        source = fixture.path(u"Missing.Qmt"_s);
    if (failure == u"folder")
        destination = source + u"/Address.Qmt"_s;
    if (failure == u"disk")
        qm::SetWriteFaultHookForTesting([](qint64 written) { return written < 8192; });
    auto reset = qScopeGuard([] { qm::SetWriteFaultHookForTesting({}); });
    try {
        qm::CopyDataFile(source, destination);
        QFAIL("the copy did not report its failure");
    } catch (const qm::FileError &error) {
        QCOMPARE(error.cause(), cause);
    }
    QCOMPARE(ReadBytes(fixture.path(u"Address.Qmt"_s)), "old\r\n"_ba);
    QCOMPARE(filesIn(fixture), (QStringList{u"Address.Qmt"_s, u"Temp.Qmt"_s}));
}

void TestAddressFile::housekeepingFilesCreatedOnlyWhenMissing() {
    qm::test::TestServices fixture;
    qm::CreateHousekeepingFiles();
    QCOMPARE(ReadBytes(fixture.path(u"NextKey.Qmt"_s)), "300\r\n"_ba);
    QCOMPARE(ReadBytes(fixture.path(u"DateLog.Qmt"_s)), "Start Of Log :\r\n"_ba);
    WriteBytes(fixture.path(u"NextKey.Qmt"_s), "412\r\n"_ba);
    WriteBytes(fixture.path(u"DateLog.Qmt"_s), "Start Of Log :\r\nBefore Format :x\r\n"_ba);
    qm::CreateHousekeepingFiles();
    QCOMPARE(ReadBytes(fixture.path(u"NextKey.Qmt"_s)), "412\r\n"_ba);
    QCOMPARE(ReadBytes(fixture.path(u"DateLog.Qmt"_s)),
             "Start Of Log :\r\nBefore Format :x\r\n"_ba);
}

QTEST_GUILESS_MAIN(TestAddressFile)
#include "tst_addressfile.moc"
