#pragma once
// Errors that stop a command. They carry a text a user can read; the
// application shows it in one place (see ErrorReport).
#include <QString>
#include <stdexcept>

class ZError : public std::runtime_error {
public:
    explicit ZError(const QString& message) : std::runtime_error(message.toStdString()), m_message(message) {}
    const QString& message() const { return m_message; }

private:
    QString m_message;
};

// A text that is not a valid date in the expected form.
class ConvertError : public ZError {
public:
    using ZError::ZError;
};

// A file that cannot be read or written.
class FileError : public ZError {
public:
    using ZError::ZError;
};
