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
// atomic writer makes beside a data file ("Diary.Qmt.qmsave-aBcDeF", and
// "Diary.Qmt.aBcDeF" as an older version named them), and a "Temp.Qmt" beside
// "Address.Qmt". A "Temp.Qmt" without an address file (or beside one that
// holds only its first bytes, as an older version's interrupted copy left it)
// holds the contacts and becomes "Address.Qmt". Nothing else is touched, and
// a file that cannot be removed or renamed is left where it is.
void RemoveUnfinishedSaves(const QString &folder);

// The name of the program's desktop entry, without ".desktop", in reverse-DNS
// form after the maker's site; also its AppStream id. An installed copy has
// its entry at <prefix>/share/applications/<name>.desktop beside
// <prefix>/bin. The build reads the name from here.
inline const QString DesktopAppId = QStringLiteral("example.varnellsoftware.Quillmate");

// Where the program keeps its data, as found at start-up.
struct DataFolderChoice {
    // Always ending in a separator.
    QString folder;
    // The executable's folder holds the program's data but cannot be written:
    // the program must not start over it (nothing could be saved), nor quietly
    // use another, empty folder instead.
    bool cannotWrite = false;
};

// The executable's folder when it holds the program's data, with cannotWrite
// set when it cannot be written. Otherwise the executable's folder when it
// can be written and is not the bin folder of an installed copy (one with the
// program's desktop entry installed beside it, see DesktopAppId); else the
// per-user application data folder, created when missing (open to its owner
// only), so an installed program keeps its data out of /usr and ~/.local/bin
// even when run by root.
// When neither folder can be used the executable's folder is kept, so every
// write reports its failure.
DataFolderChoice ResolveDataFolder(const AppPaths &paths);

} // namespace qm
