#pragma once

#include <QString>

// `text` with every control character (C0, DEL) written as "\xNN": names from an archive
// reach the terminal as text, never as escape sequences or forged lines.
QString printable(const QString &text);
