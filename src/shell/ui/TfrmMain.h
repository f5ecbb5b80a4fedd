#pragma once

#include "shell/ui/HelpWindow.h"

#include <QList>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <QTimer>
#include <QWidget>

#include <functional>
#include <future>
#include <memory>

class QLabel;
class QMenu;
class QAction;
class QStackedWidget;
class QToolButton;
class QPushButton;

namespace qm {

class AddressPage;
class AlarmsPage;
class CalculatorPage;
class DiaryPage;
class NotesPage;
class LoginPage;
class OccasionRowSource;
class Page;
class Reminders;
class SyncController;
class TaskRowSource;
class TrayIcon;

// The main window: the menu column, the page area, the footer with the date
// and the hint bar; page navigation, start-up, close-down and the tray.
class TfrmMain : public QWidget {
    Q_OBJECT
public:
    // Makes a page by its objectName ("tabDiary", ...); returning nullptr
    // gives the program's own page. Tests put their own pages in.
    using PageFactory = std::function<Page *(const QString &pageName, QWidget *parent)>;

    static constexpr int ClientWidth = 576;
    static constexpr int ClientHeight = 457;

    explicit TfrmMain(TrayIcon *tray = nullptr, const PageFactory &factory = {},
                      QWidget *parent = nullptr);
    ~TfrmMain() override;

    // The start-up sequence of the first showing. False when it failed (the
    // failure has been reported); the program must not go on with data it
    // could not load.
    bool StartUp();
    void ShowStartingScreen();

    // The page protocol.
    void ShowPage(Page *page);
    bool LeavePage(Page *page);
    Page *activePage() const;
    Page *page(const QString &pageName) const;

    // The menu buttons, by the page they show (the labels do the same).
    void menuClick(int row);
    // Ctrl+1 to Ctrl+6, the pages in menu order.
    void pageKeyPressed(int row);

    bool FormCloseQuery();
    void Shutdown();

    // Tray.
    void FormMin();
    void timHideTimer();
    void mnuShowClick();
    void mnuCloseClick();
    void AddTrayIcon();
    // Brings the window forward, from the tray if it is there (also asked for
    // by a second copy of the program).
    void bringForward();

    void timAlarmTimer();
    void timTimeTimer();

    // The links to the maker and the about screen.
    void cmdAboutUsClick();
    void lblWebsiteClick();
    void lblMailClick();
    void cmdDonateClick();
    void OpenWebPage(const QString &address);

    // Opens the help at the topic of the screen that holds widget (the one
    // with the focus when F1 was pressed).
    void openHelp(QWidget *widget);
    HelpWindow *helpWindow() const { return m_help; }
    SyncController &syncController() const { return *m_sync; }

    bool FirstShowDone = false;
    bool StartingUp = false;
    bool MinimisedByApplication = false;
    QString StoredPassword;
    // How long start-up holds the splash screen, in Delay() steps; the
    // program holds it for 3 (about 2.6 seconds). With 0 (a window made for
    // a test or a measurement) no splash is shown.
    int SplashHold = 0;
    // The program file whose date the about screen shows as its build date.
    QString ExecutablePath;

    QTimer timAlarm;
    QTimer timTime;
    QTimer timHide;

signals:
    // The window closed after the close query agreed: the program ends.
    void closed();

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void changeEvent(QEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    struct MenuRow {
        QString name;   // "Diary", also the "Starting Screen" value
        QString suffix; // of the caption
        Page *page = nullptr;
        QToolButton *button = nullptr;
        QLabel *label = nullptr;
        QIcon icon;
    };

    void buildMenu();
    void buildPageKeys();
    void buildFooter();
    void buildTray();
    void connectAlarms();
    void connectDiarySources();
    Page *makePage(const PageFactory &factory, const QString &name);
    int rowOf(const Page *page) const;
    void runStartUpSequence();
    void showHintFor(QWidget *widget);
    // A line of the program's own (how a sync went) in the hint bar, kept
    // there until a control's hint takes its place.
    void showStatusLine(const QString &text);
    // The record files were changed behind the pages' backs (an import, a
    // sync): what holds their lines reads them again.
    void reloadRecords();
    void restore();

    TrayIcon *m_tray = nullptr;
    std::unique_ptr<TrayIcon> m_ownTray;
    QStackedWidget *m_pages = nullptr;
    QList<MenuRow> m_rows;
    DiaryPage *m_diary = nullptr;
    Reminders *m_reminders = nullptr;
    // The task and occasion views of the diary list.
    std::unique_ptr<TaskRowSource> m_taskRows;
    std::unique_ptr<OccasionRowSource> m_occasionRows;
    LoginPage *m_login = nullptr;
    Page *m_notes = nullptr;
    Page *m_alarms = nullptr;
    AlarmsPage *m_alarmClock = nullptr; // the program's own alarm page
    CalculatorPage *m_calculator = nullptr;
    NotesPage *m_notePad = nullptr;
    Page *m_address = nullptr;
    QWidget *m_menuPanel = nullptr;
    QToolButton *m_down = nullptr;
    QLabel *m_hint = nullptr;
    QString m_statusLine;
    SyncController *m_sync = nullptr;
    QLabel *m_date = nullptr;
    QMenu *m_trayMenu = nullptr;
    QPointer<HelpWindow> m_help;
    // The lines of "Diary.Qmt", being read since the window was made.
    std::future<QStringList> m_diaryLines;
    bool m_shutDown = false;
    // "Open Notes" found a last note file at start-up, to be read when the
    // notes page is first shown.
    bool m_openNotesPending = false;
    // The reminder timer was running when a check stopped it: it runs again
    // when the check ends.
    bool m_restartAlarm = false;
};

} // namespace qm
