#pragma once

#include <QByteArray>
#include <QList>
#include <QMap>
#include <QString>
#include <QStringList>
#include <QVariantMap>

// The messages exchanged with a printer, as pure encode/decode functions over bytes. The socket
// classes (NetClientScaner, NetClientCmd, NetClientTransfor) and the printer simulator only move
// these bytes; everything about their layout lives here.
//
// Text encoding: every text to and from a printer is UTF-8. ASCII text is the same bytes in
// every 8-bit code page, so printers that only ever see ASCII names are unaffected; for
// non-ASCII names (Chinese file or user names) UTF-8 is the one encoding the printers are known
// to speak, since they send their own texts (file names in "dev_infos") as UTF-8.
namespace PrinterProtocol
{

// UDP discovery port and TCP command-channel port of every printer.
constexpr quint16 kPort = 7777;
// Largest frame payload either side accepts.
constexpr int kMaxMessage = 4096000;
// Size of a control-board packet (binary codes 11 and 12).
constexpr int kBoardPacketSize = 24;

// The discovery question (14 bytes) and the printers' answer (21 bytes), no terminator.
QByteArray discoveryQuestion();
QByteArray discoveryAnswer();
// True when the datagram is the printers' answer: its text up to the first zero byte (at most
// 511 bytes are considered) equals the answer exactly.
bool isDiscoveryAnswer(const QByteArray &datagram);
bool isDiscoveryQuestion(const QByteArray &datagram);

using PropertyMap = QMap<QString, QString>;

// Frame: int32 N big-endian, uint32 N big-endian, then N payload bytes.
QByteArray encodeFrame(const QByteArray &payload);

// Cuts a byte stream into frames. Bytes may arrive in any split; a frame is delivered once it is
// complete. A frame whose inner length differs from the outer one is dropped (the outer length
// still tells where the next frame starts).
class FrameDecoder
{
  public:
    enum class Status { Ok, BadLength };

    // Appends bytes and moves every complete frame's payload to *frames, in order. Returns
    // BadLength when a length is negative or above kMaxMessage: the stream cannot be
    // resynchronised after that, the caller must drop the connection (error() says why).
    Status feed(const QByteArray &bytes, QList<QByteArray> *frames);
    QString error() const { return m_error; }
    // Bytes received but not yet part of a complete frame.
    int pending() const { return m_buffer.size(); }

  private:
    QByteArray m_buffer;
    QString m_error;
    bool m_broken = false;
};

// Binary messages: payload FF FF FF FF, little-endian int32 code, then the code's body.
enum class BinaryCode : qint32 {
    Details = 1,      // both directions: request (empty) / details record
    BoardPacket = 11, // to the printer: one control-board packet (or the firmware image)
    BoardReply = 12,  // from the printer: one control-board packet
    HolderQuery = 13, // to the printer: who holds you?
    Holder = 14,      // from the printer: identity of the holder
    Hold = 15,        // to the printer: take (1) or release (0)
};

bool isBinary(const QByteArray &payload);
QByteArray encodeBinary(BinaryCode code, const QByteArray &body = QByteArray());
// False when the payload is not a binary message or too short for its code.
bool decodeBinary(const QByteArray &payload, qint32 *code, QByteArray *body);

// The printer details record of code 1 (Qt data stream, version 5.2, big-endian).
struct PrinterDetails {
    qint32 value1 = 0;
    qint32 value2 = 0;
    qint32 value3 = 0;
    QString boardAId;
    QString unused1;
    QString boardAVersion;
    QString boardBVersion;
    QString unused2;
    QVariantMap unusedMap;
    QString boardBId;
    QString controlSerial;
    QString controlVersion;
};
QByteArray encodeDetails(const PrinterDetails &details);
// False when the record is truncated or malformed.
bool decodeDetails(const QByteArray &body, PrinterDetails *details);

// Control-board packet: 55 55 55 55, 0, command, 12 payload bytes, 0, checksum, AA AA AA AA.
// The checksum is the low 8 bits of command + the sum of the payload bytes.
QByteArray encodeBoardPacket(quint8 command, const QByteArray &payload = QByteArray());
struct BoardPacket {
    quint8 command = 0;
    quint8 status = 0; // first payload byte: the board's status in a reply
    QByteArray payload;
};
// False unless the bytes are one well-formed packet (markers, size and checksum).
bool decodeBoardPacket(const QByteArray &bytes, BoardPacket *packet);
QByteArray boardErasePacket();
QByteArray boardPreparePacket(quint32 firmwareSize);
QByteArray boardQueryPacket();
constexpr quint8 kBoardProgram = 6;
constexpr quint8 kBoardQuery = 3;
constexpr quint8 kBoardEraseAnswer = 172;

// Occupancy: code 14 body (int32 length, identity bytes) and code 15 body (int32 flag, int32
// length, identity bytes).
QByteArray encodeHolder(const QByteArray &identity);
bool decodeHolder(const QByteArray &body, QByteArray *identity);
QByteArray encodeHold(bool take, const QByteArray &identity);
bool decodeHold(const QByteArray &body, bool *take, QByteArray *identity);

// Texts on the command channel (UTF-8, see above).
QByteArray encodeText(const QString &text);
QString decodeText(const QByteArray &bytes);
// The words of a text message (split on single spaces).
QStringList words(const QString &text);

// One part of an identity ("host:address:user"): a printer splits identities on ':' and
// commands on ' ', so both are replaced ('*' for a space, as in file names; '_' for ':').
QString identityPart(const QString &text);
QString identityText(const QString &host, const QString &address, const QString &user);
// "authenticate host:address:user enableCheckAlive".
QString authenticateReply(const QString &host, const QString &address, const QString &user);
// "transfor path size afterPrint fileType": spaces of the path become '*'; an empty afterPrint
// is sent as "0" so the printer always gets four words.
QString transforAnnouncement(const QString &path, qint64 size, const QString &afterPrint,
                             const QString &fileType);

struct LinkedMessage {
    quint16 transferPort = 0; // 0 when the word is not a number
    bool checkAlive = false;
};
// "linked PORT [enablecheckalive]" (third word compared without case).
LinkedMessage parseLinked(const QString &text);

// Applies the property words of a "dev_infos" message to *properties. Each word is routed by its
// own key ("serial:", "flag:", "supplies:", "version:", "progress:", "fileinfo>",
// "devicename:", "author>"), never by a substring elsewhere in the word. Returns whether any
// value changed.
bool applyDevInfos(const QString &message, PropertyMap *properties);

// Compares dotted versions numerically part by part ("0.10.0.0" is newer than "0.2.2.0"); a
// missing part counts as 0, a part that is not a number as -1. Returns <0, 0 or >0.
int compareVersions(const QString &a, const QString &b);

} // namespace PrinterProtocol
