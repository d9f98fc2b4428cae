#pragma once

#include <QByteArray>
#include <QFileDevice>
#include <QString>

#include <cstdint>
#include <memory>
#include <vector>

namespace OrvaneDlp
{

// The output file a work package is written to. Writes go to a temporary file beside the target;
// commit() replaces the target only when every write succeeded, so a failed or abandoned export
// never leaves a damaged or half-old file behind (an existing longer file is fully replaced).
// A target that is not a regular file ("-" for standard output, a FIFO, a device) is written
// into a temporary file first and streamed into the target by commit(), so it stays what it is
// and receives nothing from a failed or cancelled export.
class DlpVXPRSerializeHelper
{
  public:
    DlpVXPRSerializeHelper() = default;
    ~DlpVXPRSerializeHelper();

    DlpVXPRSerializeHelper(const DlpVXPRSerializeHelper &) = delete;
    DlpVXPRSerializeHelper &operator=(const DlpVXPRSerializeHelper &) = delete;

    // Opens path for writing. False (with errorString()) when it cannot be opened.
    bool open(const QString &path);
    bool isOpen() const { return m_file && m_file->isOpen(); }

    void writeInt32(int32_t value);
    void writeFloat(float value);
    void writeBytes(const char *data, qint64 size);
    void writeBytes(const QByteArray &bytes) { writeBytes(bytes.constData(), bytes.size()); }
    void writeZeros(qint64 size);
    qint64 pos() const { return m_file ? m_file->pos() : 0; }
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

    // A QSaveFile on the target, or a temporary file for a stream target.
    std::unique_ptr<QFileDevice> m_file;
    QString m_streamTarget;
    bool m_ok = true;
    QString m_error;
};

// Little-endian encoders shared by the writer and the record builder.
void appendInt32(std::vector<char> &out, int32_t value);
void appendFloat(std::vector<char> &out, float value);

} // namespace OrvaneDlp
