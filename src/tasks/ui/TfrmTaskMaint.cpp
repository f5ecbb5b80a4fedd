#include "tasks/ui/TfrmTaskMaint.h"

#include "foundation/ui/Controls.h"
#include "foundation/ui/ErrorReport.h"
#include "foundation/ui/FormSnapshot.h"
#include "foundation/ui/HelpTopics.h"
#include "foundation/ui/MsgBox.h"
#include "foundation/ui/Styling.h"
#include "tasks/Tasks.h"

#include <QCheckBox>
#include <QEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>

using namespace Qt::StringLiterals;

namespace qm {

namespace {

const QString FormCaption = u"Task"_s;
const QString FromDateHint = u"Select From Calendar|Select Date Using Calendar"_s;
const QString UpdateHint = u"Save Task Details And Close Screen"_s;
const QString CancelHint = u"Cancel Any Changes Made To The Task And Close Screen"_s;
const QString CalendarGlyph = u":/tasks/picker_calendar.svg"_s;

constexpr int FormWidth = 440;
constexpr int FormHeight = 196;
constexpr int Margin = 10;
constexpr int FieldHeight = 22;
constexpr int CaptionWidth = 86;
constexpr int FieldLeft = Margin + CaptionWidth + 4;
constexpr int DateWidth = 84;

} // namespace

TfrmTaskMaint::TfrmTaskMaint(TaskStore &store, EditMode mode, qsizetype editedLine,
                             FieldPicker datePicker, QWidget *parent)
    : EditorForm(u"frmTaskMaint"_s, FormCaption, {FormWidth, FormHeight}, parent), m_store(store),
      m_mode(mode), EditedLine(editedLine), m_datePicker(std::move(datePicker)) {
    SetHelpTopic(this, HelpTopic::Tasks);
    buildControls();
    // Filled at once, so a form driven without being shown holds the same
    // entries.
    FormShow();
}

void TfrmTaskMaint::buildControls() {
    auto *panel = new GradientPanel(outerPanel(), 2);
    panel->setObjectName(u"panTask"_s);
    panel->setFrameShape(QFrame::StyledPanel);
    panel->setGeometry(Margin, Margin, FormWidth - 2 * Margin, 130);

    int row = 12;
    MakeLabel(panel, u"lblDescription"_s, u"Description"_s,
              QRect(Margin, row, CaptionWidth, FieldHeight));
    txtDescription =
        MakeEdit(panel, u"txtDescription"_s,
                 QRect(FieldLeft, row, panel->width() - FieldLeft - Margin, FieldHeight),
                 TaskDescriptionLength);

    row += 34;
    lblCompleteBy = MakeLabel(panel, u"lblCompleteBy"_s, u"Complete By"_s,
                              QRect(Margin, row, CaptionWidth, FieldHeight));
    txtCompleteBy =
        MakeEdit(panel, u"txtCompleteBy"_s, QRect(FieldLeft, row, DateWidth, FieldHeight));
    SetDateEntryMask(txtCompleteBy);
    spdFromDate = MakeGlyphButton(panel, u"spdFromDate"_s, CalendarGlyph, FromDateHint,
                                  QPoint(FieldLeft + DateWidth + 4, row));
    MakeLabel(panel, u"lblDateHint"_s, u"(Date)"_s,
              QRect(FieldLeft + DateWidth + GlyphButtonSize + 10, row, 60, FieldHeight));

    row += 34;
    chkCompleted = new QCheckBox(u"Completed"_s, panel);
    chkCompleted->setObjectName(u"chkCompleted"_s);
    chkCompleted->setGeometry(FieldLeft, row, 120, FieldHeight);
    chkPriority = new QCheckBox(u"High Priority"_s, panel);
    chkPriority->setObjectName(u"chkPriority"_s);
    chkPriority->setGeometry(FieldLeft + 140, row, 140, FieldHeight);

    addSaveAndCancel(UpdateHint, CancelHint);

    QWidget *order[] = {txtDescription, txtCompleteBy, chkCompleted,
                        chkPriority,    cmdUpdate,     cmdCancel};
    for (std::size_t i = 1; i < std::size(order); ++i)
        setTabOrder(order[i - 1], order[i]);

    txtCompleteBy->installEventFilter(this);
    connect(spdFromDate, &QToolButton::clicked, this, Reported([this] { spdFromDateClick(); }));
}

void TfrmTaskMaint::FormShow() {
    if (m_mode == EditMode::Edit && m_store.contains(EditedLine)) {
        const TaskEntries task = ReadTaskLine(m_store.at(EditedLine));
        if (task.date.isEmpty())
            txtCompleteBy->clear();
        else
            txtCompleteBy->setText(task.date);
        chkCompleted->setChecked(task.completed);
        chkPriority->setChecked(task.highPriority);
        SetStoredText(txtDescription, task.description, TaskDescriptionLength);
    }
    SnapshotForm(this);
    txtDescription->setFocus();
}

bool TfrmTaskMaint::eventFilter(QObject *watched, QEvent *event) {
    if (watched == txtCompleteBy && event->type() == QEvent::FocusOut &&
        IsMoveBetweenControls(event))
        RunReported([this] { txtCompleteByExit(); });
    return QDialog::eventFilter(watched, event);
}

void TfrmTaskMaint::txtCompleteByExit() {
    CheckDateEdit(lblCompleteBy, txtCompleteBy, true);
}

void TfrmTaskMaint::spdFromDateClick() {
    if (m_datePicker)
        m_datePicker(lblCompleteBy, txtCompleteBy);
}

void TfrmTaskMaint::cmdUpdateClick() {
    // Enter may reach Save from inside the date field before its exit rule.
    txtCompleteByExit();

    TaskEntries entries;
    entries.date = IsEntryBlank(txtCompleteBy) ? QString() : EntryText(txtCompleteBy);
    entries.completed = chkCompleted->isChecked();
    entries.highPriority = chkPriority->isChecked();
    entries.description = txtDescription->text();
    const QString reasons = TaskSaveReasons(entries, !IsLabelInvalid(lblCompleteBy));
    if (!reasons.isEmpty()) {
        ShowCannotSave(reasons);
        return;
    }
    // The store writes the file before it changes: when the write fails the
    // error ends this step and the form stays open with its entries. A
    // position the store does not have adds the task rather than touching
    // another one.
    const QString line = TaskLine(entries);
    if (m_mode == EditMode::Edit && m_store.contains(EditedLine))
        m_store.replace(EditedLine, line);
    else
        m_store.add(line);
    closeSaved();
}

} // namespace qm
