#pragma once

#include "foundation/LineStore.h"
#include "foundation/ListRows.h"

#include <QDate>
#include <QString>

// The task list, "Tasks.Qmt": one line per task, in the order the tasks were
// added. A line is the complete-by date (yyyymmdd, or 8 spaces for none),
// the completed flag and the high-priority flag ("Y" or "N"), each followed
// by the separator, then the description.
namespace qm {

namespace TaskText {
inline const QString EditMissing = QStringLiteral("You Must Select A Task To Edit");
inline const QString DeleteMissing = QStringLiteral("You Must Select A Task To Delete");
inline const QString DescriptionMissing = QStringLiteral("Description Must Be Entered");
inline const QString DateNotValid = QStringLiteral("Completion Date Is Not A Valid Date");
} // namespace TaskText

// The longest description the editor takes.
inline constexpr int TaskDescriptionLength = 75;

// The tasks in file order, `lstTasks`.
class TaskStore : public LineStore {
public:
    TaskStore();
};

// A task's fields as the editor shows them.
struct TaskEntries {
    QString date; // dd/mm/yyyy, or blank for none
    bool completed = false;
    bool highPriority = false;
    QString description;
};

// The fields of a stored line; a short or odd line gives what it has.
TaskEntries ReadTaskLine(const QString &line);
// The line for entries that passed TaskSaveReasons.
QString TaskLine(const TaskEntries &entries);
// Why the entries cannot be saved, each reason followed by "\r"; empty when
// they can. dateValid is the date field's own check (blank is valid).
QString TaskSaveReasons(const TaskEntries &entries, bool dateValid);

// The task rows: one per shown line, in file order, with RowMap and the three
// flag lists. Open tasks are shown, completed ones only with showCompleted,
// lines whose completed flag is neither "Y" nor "N" never. A task is overdue
// from the day after its date on.
ListRows LoadTaskView(const QStringList &lines, bool showCompleted, const QDate &today);
// An overdue open task is marked red and bold, else a high-priority one in
// the window-text colour and bold; a completed one is struck out as well.
RowLook TaskRowLook(const ListRows &rows, qsizetype row);

// The question asked before the task of a row is deleted.
QString TaskDeleteQuestion(const QString &rowText);

// Drops the completed tasks from "Tasks.Qmt" (the close-down purge), reading
// the file itself, so it works whether or not the task view was shown.
void PurgeCompletedTasks();

} // namespace qm
