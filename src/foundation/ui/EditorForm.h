#pragma once

#include <QDialog>

class QPushButton;

namespace qm {

class GradientPanel;

// A modal form in which one record is added or changed. It has a fixed size
// and a caption without buttons, so it closes only through Save (Enter) and
// Cancel (Esc, or the window manager's close): Save checks and stores the
// record and reports RecordSaved, Cancel asks before changes are lost. Each
// time it is shown it is centred and styled.
class EditorForm : public QDialog {
    Q_OBJECT
public:
    // True once Save stored the record (the caller then rebuilds its view).
    bool RecordSaved() const { return m_recordSaved; }

    // Esc and the window manager's close request go through Cancel.
    void reject() override;

protected:
    EditorForm(const QString &objectName, const QString &caption, QSize size, QWidget *parent);

    // The panel that fills the form, made first.
    GradientPanel *outerPanel() const { return m_outer; }
    // Save (the default button) and Cancel in the bottom right corner, with
    // their hints; Save runs cmdUpdateClick, Cancel cmdCancelClick.
    void addSaveAndCancel(const QString &saveHint, const QString &cancelHint);
    virtual void cmdUpdateClick() = 0;
    // Closes the form when nothing was changed since the snapshot, or when
    // the user agrees to lose the changes.
    void cmdCancelClick();
    // Save has stored the record: closes the form, accepted.
    void closeSaved();

    void showEvent(QShowEvent *event) override;

    QPushButton *cmdUpdate = nullptr;
    QPushButton *cmdCancel = nullptr;

private:
    GradientPanel *m_outer = nullptr;
    bool m_recordSaved = false;
};

} // namespace qm
