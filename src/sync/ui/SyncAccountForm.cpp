#include "sync/ui/SyncAccountForm.h"

#include "foundation/ui/ErrorReport.h"
#include "foundation/ui/FormParts.h"
#include "foundation/ui/FormSnapshot.h"
#include "foundation/ui/HelpTopics.h"
#include "foundation/ui/MsgBox.h"
#include "foundation/ui/Styling.h"
#include "sync/ui/SyncController.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>

using namespace Qt::StringLiterals;

namespace qm {

namespace {

constexpr int Margin = 10;
constexpr int RowHeight = 22;
constexpr int RowStep = 30;
constexpr int CaptionWidth = 110;
constexpr int ButtonHeight = 27;

const QString DoNotSync = u"(Do Not Sync)"_s;

// The server's address as typed, when it is one the program can use.
QUrl ServerUrl(const QString &text) {
    const QUrl url(text.trimmed(), QUrl::StrictMode);
    const QString scheme = url.scheme().toLower();
    if (!url.isValid() || url.host().isEmpty() || (scheme != u"http"_s && scheme != u"https"_s))
        return {};
    return url;
}

// "(Do Not Sync)" and then the collections; an address chosen before that
// is not among them stays on offer, so saving again never drops it. With
// none chosen yet the first found is offered: finding them is asking to sync.
void FillCollections(QComboBox *box, const QList<DavCollection> &collections, const QUrl &chosen) {
    box->clear();
    box->addItem(DoNotSync, QUrl());
    for (const DavCollection &collection : collections)
        box->addItem(collection.name, collection.url);
    if (!chosen.isValid() || chosen.isEmpty()) {
        box->setCurrentIndex(collections.isEmpty() ? 0 : 1);
    } else {
        int index = box->findData(chosen);
        if (index < 0) {
            box->addItem(chosen.adjusted(QUrl::StripTrailingSlash).fileName(), chosen);
            index = box->count() - 1;
        }
        box->setCurrentIndex(index);
    }
}

} // namespace

TfrmSyncAccount::TfrmSyncAccount(SyncController &controller, QWidget *parent)
    : EditorForm(u"frmSyncAccount"_s, u"Sync"_s, {460, 390}, parent), m_controller(controller) {
    SetHelpTopic(this, HelpTopic::Sync);
    // Holds no records, so a sync may write the record files while it is
    // open (and show how it ended here).
    setProperty("holdsNoRecords", true);
    buildControls();
    const SyncAccount &account = m_controller.account();
    txtSyncServer->setText(account.server.toString());
    txtSyncUser->setText(account.user);
    txtSyncPassword->setText(m_controller.sessionPassword());
    FillCollections(cboSyncCalendar, {}, account.calendar);
    FillCollections(cboSyncAddressBook, {}, account.addressBook);
    txtSyncEvery->setValue(account.intervalMinutes);
    workChanged(m_controller.busy());
    SnapshotForm(this);
}

TfrmSyncAccount::~TfrmSyncAccount() {
    // Nobody is left to show what a search finds. A sync goes on: the main
    // window's hint bar shows how it ends.
    if (m_finding)
        m_controller.cancel();
}

void TfrmSyncAccount::buildControls() {
    auto *panel = new GradientPanel(outerPanel(), 2);
    panel->setObjectName(u"panSync"_s);
    panel->setFrameShape(QFrame::StyledPanel);
    panel->setGeometry(Margin, Margin, width() - 2 * Margin, height() - 60);
    const int inner = panel->width() - 2 * Margin;
    const int fieldLeft = Margin + CaptionWidth;
    const int fieldWidth = inner - CaptionWidth;

    int row = 10;
    const auto caption = [&](const QString &name, const QString &text) {
        MakeLabel(panel, name, text, QRect(Margin, row, CaptionWidth - 4, RowHeight));
    };
    caption(u"lblSyncServer"_s, u"Server Address"_s);
    txtSyncServer =
        MakeEdit(panel, u"txtSyncServer"_s, QRect(fieldLeft, row, fieldWidth, RowHeight));
    txtSyncServer->setToolTip(u"The Address Of Your Calendar Server, Such As http://host:5232/"_s);
    row += RowStep;
    caption(u"lblSyncUser"_s, u"User Name"_s);
    txtSyncUser = MakeEdit(panel, u"txtSyncUser"_s, QRect(fieldLeft, row, 180, RowHeight));
    txtSyncUser->setToolTip(u"Your User Name On The Server"_s);
    row += RowStep;
    caption(u"lblSyncPassword"_s, u"Password"_s);
    txtSyncPassword = MakeEdit(panel, u"txtSyncPassword"_s, QRect(fieldLeft, row, 180, RowHeight));
    txtSyncPassword->setEchoMode(QLineEdit::Password);
    txtSyncPassword->setToolTip(u"Your Password On The Server"_s);
    cmdSyncFind = MakeButton(panel, u"cmdSyncFind"_s, u"&Find Calendars"_s,
                             u"Find The Calendars And Address Books Of This Account"_s);
    cmdSyncFind->setGeometry(fieldLeft + 190, row - 2, fieldWidth - 190, ButtonHeight);
    connect(cmdSyncFind, &QPushButton::clicked, this, Reported([this] { cmdSyncFindClick(); }));

    row += RowStep + 8;
    caption(u"lblSyncCalendar"_s, u"Calendar"_s);
    cboSyncCalendar = new QComboBox(panel);
    cboSyncCalendar->setObjectName(u"cboSyncCalendar"_s);
    cboSyncCalendar->setGeometry(fieldLeft, row, fieldWidth, RowHeight);
    cboSyncCalendar->setToolTip(u"The Calendar Kept In Step With The Diary, Tasks And Birthdays"_s);
    row += RowStep;
    caption(u"lblSyncAddressBook"_s, u"Address Book"_s);
    cboSyncAddressBook = new QComboBox(panel);
    cboSyncAddressBook->setObjectName(u"cboSyncAddressBook"_s);
    cboSyncAddressBook->setGeometry(fieldLeft, row, fieldWidth, RowHeight);
    cboSyncAddressBook->setToolTip(u"The Address Book Kept In Step With Yours"_s);
    row += RowStep;
    caption(u"lblSyncEvery"_s, u"Sync Every"_s);
    txtSyncEvery = new QSpinBox(panel);
    txtSyncEvery->setObjectName(u"txtSyncEvery"_s);
    txtSyncEvery->setRange(0, 1440);
    txtSyncEvery->setSpecialValueText(u"Never"_s);
    txtSyncEvery->setGeometry(fieldLeft, row, 80, RowHeight);
    txtSyncEvery->setToolTip(u"How Often To Sync While Quillmate Runs"_s);
    MakeLabel(panel, u"lblSyncMinutes"_s, u"Minutes"_s, QRect(fieldLeft + 88, row, 80, RowHeight));

    row += RowStep + 4;
    lblSyncStatus =
        MakeLabel(panel, u"lblSyncStatus"_s, QString(), QRect(Margin, row, inner, 2 * RowHeight));
    lblSyncStatus->setWordWrap(true);
    lblSyncStatus->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    lblSyncStatus->setTextFormat(Qt::PlainText);
    row += 2 * RowHeight + 4;
    if (!m_controller.secretStoreAvailable()) {
        QLabel *note = MakeLabel(panel, u"lblSyncNoStore"_s, NoStoreNote,
                                 QRect(Margin, row, inner, 2 * RowHeight));
        note->setWordWrap(true);
        note->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        QFont bold = note->font();
        bold.setBold(true);
        note->setFont(bold);
    }

    const int top = height() - 40;
    cmdSyncNow = MakeButton(outerPanel(), u"cmdSyncNow"_s, u"Sync &Now"_s,
                            u"Save The Account And Sync Now"_s);
    cmdSyncNow->setGeometry(Margin, top, 80, ButtonHeight);
    cmdSyncCancel =
        MakeButton(outerPanel(), u"cmdSyncCancel"_s, u"&Stop"_s, u"Stop What Is Under Way"_s);
    cmdSyncCancel->setGeometry(Margin + 86, top, 80, ButtonHeight);
    connect(cmdSyncNow, &QPushButton::clicked, this, Reported([this] { cmdSyncNowClick(); }));
    connect(cmdSyncCancel, &QPushButton::clicked, this,
            Reported([this] { m_controller.cancel(); }));

    addSaveAndCancel(u"Save The Account And Close Screen"_s,
                     u"Close Screen Without Saving The Account"_s);
    cmdUpdate->setObjectName(u"cmdSave"_s);
    cmdCancel->setObjectName(u"cmdClose"_s);
    cmdCancel->setText(u"&Close"_s);

    connect(&m_controller, &SyncController::status, lblSyncStatus, &QLabel::setText);
    connect(&m_controller, &SyncController::busyChanged, this,
            Reported([this](bool busy) { workChanged(busy); }));
    connect(&m_controller, &SyncController::discovered, this,
            Reported([this](const DiscoveryResult &result) { showCollections(result); }));

    QWidget *order[] = {txtSyncServer,   txtSyncUser,        txtSyncPassword, cmdSyncFind,
                        cboSyncCalendar, cboSyncAddressBook, txtSyncEvery,    cmdSyncNow,
                        cmdSyncCancel,   cmdUpdate,          cmdCancel};
    for (std::size_t i = 1; i < std::size(order); ++i)
        setTabOrder(order[i - 1], order[i]);
}

void TfrmSyncAccount::workChanged(bool busy) {
    if (!busy)
        m_finding = false;
    cmdSyncCancel->setEnabled(busy);
    cmdSyncFind->setEnabled(!busy);
    cmdSyncNow->setEnabled(!busy);
}

SyncAccount TfrmSyncAccount::shownAccount() const {
    SyncAccount account;
    account.server = ServerUrl(txtSyncServer->text());
    account.user = txtSyncUser->text().trimmed();
    account.calendar = cboSyncCalendar->currentData().toUrl();
    account.addressBook = cboSyncAddressBook->currentData().toUrl();
    account.intervalMinutes = txtSyncEvery->value();
    return account;
}

QString TfrmSyncAccount::accountReasons(bool forSync) const {
    QString reasons;
    if (!ServerUrl(txtSyncServer->text()).isValid())
        reasons += u"The Server Address Must Begin With http:// Or https://\r"_s;
    if (txtSyncUser->text().trimmed().isEmpty())
        reasons += u"The User Name Is Missing\r"_s;
    if (forSync && cboSyncCalendar->currentData().toUrl().isEmpty() &&
        cboSyncAddressBook->currentData().toUrl().isEmpty())
        reasons += u"Neither A Calendar Nor An Address Book Is Chosen To Sync\r"_s;
    return reasons;
}

void TfrmSyncAccount::cmdSyncFindClick() {
    if (const QString reasons = accountReasons(false); !reasons.isEmpty()) {
        ShowMessageBox(u"Cannot Find Calendars Because :\r\r"_s + reasons.chopped(1),
                       MessageKind::Error, MessageButtons::OK);
        return;
    }
    if (!m_controller.findCollections(ServerUrl(txtSyncServer->text()),
                                      txtSyncUser->text().trimmed(), txtSyncPassword->text()))
        return;
    m_finding = true;
    lblSyncStatus->setText(u"Finding Calendars And Address Books..."_s);
}

void TfrmSyncAccount::showCollections(const DiscoveryResult &result) {
    if (!result.error.isEmpty()) {
        lblSyncStatus->setText(u"Cannot Find Calendars: "_s + result.error);
        return;
    }
    QList<DavCollection> calendars;
    for (const DavCollection &collection : result.calendars)
        if (collection.events || collection.todos)
            calendars.append(collection);
    FillCollections(cboSyncCalendar, calendars, cboSyncCalendar->currentData().toUrl());
    FillCollections(cboSyncAddressBook, result.addressBooks,
                    cboSyncAddressBook->currentData().toUrl());
    lblSyncStatus->setText(
        u"Found "_s + QString::number(calendars.size()) +
        (calendars.size() == 1 ? u" Calendar And "_s : u" Calendars And "_s) +
        QString::number(result.addressBooks.size()) +
        (result.addressBooks.size() == 1 ? u" Address Book"_s : u" Address Books"_s));
}

bool TfrmSyncAccount::saveShown() {
    // Nothing typed at all: the account is taken away and sync is off.
    const bool clearing =
        txtSyncServer->text().trimmed().isEmpty() && txtSyncUser->text().trimmed().isEmpty();
    if (!clearing) {
        if (const QString reasons = accountReasons(false); !reasons.isEmpty()) {
            ShowCannotSave(reasons);
            return false;
        }
    }
    const SyncAccount account = clearing ? SyncAccount{} : shownAccount();
    const QString password = clearing ? QString() : txtSyncPassword->text();
    if (!m_controller.saveAccount(account, password))
        ShowMessageBox(u"The Secret Store Did Not Keep The Password\r\r"
                       u"It Is Kept Until The Program Ends"_s,
                       MessageKind::Warning, MessageButtons::OK);
    SnapshotForm(this);
    return true;
}

void TfrmSyncAccount::cmdUpdateClick() {
    if (saveShown())
        closeSaved();
}

void TfrmSyncAccount::cmdSyncNowClick() {
    if (const QString reasons = accountReasons(true); !reasons.isEmpty()) {
        ShowCannotSave(reasons);
        return;
    }
    if (!saveShown())
        return;
    if (m_controller.syncNow())
        lblSyncStatus->setText(u"Syncing..."_s);
}

// ---------------------------------------------------------------------------

TfrmSyncPassword::TfrmSyncPassword(const SyncAccount &account, QWidget *parent)
    : EditorForm(u"frmSyncPassword"_s, u"Sync"_s, {360, 150}, parent) {
    SetHelpTopic(this, HelpTopic::Sync);
    auto *panel = new GradientPanel(outerPanel(), 2);
    panel->setObjectName(u"panSyncPassword"_s);
    panel->setFrameShape(QFrame::StyledPanel);
    panel->setGeometry(Margin, Margin, width() - 2 * Margin, height() - 60);
    QLabel *ask = MakeLabel(panel, u"lblSyncAsk"_s,
                            u"The Password Of "_s + account.user + u" At "_s +
                                account.server.host() + u" To Sync :"_s,
                            QRect(Margin, 8, panel->width() - 2 * Margin, RowHeight));
    ask->setTextFormat(Qt::PlainText);
    txtSyncPassword =
        MakeEdit(panel, u"txtSyncPassword"_s, QRect(Margin, 8 + RowStep, 200, RowHeight));
    txtSyncPassword->setEchoMode(QLineEdit::Password);
    addSaveAndCancel(u"Sync With This Password"_s, u"Do Not Sync Until The Account Is Saved"_s);
    cmdUpdate->setText(u"&OK"_s);
    SnapshotForm(this);
}

QString TfrmSyncPassword::password() const {
    return txtSyncPassword->text();
}

} // namespace qm
