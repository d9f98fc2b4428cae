#include "network/sim/PrinterSimulator.h"

#include <QDateTime>
#include <QDir>
#include <QNetworkDatagram>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>
#include <QUdpSocket>
#include <QtEndian>

#include <cstdio>
#include <cstdlib>

using namespace PrinterProtocol;

PrinterSimulator::PrinterSimulator(const SimOptions &options, QObject *parent)
    : QObject(parent), m_options(options), m_holder(options.heldBy)
{
    if (m_options.name.isEmpty())
        m_options.name = m_options.serial;
    m_options.name.replace(QLatin1Char(' '), QLatin1Char('_'));
    m_layerTimer = new QTimer(this);
    m_layerTimer->setInterval(m_options.layerMs);
    connect(m_layerTimer, &QTimer::timeout, this, [this] { onLayer(); });
}

bool PrinterSimulator::start(QString *error)
{
    const auto shared = QAbstractSocket::ShareAddress | QAbstractSocket::ReuseAddressHint;
    m_udp = new QUdpSocket(this);
    if (!m_udp->bind(m_options.address, m_options.port, shared)) {
        *error = QStringLiteral("cannot bind UDP %1:%2: %3")
                     .arg(m_options.address.toString())
                     .arg(m_options.port)
                     .arg(m_udp->errorString());
        return false;
    }
    connect(m_udp, &QUdpSocket::readyRead, this, [this] { onDatagrams(m_udp); });
    if (!m_options.broadcast.isNull()) {
        m_udpBroadcast = new QUdpSocket(this);
        if (!m_udpBroadcast->bind(m_options.broadcast, m_options.port, shared)) {
            *error = QStringLiteral("cannot listen on the broadcast address %1:%2: %3")
                         .arg(m_options.broadcast.toString())
                         .arg(m_options.port)
                         .arg(m_udpBroadcast->errorString());
            return false;
        }
        connect(m_udpBroadcast, &QUdpSocket::readyRead, this,
                [this] { onDatagrams(m_udpBroadcast); });
    }
    m_server = new QTcpServer(this);
    if (!m_server->listen(m_options.address, m_options.port)) {
        *error = QStringLiteral("cannot listen on TCP %1:%2: %3")
                     .arg(m_options.address.toString())
                     .arg(m_options.port)
                     .arg(m_server->errorString());
        return false;
    }
    connect(m_server, &QTcpServer::newConnection, this, [this] { onNewSession(); });
    m_transferServer = new QTcpServer(this);
    if (!m_transferServer->listen(m_options.address, m_options.transferPort)) {
        *error = QStringLiteral("cannot listen on TCP %1:%2: %3")
                     .arg(m_options.address.toString())
                     .arg(m_options.transferPort)
                     .arg(m_transferServer->errorString());
        return false;
    }
    connect(m_transferServer, &QTcpServer::newConnection, this, [this] { onNewTransfer(); });
    if (!QDir().mkpath(m_options.storage)) {
        *error = QStringLiteral("cannot create the storage folder %1").arg(m_options.storage);
        return false;
    }
    if (m_options.printing)
        startPrint(QStringLiteral("resumed job.vxpr"));
    say(QStringLiteral("ready %1 %2").arg(m_options.address.toString(), m_options.serial));
    return true;
}

void PrinterSimulator::say(const QString &line)
{
    std::fputs(line.toUtf8().constData(), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

void PrinterSimulator::onDatagrams(QUdpSocket *socket)
{
    while (socket->hasPendingDatagrams()) {
        const QNetworkDatagram datagram = socket->receiveDatagram(512);
        if (!datagram.isValid() || !isDiscoveryQuestion(datagram.data()))
            continue;
        // Answer from the printer's own address, to the asker's address and port.
        m_udp->writeDatagram(discoveryAnswer(), datagram.senderAddress(),
                             quint16(datagram.senderPort()));
        say(QStringLiteral("question %1:%2")
                .arg(datagram.senderAddress().toString())
                .arg(datagram.senderPort()));
    }
}

void PrinterSimulator::onNewSession()
{
    while (QTcpSocket *socket = m_server->nextPendingConnection()) {
        auto *session = new Session;
        session->socket = socket;
        m_sessions.append(session);
        connect(socket, &QTcpSocket::readyRead, this, [this, session] { onSessionData(session); });
        connect(socket, &QTcpSocket::disconnected, this, [this, session] {
            m_sessions.removeAll(session);
            for (Transfer *t : qAsConst(m_transfers))
                if (t->session == session)
                    t->session = nullptr;
            session->socket->deleteLater();
            delete session->alive;
            delete session;
            say(QStringLiteral("session closed"));
        });
        say(QStringLiteral("session %1").arg(socket->peerAddress().toString()));
    }
}

void PrinterSimulator::onSessionData(Session *session)
{
    QList<QByteArray> frames;
    const auto status = session->decoder.feed(session->socket->readAll(), &frames);
    for (const QByteArray &frame : frames) {
        qint32 code = 0;
        QByteArray body;
        if (decodeBinary(frame, &code, &body))
            onBinary(session, code, body);
        else if (!frame.isEmpty())
            onText(session, decodeText(frame));
        if (!m_sessions.contains(session))
            return;
    }
    if (status == FrameDecoder::Status::BadLength) {
        say(QStringLiteral("bad frame: %1").arg(session->decoder.error()));
        session->socket->abort();
    }
}

void PrinterSimulator::send(Session *session, const QByteArray &payload)
{
    if (session && session->socket->state() == QAbstractSocket::ConnectedState)
        session->socket->write(encodeFrame(payload));
}

void PrinterSimulator::sendText(Session *session, const QString &text)
{
    send(session, encodeText(text));
}

void PrinterSimulator::sendLinked(Session *session)
{
    QString linked = QStringLiteral("linked %1").arg(m_options.transferPort);
    if (m_options.keepAlive != SimOptions::KeepAlive::Off)
        linked += QStringLiteral(" enablecheckalive");
    sendText(session, linked);
    session->linked = true;
    if (m_options.keepAlive == SimOptions::KeepAlive::On && !session->alive) {
        session->alive = new QTimer;
        connect(session->alive, &QTimer::timeout, this,
                [this, session] { sendText(session, QStringLiteral("isalive")); });
        session->alive->start(m_options.aliveIntervalMs);
    }
    if (m_options.garbage) {
        // A length no reader can get past, followed by noise.
        QByteArray bad(4, '\0');
        qToBigEndian<qint32>(-5, bad.data());
        session->socket->write(bad + QByteArray("noise after a negative length"));
        say(QStringLiteral("sent garbage"));
    }
}

void PrinterSimulator::onText(Session *session, const QString &text)
{
    say(QStringLiteral("command %1").arg(text));
    const QStringList w = words(text);
    const QString first = w.value(0);
    if (first == QLatin1String("link")) {
        if (m_options.handshake == SimOptions::Handshake::LinkedFirst) {
            sendLinked(session);
            sendText(session, QStringLiteral("authenticate please"));
        } else {
            sendText(session, QStringLiteral("authenticate please"));
        }
    } else if (first == QLatin1String("authenticate")) {
        session->identity = w.value(1);
        say(QStringLiteral("authenticated %1").arg(session->identity));
        if (!session->linked)
            sendLinked(session);
    } else if (first == QLatin1String("dev_infos")) {
        sendText(session, devInfos());
    } else if (first == QLatin1String("isAlive")) {
        say(QStringLiteral("alive answered"));
    } else if (first == QLatin1String("operation")) {
        const QString what = w.value(1);
        if (what == QLatin1String("pause") && m_ds == QLatin1String("runing")) {
            if (m_ps == QLatin1String("wait")) {
                m_ps = QStringLiteral("print");
                m_layerTimer->start();
                say(QStringLiteral("print continued"));
            } else {
                m_ps = QStringLiteral("wait");
                m_layerTimer->stop();
                say(QStringLiteral("print paused"));
            }
        } else if (what == QLatin1String("quit") && m_ds == QLatin1String("runing")) {
            m_layerTimer->stop();
            m_ds = QStringLiteral("idle");
            m_ps = QStringLiteral("stop");
            say(QStringLiteral("print stopped"));
        }
        pushDevInfos();
    } else if (first == QLatin1String("transfor")) {
        Transfer *transfer = nullptr;
        for (Transfer *t : qAsConst(m_transfers))
            if (t->session == session && t->size < 0)
                transfer = t;
        if (!transfer || w.size() < 5)
            return;
        if (!m_holder.isEmpty() && m_holder != session->identity) {
            say(QStringLiteral("transfer refused: held by %1").arg(m_holder));
            transfer->socket->abort();
            return;
        }
        QString name = w[1];
        name.replace(QLatin1Char('*'), QLatin1Char(' '));
        name = name.section(QLatin1Char('/'), -1).section(QLatin1Char('\\'), -1);
        if (name.isEmpty() || name == QLatin1String("..") || name == QLatin1String("."))
            name = QStringLiteral("unnamed");
        transfer->name = name;
        transfer->size = w[2].toLongLong();
        transfer->print = w[3] == QLatin1String("1");
        transfer->type = w[4];
        transfer->file =
            new QFile(QDir(m_options.storage).filePath(name + QStringLiteral(".part")));
        if (!transfer->file->open(QIODevice::WriteOnly)) {
            say(QStringLiteral("cannot store %1").arg(name));
            transfer->socket->abort();
            return;
        }
        say(QStringLiteral("announced %1 %2 %3 %4")
                .arg(name)
                .arg(transfer->size)
                .arg(w[3], transfer->type));
        sendText(session, QStringLiteral("transforbegin"));
        onTransferData(transfer);
    }
}

void PrinterSimulator::onBinary(Session *session, qint32 code, const QByteArray &body)
{
    switch (BinaryCode(code)) {
    case BinaryCode::Details: {
        PrinterDetails details;
        details.value1 = 1;
        details.boardAId = QStringLiteral("A-") + m_options.serial;
        details.boardAVersion = m_options.versionA;
        details.boardBVersion = m_options.versionB;
        details.unusedMap.insert(QStringLiteral("note"), QStringLiteral("simulated"));
        details.boardBId = QStringLiteral("B-") + m_options.serial;
        details.controlSerial = QStringLiteral("C-") + m_options.serial;
        details.controlVersion = QStringLiteral("1.0.7");
        send(session, encodeBinary(BinaryCode::Details, encodeDetails(details)));
        say(QStringLiteral("details sent"));
        break;
    }
    case BinaryCode::HolderQuery:
        if (m_options.ignoreHolds) {
            say(QStringLiteral("holder question ignored"));
            break;
        }
        send(session, encodeBinary(BinaryCode::Holder, encodeHolder(encodeText(m_holder))));
        break;
    case BinaryCode::Hold: {
        bool take = false;
        QByteArray identity;
        if (!decodeHold(body, &take, &identity))
            return;
        if (m_options.ignoreHolds) {
            say(QStringLiteral("hold ignored"));
            break;
        }
        const QString who = decodeText(identity);
        if (take && (m_holder.isEmpty() || m_holder == who)) {
            m_holder = who;
            say(QStringLiteral("hold taken %1").arg(who));
        } else if (take) {
            say(QStringLiteral("hold refused %1").arg(who));
        } else if (m_holder == who) {
            m_holder.clear();
            say(QStringLiteral("hold released %1").arg(who));
        } else {
            say(QStringLiteral("release refused %1").arg(who));
        }
        send(session, encodeBinary(BinaryCode::Holder, encodeHolder(encodeText(m_holder))));
        break;
    }
    case BinaryCode::BoardPacket:
        onBoardPacket(session, body);
        break;
    default:
        say(QStringLiteral("binary %1 ignored").arg(code));
    }
}

void PrinterSimulator::sendBoardReply(Session *session, quint8 command, quint8 status)
{
    QByteArray payload(12, '\0');
    payload[0] = char(status);
    send(session, encodeBinary(BinaryCode::BoardReply, encodeBoardPacket(command, payload)));
}

void PrinterSimulator::onBoardPacket(Session *session, const QByteArray &body)
{
    BoardPacket packet;
    if (m_expectFirmware && !decodeBoardPacket(body, &packet)) {
        m_expectFirmware = false;
        m_firmwareReceived = body.size();
        say(QStringLiteral("firmware %1").arg(body.size()));
        return;
    }
    if (!decodeBoardPacket(body, &packet)) {
        say(QStringLiteral("board packet malformed"));
        return;
    }
    if (m_options.board == SimOptions::Board::Silent) {
        say(QStringLiteral("board silent %1").arg(packet.command));
        return;
    }
    if (packet.command == kBoardProgram && packet.payload == QByteArray(12, '\0')) {
        say(QStringLiteral("board erase"));
        m_firmwareReceived = -1;
        for (int i = 0; i < 5; ++i)
            sendBoardReply(session, kBoardEraseAnswer, 0);
    } else if (packet.command == kBoardProgram) {
        m_firmwareSize = qFromLittleEndian<quint32>(packet.payload.constData());
        say(QStringLiteral("board prepare %1").arg(m_firmwareSize));
        if (m_options.board == SimOptions::Board::Busy) {
            sendBoardReply(session, kBoardProgram, 0);
        } else {
            m_expectFirmware = true;
            sendBoardReply(session, kBoardProgram, 1);
        }
    } else if (packet.command == kBoardQuery) {
        const bool ok = m_options.board == SimOptions::Board::Ok &&
                        m_firmwareReceived == qint64(m_firmwareSize);
        say(QStringLiteral("board query %1").arg(ok ? "ok" : "failed"));
        sendBoardReply(session, kBoardQuery, ok ? 1 : 0);
    }
}

void PrinterSimulator::onNewTransfer()
{
    while (QTcpSocket *socket = m_transferServer->nextPendingConnection()) {
        Session *session = nullptr;
        for (Session *s : qAsConst(m_sessions))
            if (s->socket->peerAddress() == socket->peerAddress())
                session = s;
        if (!session) {
            socket->abort();
            socket->deleteLater();
            continue;
        }
        auto *transfer = new Transfer;
        transfer->socket = socket;
        transfer->session = session;
        m_transfers.append(transfer);
        connect(socket, &QTcpSocket::readyRead, this,
                [this, transfer] { onTransferData(transfer); });
        connect(socket, &QTcpSocket::disconnected, this, [this, transfer] {
            onTransferData(transfer);
            if (m_transfers.contains(transfer))
                endTransfer(transfer, false);
        });
        sendText(session, QStringLiteral("transforlink"));
    }
}

void PrinterSimulator::onTransferData(Transfer *transfer)
{
    if (!m_transfers.contains(transfer) || transfer->size < 0 || !transfer->file)
        return;
    const QByteArray bytes =
        transfer->socket->read(qMax<qint64>(0, transfer->size - transfer->received));
    transfer->received += bytes.size();
    transfer->file->write(bytes);
    m_transferBytes += bytes.size();
    if (m_options.vanishAfter >= 0 && m_transferBytes >= m_options.vanishAfter) {
        say(QStringLiteral("vanishing after %1 bytes").arg(m_transferBytes));
        std::_Exit(3);
    }
    if (transfer->received >= transfer->size)
        endTransfer(transfer, true);
}

void PrinterSimulator::endTransfer(Transfer *transfer, bool complete)
{
    m_transfers.removeAll(transfer);
    transfer->socket->disconnect(this);
    if (transfer->file) {
        transfer->file->close();
        const QString final = QDir(m_options.storage).filePath(transfer->name);
        if (complete) {
            QFile::remove(final);
            transfer->file->rename(final);
            say(QStringLiteral("received %1 %2").arg(transfer->name).arg(transfer->received));
            sendText(transfer->session, QStringLiteral("transforend"));
            if (transfer->print && transfer->type == QLatin1String("vxpr"))
                startPrint(transfer->name);
        } else {
            transfer->file->remove();
            say(QStringLiteral("transfer incomplete %1 %2 of %3")
                    .arg(transfer->name)
                    .arg(transfer->received)
                    .arg(transfer->size));
        }
        delete transfer->file;
    }
    transfer->socket->close();
    transfer->socket->deleteLater();
    delete transfer;
}

QString PrinterSimulator::devInfos() const
{
    QString file = m_file;
    file.replace(QLatin1Char(' '), QLatin1Char('*'));
    const int percent = m_total > 0 ? m_used * 100 / m_total : 0;
    const int leftSeconds = (m_total - m_used) * m_options.layerMs / 1000;
    const QString end = QDateTime::currentDateTime()
                            .addSecs(leftSeconds)
                            .toString(QStringLiteral("yyyy/MM/dd-hh:mm"));
    return QStringLiteral("dev_infos serial:%1 flag:%2,enough,%3 supplies:%4 version:%5,%6 "
                          "progress:%7% fileinfo>filename=%8,usedlayers=%9,totallayers=%10,"
                          "starttime=%11,costtime=%12,endtime=%13,imagedate=%14 devicename:%15 "
                          "author>%16")
        .arg(m_options.serial, m_ds, m_ps, m_options.supplies, m_options.versionA,
             m_options.versionB)
        .arg(percent)
        .arg(file)
        .arg(m_used)
        .arg(m_total)
        .arg(m_startTime, QStringLiteral("%1s").arg(m_total * m_options.layerMs / 1000), end,
             m_startTime.left(10), m_options.name, m_options.author);
}

void PrinterSimulator::pushDevInfos()
{
    const QString text = devInfos();
    for (Session *session : qAsConst(m_sessions))
        if (session->linked)
            sendText(session, text);
}

void PrinterSimulator::startPrint(const QString &file)
{
    m_file = file;
    m_used = 0;
    m_total = m_options.layers;
    m_ds = QStringLiteral("runing");
    m_ps = QStringLiteral("print");
    m_startTime = QDateTime::currentDateTime().toString(QStringLiteral("yyyy/MM/dd-hh:mm"));
    m_layerTimer->start();
    say(QStringLiteral("print started %1").arg(file));
    pushDevInfos();
}

void PrinterSimulator::onLayer()
{
    ++m_used;
    if (m_used >= m_total) {
        m_layerTimer->stop();
        m_ds = QStringLiteral("idle");
        m_ps = QStringLiteral("stop");
        say(QStringLiteral("print finished %1").arg(m_file));
    }
    pushDevInfos();
}
