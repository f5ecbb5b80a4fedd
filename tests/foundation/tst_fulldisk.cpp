#include "diary/ui/DiaryPage.h"
#include "foundation/AddressFile.h"
#include "foundation/Dates.h"
#include "foundation/Errors.h"
#include "foundation/LineFiles.h"
#include "foundation/RecordFile.h"
#include "foundation/ui/MsgBox.h"
#include "support/DiaryLines.h"
#include "support/SmallDisk.h"
#include "support/TestServices.h"

#include <QDialog>
#include <QDir>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QtTest>

#include <optional>

using namespace Qt::StringLiterals;
using qm::test::ReadBytes;
using qm::test::WriteBytes;

namespace {

QStringList appointments(int count) {
    QStringList lines;
    for (int i = 0; i < count; ++i)
        lines.append(qm::test::DiaryLine(
            u"2024%1%2"_s.arg(3 + i / 28, 2, 10, QChar(u'0')).arg(1 + i % 28, 2, 10, QChar(u'0')),
            u"09:00"_s, u"10:00"_s, u"Appointment number %1"_s.arg(i, 5, 10, QChar(u'0'))));
    return lines;
}

QStringList listTexts(const qm::DiaryPage &page) {
    auto *list = page.findChild<QListView *>(u"lstAppoints"_s);
    QStringList texts;
    for (int row = 0; row < list->model()->rowCount(); ++row)
        texts << list->model()->index(row, 0).data().toString();
    return texts;
}

// Sizes either side of the 16 KB a buffered file keeps before it writes; a
// few KB free is less than either file.
void addRows() {
    QTest::addColumn<int>("records");
    QTest::addColumn<qint64>("free");
    QTest::newRow("small file, disk full") << 200 << qint64(0);
    QTest::newRow("small file, 4 KB free") << 200 << qint64(4096);
    QTest::newRow("large file, disk full") << 2000 << qint64(0);
    QTest::newRow("large file, 4 KB free") << 2000 << qint64(4096);
}

const QString NoSpace = u"No space left on device"_s;

QStringList keysOf(const qm::AddressFile &file) {
    QStringList keys;
    for (const qm::AddressRecord &record : file.ReadRecords())
        keys << record[0];
    return keys;
}

} // namespace

// Saving when the disk cannot take the new content: the old file stays byte
// for byte, the user is told why, and nothing in memory changes.
class TestFullDisk : public QObject {
    Q_OBJECT
private slots:
    void diaryAddOnFullDisk_data() { addRows(); }
    void diaryAddOnFullDisk();
    void addressAddOnFullDisk_data() { addRows(); }
    void addressAddOnFullDisk();
    void newContactOnFullDisk_data();
    void newContactOnFullDisk();
};

// Through the editor, as a user adds an appointment.
void TestFullDisk::diaryAddOnFullDisk() {
    QFETCH(int, records);
    QFETCH(qint64, free);
    qm::test::SmallDisk disk;
    if (!disk.mounted())
        QSKIP(qPrintable(disk.problem()));
    qm::test::TestServices fixture;
    qm::Services onDisk = qm::services();
    onDisk.dataFolder = disk.folder();
    qm::ServicesScope scope(onDisk);
    qm::SetDateSep(u'/');

    qm::SaveDiaryFile(appointments(records));
    const QByteArray before = ReadBytes(qm::dataFile(qm::DiaryFileName));
    qm::DiaryPage page;
    page.ensureBuilt();
    page.store().loadFile();
    page.pressViewButton(u"All"_s);
    page.RefreshDiaryView();
    const QStringList rowsBefore = listTexts(page);
    const QStringList linesBefore = page.store().lines();
    disk.fill(free);

    fixture.prompter.modalHandler = [](QDialog &form) {
        form.show();
        form.findChild<QLineEdit *>(u"txtDate"_s)->setText(u"20/03/2024"_s);
        form.findChild<QLineEdit *>(u"txtStart"_s)->setText(u"11:00"_s);
        form.findChild<QLineEdit *>(u"txtEnd"_s)->setText(u"12:00"_s);
        form.findChild<QLineEdit *>(u"txtDescription"_s)->setText(u"One too many"_s);
        QTest::mouseClick(form.findChild<QPushButton *>(u"cmdUpdate"_s), Qt::LeftButton);
        // The save failed, so the editor is still open with what was typed.
        if (!form.isVisible())
            return form.result();
        QTest::mouseClick(form.findChild<QPushButton *>(u"cmdCancel"_s), Qt::LeftButton);
        return form.result();
    };
    page.cmdDiaryAddClick();

    QCOMPARE(fixture.prompter.modalRuns, 1);
    QVERIFY(!fixture.prompter.messages.isEmpty());
    const auto &report = fixture.prompter.messages.first();
    QCOMPARE(report.kind, qm::MessageKind::Error);
    QVERIFY2(report.text.contains(NoSpace), qPrintable(report.text));
    QCOMPARE(ReadBytes(qm::dataFile(qm::DiaryFileName)), before);
    QCOMPARE(page.store().lines(), linesBefore);
    QCOMPARE(listTexts(page), rowsBefore);
    // Nothing half written is left beside the file.
    QCOMPARE(disk.files(), (QStringList{u"Diary.Qmt"_s, u"filler"_s}));
}

void TestFullDisk::addressAddOnFullDisk() {
    QFETCH(int, records);
    QFETCH(qint64, free);
    qm::test::SmallDisk disk;
    if (!disk.mounted())
        QSKIP(qPrintable(disk.problem()));
    qm::AddressFile file(disk.folder());
    QStringList lines;
    for (int i = 0; i < records / 5; ++i) {
        const QString key = QString::number(301 + i);
        lines << key << u"P"_s << u"Company %1"_s.arg(key) << u"Mr"_s << u"Name"_s << u"Surname"_s
              << u"1 High Street"_s << u"Town"_s << u"County"_s << u"AB1 2CD"_s << u"01234 567890"_s
              << QString() << QString() << u"name@example.com"_s << u"01/01/1970"_s
              << u"A contact with a few words of notes"_s << QString();
    }
    qm::WriteRecordFile(file.path(qm::AddressFileName), lines);
    const QByteArray before = ReadBytes(file.path(qm::AddressFileName));
    file.AddressCount = records / 5;
    file.AddressFields.fill(u"New contact"_s);
    disk.fill(free);

    try {
        file.UpdateAddressFile(QString(), qm::AddOperation);
        QFAIL("the update reported success on a full disk");
    } catch (const qm::FileError &error) {
        QVERIFY2(error.cause().contains(NoSpace), qPrintable(error.cause()));
        // The file the user knows, not the work file.
        QCOMPARE(error.file(), file.path(qm::AddressFileName));
    }
    QCOMPARE(ReadBytes(file.path(qm::AddressFileName)), before);
    QCOMPARE(file.AddressCount, records / 5);
    QCOMPARE(disk.files(), (QStringList{u"Address.Qmt"_s, u"filler"_s}));
}

void TestFullDisk::newContactOnFullDisk_data() {
    QTest::addColumn<int>("contacts");
    QTest::addColumn<bool>("saved");
    QTest::newRow("no room for the address file") << 400 << false;
    QTest::newRow("room for the contact, none for the counter") << 0 << true;
}

// A contact that is not saved uses up no key; a counter that cannot follow
// a saved contact is no failure of the save (saving again would store the
// contact twice) and never makes a key be issued twice.
void TestFullDisk::newContactOnFullDisk() {
    QFETCH(int, contacts);
    QFETCH(bool, saved);
    qm::test::SmallDisk disk;
    if (!disk.mounted())
        QSKIP(qPrintable(disk.problem()));
    qm::AddressFile file(disk.folder());
    QStringList lines;
    for (int key = 301; key < 301 + contacts; ++key)
        for (int field = 1; field <= qm::AddressFieldCount; ++field)
            lines << (field == 1 ? QString::number(key)
                                 : u"Contact %1, field %2"_s.arg(key).arg(field));
    if (!lines.isEmpty())
        qm::WriteRecordFile(file.path(qm::AddressFileName), lines);
    qm::WriteRecordFile(file.path(qm::NextKeyFileName), {u"300"_s});
    const QByteArray before = ReadBytes(file.path(qm::AddressFileName));
    // One page free: enough for a new small file, not for a large one.
    disk.fill(4096);
    file.AddressFields.fill(u"New contact"_s);

    if (saved) {
        QTest::ignoreMessage(QtWarningMsg,
                             QRegularExpression(u"^The key counter .* cannot be advanced"_s));
        QCOMPARE(file.SaveNewContact(), 301);
        QCOMPARE(keysOf(file), QStringList{u"301"_s});
    } else {
        try {
            file.SaveNewContact();
            QFAIL("the contact was reported saved on a full disk");
        } catch (const qm::FileError &error) {
            QVERIFY2(error.cause().contains(NoSpace), qPrintable(error.cause()));
            QCOMPARE(error.file(), file.path(qm::AddressFileName));
        }
        QCOMPARE(ReadBytes(file.path(qm::AddressFileName)), before);
    }
    QCOMPARE(ReadBytes(file.path(qm::NextKeyFileName)), "300\r\n"_ba);
    QCOMPARE(disk.files(), (QStringList{u"Address.Qmt"_s, u"filler"_s, u"NextKey.Qmt"_s}));

    QVERIFY(QFile::remove(disk.folder() + u"filler"_s));
    file.AddressFields.fill(u"Next contact"_s);
    const int next = 301 + contacts + (saved ? 1 : 0);
    QCOMPARE(file.SaveNewContact(), next);
    QCOMPARE(ReadBytes(file.path(qm::NextKeyFileName)), QByteArray::number(next) + "\r\n");
}

QTEST_MAIN(TestFullDisk)
#include "tst_fulldisk.moc"
