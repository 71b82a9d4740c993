#pragma once

#include "Error.h"

#include <QString>

// The start of a text file for the preview: at most `limit` bytes, decoded as UTF-8 (or as
// UTF-16/32 when a byte-order mark says so); invalid bytes become replacement characters, and a
// character cut by the limit is left out rather than shown broken.
//
// Thread-safety: a plain value; `read` blocks on the file, so call it off the main thread.
struct TextExcerpt {
    static constexpr qint64 defaultLimit = 1 << 20;

    QString text;
    qint64 omittedBytes = 0; // what lies beyond the limit
    Error error;             // set when the file cannot be read

    static TextExcerpt read(const QString &path, qint64 limit = defaultLimit);
};
