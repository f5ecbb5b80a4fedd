#include "foundation/Errors.h"

#include <QDir>

namespace qm {

using namespace Qt::StringLiterals;

QuillmateError::QuillmateError(QString cause, QString file)
    : m_cause(std::move(cause)), m_file(std::move(file)) {
    m_what = reportText().toUtf8();
}

QString QuillmateError::reportText() const {
    if (m_file.isEmpty())
        return m_cause;
    return m_cause + u"\r\rFile : "_s + QDir::toNativeSeparators(m_file);
}

const char *QuillmateError::what() const noexcept {
    return m_what.constData();
}

} // namespace qm
