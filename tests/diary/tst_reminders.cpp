#include "alarms/ui/AlarmsPage.h"
#include "diary/AppointmentStore.h"
#include "diary/ReminderQueue.h"
#include "diary/ui/DiaryPage.h"
#include "diary/ui/Reminders.h"
#include "diary/ui/TfrmRemind.h"
#include "foundation/RecordFile.h"
#include "foundation/ui/MsgBox.h"
#include "shell/ui/TfrmMain.h"
#include "support/DiaryLines.h"
#include "support/TestServices.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QtTest>

using namespace Qt::StringLiterals;
using qm::test::DiaryLine;
using qm::test::ReadBytes;
using qm::test::WriteBytes;

namespace {

const QChar Sep(0x00FF);

QString Alarm(const QString &time, const QString &flag, const QString &description) {
    return time + Sep + flag + Sep + description;
}

QDateTime At(const QString &text) {
    return QDateTime::fromString(text, u"yyyy-MM-dd hh:mm:ss"_s);
}

// What a pop-up showed: its caption and message.
struct Shown {
    QString caption;
    QString message;
};

// Answers every pop-up by pressing its button, recording what it showed;
// before each answer, hold() may move the clock on.
struct PopUps {
    qm::test::TestServices &services;
    QList<Shown> shown;
    std::function<void(int index)> hold;

    explicit PopUps(qm::test::TestServices &s) : services(s) {
        services.prompter.modalHandler = [this](QDialog &dialog) {
            dialog.show();
            QCoreApplication::processEvents();
            shown.append(
                {dialog.windowTitle(), dialog.findChild<QLabel *>(u"lblMessage"_s)->text()});
            if (hold)
                hold(int(shown.size()) - 1);
            QTest::mouseClick(dialog.findChild<QPushButton *>(u"cmdUpdate"_s), Qt::LeftButton);
            return dialog.result();
        };
    }
    QStringList messages() const {
        QStringList texts;
        for (const Shown &s : shown)
            texts.append(s.message);
        return texts;
    }
};

} // namespace

class TestReminders : public QObject {
    Q_OBJECT
private slots:
    void queue_data();
    void queue();
    void messages_data();
    void messages();
    void checks_data();
    void checks();
    void popUp_data();
    void popUp();
    void heldPopUpIsFollowedByWhatFellDue();
    void onceOnlyAlarmIsUsedUp_data();
    void onceOnlyAlarmIsUsedUp();
    void unreadableAlarmFileIsReportedOnce();
    void endToEndThroughTheMainWindow();
    void onceOnlyAlarmOnTheAlarmPage();
};

// The entries of one day in queue order: reminders by store position, then
// alarms by file number.
void TestReminders::queue_data() {
    QTest::addColumn<QStringList>("diary");
    QTest::addColumn<QStringList>("alarms");
    QTest::addColumn<QString>("expected");
    const QString today = u"20240315"_s;
    const QString tomorrow = u"20240316"_s;
    const auto line = [](const QString &date, const QString &start, const QString &reminder) {
        return DiaryLine(date, start, u"23:59"_s, u"Meeting"_s, u"N"_s, reminder);
    };
    QTest::newRow("10 minutes before 14:00")
        << QStringList{line(today, u"14:00"_s, u"10"_s)} << QStringList() << u"|13:50R0|"_s;
    QTest::newRow("14:05 less 10 and 14:00 less 60")
        << QStringList{line(today, u"14:00"_s, u"60"_s), line(today, u"14:05"_s, u"10"_s)}
        << QStringList() << u"|13:00R0|13:55R1|"_s;
    QTest::newRow("no reminder, odd start, day before and after")
        << QStringList{line(u"20240314"_s, u"14:00"_s, u"10"_s), line(today, u"09:00"_s, u"0"_s),
                       line(today, u"9:00"_s, u"15"_s), line(tomorrow, u"14:00"_s, u"10"_s)}
        << QStringList() << u"|"_s;
    QTest::newRow("00:10 tomorrow is due at 23:55 today, 00:10 today is not")
        << QStringList{line(today, u"00:10"_s, u"15"_s), line(tomorrow, u"00:10"_s, u"15"_s)}
        << QStringList() << u"|23:55R1|"_s;
    QTest::newRow("alarms after reminders, numbered in file order")
        << QStringList{line(today, u"09:00"_s, u"15"_s)}
        << QStringList{Alarm(u"07:30"_s, u"N"_s, u"Up"_s), Alarm(u"18:00"_s, u"Y"_s, u"Tea"_s)}
        << u"|08:45R0|07:30A1|18:00A2|"_s;
    QTest::newRow("a time kept as typed still counts, a wrong one keeps its number")
        << QStringList()
        << QStringList{Alarm(u"24:00"_s, u"N"_s, u"x"_s), u"   "_s,
                       Alarm(u"7:30"_s, u"N"_s, u"y"_s)}
        << u"|07:30A2|"_s;
}

void TestReminders::queue() {
    QFETCH(QStringList, diary);
    QFETCH(QStringList, alarms);
    QFETCH(QString, expected);
    // Lines of other days around them must not disturb the search by date.
    QStringList sorted;
    for (int day = 1; day <= 28; ++day)
        sorted.append(DiaryLine(u"202402%1"_s.arg(day, 2, 10, QChar(u'0')), u"14:00"_s, u"15:00"_s,
                                u"Before"_s, u"N"_s, u"5"_s));
    const qsizetype offset = sorted.size();
    sorted += diary;
    for (int day = 1; day <= 28; ++day)
        sorted.append(DiaryLine(u"202404%1"_s.arg(day, 2, 10, QChar(u'0')), u"14:00"_s, u"15:00"_s,
                                u"After"_s, u"N"_s, u"5"_s));
    QString text = qm::ReminderQueueText(qm::RemindersDueOn(sorted, alarms, QDate(2024, 3, 15)));
    // Positions as the test gave them.
    for (qsizetype i = diary.size() - 1; i >= 0; --i)
        text.replace(u"R%1|"_s.arg(offset + i), u"R%1|"_s.arg(i));
    QCOMPARE(text, expected);
}

void TestReminders::messages_data() {
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("expected");
    QTest::newRow("minutes") << qm::AppointmentReminderMessage(DiaryLine(u"20240315"_s, u"09:00"_s,
                                                                         u"10:00"_s, u"Dentist"_s,
                                                                         u"N"_s, u"15"_s))
                             << u"Your Appointment : Dentist Is Due To Start In 15 Minutes."_s;
    QTest::newRow("one minute") << qm::AppointmentReminderMessage(
                                       DiaryLine(u"20240315"_s, u"09:00"_s, u"10:00"_s,
                                                 u"Call Ann"_s, u"Y"_s, u"1"_s))
                                << u"Your Appointment : Call Ann Is Due To Start In 1 Minute."_s;
    QTest::newRow("alarm") << qm::AlarmMessage(Alarm(u"07:30"_s, u"N"_s, u"Wake \u00FF up"_s))
                           << u"Alarm For 07:30. Wake \u00FF up"_s;
    QTest::newRow("alarm kept as typed")
        << qm::AlarmMessage(Alarm(u"7:5"_s, u"Y"_s, u"Tea"_s)) << u"Alarm For 07:05. Tea"_s;
}

void TestReminders::messages() {
    QFETCH(QString, message);
    QFETCH(QString, expected);
    QCOMPARE(message, expected);
}

// A run of checks at the given moments: what each check shows, as "time kind
// number" per entry, checks separated by "/".
void TestReminders::checks_data() {
    QTest::addColumn<QStringList>("diary");
    QTest::addColumn<QStringList>("alarms");
    QTest::addColumn<QStringList>("moments");
    QTest::addColumn<QString>("expected");
    const auto line = [](const QString &date, const QString &start, const QString &reminder) {
        return DiaryLine(date, start, u"23:59"_s, u"Meeting"_s, u"N"_s, reminder);
    };
    const QStringList noAlarms;
    QTest::newRow("on time, then again in the same minute")
        << QStringList{line(u"20240315"_s, u"14:00"_s, u"10"_s)} << noAlarms
        << QStringList{u"2024-03-15 13:49:40"_s, u"2024-03-15 13:50:30"_s, u"2024-03-15 13:50:45"_s}
        << u"/13:50R0/"_s;
    QTest::newRow("a tick 40 s late passes over the due minute")
        << QStringList{line(u"20240315"_s, u"14:00"_s, u"10"_s)} << noAlarms
        << QStringList{u"2024-03-15 13:49:45"_s, u"2024-03-15 13:51:15"_s} << u"/13:50R0"_s;
    QTest::newRow("two hours asleep: each missed entry once, earliest first")
        << QStringList{line(u"20240315"_s, u"10:00"_s, u"15"_s),
                       line(u"20240315"_s, u"10:30"_s, u"60"_s)}
        << QStringList{Alarm(u"09:10"_s, u"Y"_s, u"Tea"_s)}
        << QStringList{u"2024-03-15 09:00:00"_s, u"2024-03-15 11:00:30"_s, u"2024-03-15 11:01:20"_s}
        << u"/09:10A1 09:30R1 09:45R0/"_s;
    QTest::newRow("00:10 reminder at 23:55 the evening before")
        << QStringList{line(u"20240316"_s, u"00:10"_s, u"15"_s)} << noAlarms
        << QStringList{u"2024-03-15 23:55:10"_s} << u"23:55R0"_s;
    QTest::newRow("over midnight the evening's last minutes still count")
        << QStringList{line(u"20240316"_s, u"00:10"_s, u"15"_s)} << noAlarms
        << QStringList{u"2024-03-15 23:54:30"_s, u"2024-03-16 00:00:10"_s} << u"/23:55R0"_s;
    QTest::newRow("the first check looks at its own minute only")
        << QStringList{line(u"20240315"_s, u"09:00"_s, u"15"_s)} << noAlarms
        << QStringList{u"2024-03-15 08:50:00"_s} << QString();
    QTest::newRow("an every-day alarm goes off again the next day")
        << QStringList() << QStringList{Alarm(u"07:30"_s, u"Y"_s, u"Up"_s)}
        << QStringList{u"2024-03-15 07:30:05"_s, u"2024-03-15 07:31:00"_s, u"2024-03-16 07:30:20"_s}
        << u"07:30A1//07:30A1"_s;
    QTest::newRow("a week away: each alarm once, from the last day")
        << QStringList() << QStringList{Alarm(u"07:30"_s, u"Y"_s, u"Up"_s)}
        << QStringList{u"2024-03-08 07:29:00"_s, u"2024-03-15 08:00:00"_s} << u"/07:30A1"_s;
    QTest::newRow("one minute: reminder before alarm")
        << QStringList{line(u"20240315"_s, u"07:45"_s, u"15"_s)}
        << QStringList{Alarm(u"07:30"_s, u"N"_s, u"Up"_s)} << QStringList{u"2024-03-15 07:30:00"_s}
        << u"07:30R0 07:30A1"_s;
    QTest::newRow("a clock put back shows nothing twice")
        << QStringList{line(u"20240315"_s, u"14:00"_s, u"10"_s)} << noAlarms
        << QStringList{u"2024-03-15 13:50:10"_s, u"2024-03-15 13:40:00"_s, u"2024-03-15 13:50:50"_s}
        << u"13:50R0//"_s;
}

void TestReminders::checks() {
    QFETCH(QStringList, diary);
    QFETCH(QStringList, alarms);
    QFETCH(QStringList, moments);
    QFETCH(QString, expected);
    qm::ReminderWatch watch;
    QStringList results;
    for (const QString &moment : moments) {
        const QDateTime now = At(moment);
        QStringList shown;
        while (const auto entry = watch.next(now, diary, alarms)) {
            watch.shown(*entry);
            shown.append(entry->due.toString(u"hh:mm"_s) + QChar(entry->kind) +
                         QString::number(entry->number));
        }
        watch.checked(now);
        results.append(shown.join(u' '));
    }
    QCOMPARE(results.join(u'/'), expected);
}

void TestReminders::popUp_data() {
    QTest::addColumn<int>("tag");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<int>("closeKey");
    QTest::newRow("appointment, Enter") << 2 << u"Appointment Reminder"_s << int(Qt::Key_Return);
    QTest::newRow("alarm, Esc") << 1 << u"Alarm Time Reached"_s << int(Qt::Key_Escape);
}

// The pop-up stays in front and closes only by its button, Enter or Esc.
void TestReminders::popUp() {
    QFETCH(int, tag);
    QFETCH(QString, caption);
    QFETCH(int, closeKey);
    qm::test::TestServices services;
    qm::TfrmRemind form(qm::TfrmRemind::Tag(tag), u"Alarm For 07:30. Up"_s);
    QCOMPARE(form.windowTitle(), u"Reminder"_s);
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    QCOMPARE(form.windowTitle(), caption);
    QVERIFY(form.windowFlags() & Qt::WindowStaysOnTopHint);
    QVERIFY(!(form.windowFlags() & Qt::WindowCloseButtonHint));
    auto *button = form.findChild<QPushButton *>(u"cmdUpdate"_s);
    QCOMPARE(button->text(), u"&Close"_s);
    QCOMPARE(button->toolTip(), u"Close This Screen"_s);
    QVERIFY(button->isDefault());
    for (const QString &picture : {u"imgAlarm"_s, u"imgScroll"_s})
        QVERIFY(!form.findChild<QLabel *>(picture)->pixmap().isNull());
    auto *message = form.findChild<QLabel *>(u"lblMessage"_s);
    QVERIFY(message->wordWrap());
    QCOMPARE(message->alignment(), Qt::AlignCenter);

    form.close();
    QVERIFY(form.isVisible());
    QTest::keyClick(&form, Qt::Key(closeKey));
    QVERIFY(!form.isVisible());
    QCOMPARE(form.result(), int(QDialog::Accepted));
}

// While one pop-up is open for three minutes the entries due meanwhile wait;
// they follow one by one when it closes, each once.
void TestReminders::heldPopUpIsFollowedByWhatFellDue() {
    qm::test::TestServices services;
    services.clock.set(At(u"2024-03-15 09:00:05"_s));
    qm::AppointmentStore store;
    store.load({DiaryLine(u"20240315"_s, u"09:10"_s, u"10:00"_s, u"A"_s, u"N"_s, u"10"_s),
                DiaryLine(u"20240315"_s, u"09:11"_s, u"10:00"_s, u"B"_s, u"N"_s, u"10"_s),
                DiaryLine(u"20240315"_s, u"09:12"_s, u"10:00"_s, u"C"_s, u"N"_s, u"10"_s),
                DiaryLine(u"20240315"_s, u"09:30"_s, u"10:00"_s, u"D"_s, u"N"_s, u"10"_s)});
    QWidget window;
    qm::Reminders reminders(store, &window);
    PopUps popUps(services);
    popUps.hold = [&](int index) {
        if (index == 0)
            services.clock.set(At(u"2024-03-15 09:03:00"_s));
    };
    reminders.check();
    QCOMPARE(popUps.messages(),
             (QStringList{u"Your Appointment : A Is Due To Start In 10 Minutes."_s,
                          u"Your Appointment : B Is Due To Start In 10 Minutes."_s,
                          u"Your Appointment : C Is Due To Start In 10 Minutes."_s}));
    services.clock.set(At(u"2024-03-15 09:03:50"_s));
    reminders.check();
    QCOMPARE(popUps.shown.size(), 3);
}

void TestReminders::onceOnlyAlarmIsUsedUp_data() {
    QTest::addColumn<QStringList>("before");
    QTest::addColumn<bool>("writeFails");
    QTest::addColumn<QByteArray>("after"); // "-" for no file
    const QString up = Alarm(u"07:30"_s, u"N"_s, u"Up"_s);
    const QString tea = Alarm(u"08:00"_s, u"Y"_s, u"Tea"_s);
    QTest::newRow("the others stay in order")
        << QStringList{tea, up} << false << QByteArray("08:00\xFFY\xFFTea\r\n");
    QTest::newRow("the only one: no file") << QStringList{up} << false << QByteArray("-");
    QTest::newRow("write fails: it stays")
        << QStringList{up, tea} << true << QByteArray("07:30\xFFN\xFFUp\r\n08:00\xFFY\xFFTea\r\n");
    QTest::newRow("every day: it stays") << QStringList{Alarm(u"07:30"_s, u"Y"_s, u"Up"_s)} << false
                                         << QByteArray("07:30\xFFY\xFFUp\r\n");
}

// A once-only alarm is taken out of the file after its pop-up, in one atomic
// rewrite; a failed write is reported and leaves it where it was.
void TestReminders::onceOnlyAlarmIsUsedUp() {
    QFETCH(QStringList, before);
    QFETCH(bool, writeFails);
    QFETCH(QByteArray, after);
    qm::test::TestServices services;
    const QString file = services.path(u"Alarm.Qmt"_s);
    qm::WriteRecordFile(file, before);
    services.clock.set(At(u"2024-03-15 07:30:10"_s));
    qm::AppointmentStore store;
    QWidget window;
    qm::Reminders reminders(store, &window);
    QSignalSpy removed(&reminders, &qm::Reminders::alarmRemoved);
    PopUps popUps(services);
    if (writeFails)
        qm::SetWriteFaultHookForTesting([](qint64) { return false; });
    reminders.check();
    qm::SetWriteFaultHookForTesting({});
    QCOMPARE(popUps.messages(), QStringList{u"Alarm For 07:30. Up"_s});
    QCOMPARE(popUps.shown[0].caption, u"Alarm Time Reached"_s);
    QCOMPARE(after == "-" ? !QFile::exists(file) : ReadBytes(file) == after, true);
    const bool usedUp = !writeFails && before.contains(Alarm(u"07:30"_s, u"N"_s, u"Up"_s));
    QCOMPARE(removed.size(), usedUp ? 1 : 0);
    const auto &messages = services.prompter.messages;
    QCOMPARE(messages.size(), writeFails ? 1 : 0);
    if (writeFails)
        QCOMPARE(messages[0].kind, int(qm::MessageKind::Error));
    // Not shown again in the same minute, even where it stayed.
    services.clock.set(At(u"2024-03-15 07:30:55"_s));
    reminders.check();
    QCOMPARE(popUps.shown.size(), 1);
}

// An alarm file that cannot be read is reported once, and the appointments'
// reminders still go off.
void TestReminders::unreadableAlarmFileIsReportedOnce() {
    qm::test::TestServices services;
    QVERIFY(QDir(services.dir.path()).mkdir(u"Alarm.Qmt"_s));
    services.clock.set(At(u"2024-03-15 08:45:00"_s));
    qm::AppointmentStore store;
    store.load({DiaryLine(u"20240315"_s, u"09:00"_s, u"10:00"_s, u"Dentist"_s, u"N"_s, u"15"_s)});
    QWidget window;
    qm::Reminders reminders(store, &window);
    PopUps popUps(services);
    reminders.check();
    services.clock.set(At(u"2024-03-15 08:45:50"_s));
    reminders.check();
    QCOMPARE(services.prompter.messages.size(), 1);
    QCOMPARE(services.prompter.messages[0].kind, int(qm::MessageKind::Error));
    QCOMPARE(popUps.messages(),
             QStringList{u"Your Appointment : Dentist Is Due To Start In 15 Minutes."_s});
}

// An appointment added with a reminder pops up when the main window's timer
// reaches its minute; the timer waits while the pop-up is open.
void TestReminders::endToEndThroughTheMainWindow() {
    qm::test::TestServices services;
    services.clock.set(At(u"2024-03-15 13:00:00"_s));
    qm::TfrmMain window;
    QVERIFY(window.StartUp());
    window.show();
    QVERIFY(window.timAlarm.isActive());
    auto *diary = window.findChild<qm::DiaryPage *>(u"tabDiary"_s);
    diary->store().add(
        DiaryLine(u"20240315"_s, u"14:00"_s, u"15:00"_s, u"Dentist"_s, u"N"_s, u"10"_s));
    PopUps popUps(services);
    bool timerWaited = false;
    popUps.hold = [&](int) { timerWaited = !window.timAlarm.isActive(); };

    services.clock.set(At(u"2024-03-15 13:49:30"_s));
    window.timAlarmTimer();
    QVERIFY(popUps.shown.isEmpty());
    services.clock.set(At(u"2024-03-15 13:50:20"_s));
    window.timAlarmTimer();
    QCOMPARE(popUps.shown.size(), 1);
    QCOMPARE(popUps.shown[0].caption, u"Appointment Reminder"_s);
    QCOMPARE(popUps.shown[0].message,
             u"Your Appointment : Dentist Is Due To Start In 10 Minutes."_s);
    QVERIFY(timerWaited);
    QVERIFY(window.timAlarm.isActive());
    QVERIFY(services.prompter.messages.isEmpty());
}

// A once-only alarm going off while the alarm page is shown: the page shows
// the alarms left, and closing from it still warns of unsaved alarm times
// (the page differs from what it showed when entered) until it is left.
void TestReminders::onceOnlyAlarmOnTheAlarmPage() {
    qm::test::TestServices services;
    const QString file = services.path(u"Alarm.Qmt"_s);
    qm::WriteRecordFile(file,
                        {Alarm(u"07:30"_s, u"N"_s, u"Up"_s), Alarm(u"08:00"_s, u"Y"_s, u"Tea"_s)});
    services.clock.set(At(u"2024-03-15 07:29:30"_s));
    qm::TfrmMain window;
    QVERIFY(window.StartUp());
    window.show();
    window.menuClick(2);
    QCOMPARE(window.findChild<QLabel *>(u"lblDate"_s)->text(), u"Friday 15th March 2024  07:29"_s);
    const auto time = [&](int row) {
        return window.findChild<QLineEdit *>(u"txtAlarm%1"_s.arg(row))->text();
    };
    QCOMPARE(time(1), u"07:30"_s);

    // The picker buttons open the program's time picker.
    QString picker;
    services.prompter.modalHandler = [&](QDialog &dialog) {
        picker = dialog.objectName();
        return int(QDialog::Rejected);
    };
    QTest::mouseClick(window.findChild<QWidget *>(u"spdAlarm2"_s), Qt::LeftButton);
    QCOMPARE(picker, u"frmSelTime"_s);

    PopUps popUps(services);
    services.clock.set(At(u"2024-03-15 07:30:10"_s));
    window.timAlarmTimer();
    QCOMPARE(popUps.messages(), QStringList{u"Alarm For 07:30. Up"_s});
    QCOMPARE(ReadBytes(file), QByteArray("08:00\xFFY\xFFTea\r\n"));
    QCOMPARE(time(1), u"08:00"_s);
    QCOMPARE(time(2), QString());

    services.prompter.answers = {int(qm::MessageResult::No)};
    QVERIFY(!window.FormCloseQuery());
    QVERIFY(services.prompter.messages.last().text.startsWith(
        u"You Have Unsaved Alarm Times, If You Close Quillmate Now"_s));
    window.menuClick(0);
    const qsizetype asked = services.prompter.messages.size();
    QVERIFY(window.FormCloseQuery());
    QCOMPARE(services.prompter.messages.size(), asked);
    QCOMPARE(ReadBytes(file), QByteArray("08:00\xFFY\xFFTea\r\n"));
}

QTEST_MAIN(TestReminders)
#include "tst_reminders.moc"
