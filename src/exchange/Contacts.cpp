#include "exchange/Contacts.h"

#include "exchange/VCard.h"
#include "foundation/Codec1252.h"
#include "foundation/Text.h"

#include <QCryptographicHash>
#include <QDate>

using namespace Qt::StringLiterals;

namespace qm {

namespace {

// Field numbers and the widths the contact editor allows.
enum Field {
    Key = 1,
    Type,
    Company,
    LastName,
    FirstName,
    Title,
    Line1,
    Line2,
    Line3,
    Line4,
    Line5,
    Postcode,
    Telephone,
    Mobile,
    Fax,
    Email,
    Birthday
};
constexpr int Widths[AddressFieldCount + 1] = {0,  3,  1,  60, 25, 20, 15, 40,  40,
                                               40, 40, 40, 10, 25, 25, 25, 100, 8};

// A birthday the address book can hold: a real date with a year from 1899 to
// 2199 (the contact editor's range), as yyyymmdd.
QDate BirthdayDate(QStringView digits) {
    if (digits.size() != 8)
        return {};
    for (const QChar c : digits)
        if (c < u'0' || c > u'9')
            return {};
    const QDate date(digits.first(4).toInt(), digits.sliced(4, 2).toInt(),
                     digits.sliced(6).toInt());
    return date.isValid() && date.year() >= 1899 && date.year() <= 2199 ? date : QDate();
}

// 1961-03-07, 19610307 and either with a time after it; no year, or text,
// gives an empty text.
QString ReadBirthday(const QString &value) {
    QString date = value.trimmed();
    const qsizetype time = date.indexOf(u'T', 0, Qt::CaseInsensitive);
    if (time >= 0)
        date.truncate(time);
    if (date.size() == 10 && date[4] == u'-' && date[7] == u'-')
        date = date.first(4) + date.sliced(5, 2) + date.sliced(8);
    return BirthdayDate(date).isValid() ? date : QString();
}

// The one of several properties a field takes: the most preferred, the first
// of equals; the others are counted.
struct Choice {
    const VCardProperty *taken = nullptr;
    qsizetype others = 0;

    void offer(const VCardProperty &property) {
        if (taken && property.preference() >= taken->preference()) {
            ++others;
            return;
        }
        if (taken)
            ++others;
        taken = &property;
    }
};

// WORK or HOME named by a property's types, else nothing.
QString TypeOf(const VCardProperty *property) {
    if (!property)
        return {};
    if (property->hasType("WORK"))
        return u"W"_s;
    if (property->hasType("HOME"))
        return u"P"_s;
    return {};
}

QString JoinNonEmpty(const QStringList &parts, const QString &separator) {
    QStringList kept;
    for (const QString &part : parts)
        if (!part.isEmpty())
            kept.append(part);
    return kept.join(separator);
}

bool Ignored(const QByteArray &name) {
    static const QByteArrayView Names[] = {
        "VERSION", "PRODID", "REV", "UID",   "FN",   "N",    "KIND",    "CATEGORIES", "SOURCE",
        "ORG",     "ADR",    "TEL", "EMAIL", "BDAY", "NAME", "PROFILE", "X-ABUID",    "X-ABLABEL"};
    for (const QByteArrayView ignored : Names)
        if (name == ignored)
            return true;
    return false;
}

// One card as a contact; false when it names no one.
bool CardToContact(const VCardCard &card, AddressRecord &record, ImportNotes &notes) {
    const bool v21 = card.version21;
    const VCardProperty *name = nullptr, *formatted = nullptr, *org = nullptr;
    Choice address, telephone, mobile, fax, email;
    QString category;
    qsizetype details = 0, labels = 0;
    QString birthday;
    bool birthdaySeen = false;

    for (const VCardProperty &property : card.properties) {
        const QByteArray &n = property.name;
        const bool empty = !property.binary && QStringView(property.value).trimmed().isEmpty();
        if (n == "N") {
            if (!name)
                name = &property;
        } else if (n == "FN") {
            if (!formatted)
                formatted = &property;
        } else if (n == "ORG") {
            if (!org)
                org = &property;
        } else if (n == "ADR") {
            if (!empty)
                address.offer(property);
        } else if (n == "TEL") {
            if (empty)
                continue;
            if (property.hasType("CELL"))
                mobile.offer(property);
            else if (property.hasType("FAX"))
                fax.offer(property);
            else
                telephone.offer(property);
        } else if (n == "EMAIL") {
            if (!empty)
                email.offer(property);
        } else if (n == "BDAY") {
            if (!empty && !birthdaySeen) {
                birthdaySeen = true;
                birthday = ReadBirthday(property.value);
            }
        } else if (n == "CATEGORIES") {
            for (const QString &value : SplitVCardValue(property.value, u',', v21)) {
                const QString c = value.trimmed();
                if (category.isEmpty() && (c.compare(u"Business", Qt::CaseInsensitive) == 0 ||
                                           c.compare(u"Work", Qt::CaseInsensitive) == 0))
                    category = u"W"_s;
                else if (category.isEmpty() && (c.compare(u"Personal", Qt::CaseInsensitive) == 0 ||
                                                c.compare(u"Home", Qt::CaseInsensitive) == 0))
                    category = u"P"_s;
            }
        } else if (n == "LABEL") {
            // The printed form of an address: only a detail of its own when
            // the card gives no address to take.
            if (!empty)
                ++labels;
        } else if (!Ignored(n) && (!empty || n == "AGENT")) {
            ++details;
        }
    }
    if (!address.taken)
        details += labels;

    auto fit = [&](Field field, const QString &text) {
        if (!text.isEmpty())
            AddressField(record, field) = FitFieldText(text, Widths[field], notes);
    };

    // Name and company.
    QString last, first, title;
    if (name) {
        const QStringList parts = SplitVCardValue(name->value, u';', v21);
        last = JoinNonEmpty({parts.value(0), parts.value(4)}, u" "_s);
        first = JoinNonEmpty({parts.value(1), parts.value(2)}, u" "_s);
        title = parts.value(3);
    }
    const QString company =
        org ? JoinNonEmpty(SplitVCardValue(org->value, u';', v21), u", "_s) : QString();
    // Blank as the field will hold it: a value of control characters cut to
    // its width can be.
    ImportNotes unused;
    auto blank = [&](const QString &text, Field field) {
        return IsBlank(text) ||
               (text.size() > Widths[field] && IsBlank(FitFieldText(text, Widths[field], unused)));
    };
    const bool hadLastName = !blank(last, LastName);
    const bool hasCompany = !blank(company, Company);
    if (!hadLastName && !hasCompany && formatted)
        last = UnescapeVCardText(formatted->value, v21);
    if (blank(last, LastName) && !hasCompany) {
        notes.add(ContactText::NoNameOrCompany);
        return false;
    }
    notes.add(ContactText::AddressesNotTaken, address.others);
    notes.add(ContactText::TelephonesNotTaken, telephone.others + mobile.others + fax.others);
    notes.add(ContactText::EmailsNotTaken, email.others);
    notes.add(ContactText::DetailsWithoutField, details);
    if (birthdaySeen && birthday.isEmpty())
        notes.add(ContactText::BirthdaysNotTaken);

    QString type = category;
    for (const VCardProperty *typed : {address.taken, telephone.taken, email.taken})
        if (type.isEmpty())
            type = TypeOf(typed);
    if (type.isEmpty())
        type = hasCompany && !hadLastName ? u"W"_s : u"P"_s;
    AddressField(record, Type) = type;

    fit(Company, company);
    fit(LastName, last);
    fit(FirstName, first);
    fit(Title, title);

    if (address.taken) {
        const QStringList parts = SplitVCardValue(address.taken->value, u';', v21);
        QStringList lines;
        for (int part : {0, 1})
            if (!parts.value(part).isEmpty())
                lines.append(parts.value(part));
        QString street = parts.value(2);
        street.replace(u"\r\n"_s, u"\n"_s).replace(u'\r', u'\n');
        lines.append(street.split(u'\n'));
        fit(Line1, lines.first());
        fit(Line2, JoinNonEmpty(lines.mid(1), u", "_s));
        fit(Line3, parts.value(3));
        fit(Line4, parts.value(4));
        fit(Line5, parts.value(6));
        const QString postcode = parts.value(5);
        const QString capitals = UpperCaseCp1252(postcode);
        if (capitals != postcode)
            notes.add(ContactText::PostcodesCapitalised);
        fit(Postcode, capitals);
    }

    auto number = [&](const Choice &choice) {
        if (!choice.taken)
            return QString();
        QString text = UnescapeVCardText(choice.taken->value, v21);
        if (choice.taken->param("VALUE").compare("uri", Qt::CaseInsensitive) == 0 &&
            text.startsWith(u"tel:", Qt::CaseInsensitive))
            text.remove(0, 4);
        return text;
    };
    fit(Telephone, number(telephone));
    fit(Mobile, number(mobile));
    fit(Fax, number(fax));
    fit(Email, email.taken ? UnescapeVCardText(email.taken->value, v21) : QString());
    AddressField(record, Birthday) = birthday;
    return true;
}

QString Uid(const AddressRecord &record) {
    const QString names = AddressField(record, Company) + QChar(0x1F) +
                          AddressField(record, LastName) + QChar(0x1F) +
                          AddressField(record, FirstName);
    const QByteArray hash = QCryptographicHash::hash(names.toUtf8(), QCryptographicHash::Sha1);
    return AddressField(record, Key).trimmed() + u'-' + QString::fromLatin1(hash.toHex().left(12)) +
           u"@quillmate"_s;
}

} // namespace

ContactsRead ReadContacts(const QByteArray &bytes) {
    ContactsRead read;
    VCardFile file = ReadVCards(bytes);
    if (!file.anyCard) {
        read.error = ContactText::NoContacts;
        return read;
    }
    read.notes = std::move(file.notes);
    read.contacts.reserve(file.cards.size());
    for (const VCardCard &card : std::as_const(file.cards)) {
        AddressRecord record;
        if (CardToContact(card, record, read.notes))
            read.contacts.append(std::move(record));
    }
    return read;
}

ExportResult ExportContacts(const QList<AddressRecord> &records) {
    ExportResult result;
    VCardWriter writer;
    for (const AddressRecord &record : records) {
        if (IsBlank(AddressField(record, Key)))
            continue;
        auto field = [&](Field number) { return EscapeVCardText(AddressField(record, number)); };
        const bool personal = AddressField(record, Type) == u"P";
        writer.beginCard();
        writer.property("UID", EscapeVCardText(Uid(record)));
        writer.property("N",
                        field(LastName) + u';' + field(FirstName) + u";;"_s + field(Title) + u';');
        QStringList names;
        for (Field part : {Title, FirstName, LastName})
            if (!IsBlank(AddressField(record, part)))
                names.append(AddressField(record, part));
        writer.property("FN", names.isEmpty() ? field(Company) : EscapeVCardText(names.join(u' ')));
        if (!AddressField(record, Company).isEmpty())
            writer.property("ORG", field(Company));

        bool hasAddress = false;
        for (Field line : {Line1, Line2, Line3, Line4, Line5, Postcode})
            hasAddress = hasAddress || !AddressField(record, line).isEmpty();
        if (hasAddress) {
            QString street = AddressField(record, Line1);
            if (!AddressField(record, Line2).isEmpty())
                street += u'\n' + AddressField(record, Line2);
            writer.property(personal ? "ADR;TYPE=HOME" : "ADR;TYPE=WORK",
                            u";;"_s + EscapeVCardText(street) + u';' + field(Line3) + u';' +
                                field(Line4) + u';' + field(Postcode) + u';' + field(Line5));
        }
        if (!AddressField(record, Telephone).isEmpty())
            writer.property(personal ? "TEL;TYPE=HOME,VOICE" : "TEL;TYPE=WORK,VOICE",
                            field(Telephone));
        if (!AddressField(record, Mobile).isEmpty())
            writer.property("TEL;TYPE=CELL", field(Mobile));
        if (!AddressField(record, Fax).isEmpty())
            writer.property(personal ? "TEL;TYPE=HOME,FAX" : "TEL;TYPE=WORK,FAX", field(Fax));
        if (!AddressField(record, Email).isEmpty())
            writer.property(personal ? "EMAIL;TYPE=INTERNET,HOME" : "EMAIL;TYPE=INTERNET,WORK",
                            field(Email));
        const QString birthday = AddressField(record, Birthday);
        const QDate date = BirthdayDate(birthday);
        if (date.isValid())
            writer.property("BDAY", date.toString(u"yyyy-MM-dd"_s));
        else if (!IsBlank(birthday))
            result.notes.add(ContactText::InvalidBirthdays);
        writer.property("CATEGORIES", personal ? u"Personal"_s : u"Business"_s);
        writer.endCard();
        ++result.contacts;
    }
    result.bytes = writer.bytes();
    return result;
}

} // namespace qm
