#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

// File names as the disk holds them (bytes) and as text, both ways without loss. Linux names
// are bytes; most are UTF-8, but archives and old disks bring names in Latin-1 or a code page.
// Valid UTF-8 decodes as usual; each byte of an invalid sequence becomes the lone surrogate
// U+DC80..U+DCFF of that byte, and encoding gives the byte back, so "caf\xE9" and "caf\xE8"
// stay two names and reach the disk as they came. Qt's own conversions would turn both into
// "caf\uFFFD". Lone surrogates show as replacement characters; printable() writes them as
// "\xNN".
//
// Thread-safety: pure functions.
namespace FileNameCodec {

QString decode(QByteArrayView bytes);
QByteArray encode(QStringView text);

// The byte a character stands for when it is one decode() made for an invalid byte, else -1.
inline int escapedByte(QChar c)
{
    return c.unicode() >= 0xDC80 && c.unicode() <= 0xDCFF ? int(c.unicode() - 0xDC00) : -1;
}

} // namespace FileNameCodec
