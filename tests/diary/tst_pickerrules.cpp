#include "diary/DatePickerRules.h"

#include <QtTest>

using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(qm::PickerMonth)

// The month and list rules of the pickers at their edges, where the
// forms cannot easily reach.
class TestPickerRules : public QObject {
    Q_OBJECT
private slots:
    void monthSteps_data();
    void monthSteps();
    void timeItems_data();
    void timeItems();
    void everyMinuteGoesToTheNearestItem();
};

void TestPickerRules::monthSteps_data() {
    QTest::addColumn<qm::PickerMonth>("from");
    QTest::addColumn<qm::PickerMonth>("previous");
    QTest::addColumn<qm::PickerMonth>("next");

    QTest::newRow("January") << qm::PickerMonth{1, 2023} << qm::PickerMonth{12, 2022}
                             << qm::PickerMonth{2, 2023};
    QTest::newRow("December") << qm::PickerMonth{12, 2023} << qm::PickerMonth{11, 2023}
                              << qm::PickerMonth{1, 2024};
    QTest::newRow("past the year buttons' bounds")
        << qm::PickerMonth{1, 1800} << qm::PickerMonth{12, 1799} << qm::PickerMonth{2, 1800};
    QTest::newRow("first month the calendar has")
        << qm::PickerMonth{1, 100} << qm::PickerMonth{1, 100} << qm::PickerMonth{2, 100};
    QTest::newRow("last month the calendar has")
        << qm::PickerMonth{12, 9999} << qm::PickerMonth{11, 9999} << qm::PickerMonth{12, 9999};
}

void TestPickerRules::monthSteps() {
    QFETCH(qm::PickerMonth, from);
    QFETCH(qm::PickerMonth, previous);
    QFETCH(qm::PickerMonth, next);
    QVERIFY(qm::PreviousMonth(from) == previous);
    QVERIFY(qm::NextMonth(from) == next);
}

void TestPickerRules::timeItems_data() {
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("hour");
    QTest::addColumn<QString>("minute");
    QTest::addColumn<bool>("hourAtTop");

    QTest::newRow("blank") << u"   "_s << u"08"_s << u"00"_s << true;
    QTest::newRow("in the lists") << u"07:30"_s << u"07"_s << u"30"_s << false;
    QTest::newRow("blank before the hour") << u" 7:15"_s << u"07"_s << u"15"_s << false;
    QTest::newRow("negative hour") << u"-1:20"_s << u"08"_s << u"20"_s << true;
    QTest::newRow("hour 23, minute 59") << u"23:59"_s << u"23"_s << u"55"_s << false;
    QTest::newRow("minute 60") << u"12:60"_s << u"12"_s << u"00"_s << false;
    QTest::newRow("negative minute") << u"12:-5"_s << u"12"_s << u"00"_s << false;
    QTest::newRow("minute 75") << u"10:75"_s << u"10"_s << u"00"_s << false;
    QTest::newRow("not a time") << u"ab:cd"_s << u"08"_s << u"00"_s << true;
}

void TestPickerRules::timeItems() {
    QFETCH(QString, field);
    QFETCH(QString, hour);
    QFETCH(QString, minute);
    QFETCH(bool, hourAtTop);
    const qm::TimeListChoice choice = qm::ChooseTimeListItems(field);
    QCOMPARE(choice.hour, hour);
    QCOMPARE(choice.minute, minute);
    QCOMPARE(choice.hourAtTop, hourAtTop);
    QVERIFY(qm::HourItems().contains(choice.hour));
    QVERIFY(qm::MinuteItems().contains(choice.minute));
}

// Every minute 0 to 59 starts on the list item nearest to it (of two equally
// near, the earlier), so a time in the list starts on itself.
void TestPickerRules::everyMinuteGoesToTheNearestItem() {
    const QStringList items = qm::MinuteItems();
    QCOMPARE(items.size(), 12);
    for (int minute = 0; minute < 60; ++minute) {
        QString nearest;
        int distance = 60;
        for (const QString &item : items) {
            if (qAbs(item.toInt() - minute) < distance) {
                distance = qAbs(item.toInt() - minute);
                nearest = item;
            }
        }
        const QString field = u"10:"_s + QString::number(minute).rightJustified(2, u'0');
        QCOMPARE(qm::ChooseTimeListItems(field).minute, nearest);
    }
}

QTEST_GUILESS_MAIN(TestPickerRules)
#include "tst_pickerrules.moc"
