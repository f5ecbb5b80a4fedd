#include "diary/AppointmentStore.h"

#include "foundation/LineFiles.h"

#include <algorithm>

namespace qm {

int AppointmentStore::Compare(const QString &a, const QString &b) {
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

qsizetype AppointmentStore::SortedPosition(const QStringList &sorted, const QString &line) {
    const auto at =
        std::upper_bound(sorted.cbegin(), sorted.cend(), line,
                         [](const QString &a, const QString &b) { return Compare(a, b) < 0; });
    return at - sorted.cbegin();
}

void AppointmentStore::load(const QStringList &lines) {
    m_lines = lines;
    const auto before = [](const QString &a, const QString &b) { return Compare(a, b) < 0; };
    // A file written by the program is already in order; only a file put
    // together elsewhere needs sorting.
    if (!std::is_sorted(m_lines.cbegin(), m_lines.cend(), before))
        std::stable_sort(m_lines.begin(), m_lines.end(), before);
}

void AppointmentStore::loadFile() {
    load(LoadDiaryFile());
}

qsizetype AppointmentStore::add(const QString &line) {
    QStringList lines = m_lines;
    const qsizetype position = SortedPosition(lines, line);
    lines.insert(position, line);
    commit(std::move(lines));
    return position;
}

qsizetype AppointmentStore::replace(qsizetype position, const QString &line) {
    QStringList lines = m_lines;
    lines.removeAt(position);
    const qsizetype newPosition = SortedPosition(lines, line);
    lines.insert(newPosition, line);
    commit(std::move(lines));
    return newPosition;
}

void AppointmentStore::remove(qsizetype position) {
    QStringList lines = m_lines;
    lines.removeAt(position);
    commit(std::move(lines));
}

void AppointmentStore::commit(QStringList lines) {
    // The file first: when it cannot be written the store keeps what it held.
    SaveDiaryFile(lines);
    m_lines = std::move(lines);
}

} // namespace qm
