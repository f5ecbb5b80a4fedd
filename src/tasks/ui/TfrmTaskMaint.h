#pragma once

#include "foundation/EditMode.h"
#include "foundation/ui/EditorForm.h"
#include "foundation/ui/FormParts.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QToolButton;

namespace qm {

class TaskStore;

// The modal form "Task", in which one task is added or changed. Saving checks
// the entries, puts the task line into the store (which writes "Tasks.Qmt"
// first: a failed write leaves the form open with its entries) and accepts;
// Cancel (or Esc) rejects, asking first when anything was changed. It closes
// only through these two buttons.
class TfrmTaskMaint : public EditorForm {
    Q_OBJECT
public:
    // editedLine: the store position of the task being edited (ignored when
    // adding). datePicker opens the date picker on the complete-by date.
    TfrmTaskMaint(TaskStore &store, EditMode mode, qsizetype editedLine, FieldPicker datePicker,
                  QWidget *parent = nullptr);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildControls();
    void FormShow();
    void txtCompleteByExit();
    void spdFromDateClick();
    void cmdUpdateClick() override;

    TaskStore &m_store;
    EditMode m_mode;
    qsizetype EditedLine;
    FieldPicker m_datePicker;

    QLineEdit *txtDescription = nullptr;
    QLabel *lblCompleteBy = nullptr;
    QLineEdit *txtCompleteBy = nullptr;
    QToolButton *spdFromDate = nullptr;
    QCheckBox *chkCompleted = nullptr;
    QCheckBox *chkPriority = nullptr;
};

} // namespace qm
