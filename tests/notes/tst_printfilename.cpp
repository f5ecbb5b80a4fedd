// The name the print dialog proposes for printing to a file, made from the
// job's title: a diary week's heading holds dates with "/" in them. Reading
// the proposal needs the dialog as it is on an X display (run through
// run_under_x.sh); the naming rule runs anywhere.
#include "foundation/ui/Printing.h"
#include "support/TestServices.h"

#include <QComboBox>
#include <QFileInfo>
#include <QLineEdit>
#include <QPrintDialog>
#include <QPrinter>
#include <QProcess>
#include <QStandardPaths>
#include <QTextDocument>
#include <QtTest>

using namespace Qt::StringLiterals;

namespace {
const QString WeekHeading = u"Diary - Appointments For The Week (06/12/2026 To 12/12/2026)"_s;
}

class TestPrintFileName : public QObject {
    Q_OBJECT
private slots:
    void printFileName_data();
    void printFileName();
    void proposedNameCanBeWritten();
};

void TestPrintFileName::printFileName_data() {
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("name");
    QTest::newRow("notes") << u"Quillmate - Notes"_s << u"Quillmate - Notes"_s;
    QTest::newRow("a week's dates")
        << WeekHeading << u"Diary - Appointments For The Week (06-12-2026 To 12-12-2026)"_s;
    QTest::newRow("refused on Windows") << u"a\\b:c*d?e\"f<g>h|i"_s << u"a-b-c-d-e-f-g-h-i"_s;
    QTest::newRow("control characters") << u"a\tb\nc"_s << u"a-b-c"_s;
    QTest::newRow("full stops and spaces at the end") << u"Notes. . "_s << u"Notes"_s;
    QTest::newRow("nothing left") << u" ."_s << u"Print"_s;
}

void TestPrintFileName::printFileName() {
    QFETCH(QString, title);
    QTEST(qm::PrintFileName(title), "name");
}

// Printing a week to a file under the name the dialog proposes writes it, in
// the dialog's own folder, and the job keeps the heading as its title.
void TestPrintFileName::proposedNameCanBeWritten() {
    if (QGuiApplication::platformName() != u"xcb"_s)
        QSKIP("the dialog proposes a file name on an X display (run through run_under_x.sh)");
    const QString pdfinfo = QStandardPaths::findExecutable(u"pdfinfo"_s);
    if (pdfinfo.isEmpty())
        QSKIP("pdfinfo (poppler-utils) is not installed");
    qm::test::TestServices services;
    QString proposed;
    QString pdf;
    services.prompter.modalHandler = [&](QDialog &dialog) {
        auto &print = dynamic_cast<QPrintDialog &>(dialog);
        // "Print to File (PDF)" is the last printer the dialog offers.
        auto *printers = dialog.findChild<QComboBox *>(u"printers"_s);
        printers->setCurrentIndex(printers->count() - 1);
        proposed = dialog.findChild<QLineEdit *>(u"filename"_s)->text();
        pdf = services.dir.filePath(QFileInfo(proposed).fileName());
        print.printer()->setOutputFormat(QPrinter::PdfFormat);
        print.printer()->setOutputFileName(pdf);
        return int(QDialog::Accepted);
    };
    QTextDocument week(u"Monday"_s);
    qm::PrintDocument(week, WeekHeading, nullptr, u"The Diary Could Not Be Printed"_s);
    QCOMPARE(QFileInfo(proposed).fileName(),
             u"Diary - Appointments For The Week (06-12-2026 To 12-12-2026).pdf"_s);
    QVERIFY(QFileInfo(proposed).absoluteDir().exists());
    QVERIFY(QFileInfo::exists(pdf));
    QProcess info;
    info.start(pdfinfo, {pdf});
    QVERIFY(info.waitForFinished(30000));
    const QString printed = QString::fromUtf8(info.readAllStandardOutput());
    QVERIFY2(printed.contains(u"Title:           "_s + WeekHeading), qPrintable(printed));
}

QTEST_MAIN(TestPrintFileName)
#include "tst_printfilename.moc"
