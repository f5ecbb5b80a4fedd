// libFuzzer target for the vCard reader and writer: any bytes are read as
// contacts; every contact read is written out and read back, and must come
// back with the same fields. Crashes, exceptions, hangs and a contact that
// changes on its way through a file are the faults.

#include "exchange/Contacts.h"

#include <QByteArray>

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    const QByteArray bytes =
        QByteArray::fromRawData(reinterpret_cast<const char *>(data), qsizetype(size));
    qm::ContactsRead read = qm::ReadContacts(bytes);
    if (!read.error.isEmpty() && !read.contacts.isEmpty())
        __builtin_trap();
    for (qm::AddressRecord &record : read.contacts)
        record[0] = QStringLiteral("301");
    const qm::ExportResult written = qm::ExportContacts(read.contacts);
    const qm::ContactsRead again = qm::ReadContacts(written.bytes);
    if (again.contacts.size() != read.contacts.size() || !again.notes.isEmpty())
        __builtin_trap();
    for (qsizetype i = 0; i < read.contacts.size(); ++i)
        for (int field = 1; field < qm::AddressFieldCount; ++field)
            if (again.contacts[i][field] != read.contacts[i][field])
                __builtin_trap();
    return 0;
}
