#include "address/ui/AddressPage.h"

#include "address/ui/TfrmNameMaint.h"
#include "foundation/BusyScope.h"
#include "foundation/Settings.h"
#include "foundation/ui/ErrorReport.h"
#include "foundation/ui/FormParts.h"
#include "foundation/ui/HelpTopics.h"
#include "foundation/ui/MsgBox.h"
#include "foundation/ui/Styling.h"
#include "platform/Prompter.h"
#include "platform/Services.h"

#include <QAbstractTableModel>
#include <QApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTableView>

#include <system_error>

using namespace Qt::StringLiterals;

namespace qm {

namespace {

constexpr int RowHeight = 17;
// The grid shows its heading row and nine contacts; with more rows it gets its
// scroll bar.
constexpr int VisibleRows = 10;
// The grid spans the page between these margins, as the panels below it do.
constexpr int GridLeft = 10;
constexpr int GridTop = 10;
constexpr int GridWidth = AddressPage::Width - 2 * GridLeft;

// The widths of the columns before the telephone; the telephone takes what
// the grid leaves, with or without its scroll bar.
const QList<int> PersonalWidths{258};
const QList<int> AllWidths{163, 135};

} // namespace

// The grid's rows: one per contact of the view, or one blank row for none.
class AddressGridModel : public QAbstractTableModel {
public:
    using QAbstractTableModel::QAbstractTableModel;

    void setView(const AddressView *view, int columns) {
        beginResetModel();
        m_view = view;
        m_columns = columns;
        endResetModel();
    }
    int rowCount(const QModelIndex &parent = {}) const override {
        if (parent.isValid())
            return 0;
        return m_view && !m_view->rows.isEmpty() ? int(m_view->rows.size()) : 1;
    }
    int columnCount(const QModelIndex &parent = {}) const override {
        return parent.isValid() ? 0 : m_columns;
    }
    QVariant data(const QModelIndex &index, int role) const override {
        if (role != Qt::DisplayRole || !m_view || index.row() >= m_view->rows.size())
            return {};
        return m_view->rows.at(index.row()).cells.value(index.column());
    }
    // The heading row stays empty: the ordering buttons lie over it.
    QVariant headerData(int, Qt::Orientation, int role) const override {
        return role == Qt::DisplayRole ? QVariant(QString()) : QVariant();
    }

private:
    const AddressView *m_view = nullptr;
    int m_columns = 3;
};

AddressPage::AddressPage(QWidget *parent) : Page(u"tabAddress"_s, parent) {
    SetHelpTopic(this, HelpTopic::AddressBook);
    m_model = new AddressGridModel(this);
}

AddressPage::~AddressPage() = default;

void AddressPage::build() {
    QWidget *back = background();

    grdAddress = new QTableView(back);
    grdAddress->setObjectName(u"grdAddress"_s);
    grdAddress->setModel(m_model);
    grdAddress->setSelectionBehavior(QAbstractItemView::SelectRows);
    grdAddress->setSelectionMode(QAbstractItemView::SingleSelection);
    grdAddress->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grdAddress->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    grdAddress->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    grdAddress->setWordWrap(false);
    grdAddress->setTabKeyNavigation(false);
    grdAddress->verticalHeader()->hide();
    grdAddress->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    // The minimum first: the style's own may be above the row height.
    grdAddress->verticalHeader()->setMinimumSectionSize(RowHeight);
    grdAddress->verticalHeader()->setDefaultSectionSize(RowHeight);
    // Whole rows only, as in a grid of cells.
    grdAddress->setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
    QHeaderView *heading = grdAddress->horizontalHeader();
    heading->setSectionResizeMode(QHeaderView::Fixed);
    heading->setHighlightSections(false);
    heading->setSectionsClickable(false);
    heading->setMinimumSectionSize(1);
    heading->setFixedHeight(RowHeight);
    const int frame = grdAddress->frameWidth();
    grdAddress->setGeometry(GridLeft, GridTop - frame, GridWidth,
                            VisibleRows * RowHeight + 2 * frame);
    // Edit is the page's default action: a double-click on a row, or Enter.
    connect(grdAddress, &QTableView::doubleClicked, this, Reported([this] {
                if (cmdNameEdit->isEnabled())
                    cmdNameEditClick();
            }));
    grdAddress->installEventFilter(this);

    const struct {
        QPushButton **button;
        QString name, caption, hint;
        AddressOrder order;
    } orders[] = {
        {&cmdOrdComp, u"cmdOrdComp"_s, u"Company Name"_s, u"Sort List By Company Name"_s,
         AddressOrder::Company},
        {&cmdOrdName, u"cmdOrdName"_s, u"Name"_s, u"Sort List By Contact Name"_s,
         AddressOrder::Name},
        {&cmdOrdTele, u"cmdOrdTele"_s, u"Telephone"_s, u"Sort List By Telephone Number"_s,
         AddressOrder::Telephone},
    };
    for (const auto &order : orders) {
        QPushButton *button = MakeButton(back, order.name, order.caption, order.hint);
        button->setFocusPolicy(Qt::NoFocus);
        button->setGeometry(GridLeft, GridTop, 100, RowHeight + 1);
        connect(button, &QPushButton::clicked, this, Reported([this, o = order.order] {
                    txtLocate->setFocus();
                    FillAddressView(o);
                }));
        *order.button = button;
    }

    const int below = GridTop + grdAddress->height();
    auto *note =
        MakeLabel(back, u"lblOrderNote"_s,
                  u"(You Can Re-Order The List By Clicking On The Required Column Heading)"_s,
                  QRect(GridLeft, below + 4, Width - 2 * GridLeft, 32));
    note->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    note->setWordWrap(true);

    // The filter on the left, the search on the right, between the note and
    // the buttons.
    constexpr int PanelHeight = 100;
    const int panelTop = below + 44;
    auto *filters = new GradientPanel(back, 2);
    filters->setObjectName(u"panContacts"_s);
    filters->setFrameShape(QFrame::StyledPanel);
    filters->setGeometry(GridLeft, panelTop, 220, PanelHeight);
    const struct {
        QRadioButton **button;
        QString name, caption;
        ContactFilter filter;
    } options[] = {
        {&optPersonal, u"optPersonal"_s, u"Personal Contacts Only"_s, ContactFilter::Personal},
        {&optWork, u"optWork"_s, u"Business Contacts Only"_s, ContactFilter::Business},
        {&optBoth, u"optBoth"_s, u"Show All Contacts"_s, ContactFilter::All},
    };
    int top = 12;
    for (const auto &option : options) {
        auto *button = new QRadioButton(option.caption, filters);
        button->setObjectName(option.name);
        button->setGeometry(12, top, 196, 22);
        top += 27;
        connect(button, &QRadioButton::clicked, this,
                Reported([this, filter = option.filter] { filterClick(filter); }));
        // Enter edits and Esc closes from here too.
        button->installEventFilter(this);
        *option.button = button;
    }

    auto *search = new GradientPanel(back, 2);
    search->setObjectName(u"panLocate"_s);
    search->setFrameShape(QFrame::StyledPanel);
    search->setGeometry(GridLeft + 232, panelTop, Width - 2 * GridLeft - 232, PanelHeight);
    lblLocate = MakeLabel(search, u"lblLocate"_s, SearchCaption(m_order),
                          QRect(12, 24, search->width() - 24, 18));
    txtLocate = MakeEdit(search, u"txtLocate"_s, QRect(12, 46, search->width() - 24, 22), 40);
    connect(txtLocate, &QLineEdit::textChanged, this, Reported([this] { txtLocateChange(); }));
    txtLocate->installEventFilter(this);

    const struct {
        QPushButton **button;
        QString name, caption, hint;
        int imageIndex;
        void (AddressPage::*click)();
    } commands[] = {
        {&cmdNameEdit, u"cmdNameEdit"_s, u"&Edit"_s, u"Edit High-Lighted Name/Address"_s, 3,
         &AddressPage::cmdNameEditClick},
        {&cmdNameAdd, u"cmdNameAdd"_s, u"&Add"_s, u"Add New Name/Address"_s, 4,
         &AddressPage::cmdNameAddClick},
        {&cmdNameDelete, u"cmdNameDelete"_s, u"&Delete"_s, u"Delete High-Lighted Name/Address"_s, 5,
         &AddressPage::cmdNameDeleteClick},
    };
    int left = 8;
    for (const auto &command : commands) {
        QPushButton *button =
            MakeButton(back, command.name, command.caption, command.hint, command.imageIndex);
        button->setGeometry(left, Height - 35, 75, 25);
        left += 81;
        connect(button, &QPushButton::clicked, this,
                Reported([this, click = command.click] { (this->*click)(); }));
        *command.button = button;
    }
    addCloseButton(u"cmdCloseName"_s)->setProperty(ImageIndexProperty, 6);
    cmdNameEdit->setEnabled(false);
    cmdNameDelete->setEnabled(false);

    QWidget::setTabOrder(txtLocate, grdAddress);
    layOutGrid();
}

void AddressPage::prepareView() {
    if (m_lastView || m_prepared.valid())
        return;
    const Settings settings(settingsStore());
    const ContactFilter filter = FilterFromCode(settings.addressContacts());
    const AddressOrder order = OrderForFilter(OrderFromName(settings.addressOrder()), filter);
    const QString path = dataFile(AddressFileName);
    try {
        m_prepared = std::async(std::launch::async, [path, order, filter] {
            Prepared prepared;
            const QList<AddressRecord> &records = prepared.records.read(path, ViewFields);
            prepared.last = LastView{ViewMade{prepared.records.generation(), order, filter, -1},
                                     qm::FillAddressView(records, order, filter, -1)};
            return prepared;
        });
    } catch (const std::system_error &) {
        // No thread to spare: the page reads the file when it is shown.
    }
}

void AddressPage::showStep() {
    ensureBuilt();
    // The grid is empty until the file has been read.
    m_view = {};
    m_model->setView(&m_view, m_filter == ContactFilter::Personal ? 2 : 3);
    Settings settings(settingsStore());
    m_order = OrderFromName(settings.addressOrder());
    const ContactFilter filter = FilterFromCode(settings.addressContacts());
    QRadioButton *button = filterButton(filter);
    if (!button->isChecked()) {
        // As a user's click would, which fills the view.
        button->setChecked(true);
        filterClick(filter);
        return;
    }
    FillAddressView(m_order);
}

QWidget *AddressPage::focusTarget() {
    return txtLocate;
}

void AddressPage::layOutGrid() {
    const bool personal = m_filter == ContactFilter::Personal;
    QList<int> widths = personal ? PersonalWidths : AllWidths;
    m_model->setView(&m_view, int(widths.size()) + 1);
    // Heading row included. The bar is not shown yet when the rows have just
    // been set, so its room is reckoned here.
    const bool scrollBar = m_model->rowCount() + 1 > VisibleRows;
    int room = grdAddress->width() - 2 * grdAddress->frameWidth();
    if (scrollBar)
        room -= grdAddress->verticalScrollBar()->sizeHint().width();
    int used = 0;
    for (const int width : widths)
        used += width;
    widths.append(room - used);
    int left = GridLeft + grdAddress->frameWidth();
    QList<QRect> headings;
    for (int column = 0; column < widths.size(); ++column) {
        grdAddress->setColumnWidth(column, widths[column]);
        headings.append(QRect(left, GridTop, widths[column], RowHeight + 1));
        left += widths[column];
    }
    // The ordering buttons lie over the heading row, each over its column.
    cmdOrdComp->setVisible(!personal);
    if (!personal)
        cmdOrdComp->setGeometry(headings.takeFirst());
    cmdOrdName->setGeometry(headings[0]);
    cmdOrdTele->setGeometry(headings[1]);
    for (QPushButton *button : {cmdOrdComp, cmdOrdName, cmdOrdTele})
        button->raise();
}

void AddressPage::FillAddressView(AddressOrder order) {
    ensureBuilt();
    BusyScope busy;
    // Read first: when the file cannot be read the view stays as it was.
    if (m_prepared.valid()) {
        // A file that could not be read there is read, and reported, below.
        try {
            Prepared prepared = m_prepared.get();
            m_records = std::move(prepared.records);
            m_lastView = std::move(prepared.last);
        } catch (const std::exception &) {
        }
    }
    const QList<AddressRecord> &records = m_records.read(dataFile(AddressFileName), ViewFields);
    // The same records in the same order and filter make the same view: a
    // page shown again over an unchanged file does not sort them again.
    const ViewMade made{m_records.generation(), order, m_filter, CurrentKey};
    if (!m_lastView || made != m_lastView->made)
        m_lastView = LastView{made, qm::FillAddressView(records, order, m_filter, CurrentKey)};
    m_view = m_lastView->view;
    m_file.AddressCount = m_view.AddressCount;
    m_order = order;
    layOutGrid();

    lblLocate->setText(SearchCaption(order));
    const QPushButton *current = orderButton(order);
    for (QPushButton *button : {cmdOrdComp, cmdOrdName, cmdOrdTele}) {
        QFont font = button->font();
        font.setBold(button == current);
        font.setItalic(button == current);
        button->setFont(font);
    }
    const bool any = !m_view.lstAddress.isEmpty();
    cmdNameEdit->setEnabled(any);
    cmdNameDelete->setEnabled(any);

    {
        const QSignalBlocker quiet(txtLocate);
        txtLocate->clear();
    }
    selectRow(m_view.selectedRow);
    if (isVisible())
        txtLocate->setFocus();
    RememberViewChoice([order] { Settings(settingsStore()).setAddressOrder(OrderName(order)); });
}

int AddressPage::selectedRow() const {
    if (!grdAddress || m_view.rows.isEmpty())
        return -1;
    const QModelIndexList selected = grdAddress->selectionModel()->selectedRows();
    return selected.isEmpty() ? -1 : selected.first().row();
}

void AddressPage::selectRow(int row) {
    if (row < 0 || row >= m_model->rowCount())
        return;
    const QModelIndex index = m_model->index(row, 0);
    grdAddress->selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect |
                                                             QItemSelectionModel::Rows);
    grdAddress->scrollTo(index);
}

void AddressPage::txtLocateChange() {
    if (m_view.lstAddress.isEmpty())
        return;
    selectRow(LocateRow(m_view, txtLocate->text()));
}

QRadioButton *AddressPage::filterButton(ContactFilter filter) const {
    switch (filter) {
    case ContactFilter::Personal:
        return optPersonal;
    case ContactFilter::Business:
        return optWork;
    case ContactFilter::All:
        break;
    }
    return optBoth;
}

QPushButton *AddressPage::orderButton(AddressOrder order) const {
    switch (order) {
    case AddressOrder::Name:
        return cmdOrdName;
    case AddressOrder::Telephone:
        return cmdOrdTele;
    case AddressOrder::Company:
        break;
    }
    return cmdOrdComp;
}

void AddressPage::filterClick(ContactFilter filter) {
    m_filter = filter;
    // The grid follows the button even when the choice cannot be stored.
    FillAddressView(OrderForFilter(m_order, filter));
    RememberViewChoice(
        [filter] { Settings(settingsStore()).setAddressContacts(FilterCode(filter)); });
}

void AddressPage::openEditor(EditMode mode) {
    AddressRecord edited;
    int occurrence = 0;
    if (mode == EditMode::Edit) {
        const int row = selectedRow();
        if (row < 0)
            return;
        // The view holds only what it shows: the whole contact is read now.
        const AddressRow &contact = m_view.rows.at(row);
        const std::optional<AddressRecord> record = FindContact(
            ReadWholeAddressRecords(dataFile(AddressFileName)), contact.key, contact.occurrence);
        if (!record) {
            // Changed behind the page's back: show what the file holds now.
            FillAddressView(m_order);
            return;
        }
        edited = *record;
        occurrence = contact.occurrence;
    }
    TfrmNameMaint editor(m_file, mode, edited, occurrence, window());
    prompter().runModal(editor);
    if (!editor.RecordSaved())
        return;
    CurrentKey = editor.CurrentKey();
    FillAddressView(m_order);
}

void AddressPage::cmdNameAddClick() {
    openEditor(EditMode::Add);
}

void AddressPage::cmdNameEditClick() {
    openEditor(EditMode::Edit);
}

void AddressPage::cmdNameDeleteClick() {
    const int row = selectedRow();
    if (row < 0)
        return;
    // The question names the contact, so a wrong selection shows before
    // anything is lost.
    const AddressRow &contact = m_view.rows.at(row);
    if (ShowMessageBox(ContactDeleteQuestion(contact), MessageKind::Confirmation,
                       MessageButtons::YesNo) != MessageResult::Yes)
        return;
    // The record itself is named, by its key as stored and its place among
    // any that share the key, so no other contact goes with it.
    m_file.UpdateAddressFile(contact.key, DeleteOperation, contact.occurrence);
    CurrentKey = -1;
    FillAddressView(m_order);
}

bool AddressPage::eventFilter(QObject *watched, QEvent *event) {
    if (event->type() == QEvent::KeyPress &&
        (watched == txtLocate || watched == grdAddress || qobject_cast<QRadioButton *>(watched))) {
        auto *key = static_cast<QKeyEvent *>(event);
        switch (key->key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
            RunReported([this] {
                if (cmdNameEdit->isEnabled())
                    cmdNameEditClick();
            });
            return true;
        case Qt::Key_Escape:
            RunReported([this] { emit closeRequested(); });
            return true;
        case Qt::Key_Up:
        case Qt::Key_Down:
        case Qt::Key_PageUp:
        case Qt::Key_PageDown:
            // The search box steps through the grid as well.
            if (watched == txtLocate) {
                QApplication::sendEvent(grdAddress, event);
                return true;
            }
            break;
        default:
            break;
        }
    }
    return Page::eventFilter(watched, event);
}

} // namespace qm
