#include "address/ui/TfrmNameMaint.h"

#include "foundation/BusyScope.h"
#include "foundation/Codec1252.h"
#include "foundation/Dates.h"
#include "foundation/Text.h"
#include "foundation/ui/Controls.h"
#include "foundation/ui/ErrorReport.h"
#include "foundation/ui/FormParts.h"
#include "foundation/ui/FormSnapshot.h"
#include "foundation/ui/HelpTopics.h"
#include "foundation/ui/MailTo.h"
#include "foundation/ui/MsgBox.h"
#include "foundation/ui/Styling.h"
#include "platform/Services.h"

#include <QApplication>
#include <QButtonGroup>
#include <QComboBox>
#include <QEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QToolButton>

using namespace Qt::StringLiterals;

namespace qm {

using namespace ContactField;

namespace {

const QString FormCaption = u"Address Book"_s;
const QString UpdateHint = u"Save Details And Close Screen"_s;
const QString CancelHint = u"Cancel Any Changes Made To The Record And Close Screen"_s;
const QString AddGlyph = u":/address/button_add.svg"_s;

constexpr int FormWidth = 470;
constexpr int FormHeight = 458;
constexpr int Margin = 10;
constexpr int FieldHeight = 22;
constexpr int RowStep = 26;
constexpr int CaptionWidth = 86;
constexpr int FieldLeft = Margin + CaptionWidth + 4;
constexpr int LineHeight = 18;

} // namespace

TfrmNameMaint::TfrmNameMaint(AddressFile &file, EditMode mode, const AddressRecord &edited,
                             int occurrence, QWidget *parent)
    : EditorForm(u"frmNameMaint"_s, FormCaption, {FormWidth, FormHeight}, parent), m_file(file),
      m_mode(mode), m_edited(edited), m_occurrence(occurrence) {
    SetHelpTopic(this, HelpTopic::ContactEditor);
    buildControls();
    FormShow();
}

void TfrmNameMaint::buildControls() {
    auto *panel = new GradientPanel(outerPanel(), 2);
    panel->setObjectName(u"panContact"_s);
    panel->setFrameShape(QFrame::StyledPanel);
    panel->setGeometry(Margin, Margin, FormWidth - 2 * Margin, 398);
    const int wide = panel->width() - FieldLeft - Margin;
    const auto caption = [panel](const QString &name, const QString &text, int top) {
        return MakeLabel(panel, name, text, QRect(Margin, top, CaptionWidth, FieldHeight));
    };
    const auto entry = [panel](const QString &name, int top, int width, int limit) {
        return MakeEdit(panel, name, QRect(FieldLeft, top, width, FieldHeight), limit);
    };
    int top = 8;
    // A caption ("lbl" and the entry's name) and its entry, then the next row.
    const auto textRow = [&](QLineEdit *&member, const QString &name, const QString &text,
                             int width, int limit) {
        caption(u"lbl"_s + name.mid(3), text, top);
        member = entry(name, top, width, limit);
        top += RowStep;
    };

    caption(u"lblRecordType"_s, u"Record Type"_s, top);
    optPersonal = new QRadioButton(u"Personal"_s, panel);
    optPersonal->setObjectName(u"optPersonal"_s);
    optPersonal->setGeometry(FieldLeft, top, 80, FieldHeight);
    optBusiness = new QRadioButton(u"Business"_s, panel);
    optBusiness->setObjectName(u"optBusiness"_s);
    optBusiness->setGeometry(FieldLeft + 85, top, 80, FieldHeight);
    auto *types = new QButtonGroup(this);
    types->addButton(optPersonal);
    types->addButton(optBusiness);

    top += 28;
    textRow(txtCompany, u"txtCompany"_s, u"Company"_s, wide, 60);
    textRow(txtSurname, u"txtSurname"_s, u"Last Name"_s, 180, 25);
    textRow(txtForename, u"txtForename"_s, u"First Name"_s, 150, 20);
    caption(u"lblTitle"_s, u"Title"_s, top);
    cboTitle = new QComboBox(panel);
    cboTitle->setObjectName(u"cboTitle"_s);
    cboTitle->setGeometry(FieldLeft, top, 90, FieldHeight);
    cboTitle->setEditable(true);
    cboTitle->addItems(ContactTitles());
    // The form completes titles itself; typed titles are never added.
    cboTitle->setCompleter(nullptr);
    cboTitle->setInsertPolicy(QComboBox::NoInsert);
    cboTitle->lineEdit()->setMaxLength(15);
    cboTitle->setCurrentIndex(-1);

    // Five borderless address lines and the postcode in one framed block.
    top += RowStep;
    caption(u"lblAddress"_s, u"Address"_s, top);
    memAddHolder = new QFrame(panel);
    memAddHolder->setObjectName(u"memAddHolder"_s);
    memAddHolder->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    memAddHolder->setBackgroundRole(QPalette::Base);
    memAddHolder->setAutoFillBackground(true);
    memAddHolder->setGeometry(FieldLeft, top, 250, 6 * LineHeight + 6);
    for (int i = 0; i < 5; ++i) {
        txtAdd[i] = MakeEdit(memAddHolder, u"txtAdd"_s + QString::number(i + 1),
                             QRect(3, 3 + i * LineHeight, 244, LineHeight), 40);
        txtAdd[i]->setFrame(false);
    }
    MakeLabel(memAddHolder, u"lblPostcode"_s, u"Postcode"_s,
              QRect(5, 3 + 5 * LineHeight, 60, LineHeight));
    txtPostcode =
        MakeEdit(memAddHolder, u"txtPostcode"_s, QRect(68, 3 + 5 * LineHeight, 90, LineHeight), 10);
    txtPostcode->setFrame(false);

    top += memAddHolder->height() + 8;
    textRow(txtEmail, u"txtEmail"_s, u"Email"_s, wide, 100);
    txtEmail->setToolTip(u"Double-Click To Send Email"_s);
    QFont link = txtEmail->font();
    link.setUnderline(true);
    txtEmail->setFont(link);
    QPalette blue = txtEmail->palette();
    blue.setColor(QPalette::Text, Qt::blue);
    txtEmail->setPalette(blue);
    textRow(txtTelNo, u"txtTelNo"_s, u"Tel. No."_s, 180, 25);
    textRow(txtMobile, u"txtMobile"_s, u"Mobile"_s, 180, 25);
    textRow(txtFax, u"txtFax"_s, u"Fax. No."_s, 180, 25);
    lblBirthday = caption(u"lblBirthday"_s, u"Birthday"_s, top);
    txtBirthday = entry(u"txtBirthday"_s, top, 80, 10);
    SetDateEntryMask(txtBirthday);
    spdAdd = MakeGlyphButton(panel, u"spdAdd"_s, AddGlyph, u"Add To Birthday List"_s,
                             QPoint(FieldLeft + 88, top));
    // Unlike a picker this button is a command of its own: Tab reaches it.
    spdAdd->setFocusPolicy(Qt::StrongFocus);
    MakeLabel(panel, u"lblClickToAdd"_s, u"Click To Add To"_s,
              QRect(FieldLeft + 116, top - 3, 120, 14));
    MakeLabel(panel, u"lblBirthdayList"_s, u"Birthday List"_s,
              QRect(FieldLeft + 116, top + 11, 120, 14));

    addSaveAndCancel(UpdateHint, CancelHint);

    QWidget *order[] = {optPersonal, optBusiness, txtCompany, txtSurname, txtForename,
                        cboTitle,    txtAdd[0],   txtAdd[1],  txtAdd[2],  txtAdd[3],
                        txtAdd[4],   txtPostcode, txtEmail,   txtTelNo,   txtMobile,
                        txtFax,      txtBirthday, spdAdd,     cmdUpdate,  cmdCancel};
    for (std::size_t i = 1; i < std::size(order); ++i)
        setTabOrder(order[i - 1], order[i]);

    connect(spdAdd, &QToolButton::clicked, this, Reported([this] { spdAddClick(); }));
    connect(cboTitle->lineEdit(), &QLineEdit::textEdited, this,
            Reported([this] { completeTitle(); }));
    for (QObject *watched : {static_cast<QObject *>(txtBirthday), static_cast<QObject *>(cboTitle),
                             static_cast<QObject *>(cboTitle->lineEdit()),
                             static_cast<QObject *>(txtPostcode), static_cast<QObject *>(txtEmail)})
        watched->installEventFilter(this);
}

void TfrmNameMaint::FormShow() {
    BusyScope busy;
    if (m_mode == EditMode::Add) {
        optPersonal->setChecked(true);
    } else {
        const AddressRecord &record = m_edited;
        const auto text = [&record](int number) { return AddressField(record, number); };
        (text(Type) == u"P" ? optPersonal : optBusiness)->setChecked(true);
        // Each form is new, so an entry's limit is still its usual one.
        const auto setEntry = [](QLineEdit *edit, const QString &value) {
            SetStoredText(edit, value, edit->maxLength());
        };
        setEntry(txtCompany, text(Company));
        setEntry(txtSurname, text(LastName));
        setEntry(txtForename, text(FirstName));
        setEntry(cboTitle->lineEdit(), text(Title));
        for (int i = 0; i < 5; ++i)
            setEntry(txtAdd[i], text(FirstAddressLine + i));
        setEntry(txtPostcode, text(Postcode));
        setEntry(txtEmail, text(Email));
        setEntry(txtTelNo, text(Telephone));
        setEntry(txtMobile, text(Mobile));
        setEntry(txtFax, text(Fax));
        if (!IsBlank(text(Birthday)))
            txtBirthday->setText(SortableToDisplay(text(Birthday)));
    }
    txtCompany->setFocus();
    SnapshotForm(this);
}

void TfrmNameMaint::showEvent(QShowEvent *event) {
    EditorForm::showEvent(event);
    // The block behind the borderless lines looks like one entry field.
    QPalette palette = memAddHolder->palette();
    palette.setColor(QPalette::Base, txtAdd[0]->palette().color(QPalette::Base));
    memAddHolder->setPalette(palette);
}

bool TfrmNameMaint::eventFilter(QObject *watched, QEvent *event) {
    const QEvent::Type type = event->type();
    if (type == QEvent::FocusOut && IsMoveBetweenControls(event)) {
        if (watched == txtBirthday)
            RunReported([this] { txtBirthdayExit(); });
        else if (watched == cboTitle)
            RunReported([this] { cboTitleAccept(); });
    } else if (type == QEvent::MouseButtonDblClick && watched == txtEmail) {
        RunReported([this] { txtEmailDblClick(); });
        return true;
    } else if (type == QEvent::KeyPress) {
        auto *key = static_cast<QKeyEvent *>(event);
        // Keys reach the combo box first, which passes them to its line.
        if (watched == cboTitle || watched == cboTitle->lineEdit()) {
            m_titleKey = key->key();
        } else if (watched == txtPostcode) {
            // Typed letters become capitals, as the code page has them: a
            // letter without a capital there (µ, ß) stays as typed rather
            // than become one the file cannot hold. The postcode as stored is
            // shown as it is.
            const QString upper = UpperCaseCp1252(key->text());
            if (upper != key->text()) {
                QKeyEvent capital(key->type(), key->key(), key->modifiers(), upper,
                                  key->isAutoRepeat(), ushort(key->count()));
                QApplication::sendEvent(txtPostcode, &capital);
                return true;
            }
        }
    }
    return EditorForm::eventFilter(watched, event);
}

void TfrmNameMaint::completeTitle() {
    if (m_titleKey == Qt::Key_Backspace || m_titleKey == Qt::Key_Delete)
        return;
    QLineEdit *edit = cboTitle->lineEdit();
    const QString typed = edit->text();
    // Only while typing at the end: an edit inside the text is left alone.
    if (edit->cursorPosition() != typed.size())
        return;
    const int item = CompleteTitle(typed);
    if (item < 0)
        return;
    {
        const QSignalBlocker quiet(cboTitle);
        cboTitle->setCurrentIndex(item);
    }
    // As typed, then the rest of the title, selected so the next key replaces it.
    const QString &title = ContactTitles().at(item);
    edit->setText(typed + title.mid(typed.size()));
    edit->setSelection(int(edit->text().size()), int(typed.size() - title.size()));
}

void TfrmNameMaint::cboTitleAccept() {
    QLineEdit *edit = cboTitle->lineEdit();
    if (const QString title = AcceptTitle(edit->text()); title != edit->text())
        edit->setText(title);
}

void TfrmNameMaint::txtBirthdayExit() {
    CheckDateEdit(lblBirthday, txtBirthday, true);
}

AddressRecord TfrmNameMaint::entries() const {
    AddressRecord record;
    AddressField(record, Type) = optPersonal->isChecked() ? u"P"_s : u"W"_s;
    AddressField(record, Company) = txtCompany->text();
    AddressField(record, LastName) = txtSurname->text();
    AddressField(record, FirstName) = txtForename->text();
    AddressField(record, Title) = cboTitle->lineEdit()->text();
    for (int i = 0; i < 5; ++i)
        AddressField(record, FirstAddressLine + i) = txtAdd[i]->text();
    AddressField(record, Postcode) = txtPostcode->text();
    AddressField(record, Telephone) = txtTelNo->text();
    AddressField(record, Mobile) = txtMobile->text();
    AddressField(record, Fax) = txtFax->text();
    AddressField(record, Email) = txtEmail->text();
    if (!IsEntryBlank(txtBirthday))
        AddressField(record, Birthday) = DisplayToSortable(EntryText(txtBirthday));
    return record;
}

void TfrmNameMaint::cmdUpdateClick() {
    // Enter may reach Save from inside a field before its exit rule.
    txtBirthdayExit();
    cboTitleAccept();
    AddressRecord record = entries();
    const QString reasons = ContactSaveReasons(
        record, optPersonal->isChecked() || optBusiness->isChecked(), !IsLabelInvalid(lblBirthday));
    if (!reasons.isEmpty()) {
        ShowCannotSave(reasons);
        return;
    }
    // The file is written before the form closes: when the write fails the
    // form stays open with its entries.
    if (m_mode == EditMode::Add) {
        m_file.AddressFields = record;
        m_currentKey = m_file.SaveNewContact();
    } else {
        AddressField(record, Key) = AddressField(m_edited, Key);
        m_file.AddressFields = record;
        m_currentKey = m_file.SaveEditedContact(m_occurrence);
    }
    closeSaved();
}

void TfrmNameMaint::txtEmailDblClick() {
    StartMailTo(txtEmail->text());
}

void TfrmNameMaint::spdAddClick() {
    txtBirthdayExit();
    if (IsBlank(txtSurname->text()) || IsBlank(txtForename->text()) || IsEntryBlank(txtBirthday) ||
        IsLabelInvalid(lblBirthday)) {
        ShowMessageBox(AddressText::BirthdayNeeded, MessageKind::Warning, MessageButtons::OK);
        return;
    }
    const QString line =
        BirthdayOccasionLine(EntryText(txtBirthday), txtForename->text(), txtSurname->text());
    if (const QString reasons = BirthdayLineReasons(line); !reasons.isEmpty()) {
        ShowCannotSave(reasons);
        return;
    }
    if (AddToBirthdayList(line))
        ShowMessageBox(AddressText::BirthdayAdded, MessageKind::Information, MessageButtons::OK);
    else
        ShowMessageBox(AddressText::BirthdayExists, MessageKind::Warning, MessageButtons::OK);
}

} // namespace qm
