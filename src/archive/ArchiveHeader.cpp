#include "ArchiveHeader.h"

#include <algorithm>

namespace {

constexpr qsizetype tarBlock = 512;
constexpr qsizetype checksumOffset = 148;
constexpr qsizetype checksumLength = 8;
constexpr qsizetype magicOffset = 257;

// The checksum field: octal digits, maybe led by spaces, ended by a space or NUL.
qint64 recordedChecksum(QByteArrayView field)
{
    qint64 value = 0;
    bool digits = false;
    for (const char c : field) {
        if (c >= '0' && c <= '7') {
            value = value * 8 + (c - '0');
            digits = true;
        } else if (c == ' ' && !digits) {
            continue;
        } else {
            break;
        }
    }
    return digits ? value : -1;
}

// Sums of the header with the checksum field counted as spaces; old tools summed signed bytes.
bool checksumAddsUp(QByteArrayView block)
{
    qint64 unsignedSum = 0, signedSum = 0;
    for (qsizetype i = 0; i < tarBlock; ++i) {
        const bool inField = i >= checksumOffset && i < checksumOffset + checksumLength;
        const char c = inField ? ' ' : block[i];
        unsignedSum += static_cast<unsigned char>(c);
        signedSum += static_cast<signed char>(c);
    }
    const auto recorded = recordedChecksum(block.sliced(checksumOffset, checksumLength));
    return recorded == unsignedSum || recorded == signedSum;
}

bool isTarHeader(QByteArrayView block)
{
    if (block.size() < tarBlock || !checksumAddsUp(block))
        return false;
    const auto magic = block.sliced(magicOffset, 6);
    const bool oldStyle = std::all_of(magic.begin(), magic.end(), [](char c) { return c == 0; });
    return magic.startsWith("ustar") || oldStyle;
}

bool isCpioHeader(QByteArrayView start)
{
    if (start.startsWith("070701") || start.startsWith("070702") || start.startsWith("070707"))
        return true;
    return start.size() >= 2 && ((uchar(start[0]) == 0xc7 && uchar(start[1]) == 0x71) ||
                                 (uchar(start[0]) == 0x71 && uchar(start[1]) == 0xc7));
}

} // namespace

bool ArchiveHeader::beginsArchive(QByteArrayView firstBytes)
{
    return isTarHeader(firstBytes) || isCpioHeader(firstBytes);
}
