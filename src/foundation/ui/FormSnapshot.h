#pragma once

class QWidget;

// Whether the user changed anything on a form since it was prepared.
//
// The recorded controls are the entry fields (line edits, masked or not,
// spin boxes, plain and rich text editors), combo boxes by their text, and
// radio buttons as "Y" or "N". Check boxes are not recorded: ticking one does
// not count as a change.
//
// Each form keeps its own snapshot, held until the form is destroyed, so
// snapshotting one form never disturbs another form's check.
namespace qm {

// Records the current values of the form's controls.
void SnapshotForm(QWidget *form);
// True when any recorded control differs from its snapshot. A control the
// snapshot does not know (or a form never snapshotted) is compared with an
// empty field and an unset radio button.
bool FormChanged(QWidget *form);
// True when the form may be closed: nothing changed, or the user agreed to
// lose the changes.
bool ConfirmDiscard(QWidget *form);

} // namespace qm
