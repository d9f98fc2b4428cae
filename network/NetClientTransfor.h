#pragma once

#include "geometry/IProgressable.h"

#include <QFile>
#include <QTcpSocket>

// The file-transfer connection to one printer. Streams one file in 2048-byte chunks: the next
// chunk is read when the previous one has been written, so memory stays constant whatever the
// file size. Progress goes to the callback of the owning command channel.
class NetClientTransfor : public QTcpSocket, public IProgressable
{
    Q_OBJECT
  public:
    static constexpr int kChunkSize = 2048;

    explicit NetClientTransfor(QObject *parent = nullptr);
    ~NetClientTransfor() override;

    // Bytes confirmed written and the size of the file being streamed.
    qint64 sent() const { return m_sent; }
    qint64 size() const { return m_size; }
    bool isStarted() const { return m_file != nullptr; }
    // True once every byte of the file has been written.
    bool isComplete() const { return m_file && m_sent >= m_size; }

    // Stops streaming, reports the end, closes the connection and the file. Harmless twice.
    void finish();

  public slots:
    // Begins streaming fp (taking ownership) of the given size.
    void onStart(QFile *fp, qlonglong size);
    void onTransfor(qlonglong written);
    void onError(QAbstractSocket::SocketError error);

  signals:
    void TransError(QString err);

  private:
    void writeNextChunk();

    QFile *m_file = nullptr;
    qint64 m_size = 0;
    qint64 m_sent = 0;
    bool m_finished = false;
};
