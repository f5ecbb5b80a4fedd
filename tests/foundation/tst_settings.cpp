#include "foundation/Program.h"
#include "foundation/Settings.h"
#include "support/TestServices.h"

#include <QtTest>

#include <functional>
#include <vector>

using namespace Qt::StringLiterals;

namespace {

// One setting as a caller sees it: its stored name, its default and a value
// other than the default, read and written through the typed accessors. Values
// travel as QVariant so booleans and texts share the tables below.
struct Accessor {
    QString name;
    QVariant defaultValue;
    QVariant other;
    std::function<QVariant(const qm::Settings &)> get;
    std::function<void(qm::Settings &, const QVariant &)> set;
};

Accessor Text(QString name, QString defaultValue, QString other,
              QString (qm::Settings::*get)() const, void (qm::Settings::*set)(const QString &)) {
    return {name, defaultValue, other,
            [get](const qm::Settings &s) { return QVariant((s.*get)()); },
            [set](qm::Settings &s, const QVariant &v) { (s.*set)(v.toString()); }};
}

Accessor Flag(QString name, bool defaultValue, bool (qm::Settings::*get)() const,
              void (qm::Settings::*set)(bool)) {
    return {name, defaultValue, !defaultValue,
            [get](const qm::Settings &s) { return QVariant((s.*get)()); },
            [set](qm::Settings &s, const QVariant &v) { (s.*set)(v.toBool()); }};
}

const std::vector<Accessor> &Accessors() {
    using S = qm::Settings;
    static const std::vector<Accessor> all{
        Text(u"Diary Page"_s, u"Daily"_s, u"Birthday"_s, &S::diaryPage, &S::setDiaryPage),
        Flag(u"Show Completed"_s, true, &S::showCompleted, &S::setShowCompleted),
        Flag(u"Need Password"_s, false, &S::needPassword, &S::setNeedPassword),
        Text(u"Password"_s, QString(), u"TEWW"_s, &S::password, &S::setPassword),
        Flag(u"Show Welcome"_s, true, &S::showWelcome, &S::setShowWelcome),
        Flag(u"Minimize At Start-Up"_s, false, &S::minimizeAtStartUp, &S::setMinimizeAtStartUp),
        Text(u"Starting Screen"_s, u"Diary"_s, u"Calculator"_s, &S::startingScreen,
             &S::setStartingScreen),
        Flag(u"Open Notes"_s, false, &S::openNotes, &S::setOpenNotes),
        Text(u"Last Note File"_s, QString(), u"C:\\My Notes\\Shopping.QMN"_s, &S::lastNoteFile,
             &S::setLastNoteFile),
        Flag(u"Delete Tasks"_s, false, &S::deleteTasks, &S::setDeleteTasks),
        Text(u"Address Order"_s, u"Company"_s, u"Telephone"_s, &S::addressOrder,
             &S::setAddressOrder),
        Text(u"Address Contacts"_s, u"B"_s, u"P"_s, &S::addressContacts, &S::setAddressContacts),
    };
    return all;
}

// The text a value is stored as: "1"/"0" for booleans, texts as they are.
QString StoredForm(const QVariant &value) {
    if (value.typeId() == QMetaType::Bool)
        return value.toBool() ? u"1"_s : u"0"_s;
    return value.toString();
}

void AddAccessorColumn() {
    QTest::addColumn<int>("index");
}

} // namespace

class TestSettings : public QObject {
    Q_OBJECT
private slots:
    void opensProgramSection();
    void defaultsOnEmptyStore_data();
    void defaultsOnEmptyStore();
    void roundTrip_data();
    void roundTrip();
    void booleanText_data();
    void booleanText();
    void choicesAreStoredAsGiven();
    void removePasswordDeletesTheValue();
};

void TestSettings::opensProgramSection() {
    QCOMPARE(qm::ProgramTitle(), u"Quillmate"_s);
    QCOMPARE(qm::ProgramVersion(), u"2.0a"_s);
    qm::test::MemorySettingsStore store;
    qm::Settings settings(store);
    QCOMPARE(store.m_section, u"Quillmate"_s);
    QCOMPARE(store.m_opens, 1);
    QCOMPARE(&settings.store(), &store);
}

void TestSettings::defaultsOnEmptyStore_data() {
    AddAccessorColumn();
    for (int i = 0; i < int(Accessors().size()); ++i)
        QTest::newRow(qPrintable(Accessors()[i].name)) << i;
}

void TestSettings::defaultsOnEmptyStore() {
    QFETCH(int, index);
    const Accessor &a = Accessors()[index];
    qm::test::MemorySettingsStore store;
    const qm::Settings settings(store);
    QCOMPARE(a.get(settings), a.defaultValue);
    // Reading a default must not store it.
    QVERIFY(store.m_values.isEmpty());
}

void TestSettings::roundTrip_data() {
    AddAccessorColumn();
    QTest::addColumn<bool>("useDefault");
    for (int i = 0; i < int(Accessors().size()); ++i) {
        const QString name = Accessors()[i].name;
        QTest::addRow("%s, other", qPrintable(name)) << i << false;
        QTest::addRow("%s, default", qPrintable(name)) << i << true;
    }
}

// Each value lands under its own name in its stored form and reads back the
// same, also through a second Settings over the same store (as the welcome
// screen opens it by itself).
void TestSettings::roundTrip() {
    QFETCH(int, index);
    QFETCH(bool, useDefault);
    const Accessor &a = Accessors()[index];
    const QVariant value = useDefault ? a.defaultValue : a.other;

    qm::test::MemorySettingsStore store;
    // Start from the opposite value so a setter that writes nothing is caught.
    store.m_values[a.name] = StoredForm(useDefault ? a.other : a.defaultValue);
    qm::Settings settings(store);
    a.set(settings, value);

    QCOMPARE(store.m_values.size(), 1);
    QCOMPARE(store.m_values.value(a.name), StoredForm(value));
    QCOMPARE(a.get(settings), value);
    const qm::Settings again(store);
    QCOMPARE(a.get(again), value);
}

void TestSettings::booleanText_data() {
    AddAccessorColumn();
    QTest::addColumn<bool>("present");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("expected"); // 1 on, 0 off, -1 the setting's default

    struct Case {
        const char *label;
        bool present;
        QString text;
        int expected;
    };
    const Case cases[] = {
        {"\"1\"", true, u"1"_s, 1},
        {"\"0\"", true, u"0"_s, 0},
        {"\"2\"", true, u"2"_s, 1},
        {"\"-1\"", true, u"-1"_s, 1},
        {"\"+0\"", true, u"+0"_s, 0},
        {"\"-0\"", true, u"-0"_s, 0},
        {"\" 1\"", true, u" 1"_s, 1},
        {"\"0 \" with tab", true, u"\t0 "_s, 0},
        {"\"007\"", true, u"007"_s, 1},
        {"\"000\"", true, u"000"_s, 0},
        {"larger than an int", true, u"99999999999999999999"_s, 1},
        {"\"yes\"", true, u"yes"_s, -1},
        {"empty", true, QString(), -1},
        {"blank", true, u"  "_s, -1},
        {"sign alone", true, u"-"_s, -1},
        {"\"1.0\"", true, u"1.0"_s, -1},
        {"\"0x1\"", true, u"0x1"_s, -1},
        {"\"1 1\"", true, u"1 1"_s, -1},
        {"\"- 1\"", true, u"- 1"_s, -1},
        {"missing", false, QString(), -1},
    };
    for (int i = 0; i < int(Accessors().size()); ++i) {
        const Accessor &a = Accessors()[i];
        if (a.defaultValue.typeId() != QMetaType::Bool)
            continue;
        for (const Case &c : cases)
            QTest::addRow("%s, %s", qPrintable(a.name), c.label)
                << i << c.present << c.text << c.expected;
    }
}

void TestSettings::booleanText() {
    QFETCH(int, index);
    QFETCH(bool, present);
    QFETCH(QString, text);
    QFETCH(int, expected);
    const Accessor &a = Accessors()[index];

    qm::test::MemorySettingsStore store;
    if (present)
        store.m_values[a.name] = text;
    const qm::Settings settings(store);
    const bool want = expected < 0 ? a.defaultValue.toBool() : expected == 1;
    QCOMPARE(a.get(settings).toBool(), want);
    // Reading leaves an odd text as the user left it.
    QCOMPARE(store.m_values.contains(a.name), present);
    if (present)
        QCOMPARE(store.m_values.value(a.name), text);
}

// The pages that read a choice decide what an unknown one means.
void TestSettings::choicesAreStoredAsGiven() {
    qm::test::MemorySettingsStore store;
    qm::Settings settings(store);
    settings.setStartingScreen(u"Printer"_s);
    settings.setDiaryPage(QString());
    QCOMPARE(store.m_values.value(u"Starting Screen"_s), u"Printer"_s);
    QCOMPARE(settings.startingScreen(), u"Printer"_s);
    QVERIFY(store.m_values.contains(u"Diary Page"_s));
    QCOMPARE(settings.diaryPage(), QString());
}

void TestSettings::removePasswordDeletesTheValue() {
    qm::test::MemorySettingsStore store;
    qm::Settings settings(store);
    settings.setPassword(u"TEWW"_s);
    settings.setNeedPassword(true);
    settings.removePassword();
    QVERIFY(!store.contains(u"Password"_s));
    QCOMPARE(settings.password(), QString());
    QCOMPARE(store.m_values.value(u"Need Password"_s), u"1"_s);

    settings.removePassword(); // nothing stored: still nothing stored
    QVERIFY(!store.contains(u"Password"_s));
}

QTEST_GUILESS_MAIN(TestSettings)
#include "tst_settings.moc"
