#pragma once

#include <QByteArray>
#include <QtGlobal>

// The zip format's traditional (PKWARE) stream cipher: three keys stirred by every plain byte
// through the CRC-32 table. Weak, but still what `zip -P` writes.
//
// Thread-safety: one object per entry being read.
class ZipCrypto {
public:
    static constexpr qint64 headerSize = 12;

    explicit ZipCrypto(const QByteArray &password);

    // Decrypts the 12-byte header that starts the entry's data. Its last byte checks the
    // password against one byte only: the high byte of the CRC, or of the DOS time when the
    // sizes come after the data. Either is accepted, as libzip did; a wrong password that
    // passes shows up later as data that fails its CRC.
    bool acceptsHeader(char *header, quint32 crc, quint16 dosTime);

    void decrypt(char *data, qint64 size);

private:
    void update(quint8 plain);

    quint32 m_keys[3];
};
