#pragma once

#include <QFile>
#include <QString>
#include <QTemporaryDir>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

// What the fuzz targets share: a private folder for the whole run, the input written into it,
// and the check of a promise.
namespace FuzzSupport {

inline const QTemporaryDir &workFolder()
{
    static const QTemporaryDir work;
    return work;
}

// The input as the file `name` in the work folder; empty when it can't be written.
inline QString writeInput(const uint8_t *data, size_t size, const QString &name)
{
    const auto path = workFolder().filePath(name);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        file.write(reinterpret_cast<const char *>(data), qint64(size)) != qint64(size))
        return {};
    return path;
}

// Aborts, naming the promise, when it was broken: libFuzzer then keeps the input.
inline void require(bool kept, const char *promise)
{
    if (!kept) {
        std::fprintf(stderr, "promise broken: %s\n", promise);
        std::abort();
    }
}

} // namespace FuzzSupport
