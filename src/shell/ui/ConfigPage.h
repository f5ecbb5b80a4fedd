#pragma once

#include "foundation/ui/Page.h"
#include "shell/Configuration.h"

#include <functional>

class QAbstractButton;
class QButtonGroup;
class QCheckBox;
class QLabel;
class QLineEdit;
class QRadioButton;

namespace qm {

class SyncController;

// The configuration page: starting page, password, start-up and close-down
// choices and the colour style.
class ConfigPage : public Page {
    Q_OBJECT
public:
    explicit ConfigPage(QWidget *parent = nullptr);

    // The note file open on the notes page (empty when none): what "Last Note
    // File" gets when the notes are first set to open at start-up.
    void setCurrentNoteFile(std::function<QString()> currentNoteFile);
    // The main window's leave routine for this page (checks, then saves);
    // false when the page may not be left. The Save button runs it.
    void setLeavePage(std::function<bool()> leavePage);

    void LoadConfigPage();
    QString ValidateConfigPage();
    void SaveConfigPage();
    void chkPasswordClick();
    void cmdConfigSaveClick();
    // A colour style button clicked: "CLASSIC", "ORANGE", "BLUE" or "GREY".
    void colourStyleClick(const QString &style);
    // Import chooses iCalendar and vCard files and shows what they add before
    // anything is written; Export writes the diary or the address book to one.
    void cmdImportClick();
    void cmdExportClick();
    // Sync opens the sync account of the window's controller.
    void setSyncController(SyncController *controller) { m_sync = controller; }
    void cmdSyncClick();

    void showStep() override { LoadConfigPage(); }
    QString leaveReasons() override { return ValidateConfigPage(); }
    // Leaving stores what the user changed; a page merely visited rewrites
    // nothing (and so never fails to be left where nothing can be written).
    void leaveSave() override;
    QWidget *focusTarget() override;

signals:
    // An import wrote to the record files: what holds their lines in memory
    // must read them again.
    void recordsImported();

protected:
    void build() override;
    // Save is the page's default button: Enter in a box or on a choice saves.
    void keyPressEvent(QKeyEvent *event) override;

private:
    Configuration shownConfiguration() const;

    std::function<QString()> m_currentNoteFile;
    // What the page showed when it was loaded or last saved.
    Configuration m_loaded;
    std::function<bool()> m_leavePage;
    SyncController *m_sync = nullptr;

    QButtonGroup *m_starting = nullptr;
    QButtonGroup *m_colours = nullptr;
    QCheckBox *m_needPassword = nullptr;
    QLabel *m_passwordLabel = nullptr;
    QLineEdit *m_password = nullptr;
    QLabel *m_retypeLabel = nullptr;
    QLineEdit *m_retype = nullptr;
    QCheckBox *m_openNotes = nullptr;
    QCheckBox *m_deleteTasks = nullptr;
    QCheckBox *m_runAtStartUp = nullptr;
    QCheckBox *m_minimize = nullptr;
};

} // namespace qm
