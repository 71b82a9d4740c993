#pragma once

#include <QString>

// Writes byte counts in the file-size convention: decimal units (1 KB = 1000 bytes) chosen by
// magnitude, whole kilobytes, one decimal for megabytes, two from gigabytes on, in the user's
// locale. Zero is "0 bytes", never a word. Stateless after construction: safe from any thread.
class ByteCountFormatter {
public:
    QString stringFromByteCount(qint64 byteCount) const;
};
