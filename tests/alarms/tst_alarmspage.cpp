#include "alarms/ui/AlarmsPage.h"
#include "foundation/LineFiles.h"
#include "foundation/RecordFile.h"
#include "foundation/ui/Controls.h"
#include "foundation/ui/FormSnapshot.h"
#include "foundation/ui/MsgBox.h"
#include "support/TestServices.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QScopeGuard>
#include <QtTest>

using namespace Qt::StringLiterals;
using qm::test::ReadBytes;
using qm::test::WriteBytes;

namespace {

const QString Sep = u"\u00FF"_s;
const QByteArray ThreeAlarms = "07:30\xffN\xff"
                               "A\r\n08:00\xffY\xff"
                               "B\r\n09:00\xffN\xff"
                               "C\r\n";

// The page as the main window shows it: made, loaded from the data folder and
// snapshotted. Controls are found by name: "txtAlarm1", "txtDesc2", ...
struct Shown {
    qm::test::TestServices services;
    qm::AlarmsPage page;

    explicit Shown(const QByteArray &file = {}) {
        if (!file.isNull())
            WriteBytes(services.path(qm::AlarmFileName), file);
        page.ensureBuilt();
        page.showStep();
        page.show();
        qm::SnapshotForm(page.window());
    }
    template <typename T = QLineEdit> T *at(const QString &name, int row = 0) const {
        T *found = page.findChild<T *>(row ? name + QString::number(row) : name);
        if (!found)
            qFatal("no control %s", qPrintable(name));
        return found;
    }
    QStringList texts(const QString &name) const {
        return {at(name, 1)->text(), at(name, 2)->text(), at(name, 3)->text()};
    }
    void fill(int row, const QString &time, const QString &description, bool daily = false) {
        at(u"txtAlarm"_s, row)->setText(time);
        at(u"txtDesc"_s, row)->setText(description);
        at<QCheckBox>(u"chkEveryday"_s, row)->setChecked(daily);
    }
    void click(const QString &name) { QTest::mouseClick(at<QWidget>(name), Qt::LeftButton); }
    QByteArray file() const { return ReadBytes(services.path(qm::AlarmFileName)); }
    QString lastMessage() const {
        const auto &messages = services.prompter.messages;
        return messages.isEmpty() ? QString() : messages.last().text;
    }
};

} // namespace

class TestAlarmsPage : public QObject {
    Q_OBJECT
private slots:
    void reasons_data();
    void reasons();
    void rowsArePackedAndReloaded();
    void allRowsEmptyLeaveEmptyFile();
    void leavingTimeBox_data();
    void leavingTimeBox();
    void clearMovesRowsUp_data();
    void clearMovesRowsUp();
    void savedWithoutLeavingTheBox();
    void failedWriteKeepsFileAndPage();
    void firedAlarm_data();
    void firedAlarm();
    void fileOfMoreLines_data();
    void fileOfMoreLines();
    void clockBlinksAndFollowsTime();
};

void TestAlarmsPage::reasons_data() {
    QTest::addColumn<QStringList>("rows"); // time, description, time, ...
    QTest::addColumn<QString>("expected");
    const QString invalid = u" Has An Invalid Time (Must In Be HH:MM Format)\r"_s;
    QTest::newRow("24:00 and 12:60") << QStringList{u"24:00"_s, u"Wake"_s, u"12:60"_s, u"Walk"_s}
                                     << u"Alarm 1"_s + invalid + u"Alarm 2"_s + invalid;
    QTest::newRow("no time") << QStringList{u""_s, u""_s, u""_s, u""_s, u""_s, u"Wake"_s}
                             << u"Alarm 3"_s + invalid + u"No Time Specified For Alarm 3\r"_s;
    // An invalid time without a description is only missing its description.
    QTest::newRow("no description") << QStringList{u"07:30"_s, u""_s, u"25:00"_s, u""_s}
                                    << u"No Description Specified For Alarm 1\r"
                                       u"No Description Specified For Alarm 2\r"_s;
    QTest::newRow("line break after the row's own reasons")
        << QStringList{u""_s, u"Wake\nUp"_s}
        << u"Alarm 1"_s + invalid +
               u"No Time Specified For Alarm 1\r"
               u"Description For Alarm 1 Cannot Contain A Line Break\r"_s;
    QTest::newRow("character without a byte")
        << QStringList{u"07:30"_s, u"Wake \u2603"_s}
        << u"Description For Alarm 1 Contains Characters That Cannot Be Saved\r"_s;
    QTest::newRow("separator allowed")
        << QStringList{u"07:30"_s, u"a"_s + Sep + u"b"_s} << QString();
    QTest::newRow("all blank") << QStringList{} << QString();
}

// The reasons, in their order, refuse the save and leave the file untouched.
void TestAlarmsPage::reasons() {
    QFETCH(QStringList, rows);
    QFETCH(QString, expected);
    Shown shown(ThreeAlarms);
    rows.resize(6);
    for (int row = 1; row <= 3; ++row)
        shown.fill(row, rows.at(2 * row - 2), rows.at(2 * row - 1));
    QCOMPARE(shown.page.ValidateAlarmPage(), expected);
    shown.click(u"cmdAlarmSave"_s);
    if (!expected.isEmpty()) {
        QCOMPARE(shown.lastMessage(), qm::CannotSaveHeading + expected.chopped(1));
        QCOMPARE(shown.file(), ThreeAlarms);
    }
}

// Rows 1 and 3 give two lines; the next entry shows them as rows 1 and 2,
// the separator inside a description included.
void TestAlarmsPage::rowsArePackedAndReloaded() {
    Shown shown;
    shown.fill(1, u"7:30"_s, u"Feed the cat"_s);
    shown.fill(3, u"21:15"_s, u"Pills "_s + Sep + u" twice"_s, true);
    shown.click(u"cmdAlarmSave"_s);
    QCOMPARE(shown.file(), qm::test::TestData(u"alarms/rows_one_and_three.qmt"_s));
    QCOMPARE(shown.lastMessage(), u"Alarm Times Saved"_s);
    QVERIFY(!shown.page.hasUnsavedChanges());

    shown.page.showStep();
    QCOMPARE(shown.texts(u"txtAlarm"_s), (QStringList{u"07:30"_s, u"21:15"_s, u""_s}));
    QCOMPARE(shown.at(u"txtDesc2"_s)->text(), u"Pills "_s + Sep + u" twice"_s);
    QVERIFY(shown.at<QCheckBox>(u"chkEveryday2"_s)->isChecked());
    QVERIFY(shown.at<QWidget>(u"cmdClear2"_s)->isEnabled());
    QVERIFY(!shown.at<QWidget>(u"cmdClear3"_s)->isEnabled());
}

// Cleared to nothing: an empty file, a warning, and the page still counts as
// changed.
void TestAlarmsPage::allRowsEmptyLeaveEmptyFile() {
    Shown shown(ThreeAlarms.left(11));
    shown.click(u"cmdClear1"_s);
    shown.click(u"cmdAlarmSave"_s);
    QVERIFY(QFile::exists(shown.services.path(qm::AlarmFileName)));
    QCOMPARE(shown.file(), QByteArray(""));
    QCOMPARE(shown.lastMessage(), u"No Alarm Times Have Been Specified"_s);
    QVERIFY(shown.page.hasUnsavedChanges());
}

void TestAlarmsPage::leavingTimeBox_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<bool>("red");
    QTest::newRow("9:5") << u"9:5"_s << u"09:05"_s << false;
    QTest::newRow("9") << u"9"_s << u"09:00"_s << false;
    QTest::newRow("24:00") << u"24:00"_s << u"24:00"_s << true;
    QTest::newRow("12:60") << u"12:60"_s << u"12:60"_s << true;
    QTest::newRow("blank") << u""_s << u""_s << false;
}

// Leaving a time box tidies a valid time, marks an invalid one, and the
// row's Clear button follows what is left in the box.
void TestAlarmsPage::leavingTimeBox() {
    QFETCH(QString, typed);
    Shown shown;
    shown.page.show();
    QVERIFY(QTest::qWaitForWindowActive(&shown.page));
    QLineEdit *box = shown.at(u"txtAlarm2"_s);
    box->setFocus();
    QTest::keyClicks(box, typed);
    QTest::keyClick(box, Qt::Key_Tab);
    QTEST(box->text(), "shown");
    QTEST(qm::IsLabelInvalid(shown.at<QLabel>(u"lblAlarm2"_s)), "red");
    QCOMPARE(shown.at<QWidget>(u"cmdClear2"_s)->isEnabled(), !typed.isEmpty());
}

void TestAlarmsPage::clearMovesRowsUp_data() {
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("answer");
    QTest::addColumn<QStringList>("descriptions");
    const int yes = qm::MessageResult::Yes;
    QTest::newRow("row 1") << 1 << yes << QStringList{u"B"_s, u"C"_s, u""_s};
    QTest::newRow("row 2") << 2 << yes << QStringList{u"A"_s, u"C"_s, u""_s};
    QTest::newRow("row 3") << 3 << yes << QStringList{u"A"_s, u"B"_s, u""_s};
    QTest::newRow("answered no") << 1 << int(qm::MessageResult::No)
                                 << QStringList{u"A"_s, u"B"_s, u"C"_s};
}

// A cleared row is filled from the rows below, every-day choice included;
// only the page changes.
void TestAlarmsPage::clearMovesRowsUp() {
    QFETCH(int, row);
    QFETCH(int, answer);
    Shown shown(ThreeAlarms);
    shown.services.prompter.answers = {answer};
    shown.click(u"cmdClear"_s + QString::number(row));
    QCOMPARE(shown.lastMessage(), u"Are You Sure You Want To Clear This Alarm?"_s);
    QTEST(shown.texts(u"txtDesc"_s), "descriptions");
    for (int r = 1; r <= 3; ++r) {
        const bool filled = !shown.at(u"txtAlarm"_s, r)->text().isEmpty();
        QCOMPARE(shown.at<QWidget>(u"cmdClear"_s, r)->isEnabled(), filled);
        QCOMPARE(shown.at<QCheckBox>(u"chkEveryday"_s, r)->isChecked(),
                 shown.at(u"txtDesc"_s, r)->text() == u"B"_s);
    }
    QCOMPARE(shown.file(), ThreeAlarms);
}

// A time typed and left through the menu, or saved with Enter, never leaves
// its box: it is stored as HH:MM all the same, and the box shows it so. Save
// is the page's default button and Close its cancel button.
void TestAlarmsPage::savedWithoutLeavingTheBox() {
    Shown shown;
    QSignalSpy closing(&shown.page, &qm::AlarmsPage::closeRequested);
    shown.fill(1, u"7:30"_s, u"Wake"_s);
    QCOMPARE(shown.page.leaveReasons(), QString());
    shown.page.leaveSave();
    QCOMPARE(shown.file(), QByteArray("07:30\xffN\xffWake\r\n"));
    QCOMPARE(shown.at(u"txtAlarm1"_s)->text(), u"07:30"_s);
    shown.fill(2, u"6:15"_s, u"Run"_s);
    QTest::keyClick(shown.at(u"txtDesc2"_s), Qt::Key_Return);
    QCOMPARE(shown.file(), QByteArray("07:30\xffN\xffWake\r\n06:15\xffN\xffRun\r\n"));
    QCOMPARE(closing.size(), 0);
    QTest::keyClick(shown.at(u"txtDesc2"_s), Qt::Key_Escape);
    QCOMPARE(closing.size(), 1);
}

void TestAlarmsPage::failedWriteKeepsFileAndPage() {
    Shown shown(ThreeAlarms);
    shown.fill(1, u"7:45"_s, u"Changed"_s);
    qm::SetWriteFaultHookForTesting([](qint64) { return false; });
    const auto restore = qScopeGuard([] { qm::SetWriteFaultHookForTesting({}); });
    shown.click(u"cmdAlarmSave"_s);
    QCOMPARE(shown.file(), ThreeAlarms);
    QCOMPARE(shown.at(u"txtAlarm1"_s)->text(), u"7:45"_s);
    QCOMPARE(shown.services.prompter.messages.size(), 1);
    QCOMPARE(shown.services.prompter.messages.last().kind, qm::MessageKind::Error);
    QVERIFY(shown.page.hasUnsavedChanges());
}

void TestAlarmsPage::firedAlarm_data() {
    QTest::addColumn<bool>("edited");
    QTest::addColumn<QStringList>("descriptions");
    QTest::newRow("unchanged page is reloaded") << false << QStringList{u"B"_s, u""_s, u""_s};
    QTest::newRow("edits are kept") << true << QStringList{u"B"_s, u"Tea"_s, u""_s};
}

// The reminder check took the once-only alarm A out of the file.
void TestAlarmsPage::firedAlarm() {
    QFETCH(bool, edited);
    Shown shown(ThreeAlarms.left(22));
    if (edited) {
        // Retyped without leaving the box, the fired alarm's time still names it.
        shown.at(u"txtAlarm1"_s)->setText(u"7:30"_s);
        shown.fill(3, u"9:00"_s, u"Tea"_s);
    }
    WriteBytes(shown.services.path(qm::AlarmFileName), ThreeAlarms.mid(11, 11));
    shown.page.alarmRemoved(u"07:30"_s + Sep + u"N"_s + Sep + u"A"_s);
    QTEST(shown.texts(u"txtDesc"_s), "descriptions");
    // No new snapshot either way: the page no longer matches the one shown.
    QVERIFY(shown.page.hasUnsavedChanges());
    QVERIFY(shown.services.prompter.messages.isEmpty());
}

void TestAlarmsPage::fileOfMoreLines_data() {
    QTest::addColumn<bool>("edit");
    QTest::addColumn<bool>("button");
    QTest::addColumn<QByteArray>("expected"); // empty: the file as it was
    const QByteArray later = "10:00\xffY\xff"
                             "D\r\n11:00\xffN\xff"
                             "E\r\n";
    QTest::newRow("shown and left") << false << false << QByteArray();
    QTest::newRow("changed and left") << true << false
                                      << "07:30\xffN\xff"
                                         "A\r\n08:15\xffN\xff"
                                         "B2\r\n09:00\xffN\xff"
                                         "C\r\n" +
                                             later;
    QTest::newRow("saved with the button") << false << true << ThreeAlarms + later;
}

// A file of more than three alarms (an older version's, a hand edit's): the
// page shows the first three, leaves the file alone unless its alarms were
// changed, and writes the later ones back after its rows.
void TestAlarmsPage::fileOfMoreLines() {
    QFETCH(bool, edit);
    QFETCH(bool, button);
    QFETCH(QByteArray, expected);
    const QByteArray file = "7:30\xffN\xff"
                            "A\r\n\r\n08:00\xffY\xff"
                            "B\r\n09:00\xffN\xff"
                            "C\r\n10:00\xffY\xff"
                            "D\r\n11:00\xffN\xff"
                            "E\r\n";
    Shown shown(file);
    QCOMPARE(shown.texts(u"txtDesc"_s), (QStringList{u"A"_s, u"B"_s, u"C"_s}));
    if (edit)
        shown.fill(2, u"8:15"_s, u"B2"_s);
    if (button)
        shown.click(u"cmdAlarmSave"_s);
    QCOMPARE(shown.page.leaveReasons(), QString());
    shown.page.leaveSave();
    QCOMPARE(shown.file(), expected.isEmpty() ? file : expected);
}

// The colon blinks every tick; the hour and the minute are rewritten (and
// the tick says so) only when they change.
void TestAlarmsPage::clockBlinksAndFollowsTime() {
    Shown shown;
    const QTime ticks[] = {QTime(11, 0, 10),       QTime(11, 0, 10, 500), QTime(11, 1),
                           QTime(11, 59, 59, 500), QTime(12, 0),          QTime(9, 0, 0, 500)};
    // Design face "11:00", then: dots, changed, face.
    const QStringList expected = {u"-11:00"_s,  u":-11:00"_s, u"+11:01"_s,
                                  u":+11:59"_s, u"+12:00"_s,  u":+09:00"_s};
    for (qsizetype i = 0; i < expected.size(); ++i) {
        const bool changed = shown.page.clockTick(ticks[i]);
        const QString dots = shown.at<QLabel>(u"lblDots"_s)->text();
        QCOMPARE(dots + (changed ? u"+"_s : u"-"_s) + shown.at<QLabel>(u"lblHours"_s)->text() +
                     u":"_s + shown.at<QLabel>(u"lblMinutes"_s)->text(),
                 expected.at(i));
    }
}

QTEST_MAIN(TestAlarmsPage)
#include "tst_alarmspage.moc"
