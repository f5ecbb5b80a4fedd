#include "tasks/ui/TaskRowSource.h"

#include "foundation/ui/MsgBox.h"
#include "platform/Prompter.h"
#include "platform/Services.h"
#include "tasks/ui/TfrmTaskMaint.h"

namespace qm {

TaskRowSource::TaskRowSource(FieldPicker datePicker) : m_datePicker(std::move(datePicker)) {}

int TaskRowSource::load(const QDate &today, bool showCompleted) {
    m_store.loadFile();
    m_rows = LoadTaskView(m_store.lines(), showCompleted, today);
    return m_rows.size() > 0 ? 0 : -1;
}

RowLook TaskRowSource::look(qsizetype row) const {
    return TaskRowLook(m_rows, row);
}

qsizetype TaskRowSource::positionOf(int row) const {
    const qsizetype position = RecordPosition(m_rows, row);
    return m_store.contains(position) ? position : -1;
}

bool TaskRowSource::runEditor(EditMode mode, qsizetype position, QWidget *parent) {
    TfrmTaskMaint form(m_store, mode, position, m_datePicker, parent);
    prompter().runModal(form);
    return form.RecordSaved();
}

RowChange TaskRowSource::add(QWidget *parent) {
    if (!runEditor(EditMode::Add, -1, parent))
        return {};
    return {RowChange::Select::Last};
}

RowChange TaskRowSource::edit(int row, QWidget *parent) {
    const qsizetype position = positionOf(row);
    if (position < 0) {
        ShowMessageBox(TaskText::EditMissing, MessageKind::Warning, MessageButtons::OK);
        return {};
    }
    if (!runEditor(EditMode::Edit, position, parent))
        return {};
    return {RowChange::Select::Row, row};
}

RowChange TaskRowSource::remove(int row) {
    const qsizetype position = positionOf(row);
    if (position < 0) {
        ShowMessageBox(TaskText::DeleteMissing, MessageKind::Warning, MessageButtons::OK);
        return {};
    }
    if (ShowMessageBox(TaskDeleteQuestion(m_rows.texts.at(row)), MessageKind::Confirmation,
                       MessageButtons::YesNo) != MessageResult::Yes)
        return {};
    // Written before anything changes: a failed write leaves the list as it was.
    m_store.remove(position);
    return {RowChange::Select::RowOrLast, row};
}

} // namespace qm
