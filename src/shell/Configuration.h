#pragma once

#include <QString>

namespace qm {

class Settings;
class StartWithSystem;

// What the configuration page shows and stores.
struct Configuration {
    // "Diary", "Notes", "Alarms", "Calculator" or "Address"; empty when no
    // starting page is chosen (an unknown stored value chooses none).
    QString startingScreen;
    bool needPassword = false;
    // In clear, as typed (the boxes make it capitals).
    QString password;
    bool openNotes = false;
    bool deleteTasks = false;
    bool minimizeAtStartUp = false;
    bool runAtStartUp = false;

    bool operator==(const Configuration &) const = default;
};

// The stored configuration: the settings and whether the program starts
// with the system.
Configuration LoadConfiguration(const Settings &settings, const StartWithSystem &startList);

// Why the configuration may not be saved, each reason ending in "\r"; empty
// when it may. Only a wanted password is checked: not blank, retyped exactly,
// and made only of characters its stored form can hold.
QString ValidateConfiguration(const Configuration &config, const QString &retyped);

// Whether the password typed at the login page opens the program: typed
// (already in capitals) equals the stored password. A password stored by an
// older version that capitalised by Unicode's rules lost every character the
// stored form cannot hold (each became "?"); the keys that made it still open
// the program, or its owner would be locked out for good.
bool LoginAccepted(const QString &typed, const QString &storedPassword);

// Whether leaving the page has anything to store: the page differs from what
// was loaded, or "Last Note File" is still to be filled from the note file open
// now (see SaveConfiguration).
bool ConfigurationToStore(const Configuration &shown, const Configuration &loaded,
                          const Settings &settings, const QString &currentNoteFile);

// Stores a validated configuration. The password is kept in its stored form
// and removed altogether when none is wanted. "Last Note File" is filled
// from currentNoteFile only when it is empty and the notes are to be opened
// at start-up: a stored path is never replaced here. The start-up entry comes
// last, so a failure there (raised as FileError) leaves every setting saved.
void SaveConfiguration(Settings &settings, StartWithSystem &startList, const Configuration &config,
                       const QString &currentNoteFile);

} // namespace qm
