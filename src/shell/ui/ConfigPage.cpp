#include "shell/ui/ConfigPage.h"

#include "exchange/ui/ExchangeDialogs.h"
#include "foundation/ColourScheme.h"
#include "foundation/Program.h"
#include "foundation/Settings.h"
#include "foundation/ui/Controls.h"
#include "foundation/ui/ErrorReport.h"
#include "foundation/ui/FormParts.h"
#include "foundation/ui/HelpTopics.h"
#include "foundation/ui/MsgBox.h"
#include "foundation/ui/Styling.h"
#include "platform/Services.h"
#include "platform/StartWithSystem.h"
#include "shell/ui/LoginPage.h"
#include "sync/ui/SyncAccountForm.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScopeGuard>

using namespace Qt::StringLiterals;

namespace qm {

namespace {

constexpr int Margin = 8;
constexpr int HalfWidth = (Page::Width - 3 * Margin) / 2;
constexpr int ChoicesHeight = 150;
constexpr int PasswordTop = Margin + ChoicesHeight + Margin;
constexpr int PasswordHeight = 62;
constexpr int OptionsTop = PasswordTop + PasswordHeight + Margin;
constexpr int OptionsHeight = 108;
constexpr int RowHeight = 22;

struct Choice {
    QString objectName, caption, value;
};

// The starting pages, by their "Starting Screen" values.
const Choice StartingChoices[] = {
    {u"optDiary"_s, u"Diary && Tasks"_s, u"Diary"_s},
    {u"optNotes"_s, u"Notes"_s, u"Notes"_s},
    {u"optAlarms"_s, u"Alarms"_s, u"Alarms"_s},
    {u"optCalculator"_s, u"Calculator"_s, u"Calculator"_s},
    {u"optAddress"_s, u"Address Book"_s, u"Address"_s},
};

const Choice ColourChoices[] = {
    {u"optClassic"_s, u"Quillmate Classic"_s, ClassicStyle},
    {u"optOrange"_s, u"Varnell Orange"_s, OrangeStyle},
    {u"optBlue"_s, u"Varnell Blue"_s, BlueStyle},
    {u"optGrey"_s, u"Gun Metal  Grey"_s, GreyStyle},
};

// A caption and its radio buttons, one per row, in a group of their own;
// each button carries its value.
QButtonGroup *makeChoices(QWidget *panel, const QString &caption, const auto &choices) {
    MakeLabel(panel, {}, caption, QRect(Margin, 6, HalfWidth - 2 * Margin, RowHeight));
    auto *group = new QButtonGroup(panel);
    int top = 6 + RowHeight + 2;
    for (const Choice &choice : choices) {
        auto *button = new QRadioButton(choice.caption, panel);
        button->setObjectName(choice.objectName);
        button->setProperty("value", choice.value);
        button->setGeometry(2 * Margin, top, HalfWidth - 3 * Margin, RowHeight);
        group->addButton(button);
        top += RowHeight;
    }
    return group;
}

// Checks the button whose value is value; none when no button has it.
void checkChoice(QButtonGroup *group, const QString &value) {
    group->setExclusive(false);
    for (QAbstractButton *button : group->buttons())
        button->setChecked(button->property("value").toString() == value);
    group->setExclusive(true);
}

QString checkedChoice(const QButtonGroup *group) {
    const QAbstractButton *button = group->checkedButton();
    return button ? button->property("value").toString() : QString();
}

QCheckBox *makeCheckBox(QWidget *panel, const QString &name, const QString &caption, QRect where) {
    auto *box = new QCheckBox(caption, panel);
    box->setObjectName(name);
    box->setGeometry(where);
    return box;
}

} // namespace

ConfigPage::ConfigPage(QWidget *parent) : Page(u"tabConfig"_s, parent) {
    SetHelpTopic(this, HelpTopic::Configuration);
}

void ConfigPage::setCurrentNoteFile(std::function<QString()> currentNoteFile) {
    m_currentNoteFile = std::move(currentNoteFile);
}

void ConfigPage::setLeavePage(std::function<bool()> leavePage) {
    m_leavePage = std::move(leavePage);
}

void ConfigPage::build() {
    QWidget *back = background();

    auto *startingPanel = new GradientPanel(back, 2);
    startingPanel->setObjectName(u"panStarting"_s);
    startingPanel->setDropShadow(true);
    startingPanel->setGeometry(Margin, Margin, HalfWidth, ChoicesHeight);
    m_starting = makeChoices(startingPanel, u"Starting Component :"_s, StartingChoices);

    auto *coloursPanel = new GradientPanel(back, 2);
    coloursPanel->setObjectName(u"panColours"_s);
    coloursPanel->setDropShadow(true);
    coloursPanel->setGeometry(2 * Margin + HalfWidth, Margin, HalfWidth, ChoicesHeight);
    m_colours = makeChoices(coloursPanel, u"Colour Style :"_s, ColourChoices);
    for (QAbstractButton *button : m_colours->buttons())
        connect(button, &QAbstractButton::clicked, this, Reported([this, button] {
                    colourStyleClick(button->property("value").toString());
                }));

    auto *passwordPanel = new GradientPanel(back, 3);
    passwordPanel->setObjectName(u"panPassword"_s);
    passwordPanel->setGeometry(Margin, PasswordTop, Width - 2 * Margin, PasswordHeight);
    m_needPassword = makeCheckBox(passwordPanel, u"chkPassword"_s, u"Password At Start-Up"_s,
                                  QRect(Margin, 6, 220, RowHeight));
    connect(m_needPassword, &QCheckBox::clicked, this, Reported([this] { chkPasswordClick(); }));
    m_passwordLabel =
        MakeLabel(passwordPanel, u"lblPassword"_s, u"Password"_s, QRect(2 * Margin, 32, 64, 22));
    m_password = MakeEdit(passwordPanel, u"txtPassword"_s, QRect(80, 32, 120, 22));
    m_retypeLabel = MakeLabel(passwordPanel, u"lblReType"_s, u"Re-Type"_s, QRect(224, 32, 56, 22));
    m_retype = MakeEdit(passwordPanel, u"txtReType"_s, QRect(280, 32, 120, 22));
    MakePasswordBox(m_password);
    MakePasswordBox(m_retype);

    auto *optionsPanel = new GradientPanel(back, 3);
    optionsPanel->setObjectName(u"panOptions"_s);
    optionsPanel->setGeometry(Margin, OptionsTop, Width - 2 * Margin, OptionsHeight);
    const struct {
        QCheckBox **box;
        QString name, caption;
    } options[] = {
        {&m_openNotes, u"chkOpenNotes"_s, u"Open Last Saved Notes At Start-Up"_s},
        {&m_deleteTasks, u"chkDelete"_s, u"Delete Completed Tasks At Close-Down"_s},
        {&m_runAtStartUp, u"chkRunAtStartUp"_s, u"Load When Windows Starts-Up"_s},
        {&m_minimize, u"chkMinimize"_s, u"Minimize At Start-Up"_s},
    };
    int top = 6;
    for (const auto &option : options) {
        *option.box = makeCheckBox(optionsPanel, option.name, option.caption,
                                   QRect(Margin, top, Width - 4 * Margin, RowHeight));
        top += RowHeight + 2;
    }

    QPushButton *save =
        MakeButton(back, u"cmdConfigSave"_s, u"&Save"_s, u"Save Configuration Settings"_s, 12);
    save->setGeometry(Margin, Height - 35, 75, 25);
    save->setDefault(true);
    save->setAutoDefault(true);
    connect(save, &QPushButton::clicked, this, Reported([this] { cmdConfigSaveClick(); }));
    addCloseButton(u"cmdConfigClose"_s)->setProperty(ImageIndexProperty, 6);

    // Beside Save, where a user looking for a way in or out of the program
    // finds them.
    const struct {
        QString name, caption, hint;
        void (ConfigPage::*click)();
    } exchange[] = {
        {u"cmdImport"_s, u"&Import..."_s,
         u"Import Appointments, Tasks, Birthdays And Contacts From iCalendar Or vCard Files"_s,
         &ConfigPage::cmdImportClick},
        {u"cmdExport"_s, u"&Export..."_s,
         u"Export The Diary, Tasks And Birthdays Or The Address Book To An iCalendar Or vCard "
         u"File"_s,
         &ConfigPage::cmdExportClick},
        {u"cmdSync"_s, u"S&ync..."_s,
         u"Keep The Diary, Tasks, Birthdays And Address Book In Step With A Calendar Server"_s,
         &ConfigPage::cmdSyncClick},
    };
    int left = save->geometry().right() + 1 + Margin;
    for (const auto &button : exchange) {
        if (button.click == &ConfigPage::cmdSyncClick && !m_sync)
            continue;
        QPushButton *made = MakeButton(back, button.name, button.caption, button.hint);
        made->setGeometry(left, Height - 35, 85, 25);
        connect(made, &QPushButton::clicked, this,
                Reported([this, click = button.click] { (this->*click)(); }));
        left += 85 + Margin;
    }
}

void ConfigPage::cmdImportClick() {
    const QStringList files = ChooseImportFiles(window());
    if (files.isEmpty())
        return;
    TfrmImport form(files, dataFolder(), window());
    prompter().runModal(form);
    if (form.RecordSaved())
        emit recordsImported();
}

void ConfigPage::cmdExportClick() {
    TfrmExport form(dataFolder(), window());
    prompter().runModal(form);
}

void ConfigPage::cmdSyncClick() {
    if (!m_sync)
        return;
    TfrmSyncAccount form(*m_sync, window());
    prompter().runModal(form);
}

void ConfigPage::keyPressEvent(QKeyEvent *event) {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        RunReported([this] { cmdConfigSaveClick(); });
        return;
    }
    Page::keyPressEvent(event);
}

QWidget *ConfigPage::focusTarget() {
    QAbstractButton *checked = m_starting->checkedButton();
    return checked ? checked : m_starting->buttons().first();
}

void ConfigPage::LoadConfigPage() {
    window()->setWindowTitle(ProgramTitle() + u" - Configuration"_s);
    checkChoice(m_colours, CurrentColourScheme().ColourStyle);
    const Configuration config = LoadConfiguration(Settings(settingsStore()), startWithSystem());
    checkChoice(m_starting, config.startingScreen);
    m_needPassword->setChecked(config.needPassword);
    chkPasswordClick();
    m_password->setText(config.password);
    m_retype->setText(config.password);
    m_openNotes->setChecked(config.openNotes);
    m_deleteTasks->setChecked(config.deleteTasks);
    m_minimize->setChecked(config.minimizeAtStartUp);
    m_runAtStartUp->setChecked(config.runAtStartUp);
    m_loaded = shownConfiguration();
}

void ConfigPage::chkPasswordClick() {
    const bool on = m_needPassword->isChecked();
    SetEditEnabled(m_password, on);
    SetEditEnabled(m_retype, on);
    m_passwordLabel->setEnabled(on);
    m_retypeLabel->setEnabled(on);
    if (!on) {
        m_password->clear();
        m_retype->clear();
    }
}

Configuration ConfigPage::shownConfiguration() const {
    Configuration config;
    config.startingScreen = checkedChoice(m_starting);
    config.needPassword = m_needPassword->isChecked();
    config.password = m_password->text();
    config.openNotes = m_openNotes->isChecked();
    config.deleteTasks = m_deleteTasks->isChecked();
    config.minimizeAtStartUp = m_minimize->isChecked();
    config.runAtStartUp = m_runAtStartUp->isChecked();
    return config;
}

QString ConfigPage::ValidateConfigPage() {
    if (!isBuilt())
        return {};
    return ValidateConfiguration(shownConfiguration(), m_retype->text());
}

void ConfigPage::SaveConfigPage() {
    if (!isBuilt())
        return;
    // An entry that could not be changed: the box goes back to what is
    // really stored. After a save it already shows that.
    auto showStored = qScopeGuard([this] { m_runAtStartUp->setChecked(startWithSystem().isOn()); });
    Settings settings(settingsStore());
    SaveConfiguration(settings, startWithSystem(), shownConfiguration(),
                      m_currentNoteFile ? m_currentNoteFile() : QString());
    showStored.dismiss();
    m_loaded = shownConfiguration();
}

void ConfigPage::leaveSave() {
    if (isBuilt() && ConfigurationToStore(shownConfiguration(), m_loaded, Settings(settingsStore()),
                                          m_currentNoteFile ? m_currentNoteFile() : QString()))
        SaveConfigPage();
}

void ConfigPage::cmdConfigSaveClick() {
    if (!m_leavePage())
        return;
    ShowMessageBox(u"Configuration Settings Saved"_s, MessageKind::Information, MessageButtons::OK);
}

void ConfigPage::colourStyleClick(const QString &style) {
    // A style lasts until the program ends. "Colours.Qmt" holds the user's own
    // colour values and is never rewritten: the next start shows its scheme.
    SetCurrentColourScheme(*NamedColourScheme(style));
    StyleForm(window());
}

} // namespace qm
