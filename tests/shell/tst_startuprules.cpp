#include "foundation/Dates.h"
#include "shell/StartUpRules.h"

#include <QtTest>

using namespace Qt::StringLiterals;

// The start-up and close-down decisions that need no window.
class TestStartUpRules : public QObject {
    Q_OBJECT
private slots:
    void dateSeparator_data();
    void dateSeparator();
    void screenCheck_data();
    void screenCheck();
    void greeting_data();
    void greeting();
    void closeQuestion_data();
    void closeQuestion();
};

void TestStartUpRules::dateSeparator_data() {
    QTest::addColumn<QString>("format");
    QTest::addColumn<QString>("separator");
    QTest::newRow("day first") << u"dd/MM/yyyy"_s << u"/"_s;
    QTest::newRow("month first with dashes") << u"M-d-yy"_s << u"-"_s;
    QTest::newRow("year first with dots") << u"yyyy.MM.dd"_s << u"."_s;
    QTest::newRow("capital letters") << u"DD-MM-YYYY"_s << u"-"_s;
    QTest::newRow("month names") << u"d MMM yyyy"_s << u" "_s;
    QTest::newRow("letters only") << u"ddMMyyyy"_s << QString();
    QTest::newRow("empty") << QString() << QString();
}

// Whatever order the system writes dates in, only its separator is taken.
void TestStartUpRules::dateSeparator() {
    QFETCH(QString, format);
    QFETCH(QString, separator);
    QCOMPARE(qm::DateSepFromShortFormat(format), separator);
}

void TestStartUpRules::screenCheck_data() {
    QTest::addColumn<QSize>("screen");
    QTest::addColumn<QString>("mode");
    QTest::addColumn<QString>("message");
    const QString head = u"Quillmate Runs Best At A Resolution Of 800 By 600 (or Higher) Set To "
                         u"High-Colour (or Better)\r\rYour Screen Resolution Is Currently "_s;
    QTest::newRow("800 by 600") << QSize(800, 600) << u"HI"_s << QString();
    QTest::newRow("large") << QSize(1920, 1080) << u"HI"_s << QString();
    QTest::newRow("800 by 599") << QSize(800, 599) << u"HI"_s
                                << head + u"800 By 599 Set To High Colour (Or Better)"_s;
    QTest::newRow("799 by 600") << QSize(799, 600) << u"HI"_s
                                << head + u"799 By 600 Set To High Colour (Or Better)"_s;
    QTest::newRow("256 colours") << QSize(1024, 768) << u"256"_s
                                 << head + u"1024 By 768 Set To 256 Colours"_s;
}

void TestStartUpRules::screenCheck() {
    QFETCH(QSize, screen);
    QFETCH(QString, mode);
    QFETCH(QString, message);
    QCOMPARE(qm::ScreenCheckMessage(screen, mode), message);
}

void TestStartUpRules::greeting_data() {
    QTest::addColumn<QTime>("time");
    QTest::addColumn<QString>("greeting");
    QTest::newRow("midnight") << QTime(0, 0) << u"Good Morning"_s;
    QTest::newRow("11:59:59") << QTime(11, 59, 59) << u"Good Morning"_s;
    QTest::newRow("12:00") << QTime(12, 0) << u"Good Afternoon"_s;
    QTest::newRow("17:59") << QTime(17, 59) << u"Good Afternoon"_s;
    QTest::newRow("18:00") << QTime(18, 0) << u"Good Evening"_s;
    QTest::newRow("23:59") << QTime(23, 59) << u"Good Evening"_s;
}

void TestStartUpRules::greeting() {
    QFETCH(QTime, time);
    QFETCH(QString, greeting);
    QCOMPARE(qm::Greeting(time), greeting);
}

void TestStartUpRules::closeQuestion_data() {
    QTest::addColumn<bool>("notes");
    QTest::addColumn<bool>("alarms");
    QTest::addColumn<QString>("question");
    const QString tail = u" If You Close Quillmate Now, You Will Loose Them\r\r"
                         u"Are You Sure You Want To Close Quillmate?"_s;
    QTest::newRow("nothing unsaved") << false << false << QString();
    QTest::newRow("notes") << true << false << u"You Have Unsaved Notes"_s + tail;
    QTest::newRow("notes and alarms")
        << true << true << u"You Have Unsaved Alarm Times And Notes"_s + tail;
    QTest::newRow("alarms") << false << true << u"You Have Unsaved Alarm Times,"_s + tail;
}

void TestStartUpRules::closeQuestion() {
    QFETCH(bool, notes);
    QFETCH(bool, alarms);
    QFETCH(QString, question);
    QCOMPARE(qm::CloseQuestion(notes, alarms), question);
}

QTEST_GUILESS_MAIN(TestStartUpRules)
#include "tst_startuprules.moc"
