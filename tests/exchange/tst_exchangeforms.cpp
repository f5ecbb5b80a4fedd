#include "exchange/ui/ExchangeDialogs.h"
#include "foundation/LineFiles.h"
#include "foundation/RecordFile.h"
#include "foundation/ui/MsgBox.h"
#include "shell/ui/ConfigPage.h"
#include "support/TestServices.h"

#include <QCheckBox>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QtTest>

using namespace Qt::StringLiterals;
using namespace qm;
using qm::test::ReadBytes;
using qm::test::WriteBytes;

namespace {

const QByteArray Calendar = "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//Test//EN\r\n"
                            "BEGIN:VEVENT\r\nUID:a@test\r\nDTSTAMP:20260101T000000Z\r\n"
                            "DTSTART:20260620T090000\r\nDTEND:20260620T100000\r\n"
                            "SUMMARY:Dentist\r\nEND:VEVENT\r\n"
                            "BEGIN:VEVENT\r\nUID:b@test\r\nDTSTAMP:20260101T000000Z\r\n"
                            "DTSTART:20200105T140000\r\nDTEND:20200105T150000\r\n"
                            "SUMMARY:Long ago\r\nEND:VEVENT\r\n"
                            "BEGIN:VTODO\r\nUID:c@test\r\nDTSTAMP:20260101T000000Z\r\n"
                            "SUMMARY:Pay the bill\r\nEND:VTODO\r\nEND:VCALENDAR\r\n";

const QByteArray Contacts = "BEGIN:VCARD\r\nVERSION:3.0\r\nN:Adams;Ann;;;\r\nFN:Ann Adams\r\n"
                            "BDAY:1961-03-07\r\nEND:VCARD\r\n";

QString count(QWidget *form, const QString &name) {
    return form->findChild<QLabel *>(name)->text();
}

// Answers the program's file dialog with path.
int choose(QDialog &dialog, const QString &path) {
    auto *files = qobject_cast<QFileDialog *>(&dialog);
    if (!files)
        return QDialog::Rejected;
    files->selectFile(path);
    static_cast<QDialog *>(files)->accept();
    return files->result();
}

} // namespace

class TestExchangeForms : public QObject {
    Q_OBJECT
private slots:
    void importShowsTheSummaryFirstAndFollowsTheWindow();
    void exportWritesTheChosenFileAndAsksBeforeReplacing();
};

// From the configuration page's Import button: the file dialog, then the
// summary, nothing written until Import; widening the window takes the old
// appointment too, shown before it is imported; the birthday box adds the
// contact's birthday.
void TestExchangeForms::importShowsTheSummaryFirstAndFollowsTheWindow() {
    qm::test::TestServices services;
    services.clock.set(QDateTime(QDate(2026, 6, 15), QTime(12, 0)));
    const QString ics = services.path(u"in.ics"_s);
    const QString vcf = services.path(u"in.vcf"_s);
    WriteBytes(ics, Calendar);
    WriteBytes(vcf, Contacts);

    ConfigPage page;
    page.ensureBuilt();
    QSignalSpy imported(&page, &ConfigPage::recordsImported);
    int step = 0;
    services.prompter.modalHandler = [&](QDialog &dialog) {
        if (step++ == 0) {
            auto *files = qobject_cast<QFileDialog *>(&dialog);
            files->setDirectory(services.dir.path());
            files->selectFile(u"\"in.ics\" \"in.vcf\""_s);
            static_cast<QDialog *>(files)->accept();
            return files->result();
        }
        if (dialog.objectName() != u"frmImport"_s)
            return int(QDialog::Rejected);
        [&] {
            QCOMPARE(count(&dialog, u"lblAddAppointments"_s), u"1"_s);
            QCOMPARE(count(&dialog, u"lblAddTasks"_s), u"1"_s);
            QCOMPARE(count(&dialog, u"lblAddContacts"_s), u"1"_s);
            QCOMPARE(count(&dialog, u"lblAddOccasions"_s), u"0"_s);
            const auto *notes = dialog.findChild<QListWidget *>(u"lstNotes"_s);
            QCOMPARE(notes->count(), 1);
            QVERIFY2(notes->item(0)->text().startsWith(u"1  "_s),
                     qPrintable(notes->item(0)->text()));
            QVERIFY(!QFile::exists(services.path(DiaryFileName)));
            dialog.findChild<QCheckBox *>(u"chkBirthdays"_s)->click();
            QCOMPARE(count(&dialog, u"lblAddOccasions"_s), u"1"_s);
            // Enter straight from the date field: the new summary first.
            dialog.findChild<QLineEdit *>(u"txtFrom"_s)->setText(u"01/01/2020"_s);
            dialog.findChild<QPushButton *>(u"cmdUpdate"_s)->click();
            QVERIFY(!QFile::exists(services.path(DiaryFileName)));
            QCOMPARE(count(&dialog, u"lblAddAppointments"_s), u"2"_s);
            QCOMPARE(notes->count(), 0);
            dialog.findChild<QPushButton *>(u"cmdUpdate"_s)->click();
        }();
        return dialog.result();
    };
    page.cmdImportClick();
    QCOMPARE(step, 2);
    QCOMPARE(imported.size(), 1);
    const QStringList diary = LoadLineFile(services.path(DiaryFileName));
    QCOMPARE(diary.size(), 2);
    QVERIFY(diary.first().startsWith(u"20200105"_s));
    QCOMPARE(LoadLineFile(services.path(BirthdayFileName)).size(), 1);
    QCOMPARE(ReadWholeAddressRecords(services.path(AddressFileName)).size(), 1);
    QCOMPARE(services.prompter.messages.size(), 1);
    QVERIFY2(services.prompter.messages.first().text.startsWith(u"Imported : 2 Appointments"_s),
             qPrintable(services.prompter.messages.first().text));

    // The same files again: the summary offers nothing to add.
    step = 0;
    services.prompter.modalHandler = [&](QDialog &dialog) {
        if (step++ == 0)
            return choose(dialog, ics);
        const bool canImport = dialog.findChild<QPushButton *>(u"cmdUpdate"_s)->isEnabled();
        dialog.reject();
        return canImport ? 99 : int(QDialog::Rejected);
    };
    page.cmdImportClick();
    QCOMPARE(step, 2);
    QCOMPARE(imported.size(), 1);
}

// Export: the address book to a vCard file; a second export to the same file
// asks first, and No leaves it as it was.
void TestExchangeForms::exportWritesTheChosenFileAndAsksBeforeReplacing() {
    qm::test::TestServices services;
    services.clock.set(QDateTime(QDate(2026, 6, 15), QTime(12, 0)));
    AddressRecord ann;
    AddressField(ann, 1) = u"301"_s;
    AddressField(ann, 2) = u"P"_s;
    AddressField(ann, 4) = u"Adams"_s;
    WriteRecordFile(services.path(AddressFileName), QStringList(ann.begin(), ann.end()));
    const QString out = services.path(u"out.vcf"_s);

    ConfigPage page;
    page.ensureBuilt();
    const auto exportContacts = [&] {
        int step = 0;
        services.prompter.modalHandler = [&](QDialog &dialog) {
            if (step++ == 1)
                return choose(dialog, out);
            dialog.findChild<QRadioButton *>(u"optContacts"_s)->click();
            dialog.findChild<QPushButton *>(u"cmdUpdate"_s)->click();
            return dialog.result();
        };
        page.cmdExportClick();
        return step;
    };
    QCOMPARE(exportContacts(), 2);
    QVERIFY(ReadBytes(out).contains("N:Adams;"));
    QCOMPARE(services.prompter.messages.size(), 1);
    QVERIFY(services.prompter.messages.first().text.startsWith(u"Exported 1 Contact To"_s));

    WriteBytes(out, "kept");
    services.prompter.answers = {MessageResult::No};
    exportContacts();
    QCOMPARE(ReadBytes(out), QByteArray("kept"));
    QVERIFY(services.prompter.messages.last().text.contains(u"Already Exists"_s));
}

QTEST_MAIN(TestExchangeForms)
#include "tst_exchangeforms.moc"
