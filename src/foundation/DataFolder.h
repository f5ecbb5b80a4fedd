#pragma once

#include <QString>
#include <QStringList>

namespace qm {

class AppPaths;

// The folder part of an executable's path, up to and including its last
// separator ("\" or "/"): C:\Apps\Quillmate.Exe gives C:\Apps\. A path
// without a separator, or whose last separator is its first or second
// character, gives the empty text (file names are then relative to the
// current folder).
QString DataFolderFromExePath(const QString &path);

// The names of the files the program keeps in its data folder.
const QStringList &ProgramDataFileNames();
// Whether folder holds any of them.
bool HoldsProgramData(const QString &folder);

// Removes what a save that never finished left in folder: the files the
// atomic writer makes beside a data file, named after it with a dot and six
// letters or digits ("Diary.Qmt.aBcDeF"). Nothing else is touched, and a file
// that cannot be removed is left where it is.
void RemoveUnfinishedSaves(const QString &folder);

// Where the program keeps its data, as found at start-up.
struct DataFolderChoice {
    // Always ending in a separator.
    QString folder;
    // The executable's folder holds the program's data but cannot be written:
    // the program must not start over it (nothing could be saved), nor quietly
    // use another, empty folder instead.
    bool cannotWrite = false;
};

// The executable's folder when it can be written. When it cannot and holds
// none of the program's data (a program installed under /usr), the per-user
// application data folder, created when missing. When it cannot be written
// but holds the program's data, that folder with cannotWrite set. When
// neither folder can be used the executable's folder is kept, so every write
// reports its failure.
DataFolderChoice ResolveDataFolder(const AppPaths &paths);

} // namespace qm
