#pragma once

#include "exchange/Exchange.h"
#include "foundation/AddressFile.h"

#include <QByteArray>
#include <QList>

// The address book as vCards.
namespace qm {

// What a vCard file gives: one contact per card, fields 2 to 17 filled and
// field 1 (the key) left empty for the caller to issue; what could not be
// taken or was changed; and, when the file holds no card at all, why.
struct ContactsRead {
    QList<AddressRecord> contacts;
    ImportNotes notes;
    QString error;
};

// Reads vCard 2.1, 3.0 and 4.0, any number of cards.
ContactsRead ReadContacts(const QByteArray &bytes);

// The contacts as vCard 3.0, one card each, in the order given. A record whose
// key (field 1) is blank is left out, as the address page leaves it out.
ExportResult ExportContacts(const QList<AddressRecord> &records);

} // namespace qm
