#include "tasks/Tasks.h"

#include "foundation/Codec1252.h"
#include "foundation/Dates.h"
#include "foundation/LineFiles.h"
#include "foundation/Text.h"

#include <algorithm>

using namespace Qt::StringLiterals;

namespace qm {

namespace {

constexpr qsizetype DateWidth = 8;
constexpr qsizetype PriorityPosition = 12;
constexpr qsizetype DescriptionPosition = 14;

// The character at a 1-based position, or a null character past the end.
QChar columnOf(const QString &line, qsizetype position) {
    return line.size() >= position ? line.at(position - 1) : QChar();
}

QString flag(bool on) {
    return on ? u"Y"_s : QString();
}

} // namespace

TaskStore::TaskStore() : LineStore(TasksFileName, Order::File) {}

TaskEntries ReadTaskLine(const QString &line) {
    TaskEntries entries;
    const QString date = LeftText(line, DateWidth);
    if (!IsBlank(date))
        entries.date = SortableToDisplay(date);
    entries.completed = columnOf(line, TaskCompletedPosition) == u'Y';
    entries.highPriority = columnOf(line, PriorityPosition) == u'Y';
    entries.description = MidText(line, DescriptionPosition);
    return entries;
}

QString TaskLine(const TaskEntries &entries) {
    const QString date =
        IsBlank(entries.date) ? QString(DateWidth, u' ') : DisplayToSortable(entries.date);
    const auto yesNo = [](bool on) { return on ? u"Y"_s : u"N"_s; };
    return date + FieldSeparator + yesNo(entries.completed) + FieldSeparator +
           yesNo(entries.highPriority) + FieldSeparator + entries.description;
}

QString TaskSaveReasons(const TaskEntries &entries, bool dateValid) {
    QString reasons;
    QString cannotStore;
    if (IsBlank(entries.description))
        reasons += TaskText::DescriptionMissing + u'\r';
    else if (!CanStoreInLastField(entries.description, u"Description"_s, &cannotStore))
        reasons += cannotStore + u'\r';
    if (!dateValid)
        reasons += TaskText::DateNotValid + u'\r';
    return reasons;
}

ListRows LoadTaskView(const QStringList &lines, bool showCompleted, const QDate &today) {
    ListRows rows;
    for (QStringList *list :
         {&rows.texts, &rows.rowMap, &rows.overdueFlags, &rows.priorityFlags, &rows.completedFlags})
        list->reserve(lines.size());
    const QString todayKey = DateToSortable(today);
    for (qsizetype position = 0; position < lines.size(); ++position) {
        const QString &line = lines.at(position);
        const QChar completed = columnOf(line, TaskCompletedPosition);
        const bool shown = completed == u'N' || (completed == u'Y' && showCompleted);
        if (!shown)
            continue;
        // Both dates are yyyymmdd, so text order is date order: a task due
        // today is not overdue yet. 8 spaces (or any blank) is no date.
        const QStringView date = QStringView(line).left(DateWidth);
        const bool dated =
            std::any_of(date.begin(), date.end(), [](QChar c) { return c.unicode() > u' '; });
        rows.rowMap.append(QString::number(position));
        rows.overdueFlags.append(flag(dated && QStringView(todayKey) > date));
        rows.priorityFlags.append(flag(columnOf(line, PriorityPosition) == u'Y'));
        rows.completedFlags.append(flag(completed == u'Y'));
        rows.texts.append(line.mid(DescriptionPosition - 1));
    }
    return rows;
}

RowLook TaskRowLook(const ListRows &rows, qsizetype row) {
    const auto isSet = [](const QStringList &flags, qsizetype row) {
        return flags.value(row) == u"Y"_s;
    };
    RowLook look;
    const bool completed = isSet(rows.completedFlags, row);
    if (isSet(rows.overdueFlags, row) && !completed)
        look = {RowLook::Mark::Alert, true, false};
    else if (isSet(rows.priorityFlags, row))
        look = {RowLook::Mark::Emphasis, true, false};
    look.strikeOut = completed;
    return look;
}

QString TaskDeleteQuestion(const QString &rowText) {
    return u"Are You Sure You Want To Delete Task '"_s + rowText + u"'?"_s;
}

void PurgeCompletedTasks() {
    SaveTasksFile(LoadTasksFile(), true);
}

} // namespace qm
