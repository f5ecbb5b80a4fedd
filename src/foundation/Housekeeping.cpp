#include "foundation/Housekeeping.h"

#include "foundation/AddressFile.h"
#include "foundation/DateLog.h"
#include "foundation/RecordFile.h"
#include "platform/Services.h"

#include <QFile>

namespace qm {

void EnsureNextKeyFile(const QString &path) {
    if (!QFile::exists(path))
        WriteRecordFile(path, {FirstNextKey});
}

void CreateHousekeepingFiles() {
    EnsureNextKeyFile(dataFile(NextKeyFileName));
    EnsureDateLog(dataFile(DateLogFileName));
}

} // namespace qm
