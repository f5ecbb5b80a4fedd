#pragma once

#include <QString>

namespace qm {

class AppPaths;

// The folder part of an executable's path, up to and including its last
// separator ("\" or "/"): C:\Apps\Quillmate.Exe gives C:\Apps\. A path
// without a separator, or whose last separator is its first or second
// character, gives the empty text (file names are then relative to the
// current folder).
QString DataFolderFromExePath(const QString &path);

// The folder the program keeps its data in, always ending in a separator:
// the executable's folder when it can be written, otherwise the per-user
// application data folder (created when missing). When neither can be used
// the executable's folder is kept, so existing data can still be read and
// every write reports its failure.
QString ResolveDataFolder(const AppPaths &paths);

} // namespace qm
