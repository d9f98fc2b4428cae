#pragma once

#include "network/PrinterProtocol.h"

#include <QFile>
#include <QHostAddress>
#include <QList>
#include <QObject>
#include <QPointer>

class QTcpServer;
class QTcpSocket;
class QTimer;
class QUdpSocket;

// Everything that makes one simulated printer.
struct SimOptions {
    QHostAddress address;   // the only unicast address bound
    QHostAddress broadcast; // also listened on for discovery questions (null = none)
    quint16 port = PrinterProtocol::kPort;
    quint16 transferPort = 7778;
    QString serial;
    QString name;
    QString author = QStringLiteral("simulator");
    QString versionA = QStringLiteral("0.3.1.0");
    QString versionB = QStringLiteral("0.3.0.2");
    QString supplies = QStringLiteral("Resin*A,500ml,405nm,1");
    enum class KeepAlive { On, Off, Silent } keepAlive = KeepAlive::On;
    int aliveIntervalMs = 5000;
    enum class Handshake {
        AuthenticateFirst,
        LinkedFirst
    } handshake = Handshake::AuthenticateFirst;
    QString storage;    // folder for received files
    int layerMs = 1000; // time per printed layer
    int layers = 20;    // layers of a received package
    QString heldBy;     // identity that holds the printer at start
    enum class Board { Ok, Silent, Busy, Fail } board = Board::Ok;
    qint64 vanishAfter = -1;  // ends the process abruptly after this many transfer bytes
    bool garbage = false;     // sends an unreadable frame after "linked"
    bool printing = false;    // starts in the middle of a print
    bool ignoreHolds = false; // never answers hold requests or holder questions
};

// One simulated printer on one address: discovery answer, command channel, transfer, printing by
// layers with "dev_infos" pushes, pause/stop, hold, details record and control-board packets.
// Every event is written to stdout as one line ("ready ...", "command ...", "received ...").
class PrinterSimulator : public QObject
{
    Q_OBJECT
  public:
    explicit PrinterSimulator(const SimOptions &options, QObject *parent = nullptr);

    // Binds the sockets; false with *error on failure.
    bool start(QString *error);

  private:
    struct Session {
        QTcpSocket *socket = nullptr;
        PrinterProtocol::FrameDecoder decoder;
        QString identity;
        bool linked = false;
        QTimer *alive = nullptr;
    };
    struct Transfer {
        QTcpSocket *socket = nullptr;
        Session *session = nullptr;
        QString name;
        qint64 size = -1;
        qint64 received = 0;
        bool print = false;
        QString type;
        QFile *file = nullptr;
    };

    void onDatagrams(QUdpSocket *socket);
    void onNewSession();
    void onSessionData(Session *session);
    void onText(Session *session, const QString &text);
    void onBinary(Session *session, qint32 code, const QByteArray &body);
    void onBoardPacket(Session *session, const QByteArray &body);
    void onNewTransfer();
    void onTransferData(Transfer *transfer);
    void endTransfer(Transfer *transfer, bool complete);
    void send(Session *session, const QByteArray &payload);
    void sendText(Session *session, const QString &text);
    void sendLinked(Session *session);
    void sendBoardReply(Session *session, quint8 command, quint8 status);
    void pushDevInfos();
    QString devInfos() const;
    void startPrint(const QString &file);
    void onLayer();
    void say(const QString &line);

    SimOptions m_options;
    QUdpSocket *m_udp = nullptr;
    QUdpSocket *m_udpBroadcast = nullptr;
    QTcpServer *m_server = nullptr;
    QTcpServer *m_transferServer = nullptr;
    QList<Session *> m_sessions;
    QList<Transfer *> m_transfers;
    QString m_holder;
    // Print state.
    QString m_ds = QStringLiteral("idle");
    QString m_ps = QStringLiteral("stop");
    QString m_file;
    int m_used = 0;
    int m_total = 0;
    QString m_startTime;
    QTimer *m_layerTimer = nullptr;
    // Control board.
    bool m_expectFirmware = false;
    quint32 m_firmwareSize = 0;
    qint64 m_firmwareReceived = -1;
    qint64 m_transferBytes = 0;
};
