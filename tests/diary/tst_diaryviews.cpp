#include "diary/DiaryViews.h"
#include "foundation/Dates.h"

#include "support/DiaryLines.h"

#include <QtTest>

using namespace Qt::StringLiterals;
using qm::DiaryRows;
using qm::test::DiaryLine;

namespace {

const QChar Sep = QChar(0x00FF);

// Two appointments on 15 March 2024, one on the 16th, one on 2 April: in
// store order.
QStringList store() {
    return {DiaryLine(u"20240310"_s, u"08:00"_s, u"09:00"_s, u"Church"_s),
            DiaryLine(u"20240315"_s, u"09:00"_s, u"10:00"_s, u"Standup"_s),
            DiaryLine(u"20240315"_s, u"09:30"_s, u"10:15"_s, u"Meeting"_s, u"Y"_s),
            DiaryLine(u"20240316"_s, u"14:00"_s, u"15:00"_s, u"Tennis"_s),
            DiaryLine(u"20240402"_s, u"07:00"_s, u"07:30"_s, u"Run"_s)};
}

const QString Ten = QString(10, u' ');

// What a view button shows on the given day.
qm::ViewRange CurrentView(qm::Period period, const QDate &today) {
    return qm::PeriodView(period, today, today);
}
const QString Dashes = QString(125, u'-');

} // namespace

class TestDiaryViews : public QObject {
    Q_OBJECT
private slots:
    void init() { qm::SetDateSep(u'/'); }
    void ranges_data();
    void ranges();
    void dailyRows();
    void groupedRows();
    void monthEdges();
    void periods_data();
    void periods();
    void periodRowsAreEveryLineInRange_data();
    void periodRowsAreEveryLineInRange();
    void selectNext_data();
    void selectNext();
    void deleteQuestion();
    void oddLinesDoNotBreakViews();
};

void TestDiaryViews::ranges_data() {
    QTest::addColumn<QString>("view");
    QTest::addColumn<QDate>("today");
    QTest::addColumn<QString>("from");
    QTest::addColumn<QString>("to");
    QTest::addColumn<QString>("heading");

    const QString week = u"Diary - Appointments For The Week ("_s;
    QTest::newRow("week from a Sunday") << u"Weekly"_s << QDate(2024, 3, 10) << u"20240310"_s
                                        << u"20240316"_s << week + u"10/03/2024 To 16/03/2024)"_s;
    QTest::newRow("week from a Wednesday")
        << u"Weekly"_s << QDate(2024, 3, 13) << u"20240310"_s << u"20240316"_s
        << week + u"10/03/2024 To 16/03/2024)"_s;
    QTest::newRow("week from a Saturday") << u"Weekly"_s << QDate(2024, 3, 16) << u"20240310"_s
                                          << u"20240316"_s << week + u"10/03/2024 To 16/03/2024)"_s;
    QTest::newRow("week across the year") << u"Weekly"_s << QDate(2025, 1, 1) << u"20241229"_s
                                          << u"20250104"_s << week + u"29/12/2024 To 04/01/2025)"_s;
    QTest::newRow("leap February") << u"Monthly"_s << QDate(2024, 2, 10) << u"20240201"_s
                                   << u"20240229"_s << u"Diary - Appointments For This Month"_s;
    QTest::newRow("common February") << u"Monthly"_s << QDate(2023, 2, 28) << u"20230201"_s
                                     << u"20230228"_s << u"Diary - Appointments For This Month"_s;
    QTest::newRow("December") << u"Monthly"_s << QDate(2024, 12, 31) << u"20241201"_s
                              << u"20241231"_s << u"Diary - Appointments For This Month"_s;
    QTest::newRow("April") << u"Monthly"_s << QDate(2024, 4, 1) << u"20240401"_s << u"20240430"_s
                           << u"Diary - Appointments For This Month"_s;
    QTest::newRow("today") << u"Daily"_s << QDate(2024, 3, 15) << u"20240315"_s << u"20240315"_s
                           << u"Diary - Appointments For Today"_s;
    QTest::newRow("all") << u"All"_s << QDate(2024, 3, 15) << QString() << u" "_s
                         << u"Diary - All Appointments"_s;
}

void TestDiaryViews::ranges() {
    QFETCH(QString, view);
    QFETCH(QDate, today);
    const qm::ViewRange range = view == u"Weekly"_s    ? CurrentView(qm::Period::Week, today)
                                : view == u"Monthly"_s ? CurrentView(qm::Period::Month, today)
                                : view == u"Daily"_s   ? CurrentView(qm::Period::Day, today)
                                                       : qm::AllView();
    QTEST(range.from, "from");
    QTEST(range.to, "to");
    QTEST(range.heading, "heading");
}

void TestDiaryViews::dailyRows() {
    const DiaryRows rows = qm::LoadAppointmentView(store(), u"20240315"_s, u"20240315"_s);
    // No indentation, headings or separators; the tentative one is marked.
    QCOMPARE(rows.texts(),
             (QStringList{u"09:00 - 10:00    Standup"_s, u"09:30 - 10:15    ?? Meeting ??"_s}));
    QCOMPARE(rows.rowMaps(), (QStringList{u"1"_s, u"2"_s}));
    QCOMPARE(rows.rowKeys(), (QStringList{u"2024031509:00"_s, u"2024031509:30"_s}));
    QCOMPARE(rows.rowEndKeys(), (QStringList{u"2024031510:00"_s, u"2024031510:15"_s}));
}

void TestDiaryViews::groupedRows() {
    const qm::ViewRange week = CurrentView(qm::Period::Week, QDate(2024, 3, 13));
    const DiaryRows rows = qm::LoadAppointmentView(store(), week.from, week.to);
    QCOMPARE(
        rows.texts(),
        (QStringList{u"Sunday 10th March 2024"_s, Ten + u"08:00 - 09:00    Church"_s, Dashes,
                     u"Friday 15th March 2024"_s, Ten + u"09:00 - 10:00    Standup"_s,
                     Ten + u"09:30 - 10:15    ?? Meeting ??"_s, Dashes,
                     u"Saturday 16th March 2024"_s, Ten + u"14:00 - 15:00    Tennis"_s, Dashes}));
    QCOMPARE(rows.rowMaps(), (QStringList{u"H"_s, u"0"_s, u"L"_s, u"H"_s, u"1"_s, u"2"_s, u"L"_s,
                                          u"H"_s, u"3"_s, u"L"_s}));
    QCOMPARE(rows.rowKeys().at(0), QString());
    QCOMPARE(rows.rowEndKeys().at(2), QString());
    QCOMPARE(rows.rowEndKeys().at(8), u"2024031615:00"_s);

    const qm::ViewRange all = qm::AllView();
    const DiaryRows every = qm::LoadAppointmentView(store(), all.from, all.to);
    QCOMPARE(every.rowMaps(), (QStringList{u"H"_s, u"0"_s, u"L"_s, u"H"_s, u"1"_s, u"2"_s, u"L"_s,
                                           u"H"_s, u"3"_s, u"L"_s, u"H"_s, u"4"_s, u"L"_s}));

    // A range without appointments is an empty list, with no closing separator.
    QCOMPARE(qm::LoadAppointmentView(store(), u"20250101"_s, u"20250131"_s).size(), 0);
    QCOMPARE(qm::LoadAppointmentView({}, all.from, all.to).size(), 0);
}

void TestDiaryViews::monthEdges() {
    const QStringList february = {
        DiaryLine(u"20230228"_s, u"09:00"_s, u"10:00"_s, u"Last 2023"_s),
        DiaryLine(u"20230301"_s, u"09:00"_s, u"10:00"_s, u"March 2023"_s),
        DiaryLine(u"20240229"_s, u"09:00"_s, u"10:00"_s, u"Leap day"_s),
        DiaryLine(u"20240301"_s, u"09:00"_s, u"10:00"_s, u"March 2024"_s)};
    const qm::ViewRange common = CurrentView(qm::Period::Month, QDate(2023, 2, 1));
    QCOMPARE(qm::LoadAppointmentView(february, common.from, common.to).rowMaps(),
             (QStringList{u"H"_s, u"0"_s, u"L"_s}));
    const qm::ViewRange leap = CurrentView(qm::Period::Month, QDate(2024, 2, 1));
    QCOMPARE(qm::LoadAppointmentView(february, leap.from, leap.to).rowMaps(),
             (QStringList{u"H"_s, u"2"_s, u"L"_s}));
}

// Moving a day, week or month from a shown day, and the view then shown:
// its range and its heading. "today" is 15 March 2024 unless a row is about
// coming back to the current period.
void TestDiaryViews::periods_data() {
    QTest::addColumn<qm::Period>("period");
    QTest::addColumn<QDate>("shown");
    QTest::addColumn<int>("steps");
    QTest::addColumn<QString>("from");
    QTest::addColumn<QString>("to");
    QTest::addColumn<QString>("heading");
    using qm::Period;
    const QString for_ = u"Diary - Appointments For "_s;
    const QString week = for_ + u"The Week ("_s;
    const auto row = [](const char *name) -> QTestData & { return QTest::newRow(name); };

    row("day on") << Period::Day << QDate(2024, 3, 15) << 1 << u"20240316"_s << u"20240316"_s
                  << for_ + u"Saturday 16th March 2024"_s;
    row("day back to today") << Period::Day << QDate(2024, 3, 16) << -1 << u"20240315"_s
                             << u"20240315"_s << for_ + u"Today"_s;
    row("day into a leap day") << Period::Day << QDate(2024, 2, 28) << 1 << u"20240229"_s
                               << u"20240229"_s << for_ + u"Thursday 29th February 2024"_s;
    row("day over a common February")
        << Period::Day << QDate(2023, 2, 28) << 1 << u"20230301"_s << u"20230301"_s
        << for_ + u"Wednesday 1st March 2023"_s;
    row("day into a new year") << Period::Day << QDate(2024, 12, 31) << 1 << u"20250101"_s
                               << u"20250101"_s << for_ + u"Wednesday 1st January 2025"_s;
    row("day before the first") << Period::Day << QDate(1899, 1, 1) << -1 << u"18990101"_s
                                << u"18990101"_s << for_ + u"Sunday 1st January 1899"_s;
    row("day after the last") << Period::Day << QDate(2199, 12, 31) << 1 << u"21991231"_s
                              << u"21991231"_s << for_ + u"Tuesday 31st December 2199"_s;

    row("week on from a Friday") << Period::Week << QDate(2024, 3, 15) << 1 << u"20240317"_s
                                 << u"20240323"_s << week + u"17/03/2024 To 23/03/2024)"_s;
    row("week back from a Sunday") << Period::Week << QDate(2024, 3, 17) << -1 << u"20240310"_s
                                   << u"20240316"_s << week + u"10/03/2024 To 16/03/2024)"_s;
    row("week into the next year") << Period::Week << QDate(2024, 12, 25) << 1 << u"20241229"_s
                                   << u"20250104"_s << week + u"29/12/2024 To 04/01/2025)"_s;
    row("week over a leap day") << Period::Week << QDate(2024, 2, 21) << 1 << u"20240225"_s
                                << u"20240302"_s << week + u"25/02/2024 To 02/03/2024)"_s;
    // 1 January 1899 is a Sunday: the week before holds no day of the diary.
    row("week before the first") << Period::Week << QDate(1899, 1, 7) << -1 << u"18990101"_s
                                 << u"18990107"_s << week + u"01/01/1899 To 07/01/1899)"_s;
    // The last week runs on into 2200 and can be shown; none after it.
    row("week reaching the last") << Period::Week << QDate(2199, 12, 25) << 1 << u"21991229"_s
                                  << u"22000104"_s << week + u"29/12/2199 To 04/01/2200)"_s;
    row("week after the last") << Period::Week << QDate(2199, 12, 31) << 1 << u"21991229"_s
                               << u"22000104"_s << week + u"29/12/2199 To 04/01/2200)"_s;

    row("month from the 31st") << Period::Month << QDate(2024, 1, 31) << 1 << u"20240201"_s
                               << u"20240229"_s << for_ + u"February 2024"_s;
    row("common February") << Period::Month << QDate(2023, 3, 31) << -1 << u"20230201"_s
                           << u"20230228"_s << for_ + u"February 2023"_s;
    // The diary's date rules take every fourth year as a leap year, so an
    // appointment on 29/02/2100 or 29/02/1900 is listed in its month.
    row("February 2100") << Period::Month << QDate(2100, 1, 1) << 1 << u"21000201"_s
                         << u"21000229"_s << for_ + u"February 2100"_s;
    row("February 1900") << Period::Month << QDate(1900, 3, 1) << -1 << u"19000201"_s
                         << u"19000229"_s << for_ + u"February 1900"_s;
    row("month into a new year") << Period::Month << QDate(2024, 12, 15) << 1 << u"20250101"_s
                                 << u"20250131"_s << for_ + u"January 2025"_s;
    row("month back over a year") << Period::Month << QDate(2024, 1, 10) << -1 << u"20231201"_s
                                  << u"20231231"_s << for_ + u"December 2023"_s;
    row("a year of months") << Period::Month << QDate(2024, 2, 29) << 12 << u"20250201"_s
                            << u"20250228"_s << for_ + u"February 2025"_s;
    row("month back to this month") << Period::Month << QDate(2024, 4, 30) << -1 << u"20240301"_s
                                    << u"20240331"_s << for_ + u"This Month"_s;
    row("month before the first") << Period::Month << QDate(1899, 1, 20) << -1 << u"18990101"_s
                                  << u"18990131"_s << for_ + u"January 1899"_s;
    row("month after the last") << Period::Month << QDate(2199, 12, 1) << 1 << u"21991201"_s
                                << u"21991231"_s << for_ + u"December 2199"_s;
}

void TestDiaryViews::periods() {
    QFETCH(qm::Period, period);
    QFETCH(QDate, shown);
    QFETCH(int, steps);
    const QDate moved = qm::StepPeriod(period, shown, steps);
    const qm::ViewRange range = qm::PeriodView(period, moved, QDate(2024, 3, 15));
    QTEST(range.from, "from");
    QTEST(range.to, "to");
    QTEST(range.heading, "heading");
}

// A period's rows are found by binary search on the sorted store: they must
// be exactly the lines a pass over every line finds, odd lines included.
void TestDiaryViews::periodRowsAreEveryLineInRange_data() {
    QTest::addColumn<QString>("from");
    QTest::addColumn<QString>("to");
    QTest::newRow("one day of several lines") << u"20240315"_s << u"20240315"_s;
    QTest::newRow("a month with lines on its ends") << u"20240301"_s << u"20240331"_s;
    QTest::newRow("before every line") << u"18990101"_s << u"18991231"_s;
    QTest::newRow("after every line") << u"21990101"_s << u"21991231"_s;
    QTest::newRow("between two lines") << u"20240317"_s << u"20240330"_s;
    QTest::newRow("a day the store holds none of") << u"20240316"_s << u"20240316"_s;
    QTest::newRow("up to the odd lines") << u"20240401"_s << u"20241231"_s;
}

void TestDiaryViews::periodRowsAreEveryLineInRange() {
    QFETCH(QString, from);
    QFETCH(QString, to);
    QStringList sorted = {
        DiaryLine(u"20240229"_s, u"09:00"_s, u"10:00"_s, u"Leap"_s),
        DiaryLine(u"20240301"_s, u"09:00"_s, u"10:00"_s, u"First"_s),
        DiaryLine(u"20240315"_s, u"08:00"_s, u"09:00"_s, u"a"_s),
        DiaryLine(u"20240315"_s, u"08:00"_s, u"09:00"_s, u"B"_s),
        DiaryLine(u"20240315"_s, u"08:00"_s, u"09:00"_s, u"c"_s),
        DiaryLine(u"20240331"_s, u"23:00"_s, u"23:59"_s, u"Last"_s),
        // Lines loaded from a file as they stand: short, undated, lettered.
        u"2024041"_s + Sep + u"09:00"_s,
        u"2024041A"_s,
        u"2024041b"_s,
        u"20240415"_s,
        u"garbage"_s,
        u"Garbage too"_s,
    };
    std::stable_sort(sorted.begin(), sorted.end(),
                     [](const QString &a, const QString &b) { return a.compare(b, Qt::CaseInsensitive) < 0; });
    QList<qsizetype> expected;
    for (qsizetype n = 0; n < sorted.size(); ++n)
        if (QStringView(sorted.at(n)).left(8) >= from && QStringView(sorted.at(n)).left(8) <= to)
            expected.append(n);
    const DiaryRows rows = qm::LoadAppointmentView(sorted, from, to);
    QList<qsizetype> shown;
    qsizetype headings = 0;
    for (qsizetype row = 0; row < rows.size(); ++row) {
        if (rows.kind(row) == DiaryRows::Kind::Appointment)
            shown.append(rows.position(row));
        headings += rows.kind(row) == DiaryRows::Kind::Heading;
    }
    QCOMPARE(shown, expected);
    // Every day of the range heads its lines once.
    QSet<QString> days;
    for (const qsizetype n : expected)
        days.insert(sorted.at(n).left(8));
    QCOMPARE(headings, from == to ? 0 : days.size());
}

void TestDiaryViews::selectNext_data() {
    QTest::addColumn<QString>("view");
    QTest::addColumn<QDateTime>("now");
    QTest::addColumn<int>("row");
    const QDate day(2024, 3, 15);
    QTest::newRow("before all") << u"Daily"_s << QDateTime(day, QTime(8, 0)) << 0;
    // An appointment ending this very minute has not ended yet.
    QTest::newRow("first ends now") << u"Daily"_s << QDateTime(day, QTime(10, 0, 30)) << 0;
    QTest::newRow("first over") << u"Daily"_s << QDateTime(day, QTime(10, 1)) << 1;
    QTest::newRow("all over") << u"Daily"_s << QDateTime(day, QTime(18, 0)) << 0;
    // In grouped views headings and separators never qualify.
    QTest::newRow("grouped, skips heading") << u"All"_s << QDateTime(day, QTime(10, 1)) << 5;
    QTest::newRow("grouped, next day") << u"All"_s << QDateTime(day, QTime(23, 0)) << 8;
    QTest::newRow("grouped, all over")
        << u"All"_s << QDateTime(QDate(2025, 1, 1), QTime(0, 0)) << 0;
}

void TestDiaryViews::selectNext() {
    QFETCH(QString, view);
    QFETCH(QDateTime, now);
    const qm::ViewRange range = view == u"Daily"_s ? CurrentView(qm::Period::Day, now.date()) : qm::AllView();
    const DiaryRows rows = qm::LoadAppointmentView(store(), range.from, range.to);
    QTEST(int(qm::SelectNextAppointment(rows, now)), "row");
    QCOMPARE(qm::SelectNextAppointment(DiaryRows{}, now), qsizetype(-1));
}

void TestDiaryViews::deleteQuestion() {
    QCOMPARE(qm::DeleteQuestion(u"09:30 - 10:15    ?? Meeting ??"_s),
             u"Are You Sure You Want To Delete '?? Meeting ??"_s + u"'?"_s);
    QCOMPARE(qm::DeleteQuestion(Ten + u"09:30 - 10:15    Dentist at 10"_s),
             u"Are You Sure You Want To Delete 'Dentist at 10'?"_s);
    QVERIFY(qm::IsAppointmentRow(u"0"_s));
    QVERIFY(!qm::IsAppointmentRow(u"H"_s));
    QVERIFY(!qm::IsAppointmentRow(u"L"_s));
    QVERIFY(!qm::IsAppointmentRow(QString()));
}

void TestDiaryViews::oddLinesDoNotBreakViews() {
    const QStringList odd = {QString(), u"2024"_s, u"garbage line without separators"_s,
                             u"20241399"_s + Sep + u"09:00"_s,
                             DiaryLine(u"20240315"_s, u"09:00"_s, u"10:00"_s, u"Real"_s)};
    const qm::ViewRange all = qm::AllView();
    const DiaryRows rows = qm::LoadAppointmentView(odd, all.from, all.to);
    // Every line is listed; a date that cannot be read heads its rows as it
    // stands (the empty one, first, follows no other date and has no heading).
    QCOMPARE(rows.rowMaps().mid(0, 3), (QStringList{u"0"_s, u"L"_s, u"H"_s}));
    QCOMPARE(rows.rowMaps().count(u"H"_s), 4);
    QVERIFY(rows.texts().contains(u"20241399"_s));
    QVERIFY(rows.texts().contains(u"Friday 15th March 2024"_s));
    const qsizetype next =
        qm::SelectNextAppointment(rows, QDateTime(QDate(2024, 3, 15), QTime(9, 0)));
    QVERIFY(qm::IsAppointmentRow(rows.rowMap(next)));
}

QTEST_GUILESS_MAIN(TestDiaryViews)
#include "tst_diaryviews.moc"
