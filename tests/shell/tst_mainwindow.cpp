#include "address/ui/AddressPage.h"
#include "diary/ui/DiaryPage.h"
#include "diary/ui/TfrmAppointment.h"
#include "diary/ui/TfrmCalendar.h"
#include "diary/ui/TfrmSelTime.h"
#include "foundation/ColourScheme.h"
#include "foundation/DataFolder.h"
#include "foundation/DateLog.h"
#include "foundation/Dates.h"
#include "foundation/RecordFile.h"
#include "foundation/Text.h"
#include "foundation/ui/ErrorReport.h"
#include "foundation/ui/MsgBox.h"
#include "foundation/ui/Page.h"
#include "foundation/ui/Styling.h"
#include "foundation/ui/SvgPicture.h"
#include "notes/ui/NotesPage.h"
#include "platform/ui/TrayIcon.h"
#include "shell/ui/HelpWindow.h"
#include "shell/ui/RunProgram.h"
#include "shell/ui/TfrmMain.h"
#include "support/TestServices.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QStackedWidget>
#include <QTableView>
#include <QTextEdit>
#include <QToolButton>
#include <QtTest>

using namespace Qt::StringLiterals;
using qm::test::ReadBytes;
using qm::test::TestData;
using qm::test::WriteBytes;

namespace {

// A notification area that records what the window does with it.
class FakeTray final : public qm::TrayIcon {
    Q_OBJECT
public:
    bool isAvailable() const override { return available; }
    void add(const QIcon &, const QString &tip, QMenu *menu) override {
        shown = true;
        lastTip = tip;
        lastMenu = menu;
    }
    void remove() override { shown = false; }
    bool isShown() const override { return shown; }
    void click() { emit leftClicked(); }

    bool available = true;
    bool shown = false;
    QString lastTip;
    QMenu *lastMenu = nullptr;
};

// Types text as a keyboard would, one key per character, also characters
// that have no key code of their own.
void TypeText(QWidget *widget, const QString &text) {
    for (const QChar c : text) {
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
        QApplication::sendEvent(widget, &press);
        QKeyEvent release(QEvent::KeyRelease, 0, Qt::NoModifier, QString(c));
        QApplication::sendEvent(widget, &release);
    }
}

// Presses F1 where a user would: at the control with the focus in window.
void PressF1(QWidget *window) {
    window->show();
    window->activateWindow();
    QTRY_VERIFY(QApplication::activeWindow() == window);
    QWidget *target = QApplication::focusWidget();
    QTest::keyClick(target ? target : window, Qt::Key_F1);
}

// A page whose protocol answers are set by the test, counting what the main
// window asks of it.
class ScriptedPage final : public qm::Page {
    Q_OBJECT
public:
    explicit ScriptedPage(const QString &name, QWidget *parent) : Page(name, parent) {
        addCloseButton(u"cmdClose"_s + name);
    }
    void showStep() override { ++shows; }
    QString leaveReasons() override { return reasons; }
    void leaveSave() override { ++saves; }
    bool hasUnsavedChanges() const override { return unsaved; }
    void keyTyped(const QString &character) override { typed += character; }

    int shows = 0;
    int saves = 0;
    QString reasons;
    bool unsaved = false;
    QString typed;
};

// The main window over the test services, with scripted notes, alarms and
// calculator pages and a fake notification area.
struct Desk {
    qm::test::TestServices services;
    FakeTray tray;
    QMap<QString, ScriptedPage *> scripted;
    QStringList scriptedNames = {u"tabNotes"_s, u"tabAlarms"_s, u"tabCalculator"_s};
    std::unique_ptr<qm::TfrmMain> window;

    void create() {
        window = std::make_unique<qm::TfrmMain>(
            &tray, [this](const QString &name, QWidget *parent) -> qm::Page * {
                if (!scriptedNames.contains(name))
                    return nullptr;
                auto *page = new ScriptedPage(name, parent);
                scripted[name] = page;
                return page;
            });
    }
    bool start() {
        if (!window)
            create();
        return window->StartUp();
    }
    QString active() const { return window->activePage()->objectName(); }
    template <typename T = QWidget> T *child(const QString &name) const {
        T *found = window->findChild<T *>(name);
        if (!found)
            qFatal("no control %s", qPrintable(name));
        return found;
    }
    void click(const QString &name) const { QTest::mouseClick(child(name), Qt::LeftButton); }
    QColor labelColour(const QString &name) const {
        return child<QLabel>(name)->palette().color(QPalette::WindowText);
    }
    QString setting(const QString &name) const {
        return services.settings.m_values.value(name, u"<missing>"_s);
    }
};

} // namespace

class TestMainWindow : public QObject {
    Q_OBJECT
private slots:
    void freshStart();
    void failedStartUpGoesNoFurther();
    void unwritableDataFolderIsRefused();
    void unwritableDateLogIsSkipped_data();
    void unwritableDateLogIsSkipped();
    void startUpFromSettings_data();
    void startUpFromSettings();
    void screenCheckAtStartUp_data();
    void screenCheckAtStartUp();
    void loginPage_data();
    void loginPage();
    void loginWithoutStoredPassword();
    void configPageShowsAndSavesSettings();
    void configPassword_data();
    void configPassword();
    void configStartWithSystemShowsWhatIsStored();
    void configColourStyle_data();
    void configColourStyle();
    void menuShowsPagesAndMarksTheCurrentOne();
    void failedLeaveCheckKeepsThePage();
    void currentLabelShowsThePageAgain();
    void pageKeys_data();
    void pageKeys();
    void clockTimerRunsOnlyOnTheAlarmsPage();
    void typingGoesToTheCalculator();
    void calculatorByKeyboard();
    void hintsGoToTheHintBar();
    void buttonsShowTheirPictures_data();
    void buttonsShowTheirPictures();
    void closeQuery_data();
    void closeQuery();
    void unsavedAlarmTimesAskedAboutOnClose_data();
    void unsavedAlarmTimesAskedAboutOnClose();
    void closeLeavesThePageOnShow_data();
    void closeLeavesThePageOnShow();
    void notesReopenedAndWrittenOnLeave_data();
    void notesReopenedAndWrittenOnLeave();
    void lastNoteReadWhenTheNotesPageIsFirstShown_data();
    void lastNoteReadWhenTheNotesPageIsFirstShown();
    void closeDropsCompletedTasksWhenAsked();
    void settingsThatCannotBeStored();
    void tasksAndOccasionsKeptOverRestart();
    void addressBookEndToEnd();
    void minimiseToTrayAndBack();
    void minimiseAtStartUp();
    void withoutNotificationAreaMinimiseNormally();
    void trayCloseRefusedLeavesWindowWithoutIcon();
    void splashHeldWhileTheLoopRuns();
    void welcomeAtStartUp_data();
    void welcomeAtStartUp();
    void aboutUs();
    void makerLinks_data();
    void makerLinks();
    void helpOpensAtTheScreenInUse_data();
    void helpOpensAtTheScreenInUse();
};

// No files and no settings: the housekeeping files appear, nothing is asked,
// and the Diary page opens with the Daily view.
void TestMainWindow::freshStart() {
    Desk desk;
    QVERIFY(desk.start());
    for (const QString &file : {u"Colours.Qmt"_s, u"NextKey.Qmt"_s, u"DateLog.Qmt"_s})
        QVERIFY2(QFile::exists(desk.services.path(file)), qPrintable(file));
    QCOMPARE(ReadBytes(desk.services.path(u"NextKey.Qmt"_s)), TestData(u"startup/NextKey.Qmt"_s));
    QVERIFY(desk.services.prompter.messages.isEmpty());
    QCOMPARE(desk.active(), u"tabDiary"_s);
    QCOMPARE(desk.window->windowTitle(), u"Quillmate - Diary & Task List"_s);
    auto *diary = desk.child<qm::DiaryPage>(u"tabDiary"_s);
    QCOMPARE(diary->pressedViewName(), u"Daily"_s);
    QVERIFY(!diary->showCompleted());
    QCOMPARE(desk.child<QLabel>(u"lblDate"_s)->text(), u"Friday 15th March 2024"_s);
    QVERIFY(desk.child(u"panMenu"_s)->isEnabled());
    QVERIFY(desk.window->FirstShowDone);
    QVERIFY(!desk.window->timHide.isActive());
    QCOMPARE(desk.window->size(), QSize(576, 457));
    // The welcome screen came last; nobody answered it, and its Esc took the
    // choice shown, "Update me". Other settings are only written at close.
    QCOMPARE(desk.services.prompter.modalRuns, 1);
    QCOMPARE(desk.services.shell.opened.size(), 1);
    QCOMPARE(desk.services.settings.m_values,
             (QMap<QString, QString>{{u"Show Welcome"_s, u"0"_s}}));

    // Every page is there; only the one shown has made its controls, in the
    // colours of the scheme.
    for (const QString &name : {u"tabAddress"_s, u"tabConfig"_s, u"tabLogin"_s}) {
        QVERIFY2(!desk.child<qm::Page>(name)->isBuilt(), qPrintable(name));
        QVERIFY(!desk.child<qm::Page>(name)->closeButton());
    }
    QCOMPARE(desk.child<qm::GradientPanel>(u"panAppoints"_s)->colour(),
             qm::ColourToQColor(qm::CurrentColourScheme().PanelColour3));
    desk.click(u"spdAddress"_s);
    QCOMPARE(desk.child<qm::Page>(u"tabAddress"_s)->closeButton()->objectName(), u"cmdCloseName"_s);
}

// A colour scheme that cannot be read is reported and start-up stops there:
// no later file is created and no page is prepared over data not loaded.
void TestMainWindow::failedStartUpGoesNoFurther() {
    Desk desk;
    QByteArray colours = TestData(u"colours/Classic.Qmt"_s);
    colours.replace("16777215", "white");
    WriteBytes(desk.services.path(u"Colours.Qmt"_s), colours);
    QVERIFY(!desk.start());
    const auto &messages = desk.services.prompter.messages;
    QCOMPARE(messages.size(), 1);
    QCOMPARE(messages[0].kind, int(qm::MessageKind::Error));
    QVERIFY(!desk.window->FirstShowDone);
    QVERIFY(!QFile::exists(desk.services.path(u"NextKey.Qmt"_s)));
    QCOMPARE(ReadBytes(desk.services.path(u"Colours.Qmt"_s)), colours);
    QCOMPARE(desk.window->windowTitle(), u"Quillmate"_s);
}

// A data folder that holds records but cannot be written ends start-up with
// a message saying where the data is and what to do.
void TestMainWindow::unwritableDataFolderIsRefused() {
    qm::test::TestServices services;
    QVERIFY(qm::AcceptDataFolder({u"/opt/quillmate/"_s, false}));
    QVERIFY(services.prompter.messages.isEmpty());
    QVERIFY(!qm::AcceptDataFolder({u"/opt/quillmate/"_s, true}));
    QCOMPARE(services.prompter.messages.size(), 1);
    const auto &message = services.prompter.messages[0];
    QCOMPARE(message.kind, int(qm::MessageKind::Error));
    QVERIFY(message.text.startsWith(u"Quillmate Cannot Write To Its Data Folder\r\r"_s +
                                    QDir::toNativeSeparators(u"/opt/quillmate/"_s) + u"\r\r"_s));
    QVERIFY(message.text.contains(u"Make The Folder Writable"_s));
}

void TestMainWindow::unwritableDateLogIsSkipped_data() {
    QTest::addColumn<bool>("exists");
    QTest::newRow("cannot be appended to") << true;
    QTest::newRow("cannot be created") << false;
}

// The date trace is nobody's data: when it cannot be written, start-up and
// every tick go on as usual, with one note on standard error for the run.
void TestMainWindow::unwritableDateLogIsSkipped() {
    QFETCH(bool, exists);
    Desk desk;
    const QString log = desk.services.path(u"DateLog.Qmt"_s);
    // Real failures, even for root: a folder in the file's place, or a link
    // into a folder that is not there.
    if (exists)
        QVERIFY(QDir().mkdir(log));
    else
        QVERIFY(QFile::link(desk.services.path(u"gone/DateLog.Qmt"_s), log));
    qm::ResetDateLogNoteForTesting();
    QTest::ignoreMessage(QtWarningMsg,
                         QRegularExpression(u"^The date trace .* cannot be written"_s));
    QTest::failOnWarning(QRegularExpression(u"date trace"_s));

    QVERIFY(desk.start());
    desk.window->timAlarmTimer();
    QVERIFY(desk.services.prompter.messages.isEmpty());
    QCOMPARE(desk.active(), u"tabDiary"_s);
    QCOMPARE(desk.child<QLabel>(u"lblDate"_s)->text(), u"Friday 15th March 2024"_s);
    QVERIFY(QFile::exists(desk.services.path(u"NextKey.Qmt"_s)));
}

void TestMainWindow::startUpFromSettings_data() {
    QTest::addColumn<bool>("diaryFile");
    QTest::addColumn<QString>("diaryPage");
    QTest::addColumn<QString>("showCompleted");
    QTest::addColumn<QString>("startingScreen");
    QTest::addColumn<QString>("expectedView");
    QTest::addColumn<bool>("expectedCompleted");
    QTest::addColumn<QString>("expectedPage");
    QTest::addColumn<QString>("expectedCaption");
    QTest::newRow("remembered view") << true << u"Monthly"_s << u"1"_s << u"Diary"_s << u"Monthly"_s
                                     << true << u"tabDiary"_s << u"Quillmate - Diary & Task List"_s;
    QTest::newRow("no diary file: form defaults")
        << false << u"Monthly"_s << u"1"_s << u"Diary"_s << u"Daily"_s << false << u"tabDiary"_s
        << u"Quillmate - Diary & Task List"_s;
    QTest::newRow("unknown view name")
        << true << u"Yearly"_s << u"x"_s << u"Calculator"_s << u"Daily"_s << true
        << u"tabCalculator"_s << u"Quillmate - Calculator"_s;
    QTest::newRow("address book") << true << u"All"_s << u"0"_s << u"Address"_s << u"All"_s << false
                                  << u"tabAddress"_s << u"Quillmate - Address Book"_s;
    QTest::newRow("unknown starting screen")
        << false << u"Daily"_s << u"1"_s << u"Garden"_s << u"Daily"_s << false << u"tabDiary"_s
        << u"Quillmate"_s;
}

void TestMainWindow::startUpFromSettings() {
    QFETCH(bool, diaryFile);
    QFETCH(QString, diaryPage);
    QFETCH(QString, showCompleted);
    QFETCH(QString, startingScreen);
    Desk desk;
    if (diaryFile)
        WriteBytes(desk.services.path(u"Diary.Qmt"_s), "20240315\xff"
                                                       "09:00\r\n");
    auto &values = desk.services.settings.m_values;
    values[u"Diary Page"_s] = diaryPage;
    values[u"Show Completed"_s] = showCompleted;
    values[u"Starting Screen"_s] = startingScreen;
    QVERIFY(desk.start());
    auto *diary = desk.child<qm::DiaryPage>(u"tabDiary"_s);
    QTEST(diary->pressedViewName(), "expectedView");
    QTEST(diary->showCompleted(), "expectedCompleted");
    QTEST(desk.active(), "expectedPage");
    QTEST(desk.window->windowTitle(), "expectedCaption");
    // Start-up shows the page without the leave checks of the page it replaces.
    for (ScriptedPage *page : std::as_const(desk.scripted))
        QCOMPARE(page->saves, 0);
}

void TestMainWindow::screenCheckAtStartUp_data() {
    QTest::addColumn<QSize>("size");
    QTest::addColumn<int>("depth");
    QTest::addColumn<QString>("warning");
    QTest::newRow("800 by 600") << QSize(800, 600) << 24 << QString();
    QTest::newRow("800 by 599") << QSize(800, 599) << 24 << u"800 By 599 Set To High Colour"_s;
    QTest::newRow("256 colours") << QSize(1280, 1024) << 8 << u"1280 By 1024 Set To 256 Colours"_s;
}

void TestMainWindow::screenCheckAtStartUp() {
    QFETCH(QSize, size);
    QFETCH(int, depth);
    QFETCH(QString, warning);
    Desk desk;
    desk.services.screen.m_size = size;
    desk.services.screen.m_depth = depth;
    QVERIFY(desk.start());
    const auto &messages = desk.services.prompter.messages;
    if (warning.isEmpty()) {
        QVERIFY(messages.isEmpty());
        return;
    }
    QCOMPARE(messages.size(), 1);
    QVERIFY2(messages[0].text.contains(warning), qPrintable(messages[0].text));
    QCOMPARE(messages[0].kind, int(qm::MessageKind::Warning));
    QCOMPARE(messages[0].buttons, int(qm::MessageButtons::OK));
    // The program goes on after the warning.
    QCOMPARE(desk.active(), u"tabDiary"_s);
}

void TestMainWindow::loginPage_data() {
    QTest::addColumn<QTime>("time");
    QTest::addColumn<QString>("greeting");
    QTest::newRow("11:59") << QTime(11, 59) << u"Good Morning"_s;
    QTest::newRow("12:00") << QTime(12, 0) << u"Good Afternoon"_s;
    QTest::newRow("18:00") << QTime(18, 0) << u"Good Evening"_s;
}

// A password at start-up: the login page with its greeting and a locked menu;
// a wrong password is refused as often as it is typed; the right one, typed
// in small letters, opens the starting page.
void TestMainWindow::loginPage() {
    QFETCH(QTime, time);
    Desk desk;
    desk.services.clock.set(QDateTime(QDate(2024, 3, 15), time));
    auto &values = desk.services.settings.m_values;
    values[u"Need Password"_s] = u"1"_s;
    values[u"Password"_s] = qm::ShiftUp(u"OPEN"_s);
    values[u"Starting Screen"_s] = u"Calculator"_s;
    QVERIFY(desk.start());
    QCOMPARE(desk.active(), u"tabLogin"_s);
    QCOMPARE(desk.window->windowTitle(), u"Quillmate"_s);
    QTEST(desk.child<QLabel>(u"lblGreeting"_s)->text(), "greeting");
    QVERIFY(!desk.child(u"panMenu"_s)->isEnabled());
    QCOMPARE(desk.child(u"cmdLogin"_s)->toolTip(), u"Login To Quillmate"_s);

    auto *login = desk.child<QLineEdit>(u"txtLogin"_s);
    for (int attempt = 0; attempt < 2; ++attempt) {
        QTest::keyClicks(login, u"shut"_s);
        desk.click(u"cmdLogin"_s);
        QCOMPARE(desk.services.prompter.messages.size(), attempt + 1);
        QCOMPARE(desk.services.prompter.messages.last().text,
                 u"Incorrect Password\r\rPlease Try Again"_s);
        QCOMPARE(login->text(), QString());
        QCOMPARE(desk.active(), u"tabLogin"_s);
    }
    QTest::keyClicks(login, u"open"_s);
    QCOMPARE(login->text(), u"OPEN"_s);
    desk.click(u"cmdLogin"_s);
    QCOMPARE(desk.active(), u"tabCalculator"_s);
    QVERIFY(desk.child(u"panMenu"_s)->isEnabled());
}

// "Need Password" without a stored password: an empty box opens the program.
void TestMainWindow::loginWithoutStoredPassword() {
    Desk desk;
    desk.services.settings.m_values[u"Need Password"_s] = u"1"_s;
    QVERIFY(desk.start());
    QCOMPARE(desk.active(), u"tabLogin"_s);
    desk.click(u"cmdLogin"_s);
    QCOMPARE(desk.active(), u"tabDiary"_s);
    QVERIFY(desk.services.prompter.messages.isEmpty());
}

namespace {

bool isChecked(const Desk &desk, const QString &name) {
    return desk.child<QAbstractButton>(name)->isChecked();
}

// A radio button or check box takes a click on its mark or caption only.
void clickChoice(const Desk &desk, const QString &name) {
    QWidget *choice = desk.child(name);
    QTest::mouseClick(choice, Qt::LeftButton, {}, QPoint(8, choice->height() / 2));
}

} // namespace

// The page shows what is stored and Save stores what it shows, confirming.
// "Last Note File" takes the open note file only while none is stored.
void TestMainWindow::configPageShowsAndSavesSettings() {
    Desk desk;
    desk.scriptedNames.removeAll(u"tabNotes"_s);
    const QString notes = desk.services.path(u"week.Qmn"_s);
    WriteBytes(notes, "{\\rtf1\\ansi Shopping list}");
    auto &values = desk.services.settings.m_values;
    values = {{u"Starting Screen"_s, u"Notes"_s},
              {u"Open Notes"_s, u"1"_s},
              {u"Last Note File"_s, notes},
              {u"Minimize At Start-Up"_s, u"0"_s},
              {u"Delete Tasks"_s, u"1"_s}};
    desk.services.startWithSystem.on = true;
    QVERIFY(desk.start());
    values.remove(u"Last Note File"_s);

    desk.click(u"spdConfig"_s);
    QCOMPARE(desk.active(), u"tabConfig"_s);
    QCOMPARE(desk.window->windowTitle(), u"Quillmate - Configuration"_s);
    for (const QString &on :
         {u"optNotes"_s, u"chkOpenNotes"_s, u"chkDelete"_s, u"chkRunAtStartUp"_s, u"optClassic"_s})
        QVERIFY2(isChecked(desk, on), qPrintable(on));
    for (const QString &off : {u"optDiary"_s, u"chkPassword"_s, u"chkMinimize"_s})
        QVERIFY2(!isChecked(desk, off), qPrintable(off));
    QVERIFY(desk.child<QLineEdit>(u"txtPassword"_s)->isReadOnly());
    QVERIFY(!desk.child(u"lblReType"_s)->isEnabled());

    clickChoice(desk, u"optAddress"_s);
    clickChoice(desk, u"chkDelete"_s);
    clickChoice(desk, u"chkMinimize"_s);
    clickChoice(desk, u"chkRunAtStartUp"_s);
    desk.click(u"cmdConfigSave"_s);
    const auto &messages = desk.services.prompter.messages;
    QCOMPARE(messages.size(), 1);
    QCOMPARE(messages[0].text, u"Configuration Settings Saved"_s);
    QCOMPARE(messages[0].kind, int(qm::MessageKind::Information));
    QCOMPARE(desk.active(), u"tabConfig"_s);
    QCOMPARE(desk.setting(u"Starting Screen"_s), u"Address"_s);
    QCOMPARE(desk.setting(u"Delete Tasks"_s), u"0"_s);
    QCOMPARE(desk.setting(u"Minimize At Start-Up"_s), u"1"_s);
    QCOMPARE(desk.setting(u"Need Password"_s), u"0"_s);
    QCOMPARE(desk.setting(u"Password"_s), u"<missing>"_s);
    QCOMPARE(desk.setting(u"Last Note File"_s), notes);
    QVERIFY(!desk.services.startWithSystem.on);

    // Leaving the page saves it too; a stored note file is never replaced.
    values[u"Last Note File"_s] = u"/elsewhere/old.Qmn"_s;
    clickChoice(desk, u"optDiary"_s);
    desk.click(u"spdAlarms"_s);
    QCOMPARE(desk.active(), u"tabAlarms"_s);
    QCOMPARE(messages.size(), 1);
    QCOMPARE(desk.setting(u"Starting Screen"_s), u"Diary"_s);
    QCOMPARE(desk.setting(u"Last Note File"_s), u"/elsewhere/old.Qmn"_s);
}

void TestMainWindow::configPassword_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("retyped");
    QTest::addColumn<QString>("refusal");
    QTest::addColumn<QString>("stored"); // in clear
    QTest::newRow("blank") << QString() << QString()
                           << u"Cannot Save Because :\r\rPassword Cannot Be Left Blank"_s
                           << QString();
    QTest::newRow("retyped wrongly")
        << u"abc"_s << u"abd"_s
        << u"Cannot Save Because :\r\rRe-Typed Password Does Not Match Password"_s << QString();
    QTest::newRow("small letters") << u"secret"_s << u"secret"_s << QString() << u"SECRET"_s;
    QTest::newRow("longer than ten")
        << u"abcdefghijkl"_s << u"abcdefghijkl"_s << QString() << u"ABCDEFGHIJ"_s;
    // Capitals as the stored form has them: a letter without one stays.
    QTest::newRow("micro sign") << u"5\u00B5m"_s << u"5\u00B5m"_s << QString() << u"5\u00B5M"_s;
    QTest::newRow("accents and sharp s") << u"\u00E9t\u00FF\u00DF"_s << u"\u00E9t\u00FF\u00DF"_s
                                         << QString() << u"\u00C9T\u0178\u00DF"_s;
    QTest::newRow("letters the stored form cannot hold")
        << u"\u043F\u0430\u0440\u043E\u043B\u044C"_s << u"\u043F\u0430\u0440\u043E\u043B\u044C"_s
        << u"Cannot Save Because :\r\rPassword Contains Characters That Cannot Be Saved"_s
        << QString();
}

// A wanted password must be given, retyped and storable; a refusal keeps the
// user on the page with nothing stored. The same keys open the program at the
// next start. Unticking empties both boxes, and saving (Enter) removes it.
void TestMainWindow::configPassword() {
    QFETCH(QString, refusal);
    QFETCH(QString, stored);
    Desk desk;
    QVERIFY(desk.start());
    desk.click(u"spdConfig"_s);
    clickChoice(desk, u"chkPassword"_s);
    auto *password = desk.child<QLineEdit>(u"txtPassword"_s);
    auto *retype = desk.child<QLineEdit>(u"txtReType"_s);
    QVERIFY(!password->isReadOnly());
    QVERIFY(desk.child(u"lblPassword"_s)->isEnabled());
    QCOMPARE(password->echoMode(), QLineEdit::Password);
    QFETCH(QString, typed);
    QFETCH(QString, retyped);
    TypeText(password, typed);
    TypeText(retype, retyped);
    desk.click(u"spdDiary"_s);
    const auto &messages = desk.services.prompter.messages;
    if (!refusal.isEmpty()) {
        QCOMPARE(messages.size(), 1);
        QCOMPARE(messages[0].text, refusal);
        QCOMPARE(desk.active(), u"tabConfig"_s);
        QCOMPARE(desk.setting(u"Need Password"_s), u"<missing>"_s);
        return;
    }
    QVERIFY(messages.isEmpty());
    QCOMPARE(desk.active(), u"tabDiary"_s);
    QCOMPARE(desk.setting(u"Need Password"_s), u"1"_s);
    QCOMPARE(desk.setting(u"Password"_s), qm::ShiftUp(stored));
    {
        qm::TfrmMain next(&desk.tray);
        QVERIFY(next.StartUp());
        QCOMPARE(next.activePage()->objectName(), u"tabLogin"_s);
        TypeText(next.findChild<QLineEdit *>(u"txtLogin"_s), typed);
        QTest::mouseClick(next.findChild<QWidget *>(u"cmdLogin"_s), Qt::LeftButton);
        QCOMPARE(next.activePage()->objectName(), u"tabDiary"_s);
        QVERIFY(messages.isEmpty());
    }

    desk.click(u"spdConfig"_s);
    QCOMPARE(password->text(), stored);
    QCOMPARE(retype->text(), stored);
    clickChoice(desk, u"chkPassword"_s);
    QCOMPARE(password->text(), QString());
    QCOMPARE(retype->text(), QString());
    QVERIFY(password->isReadOnly());
    // Enter saves, as the page's default button.
    QTest::keyClick(desk.child(u"chkPassword"_s), Qt::Key_Return);
    QCOMPARE(messages.size(), 1);
    QCOMPARE(messages[0].text, u"Configuration Settings Saved"_s);
    QCOMPARE(desk.setting(u"Need Password"_s), u"0"_s);
    QCOMPARE(desk.setting(u"Password"_s), u"<missing>"_s);
}

// An entry the system will not take is reported, the box then shows what
// is stored, and the page can still be left.
void TestMainWindow::configStartWithSystemShowsWhatIsStored() {
    Desk desk;
    desk.services.startWithSystem.fail = true;
    QVERIFY(desk.start());
    desk.click(u"spdConfig"_s);
    clickChoice(desk, u"chkRunAtStartUp"_s);
    desk.click(u"cmdConfigSave"_s);
    const auto &messages = desk.services.prompter.messages;
    QCOMPARE(messages.size(), 1);
    QVERIFY2(messages[0].text.contains(u"Cannot Write The Entry"_s), qPrintable(messages[0].text));
    QCOMPARE(messages[0].kind, int(qm::MessageKind::Error));
    QVERIFY(!isChecked(desk, u"chkRunAtStartUp"_s));
    QVERIFY(!desk.services.startWithSystem.on);
    desk.click(u"spdDiary"_s);
    QCOMPARE(desk.active(), u"tabDiary"_s);
    QCOMPARE(messages.size(), 1);
}

void TestMainWindow::configColourStyle_data() {
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("style");
    QTest::newRow("orange") << u"optOrange"_s << qm::OrangeStyle;
    QTest::newRow("blue") << u"optBlue"_s << qm::BlueStyle;
    QTest::newRow("grey") << u"optGrey"_s << qm::GreyStyle;
}

// A style restyles the window at once and lasts until the program ends;
// "Colours.Qmt", which holds the user's own colour values, is never
// rewritten, so the next start shows the scheme from the file.
void TestMainWindow::configColourStyle() {
    QFETCH(QString, button);
    QFETCH(QString, style);
    Desk desk;
    qm::ColourScheme own = qm::ClassicColourScheme();
    own.PanelColour2 = 0x123456;
    own.ListColour = 0x654321;
    const QString colours = desk.services.path(qm::ColoursFileName);
    WriteBytes(colours, qm::JoinRecordLines(qm::ColourSchemeLines(own)));
    const QByteArray stored = ReadBytes(colours);
    QVERIFY(desk.start());
    QCOMPARE(qm::CurrentColourScheme(), own);
    desk.click(u"spdConfig"_s);
    QVERIFY(isChecked(desk, u"optClassic"_s));

    clickChoice(desk, button);
    const qm::ColourScheme chosen = *qm::NamedColourScheme(style);
    QCOMPARE(qm::CurrentColourScheme(), chosen);
    QCOMPARE(desk.child<qm::GradientPanel>(u"panStarting"_s)->colour(),
             qm::ColourToQColor(chosen.PanelColour2));
    desk.click(u"spdDiary"_s);
    desk.click(u"spdConfig"_s);
    QVERIFY(isChecked(desk, button));
    QVERIFY(desk.services.prompter.messages.isEmpty());
    QCOMPARE(ReadBytes(colours), stored);

    qm::TfrmMain next(&desk.tray);
    QVERIFY(next.StartUp());
    QCOMPARE(qm::CurrentColourScheme(), own);
}

void TestMainWindow::menuShowsPagesAndMarksTheCurrentOne() {
    Desk desk;
    QVERIFY(desk.start());
    const QStringList names = {u"Diary"_s,      u"Notes"_s,   u"Alarms"_s,
                               u"Calculator"_s, u"Address"_s, u"Config"_s};
    const QStringList pages = {u"tabDiary"_s,      u"tabNotes"_s,   u"tabAlarms"_s,
                               u"tabCalculator"_s, u"tabAddress"_s, u"tabConfig"_s};
    const QStringList captions = {u" - Diary & Task List"_s, u" - Notes"_s,
                                  u" - Alarm Clock"_s,       u" - Calculator"_s,
                                  u" - Address Book"_s,      u" - Configuration"_s};
    auto *down = desk.child<QToolButton>(u"spdDown"_s);
    for (int i = names.size() - 1; i >= 0; --i) {
        // Buttons and their labels do the same.
        desk.click((i % 2 ? u"spd"_s : u"lbl"_s) + names[i]);
        QCOMPARE(desk.active(), pages[i]);
        QCOMPARE(desk.window->windowTitle(), u"Quillmate"_s + captions[i]);
        for (int j = 0; j < names.size(); ++j) {
            auto *button = desk.child<QToolButton>(u"spd"_s + names[j]);
            const bool current = i == j;
            QCOMPARE(button->isEnabled(), !current);
            QCOMPARE(button->isVisibleTo(desk.window.get()), !current);
            QCOMPARE(desk.labelColour(u"lbl"_s + names[j]),
                     current ? QColor(Qt::black) : QColor(Qt::white));
            if (current)
                QCOMPARE(down->geometry(), button->geometry());
        }
        QVERIFY(down->isVisibleTo(desk.window.get()));
    }
    // The label shows "&" once.
    QCOMPARE(desk.child<QLabel>(u"lblDiary"_s)->text(), u"Diary & Tasks"_s);
}

// A page that may not be left keeps the user on it, caption and all, and
// nothing is saved or prepared.
void TestMainWindow::failedLeaveCheckKeepsThePage() {
    Desk desk;
    QVERIFY(desk.start());
    desk.click(u"spdAlarms"_s);
    ScriptedPage *alarms = desk.scripted[u"tabAlarms"_s];
    alarms->reasons = u"Alarm 1 Is Not A Valid Time\r"_s;
    desk.click(u"spdNotes"_s);
    QCOMPARE(desk.active(), u"tabAlarms"_s);
    QCOMPARE(desk.window->windowTitle(), u"Quillmate - Alarm Clock"_s);
    QCOMPARE(alarms->saves, 0);
    QCOMPARE(desk.scripted[u"tabNotes"_s]->shows, 0);
    const auto &messages = desk.services.prompter.messages;
    QCOMPARE(messages.size(), 1);
    QVERIFY(messages[0].text.startsWith(qm::CannotSaveHeading));
    QVERIFY(messages[0].text.contains(u"Alarm 1 Is Not A Valid Time"_s));

    alarms->reasons.clear();
    desk.click(u"spdNotes"_s);
    QCOMPARE(desk.active(), u"tabNotes"_s);
    QCOMPARE(alarms->saves, 1);
    QCOMPARE(desk.scripted[u"tabNotes"_s]->shows, 1);
}

void TestMainWindow::currentLabelShowsThePageAgain() {
    Desk desk;
    QVERIFY(desk.start());
    desk.click(u"spdAlarms"_s);
    ScriptedPage *alarms = desk.scripted[u"tabAlarms"_s];
    QCOMPARE(alarms->shows, 1);
    desk.click(u"lblAlarms"_s);
    QCOMPARE(alarms->saves, 1);
    QCOMPARE(alarms->shows, 2);
    QCOMPARE(desk.active(), u"tabAlarms"_s);
    // The hidden button itself cannot be pressed.
    QVERIFY(!desk.child(u"spdAlarms"_s)->isEnabled());

    desk.click(u"spdAddress"_s);
    auto *address = desk.child<qm::AddressPage>(u"tabAddress"_s);
    address->CurrentKey = 305;
    desk.click(u"lblAddress"_s);
    QCOMPARE(address->CurrentKey, -1);
}

void TestMainWindow::pageKeys_data() {
    QTest::addColumn<bool>("locked");
    QTest::addColumn<QString>("reasons");   // why the alarm page may not be left
    QTest::addColumn<QList<int>>("keys");   // Ctrl+<digit>, pressed in turn
    QTest::addColumn<QStringList>("pages"); // the page on show after each
    QTest::addColumn<int>("alarmShows");
    QTest::newRow("menu order") << false << QString() << QList<int>{2, 4, 5, 1, 6, 3, 3}
                                << QStringList{u"tabNotes"_s, u"tabCalculator"_s, u"tabAddress"_s,
                                               u"tabDiary"_s, u"tabConfig"_s,     u"tabAlarms"_s,
                                               u"tabAlarms"_s}
                                << 1;
    QTest::newRow("leave check refuses")
        << false << u"Alarm 1 Is Not A Valid Time\r"_s << QList<int>{3, 1, 7}
        << QStringList{u"tabAlarms"_s, u"tabAlarms"_s, u"tabAlarms"_s} << 1;
    QTest::newRow("login page locks")
        << true << QString() << QList<int>{2, 3} << QStringList{u"tabLogin"_s, u"tabLogin"_s} << 0;
}

// Ctrl+1 to Ctrl+6 do what the menu buttons do, in their order, with the
// same leave checks; not while the login page locks the program.
void TestMainWindow::pageKeys() {
    QFETCH(bool, locked);
    QFETCH(QString, reasons);
    QFETCH(QList<int>, keys);
    QFETCH(QStringList, pages);
    Desk desk;
    if (locked)
        desk.services.settings.m_values[u"Need Password"_s] = u"1"_s;
    QVERIFY(desk.start());
    desk.window->show();
    desk.window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(desk.window.get()));
    ScriptedPage *alarms = desk.scripted[u"tabAlarms"_s];
    for (int i = 0; i < keys.size(); ++i) {
        QWidget *focus = QApplication::focusWidget();
        QTest::keyClick(focus ? focus : desk.window.get(), Qt::Key(Qt::Key_0 + keys[i]),
                        Qt::ControlModifier);
        QCOMPARE(desk.active(), pages[i]);
        if (desk.active() == u"tabAlarms")
            alarms->reasons = reasons;
    }
    QTEST(alarms->shows, "alarmShows");
    QCOMPARE(desk.services.prompter.messages.size(), reasons.isEmpty() ? 0 : 1);
    // The key is not typed into the page as well.
    QCOMPARE(desk.scripted[u"tabCalculator"_s]->typed, QString());
}

void TestMainWindow::clockTimerRunsOnlyOnTheAlarmsPage() {
    Desk desk;
    QVERIFY(desk.start());
    QVERIFY(!desk.window->timTime.isActive());
    desk.click(u"spdAlarms"_s);
    QVERIFY(desk.window->timTime.isActive());
    QCOMPARE(desk.window->timTime.interval(), 500);
    desk.click(u"spdCalculator"_s);
    QVERIFY(!desk.window->timTime.isActive());
}

// Keys typed anywhere reach the calculator while it is shown, and the focused
// control still gets them.
void TestMainWindow::typingGoesToTheCalculator() {
    Desk desk;
    QVERIFY(desk.start());
    desk.window->show();
    QVERIFY(QTest::qWaitForWindowActive(desk.window.get()));
    ScriptedPage *calculator = desk.scripted[u"tabCalculator"_s];
    QTest::keyClicks(desk.child(u"cmdDiaryClose"_s), u"7"_s);
    QTest::keyClick(desk.child(u"cmdDiaryClose"_s), Qt::Key_Backspace);
    QCOMPARE(calculator->typed, QString());

    desk.click(u"spdCalculator"_s);
    QCOMPARE(QApplication::focusWidget(), desk.child(u"cmdClosetabCalculator"_s));
    QTest::keyClicks(QApplication::focusWidget(), u"7+2"_s);
    QCOMPARE(calculator->typed, u"7+2"_s);

    auto *edit = new QLineEdit(calculator);
    edit->show();
    edit->setFocus();
    QTest::keyClicks(edit, u"5"_s);
    QCOMPARE(calculator->typed, u"7+25"_s);
    QCOMPARE(edit->text(), u"5"_s);
    // Enter and Backspace arrive as the characters they type; Backspace
    // still deletes in the box.
    QTest::keyClick(edit, Qt::Key_Return);
    QTest::keyClick(edit, Qt::Key_Enter, Qt::KeypadModifier);
    QTest::keyClick(edit, Qt::Key_Backspace);
    QCOMPARE(calculator->typed, u"7+25\r\r\b"_s);
    QCOMPARE(edit->text(), QString());
}

// The calculator worked from the keyboard, the focus on its Close button.
void TestMainWindow::calculatorByKeyboard() {
    Desk desk;
    desk.scriptedNames.removeOne(u"tabCalculator"_s);
    QVERIFY(desk.start());
    desk.window->show();
    QVERIFY(QTest::qWaitForWindowActive(desk.window.get()));
    desk.click(u"spdCalculator"_s);
    QWidget *close = desk.child(u"cmdCalcClose"_s);
    QCOMPARE(QApplication::focusWidget(), close);
    auto *value = desk.child<QLabel>(u"staValue"_s);
    QCOMPARE(value->text(), u"0. "_s);

    QTest::keyClicks(close, u"12+34"_s);
    QTest::keyClick(close, Qt::Key_Backspace);
    QTest::keyClick(close, Qt::Key_Return);
    QCOMPARE(value->text(), u"15. "_s);
    QTest::keyClicks(close, u"7e"_s);
    QCOMPARE(value->text(), u"7. "_s);
    QTest::keyClicks(close, u"*C"_s);
    QCOMPARE(value->text(), u"0. "_s);
    QVERIFY(desk.window->isVisible());

    // The state outlives a visit to another page, where typing leaves it be.
    QTest::keyClicks(close, u"8MS"_s);
    desk.click(u"spdDiary"_s);
    QTest::keyClicks(desk.child(u"cmdDiaryClose"_s), u"5"_s);
    QTest::keyClick(desk.child(u"cmdDiaryClose"_s), Qt::Key_Backspace);
    desk.click(u"spdCalculator"_s);
    QCOMPARE(value->text(), u"8. "_s);

    QTest::keyClick(close, Qt::Key_Escape);
    QVERIFY(!desk.window->isVisible());
}

void TestMainWindow::hintsGoToTheHintBar() {
    Desk desk;
    QVERIFY(desk.start());
    auto *hint = desk.child<QLabel>(u"panHint"_s);
    QEvent enter(QEvent::Enter);
    QApplication::sendEvent(desk.child(u"spdNotes"_s), &enter);
    QCOMPARE(hint->text(), u"Show Note Pad"_s);
    QApplication::sendEvent(desk.child(u"cmdDiaryClose"_s), &enter);
    QCOMPARE(hint->text(), u"Close Quillmate"_s);
    QApplication::sendEvent(desk.child(u"tabDiary"_s), &enter);
    QCOMPARE(hint->text(), QString());
    // The pickers' Select and Cancel keep their hints to themselves.
    QLabel label;
    QLineEdit field;
    for (QDialog *picker : std::initializer_list<QDialog *>{new qm::TfrmCalendar(&label, &field),
                                                            new qm::TfrmSelTime(&label, &field)}) {
        std::unique_ptr<QDialog> owner(picker);
        for (const QString &name : {u"cmdSelect"_s, u"cmdCancel"_s}) {
            QApplication::sendEvent(desk.child(u"spdNotes"_s), &enter);
            QApplication::sendEvent(picker->findChild<QWidget *>(name), &enter);
            QVERIFY2(hint->text().isEmpty(), qPrintable(name + u": "_s + hint->text()));
        }
    }
    // No pop-up tip is shown.
    QHelpEvent tip(QEvent::ToolTip, QPoint(1, 1), QPoint(1, 1));
    QVERIFY(
        static_cast<QObject *>(desk.window.get())->eventFilter(desk.child(u"spdNotes"_s), &tip));
}

using FormMaker = std::function<QWidget *(qm::TfrmMain &)>;

void TestMainWindow::buttonsShowTheirPictures_data() {
    QTest::addColumn<FormMaker>("make");
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("picture");
    const FormMaker diary = [](qm::TfrmMain &window) { return window.page(u"tabDiary"_s); };
    const FormMaker editor = [](qm::TfrmMain &window) {
        auto *page = qobject_cast<qm::DiaryPage *>(window.page(u"tabDiary"_s));
        return new qm::TfrmAppointment(page->store(), qm::EditMode::Add, -1, &window);
    };
    static QLabel label;
    static QLineEdit field;
    const FormMaker calendar = [](qm::TfrmMain &window) {
        return new qm::TfrmCalendar(&label, &field, &window);
    };
    const FormMaker clock = [](qm::TfrmMain &window) {
        return new qm::TfrmSelTime(&label, &field, &window);
    };
    QTest::newRow("print") << diary << u"cmdDiaryPrint"_s << u"print"_s;
    QTest::newRow("edit") << diary << u"cmdDiaryEdit"_s << u"edit"_s;
    QTest::newRow("add") << diary << u"cmdDiaryAdd"_s << u"add"_s;
    QTest::newRow("delete") << diary << u"cmdDiaryDelete"_s << u"delete"_s;
    QTest::newRow("close") << diary << u"cmdDiaryClose"_s << u"close"_s;
    QTest::newRow("save") << editor << u"cmdUpdate"_s << u"save"_s;
    QTest::newRow("cancel") << editor << u"cmdCancel"_s << u"cancel"_s;
    QTest::newRow("select a date") << calendar << u"cmdSelect"_s << u"save"_s;
    QTest::newRow("today") << calendar << u"cmdWeekJump"_s << u"today"_s;
    QTest::newRow("cancel a time") << clock << u"cmdCancel"_s << u"cancel"_s;
}

// Each button with a picture shows the picture of its index in the main
// window's image list.
void TestMainWindow::buttonsShowTheirPictures() {
    QFETCH(FormMaker, make);
    QFETCH(QString, button);
    QFETCH(QString, picture);
    Desk desk;
    QVERIFY(desk.start());
    QWidget *form = make(*desk.window);
    form->show();
    auto *target = form->findChild<QAbstractButton *>(button);
    QVERIFY(target);
    const QImage expected =
        qm::SvgPixmap(u":/shell/button_"_s + picture + u".svg"_s, QSize(16, 16)).toImage();
    QCOMPARE(target->icon().pixmap(QSize(16, 16)).toImage(), expected);
    if (form->isWindow())
        delete form;
}

void TestMainWindow::closeQuery_data() {
    QTest::addColumn<bool>("notes");
    QTest::addColumn<bool>("alarms");
    QTest::addColumn<int>("answer");
    QTest::addColumn<QString>("question");
    QTest::addColumn<bool>("closes");
    QTest::newRow("nothing unsaved") << false << false << 0 << QString() << true;
    QTest::newRow("notes, No") << true << false << int(qm::MessageResult::No)
                               << u"You Have Unsaved Notes If You Close"_s << false;
    QTest::newRow("notes, Yes") << true << false << int(qm::MessageResult::Yes)
                                << u"You Have Unsaved Notes If You Close"_s << true;
    QTest::newRow("both, No") << true << true << int(qm::MessageResult::No)
                              << u"You Have Unsaved Alarm Times And Notes If"_s << false;
    QTest::newRow("alarms, Yes") << false << true << int(qm::MessageResult::Yes)
                                 << u"You Have Unsaved Alarm Times, If"_s << true;
}

// Every close goes through the question; a No keeps everything as it was and
// writes nothing but what leaving the diary page keeps ("Show Completed"), a
// Yes writes the remembered diary view.
void TestMainWindow::closeQuery() {
    QFETCH(bool, notes);
    QFETCH(bool, alarms);
    QFETCH(int, answer);
    QFETCH(QString, question);
    QFETCH(bool, closes);
    Desk desk;
    QVERIFY(desk.start());
    desk.window->show();
    desk.scripted[u"tabNotes"_s]->unsaved = notes;
    desk.scripted[u"tabAlarms"_s]->unsaved = alarms;
    if (answer)
        desk.services.prompter.answers = {answer};
    QSignalSpy closed(desk.window.get(), &qm::TfrmMain::closed);
    desk.click(u"cmdDiaryClose"_s);
    const auto &messages = desk.services.prompter.messages;
    if (question.isEmpty()) {
        QVERIFY(messages.isEmpty());
    } else {
        QCOMPARE(messages.size(), 1);
        QVERIFY2(messages[0].text.startsWith(question), qPrintable(messages[0].text));
        QCOMPARE(messages[0].kind, int(qm::MessageKind::Confirmation));
        QCOMPARE(messages[0].buttons, int(qm::MessageButtons::YesNo));
        // Enter keeps the work: No is the default.
        QCOMPARE(messages[0].defaultResult, int(qm::MessageResult::No));
    }
    QCOMPARE(closed.size(), closes ? 1 : 0);
    QCOMPARE(desk.window->isVisible(), !closes);
    QCOMPARE(desk.setting(u"Diary Page"_s), closes ? u"Daily"_s : u"<missing>"_s);
    QCOMPARE(desk.setting(u"Show Completed"_s), u"0"_s);
    QCOMPARE(desk.window->timAlarm.isActive(), !closes);
}

void TestMainWindow::unsavedAlarmTimesAskedAboutOnClose_data() {
    QTest::addColumn<bool>("leftAndBack");
    QTest::addColumn<bool>("asked");
    QTest::newRow("typed, then closed") << false << true;
    QTest::newRow("typed, left and shown again") << true << false;
}

// The program's own alarm page in the window: times typed and not saved are
// asked about on closing; leaving the page saves them, so nothing is asked.
void TestMainWindow::unsavedAlarmTimesAskedAboutOnClose() {
    QFETCH(bool, leftAndBack);
    QFETCH(bool, asked);
    Desk desk;
    desk.scriptedNames = {u"tabNotes"_s};
    QVERIFY(desk.start());
    desk.click(u"spdAlarms"_s);
    QTest::keyClicks(desk.child<QLineEdit>(u"txtDesc1"_s), u"Tea"_s);
    QTest::keyClicks(desk.child<QLineEdit>(u"txtAlarm1"_s), u"16:00"_s);
    if (leftAndBack) {
        desk.click(u"spdCalculator"_s);
        desk.click(u"spdAlarms"_s);
    }
    desk.services.prompter.answers.append(int(qm::MessageResult::No));
    QCOMPARE(desk.window->FormCloseQuery(), !asked);
    const auto &messages = desk.services.prompter.messages;
    QCOMPARE(messages.size(), asked ? 1 : 0);
    if (asked)
        QVERIFY(messages[0].text.startsWith(u"You Have Unsaved Alarm Times, If"_s));
}

void TestMainWindow::closeLeavesThePageOnShow_data() {
    QTest::addColumn<QString>("page");
    QTest::addColumn<bool>("fault"); // the page cannot be left
    QTest::newRow("notes bound to a file") << u"Notes"_s << false;
    QTest::newRow("notes whose file cannot be written") << u"Notes"_s << true;
    QTest::newRow("configuration") << u"Config"_s << false;
    QTest::newRow("configuration refused") << u"Config"_s << true;
}

// Closing leaves the page on show as a page change does: edited notes are
// written back to their file and configuration changes are saved, without a
// question. A page that cannot be left (a write that fails, a check that
// refuses) says why, and the program stays open with the edits in place.
void TestMainWindow::closeLeavesThePageOnShow() {
    QFETCH(QString, page);
    QFETCH(bool, fault);
    Desk desk;
    desk.scriptedNames.removeAll(u"tabNotes"_s);
    const QString folder = desk.services.path(u"notes"_s);
    const QString path = folder + u"/week.Qmn"_s;
    QVERIFY(QDir().mkpath(folder));
    WriteBytes(path, "{\\rtf1\\ansi Shopping list}");
    auto &values = desk.services.settings.m_values;
    values[u"Starting Screen"_s] = page == u"Notes"_s ? u"Notes"_s : u"Diary"_s;
    values[u"Open Notes"_s] = u"1"_s;
    values[u"Last Note File"_s] = path;
    QVERIFY(desk.start());
    desk.window->show();
    if (page == u"Notes"_s) {
        auto *editor = desk.child<QTextEdit>(u"rchNotes"_s);
        editor->moveCursor(QTextCursor::End);
        QTest::keyClicks(editor, u" and bread"_s);
        if (fault) { // the folder has gone, a file of that name in its place
            QVERIFY(QDir(folder).removeRecursively());
            WriteBytes(folder, "not a folder");
        }
    } else {
        desk.click(u"spdConfig"_s);
        clickChoice(desk, u"chkPassword"_s);
        TypeText(desk.child<QLineEdit>(u"txtPassword"_s), u"key"_s);
        TypeText(desk.child<QLineEdit>(u"txtReType"_s), fault ? u"kez"_s : u"key"_s);
    }
    QSignalSpy closed(desk.window.get(), &qm::TfrmMain::closed);
    desk.click(u"cmd"_s + page + u"Close"_s);
    const auto &messages = desk.services.prompter.messages;
    QCOMPARE(closed.size(), fault ? 0 : 1);
    QCOMPARE(messages.size(), fault ? 1 : 0);
    if (page == u"Notes"_s) {
        QCOMPARE(desk.child<QTextEdit>(u"rchNotes"_s)->toPlainText(), u"Shopping list and bread"_s);
        if (fault) {
            QCOMPARE(messages[0].kind, int(qm::MessageKind::Error));
            QVERIFY2(messages[0].text.contains(u"week.Qmn"_s), qPrintable(messages[0].text));
        } else {
            QVERIFY(ReadBytes(path).contains("Shopping list and bread"));
        }
    } else if (fault) {
        QCOMPARE(messages[0].text,
                 u"Cannot Save Because :\r\rRe-Typed Password Does Not Match Password"_s);
        QCOMPARE(desk.setting(u"Need Password"_s), u"<missing>"_s);
    } else {
        QCOMPARE(desk.setting(u"Need Password"_s), u"1"_s);
        QCOMPARE(desk.setting(u"Password"_s), qm::ShiftUp(u"KEY"_s));
    }
}

void TestMainWindow::notesReopenedAndWrittenOnLeave_data() {
    QTest::addColumn<bool>("present");
    QTest::newRow("last note file present") << true;
    QTest::newRow("last note file missing") << false;
}

// "Open Notes" re-opens the last note file at start-up, or says it is gone
// and leaves the notes unbound. Leaving the page rewrites a bound file when
// the notes were changed, and the label turns from "File Name : " to
// "Filename : ".
void TestMainWindow::notesReopenedAndWrittenOnLeave() {
    QFETCH(bool, present);
    Desk desk;
    desk.scriptedNames.removeAll(u"tabNotes"_s);
    const QString path = desk.services.path(u"week.Qmn"_s);
    if (present)
        WriteBytes(path, "{\\rtf1\\ansi Shopping list}");
    // What a killed save left beside the file goes at the start; a file of
    // the user's own with a name like it stays.
    WriteBytes(path + u".qmsave-a1B2c3"_s, "{\\rtf1 half");
    WriteBytes(path + u".backup"_s, "mine");
    auto &values = desk.services.settings.m_values;
    values[u"Starting Screen"_s] = u"Notes"_s;
    values[u"Open Notes"_s] = u"1"_s;
    values[u"Last Note File"_s] = path;
    QVERIFY(desk.start());
    QVERIFY(!QFile::exists(path + u".qmsave-a1B2c3"_s));
    QCOMPARE(ReadBytes(path + u".backup"_s), QByteArray("mine"));
    auto *notes = desk.child<qm::NotesPage>(u"tabNotes"_s);
    QCOMPARE(desk.active(), u"tabNotes"_s);
    const auto *label = desk.child<QLabel>(u"lblFileName"_s);
    const auto &messages = desk.services.prompter.messages;
    if (!present) {
        QCOMPARE(messages.size(), 1);
        QCOMPARE(messages[0].text, u"Your Last Opened Note File Was "_s + path +
                                       u" - Quillmate Is Unable To Find This File\r\r"
                                       u"It Therefore Cannot Be Opened"_s);
        QCOMPARE(messages[0].kind, int(qm::MessageKind::Error));
        QCOMPARE(notes->CurrentNoteFile(), QString());
        QCOMPARE(label->text(), u"*** Unsaved Notes ***"_s);
        return;
    }
    QVERIFY(messages.isEmpty());
    QCOMPARE(notes->CurrentNoteFile(), path);
    QCOMPARE(label->text(), u"File Name : "_s + path);
    QCOMPARE(desk.child<QTextEdit>(u"rchNotes"_s)->toPlainText(), u"Shopping list"_s);
    QVERIFY(!notes->hasUnsavedChanges());

    // Unchanged notes leave their file alone; changed ones are written back.
    WriteBytes(path, "changed elsewhere");
    desk.click(u"spdDiary"_s);
    QCOMPARE(desk.active(), u"tabDiary"_s);
    QCOMPARE(ReadBytes(path), QByteArray("changed elsewhere"));
    QCOMPARE(label->text(), u"File Name : "_s + path);
    desk.click(u"spdNotes"_s);
    QTest::keyClicks(desk.child<QTextEdit>(u"rchNotes"_s), u"Milk, "_s);
    desk.click(u"spdDiary"_s);
    QCOMPARE(label->text(), u"Filename : "_s + path);
    QVERIFY(ReadBytes(path).startsWith("{\\rtf1"));
    QVERIFY(ReadBytes(path).contains("Milk, "));
    QVERIFY(ReadBytes(path).contains("Shopping list"));
}

void TestMainWindow::lastNoteReadWhenTheNotesPageIsFirstShown_data() {
    QTest::addColumn<QString>("starting");
    QTest::addColumn<bool>("present");
    QTest::newRow("starting on the notes") << u"Notes"_s << true;
    QTest::newRow("starting on the diary") << u"Diary"_s << true;
    QTest::newRow("starting on the diary, file gone") << u"Diary"_s << false;
}

// "Open Notes" reads the last note when the notes page is first shown, so a
// large note does not hold up a start on another page; a note that is gone
// is still said at the start.
void TestMainWindow::lastNoteReadWhenTheNotesPageIsFirstShown() {
    QFETCH(QString, starting);
    QFETCH(bool, present);
    Desk desk;
    desk.scriptedNames.removeAll(u"tabNotes"_s);
    const QString path = desk.services.path(u"week.Qmn"_s);
    if (present)
        WriteBytes(path, "{\\rtf1\\ansi Shopping list}");
    auto &values = desk.services.settings.m_values;
    values[u"Starting Screen"_s] = starting;
    values[u"Open Notes"_s] = u"1"_s;
    values[u"Last Note File"_s] = path;
    QVERIFY(desk.start());
    auto *notes = desk.child<qm::NotesPage>(u"tabNotes"_s);
    const auto &messages = desk.services.prompter.messages;
    QCOMPARE(messages.size(), present ? 0 : 1);
    QCOMPARE(notes->CurrentNoteFile(), present && starting == u"Notes" ? path : QString());
    desk.click(u"spdCalculator"_s);
    QCOMPARE(notes->CurrentNoteFile(), present && starting == u"Notes" ? path : QString());
    desk.click(u"spdNotes"_s);
    QCOMPARE(messages.size(), present ? 0 : 1);
    QCOMPARE(notes->CurrentNoteFile(), present ? path : QString());
    QCOMPARE(desk.child<QTextEdit>(u"rchNotes"_s)->toPlainText(),
             present ? u"Shopping list"_s : QString());
    // Read once: what was typed stays when the page is shown again.
    QTest::keyClicks(desk.child<QTextEdit>(u"rchNotes"_s), u"Milk, "_s);
    desk.click(u"spdDiary"_s);
    desk.click(u"spdNotes"_s);
    QVERIFY(desk.child<QTextEdit>(u"rchNotes"_s)->toPlainText().startsWith(u"Milk, "_s));
}

void TestMainWindow::closeDropsCompletedTasksWhenAsked() {
    const QByteArray tasks = "20240302\xffY\xff"
                             "2\xff"
                             "Book The Holiday\r\n"
                             "20240301\xffN\xff"
                             "1\xff"
                             "Pay The Gas Bill\r\nShort\r\n";
    for (const bool deleteTasks : {false, true}) {
        Desk desk;
        WriteBytes(desk.services.path(u"Tasks.Qmt"_s), tasks);
        desk.services.settings.m_values[u"Delete Tasks"_s] = deleteTasks ? u"1"_s : u"0"_s;
        QVERIFY(desk.start());
        QVERIFY(desk.window->close());
        QCOMPARE(ReadBytes(desk.services.path(u"Tasks.Qmt"_s)),
                 deleteTasks ? TestData(u"linefiles/tasks_open_only.qmt"_s) : tasks);
    }
}

// Settings that cannot be written are reported and never shown as saved. A
// view choice that cannot be stored still shows, is reported once in a run
// (not at every click) and never keeps the user on a page; the close-down
// still drops the completed tasks.
void TestMainWindow::settingsThatCannotBeStored() {
    Desk desk;
    const QByteArray open = "20240301\xffN\xff"
                            "1\xffPay The Gas Bill\r\n";
    WriteBytes(desk.services.path(u"Tasks.Qmt"_s), "20240302\xffY\xffN\xff"
                                                   "Book The Holiday\r\n" +
                                                       open);
    WriteBytes(desk.services.path(u"Address.Qmt"_s), TestData(u"address/e2e_two.qmt"_s));
    desk.services.settings.m_values[u"Delete Tasks"_s] = u"1"_s;
    QVERIFY(desk.start());
    desk.window->show();
    qm::ResetViewChoiceReportForTesting();
    desk.services.settings.fail = true;
    const auto &messages = desk.services.prompter.messages;

    desk.click(u"spdTasks"_s);
    auto *list = desk.child<QListView>(u"lstAppoints"_s);
    QCOMPARE(list->model()->rowCount(), 2);
    desk.click(u"chkComplete"_s);
    QCOMPARE(list->model()->rowCount(), 1);
    QCOMPARE(messages.size(), 1);
    QCOMPARE(messages[0].kind, int(qm::MessageKind::Error));
    QVERIFY2(messages[0].text.contains(u"Quillmate.conf"_s), qPrintable(messages[0].text));
    desk.click(u"spdAddress"_s);
    QCOMPARE(desk.active(), u"tabAddress"_s);
    desk.click(u"optPersonal"_s);
    QCOMPARE(desk.child<QTableView>(u"grdAddress"_s)->model()->rowCount(), 1);
    QCOMPARE(messages.size(), 1);

    desk.click(u"spdConfig"_s);
    clickChoice(desk, u"chkMinimize"_s);
    desk.click(u"cmdConfigSave"_s);
    QCOMPARE(messages.size(), 2);
    QCOMPARE(messages[1].kind, int(qm::MessageKind::Error));
    clickChoice(desk, u"chkMinimize"_s);
    desk.click(u"spdDiary"_s);
    QCOMPARE(desk.active(), u"tabDiary"_s);

    QVERIFY(desk.window->close());
    QCOMPARE(messages.size(), 3);
    QCOMPARE(ReadBytes(desk.services.path(u"Tasks.Qmt"_s)), open);
}

void TestMainWindow::tasksAndOccasionsKeptOverRestart() {
    Desk desk;
    QVERIFY(desk.start());
    desk.window->show();
    QVERIFY(QTest::qWaitForWindowExposed(desk.window.get()));
    desk.services.prompter.modalHandler = [](QDialog &form) {
        form.show();
        // The task's date comes from the date picker, which opens on today.
        if (form.objectName() == u"frmCalendar"_s) {
            QTest::mouseClick(form.findChild<QPushButton *>(u"cmdSelect"_s), Qt::LeftButton);
            return form.result();
        }
        if (auto *picker = form.findChild<QToolButton *>(u"spdFromDate"_s))
            QTest::mouseClick(picker, Qt::LeftButton);
        form.findChild<QLineEdit *>(u"txtDescription"_s)->setText(u"Pay The Gas Bill"_s);
        if (auto *date = form.findChild<QLineEdit *>(u"txtDate"_s))
            date->setText(u"06/05"_s);
        QTest::mouseClick(form.findChild<QPushButton *>(u"cmdUpdate"_s), Qt::LeftButton);
        return form.result();
    };
    const auto listed = [&desk](const QString &view) {
        desk.click(view);
        auto *model = desk.child<QListView>(u"lstAppoints"_s)->model();
        QStringList rows;
        for (int row = 0; row < model->rowCount(); ++row)
            rows << model->index(row, 0).data().toString();
        return rows;
    };
    listed(u"spdTasks"_s);
    desk.click(u"cmdDiaryAdd"_s);
    listed(u"spdBirthdays"_s);
    desk.click(u"cmdDiaryAdd"_s);
    QVERIFY(desk.window->close());

    desk.window.reset();
    QVERIFY(desk.start());
    desk.window->show();
    QVERIFY(QTest::qWaitForWindowExposed(desk.window.get()));
    QCOMPARE(listed(u"spdTasks"_s), QStringList{u"Pay The Gas Bill"_s});
    QVERIFY(ReadBytes(desk.services.path(u"Tasks.Qmt"_s)).startsWith("20240315\xffN\xffN\xff"));
    QCOMPARE(listed(u"spdBirthdays"_s).mid(0, 2),
             (QStringList{u"6th May"_s, u"    Pay The Gas Bill"_s}));
}

// A user adds two contacts, finds one by typing, edits it and deletes both,
// all by keyboard where a user would use it; the file after each step.
void TestMainWindow::addressBookEndToEnd() {
    Desk desk;
    QVERIFY(desk.start());
    desk.window->show();
    QVERIFY(QTest::qWaitForWindowExposed(desk.window.get()));
    desk.click(u"spdAddress"_s);
    QCOMPARE(desk.window->windowTitle(), u"Quillmate - Address Book"_s);
    auto *locate = desk.child<QLineEdit>(u"txtLocate"_s);
    QCOMPARE(QApplication::focusWidget(), locate);
    QVERIFY(!desk.child(u"cmdNameEdit"_s)->isEnabled());
    const QString path = desk.services.path(u"Address.Qmt"_s);

    // Each entry: the field and what is typed into it; Enter saves.
    using Typing = QList<std::pair<QString, QString>>;
    const auto typeAndSave = [&desk](const Typing &typing) {
        desk.services.prompter.modalHandler = [typing](QDialog &form) {
            form.show();
            QApplication::setActiveWindow(&form);
            if (!QTest::qWaitForWindowActive(&form))
                return int(QDialog::Rejected);
            for (const auto &[name, text] : typing) {
                auto *field = form.findChild<QWidget *>(name);
                if (auto *box = qobject_cast<QAbstractButton *>(field)) {
                    QTest::mouseClick(box, Qt::LeftButton);
                    continue;
                }
                field->setFocus(Qt::TabFocusReason);
                if (auto *line = qobject_cast<QLineEdit *>(field))
                    line->selectAll();
                QTest::keyClicks(field, text);
            }
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
            return form.result();
        };
    };
    typeAndSave({{u"optBusiness"_s, {}},
                 {u"txtCompany"_s, u"Zenith Ltd"_s},
                 {u"txtSurname"_s, u"Young"_s},
                 {u"txtForename"_s, u"Ian"_s},
                 {u"cboTitle"_s, u"dr"_s},
                 {u"txtAdd1"_s, u"1 Quay"_s},
                 {u"txtAdd2"_s, u"Hull"_s},
                 {u"txtPostcode"_s, u"hu1 1aa"_s},
                 {u"txtTelNo"_s, u"0113 496 0000"_s}});
    desk.click(u"cmdNameAdd"_s);
    QCOMPARE(ReadBytes(path), TestData(u"address/e2e_one.qmt"_s));
    // Enter in the title saves too, with the title as leaving it would.
    typeAndSave({{u"txtSurname"_s, u"Adams"_s},
                 {u"txtForename"_s, u"Ann"_s},
                 {u"txtEmail"_s, u"ann@example.com"_s},
                 {u"txtTelNo"_s, u"01904 555000"_s},
                 {u"txtBirthday"_s, u"07031961"_s},
                 {u"cboTitle"_s, u"mrs"_s}});
    desk.click(u"cmdNameAdd"_s);
    QCOMPARE(ReadBytes(path), TestData(u"address/e2e_two.qmt"_s));
    QCOMPARE(ReadBytes(desk.services.path(u"NextKey.Qmt"_s)), "302\r\n"_ba);

    // In company order Adams (no company) comes first; typing finds Zenith,
    // and Enter in the search box edits it.
    QTest::keyClicks(locate, u"ze"_s);
    auto *address = qobject_cast<qm::AddressPage *>(desk.window->activePage());
    QVERIFY(address);
    QCOMPARE(address->selectedRow(), 1);
    typeAndSave({{u"txtTelNo"_s, u"0113 496 0001"_s}});
    QTest::keyClick(locate, Qt::Key_Return);
    QCOMPARE(ReadBytes(path), TestData(u"address/e2e_edited.qmt"_s));
    QCOMPARE(locate->text(), QString());
    QCOMPARE(address->selectedRow(), 1);

    QTest::keyClick(locate, Qt::Key_Up);
    desk.click(u"cmdNameDelete"_s);
    QCOMPARE(ReadBytes(path), TestData(u"address/e2e_deleted.qmt"_s));
    desk.click(u"cmdNameDelete"_s);
    QVERIFY(!QFile::exists(path));
    QVERIFY(!desk.child(u"cmdNameEdit"_s)->isEnabled());
    QCOMPARE(desk.services.prompter.messages.size(), 2);
}

void TestMainWindow::minimiseToTrayAndBack() {
    Desk desk;
    QVERIFY(desk.start());
    desk.window->show();
    QVERIFY(QTest::qWaitForWindowExposed(desk.window.get()));
    desk.window->showMinimized();
    QVERIFY(desk.tray.shown);
    QCOMPARE(desk.tray.lastTip, u"Quillmate"_s);
    QVERIFY(desk.window->MinimisedByApplication);
    QTRY_VERIFY(!desk.window->isVisible());
    // Reminders go on while the window is in the tray.
    QVERIFY(desk.window->timAlarm.isActive());

    auto *menu = desk.tray.lastMenu;
    QVERIFY(menu);
    QCOMPARE(menu->actions().size(), 2);
    QCOMPARE(menu->actions()[0]->text(), u"&Show Quillmate"_s);
    QCOMPARE(menu->actions()[1]->text(), u"Close Quillmate"_s);
    menu->actions()[0]->trigger();
    QVERIFY(desk.window->isVisible());
    QVERIFY(!desk.window->isMinimized());
    QVERIFY(!desk.tray.shown);
}

void TestMainWindow::minimiseAtStartUp() {
    Desk desk;
    desk.services.settings.m_values[u"Minimize At Start-Up"_s] = u"1"_s;
    QVERIFY(desk.start());
    QVERIFY(desk.window->timHide.isActive());
    desk.window->show();
    QTRY_VERIFY(!desk.window->isVisible());
    QVERIFY(!desk.window->timHide.isActive());
    QVERIFY(desk.tray.shown);
    QVERIFY(!desk.window->MinimisedByApplication);
    desk.tray.click();
    QVERIFY(desk.window->isVisible());
    QVERIFY(!desk.tray.shown);
}

// Where the desktop has no notification area the window must not vanish with
// no way back: it is minimised the ordinary way.
void TestMainWindow::withoutNotificationAreaMinimiseNormally() {
    Desk desk;
    desk.tray.available = false;
    desk.services.settings.m_values[u"Minimize At Start-Up"_s] = u"1"_s;
    QVERIFY(desk.start());
    desk.window->show();
    QTRY_VERIFY(!desk.window->timHide.isActive());
    QVERIFY(desk.window->isVisible());
    QVERIFY(desk.window->isMinimized());
    QVERIFY(!desk.tray.shown);
    desk.window->showNormal();
    desk.window->showMinimized();
    QTest::qWait(0);
    QVERIFY(desk.window->isVisible());
    QVERIFY(!desk.tray.shown);
}

void TestMainWindow::trayCloseRefusedLeavesWindowWithoutIcon() {
    Desk desk;
    QVERIFY(desk.start());
    desk.window->show();
    desk.scripted[u"tabNotes"_s]->unsaved = true;
    desk.window->showMinimized();
    QTRY_VERIFY(!desk.window->isVisible());
    desk.services.prompter.answers = {int(qm::MessageResult::No)};
    desk.tray.lastMenu->actions()[1]->trigger();
    QCOMPARE(desk.services.prompter.messages.size(), 1);
    QVERIFY(desk.window->isVisible());
    QVERIFY(!desk.window->isMinimized());
    QVERIFY(!desk.tray.shown);
}

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"

// The splash shows its version while start-up holds it, and the hold keeps
// the event loop turning: the timer below runs during it, and only it moves
// the clock the hold waits for.
void TestMainWindow::splashHeldWhileTheLoopRuns() {
    Desk desk;
    desk.services.settings.m_values[u"Show Welcome"_s] = u"0"_s;
    desk.create();
    desk.window->SplashHold = 3;
    QString version;
    QTimer watch;
    watch.setInterval(10);
    QObject::connect(&watch, &QTimer::timeout, [&] {
        for (QWidget *w : QApplication::topLevelWidgets())
            if (w->objectName() == u"frmSplash"_s && w->isVisible()) {
                // Every tick while the splash is up moves the clock on, so the
                // hold ends whenever it began counting.
                version = w->findChild<QLabel *>(u"lblVersion"_s)->text();
                desk.services.clock.advanceMs(2592);
            }
    });
    watch.start();
    QVERIFY(desk.start());
    QCOMPARE(version, u"Version : 2.0a"_s);
    for (QWidget *w : QApplication::topLevelWidgets())
        QVERIFY(w->objectName() != u"frmSplash"_s || !w->isVisible());
    QCOMPARE(desk.active(), u"tabDiary"_s);
}

void TestMainWindow::welcomeAtStartUp_data() {
    QTest::addColumn<QString>("stored"); // "Show Welcome"; empty: none stored
    QTest::addColumn<bool>("shown");
    QTest::newRow("first start") << QString() << true;
    QTest::newRow("asked to ask again") << u"1"_s << true;
    QTest::newRow("answered") << u"0"_s << false;
}

// While "Show Welcome" is on the welcome screen follows start-up, over the
// starting page; the choice made in it is the screen's own (see its tests).
void TestMainWindow::welcomeAtStartUp() {
    QFETCH(QString, stored);
    QFETCH(bool, shown);
    Desk desk;
    if (!stored.isEmpty())
        desk.services.settings.m_values[u"Show Welcome"_s] = stored;
    QString seen;
    desk.services.prompter.modalHandler = [&](QDialog &form) {
        seen = form.objectName() + u" over "_s + desk.active();
        QTest::mouseClick(form.findChild<QRadioButton *>(u"optAgain"_s), Qt::LeftButton, {},
                          QPoint(8, 8));
        form.show();
        QTest::keyClick(&form, Qt::Key_Return);
        return form.result();
    };
    QVERIFY(desk.start());
    QCOMPARE(seen, shown ? u"frmWelcome over tabDiary"_s : QString());
    QVERIFY(desk.window->FirstShowDone);
}

// About Us leaves the page first; the screen shows the version and the date
// the program file was made, and closes with Esc.
void TestMainWindow::aboutUs() {
    Desk desk;
    desk.services.settings.m_values[u"Show Welcome"_s] = u"0"_s;
    QVERIFY(desk.start());
    const QString program = desk.services.path(u"quillmate"_s);
    WriteBytes(program, "program");
    {
        QFile file(program);
        QVERIFY(file.open(QIODevice::ReadWrite));
        QVERIFY(file.setFileTime(QDateTime(QDate(2000, 3, 20), QTime(23, 30)),
                                 QFileDevice::FileModificationTime));
    }
    desk.window->ExecutablePath = program;
    QStringList seen;
    desk.services.prompter.modalHandler = [&](QDialog &form) {
        form.show();
        QWidget *focus = form.focusWidget();
        seen << form.windowTitle() << form.findChild<QLabel *>(u"lblVersion"_s)->text()
             << (focus ? focus->objectName() : QString());
        QTest::keyClick(&form, Qt::Key_Escape);
        seen << (form.isVisible() ? u"open"_s : u"closed"_s);
        return form.result();
    };

    // A page that may not be left keeps the user there, and no screen opens.
    desk.click(u"spdNotes"_s);
    desk.scripted[u"tabNotes"_s]->reasons = u"Notes Are Busy\r"_s;
    desk.click(u"cmdAboutUs"_s);
    QCOMPARE(desk.services.prompter.modalRuns, 0);
    QCOMPARE(desk.services.prompter.messages.size(), 1);
    QVERIFY(desk.services.prompter.messages[0].text.contains(u"Notes Are Busy"_s));

    desk.scripted[u"tabNotes"_s]->reasons.clear();
    desk.click(u"cmdAboutUs"_s);
    QCOMPARE(desk.scripted[u"tabNotes"_s]->saves, 1);
    QCOMPARE(seen, (QStringList{u"About Us"_s, u"Version : 2.0a.  Built : 20th March 2000"_s,
                                u"cmdAboutClose"_s, u"closed"_s}));
    QCOMPARE(desk.active(), u"tabNotes"_s);
}

void TestMainWindow::makerLinks_data() {
    QTest::addColumn<QString>("control");
    QTest::addColumn<bool>("opens");
    QTest::addColumn<QString>("address");
    QTest::addColumn<QString>("message"); // when the desktop refuses

    const QString browser = u"Unable To Launch An Internet Browser"_s;
    const QString mail = u"Unable To Launch Your Email Client\r\rCannot Send Email"_s;
    for (const bool opens : {true, false}) {
        const char *how = opens ? "" : ", refused";
        QTest::addRow("web site%s", how)
            << u"lblWebsite"_s << opens << u"https://www.varnellsoftware.example"_s << browser;
        QTest::addRow("donate%s", how)
            << u"cmdDonate"_s << opens << u"https://www.varnellsoftware.example/donate.html"_s
            << browser;
        QTest::addRow("mail%s", how)
            << u"lblMail"_s << opens << u"mailto:info@varnellsoftware.example"_s << mail;
    }
}

void TestMainWindow::makerLinks() {
    QFETCH(QString, control);
    QFETCH(bool, opens);
    QFETCH(QString, address);
    QFETCH(QString, message);
    Desk desk;
    desk.services.settings.m_values[u"Show Welcome"_s] = u"0"_s;
    QVERIFY(desk.start());
    desk.services.shell.answer = opens;
    desk.click(control);
    QCOMPARE(desk.services.shell.opened, QStringList{address});
    QCOMPARE(desk.services.prompter.messages.size(), opens ? 0 : 1);
    if (!opens) {
        QCOMPARE(desk.services.prompter.messages[0].text, message);
        QCOMPARE(desk.services.prompter.messages[0].kind, int(qm::MessageKind::Error));
    }
}

void TestMainWindow::helpOpensAtTheScreenInUse_data() {
    QTest::addColumn<QString>("button"); // pressed before F1; empty: none
    QTest::addColumn<QString>("form");   // F1 pressed in this form; empty: the main window
    QTest::addColumn<QString>("page");

    QTest::newRow("day view") << QString() << QString() << u"DiaryViews"_s;
    QTest::newRow("task view") << u"spdTasks"_s << QString() << u"Tasks"_s;
    QTest::newRow("occasions") << u"spdBirthdays"_s << QString() << u"Occasions"_s;
    QTest::newRow("address page") << u"spdAddress"_s << QString() << u"AddressBook"_s;
    QTest::newRow("config page") << u"spdConfig"_s << QString() << u"Configuration"_s;
    QTest::newRow("appointment editor")
        << u"cmdDiaryAdd"_s << u"frmAppointment"_s << u"AppointmentEditor"_s;
    // A picker belongs to the form it was opened from.
    QTest::newRow("date picker in the editor")
        << u"cmdDiaryAdd"_s << u"frmCalendar"_s << u"AppointmentEditor"_s;
    QTest::newRow("task editor") << u"spdTasks cmdDiaryAdd"_s << u"frmTaskMaint"_s << u"Tasks"_s;
}

// F1 opens the help at the topic of the screen in use, modal forms included.
void TestMainWindow::helpOpensAtTheScreenInUse() {
    QFETCH(QString, button);
    QFETCH(QString, form);
    QFETCH(QString, page);
    Desk desk;
    desk.services.settings.m_values[u"Show Welcome"_s] = u"0"_s;
    QVERIFY(desk.start());
    desk.window->show();
    QUrl shown;
    desk.services.prompter.modalHandler = [&](QDialog &dialog) {
        dialog.show();
        if (dialog.objectName() == form) {
            PressF1(&dialog);
            if (qm::HelpWindow *help = desk.window->helpWindow())
                shown = help->page();
        } else if (auto *picker = dialog.findChild<QToolButton *>(u"spdSelDate"_s)) {
            QTest::mouseClick(picker, Qt::LeftButton);
        }
        dialog.reject();
        return int(QDialog::Rejected);
    };
    for (const QString &name : button.split(u' ', Qt::SkipEmptyParts))
        desk.click(name);
    if (form.isEmpty()) {
        PressF1(desk.window.get());
        shown = desk.window->helpWindow()->page();
    }
    QCOMPARE(shown, QUrl(u"qrc:/help/"_s + page + u".html"_s));
}
