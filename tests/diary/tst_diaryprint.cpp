#include "diary/ui/DiaryPage.h"
#include "foundation/Dates.h"
#include "foundation/LineFiles.h"
#include "support/DiaryLines.h"
#include "support/FormDriving.h"
#include "support/TestServices.h"
#include "tasks/ui/OccasionRowSource.h"
#include "tasks/ui/TaskRowSource.h"

#include <QFile>
#include <QLabel>
#include <QPrintDialog>
#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTextBlock>
#include <QTextDocument>
#include <QtTest>

using namespace Qt::StringLiterals;
using qm::DiaryPage;
using qm::test::child;
using qm::test::click;
using qm::test::DiaryLine;

namespace {

const QString WeekHeading = u"Diary - Appointments For The Week (10/03/2024 To 16/03/2024)"_s;

// On the test clock's Friday 15 March 2024: overdue and open, high priority
// due today, plain, completed (overdue, high priority), completed overdue.
QByteArray taskFile() {
    const QString sep(QChar(0x00FF));
    const QStringList lines = {
        u"20240314"_s + sep + u"N"_s + sep + u"N"_s + sep + u"Pay the gas bill"_s,
        u"20240315"_s + sep + u"N"_s + sep + u"Y"_s + sep + u"Book dentist"_s,
        u"        "_s + sep + u"N"_s + sep + u"N"_s + sep + u"Water plants"_s,
        u"20240301"_s + sep + u"Y"_s + sep + u"Y"_s + sep + u"File tax return"_s,
        u"20240310"_s + sep + u"Y"_s + sep + u"N"_s + sep + u"Post the letter"_s,
    };
    return (lines.join(u"\r\n"_s) + u"\r\n"_s).toLatin1();
}

// The diary page over the test data folder: a week of appointments, the
// tasks above and the occasions of the test data.
struct Desk {
    qm::test::TestServices services;
    qm::TaskRowSource tasks;
    qm::OccasionRowSource occasions;
    DiaryPage page;

    Desk() {
        qm::test::WriteBytes(services.path(qm::TasksFileName), taskFile());
        qm::test::WriteBytes(services.path(qm::BirthdayFileName),
                             qm::test::TestData(u"tasks/birthann.qmt"_s));
        page.setRowSources(&tasks, &occasions);
        page.ensureBuilt();
        page.store().load({DiaryLine(u"20240310"_s, u"08:00"_s, u"09:00"_s, u"Church"_s),
                           DiaryLine(u"20240315"_s, u"09:30"_s, u"10:15"_s, u"Meeting"_s)});
    }
    QString path(const QString &name) const { return services.dir.filePath(name); }
    // The print dialog is answered with PDF output to pdf, A4, and result.
    void answerPrintDialog(const QString &pdf, int result) {
        services.prompter.modalHandler = [pdf, result](QDialog &dialog) {
            QPrinter *printer = dynamic_cast<QPrintDialog &>(dialog).printer();
            printer->setOutputFormat(QPrinter::PdfFormat);
            printer->setOutputFileName(pdf);
            printer->setPageSize(QPageSize(QPageSize::A4));
            dialog.setResult(result);
            return result;
        };
    }
};

// A composed line as the test names it: its text, then its character format
// when it has text.
QString describe(const QTextBlock &block) {
    QStringList looks;
    for (auto it = block.begin(); !it.atEnd(); ++it) {
        const QTextCharFormat format = it.fragment().charFormat();
        QString look = QString::number(format.fontPointSize()) + u"pt"_s;
        if (format.font().bold())
            look += u" bold"_s;
        if (format.fontUnderline())
            look += u" underlined"_s;
        if (format.fontStrikeOut())
            look += u" struck"_s;
        const QColor colour = format.foreground().color();
        if (colour != QColor(Qt::black))
            look += u" colour "_s + colour.name();
        if (format.fontFamilies().toStringList().value(0) != u"Times New Roman"_s)
            look += u" family "_s + format.fontFamilies().toStringList().join(u',');
        if (!looks.contains(look))
            looks << look;
    }
    return looks.isEmpty() ? block.text() : block.text() + u" ["_s + looks.join(u"; "_s) + u']';
}

QString line(const QString &text, const QString &look = u"12pt"_s) {
    return text + u" ["_s + look + u']';
}

// The non-blank lines of a PDF's text with their runs of spaces made one
// (as pdftotext places words, not spaces); empty when pdftotext fails.
QStringList pdfLines(const QString &pdf) {
    QProcess text;
    text.start(QStandardPaths::findExecutable(u"pdftotext"_s), {u"-layout"_s, pdf, u"-"_s});
    if (!text.waitForFinished(30000))
        return {};
    QStringList lines;
    for (const QString &printed : QString::fromUtf8(text.readAllStandardOutput()).split(u'\n'))
        if (!printed.trimmed().isEmpty())
            lines << printed.simplified();
    return lines;
}

// The output of a poppler tool run on a PDF; empty when the tool is missing.
QString popplerOutput(const QString &tool, const QString &pdf) {
    const QString program = QStandardPaths::findExecutable(tool);
    if (program.isEmpty())
        return {};
    QProcess process;
    process.start(program, {pdf});
    process.waitForFinished(30000);
    return QString::fromUtf8(process.readAllStandardOutput());
}

} // namespace

class TestDiaryPrint : public QObject {
    Q_OBJECT
private slots:
    void init() { qm::SetDateSep(u'/'); }
    void composedPage_data();
    void composedPage();
    void cancelPrintsNothing();
    void printsToPdf_data();
    void printsToPdf();
    void failedPrintIsReported();
};

void TestDiaryPrint::composedPage_data() {
    QTest::addColumn<QString>("view");
    QTest::addColumn<QStringList>("lines");
    const QString dashes(125, u'-');
    const QString ten(10, u' ');
    // Day headings, drawn bold on screen, print plain.
    QTest::newRow("weekly") << u"spdWeekly"_s
                            << QStringList{u""_s,
                                           line(WeekHeading, u"14pt bold underlined"_s),
                                           u""_s,
                                           line(u"Sunday 10th March 2024"_s),
                                           line(ten + u"08:00 - 09:00    Church"_s),
                                           line(dashes),
                                           line(u"Friday 15th March 2024"_s),
                                           line(ten + u"09:30 - 10:15    Meeting"_s),
                                           line(dashes)};
    QTest::newRow("tasks") << u"spdTasks"_s
                           << QStringList{
                                  u""_s,
                                  line(u"Task List"_s, u"14pt bold underlined"_s),
                                  u""_s,
                                  line(u"Pay the gas bill"_s, u"12pt bold colour #ff0000"_s),
                                  line(u"Book dentist"_s, u"12pt bold"_s),
                                  line(u"Water plants"_s),
                                  line(u"File tax return"_s, u"12pt bold struck"_s),
                                  line(u"Post the letter"_s, u"12pt struck"_s)};
    // Month headings too; "<lblHeading>" stands for the heading the label shows.
    QTest::newRow("occasions") << u"spdBirthdays"_s
                               << QStringList{u""_s,
                                              line(u"<lblHeading>"_s, u"14pt bold underlined"_s),
                                              u""_s,
                                              line(u"6th May"_s),
                                              line(u"    anniversary dinner"_s),
                                              line(u"    Birthday For Ann Smith"_s),
                                              line(dashes),
                                              line(u"1st June"_s),
                                              line(u"    Birthday For Bob Jones"_s),
                                              line(QString(115, u'-'))};
}

// The page is the heading and the rows as the view shows them, each on its
// own line; only the task view keeps its rows' colours and fonts.
void TestDiaryPrint::composedPage() {
    QFETCH(QString, view);
    QFETCH(QStringList, lines);
    Desk desk;
    click(&desk.page, view);
    QTextDocument page;
    desk.page.composePrintPage(page);
    QStringList composed;
    for (QTextBlock block = page.begin(); block.isValid(); block = block.next())
        composed << describe(block);
    const QString heading = child<QLabel>(&desk.page, u"lblHeading"_s)->text();
    QCOMPARE(composed, lines.replaceInStrings(u"<lblHeading>"_s, heading));
    QCOMPARE(page.toPlainText().split(u'\n').at(1), heading);
    QCOMPARE(page.defaultTextOption().wrapMode(), QTextOption::NoWrap);
}

// Cancelling the print dialog prints nothing and says nothing.
void TestDiaryPrint::cancelPrintsNothing() {
    Desk desk;
    click(&desk.page, u"spdTasks"_s);
    const QString pdf = desk.path(u"out.pdf"_s);
    desk.answerPrintDialog(pdf, QDialog::Rejected);
    click(&desk.page, u"cmdDiaryPrint"_s);
    QCOMPARE(desk.services.prompter.modalRuns, 1);
    QVERIFY(!QFile::exists(pdf));
    QVERIFY(desk.services.prompter.messages.isEmpty());
}

void TestDiaryPrint::printsToPdf_data() {
    QTest::addColumn<QString>("view");
    QTest::addColumn<QStringList>("lines");
    const QString dashes(125, u'-');
    QTest::newRow("tasks") << u"spdTasks"_s
                           << QStringList{u"Task List"_s,       u"Pay the gas bill"_s,
                                          u"Book dentist"_s,    u"Water plants"_s,
                                          u"File tax return"_s, u"Post the letter"_s};
    // The separator rows stay whole lines on A4.
    QTest::newRow("weekly") << u"spdWeekly"_s << QStringList{WeekHeading,
                                                             u"Sunday 10th March 2024"_s,
                                                             u"08:00 - 09:00 Church"_s,
                                                             dashes,
                                                             u"Friday 15th March 2024"_s,
                                                             u"09:30 - 10:15 Meeting"_s,
                                                             dashes};
}

// The Print button prints the list to the printer chosen, here a PDF file
// titled with the heading.
void TestDiaryPrint::printsToPdf() {
    QFETCH(QString, view);
    QFETCH(QStringList, lines);
    if (QStandardPaths::findExecutable(u"pdftotext"_s).isEmpty())
        QSKIP("pdftotext (poppler-utils) is not installed");
    Desk desk;
    click(&desk.page, view);
    const QString pdf = desk.path(u"out.pdf"_s);
    desk.answerPrintDialog(pdf, QDialog::Accepted);
    click(&desk.page, u"cmdDiaryPrint"_s);
    QVERIFY(desk.services.prompter.messages.isEmpty());
    QCOMPARE(pdfLines(pdf).mid(0, lines.size()), lines);

    const QString info = popplerOutput(u"pdfinfo"_s, pdf);
    if (!info.isEmpty())
        QVERIFY2(info.contains(QRegularExpression(
                     u"^Title: +"_s + QRegularExpression::escape(lines.first()) + u"$"_s,
                     QRegularExpression::MultilineOption)),
                 qPrintable(info));
    // The heading is bold in every view.
    const QString fonts = popplerOutput(u"pdffonts"_s, pdf);
    if (!fonts.isEmpty())
        QVERIFY2(fonts.contains(u"Bold"_s), qPrintable(fonts));
}

// A printer that fails (an output folder that does not exist) is reported.
void TestDiaryPrint::failedPrintIsReported() {
    Desk desk;
    click(&desk.page, u"spdTasks"_s);
    const QString pdf = desk.path(u"missing/out.pdf"_s);
    desk.answerPrintDialog(pdf, QDialog::Accepted);
    click(&desk.page, u"cmdDiaryPrint"_s);
    QCOMPARE(desk.services.prompter.messages.size(), 1);
    const QString message = desk.services.prompter.messages[0].text;
    QVERIFY2(message.contains(u"The List Could Not Be Printed"_s), qPrintable(message));
    QVERIFY2(message.contains(pdf), qPrintable(message));
}

QTEST_MAIN(TestDiaryPrint)
#include "tst_diaryprint.moc"
