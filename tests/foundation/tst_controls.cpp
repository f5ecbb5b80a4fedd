#include "foundation/Dates.h"
#include "foundation/ui/Controls.h"
#include "support/TestServices.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QSpinBox>
#include <QtTest>

using namespace Qt::StringLiterals;

namespace {

QString withSep(const QString &text, QChar sep) {
    QString result = text;
    return result.replace(u'/', sep);
}

struct SepGuard {
    ~SepGuard() { qm::SetDateSep(u'/'); }
};

QColor labelColour(const QLabel &label) {
    return label.palette().color(QPalette::WindowText);
}

QColor systemTextColour() {
    return QApplication::palette().color(QPalette::WindowText);
}

} // namespace

// The entry helpers on real widgets: what the user sees in the entry and the
// caption colour that the forms' saving reads.
class TestControls : public QObject {
    Q_OBJECT
private slots:
    void dateMaskTyping_data();
    void dateMaskTyping();
    void checkDateEdit_data();
    void checkDateEdit();
    void checkTimeEdit_data();
    void checkTimeEdit();
    void setEditEnabled();
    void selectComboItem_data();
    void selectComboItem();
    void selectListItem_data();
    void selectListItem();
    void colourDepth_data();
    void colourDepth();
};

void TestControls::dateMaskTyping_data() {
    QTest::addColumn<QChar>("sep");
    QTest::newRow("slash") << QChar(u'/');
    QTest::newRow("dash") << QChar(u'-');
    QTest::newRow("dot") << QChar(u'.');
}

void TestControls::dateMaskTyping() {
    QFETCH(QChar, sep);
    SepGuard guard;
    qm::SetDateSep(sep);
    QLineEdit edit;
    qm::SetDateEntryMask(&edit);
    QCOMPARE(qm::EntryText(&edit), qm::EmptyDateEntry());
    QCOMPARE(qm::EmptyDateEntry(), withSep(u"  /  /    "_s, sep));
    QVERIFY(qm::IsEntryBlank(&edit));

    edit.setFocus();
    edit.home(false);
    QTest::keyClicks(&edit, u"01031999"_s);
    QCOMPARE(qm::EntryText(&edit), withSep(u"01/03/1999"_s, sep));
    QVERIFY(!qm::IsEntryBlank(&edit));
}

void TestControls::checkDateEdit_data() {
    QTest::addColumn<bool>("masked");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("allowBlank");
    QTest::addColumn<QString>("shown"); // what the entry shows afterwards
    QTest::addColumn<bool>("invalid");
    QTest::newRow("short day and month")
        << true << u"1/3/1999"_s << false << u"01/03/1999"_s << false;
    QTest::newRow("unmasked short day and month")
        << false << u"1/3/1999"_s << false << u"01/03/1999"_s << false;
    QTest::newRow("two-digit year") << true << u"01/03/99"_s << false << u"01/03/1999"_s << false;
    QTest::newRow("empty mask, blank allowed")
        << true << QString() << true << u"  /  /    "_s << false;
    QTest::newRow("empty mask, blank not allowed")
        << true << QString() << false << u"  /  /    "_s << true;
    QTest::newRow("unmasked empty, blank allowed")
        << false << QString() << true << QString() << false;
    QTest::newRow("unmasked mask text, blank allowed")
        << false << u"  /  /    "_s << true << u"  /  /    "_s << false;
    QTest::newRow("partly typed") << true << u"12"_s << true << u"12/  /    "_s << true;
    QTest::newRow("31 April") << true << u"31/04/2000"_s << false << u"31/04/2000"_s << true;
    // IsValidDate passes these, but the calendar has no such days.
    QTest::newRow("29/02/1900") << true << u"29/02/1900"_s << false << u"29/02/1900"_s << true;
    QTest::newRow("29/02/2100") << false << u"29/02/2100"_s << true << u"29/02/2100"_s << true;
    QTest::newRow("leap day 2000") << true << u"29/02/2000"_s << false << u"29/02/2000"_s << false;
}

void TestControls::checkDateEdit() {
    QFETCH(bool, masked);
    QFETCH(QString, typed);
    QFETCH(bool, allowBlank);
    QFETCH(QString, shown);
    QFETCH(bool, invalid);
    SepGuard guard;
    for (const QChar sep : {QChar(u'/'), QChar(u'-'), QChar(u'.')}) {
        qm::SetDateSep(sep);
        QLabel label;
        QLineEdit edit;
        if (masked)
            qm::SetDateEntryMask(&edit);
        edit.setText(withSep(typed, sep));
        // Start from the opposite mark, so the check must set it.
        if (invalid)
            qm::SetLabelValid(&label);
        else
            qm::SetLabelInvalid(&label);

        qm::CheckDateEdit(&label, &edit, allowBlank);
        QCOMPARE(qm::EntryText(&edit), withSep(shown, sep));
        QCOMPARE(qm::IsLabelInvalid(&label), invalid);
        QCOMPARE(labelColour(label), invalid ? QColor(255, 0, 0) : systemTextColour());
    }
}

void TestControls::checkTimeEdit_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("allowBlank");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<bool>("invalid");
    QTest::newRow("7:5") << u"7:5"_s << false << u"07:05"_s << false;
    QTest::newRow("hours alone") << u"9"_s << false << u"09:00"_s << false;
    QTest::newRow("blank allowed") << QString() << true << QString() << false;
    QTest::newRow("spaces allowed") << u"   "_s << true << u"   "_s << false;
    QTest::newRow("blank not allowed") << QString() << false << QString() << true;
    QTest::newRow("24:00") << u"24:00"_s << false << u"24:00"_s << true;
    QTest::newRow("12:") << u"12:"_s << true << u"12:"_s << true;
    // A whole number to IsValidTime, but no time the conversion can read.
    QTest::newRow("9.0:30") << u"9.0:30"_s << false << u"9.0:30"_s << true;
}

void TestControls::checkTimeEdit() {
    QFETCH(QString, typed);
    QFETCH(bool, allowBlank);
    QFETCH(QString, shown);
    QFETCH(bool, invalid);
    QLabel label;
    QLineEdit edit;
    edit.setText(typed);
    if (invalid)
        qm::SetLabelValid(&label);
    else
        qm::SetLabelInvalid(&label);

    qm::CheckTimeEdit(&label, &edit, allowBlank);
    QCOMPARE(edit.text(), shown);
    QCOMPARE(qm::IsLabelInvalid(&label), invalid);
}

void TestControls::setEditEnabled() {
    QWidget form;
    auto *first = new QLineEdit(&form);
    auto *password = new QLineEdit(&form);
    auto *spin = new QSpinBox(&form);
    auto *last = new QLineEdit(&form);
    const Qt::FocusPolicy spinPolicy = spin->focusPolicy();
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));

    qm::SetEditEnabled(password, false);
    qm::SetEditEnabled(spin, false);
    QVERIFY(password->isReadOnly());
    QVERIFY(spin->isReadOnly());
    QCOMPARE(password->palette().color(QPalette::Base), QColor(192, 192, 192));
    QCOMPARE(spin->palette().color(QPalette::Base), QColor(192, 192, 192));
    // Tab goes from the first entry straight to the last.
    first->setFocus();
    QTRY_VERIFY(first->hasFocus());
    QTest::keyClick(first, Qt::Key_Tab);
    QTRY_VERIFY(last->hasFocus());

    // Disabling twice must not lose the entry's own focus policy.
    qm::SetEditEnabled(spin, false);
    qm::SetEditEnabled(password, true);
    qm::SetEditEnabled(spin, true);
    QVERIFY(!password->isReadOnly());
    QVERIFY(!spin->isReadOnly());
    QCOMPARE(spin->focusPolicy(), spinPolicy);
    QCOMPARE(password->palette().color(QPalette::Base),
             QApplication::palette(password).color(QPalette::Base));
    first->setFocus();
    QTRY_VERIFY(first->hasFocus());
    QTest::keyClick(first, Qt::Key_Tab);
    QTRY_VERIFY(password->hasFocus());
}

void TestControls::selectComboItem_data() {
    QTest::addColumn<bool>("editable");
    QTest::addColumn<QString>("value");
    QTest::addColumn<int>("index");
    QTest::newRow("exact") << false << u"Dr"_s << 2;
    QTest::newRow("case and trailing blanks") << false << u"mrs"_s << 1;
    QTest::newRow("value with trailing blanks") << false << u"MR  "_s << 0;
    QTest::newRow("leading blank matters") << false << u" Mr"_s << -1;
    QTest::newRow("no match") << false << u"Prof"_s << -1;
    QTest::newRow("no match, editable") << true << u"Prof"_s << -1;
    QTest::newRow("first of equal items") << true << u"ms"_s << 3;
}

void TestControls::selectComboItem() {
    QFETCH(bool, editable);
    QFETCH(QString, value);
    QFETCH(int, index);
    QComboBox combo;
    combo.setEditable(editable);
    combo.addItems({u"Mr"_s, u"Mrs "_s, u"Dr"_s, u"Ms"_s, u"MS"_s});
    combo.setCurrentIndex(2);
    if (editable)
        combo.setEditText(u"typed"_s);

    qm::SelectComboItem(&combo, value);
    QCOMPARE(combo.currentIndex(), index);
    if (editable)
        QCOMPARE(combo.currentText(), index < 0 ? QString() : combo.itemText(index));
}

void TestControls::selectListItem_data() {
    QTest::addColumn<QStringList>("items");
    QTest::addColumn<QString>("value");
    QTest::addColumn<int>("row");
    const QStringList hours = {u"06"_s, u"07"_s, u"08"_s, u"23"_s};
    QTest::newRow("exact") << hours << u"08"_s << 2;
    QTest::newRow("trailing blanks") << hours << u"07  "_s << 1;
    QTest::newRow("no match selects the last") << hours << u"32"_s << 3;
    QTest::newRow("case") << QStringList{u"Alpha"_s, u"beta"_s} << u"BETA"_s << 1;
    QTest::newRow("empty list") << QStringList() << u"08"_s << -1;
}

void TestControls::selectListItem() {
    QFETCH(QStringList, items);
    QFETCH(QString, value);
    QFETCH(int, row);
    QListWidget list;
    list.addItems(items);
    if (!items.isEmpty())
        list.setCurrentRow(0);

    qm::SelectListItem(&list, value);
    QCOMPARE(list.currentRow(), row);
    const QList<QListWidgetItem *> selected = list.selectedItems();
    QCOMPARE(selected.size(), row < 0 ? 0 : 1);
    if (row >= 0)
        QCOMPARE(list.row(selected.first()), row);
}

void TestControls::colourDepth_data() {
    QTest::addColumn<int>("bits");
    QTest::addColumn<QString>("mode");
    QTest::newRow("4") << 4 << u"256"_s;
    QTest::newRow("8") << 8 << u"256"_s;
    QTest::newRow("16") << 16 << u"HI"_s;
    QTest::newRow("32") << 32 << u"HI"_s;
}

void TestControls::colourDepth() {
    QFETCH(int, bits);
    QFETCH(QString, mode);
    qm::test::TestServices fixture;
    fixture.screen.m_depth = bits;
    QCOMPARE(qm::ColourDepth(), mode);
}

QTEST_MAIN(TestControls)
#include "tst_controls.moc"
