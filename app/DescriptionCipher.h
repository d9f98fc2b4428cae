#pragma once

#include <QByteArray>

namespace Orvane3Ds
{

// The encoding of the supplies description file ("v0.dsc"). It only keeps the file from being
// edited casually; it is not a security measure.
//
// Encoded file = the line "ORVDSC1\n" followed by the Base64 text of the XML bytes, where byte i
// is XOR-ed with (0x5A + 31 * i) mod 256. Decoding reverses both steps.
QByteArray encodeDescription(const QByteArray &xml);
// Returns false for input without the header or with invalid Base64.
bool decodeDescription(const QByteArray &encoded, QByteArray &xml);

} // namespace Orvane3Ds
