#include "foundation/ColourScheme.h"
#include "foundation/ui/MsgBox.h"
#include "support/TestServices.h"

#include <QApplication>
#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

#include <functional>

using namespace Qt::StringLiterals;
using namespace qm;

using Ask = std::function<int()>;
Q_DECLARE_METATYPE(Ask)

// The message dialog: what callers get back, how the dialog lays itself out
// around its text, and the real dialog answering its buttons.
class TestMsgBox : public QObject {
    Q_OBJECT
private slots:
    void cleanup();
    void messagesGoThroughThePrompter();
    void confirmLoseChanges_data();
    void confirmLoseChanges();
    void layout_data();
    void layout();
    void realDialog_data();
    void realDialog();
    void enterPressesTheDefaultButton_data();
    void enterPressesTheDefaultButton();
    void oversizedTextStaysOnScreen_data();
    void oversizedTextStaysOnScreen();
};

namespace {

// Waits (without blocking the dialog's own loop) for the message dialog to
// appear, then hands it to action.
void whenDialogShows(std::function<void(TfrmMessageBox *)> action) {
    QTimer::singleShot(0, [action] {
        for (QWidget *widget : QApplication::topLevelWidgets()) {
            if (auto *box = qobject_cast<TfrmMessageBox *>(widget); box && box->isVisible()) {
                action(box);
                return;
            }
        }
        whenDialogShows(action);
    });
}

QRect onDialog(const QWidget *child, const QWidget *dialog) {
    return QRect(child->mapTo(dialog, QPoint(0, 0)), child->size());
}

} // namespace

void TestMsgBox::cleanup() {
    SetColourMode(u"HI"_s);
}

void TestMsgBox::messagesGoThroughThePrompter() {
    test::TestServices services;
    services.prompter.answers = {MessageResult::Cancel};
    QCOMPARE(ShowMessageBox(u"Delete?"_s, MessageKind::Warning, MessageButtons::OKCancel),
             MessageResult::Cancel);

    ShowCannotSave(u"Password Cannot Be Left Blank\r"_s);
    ShowCannotSave(u"Date Is Invalid\rTime Is Invalid\r"_s);

    const auto &messages = services.prompter.messages;
    QCOMPARE(messages.size(), 3);
    QCOMPARE(messages[0].kind, MessageKind::Warning);
    QCOMPARE(messages[0].buttons, MessageButtons::OKCancel);
    QCOMPARE(messages[1].text, u"Cannot Save Because :\r\rPassword Cannot Be Left Blank"_s);
    QCOMPARE(messages[1].kind, MessageKind::Error);
    QCOMPARE(messages[1].buttons, MessageButtons::OK);
    QCOMPARE(messages[2].text, u"Cannot Save Because :\r\rDate Is Invalid\rTime Is Invalid"_s);
}

void TestMsgBox::confirmLoseChanges_data() {
    QTest::addColumn<int>("answer");
    QTest::addColumn<bool>("expected");
    QTest::newRow("yes") << MessageResult::Yes << true;
    QTest::newRow("no") << MessageResult::No << false;
}

void TestMsgBox::confirmLoseChanges() {
    QFETCH(int, answer);
    QFETCH(bool, expected);
    test::TestServices services;
    services.prompter.answers = {answer};
    QCOMPARE(ConfirmLoseChanges(), expected);
    QCOMPARE(services.prompter.messages.size(), 1);
    const auto &message = services.prompter.messages.first();
    QCOMPARE(message.text, u"Are You Sure?\r\rAny Changes You Have Made Will Be Lost"_s);
    QCOMPARE(message.kind, MessageKind::Confirmation);
    QCOMPARE(message.buttons, MessageButtons::YesNo);
}

void TestMsgBox::layout_data() {
    QTest::addColumn<QSize>("label");
    QTest::addColumn<int>("buttons");
    QTest::addColumn<QSize>("dialog");
    // Left edges of the shown buttons on the dialog, in order OK/Yes, No/Cancel.
    QTest::addColumn<QList<int>>("buttonLefts");
    // label 300 x 39: panel 356 x 97, dialog 384 x 144.
    QTest::newRow("ok") << QSize(300, 39) << MessageButtons::OK << QSize(384, 144)
                        << QList<int>{155};
    QTest::newRow("ok cancel") << QSize(300, 39) << MessageButtons::OKCancel << QSize(384, 144)
                               << QList<int>{115, 195};
    // Odd widths: the halves round toward zero.
    QTest::newRow("yes no, odd width")
        << QSize(101, 26) << MessageButtons::YesNo << QSize(185, 131) << QList<int>{16, 96};
    // A short one-line text: the dialog is held at 174 wide.
    QTest::newRow("short ok") << QSize(40, 13) << MessageButtons::OK << QSize(174, 118)
                              << QList<int>{50};
    QTest::newRow("short yes no") << QSize(40, 13) << MessageButtons::YesNo << QSize(174, 118)
                                  << QList<int>{10, 90};
}

void TestMsgBox::layout() {
    QFETCH(QSize, label);
    QFETCH(int, buttons);
    QFETCH(QSize, dialog);
    QFETCH(QList<int>, buttonLefts);

    const MessageBoxLayout layout = LayoutMessageBox(label, buttons);
    QCOMPARE(layout.dialog, dialog);
    QCOMPARE(layout.panel.height(), label.height() + 58);
    QVERIFY(layout.panel.width() >= label.width() + 56);
    QCOMPARE(layout.image, QPoint(8, 8));
    QCOMPARE(layout.label.size(), label);

    QList<QRect> shown;
    for (const QRect &button : {layout.ok, layout.yes, layout.no, layout.cancel})
        if (!button.isNull())
            shown.append(button);
    std::sort(shown.begin(), shown.end(),
              [](const QRect &a, const QRect &b) { return a.left() < b.left(); });
    QCOMPARE(shown.size(), buttonLefts.size());
    for (qsizetype i = 0; i < shown.size(); ++i) {
        QCOMPARE(shown[i].size(), QSize(73, 25));
        QCOMPARE(layout.panel.left() + shown[i].left(), buttonLefts[i]);
        QCOMPARE(shown[i].top(), label.height() + 22);
        // Every button lies on the panel, even when the dialog is held wide.
        QVERIFY(QRect(QPoint(0, 0), layout.panel.size()).contains(shown[i]));
    }
}

void TestMsgBox::realDialog_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("kind");
    QTest::addColumn<int>("buttons");
    QTest::addColumn<QString>("mode");
    QTest::addColumn<QString>("press"); // a button's objectName, or "close" / "escape"
    QTest::addColumn<int>("expected");
    QTest::addColumn<QStringList>("visibleButtons");
    QTest::addColumn<QString>("visibleImage");

    const QString question = u"Delete This Appointment?"_s;
    const QStringList yesNo{u"cmdYes"_s, u"cmdNo"_s};
    const QStringList okCancel{u"cmdOK"_s, u"cmdCancel"_s};
    const QStringList ok{u"cmdOK"_s};
    QTest::newRow("yes") << question << 1 << 9 << u"HI"_s << u"cmdYes"_s << 5 << yesNo
                         << u"imgConfirmation"_s;
    QTest::newRow("no") << question << 1 << 9 << u"HI"_s << u"cmdNo"_s << 6 << yesNo
                        << u"imgConfirmation"_s;
    QTest::newRow("ok of ok/cancel")
        << question << 4 << 10 << u"256"_s << u"cmdOK"_s << 8 << okCancel << u"imgWarning"_s;
    QTest::newRow("cancel") << question << 4 << 10 << u"HI"_s << u"cmdCancel"_s << 0 << okCancel
                            << u"imgWarning"_s;
    QTest::newRow("ok") << u"Saved"_s << 2 << 8 << u"HI"_s << u"cmdOK"_s << 8 << ok
                        << u"imgInformation"_s;
    QTest::newRow("error kind") << u"Cannot Save Because :\r\rNo Date\rNo Time"_s << 3 << 8
                                << u"HI"_s << u"cmdOK"_s << 8 << ok << u"imgError"_s;
    QTest::newRow("unknown kind shows information")
        << u"x"_s << 7 << 8 << u"HI"_s << u"cmdOK"_s << 8 << ok << u"imgInformation"_s;
    QTest::newRow("closing a question answers No")
        << question << 1 << 9 << u"HI"_s << u"close"_s << 6 << yesNo << u"imgConfirmation"_s;
    QTest::newRow("escape on ok/cancel answers Cancel")
        << question << 4 << 10 << u"HI"_s << u"escape"_s << 0 << okCancel << u"imgWarning"_s;
    QTest::newRow("closing a notice answers OK")
        << u"Saved"_s << 2 << 8 << u"HI"_s << u"close"_s << 8 << ok << u"imgInformation"_s;
    QTest::newRow("long text wraps")
        << u"Quillmate Runs Best At A Resolution Of 800 By 600 (or Higher) "_s.repeated(6) << 4 << 8
        << u"HI"_s << u"cmdOK"_s << 8 << ok << u"imgWarning"_s;
}

void TestMsgBox::realDialog() {
    QFETCH(QString, text);
    QFETCH(int, kind);
    QFETCH(int, buttons);
    QFETCH(QString, mode);
    QFETCH(QString, press);
    QFETCH(int, expected);
    QFETCH(QStringList, visibleButtons);
    QFETCH(QString, visibleImage);

    test::TestServices services;
    services.screen.m_size = QSize(1280, 1024);
    SetColourMode(mode);

    struct Seen {
        bool ran = false;
        QString caption;
        QSize size;
        QRect frame; // with the window frame, as the dialog is centred
        QRect panel;
        QRect label;
        QString labelText;
        QMap<QString, QRect> buttons; // visible ones, on the dialog
        QStringList images;
        bool imageDrawn = false;
        QColor panelColour;
        QColor buttonColour;
        bool closeBox = true;
        bool titleHint = false;
    } seen;

    whenDialogShows([&](TfrmMessageBox *box) {
        seen.ran = true;
        seen.caption = box->windowTitle();
        seen.size = box->size();
        seen.frame = box->frameGeometry();
        seen.closeBox = box->windowFlags().testFlag(Qt::WindowCloseButtonHint) ||
                        box->windowFlags().testFlag(Qt::WindowMinMaxButtonsHint);
        seen.titleHint = box->windowFlags().testFlag(Qt::CustomizeWindowHint);
        auto *panel = box->findChild<QFrame *>(u"panMessage"_s);
        auto *label = box->findChild<QLabel *>(u"lblMessage"_s);
        seen.panel = onDialog(panel, box);
        seen.label = onDialog(label, box);
        seen.labelText = label->text();
        seen.panelColour = panel->palette().color(QPalette::Window);
        for (const auto &name : {u"cmdOK"_s, u"cmdYes"_s, u"cmdNo"_s, u"cmdCancel"_s}) {
            auto *button = box->findChild<QPushButton *>(name);
            if (button->isVisible())
                seen.buttons.insert(name, onDialog(button, box));
            seen.buttonColour = button->palette().color(QPalette::Button);
        }
        for (const auto &name :
             {u"imgConfirmation"_s, u"imgInformation"_s, u"imgError"_s, u"imgWarning"_s})
            if (auto *image = box->findChild<QLabel *>(name); image->isVisible()) {
                seen.images.append(name);
                seen.imageDrawn = image->pixmap().toImage().pixelColor(16, 16).alpha() > 0;
            }

        if (press == u"close"_s)
            box->close();
        else if (press == u"escape"_s)
            QTest::keyClick(box, Qt::Key_Escape);
        else
            box->findChild<QPushButton *>(press)->click();
    });

    StandardPrompter real;
    const int result = real.showMessage(text, kind, buttons, FirstButtonResult(buttons));

    QVERIFY(seen.ran);
    QCOMPARE(result, expected);
    QCOMPARE(seen.caption, u"Quillmate"_s);
    QVERIFY(!seen.closeBox);
    QVERIFY(seen.titleHint);
    QCOMPARE(seen.images, QStringList{visibleImage});
    QVERIFY(seen.imageDrawn);
    QCOMPARE(seen.buttons.keys(), [&] {
        QStringList sorted = visibleButtons;
        sorted.sort();
        return sorted;
    }());
    QVERIFY(!seen.labelText.contains(QLatin1Char('\r')));
    QCOMPARE(seen.labelText.count(QLatin1Char('\n')), text.count(QLatin1Char('\r')));

    // Geometry by the numbers, from the size the label took.
    const int labelHeight = seen.label.height();
    QVERIFY(seen.label.width() <= MessageTextMaxWidth + 1);
    QCOMPARE(seen.panel.height(), labelHeight + 58);
    QCOMPARE(seen.size.width(), qMax(seen.label.width() + 84, 174));
    QCOMPARE(seen.size.height(), seen.panel.height() + 47);
    QCOMPARE(seen.frame.topLeft(),
             QPoint((1280 - seen.frame.width()) / 2, (1024 - seen.frame.height()) / 2));
    const int width = seen.size.width();
    const int top = seen.panel.top() + labelHeight + 22;
    if (buttons == MessageButtons::OK) {
        QCOMPARE(seen.buttons[u"cmdOK"_s], QRect((width - 73) / 2, top, 73, 25));
    } else {
        const QString first = buttons == MessageButtons::YesNo ? u"cmdYes"_s : u"cmdOK"_s;
        const QString second = buttons == MessageButtons::YesNo ? u"cmdNo"_s : u"cmdCancel"_s;
        QCOMPARE(seen.buttons[first], QRect((width - 153) / 2, top, 73, 25));
        QCOMPARE(seen.buttons[second], QRect((width - 153) / 2 + 80, top, 73, 25));
    }
    if (text.size() > 300) // wrapped to several lines, close to the maximum width
        QVERIFY(labelHeight >= 3 * QFontMetrics(QFont(u"MS Sans Serif"_s, 8)).height() &&
                seen.label.width() > 300);

    const QColor face = mode == u"256"_s ? QColor(0xFF, 0xFF, 0x80) : QColor(0xDE, 0xDE, 0xDE);
    QCOMPARE(seen.panelColour, face);
    QCOMPARE(seen.buttonColour, face);
}

// Enter on the real dialog: the first button, except for a question whose
// Yes throws work away, where it is No.
void TestMsgBox::enterPressesTheDefaultButton_data() {
    QTest::addColumn<Ask>("ask");
    QTest::addColumn<int>("expected");
    QTest::addColumn<QString>("focused");
    const auto message = [](int buttons) {
        return Ask(
            [buttons] { return ShowMessageBox(u"Go On?"_s, MessageKind::Confirmation, buttons); });
    };
    QTest::newRow("ok") << message(MessageButtons::OK) << MessageResult::OK << u"cmdOK"_s;
    QTest::newRow("yes and no") << message(MessageButtons::YesNo) << MessageResult::Yes
                                << u"cmdYes"_s;
    QTest::newRow("ok and cancel")
        << message(MessageButtons::OKCancel) << MessageResult::OK << u"cmdOK"_s;
    QTest::newRow("discarding") << Ask([] {
        return ConfirmDiscarding(u"Lose Them?"_s) ? MessageResult::Yes : MessageResult::No;
    }) << MessageResult::No << u"cmdNo"_s;
    QTest::newRow("lose changes") << Ask([] {
        return ConfirmLoseChanges() ? MessageResult::Yes : MessageResult::No;
    }) << MessageResult::No << u"cmdNo"_s;
}

void TestMsgBox::enterPressesTheDefaultButton() {
    QFETCH(Ask, ask);
    QFETCH(int, expected);
    QFETCH(QString, focused);
    test::TestServices services;
    StandardPrompter real;
    Services withRealDialog = qm::services();
    withRealDialog.prompter = &real;
    const ServicesScope scope(withRealDialog);
    QString hadFocus;
    whenDialogShows([&](TfrmMessageBox *box) {
        box->activateWindow();
        if (QWidget *focus = box->focusWidget())
            hadFocus = focus->objectName();
        QTest::keyClick(box->focusWidget() ? box->focusWidget() : box, Qt::Key_Return);
    });
    QCOMPARE(ask(), expected);
    QCOMPARE(hadFocus, focused);
}

void TestMsgBox::oversizedTextStaysOnScreen_data() {
    QTest::addColumn<QSize>("screen");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("whole"); // every character is still shown
    const QString digits = u"1234567890"_s.repeated(20);
    const QString path =
        u"Cannot Read The File\r\rFile : /"_s + u"a-rather-long-folder/"_s.repeated(40);
    const QString essay = u"Every word of a very long message. "_s.repeated(800);
    for (const QSize screen : {QSize(640, 480), QSize(1024, 768)}) {
        const QString size = u" %1x%2"_s.arg(screen.width()).arg(screen.height());
        QTest::addRow("a colour line of 200 digits%s", qPrintable(size))
            << screen << digits << true;
        QTest::addRow("a long path%s", qPrintable(size)) << screen << path << true;
        QTest::addRow("a text taller than the screen%s", qPrintable(size))
            << screen << essay << false;
    }
}

// Whatever the text, the dialog fits on the screen and OK can be pressed.
void TestMsgBox::oversizedTextStaysOnScreen() {
    QFETCH(QSize, screen);
    QFETCH(QString, text);
    QFETCH(bool, whole);
    test::TestServices services;
    services.screen.m_size = screen;
    QRect frame, dialog, ok, label;
    QString shown;
    whenDialogShows([&](TfrmMessageBox *box) {
        frame = box->frameGeometry();
        dialog = box->rect();
        ok = onDialog(box->findChild<QPushButton *>(u"cmdOK"_s), box);
        label = onDialog(box->findChild<QLabel *>(u"lblMessage"_s), box);
        shown = box->findChild<QLabel *>(u"lblMessage"_s)->text();
        box->findChild<QPushButton *>(u"cmdOK"_s)->click();
    });
    StandardPrompter real;
    QCOMPARE(real.showMessage(text, MessageKind::Error, MessageButtons::OK, MessageResult::OK),
             MessageResult::OK);
    QVERIFY2(QRect(QPoint(0, 0), screen).contains(frame),
             qPrintable(u"%1x%2"_s.arg(frame.width()).arg(frame.height())));
    QVERIFY(dialog.contains(ok));
    QVERIFY(dialog.contains(label));
    QString plain = shown;
    plain.remove(u'\n');
    QString original = text;
    original.remove(u'\r');
    if (whole) {
        QCOMPARE(plain, original);
    } else {
        QVERIFY(shown.endsWith(u"\u2026"_s));
        QVERIFY(original.startsWith(plain.chopped(1)));
    }
}

QTEST_MAIN(TestMsgBox)
#include "tst_msgbox.moc"
