#include "diary/ui/TfrmCalendar.h"
#include "diary/ui/TfrmSelTime.h"
#include "foundation/Dates.h"
#include "foundation/ui/Controls.h"
#include "platform/Services.h"
#include "support/TestServices.h"

#include <QApplication>
#include <QCalendarWidget>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>
#include <QWheelEvent>
#include <QtTest>

#include <functional>
#include <memory>

using namespace Qt::StringLiterals;

namespace {

const QDate Today(2024, 3, 15);
const QColor Cyan(0, 255, 255);

struct SepGuard {
    ~SepGuard() { qm::SetDateSep(u'/'); }
};

QString withSep(QString text, QChar sep) {
    return text.replace(u'/', sep);
}

// A stand-in for a caller's form: the caption label, the field the picker
// fills, and another field that has the focus while the picker opens.
struct Caller {
    QWidget window;
    QLabel *label = new QLabel(u"Date"_s, &window);
    QLineEdit *field = new QLineEdit(&window);
    QLineEdit *other = new QLineEdit(&window);

    explicit Caller(bool dateMask) {
        auto *layout = new QVBoxLayout(&window);
        layout->addWidget(label);
        layout->addWidget(field);
        layout->addWidget(other);
        if (dateMask)
            qm::SetDateEntryMask(field);
        window.show();
        other->setFocus();
        qm::SetLabelInvalid(label);
    }
};

// Runs a picker the way callers do, through the prompter; drive acts on the
// shown form. The result is the form's, Rejected when drive left it open.
int runPicker(qm::test::TestServices &services, QDialog &form,
              const std::function<void(QDialog &)> &drive) {
    services.prompter.modalHandler = [&drive](QDialog &dialog) {
        dialog.show();
        drive(dialog);
        const int result = dialog.isVisible() ? int(QDialog::Rejected) : dialog.result();
        dialog.hide();
        return result;
    };
    return qm::prompter().runModal(form);
}

template <typename T> T *child(QObject &parent, const QString &name) {
    T *found = parent.findChild<T *>(name);
    if (!found)
        qFatal("no control %s", qPrintable(name));
    return found;
}

QAbstractItemView *calendarView(QDialog &form) {
    return child<QCalendarWidget>(form, u"mntCalendar"_s)->findChild<QTableView *>();
}

// What the date picker shows: the selected day, the calendar's page, the
// year box (plain and rich) and which month button is cyan.
struct DateShown {
    QDate date;
    int pageYear = 0;
    int pageMonth = 0;
    QString year;
    QString yearCaption;
    QList<int> cyanMonths;
};

DateShown dateShown(QDialog &form) {
    auto *calendar = child<QCalendarWidget>(form, u"mntCalendar"_s);
    DateShown shown{calendar->selectedDate(),
                    calendar->yearShown(),
                    calendar->monthShown(),
                    child<QLabel>(form, u"panYear"_s)->text(),
                    child<QLabel>(form, u"panYear1"_s)->text(),
                    {}};
    for (int month = 1; month <= 12; ++month) {
        auto *button = child<QLabel>(form, u"pan"_s + QString::number(month));
        const QColor colour = button->palette().color(QPalette::Window);
        if (colour == Cyan)
            shown.cyanMonths.append(month);
        else if (colour != QColor(Qt::white))
            shown.cyanMonths.append(-month); // neither white nor cyan
    }
    return shown;
}

void verifyDateShown(QDialog &form, const QDate &expected) {
    const DateShown shown = dateShown(form);
    QCOMPARE(shown.date, expected);
    QCOMPARE(shown.pageYear, expected.year());
    QCOMPARE(shown.pageMonth, expected.month());
    QCOMPARE(shown.year, QString::number(expected.year()));
    QCOMPARE(shown.yearCaption,
             u"<P align=\"center\">"_s + QString::number(expected.year()) + u"</P>"_s);
    QCOMPARE(shown.cyanMonths, QList<int>{expected.month()});
    QCOMPARE(static_cast<qm::TfrmCalendar &>(form).SelectedMonth(), expected.month());
}

// Steps of a drive, written "name" (click the control), "name*n" (click it
// n times), "key:PageDown" / "key:PageUp" / "key:Right" / "key:Left" (a key
// in the calendar) or "wheel:n" (n notches of the wheel over the calendar,
// negative turning towards the user).
void perform(QDialog &form, const QStringList &steps) {
    for (const QString &step : steps) {
        if (step.startsWith(u"key:"_s)) {
            static const QMap<QString, Qt::Key> keys = {{u"PageDown"_s, Qt::Key_PageDown},
                                                        {u"PageUp"_s, Qt::Key_PageUp},
                                                        {u"Right"_s, Qt::Key_Right},
                                                        {u"Left"_s, Qt::Key_Left}};
            QTest::keyClick(calendarView(form), keys.value(step.mid(4)));
        } else if (step.startsWith(u"wheel:"_s)) {
            QWidget *viewport = calendarView(form)->viewport();
            const QPointF at(viewport->width() / 2.0, viewport->height() / 2.0);
            QWheelEvent wheel(at, viewport->mapToGlobal(at), QPoint(),
                              QPoint(0, 120 * step.mid(6).toInt()), Qt::NoButton, Qt::NoModifier,
                              Qt::NoScrollPhase, false);
            QApplication::sendEvent(viewport, &wheel);
        } else {
            const QString name = step.section(u'*', 0, 0);
            const int times = step.contains(u'*') ? step.section(u'*', 1).toInt() : 1;
            auto *control = child<QWidget>(form, name);
            for (int i = 0; i < times; ++i)
                QTest::mouseClick(control, Qt::LeftButton);
        }
    }
}

// The rectangle of a day of the shown month in the calendar's grid.
QRect dayCell(QDialog &form, int day) {
    QAbstractItemView *view = calendarView(form);
    QAbstractItemModel *model = view->model();
    for (int row = 1; row < model->rowCount(); ++row) {
        for (int column = 0; column < model->columnCount(); ++column) {
            const QModelIndex index = model->index(row, column);
            // Days of the months either side appear too; day 20 is never
            // among them.
            if (index.data().toString() == QString::number(day))
                return view->visualRect(index);
        }
    }
    return {};
}

// A double-click as the window system delivers it: a click, then the second
// press as a double-click, then its release.
void doubleClick(QWidget *widget, const QPoint &at) {
    QTest::mouseClick(widget, Qt::LeftButton, {}, at);
    QTest::mouseDClick(widget, Qt::LeftButton, {}, at);
    QTest::mouseRelease(widget, Qt::LeftButton, {}, at);
}

QListWidgetItem *listItem(QDialog &form, const QString &list, const QString &text) {
    auto *widget = child<QListWidget>(form, list);
    const auto found = widget->findItems(text, Qt::MatchExactly);
    return found.isEmpty() ? nullptr : found.first();
}

void clickItem(QDialog &form, const QString &list, const QString &text, bool twice = false) {
    auto *widget = child<QListWidget>(form, list);
    QListWidgetItem *item = listItem(form, list, text);
    QVERIFY(item);
    widget->scrollToItem(item);
    const QPoint at = widget->visualItemRect(item).center();
    if (twice)
        doubleClick(widget->viewport(), at);
    else
        QTest::mouseClick(widget->viewport(), Qt::LeftButton, {}, at);
}

QString selectedText(QDialog &form, const QString &list) {
    const auto items = child<QListWidget>(form, list)->selectedItems();
    return items.size() == 1 ? items.first()->text() : u"(%1 selected)"_s.arg(items.size());
}

} // namespace

// The date and time pickers, driven by their controls the way a user would,
// opened through the prompter as their callers open them.
class TestPickers : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void dateOpens_data();
    void dateOpens();
    void dateNavigation_data();
    void dateNavigation();
    void dateSelect_data();
    void dateSelect();

    void timeOpens_data();
    void timeOpens();
    void timeSelect_data();
    void timeSelect();
    void cancelChangesNothing_data();
    void cancelChangesNothing();

private:
    std::unique_ptr<qm::test::TestServices> m_services;
};

void TestPickers::init() {
    m_services = std::make_unique<qm::test::TestServices>();
    m_services->clock.set(QDateTime(Today, QTime(10, 30)));
}

void TestPickers::cleanup() {
    m_services.reset();
    qm::SetDateSep(u'/');
}

void TestPickers::dateOpens_data() {
    QTest::addColumn<QChar>("sep");
    QTest::addColumn<bool>("masked");
    QTest::addColumn<QString>("field");
    QTest::addColumn<QDate>("expected");

    QTest::newRow("empty field: today") << QChar(u'/') << false << QString() << Today;
    QTest::newRow("empty mask: today") << QChar(u'/') << true << QString() << Today;
    QTest::newRow("date in the field")
        << QChar(u'/') << true << u"15/06/2023"_s << QDate(2023, 6, 15);
    QTest::newRow("dash separator") << QChar(u'-') << true << u"15/06/2023"_s << QDate(2023, 6, 15);
    QTest::newRow("blank separator")
        << QChar(u' ') << true << u"15/06/2023"_s << QDate(2023, 6, 15);
    QTest::newRow("short day, month, year")
        << QChar(u'/') << false << u"1/3/99"_s << QDate(1999, 3, 1);
    QTest::newRow("not a date: today") << QChar(u'/') << false << u"32/01/2023"_s << Today;
    QTest::newRow("half-typed: today") << QChar(u'/') << true << u"15/06/"_s << Today;
    QTest::newRow("no such day: today") << QChar(u'/') << true << u"29/02/1900"_s << Today;
    QTest::newRow("leap day") << QChar(u'/') << true << u"29/02/2000"_s << QDate(2000, 2, 29);
}

void TestPickers::dateOpens() {
    QFETCH(QChar, sep);
    QFETCH(bool, masked);
    QFETCH(QString, field);
    QFETCH(QDate, expected);
    qm::SetDateSep(sep);
    Caller caller(masked);
    caller.field->setText(withSep(field, sep));

    qm::TfrmCalendar form(caller.label, caller.field, &caller.window);
    QCOMPARE(form.windowTitle(), u"Select Date"_s);
    runPicker(*m_services, form, [&](QDialog &shown) { verifyDateShown(shown, expected); });
    QCOMPARE(m_services->prompter.modalRuns, 1);
}

void TestPickers::dateNavigation_data() {
    QTest::addColumn<QString>("field");
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<QDate>("expected");

    // Month buttons.
    QTest::newRow("pan2: first of February")
        << u"15/06/2023"_s << QStringList{u"pan2"_s} << QDate(2023, 2, 1);
    QTest::newRow("this month's button: today")
        << u"15/06/2024"_s << QStringList{u"pan3"_s} << Today;

    // Month steps.
    QTest::newRow("> from December: January next year")
        << u"10/12/2023"_s << QStringList{u"cmdNext"_s} << QDate(2024, 1, 1);
    QTest::newRow("< from January: December the year before")
        << u"10/01/2023"_s << QStringList{u"cmdPrev"_s} << QDate(2022, 12, 1);
    QTest::newRow("> into this month: today")
        << u"01/02/2024"_s << QStringList{u"cmdNext"_s} << Today;
    QTest::newRow("> thirteen times")
        << u"15/06/2023"_s << QStringList{u"cmdNext*13"_s} << QDate(2024, 7, 1);

    // Year steps and their bounds.
    QTest::newRow("year <") << u"15/06/2023"_s << QStringList{u"cmdPrevYear"_s}
                            << QDate(2022, 6, 1);
    QTest::newRow("year >") << u"15/06/2023"_s << QStringList{u"cmdNextYear"_s}
                            << QDate(2024, 6, 1);
    QTest::newRow("year > into this month: today")
        << u"20/03/2023"_s << QStringList{u"cmdNextYear"_s} << Today;
    QTest::newRow("year < stops at 1800")
        << u"05/01/1899"_s << QStringList{u"cmdPrevYear*101"_s} << QDate(1800, 1, 1);
    QTest::newRow("year > stops at 3000")
        << u"05/11/2199"_s << QStringList{u"cmdNextYear*803"_s} << QDate(3000, 11, 1);
    QTest::newRow("< passes below 1800")
        << u"05/01/1899"_s << QStringList{u"cmdPrevYear*99"_s, u"cmdPrev"_s} << QDate(1799, 12, 1);
    QTest::newRow("year < stays below 1800")
        << u"05/01/1899"_s << QStringList{u"cmdPrevYear*99"_s, u"cmdPrev"_s, u"cmdPrevYear"_s}
        << QDate(1799, 12, 1);
    QTest::newRow("year > from below 1800")
        << u"05/01/1899"_s << QStringList{u"cmdPrevYear*99"_s, u"cmdPrev"_s, u"cmdNextYear"_s}
        << QDate(1800, 12, 1);

    // Today.
    QTest::newRow("Today from another month and year")
        << u"15/06/2023"_s << QStringList{u"pan9"_s, u"cmdNextYear*3"_s, u"cmdWeekJump"_s} << Today;
    QTest::newRow("Today after month steps")
        << u"15/06/2023"_s << QStringList{u"cmdPrev*20"_s, u"cmdWeekJump"_s} << Today;
    QTest::newRow("Today from another day of this month")
        << u"02/03/2024"_s << QStringList{u"cmdWeekJump"_s} << Today;

    // The calendar's own paging: the buttons and the year box follow.
    QTest::newRow("PageDown keeps the day")
        << u"15/06/2023"_s << QStringList{u"key:PageDown"_s} << QDate(2023, 7, 15);
    QTest::newRow("PageUp across the year")
        << u"15/01/2023"_s << QStringList{u"key:PageUp"_s} << QDate(2022, 12, 15);
    QTest::newRow("arrow past the year's end")
        << u"31/12/2023"_s << QStringList{u"key:Right"_s} << QDate(2024, 1, 1);
    QTest::newRow("arrow within the month")
        << u"15/06/2023"_s << QStringList{u"key:Left"_s} << QDate(2023, 6, 14);
    QTest::newRow("wheel: first of the month shown")
        << u"15/06/2023"_s << QStringList{u"wheel:-1"_s} << QDate(2023, 7, 1);
    QTest::newRow("wheel back then > ")
        << u"15/06/2023"_s << QStringList{u"wheel:2"_s, u"cmdNext"_s} << QDate(2023, 5, 1);
    QTest::newRow("paging then year >")
        << u"15/12/2023"_s << QStringList{u"key:PageDown"_s, u"cmdNextYear"_s} << QDate(2025, 1, 1);
}

void TestPickers::dateNavigation() {
    QFETCH(QString, field);
    QFETCH(QStringList, steps);
    QFETCH(QDate, expected);
    Caller caller(true);
    caller.field->setText(field);

    qm::TfrmCalendar form(caller.label, caller.field, &caller.window);
    runPicker(*m_services, form, [&](QDialog &shown) {
        perform(shown, steps);
        verifyDateShown(shown, expected);
    });
    QCOMPARE(caller.field->text(), field); // nothing selected, nothing written
}

void TestPickers::dateSelect_data() {
    QTest::addColumn<QChar>("sep");
    QTest::addColumn<QString>("how");
    QTest::addColumn<bool>("fieldEnabled");
    QTest::addColumn<QString>("expected");

    QTest::newRow("Select button") << QChar(u'/') << u"button"_s << true << u"20/02/2023"_s;
    QTest::newRow("Enter") << QChar(u'/') << u"enter"_s << true << u"20/02/2023"_s;
    QTest::newRow("Enter in the calendar")
        << QChar(u'/') << u"enter-calendar"_s << true << u"20/02/2023"_s;
    QTest::newRow("double-click on a day")
        << QChar(u'/') << u"double-click"_s << true << u"20/02/2023"_s;
    QTest::newRow("dash separator") << QChar(u'-') << u"button"_s << true << u"20-02-2023"_s;
    QTest::newRow("blank separator") << QChar(u' ') << u"enter"_s << true << u"20 02 2023"_s;
    QTest::newRow("disabled field keeps no focus")
        << QChar(u'/') << u"button"_s << false << u"20/02/2023"_s;
}

void TestPickers::dateSelect() {
    QFETCH(QChar, sep);
    QFETCH(QString, how);
    QFETCH(bool, fieldEnabled);
    QFETCH(QString, expected);
    qm::SetDateSep(sep);
    Caller caller(true);
    caller.field->setText(withSep(u"15/06/2023"_s, sep));
    caller.field->setEnabled(fieldEnabled);

    qm::TfrmCalendar form(caller.label, caller.field, &caller.window);
    const int result = runPicker(*m_services, form, [&](QDialog &shown) {
        perform(shown, {u"pan2"_s});
        if (how == u"double-click"_s) {
            const QRect cell = dayCell(shown, 20);
            QVERIFY(cell.isValid());
            doubleClick(calendarView(shown)->viewport(), cell.center());
            return;
        }
        // Move to the 20th with the keyboard.
        for (int i = 1; i < 20; ++i)
            QTest::keyClick(calendarView(shown), Qt::Key_Right);
        if (how == u"button"_s)
            QTest::mouseClick(child<QPushButton>(shown, u"cmdSelect"_s), Qt::LeftButton);
        else if (how == u"enter"_s)
            QTest::keyClick(&shown, Qt::Key_Return);
        else
            QTest::keyClick(calendarView(shown), Qt::Key_Return);
    });

    QCOMPARE(result, int(QDialog::Accepted));
    QCOMPARE(caller.field->text(), expected);
    QVERIFY(!qm::IsLabelInvalid(caller.label));
    QCOMPARE(caller.label->palette().color(QPalette::WindowText),
             QApplication::palette().color(QPalette::WindowText));
    QCOMPARE(caller.window.focusWidget() == caller.field, fieldEnabled);
}

void TestPickers::timeOpens_data() {
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("hour");
    QTest::addColumn<QString>("minute");
    QTest::addColumn<bool>("hourAtTop");

    QTest::newRow("empty: 08:00 at the top") << QString() << u"08"_s << u"00"_s << true;
    QTest::newRow("blank places: 08:00 at the top") << u"  :  "_s << u"08"_s << u"00"_s << true;
    QTest::newRow("14:35") << u"14:35"_s << u"14"_s << u"35"_s << false;
    QTest::newRow("last items") << u"23:55"_s << u"23"_s << u"55"_s << false;
    QTest::newRow("minute 32 goes down") << u"09:32"_s << u"09"_s << u"30"_s << false;
    QTest::newRow("hour 24: 08 at the top") << u"24:10"_s << u"08"_s << u"10"_s << true;
}

void TestPickers::timeOpens() {
    QFETCH(QString, field);
    QFETCH(QString, hour);
    QFETCH(QString, minute);
    QFETCH(bool, hourAtTop);
    Caller caller(false);
    caller.field->setText(field);

    qm::TfrmSelTime form(caller.label, caller.field, &caller.window);
    QCOMPARE(form.windowTitle(), u"Select Time"_s);
    runPicker(*m_services, form, [&](QDialog &shown) {
        QCOMPARE(child<QListWidget>(shown, u"lstHour"_s)->count(), 24);
        QCOMPARE(child<QListWidget>(shown, u"lstMins"_s)->count(), 12);
        QCOMPARE(selectedText(shown, u"lstHour"_s), hour);
        QCOMPARE(selectedText(shown, u"lstMins"_s), minute);
        QCOMPARE(child<QLabel>(shown, u"lblSelected"_s)->text(), hour + u':' + minute);
        auto *hours = child<QListWidget>(shown, u"lstHour"_s);
        const QModelIndex top = hours->indexAt(QPoint(2, 2));
        if (hourAtTop)
            QCOMPARE(top.data().toString(), u"08"_s);
        // The selected hour is in view either way.
        QVERIFY(hours->viewport()->rect().contains(hours->visualItemRect(hours->currentItem())));
    });
    QCOMPARE(caller.field->text(), field);
}

void TestPickers::timeSelect_data() {
    QTest::addColumn<QString>("how");
    QTest::newRow("Select button") << u"button"_s;
    QTest::newRow("Enter") << u"enter"_s;
    QTest::newRow("double-click on the minute") << u"double-click-minute"_s;
    QTest::newRow("double-click on the hour") << u"double-click-hour"_s;
}

void TestPickers::timeSelect() {
    QFETCH(QString, how);
    Caller caller(false);
    caller.field->setText(u"18:45"_s);

    qm::TfrmSelTime form(caller.label, caller.field, &caller.window);
    const int result = runPicker(*m_services, form, [&](QDialog &shown) {
        auto *selected = child<QLabel>(shown, u"lblSelected"_s);
        QCOMPARE(selected->text(), u"18:45"_s);
        if (how == u"double-click-hour"_s) {
            clickItem(shown, u"lstMins"_s, u"30"_s);
            clickItem(shown, u"lstHour"_s, u"07"_s, true);
            return;
        }
        clickItem(shown, u"lstHour"_s, u"07"_s);
        QCOMPARE(selected->text(), u"07:45"_s);
        if (how == u"double-click-minute"_s) {
            clickItem(shown, u"lstMins"_s, u"30"_s, true);
            return;
        }
        clickItem(shown, u"lstMins"_s, u"30"_s);
        QCOMPARE(selected->text(), u"07:30"_s);
        if (how == u"button"_s)
            QTest::mouseClick(child<QPushButton>(shown, u"cmdSelect"_s), Qt::LeftButton);
        else
            QTest::keyClick(&shown, Qt::Key_Return);
    });

    QCOMPARE(result, int(QDialog::Accepted));
    QCOMPARE(caller.field->text(), u"07:30"_s);
    QVERIFY(!qm::IsLabelInvalid(caller.label));
    QCOMPARE(caller.window.focusWidget(), caller.field);
}

// Cancel and Esc leave the field, its red label and the focus as they were,
// whatever was chosen on the form before.
void TestPickers::cancelChangesNothing_data() {
    QTest::addColumn<bool>("date");
    QTest::addColumn<bool>("escape");
    QTest::newRow("date, Cancel button") << true << false;
    QTest::newRow("date, Esc") << true << true;
    QTest::newRow("time, Cancel button") << false << false;
    QTest::newRow("time, Esc") << false << true;
}

void TestPickers::cancelChangesNothing() {
    QFETCH(bool, date);
    QFETCH(bool, escape);
    Caller caller(date);
    const QString before = date ? u"15/06/2023"_s : u"18:45"_s;
    caller.field->setText(before);

    std::unique_ptr<QDialog> form;
    if (date)
        form = std::make_unique<qm::TfrmCalendar>(caller.label, caller.field, &caller.window);
    else
        form = std::make_unique<qm::TfrmSelTime>(caller.label, caller.field, &caller.window);
    const int result = runPicker(*m_services, *form, [&](QDialog &shown) {
        if (date) {
            perform(shown, {u"pan2"_s, u"cmdNextYear"_s});
        } else {
            clickItem(shown, u"lstHour"_s, u"07"_s);
            clickItem(shown, u"lstMins"_s, u"30"_s);
        }
        if (escape)
            QTest::keyClick(&shown, Qt::Key_Escape);
        else
            QTest::mouseClick(child<QPushButton>(shown, u"cmdCancel"_s), Qt::LeftButton);
        QVERIFY(!shown.isVisible());
    });

    QCOMPARE(result, int(QDialog::Rejected));
    QCOMPARE(caller.field->text(), before);
    QVERIFY(qm::IsLabelInvalid(caller.label));
    QCOMPARE(caller.window.focusWidget(), caller.other);
}

QTEST_MAIN(TestPickers)
#include "tst_pickers.moc"
