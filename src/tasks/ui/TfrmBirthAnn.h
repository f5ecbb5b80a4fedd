#pragma once

#include "foundation/EditMode.h"
#include "foundation/ui/EditorForm.h"

class QLabel;
class QLineEdit;

namespace qm {

class OccasionStore;

// The modal form in which one birthday, anniversary or other occasion is
// added or changed: a day and month and a description. Saving checks them,
// puts the line into the store (which writes "BirthAnn.Qmt" first: a failed
// write leaves the form open with its entries) and accepts; Cancel (or Esc)
// rejects, asking first when anything was changed.
class TfrmBirthAnn : public EditorForm {
    Q_OBJECT
public:
    // editedLine: the store position of the occasion being edited (ignored
    // when adding).
    TfrmBirthAnn(OccasionStore &store, EditMode mode, qsizetype editedLine,
                 QWidget *parent = nullptr);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildControls();
    void FormShow();
    void txtDateExit();
    void cmdUpdateClick() override;

    OccasionStore &m_store;
    EditMode m_mode;
    qsizetype EditedLine;

    QLabel *lblDate = nullptr;
    QLineEdit *txtDate = nullptr;
    QLabel *lblHint = nullptr;
    QLineEdit *txtDescription = nullptr;
};

} // namespace qm
