#pragma once

#include <QString>
#include <QStringList>

// Lists of record lines kept in ascending order of the whole line, letters
// compared without regard to case, as the diary and the occasion list keep
// theirs. Lines that compare equal keep the order they came in.
namespace qm {

// < 0, 0 or > 0 as a sorts before, with or after b.
int CompareLines(const QString &a, const QString &b);
// Where line goes into sorted: behind the lines equal to it.
qsizetype SortedPosition(const QStringList &sorted, const QString &line);
// Puts lines into that order (a list already in order is left as it is).
void SortLines(QStringList &lines);

} // namespace qm
