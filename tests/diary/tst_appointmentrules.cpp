#include "diary/AppointmentRules.h"

#include <QtTest>

using namespace Qt::StringLiterals;
using namespace qm;

// The appointment editor's rules without its form.
class TestAppointmentRules : public QObject {
    Q_OBJECT
private slots:
    void durationFromTimes_data();
    void durationFromTimes();
    void durationRule_data();
    void durationRule();
    void spinDuration_data();
    void spinDuration();
    void spinRemind_data();
    void spinRemind();
    void remindExit_data();
    void remindExit();
    void saveReasons_data();
    void saveReasons();
    void line_data();
    void line();
};

namespace {

const QString Sep = QString(QChar(0x00FF));
const QString NoChange = u"<unchanged>"_s;

QString orNoChange(const std::optional<QString> &value) {
    return value.value_or(NoChange);
}

// Entries that pass every rule; rows change one thing at a time.
AppointmentEntries goodEntries() {
    AppointmentEntries e;
    e.date = u"15/03/2024"_s;
    e.start = u"09:30"_s;
    e.end = u"10:15"_s;
    e.duration = u"45"_s;
    e.description = u"Dentist"_s;
    return e;
}

using Edit = std::function<void(AppointmentEntries &)>;

} // namespace

void TestAppointmentRules::durationFromTimes_data() {
    QTest::addColumn<QString>("start");
    QTest::addColumn<QString>("end");
    QTest::addColumn<QString>("duration");
    QTest::newRow("45 minutes") << u"09:30"_s << u"10:15"_s << u"45"_s;
    QTest::newRow("across hours, minutes lower at the end") << u"09:50"_s << u"11:05"_s << u"75"_s;
    QTest::newRow("whole day") << u"00:00"_s << u"23:59"_s << u"1439"_s;
    QTest::newRow("one minute") << u"23:58"_s << u"23:59"_s << u"1"_s;
    QTest::newRow("hours alone are valid times") << u"9"_s << u"10"_s << u"60"_s;
    QTest::newRow("equal times") << u"10:00"_s << u"10:00"_s << NoChange;
    QTest::newRow("end before start") << u"10:00"_s << u"09:59"_s << NoChange;
    QTest::newRow("empty start") << QString() << u"10:00"_s << NoChange;
    QTest::newRow("empty end") << u"10:00"_s << QString() << NoChange;
    QTest::newRow("hour out of range") << u"24:00"_s << u"23:00"_s << NoChange;
    QTest::newRow("passes the rules, no time") << u"9.0:30"_s << u"10:00"_s << NoChange;
}

void TestAppointmentRules::durationFromTimes() {
    QFETCH(QString, start);
    QFETCH(QString, end);
    QFETCH(QString, duration);
    QCOMPARE(orNoChange(DurationFromTimes(start, end)), duration);
}

void TestAppointmentRules::durationRule_data() {
    QTest::addColumn<QString>("start");
    QTest::addColumn<QString>("duration");
    QTest::addColumn<QString>("newDuration");
    QTest::addColumn<QString>("newEnd");
    QTest::newRow("90 from 09:00") << u"09:00"_s << u"90"_s << u"90"_s << u"10:30"_s;
    QTest::newRow("minutes carry into the hour") << u"09:45"_s << u"30"_s << u"30"_s << u"10:15"_s;
    QTest::newRow("exactly to the hour") << u"09:45"_s << u"15"_s << u"15"_s << u"10:00"_s;
    QTest::newRow("cut to the end of the day") << u"23:00"_s << u"120"_s << u"59"_s << u"23:59"_s;
    QTest::newRow("longest allowed kept") << u"00:00"_s << u"1439"_s << u"1439"_s << u"23:59"_s;
    QTest::newRow("four digits cut") << u"12:00"_s << u"9999"_s << u"719"_s << u"23:59"_s;
    QTest::newRow("blanks round the number") << u"09:00"_s << u" 5 "_s << u"5"_s << u"09:05"_s;
    QTest::newRow("leading zeros") << u"09:00"_s << u"007"_s << u"7"_s << u"09:07"_s;
    QTest::newRow("not a number") << u"09:00"_s << u"abc"_s << u"0"_s << NoChange;
    QTest::newRow("empty") << u"09:00"_s << QString() << u"0"_s << NoChange;
    QTest::newRow("zero") << u"09:00"_s << u"0"_s << u"0"_s << NoChange;
    QTest::newRow("negative") << u"09:00"_s << u"-5"_s << u"0"_s << NoChange;
    QTest::newRow("start not valid") << u"25:00"_s << u"30"_s << u"0"_s << NoChange;
    QTest::newRow("start empty") << QString() << u"30"_s << u"0"_s << NoChange;
    QTest::newRow("start at the last minute") << u"23:59"_s << u"5"_s << u"0"_s << u"23:59"_s;
}

void TestAppointmentRules::durationRule() {
    QFETCH(QString, start);
    QFETCH(QString, duration);
    QFETCH(QString, newDuration);
    QFETCH(QString, newEnd);
    const DurationOutcome outcome = ApplyDurationRule(start, duration);
    QCOMPARE(outcome.duration, newDuration);
    QCOMPARE(orNoChange(outcome.end), newEnd);
}

void TestAppointmentRules::spinDuration_data() {
    QTest::addColumn<QString>("start");
    QTest::addColumn<QString>("duration");
    QTest::addColumn<int>("maxDuration");
    QTest::addColumn<int>("direction");
    QTest::addColumn<QString>("newDuration");
    QTest::addColumn<QString>("newEnd");
    QTest::newRow("up from empty") << u"09:00"_s << QString() << 899 << 1 << u"5"_s << u"09:05"_s;
    QTest::newRow("up from 10") << u"09:00"_s << u"10"_s << 899 << 1 << u"15"_s << u"09:15"_s;
    QTest::newRow("up from text") << u"09:00"_s << u"x"_s << 899 << 1 << u"5"_s << u"09:05"_s;
    QTest::newRow("up near the end of the day is cut")
        << u"23:00"_s << u"57"_s << 59 << 1 << u"59"_s << u"23:59"_s;
    QTest::newRow("up at the longest stays")
        << u"23:00"_s << u"59"_s << 59 << 1 << u"59"_s << u"23:59"_s;
    QTest::newRow("up with an invalid start") << u"x"_s << u"10"_s << 0 << 1 << u"0"_s << NoChange;
    QTest::newRow("down from 15") << u"09:00"_s << u"15"_s << 899 << -1 << u"10"_s << u"09:10"_s;
    QTest::newRow("down from 5 reaches 0")
        << u"09:00"_s << u"5"_s << 899 << -1 << u"0"_s << NoChange;
    QTest::newRow("down from 3 stops at 0")
        << u"09:00"_s << u"3"_s << 899 << -1 << u"0"_s << NoChange;
    QTest::newRow("down from 0") << u"09:00"_s << u"0"_s << 899 << -1 << u"0"_s << NoChange;
    QTest::newRow("down from above the longest is cut")
        << u"23:00"_s << u"120"_s << 59 << -1 << u"59"_s << u"23:59"_s;
}

void TestAppointmentRules::spinDuration() {
    QFETCH(QString, start);
    QFETCH(QString, duration);
    QFETCH(int, maxDuration);
    QFETCH(int, direction);
    QFETCH(QString, newDuration);
    QFETCH(QString, newEnd);
    const DurationOutcome outcome = SpinDuration(start, duration, maxDuration, direction);
    QCOMPARE(outcome.duration, newDuration);
    QCOMPARE(orNoChange(outcome.end), newEnd);
}

void TestAppointmentRules::spinRemind_data() {
    QTest::addColumn<QString>("remind");
    QTest::addColumn<int>("direction");
    QTest::addColumn<QString>("expected");
    QTest::newRow("up from empty") << QString() << 1 << u"5"_s;
    QTest::newRow("up from 15") << u"15"_s << 1 << u"20"_s;
    QTest::newRow("up from 58 stops at 60") << u"58"_s << 1 << u"60"_s;
    QTest::newRow("up at 60") << u"60"_s << 1 << NoChange;
    QTest::newRow("up from 75") << u"75"_s << 1 << NoChange;
    QTest::newRow("down from 15") << u"15"_s << -1 << u"10"_s;
    QTest::newRow("down from 3 stops at 0") << u"3"_s << -1 << u"0"_s;
    QTest::newRow("down at 0") << u"0"_s << -1 << NoChange;
    QTest::newRow("down from empty") << QString() << -1 << NoChange;
    QTest::newRow("down from 75") << u"75"_s << -1 << u"70"_s;
}

void TestAppointmentRules::spinRemind() {
    QFETCH(QString, remind);
    QFETCH(int, direction);
    QFETCH(QString, expected);
    QCOMPARE(orNoChange(SpinRemind(remind, direction)), expected);
}

void TestAppointmentRules::remindExit_data() {
    QTest::addColumn<QString>("remind");
    QTest::addColumn<QString>("expected");
    QTest::newRow("empty") << QString() << u"0"_s;
    QTest::newRow("not a number") << u"ab"_s << u"0"_s;
    QTest::newRow("zero") << u"0"_s << u"0"_s;
    QTest::newRow("negative") << u"-5"_s << u"0"_s;
    QTest::newRow("one") << u"1"_s << u"1"_s;
    QTest::newRow("leading zero kept as typed") << u"05"_s << u"05"_s;
    QTest::newRow("59") << u"59"_s << u"59"_s;
    QTest::newRow("60") << u"60"_s << u"60"_s;
    QTest::newRow("75") << u"75"_s << u"60"_s;
    QTest::newRow("99") << u"99"_s << u"60"_s;
}

void TestAppointmentRules::remindExit() {
    QFETCH(QString, remind);
    QFETCH(QString, expected);
    QCOMPARE(RemindExitRule(remind), expected);
}

void TestAppointmentRules::saveReasons_data() {
    using namespace AppointmentReason;
    QTest::addColumn<Edit>("edit");
    QTest::addColumn<QString>("reasons");
    QTest::newRow("all good") << Edit([](AppointmentEntries &) {}) << QString();
    QTest::newRow("everything empty")
        << Edit([](AppointmentEntries &e) {
               e = AppointmentEntries();
               e.date = u"  /  /    "_s;
           })
        << DateNotValid + u"\r"_s + StartNotValid + u"\r"_s + EndNotValid + u"\r"_s +
               DurationTooShort + u"\r"_s + DescriptionMissing + u"\r"_s;
    QTest::newRow("date not in the calendar")
        << Edit([](AppointmentEntries &e) { e.date = u"29/02/1900"_s; }) << DateNotValid + u"\r"_s;
    QTest::newRow("month 13") << Edit([](AppointmentEntries &e) { e.date = u"15/13/2024"_s; })
                              << DateNotValid + u"\r"_s;
    QTest::newRow("leap day") << Edit([](AppointmentEntries &e) { e.date = u"29/02/2024"_s; })
                              << QString();
    QTest::newRow("start passes the rules but is no time")
        << Edit([](AppointmentEntries &e) { e.start = u"9.0:30"_s; }) << StartNotValid + u"\r"_s;
    QTest::newRow("end out of range")
        << Edit([](AppointmentEntries &e) { e.end = u"24:00"_s; }) << EndNotValid + u"\r"_s;
    QTest::newRow("equal times") << Edit([](AppointmentEntries &e) {
        e.start = e.end = u"10:00"_s;
    }) << EndNotAfterStart + u"\r"_s;
    QTest::newRow("end before start, duration gone") << Edit([](AppointmentEntries &e) {
        e.start = u"11:00"_s;
        e.duration = u"0"_s;
    }) << DurationTooShort + u"\r"_s + EndNotAfterStart + u"\r"_s;
    QTest::newRow("duration not a number")
        << Edit([](AppointmentEntries &e) { e.duration = u"ab"_s; }) << DurationTooShort + u"\r"_s;
    QTest::newRow("blank description")
        << Edit([](AppointmentEntries &e) { e.description = u"   "_s; })
        << DescriptionMissing + u"\r"_s;
    QTest::newRow("description with the separator")
        << Edit([](AppointmentEntries &e) { e.description = u"A"_s + Sep + u"B"_s; })
        << u"Description Cannot Contain The Character \u00FF\r"_s;
    QTest::newRow("description with a line break")
        << Edit([](AppointmentEntries &e) { e.description = u"A\nB"_s; })
        << u"Description Cannot Contain A Line Break\r"_s;
    QTest::newRow("description outside the code page, before the reminder")
        << Edit([](AppointmentEntries &e) {
               e.description = u"Tea \u4E00"_s;
               e.remindEnabled = true;
           })
        << u"Description Contains Characters That Cannot Be Saved\r"_s + RemindOutOfRange + u"\r"_s;
    QTest::newRow("code page characters are fine")
        << Edit([](AppointmentEntries &e) { e.description = u"Caf\u00E9 \u20AC5"_s; }) << QString();
    QTest::newRow("reminder ticked, empty")
        << Edit([](AppointmentEntries &e) { e.remindEnabled = true; })
        << RemindOutOfRange + u"\r"_s;
    QTest::newRow("reminder 61") << Edit([](AppointmentEntries &e) {
        e.remindEnabled = true;
        e.remind = u"61"_s;
    }) << RemindOutOfRange + u"\r"_s;
    QTest::newRow("reminder 60") << Edit([](AppointmentEntries &e) {
        e.remindEnabled = true;
        e.remind = u"60"_s;
    }) << QString();
    QTest::newRow("reminder not ticked, value ignored")
        << Edit([](AppointmentEntries &e) { e.remind = u"99"_s; }) << QString();
}

void TestAppointmentRules::saveReasons() {
    QFETCH(Edit, edit);
    QFETCH(QString, reasons);
    AppointmentEntries entries = goodEntries();
    edit(entries);
    QCOMPARE(AppointmentSaveReasons(entries), reasons);
}

void TestAppointmentRules::line_data() {
    QTest::addColumn<Edit>("edit");
    QTest::addColumn<QString>("line");
    const QString base = u"20240315"_s + Sep + u"09:30"_s + Sep + u"10:15"_s + Sep;
    QTest::newRow("plain") << Edit([](AppointmentEntries &) {})
                           << base + u"Dentist"_s + Sep + u"0"_s + Sep + u"N"_s;
    QTest::newRow("reminder with a leading zero, tentative") << Edit([](AppointmentEntries &e) {
        e.remindEnabled = true;
        e.remind = u"05"_s;
        e.tentative = true;
    }) << base + u"Dentist"_s + Sep + u"5"_s + Sep + u"Y"_s;
    QTest::newRow("description as typed")
        << Edit([](AppointmentEntries &e) { e.description = u" see  Dr. Who "_s; })
        << base + u" see  Dr. Who "_s + Sep + u"0"_s + Sep + u"N"_s;
    QTest::newRow("times not yet in normal form") << Edit([](AppointmentEntries &e) {
        e.start = u"9:30"_s;
        e.date = u"15/3/2024"_s;
    }) << base + u"Dentist"_s + Sep + u"0"_s + Sep + u"N"_s;
}

void TestAppointmentRules::line() {
    QFETCH(Edit, edit);
    QFETCH(QString, line);
    AppointmentEntries entries = goodEntries();
    edit(entries);
    QCOMPARE(AppointmentLineFromEntries(entries), line);
}

QTEST_GUILESS_MAIN(TestAppointmentRules)
#include "tst_appointmentrules.moc"
