#pragma once

#include <Error.h>
#include <QString>

// The errors of the imaging layer. None reaches the user: a picture without a thumbnail keeps
// its badge; they are written to the log.
namespace ImagingErrors {

inline const QString domain = QStringLiteral("Ombrisk.Imaging");

enum Code {
    UnreadablePicture = 300, // missing, unreadable or not decodable as a picture
    CacheWriteFailed = 301,  // a thumbnail could not be written to the cache folder
    InvalidCacheKey = 302,   // a key that is no plain file name
    GaveWay = 303,           // a thumbnail's decode stopped for a picture in sight; try again
};

} // namespace ImagingErrors
