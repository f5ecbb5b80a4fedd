#include "shell/ui/TfrmMain.h"

#include "address/ui/AddressPage.h"
#include "alarms/ui/AlarmsPage.h"
#include "calculator/ui/CalculatorPage.h"
#include "diary/ui/DiaryPage.h"
#include "diary/ui/Reminders.h"
#include "diary/ui/TfrmCalendar.h"
#include "diary/ui/TfrmSelTime.h"
#include "foundation/BusyScope.h"
#include "foundation/ColourScheme.h"
#include "foundation/Dates.h"
#include "foundation/LineFiles.h"
#include "foundation/Program.h"
#include "foundation/RecordFile.h"
#include "foundation/Settings.h"
#include "foundation/StartUpFiles.h"
#include "foundation/Text.h"
#include "foundation/ui/Controls.h"
#include "foundation/ui/ErrorReport.h"
#include "foundation/ui/FormParts.h"
#include "foundation/ui/FormSnapshot.h"
#include "foundation/ui/HelpTopics.h"
#include "foundation/ui/MailTo.h"
#include "foundation/ui/MsgBox.h"
#include "foundation/ui/Page.h"
#include "foundation/ui/Styling.h"
#include "foundation/ui/SvgPicture.h"
#include "notes/ui/NotesPage.h"
#include "platform/Clock.h"
#include "platform/Prompter.h"
#include "platform/ScreenMetrics.h"
#include "platform/Services.h"
#include "platform/Shell.h"
#include "platform/ui/TrayIcon.h"
#include "shell/Maker.h"
#include "shell/MakerLinks.h"
#include "shell/StartUpRules.h"
#include "shell/ui/ConfigPage.h"
#include "shell/ui/HelpWindow.h"
#include "shell/ui/LoginPage.h"
#include "shell/ui/SmallButtonImages.h"
#include "shell/ui/TfrmAboutUs.h"
#include "shell/ui/TfrmSplash.h"
#include "shell/ui/TfrmWelcome.h"
#include "sync/ui/SyncController.h"
#include "tasks/Tasks.h"
#include "tasks/ui/OccasionRowSource.h"
#include "tasks/ui/TaskRowSource.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QFile>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLabel>
#include <QLocale>
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>
#include <QScopeGuard>
#include <QSessionManager>
#include <QShortcut>
#include <QStackedWidget>
#include <QToolButton>

using namespace Qt::StringLiterals;

namespace qm {

namespace {

constexpr int MenuWidth = TfrmMain::ClientWidth - Page::Width;
constexpr int MenuRowHeight = Page::Height / 6;
constexpr int MenuButtonSize = 48;
constexpr int MenuIconSize = 40;

const QColor MenuPanelColour(0x4f, 0x6d, 0x9a);
const QColor HintPanelColour(0xff, 0xff, 0xe8);
const QColor Navy(0, 0, 0x80);

// The short part of a hint ("short|long").
QString ShortHint(const QString &hint) {
    return hint.section(u'|', 0, 0);
}

// A caption that works as a button: a menu caption does what its menu button
// does, a link opens what it names.
class ClickLabel final : public QLabel {
public:
    ClickLabel(QWidget *parent, std::function<void()> onClick)
        : QLabel(parent), m_onClick(std::move(onClick)) {}

protected:
    void mouseReleaseEvent(QMouseEvent *event) override {
        if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
            RunReported(m_onClick);
        QLabel::mouseReleaseEvent(event);
    }

private:
    std::function<void()> m_onClick;
};

QIcon MenuIcon(const QString &name) {
    return SvgIcon(u":/shell/menu_"_s + name + u".svg"_s, QSize(MenuIconSize, MenuIconSize));
}

} // namespace

TfrmMain::TfrmMain(TrayIcon *tray, const PageFactory &factory, QWidget *parent)
    : QWidget(parent, Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint),
      m_tray(tray) {
    // The diary is read while the window is put together: on a large diary
    // the reading is the longest single step of start-up, and it needs
    // nothing of the window. Start-up takes the lines at its own step.
    const QString diary = dataFile(DiaryFileName);
    if (QFile::exists(diary))
        m_diaryLines = std::async(std::launch::async, [diary] { return LoadLineFile(diary); });
    setObjectName(u"frmMain"_s);
    setWindowTitle(ProgramTitle());
    setWindowIcon(SvgIcon(u":/shell/quillmate.svg"_s, {16, 32, 48}));
    // The pictures of the buttons, for every form styled while the window lives.
    new SmallButtonImages(this);
    setFixedSize(ClientWidth, ClientHeight);
    ExecutablePath = QCoreApplication::applicationFilePath();
    if (!m_tray) {
        m_ownTray = std::make_unique<SystemTrayIcon>();
        m_tray = m_ownTray.get();
    }

    m_pages = new QStackedWidget(this);
    m_pages->setObjectName(u"pgcDesk"_s);
    m_pages->setGeometry(MenuWidth, 0, Page::Width, Page::Height);

    const struct {
        QString name, page, suffix;
    } table[] = {
        {u"Diary"_s, u"tabDiary"_s, u" - Diary & Task List"_s},
        {u"Notes"_s, u"tabNotes"_s, u" - Notes"_s},
        {u"Alarms"_s, u"tabAlarms"_s, u" - Alarm Clock"_s},
        {u"Calculator"_s, u"tabCalculator"_s, u" - Calculator"_s},
        {u"Address"_s, u"tabAddress"_s, u" - Address Book"_s},
        {u"Config"_s, u"tabConfig"_s, u" - Configuration"_s},
    };
    for (const auto &entry : table) {
        MenuRow row;
        row.name = entry.name;
        row.suffix = entry.suffix;
        row.page = makePage(factory, entry.page);
        m_rows.append(row);
    }
    m_diary = qobject_cast<DiaryPage *>(m_rows[0].page);
    m_notes = m_rows[1].page;
    m_notePad = qobject_cast<NotesPage *>(m_notes);
    m_alarms = m_rows[2].page;
    m_alarmClock = qobject_cast<AlarmsPage *>(m_alarms);
    m_calculator = qobject_cast<CalculatorPage *>(m_rows[3].page);
    m_address = m_rows[4].page;
    m_sync = new SyncController(this);
    m_sync->setWindow(this);
    connect(m_sync, &SyncController::recordsChanged, this, Reported([this] { reloadRecords(); }));
    connect(m_sync, &SyncController::status, this,
            [this](const QString &text) { showStatusLine(text); });
    if (auto *config = qobject_cast<ConfigPage *>(m_rows[5].page)) {
        config->setCurrentNoteFile(
            [this] { return m_notePad ? m_notePad->CurrentNoteFile() : QString(); });
        config->setLeavePage([this, config] { return LeavePage(config); });
        config->setSyncController(m_sync);
        connect(config, &ConfigPage::recordsImported, this, Reported([this] { reloadRecords(); }));
    }
    m_login = new LoginPage(m_pages);
    m_pages->addWidget(m_login);
    connect(m_login, &Page::closeRequested, this, [this] { close(); });
    connect(m_login, &LoginPage::loginAccepted, this, Reported([this] {
                m_menuPanel->setEnabled(true);
                ShowStartingScreen();
                // The reminders held while the program was locked come now.
                if (m_reminders) {
                    m_reminders->setLocked(false);
                    timAlarmTimer();
                }
            }));

    // No sync while the login page locks the program.
    m_sync->setHeld([this] { return !m_menuPanel->isEnabled(); });

    buildMenu();
    buildPageKeys();
    buildFooter();
    buildTray();
    connectAlarms();
    connectDiarySources();

    timAlarm.setObjectName(u"timAlarm"_s);
    timAlarm.setInterval(50000);
    connect(&timAlarm, &QTimer::timeout, this, Reported([this] { timAlarmTimer(); }));
    timTime.setObjectName(u"timTime"_s);
    timTime.setInterval(500);
    connect(&timTime, &QTimer::timeout, this, Reported([this] { timTimeTimer(); }));
    timHide.setObjectName(u"timHide"_s);
    timHide.setInterval(1);
    connect(&timHide, &QTimer::timeout, this, Reported([this] { timHideTimer(); }));

    // The system asking to end the logon runs the same close query.
    connect(qApp, &QGuiApplication::commitDataRequest, this, [this](QSessionManager &manager) {
        if (m_shutDown)
            return;
        if (!manager.allowsInteraction() || !FormCloseQuery()) {
            manager.cancel();
            return;
        }
        Shutdown();
    });
}

TfrmMain::~TfrmMain() {
    qApp->removeEventFilter(this);
    if (m_tray)
        m_tray->remove();
}

void TfrmMain::reloadRecords() {
    // The diary's lines are held in memory while the program runs; the
    // task, occasion and address views read their files each time.
    if (m_diary) {
        m_diary->store().loadFile();
        m_diary->RefreshDiaryView();
    }
}

void TfrmMain::connectAlarms() {
    if (m_diary) {
        m_reminders = new Reminders(m_diary->store(), this);
        connect(m_reminders, &Reminders::finished, this, [this] {
            if (std::exchange(m_restartAlarm, false) && !m_shutDown)
                timAlarm.start();
        });
        if (m_alarmClock)
            connect(m_reminders, &Reminders::alarmRemoved, m_alarmClock,
                    Reported([this](const QString &line) { m_alarmClock->alarmRemoved(line); }));
    }
    if (m_alarmClock)
        m_alarmClock->setTimePicker([this](QLabel *label, QLineEdit *timeField) {
            TfrmSelTime picker(label, timeField, this);
            prompter().runModal(picker);
        });
}

void TfrmMain::connectDiarySources() {
    m_taskRows = std::make_unique<TaskRowSource>([](QLabel *label, QLineEdit *dateField) {
        TfrmCalendar picker(label, dateField, label->window());
        prompter().runModal(picker);
    });
    m_occasionRows = std::make_unique<OccasionRowSource>();
    if (m_diary)
        m_diary->setRowSources(m_taskRows.get(), m_occasionRows.get());
}

Page *TfrmMain::makePage(const PageFactory &factory, const QString &name) {
    Page *page = factory ? factory(name, m_pages) : nullptr;
    if (!page) {
        if (name == u"tabDiary"_s)
            page = new DiaryPage(m_pages);
        else if (name == u"tabNotes"_s)
            page = new NotesPage(m_pages);
        else if (name == u"tabAlarms"_s)
            page = new AlarmsPage(m_pages);
        else if (name == u"tabCalculator"_s)
            page = new CalculatorPage(m_pages);
        else if (name == u"tabAddress"_s)
            page = new AddressPage(m_pages);
        else
            page = new ConfigPage(m_pages);
    }
    page->setObjectName(name);
    m_pages->addWidget(page);
    connect(page, &Page::closeRequested, this, [this] { close(); });
    return page;
}

void TfrmMain::buildPageKeys() {
    for (int row = 0; row < m_rows.size(); ++row) {
        auto *key = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key(Qt::Key_1 + row)), this);
        key->setObjectName(u"keyPage"_s + QString::number(row + 1));
        connect(key, &QShortcut::activated, this, Reported([this, row] { pageKeyPressed(row); }));
    }
}

void TfrmMain::buildMenu() {
    auto *panel = new QWidget(this);
    m_menuPanel = panel;
    panel->setObjectName(u"panMenu"_s);
    panel->setGeometry(0, 0, MenuWidth, Page::Height);
    panel->setAutoFillBackground(true);
    QPalette palette = panel->palette();
    palette.setColor(QPalette::Window, MenuPanelColour);
    panel->setPalette(palette);

    const QString captions[] = {u"Diary && Tasks"_s, u"Notes"_s,        u"Alarms"_s,
                                u"Calculator"_s,     u"Address Book"_s, u"Config"_s};
    const QString hints[] = {u"Show Diary And Task List"_s, u"Show Note Pad"_s,
                             u"Show Alarm Clock"_s,         u"Show Calculator"_s,
                             u"Show Address Book"_s,        u"Configure Quillmate"_s};
    const QString icons[] = {u"diary"_s,      u"notes"_s,   u"alarms"_s,
                             u"calculator"_s, u"address"_s, u"config"_s};

    m_down = new QToolButton(panel);
    m_down->setObjectName(u"spdDown"_s);
    m_down->setCheckable(true);
    m_down->setChecked(true);
    m_down->setIconSize(QSize(MenuIconSize, MenuIconSize));
    m_down->setFocusPolicy(Qt::NoFocus);
    m_down->setStyleSheet(u"QToolButton { border: 2px inset #2b3f5e; border-radius: 6px;"
                          " background: #dfe7f5; }"_s);
    m_down->hide();

    QList<QWidget *> captionControls;
    for (int i = 0; i < m_rows.size(); ++i) {
        MenuRow &row = m_rows[i];
        const int top = i * MenuRowHeight;
        row.icon = MenuIcon(icons[i]);
        row.button = new QToolButton(panel);
        row.button->setObjectName(u"spd"_s + row.name);
        row.button->setIcon(row.icon);
        row.button->setIconSize(QSize(MenuIconSize, MenuIconSize));
        row.button->setAutoRaise(true);
        row.button->setToolTip(hints[i]);
        row.button->setGeometry((MenuWidth - MenuButtonSize) / 2, top + 4, MenuButtonSize,
                                MenuButtonSize);
        // The focus shows as a bright ring, clear on the button and the column.
        row.button->setStyleSheet(u"QToolButton { border: 2px outset #9fb3d3; border-radius: 6px;"
                                  " background: #eef2fa; }"
                                  " QToolButton:hover { background: #ffffff; }"
                                  " QToolButton:pressed { border-style: inset; }"
                                  " QToolButton:focus { border: 3px solid #ffb000; }"_s);
        connect(row.button, &QToolButton::clicked, this, Reported([this, i] { menuClick(i); }));

        row.label = new ClickLabel(panel, [this, i] { menuClick(i); });
        row.label->setObjectName(u"lbl"_s + row.name);
        // "&&" in a caption shows one "&".
        row.label->setText(QString(captions[i]).replace(u"&&"_s, u"&"_s));
        row.label->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
        row.label->setGeometry(0, top + 4 + MenuButtonSize + 1, MenuWidth, 14);
        row.label->setToolTip(hints[i]);
        row.label->setCursor(Qt::PointingHandCursor);
        QFont font(ButtonFontName, 8);
        font.setBold(true);
        row.label->setFont(font);
        captionControls.append(row.label);
    }
    // One size for all captions, small enough that none runs into the
    // column's edges.
    FitCaptionFont(captionControls);
    m_down->setGeometry(m_rows[0].button->geometry());
}

void TfrmMain::buildFooter() {
    m_hint = new QLabel(this);
    m_hint->setObjectName(u"panHint"_s);
    m_hint->setGeometry(4, Page::Height + 3, 392, 22);
    m_hint->setFrameShape(QFrame::Panel);
    m_hint->setFrameShadow(QFrame::Sunken);
    m_hint->setAutoFillBackground(true);
    m_hint->setIndent(4);
    QPalette palette = m_hint->palette();
    palette.setColor(QPalette::Window, HintPanelColour);
    palette.setColor(QPalette::WindowText, Navy);
    m_hint->setPalette(palette);

    auto *about = new QPushButton(u"About Us"_s, this);
    about->setObjectName(u"cmdAboutUs"_s);
    about->setToolTip(u"Show Information About Varnell Software Ltd."_s);
    about->setGeometry(400, Page::Height + 2, 84, 24);
    auto *donate = new QPushButton(u"Donate"_s, this);
    donate->setObjectName(u"cmdDonate"_s);
    donate->setToolTip(u"Donate Money To The Developers (Uses PayPal)"_s);
    donate->setGeometry(488, Page::Height + 2, 84, 24);
    connect(about, &QPushButton::clicked, this, Reported([this] { cmdAboutUsClick(); }));
    connect(donate, &QPushButton::clicked, this, Reported([this] { cmdDonateClick(); }));

    auto *footer = new QWidget(this);
    footer->setObjectName(u"panFooter"_s);
    footer->setGeometry(0, Page::Height + 29, ClientWidth, ClientHeight - Page::Height - 29);
    const QFont small(ButtonFontName, 7);
    auto *credit = new QLabel(
        u"Quillmate.  Developed By Varnell Software Ltd.  Press <F1> At Any Time For Help."_s,
        footer);
    credit->setObjectName(u"lblFooter"_s);
    credit->setTextFormat(Qt::PlainText);
    credit->setFont(small);
    credit->setGeometry(6, 0, 400, 14);
    m_date = new QLabel(footer);
    m_date->setObjectName(u"lblDate"_s);
    m_date->setFont(small);
    m_date->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    m_date->setGeometry(300, 13, ClientWidth - 306, 14);
    auto *website = new ClickLabel(footer, [this] { lblWebsiteClick(); });
    website->setText(WebSiteAddress());
    website->setObjectName(u"lblWebsite"_s);
    website->setToolTip(u"Click Here To Go To Our Web Site"_s);
    website->setFont(small);
    website->setGeometry(6, 13, 150, 14);
    auto *mail = new ClickLabel(footer, [this] { lblMailClick(); });
    mail->setText(InformationMailbox());
    mail->setObjectName(u"lblMail"_s);
    mail->setToolTip(u"Click Here To Send Us An Email"_s);
    mail->setFont(small);
    mail->setGeometry(160, 13, 150, 14);
    for (QLabel *link : {website, mail}) {
        QPalette linkPalette = link->palette();
        linkPalette.setColor(QPalette::WindowText, Navy);
        link->setPalette(linkPalette);
        QFont font = link->font();
        font.setUnderline(true);
        link->setFont(font);
        link->setCursor(Qt::PointingHandCursor);
    }
}

void TfrmMain::buildTray() {
    m_trayMenu = new QMenu(this);
    m_trayMenu->setObjectName(u"popTray"_s);
    QAction *show = m_trayMenu->addAction(u"&Show Quillmate"_s);
    show->setObjectName(u"mnuShow"_s);
    QAction *close = m_trayMenu->addAction(u"Close Quillmate"_s);
    close->setObjectName(u"mnuClose"_s);
    connect(show, &QAction::triggered, this, Reported([this] { mnuShowClick(); }));
    connect(close, &QAction::triggered, this, Reported([this] { mnuCloseClick(); }));
    connect(m_tray, &TrayIcon::leftClicked, this, Reported([this] { restore(); }));
}

Page *TfrmMain::activePage() const {
    return qobject_cast<Page *>(m_pages->currentWidget());
}

Page *TfrmMain::page(const QString &pageName) const {
    return m_pages->findChild<Page *>(pageName, Qt::FindDirectChildrenOnly);
}

int TfrmMain::rowOf(const Page *page) const {
    for (int i = 0; i < m_rows.size(); ++i)
        if (m_rows[i].page == page)
            return i;
    return -1;
}

bool TfrmMain::StartUp() {
    if (FirstShowDone)
        return true;
    return RunReported([this] { runStartUpSequence(); });
}

void TfrmMain::runStartUpSequence() {
    // Colour mode, colour scheme and the housekeeping files.
    PrepareDataFolder(ColourDepth());

    // Dates are always day first, with the system's own separator.
    const QString sep = DateSepFromShortFormat(QLocale::system().dateFormat(QLocale::ShortFormat));
    if (!sep.isEmpty())
        SetDateSep(sep.at(0));

    const QString warning = ScreenCheckMessage(screenMetrics().size(), ColourMode());
    if (!warning.isEmpty())
        ShowMessageBox(warning, MessageKind::Warning, MessageButtons::OK);

    const Settings settings(settingsStore());
    // What a killed save of the notes left beside their file (the data
    // folder's own leftovers went with PrepareDataFolder).
    if (const QString lastNotes = settings.lastNoteFile(); !IsBlank(lastNotes))
        RemoveUnfinishedSavesBeside(lastNotes);
    {
        // Busy from here until the first page is ready.
        BusyScope busy;
        // The splash is held without stopping the event loop, so it paints;
        // it closes once the first page is ready. Without a hold nobody
        // would see it: no splash is made.
        std::unique_ptr<TfrmSplash> splash;
        if (SplashHold > 0) {
            splash = std::make_unique<TfrmSplash>();
            splash->lblVersion()->setText(u"Version : "_s + ProgramVersion());
            CentreForm(splash.get());
            StyleForm(splash.get());
            splash->show();
            splash->repaint();
            Delay(SplashHold);
        }
        CentreForm(this);
        StyleForm(this);
        if (m_diary)
            m_diary->setRowHeight(screenMetrics().logicalDpi() > 96 ? 20 : 16);
        timAlarmTimer();
        // A calculator as freshly switched on, showing the system's decimal
        // separator.
        if (m_calculator) {
            const QString point = QLocale::system().decimalPoint();
            m_calculator->ResetCalculator(point.isEmpty() ? u'.' : point.at(0));
        }

        // Hints go to the hint bar the moment the mouse rests on a control;
        // the window sees typed keys before its controls.
        qApp->installEventFilter(this);

        if (m_diary && QFile::exists(dataFile(DiaryFileName))) {
            if (m_diaryLines.valid())
                m_diary->store().load(m_diaryLines.get());
            else
                m_diary->store().loadFile();
            m_diary->pressViewButton(settings.diaryPage());
            m_diary->setShowCompleted(settings.showCompleted());
        }

        if (settings.needPassword()) {
            // Nothing of the user's shows over the login page.
            if (m_reminders)
                m_reminders->setLocked(true);
            m_menuPanel->setEnabled(false);
            StoredPassword = ShiftDown(settings.password());
            m_login->prepare(StoredPassword, Greeting(clock().now().time()));
            ShowPage(m_login);
            m_login->focusTarget()->setFocus();
        } else {
            ShowStartingScreen();
        }
        if (splash)
            splash->close();
    }
    // Timed syncs start once the data they keep in step is loaded.
    m_sync->loadAccount();
    // The address book is made ready while the user looks at the first page.
    if (auto *address = qobject_cast<AddressPage *>(m_address))
        address->prepareView();
    if (settings.showWelcome()) {
        TfrmWelcome welcome(this);
        prompter().runModal(welcome);
    }
    FirstShowDone = true;
    if (settings.minimizeAtStartUp())
        timHide.start();
}

void TfrmMain::ShowStartingScreen() {
    {
        StartingUp = true;
        // A page that fails to show must not leave the leave checks switched off.
        const auto checksBack = qScopeGuard([this] { StartingUp = false; });
        const int row = StartingScreens().indexOf(Settings(settingsStore()).startingScreen());
        // The last note is read when the notes page is first shown: a large
        // note would hold up the start of every other page. That it is gone
        // is still said at the start.
        bool sayMissing = false;
        if (m_notePad && Settings(settingsStore()).openNotes()) {
            const QString lastNotes = Settings(settingsStore()).lastNoteFile();
            m_openNotesPending = !IsBlank(lastNotes) && QFileInfo::exists(lastNotes);
            sayMissing = !IsBlank(lastNotes) && !m_openNotesPending;
        }
        if (row >= 0)
            menuClick(row);
        if (sayMissing)
            m_notePad->OpenLastNoteFile();
    }
    if (m_diary)
        m_diary->RefreshDiaryView();
}

void TfrmMain::menuClick(int row) {
    if (!LeavePage(activePage()))
        return;
    if (auto *address = qobject_cast<AddressPage *>(m_rows[row].page))
        address->CurrentKey = -1;
    Page *target = m_rows[row].page;
    // Read while the page is hidden: laid out once when it is shown, not
    // again and again as the text comes in.
    if (target == m_notes && std::exchange(m_openNotesPending, false))
        m_notePad->OpenLastNoteFile();
    ShowPage(target);
    if (QWidget *focus = target->focusTarget())
        focus->setFocus();
}

void TfrmMain::pageKeyPressed(int row) {
    // The keys do what the menu does, and only what it allows: nothing while
    // the login page locks the program, nothing for the page on show.
    if (!m_menuPanel->isEnabled() || activePage() == m_rows[row].page)
        return;
    menuClick(row);
}

bool TfrmMain::LeavePage(Page *page) {
    if (StartingUp || !page)
        return true;
    const QString reasons = page->leaveReasons();
    if (!reasons.isEmpty()) {
        ShowCannotSave(reasons);
        return false;
    }
    page->leaveSave();
    return true;
}

void TfrmMain::ShowPage(Page *page) {
    const int current = rowOf(page);
    setWindowTitle(current >= 0 ? ProgramTitle() + m_rows[current].suffix : ProgramTitle());
    // A page is made when it is first shown, in the colours of the moment.
    if (page->ensureBuilt())
        StyleControls(page);
    page->showStep();
    if (page == m_alarms) {
        timTimeTimer();
        timTime.start();
    } else {
        timTime.stop();
    }

    m_down->hide();
    for (int i = 0; i < m_rows.size(); ++i) {
        MenuRow &row = m_rows[i];
        const bool enabled = i != current;
        row.button->setEnabled(enabled);
        QPalette palette = row.label->palette();
        palette.setColor(QPalette::WindowText, enabled ? Qt::white : Qt::black);
        // While the menu is locked (login) the captions look locked too.
        palette.setColor(QPalette::Disabled, QPalette::WindowText, QColor(0xb4, 0xc3, 0xdb));
        row.label->setPalette(palette);
        row.button->setVisible(enabled);
        if (!enabled) {
            // The current page's button looks pressed: the pressed picture
            // stands in its place.
            m_down->setGeometry(row.button->geometry());
            m_down->setIcon(row.icon);
            m_down->show();
        }
    }

    // Only the alarm page asks whether its entries changed since it was shown;
    // a snapshot of the whole window would copy every page, the note included.
    if (m_alarms)
        SnapshotForm(m_alarms);
    m_pages->setCurrentWidget(page);
}

bool TfrmMain::FormCloseQuery() {
    // The page on show is left as a page change leaves it: its checks with
    // their reasons, then what leaving it saves (the configuration, notes
    // bound to their file), so closing never throws away what a page change
    // would have kept. A refusal or a failed save stops the close. Unsaved
    // alarm times are asked about instead: they may be half typed.
    bool left = false;
    RunReported([this, &left] {
        Page *page = activePage();
        left = page == m_alarms || LeavePage(page);
    });
    if (!left)
        return false;
    const bool notes = m_notes && m_notes->hasUnsavedChanges();
    const bool alarms = m_alarms && m_alarms->hasUnsavedChanges();
    const QString question = CloseQuestion(notes, alarms);
    return question.isEmpty() || ConfirmDiscarding(question);
}

void TfrmMain::Shutdown() {
    if (m_shutDown)
        return;
    m_shutDown = true;
    // The settings are written even when the program never got past start-up.
    // Apart from the purge: settings that cannot be written must not keep the
    // completed tasks the user asked to drop.
    RunReported([this] {
        Settings settings(settingsStore());
        if (m_diary) {
            settings.setDiaryPage(m_diary->pressedViewName());
            settings.setShowCompleted(m_diary->showCompleted());
        }
    });
    RunReported([] {
        if (Settings(settingsStore()).deleteTasks())
            PurgeCompletedTasks();
    });
    timAlarm.stop();
    timTime.stop();
    m_sync->stop();
    QApplication::processEvents();
    m_tray->remove();
}

void TfrmMain::showEvent(QShowEvent *event) {
    QWidget::showEvent(event);
    if (!FirstShowDone && !StartUp()) {
        // Nothing was loaded: the program must not run on as if it had.
        QTimer::singleShot(0, qApp, [] { QApplication::exit(1); });
        return;
    }
    timAlarm.start();
}

void TfrmMain::closeEvent(QCloseEvent *event) {
    if (!m_shutDown && !FormCloseQuery()) {
        event->ignore();
        return;
    }
    Shutdown();
    event->accept();
    emit closed();
}

void TfrmMain::changeEvent(QEvent *event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange && isMinimized() && isVisible())
        RunReported([this] { FormMin(); });
}

void TfrmMain::FormMin() {
    // Without a notification area the window stays minimised in the task
    // bar: hiding it there would leave no way back.
    if (!m_tray->isAvailable())
        return;
    MinimisedByApplication = true;
    AddTrayIcon();
    // Deferred: hiding a window inside its own state change confuses some
    // window managers.
    QTimer::singleShot(0, this, [this] {
        if (isMinimized() && m_tray->isShown())
            hide();
    });
}

void TfrmMain::timHideTimer() {
    MinimisedByApplication = false;
    timHide.stop();
    if (!m_tray->isAvailable()) {
        showMinimized();
        return;
    }
    hide();
    AddTrayIcon();
}

void TfrmMain::AddTrayIcon() {
    setToolTip(ProgramTitle());
    m_tray->add(windowIcon(), ProgramTitle(), m_trayMenu);
}

void TfrmMain::restore() {
    setWindowState(windowState() & ~Qt::WindowMinimized);
    show();
    raise();
    activateWindow();
    m_tray->remove();
}

void TfrmMain::mnuShowClick() {
    restore();
}

void TfrmMain::mnuCloseClick() {
    m_tray->remove();
    QApplication::processEvents();
    restore();
    close();
}

void TfrmMain::bringForward() {
    restore();
}

void TfrmMain::timAlarmTimer() {
    // No tick while pop-ups are open; the next period starts when the last
    // one is closed (Reminders::finished). Whatever the check meets, a timer
    // that was running runs again.
    m_restartAlarm = m_restartAlarm || timAlarm.isActive();
    timAlarm.stop();
    const auto restart = qScopeGuard([this] {
        if ((!m_reminders || !m_reminders->checking()) && std::exchange(m_restartAlarm, false) &&
            !m_shutDown)
            timAlarm.start();
    });
    m_date->setText(LongDateText(DateToDisplay(clock().now().date()), true));
    if (m_reminders)
        m_reminders->check();
}

void TfrmMain::timTimeTimer() {
    if (!m_alarmClock)
        return;
    const QDateTime now = clock().now();
    if (m_alarmClock->clockTick(now.time()))
        m_date->setText(LongDateText(DateToDisplay(now.date()), true) + u"  "_s +
                        TimeToDisplay(now.time()));
}

void TfrmMain::showHintFor(QWidget *widget) {
    QString hint;
    for (QWidget *w = widget; w && hint.isEmpty(); w = w->parentWidget()) {
        // A hint the form keeps to itself leaves the bar empty.
        if (IsHintSilent(w))
            break;
        hint = w->toolTip();
        if (w->isWindow() && w != this)
            break;
    }
    hint = ShortHint(hint);
    if (hint.isEmpty() && !m_statusLine.isEmpty())
        return;
    m_statusLine.clear();
    m_hint->setText(hint);
}

void TfrmMain::showStatusLine(const QString &text) {
    m_statusLine = text;
    m_hint->setText(text);
}

void TfrmMain::openHelp(QWidget *widget) {
    // A form with no topic of its own (a message, a picker opened from a
    // page) is helped by the page behind it.
    std::optional<HelpTopic> topic = HelpTopicOf(widget);
    if (!topic && activePage())
        topic = HelpTopicOf(activePage());
    // Above an open modal form the help must belong to that form, or the
    // form would keep it from taking a click.
    QWidget *owner = QApplication::activeModalWidget();
    if (!owner || owner == m_help)
        owner = this;
    if (!m_help)
        m_help = new HelpWindow(owner);
    else if (m_help->parentWidget() != owner)
        m_help->setParent(owner, m_help->windowFlags());
    m_help->showTopic(topic.value_or(HelpTopic::Contents));
}

void TfrmMain::cmdAboutUsClick() {
    if (!LeavePage(activePage()))
        return;
    TfrmAboutUs about(this);
    about.lblVersion()->setText(AboutVersionText(QFileInfo(ExecutablePath).lastModified()));
    prompter().runModal(about);
}

void TfrmMain::OpenWebPage(const QString &address) {
    // The desktop finds the user's browser.
    if (!shell().openAddress(WebPageUrl(address)))
        ShowMessageBox(MakerText::BrowserFailed, MessageKind::Error, MessageButtons::OK);
}

void TfrmMain::lblWebsiteClick() {
    OpenWebPage(WebSiteAddress());
}

void TfrmMain::cmdDonateClick() {
    OpenWebPage(DonationPageAddress());
}

void TfrmMain::lblMailClick() {
    StartMailTo(InformationMailbox());
}

bool TfrmMain::eventFilter(QObject *watched, QEvent *event) {
    auto *widget = qobject_cast<QWidget *>(watched);
    switch (event->type()) {
    case QEvent::ToolTip:
        // Hints show in the hint bar, never as pop-up tips.
        return widget != nullptr;
    case QEvent::Enter:
        if (widget)
            showHintFor(widget);
        break;
    case QEvent::Leave:
        if (widget)
            showHintFor(widget->parentWidget());
        break;
    case QEvent::KeyPress:
        // A key is seen once, at the control that has the focus (or at a
        // window without one).
        if (widget && (widget == QApplication::focusWidget() ||
                       (!QApplication::focusWidget() && widget->isWindow()))) {
            auto *key = static_cast<QKeyEvent *>(event);
            // F1 helps in every window of the program, modal forms included.
            if (key->key() == Qt::Key_F1) {
                RunReported([this, widget] { openHelp(widget); });
                return true;
            }
            // The main window sees every key before its controls.
            if (widget->window() != this)
                break;
            // Every typed character, Enter and Backspace included, as the
            // character they type; the focused control still gets the key.
            QString text = key->text().left(1);
            if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter)
                text = u"\r"_s;
            else if (key->key() == Qt::Key_Backspace)
                text = u"\b"_s;
            if (!text.isEmpty())
                if (Page *page = activePage())
                    RunReported([page, text] { page->keyTyped(text); });
        }
        break;
    default:
        break;
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace qm
