#include "diary/ui/DiaryPage.h"
#include "foundation/Codec1252.h"
#include "foundation/LineFiles.h"
#include "foundation/RecordFile.h"
#include "foundation/ui/Controls.h"
#include "foundation/ui/MsgBox.h"
#include "support/FormDriving.h"
#include "support/TestServices.h"
#include "tasks/Occasions.h"
#include "tasks/Tasks.h"
#include "tasks/ui/OccasionRowSource.h"
#include "tasks/ui/TaskRowSource.h"
#include "tasks/ui/TfrmTaskMaint.h"

#include <QApplication>
#include <QCheckBox>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QToolButton>
#include <QtTest>

using namespace Qt::StringLiterals;
using namespace qm;
using test::ReadBytes;
using test::TestData;
using test::WriteBytes;
using qm::test::child;
using qm::test::click;

namespace {

const QChar Sep(0x00FF);

// What an editor is given and then does: field texts, boxes to tick, and the
// button that ends it ("" leaves it open).
struct Entries {
    QMap<QString, QString> fields;
    QStringList ticks;
    QString button = u"cmdUpdate"_s;
};

// The diary page showing the task or occasion view over the test data
// folder, with the editors driven by a modal handler.
struct Desk {
    test::TestServices services;
    TaskRowSource tasks;
    OccasionRowSource occasions;
    DiaryPage page;
    // The editor as the handler left it, for a look after it was closed.
    QStringList editorTexts;
    bool editorOpenAfterwards = false;

    explicit Desk(const QString &view) {
        page.setRowSources(&tasks, &occasions);
        page.ensureBuilt();
        page.pressViewButton(view);
    }
    void show() { page.RefreshDiaryView(); }

    void drive(const Entries &entries) {
        services.prompter.modalHandler = [this, entries](QDialog &form) {
            form.show();
            for (const QString &name : {u"txtDescription"_s, u"txtCompleteBy"_s, u"txtDate"_s})
                if (auto *field = form.findChild<QLineEdit *>(name))
                    editorTexts << EntryText(field);
            for (auto it = entries.fields.cbegin(); it != entries.fields.cend(); ++it)
                child<QLineEdit>(&form, it.key())->setText(it.value());
            for (const QString &box : entries.ticks)
                child<QCheckBox>(&form, box)->setChecked(true);
            if (!entries.button.isEmpty())
                click(&form, entries.button);
            editorOpenAfterwards = form.isVisible();
            if (form.isVisible())
                form.done(QDialog::Rejected);
            return form.result();
        };
    }
    void command(const QString &button) { click(&page, button); }
    QStringList texts() const {
        QStringList all;
        auto *model = child<QListView>(&page, u"lstAppoints"_s)->model();
        for (int row = 0; row < model->rowCount(); ++row)
            all << model->index(row, 0).data().toString();
        return all;
    }
    QStringList messages() const {
        QStringList all;
        for (const auto &message : services.prompter.messages)
            all << message.text;
        return all;
    }
    QByteArray file(const QString &name) const { return ReadBytes(services.path(name)); }
};

QString task(const QString &date, const QString &completed, const QString &priority,
             const QString &description) {
    return date + Sep + completed + Sep + priority + Sep + description;
}

QByteArray withLine(QByteArray bytes, const QString &line) {
    return bytes + EncodeCp1252(line) + "\r\n";
}

} // namespace

class TestTaskForms : public QObject {
    Q_OBJECT
private slots:
    void cleanup();
    void taskEditorControls();
    void addTaskSelectsItsRow();
    void cannotSaveListsTheReasons();
    void deleteThenEditOpensTheRowsOwnTask();
    void completedFilter();
    void rowsDrawnByTheirFlags();
    void warningsWithoutARecordRow_data();
    void warningsWithoutARecordRow();
    void failedSaveKeepsTheEditorOpen_data();
    void failedSaveKeepsTheEditorOpen();
    void occasionEditorDates_data();
    void occasionEditorDates();
    void occasionEditSelectsTheNextOccasion();
    void deletingTheOnlyOccasion();
};

void TestTaskForms::cleanup() {
    SetWriteFaultHookForTesting({});
}

void TestTaskForms::taskEditorControls() {
    test::TestServices services;
    TaskStore store;
    TfrmTaskMaint form(store, EditMode::Add, -1, {});
    form.show();
    QVERIFY(QTest::qWaitForWindowActive(&form));
    QCOMPARE(form.windowTitle(), u"Task"_s);
    QVERIFY(!(form.windowFlags() & Qt::WindowCloseButtonHint));
    QCOMPARE(child<QLineEdit>(&form, u"txtDescription"_s)->maxLength(), 75);
    QCOMPARE(EntryText(child<QLineEdit>(&form, u"txtCompleteBy"_s)), u"  /  /    "_s);
    QCOMPARE(child<QToolButton>(&form, u"spdFromDate"_s)->toolTip(),
             u"Select From Calendar|Select Date Using Calendar"_s);
    QCOMPARE(child<QPushButton>(&form, u"cmdUpdate"_s)->toolTip(),
             u"Save Task Details And Close Screen"_s);
    QVERIFY(child<QPushButton>(&form, u"cmdUpdate"_s)->isDefault());
    QCOMPARE(child<QLabel>(&form, u"lblCompleteBy"_s)->text(), u"Complete By"_s);

    // The keyboard goes through the entries in order; the date button is
    // never in the way.
    QStringList order{QApplication::focusWidget()->objectName()};
    for (int i = 0; i < 5; ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        order << QApplication::focusWidget()->objectName();
    }
    QCOMPARE(order, (QStringList{u"txtDescription"_s, u"txtCompleteBy"_s, u"chkCompleted"_s,
                                 u"chkPriority"_s, u"cmdUpdate"_s, u"cmdCancel"_s}));
}

void TestTaskForms::addTaskSelectsItsRow() {
    Desk desk(u"Tasks"_s);
    WriteBytes(desk.services.path(TasksFileName), TestData(u"tasks/mixed.qmt"_s));
    desk.show();
    QCOMPARE(desk.page.selectedRow(), 0);
    desk.drive({{{u"txtDescription"_s, u"New \u00ff one"_s}, {u"txtCompleteBy"_s, u"01/04/2024"_s}},
                {u"chkPriority"_s}});
    desk.command(u"cmdDiaryAdd"_s);
    QCOMPARE(desk.file(TasksFileName),
             withLine(TestData(u"tasks/mixed.qmt"_s),
                      task(u"20240401"_s, u"N"_s, u"Y"_s, u"New \u00ff one"_s)));
    QCOMPARE(desk.texts().last(), u"New \u00ff one"_s);
    QCOMPARE(desk.page.selectedRow(), desk.texts().size() - 1);
}

void TestTaskForms::cannotSaveListsTheReasons() {
    Desk desk(u"Tasks"_s);
    desk.show();
    desk.drive({{{u"txtDescription"_s, u" "_s}, {u"txtCompleteBy"_s, u"31/02/2024"_s}}, {}});
    desk.command(u"cmdDiaryAdd"_s);
    QCOMPARE(desk.messages().first(), CannotSaveHeading + u"Description Must Be Entered\r"
                                                          u"Completion Date Is Not A Valid Date"_s);
    QVERIFY(desk.editorOpenAfterwards);
    QVERIFY(!QFile::exists(desk.services.path(TasksFileName)));
}

void TestTaskForms::deleteThenEditOpensTheRowsOwnTask() {
    Desk desk(u"Tasks"_s);
    WriteBytes(desk.services.path(TasksFileName), TestData(u"tasks/mixed.qmt"_s));
    desk.show();
    desk.page.selectRow(1);
    desk.command(u"cmdDiaryDelete"_s);
    QCOMPARE(desk.messages(),
             QStringList{u"Are You Sure You Want To Delete Task 'Book dentist'?"_s});
    QCOMPARE(desk.page.selectedRow(), 1);

    // Cancelled without a change: nothing asked, nothing written.
    desk.drive({{}, {}, u"cmdCancel"_s});
    desk.command(u"cmdDiaryEdit"_s);
    QCOMPARE(desk.editorTexts, (QStringList{u"Water plants"_s, u"  /  /    "_s}));
    QCOMPARE(desk.messages().size(), 1);

    // The last row deleted: the selection moves to the new last row.
    desk.page.selectRow(desk.page.rowCount() - 1);
    desk.command(u"cmdDiaryDelete"_s);
    QCOMPARE(desk.page.selectedRow(), desk.page.rowCount() - 1);
    QCOMPARE(LoadTasksFile().size(), 5);
}

void TestTaskForms::completedFilter() {
    Desk desk(u"Tasks"_s);
    WriteBytes(desk.services.path(TasksFileName), TestData(u"tasks/mixed.qmt"_s));
    desk.show();
    auto *box = child<QCheckBox>(&desk.page, u"chkComplete"_s);
    QVERIFY(box->isVisibleTo(&desk.page));
    QVERIFY(box->isChecked()); // "Show Completed" is on unless set off
    QVERIFY(desk.texts().contains(u"File tax return"_s));

    box->click();
    QCOMPARE(desk.services.settings.m_values.value(u"Show Completed"_s), u"0"_s);
    QVERIFY(!desk.texts().contains(u"File tax return"_s));

    // Changes to the tasks on show leave the hidden ones in the file.
    desk.page.selectRow(0);
    desk.drive({{{u"txtDescription"_s, u"Pay the electricity bill"_s}}, {}});
    desk.command(u"cmdDiaryEdit"_s);
    QCOMPARE(LoadTasksFile().at(3), task(u"20240301"_s, u"Y"_s, u"Y"_s, u"File tax return"_s));
    QCOMPARE(LoadTasksFile().at(0),
             task(u"20240314"_s, u"N"_s, u"N"_s, u"Pay the electricity bill"_s));
    QCOMPARE(desk.page.selectedRow(), 0);

    // Another view hides the box.
    click(&desk.page, u"spdDaily"_s);
    QVERIFY(!box->isVisibleTo(&desk.page));
}

void TestTaskForms::rowsDrawnByTheirFlags() {
    Desk desk(u"Tasks"_s);
    WriteBytes(desk.services.path(TasksFileName), TestData(u"tasks/mixed.qmt"_s));
    desk.show();
    const QPalette list = child<QListView>(&desk.page, u"lstAppoints"_s)->palette();
    const QColor listColour = list.color(QPalette::Base);
    const QColor red(255, 0, 0);
    const QColor windowText = QApplication::palette().color(QPalette::WindowText);

    // Row 0 is overdue and selected: a red bar with the list colour as text.
    RowPaint paint = desk.page.rowPaint(0);
    QCOMPARE(paint.background, red);
    QCOMPARE(paint.text, listColour);
    QVERIFY(paint.font.bold() && !paint.font.strikeOut());

    desk.page.selectRow(2);
    paint = desk.page.rowPaint(0);
    QCOMPARE(paint.text, red);
    QCOMPARE(paint.background, listColour);
    // High priority: bold in the window-text colour.
    paint = desk.page.rowPaint(1);
    QCOMPARE(paint.text, windowText);
    QVERIFY(paint.font.bold());
    // A plain row, here the selected one, in the list's own colours.
    paint = desk.page.rowPaint(2);
    QCOMPARE(paint.background, list.color(QPalette::Highlight));
    QVERIFY(!paint.font.bold() && !paint.font.strikeOut());
    // Completed, overdue and high priority: struck out and bold, never red.
    paint = desk.page.rowPaint(3);
    QVERIFY(paint.font.bold() && paint.font.strikeOut());
    QCOMPARE(paint.text, windowText);

    // In the occasion view the headings are bold.
    WriteBytes(desk.services.path(BirthdayFileName), TestData(u"tasks/birthann.qmt"_s));
    click(&desk.page, u"spdBirthdays"_s);
    QVERIFY(desk.page.rowPaint(0).font.bold());
    QVERIFY(!desk.page.rowPaint(2).font.bold());
}

void TestTaskForms::warningsWithoutARecordRow_data() {
    QTest::addColumn<QString>("view");
    QTest::addColumn<int>("row");
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("warning");
    QTest::newRow("task edit") << u"Tasks"_s << -1 << u"cmdDiaryEdit"_s
                               << u"You Must Select A Task To Edit"_s;
    QTest::newRow("task delete") << u"Tasks"_s << -1 << u"cmdDiaryDelete"_s
                                 << u"You Must Select A Task To Delete"_s;
    QTest::newRow("heading edit") << u"Birthday"_s << 0 << u"cmdDiaryEdit"_s
                                  << u"You Must Select A Record To Edit"_s;
    QTest::newRow("separator delete")
        << u"Birthday"_s << 3 << u"cmdDiaryDelete"_s << u"You Must Select A Record To Delete"_s;
}

void TestTaskForms::warningsWithoutARecordRow() {
    QFETCH(QString, view);
    QFETCH(int, row);
    QFETCH(QString, button);
    QFETCH(QString, warning);
    Desk desk(view);
    WriteBytes(desk.services.path(TasksFileName), TestData(u"tasks/mixed.qmt"_s));
    WriteBytes(desk.services.path(BirthdayFileName), TestData(u"tasks/birthann.qmt"_s));
    desk.show();
    desk.page.selectRow(row);
    desk.command(button);
    QCOMPARE(desk.messages(), QStringList{warning});
}

void TestTaskForms::failedSaveKeepsTheEditorOpen_data() {
    QTest::addColumn<QString>("view");
    QTest::addColumn<QString>("fileName");
    QTest::addColumn<QString>("dataFile");
    QTest::newRow("task") << u"Tasks"_s << TasksFileName << u"tasks/mixed.qmt"_s;
    QTest::newRow("occasion") << u"Birthday"_s << BirthdayFileName << u"tasks/birthann.qmt"_s;
}

void TestTaskForms::failedSaveKeepsTheEditorOpen() {
    QFETCH(QString, view);
    QFETCH(QString, fileName);
    QFETCH(QString, dataFile);
    Desk desk(view);
    WriteBytes(desk.services.path(fileName), TestData(dataFile));
    desk.show();
    const QStringList rows = desk.texts();
    Entries typed{{{u"txtDescription"_s, u"Typed"_s}}, {}};
    if (view == u"Birthday"_s)
        typed.fields[u"txtDate"_s] = u"01/01"_s;
    desk.drive(typed);
    SetWriteFaultHookForTesting([](qint64) { return false; });
    desk.command(u"cmdDiaryAdd"_s);
    QCOMPARE(desk.services.prompter.messages.size(), 1);
    QCOMPARE(desk.services.prompter.messages.first().kind, int(MessageKind::Error));
    QVERIFY(desk.editorOpenAfterwards);
    QCOMPARE(desk.file(fileName), TestData(dataFile));
    QCOMPARE(desk.texts(), rows);
}

void TestTaskForms::occasionEditorDates_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("result"); // the line saved, or the message
    QTest::newRow("6 May") << u"06/05"_s << u"0506\u00ffNew"_s;
    QTest::newRow("leap day") << u"29/02"_s << u"0229\u00ffNew"_s;
    QTest::newRow("31 April") << u"31/04"_s
                              << CannotSaveHeading +
                                     u"Date Is Not Valid (Must Be In The Format 'DD/MM')"_s;
    QTest::newRow("blank") << QString()
                           << CannotSaveHeading +
                                  u"Date Is Not Valid (Must Be In The Format 'DD/MM')"_s;
}

void TestTaskForms::occasionEditorDates() {
    QFETCH(QString, typed);
    QFETCH(QString, result);
    Desk desk(u"Birthday"_s);
    desk.show();
    QString hint, meaning, caption;
    desk.services.prompter.modalHandler = [&](QDialog &form) {
        caption = form.windowTitle();
        hint = child<QLabel>(&form, u"lblHint"_s)->text();
        meaning = child<QLabel>(&form, u"lblMeaning"_s)->text();
        child<QLineEdit>(&form, u"txtDate"_s)->setText(typed);
        child<QLineEdit>(&form, u"txtDescription"_s)->setText(u"New"_s);
        click(&form, u"cmdUpdate"_s);
        if (form.isVisible())
            form.done(QDialog::Rejected);
        return form.result();
    };
    desk.command(u"cmdDiaryAdd"_s);
    QCOMPARE(caption, u"Birthday, Anniversary And Special Occassion"_s);
    QCOMPARE(hint, u"You Only Need To Specify The Day And Month eg 06/05"_s);
    QCOMPARE(meaning, u"Meaning 6th Of May"_s);
    if (result.startsWith(CannotSaveHeading))
        QCOMPARE(desk.messages(), QStringList{result});
    else
        QCOMPARE(LoadBirthdayFile(), QStringList{result});
}

void TestTaskForms::occasionEditSelectsTheNextOccasion() {
    Desk desk(u"Birthday"_s);
    WriteBytes(desk.services.path(BirthdayFileName), TestData(u"tasks/birthann.qmt"_s));
    desk.show(); // 15 March: the first 6 May occasion is next
    QCOMPARE(desk.page.selectedRow(), 1);

    desk.page.selectRow(5);
    desk.drive({{{u"txtDate"_s, u"01/03"_s}}, {}});
    desk.command(u"cmdDiaryEdit"_s);
    QCOMPARE(desk.editorTexts, (QStringList{u"Birthday For Bob Jones"_s, u"01/06"_s}));
    QCOMPARE(LoadBirthdayFile().first(), u"0301\u00ffBirthday For Bob Jones"_s);
    QCOMPARE(desk.texts().first(), u"1st March"_s);
    QCOMPARE(desk.page.selectedRow(), 4);
}

void TestTaskForms::deletingTheOnlyOccasion() {
    Desk desk(u"Birthday"_s);
    SaveBirthdayFile({OccasionLine(6, 5, u"Only"_s)});
    desk.show();
    desk.page.selectRow(1);
    desk.command(u"cmdDiaryDelete"_s);
    QCOMPARE(desk.messages(), QStringList{u"Are You Sure You Want To Delete 'Only'?"_s});
    QVERIFY(!QFile::exists(desk.services.path(BirthdayFileName)));
    QCOMPARE(desk.page.rowCount(), 0);
    for (const QString &button : {u"cmdDiaryEdit"_s, u"cmdDiaryDelete"_s, u"cmdDiaryPrint"_s})
        QVERIFY(!child(&desk.page, button)->isEnabled());
    QVERIFY(child(&desk.page, u"cmdDiaryAdd"_s)->isEnabled());
}

QTEST_MAIN(TestTaskForms)
#include "tst_taskforms.moc"
