#include "network/PrinterProtocol.h"

#include <QDataStream>
#include <QtEndian>

namespace PrinterProtocol
{

namespace
{

const char kQuestion[] = "Is Dlp Device?";
const char kAnswer[] = "There Are Dlp Device!";

// Text of a datagram as the printers' firmware reads it: at most 511 bytes, up to the first zero.
QByteArray datagramText(const QByteArray &datagram)
{
    QByteArray text = datagram.left(511);
    const int zero = text.indexOf('\0');
    if (zero >= 0)
        text.truncate(zero);
    return text;
}

void appendLe32(QByteArray *out, qint32 value)
{
    char bytes[4];
    qToLittleEndian<qint32>(value, bytes);
    out->append(bytes, 4);
}

qint32 readLe32(const QByteArray &bytes, int at)
{
    return qFromLittleEndian<qint32>(bytes.constData() + at);
}

QString afterKey(const QString &word, int keyLength)
{
    return word.mid(keyLength);
}

// Sets key to value when it differs; returns whether it changed.
bool store(PropertyMap *properties, const QString &key, const QString &value)
{
    const auto it = properties->constFind(key);
    if (it != properties->constEnd() && it.value() == value)
        return false;
    properties->insert(key, value);
    return true;
}

bool applyFileInfo(const QString &items, PropertyMap *properties)
{
    static const QStringList keys = {QStringLiteral("filename"),    QStringLiteral("usedlayers"),
                                     QStringLiteral("totallayers"), QStringLiteral("starttime"),
                                     QStringLiteral("costtime"),    QStringLiteral("endtime"),
                                     QStringLiteral("imagedate")};
    bool changed = false;
    for (const QString &item : items.split(QLatin1Char(','))) {
        const int eq = item.indexOf(QLatin1Char('='));
        if (eq <= 0)
            continue;
        const QString key = item.left(eq);
        if (!keys.contains(key))
            continue;
        QString value = item.mid(eq + 1);
        if (key == QLatin1String("filename"))
            value.replace(QLatin1Char('*'), QLatin1Char(' '));
        else if (key == QLatin1String("starttime") || key == QLatin1String("costtime") ||
                 key == QLatin1String("endtime"))
            value.replace(QLatin1Char('-'), QLatin1Char(' '));
        changed = store(properties, key, value) || changed;
    }
    return changed;
}

} // namespace

QByteArray discoveryQuestion()
{
    return QByteArray(kQuestion);
}

QByteArray discoveryAnswer()
{
    return QByteArray(kAnswer);
}

bool isDiscoveryAnswer(const QByteArray &datagram)
{
    return datagramText(datagram) == kAnswer;
}

bool isDiscoveryQuestion(const QByteArray &datagram)
{
    return datagramText(datagram) == kQuestion;
}

QByteArray encodeFrame(const QByteArray &payload)
{
    QByteArray frame;
    frame.reserve(8 + payload.size());
    char length[4];
    qToBigEndian<qint32>(payload.size(), length);
    frame.append(length, 4);
    frame.append(length, 4);
    frame.append(payload);
    return frame;
}

FrameDecoder::Status FrameDecoder::feed(const QByteArray &bytes, QList<QByteArray> *frames)
{
    if (m_broken)
        return Status::BadLength;
    m_buffer.append(bytes);
    int at = 0;
    while (m_buffer.size() - at >= 4) {
        const qint32 length = qFromBigEndian<qint32>(m_buffer.constData() + at);
        if (length < 0 || length > kMaxMessage) {
            m_error = QStringLiteral("frame length %1 is outside 0..%2; the stream cannot be "
                                     "read any further")
                          .arg(length)
                          .arg(kMaxMessage);
            m_broken = true;
            m_buffer.clear();
            return Status::BadLength;
        }
        if (m_buffer.size() - at < 8 + length)
            break;
        const quint32 inner = qFromBigEndian<quint32>(m_buffer.constData() + at + 4);
        if (inner == quint32(length))
            frames->append(m_buffer.mid(at + 8, length));
        at += 8 + length;
    }
    m_buffer.remove(0, at);
    return Status::Ok;
}

bool isBinary(const QByteArray &payload)
{
    return payload.size() >= 4 && payload.startsWith(QByteArray(4, char(0xFF)));
}

QByteArray encodeBinary(BinaryCode code, const QByteArray &body)
{
    QByteArray out(4, char(0xFF));
    appendLe32(&out, qint32(code));
    out.append(body);
    return out;
}

bool decodeBinary(const QByteArray &payload, qint32 *code, QByteArray *body)
{
    if (!isBinary(payload) || payload.size() < 8)
        return false;
    *code = readLe32(payload, 4);
    *body = payload.mid(8);
    return true;
}

QByteArray encodeDetails(const PrinterDetails &d)
{
    QByteArray out;
    QDataStream stream(&out, QIODevice::WriteOnly);
    stream.setVersion(QDataStream::Qt_5_2);
    stream << d.value1 << d.value2 << d.value3 << d.boardAId << d.unused1 << d.boardAVersion
           << d.boardBVersion << d.unused2 << d.unusedMap << d.boardBId << d.controlSerial
           << d.controlVersion;
    return out;
}

bool decodeDetails(const QByteArray &body, PrinterDetails *d)
{
    QDataStream stream(body);
    stream.setVersion(QDataStream::Qt_5_2);
    PrinterDetails read;
    stream >> read.value1 >> read.value2 >> read.value3 >> read.boardAId >> read.unused1 >>
        read.boardAVersion >> read.boardBVersion >> read.unused2 >> read.unusedMap >>
        read.boardBId >> read.controlSerial >> read.controlVersion;
    if (stream.status() != QDataStream::Ok)
        return false;
    *d = read;
    return true;
}

QByteArray encodeBoardPacket(quint8 command, const QByteArray &payload)
{
    QByteArray body = payload.left(12);
    body.append(QByteArray(12 - body.size(), '\0'));
    QByteArray out(4, char(0x55));
    out.append('\0');
    out.append(char(command));
    out.append(body);
    out.append('\0');
    unsigned sum = command;
    for (const char c : body)
        sum += quint8(c);
    out.append(char(sum & 0xFF));
    out.append(QByteArray(4, char(0xAA)));
    return out;
}

bool decodeBoardPacket(const QByteArray &bytes, BoardPacket *packet)
{
    if (bytes.size() != kBoardPacketSize || !bytes.startsWith(QByteArray(4, char(0x55))) ||
        !bytes.endsWith(QByteArray(4, char(0xAA))))
        return false;
    const quint8 command = quint8(bytes[5]);
    const QByteArray payload = bytes.mid(6, 12);
    unsigned sum = command;
    for (const char c : payload)
        sum += quint8(c);
    if (quint8(bytes[19]) != (sum & 0xFF))
        return false;
    packet->command = command;
    packet->status = quint8(payload[0]);
    packet->payload = payload;
    return true;
}

QByteArray boardErasePacket()
{
    return encodeBoardPacket(kBoardProgram);
}

QByteArray boardPreparePacket(quint32 firmwareSize)
{
    QByteArray payload(4, '\0');
    qToLittleEndian<quint32>(firmwareSize, payload.data());
    return encodeBoardPacket(kBoardProgram, payload);
}

QByteArray boardQueryPacket()
{
    return encodeBoardPacket(kBoardQuery);
}

QByteArray encodeHolder(const QByteArray &identity)
{
    QByteArray out;
    appendLe32(&out, identity.size());
    return out + identity;
}

bool decodeHolder(const QByteArray &body, QByteArray *identity)
{
    if (body.size() < 4)
        return false;
    const qint32 length = readLe32(body, 0);
    if (length < 0 || length > body.size() - 4)
        return false;
    *identity = body.mid(4, length);
    return true;
}

QByteArray encodeHold(bool take, const QByteArray &identity)
{
    QByteArray out;
    appendLe32(&out, take ? 1 : 0);
    appendLe32(&out, identity.size());
    return out + identity;
}

bool decodeHold(const QByteArray &body, bool *take, QByteArray *identity)
{
    if (body.size() < 8)
        return false;
    const qint32 flag = readLe32(body, 0);
    const qint32 length = readLe32(body, 4);
    if (length < 0 || length > body.size() - 8)
        return false;
    *take = flag == 1;
    *identity = body.mid(8, length);
    return true;
}

QByteArray encodeText(const QString &text)
{
    return text.toUtf8();
}

QString decodeText(const QByteArray &bytes)
{
    return QString::fromUtf8(bytes);
}

QStringList words(const QString &text)
{
    return text.split(QLatin1Char(' '));
}

QString identityPart(const QString &text)
{
    QString part = text;
    part.replace(QLatin1Char(' '), QLatin1Char('*'));
    part.replace(QLatin1Char(':'), QLatin1Char('_'));
    return part;
}

QString identityText(const QString &host, const QString &address, const QString &user)
{
    return QStringLiteral("%1:%2:%3")
        .arg(identityPart(host), identityPart(address), identityPart(user));
}

QString authenticateReply(const QString &host, const QString &address, const QString &user)
{
    return QStringLiteral("authenticate %1 enableCheckAlive")
        .arg(identityText(host, address, user));
}

QString transforAnnouncement(const QString &path, qint64 size, const QString &afterPrint,
                             const QString &fileType)
{
    QString announced = path;
    announced.replace(QLatin1Char(' '), QLatin1Char('*'));
    return QStringLiteral("transfor %1 %2 %3 %4")
        .arg(announced)
        .arg(size)
        .arg(afterPrint.isEmpty() ? QStringLiteral("0") : afterPrint, fileType);
}

LinkedMessage parseLinked(const QString &text)
{
    const QStringList w = words(text);
    LinkedMessage linked;
    bool ok = false;
    const uint port = w.value(1).toUInt(&ok);
    linked.transferPort = ok && port <= 0xFFFF ? quint16(port) : 0;
    linked.checkAlive =
        w.size() >= 3 && w[2].compare(QLatin1String("enablecheckalive"), Qt::CaseInsensitive) == 0;
    return linked;
}

bool applyDevInfos(const QString &message, PropertyMap *properties)
{
    struct Rule {
        const char *key;
        int which;
    };
    enum { Flag, Serial, Supplies, Version, Progress, FileInfo, DeviceName, Author };
    static const Rule rules[] = {
        {"flag:", Flag},
        {"serial:", Serial},
        {"supplies:", Supplies},
        {"version:", Version},
        {"progress:", Progress},
        {"fileinfo>", FileInfo},
        {"devicename:", DeviceName},
        {"author>", Author},
    };
    const QStringList all = words(message);
    bool changed = false;
    for (int i = 1; i < all.size(); ++i) {
        const QString &word = all[i];
        for (const Rule &rule : rules) {
            const QLatin1String key(rule.key);
            if (!word.startsWith(key))
                continue;
            const QString value = afterKey(word, key.size());
            if (value.isEmpty())
                break; // the word names a field but carries no value
            switch (rule.which) {
            case Flag: {
                const QStringList v = value.split(QLatin1Char(','));
                changed = store(properties, QStringLiteral("DS"), v[0]) || changed;
                if (v.size() > 1)
                    changed = store(properties, QStringLiteral("SS"), v[1]) || changed;
                if (v.size() > 2)
                    changed = store(properties, QStringLiteral("PS"), v[2]) || changed;
                break;
            }
            case Serial:
                if (properties->value(QStringLiteral("ID")) != value) {
                    properties->insert(QStringLiteral("ID"), value);
                    properties->insert(QStringLiteral("Name"), value);
                    changed = true;
                }
                break;
            case Supplies:
                changed = store(properties, QStringLiteral("supplies"),
                                QString(value).replace(QLatin1Char('*'), QLatin1Char(' '))) ||
                          changed;
                break;
            case Version: {
                const QStringList v = value.split(QLatin1Char(','));
                changed = store(properties, QStringLiteral("RPiA"), v[0]) || changed;
                if (v.size() > 1)
                    changed = store(properties, QStringLiteral("RPiB"), v[1]) || changed;
                break;
            }
            case Progress:
                changed = store(properties, QStringLiteral("progress"), value) || changed;
                break;
            case FileInfo:
                changed = applyFileInfo(value, properties) || changed;
                break;
            case DeviceName:
                changed = store(properties, QStringLiteral("Name"), value) || changed;
                break;
            case Author:
                changed = store(properties, QStringLiteral("Author"), value) || changed;
                break;
            }
            break;
        }
    }
    return changed;
}

int compareVersions(const QString &a, const QString &b)
{
    const QStringList pa = a.trimmed().split(QLatin1Char('.'));
    const QStringList pb = b.trimmed().split(QLatin1Char('.'));
    for (int i = 0; i < qMax(pa.size(), pb.size()); ++i) {
        const auto part = [](const QStringList &parts, int at) {
            if (at >= parts.size())
                return 0LL;
            bool ok = false;
            const qlonglong v = parts[at].toLongLong(&ok);
            return ok ? v : -1LL;
        };
        const qlonglong x = part(pa, i);
        const qlonglong y = part(pb, i);
        if (x != y)
            return x < y ? -1 : 1;
    }
    return 0;
}

} // namespace PrinterProtocol
