#pragma once

#include "geometry/IProgressable.h"
#include "network/PrinterProtocol.h"

#include <QPointer>
#include <QTcpSocket>

class CheckConnectTimer;
class NetClientTransfor;
class QTimer;

// The command channel to one printer: frames and sends messages, cuts the received stream into
// frames (one sParseCommand per frame), keeps the printer's property record and runs its file
// transfers. The reactions to the printer's text commands live in NetworkApp.
//
// A frame length the stream cannot be read past (negative or above the maximum) drops the
// connection with a log line; the printer is connected again at the next discovery.
class NetClientCmd : public QTcpSocket
{
    Q_OBJECT
  public:
    explicit NetClientCmd(QObject *parent = nullptr, int keepAliveIntervalMs = 9000);
    ~NetClientCmd() override;

    // The property record: get() returns the empty text for a missing key.
    QString get(const QString &key) const { return m_properties.value(key); }
    void set(const QString &key, const QString &value) { m_properties.insert(key, value); }
    const PrinterProtocol::PropertyMap &properties() const { return m_properties; }
    PrinterProtocol::PropertyMap *mutableProperties() { return &m_properties; }

    quint16 transferPort() const { return m_transferPort; }
    void setTransferPort(quint16 port) { m_transferPort = port; }
    // True from the send-file request until the transfer has ended.
    bool isTransferring() const { return m_transferring || m_transfer != nullptr; }
    NetClientTransfor *transfer() const { return m_transfer; }
    CheckConnectTimer *keepAlive() const { return m_keepAlive; }

    // Installed by the printer card; every new transfer connection reports to it.
    void setProgressCallback(IProgressable::Callback callback) { m_progress = std::move(callback); }
    // How long a transfer connection may take to open.
    void setTransferConnectTimeout(int ms) { m_transferConnectTimeoutMs = ms; }
    // How long the printer may take to confirm a file once every byte is written.
    void setTransferConfirmTimeout(int ms) { m_confirmTimeoutMs = ms; }

    // The send-file request: remembers path as "transforFilename" and opens the transfer
    // connection ("fileType" and "afterPrint" are read when the printer asks for them).
    void sendFile(const QString &path);
    // Answer to the printer's "transforlink": announces the file.
    void announceTransfer();
    // Answer to the printer's "transforbegin": starts streaming the file.
    void startStreaming();
    // The printer's "transforend".
    void transferEnded();

  public slots:
    void readByte();
    // Frames data and sends it; dropped with a log line unless connected.
    void writeBytes(QByteArray data);
    void transforCreate();
    void transforDestroy();
    void onError(QAbstractSocket::SocketError error);
    void onTransError(QString err);

  signals:
    void sParseCommand(NetClientCmd *client, QByteArray cmd);
    // A transfer ended: ok only when every byte was written and the printer confirmed the file
    // ("transforend"); otherwise error says why (connection lost, printer gone, no
    // confirmation within the confirmation time). Emitted once per send-file request.
    void sTransferFinished(NetClientCmd *client, bool ok, QString error);
    // The printer confirmed the received file ("transforend").
    void sTransferConfirmed(NetClientCmd *client);
    // A "dev_infos" changed the property record.
    void sPropertiesChanged(NetClientCmd *client);

  private:
    void endTransfer(const QString &error);
    void reportTransfer(bool ok, const QString &error);

    PrinterProtocol::FrameDecoder m_decoder;
    PrinterProtocol::PropertyMap m_properties;
    quint16 m_transferPort = 0;
    bool m_transferring = false;
    CheckConnectTimer *m_keepAlive;
    NetClientTransfor *m_transfer = nullptr;
    QTimer *m_transferConnectTimer = nullptr;
    QString m_transferError;
    IProgressable::Callback m_progress;
    int m_transferConnectTimeoutMs = 30000;
    int m_confirmTimeoutMs = 60000;
    // Every byte is written; the printer's "transforend" is still to come.
    QTimer *m_confirmTimer = nullptr;
    bool m_confirmedEarly = false;
};
