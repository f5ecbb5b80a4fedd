#include "calculator/ui/CalculatorPage.h"
#include "diary/AppointmentStore.h"
#include "diary/ui/TfrmAppointment.h"
#include "foundation/ui/MsgBox.h"
#include "foundation/ui/Styling.h"
#include "notes/ui/NotesPage.h"
#include "shell/ui/LoginPage.h"
#include "shell/ui/SmallButtonImages.h"
#include "shell/ui/TfrmMain.h"
#include "support/FormDriving.h"
#include "support/NoTray.h"
#include "support/TestServices.h"

#include <QAbstractButton>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QStyle>
#include <QtTest>

#include <functional>
#include <memory>

using namespace Qt::StringLiterals;

namespace {

using qm::test::NoTray;

// The main window started over the test services, showing the page of one
// menu button.
struct Desk {
    qm::test::TestServices services;
    NoTray tray;
    std::unique_ptr<qm::TfrmMain> window;

    explicit Desk(const QString &menuButton) {
        window = std::make_unique<qm::TfrmMain>(&tray);
        if (!window->StartUp())
            qFatal("the main window did not start");
        window->show();
        if (!QTest::qWaitForWindowActive(window.get()))
            qFatal("the main window was not activated");
        qm::test::click(window.get(), menuButton);
    }
};

// A form (shown and active unless said otherwise), with what it needs kept
// alive as long as it.
struct Shown {
    std::shared_ptr<void> keep;
    QWidget *form = nullptr;
};
using FormMaker = std::function<Shown()>;

FormMaker mainWindowOn(const QString &menuButton) {
    return [menuButton] {
        auto desk = std::make_shared<Desk>(menuButton);
        return Shown{desk, desk->window.get()};
    };
}

struct Editor {
    qm::test::TestServices services;
    qm::AppointmentStore store;
    qm::TfrmAppointment form{store, qm::EditMode::Add, -1};
};

FormMaker appointmentEditor(bool shown = true) {
    return [shown] {
        auto editor = std::make_shared<Editor>();
        if (shown) {
            editor->form.show();
            if (!QTest::qWaitForWindowActive(&editor->form))
                qFatal("the editor was not activated");
        }
        return Shown{editor, &editor->form};
    };
}

// The control the next Tab would reach, when the focused one keeps Tab for
// itself (a rich-text editor types it).
QWidget *nextTabStop(QWidget *from) {
    for (QWidget *next = from->nextInFocusChain(); next != from; next = next->nextInFocusChain())
        if ((next->focusPolicy() & Qt::TabFocus) && next->isVisible() && next->isEnabled() &&
            next->window() == from->window() && !next->focusProxy())
            return next;
    return from;
}

// Moves the focus on as Tab does; true when Tab itself moved it.
bool pressTab(QWidget *focused) {
    QTest::keyClick(focused, Qt::Key_Tab);
    if (QApplication::focusWidget() != focused)
        return true;
    nextTabStop(focused)->setFocus(Qt::TabFocusReason);
    return false;
}

QString names(const QList<QWidget *> &widgets) {
    QStringList out;
    for (const QWidget *widget : widgets)
        out.append(widget->objectName());
    return out.join(u", "_s);
}

} // namespace

// What a keyboard user sees of the forms: where the focus is, where Tab goes,
// captions that fit their controls, and the pictures on the buttons.
class TestFormLook : public QObject {
    Q_OBJECT
private slots:
    void focusIsMarked_data();
    void focusIsMarked();
    void tabOrder_data();
    void tabOrder();
    void captionsFit_data();
    void captionsFit();
    void messageTextKeepsItsMargin_data();
    void messageTextKeepsItsMargin();
    void buttonsHavePictures_data();
    void buttonsHavePictures();
};

void TestFormLook::focusIsMarked_data() {
    QTest::addColumn<FormMaker>("make");
    for (const QString &menu : {u"spdDiary"_s, u"spdNotes"_s, u"spdAlarms"_s, u"spdCalculator"_s,
                                u"spdAddress"_s, u"spdConfig"_s})
        QTest::newRow(qPrintable(menu)) << mainWindowOn(menu);
    QTest::newRow("appointment editor") << appointmentEditor();
}

// Every control Tab reaches looks different while it has the focus: tabbing
// through the form, each control is drawn with the focus and again after it
// has passed it on.
void TestFormLook::focusIsMarked() {
    QFETCH(FormMaker, make);
    const Shown shown = make();
    QList<QWidget *> seen;
    QList<QWidget *> unmarked;
    // The desktop's custom: focus marks show once the keyboard moves the focus.
    QVERIFY(QApplication::focusWidget());
    for (int tries = 0; tries < 3 && !pressTab(QApplication::focusWidget()); ++tries) {
    }
    QWidget *focused = QApplication::focusWidget();
    for (int step = 0; step < 80 && !seen.contains(focused); ++step) {
        seen.append(focused);
        const QImage withFocus = focused->grab().toImage();
        pressTab(focused);
        QWidget *next = QApplication::focusWidget();
        QVERIFY(next && next != focused);
        if (focused->grab().toImage() == withFocus)
            unmarked.append(focused);
        focused = next;
    }
    QVERIFY2(seen.size() > 3, qPrintable(names(seen)));
    QVERIFY2(unmarked.isEmpty(), qPrintable(u"no focus mark on: "_s + names(unmarked)));
}

void TestFormLook::tabOrder_data() {
    QTest::addColumn<FormMaker>("make");
    QTest::addColumn<QString>("start");
    QTest::addColumn<QStringList>("order");
    QTest::newRow("appointment editor, reminder on") << FormMaker([] {
        Shown shown = appointmentEditor()();
        qm::test::child<QAbstractButton>(shown.form, u"chkReminder"_s)->setChecked(true);
        return shown;
    }) << u"txtDescription"_s << QStringList{u"chkReminder"_s,  u"txtRemind"_s, u"spnRemind"_s,
                                             u"chkTentative"_s, u"cmdUpdate"_s, u"cmdCancel"_s};
    QTest::newRow("alarm page, rows with times") << FormMaker([] {
        Shown shown = mainWindowOn(u"spdAlarms"_s)();
        for (const QString &n : {u"1"_s, u"2"_s})
            qm::test::child<QLineEdit>(shown.form, u"txtAlarm"_s + n)->setText(u"07:30"_s);
        return shown;
    }) << u"txtAlarm1"_s << QStringList{u"chkEveryday1"_s, u"cmdClear1"_s,    u"txtDesc1"_s,
                                        u"txtAlarm2"_s,    u"chkEveryday2"_s, u"cmdClear2"_s,
                                        u"txtDesc2"_s,     u"txtAlarm3"_s,    u"chkEveryday3"_s,
                                        u"txtDesc3"_s,     u"cmdAlarmSave"_s, u"cmdAlarmClose"_s};
}

// Tab goes row by row, left to right, and a check box comes before what it
// switches on.
void TestFormLook::tabOrder() {
    QFETCH(FormMaker, make);
    QFETCH(QString, start);
    QFETCH(QStringList, order);
    const Shown shown = make();
    QWidget *focused = qm::test::child(shown.form, start);
    focused->setFocus(Qt::TabFocusReason);
    QStringList reached;
    for (qsizetype i = 0; i < order.size(); ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        reached.append(QApplication::focusWidget()->objectName());
    }
    QCOMPARE(reached, order);
}

void TestFormLook::captionsFit_data() {
    QTest::addColumn<QString>("menuButton");
    QTest::addColumn<QStringList>("controls");
    QTest::newRow("menu captions")
        << u"spdDiary"_s << QStringList{u"lblDiary"_s,      u"lblNotes"_s,   u"lblAlarms"_s,
                                        u"lblCalculator"_s, u"lblAddress"_s, u"lblConfig"_s};
    QTest::newRow("diary view buttons")
        << u"spdDiary"_s << QStringList{u"spdDaily"_s, u"spdWeekly"_s,    u"spdMonthly"_s,
                                        u"spdAll"_s,   u"spdBirthdays"_s, u"spdTasks"_s};
    // A week's heading is the longest; it stays clear of the arrows at its ends.
    QTest::newRow("week heading") << u"spdWeekly"_s << QStringList{u"lblHeading"_s};
}

// A caption keeps a visible margin of at least 4 pixels inside its control
// and inside the panel it lies on.
void TestFormLook::captionsFit() {
    QFETCH(QString, menuButton);
    QFETCH(QStringList, controls);
    constexpr int Margin = 4;
    Desk desk(menuButton);
    for (const QString &name : controls) {
        QWidget *control = qm::test::child(desk.window.get(), name);
        QString text = control->property("text").toString();
        if (qobject_cast<QAbstractButton *>(control))
            text.remove(u'&');
        const int textWidth = control->fontMetrics().horizontalAdvance(text);
        // A button's face has its frame; a label's text may use all of it.
        const int frame = qobject_cast<QAbstractButton *>(control)
                              ? control->style()->pixelMetric(QStyle::PM_DefaultFrameWidth)
                              : 0;
        QVERIFY2(textWidth + 2 * (Margin + frame) <= control->width(),
                 qPrintable(
                     u"%1: text %2 px in %3 px"_s.arg(name).arg(textWidth).arg(control->width())));
        // The text is centred, so its ends lie within the parent, a margin in.
        const int textLeft = control->x() + (control->width() - textWidth) / 2;
        QVERIFY2(textLeft >= Margin &&
                     textLeft + textWidth <= control->parentWidget()->width() - Margin,
                 qPrintable(name));
    }
}

void TestFormLook::messageTextKeepsItsMargin_data() {
    QTest::addColumn<QString>("text");
    QTest::newRow("one line") << u"Description Must Be Specified"_s;
    QTest::newRow("several lines") << u"Failed To Open Your Email System\r\rTo Be Informed Of "
                                      u"Updates, Please Send An Empty Email To :\r\r"
                                      u"updates@example.com"_s;
    QTest::newRow("wrapped") << QString(u"Cannot Save Because : "_s).repeated(12);
}

// The message text ends well inside its panel's frame, as far from it as it
// is from the picture on its left.
void TestFormLook::messageTextKeepsItsMargin() {
    QFETCH(QString, text);
    qm::test::TestServices services;
    qm::TfrmMessageBox box(text, qm::MessageKind::Warning, qm::MessageButtons::OK);
    box.show();
    QVERIFY(QTest::qWaitForWindowExposed(&box));
    auto *panel = qm::test::child<QFrame>(&box, u"panMessage"_s);
    auto *label = qm::test::child<QLabel>(&box, u"lblMessage"_s);
    const QImage image = panel->grab().toImage();
    const QColor face = image.pixelColor(panel->width() / 2, label->y() - 2);
    // The rightmost column of the text's rows with ink on it.
    int inkRight = -1;
    for (int x = 0; x < image.width() - panel->frameWidth(); ++x)
        for (int y = label->y(); y < label->geometry().bottom(); ++y)
            if (image.pixelColor(x, y) != face)
                inkRight = qMax(inkRight, x);
    const int frameInside = panel->width() - panel->frameWidth();
    QVERIFY2(frameInside - 1 - inkRight >= 8,
             qPrintable(u"the text ends %1 px from the frame"_s.arg(frameInside - 1 - inkRight)));
}

void TestFormLook::buttonsHavePictures_data() {
    QTest::addColumn<FormMaker>("make");
    QTest::addColumn<QStringList>("buttons");
    const auto page = [](std::function<qm::Page *()> made) {
        return FormMaker([made] {
            auto services = std::make_shared<qm::test::TestServices>();
            std::shared_ptr<qm::Page> page(made());
            page->ensureBuilt();
            return Shown{
                std::make_shared<std::pair<decltype(services), decltype(page)>>(services, page),
                page.get()};
        });
    };
    QTest::newRow("calculator") << page([] { return new qm::CalculatorPage; })
                                << QStringList{u"cmdCalcClose"_s};
    QTest::newRow("login") << page([] { return new qm::LoginPage; })
                           << QStringList{u"cmdLoginClose"_s};
    QTest::newRow("notes") << page([] {
        return new qm::NotesPage;
    }) << QStringList{u"cmdNoteNew"_s, u"cmdNoteOpen"_s, u"cmdNoteSave"_s, u"cmdNotesClose"_s};
    QTest::newRow("appointment editor")
        << appointmentEditor(false) << QStringList{u"spdToday"_s, u"spdSelDate"_s, u"cmdUpdate"_s};
}

// Buttons that sit beside buttons with pictures have one too.
void TestFormLook::buttonsHavePictures() {
    QFETCH(FormMaker, make);
    QFETCH(QStringList, buttons);
    qm::SmallButtonImages images;
    const Shown shown = make();
    qm::StyleForm(shown.form);
    for (const QString &name : buttons) {
        auto *button = qm::test::child<QAbstractButton>(shown.form, name);
        QVERIFY2(!button->icon().isNull(), qPrintable(name));
        QVERIFY2(!button->icon().pixmap(16, 16).toImage().isNull(), qPrintable(name));
    }
}

QTEST_MAIN(TestFormLook)
#include "tst_formlook.moc"
