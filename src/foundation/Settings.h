#pragma once

#include <QString>

namespace qm {

class SettingsStore;

// The user's preferences, typed, over the settings store. Every value is kept
// as text: booleans as "1" and "0", choices such as "Starting Screen" exactly
// as given (the pages that read them decide what an unknown value means).
//
// Reading never writes. A missing value gives the setting's default. A boolean
// is on when its text is a non-zero integer: blanks around it are ignored and a
// leading "+" or "-" is allowed, so " 1" and "-1" are on and "+0" is off; any
// other text ("yes", "1.0", "0x1", "") is not an integer and gives the default.
//
// Every change is stored before the setter returns; one the store refuses
// raises FileError naming the settings file. Setting a value that is stored
// already writes nothing.
class Settings {
public:
    // Opens the section ProgramTitle() of the store (creating it).
    explicit Settings(SettingsStore &store);

    // "Daily", "Weekly", "Monthly", "Tasks", "All" or "Birthday".
    QString diaryPage() const;
    void setDiaryPage(const QString &name);
    bool showCompleted() const;
    void setShowCompleted(bool on);
    bool needPassword() const;
    void setNeedPassword(bool on);
    // The password in its stored (ShiftUp) form.
    QString password() const;
    void setPassword(const QString &stored);
    // Deletes the value itself, so no trace of a password is left behind.
    void removePassword();
    bool showWelcome() const;
    void setShowWelcome(bool on);
    bool minimizeAtStartUp() const;
    void setMinimizeAtStartUp(bool on);
    // "Diary", "Notes", "Alarms", "Calculator" or "Address".
    QString startingScreen() const;
    void setStartingScreen(const QString &s);
    bool openNotes() const;
    void setOpenNotes(bool on);
    QString lastNoteFile() const;
    void setLastNoteFile(const QString &path);
    bool deleteTasks() const;
    void setDeleteTasks(bool on);
    // "Company", "Name" or "Telephone".
    QString addressOrder() const;
    void setAddressOrder(const QString &o);
    // "P", "W" or "B".
    QString addressContacts() const;
    void setAddressContacts(const QString &c);

    // The sync account (its password is kept in the secret store, never
    // here): the server's address, the user, and the calendar and address
    // book chosen (addresses; empty is not synced).
    QString syncServer() const;
    void setSyncServer(const QString &address);
    QString syncUser() const;
    void setSyncUser(const QString &user);
    QString syncCalendar() const;
    void setSyncCalendar(const QString &address);
    QString syncAddressBook() const;
    void setSyncAddressBook(const QString &address);
    // Minutes between syncs, 0 (never) to SyncEveryMost; a stored value that
    // is no such number reads as 0.
    static constexpr int SyncEveryMost = 1440;
    int syncEvery() const;
    void setSyncEvery(int minutes);

    SettingsStore &store();

private:
    SettingsStore &m_store;
};

} // namespace qm
