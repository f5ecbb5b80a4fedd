#pragma once

#include "exchange/Exchange.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>
#include <QStringList>
#include <QStringView>

#include <utility>

// vCard files read into their cards and content lines, and written: the
// generic part of the contact import and export, knowing nothing of the
// address book's fields.
namespace qm {

// What an import notes about a vCard file, counted by ImportNotes.
namespace ContactText {
inline const QString NoContacts = QStringLiteral("The File Holds No Contacts");
// Reading the file.
inline const QString CardsCutShort =
    QStringLiteral("Cards Without An End, Taken As Far As They Go");
inline const QString LinesNotRead = QStringLiteral("Lines That Are Not vCard Properties");
inline const QString BrokenQuotedPrintable =
    QStringLiteral("Quoted-Printable Values With Broken Codes, Kept As Written");
inline const QString UnknownCharsets =
    QStringLiteral("Values In An Unknown Character Set, Read As UTF-8 Or Windows-1252");
// Taking the cards as contacts.
inline const QString NoNameOrCompany = QStringLiteral("Cards Without A Name Or Company");
inline const QString AddressesNotTaken = QStringLiteral("Addresses Not Taken");
inline const QString TelephonesNotTaken = QStringLiteral("Telephone Numbers Not Taken");
inline const QString EmailsNotTaken = QStringLiteral("E-Mail Addresses Not Taken");
inline const QString BirthdaysNotTaken =
    QStringLiteral("Birthdays Without A Year Or Not A Date From 1899 To 2199");
inline const QString PostcodesCapitalised = QStringLiteral("Postcodes Changed To Capitals");
inline const QString DetailsWithoutField =
    QStringLiteral("Details The Address Book Has No Field For");
// Exporting.
inline const QString InvalidBirthdays = QStringLiteral("Birthdays That Are Not Valid Dates");
} // namespace ContactText

// One content line: [group.]NAME;PARAM=VALUE,...:value. Names are in capitals;
// parameter values keep their letters as written (compare them with
// hasType/param, which ignore case). value is text: decoded from its
// transfer encoding and character set, but with its backslash escapes still
// in, since structured values are split on unescaped separators first.
struct VCardProperty {
    QByteArray group;
    QByteArray name;
    // One pair per value: TYPE=HOME,VOICE gives two, and so does a bare
    // HOME;VOICE of a version 2.1 card.
    QList<std::pair<QByteArray, QByteArray>> params;
    QString value;
    // A BASE64 value (a photo): left undecoded, value stays empty.
    bool binary = false;

    bool hasType(QByteArrayView type) const;
    // The first value of the parameter, empty when it has none.
    QByteArray param(QByteArrayView name) const;
    // How much the card prefers this one of several: 1 most (TYPE=PREF counts
    // as PREF=1), 101 for no preference.
    int preference() const;
};

struct VCardCard {
    QList<VCardProperty> properties;
    // Version 2.1 escapes only ';' and has no list values.
    bool version21 = false;
};

struct VCardFile {
    QList<VCardCard> cards;
    ImportNotes notes;
    // False when the bytes hold no BEGIN:VCARD at all.
    bool anyCard = false;
};

// Reads every card of the bytes: UTF-8 (a BOM skipped), a value that is not
// valid UTF-8 and names no character set as Windows-1252; lines ending in
// CR LF, LF or CR; folded and quoted-printable continuation lines joined
// before decoding. Text outside the cards is ignored; a card whose end is
// missing is taken as far as it goes; a card inside a card (AGENT) is skipped
// whole. Takes time in proportion to the bytes.
VCardFile ReadVCards(QByteArrayView bytes);

// A text value with its escapes undone: \\ \, \; \n \N (for version 2.1
// only \;).
QString UnescapeVCardText(QStringView value, bool version21);
// A structured or list value cut on every unescaped separator, each part
// unescaped.
QStringList SplitVCardValue(QStringView value, QChar separator, bool version21);

// Text escaped for a version 3.0 value: \ , ; and line breaks.
QString EscapeVCardText(QStringView text);

// Writes version 3.0 cards: UTF-8, CR LF, lines folded at 75 octets without
// cutting a character.
class VCardWriter {
public:
    void beginCard();
    // nameAndParams as written ("TEL;TYPE=CELL"); value already escaped.
    void property(QByteArrayView nameAndParams, const QString &value);
    void endCard();
    const QByteArray &bytes() const { return m_bytes; }

private:
    void line(QByteArrayView text);
    QByteArray m_bytes;
};

} // namespace qm
