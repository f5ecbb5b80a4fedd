#pragma once

#include <QStringList>

namespace qm::test {

// An appointment line put together field by field, independently of the code
// under test, with no reminder unless one is given.
inline QString DiaryLine(const QString &date, const QString &start, const QString &end,
                         const QString &description, const QString &flag = QStringLiteral("N"),
                         const QString &reminder = QStringLiteral("0")) {
    return QStringList{date, start, end, description, reminder, flag}.join(QChar(0x00FF));
}

} // namespace qm::test
