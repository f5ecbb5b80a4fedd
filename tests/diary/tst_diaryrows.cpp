#include "diary/ui/DiaryPage.h"
#include "foundation/Dates.h"
#include "support/DiaryLines.h"
#include "support/FormDriving.h"
#include "support/TestServices.h"

#include <QHelpEvent>
#include <QListView>
#include <QToolTip>
#include <QtTest>

using namespace Qt::StringLiterals;

// A row too long for the list ends in an ellipsis and shows whole as a tip.
class TestDiaryRows : public QObject {
    Q_OBJECT
private slots:
    void longRowEndsInEllipsisWithWholeTip_data();
    void longRowEndsInEllipsisWithWholeTip();
};

void TestDiaryRows::longRowEndsInEllipsisWithWholeTip_data() {
    QTest::addColumn<QString>("description");
    QTest::addColumn<int>("row"); // 0 in the day's view, else a row of the All view
    QTest::addColumn<bool>("cut");
    QTest::newRow("fits") << u"Dentist"_s << 0 << false;
    QTest::newRow("longer than the list")
        << u"Quarterly review with "_s + QString(60, u'W') << 0 << true;
    // A dividing line runs on out of sight, with no "…" and no tip.
    QTest::newRow("dividing line") << u"Dentist"_s << 2 << false;
}

void TestDiaryRows::longRowEndsInEllipsisWithWholeTip() {
    QFETCH(QString, description);
    QFETCH(int, row);
    QFETCH(bool, cut);
    qm::SetDateSep(u'/');
    qm::test::TestServices services;
    qm::DiaryPage page;
    page.ensureBuilt();
    page.store().load({qm::test::DiaryLine(u"20240315"_s, u"08:00"_s, u"09:00"_s, description)});
    if (row == 0)
        page.spdDailyClick();
    else
        page.spdAllClick();
    page.show();
    QVERIFY(QTest::qWaitForWindowExposed(&page));

    auto *list = qm::test::child<QListView>(&page, u"lstAppoints"_s);
    const QModelIndex index = list->model()->index(row, 0);
    const QString text = index.data().toString();
    QVERIFY(text.endsWith(row == 0 ? description : u"-"_s));
    const qm::RowPaint paint = page.rowPaint(row);
    const QRect rect = list->visualRect(index);
    if (row == 0)
        QVERIFY2(QFontMetrics(paint.font).horizontalAdvance(paint.shown) <= rect.width() - 8,
                 qPrintable(paint.shown));
    QCOMPARE(paint.shown.endsWith(u'\u2026'), cut);
    if (!cut)
        QCOMPARE(paint.shown, text);

    QToolTip::hideText();
    QHelpEvent help(QEvent::ToolTip, rect.center(), list->viewport()->mapToGlobal(rect.center()));
    QApplication::sendEvent(list->viewport(), &help);
    QCOMPARE(QToolTip::isVisible() ? QToolTip::text() : QString(), cut ? text : QString());
}

QTEST_MAIN(TestDiaryRows)
#include "tst_diaryrows.moc"
