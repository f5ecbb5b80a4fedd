#pragma once

#include "exchange/Calendar.h"
#include "exchange/ImportPlan.h"
#include "foundation/ui/EditorForm.h"

#include <QStringList>

class QCheckBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QRadioButton;

// Import and export in the window: a summary of what an import will add,
// taken before anything is written, and the choice of what to export.
namespace qm {

// The import summary, "Import": what the chosen files add to the diary, the
// task list, the birthday list and the address book, what is there already
// and what cannot be taken and why. The window of days appointments are taken
// from can be changed, and contacts' birthdays copied to the birthday list;
// the summary follows at once. Import writes every record file once; the form
// then says what was imported and closes, RecordSaved when anything was.
class TfrmImport : public EditorForm {
    Q_OBJECT
public:
    TfrmImport(const QStringList &files, const QString &folder, QWidget *parent = nullptr);

    // The summary as shown, as text.
    const ImportPlan &plan() const { return m_plan; }

protected:
    void cmdUpdateClick() override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildControls();
    // Converts the calendars again for the window entered; false (captions
    // red) when it is not a valid pair of dates.
    bool windowExit();
    void replan();
    // The counts the summary shows, the notes' and the files' that cannot be
    // imported included.
    QList<qsizetype> shownCounts() const;
    void showPlan();

    QString m_folder;
    QList<ImportSource> m_sources;
    ImportWindow m_window;
    ImportPlan m_plan;

    QLabel *lblFrom = nullptr;
    QLineEdit *txtFrom = nullptr;
    QLabel *lblTo = nullptr;
    QLineEdit *txtTo = nullptr;
    QCheckBox *chkBirthdays = nullptr;
    QList<QLabel *> m_counts;
    QListWidget *lstNotes = nullptr;
};

// The export choice, "Export": the diary, tasks and birthday list as an
// iCalendar file (everything, or the appointments of a range of days), or the
// address book as a vCard file; then the file to write.
class TfrmExport : public EditorForm {
    Q_OBJECT
public:
    TfrmExport(const QString &folder, QWidget *parent = nullptr);

protected:
    void cmdUpdateClick() override;

private:
    void buildControls();
    void optionsClick();

    QString m_folder;
    QRadioButton *optCalendar = nullptr;
    QRadioButton *optContacts = nullptr;
    QRadioButton *optEverything = nullptr;
    QRadioButton *optRange = nullptr;
    QLabel *lblFrom = nullptr;
    QLineEdit *txtFrom = nullptr;
    QLabel *lblTo = nullptr;
    QLineEdit *txtTo = nullptr;
};

// The files to import, chosen in the program's open dialog ("Import"); none
// when the user cancels.
QStringList ChooseImportFiles(QWidget *parent);

} // namespace qm
