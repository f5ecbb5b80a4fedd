#include "alarms/HostileAlarms.h"
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

#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
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

// Answers every pop-up of a Reminders by pressing its button once the guard
// time is over, recording what it showed; before each answer, hold() may
// move the clock on. check() runs one check to its end.
struct PopUps {
    qm::test::TestServices &services;
    qm::Reminders &reminders;
    QList<Shown> shown;
    std::function<void(int index)> hold;

    PopUps(qm::test::TestServices &s, qm::Reminders &r) : services(s), reminders(r) {
        QObject::connect(&reminders, &qm::Reminders::popUpShown, [this](qm::TfrmRemind *popUp) {
            shown.append(
                {popUp->windowTitle(), popUp->findChild<QLabel *>(u"lblMessage"_s)->text()});
            const QPointer<qm::TfrmRemind> guard(popUp);
            if (hold)
                hold(int(shown.size()) - 1);
            if (!guard)
                return;
            services.clock.advanceMs(qm::TfrmRemind::GuardMs);
            // Through the window system, which holds back a click on a window
            // that a modal form blocks.
            auto *button = popUp->findChild<QPushButton *>(u"cmdUpdate"_s);
            QTest::mouseClick(popUp->windowHandle(), Qt::LeftButton, {},
                              button->mapTo(popUp, button->rect().center()));
        });
    }
    // The event loop runs until the check in progress is done.
    void settle() {
        for (int turn = 0; turn < 100 && reminders.checking(); ++turn)
            QCoreApplication::processEvents();
    }
    void check() {
        reminders.check();
        settle();
    }
    QStringList messages() const {
        QStringList texts;
        for (const Shown &s : shown)
            texts.append(s.message);
        return texts;
    }
};

// What a run of checks at the given moments shows, as "time kind number" per
// entry, checks separated by "/"; from the second check on the diary is later.
QString Watch(const QStringList &diary, const QStringList &later, const QStringList &alarms,
              const QStringList &moments) {
    qm::ReminderWatch watch;
    QStringList results;
    for (const QString &moment : moments) {
        const QDateTime now = At(moment);
        const QStringList &lines = results.isEmpty() ? diary : later;
        QStringList shown;
        while (const auto entry = watch.next(now, lines, alarms)) {
            watch.shown(*entry);
            shown.append(entry->due.toString(u"hh:mm"_s) + QChar(entry->kind) +
                         QString::number(entry->number));
        }
        watch.checked(now);
        results.append(shown.join(u' '));
    }
    return results.join(u'/');
}

qm::Reminders &RemindersOf(qm::TfrmMain &window) {
    return *window.findChild<qm::Reminders *>();
}

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
    void savedOrEdited_data();
    void savedOrEdited();
    void popUp_data();
    void popUp();
    void heldPopUpIsFollowedByWhatFellDue();
    void onceOnlyAlarmIsUsedUp_data();
    void onceOnlyAlarmIsUsedUp();
    void unreadableAlarmFileIsReportedOnce();
    void endToEndThroughTheMainWindow();
    void onceOnlyAlarmOnTheAlarmPage();
    void popUpOverAModalForm();
    void heldWhileLocked();
    void oddAlarmTime_data();
    void oddAlarmTime();
    void hostileLines();
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

// A run of checks at the given moments.
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
    QTEST(Watch(diary, diary, alarms, moments), "expected");
}

// Appointments added or edited between two checks: a reminder whose time
// has passed comes at once while its appointment has not started; one
// already shown stays shown unless its date, start or lead time changed.
void TestReminders::savedOrEdited_data() {
    QTest::addColumn<QStringList>("diary");
    QTest::addColumn<QStringList>("later"); // from the second check on
    QTest::addColumn<QStringList>("moments");
    QTest::addColumn<QString>("expected");
    const auto line = [](const QString &start, const QString &reminder,
                         const QString &description = u"Dentist"_s, const QString &end = u"15:00"_s,
                         const QString &flag = u"N"_s) {
        return DiaryLine(u"20240315"_s, start, end, description, flag, reminder);
    };
    const QStringList atTen{u"2024-03-15 10:23:40"_s, u"2024-03-15 10:24:30"_s,
                            u"2024-03-15 10:25:20"_s};
    const QStringList atTwo{u"2024-03-15 13:50:05"_s, u"2024-03-15 13:50:55"_s};
    QTest::newRow("added after its reminder time, before its start")
        << QStringList() << QStringList{line(u"10:27"_s, u"10"_s)} << atTen << u"/10:17R0/"_s;
    QTest::newRow("added once started")
        << QStringList() << QStringList{line(u"10:20"_s, u"10"_s)} << atTen << u"//"_s;
    QTest::newRow("description corrected after it was shown")
        << QStringList{line(u"14:00"_s, u"10"_s, u"Dentst"_s)}
        << QStringList{line(u"14:00"_s, u"10"_s)} << atTwo << u"13:50R0/"_s;
    QTest::newRow("end and tentative changed after it was shown")
        << QStringList{line(u"14:00"_s, u"10"_s)}
        << QStringList{line(u"14:00"_s, u"10"_s, u"Dentist"_s, u"16:00"_s, u"Y"_s)} << atTwo
        << u"13:50R0/"_s;
    QTest::newRow("start and lead time changed: a new reminder")
        << QStringList{line(u"14:00"_s, u"10"_s)} << QStringList{line(u"14:05"_s, u"15"_s)} << atTwo
        << u"13:50R0/13:50R0"_s;
    QTest::newRow("two alike are two, and an edit brings neither back")
        << QStringList{line(u"14:00"_s, u"10"_s, u"A"_s), line(u"14:00"_s, u"10"_s, u"B"_s)}
        << QStringList{line(u"14:00"_s, u"10"_s, u"A"_s), line(u"14:00"_s, u"10"_s, u"Bee"_s)}
        << atTwo << u"13:50R0 13:50R1/"_s;
}

void TestReminders::savedOrEdited() {
    QFETCH(QStringList, diary);
    QFETCH(QStringList, later);
    QFETCH(QStringList, moments);
    QTEST(Watch(diary, later, {}, moments), "expected");
}

void TestReminders::popUp_data() {
    QTest::addColumn<int>("tag");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<int>("closeKey");
    QTest::newRow("appointment, Enter") << 2 << u"Appointment Reminder"_s << int(Qt::Key_Return);
    QTest::newRow("alarm, Esc") << 1 << u"Alarm Time Reached"_s << int(Qt::Key_Escape);
}

// The pop-up stays in front and closes only by its button, Enter or Esc,
// and not by keys or clicks of its first second.
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

    QVERIFY(!form.isModal());

    form.close();
    QTest::keyClick(&form, Qt::Key(closeKey));
    QTest::mouseClick(button, Qt::LeftButton);
    services.clock.advanceMs(qm::TfrmRemind::GuardMs - 1);
    QTest::keyClick(button, Qt::Key(closeKey));
    QVERIFY(form.isVisible());
    services.clock.advanceMs(1);
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
    PopUps popUps(services, reminders);
    popUps.hold = [&](int index) {
        if (index == 0)
            services.clock.set(At(u"2024-03-15 09:03:00"_s));
    };
    popUps.check();
    QCOMPARE(popUps.messages(),
             (QStringList{u"Your Appointment : A Is Due To Start In 10 Minutes."_s,
                          u"Your Appointment : B Is Due To Start In 10 Minutes."_s,
                          u"Your Appointment : C Is Due To Start In 10 Minutes."_s}));
    services.clock.set(At(u"2024-03-15 09:03:50"_s));
    popUps.check();
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
    QTest::newRow("two alike: each goes off once")
        << QStringList{up, tea, up} << false << QByteArray("08:00\xFFY\xFFTea\r\n");
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
    PopUps popUps(services, reminders);
    if (writeFails)
        qm::SetWriteFaultHookForTesting([](qint64) { return false; });
    popUps.check();
    qm::SetWriteFaultHookForTesting({});
    const auto ups = int(std::count_if(before.cbegin(), before.cend(),
                                       [](const QString &line) { return line.endsWith(u"Up"_s); }));
    QCOMPARE(popUps.messages(), QStringList(ups, u"Alarm For 07:30. Up"_s));
    QCOMPARE(popUps.shown[0].caption, u"Alarm Time Reached"_s);
    QCOMPARE(after == "-" ? !QFile::exists(file) : ReadBytes(file) == after, true);
    const bool usedUp = !writeFails && before.contains(Alarm(u"07:30"_s, u"N"_s, u"Up"_s));
    QCOMPARE(removed.size(), usedUp ? ups : 0);
    const auto &messages = services.prompter.messages;
    QCOMPARE(messages.size(), writeFails ? 1 : 0);
    if (writeFails)
        QCOMPARE(messages[0].kind, int(qm::MessageKind::Error));
    // Not shown again in the same minute, even where it stayed.
    services.clock.set(At(u"2024-03-15 07:30:55"_s));
    popUps.check();
    QCOMPARE(popUps.shown.size(), ups);
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
    PopUps popUps(services, reminders);
    popUps.check();
    services.clock.set(At(u"2024-03-15 08:45:50"_s));
    popUps.check();
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
    PopUps popUps(services, RemindersOf(window));
    bool timerWaited = false;
    popUps.hold = [&](int) { timerWaited = !window.timAlarm.isActive(); };

    services.clock.set(At(u"2024-03-15 13:49:30"_s));
    window.timAlarmTimer();
    QVERIFY(popUps.shown.isEmpty());
    services.clock.set(At(u"2024-03-15 13:50:20"_s));
    window.timAlarmTimer();
    QVERIFY(!window.timAlarm.isActive());
    popUps.settle();
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

    PopUps popUps(services, RemindersOf(window));
    services.clock.set(At(u"2024-03-15 07:30:10"_s));
    window.timAlarmTimer();
    popUps.settle();
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

// A pop-up that comes while a modal form is open takes a click all the same,
// and stays when the form goes.
void TestReminders::popUpOverAModalForm() {
    qm::test::TestServices services;
    qm::WriteRecordFile(services.path(u"Alarm.Qmt"_s),
                        {Alarm(u"07:30"_s, u"Y"_s, u"A"_s), Alarm(u"07:30"_s, u"Y"_s, u"B"_s)});
    services.clock.set(At(u"2024-03-15 07:30:10"_s));
    qm::AppointmentStore store;
    QWidget window;
    window.show();
    qm::Reminders reminders(store, &window);
    auto *form = new QDialog(&window);
    form->setWindowModality(Qt::ApplicationModal);
    form->show();
    PopUps popUps(services, reminders);
    popUps.hold = [&](int index) {
        if (index == 1) {
            form->accept();
            delete form;
        }
    };
    popUps.check();
    QCOMPARE(popUps.messages(), (QStringList{u"Alarm For 07:30. A"_s, u"Alarm For 07:30. B"_s}));
    QVERIFY(!reminders.checking());
}

// While the login page locks the program nothing pops up over it; what came
// due meanwhile follows, in order, once the password is accepted.
void TestReminders::heldWhileLocked() {
    qm::test::TestServices services;
    services.settings.m_values[u"Need Password"_s] = u"1"_s;
    qm::WriteRecordFile(services.path(u"Alarm.Qmt"_s), {Alarm(u"04:29"_s, u"N"_s, u"Doctor"_s),
                                                        Alarm(u"04:30"_s, u"Y"_s, u"Pills"_s)});
    services.clock.set(At(u"2024-03-15 04:29:10"_s));
    qm::TfrmMain window;
    PopUps popUps(services, RemindersOf(window));
    QVERIFY(window.StartUp());
    window.show();
    popUps.settle();
    services.clock.set(At(u"2024-03-15 04:30:00"_s));
    window.timAlarmTimer();
    popUps.settle();
    QVERIFY(popUps.shown.isEmpty());
    QVERIFY(window.timAlarm.isActive());

    QTest::mouseClick(window.findChild<QWidget *>(u"cmdLogin"_s), Qt::LeftButton);
    popUps.settle();
    QCOMPARE(popUps.messages(),
             (QStringList{u"Alarm For 04:29. Doctor"_s, u"Alarm For 04:30. Pills"_s}));
    QVERIFY(window.timAlarm.isActive());
}

void TestReminders::oddAlarmTime_data() {
    QTest::addColumn<QString>("time");
    QTest::addColumn<bool>("goesOff");
    for (const QString &time : {u"+7:30"_s, u"7.0:30"_s, u"07:30.0"_s, u"1e1:00"_s})
        QTest::newRow(qPrintable(time)) << time << false;
    QTest::newRow("a blank after") << u"07:30 "_s << true;
    QTest::newRow("blanks after") << u"07:30     "_s << true;
    QTest::newRow("a no-break space after") << u"07:30\u00A0"_s << true;
}

// An alarm time the user typed or a hand edit left odd neither stops the
// program nor the reminders after it: a time that reads goes off, one that
// does not is left on the alarm page as it stands, for the user to correct.
void TestReminders::oddAlarmTime() {
    QFETCH(QString, time);
    QFETCH(bool, goesOff);
    qm::test::TestServices services;
    qm::WriteRecordFile(services.path(u"Alarm.Qmt"_s),
                        {Alarm(time, u"N"_s, u"Odd"_s), Alarm(u"07:30"_s, u"Y"_s, u"Good"_s)});
    services.clock.set(At(u"2024-03-15 07:29:50"_s));
    qm::TfrmMain window;
    PopUps popUps(services, RemindersOf(window));
    QVERIFY(window.StartUp());
    window.show();
    window.findChild<qm::DiaryPage *>(u"tabDiary"_s)
        ->store()
        .add(DiaryLine(u"20240315"_s, u"07:42"_s, u"08:00"_s, u"Bus"_s, u"N"_s, u"10"_s));
    for (const QString &moment : {u"2024-03-15 07:30:10"_s, u"2024-03-15 07:32:05"_s}) {
        services.clock.set(At(moment));
        window.timAlarmTimer();
        popUps.settle();
    }
    QStringList expected{u"Alarm For 07:30. Good"_s,
                         u"Your Appointment : Bus Is Due To Start In 10 Minutes."_s};
    if (goesOff)
        expected.prepend(u"Alarm For 07:30. Odd"_s);
    QCOMPARE(popUps.messages(), expected);
    QVERIFY(services.prompter.messages.isEmpty());
    QVERIFY(window.timAlarm.isActive());
    window.menuClick(2);
    QCOMPARE(window.findChild<QLineEdit *>(u"txtAlarm1"_s)->text(), goesOff ? u"07:30"_s : time);
}

// Generated hostile alarm and appointment lines through everything that reads
// them: nothing throws, and every alarm that goes off has a time that reads.
void TestReminders::hostileLines() {
    qm::test::HostileLines lines(20240315);
    for (int round = 0; round < 400; ++round) {
        QStringList alarms;
        QStringList diary;
        for (int i = round % 5; i >= 0; --i)
            alarms.append(lines.alarmLine());
        for (int i = round % 7; i >= 0; --i)
            diary.append(lines.diaryLine());
        const QString failure = qm::test::ExerciseAlarmsAndReminders(alarms, diary);
        QVERIFY2(failure.isEmpty(), qPrintable(failure + u" in "_s + alarms.join(u" / "_s)));
    }
}

QTEST_MAIN(TestReminders)
#include "tst_reminders.moc"
