#include "app/DescriptionCipher.h"

namespace Orvane3Ds
{

namespace
{

const QByteArray Header("ORVDSC1\n");

QByteArray scramble(QByteArray bytes)
{
    for (int i = 0; i < bytes.size(); ++i)
        bytes[i] = static_cast<char>(static_cast<unsigned char>(bytes[i]) ^
                                     static_cast<unsigned char>((0x5A + 31 * i) & 0xFF));
    return bytes;
}

} // namespace

QByteArray encodeDescription(const QByteArray &xml)
{
    return Header + scramble(xml).toBase64() + '\n';
}

bool decodeDescription(const QByteArray &encoded, QByteArray &xml)
{
    if (!encoded.startsWith(Header))
        return false;
    const QByteArray body = encoded.mid(Header.size()).trimmed();
    auto result = QByteArray::fromBase64Encoding(body, QByteArray::AbortOnBase64DecodingErrors);
    if (!result)
        return false;
    xml = scramble(*result);
    return true;
}

} // namespace Orvane3Ds
