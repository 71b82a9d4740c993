#pragma once

#include <QString>

// The shell's messages on standard error, "ombrisk: " before each. The names in them come from
// the file system and from other programs (files handed over, folders): they go out through
// printable(), so a folder named with an escape sequence can't retitle or clear the terminal,
// or forge a line.
//
// Thread-safety: any thread (one write per message).
void sayOnStandardError(const QString &text);
