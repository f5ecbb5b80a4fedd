#include "diary/AppointmentStore.h"
#include "diary/ui/Reminders.h"
#include "diary/ui/TfrmRemind.h"
#include "foundation/RecordFile.h"
#include "support/TestServices.h"

#include <QLabel>
#include <QPointer>
#include <QProcess>
#include <QPushButton>
#include <QTextEdit>
#include <QVBoxLayout>
#include <QtTest>

using namespace Qt::StringLiterals;

namespace {

QString Alarm(const QString &time, const QString &description) {
    return time + QChar(0x00FF) + u"Y"_s + QChar(0x00FF) + description;
}

// Where the desktop sends typed keys: the window that has the keyboard focus.
void TypeKey(Qt::Key key, char text = 0) {
    QWindow *focus = QGuiApplication::focusWindow();
    QVERIFY(focus);
    if (text)
        QTest::keyClick(focus, text);
    else
        QTest::keyClick(focus, key);
}

void Click(QWidget *widget) {
    QTest::mouseClick(widget->window()->windowHandle(), Qt::LeftButton, {},
                      widget->mapTo(widget->window(), widget->rect().center()));
}

// The window manager's state of a window, as another program reads it.
QString StateOnDisplay(const QWidget &window) {
    QProcess xprop;
    xprop.start(u"xprop"_s, {u"-id"_s, QString::number(window.winId()), u"_NET_WM_STATE"_s});
    xprop.waitForFinished(10000);
    return QString::fromUtf8(xprop.readAllStandardOutput());
}

// A note being typed in, and the pop-ups of a Reminders over it.
struct Desk {
    qm::test::TestServices services;
    qm::AppointmentStore store;
    QWidget window;
    QTextEdit *note = new QTextEdit(&window);
    qm::Reminders reminders{store, &window};

    explicit Desk(const QStringList &alarms) {
        qm::WriteRecordFile(services.path(u"Alarm.Qmt"_s), alarms);
        services.clock.set(QDateTime(QDate(2024, 3, 15), QTime(7, 30, 10)));
        (new QVBoxLayout(&window))->addWidget(note);
        window.resize(400, 300);
    }
    // The next pop-up, once the display shows it.
    qm::TfrmRemind *nextPopUp(const qm::TfrmRemind *previous = nullptr) {
        for (int turn = 0; turn < 100 && (!reminders.popUp() || reminders.popUp() == previous);
             ++turn)
            QCoreApplication::processEvents();
        qm::TfrmRemind *popUp = reminders.popUp();
        return popUp && popUp != previous && QTest::qWaitForWindowExposed(popUp) ? popUp : nullptr;
    }
};

} // namespace

// The reminder pop-up on a real display with a window manager.
class TestRemindFocus : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void typingGoesOnUnderThePopUp();
    void shownWhileTheWindowIsHidden();
};

void TestRemindFocus::initTestCase() {
    if (QGuiApplication::platformName() != u"xcb"_s)
        QSKIP("needs an X display (run through run_under_x.sh)");
}

// A pop-up appears while the user types a note: it takes neither the keys
// nor the focus, and stays up; its button closes it only after its first
// second, and Enter only once a click has given it the keyboard.
void TestRemindFocus::typingGoesOnUnderThePopUp() {
    Desk desk({Alarm(u"07:30"_s, u"First"_s), Alarm(u"07:30"_s, u"Second"_s)});
    desk.window.show();
    QVERIFY(QTest::qWaitForWindowActive(&desk.window));
    desk.note->setFocus();
    TypeKey(Qt::Key_X, 'x');

    desk.reminders.check();
    const QPointer<qm::TfrmRemind> first = desk.nextPopUp();
    QVERIFY(first);
    QVERIFY(StateOnDisplay(*first).contains(u"_NET_WM_STATE_ABOVE"_s));
    // Time for the window manager to hand the focus on, were it asked to.
    QTest::qWait(300);
    TypeKey(Qt::Key_Space, ' ');
    TypeKey(Qt::Key_Return);
    TypeKey(Qt::Key_Y, 'y');
    QCOMPARE(desk.note->toPlainText(), u"x \ny"_s);
    QVERIFY(desk.window.isActiveWindow());
    QVERIFY(first->isVisible());

    auto *button = first->findChild<QPushButton *>(u"cmdUpdate"_s);
    Click(button);
    QVERIFY(first->isVisible());
    desk.services.clock.advanceMs(qm::TfrmRemind::GuardMs);
    Click(button);
    QVERIFY(!first || !first->isVisible());

    const QPointer<qm::TfrmRemind> second = desk.nextPopUp(first);
    QVERIFY(second);
    QCOMPARE(second->findChild<QLabel *>(u"lblMessage"_s)->text(), u"Alarm For 07:30. Second"_s);
    desk.services.clock.advanceMs(qm::TfrmRemind::GuardMs);
    TypeKey(Qt::Key_Return);
    QVERIFY(second->isVisible());
    Click(second->findChild<QLabel *>(u"lblMessage"_s));
    QVERIFY(QTest::qWaitForWindowActive(second));
    TypeKey(Qt::Key_Return);
    QVERIFY(!second || !second->isVisible());
    QTRY_VERIFY(!desk.reminders.checking());
    QCOMPARE(desk.note->toPlainText(), u"x \ny\n"_s);
}

// With the program in the notification area its window is hidden; the
// pop-up still comes up in front.
void TestRemindFocus::shownWhileTheWindowIsHidden() {
    Desk desk({Alarm(u"07:30"_s, u"Up"_s)});
    desk.window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&desk.window));
    desk.window.hide();
    desk.reminders.check();
    qm::TfrmRemind *popUp = desk.nextPopUp();
    QVERIFY(popUp);
    QVERIFY(StateOnDisplay(*popUp).contains(u"_NET_WM_STATE_ABOVE"_s));
}

QTEST_MAIN(TestRemindFocus)
#include "tst_remindfocus.moc"
