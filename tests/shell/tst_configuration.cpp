#include "foundation/Codec1252.h"
#include "foundation/ColourScheme.h"
#include "foundation/Errors.h"
#include "foundation/RecordFile.h"
#include "foundation/Settings.h"
#include "foundation/Text.h"
#include "platform/SettingsStore.h"
#include "shell/AutostartEntry.h"
#include "shell/Configuration.h"
#include "support/SmallDisk.h"
#include "support/TestServices.h"

#include <QStandardPaths>
#include <QtTest>

using namespace Qt::StringLiterals;
using Values = QMap<QString, QString>;

Q_DECLARE_METATYPE(qm::Configuration)

class TestConfiguration : public QObject {
    Q_OBJECT
private slots:
    void saveWritesSettings_data();
    void saveWritesSettings();
    void validate_data();
    void validate();
    void storedPasswordSurvivesTheSettingsFile();
    void login_data();
    void login();
    void execLine_data();
    void execLine();
    void entryIsOn_data();
    void entryIsOn();
    void autostartEntryCreatedAndRemoved();
    void autostartEntryThatCannotBeWritten();
    void autostartEntryForAPathThatIsNotUtf8();
};

namespace {

qm::Configuration everythingOff() {
    qm::Configuration config;
    config.startingScreen = u"Diary"_s;
    return config;
}

} // namespace

void TestConfiguration::saveWritesSettings_data() {
    QTest::addColumn<Values>("stored");
    QTest::addColumn<qm::Configuration>("config");
    QTest::addColumn<Values>("expected");
    QTest::addColumn<bool>("startsWithSystem");

    const Values off = {{u"Starting Screen"_s, u"Diary"_s},
                        {u"Need Password"_s, u"0"_s},
                        {u"Open Notes"_s, u"0"_s},
                        {u"Delete Tasks"_s, u"0"_s},
                        {u"Minimize At Start-Up"_s, u"0"_s}};
    const auto with = [](Values values, const Values &changes) {
        for (auto it = changes.begin(); it != changes.end(); ++it)
            values[it.key()] = it.value();
        return values;
    };
    qm::Configuration config = everythingOff();
    QTest::newRow("all off") << Values{} << config << off << false;

    config = everythingOff();
    config.deleteTasks = config.minimizeAtStartUp = config.runAtStartUp = true;
    config.startingScreen = u"Address"_s;
    QTest::newRow("check boxes on") << Values{} << config
                                    << with(off, {{u"Delete Tasks"_s, u"1"_s},
                                                  {u"Minimize At Start-Up"_s, u"1"_s},
                                                  {u"Starting Screen"_s, u"Address"_s}})
                                    << true;

    config = everythingOff();
    config.startingScreen.clear();
    QTest::newRow("no starting page chosen")
        << Values{{u"Starting Screen"_s, u"Whatever"_s}} << config
        << with(off, {{u"Starting Screen"_s, u"Whatever"_s}}) << false;

    config = everythingOff();
    config.needPassword = true;
    config.password = u"SECRET"_s;
    QTest::newRow("password added")
        << Values{} << config
        << with(off, {{u"Need Password"_s, u"1"_s}, {u"Password"_s, qm::ShiftUp(u"SECRET"_s)}})
        << false;

    QTest::newRow("password removed")
        << Values{{u"Need Password"_s, u"1"_s}, {u"Password"_s, qm::ShiftUp(u"OLD"_s)}}
        << everythingOff() << off << false;

    config = everythingOff();
    config.openNotes = true;
    QTest::newRow("notes opened, no file stored yet")
        << Values{} << config
        << with(off, {{u"Open Notes"_s, u"1"_s}, {u"Last Note File"_s, u"/notes/now.Qmn"_s}})
        << false;
    QTest::newRow("notes opened, a file stored")
        << Values{{u"Last Note File"_s, u"/notes/before.Qmn"_s}} << config
        << with(off, {{u"Open Notes"_s, u"1"_s}, {u"Last Note File"_s, u"/notes/before.Qmn"_s}})
        << false;
}

// Save writes every setting from what the page shows; the password only in
// its stored form and not at all when none is wanted; the last note file
// only when none is stored.
void TestConfiguration::saveWritesSettings() {
    QFETCH(Values, stored);
    QFETCH(qm::Configuration, config);
    qm::test::TestServices services;
    services.settings.m_values = stored;
    qm::Settings settings(services.settings);
    qm::SaveConfiguration(settings, services.startWithSystem, config, u"/notes/now.Qmn"_s);
    QTEST(services.settings.m_values, "expected");
    QTEST(services.startWithSystem.on, "startsWithSystem");

    // What was saved is what the page shows next time.
    const qm::Configuration loaded = qm::LoadConfiguration(settings, services.startWithSystem);
    QCOMPARE(loaded.password, config.password);
    QCOMPARE(loaded.needPassword, config.needPassword);
    QCOMPARE(loaded.runAtStartUp, config.runAtStartUp);
}

void TestConfiguration::validate_data() {
    QTest::addColumn<bool>("needPassword");
    QTest::addColumn<QString>("password");
    QTest::addColumn<QString>("retyped");
    QTest::addColumn<QString>("reasons");
    QTest::newRow("no password wanted") << false << QString() << u"X"_s << QString();
    QTest::newRow("blank") << true << QString() << QString()
                           << u"Password Cannot Be Left Blank\r"_s;
    QTest::newRow("only spaces") << true << u"   "_s << u"   "_s
                                 << u"Password Cannot Be Left Blank\r"_s;
    QTest::newRow("retyped differently")
        << true << u"SECRET"_s << u"SECRE"_s << u"Re-Typed Password Does Not Match Password\r"_s;
    QTest::newRow("retyped the same") << true << u"SECRET"_s << u"SECRET"_s << QString();
    QTest::newRow("code page letters")
        << true << u"5\u00B5M\u00C9\u0178\u00DF"_s << u"5\u00B5M\u00C9\u0178\u00DF"_s << QString();
    QTest::newRow("a letter outside the code page")
        << true << u"5\u039CM"_s << u"5\u039CM"_s
        << u"Password Contains Characters That Cannot Be Saved\r"_s;
    QTest::newRow("retyped differently comes first")
        << true << u"\u043F"_s << u"x"_s << u"Re-Typed Password Does Not Match Password\r"_s;
}

void TestConfiguration::validate() {
    QFETCH(QString, retyped);
    qm::Configuration config;
    QFETCH(bool, needPassword);
    QFETCH(QString, password);
    config.needPassword = needPassword;
    config.password = password;
    QTEST(qm::ValidateConfiguration(config, retyped), "reasons");
}

// Every character a password may hold, in capitals, comes back from the real
// settings file exactly as it went in: nothing locks its owner out.
void TestConfiguration::storedPasswordSurvivesTheSettingsFile() {
    QVERIFY2(QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation)
                 .startsWith(QString::fromUtf8(QM_TEST_BINARY_DIR)),
             "tests must not reach the user's real config folder");
    QString all;
    for (int b = 0x20; b < 0x100; ++b) {
        const QString c = qm::DecodeCp1252(QByteArray(1, char(b)));
        if (c == qm::UpperCaseCp1252(c) && qm::CanStoreInField(c, u"Password"_s))
            all += c;
    }
    const QString section = u"QuillmatePasswordTest"_s;
    {
        qm::NativeSettingsStore store;
        store.open(section);
        store.write(u"Password"_s, qm::ShiftUp(all));
    }
    qm::NativeSettingsStore store;
    store.open(section);
    QCOMPARE(qm::ShiftDown(store.read(u"Password"_s, {})), all);
    store.remove(u"Password"_s);
}

void TestConfiguration::login_data() {
    QTest::addColumn<QString>("typed"); // as the box shows it
    QTest::addColumn<QString>("stored");
    QTest::addColumn<bool>("accepted");
    QTest::newRow("the password") << u"OPEN"_s << u"OPEN"_s << true;
    QTest::newRow("another") << u"SHUT"_s << u"OPEN"_s << false;
    QTest::newRow("none stored, none typed") << QString() << QString() << true;
    QTest::newRow("micro sign") << u"5\u00B5M"_s << u"5\u00B5M"_s << true;
    // Stored by a version that capitalised by Unicode's rules: the same keys.
    QTest::newRow("older version's micro sign") << u"5\u00B5M"_s << u"5?M"_s << true;
    QTest::newRow("older version's Cyrillic")
        << u"\u043F\u0430\u0440\u043E\u043B\u044C"_s << u"??????"_s << true;
    QTest::newRow("a storable letter is no question mark") << u"5XM"_s << u"5?M"_s << false;
    QTest::newRow("a question mark typed") << u"5?M"_s << u"5?M"_s << true;
}

void TestConfiguration::login() {
    QFETCH(QString, typed);
    QFETCH(QString, stored);
    QTEST(qm::LoginAccepted(typed, stored), "accepted");
}

void TestConfiguration::execLine_data() {
    QTest::addColumn<QString>("program");
    QTest::addColumn<QString>("exec");
    QTest::newRow("plain") << u"/usr/bin/quillmate"_s << u"/usr/bin/quillmate"_s;
    QTest::newRow("spaces") << u"/home/ann/My Programs/quillmate"_s
                            << u"\"/home/ann/My Programs/quillmate\""_s;
    QTest::newRow("quote and dollar")
        << u"/opt/a\"b$c/quillmate"_s << u"\"/opt/a\\\\\"b\\\\$c/quillmate\""_s;
    QTest::newRow("backslash") << u"/opt/a\\b/quillmate"_s << u"\"/opt/a\\\\\\\\b/quillmate\""_s;
    QTest::newRow("percent") << u"/opt/100%/quillmate"_s << u"/opt/100%%/quillmate"_s;
}

void TestConfiguration::execLine() {
    QFETCH(QString, program);
    QTEST(qm::DesktopEntryExec(program), "exec");
}

void TestConfiguration::entryIsOn_data() {
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<bool>("on");
    QTest::newRow("ours") << qm::AutostartEntryText(u"/usr/bin/quillmate"_s) << true;
    QTest::newRow("hidden by the desktop")
        << QByteArray("[Desktop Entry]\nExec=/usr/bin/quillmate\nHidden=true\n") << false;
    QTest::newRow("blank Exec") << QByteArray("[Desktop Entry]\nExec=  \n") << false;
    QTest::newRow("Exec in another group")
        << QByteArray("[Desktop Entry]\nName=Q\n[Desktop Action New]\nExec=/usr/bin/q\n") << false;
    QTest::newRow("empty file") << QByteArray() << false;
}

void TestConfiguration::entryIsOn() {
    QFETCH(QByteArray, text);
    QTEST(qm::AutostartEntryIsOn(text), "on");
}

// The entry goes into a folder that may not exist yet, byte for byte as the
// desktop reads it, and goes again when turned off.
void TestConfiguration::autostartEntryCreatedAndRemoved() {
    QTemporaryDir config;
    const QString folder = config.path() + u"/autostart"_s;
    qm::AutostartEntry entry(folder, u"/home/ann/My Programs/quillmate"_s);
    QVERIFY(!entry.isOn());
    entry.setOn(true);
    QVERIFY(entry.isOn());
    QCOMPARE(qm::test::ReadBytes(folder + u"/quillmate.desktop"_s),
             QByteArray("[Desktop Entry]\nType=Application\nName=Quillmate\n"
                        "Comment=Diary, notes, alarms and address book\n"
                        "Exec=\"/home/ann/My Programs/quillmate\"\nIcon=quillmate\n"
                        "Terminal=false\nX-GNOME-Autostart-enabled=true\n"));
    QCOMPARE(QDir(folder).entryList(QDir::Files), QStringList{u"quillmate.desktop"_s});
    QCOMPARE(QFile::permissions(folder + u"/quillmate.desktop"_s) &
                 QFileDevice::Permissions::fromInt(0x7077),
             QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    entry.setOn(false);
    QVERIFY(!entry.isOn());
    QVERIFY(QDir(folder).isEmpty());
    entry.setOn(false); // nothing to remove is no failure
}

// A folder that cannot be written: the failure is raised, nothing is left
// half made and the entry still says what is stored.
void TestConfiguration::autostartEntryThatCannotBeWritten() {
    qm::test::SmallDisk disk;
    if (!disk.mounted())
        QSKIP(qPrintable(disk.problem()));
    const QString folder = disk.folder() + u"autostart"_s;
    qm::AutostartEntry entry(folder, u"/usr/bin/quillmate"_s);
    entry.setOn(true);
    QVERIFY(disk.makeReadOnly());
    QVERIFY_THROWS_EXCEPTION(qm::FileError, entry.setOn(false));
    QVERIFY(entry.isOn());

    qm::AutostartEntry elsewhere(disk.folder() + u"other"_s, u"/usr/bin/quillmate"_s);
    QVERIFY_THROWS_EXCEPTION(qm::FileError, elsewhere.setOn(true));
    QVERIFY(!elsewhere.isOn());
}

// The entry is UTF-8 text: a program in a folder whose name is in other
// bytes reaches us with replacement characters, and an entry would name a
// file that is not there. It is refused; a non-ASCII name in UTF-8 is fine.
void TestConfiguration::autostartEntryForAPathThatIsNotUtf8() {
    QTemporaryDir config;
    const QString folder = config.path() + u"/autostart"_s;
    qm::AutostartEntry latin1(folder, QFile::decodeName("/opt/caf\xe9/quillmate"));
    QVERIFY_THROWS_EXCEPTION(qm::FileError, latin1.setOn(true));
    QVERIFY(!QFile::exists(latin1.path()));
    qm::AutostartEntry utf8(folder, u"/opt/caf\u00e9/quillmate"_s);
    utf8.setOn(true);
    QVERIFY(utf8.isOn());
}

QTEST_GUILESS_MAIN(TestConfiguration)
#include "tst_configuration.moc"
