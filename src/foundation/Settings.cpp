#include "foundation/Settings.h"

#include "foundation/Errors.h"
#include "foundation/Program.h"
#include "platform/SettingsStore.h"

#include <QStringView>

#include <algorithm>
#include <array>
#include <cstddef>
#include <optional>

namespace qm {

namespace {

enum class Key {
    DiaryPage,
    ShowCompleted,
    NeedPassword,
    Password,
    ShowWelcome,
    MinimizeAtStartUp,
    StartingScreen,
    OpenNotes,
    LastNoteFile,
    DeleteTasks,
    AddressOrder,
    AddressContacts,
    SyncServer,
    SyncUser,
    SyncCalendar,
    SyncAddressBook,
    SyncEvery,
};

// Written for booleans, and the form their defaults take in the table.
constexpr QStringView On = u"1";
constexpr QStringView Off = u"0";

struct Setting {
    Key key;
    QStringView name;
    QStringView defaultValue;
};

// Every setting's name and default, in the order of Key.
constexpr std::array Table{
    Setting{Key::DiaryPage, u"Diary Page", u"Daily"},
    Setting{Key::ShowCompleted, u"Show Completed", On},
    Setting{Key::NeedPassword, u"Need Password", Off},
    Setting{Key::Password, u"Password", u""},
    Setting{Key::ShowWelcome, u"Show Welcome", On},
    Setting{Key::MinimizeAtStartUp, u"Minimize At Start-Up", Off},
    Setting{Key::StartingScreen, u"Starting Screen", u"Diary"},
    Setting{Key::OpenNotes, u"Open Notes", Off},
    Setting{Key::LastNoteFile, u"Last Note File", u""},
    Setting{Key::DeleteTasks, u"Delete Tasks", Off},
    Setting{Key::AddressOrder, u"Address Order", u"Company"},
    Setting{Key::AddressContacts, u"Address Contacts", u"B"},
    Setting{Key::SyncServer, u"SyncServer", u""},
    Setting{Key::SyncUser, u"SyncUser", u""},
    Setting{Key::SyncCalendar, u"SyncCalendar", u""},
    Setting{Key::SyncAddressBook, u"SyncAddressBook", u""},
    Setting{Key::SyncEvery, u"SyncEvery", u"0"},
};

constexpr bool TableFollowsKeys() {
    for (std::size_t i = 0; i < Table.size(); ++i) {
        if (static_cast<std::size_t>(Table[i].key) != i)
            return false;
    }
    return true;
}
static_assert(TableFollowsKeys(), "the settings table must list its rows in the order of Key");

const Setting &Row(Key key) {
    return Table[static_cast<std::size_t>(key)];
}

// Whether an integer text is non-zero; nothing when the text is no integer.
// Digits are counted rather than converted, so a number too large for an int
// still reads as on.
std::optional<bool> IntegerIsNonZero(QStringView text) {
    text = text.trimmed();
    if (text.startsWith(u'+') || text.startsWith(u'-'))
        text = text.sliced(1);
    if (text.isEmpty())
        return std::nullopt;
    bool nonZero = false;
    for (const QChar c : text) {
        if (c < u'0' || c > u'9')
            return std::nullopt;
        nonZero = nonZero || c != u'0';
    }
    return nonZero;
}

QString ReadText(const SettingsStore &store, Key key) {
    const Setting &row = Row(key);
    return store.read(row.name.toString(), row.defaultValue.toString());
}

// Runs a change of the store; a change the store could not keep is the
// program's FileError, so the caller's error report shows it and nothing
// says it was saved.
template <typename Change> void Checked(Change change) {
    try {
        change();
    } catch (const SettingsWriteError &error) {
        throw FileError(error.reason(), error.location());
    }
}

// A value already stored as it is is not written again: remembering a view
// choice nobody changed must not touch the disk, nor fail where it cannot be
// written.
void WriteText(SettingsStore &store, Key key, const QString &value) {
    const QString name = Row(key).name.toString();
    if (store.contains(name) && store.read(name, QString()) == value)
        return;
    Checked([&] { store.write(name, value); });
}

bool ReadFlag(const SettingsStore &store, Key key) {
    if (const std::optional<bool> stored = IntegerIsNonZero(ReadText(store, key)))
        return *stored;
    return Row(key).defaultValue == On;
}

void WriteFlag(SettingsStore &store, Key key, bool on) {
    WriteText(store, key, (on ? On : Off).toString());
}

} // namespace

Settings::Settings(SettingsStore &store) : m_store(store) {
    m_store.open(ProgramTitle());
}

SettingsStore &Settings::store() {
    return m_store;
}

QString Settings::diaryPage() const {
    return ReadText(m_store, Key::DiaryPage);
}
void Settings::setDiaryPage(const QString &name) {
    WriteText(m_store, Key::DiaryPage, name);
}

bool Settings::showCompleted() const {
    return ReadFlag(m_store, Key::ShowCompleted);
}
void Settings::setShowCompleted(bool on) {
    WriteFlag(m_store, Key::ShowCompleted, on);
}

bool Settings::needPassword() const {
    return ReadFlag(m_store, Key::NeedPassword);
}
void Settings::setNeedPassword(bool on) {
    WriteFlag(m_store, Key::NeedPassword, on);
}

QString Settings::password() const {
    return ReadText(m_store, Key::Password);
}
void Settings::setPassword(const QString &stored) {
    WriteText(m_store, Key::Password, stored);
}
void Settings::removePassword() {
    const QString name = Row(Key::Password).name.toString();
    if (m_store.contains(name))
        Checked([&] { m_store.remove(name); });
}

bool Settings::showWelcome() const {
    return ReadFlag(m_store, Key::ShowWelcome);
}
void Settings::setShowWelcome(bool on) {
    WriteFlag(m_store, Key::ShowWelcome, on);
}

bool Settings::minimizeAtStartUp() const {
    return ReadFlag(m_store, Key::MinimizeAtStartUp);
}
void Settings::setMinimizeAtStartUp(bool on) {
    WriteFlag(m_store, Key::MinimizeAtStartUp, on);
}

QString Settings::startingScreen() const {
    return ReadText(m_store, Key::StartingScreen);
}
void Settings::setStartingScreen(const QString &s) {
    WriteText(m_store, Key::StartingScreen, s);
}

bool Settings::openNotes() const {
    return ReadFlag(m_store, Key::OpenNotes);
}
void Settings::setOpenNotes(bool on) {
    WriteFlag(m_store, Key::OpenNotes, on);
}

QString Settings::lastNoteFile() const {
    return ReadText(m_store, Key::LastNoteFile);
}
void Settings::setLastNoteFile(const QString &path) {
    WriteText(m_store, Key::LastNoteFile, path);
}

bool Settings::deleteTasks() const {
    return ReadFlag(m_store, Key::DeleteTasks);
}
void Settings::setDeleteTasks(bool on) {
    WriteFlag(m_store, Key::DeleteTasks, on);
}

QString Settings::addressOrder() const {
    return ReadText(m_store, Key::AddressOrder);
}
void Settings::setAddressOrder(const QString &o) {
    WriteText(m_store, Key::AddressOrder, o);
}

QString Settings::addressContacts() const {
    return ReadText(m_store, Key::AddressContacts);
}
void Settings::setAddressContacts(const QString &c) {
    WriteText(m_store, Key::AddressContacts, c);
}

QString Settings::syncServer() const {
    return ReadText(m_store, Key::SyncServer);
}
void Settings::setSyncServer(const QString &address) {
    WriteText(m_store, Key::SyncServer, address);
}

QString Settings::syncUser() const {
    return ReadText(m_store, Key::SyncUser);
}
void Settings::setSyncUser(const QString &user) {
    WriteText(m_store, Key::SyncUser, user);
}

QString Settings::syncCalendar() const {
    return ReadText(m_store, Key::SyncCalendar);
}
void Settings::setSyncCalendar(const QString &address) {
    WriteText(m_store, Key::SyncCalendar, address);
}

QString Settings::syncAddressBook() const {
    return ReadText(m_store, Key::SyncAddressBook);
}
void Settings::setSyncAddressBook(const QString &address) {
    WriteText(m_store, Key::SyncAddressBook, address);
}

int Settings::syncEvery() const {
    bool ok = false;
    const int minutes = ReadText(m_store, Key::SyncEvery).trimmed().toInt(&ok);
    return ok && minutes >= 0 && minutes <= SyncEveryMost ? minutes : 0;
}
void Settings::setSyncEvery(int minutes) {
    WriteText(m_store, Key::SyncEvery, QString::number(std::clamp(minutes, 0, SyncEveryMost)));
}

} // namespace qm
