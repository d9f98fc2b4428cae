#include "slicing/DlpVXPRSerializeHelper.h"

#include <QtEndian>

#include <cstring>

namespace OrvaneDlp {

namespace {

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
    if (m_file.isOpen())
        m_file.cancelWriting();
}

bool DlpVXPRSerializeHelper::open(const QString &path)
{
    m_ok = true;
    m_error.clear();
    m_file.setFileName(path);
    if (!m_file.open(QIODevice::WriteOnly)) {
        fail(m_file.errorString());
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
    if (m_file.write(data, size) != size)
        fail(m_file.errorString());
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
    if (!m_ok)
        return;
    const qint64 end = m_file.pos();
    if (!m_file.seek(offset)) {
        fail(m_file.errorString());
        return;
    }
    writeFloat(value);
    if (m_ok && !m_file.seek(end))
        fail(m_file.errorString());
}

bool DlpVXPRSerializeHelper::commit()
{
    if (!m_file.isOpen())
        return false;
    if (!m_ok) {
        m_file.cancelWriting();
        m_file.commit();
        return false;
    }
    if (!m_file.commit()) {
        fail(m_file.errorString());
        return false;
    }
    return true;
}

void DlpVXPRSerializeHelper::discard()
{
    if (m_file.isOpen()) {
        m_file.cancelWriting();
        m_file.commit();
    }
}

} // namespace OrvaneDlp
