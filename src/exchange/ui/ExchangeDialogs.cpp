#include "exchange/ui/ExchangeDialogs.h"

#include "exchange/CommandLine.h"
#include "foundation/Dates.h"
#include "foundation/Program.h"
#include "foundation/ui/Controls.h"
#include "foundation/ui/ErrorReport.h"
#include "foundation/ui/FormParts.h"
#include "foundation/ui/FormSnapshot.h"
#include "foundation/ui/HelpTopics.h"
#include "foundation/ui/MsgBox.h"
#include "foundation/ui/Styling.h"
#include "platform/Clock.h"
#include "platform/Prompter.h"
#include "platform/Services.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QDir>
#include <QEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QStandardPaths>

using namespace Qt::StringLiterals;

namespace qm {

namespace {

constexpr int Margin = 10;
constexpr int RowHeight = 22;
constexpr int DateWidth = 82;

const QString ImportCaption = u"Import"_s;
const QString ExportCaption = u"Export"_s;
const QString CalendarFilter = u"iCalendar Files (*.ics)"_s;
const QString ContactsFilter = u"vCard Files (*.vcf)"_s;

QLineEdit *makeDateEntry(QWidget *panel, const QString &name, QRect where, const QDate &date) {
    QLineEdit *edit = MakeEdit(panel, name, where);
    SetDateEntryMask(edit);
    if (date.isValid())
        edit->setText(DateToDisplay(date));
    return edit;
}

// The date of an entry that CheckDateEdit found valid; invalid otherwise.
QDate entryDate(QLabel *label, QLineEdit *edit) {
    CheckDateEdit(label, edit, false);
    if (IsLabelInvalid(label))
        return {};
    return QDate::fromString(DisplayToSortable(EntryText(edit)), u"yyyyMMdd"_s);
}

// The program's own dialog on every system, so tests can drive it and the
// overwrite question goes through the program's message dialog.
class ExchangeFileDialog final : public QFileDialog {
public:
    ExchangeFileDialog(QWidget *parent, const QString &name, AcceptMode mode,
                       const QStringList &filters)
        : QFileDialog(parent, mode == AcceptOpen ? ImportCaption : ExportCaption) {
        setObjectName(name);
        setOption(DontUseNativeDialog);
        setOption(DontConfirmOverwrite);
        setAcceptMode(mode);
        setFileMode(mode == AcceptOpen ? ExistingFiles : AnyFile);
        setNameFilters(filters);
        setDirectory(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation));
    }
};

} // namespace

QStringList ChooseImportFiles(QWidget *parent) {
    ExchangeFileDialog dialog(parent, u"opnImport"_s, QFileDialog::AcceptOpen,
                              {u"Calendars And Contacts (*.ics *.vcf)"_s, CalendarFilter,
                               ContactsFilter, u"All Files (*)"_s});
    if (prompter().runModal(dialog) != QDialog::Accepted)
        return {};
    return dialog.selectedFiles();
}

// ---------------------------------------------------------------------------

TfrmImport::TfrmImport(const QStringList &files, const QString &folder, QWidget *parent)
    : EditorForm(u"frmImport"_s, ImportCaption, {470, 410}, parent), m_folder(folder),
      m_window(DefaultImportWindow(clock().now().date())) {
    SetHelpTopic(this, HelpTopic::ImportExport);
    for (const QString &file : files)
        m_sources.append(ReadImportSource(file));
    for (ImportSource &source : m_sources)
        ConvertImportSource(source, m_window, QTimeZone::systemTimeZone());
    buildControls();
    replan();
    SnapshotForm(this);
}

void TfrmImport::buildControls() {
    auto *panel = new GradientPanel(outerPanel(), 2);
    panel->setObjectName(u"panImport"_s);
    panel->setFrameShape(QFrame::StyledPanel);
    panel->setGeometry(Margin, Margin, width() - 2 * Margin, height() - 60);
    const int inner = panel->width() - 2 * Margin;

    QStringList names;
    bool calendars = false, contacts = false;
    for (const ImportSource &source : m_sources) {
        names << QFileInfo(source.path).fileName();
        calendars = calendars || source.kind == ImportKind::Calendar;
        contacts = contacts || source.kind == ImportKind::Contacts;
    }
    int row = 8;
    MakeLabel(panel, u"lblFilesCaption"_s, u"Files :"_s, QRect(Margin, row, 50, RowHeight));
    QLabel *fileNames =
        MakeLabel(panel, u"lblFiles"_s, QString(), QRect(Margin + 52, row, inner - 52, RowHeight));
    fileNames->setText(fileNames->fontMetrics().elidedText(names.join(u", "_s), Qt::ElideRight,
                                                           fileNames->width()));
    fileNames->setToolTip(names.join(u'\n'));

    row += 30;
    lblFrom = MakeLabel(panel, u"lblFrom"_s, u"Take Appointments From"_s,
                        QRect(Margin, row, 160, RowHeight));
    txtFrom = makeDateEntry(panel, u"txtFrom"_s, QRect(Margin + 162, row, DateWidth, RowHeight),
                            m_window.from);
    lblTo =
        MakeLabel(panel, u"lblTo"_s, u"To"_s, QRect(Margin + 172 + DateWidth, row, 24, RowHeight));
    txtTo = makeDateEntry(panel, u"txtTo"_s,
                          QRect(Margin + 198 + DateWidth, row, DateWidth, RowHeight), m_window.to);
    for (QWidget *control : {static_cast<QWidget *>(lblFrom), static_cast<QWidget *>(lblTo)})
        control->setEnabled(calendars);
    SetEditEnabled(txtFrom, calendars);
    SetEditEnabled(txtTo, calendars);
    txtFrom->installEventFilter(this);
    txtTo->installEventFilter(this);

    row += 30;
    chkBirthdays = new QCheckBox(u"Copy Contacts' Birthdays To The Birthday List"_s, panel);
    chkBirthdays->setObjectName(u"chkBirthdays"_s);
    chkBirthdays->setGeometry(Margin, row, inner, RowHeight);
    chkBirthdays->setEnabled(contacts);
    connect(chkBirthdays, &QCheckBox::clicked, this, Reported([this] { replan(); }));

    row += 32;
    const int numberWidth = 96;
    const int addLeft = Margin + 150;
    const int thereLeft = addLeft + numberWidth + 10;
    QLabel *toAdd =
        MakeLabel(panel, u"lblToAdd"_s, u"To Add"_s, QRect(addLeft, row, numberWidth, RowHeight));
    QLabel *there = MakeLabel(panel, u"lblAlreadyThere"_s, u"Already There"_s,
                              QRect(thereLeft, row, numberWidth, RowHeight));
    for (QLabel *heading : {toAdd, there}) {
        heading->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        QFont bold = heading->font();
        bold.setBold(true);
        heading->setFont(bold);
    }
    const QString kinds[] = {u"Appointments"_s, u"Tasks"_s, u"Occasions"_s, u"Contacts"_s};
    for (const QString &kind : kinds) {
        row += 20;
        MakeLabel(panel, u"lbl"_s + kind, kind, QRect(Margin, row, 140, 20));
        for (const auto &[prefix, left] :
             {std::pair{u"lblAdd"_s, addLeft}, std::pair{u"lblThere"_s, thereLeft}}) {
            QLabel *count =
                MakeLabel(panel, prefix + kind, QString(), QRect(left, row, numberWidth, 20));
            count->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
            m_counts.append(count);
        }
    }

    row += 30;
    MakeLabel(panel, u"lblNotes"_s, u"Not Taken Or Changed :"_s, QRect(Margin, row, inner, 20));
    row += 22;
    lstNotes = new QListWidget(panel);
    lstNotes->setObjectName(u"lstNotes"_s);
    lstNotes->setGeometry(Margin, row, inner, panel->height() - row - Margin);
    lstNotes->setFocusPolicy(Qt::StrongFocus);

    addSaveAndCancel(u"Add What Is Shown To Add And Close Screen"_s,
                     u"Close Screen Without Importing Anything"_s);
    cmdUpdate->setText(u"&Import"_s);
    QWidget *order[] = {txtFrom, txtTo, chkBirthdays, lstNotes, cmdUpdate, cmdCancel};
    for (std::size_t i = 1; i < std::size(order); ++i)
        setTabOrder(order[i - 1], order[i]);
}

bool TfrmImport::eventFilter(QObject *watched, QEvent *event) {
    if ((watched == txtFrom || watched == txtTo) && event->type() == QEvent::FocusOut &&
        IsMoveBetweenControls(event))
        RunReported([this] { windowExit(); });
    return QDialog::eventFilter(watched, event);
}

bool TfrmImport::windowExit() {
    if (!txtFrom->isEnabled())
        return true;
    const QDate from = entryDate(lblFrom, txtFrom);
    const QDate to = entryDate(lblTo, txtTo);
    if (!from.isValid() || !to.isValid())
        return false;
    if (to < from) {
        SetLabelInvalid(lblTo);
        return false;
    }
    if (from != m_window.from || to != m_window.to) {
        m_window = {from, to};
        for (ImportSource &source : m_sources)
            if (source.kind == ImportKind::Calendar)
                ConvertImportSource(source, m_window, QTimeZone::systemTimeZone());
        replan();
    }
    return true;
}

void TfrmImport::replan() {
    m_plan = PlanImport(m_sources, m_folder, {chkBirthdays->isChecked()});
    showPlan();
    // Nothing of the user's is lost by closing: the summary is only a view.
    SnapshotForm(this);
}

QList<qsizetype> TfrmImport::shownCounts() const {
    return {m_plan.appointments.size(), m_plan.appointmentsThere, m_plan.tasks.size(),
            m_plan.tasksThere,          m_plan.occasions.size(),  m_plan.occasionsThere,
            m_plan.contacts.size(),     m_plan.contactsThere,     m_plan.notes.total(),
            m_plan.errors.size()};
}

void TfrmImport::showPlan() {
    const QList<qsizetype> numbers = shownCounts();
    for (qsizetype i = 0; i < m_counts.size(); ++i)
        m_counts.at(i)->setText(QString::number(numbers.at(i)));
    lstNotes->clear();
    for (const QString &error : m_plan.errors)
        lstNotes->addItem(u"Cannot Import "_s + error);
    for (const auto &[reason, count] : m_plan.notes.items())
        lstNotes->addItem(QString::number(count) + u"  "_s + reason);
    cmdUpdate->setEnabled(m_plan.toAdd() > 0);
}

void TfrmImport::cmdUpdateClick() {
    // A summary that changed (dates typed and not yet left, or records added
    // to the data folder meanwhile) is shown first: only what the user has
    // seen is imported. The record files are read again for that.
    const QList<qsizetype> seen = shownCounts();
    if (!windowExit()) {
        ShowCannotSave(u"The Dates To Take Appointments From Are Not Valid\r"_s);
        return;
    }
    replan();
    if (shownCounts() != seen)
        return;
    if (m_plan.toAdd() == 0) {
        ShowMessageBox(ImportText::NoRecords, MessageKind::Information, MessageButtons::OK);
        return;
    }
    const ImportOutcome outcome = ApplyImport(m_plan, m_folder);
    const bool anything = !outcome.written.isEmpty();
    ShowMessageBox(ImportOutcomeText(outcome).replace(u'\n', u'\r'),
                   outcome.ok() ? MessageKind::Information : MessageKind::Error,
                   MessageButtons::OK);
    if (anything)
        closeSaved();
    else
        replan();
}

// ---------------------------------------------------------------------------

TfrmExport::TfrmExport(const QString &folder, QWidget *parent)
    : EditorForm(u"frmExport"_s, ExportCaption, {420, 232}, parent), m_folder(folder) {
    SetHelpTopic(this, HelpTopic::ImportExport);
    buildControls();
    optionsClick();
    SnapshotForm(this);
}

void TfrmExport::buildControls() {
    auto *panel = new GradientPanel(outerPanel(), 2);
    panel->setObjectName(u"panExport"_s);
    panel->setFrameShape(QFrame::StyledPanel);
    panel->setGeometry(Margin, Margin, width() - 2 * Margin, height() - 60);
    const int inner = panel->width() - 2 * Margin;

    auto *what = new QButtonGroup(this);
    optCalendar = new QRadioButton(u"Diary, Tasks And Birthday List (iCalendar)"_s, panel);
    optCalendar->setObjectName(u"optCalendar"_s);
    optCalendar->setGeometry(Margin, 8, inner, RowHeight);
    optCalendar->setChecked(true);
    optContacts = new QRadioButton(u"Address Book (vCard)"_s, panel);
    optContacts->setObjectName(u"optContacts"_s);
    optContacts->setGeometry(Margin, 8 + 4 * RowHeight + 8, inner, RowHeight);
    what->addButton(optCalendar);
    what->addButton(optContacts);

    auto *range = new QButtonGroup(this);
    optEverything = new QRadioButton(u"Everything"_s, panel);
    optEverything->setObjectName(u"optEverything"_s);
    optEverything->setGeometry(3 * Margin, 8 + RowHeight + 2, inner - 2 * Margin, RowHeight);
    optEverything->setChecked(true);
    optRange = new QRadioButton(u"Only The Appointments"_s, panel);
    optRange->setObjectName(u"optRange"_s);
    optRange->setGeometry(3 * Margin, 8 + 2 * RowHeight + 4, inner - 2 * Margin, RowHeight);
    range->addButton(optEverything);
    range->addButton(optRange);

    const int row = 8 + 3 * RowHeight + 6;
    const QDate today = clock().now().date();
    lblFrom = MakeLabel(panel, u"lblFrom"_s, u"From"_s, QRect(5 * Margin, row, 40, RowHeight));
    txtFrom = makeDateEntry(panel, u"txtFrom"_s, QRect(5 * Margin + 42, row, DateWidth, RowHeight),
                            QDate(today.year(), 1, 1));
    lblTo = MakeLabel(panel, u"lblTo"_s, u"To"_s,
                      QRect(5 * Margin + 52 + DateWidth, row, 24, RowHeight));
    txtTo = makeDateEntry(panel, u"txtTo"_s,
                          QRect(5 * Margin + 78 + DateWidth, row, DateWidth, RowHeight),
                          QDate(today.year(), 12, 31));
    for (QRadioButton *button : {optCalendar, optContacts, optEverything, optRange})
        connect(button, &QRadioButton::toggled, this, Reported([this] { optionsClick(); }));

    addSaveAndCancel(u"Choose The File To Export To"_s, u"Close Screen Without Exporting"_s);
    cmdUpdate->setText(u"&Export..."_s);
}

void TfrmExport::optionsClick() {
    const bool calendar = optCalendar->isChecked();
    optEverything->setEnabled(calendar);
    optRange->setEnabled(calendar);
    const bool dates = calendar && optRange->isChecked();
    lblFrom->setEnabled(dates);
    lblTo->setEnabled(dates);
    SetEditEnabled(txtFrom, dates);
    SetEditEnabled(txtTo, dates);
}

void TfrmExport::cmdUpdateClick() {
    const bool calendar = optCalendar->isChecked();
    CalendarExportRange range;
    if (calendar && optRange->isChecked()) {
        range.everything = false;
        range.from = entryDate(lblFrom, txtFrom);
        range.to = entryDate(lblTo, txtTo);
        if (!range.from.isValid() || !range.to.isValid() || range.to < range.from) {
            ShowCannotSave(u"The Dates Of The Appointments To Export Are Not Valid\r"_s);
            return;
        }
    }
    const QString extension = calendar ? u".ics"_s : u".vcf"_s;
    ExchangeFileDialog dialog(this, u"savExport"_s, QFileDialog::AcceptSave,
                              {calendar ? CalendarFilter : ContactsFilter});
    dialog.selectFile(ProgramTitle() + extension);
    dialog.setDefaultSuffix(extension.mid(1));
    if (prompter().runModal(dialog) != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return;
    const QString path = dialog.selectedFiles().constFirst();
    if (QFileInfo::exists(path) &&
        ShowMessageBox(QDir::toNativeSeparators(path) +
                           u" Already Exists\r\rDo You Want To Replace It?"_s,
                       MessageKind::Confirmation, MessageButtons::YesNo) != MessageResult::Yes)
        return;

    const ExportResult result = ExportDataFolder(m_folder, path, !calendar, range,
                                                 QTimeZone::systemTimeZone(), clock().now());
    ShowMessageBox(ExportSummaryText(result, path, !calendar).trimmed().replace(u'\n', u'\r'),
                   MessageKind::Information, MessageButtons::OK);
    closeSaved();
}

} // namespace qm
