#pragma once

#include <QtGlobal>
#include <functional>

// The bytes of one open file copied into another, the cheapest way the file systems allow: a
// shared extent (copy-on-write) where they can, else a copy inside the kernel, else through a
// buffer.
//
// Thread-safety: keeps no state; safe on any thread. Blocking.
namespace FileContentCopy {

// Called after each piece with the bytes it held; false stops the copy (ECANCELED).
using Advance = std::function<bool(qint64 bytes)>;

// Copies everything from `from` (read from its start) to `to` (empty, opened for writing).
// Returns 0, or the errno of the failure. `advance` (may be empty) hears of every piece of at
// most 16 MiB, so a large file can be cancelled part way; a shared extent is one piece.
int copy(int from, int to, const Advance &advance = {});

} // namespace FileContentCopy
