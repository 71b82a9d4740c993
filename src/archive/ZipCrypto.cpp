#include "ZipCrypto.h"

#include <zlib.h>

namespace {

const z_crc_t *crcTable()
{
    static const z_crc_t *table = get_crc_table();
    return table;
}

quint32 crcByte(quint32 crc, quint8 byte)
{
    return crcTable()[(crc ^ byte) & 0xFF] ^ (crc >> 8);
}

} // namespace

ZipCrypto::ZipCrypto(const QByteArray &password) : m_keys{0x12345678, 0x23456789, 0x34567890}
{
    for (const char c : password)
        update(quint8(c));
}

void ZipCrypto::update(quint8 plain)
{
    m_keys[0] = crcByte(m_keys[0], plain);
    m_keys[1] = (m_keys[1] + (m_keys[0] & 0xFF)) * 134775813 + 1;
    m_keys[2] = crcByte(m_keys[2], quint8(m_keys[1] >> 24));
}

void ZipCrypto::decrypt(char *data, qint64 size)
{
    for (qint64 i = 0; i < size; ++i) {
        const quint32 temp = (m_keys[2] & 0xFFFF) | 2;
        const auto plain = quint8(quint8(data[i]) ^ quint8((temp * (temp ^ 1)) >> 8));
        data[i] = char(plain);
        update(plain);
    }
}

bool ZipCrypto::acceptsHeader(char *header, quint32 crc, quint16 dosTime)
{
    decrypt(header, headerSize);
    const auto check = quint8(header[headerSize - 1]);
    return check == quint8(crc >> 24) || check == quint8(dosTime >> 8);
}
