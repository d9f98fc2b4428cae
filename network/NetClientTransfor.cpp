#include "network/NetClientTransfor.h"

#include <QDebug>

NetClientTransfor::NetClientTransfor(QObject *parent) : QTcpSocket(parent)
{
    connect(this, &QAbstractSocket::errorOccurred, this,
            [this](QAbstractSocket::SocketError error) { onError(error); });
}

NetClientTransfor::~NetClientTransfor()
{
    delete m_file;
}

void NetClientTransfor::onStart(QFile *fp, qlonglong size)
{
    delete m_file;
    m_file = fp;
    m_size = size;
    m_sent = 0;
    m_finished = false;
    setRange(100);
    connect(this, &QIODevice::bytesWritten, this, [this](qint64 n) { onTransfor(n); });
    if (m_size <= 0) {
        finish();
        return;
    }
    writeNextChunk();
}

void NetClientTransfor::writeNextChunk()
{
    const QByteArray chunk = m_file->read(kChunkSize);
    if (chunk.isEmpty()) {
        // The file shrank or cannot be read any more: what was announced cannot be delivered.
        emit TransError(QStringLiteral("the file could not be read after %1 of %2 bytes")
                            .arg(m_sent)
                            .arg(m_size));
        finish();
        return;
    }
    write(chunk);
}

void NetClientTransfor::onTransfor(qlonglong written)
{
    if (m_finished || !m_file)
        return;
    m_sent += written;
    if (m_sent < m_size) {
        writeNextChunk();
        qDebug().noquote() << "transfor:" << m_sent << ",total:" << m_size;
    }
    reportInRange(m_sent, m_size, QStringLiteral("Net transfor file"));
    if (m_sent >= m_size)
        finish();
}

void NetClientTransfor::onError(QAbstractSocket::SocketError)
{
    if (m_finished)
        return;
    emit TransError(errorString());
    finish();
}

void NetClientTransfor::finish()
{
    if (m_finished)
        return;
    m_finished = true;
    disconnect(this, &QIODevice::bytesWritten, this, nullptr);
    reportInRange(1, 1, QStringLiteral("Net transfor file"));
    if (state() != UnconnectedState)
        disconnectFromHost();
    if (m_file)
        m_file->close();
    qDebug() << "transfor over!";
}
