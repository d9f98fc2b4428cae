#include "network/FirmwareUpgrade.h"

#include "network/NetClientCmd.h"
#include "network/PrinterProtocol.h"

#include <QFile>
#include <QTimer>

using namespace PrinterProtocol;

FirmwareUpgrade::FirmwareUpgrade(NetClientCmd *client, QObject *parent)
    : QObject(parent), m_client(client), m_phaseTimer(new QTimer(this)),
      m_queryTimer(new QTimer(this))
{
    m_phaseTimer->setSingleShot(true);
    connect(m_phaseTimer, &QTimer::timeout, this, [this] {
        if (m_phase == Phase::Erasing)
            fail(QStringLiteral("the control board did not answer the erase within %1 s")
                     .arg(m_timings.eraseMs / 1000.0));
        else if (m_phase == Phase::Preparing)
            fail(QStringLiteral("the control board did not get ready for programming within "
                                "%1 s")
                     .arg(m_timings.prepareMs / 1000.0));
    });
    connect(m_queryTimer, &QTimer::timeout, this, [this] {
        if (++m_timeouts >= m_timings.queryPeriods) {
            fail(QStringLiteral("the control board gave no result within %1 s of programming")
                     .arg(m_timings.queryIntervalMs * m_timings.queryPeriods / 1000.0));
            return;
        }
        sendPacket(boardQueryPacket());
    });
}

bool FirmwareUpgrade::start(const QString &firmwarePath, QString *error)
{
    QFile file(firmwarePath);
    if (!file.open(QIODevice::ReadOnly)) {
        *error = QStringLiteral("cannot read %1: %2").arg(firmwarePath, file.errorString());
        return false;
    }
    return start(file.readAll(), error);
}

bool FirmwareUpgrade::start(const QByteArray &image, QString *error)
{
    if (m_phase == Phase::Erasing || m_phase == Phase::Preparing || m_phase == Phase::Programming) {
        *error = QStringLiteral("an upgrade is already running");
        return false;
    }
    if (image.isEmpty()) {
        *error = QStringLiteral("the firmware file is empty");
        return false;
    }
    if (image.size() > kMaxMessage - 8) {
        *error = QStringLiteral("the firmware file has %1 bytes; at most %2 fit in one message")
                     .arg(image.size())
                     .arg(kMaxMessage - 8);
        return false;
    }
    if (!m_client || m_client->state() != QAbstractSocket::ConnectedState) {
        *error = QStringLiteral("the printer is not connected");
        return false;
    }
    m_image = image;
    m_answers = 0;
    m_busy = 0;
    m_timeouts = 0;
    disconnect(m_listening);
    m_listening = connect(m_client, &NetClientCmd::sParseCommand, this,
                          [this](NetClientCmd *, const QByteArray &cmd) { onParseCommand(cmd); });
    disconnect(m_dropped);
    m_dropped = connect(m_client, &QAbstractSocket::disconnected, this, [this] {
        if (m_phase == Phase::Erasing || m_phase == Phase::Preparing ||
            m_phase == Phase::Programming)
            fail(QStringLiteral("the printer disconnected during the upgrade"));
    });
    m_phase = Phase::Erasing;
    m_phaseTimer->start(m_timings.eraseMs);
    sendPacket(boardErasePacket());
    return true;
}

void FirmwareUpgrade::sendPacket(const QByteArray &packet)
{
    if (m_client)
        m_client->writeBytes(encodeBinary(BinaryCode::BoardPacket, packet));
}

void FirmwareUpgrade::sendPrepare()
{
    if (m_phase == Phase::Preparing)
        sendPacket(boardPreparePacket(quint32(m_image.size())));
}

void FirmwareUpgrade::onParseCommand(const QByteArray &cmd)
{
    qint32 code = 0;
    QByteArray body;
    BoardPacket packet;
    if (!decodeBinary(cmd, &code, &body) || code != qint32(BinaryCode::BoardReply) ||
        !decodeBoardPacket(body, &packet))
        return;
    if (packet.command == kBoardEraseAnswer && m_phase == Phase::Erasing) {
        emit sMessage(QStringLiteral("EraseOk"));
        if (m_answers > 3) {
            m_answers = 0;
            m_phase = Phase::Preparing;
            m_phaseTimer->start(m_timings.prepareMs);
            sendPrepare();
        } else {
            ++m_answers;
        }
    } else if (packet.command == kBoardProgram && m_phase == Phase::Preparing) {
        if (packet.status == 0) {
            if (++m_busy > m_timings.prepareRetries) {
                fail(QStringLiteral("the control board stayed busy after %1 requests").arg(m_busy));
                return;
            }
            QTimer::singleShot(m_timings.prepareRetryDelayMs, this, [this] { sendPrepare(); });
            return;
        }
        m_phaseTimer->stop();
        m_answers = 0;
        m_phase = Phase::Programming;
        sendPacket(m_image);
        emit sMessage(QStringLiteral("Upgrading"));
        m_queryTimer->start(m_timings.queryIntervalMs);
    } else if (packet.command == kBoardQuery && m_phase == Phase::Programming) {
        if (packet.status != 0)
            succeed();
        else
            fail(QStringLiteral("the control board reports that programming failed"));
    }
}

void FirmwareUpgrade::stopTimers()
{
    m_phaseTimer->stop();
    m_queryTimer->stop();
    disconnect(m_listening);
    disconnect(m_dropped);
}

void FirmwareUpgrade::succeed()
{
    stopTimers();
    m_phase = Phase::Succeeded;
    emit sMessage(QStringLiteral("UpgradeSuccessful"));
    emit sFinished(true, QString());
}

void FirmwareUpgrade::fail(const QString &reason)
{
    stopTimers();
    m_timeouts = 0;
    m_phase = Phase::Failed;
    emit sMessage(QStringLiteral("UpgradeFailed"));
    emit sFinished(false, reason);
}
