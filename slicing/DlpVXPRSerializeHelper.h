#pragma once

#include <QByteArray>
#include <QSaveFile>
#include <QString>

#include <cstdint>
#include <vector>

namespace OrvaneDlp {

// The output file a work package is written to. Writes go to a temporary file beside the target;
// commit() replaces the target only when every write succeeded, so a failed or abandoned export
// never leaves a damaged or half-old file behind (an existing longer file is fully replaced).
class DlpVXPRSerializeHelper
{
public:
    DlpVXPRSerializeHelper() = default;
    ~DlpVXPRSerializeHelper();

    DlpVXPRSerializeHelper(const DlpVXPRSerializeHelper &) = delete;
    DlpVXPRSerializeHelper &operator=(const DlpVXPRSerializeHelper &) = delete;

    // Opens path for writing. False (with errorString()) when it cannot be opened.
    bool open(const QString &path);
    bool isOpen() const { return m_file.isOpen(); }

    void writeInt32(int32_t value);
    void writeFloat(float value);
    void writeBytes(const char *data, qint64 size);
    void writeBytes(const QByteArray &bytes) { writeBytes(bytes.constData(), bytes.size()); }
    void writeZeros(qint64 size);
    qint64 pos() const { return m_file.pos(); }
    // Overwrites a float32 at offset and returns to the end of the file.
    void patchFloat(qint64 offset, float value);

    // True while every write so far succeeded.
    bool ok() const { return m_ok; }
    QString errorString() const { return m_error; }

    // Makes the written file the target. False when a write or the final rename failed.
    bool commit();
    // Drops everything written; the previous target (if any) stays untouched.
    void discard();

private:
    void fail(const QString &message);

    QSaveFile m_file;
    bool m_ok = true;
    QString m_error;
};

// Little-endian encoders shared by the writer and the record builder.
void appendInt32(std::vector<char> &out, int32_t value);
void appendFloat(std::vector<char> &out, float value);

} // namespace OrvaneDlp
