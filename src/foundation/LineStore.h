#pragma once

#include <QString>
#include <QStringList>

namespace qm {

// All lines of one line-per-record file in the data folder, in memory. A line
// is known by its position (0-based), which an insertion or removal may
// shift, so callers rebuild whatever holds positions after each change.
//
// Every change is written to the file before it takes effect in memory: when
// the write fails the FileError (or ConversionError) propagates and the store
// keeps exactly what it held, so the file and the store never disagree.
// Adding never removes another line.
class LineStore {
public:
    enum class Order {
        File,   // as the lines came; a new line goes at the end
        Sorted, // ascending by CompareLines; every line goes to its sorted place
    };

    LineStore(QString fileName, Order order);

    const QStringList &lines() const { return m_lines; }
    qsizetype size() const { return m_lines.size(); }
    QString at(qsizetype position) const { return m_lines.at(position); }
    bool contains(qsizetype position) const { return position >= 0 && position < size(); }

    // Replaces the whole store with lines (sorted when the store is). Nothing
    // is checked or dropped, and nothing is written.
    void load(const QStringList &lines);
    // Loads the file; a missing file is an empty store.
    void loadFile();

    // Adds line and saves; returns the line's position.
    qsizetype add(const QString &line);
    // Puts line in place of the line at position, in one save; returns the
    // new line's position (a sorted store moves it to its sorted place).
    qsizetype replace(qsizetype position, const QString &line);
    // Removes the line at position and saves. The last line gone, the file
    // is removed.
    void remove(qsizetype position);

private:
    void commit(QStringList lines);
    qsizetype placeFor(const QStringList &lines, const QString &line) const;

    QString m_fileName;
    Order m_order;
    QStringList m_lines;
};

} // namespace qm
