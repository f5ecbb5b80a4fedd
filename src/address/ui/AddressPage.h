#pragma once

#include "address/AddressBook.h"
#include "foundation/EditMode.h"
#include "foundation/ui/Page.h"

#include <future>
#include <optional>

class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTableView;

namespace qm {

class AddressGridModel;

// The address book: a grid of company, name and telephone in one of three
// orders, filtered to personal, business or all contacts, with a search box
// that selects as the user types, and the buttons that add, edit or delete a
// contact.
class AddressPage : public Page {
    Q_OBJECT
public:
    explicit AddressPage(QWidget *parent = nullptr);
    ~AddressPage() override;

    // The key of the contact to select after the next fill; -1 for none.
    int CurrentKey = -1;

    // Reads "Address.Qmt" and makes its view in the order and filter stored,
    // on another thread, so the page's first showing finds it made. The
    // file is still looked at then: a change since is shown.
    void prepareView();

    void showStep() override;
    QWidget *focusTarget() override;

    // Reads "Address.Qmt" and shows it in order under the current filter.
    void FillAddressView(AddressOrder order);
    const AddressView &view() const { return m_view; }
    AddressOrder currentOrder() const { return m_order; }
    // The selected grid row (0 for the first contact); -1 for none.
    int selectedRow() const;

protected:
    void build() override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void cmdNameAddClick();
    void cmdNameEditClick();
    void cmdNameDeleteClick();
    // optPersonalClick, optWorkClick and optBothClick: the filter is
    // remembered and the view filled under it.
    void filterClick(ContactFilter filter);
    QRadioButton *filterButton(ContactFilter filter) const;
    QPushButton *orderButton(AddressOrder order) const;
    void txtLocateChange();
    void openEditor(EditMode mode);
    void layOutGrid();
    void selectRow(int row);

    AddressFile m_file;
    AddressViewRecords m_records;
    // What the last view was made of, and the view.
    struct ViewMade {
        int generation;
        AddressOrder order;
        ContactFilter filter;
        int currentKey;
        bool operator==(const ViewMade &) const = default;
    };
    struct LastView {
        ViewMade made;
        AddressView view;
    };
    std::optional<LastView> m_lastView;
    struct Prepared {
        AddressViewRecords records;
        LastView last;
    };
    std::future<Prepared> m_prepared;
    AddressView m_view;
    AddressOrder m_order = AddressOrder::Company;
    ContactFilter m_filter = ContactFilter::All;

    AddressGridModel *m_model = nullptr;
    QTableView *grdAddress = nullptr;
    QPushButton *cmdOrdComp = nullptr;
    QPushButton *cmdOrdName = nullptr;
    QPushButton *cmdOrdTele = nullptr;
    QRadioButton *optPersonal = nullptr;
    QRadioButton *optWork = nullptr;
    QRadioButton *optBoth = nullptr;
    QLabel *lblLocate = nullptr;
    QLineEdit *txtLocate = nullptr;
    QPushButton *cmdNameAdd = nullptr;
    QPushButton *cmdNameEdit = nullptr;
    QPushButton *cmdNameDelete = nullptr;
};

} // namespace qm
