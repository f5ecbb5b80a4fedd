#include "foundation/SortedLines.h"

#include <algorithm>

namespace qm {

namespace {
bool before(const QString &a, const QString &b) {
    return CompareLines(a, b) < 0;
}
} // namespace

int CompareLines(const QString &a, const QString &b) {
    // Lines mostly differ in their digits, so the common start is skipped
    // exactly and only the rest is compared without regard to case.
    const qsizetype common = std::min(a.size(), b.size());
    const QChar *x = a.constData();
    const QChar *y = b.constData();
    qsizetype i = 0;
    while (i < common && x[i] == y[i])
        ++i;
    return QStringView(a).mid(i).compare(QStringView(b).mid(i), Qt::CaseInsensitive);
}

qsizetype SortedPosition(const QStringList &sorted, const QString &line) {
    return std::upper_bound(sorted.cbegin(), sorted.cend(), line, before) - sorted.cbegin();
}

void SortLines(QStringList &lines) {
    // A file written by the program is already in order; only a file put
    // together elsewhere needs sorting.
    if (!std::is_sorted(lines.cbegin(), lines.cend(), before))
        std::stable_sort(lines.begin(), lines.end(), before);
}

} // namespace qm
