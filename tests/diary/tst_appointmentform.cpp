#include "diary/AppointmentRules.h"
#include "diary/AppointmentStore.h"
#include "diary/ui/TfrmAppointment.h"
#include "foundation/Codec1252.h"
#include "foundation/LineFiles.h"
#include "foundation/RecordFile.h"
#include "foundation/ui/Controls.h"
#include "foundation/ui/MsgBox.h"
#include "support/TestServices.h"

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QToolButton>
#include <QtTest>

#include <functional>
#include <memory>

using namespace Qt::StringLiterals;
using namespace qm;

// The appointment editor driven through its controls, as the user would.
class TestAppointmentForm : public QObject {
    Q_OBJECT
private slots:
    void cleanup();
    void durationLeft_data();
    void durationLeft();
    void durationSpin_data();
    void durationSpin();
    void timesGiveDuration();
    void refused_data();
    void refused();
    void reminder_data();
    void reminder();
    void enterSavesWithExitRules();
    void addInsertsInOrderWithoutCap();
    void editMovesLine();
    void editShowsLine();
    void longDescriptionShowsItsStart();
    void editMalformedLine_data();
    void editMalformedLine();
    void cancel_data();
    void cancel();
    void failedWriteKeepsForm();
    void pickers_data();
    void pickers();
    void today();
    void keyboardOrder();
};

namespace {

const QString Sep = QString(FieldSeparator);

QString line(const QString &date, const QString &start, const QString &end,
             const QString &description, const QString &remind = u"0"_s,
             const QString &flag = u"N"_s) {
    return date + Sep + start + Sep + end + Sep + description + Sep + remind + Sep + flag;
}

QByteArray fileBytes(const QStringList &lines) {
    QByteArray bytes;
    for (const QString &l : lines)
        bytes += EncodeCp1252(l) + "\r\n";
    return bytes;
}

// One editor over a store, shown and active so focus moves run the exit
// rules as they do for the user.
struct Editor {
    test::TestServices services;
    AppointmentStore store;
    std::unique_ptr<TfrmAppointment> form;

    explicit Editor(const QStringList &lines = {}) {
        if (!lines.isEmpty()) {
            test::WriteBytes(services.path(DiaryFileName), fileBytes(lines));
            store.loadFile();
        }
    }

    void open(EditMode mode = EditMode::Add, qsizetype editedLine = -1) {
        form = std::make_unique<TfrmAppointment>(store, mode, editedLine);
        form->show();
        QVERIFY(QTest::qWaitForWindowActive(form.get()));
    }

    template <typename T = QWidget> T *child(const QString &name) const {
        auto *found = form->findChild<T *>(name);
        if (!found)
            qFatal("no control %s", qPrintable(name));
        return found;
    }
    QLineEdit *edit(const QString &name) const { return child<QLineEdit>(name); }
    QString text(const QString &name) const { return EntryText(edit(name)); }
    bool red(const QString &label) const { return IsLabelInvalid(child<QLabel>(label)); }

    // Moves the focus the way a click into a control does.
    void focus(const QString &name) const {
        child(name)->setFocus(Qt::MouseFocusReason);
        QCOMPARE(QApplication::focusWidget(), child(name));
    }
    // Enters a field, replaces its text by typing, and stays in it.
    void type(const QString &name, const QString &typed) const {
        focus(name);
        QLineEdit *field = edit(name);
        field->selectAll();
        QTest::keyClick(field, Qt::Key_Delete);
        if (!field->inputMask().isEmpty())
            field->home(false);
        QTest::keyClicks(field, typed);
    }
    // Types into a field and leaves it for the description (or the date).
    void enter(const QString &name, const QString &typed) const {
        type(name, typed);
        focus(name == u"txtDescription"_s ? u"txtDate"_s : u"txtDescription"_s);
    }
    // Puts text into a field as pasting would (keys cannot type every
    // character) and leaves it.
    void paste(const QString &name, const QString &pasted) const {
        focus(name);
        edit(name)->setText(pasted);
        focus(u"txtDate"_s);
    }
    void click(const QString &name) const {
        auto *button = child<QAbstractButton>(name);
        QTest::mouseClick(button, Qt::LeftButton, {}, button->rect().center());
    }
    void spin(const QString &name, int direction) const {
        auto *arrow =
            child(name)->findChild<QToolButton *>(direction > 0 ? u"btnUp"_s : u"btnDown"_s);
        QVERIFY(arrow);
        QTest::mouseClick(arrow, Qt::LeftButton, {}, arrow->rect().center());
    }
    // A complete, valid appointment.
    void fillValid() const {
        enter(u"txtDate"_s, u"15032024"_s);
        enter(u"txtStart"_s, u"09:30"_s);
        enter(u"txtEnd"_s, u"10:15"_s);
        enter(u"txtDescription"_s, u"Dentist"_s);
    }
    QStringList messages() const {
        QStringList texts;
        for (const auto &m : services.prompter.messages)
            texts << m.text;
        return texts;
    }
    QByteArray diaryFile() const { return test::ReadBytes(services.path(DiaryFileName)); }
};

using Action = std::function<void(Editor &)>;

QString cannotSave(const QStringList &reasons) {
    return CannotSaveHeading + reasons.join(u'\r');
}

} // namespace

void TestAppointmentForm::cleanup() {
    SetWriteFaultHookForTesting({});
}

void TestAppointmentForm::durationLeft_data() {
    QTest::addColumn<QString>("start");
    QTest::addColumn<QString>("duration");
    QTest::addColumn<QString>("shownDuration");
    QTest::addColumn<QString>("shownEnd"); // "" : the end stays as it was, red
    QTest::newRow("09:00 + 90") << u"09:00"_s << u"90"_s << u"90"_s << u"10:30"_s;
    QTest::newRow("23:00 + 120 is cut") << u"23:00"_s << u"120"_s << u"59"_s << u"23:59"_s;
    QTest::newRow("start typed short") << u"9"_s << u"15"_s << u"15"_s << u"09:15"_s;
    QTest::newRow("not a number") << u"09:00"_s << u"ab"_s << u"0"_s << QString();
    QTest::newRow("start not valid") << u"25:00"_s << u"30"_s << u"0"_s << QString();
    QTest::newRow("start empty") << QString() << u"30"_s << u"0"_s << QString();
    QTest::newRow("negative") << u"09:00"_s << u"-30"_s << u"0"_s << QString();
}

void TestAppointmentForm::durationLeft() {
    QFETCH(QString, start);
    QFETCH(QString, duration);
    QFETCH(QString, shownDuration);
    QFETCH(QString, shownEnd);
    Editor e;
    e.open();
    e.enter(u"txtEnd"_s, u"xx"_s);
    QVERIFY(e.red(u"lblEnd"_s));
    e.enter(u"txtStart"_s, start);
    e.enter(u"txtDuration"_s, duration);
    QCOMPARE(e.text(u"txtDuration"_s), shownDuration);
    if (shownEnd.isEmpty()) {
        QCOMPARE(e.text(u"txtEnd"_s), u"xx"_s);
        QVERIFY(e.red(u"lblEnd"_s));
    } else {
        QCOMPARE(e.text(u"txtEnd"_s), shownEnd);
        QVERIFY(!e.red(u"lblEnd"_s));
    }
}

void TestAppointmentForm::durationSpin_data() {
    QTest::addColumn<QString>("start");
    QTest::addColumn<QString>("duration");
    QTest::addColumn<QList<int>>("presses");
    QTest::addColumn<QStringList>("durations"); // after each press
    QTest::addColumn<QStringList>("ends");
    QTest::newRow("three up from empty")
        << u"09:00"_s << QString() << QList<int>{1, 1, 1} << QStringList{u"5"_s, u"10"_s, u"15"_s}
        << QStringList{u"09:05"_s, u"09:10"_s, u"09:15"_s};
    QTest::newRow("down to zero") << u"09:00"_s << u"10"_s << QList<int>{-1, -1, -1}
                                  << QStringList{u"5"_s, u"0"_s, u"0"_s}
                                  << QStringList{u"09:05"_s, u"09:05"_s, u"09:05"_s};
    QTest::newRow("up stops at the end of the day")
        << u"23:50"_s << u"5"_s << QList<int>{1, 1, -1} << QStringList{u"9"_s, u"9"_s, u"4"_s}
        << QStringList{u"23:59"_s, u"23:59"_s, u"23:54"_s};
    QTest::newRow("start not valid")
        << u"ab"_s << u"10"_s << QList<int>{1} << QStringList{u"0"_s} << QStringList{QString()};
}

void TestAppointmentForm::durationSpin() {
    QFETCH(QString, start);
    QFETCH(QString, duration);
    QFETCH(QList<int>, presses);
    QFETCH(QStringList, durations);
    QFETCH(QStringList, ends);
    Editor e;
    e.open();
    e.enter(u"txtStart"_s, start);
    e.edit(u"txtDuration"_s)->setText(duration);
    for (int i = 0; i < presses.size(); ++i) {
        e.spin(u"spnDuration"_s, presses[i]);
        QCOMPARE(e.text(u"txtDuration"_s), durations[i]);
        QCOMPARE(e.text(u"txtEnd"_s), ends[i]);
    }
    // The arrow keys step the same way once the spin button has the focus.
    if (e.text(u"txtDuration"_s) == u"15"_s) {
        QCOMPARE(QApplication::focusWidget(), e.child(u"spnDuration"_s));
        QTest::keyClick(e.child(u"spnDuration"_s), Qt::Key_Up);
        QCOMPARE(e.text(u"txtDuration"_s), u"20"_s);
        QCOMPARE(e.text(u"txtEnd"_s), u"09:20"_s);
    }
}

void TestAppointmentForm::timesGiveDuration() {
    Editor e;
    e.open();
    e.enter(u"txtStart"_s, u"9:5"_s);
    QCOMPARE(e.text(u"txtStart"_s), u"09:05"_s);
    e.enter(u"txtEnd"_s, u"10:20"_s);
    QCOMPARE(e.text(u"txtDuration"_s), u"75"_s);
    // An end before the start leaves the duration alone.
    e.enter(u"txtEnd"_s, u"08:00"_s);
    QCOMPARE(e.text(u"txtDuration"_s), u"75"_s);
    e.enter(u"txtEnd"_s, u"nonsense"_s);
    QVERIFY(e.red(u"lblEnd"_s));
    QCOMPARE(e.text(u"txtDuration"_s), u"75"_s);
}

void TestAppointmentForm::refused_data() {
    using namespace AppointmentReason;
    QTest::addColumn<Action>("action");
    QTest::addColumn<QString>("message");
    QTest::newRow("everything empty") << Action([](Editor &) {})
                                      << cannotSave({DateNotValid, StartNotValid, EndNotValid,
                                                     DurationTooShort, DescriptionMissing});
    QTest::newRow("equal times") << Action([](Editor &e) {
        e.fillValid();
        e.edit(u"txtDuration"_s)->clear();
        e.enter(u"txtEnd"_s, u"09:30"_s);
    }) << cannotSave({DurationTooShort, EndNotAfterStart});
    QTest::newRow("reminder ticked, minutes empty") << Action([](Editor &e) {
        e.fillValid();
        e.click(u"chkReminder"_s);
    }) << cannotSave({RemindOutOfRange});
    QTest::newRow("separator in the description") << Action([](Editor &e) {
        e.fillValid();
        e.enter(u"txtDescription"_s, u"Caf"_s + Sep);
    }) << cannotSave({u"Description Cannot Contain The Character \u00FF"_s});
    QTest::newRow("line break in the description") << Action([](Editor &e) {
        e.fillValid();
        e.paste(u"txtDescription"_s, u"Two\nlines"_s);
    }) << cannotSave({u"Description Cannot Contain A Line Break"_s});
    QTest::newRow("character the file cannot hold, then the reminder") << Action([](Editor &e) {
        e.fillValid();
        e.paste(u"txtDescription"_s, u"Tea \u4E00"_s);
        e.click(u"chkReminder"_s);
    }) << cannotSave({u"Description Contains Characters That Cannot Be Saved"_s, RemindOutOfRange});
    QTest::newRow("blank description is only missing") << Action([](Editor &e) {
        e.fillValid();
        e.enter(u"txtDescription"_s, u"   "_s);
    }) << cannotSave({DescriptionMissing});
}

void TestAppointmentForm::refused() {
    QFETCH(Action, action);
    QFETCH(QString, message);
    Editor e({line(u"20240101"_s, u"08:00"_s, u"09:00"_s, u"Kept"_s)});
    const QByteArray before = e.diaryFile();
    e.open();
    action(e);
    const QString description = e.text(u"txtDescription"_s);
    e.click(u"cmdUpdate"_s);

    QCOMPARE(e.messages(), QStringList{message});
    QCOMPARE(e.services.prompter.messages.first().kind, MessageKind::Error);
    QVERIFY(e.form->isVisible());
    QVERIFY(!e.form->RecordSaved());
    QCOMPARE(e.store.size(), 1);
    QCOMPARE(e.diaryFile(), before);
    QCOMPARE(e.text(u"txtDescription"_s), description); // never altered
}

void TestAppointmentForm::reminder_data() {
    QTest::addColumn<Action>("action");
    QTest::addColumn<QString>("stored"); // the reminder field of the saved line
    QTest::newRow("typed with a leading zero") << Action([](Editor &e) {
        e.click(u"chkReminder"_s);
        e.enter(u"txtRemind"_s, u"05"_s);
    }) << u"5"_s;
    QTest::newRow("75 becomes 60 when left") << Action([](Editor &e) {
        e.click(u"chkReminder"_s);
        e.enter(u"txtRemind"_s, u"75"_s);
        QCOMPARE(e.text(u"txtRemind"_s), u"60"_s);
    }) << u"60"_s;
    QTest::newRow("unticking empties the minutes") << Action([](Editor &e) {
        e.click(u"chkReminder"_s);
        e.enter(u"txtRemind"_s, u"15"_s);
        e.click(u"chkReminder"_s);
        QCOMPARE(e.text(u"txtRemind"_s), QString());
        QVERIFY(!e.edit(u"txtRemind"_s)->isEnabled());
        QVERIFY(!e.child(u"spnRemind"_s)->isEnabled());
        QVERIFY(!e.child(u"lblRemindMins"_s)->isEnabled());
    }) << u"0"_s;
    QTest::newRow("spun up three times and down once") << Action([](Editor &e) {
        e.click(u"chkReminder"_s);
        for (int direction : {1, 1, 1, -1})
            e.spin(u"spnRemind"_s, direction);
    }) << u"10"_s;
    QTest::newRow("never ticked") << Action([](Editor &e) {
        QVERIFY(!e.edit(u"txtRemind"_s)->isEnabled());
        QVERIFY(!e.child(u"lblRemind"_s)->isEnabled());
    }) << u"0"_s;
}

void TestAppointmentForm::reminder() {
    QFETCH(Action, action);
    QFETCH(QString, stored);
    Editor e;
    e.open();
    e.fillValid();
    action(e);
    e.click(u"cmdUpdate"_s);
    QCOMPARE(e.messages(), QStringList());
    QVERIFY(e.form->RecordSaved());
    QCOMPARE(e.store.lines(),
             QStringList{line(u"20240315"_s, u"09:30"_s, u"10:15"_s, u"Dentist"_s, stored)});
}

void TestAppointmentForm::enterSavesWithExitRules() {
    Editor e;
    e.open();
    e.enter(u"txtDate"_s, u"15032024"_s);
    e.enter(u"txtDescription"_s, u"Dentist"_s);
    e.click(u"chkTentative"_s);
    e.enter(u"txtStart"_s, u"9:30"_s);
    // Still inside the end field: Enter saves, and the end's exit rule (and
    // the duration it gives) runs first.
    e.type(u"txtEnd"_s, u"10:5"_s);
    QTest::keyClick(e.edit(u"txtEnd"_s), Qt::Key_Return);
    QCOMPARE(e.text(u"txtEnd"_s), u"10:05"_s);
    QCOMPARE(e.text(u"txtDuration"_s), u"35"_s);
    QCOMPARE(e.messages(), QStringList());
    QVERIFY(e.form->RecordSaved());
    QCOMPARE(e.form->result(), int(QDialog::Accepted));
    QVERIFY(!e.form->isVisible());
    const QString saved = line(u"20240315"_s, u"09:30"_s, u"10:05"_s, u"Dentist"_s, u"0"_s, u"Y"_s);
    QCOMPARE(e.store.lines(), QStringList{saved});
    QCOMPARE(e.diaryFile(), fileBytes({saved}));
}

void TestAppointmentForm::addInsertsInOrderWithoutCap() {
    // 500 lines on the 1st to the 20th of January 2024: adding keeps them all.
    QStringList lines;
    for (int i = 0; i < 500; ++i)
        lines << line(u"202401"_s + QString::number(10 + i / 25), u"08:00"_s, u"09:00"_s,
                      u"Meeting "_s + QString::number(1000 + i));
    Editor e(lines);
    QCOMPARE(e.store.size(), 500);
    e.open();
    e.enter(u"txtDate"_s, u"01022023"_s); // before every stored line
    e.enter(u"txtStart"_s, u"07:00"_s);
    e.enter(u"txtEnd"_s, u"07:30"_s);
    e.enter(u"txtDescription"_s, u"Earliest"_s);
    e.click(u"cmdUpdate"_s);
    QVERIFY(e.form->RecordSaved());
    QCOMPARE(e.store.size(), 501);
    const QString added = line(u"20230201"_s, u"07:00"_s, u"07:30"_s, u"Earliest"_s);
    QCOMPARE(e.store.at(0), added);
    QCOMPARE(e.store.lines().mid(1), lines);
    QCOMPARE(e.diaryFile(), fileBytes(QStringList{added} + lines));
}

void TestAppointmentForm::editMovesLine() {
    const QString first = line(u"20240101"_s, u"08:00"_s, u"09:00"_s, u"First"_s, u"15"_s);
    const QString second = line(u"20240201"_s, u"08:00"_s, u"09:00"_s, u"Second"_s);
    const QString third = line(u"20240301"_s, u"08:00"_s, u"09:00"_s, u"third"_s);
    Editor e({first, second, third});
    e.open(EditMode::Edit, 0);
    QCOMPARE(e.text(u"txtDate"_s), u"01/01/2024"_s);
    e.enter(u"txtDate"_s, u"15022024"_s);
    e.click(u"cmdUpdate"_s);
    QCOMPARE(e.messages(), QStringList());
    QVERIFY(e.form->RecordSaved());
    const QString moved = line(u"20240215"_s, u"08:00"_s, u"09:00"_s, u"First"_s, u"15"_s);
    QCOMPARE(e.store.lines(), (QStringList{second, moved, third}));
    QCOMPARE(e.diaryFile(), fileBytes({second, moved, third}));
}

void TestAppointmentForm::editShowsLine() {
    const QString stored =
        line(u"20240315"_s, u"09:30"_s, u"10:15"_s, u"Dentist, bring card"_s, u"15"_s, u"Y"_s);
    Editor e({stored});
    e.open(EditMode::Edit, 0);
    QCOMPARE(e.text(u"txtDate"_s), u"15/03/2024"_s);
    QCOMPARE(e.text(u"txtStart"_s), u"09:30"_s);
    QCOMPARE(e.text(u"txtEnd"_s), u"10:15"_s);
    QCOMPARE(e.text(u"txtDuration"_s), u"45"_s);
    QCOMPARE(e.text(u"txtDescription"_s), u"Dentist, bring card"_s);
    QVERIFY(e.child<QCheckBox>(u"chkReminder"_s)->isChecked());
    QVERIFY(e.edit(u"txtRemind"_s)->isEnabled());
    QCOMPARE(e.text(u"txtRemind"_s), u"15"_s);
    QVERIFY(e.child<QCheckBox>(u"chkTentative"_s)->isChecked());
    QCOMPARE(QApplication::focusWidget(), e.child(u"txtDate"_s));

    // Saved unchanged, the line and the file stay as they were.
    const QByteArray before = e.diaryFile();
    e.click(u"cmdUpdate"_s);
    QVERIFY(e.form->RecordSaved());
    QCOMPARE(e.store.lines(), QStringList{stored});
    QCOMPARE(e.diaryFile(), before);
}

// A description longer than its box shows from its start.
void TestAppointmentForm::longDescriptionShowsItsStart() {
    const QString longer = u"Dentist, bring card, "_s + QString(50, u'x');
    Editor e({line(u"20240315"_s, u"09:30"_s, u"10:15"_s, longer)});
    e.open(EditMode::Edit, 0);
    QLineEdit *description = e.edit(u"txtDescription"_s);
    QVERIFY(description->fontMetrics().horizontalAdvance(longer) > description->width());
    QCOMPARE(description->cursorPosition(), 0);
}

void TestAppointmentForm::editMalformedLine_data() {
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("date");
    QTest::addColumn<QString>("start");
    QTest::addColumn<QString>("description");
    QTest::addColumn<QString>("remind");
    QTest::newRow("empty") << QString() << u"  /  /    "_s << QString() << QString() << QString();
    QTest::newRow("short") << u"2024"_s << u"  /  /2024"_s << QString() << QString() << QString();
    QTest::newRow("date and start only") << u"20240315"_s + Sep + u"09:30"_s << u"15/03/2024"_s
                                         << u"09:30"_s << QString() << QString();
    QTest::newRow("no separators")
        << u"garbage line of text"_s << u"  /  /    "_s << u"ine o"_s << QString() << QString();
    QTest::newRow("control bytes") << u"\u0001\u0002\u00FF\u00FF\u00FF\u00FF\u00FF"_s
                                   << u"  /  /    "_s << QString() << QString() << QString();
    QTest::newRow("description without reminder")
        << u"20240315"_s + Sep + u"09:30"_s + Sep + u"10:00"_s + Sep + u"Lunch"_s + Sep
        << u"15/03/2024"_s << u"09:30"_s << u"Lunch"_s << QString();
    // Shown whole, never cut to the field's two characters ("12").
    QTest::newRow("reminder longer than the field")
        << u"20240315"_s + Sep + u"09:30"_s + Sep + u"10:00"_s + Sep + u"Lunch"_s + Sep + u"120"_s +
               Sep + u"N"_s
        << u"15/03/2024"_s << u"09:30"_s << u"Lunch"_s << u"120"_s;
}

void TestAppointmentForm::editMalformedLine() {
    QFETCH(QString, stored);
    QFETCH(QString, date);
    QFETCH(QString, start);
    QFETCH(QString, description);
    QFETCH(QString, remind);
    Editor e;
    e.store.load({stored});
    e.open(EditMode::Edit, 0);
    QCOMPARE(e.text(u"txtDate"_s), date);
    QCOMPARE(e.text(u"txtStart"_s), start);
    QCOMPARE(e.text(u"txtDescription"_s), description);
    QCOMPARE(e.text(u"txtRemind"_s), remind);
    // Nothing changed: Cancel closes without a question.
    e.click(u"cmdCancel"_s);
    QCOMPARE(e.messages(), QStringList());
    QVERIFY(!e.form->isVisible());
    QCOMPARE(e.store.lines(), QStringList{stored});
}

void TestAppointmentForm::cancel_data() {
    QTest::addColumn<Action>("change");
    QTest::addColumn<bool>("byEscape");
    QTest::addColumn<int>("answer"); // 0: no question expected
    QTest::addColumn<bool>("closed");
    QTest::newRow("nothing changed") << Action([](Editor &) {}) << false << 0 << true;
    QTest::newRow("nothing changed, Esc") << Action([](Editor &) {}) << true << 0 << true;
    QTest::newRow("only a check box ticked")
        << Action([](Editor &e) { e.click(u"chkTentative"_s); }) << false << 0 << true;
    QTest::newRow("description typed, No")
        << Action([](Editor &e) { e.enter(u"txtDescription"_s, u"x"_s); }) << false
        << MessageResult::No << false;
    QTest::newRow("description typed, Esc, No")
        << Action([](Editor &e) { e.enter(u"txtDescription"_s, u"x"_s); }) << true
        << MessageResult::No << false;
    QTest::newRow("date typed, Yes")
        << Action([](Editor &e) { e.enter(u"txtDate"_s, u"01012024"_s); }) << false
        << MessageResult::Yes << true;
}

void TestAppointmentForm::cancel() {
    QFETCH(Action, change);
    QFETCH(bool, byEscape);
    QFETCH(int, answer);
    QFETCH(bool, closed);
    Editor e;
    e.open();
    change(e);
    if (answer != 0)
        e.services.prompter.answers = {answer};
    if (byEscape)
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
    else
        e.click(u"cmdCancel"_s);

    const QStringList asked = answer != 0 ? QStringList{LoseChangesQuestion} : QStringList();
    QCOMPARE(e.messages(), asked);
    QCOMPARE(e.form->isVisible(), !closed);
    if (closed)
        QCOMPARE(e.form->result(), int(QDialog::Rejected));
    QVERIFY(!e.form->RecordSaved());
    QCOMPARE(e.store.size(), 0);
    QVERIFY(!QFile::exists(e.services.path(DiaryFileName)));
}

void TestAppointmentForm::failedWriteKeepsForm() {
    const QString kept = line(u"20240101"_s, u"08:00"_s, u"09:00"_s, u"Kept"_s);
    Editor e({kept});
    const QByteArray before = e.diaryFile();
    e.open();
    e.fillValid();
    SetWriteFaultHookForTesting([](qint64) { return false; });
    e.click(u"cmdUpdate"_s);

    // The failure is reported; the form, the store and the file are untouched.
    QCOMPARE(e.services.prompter.messages.size(), 1);
    QCOMPARE(e.services.prompter.messages.first().kind, MessageKind::Error);
    QVERIFY(e.form->isVisible());
    QVERIFY(!e.form->RecordSaved());
    QCOMPARE(e.store.lines(), QStringList{kept});
    QCOMPARE(e.diaryFile(), before);
    QCOMPARE(e.text(u"txtDescription"_s), u"Dentist"_s);
    QCOMPARE(e.text(u"txtDate"_s), u"15/03/2024"_s);

    // Once the disk works again the same entries save.
    SetWriteFaultHookForTesting({});
    e.click(u"cmdUpdate"_s);
    QVERIFY(e.form->RecordSaved());
    QCOMPARE(e.store.size(), 2);
}

void TestAppointmentForm::pickers_data() {
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("label");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("picked");
    QTest::newRow("start") << u"spdStart"_s << u"txtStart"_s << u"lblStart"_s << u"9:77"_s
                           << u"14:30"_s;
    QTest::newRow("end") << u"spdEnd"_s << u"txtEnd"_s << u"lblEnd"_s << u"x"_s << u"14:30"_s;
    // The date picker starts on today when the field holds no date.
    QTest::newRow("date") << u"spdSelDate"_s << u"txtDate"_s << u"lblDate"_s << u"3"_s
                          << u"15/03/2024"_s;
}

void TestAppointmentForm::pickers() {
    QFETCH(QString, button);
    QFETCH(QString, field);
    QFETCH(QString, label);
    QFETCH(QString, typed);
    QFETCH(QString, picked);
    Editor e;
    e.open();
    e.enter(field, typed);
    QVERIFY(e.red(label));
    e.services.prompter.modalHandler = [](QDialog &picker) {
        picker.show();
        if (auto *hour = picker.findChild<QListWidget *>(u"lstHour"_s)) {
            hour->setCurrentRow(14);
            picker.findChild<QListWidget *>(u"lstMins"_s)->setCurrentRow(6);
        }
        auto *select = picker.findChild<QPushButton *>(u"cmdSelect"_s);
        if (!select)
            return int(QDialog::Rejected);
        QTest::mouseClick(select, Qt::LeftButton, {}, select->rect().center());
        return picker.result();
    };
    e.click(button);
    QCOMPARE(e.services.prompter.modalRuns, 1);
    QCOMPARE(e.text(field), picked);
    QVERIFY(!e.red(label));
}

void TestAppointmentForm::today() {
    Editor e;
    e.services.clock.set(QDateTime(QDate(2025, 7, 4), QTime(23, 59)));
    e.open();
    e.enter(u"txtDate"_s, u"99"_s);
    QVERIFY(e.red(u"lblDate"_s));
    e.click(u"spdToday"_s);
    QCOMPARE(e.text(u"txtDate"_s), u"04/07/2025"_s);
    QVERIFY(!e.red(u"lblDate"_s));
}

void TestAppointmentForm::keyboardOrder() {
    Editor e;
    e.open();
    e.click(u"chkReminder"_s);
    e.focus(u"txtDate"_s);
    QStringList visited;
    for (int i = 0; i < 7; ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        visited << QApplication::focusWidget()->objectName();
    }
    QCOMPARE(visited, (QStringList{u"txtStart"_s, u"txtEnd"_s, u"txtDuration"_s, u"spnDuration"_s,
                                   u"txtDescription"_s, u"chkReminder"_s, u"txtRemind"_s}));
    // Enter from a field saves (Save is the default button): here it refuses.
    QTest::keyClick(e.edit(u"txtDescription"_s), Qt::Key_Return);
    QCOMPARE(e.services.prompter.messages.size(), 1);
}

QTEST_MAIN(TestAppointmentForm)
#include "tst_appointmentform.moc"
