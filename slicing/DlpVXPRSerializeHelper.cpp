#include "slicing/DlpVXPRSerializeHelper.h"

#include "geometry/OutputTarget.h"

#include <QSaveFile>
#include <QTemporaryFile>
#include <QtEndian>

#include <cstring>

namespace OrvaneDlp
{

namespace
{

uint32_t floatBits(float value)
{
    uint32_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    return bits;
}

} // namespace

void appendInt32(std::vector<char> &out, int32_t value)
{
    char bytes[4];
    qToLittleEndian<int32_t>(value, bytes);
    out.insert(out.end(), bytes, bytes + 4);
}

void appendFloat(std::vector<char> &out, float value)
{
    char bytes[4];
    qToLittleEndian<uint32_t>(floatBits(value), bytes);
    out.insert(out.end(), bytes, bytes + 4);
}

DlpVXPRSerializeHelper::~DlpVXPRSerializeHelper()
{
    discard();
}

bool DlpVXPRSerializeHelper::open(const QString &path)
{
    m_ok = true;
    m_error.clear();
    m_streamTarget.clear();
    if (isStreamTarget(path)) {
        m_streamTarget = path;
        m_file = std::make_unique<QTemporaryFile>();
    } else {
        m_file = std::make_unique<QSaveFile>(path);
    }
    const QIODevice::OpenMode mode =
        m_streamTarget.isEmpty() ? QIODevice::WriteOnly : QIODevice::ReadWrite;
    if (!m_file->open(mode)) {
        fail(m_file->errorString());
        m_file.reset();
        return false;
    }
    return true;
}

void DlpVXPRSerializeHelper::fail(const QString &message)
{
    if (m_ok) {
        m_ok = false;
        m_error = message;
    }
}

void DlpVXPRSerializeHelper::writeBytes(const char *data, qint64 size)
{
    if (!m_ok || size <= 0)
        return;
    if (!m_file || m_file->write(data, size) != size)
        fail(m_file ? m_file->errorString() : QStringLiteral("the package file is not open"));
}

void DlpVXPRSerializeHelper::writeInt32(int32_t value)
{
    char bytes[4];
    qToLittleEndian<int32_t>(value, bytes);
    writeBytes(bytes, 4);
}

void DlpVXPRSerializeHelper::writeFloat(float value)
{
    char bytes[4];
    qToLittleEndian<uint32_t>(floatBits(value), bytes);
    writeBytes(bytes, 4);
}

void DlpVXPRSerializeHelper::writeZeros(qint64 size)
{
    static const char zeros[4096] = {};
    while (size > 0 && m_ok) {
        const qint64 n = qMin<qint64>(size, sizeof zeros);
        writeBytes(zeros, n);
        size -= n;
    }
}

void DlpVXPRSerializeHelper::patchFloat(qint64 offset, float value)
{
    if (!m_ok || !m_file)
        return;
    const qint64 end = m_file->pos();
    if (!m_file->seek(offset)) {
        fail(m_file->errorString());
        return;
    }
    writeFloat(value);
    if (m_ok && !m_file->seek(end))
        fail(m_file->errorString());
}

bool DlpVXPRSerializeHelper::commit()
{
    if (!isOpen())
        return false;
    if (!m_ok) {
        discard();
        return false;
    }
    if (!m_streamTarget.isEmpty()) {
        QString error;
        const bool copied = m_file->flush() && copyToStreamTarget(*m_file, m_streamTarget, &error);
        if (!copied)
            fail(error.isEmpty() ? m_file->errorString() : error);
        m_file.reset();
        return copied;
    }
    auto *save = static_cast<QSaveFile *>(m_file.get());
    const bool committed = save->commit();
    if (!committed)
        fail(save->errorString());
    m_file.reset();
    return committed;
}

void DlpVXPRSerializeHelper::discard()
{
    if (!isOpen()) {
        m_file.reset();
        return;
    }
    if (m_streamTarget.isEmpty()) {
        auto *save = static_cast<QSaveFile *>(m_file.get());
        save->cancelWriting();
        save->commit();
    }
    m_file.reset();
}

} // namespace OrvaneDlp
