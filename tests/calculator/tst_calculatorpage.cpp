// The calculator page driven by its buttons, as a user clicks them.
#include "calculator/ui/CalculatorPage.h"
#include "support/FormDriving.h"

#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QtTest>

using namespace Qt::StringLiterals;
using qm::test::child;
using qm::test::click;

class TestCalculatorPage : public QObject {
    Q_OBJECT
private slots:
    void buttons_data();
    void buttons();
    void memoryIndicator();
    void escapeCloses();
};

void TestCalculatorPage::buttons_data() {
    QTest::addColumn<QChar>("separator");
    QTest::addColumn<QStringList>("clicks");
    QTest::addColumn<QString>("display");
    const QStringList digits = {u"spd1"_s, u"spd2"_s, u"spd3"_s, u"spd4"_s, u"spd5"_s,
                                u"spd6"_s, u"spd7"_s, u"spd8"_s, u"spd9"_s, u"spd0"_s};
    QTest::newRow("every digit") << QChar(u'.') << digits << u"1234567890. "_s;
    QTest::newRow("point sends the comma")
        << QChar(u',') << QStringList{u"spd1"_s, u"spdPoint"_s, u"spd5"_s} << u"1,5 "_s;
    QTest::newRow("four operators")
        << QChar(u'.')
        << QStringList{u"spd8"_s,     u"spdAdd"_s, u"spd4"_s,      u"spdMinue"_s, u"spd2"_s,
                       u"spdTimes"_s, u"spd3"_s,   u"spdDevide"_s, u"spd6"_s,     u"spdEquals"_s}
        << u"5. "_s;
    QTest::newRow("sign and delete")
        << QChar(u'.') << QStringList{u"spd4"_s, u"spd2"_s, u"spdPlusMinus"_s, u"spdDel"_s}
        << u"-4. "_s;
    QTest::newRow("clear entry") << QChar(u'.')
                                 << QStringList{u"spd2"_s,  u"spdAdd"_s, u"spd9"_s,
                                                u"spdCE"_s, u"spd1"_s,   u"spdEquals"_s}
                                 << u"3. "_s;
    QTest::newRow("clear") << QChar(u'.') << QStringList{u"spd2"_s, u"spdAdd"_s, u"spd9"_s,
                                                         u"spdC"_s, u"spd1"_s,   u"spdEquals"_s}
                           << u"1. "_s;
    QTest::newRow("memory keys") << QChar(u'.')
                                 << QStringList{u"spd6"_s,   u"spdMS"_s, u"spdMPlus"_s,
                                                u"spdC"_s,   u"spdMR"_s, u"spdMC"_s,
                                                u"spdAdd"_s, u"spdMR"_s, u"spdEquals"_s}
                                 << u"12. "_s;
}

void TestCalculatorPage::buttons() {
    QFETCH(QChar, separator);
    QFETCH(QStringList, clicks);
    QFETCH(QString, display);
    qm::CalculatorPage page;
    page.ResetCalculator(separator);
    page.ensureBuilt();
    page.show();
    QCOMPARE(child<QPushButton>(&page, u"spdPoint"_s)->text(), QString(separator));
    for (const QString &name : clicks)
        click(&page, name);
    QCOMPARE(child<QLabel>(&page, u"staValue"_s)->text(), display);
    // The buttons never take the focus from Close.
    for (QPushButton *button : page.findChildren<QPushButton *>())
        if (button->objectName().startsWith(u"spd"_s))
            QCOMPARE(button->focusPolicy(), Qt::NoFocus);
}

void TestCalculatorPage::memoryIndicator() {
    qm::CalculatorPage page;
    page.ResetCalculator(u'.');
    // Memory kept while the page was not yet made shows when it is.
    page.CalculatorKey(u"7"_s);
    page.CalculatorKey(u"MS"_s);
    page.ensureBuilt();
    page.show();
    auto *memory = child<QLabel>(&page, u"lblMemory"_s);
    QCOMPARE(memory->text(), u"M"_s);
    QVERIFY(memory->isVisible());
    click(&page, u"spdMC"_s);
    QVERIFY(!memory->isVisible());
    click(&page, u"spd5"_s);
    click(&page, u"spdMPlus"_s);
    QVERIFY(memory->isVisible());
    click(&page, u"spdPlusMinus"_s);
    click(&page, u"spdMPlus"_s);
    QVERIFY(!memory->isVisible());
    // The start-up reset clears the memory too.
    click(&page, u"spd5"_s);
    click(&page, u"spdMS"_s);
    page.ResetCalculator(u'.');
    QVERIFY(!memory->isVisible());
    QCOMPARE(child<QLabel>(&page, u"staValue"_s)->text(), u"0. "_s);
}

// Close is the page's cancel button; Enter is "=", never Close.
void TestCalculatorPage::escapeCloses() {
    qm::CalculatorPage page;
    page.ResetCalculator(u'.');
    page.ensureBuilt();
    page.show();
    QSignalSpy closing(&page, &qm::Page::closeRequested);
    page.focusTarget()->setFocus();
    QTest::keyClick(page.focusTarget(), Qt::Key_Return);
    QCOMPARE(closing.count(), 0);
    QTest::keyClick(page.focusTarget(), Qt::Key_Escape);
    QCOMPARE(closing.count(), 1);
}

QTEST_MAIN(TestCalculatorPage)
#include "tst_calculatorpage.moc"
