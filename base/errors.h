#pragma once

#include <QString>
#include <stdexcept>

// Errors that end a user's action. They are not caught by the windows: the
// application's general error report shows their text (see Application).
class LunmarkError : public std::runtime_error {
public:
    explicit LunmarkError(const QString& text)
        : std::runtime_error(text.toStdString()), m_text(text) {}
    const QString& text() const { return m_text; }

private:
    QString m_text;
};

// The database refused a statement or could not be opened.
class DatabaseError : public LunmarkError {
public:
    using LunmarkError::LunmarkError;
};

// A file could not be read or written.
class FileError : public LunmarkError {
public:
    using LunmarkError::LunmarkError;
};

// A value could not be converted (a date, a number, a text in Big5).
class ConversionError : public LunmarkError {
public:
    using LunmarkError::LunmarkError;
};

// A network transfer failed.
class TransferError : public LunmarkError {
public:
    using LunmarkError::LunmarkError;
};
