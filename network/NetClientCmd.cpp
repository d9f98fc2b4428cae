#include "network/NetClientCmd.h"

#include "network/CheckConnectTimer.h"
#include "network/NetClientTransfor.h"

#include <QDebug>
#include <QFile>
#include <QFileInfo>
#include <QHostAddress>
#include <QTimer>

NetClientCmd::NetClientCmd(QObject *parent, int keepAliveIntervalMs)
    : QTcpSocket(parent), m_keepAlive(new CheckConnectTimer(10, this, keepAliveIntervalMs))
{
    connect(this, &QIODevice::readyRead, this, [this] { readByte(); });
    connect(this, &QAbstractSocket::errorOccurred, this,
            [this](QAbstractSocket::SocketError error) { onError(error); });
    connect(this, &QAbstractSocket::disconnected, this, [this] {
        if (m_transfer)
            onTransError(QStringLiteral("the printer closed the command connection"));
        if (m_confirmTimer)
            reportTransfer(false, QStringLiteral("the printer disconnected before it confirmed "
                                                 "the file"));
    });
}

NetClientCmd::~NetClientCmd()
{
    if (m_transfer) {
        m_transfer->disconnect(this);
        m_transfer->finish();
        m_transfer->deleteLater();
    }
}

void NetClientCmd::readByte()
{
    const QByteArray bytes = readAll();
    QList<QByteArray> frames;
    const auto status = m_decoder.feed(bytes, &frames);
    for (const QByteArray &frame : frames) {
        emit sParseCommand(this, frame);
        if (state() != ConnectedState)
            return;
    }
    if (status == PrinterProtocol::FrameDecoder::Status::BadLength) {
        qWarning().noquote() << "Error - <" + peerAddress().toString() + ">" << m_decoder.error()
                             << "; dropping the connection";
        abort();
    }
}

void NetClientCmd::writeBytes(QByteArray data)
{
    if (state() != ConnectedState) {
        qWarning().noquote() << "Error - <" + peerAddress().toString() +
                                    "> send datas failed,socket state:"
                             << int(state());
        return;
    }
    write(PrinterProtocol::encodeFrame(data));
}

void NetClientCmd::sendFile(const QString &path)
{
    set(QStringLiteral("transforFilename"), path);
    transforCreate();
}

void NetClientCmd::transforCreate()
{
    if (m_transfer || m_confirmTimer) {
        emit sTransferFinished(this, false,
                               QStringLiteral("a transfer to this printer is already running"));
        return;
    }
    m_transferError.clear();
    m_confirmedEarly = false;
    m_transfer = new NetClientTransfor();
    m_transfer->setCallback(m_progress);
    m_transfer->setCancel(false);
    connect(m_transfer, &QAbstractSocket::disconnected, this, [this] { transforDestroy(); });
    connect(m_transfer, &NetClientTransfor::TransError, this,
            [this](const QString &err) { onTransError(err); });
    connect(m_transfer, &QAbstractSocket::connected, this, [this] {
        delete m_transferConnectTimer;
        m_transferConnectTimer = nullptr;
        m_transferring = true;
        qDebug().noquote() << peerAddress().toString() + ":transfor socket connected successful";
    });
    // The connection opens asynchronously; the timer bounds the wait.
    m_transferConnectTimer = new QTimer(this);
    m_transferConnectTimer->setSingleShot(true);
    connect(m_transferConnectTimer, &QTimer::timeout, this, [this] {
        qWarning().noquote() << peerAddress().toString() + ":transfor socket connected error";
        onTransError(QStringLiteral("the transfer connection did not open within %1 s")
                         .arg(m_transferConnectTimeoutMs / 1000.0));
    });
    m_transferConnectTimer->start(m_transferConnectTimeoutMs);
    m_transfer->connectToHost(peerAddress(), m_transferPort, QIODevice::ReadWrite);
}

void NetClientCmd::announceTransfer()
{
    if (!m_transfer)
        return;
    const QString path = get(QStringLiteral("transforFilename"));
    const QString text = PrinterProtocol::transforAnnouncement(path, QFileInfo(path).size(),
                                                               get(QStringLiteral("afterPrint")),
                                                               get(QStringLiteral("fileType")));
    writeBytes(PrinterProtocol::encodeText(text));
}

void NetClientCmd::startStreaming()
{
    if (!m_transfer || m_transfer->isStarted())
        return;
    auto *file = new QFile(get(QStringLiteral("transforFilename")));
    if (!file->open(QIODevice::ReadOnly)) {
        qWarning() << "error:open file error";
        m_transferError =
            QStringLiteral("cannot open %1: %2").arg(file->fileName(), file->errorString());
        delete file;
        m_transfer->abort();
        return;
    }
    m_transfer->onStart(file, file->size());
}

void NetClientCmd::transferEnded()
{
    emit sTransferConfirmed(this);
    if (m_confirmTimer)
        reportTransfer(true, QString());
    else if (m_transfer)
        m_confirmedEarly = true; // the transfer socket has not seen its end yet
}

void NetClientCmd::reportTransfer(bool ok, const QString &error)
{
    delete m_confirmTimer;
    m_confirmTimer = nullptr;
    emit sTransferFinished(this, ok, error);
}

void NetClientCmd::transforDestroy()
{
    endTransfer(QString());
}

void NetClientCmd::onTransError(QString err)
{
    qWarning().noquote() << "Error - " + err;
    if (m_transferError.isEmpty())
        m_transferError = err;
    endTransfer(err);
}

void NetClientCmd::endTransfer(const QString &error)
{
    if (!m_transfer)
        return;
    NetClientTransfor *transfer = m_transfer;
    m_transfer = nullptr;
    delete m_transferConnectTimer;
    m_transferConnectTimer = nullptr;
    transfer->disconnect(this);
    const bool complete = transfer->isComplete();
    const qint64 sent = transfer->sent();
    const qint64 size = transfer->size();
    const bool started = transfer->isStarted();
    transfer->finish();
    m_transferring = false;
    transfer->deleteLater();
    QString reason = m_transferError.isEmpty() ? error : m_transferError;
    if (!complete && reason.isEmpty())
        reason = started ? QStringLiteral("the printer closed the transfer after %1 of %2 bytes")
                               .arg(sent)
                               .arg(size)
                         : QStringLiteral("the printer closed the transfer before it began");
    const bool confirmed = m_confirmedEarly;
    m_confirmedEarly = false;
    if (confirmed) {
        reportTransfer(true, QString());
        return;
    }
    if (!complete || !m_transferError.isEmpty()) {
        reportTransfer(false, reason);
        return;
    }
    // Written is not received: only the printer's "transforend" says the file arrived.
    m_confirmTimer = new QTimer(this);
    m_confirmTimer->setSingleShot(true);
    connect(m_confirmTimer, &QTimer::timeout, this, [this] {
        reportTransfer(false, QStringLiteral("the printer did not confirm the file within %1 s")
                                  .arg(m_confirmTimeoutMs / 1000.0));
    });
    m_confirmTimer->start(m_confirmTimeoutMs);
}

void NetClientCmd::onError(QAbstractSocket::SocketError)
{
    qWarning().noquote() << "Error - " + errorString();
    if (m_transfer)
        onTransError(QStringLiteral("the command connection failed: %1").arg(errorString()));
    m_transferring = false;
    if (state() != UnconnectedState)
        disconnectFromHost();
}
