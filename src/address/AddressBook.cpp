#include "address/AddressBook.h"

#include "foundation/Codec1252.h"
#include "foundation/LineFiles.h"
#include "foundation/LineStore.h"
#include "foundation/Text.h"

#include <QHash>

#include <algorithm>
#include <numeric>

using namespace Qt::StringLiterals;

namespace qm {

using namespace ContactField;

namespace {

// The entries a user types, with the names the reasons give them.
struct TypedField {
    int number;
    const char16_t *name;
};
constexpr TypedField TypedFields[] = {
    {3, u"Company"},        {4, u"Last Name"},       {5, u"First Name"},
    {6, u"Title"},          {7, u"Address Line 1"},  {8, u"Address Line 2"},
    {9, u"Address Line 3"}, {10, u"Address Line 4"}, {11, u"Address Line 5"},
    {12, u"Postcode"},      {13, u"Tel. No."},       {14, u"Mobile"},
    {15, u"Fax. No."},      {16, u"Email"},
};

const QString &field(const AddressRecord &record, int number) {
    return AddressField(record, number);
}

bool isListed(const AddressRecord &record, ContactFilter filter) {
    switch (filter) {
    case ContactFilter::Personal:
        return field(record, Type) == u"P";
    case ContactFilter::Business:
        return field(record, Type) == u"W";
    case ContactFilter::All:
        break;
    }
    return true;
}

// How the delete question names a contact: what its row shows first, else
// its last name; nothing for a record without any of them.
QString contactLabel(const AddressRecord &record, const QStringList &cells) {
    for (const QString &text : cells.first(cells.size() - 1) + QStringList{field(record, LastName)})
        if (!IsBlank(text))
            return text.trimmed();
    return {};
}

} // namespace

QString OrderName(AddressOrder order) {
    switch (order) {
    case AddressOrder::Name:
        return u"Name"_s;
    case AddressOrder::Telephone:
        return u"Telephone"_s;
    case AddressOrder::Company:
        break;
    }
    return u"Company"_s;
}

AddressOrder OrderFromName(const QString &name) {
    if (name == u"Name")
        return AddressOrder::Name;
    if (name == u"Telephone")
        return AddressOrder::Telephone;
    return AddressOrder::Company;
}

QString SearchCaption(AddressOrder order) {
    // "Telphone" is the caption users have always seen.
    return u"Search By "_s + (order == AddressOrder::Telephone ? u"Telphone"_s : OrderName(order));
}

QString FilterCode(ContactFilter filter) {
    switch (filter) {
    case ContactFilter::Personal:
        return u"P"_s;
    case ContactFilter::Business:
        return u"W"_s;
    case ContactFilter::All:
        break;
    }
    return u"B"_s;
}

ContactFilter FilterFromCode(const QString &code) {
    if (code == u"P")
        return ContactFilter::Personal;
    if (code == u"W")
        return ContactFilter::Business;
    return ContactFilter::All;
}

AddressOrder OrderForFilter(AddressOrder order, ContactFilter filter) {
    if (filter == ContactFilter::Personal && order == AddressOrder::Company)
        return AddressOrder::Name;
    return order;
}

QString NameCell(const AddressRecord &record) {
    const QString &last = field(record, LastName);
    const QString &first = field(record, FirstName);
    if (IsBlank(last) || IsBlank(first))
        return {};
    return last + u", "_s + first;
}

QString ContactSortText(const AddressRecord &record, AddressOrder order) {
    QString value;
    switch (order) {
    case AddressOrder::Company:
        value = field(record, Company);
        break;
    case AddressOrder::Name:
        value = field(record, LastName) + u", "_s + field(record, FirstName);
        break;
    case AddressOrder::Telephone:
        value = field(record, Telephone);
        break;
    }
    // The code page's capitals, as everywhere typed text is capitalised; the
    // view folds this text to sort it, which gives the same order either way.
    return UpperCaseCp1252(value) + FieldSeparator + UpperCaseCp1252(field(record, Key));
}

AddressView FillAddressView(const QList<AddressRecord> &records, AddressOrder order,
                            ContactFilter filter, int currentKey) {
    AddressView view;
    view.companyShown = filter != ContactFilter::Personal;
    QStringList sortTexts;
    // The order of lstAddress: the value without regard to case, then the
    // key. Compared apart, as if the separator sorted below every character,
    // so "JO" comes before "JOHN" and an empty value first. Folded once here,
    // so the sort compares plain texts.
    struct Order {
        QString value, key;
    };
    std::vector<Order> orderBy;
    QList<AddressRow> listed;
    listed.reserve(records.size());
    sortTexts.reserve(records.size());
    orderBy.reserve(records.size());
    QHash<QString, int> seen; // records so far under each key
    seen.reserve(records.size());
    qsizetype selectedRecord = -1;
    for (const AddressRecord &record : records) {
        const QString &key = field(record, Key);
        if (IsBlank(key))
            continue;
        ++view.AddressCount;
        const int occurrence = seen[key]++;
        if (!isListed(record, filter))
            continue;
        if (selectedRecord < 0 && currentKey >= 0 && TextToInt(key, -1) == currentKey)
            selectedRecord = listed.size();
        AddressRow row{key, occurrence, {}, {}, {}};
        if (view.companyShown)
            row.cells.append(field(record, Company));
        row.cells.append(NameCell(record));
        row.cells.append(field(record, Telephone));
        row.label = contactLabel(record, row.cells);
        const QString sortText = ContactSortText(record, order);
        const qsizetype separator = sortText.indexOf(FieldSeparator);
        row.orderValue = sortText.left(separator).toCaseFolded();
        orderBy.push_back({row.orderValue, sortText.mid(separator + 1).toCaseFolded()});
        listed.append(std::move(row));
        sortTexts.append(sortText);
    }

    std::vector<qsizetype> sequence(listed.size());
    std::iota(sequence.begin(), sequence.end(), 0);
    std::stable_sort(sequence.begin(), sequence.end(), [&](qsizetype a, qsizetype b) {
        const Order &x = orderBy[a];
        const Order &y = orderBy[b];
        const int byValue = x.value.compare(y.value);
        return byValue != 0 ? byValue < 0 : x.key.compare(y.key) < 0;
    });
    view.lstAddress.reserve(listed.size());
    view.rows.reserve(listed.size());
    for (const qsizetype index : sequence) {
        if (index == selectedRecord)
            view.selectedRow = int(view.rows.size());
        view.lstAddress.append(sortTexts.at(index));
        view.rows.append(std::move(listed[index]));
    }
    return view;
}

std::optional<AddressRecord> FindContact(const QList<AddressRecord> &records, const QString &key,
                                         int occurrence) {
    for (const AddressRecord &record : records)
        if (field(record, Key) == key && occurrence-- == 0)
            return record;
    return std::nullopt;
}

int LocateRow(const AddressView &view, const QString &text) {
    if (view.rows.isEmpty())
        return -1;
    // Folded exactly as the sort folded the values: compared any other way
    // (upper case puts [ \ ] ^ _ ` after the letters, folding before them),
    // the search would stop on a row far from where the text stands.
    const QString target = text.trimmed().toCaseFolded();
    for (qsizetype row = 0; row < view.rows.size(); ++row)
        if (QStringView(view.rows.at(row).orderValue).left(target.size()).compare(target) >= 0)
            return int(row);
    return int(view.rows.size() - 1);
}

QString ContactDeleteQuestion(const AddressRow &row) {
    if (row.label.isEmpty())
        return u"Are You Sure You Want To Delete The Highlighted Record?"_s;
    return u"Are You Sure You Want To Delete '"_s + row.label + u"'?"_s;
}

const QStringList &ContactTitles() {
    static const QStringList titles = {u"Mr"_s, u"Mrs"_s, u"Ms"_s, u"Dr."_s, u"Rev"_s, u"Prof."_s};
    return titles;
}

int CompleteTitle(const QString &typed) {
    if (typed.isEmpty())
        return -1;
    const QStringList &titles = ContactTitles();
    for (int i = 0; i < titles.size(); ++i)
        if (titles.at(i).startsWith(typed, Qt::CaseInsensitive))
            return i;
    return -1;
}

QString AcceptTitle(const QString &typed) {
    for (const QString &title : ContactTitles())
        if (typed.compare(title, Qt::CaseInsensitive) == 0)
            return title;
    return typed;
}

QString ContactSaveReasons(const AddressRecord &fields, bool typeChosen, bool birthdayValid) {
    QString reasons;
    if (IsBlank(field(fields, Company)) && IsBlank(field(fields, LastName)))
        reasons += AddressText::NameMissing + u'\r';
    if (!typeChosen)
        reasons += AddressText::TypeMissing + u'\r';
    if (!birthdayValid)
        reasons += AddressText::BirthdayInvalid + u'\r';
    // Each field is one line of the file: a line break would shift every
    // later field and record.
    for (const TypedField &typed : TypedFields) {
        QString reason;
        if (!CanStoreInLastField(field(fields, typed.number), QString::fromUtf16(typed.name),
                                 &reason))
            reasons += reason + u'\r';
    }
    return reasons;
}

QString BirthdayOccasionLine(const QString &birthday, const QString &firstName,
                             const QString &lastName) {
    return MidText(birthday, 4, 2) + MidText(birthday, 1, 2) + FieldSeparator + u"Birthday For "_s +
           firstName.trimmed() + u' ' + lastName.trimmed();
}

QString BirthdayLineReasons(const QString &line) {
    QString reason;
    if (CanStoreInLastField(MidText(line, 6), u"Birthday Description"_s, &reason))
        return {};
    return reason + u'\r';
}

bool AddToBirthdayList(const QString &line) {
    LineStore birthdays(BirthdayFileName, LineStore::Order::Sorted);
    birthdays.loadFile();
    if (birthdays.lines().contains(line))
        return false;
    birthdays.add(line);
    return true;
}

} // namespace qm
