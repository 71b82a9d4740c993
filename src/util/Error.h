#pragma once

#include <QMetaType>
#include <QString>

// The value every failure of the archive engine and of the file operations comes back as.
// A default-constructed Error means "no error". Plain value, safe to copy across threads.
struct Error {
    QString domain;
    int code = 0;
    QString message; // readable, already translated; shown to the user as it stands

    Error() = default;
    Error(QString domain, int code, QString message)
        : domain(std::move(domain)), code(code), message(std::move(message))
    {
    }

    bool isSet() const { return !domain.isEmpty(); }
    explicit operator bool() const { return isSet(); }
};

// Stores `error` in an optional error slot; returns false so failure paths read as one statement.
inline bool fail(Error *slot, Error error)
{
    if (slot)
        *slot = std::move(error);
    return false;
}

Q_DECLARE_METATYPE(Error)
