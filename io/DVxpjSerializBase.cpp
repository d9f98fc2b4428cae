#include "io/DVxpjSerializBase.h"

#include "geometry/Model.h"
#include "io/DIoError.h"

#include <QSaveFile>
#include <QtEndian>

#include <algorithm>
#include <cstring>
#include <limits>

namespace
{

// Small fields collect in a buffer of this size before they go to the device.
constexpr int BufferBytes = 1 << 20;
// Points or faces written between two cancel checks and progress reports.
constexpr std::int64_t Chunk = 16384;

} // namespace

DVxpjSerializBase::DVxpjSerializBase(const QString &path, ModelList models)
    : m_models(std::move(models))
{
    m_saveFile = std::make_unique<QSaveFile>(path);
    // Never fall back to writing the target in place: that is what would lose the old file.
    m_saveFile->setDirectWriteFallback(false);
    if (!m_saveFile->open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
        const QString reason = m_saveFile->errorString();
        m_saveFile.reset();
        throw DIoError(Vxpj::openWriteError() + QStringLiteral(": ") + reason);
    }
    m_device = m_saveFile.get();
    m_buffer.reserve(BufferBytes);
}

DVxpjSerializBase::DVxpjSerializBase(QIODevice *device, ModelList models)
    : m_device(device), m_models(std::move(models))
{
    m_buffer.reserve(BufferBytes);
}

DVxpjSerializBase::~DVxpjSerializBase()
{
    // An uncommitted temporary file is removed; the target stays as it was.
    if (m_saveFile && m_saveFile->isOpen())
        m_saveFile->cancelWriting();
}

bool DVxpjSerializBase::save()
{
    bool ok = false;
    try {
        if (!m_device || !m_device->isWritable())
            throw DIoError(Vxpj::headerWriteError());
        writeHeader();
        writeBody();
        flushBuffer();
        if (m_saveFile && !m_saveFile->commit())
            writeFailed();
        ok = true;
    } catch (const DIoError &e) {
        m_error = e.message();
        m_buffer.clear();
        if (m_saveFile && m_saveFile->isOpen())
            m_saveFile->cancelWriting();
    }
    m_saveFile.reset();
    setLevel(QStringLiteral("level1"), {100, 0, QStringLiteral("pct")});
    // The last record may already have reported 100 %: the closing text must still arrive.
    resetLastPercent();
    report(1, 1, Vxpj::stageDone());
    return ok;
}

void DVxpjSerializBase::writeHeader()
{
    const QByteArray &magic = Vxpj::magic();
    // The header length is the offset of the reserved block, known before writing it.
    putInt32(4 + 4 + magic.size() + 4 + 4);
    putInt32(magic.size());
    putBytes(magic);
    putInt32(version());
    putCount(m_models.size(), "models");
    putZeros(Vxpj::ReservedBytes);
}

void DVxpjSerializBase::putInt32(std::int32_t v)
{
    char bytes[4];
    qToLittleEndian<qint32>(v, bytes);
    m_buffer.append(bytes, 4);
    if (m_buffer.size() >= BufferBytes)
        flushBuffer();
}

void DVxpjSerializBase::putFloat(float v)
{
    char bytes[4];
    qToLittleEndian<float>(v, bytes);
    m_buffer.append(bytes, 4);
    if (m_buffer.size() >= BufferBytes)
        flushBuffer();
}

void DVxpjSerializBase::putBool(bool v)
{
    m_buffer.append(char(v ? 1 : 0));
    if (m_buffer.size() >= BufferBytes)
        flushBuffer();
}

void DVxpjSerializBase::putPoint(const Point3f &p)
{
    putFloat(p.x);
    putFloat(p.y);
    putFloat(p.z);
}

void DVxpjSerializBase::putBytes(const QByteArray &bytes)
{
    m_buffer.append(bytes);
    if (m_buffer.size() >= BufferBytes)
        flushBuffer();
}

void DVxpjSerializBase::putZeros(int count)
{
    m_buffer.append(count, '\0');
    if (m_buffer.size() >= BufferBytes)
        flushBuffer();
}

void DVxpjSerializBase::putCount(std::size_t count, const char *what)
{
    if (count > std::size_t(std::numeric_limits<std::int32_t>::max()))
        throw DIoError(QStringLiteral("Vxpj file write error: too many %1 (%2)")
                           .arg(QLatin1String(what))
                           .arg(qulonglong(count)));
    putInt32(std::int32_t(count));
}

void DVxpjSerializBase::putBlock(const void *data, std::int64_t count, const QString &stage)
{
    const auto *bytes = static_cast<const char *>(data);
    for (std::int64_t done = 0; done < count;) {
        checkCancel();
        const std::int64_t n = std::min<std::int64_t>(Chunk, count - done);
#if Q_BYTE_ORDER == Q_BIG_ENDIAN
        for (std::int64_t w = 0; w < n * 3; ++w) {
            quint32 word;
            std::memcpy(&word, bytes + done * 12 + w * 4, 4);
            char out[4];
            qToLittleEndian<quint32>(word, out);
            m_buffer.append(out, 4);
        }
        if (m_buffer.size() >= BufferBytes)
            flushBuffer();
#else
        if (m_buffer.size() + n * 12 > BufferBytes) {
            flushBuffer();
            if (m_device->write(bytes + done * 12, n * 12) != n * 12)
                writeFailed();
        } else {
            m_buffer.append(bytes + done * 12, int(n * 12));
        }
#endif
        done += n;
        report(done, count, stage);
    }
}

void DVxpjSerializBase::flushBuffer()
{
    if (m_buffer.isEmpty())
        return;
    if (m_device->write(m_buffer) != m_buffer.size())
        writeFailed();
    m_buffer.resize(0); // keeps the reserved capacity
}

void DVxpjSerializBase::writeFailed() const
{
    throw DIoError(QStringLiteral("Vxpj file write error: ") + m_device->errorString());
}

void DVxpjSerializBase::checkCancel() const
{
    if (isCancelled())
        throw DIoError(Vxpj::writeCancelled());
}
