#include "foundation/LineStore.h"

#include "foundation/LineFiles.h"
#include "foundation/SortedLines.h"
#include "platform/Services.h"

#include <utility>

namespace qm {

LineStore::LineStore(QString fileName, Order order)
    : m_fileName(std::move(fileName)), m_order(order) {}

void LineStore::load(const QStringList &lines) {
    m_lines = lines;
    if (m_order == Order::Sorted)
        SortLines(m_lines);
}

void LineStore::loadFile() {
    load(LoadLineFile(dataFile(m_fileName)));
}

qsizetype LineStore::placeFor(const QStringList &lines, const QString &line) const {
    return m_order == Order::Sorted ? SortedPosition(lines, line) : lines.size();
}

qsizetype LineStore::add(const QString &line) {
    QStringList lines = m_lines;
    const qsizetype position = placeFor(lines, line);
    lines.insert(position, line);
    commit(std::move(lines));
    return position;
}

qsizetype LineStore::replace(qsizetype position, const QString &line) {
    QStringList lines = m_lines;
    if (m_order == Order::File) {
        lines[position] = line;
        commit(std::move(lines));
        return position;
    }
    lines.removeAt(position);
    const qsizetype newPosition = placeFor(lines, line);
    lines.insert(newPosition, line);
    commit(std::move(lines));
    return newPosition;
}

void LineStore::remove(qsizetype position) {
    QStringList lines = m_lines;
    lines.removeAt(position);
    commit(std::move(lines));
}

void LineStore::commit(QStringList lines) {
    // The file first: when it cannot be written the store keeps what it held.
    SaveLineFile(dataFile(m_fileName), lines);
    m_lines = std::move(lines);
}

} // namespace qm
