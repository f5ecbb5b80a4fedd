#pragma once

#include "address/AddressBook.h"
#include "foundation/EditMode.h"
#include "foundation/ui/EditorForm.h"

#include <array>

class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QRadioButton;
class QToolButton;

namespace qm {

// The modal form in which one contact of the address book is added or
// changed. Saving checks the entries, gives a new contact its key and writes
// "Address.Qmt" (a failed write leaves the form open with its entries); the
// birthday button copies the contact's birthday to the occasion list.
class TfrmNameMaint : public EditorForm {
    Q_OBJECT
public:
    // edited: the contact being edited, the occurrence-th of the records
    // sharing its key (both ignored when adding).
    TfrmNameMaint(AddressFile &file, EditMode mode, const AddressRecord &edited, int occurrence,
                  QWidget *parent = nullptr);

    // The key of the saved contact; -1 until Save has stored it.
    int CurrentKey() const { return m_currentKey; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    void buildControls();
    void FormShow();
    void cmdUpdateClick() override;
    void txtBirthdayExit();
    void txtEmailDblClick();
    void spdAddClick();
    void cboTitleAccept();
    void completeTitle();
    AddressRecord entries() const;

    AddressFile &m_file;
    EditMode m_mode;
    AddressRecord m_edited;
    int m_occurrence = 0;
    int m_currentKey = -1;
    // The last key pressed in the title: deleting never completes.
    int m_titleKey = 0;

    QRadioButton *optPersonal = nullptr;
    QRadioButton *optBusiness = nullptr;
    QLineEdit *txtCompany = nullptr;
    QLineEdit *txtSurname = nullptr;
    QLineEdit *txtForename = nullptr;
    QComboBox *cboTitle = nullptr;
    QFrame *memAddHolder = nullptr;
    std::array<QLineEdit *, 5> txtAdd{};
    QLineEdit *txtPostcode = nullptr;
    QLineEdit *txtEmail = nullptr;
    QLineEdit *txtTelNo = nullptr;
    QLineEdit *txtMobile = nullptr;
    QLineEdit *txtFax = nullptr;
    QLabel *lblBirthday = nullptr;
    QLineEdit *txtBirthday = nullptr;
    QToolButton *spdAdd = nullptr;
};

} // namespace qm
