#include "foundation/LineFiles.h"
#include "foundation/RecordFile.h"
#include "foundation/ui/MsgBox.h"
#include "shell/ui/TfrmMain.h"
#include "support/DiaryLines.h"
#include "support/FormDriving.h"
#include "support/NoTray.h"
#include "support/RadicaleServer.h"
#include "support/TestServices.h"
#include "sync/ui/SyncAccountForm.h"
#include "sync/ui/SyncController.h"
#include "sync/ui/SyncSettings.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QSpinBox>
#include <QtTest>

#include <memory>

using namespace Qt::StringLiterals;
using namespace qm;
using qm::test::child;

namespace {

// Generous: the first request of a run starts Radicale's storage.
constexpr int ServerWaitMs = 20000;

// The sync form as the user has it: open on the screen, modal.
std::unique_ptr<TfrmSyncAccount> OpenForm(SyncController &controller) {
    auto form = std::make_unique<TfrmSyncAccount>(controller);
    form->show();
    return form;
}

void TypeAccount(QWidget *form, const QString &server, const QString &user,
                 const QString &password) {
    for (const auto &[name, text] :
         {std::pair{u"txtSyncServer"_s, server}, std::pair{u"txtSyncUser"_s, user},
          std::pair{u"txtSyncPassword"_s, password}}) {
        auto *edit = child<QLineEdit>(form, name);
        edit->clear();
        QTest::keyClicks(edit, text);
    }
}

QString StatusOf(QWidget *form) {
    return child<QLabel>(form, u"lblSyncStatus"_s)->text();
}

QUrl Plain(const QUrl &url) {
    return url.adjusted(QUrl::StripTrailingSlash);
}

// The account of the test server, saved with both collections chosen.
SyncAccount ServerAccount(const RadicaleServer &server) {
    SyncAccount account;
    account.server = server.url();
    account.user = RadicaleServer::User;
    account.calendar = server.calendarUrl();
    account.addressBook = server.addressBookUrl();
    return account;
}

} // namespace

class TestSyncForms : public QObject {
    Q_OBJECT
private slots:
    void findSaveAndSyncNow();
    void refusedPasswordIsSaidOnceAndNotTriedAgain();
    void withoutSecretStoreThePasswordLastsTheSession();
    void accountIsCheckedBeforeSaving_data();
    void accountIsCheckedBeforeSaving();
    void timerRunsOnlyWithAnInterval_data();
    void timerRunsOnlyWithAnInterval();
    void syncLineStaysInTheHintBarUntilAHintReplacesIt();
};

// Typed account, Find Calendars fills both lists from the real server, Save
// keeps the account in the settings and the password only in the secret
// store; opened again the form knows both, and Sync Now says how it went.
void TestSyncForms::findSaveAndSyncNow() {
    qm::test::TestServices services;
    RadicaleServer server;
    QM_START_RADICALE(server);
    QString why;
    QVERIFY2(server.makeCollections(why), qPrintable(why));
    SaveLineFile(services.path(DiaryFileName),
                 {qm::test::DiaryLine(u"20240320"_s, u"09:00"_s, u"10:00"_s, u"Dentist"_s)});

    SyncController controller;
    auto form = OpenForm(controller);
    QVERIFY(!form->findChild<QLabel *>(u"lblSyncNoStore"_s));
    auto *stop = child<QPushButton>(form.get(), u"cmdSyncCancel"_s);
    QVERIFY(!stop->isEnabled());
    TypeAccount(form.get(), server.url().toString(), RadicaleServer::User,
                RadicaleServer::Password);
    child<QPushButton>(form.get(), u"cmdSyncFind"_s)->click();
    QVERIFY(stop->isEnabled());
    auto *calendars = child<QComboBox>(form.get(), u"cboSyncCalendar"_s);
    auto *books = child<QComboBox>(form.get(), u"cboSyncAddressBook"_s);
    // Waits for the lists, or for the error that says they will not come.
    QTRY_VERIFY_WITH_TIMEOUT(!stop->isEnabled(), ServerWaitMs);
    QVERIFY2(calendars->count() == 2 && books->count() == 2, qPrintable(StatusOf(form.get())));
    QCOMPARE(calendars->itemText(0), u"(Do Not Sync)"_s);
    QCOMPARE(Plain(calendars->itemData(1).toUrl()), Plain(server.calendarUrl()));
    QCOMPARE(Plain(books->itemData(1).toUrl()), Plain(server.addressBookUrl()));
    calendars->setCurrentIndex(1);
    books->setCurrentIndex(1);
    child<QPushButton>(form.get(), u"cmdSave"_s)->click();
    QCOMPARE(form->result(), int(QDialog::Accepted));
    QVERIFY(services.prompter.messages.isEmpty());

    const QMap<QString, QString> &stored = services.settings.m_values;
    QCOMPARE(QUrl(stored.value(u"SyncServer"_s)), server.url());
    QCOMPARE(stored.value(u"SyncUser"_s), RadicaleServer::User);
    QCOMPARE(Plain(QUrl(stored.value(u"SyncCalendar"_s))), Plain(server.calendarUrl()));
    QCOMPARE(Plain(QUrl(stored.value(u"SyncAddressBook"_s))), Plain(server.addressBookUrl()));
    for (const QString &value : stored)
        QVERIFY2(!value.contains(RadicaleServer::Password), qPrintable(value));
    QCOMPARE(services.secrets.passwords.value(SyncPasswordKey(controller.account())),
             RadicaleServer::Password);

    // A new session reads the password from the store.
    SyncController next;
    next.loadAccount();
    form = OpenForm(next);
    QCOMPARE(child<QLineEdit>(form.get(), u"txtSyncPassword"_s)->text(), RadicaleServer::Password);
    QSignalSpy finished(&next, &SyncController::syncFinished);
    child<QPushButton>(form.get(), u"cmdSyncNow"_s)->click();
    QTRY_COMPARE_WITH_TIMEOUT(finished.size(), 1, ServerWaitMs);
    const auto result = finished.first().first().value<SyncResult>();
    QVERIFY2(result.ok(), qPrintable(result.error));
    QVERIFY(result.sentAdded >= 1);
    QCOMPARE(StatusOf(form.get()), SyncResultText(result));
}

// The server refusing the password is shown once: the timer does not try the
// same password again, and tries again once the user gives another.
void TestSyncForms::refusedPasswordIsSaidOnceAndNotTriedAgain() {
    qm::test::TestServices services;
    RadicaleServer server;
    QM_START_RADICALE(server);
    QString why;
    QVERIFY2(server.makeCollections(why), qPrintable(why));
    SyncAccount account = ServerAccount(server);
    account.intervalMinutes = 5;

    SyncController controller;
    controller.useAccount(account, u"wrong"_s);
    auto form = OpenForm(controller);
    QSignalSpy status(&controller, &SyncController::status);
    QSignalSpy finished(&controller, &SyncController::syncFinished);
    QVERIFY(controller.syncNow());
    QTRY_COMPARE_WITH_TIMEOUT(finished.size(), 1, ServerWaitMs);
    const auto refused = finished.first().first().value<SyncResult>();
    QVERIFY(!refused.ok());
    QVERIFY2(refused.refused, qPrintable(refused.error));
    QCOMPARE(StatusOf(form.get()), SyncResultText(refused));
    QCOMPARE(status.last().first().toString(), SyncResultText(refused));

    const qsizetype said = status.size();
    controller.timerTick();
    QVERIFY(!controller.busy());
    QCOMPARE(status.size(), said);

    controller.useAccount(account, RadicaleServer::Password);
    controller.timerTick();
    QVERIFY(controller.busy());
    QTRY_COMPARE_WITH_TIMEOUT(finished.size(), 2, ServerWaitMs);
    QVERIFY(finished.last().first().value<SyncResult>().ok());
}

// No secret store: the form says so, Save keeps the password for the session
// only, and the next session asks for it once when a timed sync is due.
void TestSyncForms::withoutSecretStoreThePasswordLastsTheSession() {
    qm::test::TestServices services;
    services.secrets.unavailable = true;
    SyncController controller;
    auto form = OpenForm(controller);
    QCOMPARE(child<QLabel>(form.get(), u"lblSyncNoStore"_s)->text(),
             u"No Secret Store Is Available: The Password Is Kept Until The Program Ends"_s);
    TypeAccount(form.get(), u"http://127.0.0.1:9/"_s, u"alice"_s, u"kept"_s);
    child<QSpinBox>(form.get(), u"txtSyncEvery"_s)->setValue(30);
    child<QPushButton>(form.get(), u"cmdSave"_s)->click();
    QCOMPARE(form->result(), int(QDialog::Accepted));
    QVERIFY(services.prompter.messages.isEmpty());
    QVERIFY(services.secrets.passwords.isEmpty());
    QCOMPARE(services.settings.m_values.value(u"SyncEvery"_s), u"30"_s);
    form = OpenForm(controller);
    QCOMPARE(child<QLineEdit>(form.get(), u"txtSyncPassword"_s)->text(), u"kept"_s);
    form.reset();

    SyncController next;
    next.loadAccount();
    QCOMPARE(next.sessionPassword(), QString());
    services.prompter.modalHandler = [](QDialog &dialog) {
        dialog.reject();
        return int(QDialog::Rejected);
    };
    next.timerTick();
    next.timerTick();
    QCOMPARE(services.prompter.modalRuns, 1);
    QVERIFY(!next.busy());
}

void TestSyncForms::accountIsCheckedBeforeSaving_data() {
    QTest::addColumn<QString>("server");
    QTest::addColumn<QString>("user");
    QTest::addColumn<QString>("reasons");

    QTest::newRow("not a web address")
        << u"ftp://host/"_s << u"alice"_s
        << u"The Server Address Must Begin With http:// Or https://"_s;
    QTest::newRow("no host") << u"http://"_s << u"alice"_s
                             << u"The Server Address Must Begin With http:// Or https://"_s;
    QTest::newRow("no user") << u"https://host/"_s << u"  "_s << u"The User Name Is Missing"_s;
    // Nothing typed takes the account away.
    QTest::newRow("nothing") << QString() << QString() << QString();
}

// A refused account is said in the program's style and nothing is stored.
void TestSyncForms::accountIsCheckedBeforeSaving() {
    QFETCH(QString, server);
    QFETCH(QString, user);
    QFETCH(QString, reasons);
    qm::test::TestServices services;
    services.settings.m_values[u"SyncServer"_s] = u"http://old/"_s;
    services.settings.m_values[u"SyncUser"_s] = u"old"_s;
    SyncController controller;
    controller.loadAccount();
    auto form = OpenForm(controller);
    TypeAccount(form.get(), server, user, u"pw"_s);
    child<QPushButton>(form.get(), u"cmdSave"_s)->click();
    if (reasons.isEmpty()) {
        QVERIFY(services.prompter.messages.isEmpty());
        QCOMPARE(services.settings.m_values.value(u"SyncServer"_s), QString());
        QVERIFY(!controller.account().isSet());
        return;
    }
    QCOMPARE(services.prompter.messages.size(), 1);
    QCOMPARE(services.prompter.messages.first().text, CannotSaveHeading + reasons);
    QVERIFY(form->isVisible());
    QCOMPARE(services.settings.m_values.value(u"SyncServer"_s), u"http://old/"_s);
}

void TestSyncForms::timerRunsOnlyWithAnInterval_data() {
    QTest::addColumn<QString>("user");
    QTest::addColumn<QString>("every");
    QTest::addColumn<int>("intervalMs");

    QTest::newRow("never") << u"alice"_s << u"0"_s << 0;
    QTest::newRow("every 15 minutes") << u"alice"_s << u"15"_s << 15 * 60 * 1000;
    QTest::newRow("no account") << QString() << u"15"_s << 0;
    QTest::newRow("not a number") << u"alice"_s << u"soon"_s << 0;
}

void TestSyncForms::timerRunsOnlyWithAnInterval() {
    QFETCH(QString, user);
    QFETCH(QString, every);
    QFETCH(int, intervalMs);
    qm::test::TestServices services;
    services.settings.m_values[u"SyncServer"_s] = u"http://host/"_s;
    services.settings.m_values[u"SyncUser"_s] = user;
    services.settings.m_values[u"SyncEvery"_s] = every;
    SyncController controller;
    controller.loadAccount();
    QCOMPARE(controller.syncTimer().isActive(), intervalMs > 0);
    if (intervalMs > 0)
        QCOMPARE(controller.syncTimer().interval(), intervalMs);
}

// The hint bar keeps how the last sync went while the mouse crosses controls
// without a hint, until a control's hint takes its place.
void TestSyncForms::syncLineStaysInTheHintBarUntilAHintReplacesIt() {
    qm::test::TestServices services;
    qm::test::NoTray tray;
    TfrmMain window(&tray);
    QVERIFY(window.StartUp());
    auto *hint = child<QLabel>(&window, u"panHint"_s);
    emit window.syncController().status(u"Nothing To Sync"_s);
    QCOMPARE(hint->text(), u"Nothing To Sync"_s);

    QWidget *plain = child(&window, u"panFooter"_s);
    QEvent enter(QEvent::Enter), leave(QEvent::Leave);
    QApplication::sendEvent(plain, &enter);
    QApplication::sendEvent(plain, &leave);
    QCOMPARE(hint->text(), u"Nothing To Sync"_s);

    QWidget *withHint = child(&window, u"cmdAboutUs"_s);
    QApplication::sendEvent(withHint, &enter);
    QCOMPARE(hint->text(), withHint->toolTip());
    QApplication::sendEvent(withHint, &leave);
    QCOMPARE(hint->text(), QString());
}

QTEST_MAIN(TestSyncForms)
#include "tst_syncforms.moc"
