#include "tasks/ui/TfrmBirthAnn.h"

#include "foundation/Dates.h"
#include "foundation/ui/Controls.h"
#include "foundation/ui/ErrorReport.h"
#include "foundation/ui/FormParts.h"
#include "foundation/ui/FormSnapshot.h"
#include "foundation/ui/HelpTopics.h"
#include "foundation/ui/MsgBox.h"
#include "foundation/ui/Styling.h"
#include "tasks/Occasions.h"

#include <QEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

using namespace Qt::StringLiterals;

namespace qm {

namespace {

const QString FormCaption = u"Birthday, Anniversary And Special Occassion"_s;
const QString UpdateHint = u"Save Details And Close Screen"_s;
const QString CancelHint = u"Cancel Any Changes Made To The Task And Close Screen"_s;

constexpr int FormWidth = 440;
constexpr int FormHeight = 178;
constexpr int Margin = 10;
constexpr int FieldHeight = 22;
constexpr int CaptionWidth = 86;
constexpr int FieldLeft = Margin + CaptionWidth + 4;
constexpr int DateWidth = 48;

} // namespace

TfrmBirthAnn::TfrmBirthAnn(OccasionStore &store, EditMode mode, qsizetype editedLine,
                           QWidget *parent)
    : EditorForm(u"frmBirthAnn"_s, FormCaption, {FormWidth, FormHeight}, parent), m_store(store),
      m_mode(mode), EditedLine(editedLine) {
    SetHelpTopic(this, HelpTopic::Occasions);
    buildControls();
    FormShow();
}

void TfrmBirthAnn::buildControls() {
    auto *panel = new GradientPanel(outerPanel(), 2);
    panel->setObjectName(u"panOccasion"_s);
    panel->setFrameShape(QFrame::StyledPanel);
    panel->setGeometry(Margin, Margin, FormWidth - 2 * Margin, 112);

    int row = 10;
    lblHint = MakeLabel(panel, u"lblHint"_s, QString(),
                        QRect(Margin, row, panel->width() - 2 * Margin, FieldHeight));

    row += 28;
    lblDate =
        MakeLabel(panel, u"lblDate"_s, u"Date"_s, QRect(Margin, row, CaptionWidth, FieldHeight));
    txtDate = MakeEdit(panel, u"txtDate"_s, QRect(FieldLeft, row, DateWidth, FieldHeight));
    SetDayMonthEntryMask(txtDate);
    MakeLabel(panel, u"lblMeaning"_s, u"Meaning 6th Of May"_s,
              QRect(FieldLeft + DateWidth + 10, row, 200, FieldHeight));

    row += 34;
    MakeLabel(panel, u"lblDescription"_s, u"Description"_s,
              QRect(Margin, row, CaptionWidth, FieldHeight));
    txtDescription =
        MakeEdit(panel, u"txtDescription"_s,
                 QRect(FieldLeft, row, panel->width() - FieldLeft - Margin, FieldHeight),
                 OccasionDescriptionLength);

    addSaveAndCancel(UpdateHint, CancelHint);

    QWidget *order[] = {txtDate, txtDescription, cmdUpdate, cmdCancel};
    for (std::size_t i = 1; i < std::size(order); ++i)
        setTabOrder(order[i - 1], order[i]);

    txtDate->installEventFilter(this);
}

void TfrmBirthAnn::FormShow() {
    lblHint->setText(u"You Only Need To Specify The Day And Month eg 06"_s + DateSep() + u"05"_s);
    if (m_mode == EditMode::Edit && m_store.contains(EditedLine)) {
        const QString line = m_store.at(EditedLine);
        txtDate->setText(OccasionDateEntry(line));
        SetStoredText(txtDescription, OccasionDescription(line), OccasionDescriptionLength);
    }
    SnapshotForm(this);
    txtDate->setFocus();
}

bool TfrmBirthAnn::eventFilter(QObject *watched, QEvent *event) {
    if (watched == txtDate && event->type() == QEvent::FocusOut && IsMoveBetweenControls(event))
        RunReported([this] { txtDateExit(); });
    return QDialog::eventFilter(watched, event);
}

void TfrmBirthAnn::txtDateExit() {
    if (const std::optional<QString> normal = OccasionDateExit(EntryText(txtDate))) {
        SetLabelValid(lblDate);
        txtDate->setText(*normal);
    } else {
        SetLabelInvalid(lblDate);
    }
}

void TfrmBirthAnn::cmdUpdateClick() {
    // Enter may reach Save from inside the date field before its exit rule.
    txtDateExit();
    const QString description = txtDescription->text();
    const QString reasons = OccasionSaveReasons(!IsLabelInvalid(lblDate), description);
    if (!reasons.isEmpty()) {
        ShowCannotSave(reasons);
        return;
    }
    // The store writes the file before it changes: when the write fails the
    // form stays open with its entries.
    const QString line = OccasionLineFromEntries(EntryText(txtDate), description);
    if (m_mode == EditMode::Edit && m_store.contains(EditedLine))
        m_store.replace(EditedLine, line);
    else
        m_store.add(line);
    closeSaved();
}

} // namespace qm
