#include "FileNameCodec.h"

namespace {

// The length of the valid UTF-8 sequence starting at `at`, or 0 when it is not one.
qsizetype validSequence(QByteArrayView bytes, qsizetype at)
{
    const auto lead = uchar(bytes[at]);
    const qsizetype length = lead < 0x80   ? 1
                             : lead < 0xC2 ? 0
                             : lead < 0xE0 ? 2
                             : lead < 0xF0 ? 3
                             : lead < 0xF5 ? 4
                                           : 0;
    if (length == 0 || at + length > bytes.size())
        return 0;
    return QByteArrayView(bytes.data() + at, length).isValidUtf8() ? length : 0;
}

} // namespace

QString FileNameCodec::decode(QByteArrayView bytes)
{
    if (bytes.isValidUtf8())
        return QString::fromUtf8(bytes);
    QString text;
    text.reserve(bytes.size());
    qsizetype at = 0;
    while (at < bytes.size()) {
        if (const auto length = validSequence(bytes, at)) {
            text += QString::fromUtf8(bytes.data() + at, length);
            at += length;
        } else {
            text += QChar(ushort(0xDC00 + uchar(bytes[at])));
            ++at;
        }
    }
    return text;
}

QByteArray FileNameCodec::encode(QStringView text)
{
    QByteArray bytes;
    qsizetype start = 0; // the run of ordinary text not yet encoded
    for (qsizetype i = 0; i < text.size(); ++i) {
        const int byte = escapedByte(text[i]);
        if (byte < 0)
            continue;
        bytes += text.mid(start, i - start).toUtf8();
        bytes += char(byte);
        start = i + 1;
    }
    if (start == 0)
        return text.toUtf8();
    bytes += text.mid(start).toUtf8();
    return bytes;
}
