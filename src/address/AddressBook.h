#pragma once

#include "foundation/AddressFile.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

// The address book's rules: how contacts are ordered, filtered, shown and
// found in the address view, what a contact needs before it is saved, and the
// occasion a contact's birthday becomes.
namespace qm {

namespace AddressText {
inline const QString NameMissing =
    QStringLiteral("You Must Specify A Company Name Or Contact Name");
inline const QString TypeMissing =
    QStringLiteral("You Must Select The Record Type (Personal Or Business)");
inline const QString BirthdayInvalid = QStringLiteral("Birthday Is Not A Valid Date");
inline const QString BirthdayNeeded =
    QStringLiteral("You Must Specify A First Name, Last Name And Valid Birthday Before You Can "
                   "Add A Record To Your Birthday List");
inline const QString BirthdayExists =
    QStringLiteral("A Record Of This Person's Birthday Already Exists On Your Birthday List");
inline const QString BirthdayAdded =
    QStringLiteral("Person's Birthday Has Been Added To Birthday List");
} // namespace AddressText

// The numbers of a contact's fields, as AddressField() takes them.
namespace ContactField {
enum : int {
    Key = 1,
    Type,
    Company,
    LastName,
    FirstName,
    Title,
    FirstAddressLine, // to 11, five lines
    Postcode = 12,
    Telephone,
    Mobile,
    Fax,
    Email,
    Birthday,
};
} // namespace ContactField

// The column the view is ordered by; its name is what "Address Order" holds.
enum class AddressOrder { Company, Name, Telephone };
QString OrderName(AddressOrder order);
// An unknown name is the company order.
AddressOrder OrderFromName(const QString &name);
// "Search By Company", "Search By Name", "Search By Telphone".
QString SearchCaption(AddressOrder order);

// Which contacts are listed; the code is what "Address Contacts" holds.
enum class ContactFilter { Personal, Business, All };
QString FilterCode(ContactFilter filter);
// "P" and "W"; anything else lists all contacts.
ContactFilter FilterFromCode(const QString &code);

// The order to fill a view in under filter: personal contacts show no
// company, so the company order becomes the name order there.
AddressOrder OrderForFilter(AddressOrder order, ContactFilter filter);

// Field 4, ", " and field 5 when neither is blank, else empty.
QString NameCell(const AddressRecord &record);
// The value of the ordering column in capitals (the code page's), the
// separator 0xFF and the key: "SMITH, JOHN" + 0xFF + "301" in the name order.
QString ContactSortText(const AddressRecord &record, AddressOrder order);

// One listed contact: its key as stored and which of the records sharing
// that key it is (0 for the first in the file), so an edit or a delete
// touches this record and no other; and the grid's cells.
struct AddressRow {
    QString key;
    int occurrence = 0;
    QStringList cells;
    // The value of the ordering column in the form the view is sorted by
    // (case-folded), which the search compares with.
    QString orderValue;
    // The contact as the delete question names it.
    QString label;
};

// The address view: lstAddress and the grid's rows, row i showing the
// contact of line i of lstAddress.
struct AddressView {
    QStringList lstAddress;
    QList<AddressRow> rows;
    // Records with a key, listed or not.
    int AddressCount = 0;
    // The row to select: that of the contact whose key is currentKey (the
    // first of them in the file), else 0.
    int selectedRow = 0;
    bool companyShown = true;
};

// The fields the view shows or orders by; the rest are read when a contact is
// opened.
inline const QList<int> ViewFields = {ContactField::Key,       ContactField::Type,
                                      ContactField::Company,   ContactField::LastName,
                                      ContactField::FirstName, ContactField::Telephone};

// Builds the view of whole records, in file order: a record with a blank key
// is neither listed nor counted; the rest are listed when the filter takes
// their type. Lines sort by the value without regard to case, then by the
// key; equal lines keep file order.
AddressView FillAddressView(const QList<AddressRecord> &records, AddressOrder order,
                            ContactFilter filter, int currentKey);
// The record of a listed contact: the occurrence-th (from 0) of the records
// whose key is exactly key; nothing when the file no longer has it.
std::optional<AddressRecord> FindContact(const QList<AddressRecord> &records, const QString &key,
                                         int occurrence);

// The incremental search: the first row whose value of the ordering column,
// cut to the length of text (without surrounding spaces), is not below it,
// both compared in the case-folded form the rows are sorted in, so the row
// found is where the text stands in the list; the last row when there is
// none; row 0 for an empty text. -1 for a view without rows.
int LocateRow(const AddressView &view, const QString &text);

// "Are You Sure You Want To Delete '<the row's company or name>'?"
QString ContactDeleteQuestion(const AddressRow &row);

// The titles offered, in the order the drop-down lists them.
const QStringList &ContactTitles();
// The title typed so far completes to: the first title that begins with it,
// letter case ignored; -1 for none (and for nothing typed).
int CompleteTitle(const QString &typed);
// The title as kept on leaving the field: a title of the list typed in
// another letter case becomes the listed one; anything else stays as typed.
QString AcceptTitle(const QString &typed);

// Why a contact cannot be saved, each reason ending in "\r"; empty when it
// can. fields are the entries as typed (fields 3 to 16; the key, type and
// birthday are not looked at).
QString ContactSaveReasons(const AddressRecord &fields, bool typeChosen, bool birthdayValid);

// The occasion line for a birthday entry (dd/mm/yyyy): the month, the day,
// the separator, "Birthday For ", the first and the last name without
// surrounding blanks. The year is not used.
QString BirthdayOccasionLine(const QString &birthday, const QString &firstName,
                             const QString &lastName);
// Why that line cannot be stored ("\r" ended), or empty.
QString BirthdayLineReasons(const QString &line);
// Adds the line to "BirthAnn.Qmt" in its sorted place, unless the file holds
// exactly that line already; true when it was added.
bool AddToBirthdayList(const QString &line);

} // namespace qm
