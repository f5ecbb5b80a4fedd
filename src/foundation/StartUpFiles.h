#pragma once

#include <QString>

namespace qm {

// The first start-up steps on the data folder: what unfinished saves left
// removed, the colour mode and its default
// scheme, "Colours.Qmt" read (or created from that default), then
// "NextKey.Qmt" and "DateLog.Qmt" created when missing. Existing files are
// left untouched. A "Colours.Qmt" line that is not a number raises
// ConversionError, a file that cannot be read or created FileError (except
// the date trace, which is best effort); start-up reports either and ends.
void PrepareDataFolder(const QString &colourMode);

} // namespace qm
