#include "diary/ui/DiaryPage.h"
#include "foundation/Dates.h"
#include "foundation/LineFiles.h"
#include "foundation/ui/MsgBox.h"
#include "shell/ui/TfrmMain.h"
#include "support/DiaryLines.h"
#include "support/FormDriving.h"
#include "support/TestServices.h"

#include <QApplication>
#include <QCalendarWidget>
#include <QCheckBox>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QProxyStyle>
#include <QPushButton>
#include <QTextDocument>
#include <QToolButton>
#include <QtTest>

using namespace Qt::StringLiterals;
using qm::DiaryPage;
using qm::test::DiaryLine;
using qm::test::ReadBytes;
using qm::test::child;

namespace {

// Friday 15 March 2024 (the test clock's day), the Sunday before, the
// following Monday.
QStringList weekLines() {
    return {DiaryLine(u"20240310"_s, u"08:00"_s, u"09:00"_s, u"Church"_s),
            DiaryLine(u"20240315"_s, u"08:00"_s, u"08:30"_s, u"Early"_s),
            DiaryLine(u"20240315"_s, u"09:30"_s, u"10:15"_s, u"Meeting"_s, u"Y"_s),
            DiaryLine(u"20240318"_s, u"14:00"_s, u"15:00"_s, u"Tennis"_s)};
}

QStringList listTexts(const DiaryPage &page) {
    auto *list = page.findChild<QListView *>(u"lstAppoints"_s);
    QStringList texts;
    for (int row = 0; row < list->model()->rowCount(); ++row)
        texts << list->model()->index(row, 0).data().toString();
    return texts;
}

// A modal handler that fills the appointment editor and saves it. Empty
// texts leave a field as it is.
std::function<int(QDialog &)> saveAppointment(const QString &date, const QString &start,
                                              const QString &end, const QString &description) {
    return [=](QDialog &form) {
        form.show();
        const std::pair<QString, QString> fields[] = {{u"txtDate"_s, date},
                                                      {u"txtStart"_s, start},
                                                      {u"txtEnd"_s, end},
                                                      {u"txtDescription"_s, description}};
        for (const auto &[name, text] : fields)
            if (!text.isEmpty())
                child<QLineEdit>(&form, name)->setText(text);
        QTest::mouseClick(child(&form, u"cmdUpdate"_s), Qt::LeftButton);
        return form.result();
    };
}

// A style under which a single click activates an item.
class SingleClickStyle final : public QProxyStyle {
public:
    int styleHint(StyleHint hint, const QStyleOption *option, const QWidget *widget,
                  QStyleHintReturn *returnData) const override {
        if (hint == SH_ItemView_ActivateItemOnSingleClick)
            return 1;
        return QProxyStyle::styleHint(hint, option, widget, returnData);
    }
};

} // namespace

class TestDiaryPage : public QObject {
    Q_OBJECT
private slots:
    void init() { qm::SetDateSep(u'/'); }
    void viewButtons_data();
    void viewButtons();
    void emptyViewDisablesRowButtons();
    void rowsHaveOneHeightAndWholeRows();
    void wrongRowWarns_data();
    void wrongRowWarns();
    void deleteAsksAndRemoves();
    void addKeepsSelectionOnNextAppointment();
    void doubleClickAndEnterEdit();
    void movesThroughTimeAndKeepsThePeriod();
    void endToEndThroughMainWindow();
};

void TestDiaryPage::viewButtons_data() {
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("heading");
    QTest::addColumn<QStringList>("rows");
    QTest::addColumn<int>("selected");
    const QString ten(10, u' ');
    const QString dashes(125, u'-');
    QTest::newRow("daily") << u"spdDaily"_s << u"Diary - Appointments For Today"_s
                           << QStringList{u"08:00 - 08:30    Early"_s,
                                          u"09:30 - 10:15    ?? Meeting ??"_s}
                           << 1;
    const QStringList week = {u"Sunday 10th March 2024"_s,
                              ten + u"08:00 - 09:00    Church"_s,
                              dashes,
                              u"Friday 15th March 2024"_s,
                              ten + u"08:00 - 08:30    Early"_s,
                              ten + u"09:30 - 10:15    ?? Meeting ??"_s,
                              dashes};
    // The month (and so every appointment) adds the Monday after.
    const QStringList month =
        week + QStringList{u"Monday 18th March 2024"_s, ten + u"14:00 - 15:00    Tennis"_s, dashes};
    QTest::newRow("weekly") << u"spdWeekly"_s
                            << u"Diary - Appointments For The Week (10/03/2024 To 16/03/2024)"_s
                            << week << 5;
    QTest::newRow("monthly") << u"spdMonthly"_s << u"Diary - Appointments For This Month"_s << month
                             << 5;
    QTest::newRow("all") << u"spdAll"_s << u"Diary - All Appointments"_s << month << 5;
}

void TestDiaryPage::viewButtons() {
    QFETCH(QString, button);
    qm::test::TestServices services;
    services.clock.set(QDateTime(QDate(2024, 3, 15), QTime(9, 0)));
    DiaryPage page;
    page.ensureBuilt();
    page.store().load(weekLines());
    QTest::mouseClick(child(&page, button), Qt::LeftButton);
    QVERIFY(child<QToolButton>(&page, button)->isChecked());
    QTEST(child<QLabel>(&page, u"lblHeading"_s)->text(), "heading");
    QTEST(listTexts(page), "rows");
    // The first appointment not yet over at 09:00 is the 09:30 meeting.
    QTEST(page.selectedRow(), "selected");
    for (const QString &name : {u"cmdDiaryEdit"_s, u"cmdDiaryDelete"_s, u"cmdDiaryPrint"_s})
        QVERIFY2(child(&page, name)->isEnabled(), qPrintable(name));
    QCOMPARE(page.diaryMode(), DiaryPage::DiaryMode::Appoints);
    // The refresh rebuilds the same view.
    page.RefreshDiaryView();
    QTEST(listTexts(page), "rows");
}

void TestDiaryPage::emptyViewDisablesRowButtons() {
    qm::test::TestServices services;
    DiaryPage page;
    page.ensureBuilt();
    // The page as it comes: Daily pressed, Edit and Delete off.
    QCOMPARE(page.pressedViewName(), u"Daily"_s);
    QVERIFY(!child(&page, u"cmdDiaryEdit"_s)->isEnabled());
    QVERIFY(!child(&page, u"cmdDiaryDelete"_s)->isEnabled());
    page.store().load(weekLines());
    page.pressViewButton(u"Weekly"_s);
    page.RefreshDiaryView();
    QVERIFY(child(&page, u"cmdDiaryEdit"_s)->isEnabled());
    // A day without appointments.
    services.clock.set(QDateTime(QDate(2024, 3, 16), QTime(9, 0)));
    QTest::mouseClick(child(&page, u"spdDaily"_s), Qt::LeftButton);
    QCOMPARE(listTexts(page), QStringList());
    QCOMPARE(page.selectedRow(), -1);
    for (const QString &name : {u"cmdDiaryEdit"_s, u"cmdDiaryDelete"_s, u"cmdDiaryPrint"_s})
        QVERIFY2(!child(&page, name)->isEnabled(), qPrintable(name));
    QVERIFY(child(&page, u"cmdDiaryAdd"_s)->isEnabled());
}

void TestDiaryPage::rowsHaveOneHeightAndWholeRows() {
    qm::test::TestServices services;
    DiaryPage page;
    page.ensureBuilt();
    page.store().load(weekLines());
    page.spdAllClick();
    auto *list = child<QListView>(&page, u"lstAppoints"_s);
    for (const int height : {16, 20}) {
        page.setRowHeight(height);
        QCOMPARE(list->sizeHintForRow(0), height);
        QCOMPARE(list->visualRect(list->model()->index(3, 0)).height(), height);
        QCOMPARE((list->height() - 2 * list->frameWidth()) % height, 0);
    }
}

void TestDiaryPage::wrongRowWarns_data() {
    QTest::addColumn<QString>("button");
    QTest::addColumn<int>("row");
    QTest::addColumn<QString>("message");
    const QString edit = u"You Must Select An Appointment To Edit"_s;
    const QString remove = u"You Must Select An Appointment To Delete"_s;
    QTest::newRow("edit on heading") << u"cmdDiaryEdit"_s << 0 << edit;
    QTest::newRow("edit on separator") << u"cmdDiaryEdit"_s << 2 << edit;
    QTest::newRow("edit on nothing") << u"cmdDiaryEdit"_s << -1 << edit;
    QTest::newRow("delete on heading") << u"cmdDiaryDelete"_s << 0 << remove;
    QTest::newRow("delete on separator") << u"cmdDiaryDelete"_s << 2 << remove;
}

void TestDiaryPage::wrongRowWarns() {
    QFETCH(QString, button);
    QFETCH(int, row);
    qm::test::TestServices services;
    DiaryPage page;
    page.ensureBuilt();
    page.store().load(weekLines());
    page.spdAllClick();
    page.selectRow(row);
    QTest::mouseClick(child(&page, button), Qt::LeftButton);
    QCOMPARE(services.prompter.messages.size(), 1);
    QTEST(services.prompter.messages.first().text, "message");
    QCOMPARE(services.prompter.messages.first().kind, qm::MessageKind::Warning);
    QCOMPARE(services.prompter.messages.first().buttons, qm::MessageButtons::OK);
    QCOMPARE(services.prompter.modalRuns, 0);
    QCOMPARE(page.store().size(), 4);
}

void TestDiaryPage::deleteAsksAndRemoves() {
    qm::test::TestServices services;
    DiaryPage page;
    page.ensureBuilt();
    page.store().load(weekLines());
    page.spdDailyClick();
    page.selectRow(1);
    services.prompter.answers = {qm::MessageResult::No, qm::MessageResult::Yes};
    QTest::mouseClick(child(&page, u"cmdDiaryDelete"_s), Qt::LeftButton);
    QCOMPARE(services.prompter.messages.first().text,
             u"Are You Sure You Want To Delete '?? Meeting ??"_s + u"'?"_s);
    QCOMPARE(services.prompter.messages.first().kind, qm::MessageKind::Confirmation);
    QCOMPARE(services.prompter.messages.first().buttons, qm::MessageButtons::YesNo);
    QCOMPARE(page.store().size(), 4);
    QVERIFY(!QFile::exists(services.path(qm::DiaryFileName)));

    QTest::mouseClick(child(&page, u"cmdDiaryDelete"_s), Qt::LeftButton);
    QCOMPARE(page.store().size(), 3);
    QVERIFY(!page.store().lines().contains(weekLines().at(2)));
    QCOMPARE(qm::LoadDiaryFile(), page.store().lines());
    QCOMPARE(listTexts(page), QStringList{u"08:00 - 08:30    Early"_s});
}

// After an addition the list is rebuilt in the same view and the selection
// goes back to the next appointment, not to the new one.
void TestDiaryPage::addKeepsSelectionOnNextAppointment() {
    qm::test::TestServices services;
    DiaryPage page;
    page.ensureBuilt();
    page.store().load(weekLines());
    QTest::mouseClick(child(&page, u"spdWeekly"_s), Qt::LeftButton);
    services.prompter.modalHandler =
        saveAppointment(u"16/03/2024"_s, u"18:00"_s, u"19:00"_s, u"Cinema"_s);
    QTest::mouseClick(child(&page, u"cmdDiaryAdd"_s), Qt::LeftButton);
    QCOMPARE(services.prompter.modalRuns, 1);
    QCOMPARE(page.store().size(), 5);
    QCOMPARE(page.pressedViewName(), u"Weekly"_s);
    const QStringList texts = listTexts(page);
    QCOMPARE(texts.at(8), QString(10, u' ') + u"18:00 - 19:00    Cinema"_s);
    QCOMPARE(page.selectedRow(), 5);
    QCOMPARE(qm::LoadDiaryFile(), page.store().lines());

    // A form left with Cancel changes nothing and rebuilds nothing.
    page.selectRow(8);
    services.prompter.modalHandler = [](QDialog &form) {
        form.reject();
        return int(QDialog::Rejected);
    };
    QTest::mouseClick(child(&page, u"cmdDiaryAdd"_s), Qt::LeftButton);
    QCOMPARE(page.store().size(), 5);
    QCOMPARE(page.selectedRow(), 8);
}

void TestDiaryPage::doubleClickAndEnterEdit() {
    qm::test::TestServices services;
    DiaryPage page;
    page.ensureBuilt();
    page.store().load(weekLines());
    page.show();
    page.spdDailyClick();
    auto *list = child<QListView>(&page, u"lstAppoints"_s);
    page.selectRow(0);
    // A single click selects, even under a style that activates items on a
    // single click.
    auto *singleClick = new SingleClickStyle;
    singleClick->setParent(list);
    list->setStyle(singleClick);
    const QPoint first = list->visualRect(list->model()->index(0, 0)).center();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, first);
    QCOMPARE(services.prompter.modalRuns, 0);
    // Editing the 08:00 appointment to another day moves it in the store.
    services.prompter.modalHandler =
        saveAppointment(u"20/03/2024"_s, QString(), QString(), QString());
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, first);
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, first);
    QCOMPARE(services.prompter.modalRuns, 1);
    QCOMPARE(page.store().at(3), DiaryLine(u"20240320"_s, u"08:00"_s, u"08:30"_s, u"Early"_s));
    QCOMPARE(listTexts(page), QStringList{u"09:30 - 10:15    ?? Meeting ??"_s});

    // Enter in the list edits the selected row.
    services.prompter.modalHandler = [](QDialog &form) {
        form.reject();
        return int(QDialog::Rejected);
    };
    list->setFocus();
    QTest::keyClick(list, Qt::Key_Return);
    QCOMPARE(services.prompter.modalRuns, 2);

    // With nothing to edit, a double-click does nothing.
    services.clock.set(QDateTime(QDate(2024, 3, 16), QTime(9, 0)));
    page.spdDailyClick();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, QPoint(10, 5));
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, QPoint(10, 5));
    QCOMPARE(services.prompter.modalRuns, 2);
    QVERIFY(services.prompter.messages.isEmpty());
}

// Weeks, days and months other than the current one, by keys, buttons and
// the date picker; every change made there keeps the period on show. The
// rows and the store positions differ, so a change to the wrong line shows
// in the file.
void TestDiaryPage::movesThroughTimeAndKeepsThePeriod() {
    qm::test::TestServices services; // Friday 15 March 2024, 09:00
    DiaryPage page;
    page.ensureBuilt();
    page.store().load({DiaryLine(u"20240301"_s, u"10:00"_s, u"11:00"_s, u"Dentist"_s),
                       DiaryLine(u"20240315"_s, u"08:00"_s, u"08:30"_s, u"Early"_s),
                       DiaryLine(u"20240318"_s, u"09:00"_s, u"09:30"_s, u"Standup"_s),
                       DiaryLine(u"20240318"_s, u"14:00"_s, u"15:00"_s, u"Tennis"_s, u"Y"_s),
                       DiaryLine(u"20240320"_s, u"12:00"_s, u"13:00"_s, u"Lunch"_s),
                       DiaryLine(u"20240412"_s, u"18:00"_s, u"19:00"_s, u"Concert"_s)});
    page.show();
    QApplication::setActiveWindow(&page);
    auto *list = child<QListView>(&page, u"lstAppoints"_s);
    auto *heading = child<QLabel>(&page, u"lblHeading"_s);
    const auto key = [&](Qt::Key pressed, Qt::KeyboardModifiers modifiers = {}) {
        list->setFocus();
        QTest::keyClick(list, pressed, modifiers);
    };
    const QString ten(10, u' ');
    const QString dashes(125, u'-');
    const QString week = u"Diary - Appointments For The Week ("_s;
    const QString thisWeek = week + u"10/03/2024 To 16/03/2024)"_s;
    const QString nextWeek = week + u"17/03/2024 To 23/03/2024)"_s;

    QTest::mouseClick(child(&page, u"spdWeekly"_s), Qt::LeftButton);
    QCOMPARE(heading->text(), thisWeek);
    key(Qt::Key_PageDown);
    QCOMPARE(heading->text(), nextWeek);
    QCOMPARE(listTexts(page),
             (QStringList{u"Monday 18th March 2024"_s, ten + u"09:00 - 09:30    Standup"_s,
                          ten + u"14:00 - 15:00    ?? Tennis ??"_s, dashes,
                          u"Wednesday 20th March 2024"_s, ten + u"12:00 - 13:00    Lunch"_s,
                          dashes}));
    QCOMPARE(page.rows().rowMaps(), (QStringList{u"H"_s, u"2"_s, u"3"_s, u"L"_s, u"H"_s, u"4"_s,
                                                 u"L"_s}));
    QCOMPARE(page.selectedRow(), 1);
    key(Qt::Key_Right, Qt::AltModifier);
    QCOMPARE(heading->text(), week + u"24/03/2024 To 30/03/2024)"_s);
    QCOMPARE(page.rowCount(), 0);
    QVERIFY(!child(&page, u"cmdDiaryPrint"_s)->isEnabled());
    key(Qt::Key_Left, Qt::AltModifier);
    QTest::mouseClick(child(&page, u"spdPrevious"_s), Qt::LeftButton);
    QCOMPARE(heading->text(), thisWeek);
    key(Qt::Key_PageUp);
    key(Qt::Key_PageUp);
    QCOMPARE(heading->text(), week + u"25/02/2024 To 02/03/2024)"_s);
    // All of it is over: the first row, as on the current period.
    QCOMPARE(listTexts(page).at(1), ten + u"10:00 - 11:00    Dentist"_s);
    QCOMPARE(page.selectedRow(), 0);
    key(Qt::Key_Home);
    QCOMPARE(heading->text(), thisWeek);

    // Delete and edit on next week: the view stays there.
    QTest::mouseClick(child(&page, u"spdNext"_s), Qt::LeftButton);
    page.selectRow(2);
    services.prompter.answers = {qm::MessageResult::Yes};
    QTest::mouseClick(child(&page, u"cmdDiaryDelete"_s), Qt::LeftButton);
    QCOMPARE(services.prompter.messages.last().text,
             u"Are You Sure You Want To Delete '?? Tennis ??"_s + u"'?"_s);
    QCOMPARE(heading->text(), nextWeek);
    page.selectRow(4);
    services.prompter.modalHandler =
        saveAppointment(QString(), QString(), QString(), u"Lunch with Ann"_s);
    QTest::mouseClick(child(&page, u"cmdDiaryEdit"_s), Qt::LeftButton);
    QCOMPARE(heading->text(), nextWeek);
    QCOMPARE(listTexts(page).at(4), ten + u"12:00 - 13:00    Lunch with Ann"_s);

    // A day chosen with the date picker; Add there starts on that day.
    QTest::mouseClick(child(&page, u"spdDaily"_s), Qt::LeftButton);
    QCOMPARE(heading->text(), u"Diary - Appointments For Today"_s);
    const auto pick = [&](const QDate &date) {
        return [date](QDialog &form) {
            form.show();
            child<QCalendarWidget>(&form, u"mntCalendar"_s)->setSelectedDate(date);
            QTest::mouseClick(child(&form, u"cmdSelect"_s), Qt::LeftButton);
            return form.result();
        };
    };
    services.prompter.modalHandler = pick(QDate(2024, 4, 12));
    key(Qt::Key_G, Qt::ControlModifier);
    QCOMPARE(heading->text(), u"Diary - Appointments For Friday 12th April 2024"_s);
    QCOMPARE(listTexts(page), QStringList{u"18:00 - 19:00    Concert"_s});
    services.prompter.modalHandler = [](QDialog &form) {
        form.show();
        const QString date = child<QLineEdit>(&form, u"txtDate"_s)->text();
        return saveAppointment(QString(), u"20:00"_s, u"21:00"_s, date)(form);
    };
    QTest::mouseClick(child(&page, u"cmdDiaryAdd"_s), Qt::LeftButton);
    QCOMPARE(heading->text(), u"Diary - Appointments For Friday 12th April 2024"_s);
    QCOMPARE(listTexts(page),
             (QStringList{u"18:00 - 19:00    Concert"_s, u"20:00 - 21:00    12/04/2024"_s}));
    // Print gives the day on show under its heading.
    QTextDocument printed;
    page.composePrintPage(printed);
    QCOMPARE(printed.toPlainText().split(u'\n').mid(1, 4),
             (QStringList{u"Diary - Appointments For Friday 12th April 2024"_s, QString(),
                          u"18:00 - 19:00    Concert"_s, u"20:00 - 21:00    12/04/2024"_s}));

    // A month by its heading; a date the diary cannot hold is refused.
    QTest::mouseClick(child(&page, u"spdMonthly"_s), Qt::LeftButton);
    QCOMPARE(heading->text(), u"Diary - Appointments For This Month"_s);
    services.prompter.modalHandler = pick(QDate(1850, 6, 1));
    QTest::mouseClick(heading, Qt::LeftButton);
    QCOMPARE(services.prompter.messages.last().text,
             u"The Diary Holds Dates From 01/01/1899 To 31/12/2199"_s);
    QCOMPARE(heading->text(), u"Diary - Appointments For This Month"_s);
    key(Qt::Key_PageDown);
    QCOMPARE(heading->text(), u"Diary - Appointments For April 2024"_s);

    // In the All view the keys move through the list, and nothing moves in time.
    QTest::mouseClick(child(&page, u"spdAll"_s), Qt::LeftButton);
    QVERIFY(!child(&page, u"spdNext"_s)->isVisible());
    page.selectRow(0);
    key(Qt::Key_PageDown);
    QCOMPARE(heading->text(), u"Diary - All Appointments"_s);
    QVERIFY(page.selectedRow() > 0);

    QCOMPARE(ReadBytes(services.path(qm::DiaryFileName)),
             QByteArray("20240301\xff"
                        "10:00\xff"
                        "11:00\xff"
                        "Dentist\xff"
                        "0\xffN\r\n"
                        "20240315\xff"
                        "08:00\xff"
                        "08:30\xff"
                        "Early\xff"
                        "0\xffN\r\n"
                        "20240318\xff"
                        "09:00\xff"
                        "09:30\xff"
                        "Standup\xff"
                        "0\xffN\r\n"
                        "20240320\xff"
                        "12:00\xff"
                        "13:00\xff"
                        "Lunch with Ann\xff"
                        "0\xffN\r\n"
                        "20240412\xff"
                        "18:00\xff"
                        "19:00\xff"
                        "Concert\xff"
                        "0\xffN\r\n"
                        "20240412\xff"
                        "20:00\xff"
                        "21:00\xff"
                        "12/04/2024\xff"
                        "0\xffN\r\n"));
}

// Add, edit and delete through the main window; a new main window over the
// same data folder finds what was kept, in the view that was left open.
void TestDiaryPage::endToEndThroughMainWindow() {
    qm::test::TestServices services;
    {
        qm::TfrmMain window;
        QVERIFY(window.StartUp());
        QCOMPARE(window.activePage()->objectName(), u"tabDiary"_s);
        auto *page = child<DiaryPage>(&window, u"tabDiary"_s);
        QCOMPARE(page->store().size(), 0);

        services.prompter.modalHandler =
            saveAppointment(u"15/03/2024"_s, u"11:00"_s, u"12:00"_s, u"Dentist"_s);
        QTest::mouseClick(child(&window, u"cmdDiaryAdd"_s), Qt::LeftButton);
        services.prompter.modalHandler =
            saveAppointment(u"22/03/2024"_s, u"14:00"_s, u"14:30"_s, u"Haircut"_s);
        QTest::mouseClick(child(&window, u"cmdDiaryAdd"_s), Qt::LeftButton);
        QCOMPARE(listTexts(*page), QStringList{u"11:00 - 12:00    Dentist"_s});

        QTest::mouseClick(child(&window, u"spdAll"_s), Qt::LeftButton);
        page->selectRow(1);
        services.prompter.modalHandler =
            saveAppointment(QString(), QString(), QString(), u"Dentist Check-Up"_s);
        QTest::mouseClick(child(&window, u"cmdDiaryEdit"_s), Qt::LeftButton);
        page->selectRow(4);
        QCOMPARE(listTexts(*page).at(4), QString(10, u' ') + u"14:00 - 14:30    Haircut"_s);
        services.prompter.answers = {qm::MessageResult::Yes};
        QTest::mouseClick(child(&window, u"cmdDiaryDelete"_s), Qt::LeftButton);
        QCOMPARE(page->store().size(), 1);

        // Closing keeps the view for the next start.
        services.prompter.answers = {qm::MessageResult::Yes};
        window.close();
    }
    QCOMPARE(services.settings.m_values.value(u"Diary Page"_s), u"All"_s);
    QCOMPARE(ReadBytes(services.path(qm::DiaryFileName)), QByteArray("20240315\xff"
                                                                     "11:00\xff"
                                                                     "12:00\xff"
                                                                     "Dentist Check-Up\xff"
                                                                     "0\xffN\r\n"));

    qm::TfrmMain again;
    QVERIFY(again.StartUp());
    auto *page = child<DiaryPage>(&again, u"tabDiary"_s);
    QCOMPARE(page->pressedViewName(), u"All"_s);
    QCOMPARE(listTexts(*page),
             (QStringList{u"Friday 15th March 2024"_s,
                          QString(10, u' ') + u"11:00 - 12:00    Dentist Check-Up"_s,
                          QString(125, u'-')}));
    QCOMPARE(page->selectedRow(), 1);
}

QTEST_MAIN(TestDiaryPage)
#include "tst_diarypage.moc"
