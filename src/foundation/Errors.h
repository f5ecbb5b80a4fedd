#pragma once

#include <QString>
#include <exception>

namespace qm {

// The failures that end the current operation and reach the application-wide
// error report: a file that cannot be read or written, a text that is not the
// number or date it should be. The report shows cause() and, when set, file().
class QuillmateError : public std::exception {
public:
    QuillmateError(QString cause, QString file = {});
    const QString &cause() const { return m_cause; }
    const QString &file() const { return m_file; }
    // The full text of the report shown to the user.
    QString reportText() const;
    const char *what() const noexcept override;

private:
    QString m_cause;
    QString m_file;
    QByteArray m_what;
};

class FileError : public QuillmateError {
public:
    using QuillmateError::QuillmateError;
};

class ConversionError : public QuillmateError {
public:
    using QuillmateError::QuillmateError;
};

} // namespace qm
