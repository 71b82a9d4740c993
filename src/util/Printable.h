#pragma once

#include <QString>

// `text` as it may be written to a terminal: control characters (C0, DEL, C1), the bidirectional
// controls that would show a name reversed, and the bytes of a name that is not UTF-8
// (FileNameCodec) written as "\xNN" (or "\uNNNN" above U+00FF). Names from an archive or
// handed over by another program reach the terminal as text, never as escape sequences or
// forged lines.
QString printable(const QString &text);
