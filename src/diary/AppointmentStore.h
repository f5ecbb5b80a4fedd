#pragma once

#include <QString>
#include <QStringList>

namespace qm {

// All appointment lines in memory, `lstSorted`: always in ascending order of
// the line text, letters compared without regard to case. A line is known by
// its position (0-based), which every insertion or removal shifts, so callers
// rebuild whatever holds positions after each change.
//
// Every change is written to "Diary.Qmt" before it takes effect in memory:
// when the write fails the FileError propagates and the store keeps exactly
// what it held, so the file and the store never disagree.
class AppointmentStore {
public:
    const QStringList &lines() const { return m_lines; }
    qsizetype size() const { return m_lines.size(); }
    QString at(qsizetype position) const { return m_lines.at(position); }

    // Replaces the whole store with lines, put into sorted order (lines that
    // compare equal keep their order). Nothing is checked or dropped.
    void load(const QStringList &lines);
    // Loads "Diary.Qmt" from the data folder; a missing file is an empty diary.
    void loadFile();

    // Inserts line at its sorted place (behind lines equal to it) and saves;
    // returns the line's position.
    qsizetype add(const QString &line);
    // Takes the line at position out and inserts line at its sorted place, in
    // one save; returns the new position.
    qsizetype replace(qsizetype position, const QString &line);
    // Removes the line at position and saves.
    void remove(qsizetype position);

    // Where line would be inserted into the sorted lines.
    static qsizetype SortedPosition(const QStringList &sorted, const QString &line);
    // The store's order: < 0, 0 or > 0 as a sorts before, with or after b.
    static int Compare(const QString &a, const QString &b);

private:
    void commit(QStringList lines);

    QStringList m_lines;
};

} // namespace qm
