#pragma once

#include <QByteArray>
#include <QObject>
#include <QPointer>

class NetClientCmd;
class QTimer;

// The control-board firmware upgrade over the command channel (binary codes 11 and 12): erase,
// prepare (the board answers busy or ready), program (the whole image as one code-11 message),
// then query until the board reports the result.
//
// Every phase is bounded: a board that never answers the erase, stays busy, or never answers the
// query fails with a message. The query reply counts as success only when its status byte is
// not 0. Runs on the thread of the printer's socket.
class FirmwareUpgrade : public QObject
{
    Q_OBJECT
  public:
    struct Timings {
        int eraseMs = 30000;           // erase answers must arrive within this time
        int prepareMs = 30000;         // the board must become ready within this time
        int prepareRetryDelayMs = 500; // pause before asking a busy board again
        int prepareRetries = 20;       // busy answers accepted before giving up
        int queryIntervalMs = 10000;   // period of the result query after programming
        int queryPeriods = 3;          // periods without a result before the upgrade fails
    };
    enum class Phase { Idle, Erasing, Preparing, Programming, Succeeded, Failed };

    explicit FirmwareUpgrade(NetClientCmd *client, QObject *parent = nullptr);
    void setTimings(const Timings &timings) { m_timings = timings; }

    // Reads the firmware file and sends the erase packet. False with *error when the file cannot
    // be read, is empty or too large for one message, or an upgrade is already running.
    bool start(const QString &firmwarePath, QString *error);
    // The same with the image in memory.
    bool start(const QByteArray &image, QString *error);

    Phase phase() const { return m_phase; }

  signals:
    // Progress as text keys: "EraseOk", "Upgrading", "UpgradeSuccessful", "UpgradeFailed".
    void sMessage(QString key);
    // The end: ok, or the reason in English.
    void sFinished(bool ok, QString reason);

  private:
    void onParseCommand(const QByteArray &cmd);
    void sendPacket(const QByteArray &packet);
    void sendPrepare();
    void succeed();
    void fail(const QString &reason);
    void stopTimers();

    QPointer<NetClientCmd> m_client;
    Timings m_timings;
    Phase m_phase = Phase::Idle;
    QByteArray m_image;
    int m_answers = 0;
    int m_busy = 0;
    int m_timeouts = 0;
    QTimer *m_phaseTimer;
    QTimer *m_queryTimer;
    QMetaObject::Connection m_listening;
    QMetaObject::Connection m_dropped;
};
