#pragma once

#include <QString>

// The small files the program keeps beside its records, created at start-up
// when they are missing; existing files are left as they are.
namespace qm {

// Creates the key counter at path holding "300" when it is missing.
void EnsureNextKeyFile(const QString &path);

// Creates "NextKey.Qmt" and then "DateLog.Qmt" in the data folder when they
// are missing. Raises FileError when the key counter cannot be created; the
// date trace is best effort and never raises.
void CreateHousekeepingFiles();

} // namespace qm
