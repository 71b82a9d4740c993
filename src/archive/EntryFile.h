#pragma once

#include <Error.h>
#include <QString>
#include <functional>

// One entry's data written to a new file of its own (a preview's private copy): made with
// O_EXCL and mode 0600, so nothing already there is written through or replaced, and removed
// again when anything fails, so a failure leaves no partial file.
//
// Thread-safety: pure function; any thread.
namespace EntryFile {

using Sink = std::function<bool(const char *data, qint64 size, Error *error)>;

// Creates `path` and calls `produce` with a sink that appends to it.
bool write(const QString &path, Error *error,
           const std::function<bool(const Sink &sink, Error *error)> &produce);

} // namespace EntryFile
