#include "tasks/ui/OccasionRowSource.h"

#include "foundation/ui/MsgBox.h"
#include "platform/Prompter.h"
#include "platform/Services.h"
#include "tasks/ui/TfrmBirthAnn.h"

namespace qm {

int OccasionRowSource::load(const QDate &today, bool) {
    m_store.loadFile();
    m_rows = LoadBirthdayView(m_store.lines());
    return SelectNextOccasion(m_rows, today);
}

RowLook OccasionRowSource::look(qsizetype row) const {
    return OccasionRowLook(m_rows, row);
}

qsizetype OccasionRowSource::positionOf(int row) const {
    const qsizetype position = RecordPosition(m_rows, row);
    return m_store.contains(position) ? position : -1;
}

bool OccasionRowSource::runEditor(EditMode mode, qsizetype position, QWidget *parent) {
    TfrmBirthAnn form(m_store, mode, position, parent);
    prompter().runModal(form);
    return form.RecordSaved();
}

// After every change the next occasion from today is selected, not the one
// changed.
RowChange OccasionRowSource::add(QWidget *parent) {
    if (!runEditor(EditMode::Add, -1, parent))
        return {};
    return {RowChange::Select::First};
}

RowChange OccasionRowSource::edit(int row, QWidget *parent) {
    const qsizetype position = positionOf(row);
    if (position < 0) {
        ShowMessageBox(OccasionText::EditMissing, MessageKind::Warning, MessageButtons::OK);
        return {};
    }
    if (!runEditor(EditMode::Edit, position, parent))
        return {};
    return {RowChange::Select::First};
}

RowChange OccasionRowSource::remove(int row) {
    const qsizetype position = positionOf(row);
    if (position < 0) {
        ShowMessageBox(OccasionText::DeleteMissing, MessageKind::Warning, MessageButtons::OK);
        return {};
    }
    if (ShowMessageBox(OccasionDeleteQuestion(m_rows.texts.at(row)), MessageKind::Confirmation,
                       MessageButtons::YesNo) != MessageResult::Yes)
        return {};
    // Written before anything changes; the last occasion gone, the file is
    // removed.
    m_store.remove(position);
    return {RowChange::Select::First};
}

} // namespace qm
